#pragma once

// The entry fields of the Multi-stage Filter window, one table: the value in the cascade's
// entries each one sets, the range it is held in (as the main window's fields clamp theirs),
// how its value is written back and how its spin button steps it. No widgets here.

#include <span>
#include <string>
#include <string_view>

#include "cascade/cascade_file.h"
#include "design/entry_table.h"

namespace morvane::gui {

// How a field writes its value: a value text with a prefix letter ("1.000k"), decibels with
// three decimals, or a whole number.
enum class EntryStyle { Value, Decibels, Whole };

struct CascadeEntryField {
  std::string_view name;     // objectName of the field; its spin button is "Spin" + name
  std::string_view caption;  // the label before it
  std::string_view unit;     // the label after it
  std::string_view what;     // what the value is, the start of its hint
  EntryStyle style;
  double least;
  double most;
  double (*get)(const CascadeEntries&);
  void (*set)(CascadeEntries&, double);
  // A field that may be left blank (fs): blank clears the value instead of reading 0.
  void (*clear)(CascadeEntries&) = nullptr;
};

namespace cascade_field {
inline constexpr std::string_view order = "CascadeOrder";
inline constexpr std::string_view f1 = "CascadeF1";
inline constexpr std::string_view d1 = "CascadeD1";
inline constexpr std::string_view f2 = "CascadeF2";
inline constexpr std::string_view d2 = "CascadeD2";
inline constexpr std::string_view fg = "CascadeFg";
inline constexpr std::string_view fm = "CascadeFm";
inline constexpr std::string_view bandwidth = "CascadeB";
inline constexpr std::string_view ripple = "CascadeRipple";
inline constexpr std::string_view stopband = "CascadeStopband";
inline constexpr std::string_view gain = "CascadeGain";
inline constexpr std::string_view zin = "CascadeZin";
inline constexpr std::string_view fs = "CascadeFs";
}  // namespace cascade_field

std::span<const CascadeEntryField> CascadeEntryFields();
// The field of that name, or null.
const CascadeEntryField* CascadeEntryNamed(std::string_view name);

// The user's text read as every entry field reads it (prefix letters, unreadable as 0), held
// within the field's range and stored. A blank text clears a field that may be blank.
void StoreCascadeEntry(const CascadeEntryField& field, std::string_view text,
                       CascadeEntries& entries);

// The text the window writes into the field for the entries' value (blank for a cleared fs).
std::string CascadeEntryText(const CascadeEntryField& field, const CascadeEntries& entries);

// The field's hint: what it is and the range it is held in, "Order of the prototype: 1 .. 20".
std::string CascadeEntryHint(const CascadeEntryField& field);

// One spin step as the main window's buttons make it with its sweep factor (1-2-5 rounded
// steps; the order by one, Zin to a neighbouring standard value), held within the range.
void StepCascadeEntry(const CascadeEntryField& field, SpinDirection direction,
                      CascadeEntries& entries);

// The sweep factor the spin buttons step with: the main window's at its start.
inline constexpr double kCascadeSpinFactor = 1.02;

}  // namespace morvane::gui

#pragma once

// Invariants shared by the fuzz targets. A broken invariant prints what broke and traps, so
// libFuzzer keeps the input as a crash and the run fails.

#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "design/design_session.h"
#include "design/field_names.h"

namespace morvane::fuzz {

[[noreturn]] inline void Fail(std::string_view what, std::string_view detail = {}) {
  std::fprintf(stderr, "invariant broken: %.*s", static_cast<int>(what.size()), what.data());
  if (!detail.empty()) {
    std::fprintf(stderr, " [%.*s]", static_cast<int>(detail.size()), detail.data());
  }
  std::fprintf(stderr, "\n");
  std::fflush(stderr);
  __builtin_trap();
}

inline char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// "nan" or "inf" in any letter case, outside the word "infinite" that a figure shows when it
// diverges ("infinite", " infinite", "-infinite").
inline bool ShowsNanOrInf(std::string_view text) {
  std::string lower;
  lower.reserve(text.size());
  for (char c : text) lower += Lower(c);
  for (std::size_t at = lower.find("infinite"); at != std::string::npos;
       at = lower.find("infinite", at)) {
    lower.replace(at, 8, "........");
  }
  return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

// A number with a minus sign: the dash placeholders ("       -") and "-infinite" are not.
inline bool ShowsNegativeNumber(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos || text[first] != '-') return false;
  const std::size_t next = first + 1;
  return next < text.size() &&
         (std::isdigit(static_cast<unsigned char>(text[next])) || text[next] == '.');
}

// Resistor and capacitor result fields: R11Ausgabe .. R63Ausgabe, C11Ausgabe .. C32Ausgabe.
inline bool IsComponentField(std::string_view name) {
  return name.size() > 8 && (name[0] == 'R' || name[0] == 'C') &&
         std::isdigit(static_cast<unsigned char>(name[1])) && name.ends_with("Ausgabe");
}

// Grids whose second column holds inductances and capacitances.
inline bool IsElementGrid(std::string_view grid) {
  return grid == field::StringAlignGridLC || grid == field::StringAlignGridDiplexTP ||
         grid == field::StringAlignGridDiplexHP;
}

inline void CheckFieldText(std::string_view name, const std::string& text) {
  if (ShowsNanOrInf(text)) Fail("field shows nan/inf", std::string(name) + "=" + text);
  if (IsComponentField(name) && ShowsNegativeNumber(text)) {
    Fail("negative component value", std::string(name) + "=" + text);
  }
}

inline void CheckCellText(std::string_view grid, int column, int row, const std::string& text) {
  if (ShowsNanOrInf(text)) Fail("grid cell shows nan/inf", std::string(grid) + ": " + text);
  if (IsElementGrid(grid) && column == 1 && row > 0 && ShowsNegativeNumber(text)) {
    Fail("negative element value", std::string(grid) + ": " + text);
  }
}

// Checks every text the program writes, entry fields included, as it is written.
inline void WatchWrites(DesignSession& session) {
  session.onFieldWritten = CheckFieldText;
  session.onCellWritten = CheckCellText;
}

// What the window shows after any sequence of actions: no NaN or infinity spelled out, and no
// negative component value. An entry field keeps what the user typed, "nan" included, so only
// the program's own writes into it count (WatchWrites).
inline void CheckShownTexts(const DesignSession& session) {
  for (const auto& [name, text] : session.Fields()) {
    if (!field::IsEntryField(name)) CheckFieldText(name, text);
  }
  for (const auto& [grid, rows] : session.Grids()) {
    for (std::size_t row = 0; row < rows.size(); ++row) {
      for (std::size_t column = 0; column < rows[row].size(); ++column) {
        CheckCellText(grid, static_cast<int>(column), static_cast<int>(row), rows[row][column]);
      }
    }
  }
}

// The design entries the state keeps are numbers, whatever was typed or read.
inline void CheckEntryValuesFinite(const DesignState& s) {
  const double values[] = {s.fg, s.f,  s.Q,    s.D,  s.Vu,       s.Zin,  s.R3,
                           s.C1, s.C2, s.fnfp, s.RL, s.rippleDb, s.Sweep};
  for (double v : values) {
    if (!std::isfinite(v)) Fail("design entry value not finite", std::to_string(v));
  }
}

}  // namespace morvane::fuzz

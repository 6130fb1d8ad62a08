#include "files/design_file.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "design/entry_table.h"
#include "design/field_names.h"
#include "files/design_section.h"
#include "files/ini_profile.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr std::string_view kSection = "Variablen";

struct DesignKey {
  std::string_view key;
  double DesignState::*member;
  int width;
  int decimals;
};

// In the order of writing.
constexpr std::array<DesignKey, 11> kKeys{{
    {"fg", &DesignState::fg, 6, 2},
    {"f", &DesignState::f, 6, 2},
    {"Zin", &DesignState::Zin, 6, 2},
    {"fn/fp", &DesignState::fnfp, 7, 3},
    {"Q", &DesignState::Q, 6, 2},
    {"Vu", &DesignState::Vu, 6, 2},
    {"R3", &DesignState::R3, 6, 2},
    {"C1", &DesignState::C1, 6, 2},
    {"RL", &DesignState::RL, 6, 2},
    {"Welligkeit", &DesignState::rippleDb, 6, 2},
    {"Sweep", &DesignState::Sweep, 7, 3},
}};

constexpr std::array<std::string_view, 11> kReadOrder{
    "fg", "f", "Vu", "R3", "Zin", "C1", "Q", "RL", "Welligkeit", "fn/fp", "Sweep"};

const DesignKey& KeyOf(std::string_view name) {
  for (const auto& k : kKeys) {
    if (k.key == name) return k;
  }
  return kKeys.front();  // unreachable: kReadOrder names only keys of kKeys
}

std::string Trimmed(const std::string& text) {
  return text.substr(std::min(text.find_first_not_of(' '), text.size()));
}

std::string SavedText(const DesignKey& k, const DesignState& s) {
  return FormatValue(k.width, k.decimals, s.*k.member);
}

// The entry field whose limits hold each value; the gain, load and ripple fields change
// meaning with the topology, so the topology picks the meaning.
struct HeldEntry {
  std::string_view field;
  Topology topology;
};

constexpr std::array<HeldEntry, 10> kHeldEntries{{
    {field::fgEingabe, Topology::Mfb},
    {field::fEingabe, Topology::Mfb},
    {field::QEingabe, Topology::Mfb},
    {field::ZinEingabe, Topology::Mfb},
    {field::R32Eingabe, Topology::Pfb},
    {field::C12Eingabe3, Topology::Svf3},
    {field::q2Eingabe, Topology::Pfb},
    {field::VuEingabe, Topology::Mfb},
    {field::DEingabe, Topology::LcLadder},   // RL
    {field::VuEingabe, Topology::LcLadder},  // Welligkeit
}};

// The limits of the sweep factor dialog.
constexpr double kSweepMin = 1.0001;
constexpr double kSweepMax = 10.0;

bool WriteDesign(const std::string& path, const DesignState& s, const DesignChoices* choices,
                 std::string& error) {
  IniDocument document;
  std::string reason;
  bool written = LoadIniFile(path, document, reason);
  if (written) {
    for (const auto& k : kKeys) document.Set(kSection, k.key, SavedText(k, s));
    if (choices) WriteDesignSection(document, s, *choices);
    written = SaveIniFile(path, document, reason);
  }
  if (!written) {
    // The reason behind 'cannot write "PATH": ': which folder or file refused, and why.
    const std::size_t at = reason.find("\": ");
    error = "nach " + path + " kann nicht geschrieben werden: " +
            (at == std::string::npos ? reason : reason.substr(at + 3));
  }
  return written;
}

}  // namespace

bool WriteDesignFile(const std::string& path, const DesignState& s, std::string& error) {
  return WriteDesign(path, s, nullptr, error);
}

bool WriteDesignFile(const std::string& path, const DesignState& s, const DesignChoices& choices,
                     std::string& error) {
  return WriteDesign(path, s, &choices, error);
}

bool ReadDesignFile(const std::string& path, DesignState& s, std::string& error,
                    std::vector<std::string>* unreadable, DesignChoices* choices) {
  IniDocument document;
  if (!LoadIniFile(path, document, error)) return false;
  std::vector<std::pair<const DesignKey*, std::string>> unread;
  for (std::string_view name : kReadOrder) {
    const DesignKey& k = KeyOf(name);
    const std::optional<std::string> stored = document.Get(kSection, k.key);
    const std::string text = stored.value_or(SavedText(k, s));
    s.*k.member = ReadValue(text);
    if (stored && !IsReadableValue(text)) unread.emplace_back(&k, text);
  }
  const auto stillSaved = [&document](std::string_view key, double exact) {
    const DesignKey& k = KeyOf(key);
    const std::optional<std::string> stored = document.Get(kSection, k.key);
    return stored && ReadValue(*stored) == ReadValue(FormatValue(k.width, k.decimals, exact));
  };
  std::vector<std::string> sectionProblems;
  ReadDesignSection(document, s, choices, stillSaved, sectionProblems);
  if (unreadable && !unread.empty()) {
    DesignState held = s;
    HoldDesignValuesInRange(held);
    for (const auto& [k, text] : unread) {
      unreadable->push_back(std::string(k->key) + "=" + text + " is not readable; using " +
                            Trimmed(FormatValue(7, 3, held.*k->member)));
    }
  }
  if (unreadable)
    unreadable->insert(unreadable->end(), sectionProblems.begin(), sectionProblems.end());
  return true;
}

void HoldDesignValuesInRange(DesignState& s) {
  for (const auto& held : kHeldEntries) {
    if (const auto rule = EntryRuleFor(held.field, held.topology)) {
      s.*rule->member = ClampEntry(s.*rule->member, rule->min, rule->max);
    }
  }
  s.Sweep = ClampEntry(s.Sweep, kSweepMin, kSweepMax);
}

}  // namespace morvane

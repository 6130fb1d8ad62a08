#include "files/design_file.h"

#include <array>
#include <string_view>

#include "design/entry_table.h"
#include "design/field_names.h"
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

}  // namespace

bool WriteDesignFile(const std::string& path, const DesignState& s, std::string& error) {
  IniDocument document;
  std::string reason;
  bool written = LoadIniFile(path, document, reason);
  if (written) {
    for (const auto& k : kKeys) document.Set(kSection, k.key, SavedText(k, s));
    written = SaveIniFile(path, document, reason);
  }
  if (!written) error = "nach " + path + " kann nicht geschrieben werden";
  return written;
}

bool ReadDesignFile(const std::string& path, DesignState& s, std::string& error) {
  IniDocument document;
  if (!LoadIniFile(path, document, error)) return false;
  for (std::string_view name : kReadOrder) {
    const DesignKey& k = KeyOf(name);
    const std::string text = document.Get(kSection, k.key).value_or(SavedText(k, s));
    s.*k.member = ReadValue(text);
  }
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

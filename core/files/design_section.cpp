#include "files/design_section.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>

#include "design/design_names.h"
#include "numerics/standard_series.h"

namespace morvane {

namespace {

// An entry of the state, and the key of section "Variablen" that holds it rounded.
struct StateValue {
  std::string_view key;
  double DesignState::*member;
  std::string_view variablenKey;
};

constexpr std::array kStateValues{
    StateValue{"fg", &DesignState::fg, "fg"},
    StateValue{"f", &DesignState::f, "f"},
    StateValue{"Q", &DesignState::Q, "Q"},
    StateValue{"Vu", &DesignState::Vu, "Vu"},
    StateValue{"Zin", &DesignState::Zin, "Zin"},
    StateValue{"R3", &DesignState::R3, "R3"},
    StateValue{"C1", &DesignState::C1, "C1"},
    StateValue{"fnfp", &DesignState::fnfp, "fn/fp"},
    StateValue{"RL", &DesignState::RL, "RL"},
    StateValue{"Ripple", &DesignState::rippleDb, "Welligkeit"},
    StateValue{"Sweep", &DesignState::Sweep, "Sweep"},
};

struct Switch {
  std::string_view key;
  bool DesignChoices::*member;
};

constexpr std::array kSwitches{
    Switch{"MfbEqualCapacitors", &DesignChoices::mfbEqualCapacitors},
    Switch{"PfbEqualCapacitors", &DesignChoices::pfbEqualCapacitors},
    Switch{"OffsetCompensation", &DesignChoices::offsetCompensation},
    Switch{"Svf3AutomaticC", &DesignChoices::svf3AutomaticCapacitance},
    Switch{"Svf4AutomaticC", &DesignChoices::svf4AutomaticCapacitance},
    Switch{"FliegeAutomaticC", &DesignChoices::fliegeAutomaticCapacitance},
    Switch{"RoundResistors", &DesignChoices::roundResistors},
    Switch{"LadderChebyshev", &DesignChoices::ladderChebyshev},
    Switch{"DiplexerChebyshev", &DesignChoices::diplexerChebyshev},
};

constexpr int kLowestLadderOrder = 2;
constexpr int kHighestLadderOrder = 10;

// The shortest text that reads back to the same number, the same under every locale.
std::string ExactText(double x) {
  std::array<char, 32> text{};
  const auto end = std::to_chars(text.data(), text.data() + text.size(), x).ptr;
  return std::string(text.data(), end);
}

std::optional<double> ExactValue(const std::string& text) {
  double x = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), x);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(x)) {
    return std::nullopt;
  }
  return x;
}

std::optional<int> IntegerValue(const std::string& text) {
  int n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

std::optional<bool> SwitchValue(const std::string& text) {
  if (text == "1") return true;
  if (text == "0") return false;
  return std::nullopt;
}

bool IsDiplexerOrder(int n) {
  return n == 3 || n == 5 || n == 7 || n == 9;
}

// Reads one key: the member takes the value `read` gives, or stays, with a line, where there
// is one it cannot read.
class SectionReader {
 public:
  SectionReader(const IniDocument& document, std::vector<std::string>& problems)
      : document_(document), problems_(problems) {}

  template <typename Value, typename Read>
  void Take(std::string_view key, Value& member, Read read, const std::string& kept) {
    const std::optional<std::string> text = document_.Get(kDesignSection, key);
    if (!text) return;
    if (const auto value = read(*text)) {
      member = *value;
    } else {
      problems_.push_back(std::string(key) + "=" + *text + " is not readable; kept " + kept);
    }
  }

 private:
  const IniDocument& document_;
  std::vector<std::string>& problems_;
};

void ReadChoices(SectionReader& reader, DesignState& s, DesignChoices& c) {
  reader.Take("Topology", s.topology, TopologyNamed, std::string(TopologyName(s.topology)));
  reader.Take("Type", c.type, FilterTypeNamed, std::string(FilterTypeName(c.type)));
  const auto series = [](const std::string& text) -> std::optional<int> {
    for (int code = kSeriesE6; code <= kSeriesE96; ++code) {
      if (text == SeriesName(code)) return code;
    }
    return std::nullopt;
  };
  reader.Take("ResistorSeries", s.ESeriesR, series, SeriesName(s.ESeriesR));
  reader.Take("CapacitorSeries", s.ESeriesC, series, SeriesName(s.ESeriesC));
  reader.Take(
      "LCOrder", s.LCOrder,
      [](const std::string& text) -> std::optional<int> {
        const auto n = IntegerValue(text);
        if (!n || *n < kLowestLadderOrder || *n > kHighestLadderOrder) return std::nullopt;
        return n;
      },
      std::to_string(s.LCOrder));
  reader.Take(
      "DiplexerOrder", c.diplexerOrder,
      [](const std::string& text) -> std::optional<int> {
        const auto n = IntegerValue(text);
        if (!n || !IsDiplexerOrder(*n)) return std::nullopt;
        return n;
      },
      std::to_string(c.diplexerOrder));
  for (const Switch& w : kSwitches) {
    reader.Take(w.key, c.*w.member, SwitchValue, c.*w.member ? "1" : "0");
  }
}

}  // namespace

void WriteDesignSection(IniDocument& document, const DesignState& s, const DesignChoices& c) {
  const auto set = [&document](std::string_view key, const std::string& value) {
    document.Set(kDesignSection, key, value);
  };
  set("Topology", std::string(TopologyName(s.topology)));
  set("Type", std::string(FilterTypeName(c.type)));
  set("ResistorSeries", SeriesName(s.ESeriesR));
  set("CapacitorSeries", SeriesName(s.ESeriesC));
  for (const StateValue& v : kStateValues) set(v.key, ExactText(s.*v.member));
  for (const Switch& w : kSwitches) set(w.key, c.*w.member ? "1" : "0");
  set("LCOrder", std::to_string(s.LCOrder));
  set("DiplexerOrder", std::to_string(c.diplexerOrder));
}

void ReadDesignSection(const IniDocument& document, DesignState& s, DesignChoices* choices,
                       const StillSaved& stillSaved, std::vector<std::string>& problems) {
  SectionReader reader(document, problems);
  for (const StateValue& v : kStateValues) {
    const auto exact = [&](const std::string& text) -> std::optional<double> {
      const auto x = ExactValue(text);
      if (!x || !stillSaved(v.variablenKey, *x)) return std::nullopt;
      return x;
    };
    // A value "Variablen" no longer agrees with is not read, and not a problem either.
    const std::optional<std::string> text = document.Get(kDesignSection, v.key);
    if (text && ExactValue(*text) && !stillSaved(v.variablenKey, *ExactValue(*text))) continue;
    reader.Take(v.key, s.*v.member, exact, ExactText(s.*v.member));
  }
  if (choices) ReadChoices(reader, s, *choices);
}

}  // namespace morvane

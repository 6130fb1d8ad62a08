#pragma once

// What the stage tests share: a FieldSink that keeps what the recalculation wrote, a stage
// recalculated into one, and the value a page entry takes from a text.

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "design/entry_table.h"
#include "design/field_sink.h"
#include "design/recalculate.h"
#include "numerics/value_text.h"

namespace morvane::testing {

class RecordingSink : public FieldSink {
 public:
  void Write(std::string_view field, const std::string& text) override {
    fields[std::string(field)] = text;
    order.emplace_back(field);
  }
  void WriteCell(std::string_view grid, int column, int row, const std::string& text) override {
    cells[std::string(grid) + "[" + std::to_string(row) + "][" + std::to_string(column) + "]"] =
        text;
  }
  void Beep() override { ++beeps; }
  void Message(const std::string& text) override { messages.push_back(text); }
  void Notice(const std::string& text) override { notice = text; }

  bool Has(const std::string& field) const { return fields.count(field) != 0; }
  const std::string& At(const std::string& field) const { return fields.at(field); }

  std::map<std::string, std::string> fields;
  std::map<std::string, std::string> cells;
  std::vector<std::string> order;
  std::vector<std::string> messages;
  std::string notice;
  int beeps = 0;
};

struct Designed {
  DesignState state;
  RecordingSink sink;
};

// One full recalculation of `topology` from `start`.
inline Designed DesignStage(Topology topology, const DesignChoices& in, DesignState start) {
  Designed d{start, {}};
  Recalculate(ChangedEntry::Any, topology, d.state, in, d.sink);
  return d;
}

// The state whose element values the worked figures of the SVF and Fliege stages are for.
inline DesignState EdgeState() {
  DesignState s;
  s.Zin = 1200.0;
  return s;
}

// One element of a worked figure: the value it has and the text its field shows.
struct Element {
  const char* field;
  double DesignState::*member;
  double value;
  const char* text;
};

// Values within `relative` of the worked figures (which carry seven digits or more), texts
// exactly.
inline void ExpectElements(const Designed& d, const std::vector<Element>& elements,
                           double relative = 1e-6) {
  for (const Element& e : elements) {
    EXPECT_NEAR(d.state.*e.member, e.value, relative * e.value) << e.field;
    EXPECT_EQ(d.sink.At(e.field), e.text) << e.field;
  }
}

// The value an entry field holds for `text`, as the session reads it.
inline double EntryValue(std::string_view field, std::string_view text) {
  const auto rule = EntryRuleFor(field, Topology::Pfb);
  return ClampEntry(ReadValue(text), rule->min, rule->max);
}

// Designs of the topology across the entry ranges. Every field of the page is written, free of
// nan/inf and of a minus sign; the elements of a designed type are finite and positive.
inline void SweepEntryRanges(Topology t, bool (*designs)(Topology, FilterType),
                             const std::vector<std::string>& fields,
                             const std::vector<double DesignState::*>& elements) {
  const char* noCapacitanceText = nullptr;
  int failures = 0;
  for (FilterType type : {FilterType::Lowpass, FilterType::Highpass, FilterType::Bandpass,
                          FilterType::Bandstop, FilterType::Allpass, FilterType::EllipticLowpass}) {
    for (double fg : {0.001, 2e9}) {
      for (double Q : {0.1, 0.5, 0.7071, 1.0, 1e4}) {
        for (double Vu : {0.1, 1.05, 1e6}) {
          for (double Zin : {0.1, 1e9}) {
            for (int series = 1; series <= 5; ++series) {
              for (const char* text : {noCapacitanceText, "1f", "1m", "0"}) {
                DesignState s;
                s.fg = fg, s.Q = Q, s.D = 0.5 / Q, s.Vu = Vu, s.Zin = Zin;
                s.ESeriesR = s.ESeriesC = series;
                DesignChoices in;
                in.type = type;
                if (text != nullptr) {
                  in.svf3AutomaticCapacitance = in.svf4AutomaticCapacitance =
                      in.fliegeAutomaticCapacitance = false;
                  in.svf3Capacitance = in.svf4Capacitance = in.fliegeCapacitance =
                      EntryValue("C12Eingabe3", text);
                }
                const Designed r = DesignStage(t, in, s);
                bool ok = true;
                for (const std::string& f : fields) {
                  if (!r.sink.Has(f)) {
                    ok = false;
                    continue;
                  }
                  std::string lower = r.sink.At(f);
                  for (char& ch : lower) ch = static_cast<char>(std::tolower(ch));
                  const auto first = lower.find_first_not_of(' ');
                  ok = ok && lower.find("nan") == std::string::npos &&
                       lower.find("inf") == std::string::npos &&
                       (first == std::string::npos || lower[first] != '-' ||
                        lower.size() == first + 1);
                }
                const bool designed = designs(t, type);
                for (double DesignState::*m : elements) {
                  const double x = r.state.*m;
                  ok = ok && (!designed || (std::isfinite(x) && x > 0));
                }
                ok = ok && std::isfinite(r.state.VuActual * r.state.Q * r.state.fo);
                if (!ok && ++failures <= 5) {
                  ADD_FAILURE() << "type " << static_cast<int>(type) << " fg " << fg << " Q " << Q
                                << " Vu " << Vu << " Zin " << Zin << " series " << series << " C "
                                << (text ? text : "auto");
                }
              }
            }
          }
        }
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace morvane::testing

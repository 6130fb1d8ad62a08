// Whatever the entries within their limits, no field shows "nan" or "inf" and no component
// is negative, on every active page, for every type, series and check-box state.

#include <gtest/gtest.h>

#include <string>

#include "design/design_state.h"
#include "design/recalculate.h"
#include "stage_test_support.h"

namespace morvane {
namespace {

using testing::RecordingSink;

bool ShowsNonFinite(const std::string& text) {
  if (text.find("nan") != std::string::npos || text.find("NAN") != std::string::npos) {
    return true;
  }
  for (auto pos = text.find("inf"); pos != std::string::npos; pos = text.find("inf", pos + 1)) {
    if (text.compare(pos, 8, "infinite") != 0) return true;
  }
  return text.find("INF") != std::string::npos;
}

bool IsComponentField(const std::string& name) {
  return (name[0] == 'R' || name[0] == 'C') && name.find("Ausgabe") != std::string::npos;
}

bool ShowsNegative(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  return first != std::string::npos && text[first] == '-' && text.size() > first + 1;
}

TEST(FieldSweep, NoNonFiniteTextAndNoNegativeComponentAnywhere) {
  const double fgs[] = {0.001, 1.0, 1000.0, 1e6, 2e9};
  const double Qs[] = {0.1, 0.5, 0.7071, 3.0, 100.0, 10000.0};
  const double gains[] = {0.1, 1.0, 1000.0, 1e6};
  const double impedances[] = {0.1, 1000.0, 1e9};
  const FilterType types[] = {FilterType::Lowpass,  FilterType::Highpass,
                              FilterType::Bandpass, FilterType::Bandstop,
                              FilterType::Allpass,  FilterType::EllipticLowpass};
  int series = 0;
  for (int topology = 1; topology <= 5; ++topology) {
    for (FilterType type : types) {
      for (bool boxes : {true, false}) {
        DesignChoices in;
        in.type = type;
        in.mfbEqualCapacitors = in.offsetCompensation = in.svf3AutomaticCapacitance =
            in.svf4AutomaticCapacitance = in.fliegeAutomaticCapacitance = boxes;
        // Typical entries, or every page entry at its lower limit (where "0" or "abc" is held).
        in.pfbR3 = boxes ? 1000.0 : 0.001;
        in.pfbZeroRatio = boxes ? 2.0 : 1.1;
        in.svf3Capacitance = in.svf4Capacitance = boxes ? 10e-9 : 1e-15;
        in.fliegeCapacitance = boxes ? 1e-3 : 1e-15;
        for (double fg : fgs) {
          for (double Q : Qs) {
            for (double Vu : gains) {
              for (double Zin : impedances) {
                DesignState s;
                s.topology = static_cast<Topology>(topology);
                s.fg = fg;
                s.f = fg * 1.5;
                s.Q = Q;
                s.D = 0.5 / Q;
                s.Vu = s.topology == Topology::Pfb ? std::max(Vu, 1.0) : Vu;
                s.Zin = Zin;
                s.ESeriesR = 1 + series % 5;
                s.ESeriesC = 1 + (series / 5) % 5;
                ++series;
                RecordingSink sink;
                Recalculate(ChangedEntry::Any, s.topology, s, in, sink);
                for (const auto& [name, text] : sink.fields) {
                  ASSERT_FALSE(ShowsNonFinite(text))
                      << name << " = '" << text << "' topology " << topology << " type "
                      << static_cast<int>(type) << " fg " << fg << " Q " << Q << " Vu " << Vu
                      << " Zin " << Zin;
                  if (IsComponentField(name)) {
                    ASSERT_FALSE(ShowsNegative(text))
                        << name << " = '" << text << "' topology " << topology << " type "
                        << static_cast<int>(type) << " fg " << fg << " Q " << Q << " Vu " << Vu
                        << " Zin " << Zin;
                  }
                }
              }
            }
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace morvane

// Limits and figures that must not depend on how the session got somewhere: a spin button
// at the end of its range, a gain carried onto the PFB page, a Q a PFB band type raised.
// Each case once went wrong only when a field's text happened to stay the same, or only on
// the first of two equal recalculations.

#include <gtest/gtest.h>

#include <string>

#include "design/design_session.h"
#include "design/entry_table.h"
#include "numerics/value_text.h"

namespace morvane {
namespace {

struct SpinLimitCase {
  const char* field;
  const char* button;
  const char* start;  // typed first: the limit itself
  SpinDirection direction;
  double DesignState::*member;
  double limit;
};

// Every click beyond a limit stays at it, and the field shows the value the design uses.
TEST(SessionLimits, SpinButtonStopsAtTheLimit) {
  const SpinLimitCase cases[] = {
      {"fgEingabe", "SpinButtonfg", "1m", SpinDirection::Down, &DesignState::fg, 0.001},
      {"fgEingabe", "SpinButtonfg", "2G", SpinDirection::Up, &DesignState::fg, 2e9},
      {"fEingabe", "SpinButtonf", "0.1m", SpinDirection::Down, &DesignState::f, 0.0001},
      {"fEingabe", "SpinButtonf", "20G", SpinDirection::Up, &DesignState::f, 2e10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.button) + " from " + c.start);
    DesignSession typed;
    typed.Start();
    typed.TypeEntry(c.field, c.start);
    DesignSession spun;
    spun.Start();
    spun.TypeEntry(c.field, c.start);
    for (int click = 0; click < 4; ++click) {
      ASSERT_TRUE(spun.Spin(c.button, c.direction));
      EXPECT_EQ(spun.State().*c.member, c.limit) << "click " << click;
      EXPECT_DOUBLE_EQ(ReadValue(spun.FieldText(c.field)), c.limit) << spun.FieldText(c.field);
      for (const char* result : {"R11Ausgabe", "C11Ausgabe", "VufAusgabe", "foAusgabe"}) {
        EXPECT_EQ(spun.FieldText(result), typed.FieldText(result)) << result << ", click " << click;
      }
    }
  }
}

// A gain below 1 is held at PFB's least gain of 1 on entering the page, also when the field
// already shows the text the switch writes.
TEST(SessionLimits, GainIsHeldOnEnteringThePfbPage) {
  for (Topology via : {Topology::Svf3, Topology::Svf4, Topology::Fliege}) {
    DesignSession session;
    session.Start();
    session.TypeEntry("VuEingabe", "0.81");
    session.SelectTopology(via);  // writes "  810.00m"
    EXPECT_EQ(session.State().Vu, 0.81);
    session.SelectTopology(Topology::Pfb);  // writes it again
    EXPECT_EQ(session.State().Vu, 1.0) << static_cast<int>(via);
    session.SelectTopology(Topology::Mfb);
    EXPECT_EQ(session.State().Vu, 1.0);
  }
}

// Bandpass and bandstop on the PFB page raise a Q below 0.5 to 0.5: the bandwidth and the
// other figures show the raised Q at once, not only from the second recalculation on.
TEST(SessionLimits, RaisedQShowsAtOnce) {
  for (FilterType type : {FilterType::Bandpass, FilterType::Bandstop}) {
    for (const char* entry : {"DEingabe", "QEingabe"}) {
      SCOPED_TRACE(std::string(entry) + ", type " + std::to_string(static_cast<int>(type)));
      DesignSession session;
      session.Start();
      session.SelectTopology(Topology::Pfb);
      session.SelectFilterType(type);
      session.TypeEntry(entry, entry == std::string("DEingabe") ? "5" : "0.1");
      EXPECT_EQ(session.State().Q, 0.5);
      const auto first = session.Fields();
      EXPECT_EQ(first.at("foAusgabe"), " " + FormatValue(7, 2, 1000.0 / 0.5));
      session.Recalculate();
      EXPECT_EQ(session.Fields(), first);
    }
  }
}

}  // namespace
}  // namespace morvane

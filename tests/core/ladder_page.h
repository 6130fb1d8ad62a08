#pragma once

// The LC page as its design leaves it for a ladder of this order, approximation (ripple 0:
// Butterworth), type, terminations and fg: the state, the choices, and what the page said.

#include <string>
#include <string_view>

#include "design/field_sink.h"
#include "design/recalculate.h"

namespace morvane::testing {

struct LadderCase {
  int n;
  double ripple;  // 0: Butterworth
  FilterType type;
  double RG;
  double RL;
  double fg;
};

struct LadderPage {
  DesignState s;
  DesignChoices in;
  std::string message;
  std::string notice;
};

inline LadderPage DesignedLadderPage(const LadderCase& ladder) {
  class Sink : public FieldSink {
   public:
    explicit Sink(LadderPage& page) : page_(page) {}
    void Write(std::string_view, const std::string&) override {}
    void WriteCell(std::string_view, int, int, const std::string&) override {}
    void Beep() override {}
    void Message(const std::string& text) override { page_.message = text; }
    void Notice(const std::string& text) override { page_.notice = text; }

   private:
    LadderPage& page_;
  };
  LadderPage page;
  page.s.topology = Topology::LcLadder;
  page.s.LCOrder = ladder.n;
  page.s.rippleDb = ladder.ripple > 0.0 ? ladder.ripple : 1.0;
  page.s.Zin = ladder.RG;
  page.s.RL = ladder.RL;
  page.s.fg = ladder.fg;
  page.in.type = ladder.type;
  page.in.ladderChebyshev = ladder.ripple > 0.0;
  Sink sink(page);
  Recalculate(ChangedEntry::Any, Topology::LcLadder, page.s, page.in, sink);
  return page;
}

}  // namespace morvane::testing

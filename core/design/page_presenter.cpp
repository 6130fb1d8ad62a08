#include "design/page_presenter.h"

#include <numbers>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "design/field_names.h"
#include "design/result_text.h"
#include "design/stage_figures.h"
#include "graphs/response.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// ---- the topology pages ----------------------------------------------------------------

// A result field that shows one value of the design.
struct ElementField {
  std::string_view field;
  double DesignState::*member;
};

using S = DesignState;

constexpr ElementField kMfbElements[] = {
    {field::R11Ausgabe, &S::R1}, {field::C11Ausgabe, &S::C1},       {field::C21Ausgabe, &S::C2},
    {field::R21Ausgabe, &S::R2}, {field::Vu1Ausgabe, &S::VuActual},
};
// PFB element fields other than R4 and C3, which have texts of their own.
constexpr ElementField kPfbElements[] = {
    {field::Vu2Ausgabe, &S::VuActual}, {field::R12Ausgabe, &S::R1}, {field::R22Ausgabe, &S::R2},
    {field::C12Ausgabe, &S::C1},       {field::C22Ausgabe, &S::C2},
};
constexpr ElementField kSvf3Elements[] = {
    {field::R13Ausgabe, &S::R1}, {field::R23Ausgabe, &S::R2}, {field::C13Ausgabe, &S::C1},
    {field::C23Ausgabe, &S::C2}, {field::R33Ausgabe, &S::R3}, {field::R43Ausgabe, &S::R4},
    {field::R53Ausgabe, &S::R5}, {field::R63Ausgabe, &S::R6}, {field::R03Ausgabe, &S::R0},
};
constexpr ElementField kSvf4Elements[] = {
    {field::R04Ausgabe, &S::R0}, {field::R14Ausgabe, &S::R1}, {field::C14Ausgabe, &S::C1},
    {field::C24Ausgabe, &S::C2}, {field::R24Ausgabe, &S::R2}, {field::R34Ausgabe, &S::R3},
    {field::R44Ausgabe, &S::R4}, {field::R54Ausgabe, &S::R5},
};
constexpr ElementField kFliegeElements[] = {
    {field::Vu5Ausgabe, &S::VuActual}, {field::R15Ausgabe, &S::R1}, {field::C15Ausgabe, &S::C1},
    {field::C25Ausgabe, &S::C2},       {field::R25Ausgabe, &S::R2}, {field::R35Ausgabe, &S::R3},
    {field::R45Ausgabe, &S::R4},       {field::R55Ausgabe, &S::R5},
};

// Element fields with texts of their own: R3 and C3 of the MFB page, R3, R4, C3 of the PFB page.
constexpr ElementField kMfbOwnTexts[] = {{field::R31Ausgabe, &S::R3}, {field::C31Ausgabe, &S::C3}};
constexpr ElementField kPfbOwnTexts[] = {
    {field::R32Ausgabe, &S::R3}, {field::R42Ausgabe, &S::R4}, {field::C32Ausgabe, &S::C3}};

struct PageTable {
  std::span<const ElementField> elements;
  std::string_view peaking;
  std::span<const ElementField> ownTexts = {};
};

PageTable PageOf(Topology topology) {
  switch (topology) {
    case Topology::Mfb:
      return {kMfbElements, field::dVu1Ausgabe, kMfbOwnTexts};
    case Topology::Pfb:
      return {kPfbElements, field::dVu2Ausgabe, kPfbOwnTexts};
    case Topology::Svf3:
      return {kSvf3Elements, field::dVu3Ausgabe};
    case Topology::Svf4:
      return {kSvf4Elements, field::dVu4Ausgabe};
    default:
      return {kFliegeElements, field::dVu5Ausgabe};
  }
}

constexpr const char* kNotRealizable = "not realizable";
// R4 from here up is shown as absent.
constexpr double kInfiniteR4 = 1e14;

// The parts of a stage and the state values the page shows them from.
struct StagePart {
  std::string_view name;
  std::optional<double> StageParts::*part;
  double DesignState::*member;
  ComponentKind kind;
};

constexpr StagePart kStageParts[] = {
    {"R0", &StageParts::R0, &S::R0, ComponentKind::Resistor},
    {"R1", &StageParts::R1, &S::R1, ComponentKind::Resistor},
    {"R2", &StageParts::R2, &S::R2, ComponentKind::Resistor},
    {"R3", &StageParts::R3, &S::R3, ComponentKind::Resistor},
    {"R4", &StageParts::R4, &S::R4, ComponentKind::Resistor},
    {"R5", &StageParts::R5, &S::R5, ComponentKind::Resistor},
    {"R6", &StageParts::R6, &S::R6, ComponentKind::Resistor},
    {"C1", &StageParts::C1, &S::C1, ComponentKind::Capacitor},
    {"C2", &StageParts::C2, &S::C2, ComponentKind::Capacitor},
    {"C3", &StageParts::C3, &S::C3, ComponentKind::Capacitor},
};

// The result field of the page that shows this state value; empty when it shows none.
std::string_view FieldShowing(const PageTable& page, double DesignState::*member) {
  for (const ElementField& f : page.elements) {
    if (f.member == member) return f.field;
  }
  for (const ElementField& f : page.ownTexts) {
    if (f.member == member) return f.field;
  }
  return {};
}

// The MFB page shows R3 for lowpass and bandpass, C3 for the highpass; a type it does not
// build leaves both as they were.
void PresentMfbThirdElement(FilterType type, const DesignState& s, FieldSink& out) {
  if (type == FilterType::Lowpass || type == FilterType::Bandpass) {
    out.Write(field::C31Ausgabe, kNotNeeded);
    out.Write(field::R31Ausgabe, ResultText(s.R3));
  } else if (type == FilterType::Highpass) {
    out.Write(field::R31Ausgabe, kNotNeeded);
    out.Write(field::C31Ausgabe, ResultText(s.C3));
  }
}

void PresentPfbElements(FilterType type, const StageDesign& design, const DesignState& s,
                        FieldSink& out) {
  if (!design.Realizable()) {
    for (const ElementField& f : kPfbElements) out.Write(f.field, kNotRealizable);
    out.Write(field::R42Ausgabe, kNotRealizable);
    out.Write(field::C32Ausgabe, kNotRealizable);
    out.Notice(NotRealizableNotice(design.notRealizable));
    return;
  }
  out.Write(field::R42Ausgabe, s.R4 < kInfiniteR4 ? ResultText(s.R4) : " infinite");
  out.Write(field::C32Ausgabe, type == FilterType::EllipticLowpass ? ResultText(s.C3) : kNotNeeded);
  for (const ElementField& f : kPfbElements) out.Write(f.field, ResultText(s.*f.member));
}

// foAusgabe and woAusgabe: fo and 2*pi*fo, or for the band types the bandwidth B and 2*pi*fg.
void PresentResonance(const DesignState& s, FilterType type, FieldSink& out) {
  const bool band = IsBandType(type);
  out.Write(field::foAusgabe, ResultText(band ? s.B : s.fo));
  out.Write(field::woAusgabe, ResultText(kTwoPi * (band ? s.fg : s.fo)));
}

// ---- the LC pages ----------------------------------------------------------------------

constexpr const char* kBlank = " ";
constexpr const char* kNoValue = "-";
constexpr const char* kUndefined = "undefiniert";
constexpr const char* kChebyshevEvenMessage =
    "For even n, a Chebyshev ladder needs RL quite different from RG: change ZL or Zin, or "
    "choose an odd n.";
constexpr const char* kEvenLoadNotice =
    "Even n needs RL <= RG: no ladder starting with a shunt element gives this response into a "
    "larger load. Lower RL or choose an odd n.";
// Information-panel figures that the passive LC ladder does not have: five blanks and a dash.
constexpr const char* kNoFigure = "     -";
constexpr int kLadderRows = 10;
constexpr int kDiplexerRows = 9;

// An element's value in the grids of both LC pages: unit prefix and unit ("159.15mH").
std::string ElementValueText(const LadderElement& e) {
  return FormatValue(6, 2, e.value) + (e.kind == 'C' ? "F" : "H");
}

void PresentPoleGrid(const LadderDesign& ladder, FieldSink& out) {
  const auto grid = field::StringGridAlignPN;
  const int n = ladder.n;
  for (int k = 1; k <= kLadderRows; ++k) {
    if (k > n) {
      for (int column = 0; column <= 2; ++column) out.WriteCell(grid, column, k, kBlank);
      continue;
    }
    const std::complex<double> pole = ladder.poles[static_cast<std::size_t>(k)];
    out.WriteCell(grid, 0, k, FormatInteger(k));
    out.WriteCell(grid, 1, k, FormatValue(6, 2, pole.real()));
    out.WriteCell(grid, 2, k, FormatValue(6, 2, pole.imag()));
  }
  const int pairs = (n + 1) / 2;
  for (int i = 1; i <= kLadderRows; ++i) {
    const auto index = static_cast<std::size_t>(i);
    if (i > pairs) {
      for (int column = 3; column <= 5; ++column) out.WriteCell(grid, column, i, kBlank);
    } else if (n % 2 == 1 && i == pairs) {
      out.WriteCell(grid, 3, i, FormatValue(6, 2, ladder.coefA[index]));
      out.WriteCell(grid, 4, i, kNoValue);
      out.WriteCell(grid, 5, i, kNoValue);
    } else {
      out.WriteCell(grid, 3, i, FormatValue(6, 2, ladder.coefA[index]));
      out.WriteCell(grid, 4, i, FormatValue(6, 2, ladder.coefB[index]));
      out.WriteCell(grid, 5, i, FormatFixed(6, 3, ladder.poleQ[index]));
    }
  }
}

void PresentLadderElements(const LadderDesign& ladder, FilterType type, FieldSink& out) {
  const auto grid = field::StringAlignGridLC;
  const bool highpass = type == FilterType::Highpass;
  for (int k = 1; k <= kLadderRows; ++k) {
    if (k > ladder.n) {
      out.WriteCell(grid, 0, k, kBlank);
      out.WriteCell(grid, 1, k, kBlank);
      continue;
    }
    const bool odd = k % 2 == 1;
    out.WriteCell(grid, 0, k, std::string(1, odd != highpass ? 'C' : 'L') + FormatInteger(k));
    if (ladder.elements.empty()) {
      out.WriteCell(grid, 1, k, kUndefined);
    } else {
      out.WriteCell(grid, 1, k, ElementValueText(ladder.elements[static_cast<std::size_t>(k - 1)]));
    }
  }
}

ComponentKind KindOf(const LadderElement& e) {
  return e.kind == 'C' ? ComponentKind::Capacitor : ComponentKind::Inductor;
}

// The elements of a ladder or diplexer branch as the value column of its grid shows them,
// from row 1; `prefix` goes before each element's name.
void AddGridElements(std::string_view grid, std::string_view prefix,
                     const std::vector<LadderElement>& elements,
                     std::vector<ShownComponent>& shown) {
  int row = 1;
  for (const LadderElement& e : elements) {
    shown.push_back(
        {grid, row, std::string(prefix) + e.kind + FormatInteger(row), KindOf(e), e.value});
    ++row;
  }
}

void PresentDiplexerBranch(std::string_view grid, const std::vector<LadderElement>& elements,
                           FieldSink& out) {
  int row = 1;
  for (const LadderElement& e : elements) {
    out.WriteCell(grid, 0, row, std::string(1, e.kind) + FormatInteger(row));
    out.WriteCell(grid, 1, row, ElementValueText(e));
    ++row;
  }
  for (; row <= kDiplexerRows; ++row) {
    out.WriteCell(grid, 0, row, kBlank);
    out.WriteCell(grid, 1, row, kBlank);
  }
}

constexpr const char* kNoOvershoot = "    0.000";
constexpr const char* kMinusInfinite = "-infinite";

}  // namespace

const char* NotRealizableNotice(NotRealizable why) {
  switch (why) {
    case NotRealizable::EllipticQTooLow:
      return "Elliptical lowpass not realizable: raise Q above 0.5";
    case NotRealizable::EllipticZeroTooLow:
      return "Elliptical lowpass not realizable: raise Q or fn/fo";
    default:
      return "PFB stage not realizable: element values out of range, change Q";
  }
}

void PresentStagePage(Topology topology, FilterType type, const StageDesign& design,
                      const DesignState& s, FieldSink& out) {
  if (design.typeNotOffered) out.Beep();
  const PageTable page = PageOf(topology);
  if (topology == Topology::Mfb) PresentMfbThirdElement(type, s, out);
  if (topology == Topology::Pfb) PresentPfbElements(type, design, s, out);
  PresentResonance(s, type, out);
  const bool peaks = !IsBandType(type) && type != FilterType::Allpass;
  out.Write(page.peaking, peaks ? PeakingText(s.dVu) : kNoPeaking);
  if (topology == Topology::Pfb) {
    out.Write(field::R32Ausgabe, ResultText(s.R3));
  } else {
    for (const ElementField& f : page.elements) out.Write(f.field, ResultText(s.*f.member));
  }
  out.Write(field::GBWPAusgabe, ResultText(RecommendedGbwp(topology, s.VuActual, s.Q, s.fo)));
  out.UnbuildableComponents(StagePageWarnings(topology, design));
}

std::vector<ComponentWarning> StagePageWarnings(Topology topology, const StageDesign& design) {
  if (!design.Realizable()) return {};  // the page shows no values
  const PageTable page = PageOf(topology);
  std::vector<ShownComponent> shown;
  for (const StagePart& p : kStageParts) {
    const std::optional<double>& value = design.parts.*p.part;
    const std::string_view shownIn = FieldShowing(page, p.member);
    if (!value || shownIn.empty()) continue;
    // An R4 this large is shown as "infinite": the circuit leaves it out.
    if (shownIn == field::R42Ausgabe && *value >= kInfiniteR4) continue;
    shown.push_back({shownIn, 0, std::string(p.name), p.kind, *value});
  }
  return UnbuildableComponents(shown);
}

std::vector<ComponentWarning> LadderWarnings(const LadderDesign& ladder) {
  std::vector<ShownComponent> shown;
  AddGridElements(field::StringAlignGridLC, "", ladder.elements, shown);
  return UnbuildableComponents(shown);
}

std::vector<ComponentWarning> DiplexerWarnings(const std::vector<LadderElement>& lowpassBranch,
                                               const std::vector<LadderElement>& highpassBranch) {
  std::vector<ShownComponent> shown;
  AddGridElements(field::StringAlignGridDiplexTP, "lowpass part ", lowpassBranch, shown);
  AddGridElements(field::StringAlignGridDiplexHP, "highpass part ", highpassBranch, shown);
  return UnbuildableComponents(shown);
}

void PresentInformationPanel(const DesignState& s, FilterType type, FieldSink& out) {
  const double f0 = ReferenceFrequency(s, type);
  const auto bn = NoiseBandwidth(type, s.Q, f0);
  out.Write(field::BrAusgabe, bn ? ResultText(*bn) : kNoFigure);
  out.Write(field::tgrAusgabe, ResultText(GroupDelayFigure(type, s.Q, f0)));
  out.Write(field::trAusgabe, ResultText(RiseTime(s.Q, s.D, s.fg)));
  out.Write(field::OSAusgabe,
            s.Q <= 0.5 ? kNoOvershoot : " " + FormatFixed(8, 3, Overshoot(s.Q, s.D, s.fg)));
}

void PresentLadderPanel(const DesignState& s, FieldSink& out) {
  out.Write(field::foAusgabe, ResultText(s.fg));
  out.Write(field::woAusgabe, ResultText(kTwoPi * s.fg));
  for (auto name : {field::BrAusgabe, field::GBWPAusgabe, field::trAusgabe, field::tgrAusgabe,
                    field::OSAusgabe}) {
    out.Write(name, kNoFigure);
  }
}

void PresentReadout(const DesignState& s, FieldSink& out) {
  if (!s.ReadoutDefined) {
    for (auto name :
         {field::VufAusgabe, field::VufdBAusgabe, field::PhifAusgabe, field::tgrfAusgabe}) {
      out.Write(name, kNoFigure);
    }
    return;
  }
  out.Write(field::VufAusgabe, ResultText(s.Vuf));
  out.Write(field::VufdBAusgabe, s.Vuf > 0.0 ? " " + FormatFixed(8, 2, s.VufdB) : kMinusInfinite);
  out.Write(field::PhifAusgabe, " " + FormatFixed(8, 2, s.Phif));
  out.Write(field::tgrfAusgabe, s.tgrfDefined ? ResultText(s.tgrf) : kNoFigure);
}

void PresentLadder(const LadderDesign& ladder, FilterType type, FieldSink& out) {
  PresentPoleGrid(ladder, out);
  PresentLadderElements(ladder, type, out);
  out.UnbuildableComponents(LadderWarnings(ladder));
  if (ladder.fault == LadderFault::ChebyshevEvenMatched) {
    // In the status line for as long as it holds, and in a box for the action that caused it
    // (not for a keystroke: see DesignSession::TypeEntry).
    out.Notice(kChebyshevEvenMessage);
    out.Message(kChebyshevEvenMessage);
  }
  if (ladder.fault == LadderFault::EvenLoadAboveSource) out.Notice(kEvenLoadNotice);
}

void PresentDiplexer(const DiplexerInput& diplexer, FieldSink& out) {
  const std::vector<LadderElement> lowpass = DiplexerElements(diplexer, true);
  const std::vector<LadderElement> highpass = DiplexerElements(diplexer, false);
  PresentDiplexerBranch(field::StringAlignGridDiplexTP, lowpass, out);
  PresentDiplexerBranch(field::StringAlignGridDiplexHP, highpass, out);
  out.UnbuildableComponents(DiplexerWarnings(lowpass, highpass));
}

void PresentLinkedEntry(ChangedEntry changed, const DesignState& s, FieldSink& out) {
  if (changed == ChangedEntry::Q) out.Write(field::DEingabe, " " + FormatValue(7, 2, s.D));
  if (changed == ChangedEntry::D) out.Write(field::QEingabe, " " + FormatValue(7, 2, s.Q));
}

}  // namespace morvane

#include "design/recalculate.h"

#include <cmath>
#include <numbers>

#include "circuit/built_figures.h"
#include "circuit/circuit.h"
#include "design/fliege_stage.h"
#include "design/mfb_stage.h"
#include "design/page_presenter.h"
#include "design/pfb_stage.h"
#include "design/stage_figures.h"
#include "design/svf_stage.h"
#include "filters/filter_response.h"
#include "lc/lc_diplexer.h"
#include "lc/lc_ladder.h"
#include "lc/passive_transfer.h"

namespace morvane {

namespace {

void LinkQAndD(ChangedEntry changed, DesignState& s) {
  if (changed == ChangedEntry::Q) s.D = 0.5 / s.Q;
  if (changed == ChangedEntry::D) s.Q = 0.5 / s.D;
}

void ComputeSharedQuantities(DesignState& s, FilterType type) {
  s.fo = ResonanceFrequency(s.fg, s.Q, type);
  s.B = s.fg / s.Q;
  s.dVu = PeakingDb(s.Q);
}

void StoreLadder(const LadderDesign& ladder, DesignState& s) {
  s.LadderG = ladder.g;
  s.LadderMirrored = ladder.mirrored;
  s.LadderFrequencyScale = ladder.frequencyScale;
  s.LadderCoefA = ladder.coefA;
  s.LadderCoefB = ladder.coefB;
}

void DesignPassive(Topology topology, DesignState& s, const DesignChoices& c, FieldSink& out) {
  if (topology == Topology::Diplexer) {
    PresentDiplexer(DiplexerInputOf(s, c.diplexerOrder, c.diplexerChebyshev), out);
  }
  if (topology == Topology::LcLadder) {
    const LadderDesign ladder = DesignLadder(LadderInputOf(s, c.type, c.ladderChebyshev));
    StoreLadder(ladder, s);
    PresentLadder(ladder, c.type, out);
    PresentLadderPanel(s, out);
  }
}

}  // namespace

namespace {

StageRequirement RequirementOf(const DesignState& s, const DesignChoices& c) {
  return {.type = c.type,
          .fg = s.fg,
          .fo = s.fo,
          .q = s.Q,
          .gain = s.Vu,
          .zin = s.Zin,
          .seriesR = s.ESeriesR,
          .seriesC = s.ESeriesC};
}

StageDesign DesignFor(Topology topology, const StageRequirement& requirement,
                      const DesignChoices& c) {
  switch (topology) {
    case Topology::Mfb:
      return DesignMfbStage({requirement, c.mfbEqualCapacitors});
    case Topology::Pfb:
      return DesignPfbStage(
          {requirement, c.offsetCompensation, c.pfbR3, c.pfbZeroRatio, c.pfbEqualCapacitors});
    case Topology::Svf3:
      return DesignSvf3Stage({requirement, c.svf3AutomaticCapacitance, c.svf3Capacitance});
    case Topology::Svf4:
      return DesignSvf4Stage({requirement, c.svf4AutomaticCapacitance, c.svf4Capacitance});
    default:
      return DesignFliegeStage({requirement, c.fliegeAutomaticCapacitance, c.fliegeCapacitance});
  }
}

// The pole frequency of the stage: the centre fg of a bandpass, else fo.
double PoleFrequency(const StageRequirement& r) {
  return r.type == FilterType::Bandpass ? r.fg : r.fo;
}

// The requirement with pole frequency f0 and Q q, fg and fo kept in step.
StageRequirement Retargeted(StageRequirement r, double f0, double q) {
  r.q = q;
  if (r.type == FilterType::Bandpass) {
    r.fg = f0;
    r.fo = ResonanceFrequency(f0, q, r.type);
  } else {
    r.fo = f0;
    r.fg = f0 / ResonanceFrequency(1.0, q, r.type);  // fo is proportional to fg
  }
  return r;
}

bool Predistorts(Topology topology, const DesignChoices& c) {
  return c.predistort && c.opAmp && !c.opAmp->IsIdeal() &&
         (topology == Topology::Mfb || topology == Topology::Pfb) &&
         (c.type == FilterType::Lowpass || c.type == FilterType::Highpass ||
          c.type == FilterType::Bandpass);
}

}  // namespace

StagePredistortion PredistortedStageOf(Topology topology, const DesignState& s,
                                       const DesignChoices& c) {
  const StageRequirement plain = RequirementOf(s, c);
  StagePredistortion out{DesignFor(topology, plain, c), std::nullopt};
  if (!Predistorts(topology, c) || !out.design.Realizable()) return out;
  const auto designFor = [&](double f0, double q) -> std::optional<Circuit> {
    const StageDesign d = DesignFor(topology, Retargeted(plain, f0, q), c);
    // A design that raises Q does not build the Q asked for.
    if (!d.Realizable() || d.q != q) return std::nullopt;
    return StageCircuit(topology, c.type, d.parts);
  };
  // The Q the plain circuit builds (a design may raise the entry's).
  const double q = out.design.q;
  out.outcome = Predistort(designFor, *c.opAmp,
                           {.f0 = PoleFrequency(plain),
                            .q = q,
                            .reference = ReferenceOfStageType(c.type),
                            .notch = false,
                            .firstOrder = false});
  if (!out.outcome->Achieved()) return out;
  out.design = DesignFor(topology, Retargeted(plain, out.outcome->f0, out.outcome->q), c);
  out.design.q = q;
  return out;
}

StageDesign DesignStageOf(Topology topology, const DesignState& s, const DesignChoices& c) {
  return PredistortedStageOf(topology, s, c).design;
}

bool ChosenValuesApply(const DesignChoices& c, Topology topology, const StageDesign& design) {
  return c.chosenValues && design.Realizable() && c.chosenValues->topology == topology &&
         c.chosenValues->type == c.type && c.chosenValues->designed == design.parts;
}

bool ChosenValuesInForce(const DesignState& s, const DesignChoices& c) {
  return c.chosenValues && IsActiveTopology(s.topology) &&
         ChosenValuesApply(c, s.topology, DesignStageOf(s.topology, s, c));
}

StageParts BuiltParts(const StageDesign& design, Topology topology, const DesignChoices& c,
                      int seriesR) {
  if (ChosenValuesApply(c, topology, design)) return c.chosenValues->chosen;
  StageParts parts = design.parts;
  if (c.roundResistors && design.Realizable()) RoundResistors(parts, seriesR);
  return parts;
}

namespace {

void DesignActiveStage(Topology topology, DesignState& s, const DesignChoices& c, FieldSink& out) {
  if (topology == Topology::Pfb) {
    // The PFB page's own entries are part of its state whether or not the stage can be built.
    s.R3 = c.pfbR3;
    s.fnfp = c.pfbZeroRatio;
  }
  StagePredistortion planned = PredistortedStageOf(topology, s, c);
  StageDesign& design = planned.design;
  design.parts = BuiltParts(design, topology, c, s.ESeriesR);
  const double askedQ = s.Q;
  ApplyStageDesign(design, s);
  // A raised Q moves the figures shared out before the design at once, not at the next
  // recalculation.
  if (s.Q != askedQ) ComputeSharedQuantities(s, c.type);
  PresentStagePage(topology, c.type, design, s, out);
  if (planned.outcome && !planned.outcome->Achieved()) {
    out.Notice(PredistortionLine(*planned.outcome, *c.opAmp, false));
  }
}

// The readout of an LC page from its own circuit: the ladder's magnitude and phase as its
// designed curve gives them, the group delay (and all of the diplexer's readout) from the
// circuit's transfer function. Without a circuit the diplexer has no readout, the ladder no
// group delay.
struct PassiveReadout {
  std::optional<Readout> readout;
  bool groupDelayDefined = false;
};

PassiveReadout PassiveReadoutAt(const DesignState& s, const DesignChoices& c) {
  const std::optional<PoleZeroGain> h = PassiveTransfer(s, c);
  const bool ladder = s.topology == Topology::LcLadder;
  if (!h) return {ladder ? std::optional(ReadoutAt(s, c.type)) : std::nullopt, false};
  const double omega = 2.0 * std::numbers::pi * s.f;
  Readout r = ReadoutAt(s, c.type);
  if (!ladder) {
    r.magnitude = std::abs(EvaluateAt(*h, Complex(0.0, omega)));
    r.gainDb = PoleZeroGainDb(*h, omega);
    r.phaseDegrees = PoleZeroPhaseDegrees(*h, omega);
  }
  r.groupDelay = PoleZeroGroupDelay(*h, omega);
  return {r, true};
}

void UpdateReadout(DesignState& s, const DesignChoices& c) {
  const PassiveReadout r = IsActiveTopology(s.topology) ? PassiveReadout{ReadoutAt(s, c.type), true}
                                                        : PassiveReadoutAt(s, c);
  s.ReadoutDefined = r.readout.has_value();
  s.tgrfDefined = s.ReadoutDefined && r.groupDelayDefined;
  const Readout shown = r.readout.value_or(Readout{});
  s.Vuf = shown.magnitude;
  s.VufdB = shown.gainDb;
  s.Phif = WrappedPhase(shown.phaseDegrees);
  s.tgrf = s.tgrfDefined ? shown.groupDelay : 0.0;
}

}  // namespace

double ResonanceFrequency(double fg, double Q, FilterType type) {
  const double c = (1.0 / (Q * Q) - 2.0) * 0.5;
  const double e = std::sqrt(c * c + 1.0) - c;
  double fo = fg / std::sqrt(e);
  if (type == FilterType::Highpass) fo = fg * (fg / fo);
  return fo;
}

double PeakingDb(double Q) {
  if (Q * Q <= 0.5) return 0.0;
  return 20.0 * std::log10(Q / std::sqrt(1.0 - 1.0 / (4.0 * Q * Q)));
}

void Recalculate(ChangedEntry changed, Topology topology, DesignState& s, const DesignChoices& c,
                 FieldSink& out) {
  LinkQAndD(changed, s);
  PresentLinkedEntry(changed, s, out);
  // Any design that was not realizable may be now; the designs say so again if not.
  if (changed != ChangedEntry::ReadoutFrequency) out.Notice("");
  DesignPassive(topology, s, c, out);
  if (IsActiveTopology(topology)) ComputeSharedQuantities(s, c.type);
  if (changed != ChangedEntry::ReadoutFrequency) {
    if (IsActiveTopology(topology)) DesignActiveStage(topology, s, c, out);
    if (IsActiveTopology(topology)) PresentInformationPanel(s, c.type, out);
    // The diplexer has no second-order figures either: its crossover and dashes.
    if (topology == Topology::Diplexer) PresentLadderPanel(s, out);
  }
  UpdateReadout(s, c);
  PresentReadout(s, out);
}

}  // namespace morvane

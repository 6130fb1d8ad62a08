#include "design/recalculate.h"

#include <cmath>
#include <numbers>

#include "design/field_names.h"
#include "design/fliege_stage.h"
#include "design/mfb_stage.h"
#include "design/pfb_stage.h"
#include "design/result_text.h"
#include "design/stage_figures.h"
#include "design/svf_stage.h"
#include "lc/lc_diplexer.h"
#include "lc/lc_ladder.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Information-panel figures that the passive LC ladder does not have: five blanks and a dash.
constexpr const char* kNoFigure = "     -";

void LinkQAndD(ChangedEntry changed, DesignState& s, FieldSink& out) {
  if (changed == ChangedEntry::Q) {
    s.D = 0.5 / s.Q;
    out.Write(field::DEingabe, " " + FormatValue(7, 2, s.D));
  } else if (changed == ChangedEntry::D) {
    s.Q = 0.5 / s.D;
    out.Write(field::QEingabe, " " + FormatValue(7, 2, s.Q));
  }
}

void DesignPassive(Topology topology, DesignState& s, const RecalcInputs& in, FieldSink& out) {
  if (topology == Topology::Diplexer) ComputeDiplexer(s, in, out);
  if (topology == Topology::LcLadder) {
    ComputeLadder(s, in, out);
    out.Write(field::foAusgabe, ResultText(s.fg));
    out.Write(field::woAusgabe, ResultText(kTwoPi * s.fg));
    for (auto name : {field::BrAusgabe, field::GBWPAusgabe, field::trAusgabe, field::tgrAusgabe,
                      field::OSAusgabe}) {
      out.Write(name, kNoFigure);
    }
  }
}

void ComputeSharedQuantities(DesignState& s, FilterType type) {
  s.fo = ResonanceFrequency(s.fg, s.Q, type);
  s.B = s.fg / s.Q;
  s.dVu = PeakingDb(s.Q);
}

void DesignActiveStage(Topology topology, DesignState& s, const RecalcInputs& in,
                       FieldSink& out) {
  switch (topology) {
    case Topology::Mfb:
      DesignMfbStage(s, in, out);
      break;
    case Topology::Pfb:
      DesignPfbStage(s, in, out);
      break;
    case Topology::Svf3:
      DesignSvf3Stage(s, in, out);
      break;
    case Topology::Svf4:
      DesignSvf4Stage(s, in, out);
      break;
    case Topology::Fliege:
      DesignFliegeStage(s, in, out);
      break;
    default:
      break;
  }
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

void Recalculate(ChangedEntry changed, Topology topology, DesignState& s,
                 const RecalcInputs& in, FieldSink& out) {
  LinkQAndD(changed, s, out);
  // Any design that was not realizable may be now; the designs say so again if not.
  if (changed != ChangedEntry::ReadoutFrequency) out.Notice("");
  DesignPassive(topology, s, in, out);
  if (IsActiveTopology(topology)) ComputeSharedQuantities(s, in.type);
  if (changed != ChangedEntry::ReadoutFrequency) {
    if (IsActiveTopology(topology)) DesignActiveStage(topology, s, in, out);
    // The diplexer shows the figures of a second-order stage with the fo last left.
    if (topology != Topology::LcLadder) WriteInformationPanel(s, in.type, out);
  }
  WriteReadout(s, in.type, out);
}

}  // namespace morvane

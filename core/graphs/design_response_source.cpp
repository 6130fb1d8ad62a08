#include "graphs/design_response_source.h"

#include <numbers>

#include "design/design_session.h"
#include "graphs/graph_picture.h"
#include "graphs/response.h"
#include "lc/passive_transfer.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

}  // namespace

std::optional<TransferResponse> DesignResponseSource::CircuitResponse(GraphKind kind) const {
  const Topology topology = session_.State().topology;
  const bool ladderCurve = kind == GraphKind::GroupDelay || kind == GraphKind::TimeResponse;
  if (topology != Topology::Diplexer && !(topology == Topology::LcLadder && ladderCurve)) {
    return std::nullopt;
  }
  // A network that cannot be built has no curve: a transfer without poles draws none.
  return TransferResponse(
      PassiveTransfer(session_.State(), session_.Choices()).value_or(PoleZeroGain{}));
}

DesignState DesignResponseSource::TunedCopy() const {
  DesignState s = session_.State();
  UpdatePoleFrequency(s, session_.Type());
  return s;
}

double DesignResponseSource::GainDb(double f) const {
  if (const auto r = CircuitResponse(GraphKind::Gain))
    return PoleZeroGainDb(r->transfer, kTwoPi * f);
  return GainDbAt(TunedCopy(), session_.Type(), f);
}

double DesignResponseSource::PhaseDegrees(double f) const {
  if (const auto r = CircuitResponse(GraphKind::Phase)) {
    return PoleZeroPhaseDegrees(r->transfer, kTwoPi * f);
  }
  return PhaseAt(TunedCopy(), session_.Type(), f);
}

double DesignResponseSource::GroupDelay(double f) const {
  if (const auto r = CircuitResponse(GraphKind::GroupDelay)) {
    return PoleZeroGroupDelay(r->transfer, kTwoPi * f);
  }
  return GroupDelayAt(TunedCopy(), session_.Type(), f);
}

double DesignResponseSource::Step(double t) const {
  if (const auto r = CircuitResponse(GraphKind::TimeResponse)) return r->step.At(t);
  DesignState s = session_.State();
  return StepResponseAt(s, t);
}

double DesignResponseSource::Pulse(double t) const {
  if (t < 0.0) return 0.0;
  if (const auto r = CircuitResponse(GraphKind::TimeResponse)) return r->step.SlopeAt(t);
  DesignState s = session_.State();
  const double h = 1e-6 / LowpassPoleAngularFrequency(s.fg, s.Q);
  const double before = t > h ? StepResponseAt(s, t - h) : StepResponseAt(s, t);
  const double span = t > h ? 2.0 * h : h;
  return (StepResponseAt(s, t + h) - before) / span;
}

const GraphProfile& DesignResponseSource::Profile(GraphKind kind) const {
  return ProfileOf(kind);
}

void DesignResponseSource::Start(GraphKind kind, AxisState& a, CurveBuffer& buffer) {
  if (const auto r = CircuitResponse(kind)) {
    buffer.Count = 254;
    SetTransferAxes(*r, kind, a);
    return;
  }
  StartGraph(kind, session_.State(), session_.Type(), a, buffer);
}

void DesignResponseSource::Fill(GraphKind kind, const AxisState& a, bool pulse,
                                CurveBuffer& buffer) {
  if (const auto r = CircuitResponse(kind)) {
    FillTransferCurve(*r, kind, XRangeOf(a), pulse, buffer);
    return;
  }
  FillGraphCurve(kind, session_.MutableState(), session_.Type(), a, pulse, buffer);
}

ValueLimits DesignResponseSource::AxisEndLimits(GraphKind kind, AxisEnd end,
                                                const AxisState& a) const {
  if (const auto r = CircuitResponse(kind)) return TransferAxisEndLimits(r->transfer, kind, end, a);
  return morvane::AxisEndLimits(kind, end, session_.State(), a);
}

namespace {

// The page's curves are the design's without the sign of an inverting circuit (the phase
// starts at 0°, the step rises): a circuit's curve is drawn alike, to be compared with them.
TransferResponse LikeTheDesign(PoleZeroGain transfer, double designedGain) {
  if (designedGain < 0.0) transfer.gain = -transfer.gain;
  return TransferResponse(transfer);
}

}  // namespace

bool DesignResponseSource::OffersAsBuilt() const {
  return session_.AsBuilt().has_value();
}

void DesignResponseSource::FillAsBuilt(GraphKind kind, const AxisState& a, bool pulse,
                                       CurveBuffer& buffer) const {
  const auto& built = session_.AsBuilt();
  if (!built) return;
  FillTransferCurve(LikeTheDesign(built->transfer, built->designed.gain), kind, XRangeOf(a), pulse,
                    buffer);
}

bool DesignResponseSource::OffersRealAmplifier() const {
  return session_.RealAmplifier().has_value();
}

void DesignResponseSource::FillRealAmplifier(GraphKind kind, const AxisState& a, bool pulse,
                                             CurveBuffer& buffer) const {
  const auto& real = session_.RealAmplifier();
  if (!real) return;
  FillTransferCurve(LikeTheDesign(real->transfer, real->ideal.gain), kind, XRangeOf(a), pulse,
                    buffer);
}

std::string DesignResponseSource::RealAmplifierName() const {
  const auto& real = session_.RealAmplifier();
  return real ? real->opAmp : std::string();
}

}  // namespace morvane

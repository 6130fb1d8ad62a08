#include "graphs/design_response_source.h"

#include "graphs/transfer_curves.h"

#include "design/design_session.h"
#include "graphs/graph_picture.h"
#include "graphs/response.h"

namespace morvane {

DesignState DesignResponseSource::TunedCopy() const {
  DesignState s = session_.State();
  UpdatePoleFrequency(s, session_.Type());
  return s;
}

double DesignResponseSource::GainDb(double f) const {
  return GainDbAt(TunedCopy(), session_.Type(), f);
}

double DesignResponseSource::PhaseDegrees(double f) const {
  return PhaseAt(TunedCopy(), session_.Type(), f);
}

double DesignResponseSource::GroupDelay(double f) const {
  return GroupDelayAt(TunedCopy(), session_.Type(), f);
}

double DesignResponseSource::Step(double t) const {
  DesignState s = session_.State();
  return StepResponseAt(s, t);
}

double DesignResponseSource::Pulse(double t) const {
  if (t < 0.0) return 0.0;
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
  StartGraph(kind, session_.State(), session_.Type(), a, buffer);
}

void DesignResponseSource::Fill(GraphKind kind, const AxisState& a, bool pulse,
                                CurveBuffer& buffer) {
  FillGraphCurve(kind, session_.MutableState(), session_.Type(), a, pulse, buffer);
}

ValueLimits DesignResponseSource::AxisEndLimits(GraphKind kind, AxisEnd end,
                                                const AxisState& a) const {
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

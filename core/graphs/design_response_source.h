#pragma once

// The main window's single-stage design as a graph source: the point functions of
// graphs/response.h and the windows' fillers and axis rules, on the session's state. The LC
// pages draw from their own circuit's transfer function instead: the ladder its group delay
// and time responses, the diplexer every curve (its branch by the filter type). Filling
// updates the state as it always has (fo from fg and Q, D = 0.5/Q for the time curve); the
// point values work on a copy, so asking for one changes nothing.

#include <optional>

#include "graphs/response_source.h"
#include "graphs/transfer_curves.h"

namespace morvane {

class DesignSession;

class DesignResponseSource : public ResponseSource {
 public:
  // The session must outlive the source.
  explicit DesignResponseSource(DesignSession& session) : session_(session) {}

  double GainDb(double f) const override;
  double PhaseDegrees(double f) const override;
  double GroupDelay(double f) const override;
  // The second-order lowpass step whose -3 dB frequency is fg, as the time window draws it.
  double Step(double t) const override;
  // Its slope, by a central difference over a millionth of the pole's period.
  double Pulse(double t) const override;

  const GraphProfile& Profile(GraphKind kind) const override;
  void Start(GraphKind kind, AxisState& a, CurveBuffer& buffer) override;
  void Fill(GraphKind kind, const AxisState& a, bool pulse, CurveBuffer& buffer) override;
  ValueLimits AxisEndLimits(GraphKind kind, AxisEnd end, const AxisState& a) const override;

  // With rounded resistors: the stage's circuit as built.
  bool OffersAsBuilt() const override;
  void FillAsBuilt(GraphKind kind, const AxisState& a, bool pulse,
                   CurveBuffer& buffer) const override;

  // With an op amp chosen: the stage with it.
  bool OffersRealAmplifier() const override;
  void FillRealAmplifier(GraphKind kind, const AxisState& a, bool pulse,
                         CurveBuffer& buffer) const override;
  std::string RealAmplifierName() const override;

 private:
  // The state with fo set, as every frequency curve sets it first.
  DesignState TunedCopy() const;
  // The LC page's circuit response where it draws that kind of curve; none for the design's
  // own curves.
  std::optional<TransferResponse> CircuitResponse(GraphKind kind) const;

  DesignSession& session_;
};

}  // namespace morvane

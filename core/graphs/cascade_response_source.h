#pragma once

// A multi-stage filter as a graph source: the whole filter's curves and each section's own,
// from copies of the transfers (no reference into the design, which the next keystroke
// replaces). The step responses are worked out once per design, so refilling the four
// windows of an order-20 filter stays far within a keystroke.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "graphs/response_source.h"
#include "graphs/transfer_curves.h"
#include "opamp/opamp_model.h"

namespace morvane {

struct CascadeDesign;

class CascadeResponseSource : public ResponseSource {
 public:
  // No filter: the windows draw their axes and no curve.
  CascadeResponseSource() = default;
  // The whole filter and its sections, in rad/s; the whole is the sections' product.
  CascadeResponseSource(PoleZeroGain whole, const std::vector<PoleZeroGain>& sections);

  // Whether there is a filter to draw (the whole has poles).
  bool HasFilter() const { return !whole_.transfer.poles.empty(); }
  const PoleZeroGain& Transfer() const { return whole_.transfer; }
  const PoleZeroGain& SectionTransfer(std::size_t index) const {
    return sections_.at(index).transfer;
  }

  double GainDb(double f) const override;
  double PhaseDegrees(double f) const override;
  double GroupDelay(double f) const override;
  double Step(double t) const override;
  double Pulse(double t) const override;

  const GraphProfile& Profile(GraphKind kind) const override;
  void Start(GraphKind kind, AxisState& a, CurveBuffer& buffer) override;
  void Fill(GraphKind kind, const AxisState& a, bool pulse, CurveBuffer& buffer) override;
  ValueLimits AxisEndLimits(GraphKind kind, AxisEnd end, const AxisState& a) const override;

  // The cascade as built from its rounded values, beside the design's curve.
  void SetAsBuilt(PoleZeroGain whole) { asBuilt_.emplace(std::move(whole)); }
  bool OffersAsBuilt() const override { return asBuilt_.has_value(); }
  void FillAsBuilt(GraphKind kind, const AxisState& a, bool pulse,
                   CurveBuffer& buffer) const override;

  // The cascade with a real op amp (the product of its sections' real transfers).
  void SetRealAmplifier(PoleZeroGain whole, std::string name) {
    realAmplifier_.emplace(std::move(whole));
    realAmplifierName_ = std::move(name);
  }
  bool OffersRealAmplifier() const override { return realAmplifier_.has_value(); }
  void FillRealAmplifier(GraphKind kind, const AxisState& a, bool pulse,
                         CurveBuffer& buffer) const override;
  std::string RealAmplifierName() const override { return realAmplifierName_; }

  bool OffersSections() const override { return true; }
  std::size_t SectionCount() const override { return sections_.size(); }
  void FillSections(GraphKind kind, const AxisState& a, bool pulse,
                    std::vector<CurveBuffer>& buffers) const override;

 private:
  TransferResponse whole_;
  std::vector<TransferResponse> sections_;
  std::optional<TransferResponse> asBuilt_;
  std::optional<TransferResponse> realAmplifier_;
  std::string realAmplifierName_;
};

// The source of a designed filter: its transfer as built (the sign of an inverting filter
// included) and each section's with the gain its circuit has; with rounded resistors also the
// product of the sections' circuits as built; with an op amp (not `ideal`) the cascade with
// it. A design with a problem is no filter.
CascadeResponseSource CascadeSourceOf(const CascadeDesign& design,
                                      const std::optional<OpAmpModel>& opAmp = std::nullopt);

}  // namespace morvane

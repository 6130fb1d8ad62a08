#include "graphs/cascade_response_source.h"

#include <numbers>
#include <utility>

#include "cascade/cascade_design.h"
#include "circuit/circuit_transfer.h"
#include "opamp/real_response.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

}  // namespace

CascadeResponseSource::CascadeResponseSource(PoleZeroGain whole,
                                             const std::vector<PoleZeroGain>& sections)
    : whole_(std::move(whole)) {
  sections_.reserve(sections.size());
  for (const PoleZeroGain& s : sections) sections_.emplace_back(s);
}

double CascadeResponseSource::GainDb(double f) const {
  return PoleZeroGainDb(whole_.transfer, kTwoPi * f);
}

double CascadeResponseSource::PhaseDegrees(double f) const {
  return PoleZeroPhaseDegrees(whole_.transfer, kTwoPi * f);
}

double CascadeResponseSource::GroupDelay(double f) const {
  return PoleZeroGroupDelay(whole_.transfer, kTwoPi * f);
}

double CascadeResponseSource::Step(double t) const {
  return whole_.step.At(t);
}

double CascadeResponseSource::Pulse(double t) const {
  return whole_.step.SlopeAt(t);
}

const GraphProfile& CascadeResponseSource::Profile(GraphKind kind) const {
  return CascadeProfileOf(kind);
}

void CascadeResponseSource::Start(GraphKind kind, AxisState& a, CurveBuffer& buffer) {
  buffer.Count = 254;
  SetTransferAxes(whole_, kind, a);
}

void CascadeResponseSource::Fill(GraphKind kind, const AxisState& a, bool pulse,
                                 CurveBuffer& buffer) {
  FillTransferCurve(whole_, kind, XRangeOf(a), pulse, buffer);
}

ValueLimits CascadeResponseSource::AxisEndLimits(GraphKind kind, AxisEnd end,
                                                 const AxisState& a) const {
  return TransferAxisEndLimits(whole_.transfer, kind, end, a);
}

void CascadeResponseSource::FillSections(GraphKind kind, const AxisState& a, bool pulse,
                                         std::vector<CurveBuffer>& buffers) const {
  buffers.resize(sections_.size());
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    FillTransferCurve(sections_[i], kind, XRangeOf(a), pulse, buffers[i]);
  }
}

void CascadeResponseSource::FillAsBuilt(GraphKind kind, const AxisState& a, bool pulse,
                                        CurveBuffer& buffer) const {
  if (asBuilt_) FillTransferCurve(*asBuilt_, kind, XRangeOf(a), pulse, buffer);
}

void CascadeResponseSource::FillRealAmplifier(GraphKind kind, const AxisState& a, bool pulse,
                                              CurveBuffer& buffer) const {
  if (realAmplifier_) FillTransferCurve(*realAmplifier_, kind, XRangeOf(a), pulse, buffer);
}

CascadeResponseSource CascadeSourceOf(const CascadeDesign& design,
                                      const std::optional<OpAmpModel>& opAmp) {
  if (!design.problem.empty() || design.sections.empty()) return {};
  std::vector<PoleZeroGain> sections;
  sections.reserve(design.sections.size());
  for (const CascadeSection& s : design.sections) sections.push_back(s.plan.transfer);
  CascadeResponseSource source(design.transfer, sections);
  if (design.sections.front().asBuilt) {
    // The sections' circuits as built, multiplied.
    PoleZeroGain whole;
    for (const CascadeSection& s : design.sections) {
      const auto h = CircuitTransfer(s.circuit.circuit, "in", "out", kTwoPi * s.plan.f0);
      if (!h) return source;
      const PoleZeroGain t = PoleZeroOf(*h);
      whole.poles.insert(whole.poles.end(), t.poles.begin(), t.poles.end());
      whole.zeros.insert(whole.zeros.end(), t.zeros.begin(), t.zeros.end());
      whole.gain *= t.gain;
    }
    source.SetAsBuilt(std::move(whole));
  }
  if (opAmp && !opAmp->IsIdeal()) {
    if (auto real = CascadeRealTransfer(CascadeRealAmplifier(design, *opAmp))) {
      source.SetRealAmplifier(std::move(*real), opAmp->name);
    }
  }
  return source;
}

}  // namespace morvane

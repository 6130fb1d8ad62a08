#pragma once

// Where a graph window's curves come from: the main window's single-stage design
// (DesignResponseSource) or a whole multi-stage filter (CascadeResponseSource). A window asks
// its source for the axes it starts with, its curve over the x range in force, the limits of
// the axis ends the user types, and, where the source has sections, each section's own curve.
//
// The point values take f in Hz and t in s; the fills sample the same functions over an axis
// range as the curve buffer's samplers do (SampleFrequencies, TimeStep), the pulse curve
// scaled to its peak as the program's pulse curves are.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "graphs/axis_state.h"
#include "graphs/curve_buffer.h"
#include "graphs/graph_axis_rules.h"
#include "graphs/graph_kind.h"
#include "graphs/graph_profile.h"
#include "graphs/tolerance_bands.h"

namespace morvane {

class ResponseSource {
 public:
  virtual ~ResponseSource() = default;

  // 20 log10 |H(j 2 pi f)| with the filter's gain included.
  virtual double GainDb(double f) const = 0;
  // Degrees, continuous in f (an inverting filter adds 180).
  virtual double PhaseDegrees(double f) const = 0;
  // Seconds.
  virtual double GroupDelay(double f) const = 0;
  // Response to a unit step at t = 0.
  virtual double Step(double t) const = 0;
  // Response to a unit impulse at t = 0 (1/s), without the impulse itself.
  virtual double Pulse(double t) const = 0;

  // The names and texts of the window of that kind.
  virtual const GraphProfile& Profile(GraphKind kind) const = 0;
  // What a window does when it is shown: the sample count and its starting axes.
  virtual void Start(GraphKind kind, AxisState& a, CurveBuffer& buffer) = 0;
  // The curve over the x range of `a`; `pulse` picks h(t) over s(t) in the time window.
  virtual void Fill(GraphKind kind, const AxisState& a, bool pulse, CurveBuffer& buffer) = 0;
  // The range the axis-scale dialog accepts for an axis end.
  virtual ValueLimits AxisEndLimits(GraphKind kind, AxisEnd end, const AxisState& a) const = 0;

  // Whether the source is made of sections whose own curves a window can show (even when it
  // holds none at the moment).
  // The curve of the circuit as built from its standard values, drawn beside the design's
  // (the main window's stage with rounded resistors); none by default.
  virtual bool OffersAsBuilt() const { return false; }
  virtual void FillAsBuilt(GraphKind, const AxisState&, bool /*pulse*/, CurveBuffer&) const {}
  // The curve with the chosen op amp (its model's gain, poles, output resistance and input
  // capacitance), drawn beside the ideal one; none by default. RealAmplifierName names it.
  virtual bool OffersRealAmplifier() const { return false; }
  virtual void FillRealAmplifier(GraphKind, const AxisState&, bool /*pulse*/, CurveBuffer&) const {}
  virtual std::string RealAmplifierName() const { return {}; }

  // The bands of a tolerance analysis of the filter the source shows; the owner sets them
  // when an analysis ends and clears them when the filter changes.
  void SetToleranceBands(std::shared_ptr<const ToleranceBands> bands) { bands_ = std::move(bands); }
  const ToleranceBands* Bands() const { return bands_.get(); }

  virtual bool OffersSections() const { return false; }
  virtual std::size_t SectionCount() const { return 0; }
  // One buffer per section, each sampled on the same x values as Fill's.
  virtual void FillSections(GraphKind kind, const AxisState& a, bool pulse,
                            std::vector<CurveBuffer>& buffers) const;

 private:
  std::shared_ptr<const ToleranceBands> bands_;
};

// Whether axes that the zoom-out button produced are still within the reach of the source's
// axis-end limits (see WithinZoomOutReach in graph_axis_rules.h).
bool WithinZoomOutReach(const ResponseSource& source, GraphKind kind, const AxisState& zoomed);

}  // namespace morvane

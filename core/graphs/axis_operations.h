#pragma once

// What the graph windows do to the shared axes: zoom, autoscale, recentring the origin after
// an axis end changed, and telling whether the mouse is near an axis end.

#include <span>

#include "graphs/axis_state.h"

namespace morvane {

// Largest and smallest of A[0..count] (count + 1 entries, held to the array). Values that are
// not finite and the -2e301 dB of a zero magnitude (anything at or below -1e300) mark no
// level and are passed over; `found` is false when nothing is left.
struct MinMaxResult {
  double largest = 0.0;
  double smallest = 0.0;
  bool found = false;
};
MinMaxResult MinMax(std::span<const double> A, int count);

// Around the origin by 3/2 or 2/3; a logarithmic x axis by a decade at each end (zooming in
// keeps at least one decade). Both end with steps of a thirtieth of the ranges.
void ZoomIn(AxisState& a);
void ZoomOut(AxisState& a);

// Ranges from the samples 0 .. count, rounded outwards; the origin at 0 where the data reach
// above it. Samples that give no range (none valid, all zero) leave a usable one: AutoscaleX
// does nothing without valid samples, and all-zero ordinates give -1 .. 1.
void AutoscaleX(AxisState& a, std::span<const double> X, int count);
void AutoscaleY(AxisState& a, std::span<const double> Y, int count);
void Autoscale(AxisState& a, std::span<const double> X, std::span<const double> Y, int count);

// After an axis end changed: an origin outside its range moves to a round value near the
// middle, or else to the lower end.
void RecentreXOrigin(AxisState& a);
void RecentreYOrigin(AxisState& a);

// Whether the world point (x, y) under the mouse is near an axis end (note the order: y, x).
bool NearXMaxEnd(const AxisState& a, double y, double x);
bool NearXMinEnd(const AxisState& a, double y, double x);
bool NearYMinEnd(const AxisState& a, double y, double x);
bool NearYMaxEnd(const AxisState& a, double y, double x);

}  // namespace morvane

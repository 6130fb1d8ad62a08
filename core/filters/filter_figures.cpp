#include "filters/filter_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

#include "filters/filter_response.h"
#include "filters/frequency_sweep.h"

namespace morvane {
namespace {

using sweep::CentreOmega;
using sweep::FrequencySample;
using sweep::LargestRoot;
using sweep::RootTable;
using sweep::SmallestPole;

constexpr double kTwoPi = 2.0 * std::numbers::pi;
const double kHalfPowerDb = 10.0 * std::log10(2.0);
constexpr double kDelayRounding = 1e-12;  // a delay must exceed another by this to be larger

double ToHz(double omega) {
  return omega / kTwoPi;
}

// The range a sweep must not leave.
struct SweepLimits {
  double low, high;
};

SweepLimits LimitsOf(const PoleZeroGain& h) {
  return {SmallestPole(h) * 1e-9, LargestRoot(h) * 1e9};
}

struct Reference {
  double gainDb;
  std::optional<double> omega;  // empty: the high-frequency limit
};

// Everything the frequency-domain figures need: the reference, the -3 dB edges and samples of
// the pass bands in ascending omega (DC and the high-frequency limit taken four decades
// beyond the poles and zeros), each band ending at its edges.
struct PassbandScan {
  Reference reference;
  HalfPowerEdges edges;
  std::vector<std::vector<FrequencySample>> bands;
};

std::vector<sweep::Extremum> TurningPoints(const RootTable& table,
                                           const std::vector<FrequencySample>& samples,
                                           sweep::Curve curve, int sign,
                                           const sweep::Precision& precision) {
  return sweep::RefineTurningPoints(table, 1, sweep::TurningBrackets(samples, curve, sign), curve,
                                    sign, precision);
}

// The bandpass reference (see sweep::kBandpassSearchDb) from one walk over the region around
// the centre, which holds the whole pass band, so the edges are found among its samples too.
std::optional<PassbandScan> ScanBandpass(const RootTable& table, const PoleZeroGain& h) {
  const double centre = CentreOmega(h);
  const double floorDb = sweep::SampleAt(table, centre, false).gainDb - sweep::kBandpassSearchDb;
  const double low = centre * 1e-9, high = centre * 1e9;
  const auto down = sweep::WalkToLevel(table, centre, -1, floorDb, true, low, high);
  const auto up = sweep::WalkToLevel(table, centre, +1, floorDb, true, low, high);
  if (!down.crossing || !up.crossing) return std::nullopt;
  std::vector<FrequencySample> samples{*down.crossing};
  samples.insert(samples.end(), down.samples.rbegin(), down.samples.rend());
  samples.insert(samples.end(), up.samples.begin() + 1, up.samples.end());
  samples.push_back(*up.crossing);

  const auto found = sweep::HighestPeakNear(table, 1, samples, centre);
  if (!found || std::abs(found->value) >= sweep::kGainDbCap / 2) return std::nullopt;
  const sweep::Extremum peak = *found;
  PassbandScan scan{{peak.value, peak.omega}, {}, {}};

  // Outward from the peak to the first samples below the -3 dB level. The region's ends, where
  // the gain falls below the centre's - 6 dB, lie below it too, but for a pole so near the axis
  // that the fall is narrower than a rounding of omega: then such an end is the edge itself.
  const auto at =
      std::lower_bound(samples.begin(), samples.end(), peak.omega,
                       [](const FrequencySample& s, double omega) { return s.omega < omega; });
  const auto peakAt = samples.insert(at, sweep::SampleAt(table, peak.omega));
  const double levelDb = peak.value - kHalfPowerDb;
  const auto below = [&](const FrequencySample& s) { return s.gainDb < levelDb; };
  const auto lowerOut = std::find_if(std::make_reverse_iterator(peakAt), samples.rend(), below);
  const auto upperOut = std::find_if(peakAt, samples.end(), below);
  const auto first = lowerOut == samples.rend() ? samples.begin() : lowerOut.base();
  const auto last = upperOut;  // one past the last sample inside
  std::vector<FrequencySample> band;
  if (lowerOut != samples.rend()) {
    band.push_back(sweep::LevelCrossing(table, *lowerOut, *first, levelDb));
  }
  band.insert(band.end(), first, last);
  if (upperOut != samples.end()) {
    band.push_back(sweep::LevelCrossing(table, *(last - 1), *last, levelDb));
  }
  scan.edges = {ToHz(band.front().omega), ToHz(band.back().omega)};
  scan.bands.push_back(std::move(band));
  return scan;
}

std::optional<Reference> FindReference(const RootTable& table, const PoleZeroGain& h,
                                       FilterKind kind) {
  std::optional<Reference> reference;
  switch (kind) {
    case FilterKind::Lowpass:
    case FilterKind::Bandstop:
      reference = Reference{sweep::SampleAt(table, 0.0, false).gainDb, 0.0};
      break;
    case FilterKind::Highpass:
      reference = Reference{table.HighFrequencyDbOf(1), std::nullopt};
      break;
    case FilterKind::Bandpass:
      if (const auto scan = ScanBandpass(table, h)) reference = scan->reference;
      break;
  }
  if (!reference || std::abs(reference->gainDb) >= sweep::kGainDbCap / 2) return std::nullopt;
  return reference;
}

// The pass band walked from `start` until the gain falls below `levelDb`, in ascending omega
// and ending at the crossing; empty when no crossing is found.
std::optional<std::vector<FrequencySample>> WalkedBand(const RootTable& table, double start,
                                                       int direction, double levelDb,
                                                       SweepLimits limits) {
  sweep::LevelWalk walk =
      sweep::WalkToLevel(table, start, direction, levelDb, true, limits.low, limits.high);
  if (!walk.crossing) return std::nullopt;
  std::vector<FrequencySample> band = std::move(walk.samples);
  band.push_back(*walk.crossing);
  if (direction < 0) std::reverse(band.begin(), band.end());
  return band;
}

void ScanLowpass(const RootTable& table, const PoleZeroGain& h, double levelDb,
                 PassbandScan& scan) {
  const double start = SmallestPole(h) * 1e-4;
  if (sweep::SampleAt(table, start, false).gainDb < levelDb) return;
  auto band = WalkedBand(table, start, +1, levelDb, LimitsOf(h));
  if (!band) return;
  scan.edges.upperHz = ToHz(band->back().omega);
  scan.bands.push_back(std::move(*band));
}

void ScanHighpass(const RootTable& table, const PoleZeroGain& h, double levelDb,
                  PassbandScan& scan) {
  const double start = LargestRoot(h) * 1e4;
  if (sweep::SampleAt(table, start, false).gainDb < levelDb) return;
  auto band = WalkedBand(table, start, -1, levelDb, LimitsOf(h));
  if (!band) return;
  scan.edges.lowerHz = ToHz(band->front().omega);
  scan.bands.push_back(std::move(*band));
}

void ScanBandstop(const RootTable& table, const PoleZeroGain& h, double levelDb,
                  PassbandScan& scan) {
  const double centre = CentreOmega(h);
  if (!(sweep::SampleAt(table, centre, false).gainDb < levelDb)) return;
  const SweepLimits limits = LimitsOf(h);
  const auto down = sweep::WalkToLevel(table, centre, -1, levelDb, false, limits.low, limits.high);
  const auto up = sweep::WalkToLevel(table, centre, +1, levelDb, false, limits.low, limits.high);
  if (!down.crossing || !up.crossing) return;
  const double lower = down.crossing->omega, upper = up.crossing->omega;
  scan.edges = {ToHz(lower), ToHz(upper)};
  scan.bands.push_back(sweep::SweepBetween(table, lower * 1e-4, lower));
  scan.bands.push_back(sweep::SweepBetween(table, upper, upper * 1e4));
}

std::optional<PassbandScan> ScanPassband(const RootTable& table, const PoleZeroGain& h,
                                         FilterKind kind) {
  if (kind == FilterKind::Bandpass) return ScanBandpass(table, h);
  const auto reference = FindReference(table, h, kind);
  if (!reference) return std::nullopt;
  PassbandScan scan{*reference, {}, {}};
  const double levelDb = reference->gainDb - kHalfPowerDb;
  switch (kind) {
    case FilterKind::Lowpass:
      ScanLowpass(table, h, levelDb, scan);
      break;
    case FilterKind::Highpass:
      ScanHighpass(table, h, levelDb, scan);
      break;
    case FilterKind::Bandstop:
      ScanBandstop(table, h, levelDb, scan);
      break;
    case FilterKind::Bandpass:
      break;
  }
  return scan;
}

std::optional<double> RippleOf(const RootTable& table, const PassbandScan& scan) {
  if (scan.bands.empty()) return std::nullopt;
  const double reference = scan.reference.gainDb;
  double highest = reference, lowest = reference;
  for (const auto& band : scan.bands) {
    sweep::Precision precision;
    precision.beyond = highest;
    for (const auto& e : TurningPoints(table, band, sweep::Curve::Gain, +1, precision)) {
      highest = std::max(highest, e.value);
    }
    // A dip below the -3 dB level would end the pass band: one a walk steps over lies within a
    // rounding of omega of a pole on the axis, a feature of the rounding, not of the filter.
    precision.within = -(reference - kHalfPowerDb);
    precision.beyond = -lowest;
    for (const auto& e : TurningPoints(table, band, sweep::Curve::Gain, -1, precision)) {
      lowest = std::min(lowest, e.value);
    }
  }
  return highest - lowest;
}

std::optional<GroupDelayFigures> DelayOf(const RootTable& table, const PoleZeroGain& h,
                                         const PassbandScan& scan) {
  if (scan.bands.empty()) return std::nullopt;
  const std::optional<double> reference = scan.reference.omega;
  GroupDelayFigures figures;
  figures.referenceDelay = reference ? PoleZeroGroupDelay(h, *reference) : 0.0;
  figures.maxDelay = figures.referenceDelay;
  figures.maxDelayHz = ToHz(reference ? *reference : scan.bands.back().back().omega);
  const auto consider = [&](double omega, double delay) {
    if (delay > figures.maxDelay + kDelayRounding * std::abs(figures.maxDelay)) {
      figures.maxDelay = delay, figures.maxDelayHz = ToHz(omega);
    }
  };
  for (const auto& band : scan.bands) {
    for (const FrequencySample& s : band) consider(s.omega, s.delay);
    sweep::Precision precision;
    precision.beyond = figures.maxDelay;
    precision.place = sweep::kPlaceTolerance;
    for (const auto& e : TurningPoints(table, band, sweep::Curve::Delay, +1, precision)) {
      consider(e.omega, e.value);
    }
  }
  return figures;
}

}  // namespace

std::optional<double> PassbandGainDb(const PoleZeroGain& h, FilterKind kind) {
  if (!sweep::IsMeasurable(h)) return std::nullopt;
  const auto reference = FindReference(RootTable(h), h, kind);
  if (!reference) return std::nullopt;
  return reference->gainDb;
}

HalfPowerEdges HalfPowerFrequencies(const PoleZeroGain& h, FilterKind kind) {
  if (!sweep::IsMeasurable(h)) return {};
  const auto scan = ScanPassband(RootTable(h), h, kind);
  return scan ? scan->edges : HalfPowerEdges{};
}

std::optional<double> AttenuationDb(const PoleZeroGain& h, FilterKind kind, double frequencyHz) {
  if (!std::isfinite(frequencyHz) || frequencyHz < 0.0) return std::nullopt;
  if (!sweep::IsMeasurable(h)) return std::nullopt;
  const RootTable table(h);
  const auto reference = FindReference(table, h, kind);
  if (!reference) return std::nullopt;
  const double omega = frequencyHz * kTwoPi;
  if (!std::isfinite(omega)) return std::nullopt;
  return reference->gainDb - sweep::SampleAt(table, omega).gainDb;
}

std::optional<double> PassbandRippleDb(const PoleZeroGain& h, FilterKind kind) {
  if (!sweep::IsMeasurable(h)) return std::nullopt;
  const RootTable table(h);
  const auto scan = ScanPassband(table, h, kind);
  return scan ? RippleOf(table, *scan) : std::nullopt;
}

std::optional<GroupDelayFigures> PassbandGroupDelay(const PoleZeroGain& h, FilterKind kind) {
  if (!sweep::IsMeasurable(h)) return std::nullopt;
  const RootTable table(h);
  const auto scan = ScanPassband(table, h, kind);
  return scan ? DelayOf(table, h, *scan) : std::nullopt;
}

FilterFigures ComputeFilterFigures(const PoleZeroGain& h, FilterKind kind) {
  FilterFigures figures;
  if (!sweep::IsMeasurable(h)) return figures;
  const RootTable table(h);
  const auto scan = ScanPassband(table, h, kind);
  if (!scan) return figures;
  figures.passbandGainDb = scan->reference.gainDb;
  figures.edges = scan->edges;
  figures.rippleDb = RippleOf(table, *scan);
  figures.delay = DelayOf(table, h, *scan);
  figures.step = StepResponseFigures(h, kind);
  return figures;
}

}  // namespace morvane

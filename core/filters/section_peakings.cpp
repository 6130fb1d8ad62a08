// SectionPeakings of filter_figures.h: one sweep of the whole cascade gives every section's
// gain and slope at each frequency, so every partial cascade 1..i is known there by sums; its
// maxima lie where its slope turns from rising to falling between two samples, and only those
// whose bound can beat the best found so far are refined (sweep::RefineTurningPoints).

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "design/stage_design.h"
#include "filters/filter_figures.h"
#include "filters/frequency_sweep.h"

namespace morvane {
namespace {

using sweep::RootTable;

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kDbPerNeper = 10.0 / std::numbers::ln10;
constexpr double kFlatDb = 1e-11;  // a maximum must stand out of a flat curve's rounding noise

// Every partial cascade 1..i at the frequencies of one sweep over the whole cascade, the
// sweep's steps set by the nearest root of any section.
class CascadeSweep {
 public:
  CascadeSweep(const RootTable& table, double low, double high) : table_(table) {
    const std::size_t n = table.Sections();
    std::vector<sweep::FactorSums> partials(n);
    omegas_.reserve(512);
    entries_.reserve(512 * n);
    double omega = low;
    for (int guard = 0; guard < 20000; ++guard) {
      sweep::SumPartials(table, omega, partials.data());
      for (const sweep::FactorSums& p : partials) {
        entries_.push_back({p.product, kDbPerNeper * p.logSlope, p.exponent, p.onZero, p.onPole});
      }
      omegas_.push_back(omega);
      if (omega >= high) break;
      const double nearest = std::sqrt(partials.back().nearestSquared);
      omega = std::min(sweep::NextOmega(omega, nearest, +1), high);
    }
  }

  std::size_t Size() const { return omegas_.size(); }
  double OmegaAt(std::size_t k) const { return omegas_[k]; }

  double SlopeOf(std::size_t k, std::size_t sections) const { return EntryOf(k, sections).slope; }

  // The sample k of the first `sections` sections, with its gain and slope only.
  sweep::FrequencySample PartialAt(std::size_t k, std::size_t sections) const {
    const Entry& e = EntryOf(k, sections);
    sweep::FactorSums sums;
    sums.product = e.product, sums.exponent = e.exponent;
    sums.onZero = e.onZero, sums.onPole = e.onPole;
    sweep::FrequencySample sample;
    sample.omega = omegas_[k];
    sample.gainDb = sweep::GainDbOf(table_, sections, sums);
    sample.gainSlope = e.slope;
    return sample;
  }

 private:
  struct Entry {
    double product;
    double slope;  // dB per rad/s
    int exponent;
    bool onZero, onPole;
  };

  const Entry& EntryOf(std::size_t k, std::size_t sections) const {
    return entries_[k * table_.Sections() + sections - 1];
  }

  const RootTable& table_;
  std::vector<double> omegas_;
  std::vector<Entry> entries_;  // [k * sections + i]: sections 1..i+1 at omegas_[k]
};

// The pass-band gain of the whole cascade as PassbandGainDb gives it; for a bandpass from the
// samples of the sweep, which resolve every maximum as well as PassbandGainDb's own walk.
std::optional<double> PassbandGain(const RootTable& table, const CascadeSweep& cascade,
                                   const PoleZeroGain& whole, FilterKind kind) {
  if (kind != FilterKind::Bandpass) return PassbandGainDb(whole, kind);
  if (!sweep::IsMeasurable(whole)) return std::nullopt;
  const std::size_t n = table.Sections();
  const double centre = sweep::CentreOmega(whole);
  const double floorDb = sweep::SampleAt(table, n, centre, false).gainDb - sweep::kBandpassSearchDb;
  const auto inside = [&](std::size_t k) { return cascade.PartialAt(k, n).gainDb >= floorDb; };
  std::size_t first = 0;
  while (first + 1 < cascade.Size() && cascade.OmegaAt(first + 1) <= centre) ++first;
  std::size_t last = first;
  while (first > 0 && inside(first)) --first;
  while (last + 1 < cascade.Size() && inside(last)) ++last;
  std::vector<sweep::FrequencySample> samples;
  for (std::size_t k = first; k <= last; ++k) samples.push_back(cascade.PartialAt(k, n));
  const auto peak = sweep::HighestPeakNear(table, n, samples, centre);
  if (!peak || std::abs(peak->value) >= sweep::kGainDbCap / 2) return std::nullopt;
  return peak->value;
}

struct Peak {
  double db;
  std::optional<double> omega;  // empty: the high-frequency limit
};

// The maximum over frequency of the first `sections` sections: DC, the high-frequency limit or
// the highest turning point of the sweep, which must stand out of a flat curve's rounding.
Peak HighestGain(const RootTable& table, const CascadeSweep& cascade, std::size_t sections) {
  // DC, unless the high-frequency limit stands out of it (a notch has both equal)
  Peak best{sweep::SampleAt(table, sections, 0.0, false).gainDb, 0.0};
  if (table.HighFrequencyDbOf(sections) > best.db + kFlatDb) {
    best = {table.HighFrequencyDbOf(sections), std::nullopt};
  }
  std::vector<sweep::TurningBracket> brackets;
  for (std::size_t k = 0; k + 1 < cascade.Size(); ++k) {
    if (cascade.SlopeOf(k, sections) > 0.0 && cascade.SlopeOf(k + 1, sections) <= 0.0) {
      brackets.push_back({cascade.PartialAt(k, sections), cascade.PartialAt(k + 1, sections)});
    }
  }
  sweep::Precision precision;
  precision.beyond = best.db + kFlatDb;
  precision.place = sweep::kPlaceTolerance;
  const auto peaks = sweep::RefineTurningPoints(table, sections, std::move(brackets),
                                                sweep::Curve::Gain, +1, precision);
  for (const sweep::Extremum& peak : peaks) {
    if (peak.value > best.db) best = {peak.value, peak.omega};
  }
  return best;
}

}  // namespace

std::vector<SectionPeaking> SectionPeakings(const std::vector<FilterSection>& sections,
                                            FilterKind kind, Topology topology) {
  PoleZeroGain whole;
  RootTable table;
  for (const FilterSection& section : sections) {
    const PoleZeroGain& t = section.transfer;
    whole.poles.insert(whole.poles.end(), t.poles.begin(), t.poles.end());
    whole.zeros.insert(whole.zeros.end(), t.zeros.begin(), t.zeros.end());
    whole.gain *= t.gain;
    table.Append(t);
  }
  if (!sweep::IsMeasurable(whole)) return {};
  // Four decades beyond the poles and zeros on either side.
  const CascadeSweep cascade(table, sweep::SmallestPole(whole) * 1e-4,
                             sweep::LargestRoot(whole) * 1e4);
  const auto reference = PassbandGain(table, cascade, whole, kind);
  if (!reference) return {};
  std::vector<SectionPeaking> peakings;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const Peak peak = HighestGain(table, cascade, i + 1);
    SectionPeaking peaking;
    peaking.peakingDb = peak.db - *reference;
    if (peak.omega) peaking.atHz = *peak.omega / kTwoPi;
    const FilterSection& section = sections[i];
    peaking.gbwpHz = RecommendedGbwp(topology, section.gain, section.q, section.f0);
    peakings.push_back(peaking);
  }
  return peakings;
}

}  // namespace morvane

#include "noise/noise_summary.h"

#include <algorithm>
#include <cmath>

#include "numerics/number_text.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kLowestHz = 1.0;
constexpr double kHighestHz = 100e6;

std::vector<NoiseShare> Shares(const std::vector<NoiseContribution>& contributions, double rms) {
  std::vector<NoiseShare> shares;
  const double power = rms * rms;
  for (const NoiseContribution& c : contributions) {
    const double percent = power > 0.0 ? 100.0 * c.rms * c.rms / power : 0.0;
    shares.push_back({c.name, c.rms, std::isfinite(percent) ? percent : 0.0});
  }
  return shares;
}

void AppendNumber(std::string& out, double v) {
  out += GeneralText(v, 17);
}

}  // namespace

NoiseRequest DefaultNoiseBand(double fLowest, double fHighest) {
  NoiseRequest request;
  if (!(fLowest > 0.0 && std::isfinite(fLowest) && fHighest >= fLowest &&
        std::isfinite(fHighest))) {
    return request;
  }
  request.fFrom = std::clamp(fLowest / 10, kLowestHz, kHighestHz / 10);
  request.fTo = std::clamp(fHighest * 10, request.fFrom * 10, kHighestHz);
  return request;
}

NoiseSummary SummariseNoise(const NoiseAnalysis& analysis) {
  NoiseSummary summary;
  if (!analysis.problem.empty()) return summary;
  summary.rms = analysis.rms;
  for (double g : analysis.gain) {
    if (std::isfinite(g)) summary.peakGain = std::max(summary.peakGain, g);
  }
  if (summary.peakGain > 0.0) summary.inputRms = analysis.rms / summary.peakGain;
  summary.parts = Shares(analysis.parts, analysis.rms);
  summary.sections = Shares(analysis.sections, analysis.rms);
  return summary;
}

std::string MicrovoltText(double volts) {
  const double uv = volts * 1e6;
  if (!(uv > 0.0) || !std::isfinite(uv)) return "0 µV";
  const int decimals = uv >= 100 ? 1 : uv >= 10 ? 2 : uv >= 0.001 ? 3 : 6;
  return FormatFixedTrimmed(decimals, uv) + " µV";
}

std::string DbvText(double volts) {
  if (!(volts > 0.0) || !std::isfinite(volts)) return "-∞ dBV";
  return FormatFixedTrimmed(1, 20 * std::log10(volts)) + " dBV";
}

std::string NoiseDensityCsv(const NoiseAnalysis& analysis) {
  std::string out = "f/Hz,output V/sqrt(Hz),input-referred V/sqrt(Hz),gain\n";
  auto referred = analysis.inputReferred.begin();
  const std::size_t count =
      std::min({analysis.frequency.size(), analysis.outputDensity.size(), analysis.gain.size()});
  for (std::size_t i = 0; i < count; ++i) {
    const double f = analysis.frequency[i];
    AppendNumber(out, f);
    out += ',';
    AppendNumber(out, analysis.outputDensity[i]);
    out += ',';
    while (referred != analysis.inputReferred.end() && referred->first < f) ++referred;
    if (referred != analysis.inputReferred.end() && referred->first == f) {
      AppendNumber(out, referred->second);
    }
    out += ',';
    AppendNumber(out, analysis.gain[i]);
    out += '\n';
  }
  return out;
}

}  // namespace morvane

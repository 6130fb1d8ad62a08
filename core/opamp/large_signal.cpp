#include "opamp/large_signal.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <tuple>

#include "cascade/cascade_circuit.h"
#include "cascade/cascade_design.h"
#include "circuit/circuit_sweep.h"
#include "numerics/number_text.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr int kMostPoints = 100000;
constexpr int kGoldenSteps = 24;         // shrink a two-step bracket below 1e-6 of f
constexpr double kCandidateShare = 0.7;  // refine the op amps within 3 dB of a section's largest
constexpr double kLowestPeakingDb = -300.0;  // for an op amp that carries no signal at all

// The op amps' output pins and the filter's output at one frequency, for 1 V at the input.
struct PinGains {
  std::vector<double> pin;  // |V(output pin)| in the chain's order of the op amps
  double output = 0.0;      // |V(out)|
};

// Circuits in series, each driven by the one before: a single stage, or a cascade's sections
// analysed one by one. A section's output is an op amp's, whose closed-loop output resistance
// is far below the next section's input (as CascadeRealTransfer takes it), so the chain is
// exact with ideal op amps and within that loading with real ones, and far quicker than one
// factorisation of the joined circuit.
struct Chain {
  std::vector<Circuit> stages;
  std::vector<std::string> names;  // of every op amp, in order
  std::vector<int> sections;       // of every op amp: 1-based, 0 for unnumbered ones
};

Chain ChainOf(Circuit circuit) {
  Chain chain;
  for (std::size_t k = 0; k < circuit.opAmps.size(); ++k) {
    chain.names.push_back(OpAmpName(circuit, k));
    chain.sections.push_back(SectionOfName(chain.names.back()).value_or(0));
  }
  chain.stages.push_back(std::move(circuit));
  return chain;
}

Chain ChainOf(const CascadeDesign& design) {
  Chain chain;
  for (std::size_t i = 0; i < design.sections.size(); ++i) {
    const Circuit& c = design.sections[i].circuit.circuit;
    const int section = static_cast<int>(i) + 1;
    for (std::size_t k = 0; k < c.opAmps.size(); ++k) {
      chain.names.push_back(OpAmpName(c, k) + "_" + std::to_string(section));
      chain.sections.push_back(section);
    }
    chain.stages.push_back(c);
  }
  return chain;
}

// The chain's sweep; each stage's output read off the op amp that drives it where there is
// one, which saves a second solution per frequency.
class ChainSweep {
 public:
  ChainSweep(const Chain& chain, const OpAmpModel& model) {
    std::size_t first = 0;
    for (Circuit stage : chain.stages) {
      stage.opAmpModel = model;
      Stage s{CircuitSweep(stage), std::nullopt};
      valid_ = valid_ && s.sweep.Valid();
      for (std::size_t k = 0; k < stage.opAmps.size(); ++k) {
        if (stage.opAmps[k].output == "out") s.outputAmp = k;
      }
      outputAmp_ = s.outputAmp ? std::optional(first + *s.outputAmp) : std::nullopt;
      first += stage.opAmps.size();
      stages_.push_back(std::move(s));
    }
    valid_ = valid_ && !stages_.empty() && first > 0;
  }
  bool Valid() const { return valid_; }
  // The op amp (in the chain's order) that drives the filter's output, if one does.
  std::optional<std::size_t> OutputAmp() const { return outputAmp_; }

  std::optional<PinGains> At(double f) {
    PinGains gains;
    gains.output = 1.0;
    for (Stage& s : stages_) {
      const auto pins = s.sweep.OpAmpOutputs(f);
      if (!pins) return std::nullopt;
      for (const Complex& v : *pins) gains.pin.push_back(gains.output * std::abs(v));
      if (s.outputAmp) {
        gains.output = gains.pin[gains.pin.size() - pins->size() + *s.outputAmp];
      } else {
        const auto response = s.sweep.Response(f);
        if (!response) return std::nullopt;
        gains.output *= std::abs(response->h);
      }
    }
    return gains;
  }

 private:
  struct Stage {
    CircuitSweep sweep;
    std::optional<std::size_t> outputAmp;
  };
  std::vector<Stage> stages_;
  std::optional<std::size_t> outputAmp_;
  bool valid_ = true;
};

std::vector<double> Frequencies(const LargeSignalRequest& r) {
  std::vector<double> f;
  f.reserve(static_cast<std::size_t>(r.points));
  const double step = std::log(r.fTo / r.fFrom) / (r.points - 1);
  for (int i = 0; i < r.points; ++i) {
    f.push_back(i + 1 == r.points ? r.fTo : r.fFrom * std::exp(step * i));
  }
  return f;
}

std::string ModelProblem(const OpAmpModel& m) {
  if (!(m.outputSwing > 0.0)) return "the output swing of " + m.name + " must be above zero";
  if (!(m.slewRate > 0.0)) return "the slew rate of " + m.name + " must be above zero";
  return {};
}

std::string SingularAt(double f) {
  return "the circuit's equations are singular at " + GeneralText(f, 6) + " Hz";
}

// The input amplitude op amp k allows at f, and what limits it; none where it limits nothing.
std::optional<std::pair<double, SignalLimit>> InputLimit(const OpAmpModel& m, double f,
                                                         double pinGain) {
  if (!(pinGain > 0.0)) return std::nullopt;
  const double swing = m.outputSwing / pinGain;
  const double slew = m.slewRate / (kTwoPi * f * pinGain);
  if (std::isfinite(swing) && !(slew < swing)) return std::pair(swing, SignalLimit::Swing);
  if (std::isfinite(slew)) return std::pair(slew, SignalLimit::SlewRate);
  return std::nullopt;
}

// The largest of gain(f) between lo and hi (Hz), searched on log f from the sample `best` at
// `bestF` (golden section: the peak of a response is one hump there).
template <typename Gain>
std::pair<double, double> LargestBetween(Gain gain, double lo, double hi, double bestF,
                                         double best) {
  constexpr double kInverseRatio = 0.6180339887498949;
  double a = std::log(lo), b = std::log(hi);
  double x1 = b - kInverseRatio * (b - a), x2 = a + kInverseRatio * (b - a);
  double g1 = gain(std::exp(x1)), g2 = gain(std::exp(x2));
  for (int i = 0; i < kGoldenSteps; ++i) {
    if (g1 > g2) {
      b = x2, x2 = x1, g2 = g1;
      x1 = b - kInverseRatio * (b - a);
      g1 = gain(std::exp(x1));
    } else {
      a = x1, x1 = x2, g1 = g2;
      x2 = a + kInverseRatio * (b - a);
      g2 = gain(std::exp(x2));
    }
  }
  for (const auto& [x, g] : {std::pair(x1, g1), std::pair(x2, g2)}) {
    if (g > best) best = g, bestF = std::exp(x);
  }
  return {bestF, best};
}

// The largest of a sampled gain, refined between the neighbours of its largest sample.
template <typename Gain>
std::pair<double, double> Largest(Gain gain, const std::vector<double>& f,
                                  const std::vector<double>& samples) {
  const auto top =
      static_cast<std::size_t>(std::max_element(samples.begin(), samples.end()) - samples.begin());
  const double lo = f[top == 0 ? 0 : top - 1];
  const double hi = f[std::min(top + 1, f.size() - 1)];
  return LargestBetween(gain, lo, hi, f[top], samples[top]);
}

std::string Db(double db) {
  return FixedText(db, 1) + " dB";
}

}  // namespace

std::string LargeSignalRequestProblem(const LargeSignalRequest& r) {
  if (!(r.fFrom > 0.0) || !(r.fTo > r.fFrom) || !std::isfinite(r.fTo)) {
    return "the frequency range needs 0 < from < to";
  }
  if (r.points < 2 || r.points > kMostPoints) return "the number of points must be 2 to 100000";
  return {};
}

LargeSignalRequest LargeSignalRangeOf(const CascadeDesign& design, int points) {
  LargeSignalRequest r;
  r.points = points;
  double lowest = INFINITY, highest = 0.0;
  for (const CascadeSection& s : design.sections) {
    if (!(s.plan.f0 > 0.0) || !std::isfinite(s.plan.f0)) continue;
    lowest = std::min(lowest, s.plan.f0);
    highest = std::max(highest, s.plan.f0);
  }
  if (highest > 0.0) {
    r.fFrom = lowest / 10.0;
    r.fTo = highest * 10.0;
  }
  return r;
}

std::string_view SignalLimitName(SignalLimit limit) {
  return limit == SignalLimit::Swing ? "output swing" : "slew rate";
}

namespace {

// Why the chain cannot be analysed with the model; empty when it can.
std::string ChainProblem(const Chain& chain, const OpAmpModel& model,
                         const LargeSignalRequest& request) {
  if (auto problem = LargeSignalRequestProblem(request); !problem.empty()) return problem;
  if (auto problem = ModelProblem(model); !problem.empty()) return problem;
  return chain.names.empty() ? "the circuit has no op amp" : "";
}

LargeSignalLimits LimitsOf(const Chain& chain, const OpAmpModel& model,
                           const LargeSignalRequest& request) {
  LargeSignalLimits result;
  result.problem = ChainProblem(chain, model, request);
  if (result.problem.empty() && std::isinf(model.outputSwing) && std::isinf(model.slewRate)) {
    result.problem = model.name + " has neither an output swing nor a slew rate that limits";
  }
  if (!result.problem.empty()) return result;
  ChainSweep sweep(chain, model);
  if (!sweep.Valid()) {
    result.problem = "the circuit cannot be analysed";
    return result;
  }
  result.opAmps = chain.names;
  result.points.reserve(static_cast<std::size_t>(request.points));
  for (const double f : Frequencies(request)) {
    const auto gains = sweep.At(f);
    if (!gains) {
      result = {};
      result.problem = SingularAt(f);
      return result;
    }
    std::optional<LargeSignalPoint> point;
    for (std::size_t k = 0; k < gains->pin.size(); ++k) {
      const auto limit = InputLimit(model, f, gains->pin[k]);
      if (limit && (!point || limit->first < point->inputPeak)) {
        point = LargeSignalPoint{f, 0.0, limit->first, k, limit->second};
      }
    }
    if (!point) continue;
    point->outputPeak = point->inputPeak * gains->output;
    result.points.push_back(*point);
  }
  return result;
}

// One section's headroom: its op amp of the largest gain, against the output's largest gain.
SectionHeadroom SectionHeadroomOf(
    int section, const std::vector<std::size_t>& amps, const std::vector<double>& sampledLargest,
    const std::function<std::pair<double, double>(std::size_t)>& largest, const Chain& chain,
    const OpAmpModel& model, const Headroom& whole, std::optional<std::size_t> outputAmp) {
  SectionHeadroom h;
  h.section = section;
  double sectionSampled = 0.0;
  for (const std::size_t k : amps) sectionSampled = std::max(sectionSampled, sampledLargest[k]);
  std::size_t largestAmp = amps.front();
  for (const std::size_t k : amps) {
    if (sampledLargest[k] < kCandidateShare * sectionSampled) continue;
    const auto [atHz, gain] =
        outputAmp == k ? std::pair(whole.outputAtHz, whole.outputGain) : largest(k);
    if (gain > h.largestGain) {
      h.largestGain = gain;
      h.atHz = atHz;
      largestAmp = k;
    }
  }
  h.opAmp = chain.names[largestAmp];
  if (outputAmp != largestAmp) {
    h.peakingDb = h.largestGain > 0.0 ? 20.0 * std::log10(h.largestGain / whole.outputGain)
                                      : kLowestPeakingDb;
    h.peakingDb = std::max(h.peakingDb, kLowestPeakingDb);
  }
  if (std::isfinite(model.outputSwing) && h.largestGain > 0.0) {
    h.clippingInputPeak = model.outputSwing / h.largestGain;
  }
  if (h.peakingDb >= kClipsBeforeOutputDb) {
    const std::string who =
        section > 0 ? "section " + std::to_string(section) + " (" + h.opAmp + ")" : h.opAmp;
    h.warning = who + " clips " + Db(h.peakingDb) + " before the output";
  }
  return h;
}

Headroom HeadroomOf(const Chain& chain, const OpAmpModel& model,
                    const LargeSignalRequest& request) {
  Headroom result;
  result.problem = ChainProblem(chain, model, request);
  if (!result.problem.empty()) return result;
  ChainSweep sweep(chain, model);
  if (!sweep.Valid()) {
    result.problem = "the circuit cannot be analysed";
    return result;
  }
  const std::vector<double> f = Frequencies(request);
  const std::size_t amps = chain.names.size();
  std::vector<std::vector<double>> pin(amps, std::vector<double>(f.size()));
  std::vector<double> output(f.size());
  for (std::size_t i = 0; i < f.size(); ++i) {
    const auto gains = sweep.At(f[i]);
    if (!gains) {
      result.problem = SingularAt(f[i]);
      return result;
    }
    for (std::size_t k = 0; k < amps; ++k) pin[k][i] = gains->pin[k];
    output[i] = gains->output;
  }
  const auto gainAt = [&sweep](std::optional<std::size_t> amp) {
    return [&sweep, amp](double at) {
      const auto gains = sweep.At(at);
      if (!gains) return 0.0;
      return amp ? gains->pin[*amp] : gains->output;
    };
  };
  std::tie(result.outputAtHz, result.outputGain) = Largest(gainAt(std::nullopt), f, output);
  if (!(result.outputGain > 0.0)) {
    result.problem = "the filter passes no signal over the range";
    return result;
  }
  if (std::isfinite(model.outputSwing)) {
    result.clippingInputPeak = model.outputSwing / result.outputGain;
  }
  // The op amps of each section, the sections in the order of their first op amp.
  std::map<int, std::vector<std::size_t>> members;
  std::vector<int> order;
  for (std::size_t k = 0; k < amps; ++k) {
    if (members[chain.sections[k]].empty()) order.push_back(chain.sections[k]);
    members[chain.sections[k]].push_back(k);
  }
  std::vector<double> sampledLargest(amps);
  for (std::size_t k = 0; k < amps; ++k) {
    sampledLargest[k] = *std::max_element(pin[k].begin(), pin[k].end());
  }
  const auto largest = [&](std::size_t k) { return Largest(gainAt(k), f, pin[k]); };
  for (const int section : order) {
    result.sections.push_back(SectionHeadroomOf(section, members[section], sampledLargest, largest,
                                                chain, model, result, sweep.OutputAmp()));
    if (!result.sections.back().warning.empty()) {
      result.warnings.push_back(result.sections.back().warning);
    }
  }
  return result;
}

}  // namespace

LargeSignalLimits AnalyseLargeSignal(Circuit circuit, const OpAmpModel& model,
                                     const LargeSignalRequest& request) {
  return LimitsOf(ChainOf(std::move(circuit)), model, request);
}

LargeSignalLimits AnalyseLargeSignal(const CascadeDesign& design, const OpAmpModel& model,
                                     const LargeSignalRequest& request) {
  if (!design.problem.empty()) {
    LargeSignalLimits result;
    result.problem = design.problem;
    return result;
  }
  return LimitsOf(ChainOf(design), model, request);
}

Headroom AnalyseHeadroom(Circuit circuit, const OpAmpModel& model,
                         const LargeSignalRequest& request) {
  return HeadroomOf(ChainOf(std::move(circuit)), model, request);
}

Headroom AnalyseHeadroom(const CascadeDesign& design, const OpAmpModel& model,
                         const LargeSignalRequest& request) {
  if (!design.problem.empty()) {
    Headroom result;
    result.problem = design.problem;
    return result;
  }
  return HeadroomOf(ChainOf(design), model, request);
}

}  // namespace morvane

#include "tolerance/tolerance_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>

#include "circuit/circuit_transfer.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kSensitivityStep = 1e-5;
constexpr int kMostVertexParts = 12;
constexpr int kMaskPoints = 24;  // checked in each of the pass and stop bands

// Uniform and Gaussian numbers from the engine by formulas of our own: the standard
// distributions may differ between libraries, and a seed must give the same runs everywhere.
class Draws {
 public:
  explicit Draws(std::uint64_t seed) : engine_(seed) {}

  double Uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

  // Box-Muller, one of the pair kept for the next call.
  double Gaussian() {
    if (spare_) {
      const double g = *spare_;
      spare_.reset();
      return g;
    }
    double u = 0.0;
    while (u == 0.0) u = Uniform();
    const double radius = std::sqrt(-2.0 * std::log(u));
    const double angle = kTwoPi * Uniform();
    spare_ = radius * std::sin(angle);
    return radius * std::cos(angle);
  }

  // A part's factor: uniform within +-tolerance, or Gaussian with the tolerance at 3 sigma,
  // drawn again beyond it.
  double Factor(double tolerance, ToleranceDistribution distribution) {
    if (distribution == ToleranceDistribution::Uniform) {
      return 1.0 + tolerance * (2.0 * Uniform() - 1.0);
    }
    double g = Gaussian();
    while (std::abs(g) > 3.0) g = Gaussian();
    return 1.0 + tolerance * g / 3.0;
  }

 private:
  std::mt19937_64 engine_;
  std::optional<double> spare_;
};

// One section ready for many runs.
bool RealAmplifierIn(const Circuit& c) {
  return c.opAmpModel && !c.opAmpModel->IsIdeal() && !c.opAmps.empty();
}

struct SectionModel {
  explicit SectionModel(const ToleranceSection& s, const Tolerances& t)
      : analysis(s.circuit),
        reference(ReferenceOfSectionKind(s.kind)),
        notch(IsNotchSectionKind(s.kind)),
        nominalFigures(s.nominal),
        notchAt(s.targetFz ? s.targetFz : s.nominal.fz),
        scale(kTwoPi * s.nominal.f0),
        near(RealAmplifierIn(s.circuit) ? std::optional(s.nominal.f0) : std::nullopt) {
    for (const CircuitPart& part : s.circuit.parts) {
      nominal.push_back(part.value);
      names.push_back(part.name);
      tolerance.push_back(ToleranceOf(part.name, t));
    }
  }

  std::optional<RationalTransfer> Transfer(const std::vector<double>& values) {
    return analysis.Transfer(values, scale);
  }

  std::optional<BuiltFigures> Figures(const std::vector<double>& values) {
    const auto h = Transfer(values);
    if (!h) return std::nullopt;
    return FiguresOf(*h, reference, notch, near);
  }

  CircuitAnalysis analysis;
  GainReference reference;
  bool notch;
  BuiltFigures nominalFigures;
  std::optional<double> notchAt;  // Hz, where the notch depth is measured
  double scale;
  // With a real amplifier, whose poles join the filter's: the pair nearest the nominal f0.
  std::optional<double> near;
  std::vector<double> nominal;
  std::vector<double> tolerance;
  std::vector<std::string> names;
};

// |H(j omega)|^2 of a transfer in u = s / scale, by real arithmetic: with v = u^2, the even
// powers of j u give the real part sum c_2k (-v)^k, the odd ones u sum c_2k+1 (-v)^k.
double SquaredAt(const std::vector<double>& c, double u, double v) {
  double re = 0.0, im = 0.0;
  const std::size_t n = c.size();
  for (std::size_t k = (n + 1) / 2 * 2; k >= 2; k -= 2) {
    re = re * -v + c[k - 2];
    if (k - 1 < n) im = im * -v + c[k - 1];
  }
  im *= u;
  return re * re + im * im;
}

double MagnitudeSquared(const RationalTransfer& h, double omega) {
  const double u = omega / h.scale;
  return SquaredAt(h.numerator, u, u * u) / SquaredAt(h.denominator, u, u * u);
}

// H(j omega) and its group delay -d arg H / d omega from the transfer in u = s / scale:
// tau = -Re(N'/N - D'/D) / scale at u = j omega / scale. The delay is NaN at a zero of N.
struct PointResponse {
  std::complex<double> value;
  double delay = 0.0;
};

PointResponse ResponseAt(const RationalTransfer& h, double omega) {
  // Horner's scheme for the value and the slope at u = j w by real arithmetic: multiplying
  // by j w takes (re, im) to (-im w, re w). (std::complex's product guards against infinities
  // at several times the cost, in the innermost loop of every run.)
  const double w = omega / h.scale;
  struct ValueAndSlope {
    double re = 0.0, im = 0.0, slopeRe = 0.0, slopeIm = 0.0;
  };
  const auto at = [w](const std::vector<double>& c) {
    ValueAndSlope v;
    for (std::size_t k = c.size(); k-- > 0;) {
      const double slopeRe = -v.slopeIm * w + v.re;
      v.slopeIm = v.slopeRe * w + v.im;
      v.slopeRe = slopeRe;
      const double re = -v.im * w + c[k];
      v.im = v.re * w;
      v.re = re;
    }
    return v;
  };
  const ValueAndSlope n = at(h.numerator);
  const ValueAndSlope d = at(h.denominator);
  const double nn = n.re * n.re + n.im * n.im;
  const double dd = d.re * d.re + d.im * d.im;
  // Re(a / b) = Re(a conj(b)) / |b|^2.
  const double delay = nn == 0.0 ? NAN
                                 : -((n.slopeRe * n.re + n.slopeIm * n.im) / nn -
                                     (d.slopeRe * d.re + d.slopeIm * d.im) / dd) /
                                       h.scale;
  return {{(n.re * d.re + n.im * d.im) / dd, (n.im * d.re - n.re * d.im) / dd}, delay};
}

double Degrees(double radians) {
  return radians * (180.0 / std::numbers::pi);
}

double Db(double magnitudeSquared) {
  return 10.0 * std::log10(magnitudeSquared);
}

// The value of nearest rank q (0..1) among values in any order (reordered): the band's
// percentiles, one selection each instead of a sort per frequency.
float NearestRank(std::vector<float>& values, double q) {
  const auto rank =
      static_cast<std::ptrdiff_t>(std::lround(q * static_cast<double>(values.size() - 1)));
  std::nth_element(values.begin(), values.begin() + rank, values.end());
  return values[static_cast<std::size_t>(rank)];
}

// Linear between order statistics of sorted values, q in 0..1.
double Percentile(const std::vector<double>& sorted, double q) {
  const double at = q * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(at));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

Statistics StatisticsOf(std::vector<double> values) {
  Statistics s;
  if (values.empty()) return s;
  double sum = 0.0;
  for (double x : values) sum += x;
  s.mean = sum / static_cast<double>(values.size());
  double squares = 0.0;
  for (double x : values) squares += (x - s.mean) * (x - s.mean);
  s.std = values.size() > 1 ? std::sqrt(squares / static_cast<double>(values.size() - 1)) : 0.0;
  std::sort(values.begin(), values.end());
  s.min = values.front();
  s.max = values.back();
  s.p5 = Percentile(values, 0.05);
  s.p95 = Percentile(values, 0.95);
  return s;
}

std::vector<double> LogSpaced(double from, double to, int points) {
  std::vector<double> f(static_cast<std::size_t>(std::max(points, 2)));
  for (std::size_t i = 0; i < f.size(); ++i) {
    f[i] = from * std::pow(to / from, static_cast<double>(i) / static_cast<double>(f.size() - 1));
  }
  return f;
}

// Where the mask is checked, and whether each point is in the pass band.
struct MaskPoint {
  double omega;
  bool pass;
};

std::vector<MaskPoint> MaskPoints(const ToleranceMask& m, FilterKind kind, double centreHz) {
  std::vector<MaskPoint> points;
  const auto add = [&](double from, double to, bool pass) {
    for (double f : LogSpaced(from, to, kMaskPoints)) points.push_back({kTwoPi * f, pass});
  };
  const double fm2 = centreHz * centreHz;
  switch (kind) {
    case FilterKind::Lowpass:
      add(m.f1 / 100.0, m.f1, true);
      add(m.f2, m.f2 * 100.0, false);
      break;
    case FilterKind::Highpass:
      add(m.f1, m.f1 * 100.0, true);
      add(m.f2 / 100.0, m.f2, false);
      break;
    case FilterKind::Bandpass:
      add(std::min(m.f1, fm2 / m.f1), std::max(m.f1, fm2 / m.f1), true);
      add(std::max(m.f2, fm2 / m.f2), 100.0 * std::max(m.f2, fm2 / m.f2), false);
      add(std::min(m.f2, fm2 / m.f2) / 100.0, std::min(m.f2, fm2 / m.f2), false);
      break;
    case FilterKind::Bandstop:
      add(std::min(m.f2, fm2 / m.f2), std::max(m.f2, fm2 / m.f2), false);
      add(std::max(m.f1, fm2 / m.f1), 100.0 * std::max(m.f1, fm2 / m.f1), true);
      add(std::min(m.f1, fm2 / m.f1) / 100.0, std::min(m.f1, fm2 / m.f1), true);
      break;
  }
  return points;
}

// The importance of each part: its share of the summed squares of (sensitivity x tolerance)
// over f0 and Q.
std::vector<PartImportance> ImportanceOf(std::vector<SectionModel>& models,
                                         const std::vector<ToleranceSection>& sections) {
  std::vector<PartImportance> parts;
  double total = 0.0;
  for (std::size_t k = 0; k < sections.size(); ++k) {
    const std::vector<PartSensitivity> s = Sensitivities(sections[k]);
    for (std::size_t i = 0; i < s.size(); ++i) {
      const double t = models[k].tolerance[i];
      const double share = (s[i].f0 * t) * (s[i].f0 * t) + (s[i].q * t) * (s[i].q * t);
      parts.push_back({std::to_string(k + 1), s[i].part, share});
      total += share;
    }
  }
  for (PartImportance& p : parts) p.share = total > 0.0 ? p.share / total : 0.0;
  std::stable_sort(
      parts.begin(), parts.end(),
      [](const PartImportance& a, const PartImportance& b) { return a.share > b.share; });
  return parts;
}

// A column's spread about `nominal`: its least, 5 %, 95 % and largest value.
void AppendSpread(std::vector<float>& column, double nominal, SpreadBand& band) {
  band.nominal.push_back(nominal);
  if (column.empty()) {
    for (auto* v : {&band.min, &band.p5, &band.p95, &band.max}) v->push_back(nominal);
    return;
  }
  const auto [least, most] = std::minmax_element(column.begin(), column.end());
  band.min.push_back(*least);
  band.max.push_back(*most);
  band.p5.push_back(NearestRank(column, 0.05));
  band.p95.push_back(NearestRank(column, 0.95));
}

// The phase band (each run's phase from the nominal added to the nominal's, continuous in f)
// and the delay band.
void SpreadsOfPhaseAndDelay(std::vector<SectionModel>& models,
                            const std::vector<double>& frequencies,
                            const std::vector<std::complex<double>>& nominalResponse,
                            std::vector<std::vector<float>>& phaseColumns,
                            std::vector<std::vector<float>>& delayColumns,
                            MonteCarloResult& result) {
  SpreadBand phase, delay;
  double previous = 0.0;
  for (std::size_t i = 0; i < frequencies.size(); ++i) {
    double nominalPhase = Degrees(std::arg(nominalResponse[i]));
    if (i > 0) nominalPhase += 360.0 * std::round((previous - nominalPhase) / 360.0);
    previous = nominalPhase;
    for (float& x : phaseColumns[i]) x = static_cast<float>(nominalPhase + x);
    AppendSpread(phaseColumns[i], nominalPhase, phase);
    double nominalDelay = 0.0;
    for (SectionModel& m : models) {
      if (const auto h = m.Transfer(m.nominal)) {
        nominalDelay += ResponseAt(*h, kTwoPi * frequencies[i]).delay;
      }
    }
    if (!std::isfinite(nominalDelay)) nominalDelay = 0.0;
    AppendSpread(delayColumns[i], nominalDelay, delay);
  }
  result.phaseDegrees = std::move(phase);
  result.groupDelay = std::move(delay);
}

}  // namespace

double ToleranceOf(const std::string& partName, const Tolerances& t) {
  switch (partName.empty() ? ' ' : partName[0]) {
    case 'R':
      return t.resistorPercent / 100.0;
    case 'C':
      return t.capacitorPercent / 100.0;
    case 'L':
      return t.inductorPercent / 100.0;
    default:
      return 0.0;
  }
}

std::vector<SectionCircuitOfKind> SectionCircuitsOf(const CascadeDesign& design) {
  std::vector<SectionCircuitOfKind> circuits;
  for (const CascadeSection& s : design.sections) {
    circuits.push_back({s.circuit.circuit, s.plan.kind, s.plan.fz});
  }
  return circuits;
}

std::optional<std::vector<ToleranceSection>> ToleranceSectionsOf(
    const std::vector<SectionCircuitOfKind>& circuits) {
  std::vector<ToleranceSection> sections;
  for (const auto& [circuit, kind, targetFz] : circuits) {
    // With a real amplifier: sampled around, and the pole pair nearest, the ideal circuit's f0.
    std::optional<double> near;
    if (RealAmplifierIn(circuit)) {
      Circuit ideal = circuit;
      ideal.opAmpModel.reset();
      const auto idealTransfer = CircuitTransfer(ideal);
      const auto idealFigures =
          idealTransfer
              ? FiguresOf(*idealTransfer, ReferenceOfSectionKind(kind), IsNotchSectionKind(kind))
              : std::nullopt;
      if (!idealFigures) return std::nullopt;
      near = idealFigures->f0;
    }
    const auto h = CircuitTransfer(circuit, "in", "out", near ? kTwoPi * *near : 0.0);
    if (!h) return std::nullopt;
    const auto figures =
        FiguresOf(*h, ReferenceOfSectionKind(kind), IsNotchSectionKind(kind), near);
    if (!figures || !(figures->f0 > 0.0)) return std::nullopt;
    sections.push_back({circuit, kind, *figures, targetFz});
  }
  return sections;
}

MonteCarloResult RunMonteCarlo(const std::vector<ToleranceSection>& sections,
                               const MonteCarloRequest& request) {
  MonteCarloResult result;
  result.seed = request.tolerances.seed;
  std::vector<SectionModel> models;
  for (const ToleranceSection& s : sections) models.emplace_back(s, request.tolerances);
  const std::vector<double> frequencies =
      request.frequencies.empty() ? LogSpaced(request.fromHz, request.toHz, request.points)
                                  : request.frequencies;
  const std::size_t points = frequencies.size();
  std::vector<MaskPoint> maskPoints;
  if (request.mask) maskPoints = MaskPoints(*request.mask, request.kind, request.centreHz);
  const double passbandDb = 20.0 * std::log10(std::abs(request.passbandGain));

  struct Figures {
    std::vector<double> f0, q, gain, fz, depth;
  };
  std::vector<Figures> figures(models.size());
  // The whole gain squared of every run, one column a frequency (single precision: for the
  // percentiles, to 1e-6 dB), and the sums and extremes of each column.
  std::vector<std::vector<float>> squared(points);
  std::vector<double> sum(points, 0.0), sumOfSquares(points, 0.0);
  std::vector<double> least(points, INFINITY), most(points, 0.0);
  for (auto& column : squared) column.reserve(static_cast<std::size_t>(std::max(request.runs, 0)));
  std::vector<double> whole(points), wholeMask(maskPoints.size());
  std::vector<double> values;
  // With phase and delay: the nominal response at each frequency, and each run's phase from
  // it and delay, one column a frequency.
  const bool phaseAndDelay = request.phaseAndDelay;
  std::vector<std::complex<double>> nominalResponse, wholeResponse;
  std::vector<double> wholeDelay;
  std::vector<std::vector<float>> phaseColumns, delayColumns;
  if (phaseAndDelay) {
    nominalResponse.assign(points, 1.0);
    for (SectionModel& m : models) {
      const auto h = m.Transfer(m.nominal);
      if (!h) continue;
      for (std::size_t i = 0; i < points; ++i) {
        nominalResponse[i] *= ResponseAt(*h, kTwoPi * frequencies[i]).value;
      }
    }
    wholeResponse.resize(points);
    wholeDelay.resize(points);
    phaseColumns.resize(points);
    delayColumns.resize(points);
  }
  Draws draws(request.tolerances.seed);
  int met = 0;
  for (int run = 0; run < request.runs; ++run) {
    if (request.progress && run % kProgressEvery == 0 && run > 0 && !request.progress(run)) {
      MonteCarloResult cancelled;
      cancelled.cancelled = true;
      return cancelled;
    }
    std::fill(whole.begin(), whole.end(), 1.0);
    std::fill(wholeMask.begin(), wholeMask.end(), 1.0);
    std::fill(wholeResponse.begin(), wholeResponse.end(), 1.0);
    std::fill(wholeDelay.begin(), wholeDelay.end(), 0.0);
    bool analysed = true;
    for (std::size_t k = 0; k < models.size(); ++k) {
      SectionModel& m = models[k];
      values = m.nominal;
      for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] *= draws.Factor(m.tolerance[i], request.tolerances.distribution);
      }
      const auto h = m.Transfer(values);
      const auto f = h ? FiguresOf(*h, m.reference, m.notch, m.near) : std::nullopt;
      if (!f) {
        analysed = false;
        continue;
      }
      Figures& out = figures[k];
      out.f0.push_back(f->f0);
      out.q.push_back(f->q);
      out.gain.push_back(f->gain);
      if (f->fz) out.fz.push_back(*f->fz);
      if (m.notchAt) {
        const double atZero = MagnitudeSquared(*h, kTwoPi * *m.notchAt);
        out.depth.push_back(Db(atZero) - Db(f->gain * f->gain));
      }
      if (phaseAndDelay) {
        for (std::size_t i = 0; i < points; ++i) {
          const PointResponse r = ResponseAt(*h, kTwoPi * frequencies[i]);
          const std::complex<double> z = wholeResponse[i];
          wholeResponse[i] = {z.real() * r.value.real() - z.imag() * r.value.imag(),
                              z.real() * r.value.imag() + z.imag() * r.value.real()};
          wholeDelay[i] += r.delay;
          whole[i] *= std::norm(r.value);
        }
      } else {
        for (std::size_t i = 0; i < points; ++i) {
          whole[i] *= MagnitudeSquared(*h, kTwoPi * frequencies[i]);
        }
      }
      for (std::size_t i = 0; i < maskPoints.size(); ++i) {
        wholeMask[i] *= MagnitudeSquared(*h, maskPoints[i].omega);
      }
    }
    if (!analysed) continue;
    ++result.runs;
    for (std::size_t i = 0; i < points; ++i) {
      const double x = whole[i];
      squared[i].push_back(static_cast<float>(x));
      sum[i] += std::sqrt(x);
      sumOfSquares[i] += x;
      least[i] = std::min(least[i], x);
      most[i] = std::max(most[i], x);
    }
    for (std::size_t i = 0; phaseAndDelay && i < points; ++i) {
      // arg(H conj(H nominal)), by real arithmetic as above.
      const std::complex<double> h = wholeResponse[i], n = nominalResponse[i];
      const double fromNominal = std::atan2(h.imag() * n.real() - h.real() * n.imag(),
                                            h.real() * n.real() + h.imag() * n.imag());
      phaseColumns[i].push_back(static_cast<float>(Degrees(fromNominal)));
      if (std::isfinite(wholeDelay[i]))
        delayColumns[i].push_back(static_cast<float>(wholeDelay[i]));
    }
    if (request.mask) {
      bool meets = true;
      for (std::size_t i = 0; i < maskPoints.size() && meets; ++i) {
        const double attenuation = passbandDb - Db(wholeMask[i]);
        meets = maskPoints[i].pass ? std::abs(attenuation) <= request.mask->d1
                                   : attenuation >= request.mask->d2;
      }
      met += meets;
    }
  }
  if (request.mask && result.runs > 0) {
    result.yield = static_cast<double>(met) / static_cast<double>(result.runs);
  }
  for (const Figures& f : figures) {
    SectionStatistics s{StatisticsOf(f.f0), StatisticsOf(f.q), StatisticsOf(f.gain), {}, {}};
    if (!f.fz.empty()) s.fz = StatisticsOf(f.fz);
    if (!f.depth.empty()) s.notchDepthDb = StatisticsOf(f.depth);
    result.sections.push_back(s);
  }

  GainBand& band = result.band;
  band.frequencies = frequencies;
  for (std::size_t i = 0; i < points; ++i) {
    double nominal = 1.0;
    for (SectionModel& m : models) {
      if (const auto h = m.Transfer(m.nominal))
        nominal *= MagnitudeSquared(*h, kTwoPi * frequencies[i]);
    }
    band.nominalDb.push_back(Db(nominal));
    std::vector<float>& column = squared[i];
    if (column.empty()) continue;
    band.minDb.push_back(Db(least[i]));
    band.maxDb.push_back(Db(most[i]));
    const double n = static_cast<double>(column.size());
    band.meanGain.push_back(sum[i] / n);
    band.stdGain.push_back(
        n > 1.0 ? std::sqrt(std::max(0.0, (sumOfSquares[i] - sum[i] * sum[i] / n) / (n - 1.0)))
                : 0.0);
    // Held between the extremes, which single precision may round past.
    const auto percentile = [&](double q) {
      return std::clamp(Db(NearestRank(column, q)), band.minDb.back(), band.maxDb.back());
    };
    band.p5Db.push_back(percentile(0.05));
    band.p95Db.push_back(percentile(0.95));
  }
  if (phaseAndDelay)
    SpreadsOfPhaseAndDelay(models, frequencies, nominalResponse, phaseColumns, delayColumns,
                           result);
  result.importance = ImportanceOf(models, sections);
  return result;
}

std::vector<PartSensitivity> Sensitivities(const ToleranceSection& section) {
  SectionModel m(section, Tolerances{});
  std::vector<PartSensitivity> out;
  const BuiltFigures& y = section.nominal;
  for (std::size_t i = 0; i < m.nominal.size(); ++i) {
    std::vector<double> up = m.nominal, down = m.nominal;
    up[i] *= 1.0 + kSensitivityStep;
    down[i] *= 1.0 - kSensitivityStep;
    const auto a = m.Figures(up);
    const auto b = m.Figures(down);
    PartSensitivity s{m.names[i]};
    if (a && b) {
      const auto relative = [](double plus, double minus, double at) {
        return at == 0.0 ? 0.0 : (plus - minus) / (2.0 * kSensitivityStep * at);
      };
      s.f0 = relative(a->f0, b->f0, y.f0);
      s.q = relative(a->q, b->q, y.q);
      s.gain = relative(a->gain, b->gain, y.gain);
    }
    out.push_back(s);
  }
  return out;
}

WorstCase WorstCaseOf(const ToleranceSection& section, const Tolerances& tolerances) {
  SectionModel m(section, tolerances);
  const BuiltFigures& y = section.nominal;
  WorstCase w{y.f0, y.f0, y.q, y.q, y.gain, y.gain, true};
  const auto take = [&w](const BuiltFigures& f) {
    w.f0Min = std::min(w.f0Min, f.f0);
    w.f0Max = std::max(w.f0Max, f.f0);
    w.qMin = std::min(w.qMin, f.q);
    w.qMax = std::max(w.qMax, f.q);
    w.gainMin = std::min(w.gainMin, f.gain);
    w.gainMax = std::max(w.gainMax, f.gain);
  };
  const std::size_t n = m.nominal.size();
  std::vector<double> values(n);
  if (n <= static_cast<std::size_t>(kMostVertexParts)) {
    for (std::uint32_t vertex = 0; vertex < (1u << n); ++vertex) {
      for (std::size_t i = 0; i < n; ++i) {
        values[i] = m.nominal[i] * (1.0 + ((vertex >> i) & 1u ? m.tolerance[i] : -m.tolerance[i]));
      }
      if (const auto f = m.Figures(values)) take(*f);
    }
    return w;
  }
  // Each figure pushed up and down by every part at the end its sensitivity points to.
  w.vertices = false;
  const std::vector<PartSensitivity> s = Sensitivities(section);
  for (double PartSensitivity::*figure :
       {&PartSensitivity::f0, &PartSensitivity::q, &PartSensitivity::gain}) {
    for (double direction : {1.0, -1.0}) {
      for (std::size_t i = 0; i < n; ++i) {
        const double sign = s[i].*figure >= 0.0 ? direction : -direction;
        values[i] = m.nominal[i] * (1.0 + sign * m.tolerance[i]);
      }
      if (const auto f = m.Figures(values)) take(*f);
    }
  }
  return w;
}

}  // namespace morvane

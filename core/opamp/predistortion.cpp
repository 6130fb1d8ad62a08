#include "opamp/predistortion.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "circuit/circuit_transfer.h"
#include "numerics/number_text.h"
#include "numerics/value_text.h"

namespace morvane {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kAimedError = 2e-4;      // relative: the search stops below this
constexpr int kStepLimit = 12;            // Newton steps
constexpr double kDifferenceStep = 1e-3;  // of ln f0' and ln Q' for the Jacobian
constexpr double kLargestStep = 0.4;      // of ln f0' or ln Q' in one step (a factor 1.5)
constexpr int kHalvings = 4;              // of a step that does not come closer
// Steps that bring the figures less than a tenth closer, one after the other, before the
// search gives up: the op amp, not the circuit, then sets them.
constexpr int kStallLimit = 2;
// How far the adjusted targets may lie from the wanted ones: beyond, the op amp decides the
// response more than the circuit does.
constexpr double kLargestLnAdjustment = 1.6;  // a factor of about 5

struct Point {
  double lnF0 = 0.0;
  double lnQ = 0.0;
};

struct Trial {
  double errorF0 = 0.0;  // ln(real / wanted)
  double errorQ = 0.0;
  double realF0 = 0.0;
  double realQ = 0.0;
  double Size() const { return errorF0 * errorF0 + errorQ * errorQ; }
  double Largest() const { return std::max(std::abs(errorF0), std::abs(errorQ)); }
};

class Search {
 public:
  Search(const CircuitForTargets& design, const OpAmpModel& model,
         const PredistortionTarget& target)
      : design_(design), model_(model), target_(target) {}

  // The real figures of the circuit designed for the point; none where it cannot be built or
  // analysed, or lies beyond the adjustments allowed.
  std::optional<Trial> At(const Point& p) {
    const Point wanted = Wanted();
    if (std::abs(p.lnF0 - wanted.lnF0) > kLargestLnAdjustment ||
        std::abs(p.lnQ - wanted.lnQ) > kLargestLnAdjustment) {
      return std::nullopt;
    }
    const std::optional<Circuit> circuit = design_(std::exp(p.lnF0), std::exp(p.lnQ));
    if (!circuit) {
      unbuildable_ = true;
      return std::nullopt;
    }
    const auto [f0, q] = RealFigures(*circuit);
    if (!(f0 > 0.0 && std::isfinite(f0) && q > 0.0 && std::isfinite(q))) return std::nullopt;
    return Trial{.errorF0 = std::log(f0 / target_.f0),
                 .errorQ = target_.firstOrder ? 0.0 : std::log(q / target_.q),
                 .realF0 = f0,
                 .realQ = q};
  }

  // f0 and Q with the op amp, of the pole pair nearest the wanted f0 as RealAmplifierFiguresOf
  // takes them (a first-order stage: its real pole nearest the wanted f0); zeros where the
  // circuit cannot be analysed.
  std::pair<double, double> RealFigures(Circuit circuit) const {
    circuit.opAmpModel = model_;
    const auto real = CircuitTransfer(circuit, "in", "out", kTwoPi * target_.f0);
    if (!real) return {0.0, 0.0};
    if (target_.firstOrder) {
      double nearest = INFINITY;
      double f0 = 0.0;
      for (const Complex& p : PoleZeroOf(*real).poles) {
        const double distance = std::abs(std::log(std::abs(p) / kTwoPi / target_.f0));
        if (p.imag() == 0.0 && distance < nearest) {
          nearest = distance;
          f0 = std::abs(p) / kTwoPi;
        }
      }
      return {f0, 0.5};
    }
    const auto figures = FiguresOf(*real, target_.reference, target_.notch, target_.f0);
    if (!figures) return {0.0, 0.0};
    return {figures->f0, figures->q};
  }

  Point Wanted() const {
    return {std::log(target_.f0), target_.firstOrder ? 0.0 : std::log(target_.q)};
  }
  bool HitUnbuildable() const { return unbuildable_; }

 private:
  const CircuitForTargets& design_;
  const OpAmpModel& model_;
  const PredistortionTarget& target_;
  bool unbuildable_ = false;
};

// The Newton step from `at` (whose figures are `here`); none where the Jacobian cannot be
// formed or is singular.
std::optional<Point> NewtonStep(Search& search, const Point& at, const Trial& here,
                                bool firstOrder) {
  const auto byF0 = search.At({at.lnF0 + kDifferenceStep, at.lnQ});
  if (!byF0) return std::nullopt;
  const double a = (byF0->errorF0 - here.errorF0) / kDifferenceStep;
  if (firstOrder) {
    if (!(std::abs(a) > 0.0) || !std::isfinite(a)) return std::nullopt;
    return Point{-here.errorF0 / a, 0.0};
  }
  const auto byQ = search.At({at.lnF0, at.lnQ + kDifferenceStep});
  if (!byQ) return std::nullopt;
  const double c = (byF0->errorQ - here.errorQ) / kDifferenceStep;
  const double b = (byQ->errorF0 - here.errorF0) / kDifferenceStep;
  const double d = (byQ->errorQ - here.errorQ) / kDifferenceStep;
  const double det = a * d - b * c;
  if (!(std::abs(det) > 0.0) || !std::isfinite(det)) return std::nullopt;
  const Point step{(-d * here.errorF0 + b * here.errorQ) / det,
                   (c * here.errorF0 - a * here.errorQ) / det};
  if (!std::isfinite(step.lnF0) || !std::isfinite(step.lnQ)) return std::nullopt;
  return step;
}

std::string QAtF0(const PredistortionTarget& target) {
  const std::string at = FormatQuantity(target.f0, "Hz");
  return target.firstOrder ? at : "Q " + GeneralText(target.q, 4) + " at " + at;
}

}  // namespace

Predistortion Predistort(const CircuitForTargets& design, const OpAmpModel& model,
                         const PredistortionTarget& target) {
  Predistortion out;
  out.f0 = target.f0;
  out.q = target.q;
  if (!(target.f0 > 0.0 && std::isfinite(target.f0)) ||
      (!target.firstOrder && !(target.q > 0.0 && std::isfinite(target.q)))) {
    out.problem = "no f0 and Q to pre-distort for";
    return out;
  }
  Search search(design, model, target);
  Point at = search.Wanted();
  std::optional<Trial> here = search.At(at);
  if (!here) {
    out.problem = "the circuit cannot be analysed with the " + model.name;
    return out;
  }
  int stalls = 0;
  while (here->Largest() > kAimedError && out.steps < kStepLimit) {
    const double before = here->Size();
    auto step = NewtonStep(search, at, *here, target.firstOrder);
    if (!step) break;
    const double largest = std::max(std::abs(step->lnF0), std::abs(step->lnQ));
    const double damping = largest > kLargestStep ? kLargestStep / largest : 1.0;
    bool closer = false;
    double t = damping;
    for (int i = 0; i <= kHalvings && !closer; ++i, t *= 0.5) {
      const Point next{at.lnF0 + t * step->lnF0, at.lnQ + t * step->lnQ};
      const auto there = search.At(next);
      if (there && there->Size() < here->Size()) {
        at = next;
        here = there;
        closer = true;
      }
    }
    if (!closer) break;
    ++out.steps;
    stalls = here->Size() > 0.81 * before ? stalls + 1 : 0;
    if (stalls >= kStallLimit) break;
  }
  out.realF0 = here->realF0;
  out.realQ = here->realQ;
  if (here->Largest() <= std::log1p(kPredistortionTolerance) * 0.999) {
    out.f0 = std::exp(at.lnF0);
    out.q = target.firstOrder ? target.q : std::exp(at.lnQ);
    return out;
  }
  if (search.HitUnbuildable()) {
    out.problem = "no buildable circuit gives " + QAtF0(target) + " with the " + model.name;
  } else if (std::isfinite(model.gainBandwidth)) {
    out.problem = "the " + model.name + "'s gain-bandwidth (" +
                  FormatQuantity(model.gainBandwidth, "Hz") + ") is too low for " + QAtF0(target);
  } else {
    out.problem = "the " + model.name + " cannot give " + QAtF0(target);
  }
  return out;
}

std::string PredistortionLine(const Predistortion& p, const OpAmpModel& model, bool firstOrder) {
  if (!p.Achieved()) {
    return "No pre-distortion for " + model.name + ": " + p.problem + "; the plain design is kept";
  }
  const auto figures = [firstOrder](double f0, double q) {
    std::string text = "f0 " + FormatQuantity(f0, "Hz");
    if (!firstOrder) text += ", Q " + FormatFixedTrimmed(4, q);
    return text;
  };
  return "Pre-distorted for " + model.name + ": designed for " + figures(p.f0, p.q) +
         "; with the op amp " + figures(p.realF0, p.realQ);
}

}  // namespace morvane

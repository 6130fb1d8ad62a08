#include <cmath>

#include "filters/prototype_families.h"

namespace morvane::prototype {

PoleZeroGain ScaleFrequency(const PoleZeroGain& h, double factor) {
  PoleZeroGain scaled = h;
  for (Complex& p : scaled.poles) p *= factor;
  for (Complex& z : scaled.zeros) z *= factor;
  const int excess = static_cast<int>(h.poles.size()) - static_cast<int>(h.zeros.size());
  scaled.gain = h.gain * std::pow(factor, excess);
  return scaled;
}

double HalfPowerFrequency(const PoleZeroGain& h, double below, double above) {
  for (int step = 0; step < 200; ++step) {
    const double middle = 0.5 * (below + above);
    if (middle <= below || middle >= above) break;  // the bracket is down to adjacent doubles
    if (std::norm(EvaluateAt(h, Complex(0.0, middle))) > 0.5) {
      below = middle;
    } else {
      above = middle;
    }
  }
  return 0.5 * (below + above);
}

double GainForDc(const PoleZeroGain& h, double dcGain) {
  Complex ratio(dcGain, 0.0);
  for (const Complex& p : h.poles) ratio *= -p;
  for (const Complex& z : h.zeros) ratio /= -z;
  return ratio.real();  // conjugate pairs make the product real
}

double PowerRatioMinusOne(double db) {
  return std::expm1(db * std::log(10.0) / 10.0);
}

}  // namespace morvane::prototype

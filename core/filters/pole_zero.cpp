#include "filters/pole_zero.h"

namespace morvane {

Complex EvaluateAt(const PoleZeroGain& h, Complex s) {
  Complex value(h.gain, 0.0);
  for (const Complex& z : h.zeros) value *= s - z;
  for (const Complex& p : h.poles) value /= s - p;
  return value;
}

}  // namespace morvane

#pragma once

// A transfer function by its poles, zeros and gain:
//   H(s) = gain * (s - z1)(s - z2)... / ((s - p1)(s - p2)...)
// in rad/s. Complex poles and zeros come in conjugate pairs, so H is real on the real axis.

#include <complex>
#include <vector>

namespace morvane {

using Complex = std::complex<double>;

struct PoleZeroGain {
  std::vector<Complex> poles;  // all in the left half-plane for a stable filter
  std::vector<Complex> zeros;  // finite zeros only; the others lie at infinity
  double gain = 1.0;
};

// H(s) at one point of the s-plane.
Complex EvaluateAt(const PoleZeroGain& h, Complex s);

}  // namespace morvane

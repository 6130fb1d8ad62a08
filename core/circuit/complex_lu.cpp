#include "circuit/complex_lu.h"

#include <algorithm>

namespace morvane {

namespace {

// A pivot whose square is below this against the largest square of A is zero.
constexpr double kSingular = 1e-26;

std::size_t Index(int k) {
  return static_cast<std::size_t>(k);
}

// a - b * c, as std::complex computes it for finite numbers but without its checks for NaN,
// which cost more than the product in an elimination's inner loop.
Complex MinusProduct(Complex a, Complex b, Complex c) {
  return {a.real() - (b.real() * c.real() - b.imag() * c.imag()),
          a.imag() - (b.real() * c.imag() + b.imag() * c.real())};
}

// b * c, likewise.
Complex Product(Complex b, Complex c) {
  return {b.real() * c.real() - b.imag() * c.imag(), b.real() * c.imag() + b.imag() * c.real()};
}

Complex Inverse(Complex p) {
  return std::conj(p) / std::norm(p);  // 1/p without the library's checks
}

}  // namespace

std::span<Complex> ComplexLu::Matrix(int size) {
  if (size != size_ || !extentsKnown_) {
    size_ = size;
    lu_.assign(Index(size) * Index(size), Complex(0.0));
  } else {
    for (int r = 0; r < size_; ++r) {
      for (int c = firstColumn_[Index(r)]; c <= lastColumn_[Index(r)]; ++c) lu_[At(r, c)] = 0.0;
    }
  }
  extentsKnown_ = false;
  return lu_;
}

bool ComplexLu::Factor(const SparsityPattern& pattern) {
  if (pattern.Size() != size_) return false;
  FindExtents(pattern);
  for (int k = 0; k < size_; ++k) {
    const int pivot = LargestInColumn(k);
    pivot_[Index(k)] = pivot;
    if (!(std::norm(lu_[At(pivot, k)]) > kSingular * largestNorm_)) return false;
    if (pivot != k) SwapRows(k, pivot);
    Eliminate(k);
  }
  return true;
}

void ComplexLu::FindExtents(const SparsityPattern& pattern) {
  const std::size_t n = Index(size_);
  pivot_.resize(n);
  inversePivot_.resize(n);
  firstColumn_.assign(n, size_);
  lastColumn_.assign(n, -1);
  lastRow_.assign(n, -1);
  largestNorm_ = 0.0;
  for (int r = 0; r < size_; ++r) {
    const std::span<const int> columns = pattern.Row(r);
    if (columns.empty()) continue;
    firstColumn_[Index(r)] = columns.front();
    lastColumn_[Index(r)] = columns.back();
    const Complex* row = &lu_[At(r, 0)];
    for (const int c : columns) {
      largestNorm_ = std::max(largestNorm_, std::norm(row[c]));
      lastRow_[Index(c)] = r;  // the rows come in increasing order
    }
  }
  extentsKnown_ = true;
}

int ComplexLu::LargestInColumn(int k) const {
  int pivot = k;
  const Complex* entry = &lu_[At(k, k)];
  double largest = std::norm(*entry);
  for (int r = k + 1; r <= lastRow_[Index(k)]; ++r) {
    entry += size_;
    const double magnitude = std::norm(*entry);
    if (magnitude > largest) {
      pivot = r;
      largest = magnitude;
    }
  }
  return pivot;
}

void ComplexLu::SwapRows(int k, int pivot) {
  Complex* rowK = &lu_[At(k, 0)];
  Complex* rowPivot = &lu_[At(pivot, 0)];
  const int first = std::min(firstColumn_[Index(k)], firstColumn_[Index(pivot)]);
  const int last = std::max(lastColumn_[Index(k)], lastColumn_[Index(pivot)]);
  for (int c = first; c <= last; ++c) std::swap(rowK[c], rowPivot[c]);
  std::swap(firstColumn_[Index(k)], firstColumn_[Index(pivot)]);
  std::swap(lastColumn_[Index(k)], lastColumn_[Index(pivot)]);
  // Row k's entries (of L and U) now lie in the pivot's row, further down their columns.
  for (int c = firstColumn_[Index(pivot)]; c <= lastColumn_[Index(pivot)]; ++c) {
    if (rowPivot[c] != 0.0) lastRow_[Index(c)] = std::max(lastRow_[Index(c)], pivot);
  }
}

void ComplexLu::Eliminate(int k) {
  const int lastRow = lastRow_[Index(k)];
  const int lastColumn = std::max(lastColumn_[Index(k)], k);
  const Complex* pivotRow = &lu_[At(k, 0)];
  const Complex inverse = Inverse(pivotRow[k]);
  inversePivot_[Index(k)] = inverse;
  int lastChanged = -1;
  Complex* row = &lu_[At(k, 0)];
  for (int r = k + 1; r <= lastRow; ++r) {
    row += size_;
    if (row[k] == 0.0) continue;
    const Complex factor = Product(row[k], inverse);
    row[k] = factor;
    for (int c = k + 1; c <= lastColumn; ++c) row[c] = MinusProduct(row[c], factor, pivotRow[c]);
    lastColumn_[Index(r)] = std::max(lastColumn_[Index(r)], lastColumn);
    lastChanged = r;
  }
  if (lastChanged < 0) return;
  for (int c = k + 1; c <= lastColumn; ++c) {
    lastRow_[Index(c)] = std::max(lastRow_[Index(c)], lastChanged);
  }
}

void ComplexLu::Solve(std::vector<Complex>& b) const {
  const int n = size_;
  for (int k = 0; k < n; ++k) std::swap(b[Index(k)], b[Index(pivot_[Index(k)])]);
  // L: column by column, within each column's rows.
  for (int k = 0; k < n; ++k) {
    const Complex bk = b[Index(k)];
    if (bk == 0.0) continue;
    for (int r = k + 1; r <= lastRow_[Index(k)]; ++r) {
      b[Index(r)] = MinusProduct(b[Index(r)], lu_[At(r, k)], bk);
    }
  }
  for (int r = n; r-- > 0;) {
    Complex br = b[Index(r)];
    for (int c = r + 1; c <= lastColumn_[Index(r)]; ++c) {
      br = MinusProduct(br, lu_[At(r, c)], b[Index(c)]);
    }
    b[Index(r)] = Product(br, inversePivot_[Index(r)]);
  }
}

void ComplexLu::SolveTransposed(std::vector<Complex>& c) const {
  // A = P^T L U, so A^T y = c is U^T L^T P y = c.
  const int n = size_;
  for (int k = 0; k < n; ++k) {
    const Complex ck = Product(c[Index(k)], inversePivot_[Index(k)]);
    c[Index(k)] = ck;
    if (ck == 0.0) continue;
    for (int r = k + 1; r <= lastColumn_[Index(k)]; ++r) {
      c[Index(r)] = MinusProduct(c[Index(r)], lu_[At(k, r)], ck);
    }
  }
  for (int r = n; r-- > 0;) {
    Complex cr = c[Index(r)];
    const Complex* entry = &lu_[At(r, r)];
    for (int k = r + 1; k <= lastRow_[Index(r)]; ++k) {
      entry += n;
      cr = MinusProduct(cr, *entry, c[Index(k)]);
    }
    c[Index(r)] = cr;
  }
  for (int k = n; k-- > 0;) std::swap(c[Index(k)], c[Index(pivot_[Index(k)])]);
}

}  // namespace morvane

#pragma once

// LU factorisation with partial pivoting of a complex matrix that is zero outside a known
// pattern, as the nodal equations are, banded by their order. All the work stays within each
// row's and column's extent of nonzeros, which the elimination follows as it fills in: a
// banded matrix costs n b^2, not n^3, and no step touches a whole row.

#include <span>
#include <vector>

#include "filters/pole_zero.h"

namespace morvane {

// Where a square matrix may have nonzeros: the columns of each row, in increasing order.
struct SparsityPattern {
  std::vector<int> rowStart{0};  // row r's columns: columns[rowStart[r]] up to rowStart[r + 1]
  std::vector<int> columns;

  int Size() const { return static_cast<int>(rowStart.size()) - 1; }
  std::span<const int> Row(int r) const {
    const auto start = static_cast<std::size_t>(rowStart[static_cast<std::size_t>(r)]);
    const auto end = static_cast<std::size_t>(rowStart[static_cast<std::size_t>(r) + 1]);
    return std::span<const int>(columns).subspan(start, end - start);
  }
};

// Solves A x = b and A^T y = c after one factorisation.
class ComplexLu {
 public:
  // The size x size matrix A to factor next (row-major), all zero: fill it, then Factor.
  std::span<Complex> Matrix(int size);
  // Factors the A that Matrix gave, which is zero outside `pattern`; false when A is
  // singular. The work follows the pattern and its fill: a banded A costs n b^2.
  bool Factor(const SparsityPattern& pattern);
  void Solve(std::vector<Complex>& b) const;
  void SolveTransposed(std::vector<Complex>& c) const;

 private:
  std::size_t At(int row, int column) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(size_) +
           static_cast<std::size_t>(column);
  }
  // The extents of A's nonzeros by rows and columns, and its largest entry.
  void FindExtents(const SparsityPattern& pattern);
  // The row at or below k with the largest entry in column k.
  int LargestInColumn(int k) const;
  void SwapRows(int k, int pivot);
  // Subtracts row k's multiples from the rows below it that reach column k.
  void Eliminate(int k);

  std::vector<Complex> lu_;
  std::vector<Complex> inversePivot_;  // 1 / U(k, k)
  std::vector<int> pivot_;
  // Where the entries that may be nonzero lie: in each row (of L and U), the last of each row
  // of U and of each column of L.
  std::vector<int> firstColumn_;
  std::vector<int> lastColumn_;
  std::vector<int> lastRow_;
  double largestNorm_ = 0.0;   // of A's entries
  bool extentsKnown_ = false;  // of every nonzero of lu_, so Matrix need clear only those
  int size_ = 0;
};

}  // namespace morvane

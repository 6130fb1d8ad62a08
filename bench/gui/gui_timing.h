#pragma once

// Small helpers of the GUI timing program: medians, the resident memory of this process,
// and the table of figures it prints.

#include <QString>
#include <vector>

namespace morvane::bench {

double Median(std::vector<double> values);
double Largest(const std::vector<double>& values);
double Smallest(const std::vector<double>& values);

// User and system time this process has used so far, in ms.
double CpuMs();

// VmRSS of this process in MiB, from /proc/self/status; 0 where there is none.
double ResidentMiB();

// One line a figure: what, the value, and the aim with whether it is met.
class FigureTable {
 public:
  void Add(const QString& what, double value, const QString& unit);
  // `aim` is an upper limit in the same unit.
  void Add(const QString& what, double value, const QString& unit, double aim);
  bool AllMet() const { return allMet_; }

 private:
  bool allMet_ = true;
};

}  // namespace morvane::bench

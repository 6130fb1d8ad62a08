#include "gui_timing.h"

#include <sys/resource.h>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

namespace morvane::bench {

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

double Largest(const std::vector<double>& values) {
  return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

double Smallest(const std::vector<double>& values) {
  return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

double CpuMs() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0.0;
  const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double ResidentMiB() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) return 0.0;
  QTextStream in(&status);
  for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
    if (line.startsWith("VmRSS:"))
      return line.section(' ', 1, -1, QString::SectionSkipEmpty).section(' ', 0, 0).toDouble() /
             1024.0;
  }
  return 0.0;
}

void FigureTable::Add(const QString& what, double value, const QString& unit) {
  std::printf("%-58s %9.2f %-4s\n", qPrintable(what), value, qPrintable(unit));
  std::fflush(stdout);
}

void FigureTable::Add(const QString& what, double value, const QString& unit, double aim) {
  const bool met = value <= aim;
  allMet_ = allMet_ && met;
  std::printf("%-58s %9.2f %-4s aim <= %g %s: %s\n", qPrintable(what), value, qPrintable(unit), aim,
              qPrintable(unit), met ? "met" : "MISSED");
  std::fflush(stdout);
}

}  // namespace morvane::bench

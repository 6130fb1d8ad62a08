#pragma once

// What the sweep mode of a set of graph windows tunes: two values of the design the windows
// show (the main window's stage: fg and Q; a multi-stage filter: fg or fm, and B for a band
// filter), each with the label and limits the sweep-mode dialog shows.

#include <QString>
#include <functional>
#include <optional>

namespace morvane {
class DesignSession;
}

namespace morvane::gui {

struct SweepValue {
  QString label;  // "Q=", "B="
  double value;
  double lower;
  double upper;
};

struct SweepValues {
  SweepValue first;
  std::optional<SweepValue> second;  // none: the dialog shows one entry
};

class SweepTarget {
 public:
  virtual ~SweepTarget() = default;
  // The values now; `firstLabel` is the graph's own name for the first ("fg=", "fc=").
  virtual SweepValues Values(const QString& firstLabel) const = 0;
  // Stores tuned values in the design (the second is ignored when there is none).
  virtual void Apply(double first, double second) = 0;
};

// The main window's stage: fg and Q (D = 0.5/Q follows).
class SessionSweepTarget : public SweepTarget {
 public:
  explicit SessionSweepTarget(DesignSession& session) : session_(session) {}
  SweepValues Values(const QString& firstLabel) const override;
  void Apply(double first, double second) override;

 private:
  DesignSession& session_;
};

// A target given by two functions (the multi-stage window's entries).
class FunctionSweepTarget : public SweepTarget {
 public:
  std::function<SweepValues(const QString&)> values;
  std::function<void(double, double)> apply;

  SweepValues Values(const QString& firstLabel) const override { return values(firstLabel); }
  void Apply(double first, double second) override { apply(first, second); }
};

}  // namespace morvane::gui

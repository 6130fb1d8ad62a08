#pragma once

// Options > Search Standard Values: the best few sets of series values for the page's stage
// (other capacitors of the series within a decade, each resistor rounded down or up), each
// with its errors of f0, Q, gain and fz against the design; Apply (or a double click) builds
// the stage with the selected set.

#include <QDialog>
#include <vector>

#include "tolerance/stage_value_search.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace morvane {
class DesignSession;
}

namespace morvane::gui {

class ValueSearchDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kChoicesShown = 6;

  ValueSearchDialog(DesignSession& session, QWidget* parent = nullptr);

  // Searches for the design as it is now and lists the choices.
  void Search();
  // Builds the stage with the choice in that row; false for no such row.
  bool Apply(int row);

  const std::vector<StageValueChoice>& Choices() const { return choices_; }

 private:
  DesignSession& session_;
  std::vector<StageValueChoice> choices_;
  QTableWidget* table_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* apply_ = nullptr;
};

}  // namespace morvane::gui

#include "support/tolerance_session.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>

#include "app/main_window.h"
#include "app/secondary_windows.h"
#include "design/design_session.h"
#include "tolerance/tolerance_window.h"
#include "tolerance/value_search_dialog.h"

namespace morvane::gui::test {

ToleranceSession::ToleranceSession(MainWindow& main, SecondaryWindows& windows,
                                   DesignSession& shadow, HostileTexts& texts)
    : main_(main), windows_(windows), shadow_(shadow), texts_(texts) {}

QString ToleranceSession::Step() {
  return texts_.Pick(3) == 0 ? ValueSearchCommand() : ToleranceCommand();
}

QString ToleranceSession::ToleranceCommand() {
  if (!toleranceOpened_ || texts_.Pick(6) == 0) {
    main_.findChild<QAction*>("ToleranceAnalysis1")->trigger();
    toleranceOpened_ = true;
    return "open the tolerance window";
  }
  ToleranceWindow& t = windows_.Tolerance();
  switch (texts_.Pick(6)) {
    case 0:
      // Few runs: the analyses share the cores with the session (and its instrumented build).
      t.findChild<QSpinBox*>("ToleranceRuns")->setValue(2 + texts_.Pick(500));
      return "tolerance runs";
    case 1: {
      const char* boxes[] = {"ToleranceResistors", "ToleranceCapacitors", "ToleranceInductors",
                             "ToleranceDistribution"};
      auto* box = t.findChild<QComboBox*>(boxes[texts_.Pick(4)]);
      box->setCurrentIndex(texts_.Pick(box->count()));
      return "tolerance choice " + box->objectName();
    }
    case 2: {
      auto* use = t.findChild<QCheckBox*>("ToleranceUseMask");
      use->setChecked(texts_.Pick(3) != 0);
      auto* field = t.findChild<QLineEdit*>(QString("ToleranceMask%1").arg(1 + texts_.Pick(4)));
      field->setText(texts_.Next());
      return "tolerance mask " + field->objectName() + " = " + field->text().left(40);
    }
    case 3:
      t.findChild<QPushButton*>("ToleranceCancel")->click();
      return "tolerance cancel";
    case 4:
      t.hide();
      return "tolerance window closed";
    default:
      t.findChild<QPushButton*>("ToleranceRun")->click();
      return "tolerance run";
  }
}

QString ToleranceSession::ValueSearchCommand() {
  main_.findChild<QAction*>("ValueSearch1")->trigger();
  ValueSearchDialog& d = windows_.ValueSearch();
  if (d.Choices().empty() || texts_.Pick(2) == 0) return "value search";
  const int row = texts_.Pick(static_cast<int>(d.Choices().size()));
  const StageValueChoice choice = d.Choices()[static_cast<std::size_t>(row)];
  d.Apply(row);
  shadow_.TakeChosenValues(choice.parts, choice.level, choice.levelIsCapacitance);
  return QString("value search: set %1 applied").arg(row + 1);
}

QString ToleranceSession::Check() {
  if (!toleranceOpened_) return {};
  ToleranceWindow& t = windows_.Tolerance();
  if (t.Running()) return {};
  // The status may quote what the user typed; nothing else in it may be nan or inf.
  const QString status = t.findChild<QLabel*>("ToleranceStatus")->text();
  if (ShowsNanOrInf(QString(status).remove(QRegularExpression("\"[^\"]*\"")))) {
    return "tolerance status shows " + status.left(200);
  }
  if (ShowsNanOrInf(t.ReportText())) return "tolerance report: " + t.ReportText().left(400);
  return {};
}

}  // namespace morvane::gui::test

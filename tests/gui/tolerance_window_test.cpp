// The tolerance window and the value search in the windows: an analysis runs on a worker
// thread with its progress while the window goes on answering, Cancel stops it and keeps the
// last result, the bands appear in the open gain, phase and delay graphs and go when the
// design changes; the multi-stage window analyses the whole filter; and a set of standard
// values from the value search builds the stage.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>

#include "app/secondary_windows.h"
#include "cascade/cascade_window.h"
#include "graphs/cascade_graphs.h"
#include "graphs/graph_window.h"
#include "graphs/graph_windows.h"
#include "gui_test_support.h"
#include "numerics/standard_series.h"
#include "numerics/value_text.h"
#include "recording_desktop.h"
#include "tolerance/tolerance_window.h"
#include "tolerance/value_search_dialog.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

// Pixels of the picture in the band's inner colour.
int BandPixels(const QImage& image) {
  const QRgb inner = qRgb(170, 208, 170);
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == inner;
  }
  return count;
}

bool RunToEnd(ToleranceWindow& t) {
  QSignalSpy ended(&t, &ToleranceWindow::analysisEnded);
  t.findChild<QPushButton*>("ToleranceRun")->click();
  return ended.wait(60000);
}

}  // namespace

class ToleranceWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void analysisDrawsBandsUntilTheDesignChanges() {
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    GraphWindows* graphs = &windows.Graphs();
    graphs->ShowGain();
    graphs->ShowPhase();
    graphs->ShowGroupDelay();
    const int before = BandPixels(graphs->Window(GraphKind::Gain).Picture());
    w.Trigger("ToleranceAnalysis1");
    auto* t = w.window.findChild<ToleranceWindow*>("ToleranceWindow");
    QVERIFY(t && t->isVisible());
    // The mask starts with the order dialog's scheme.
    QCOMPARE(t->findChild<QLineEdit*>("ToleranceMask1")->text(), QString("1.00k"));
    QCOMPARE(t->findChild<QLineEdit*>("ToleranceMask2")->text(), QString("0.1"));
    t->findChild<QSpinBox*>("ToleranceRuns")->setValue(3000);
    t->findChild<QCheckBox*>("ToleranceUseMask")->setChecked(true);
    QVERIFY(RunToEnd(*t));
    QVERIFY(t->Result() && t->Result()->runs == 3000 && t->Result()->yield);
    QCOMPARE(t->findChild<QProgressBar*>("ToleranceProgress")->value(), 3000);
    QVERIFY(t->ReportText().contains("Yield against the mask"));
    QVERIFY(t->ReportText().contains("Relative sensitivities"));
    for (GraphKind kind : {GraphKind::Gain, GraphKind::Phase, GraphKind::GroupDelay}) {
      QVERIFY2(BandPixels(graphs->Window(kind).Picture()) > before + 200,
               qPrintable(QString::number(static_cast<int>(kind))));
    }
    // A new fg: the filter is another, its band goes.
    w.Type("fgEingabe", "2k");
    QCOMPARE(BandPixels(graphs->Window(GraphKind::Gain).Picture()), before);
    QVERIFY(t->findChild<QLabel*>("ToleranceStatus")->text().contains("changed"));
  }

  void cancelKeepsTheWindowAnsweringAndTheLastResult() {
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    w.Trigger("ToleranceAnalysis1");
    auto* t = w.window.findChild<ToleranceWindow*>("ToleranceWindow");
    t->findChild<QSpinBox*>("ToleranceRuns")->setValue(1000000);
    QSignalSpy ended(t, &ToleranceWindow::analysisEnded);
    t->findChild<QPushButton*>("ToleranceRun")->click();
    QVERIFY(t->Running());
    QVERIFY(!t->findChild<QPushButton*>("ToleranceRun")->isEnabled());
    // The main window answers while it runs: typing designs at once.
    w.Type("fgEingabe", "3k");
    QCOMPARE(w.window.Session().State().fg, 3000.0);
    QTRY_VERIFY_WITH_TIMEOUT(t->findChild<QProgressBar*>("ToleranceProgress")->value() > 0, 20000);
    t->findChild<QPushButton*>("ToleranceCancel")->click();
    QVERIFY(ended.wait(20000));
    QVERIFY(!t->Running());
    QVERIFY(!t->Result());
    QVERIFY(t->findChild<QLabel*>("ToleranceStatus")->text().startsWith("Cancelled"));
    QVERIFY(t->findChild<QPushButton*>("ToleranceRun")->isEnabled());
  }

  void multiStageWindowAnalysesTheWholeFilter() {
    RecordingDesktop desktop;
    CascadeWindow window(desktop);
    window.show();
    auto* action = window.findChild<QAction*>("CascadeToleranceAnalysis");
    QVERIFY(action);
    action->trigger();
    ToleranceWindow& t = window.Tolerance();
    QVERIFY(t.isVisible());
    t.findChild<QSpinBox*>("ToleranceRuns")->setValue(500);
    QVERIFY(RunToEnd(t));
    QCOMPARE(t.Result()->sections.size(), window.Design().sections.size());
    QVERIFY(t.ReportText().contains("R1_2"));
    auto* graphs = window.findChild<CascadeGraphs*>();
    QVERIFY(graphs && graphs->Source().Bands());
  }

  void valueSearchBuildsTheStageWithTheChosenSet() {
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    w.window.SelectTopology(Topology::Svf4);
    w.Trigger("ValueSearch1");
    auto* d = w.window.findChild<ValueSearchDialog*>("ValueSearchDialog");
    QVERIFY(d && d->isVisible());
    auto* table = d->findChild<QTableWidget*>("ValueSearchTable");
    QCOMPARE(table->rowCount(), ValueSearchDialog::kChoicesShown);
    QCOMPARE(static_cast<std::size_t>(table->rowCount()), d->Choices().size());
    const StageValueChoice second = d->Choices()[1];
    table->selectRow(1);
    d->findChild<QPushButton*>("ValueSearchApply")->click();
    const DesignSession& session = w.window.Session();
    QVERIFY(session.ValuesChosen());
    QCOMPARE(session.State().R1, *second.parts.R1);
    QCOMPARE(session.State().C1, *second.parts.C1);
    QCOMPARE(ReadValue(w.Field("R14Ausgabe")->text().toStdString()),
             ReadValue(FormatValue(7, 2, *second.parts.R1)));
    QVERIFY(w.Get<QLabel>("Characterisation4")->text().startsWith("As built: "));
    // The LC page has no stage: nothing to apply.
    w.window.SelectTopology(Topology::LcLadder);
    d->Search();
    QCOMPARE(table->rowCount(), 0);
    QVERIFY(!d->findChild<QPushButton*>("ValueSearchApply")->isEnabled());
  }
};

QTEST_MAIN(ToleranceWindowTest)
#include "tolerance_window_test.moc"

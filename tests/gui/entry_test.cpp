// Entries of the main window: typing, spin buttons, Make calculations and Undo, driven
// through the widgets; the session's texts are what the window shows.

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QToolButton>

#include "gui_test_support.h"

using namespace morvane;
using namespace morvane::gui::test;

class EntryTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void typingDesignsAtOnce() {
    StartedWindow w;
    w.Type(field::fgEingabe, "2k");
    QCOMPARE(w.State().fg, 2000.0);
    QCOMPARE(w.Field(field::fgEingabe)->text(), QString("2k"));
    QCOMPARE(w.Field(field::foAusgabe)->text(),
             QString::fromStdString(w.window.Session().FieldText(field::foAusgabe)));
    QVERIFY(w.Field(field::R11Ausgabe)->text() != QString(field::kUnwritten.data()));
    QVERIFY(w.MirrorsSession());
  }

  void makeCalculationsRewritesEntries_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("speed bar") << "RechenButton";
    QTest::newRow("menu") << "Rechnen1";
    QTest::newRow("OK button") << "OK";
  }

  void makeCalculationsRewritesEntries() {
    QFETCH(QString, command);
    StartedWindow w;
    w.Type(field::fgEingabe, "1,5k");
    QCOMPARE(w.Field(field::fgEingabe)->text(), QString("1,5k"));
    if (auto* action = w.window.findChild<QAction*>(command)) {
      action->trigger();
    } else {
      QTest::mouseClick(w.Get<QAbstractButton>(command), Qt::LeftButton);
    }
    QCOMPARE(w.Field(field::fgEingabe)->text(), QString("    1.50k"));
    QVERIFY(w.MirrorsSession());
  }

  void clearedFrequencyIsClampedAndShownLater() {
    StartedWindow w;
    w.Type(field::fgEingabe, "");
    QCOMPARE(w.Field(field::fgEingabe)->text(), QString());
    QCOMPARE(w.State().fg, 0.001);
    w.Trigger("Rechnen1");
    QCOMPARE(w.Field(field::fgEingabe)->text(), QString("    1.00m"));
  }

  // Each field acts on the user's edits only, so the rewrite of the other does not echo.
  void qualityAndDampingFollowEachOther() {
    StartedWindow w;
    QSignalSpy typed(&w.window, &gui::MainWindow::entryTyped);
    w.Type(field::QEingabe, "20");
    QCOMPARE(typed.count(), 2);
    QCOMPARE(w.State().Q, 20.0);
    QCOMPARE(w.State().D, 0.025);
    QCOMPARE(w.Field(field::QEingabe)->text(), QString("20"));
    QVERIFY(w.MirrorsSession());

    typed.clear();
    w.Type(field::DEingabe, "0.1");
    QCOMPARE(typed.count(), 3);
    QCOMPARE(w.State().D, 0.1);
    QCOMPARE(w.State().Q, 5.0);
    QCOMPARE(w.Field(field::DEingabe)->text(), QString("0.1"));
    QVERIFY(w.MirrorsSession());
  }

  void frequencySpin_data() {
    QTest::addColumn<double>("sweep");
    QTest::addColumn<double>("start");
    QTest::addColumn<QString>("clicks");  // u up, d down
    QTest::addColumn<QList<double>>("values");
    QTest::newRow("1.02 up") << 1.02 << 1000.0 << "uu" << QList<double>{1020, 1070};
    QTest::newRow("1.02 down") << 1.02 << 1070.0 << "ddd" << QList<double>{1020, 1000, 980};
    QTest::newRow("2 up") << 2.0 << 1000.0 << "uu" << QList<double>{2000, 4000};
    QTest::newRow("2 down") << 2.0 << 1000.0 << "d" << QList<double>{500};
  }

  void frequencySpin() {
    QFETCH(double, sweep);
    QFETCH(double, start);
    QFETCH(QString, clicks);
    QFETCH(QList<double>, values);
    StartedWindow w;
    w.window.Session().MutableState().Sweep = sweep;
    w.Type(field::fgEingabe, QString::number(start));
    for (qsizetype i = 0; i < clicks.size(); ++i) {
      const QString button = clicks[i] == 'u' ? "SpinButtonfgUp" : "SpinButtonfgDown";
      QTest::mouseClick(w.Get<QToolButton>(button), Qt::LeftButton);
      QCOMPARE(w.State().fg, values[i]);
    }
    QVERIFY(w.MirrorsSession());
  }

  void impedanceSpinFollowsTheSweepBand_data() {
    QTest::addColumn<double>("sweep");
    QTest::addColumn<bool>("up");
    QTest::addColumn<double>("expected");
    QTest::newRow("E96 up") << 1.01 << true << 1020.0;
    QTest::newRow("E96 down") << 1.01 << false << 976.0;
    QTest::newRow("E48 up") << 1.02 << true << 1050.0;
    QTest::newRow("E48 down") << 1.02 << false << 953.0;
    QTest::newRow("E6 up") << 1.2 << true << 1500.0;
    QTest::newRow("E6 down") << 1.2 << false << 680.0;
    QTest::newRow("factor up") << 1.005 << true << 1005.0;
  }

  void impedanceSpinFollowsTheSweepBand() {
    QFETCH(double, sweep);
    QFETCH(bool, up);
    QFETCH(double, expected);
    StartedWindow w;
    w.window.Session().MutableState().Sweep = sweep;
    QCOMPARE(w.State().Zin, 1000.0);
    QTest::mouseClick(w.Get<QToolButton>(up ? "SpinButtonZinUp" : "SpinButtonZinDown"),
                      Qt::LeftButton);
    QCOMPARE(w.State().Zin, expected);
    QVERIFY(w.MirrorsSession());
  }

  void gainLimitFollowsTheTopology_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<double>("gain");
    QTest::newRow("MFB keeps 0.5") << 0 << 0.5;
    QTest::newRow("PFB starts at 1") << 1 << 1.0;
  }

  void gainLimitFollowsTheTopology() {
    QFETCH(int, tab);
    QFETCH(double, gain);
    StartedWindow w;
    w.Get<QTabBar>("TabSet1")->setCurrentIndex(tab);
    w.Type(field::VuEingabe, "0.5");
    QCOMPARE(w.State().Vu, gain);
    QCOMPARE(w.Field(field::VuEingabe)->text(), QString("0.5"));  // the field keeps its text
  }

  void ladderLoadEntrySetsTheLoadOnly() {
    StartedWindow w;
    w.Trigger("PassivesLCFilter1");
    const double damping = w.State().D;
    w.Type(field::DEingabe, "2k");
    QCOMPARE(w.State().RL, 2000.0);
    QCOMPARE(w.State().D, damping);
    QVERIFY(w.MirrorsSession());
  }

  // Undo restores the text before the last edit, and the session reads it exactly once.
  void undoIsOneUserEdit_data() {
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("menu item") << true;
    QTest::newRow("Ctrl+Z in the field") << false;
  }

  void undoIsOneUserEdit() {
    QFETCH(bool, byMenu);
    StartedWindow w;
    const QString before = w.Field(field::fgEingabe)->text();
    w.Type(field::fgEingabe, "2k");
    QCOMPARE(w.State().fg, 2000.0);
    QSignalSpy typed(&w.window, &gui::MainWindow::entryTyped);
    if (byMenu) {
      w.Trigger("Undo1");
    } else {
      QTest::keyClick(w.Field(field::fgEingabe), Qt::Key_Z, Qt::ControlModifier);
    }
    QCOMPARE(typed.count(), 1);
    QCOMPARE(w.Field(field::fgEingabe)->text(), before);
    QCOMPARE(w.State().fg, 1000.0);
    QVERIFY(w.MirrorsSession());
  }

  void undoWithoutAnEntryDoesNothing() {
    StartedWindow w;
    w.Get<QToolButton>("SpinButtonfgUp")->setFocus();
    QSignalSpy typed(&w.window, &gui::MainWindow::entryTyped);
    w.Trigger("Undo1");
    QCOMPARE(typed.count(), 0);
  }

  void checkBoxReachesTheDesign() {
    StartedWindow w;
    auto* box = w.Get<QCheckBox>("CCheckBox1");
    QVERIFY(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(!w.window.Session().Choices().mfbEqualCapacitors);
    QVERIFY(w.MirrorsSession());
  }

  void ladderOrderScrollBar() {
    StartedWindow w;
    w.Trigger("PassivesLCFilter1");
    auto* order = w.Get<QScrollBar>("ScrollBar1");
    QCOMPARE(order->value(), w.State().LCOrder);
    order->setValue(7);
    QCOMPARE(w.State().LCOrder, 7);
    QCOMPARE(w.Field(field::NLCAusgabe)->text(), QString("  7"));
    auto* elements = w.Get<gui::AlignedGrid>("StringAlignGridLC");
    const Grid& cells = w.window.Session().GridCells(field::StringAlignGridLC);
    for (int row = 0; row < elements->rowCount(); ++row) {
      for (int column = 0; column < elements->columnCount(); ++column) {
        QCOMPARE(elements->Cell(column, row), QString::fromStdString(cells[row][column]));
      }
    }
  }
};

QTEST_MAIN(EntryTest)
#include "entry_test.moc"

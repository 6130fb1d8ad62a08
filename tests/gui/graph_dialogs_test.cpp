// The small dialogs of the graphs on their own: the axis-scale dialog's limits, beep and
// spin steps, the sweep factor dialog's range, the sweep-mode dialog's entries.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "graph_test_support.h"
#include "graphs/axis_scale_dialog.h"
#include "graphs/sweep_factor_dialog.h"
#include "graphs/sweep_mode_dialog.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

void Type(QDialog& dialog, const char* field, const QString& text) {
  auto* edit = Child<QLineEdit>(dialog, field);
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

void Press(QDialog& dialog, const char* button) {
  Child<QAbstractButton>(dialog, button)->click();
}

QString Shown(QDialog& dialog, const char* field) {
  return Child<QLineEdit>(dialog, field)->text();
}

}  // namespace

class GraphDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  // Typing beeps for a value outside the limits and holds it there; OK takes the value.
  void axisScaleHoldsTypedValuesWithinLimits_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("beeps");
    QTest::newRow("inside") << "40" << 40.0 << 0;
    QTest::newRow("prefix letter") << "0.5k" << 500.0 << 0;
    QTest::newRow("comma") << "2,5" << 2.5 << 0;
    QTest::newRow("above") << "9000" << 1000.0 << 1;  // "9000" is the first beyond
    QTest::newRow("below") << "-5" << -1.0 << 1;      // "-" reads 0, "-5" is beyond
    QTest::newRow("unreadable") << "x" << 0.0 << 0;
  }

  void axisScaleHoldsTypedValuesWithinLimits() {
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(int, beeps);
    RecordingPlatform platform;
    AxisScaleDialog dialog(platform);
    dialog.Prepare("ymax=", 20, -1, 1000);
    dialog.show();
    Type(dialog, "Edit", typed);
    QCOMPARE(platform.beeps, beeps);
    Press(dialog, "OKBtn");
    QCOMPARE(dialog.Value(), value);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void axisScaleShowsAndCancelRestores() {
    RecordingPlatform platform;
    AxisScaleDialog dialog(platform);
    dialog.Prepare("xmax=", 100000, 0, 1e6);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString("Axis Scale"));
    QCOMPARE(Child<QLabel>(dialog, "NamenLabel")->text(), QString("xmax="));
    QCOMPARE(Shown(dialog, "Edit"), QString("  100.00k"));
    Type(dialog, "Edit", "5k");
    Press(dialog, "SpinButtonUp");
    Press(dialog, "CancelBtn");
    QCOMPARE(dialog.Value(), 100000.0);
    QCOMPARE(Shown(dialog, "Edit"), QString("  100.00k"));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  // About one percent a step, to two significant digits; from 0 a thousandth of the range.
  void axisScaleSpins_data() {
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<bool>("up");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("up") << 123.0 << 0.0 << 1e6 << true << 130.0 << "  130.00";
    QTest::newRow("down") << 123.0 << 0.0 << 1e6 << false << 120.0 << "  120.00";
    QTest::newRow("up small") << 0.0123 << 0.0 << 1.0 << true << 0.013 << "   13.0m";
    // Negative ends step the other way round: down lowers, up raises.
    QTest::newRow("down negative") << -55.0 << -1000.0 << 1000.0 << false << -56.0 << "  -56.00";
    QTest::newRow("up negative") << -60.0 << -1000.0 << 1000.0 << true << -59.0 << "  -59.00";
    QTest::newRow("up from 0") << 0.0 << 0.0 << 5e6 << true << 5000.0 << "    5.0k";
    // 0.001 upper = 5000 floored to one digit.
    QTest::newRow("down from 0") << 0.0 << 0.0 << 5e6 << false << 4000.0 << "    4.0k";
    QTest::newRow("down from 0, negative range")
        << 0.0 << -5000.0 << 5000.0 << false << -4.0 << "   -4.00";
  }

  void axisScaleSpins() {
    QFETCH(double, start);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(bool, up);
    QFETCH(double, value);
    QFETCH(QString, text);
    RecordingPlatform platform;
    AxisScaleDialog dialog(platform);
    dialog.Prepare("ymin=", start, lower, upper);
    dialog.show();
    Press(dialog, up ? "SpinButtonUp" : "SpinButtonDown");
    QCOMPARE(dialog.Value(), value);
    QCOMPARE(Shown(dialog, "Edit"), text);
    QCOMPARE(platform.beeps, 0);
  }

  void axisScaleSpinningPastALimitIsHeldByOk() {
    RecordingPlatform platform;
    AxisScaleDialog dialog(platform);
    dialog.Prepare("ymax=", 1000, -1000, 1000);
    dialog.show();
    Press(dialog, "SpinButtonUp");
    QCOMPARE(dialog.Value(), 1100.0);
    Press(dialog, "OKBtn");
    QCOMPARE(dialog.Value(), 1000.0);
  }

  void sweepFactorIsHeldWithinItsRange_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("sweep");
    QTest::addColumn<QString>("shownAfter");
    QTest::newRow("20") << "20" << 10.0 << "  10.0000";
    QTest::newRow("1") << "1" << 1.0001 << "   1.0000";
    QTest::newRow("0 (unreadable)") << "abc" << 1.0001 << "   1.0000";
    QTest::newRow("1.5 as typed") << "1.5" << 1.5 << "1.5";
    QTest::newRow("comma") << "1,1" << 1.1 << "1,1";
  }

  void sweepFactorIsHeldWithinItsRange() {
    QFETCH(QString, typed);
    QFETCH(double, sweep);
    QFETCH(QString, shownAfter);
    GraphFixture f;
    QCOMPARE(Shown(f.graphs.SweepFactor(), "SweepEingabe"), QString("  1.05"));
    QCOMPARE(f.State().Sweep, 1.02);
    WhenModal([&](QDialog& d) {
      QCOMPARE(d.windowTitle(), QString("Sweep Factor"));
      Type(d, "SweepEingabe", typed);
      Press(d, "OKBtn");
    });
    QVERIFY(f.graphs.Open(SecondaryWindow::SweepFactor));
    QCOMPARE(f.State().Sweep, sweep);
    QCOMPARE(Shown(f.graphs.SweepFactor(), "SweepEingabe"), shownAfter);
  }

  void sweepFactorCancelShowsTheFactorInForce() {
    GraphFixture f;
    WhenModal([&](QDialog& d) {
      Type(d, "SweepEingabe", "3");
      Press(d, "CancelBtn");
    });
    f.graphs.ShowSweepFactorDialog();
    QCOMPARE(f.State().Sweep, 1.02);
    QCOMPARE(Shown(f.graphs.SweepFactor(), "SweepEingabe"), QString("   1.0200"));
  }

  void sweepModeTypingBeepsAndHolds_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("x1");
    QTest::addColumn<double>("x2");
    QTest::addColumn<int>("beeps");
    QTest::newRow("fg inside") << "x1Eingabe"
                               << "2k" << 2000.0 << 0.7071 << 0;
    QTest::newRow("fg above") << "x1Eingabe"
                              << "20G" << 1e10 << 0.7071 << 1;
    QTest::newRow("Q zero") << "x2Eingabe"
                            << "0" << 1000.0 << 0.05 << 1;
    QTest::newRow("Q above") << "x2Eingabe"
                             << "5000" << 1000.0 << 1000.0 << 1;
  }

  void sweepModeTypingBeepsAndHolds() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(double, x1);
    QFETCH(double, x2);
    QFETCH(int, beeps);
    RecordingPlatform platform;
    SweepModeDialog dialog(platform);
    dialog.Prepare(GraphKind::Phase, "fg=", 1000, 0.7071);
    dialog.show();
    Type(dialog, qPrintable(field), typed);
    QCOMPARE(platform.beeps, beeps);
    Press(dialog, "OKBtn");
    QCOMPARE(dialog.X1(), x1);
    QCOMPARE(dialog.X2(), x2);
  }

  // Spin steps by the factor 1.05 to round values; no limits while spinning.
  void sweepModeSpins_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<double>("x1");
    QTest::addColumn<double>("x2");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("fg up") << "SpinButton1Up" << 1050.0 << 0.7071 << "x1Eingabe"
                           << "    1.05k";
    QTest::newRow("fg down") << "SpinButton1Down" << 950.0 << 0.7071 << "x1Eingabe"
                             << "  950.000";
    QTest::newRow("Q up") << "SpinButton2Up" << 1000.0 << 0.7571 << "x2Eingabe"
                          << "  757.10m";
  }

  void sweepModeSpins() {
    QFETCH(QString, button);
    QFETCH(double, x1);
    QFETCH(double, x2);
    QFETCH(QString, field);
    QFETCH(QString, text);
    RecordingPlatform platform;
    SweepModeDialog dialog(platform);
    dialog.Prepare(GraphKind::Gain, "fg=", 1000, 0.7071);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString("Sweep Mode"));
    QCOMPARE(Shown(dialog, "x1Eingabe"), QString("    1.00k"));
    Press(dialog, qPrintable(button));
    QCOMPARE(Shown(dialog, qPrintable(field)), text);
    Press(dialog, "OKBtn");
    QCOMPARE(dialog.X1(), x1);
    QCOMPARE(dialog.X2(), x2);
  }

  void sweepModeSpinningBelowTheLimitIsHeldByDraw() {
    RecordingPlatform platform;
    SweepModeDialog dialog(platform);
    dialog.Prepare(GraphKind::GroupDelay, "fg=", 1000, 0.05);
    dialog.show();
    QList<QList<QVariant>> draws;
    connect(&dialog, &SweepModeDialog::drawRequested, this,
            [&](GraphKind target, double x1, double x2) {
              draws.append({int(target), x1, x2});
            });
    Press(dialog, "SpinButton2Down");
    QVERIFY(dialog.X2() < 0.05);
    Press(dialog, "ZeichenBtn");
    QCOMPARE(draws.size(), 1);
    QCOMPARE(draws[0][0].toInt(), int(GraphKind::GroupDelay));
    QCOMPARE(draws[0][2].toDouble(), 0.05);
    QCOMPARE(Shown(dialog, "x2Eingabe"), QString("   50.00m"));
    QVERIFY(dialog.isVisible());
  }
};

QTEST_MAIN(GraphDialogsTest)
#include "graph_dialogs_test.moc"

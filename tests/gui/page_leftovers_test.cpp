// What a page shows is its own: the type a page cannot design gives way to its first, the
// entries of one page survive the designs of the others, the LC pages' readouts, panels and
// time graphs come from their own circuits, readout phases lie in (-180°, 180°], the ladder's
// faults while typing go to the status line, and the diplexer's values carry their units.

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidgetItem>
#include <cmath>
#include <numbers>

#include "app/stage_pages.h"
#include "app/window_look.h"
#include "gui_test_support.h"
#include "numerics/value_text.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double Shown(StartedWindow& w, std::string_view field) {
  return ReadValue(w.Field(field)->text().toStdString());
}

// Group delay at f = fg of a Butterworth lowpass of order n with -3 dB frequency fg, from its
// factors 1 + a p + p^2 (and 1 + p for odd n): each pair gives 2/a, the real pole 1/2, over
// 2 pi fg.
double ButterworthDelayAtCutOff(int n, double fg) {
  double sum = n % 2 == 1 ? 0.5 : 0.0;
  for (int k = 1; k <= n / 2; ++k) {
    const double a = 2.0 * std::sin((2.0 * k - 1.0) * std::numbers::pi / (2.0 * n));
    sum += 2.0 / a;
  }
  return sum / (kTwoPi * fg);
}

}  // namespace

Q_DECLARE_METATYPE(Topology)

class PageLeftoversTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  // ---- a page shows its own type and results ---------------------------------------------

  void unofferedTypeGivesWayToFirst_data() {
    QTest::addColumn<Topology>("from");
    QTest::addColumn<QString>("typeItem");
    QTest::addColumn<Topology>("to");
    QTest::addRow("PFB bandstop to MFB") << Topology::Pfb << "Bandsperre1" << Topology::Mfb;
    QTest::addRow("PFB allpass to SVF3") << Topology::Pfb << "Allpass1" << Topology::Svf3;
    QTest::addRow("PFB elliptic to Fliege")
        << Topology::Pfb << "ElliptischerTiefpass1" << Topology::Fliege;
    QTest::addRow("MFB bandpass to LC") << Topology::Mfb << "Bandpass1" << Topology::LcLadder;
    QTest::addRow("SVF4 bandstop to diplexer")
        << Topology::Svf4 << "Bandsperre1" << Topology::Diplexer;
  }

  void unofferedTypeGivesWayToFirst() {
    QFETCH(Topology, from);
    QFETCH(QString, typeItem);
    QFETCH(Topology, to);
    StartedWindow w;
    w.window.SelectTopology(from);
    w.Trigger(typeItem);
    w.window.SelectTopology(to);
    QCOMPARE(w.window.Session().Type(), FilterType::Lowpass);
    QVERIFY(w.Get<QRadioButton>("TPRadioButton")->isChecked());
    QVERIFY(w.Get<QAction>("Tiefpass1")->isChecked());
    QCOMPARE(w.Get<QButtonGroup>("FilterTypeButtons")->checkedId(),
             static_cast<int>(FilterType::Lowpass));
    // No "Bandwidth B" beside a lowpass, and no beep for a type nobody chose here.
    QCOMPARE(w.Get<QLabel>("Labelfo")->text(), QString("Resonance Frequency fo"));
    QCOMPARE(w.services.beeps, 0);
    if (to == Topology::Mfb) {
      QCOMPARE(w.Get<QLabel>("Image1")->property(kPictureNameProperty).toString(),
               QString("mfbtp"));
    }
    QVERIFY(w.MirrorsSession());
  }

  void pageEntriesSurviveOtherPagesDesigns_data() {
    QTest::addColumn<Topology>("owner");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addRow("PFB R3") << Topology::Pfb << "R32Eingabe"
                            << "10k" << 10e3;
    QTest::addRow("SVF3 C") << Topology::Svf3 << "C12Eingabe3"
                            << "47n" << 47e-9;
    QTest::addRow("Fliege C") << Topology::Fliege << "C12Eingabe5"
                              << "2.2n" << 2.2e-9;
  }

  void pageEntriesSurviveOtherPagesDesigns() {
    QFETCH(Topology, owner);
    QFETCH(QString, entry);
    QFETCH(QString, typed);
    QFETCH(double, value);
    StartedWindow w;
    w.window.SelectTopology(owner);
    // The entry in force: R3 as typed, not the offset compensation's; the page's own
    // capacitance, not one of the series.
    const QString box = owner == Topology::Pfb    ? "RCheckBox2"
                        : owner == Topology::Svf3 ? "CCheckBox3"
                                                  : "CCheckBox5";
    QTest::mouseClick(w.Get<QCheckBox>(box), Qt::LeftButton);
    QVERIFY(!w.Get<QCheckBox>(box)->isChecked());
    w.Type(entry.toStdString(), typed);
    w.window.SelectTopology(Topology::Mfb);
    QTest::mouseClick(w.Get<QPushButton>("OK"), Qt::LeftButton);  // every entry rewritten
    w.window.SelectTopology(owner);
    QTest::mouseClick(w.Get<QPushButton>("OK"), Qt::LeftButton);
    QVERIFY(std::fabs(Shown(w, entry.toStdString()) - value) <= 1e-6 * value);
    QVERIFY(w.MirrorsSession());
  }

  // ---- the LC pages' own figures ---------------------------------------------------------

  void lcReadoutAndPanelAreThePagesOwn_data() {
    QTest::addColumn<Topology>("page");
    QTest::addColumn<int>("order");
    QTest::addRow("ladder 4") << Topology::LcLadder << 4;
    QTest::addRow("ladder 3") << Topology::LcLadder << 3;
    QTest::addRow("diplexer 3") << Topology::Diplexer << 3;
    QTest::addRow("diplexer 5") << Topology::Diplexer << 5;
  }

  void lcReadoutAndPanelAreThePagesOwn() {
    QFETCH(Topology, page);
    QFETCH(int, order);
    StartedWindow w;
    w.Type(field::QEingabe, "3");  // second-order figures of an MFB stage that must not stay
    w.window.SelectTopology(page);
    if (page == Topology::LcLadder) {
      w.Get<QScrollBar>("ScrollBar1")->setValue(order);
    } else {
      QTest::mouseClick(w.Get<QRadioButton>(order == 3 ? "RadioButton3Ord" : "RadioButton5Ord"),
                        Qt::LeftButton);
    }
    // fc = f = 1 kHz, Zin = ZL = 1 kOhm: a Butterworth response (each diplexer branch one,
    // from its singly terminated prototype) at its -3 dB frequency.
    const double expected = ButterworthDelayAtCutOff(order, 1000.0);
    QVERIFY2(std::fabs(w.State().tgrf - expected) <= 2e-3 * expected,
             qPrintable(QString("tgr(f) %1, expected %2").arg(w.State().tgrf).arg(expected)));
    QVERIFY(std::fabs(Shown(w, field::tgrfAusgabe) - expected) <= 5e-3 * expected);
    QVERIFY(std::fabs(Shown(w, field::VufdBAusgabe) + 3.0103) <= 0.01);
    // The panel's second-order figures do not belong to a passive network.
    for (auto name : {field::BrAusgabe, field::tgrAusgabe, field::trAusgabe, field::OSAusgabe}) {
      QCOMPARE(w.Field(name)->text().trimmed(), QString("-"));
    }
    for (const char* button : {"tgrBtn", "htBtn", "VdbBtn", "PhiBtn"}) {
      QVERIFY2(w.Get(button)->isEnabled(), button);
    }
    QVERIFY(!w.Get("InfoBtn")->isEnabled());
    QVERIFY(w.MirrorsSession());
  }

  // ---- phases in readouts ------------------------------------------------------------------

  void readoutPhaseIsWrapped_data() {
    QTest::addColumn<Topology>("page");
    QTest::addColumn<QString>("typeItem");
    QTest::addColumn<int>("order");
    QTest::addColumn<double>("phase");
    // A Butterworth response of order n at its -3 dB frequency: -45° n for the lowpass,
    // +45° n for the highpass, wrapped.
    QTest::addRow("ladder lowpass 3") << Topology::LcLadder << "Tiefpass1" << 3 << -135.0;
    QTest::addRow("ladder lowpass 5") << Topology::LcLadder << "Tiefpass1" << 5 << 135.0;
    QTest::addRow("ladder lowpass 7") << Topology::LcLadder << "Tiefpass1" << 7 << 45.0;
    QTest::addRow("ladder highpass 3") << Topology::LcLadder << "Hochpass1" << 3 << 135.0;
    QTest::addRow("ladder highpass 5") << Topology::LcLadder << "Hochpass1" << 5 << -135.0;
    QTest::addRow("diplexer lowpass 3") << Topology::Diplexer << "Tiefpass1" << 3 << -135.0;
    QTest::addRow("diplexer highpass 5") << Topology::Diplexer << "Hochpass1" << 5 << -135.0;
  }

  void readoutPhaseIsWrapped() {
    QFETCH(Topology, page);
    QFETCH(QString, typeItem);
    QFETCH(int, order);
    QFETCH(double, phase);
    StartedWindow w;
    w.window.SelectTopology(page);
    w.Trigger(typeItem);
    if (page == Topology::LcLadder) {
      w.Get<QScrollBar>("ScrollBar1")->setValue(order);
    } else {
      QTest::mouseClick(w.Get<QRadioButton>(order == 3 ? "RadioButton3Ord" : "RadioButton5Ord"),
                        Qt::LeftButton);
    }
    const double shown = Shown(w, field::PhifAusgabe);
    QVERIFY2(std::fabs(shown - phase) <= 0.02, qPrintable(QString::number(shown)));
    QVERIFY(shown > -180.0 && shown <= 180.0);
  }

  // ---- no box while typing -----------------------------------------------------------------

  void ladderFaultWhileTypingGoesToStatusLine() {
    StartedWindow w;
    w.window.SelectTopology(Topology::LcLadder);
    QTest::mouseClick(w.Get<QRadioButton>("RadioButtonTscheb"), Qt::LeftButton);
    QCOMPARE(w.State().LCOrder, 4);  // even, and ZL = Zin
    // The click is an explicit action: its box comes once.
    QTRY_COMPARE(w.services.messages.size(), 1);
    w.services.messages.clear();
    w.Type(field::fgEingabe, "2500");
    QTest::qWait(50);  // a queued box would show now
    QCOMPARE(w.services.messages, QStringList());
    QCOMPARE(w.Field(field::fgEingabe)->text(), QString("2500"));  // no keystroke swallowed
    auto* notice = w.Get<QLabel>("NoticeLabel");
    QVERIFY(notice->isVisible());
    QVERIFY2(notice->toolTip().contains("even n"), qPrintable(notice->toolTip()));
    // An odd order clears it.
    w.Get<QScrollBar>("ScrollBar1")->setValue(5);
    QVERIFY(!notice->isVisible());
    QCOMPARE(w.services.messages, QStringList());
  }

  // ---- the diplexer's values ---------------------------------------------------------------

  void diplexerValuesCarryUnits_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("value");
    // Butterworth 3, 1 kHz, 1 kOhm: g = 1.5, 1.33333, 0.5 over 2 pi fg (times R for an L,
    // over R for a C); the highpass branch takes 1 / g.
    QTest::addRow("LP L1") << "StringAlignGridDiplexTP" << 1 << "238.73mH";
    QTest::addRow("LP C2") << "StringAlignGridDiplexTP" << 2 << "212.21nF";
    QTest::addRow("LP L3") << "StringAlignGridDiplexTP" << 3 << "79.58mH";
    QTest::addRow("HP C1") << "StringAlignGridDiplexHP" << 1 << "106.10nF";
    QTest::addRow("HP L2") << "StringAlignGridDiplexHP" << 2 << "119.37mH";
  }

  void diplexerValuesCarryUnits() {
    QFETCH(QString, grid);
    QFETCH(int, row);
    QFETCH(QString, value);
    StartedWindow w;
    w.window.SelectTopology(Topology::Diplexer);
    QCOMPARE(w.Get<AlignedGrid>(grid)->Cell(1, row).trimmed(), value);
  }

  void diplexerValueOutOfRangeIsMarked() {
    StartedWindow w;
    w.window.SelectTopology(Topology::Diplexer);
    auto* grid = w.Get<AlignedGrid>("StringAlignGridDiplexTP");
    QTableWidgetItem* l1 = grid->item(1, 1);
    w.Type(field::fgEingabe, "1m");
    QVERIFY2(l1->text().trimmed().endsWith("kH"), qPrintable(l1->text()));
    QCOMPARE(l1->background().color(), kAmber);
    w.Type(field::fgEingabe, "1k");
    QVERIFY(l1->background().color() != kAmber);
  }
};

QTEST_MAIN(PageLeftoversTest)
#include "page_leftovers_test.moc"

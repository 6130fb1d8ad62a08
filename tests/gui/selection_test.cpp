// Topology, filter type and standard series switched from tabs, menus and radio buttons:
// pages, check marks, enabled controls, visible input rows, captions and pictures.

#include <QActionGroup>
#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>

#include "app/stage_pages.h"
#include "design/selection_rules.h"
#include "gui_test_support.h"
#include "numerics/standard_series.h"

using namespace morvane;
using namespace morvane::gui::test;
using morvane::gui::SecondaryWindow;

namespace {

const char* const kTopologyItems[] = {"MFBinv1",    "PFBninv1",          "SVF3OP1",    "SVF4OP1",
                                      "Fliege2OP1", "PassivesLCFilter1", "LCDiplexer1"};

struct TypeControls {
  FilterType type;
  const char* radio;
  const char* item;
};

const TypeControls kTypes[] = {
    {FilterType::Lowpass, "TPRadioButton", "Tiefpass1"},
    {FilterType::Highpass, "HPRadioButton", "Hochpass1"},
    {FilterType::Bandpass, "BPRadioButton", "Bandpass1"},
    {FilterType::Bandstop, "BSRadioButton", "Bandsperre1"},
    {FilterType::Allpass, "APRadioButton", "Allpass1"},
    {FilterType::EllipticLowpass, "ellTPRadioButton", "ElliptischerTiefpass1"},
};

QStringList Checked(const QActionGroup* group) {
  QStringList names;
  for (const QAction* action : group->actions()) {
    if (action->isChecked()) names << action->objectName();
  }
  return names;
}

}  // namespace

Q_DECLARE_METATYPE(Topology)
Q_DECLARE_METATYPE(FilterType)
Q_DECLARE_METATYPE(SecondaryWindow)

class SelectionTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void topologyFromTabOrMenu_data() {
    QTest::addColumn<int>("topology");
    QTest::addColumn<bool>("byMenu");
    for (int t = 1; t <= 7; ++t) {
      QTest::addRow("tab %d", t) << t << false;
      QTest::addRow("menu %d", t) << t << true;
    }
  }

  void topologyFromTabOrMenu() {
    QFETCH(int, topology);
    QFETCH(bool, byMenu);
    StartedWindow w;
    // Start elsewhere, so that every row switches.
    w.Trigger(topology == 3 ? "SVF4OP1" : "SVF3OP1");
    if (byMenu) {
      w.Trigger(kTopologyItems[topology - 1]);
    } else {
      QTest::mouseClick(w.Get<QTabBar>("TabSet1"), Qt::LeftButton, {},
                        w.Get<QTabBar>("TabSet1")->tabRect(topology - 1).center());
    }
    QCOMPARE(static_cast<int>(w.State().topology), topology);
    QCOMPARE(w.Get<QStackedWidget>("Notebook1")->currentIndex(), topology - 1);
    QCOMPARE(w.Get<QTabBar>("TabSet1")->currentIndex(), topology - 1);
    QCOMPARE(Checked(w.Get<QActionGroup>("TopologyMenuGroup")),
             QStringList{kTopologyItems[topology - 1]});
    QVERIFY(w.MirrorsSession());
  }

  void inputRowsFollowTheTopology_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("chebyshev");
    QTest::addColumn<QString>("visible");  // Q, gain, damping, load unit
    QTest::addColumn<QString>("gainCaption");
    QTest::addColumn<QString>("gainUnit");
    QTest::addColumn<QString>("dampingCaption");
    QTest::newRow("MFB") << "MFBinv1" << false << "QVD-"
                         << "Gain |Vo|"
                         << " "
                         << "Damping D=1/2Q";
    QTest::newRow("LC Butterworth") << "PassivesLCFilter1" << false << "--DL"
                                    << "Gain |Vo|"
                                    << " "
                                    << "Load Impedance ZL";
    // Entering the page writes "Riple"; the approximation buttons write "Ripple".
    QTest::newRow("LC Chebyshev") << "PassivesLCFilter1" << true << "-VDL"
                                  << "Riple"
                                  << "dB"
                                  << "Load Impedance ZL";
    QTest::newRow("diplexer") << "LCDiplexer1" << true << "----"
                              << "Gain |Vo|"
                              << " "
                              << "Damping D=1/2Q";
    QTest::newRow("back to SVF 4") << "SVF4OP1" << true << "QVD-"
                                   << "Gain |Vo|"
                                   << " "
                                   << "Damping D=1/2Q";
  }

  // Options > Round Resistors: every resistor field of the page a series value, the page's
  // characterisation line telling the stage as built (with its own text as the hint), and
  // back to the computed values and the line's own text when cleared.
  void roundResistorsShowsTheStageAsBuilt() {
    StartedWindow w;
    w.window.SelectTopology(Topology::Svf4);
    auto* line = w.Get<QLabel>("Characterisation4");
    const QString own = line->text();
    const QString r1 = w.Get<QLineEdit>("R14Ausgabe")->text();
    QAction* rounding = w.Get<QAction>("RoundResistors1");
    QVERIFY(rounding->isCheckable() && !rounding->isChecked());
    rounding->trigger();
    const DesignState& s = w.window.Session().State();
    for (double r : {s.R0, s.R1, s.R2, s.R4, s.R5}) {
      QCOMPARE(NearestSeriesValue(s.ESeriesR, r), r);
    }
    QVERIFY(w.Get<QLineEdit>("R14Ausgabe")->text() != r1);
    QVERIFY2(line->text().startsWith("As built: f0 "), qPrintable(line->text()));
    QCOMPARE(line->toolTip(), own);
    w.window.SelectTopology(Topology::LcLadder);  // no stage: every line its own text
    QCOMPARE(line->text(), own);
    w.window.SelectTopology(Topology::Svf4);
    QVERIFY(line->text().startsWith("As built: "));
    rounding->trigger();
    QCOMPARE(line->text(), own);
    QCOMPARE(w.Get<QLineEdit>("R14Ausgabe")->text(), r1);
  }

  void inputRowsFollowTheTopology() {
    QFETCH(QString, item);
    QFETCH(bool, chebyshev);
    QFETCH(QString, visible);
    QFETCH(QString, gainCaption);
    QFETCH(QString, gainUnit);
    QFETCH(QString, dampingCaption);
    StartedWindow w;
    if (chebyshev) {
      // The approximation is chosen on the LC page and stays when the page is left.
      w.Trigger("PassivesLCFilter1");
      QTest::mouseClick(w.Get<QRadioButton>("RadioButtonTscheb"), Qt::LeftButton);
      w.Trigger("LCDiplexer1");
    }
    w.Trigger(item);
    auto shown = [&](const char* name) { return w.Get(name)->isVisibleTo(&w.window); };
    const QString rows = QString(shown("QEingabe") ? "Q" : "-") + (shown("VuEingabe") ? "V" : "-") +
                         (shown("DEingabe") ? "D" : "-") + (shown("LabelRLEinheit") ? "L" : "-");
    QCOMPARE(rows, visible);
    QCOMPARE(shown("LabelQ"), shown("QEingabe"));
    QCOMPARE(shown("SpinButtonQ"), shown("QEingabe"));
    QCOMPARE(shown("LabelVu"), shown("VuEingabe"));
    QCOMPARE(shown("SpinButtonVu"), shown("VuEingabe"));
    QCOMPARE(shown("LabelWellEinheit"), shown("VuEingabe"));
    QCOMPARE(shown("SpinButtonD"), shown("DEingabe"));
    QVERIFY(shown("fgEingabe") && shown("ZinEingabe"));
    if (shown("VuEingabe")) {
      QCOMPARE(w.Get<QLabel>("LabelVu")->text(), gainCaption);
      QCOMPARE(w.Get<QLabel>("LabelWellEinheit")->text(), gainUnit);
    }
    if (shown("DEingabe")) QCOMPARE(w.Get<QLabel>("LabelD_RL")->text(), dampingCaption);
    QVERIFY(w.MirrorsSession());
  }

  void ladderApproximationSwitchesTheRippleRow() {
    StartedWindow w;
    w.Trigger("PassivesLCFilter1");
    QVERIFY(!w.Get("VuEingabe")->isVisibleTo(&w.window));
    QTest::mouseClick(w.Get<QRadioButton>("RadioButtonTscheb"), Qt::LeftButton);
    QVERIFY(w.Get("VuEingabe")->isVisibleTo(&w.window));
    QCOMPARE(w.Get<QLabel>("LabelVu")->text(), QString("Ripple"));
    QCOMPARE(w.Get<QLabel>("LabelWellEinheit")->text(), QString("dB"));
    w.Type(field::VuEingabe, "0.5");
    QCOMPARE(w.State().rippleDb, 0.5);
    QTest::mouseClick(w.Get<QRadioButton>("RadioButtonBW"), Qt::LeftButton);
    QVERIFY(!w.Get("VuEingabe")->isVisibleTo(&w.window));
    QVERIFY(w.MirrorsSession());
  }

  void controlsOfferedTypesOnly_data() {
    QTest::addColumn<int>("topology");
    for (int t = 1; t <= 7; ++t) QTest::addRow("%d", t) << t;
  }

  void controlsOfferedTypesOnly() {
    QFETCH(int, topology);
    StartedWindow w;
    w.Trigger(kTopologyItems[topology - 1]);
    for (const TypeControls& c : kTypes) {
      const bool offered = OffersType(static_cast<Topology>(topology), c.type);
      QCOMPARE(w.Get(c.radio)->isEnabled(), offered);
      QCOMPARE(w.Get<QAction>(c.item)->isEnabled(), offered);
    }
    // Every page draws its group delay and time responses; the LC pages have no proposal.
    const bool lc = topology >= 6;
    QCOMPARE(w.Get("InfoBtn")->isEnabled(), !lc);
    for (const char* button : {"VdbBtn", "PhiBtn", "tgrBtn", "htBtn"}) {
      QVERIFY2(w.Get(button)->isEnabled(), button);
    }
  }

  // A checked type the new topology does not design gives way to its first type, without
  // a beep: the page never shows a type it cannot design.
  void unofferedTypeGivesWayToLowpass() {
    StartedWindow w;
    w.Trigger("PFBninv1");
    QTest::mouseClick(w.Get<QRadioButton>("APRadioButton"), Qt::LeftButton);
    QCOMPARE(w.window.Session().Type(), FilterType::Allpass);
    QCOMPARE(w.services.beeps, 0);
    QTest::mouseClick(w.Get<QTabBar>("TabSet1"), Qt::LeftButton, {},
                      w.Get<QTabBar>("TabSet1")->tabRect(0).center());
    QCOMPARE(w.State().topology, Topology::Mfb);
    auto* allpass = w.Get<QRadioButton>("APRadioButton");
    QVERIFY(!allpass->isChecked());
    QVERIFY(!allpass->isEnabled());
    QVERIFY(!w.Get<QAction>("Allpass1")->isChecked());
    QVERIFY(!w.Get<QAction>("Allpass1")->isEnabled());
    QVERIFY(w.Get<QRadioButton>("TPRadioButton")->isChecked());
    QCOMPARE(w.window.Session().Type(), FilterType::Lowpass);
    QCOMPARE(w.services.beeps, 0);
    QCOMPARE(Checked(w.Get<QActionGroup>("FilterTypeMenuGroup")), QStringList{"Tiefpass1"});
  }

  void oneCheckMarkPerGroupAfterManySwitches() {
    StartedWindow w;
    const QStringList steps{"LCDiplexer1", "SVF4OP1",    "Bandsperre1", "PassivesLCFilter1",
                            "E96R1",       "Hochpass1",  "E12C1",       "PFBninv1",
                            "Allpass1",    "Fliege2OP1", "E6R1",        "MFBinv1",
                            "Bandpass1",   "E96C1",      "PFBninv1",    "ElliptischerTiefpass1",
                            "SVF3OP1",     "Tiefpass1",  "LCDiplexer1", "E24R1"};
    auto* types = w.Get<QButtonGroup>("FilterTypeButtons");
    for (const QString& step : steps) {
      w.Trigger(step);
      const DesignState& s = w.State();
      QCOMPARE(Checked(w.Get<QActionGroup>("TopologyMenuGroup")),
               QStringList{kTopologyItems[static_cast<int>(s.topology) - 1]});
      const QStringList type = Checked(w.Get<QActionGroup>("FilterTypeMenuGroup"));
      QCOMPARE(type.size(), 1);
      int checkedRadios = 0;
      for (QAbstractButton* b : types->buttons()) checkedRadios += b->isChecked();
      QCOMPARE(checkedRadios, 1);
      QCOMPARE(types->checkedId(), static_cast<int>(w.window.Session().Type()));
      QCOMPARE(w.Get<QAction>(type[0])->data().toInt(), types->checkedId());
      const QStringList r = Checked(w.Get<QActionGroup>("ResistorSeriesMenuGroup"));
      const QStringList c = Checked(w.Get<QActionGroup>("CapacitorSeriesMenuGroup"));
      QCOMPARE(r.size(), 1);
      QCOMPARE(c.size(), 1);
      QCOMPARE(w.Get<QAction>(r[0])->data().toInt(), s.ESeriesR);
      QCOMPARE(w.Get<QAction>(c[0])->data().toInt(), s.ESeriesC);
    }
    QCOMPARE(w.State().ESeriesR, 3);
    QCOMPARE(w.State().ESeriesC, 5);
    QVERIFY(w.MirrorsSession());
  }

  void typeRelabelsAndSwapsPictures_data() {
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("fgCaption");
    QTest::addColumn<QString>("fgHint");
    QTest::addColumn<QString>("foCaption");
    QTest::addColumn<QStringList>("pictures");  // Image1, Image2, Image5, ImageLC
    QTest::newRow("lowpass") << "TPRadioButton"
                             << "Cut-Off Frequency fc"
                             << "3dB drop"
                             << "Resonance Frequency fo"
                             << QStringList{"mfbtp", "pfbtp", "f2optp", "lctp"};
    QTest::newRow("bandpass") << "BPRadioButton"
                              << "Center Frequency fm"
                              << "Resonance frequency"
                              << "Bandwidth B" << QStringList{"mfbbp", "pfbbp", "f2opbp", "lctp"};
    // Pages that do not design the type keep the picture they had (here the highpass's).
    QTest::newRow("allpass") << "APRadioButton"
                             << "Cut-Off Frequency fc"
                             << "Frequency for 90° phase shift"
                             << "Resonance Frequency fo"
                             << QStringList{"mfbhp", "pfbap", "f2opap", "lchp"};
  }

  void typeRelabelsAndSwapsPictures() {
    QFETCH(QString, radio);
    QFETCH(QString, fgCaption);
    QFETCH(QString, fgHint);
    QFETCH(QString, foCaption);
    QFETCH(QStringList, pictures);
    StartedWindow w;
    w.Trigger("PFBninv1");
    QTest::mouseClick(w.Get<QRadioButton>("HPRadioButton"), Qt::LeftButton);
    QTest::mouseClick(w.Get<QRadioButton>(radio), Qt::LeftButton);
    QCOMPARE(w.Get<QLabel>("Labelfg")->text(), fgCaption);
    QCOMPARE(w.Get<QLabel>("Labelfg")->toolTip(), fgHint);
    QCOMPARE(w.Get<QLabel>("Labelfg")->statusTip(), fgHint);
    QCOMPARE(w.Get<QLabel>("Labelfo")->text(), foCaption);
    QStringList shown;
    for (const char* image : {"Image1", "Image2", "Image5", "ImageLC"}) {
      shown << w.Get(image)->property(gui::kPictureNameProperty).toString();
    }
    QCOMPARE(shown, pictures);
  }

  void ellipticControlsOnThePfbPage_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("elliptic");
    QTest::newRow("elliptical lowpass") << "ElliptischerTiefpass1" << true;
    QTest::newRow("lowpass") << "Tiefpass1" << false;
    QTest::newRow("bandstop") << "Bandsperre1" << false;
  }

  void ellipticControlsOnThePfbPage() {
    QFETCH(QString, item);
    QFETCH(bool, elliptic);
    StartedWindow w;
    w.Trigger("PFBninv1");
    w.Trigger("ElliptischerTiefpass1");
    w.Trigger(item);
    QCOMPARE(w.Get("q2Label")->isVisibleTo(&w.window), elliptic);
    QCOMPARE(w.Get("q2Eingabe")->isVisibleTo(&w.window), elliptic);
    QCOMPARE(w.Get("q2Eingabe")->isEnabled(), elliptic);
    QCOMPARE(w.Get("CCheckBox2")->isVisibleTo(&w.window), !elliptic);
    QCOMPARE(w.Get("CCheckBox2")->isEnabled(), !elliptic);
  }

  void seriesItemsMoveTheCheckAndRedesign() {
    StartedWindow w;
    w.Trigger("E6R1");
    QCOMPARE(Checked(w.Get<QActionGroup>("ResistorSeriesMenuGroup")), QStringList{"E6R1"});
    QCOMPARE(w.State().ESeriesR, 1);
    const QString before = w.Field(field::C11Ausgabe)->text();
    w.Trigger("E12C1");
    QCOMPARE(Checked(w.Get<QActionGroup>("CapacitorSeriesMenuGroup")), QStringList{"E12C1"});
    QCOMPARE(w.State().ESeriesC, 2);
    QVERIFY(w.Field(field::C11Ausgabe)->text() != before);
    QVERIFY(w.MirrorsSession());
  }

  // The ladder's only message box comes after the handler, through the platform.
  void evenChebyshevLadderReportsOnce() {
    StartedWindow w;
    w.Trigger("PassivesLCFilter1");
    QTest::mouseClick(w.Get<QRadioButton>("RadioButtonTscheb"), Qt::LeftButton);
    w.Get<QScrollBar>("ScrollBar1")->setValue(5);
    w.services.messages.clear();
    w.Get<QScrollBar>("ScrollBar1")->setValue(6);
    QTRY_COMPARE(w.services.messages.size(), 1);
    QVERIFY(w.services.messages[0].contains("RG"));
  }

  // A design that cannot be built says so in the status bar, and the notice goes with it.
  void noticeFollowsTheDesign() {
    StartedWindow w;
    auto* notice = w.Get<QLabel>("NoticeLabel");
    w.Trigger("PFBninv1");
    w.Trigger("ElliptischerTiefpass1");
    w.Type(field::QEingabe, "0.4");
    QVERIFY(notice->isVisibleTo(&w.window));
    QCOMPARE(notice->toolTip(), QString::fromStdString(w.window.Session().CurrentNotice()));
    QVERIFY(!notice->toolTip().isEmpty());
    w.Type(field::QEingabe, "2");
    QVERIFY(!notice->isVisibleTo(&w.window));
  }

  void windowCommandsAskForTheirWindow_data() {
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<SecondaryWindow>("window");
    QTest::newRow("gain graph") << QStringList{"VdbBtn"} << SecondaryWindow::GainGraph;
    QTest::newRow("phase graph") << QStringList{"PhiBtn"} << SecondaryWindow::PhaseGraph;
    QTest::newRow("delay graph") << QStringList{"tgrBtn"} << SecondaryWindow::GroupDelayGraph;
    QTest::newRow("time graph") << QStringList{"htBtn"} << SecondaryWindow::TimeResponseGraph;
    QTest::newRow("sweep factor") << QStringList{"SweepButton", "SweepFaktor1"}
                                  << SecondaryWindow::SweepFactor;
    QTest::newRow("order") << QStringList{"BitBtnOrd", "Filterordnungberechnen1"}
                           << SecondaryWindow::FilterOrder;
    QTest::newRow("proposal") << QStringList{"InfoBtn", "Schaltungsvorschlag1"}
                              << SecondaryWindow::TopologyProposal;
    QTest::newRow("help") << QStringList{"Hilfe", "Hilfe1"} << SecondaryWindow::Help;
    QTest::newRow("about") << QStringList{"About1"} << SecondaryWindow::About;
  }

  void windowCommandsAskForTheirWindow() {
    QFETCH(QStringList, controls);
    QFETCH(SecondaryWindow, window);
    StartedWindow w;
    QSignalSpy requested(&w.window, &gui::MainWindow::windowRequested);
    for (const QString& control : controls) {
      if (auto* action = w.window.findChild<QAction*>(control)) {
        action->trigger();
      } else {
        w.Get<QAbstractButton>(control)->click();
      }
    }
    QCOMPARE(requested.count(), controls.size());
    for (const auto& arguments : requested) {
      QCOMPARE(arguments[0].value<SecondaryWindow>(), window);
    }
  }
};

QTEST_MAIN(SelectionTest)
#include "selection_test.moc"

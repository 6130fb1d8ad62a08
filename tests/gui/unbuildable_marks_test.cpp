// Fields and grid cells whose component cannot be bought: marked amber with the message as
// their hint while the design needs such a value, given back their own look after.

#include <QScrollBar>
#include <QTableWidgetItem>

#include "app/window_look.h"
#include "gui_test_support.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

class UnbuildableMarksTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void resultFieldIsMarkedAndUnmarkedAsTheUserTypes() {
    StartedWindow w;
    QLineEdit* r1 = w.Field(field::R11Ausgabe);
    const QColor own = r1->palette().color(QPalette::Base);
    QCOMPARE(own, kSilver);
    QCOMPARE(r1->toolTip(), QString());

    w.Type(field::ZinEingabe, "0.1");
    const QString message = "R1 = 49.29 mΩ is below 1 Ω: no such resistor can be bought";
    QCOMPARE(r1->palette().color(QPalette::Base), kAmber);
    QCOMPARE(r1->toolTip(), message);
    QCOMPARE(r1->statusTip(), message);
    // The value is shown as before; fields of buildable parts keep their look.
    QCOMPARE(r1->text(), QString("   49.29m"));
    QCOMPARE(w.Field(field::C11Ausgabe)->palette().color(QPalette::Base), kSilver);
    QVERIFY(w.MirrorsSession());

    w.Type(field::ZinEingabe, "1k");
    QCOMPARE(r1->palette().color(QPalette::Base), own);
    QCOMPARE(r1->toolTip(), QString());
    QCOMPARE(r1->statusTip(), QString());
    QCOMPARE(UnbuildableMark(r1), QString());
  }

  void switchingPagesUnmarksWhatTheNewDesignCanBuy() {
    StartedWindow w;
    w.Type(field::ZinEingabe, "0.1");
    QCOMPARE(w.Field(field::R21Ausgabe)->palette().color(QPalette::Base), kAmber);
    w.window.SelectTopology(Topology::Svf4);
    // The new page's design renews every mark: the MFB page's fields are not marked.
    QCOMPARE(w.Field(field::R21Ausgabe)->palette().color(QPalette::Base), kSilver);
  }

  void ladderCellIsMarkedAndUnmarked() {
    StartedWindow w;
    w.window.SelectTopology(Topology::LcLadder);
    w.Get<QScrollBar>("ScrollBar1")->setValue(3);
    auto* grid = w.Get<AlignedGrid>("StringAlignGridLC");
    QTableWidgetItem* l2 = grid->item(2, 1);
    const QVariant own = l2->data(Qt::BackgroundRole);

    w.Type(field::fgEingabe, "1m");
    QVERIFY(l2->text().startsWith("318.31k"));
    QCOMPARE(l2->background().color(), kAmber);
    QCOMPARE(l2->toolTip(),
             QString("L2 = 318.31 kH is above 100 H: no such inductor can be bought"));
    // The element names in column 0 are not marked.
    QCOMPARE(UnbuildableMark(grid->item(2, 0)), QString());

    w.Type(field::fgEingabe, "1k");
    QCOMPARE(l2->data(Qt::BackgroundRole), own);
    QCOMPARE(l2->toolTip(), QString());
  }
};

QTEST_MAIN(UnbuildableMarksTest)
#include "unbuildable_marks_test.moc"

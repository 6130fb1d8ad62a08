// The filter order dialog works from what its four fields show: the same texts give the same
// order in whatever sequence they were typed, an impossible scheme shows "-" with the reason
// in the dialog, and OK hands the scheme to the multi-stage window when there is one.
// Orders from the closed forms (python): N = log10(e2/e1) / (2 log10(f2/f1)) for Butterworth,
// acosh(sqrt(e2/e1)) / acosh(f2/f1) for Chebyshev, e = 10^(d/10) - 1.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "aids/order_dialog.h"
#include "app/secondary_windows.h"
#include "cascade/cascade_window.h"
#include "gui_test_support.h"
#include "ui/window_placement.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

template <typename T = QWidget>
T* Get(const QWidget& parent, const QString& name) {
  T* child = parent.findChild<T*>(name);
  if (!child) qFatal("no control %s", qPrintable(name));
  return child;
}

QString Text(const QWidget& dialog, const QString& name) {
  return Get<QLineEdit>(dialog, name)->text();
}

// "f1=20k": replaces the text of f1Eingabe by typing it.
void TypeAll(QWidget& dialog, const QStringList& typing) {
  for (const QString& step : typing) {
    const QString field = step.section('=', 0, 0) + "Eingabe";
    QLineEdit* edit = Get<QLineEdit>(dialog, field);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, step.section('=', 1));
  }
}

void Open(QWidget* window) {
  ShowInFront(window);
  if (!QTest::qWaitForWindowActive(window))
    qWarning("%s not active", qPrintable(window->objectName()));
}

// The line under the fields that says why there is no order; empty while there is one.
QString Problem(const QWidget& dialog) {
  const auto* label = dialog.findChild<QLabel*>("OrderProblem");
  return label ? label->text() : QString("(no problem line)");
}

const QString kNoOrder = "        -";

}  // namespace

class OrderSchemeTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void sameFieldsGiveTheSameOrder_data() {
    QTest::addColumn<QStringList>("typing");
    QTest::addColumn<bool>("chebyshev");
    QTest::addColumn<QString>("N");
    QTest::addColumn<QString>("nr");
    const QStringList d{"d1=3", "d2=40"};
    QTest::newRow("f1 first") << d + QStringList{"f1=20k", "f2=48k"} << false << "   5.263"
                              << "    6.0";
    QTest::newRow("f2 first") << d + QStringList{"f2=48k", "f1=20k"} << false << "   5.263"
                              << "    6.0";
    QTest::newRow("Chebyshev, f1 first")
        << d + QStringList{"f1=20k", "f2=48k"} << true << "   3.482"
        << "    4.0";
    // d1 typed above the d2 still shown, then d2 above it.
    QTest::newRow("d1 first") << QStringList{"f2=2k", "d1=35", "d2=60"} << false << "   4.153"
                              << "    5.0";
    QTest::newRow("d2 first") << QStringList{"f2=2k", "d2=60", "d1=35"} << false << "   4.153"
                              << "    5.0";
    // Through an impossible scheme and out again.
    QTest::newRow("f2 below f1 on the way")
        << QStringList{"d1=3", "d2=40", "f2=500", "f1=20k", "f2=48k"} << false << "   5.263"
        << "    6.0";
  }

  void sameFieldsGiveTheSameOrder() {
    QFETCH(QStringList, typing);
    QFETCH(bool, chebyshev);
    QFETCH(QString, N);
    QFETCH(QString, nr);
    DesignState state;
    OrderDialog dialog(state);
    Open(&dialog);
    if (chebyshev) QTest::mouseClick(Get<QRadioButton>(dialog, "RadioButtonT"), Qt::LeftButton);
    TypeAll(dialog, typing);
    QCOMPARE(Text(dialog, "NAusgabe"), N);
    QCOMPARE(Text(dialog, "nrAusgabe"), nr);
    QCOMPARE(Problem(dialog), QString());
    // The fields keep what was typed, also after switching windows.
    const QString f1 = Text(dialog, "f1Eingabe");
    QWidget other;
    Open(&other);
    Open(&dialog);
    QCOMPARE(Text(dialog, "f1Eingabe"), f1);
    QCOMPARE(Text(dialog, "NAusgabe"), N);
  }

  void impossibleSchemeShowsWhy_data() {
    QTest::addColumn<QStringList>("typing");
    QTest::addColumn<QString>("reason");  // a part of the problem line
    QTest::newRow("f1 above f2") << QStringList{"f1=2k"} << "f2";
    QTest::newRow("f2 equal to f1") << QStringList{"f2=1k"} << "f2";
    QTest::newRow("d1 above d2") << QStringList{"d1=45"} << "d2";
    QTest::newRow("d2 equal to d1") << QStringList{"d2=0.1"} << "d2";
    QTest::newRow("f1 zero") << QStringList{"f1=0"} << "f1";
    QTest::newRow("d1 negative") << QStringList{"d1=-1"} << "d1";
    QTest::newRow("f2 unreadable") << QStringList{"f2=abc"} << "f2";
    QTest::newRow("d2 empty") << QStringList{"d2="} << "d2";
  }

  void impossibleSchemeShowsWhy() {
    QFETCH(QStringList, typing);
    QFETCH(QString, reason);
    DesignState state;
    OrderDialog dialog(state);
    Open(&dialog);
    const OrderCalculatorInputs before = state.order;
    TypeAll(dialog, typing);
    QCOMPARE(Text(dialog, "NAusgabe"), kNoOrder);
    QCOMPARE(Text(dialog, "nrAusgabe"), kNoOrder);
    QVERIFY2(Problem(dialog).contains(reason), qPrintable(Problem(dialog)));
    QVERIFY(!Problem(dialog).contains("nan") && !Problem(dialog).contains("inf"));
    // The text stays as typed; the scheme kept for the other windows is the last possible one.
    QCOMPARE(Text(dialog, typing.front().section('=', 0, 0) + "Eingabe"),
             typing.front().section('=', 1));
    QCOMPARE(state.order.OrderF2, before.OrderF2);
    QCOMPARE(state.order.OrderD2, before.OrderD2);
    // OK takes nothing over: it stays open, the reason still shown.
    QVERIFY(!Get<QPushButton>(dialog, "OKBtn")->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    // Mended, the order is back.
    TypeAll(dialog, {"f1=1k", "d1=0.1", "f2=1.5k", "d2=30"});
    QCOMPARE(Text(dialog, "NAusgabe"), QString("  13.153"));
    QCOMPARE(Problem(dialog), QString());
  }

  void okHandsTheSchemeToTheMultiStageWindow() {
    StartedWindow main;
    SecondaryWindows windows(main.window, main.services);
    CascadeWindow& cascade = windows.Cascade();
    cascade.show();
    OrderDialog& dialog = windows.Order();
    Open(&dialog);
    QTest::mouseClick(Get<QRadioButton>(dialog, "RadioButtonT"), Qt::LeftButton);
    TypeAll(dialog, {"d1=1", "d2=40", "f1=4.7k", "f2=10k"});
    QCOMPARE(Text(dialog, "nrAusgabe"), QString("    5.0"));
    QTest::mouseClick(Get<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
    const CascadeEntries& e = cascade.Entries();
    QVERIFY(e.useScheme);
    QVERIFY(e.request.approximation == Approximation::Chebyshev);
    QCOMPARE(e.scheme.f1, 4700.0);
    QCOMPARE(e.scheme.d1, 1.0);
    QCOMPARE(e.scheme.f2, 10000.0);
    QCOMPARE(e.scheme.d2, 40.0);
    QCOMPARE(e.request.order, 5);
    QVERIFY(cascade.isVisible());
    QVERIFY(!dialog.isVisible());  // OK closes the dialog
    cascade.close();
  }

  void okWithoutMultiStageWindowOpensNone() {
    StartedWindow main;
    SecondaryWindows windows(main.window, main.services);
    OrderDialog& dialog = windows.Order();
    Open(&dialog);
    TypeAll(dialog, {"f2=3k"});
    QTest::keyClick(&dialog, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    for (QWidget* top : QApplication::topLevelWidgets()) {
      QVERIFY(!qobject_cast<CascadeWindow*>(top));
    }
    QCOMPARE(main.State().order.OrderF2, 3000.0);
  }
};

QTEST_MAIN(OrderSchemeTest)
#include "order_scheme_test.moc"

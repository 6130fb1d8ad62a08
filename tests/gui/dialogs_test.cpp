// The side dialogs and small boxes: the filter order dialog (the order of the texts shown,
// written from the kept scheme at the first opening), the topology proposal, the help box, the
// About box and its gradient.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "aids/order_dialog.h"
#include "aids/proposal_dialog.h"
#include "ui/about_box.h"
#include "ui/gradient_fill.h"
#include "ui/help_box.h"
#include "ui/window_placement.h"

using namespace morvane;
using namespace morvane::gui;

namespace {

template <typename T = QWidget>
T* Get(const QWidget& parent, const QString& name) {
  T* child = parent.findChild<T*>(name);
  if (!child) qFatal("no control %s", qPrintable(name));
  return child;
}

void Type(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

QString Text(const QWidget& dialog, const QString& name) {
  return Get<QLineEdit>(dialog, name)->text();
}

int VisibleWindows(const QString& name) {
  int count = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == name && w->isVisible()) ++count;
  }
  return count;
}

void Open(QWidget* window) {
  ShowInFront(window);
  if (!QTest::qWaitForWindowActive(window))
    qWarning("%s not active", qPrintable(window->objectName()));
}

const QString kNoOrder = "        -";

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void orderFieldsAreWrittenOnActivation() {
    DesignState state;
    OrderDialog dialog(state);
    QCOMPARE(dialog.windowTitle(), QString("Lowpass Filter Order"));
    QCOMPARE(Text(dialog, "NAusgabe"), kNoOrder);
    QCOMPARE(Text(dialog, "nrAusgabe"), kNoOrder);
    Open(&dialog);
    QCOMPARE(Text(dialog, "f1Eingabe"), QString("    1.00k"));
    QCOMPARE(Text(dialog, "d1Eingabe"), QString("   0.100"));
    QCOMPARE(Text(dialog, "f2Eingabe"), QString("    1.50k"));
    QCOMPARE(Text(dialog, "d2Eingabe"), QString("  30.000"));
    QCOMPARE(Text(dialog, "NAusgabe"), QString("  13.153"));
    QCOMPARE(Text(dialog, "nrAusgabe"), QString("   14.0"));
  }

  void orderEntriesKeepWhatTheyShow_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    // The field's value in the scheme kept: the last possible one on the way ("2" of "2k").
    QTest::addColumn<double>("kept");
    QTest::addColumn<bool>("possible");
    QTest::newRow("f1 above f2") << "f1Eingabe"
                                 << "2k" << 2.0 << false;
    QTest::newRow("f1 unreadable") << "f1Eingabe"
                                   << "abc" << 1000.0 << false;
    QTest::newRow("d2 inside") << "d2Eingabe"
                               << "10" << 10.0 << true;
    QTest::newRow("d2 below d1") << "d2Eingabe"
                                 << "0.05" << 30.0 << false;
    QTest::newRow("d1 above d2") << "d1Eingabe"
                                 << "45" << 4.0 << false;
    QTest::newRow("f2 just above f1") << "f2Eingabe"
                                      << "1,01k" << 1010.0 << true;
  }

  void orderEntriesKeepWhatTheyShow() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(double, kept);
    QFETCH(bool, possible);
    DesignState state;
    OrderDialog dialog(state);
    Open(&dialog);
    Type(Get<QLineEdit>(dialog, field), typed);
    const double values[] = {state.order.OrderF1, state.order.OrderD1, state.order.OrderF2,
                             state.order.OrderD2};
    const int index =
        QStringList{"f1Eingabe", "d1Eingabe", "f2Eingabe", "d2Eingabe"}.indexOf(field);
    QVERIFY(qAbs(values[index] - kept) <= 1e-9 * kept);
    // The text stays as typed; the order is that of the texts shown, or none.
    QCOMPARE(Text(dialog, field), typed);
    QCOMPARE(Text(dialog, "NAusgabe") == kNoOrder, !possible);
    QVERIFY(Text(dialog, "NAusgabe") != QString("  13.153"));
    QVERIFY(!Text(dialog, "NAusgabe").contains("nan") && !Text(dialog, "NAusgabe").contains("inf"));
    // OK takes a possible scheme and closes; an impossible one keeps the dialog open.
    QTest::mouseClick(Get<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
    QCOMPARE(Text(dialog, field), typed);
    QCOMPARE(dialog.isVisible(), !possible);
  }

  void typedEntryStaysOnReactivation() {
    DesignState state;
    OrderDialog dialog(state);
    Open(&dialog);
    Type(Get<QLineEdit>(dialog, "f1Eingabe"), "1.2k");
    QCOMPARE(Text(dialog, "NAusgabe"), QString("  23.900"));
    QCOMPARE(Text(dialog, "nrAusgabe"), QString("   24.0"));
    QWidget other;
    Open(&other);
    QCOMPARE(Text(dialog, "f1Eingabe"), QString("1.2k"));
    Open(&dialog);
    QCOMPARE(Text(dialog, "f1Eingabe"), QString("1.2k"));
    QCOMPARE(state.order.OrderF1, 1200.0);
  }

  void orderFollowsApproximation() {
    DesignState state;
    OrderDialog dialog(state);
    Open(&dialog);
    // Typed in any order: the order is that of the four texts shown.
    Type(Get<QLineEdit>(dialog, "d2Eingabe"), "40");
    Type(Get<QLineEdit>(dialog, "d1Eingabe"), "3.0103");
    Type(Get<QLineEdit>(dialog, "f2Eingabe"), "2k");
    QCOMPARE(Text(dialog, "NAusgabe"), QString("   6.644"));
    QCOMPARE(Text(dialog, "nrAusgabe"), QString("    7.0"));
    QTest::mouseClick(Get<QRadioButton>(dialog, "RadioButtonT"), Qt::LeftButton);
    QCOMPARE(Text(dialog, "NAusgabe"), QString("   4.023"));
    QCOMPARE(Text(dialog, "nrAusgabe"), QString("    5.0"));
    QTest::mouseClick(Get<QRadioButton>(dialog, "RadioButtonB"), Qt::LeftButton);
    QCOMPARE(Text(dialog, "nrAusgabe"), QString("    7.0"));
    // Close only hides: the scheme stays for the next opening.
    auto* close = Get<QPushButton>(dialog, "CancelBtn");
    QCOMPARE(close->text(), QString("Close"));
    QCOMPARE(close->toolTip(), QString("Quit menu"));
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    Open(&dialog);
    QCOMPARE(Text(dialog, "f2Eingabe"), QString("2k"));
    QCOMPARE(Text(dialog, "nrAusgabe"), QString("    7.0"));
    // Enter is OK again, not the "Close" pressed last: the scheme taken, the dialog closed.
    Type(Get<QLineEdit>(dialog, "f2Eingabe"), "3k");
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(state.order.OrderF2, 3000.0);
    QVERIFY(!dialog.isVisible());
  }

  void proposalAnswers_data() {
    QTest::addColumn<QList<bool>>("checked");  // CheckBox1 .. CheckBox4
    QTest::addColumn<QString>("answer");
    const auto u8 = [](const char* text) { return QString::fromUtf8(text); };
    QTest::newRow("none") << QList<bool>{0, 0, 0, 0} << "You may use every type of circuit.";
    QTest::newRow("all") << QList<bool>{1, 1, 1, 1}
                         << u8("It's not possible to meet all criteria.");
    QTest::newRow("all types, simple") << QList<bool>{0, 1, 0, 1} << "Use the SVF.";
    // Each box of these must take its click, "Simple design" with its short caption too.
    QTest::newRow("few, simple") << QList<bool>{1, 1, 0, 0}
                                 << "Probably the two-op-amp circuits are best.";
  }

  void proposalAnswers() {
    QFETCH(QList<bool>, checked);
    QFETCH(QString, answer);
    ProposalDialog dialog;
    QCOMPARE(dialog.size(), QSize(403, 226));
    Open(&dialog);
    for (int i = 0; i < 4; ++i) {
      if (checked[i])
        QTest::mouseClick(Get<QCheckBox>(dialog, QString("CheckBox%1").arg(i + 1)), Qt::LeftButton);
    }
    auto* label = Get<QLabel>(dialog, "AusgabeLabel");
    QCOMPARE(label->text(), QString("Please make your design entry."));
    QTest::keyClick(&dialog, Qt::Key_Return);  // "Proposal" is the default button
    QCOMPARE(label->text(), answer);
    QVERIFY(dialog.isVisible());
  }

  void proposalKeepsStateBetweenOpenings() {
    ProposalDialog dialog;
    Open(&dialog);
    auto* label = Get<QLabel>(dialog, "AusgabeLabel");
    QTest::mouseClick(Get<QCheckBox>(dialog, "CheckBox4"), Qt::LeftButton);
    QTest::mouseClick(Get<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
    QCOMPARE(label->text(), QString("Use the SVF."));
    // A box changed afterwards leaves the answer until the next press.
    QTest::mouseClick(Get<QCheckBox>(dialog, "CheckBox1"), Qt::LeftButton);
    QCOMPARE(label->text(), QString("Use the SVF."));
    QCOMPARE(label->text().indexOf(QChar(0x00B4)), -1);
    QTest::mouseClick(Get<QPushButton>(dialog, "CancelBtn"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    Open(&dialog);
    QCOMPARE(label->text(), QString("Use the SVF."));
    QVERIFY(Get<QCheckBox>(dialog, "CheckBox1")->isChecked());
    QVERIFY(Get<QCheckBox>(dialog, "CheckBox4")->isChecked());
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(label->text(), QString("It's not possible to meet all criteria."));
    QTest::keyClick(&dialog, Qt::Key_Escape);  // "Back"
    QVERIFY(!dialog.isVisible());
  }

  void openingTwiceShowsTheOneWindow() {
    DesignState state;
    OrderDialog order(state);
    ProposalDialog proposal;
    HelpBox help;
    for (QWidget* window : {static_cast<QWidget*>(&order), static_cast<QWidget*>(&proposal),
                            static_cast<QWidget*>(&help)}) {
      ShowInFront(window);
      ShowInFront(window);
      QCOMPARE(VisibleWindows(window->objectName()), 1);
      QVERIFY(!window->isModal());
    }
    QTest::mouseClick(Get<QPushButton>(help, "OKButton"), Qt::LeftButton);
    QVERIFY(!help.isVisible());
    ShowInFront(&help);
    QVERIFY(help.isVisible());
  }

  void helpBoxShowsItsNineLinesInOrder() {
    const QStringList expected = {
        "1. Usage",
        "First choose the topology using the tabs.",
        "Then make your design entry. Immediately you get the results of the calculations.",
        "You may also export data to other programs using the clipboard function via Ctrl-C.",
        "With the Exit button you may quit the program.",
        "2. Information",
        "You can build nearly every type of filter from sections of 1st or 2nd order. The "
        "circuits with one op amp seem to be quite attractive, but they have some drawbacks.",
        "At high frequencies or high Q factors you shouldn't use the one-op-amp circuits.",
        "By pressing the Info button you can get an individual proposal for the circuit "
        "topology.",
    };
    HelpBox help;
    QCOMPARE(help.windowTitle(), QString("Help for Morvane"));
    QStringList shown;
    for (int i = 1; i <= 9; ++i) shown << Get<QLabel>(help, QString("HelpLine%1").arg(i))->text();
    QCOMPARE(shown, expected);
  }

  void aboutBoxIsFreshEachTime() {
    QPointer<AboutBox> first = OpenAboutBox(nullptr);
    QCOMPARE(first->windowTitle(), QString("Information"));
    QCOMPARE(first->windowModality(), Qt::ApplicationModal);
    QVERIFY(first->isVisible());
    QCOMPARE(Get<QLabel>(*first, "ProductName")->text(), QString("Morvane"));
    QCOMPARE(Get<QLabel>(*first, "Version")->text(), QString("Version 3.0"));
    QVERIFY(!Get<QLabel>(*first, "ProgramIcon")->pixmap().isNull());
    QTest::mouseClick(Get<QPushButton>(*first, "OKButton"), Qt::LeftButton);
    QTRY_VERIFY(first.isNull());  // destroyed on closing

    QPointer<AboutBox> second = OpenAboutBox(nullptr);
    QPointer<AboutBox> third = OpenAboutBox(nullptr);
    QVERIFY(second != third);
    QCOMPARE(VisibleWindows("TAboutBox"), 2);
    second->close();
    third->close();
    QTRY_VERIFY(second.isNull() && third.isNull());
  }

  void gradientRunsYellowToOlive() {
    GradientFill fill;
    fill.SetColours(QColor(255, 255, 0), QColor(128, 128, 0));
    fill.SetBands(4);
    fill.resize(100, 10);
    const QImage image = fill.grab().toImage();
    // Band edges at 25, 50, 75: one step of (128 - 255) / 3 each.
    const std::pair<int, QColor> samples[] = {
        {0, QColor(255, 255, 0)},  {24, QColor(255, 255, 0)}, {25, QColor(213, 213, 0)},
        {50, QColor(171, 171, 0)}, {75, QColor(128, 128, 0)}, {99, QColor(128, 128, 0)},
    };
    for (const auto& [x, colour] : samples) {
      QCOMPARE(QColor(image.pixel(x, 5)), colour);
    }
    fill.SetBands(0);  // held at one band: the begin colour throughout
    QCOMPARE(fill.Bands(), 1);
    QCOMPARE(QColor(fill.grab().toImage().pixel(99, 5)), QColor(255, 255, 0));
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"

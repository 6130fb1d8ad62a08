// Values as electronics engineers write them, in the main window's entries and the order
// dialog: a prefix letter (or R) in place of the decimal point ("4k7", "2R2", "4n7", "1M5"),
// a blank before the prefix letter ("4.7 k"), under a German locale as under C; and what
// is no such value ("4k7k", "k47") said to be none.

#include <QLabel>
#include <QLocale>
#include <clocale>

#include "aids/order_dialog.h"
#include "gui_test_support.h"
#include "ui/window_placement.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

// "4µ7" with the micro sign, "4μ7" with the Greek letter mu.
const QString kMicroSign = QString::fromUtf8("4\u00B57");
const QString kGreekMu = QString::fromUtf8("4\u03BC7");

// Key by key, as typed; also letters beyond Latin-1, which QTest::keyClicks cannot send.
void TypeInto(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  for (const QChar c : text) {
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

// The locale of the C library and of Qt, put back when the test ends.
class GermanLocale {
 public:
  GermanLocale() : qt_(QLocale()), c_(std::setlocale(LC_ALL, nullptr)) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) qInfo("no de_DE.UTF-8 here: Qt's locale only");
  }
  ~GermanLocale() {
    std::setlocale(LC_ALL, c_.c_str());
    QLocale::setDefault(qt_);
  }

 private:
  QLocale qt_;
  std::string c_;
};

}  // namespace

class EngineeringNotationTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void mainWindowEntriesRead_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("fg");
    QTest::addColumn<bool>("german");
    for (const bool german : {false, true}) {
      const char* locale = german ? "de" : "C";
      QTest::addRow("4k7 %s", locale) << "4k7" << 4700.0 << german;
      QTest::addRow("4K7 %s", locale) << "4K7" << 4700.0 << german;
      QTest::addRow("4.7 k %s", locale) << "4.7 k" << 4700.0 << german;
      QTest::addRow("4,7 k %s", locale) << "4,7 k" << 4700.0 << german;
      QTest::addRow("4.7  kHz %s", locale) << "4.7  kHz" << 4700.0 << german;
      QTest::addRow("1M5 %s", locale) << "1M5" << 1.5e6 << german;
      QTest::addRow("2R2 %s", locale) << "2R2" << 2.2 << german;
      QTest::addRow("R47 %s", locale) << "R47" << 0.47 << german;
      QTest::addRow("47R %s", locale) << "47R" << 47.0 << german;
      QTest::addRow("4m7 %s", locale) << "4m7" << 4.7e-3 << german;
    }
  }

  void mainWindowEntriesRead() {
    QFETCH(QString, text);
    QFETCH(double, fg);
    QFETCH(bool, german);
    std::optional<GermanLocale> locale;
    if (german) locale.emplace();
    StartedWindow w;
    w.Type(field::fgEingabe, text);
    QCOMPARE(w.State().fg, fg);
    QCOMPARE(w.Field(field::fgEingabe)->text(), text);
    // Written back as the program writes values, it reads as the same value.
    w.Trigger("Rechnen1");
    QVERIFY(w.Field(field::fgEingabe)->text() != text);
    QCOMPARE(w.State().fg, fg);
  }

  void orderDialogReadsSmallValues_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("f1");
    QTest::newRow("4n7") << "4n7" << 4.7e-9;
    QTest::newRow("4p7") << "4p7" << 4.7e-12;
    QTest::newRow("4u7") << "4u7" << 4.7e-6;
    QTest::newRow("micro sign") << kMicroSign << 4.7e-6;
    QTest::newRow("Greek mu") << kGreekMu << 4.7e-6;
    QTest::newRow("4.7 n") << "4.7 n" << 4.7e-9;
    QTest::newRow("4.7 nHz") << "4.7 nHz" << 4.7e-9;
  }

  void orderDialogReadsSmallValues() {
    QFETCH(QString, text);
    QFETCH(double, f1);
    DesignState state;
    OrderDialog dialog(state);
    ShowInFront(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    TypeInto(dialog.findChild<QLineEdit*>("f1Eingabe"), text);
    QCOMPARE(state.order.OrderF1, f1);
    QVERIFY(dialog.findChild<QLineEdit*>("NAusgabe")->text().trimmed() != "-");
  }

  void noSuchValueIsSaidSo_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("second prefix letter") << "4k7k";
    QTest::newRow("leading k") << "k47";
    QTest::newRow("leading M") << "M5";
    QTest::newRow("point after the letter") << "4k7.5";
    QTest::newRow("letter after the point") << "4.7k7";
    QTest::newRow("blank inside the digits") << "4 k7";
    QTest::newRow("R alone") << "R";
  }

  void noSuchValueIsSaidSo() {
    QFETCH(QString, text);
    DesignState state;
    OrderDialog dialog(state);
    ShowInFront(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    TypeInto(dialog.findChild<QLineEdit*>("f1Eingabe"), text);
    QCOMPARE(dialog.findChild<QLineEdit*>("NAusgabe")->text().trimmed(), QString("-"));
    const auto* problem = dialog.findChild<QLabel*>("OrderProblem");
    QVERIFY(problem);
    QVERIFY2(problem->text().contains("f1"), qPrintable(problem->text()));
  }
};

QTEST_MAIN(EngineeringNotationTest)
#include "engineering_notation_test.moc"

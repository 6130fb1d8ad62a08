// The standard-value program: its window answers every keystroke with the series values, the
// two-part combinations and the ratio pair the core gives, marks them in the decade table,
// refuses bad entries with a message and no number, and the built program starts and draws it.

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "companions/eseries/eseries_arguments.h"
#include "companions/eseries/eseries_window.h"
#include "eseries/preferred_texts.h"
#include "eseries/value_pairs.h"

using namespace morvane;
using namespace morvane::gui;

namespace {

const QString kNone = QString::fromUtf8("–");

// Replaces the field's text key by key, as the user types.
void TypeInto(ESeriesWindow& w, const char* name, const QString& text) {
  auto* edit = w.findChild<QLineEdit*>(name);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

QString Shown(const ESeriesWindow& w, const char* name) {
  return w.findChild<QLineEdit*>(name)->text();
}

const char* const kResultFields[] = {
    "ESeriesBelow",           "ESeriesBelowError",      "ESeriesAbove",       "ESeriesAboveError",
    "ESeriesNearest",         "ESeriesNearestError",    "ESeriesInSeriesA",   "ESeriesInSeriesB",
    "ESeriesInSeriesValue",   "ESeriesInSeriesError",   "ESeriesInParallelA", "ESeriesInParallelB",
    "ESeriesInParallelValue", "ESeriesInParallelError", "ESeriesPairA",       "ESeriesPairB",
    "ESeriesPairValue",       "ESeriesPairError",
};

// The built program beside the tests' folder.
QString ProgramPath() {
  return QDir(QCoreApplication::applicationDirPath() + "/../companions")
      .absoluteFilePath("morvane-eseries");
}

}  // namespace

class ESeriesWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void bracketFollowsEveryKeystroke_data() {
    QTest::addColumn<int>("series");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown");  // below, error, above, error, nearest, error
    const auto row = [](const char* name, PreferredSeries s, const char* typed, QStringList shown) {
      QTest::newRow(name) << static_cast<int>(s) << QString(typed) << shown;
    };
    row("E24 4.75k", PreferredSeries::E24, "4.75k",
        {"4.7k", "-1.05 %", "5.1k", "+7.37 %", "4.7k", "-1.05 %"});
    row("E12 4k7 is a series value", PreferredSeries::E12, "4k7",
        {"4.7k", "0 %", "4.7k", "0 %", "4.7k", "0 %"});
    // Nearer by ratio: 4.7k / 3.3k = 1.42 beats 3.3k / 2.2k = 1.5.
    row("E3 3.3k", PreferredSeries::E3, "3.3k",
        {"2.2k", "-33.33 %", "4.7k", "+42.42 %", "4.7k", "+42.42 %"});
    row("E96 typed with a blank", PreferredSeries::E96, "1.234 k",
        {"1.21k", "-1.94 %", "1.24k", "+0.49 %", "1.24k", "+0.49 %"});
    row("E192 9.20 of IEC 60063", PreferredSeries::E192, "9.2n",
        {"9.20n", "0 %", "9.20n", "0 %", "9.20n", "0 %"});
    row("E6 across the decade", PreferredSeries::E6, "8.5u",
        {"6.8u", "-20.00 %", "10u", "+17.65 %", "10u", "+17.65 %"});
    row("E48 with a comma", PreferredSeries::E48, "1,5M",
        {"1.47M", "-2.00 %", "1.54M", "+2.67 %", "1.47M", "-2.00 %"});
  }

  void bracketFollowsEveryKeystroke() {
    QFETCH(int, series);
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    ESeriesWindow w;
    w.show();
    w.SetSeries(static_cast<PreferredSeries>(series));
    TypeInto(w, "ESeriesValue", typed);
    const char* fields[] = {"ESeriesBelow",      "ESeriesBelowError", "ESeriesAbove",
                            "ESeriesAboveError", "ESeriesNearest",    "ESeriesNearestError"};
    for (int i = 0; i < 6; ++i) QCOMPARE(Shown(w, fields[i]), shown[i]);
    QCOMPARE(w.Message(), QString());
  }

  void intermediateKeystrokesAnswerToo() {
    // Each prefix of "4k75" is answered as typed: "4" is 4, "4k" is 4k, "4k7" is 4.7k.
    ESeriesWindow w;
    w.show();
    w.SetSeries(PreferredSeries::E12);
    auto* edit = w.findChild<QLineEdit*>("ESeriesValue");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(w.Message(), QString("Type a value."));
    const std::pair<QChar, const char*> steps[] = {
        {'4', "3.9"}, {'k', "3.9k"}, {'7', "4.7k"}, {'5', "4.7k"}};
    for (const auto& [key, nearest] : steps) {
      QTest::keyClicks(edit, QString(key));
      QCOMPARE(Shown(w, "ESeriesNearest"), QString(nearest));
      QCOMPARE(w.Message(), QString());
    }
  }

  void combinationsAndRatioAreTheCoresAnswers_data() {
    QTest::addColumn<int>("series");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("ratio");
    QTest::newRow("E12 6k") << static_cast<int>(PreferredSeries::E12) << "6k"
                            << "10";
    QTest::newRow("E3 1.5") << static_cast<int>(PreferredSeries::E3) << "1.5"
                            << "2.2";
    QTest::newRow("E192 12.345k") << static_cast<int>(PreferredSeries::E192) << "12.345k"
                                  << "0.5";
    QTest::newRow("E24 smallest") << static_cast<int>(PreferredSeries::E24) << "1f"
                                  << "1u";
    QTest::newRow("E96 largest") << static_cast<int>(PreferredSeries::E96) << "1T"
                                 << "1M";
  }

  void combinationsAndRatioAreTheCoresAnswers() {
    QFETCH(int, series);
    QFETCH(QString, value);
    QFETCH(QString, ratio);
    const auto s = static_cast<PreferredSeries>(series);
    ESeriesWindow w;
    w.show();
    w.SetSeries(s);
    TypeInto(w, "ESeriesValue", value);
    TypeInto(w, "ESeriesRatio", ratio);
    const double target = ReadTargetEntry(value.toStdString()).value;
    const int digits = SignificantDigits(s);
    const auto check = [&](const char* base, const ValuePair& pair) {
      const QString name(base);
      QCOMPARE(Shown(w, qPrintable(name + "A")),
               QString::fromStdString(PreferredValueText(pair.a, digits)));
      QCOMPARE(Shown(w, qPrintable(name + "B")),
               QString::fromStdString(PreferredValueText(pair.b, digits)));
      QCOMPARE(Shown(w, qPrintable(name + "Value")),
               QString::fromStdString(PreferredValueText(pair.value, digits + 2)));
      QCOMPARE(Shown(w, qPrintable(name + "Error")),
               QString::fromStdString(ErrorPercentText(pair.errorPercent)));
    };
    check("ESeriesInSeries", BestSeriesPair(s, target));
    check("ESeriesInParallel", BestParallelPair(s, target));
    check("ESeriesPair", BestRatioPair(s, ReadRatioEntry(ratio.toStdString()).value, target));
  }

  void badEntriesShowAMessageAndNoNumber_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("ratio");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("valueShown");  // the bracket and the combinations still shown
    QTest::newRow("empty") << ""
                           << "2"
                           << "Type a value." << false;
    QTest::newRow("letters") << "abc"
                             << "2"
                             << "Value: \"abc\" is not a number." << false;
    QTest::newRow("nan") << "nan"
                         << "2"
                         << "Value: \"nan\" is not a number." << false;
    QTest::newRow("inf") << "inf"
                         << "2"
                         << "Value: \"inf\" is not a number." << false;
    QTest::newRow("zero") << "0"
                          << "2"
                          << "The value must be above 0." << false;
    QTest::newRow("negative") << "-4.7k"
                              << "2"
                              << "The value must be above 0." << false;
    QTest::newRow("too large") << "1e999"
                               << "2"
                               << "The value must lie between 1f and 1T." << false;
    QTest::newRow("too small") << "0.5f"
                               << "2"
                               << "The value must lie between 1f and 1T." << false;
    QTest::newRow("bad ratio") << "1k"
                               << "x"
                               << "Ratio: \"x\" is not a number." << true;
    QTest::newRow("zero ratio") << "1k"
                                << "0"
                                << "The ratio must be above 0." << true;
    QTest::newRow("both bad") << "0"
                              << "2M"
                              << "The value must be above 0.\nThe ratio must lie between 1u "
                                 "and 1M."
                              << false;
  }

  void badEntriesShowAMessageAndNoNumber() {
    QFETCH(QString, value);
    QFETCH(QString, ratio);
    QFETCH(QString, message);
    QFETCH(bool, valueShown);
    ESeriesWindow w;
    w.show();
    TypeInto(w, "ESeriesValue", value);
    TypeInto(w, "ESeriesRatio", ratio);
    QCOMPARE(w.Message(), message);
    QVERIFY(w.findChild<QLabel*>("ESeriesMessage")->isVisible());
    QCOMPARE(Shown(w, "ESeriesNearest") != kNone, valueShown);
    QCOMPARE(Shown(w, "ESeriesInSeriesValue") != kNone, valueShown);
    QCOMPARE(Shown(w, "ESeriesPairValue"), kNone);
    for (const char* field : kResultFields) {
      const QString text = Shown(w, field).toLower();
      QVERIFY2(!text.contains("nan") && !text.contains("inf"), field);
    }
    // Put right, the message goes and the numbers come back.
    TypeInto(w, "ESeriesValue", "1k");
    TypeInto(w, "ESeriesRatio", "2");
    QCOMPARE(w.Message(), QString());
    QVERIFY(!w.findChild<QLabel*>("ESeriesMessage")->isVisible());
    QCOMPARE(Shown(w, "ESeriesPairValue"), QString("2.000"));
  }

  void decadeTableHoldsTheSeriesAndMarksTheBracket_data() {
    QTest::addColumn<int>("series");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("E3") << static_cast<int>(PreferredSeries::E3) << 3 << 1 << "1.0"
                        << "4.7";
    QTest::newRow("E6") << static_cast<int>(PreferredSeries::E6) << 6 << 1 << "1.0"
                        << "6.8";
    QTest::newRow("E12") << static_cast<int>(PreferredSeries::E12) << 12 << 1 << "1.0"
                         << "8.2";
    QTest::newRow("E24") << static_cast<int>(PreferredSeries::E24) << 12 << 2 << "1.0"
                         << "9.1";
    QTest::newRow("E48") << static_cast<int>(PreferredSeries::E48) << 12 << 4 << "1.00"
                         << "9.53";
    QTest::newRow("E96") << static_cast<int>(PreferredSeries::E96) << 12 << 8 << "1.00"
                         << "9.76";
    QTest::newRow("E192") << static_cast<int>(PreferredSeries::E192) << 12 << 16 << "1.00"
                          << "9.88";
  }

  void decadeTableHoldsTheSeriesAndMarksTheBracket() {
    QFETCH(int, series);
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(QString, first);
    QFETCH(QString, last);
    const auto s = static_cast<PreferredSeries>(series);
    ESeriesWindow w;
    w.show();
    TypeInto(w, "ESeriesValue", "2.5k");
    w.findChild<QComboBox*>("ESeriesSeries")->setCurrentIndex(series);
    QCOMPARE(w.Series(), s);
    auto* table = w.findChild<QTableWidget*>("ESeriesDecade");
    QCOMPARE(table->columnCount(), columns);
    QCOMPARE(table->rowCount(), rows);
    QCOMPARE(table->item(0, 0)->text(), first);
    const int n = static_cast<int>(PreferredDecade(s).size());
    QCOMPARE(table->item((n - 1) / columns, (n - 1) % columns)->text(), last);
    // Every cell holds its table value; the nearest and the other one of the bracket are
    // marked, nothing else is.
    const QString nearest = Shown(w, "ESeriesNearest").remove('k');
    int marked = 0;
    for (int i = 0; i < n; ++i) {
      const QTableWidgetItem* cell = table->item(i / columns, i % columns);
      QCOMPARE(cell->text().toDouble(), PreferredDecade(s)[static_cast<std::size_t>(i)]);
      if (cell->background().style() != Qt::NoBrush) ++marked;
      if (cell->text() == nearest) QVERIFY(cell->background().style() != Qt::NoBrush);
    }
    QCOMPARE(marked, 2);  // 2.5k is no value of any series
    QVERIFY(table->isVisible());
    QVERIFY(table->width() >= columns * 40);
  }

  void aKeystrokeInE192TakesUnderTwentyMilliseconds() {
    // The finest series with the largest table: the searches and the 192 cells anew.
    ESeriesWindow w;
    w.show();
    w.SetSeries(PreferredSeries::E192);
    auto* edit = w.findChild<QLineEdit*>("ESeriesValue");
    edit->setText("12.3");
    constexpr int kKeystrokes = 100;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kKeystrokes; ++i) {
      QTest::keyClick(edit, i % 2 == 0 ? Qt::Key_4 : Qt::Key_Backspace);
    }
    const double each = static_cast<double>(timer.nsecsElapsed()) * 1e-6 / kKeystrokes;
    qInfo("%.2f ms a keystroke", each);
    QVERIFY2(each < 20.0, qPrintable(QString::number(each)));
  }

  void aClickOnTheTableTakesItsValueInTheEntrysDecade() {
    ESeriesWindow w;
    w.show();
    w.SetSeries(PreferredSeries::E12);
    TypeInto(w, "ESeriesValue", "47n");
    auto* table = w.findChild<QTableWidget*>("ESeriesDecade");
    emit table->cellClicked(0, 2);  // 1.5
    QCOMPARE(w.findChild<QLineEdit*>("ESeriesValue")->text(), QString("15n"));
    emit table->cellClicked(1, 0);  // no such cell in E12: nothing changes
    QCOMPARE(w.findChild<QLineEdit*>("ESeriesValue")->text(), QString("15n"));
    QCOMPARE(Shown(w, "ESeriesNearestError"), QString("0 %"));
  }

  void argumentsGiveTheStartingValueAndSeries() {
    QString error;
    auto window = MakeESeriesWindow({"E96", "1.234k"}, error);
    QVERIFY(window);
    auto* w = qobject_cast<ESeriesWindow*>(window.get());
    QVERIFY(w);
    QCOMPARE(w->Series(), PreferredSeries::E96);
    QCOMPARE(Shown(*w, "ESeriesNearest"), QString("1.24k"));
    for (const QStringList& bad : {QStringList{"abc"}, QStringList{"E12", "E24"},
                                   QStringList{"1k", "2k"}, QStringList{"0"}}) {
      error.clear();
      QVERIFY(!MakeESeriesWindow(bad, error));
      QVERIFY2(!error.isEmpty(), qPrintable(bad.join(' ')));
    }
  }

  void theBuiltProgramStartsAndDrawsItsWindow() {
    QTemporaryDir folder;
    const QString picture = folder.filePath("eseries.png");
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(ProgramPath(), {"--screenshot", picture, "E48", "3.3k"});
    QVERIFY2(program.waitForFinished(60000), qPrintable(ProgramPath() + " did not run"));
    QCOMPARE(program.exitCode(), 0);
    const QImage image(picture);
    QVERIFY(image.width() > 600 && image.height() > 300);
    program.start(ProgramPath(), {"--version"});
    QVERIFY(program.waitForFinished(60000));
    QVERIFY(program.readAllStandardOutput().startsWith("morvane-eseries "));
  }
};

QTEST_MAIN(ESeriesWindowTest)
#include "eseries_window_test.moc"

// The RC filters window: the start values give a design, each keystroke designs anew with the
// core's values, bad entries show their message and no number (never "nan" or "inf"), the
// frequency field follows the circuit (fg or f0), and the graphs draw their curves.

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "companions/rc/rc_window.h"
#include "graphs/graph_image.h"
#include "numerics/standard_series.h"
#include "numerics/value_text.h"
#include "rc_filters/rc_filter.h"

using namespace morvane;
using namespace morvane::gui;

namespace {

void Type(RcWindow& w, const char* field, const QString& text) {
  auto* edit = w.findChild<QLineEdit*>(field);
  edit->setText(text);
  emit edit->textEdited(text);
}

QString Shown(RcWindow& w, const char* field) {
  return w.findChild<QLineEdit*>(field)->text();
}

QString Quantity(double x, const char* unit) {
  return QString::fromStdString(FormatQuantity(x, unit));
}

constexpr const char* kResults[] = {"RcBuiltR",         "RcBuiltC", "RcExact",
                                    "RcBuiltFrequency", "RcError",  "RcLoadedFrequency",
                                    "RcLoadedGain"};

int ColouredPixels(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  }
  return count;
}

}  // namespace

class RcWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startValuesGiveADesign() {
    RcWindow w;
    w.show();
    QVERIFY(w.Message().isEmpty());
    // 1 kHz lowpass, E24, neither R nor C: 16 nF puts R nearest 10 kOhm, R rounds to 10 k.
    QCOMPARE(Shown(w, "RcBuiltR"), Quantity(10e3, "Ω"));
    QCOMPARE(Shown(w, "RcBuiltC"), Quantity(16e-9, "F"));
    QCOMPARE(Shown(w, "RcError"), QString("-0.53 %"));
    // RL = 100 k: R || RL = 9.0909 k, gain 100/110.
    const double loaded = (1.0 / 10e3 + 1.0 / 100e3) / (2 * M_PI * 16e-9);
    QCOMPARE(Shown(w, "RcLoadedFrequency"), Quantity(loaded, "Hz"));
    QVERIFY(Shown(w, "RcLoadedGain").startsWith("-0.83 dB"));
    const QImage& gain = w.findChild<GraphImage*>("RcGainGraph")->Bitmap();
    QVERIFY(ColouredPixels(gain, qRgb(0, 0, 255)) > 200);
    const QImage& phase = w.findChild<GraphImage*>("RcPhaseGraph")->Bitmap();
    QVERIFY(ColouredPixels(phase, qRgb(0, 128, 0)) > 200);
  }

  void everyKeystrokeDesigns() {
    RcWindow w;
    Type(w, "RcR", "4k7");
    const RcDesign expected = DesignRcFilter(
        {RcCircuit::Lowpass, 1e3, 4.7e3, std::nullopt, 3, std::optional<double>(100e3)});
    QCOMPARE(w.Design().c, expected.c);
    QCOMPARE(Shown(w, "RcBuiltC"), Quantity(expected.c, "F"));
    QCOMPARE(Shown(w, "RcBuiltR"), Quantity(4.7e3, "Ω"));
    Type(w, "RcLoad", "");
    QCOMPARE(Shown(w, "RcLoadedGain"), QString("0.00 dB  (1.000)"));
    Type(w, "RcFrequency", "2.5 kHz");
    QVERIFY(w.Message().isEmpty());
    QCOMPARE(w.Design().c, NearestSeriesValue(3, 1.0 / (2 * M_PI * 2.5e3 * 4.7e3)));
  }

  void frequencyNameFollowsTheCircuit() {
    RcWindow w;
    auto* circuit = w.findChild<QComboBox*>("RcCircuit");
    circuit->setCurrentIndex(static_cast<int>(RcCircuit::TwinTNotch));
    Type(w, "RcFrequency", "");
    QCOMPARE(w.Message(), QString("Enter f0."));
    Type(w, "RcFrequency", "50");
    QVERIFY(w.Message().isEmpty());
    // The notch does not move with the load; the DC gain does.
    QCOMPARE(w.Design().loaded.frequency, w.Design().builtFrequency);
  }

  void badEntriesShowAMessageAndNoNumber_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("text fg") << "RcFrequency"
                             << "abc"
                             << "fg: \"abc\" is not a number.";
    QTest::newRow("left over") << "RcFrequency"
                               << "1.2.3"
                               << "fg: \"1.2.3\" is not a number.";
    QTest::newRow("zero fg") << "RcFrequency"
                             << "0"
                             << "fg must be greater than 0.";
    QTest::newRow("negative fg") << "RcFrequency"
                                 << "-1k"
                                 << "fg must be greater than 0.";
    QTest::newRow("empty fg") << "RcFrequency"
                              << ""
                              << "Enter fg.";
    QTest::newRow("huge fg") << "RcFrequency"
                             << "1e999"
                             << "fg is too large.";
    QTest::newRow("zero R") << "RcR"
                            << "0"
                            << "R must be greater than 0.";
    QTest::newRow("negative C") << "RcC"
                                << "-10n"
                                << "C must be greater than 0.";
    QTest::newRow("text RL") << "RcLoad"
                             << "x"
                             << "RL: \"x\" is not a number.";
    QTest::newRow("zero RL") << "RcLoad"
                             << "0"
                             << "RL must be greater than 0 (leave it empty for no load).";
  }

  void badEntriesShowAMessageAndNoNumber() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    RcWindow w;
    Type(w, field.toLatin1().constData(), text);
    QCOMPARE(w.Message(), message);
    QVERIFY(w.findChild<QLabel*>("RcMessage")->isVisibleTo(&w));
    for (const char* result : kResults) QCOMPARE(Shown(w, result), QString("–"));
    // And back: a good entry clears the message.
    Type(w, field.toLatin1().constData(), field == "RcFrequency" ? "1k" : "");
    QVERIFY(w.Message().isEmpty());
  }

  void bothGivenAsksForOne() {
    RcWindow w;
    Type(w, "RcR", "10k");
    Type(w, "RcC", "10n");
    QCOMPARE(w.Message(), QString("Give R or C, not both: the other is computed."));
  }

  void nothingShownIsNotANumber() {
    RcWindow w;
    for (int circuit = 0; circuit < 5; ++circuit) {
      w.findChild<QComboBox*>("RcCircuit")->setCurrentIndex(circuit);
      for (const char* text : {"1", "1e-20", "1e20", "3.3G", "100m"}) {
        Type(w, "RcFrequency", text);
        for (const char* result : kResults) {
          const QString shown = Shown(w, result).toLower();
          QVERIFY2(!shown.contains("nan") && !shown.contains("inf"), qPrintable(shown));
        }
      }
    }
  }
};

QTEST_MAIN(RcWindowTest)
#include "rc_window_test.moc"

// The LC resonant circuits window: the start values give the parallel circuit's resonance,
// the computed one of f0, L, C is the one chosen and its field is not typed into, each
// keystroke computes anew, the reactances follow their frequency, bad entries show their
// message and no number (never "nan" or "inf"), and the graphs draw their curves.

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <cmath>

#include "companions/lc/lc_window.h"
#include "graphs/graph_image.h"
#include "numerics/value_text.h"
#include "resonance/resonant_circuit.h"

using namespace morvane;
using namespace morvane::gui;

namespace {

void Type(LcWindow& w, const char* field, const QString& text) {
  auto* edit = w.findChild<QLineEdit*>(field);
  edit->setText(text);
  emit edit->textEdited(text);
}

QString Shown(LcWindow& w, const char* field) {
  return w.findChild<QLineEdit*>(field)->text();
}

QString Quantity(double x, const char* unit) {
  return QString::fromStdString(FormatQuantity(x, unit));
}

void Choose(LcWindow& w, const char* combo, int index) {
  w.findChild<QComboBox*>(combo)->setCurrentIndex(index);
}

constexpr const char* kResults[] = {"LcQ",         "LcBandwidth", "LcLossR", "LcImpedanceAtF0",
                                    "LcZeroPhase", "LcXL",        "LcXC"};

int ColouredPixels(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  }
  return count;
}

}  // namespace

class LcWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startValuesGiveTheParallelResonance() {
    LcWindow w;
    w.show();
    QVERIFY(w.Message().isEmpty());
    // 10 uH, 100 nF: f0 = 159.15 kHz, sqrt(L/C) = 10 Ohm; a coil Q of 50 is R = 0.2 Ohm and
    // L/(RC) = 500 Ohm.
    QCOMPARE(Shown(w, "LcF0"), Quantity(1.0 / (2 * M_PI * 1e-6), "Hz"));
    QVERIFY(w.findChild<QLineEdit*>("LcF0")->isReadOnly());
    QCOMPARE(Shown(w, "LcQ"), QString("50.00"));
    QCOMPARE(Shown(w, "LcLossR"), Quantity(0.2, "Ω"));
    QCOMPARE(Shown(w, "LcBandwidth"), Quantity(1.0 / (2 * M_PI * 1e-6) / 50, "Hz"));
    QVERIFY(Shown(w, "LcZeroPhase").startsWith(Quantity(500.0, "Ω") + " at "));
    // At 100 kHz: XL = 6.283 Ohm, XC = 15.92 Ohm.
    QCOMPARE(Shown(w, "LcXL"), Quantity(2 * M_PI * 1e5 * 10e-6, "Ω"));
    QCOMPARE(Shown(w, "LcXC"), Quantity(1.0 / (2 * M_PI * 1e5 * 100e-9), "Ω"));
    const QImage& magnitude = w.findChild<GraphImage*>("LcMagnitudeGraph")->Bitmap();
    QVERIFY(ColouredPixels(magnitude, qRgb(0, 0, 255)) > 200);
    const QImage& phase = w.findChild<GraphImage*>("LcPhaseGraph")->Bitmap();
    QVERIFY(ColouredPixels(phase, qRgb(0, 128, 0)) > 200);
  }

  void theChosenUnknownIsComputed_data() {
    QTest::addColumn<int>("unknown");
    QTest::addColumn<QString>("f0");
    QTest::addColumn<QString>("l");
    QTest::addColumn<QString>("c");
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("expected");
    // 100 uH and 253.3 pF resonate at 1 MHz.
    QTest::newRow("C") << 2 << "1M"
                       << "100u"
                       << ""
                       << "LcC" << 253.302959e-12;
    QTest::newRow("L") << 1 << "1M"
                       << ""
                       << "253.302959p"
                       << "LcL" << 100e-6;
    QTest::newRow("f0") << 0 << ""
                        << "1m"
                        << "1u"
                        << "LcF0" << 5032.9212;
  }

  void theChosenUnknownIsComputed() {
    QFETCH(int, unknown);
    QFETCH(QString, f0);
    QFETCH(QString, l);
    QFETCH(QString, c);
    QFETCH(QString, field);
    QFETCH(double, expected);
    LcWindow w;
    Choose(w, "LcUnknown", unknown);
    if (unknown != 0) Type(w, "LcF0", f0);
    if (unknown != 1) Type(w, "LcL", l);
    if (unknown != 2) Type(w, "LcC", c);
    QVERIFY2(w.Message().isEmpty(), qPrintable(w.Message()));
    const Resonance& s = w.Result();
    const double got = unknown == 0 ? s.f0 : unknown == 1 ? s.l : s.c;
    QVERIFY(std::abs(got / expected - 1.0) < 1e-6);
    QVERIFY(w.findChild<QLineEdit*>(field.toLatin1().constData())->isReadOnly());
    QCOMPARE(Shown(w, field.toLatin1().constData()), Quantity(got, unknown == 0   ? "Hz"
                                                                   : unknown == 1 ? "H"
                                                                                  : "F"));
  }

  // Switching the unknown keeps the value shown: computing C from the f0 shown gives C back.
  void switchingTheUnknownKeepsTheValues() {
    LcWindow w;
    Choose(w, "LcUnknown", 2);
    QVERIFY(!w.findChild<QLineEdit*>("LcF0")->isReadOnly());
    QVERIFY(w.Message().isEmpty());
    QVERIFY(std::abs(w.Result().c / 100e-9 - 1.0) < 1e-3);
  }

  void seriesCircuitWithResistance() {
    LcWindow w;
    Choose(w, "LcCircuit", 0);
    Choose(w, "LcLoss", 1);
    Type(w, "LcLossValue", "1");
    QCOMPARE(Shown(w, "LcQ"), QString("10.00"));
    QVERIFY(Shown(w, "LcImpedanceAtF0").startsWith(Quantity(1.0, "Ω")));
  }

  void losslessParallelCircuitIsUnbounded() {
    LcWindow w;
    Choose(w, "LcLoss", 0);
    QVERIFY(w.Message().isEmpty());
    QCOMPARE(Shown(w, "LcQ"), QString("unbounded (no loss)"));
    QCOMPARE(Shown(w, "LcImpedanceAtF0"), QString("unbounded (no loss)"));
    const QImage& magnitude = w.findChild<GraphImage*>("LcMagnitudeGraph")->Bitmap();
    QVERIFY(ColouredPixels(magnitude, qRgb(0, 0, 255)) > 100);
  }

  void badEntriesShowAMessageAndNoNumber_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("text L") << "LcL"
                            << "abc"
                            << "L: \"abc\" is not a number.";
    QTest::newRow("zero L") << "LcL"
                            << "0"
                            << "L must be greater than 0.";
    QTest::newRow("negative C") << "LcC"
                                << "-1n"
                                << "C must be greater than 0.";
    QTest::newRow("empty C") << "LcC"
                             << ""
                             << "Enter C.";
    QTest::newRow("zero Q") << "LcLossValue"
                            << "0"
                            << "Q must be greater than 0.";
    QTest::newRow("empty Q") << "LcLossValue"
                             << ""
                             << "Enter Q.";
    QTest::newRow("huge L") << "LcL"
                            << "1e999"
                            << "L is too large.";
    QTest::newRow("tiny L") << "LcL"
                            << "1e-320"
                            << "The values lie beyond the numbers the program can handle.";
  }

  void badEntriesShowAMessageAndNoNumber() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    LcWindow w;
    Type(w, field.toLatin1().constData(), text);
    QCOMPARE(w.Message(), message);
    QVERIFY(w.findChild<QLabel*>("LcMessage")->isVisibleTo(&w));
    for (const char* result : kResults) QCOMPARE(Shown(w, result), QString("–"));
    QCOMPARE(Shown(w, "LcF0"), QString("–"));
  }

  void badReactanceFrequencyKeepsTheResonance() {
    LcWindow w;
    Type(w, "LcFrequency", "0");
    QCOMPARE(w.Message(), QString("The frequency of the reactances must be greater than 0."));
    QCOMPARE(Shown(w, "LcXL"), QString("–"));
    QCOMPARE(Shown(w, "LcQ"), QString("50.00"));
  }

  void nothingShownIsNotANumber() {
    LcWindow w;
    for (int circuit = 0; circuit < 2; ++circuit) {
      Choose(w, "LcCircuit", circuit);
      for (int loss = 0; loss < 3; ++loss) {
        Choose(w, "LcLoss", loss);
        for (const char* text : {"1", "1e-20", "1e20", "0.5", "1e-150"}) {
          Type(w, "LcLossValue", text);
          Type(w, "LcL", text);
          for (const char* result : kResults) {
            const QString shown = Shown(w, result).toLower();
            QVERIFY2(!shown.contains("nan") && !shown.contains("inf"), qPrintable(shown));
          }
        }
      }
    }
  }
};

QTEST_MAIN(LcWindowTest)
#include "lc_window_test.moc"

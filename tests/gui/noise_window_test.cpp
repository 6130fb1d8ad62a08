// The Noise window: the RMS it shows is AnalyseNoise's for the stage, a first-order section
// with an ideal op amp integrates to its kT/C closed form, the resistors' noise follows the
// square root of the absolute temperature, bad entries show a message and no number, the
// graph draws both curves, and the multi-stage window lists its sections.

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>
#include <cmath>

#include "app/secondary_windows.h"
#include "cascade/cascade_circuit.h"
#include "cascade/cascade_window.h"
#include "gui_test_support.h"
#include "noise/noise_subjects.h"
#include "noise/noise_window.h"
#include "numerics/value_text.h"
#include "recording_desktop.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

constexpr double kBoltzmann = 1.380649e-23;
constexpr int kIdealIndex = 1;  // "ideal" follows "As the design"

void Type(NoiseWindow& w, const char* field, const QString& text) {
  auto* edit = w.findChild<QLineEdit*>(field);
  edit->setText(text);
  emit edit->textEdited(text);
}

QString Shown(NoiseWindow& w, const char* label) {
  return w.findChild<QLabel*>(label)->text();
}

int PixelsOf(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  }
  return count;
}

}  // namespace

class NoiseWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void stageNoiseIsTheAnalysisAndFollowsTemperature() {
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    w.Trigger("Noise1");
    NoiseWindow& n = windows.Noise();
    QVERIFY(n.isVisible());
    n.findChild<QComboBox*>("NoiseOpAmp")->setCurrentIndex(kIdealIndex);
    const double fg = w.window.Session().State().fg;
    QCOMPARE(ReadValue(n.findChild<QLineEdit*>("NoiseFrom")->text().toStdString()), fg / 10);

    NoiseSubject subject = StageNoiseSubject(w.window.Session());
    subject.circuit.opAmpModel = BuiltInOpAmps()[0];
    const NoiseRequest band{fg / 10, fg * 10, 400, 25.0};
    const NoiseAnalysis expected = AnalyseNoise(subject.circuit, band);
    QCOMPARE(n.Summary().rms, expected.rms);
    QVERIFY(Shown(n, "NoiseRms").startsWith(QString::fromStdString(MicrovoltText(expected.rms))));
    QCOMPARE(static_cast<int>(std::ranges::count(n.Csv(), '\n')), 401);
    const auto* parts = n.findChild<QTableWidget*>("NoiseParts");
    QCOMPARE(parts->rowCount(), static_cast<int>(expected.parts.size()));
    QCOMPARE(parts->item(0, 0)->text(), QString::fromStdString(expected.parts[0].name));
    QVERIFY(!n.findChild<QTableWidget*>("NoiseSections")->isVisible());

    // Resistor noise alone: the power goes with the absolute temperature.
    Type(n, "NoiseCelsius", "125");
    QVERIFY(n.Message().isEmpty());
    QCOMPARE(n.Summary().rms / expected.rms, std::sqrt(398.15 / 298.15));

    // A new design is analysed at once, the band following fg.
    w.Type("fgEingabe", "3k");
    QCOMPARE(n.findChild<QLineEdit*>("NoiseTo")->text(), QString("30.00k"));
  }

  void badEntriesShowAMessageAndNoNumber() {
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    w.Trigger("Noise1");
    NoiseWindow& n = windows.Noise();
    const struct {
      const char* field;
      const char* text;
      const char* message;
    } cases[] = {
        {"NoiseFrom", "20k", "0 < from < to"},  {"NoiseFrom", "abc", "not a number"},
        {"NoiseTo", "0", "0 < from < to"},      {"NoiseCelsius", "-300", "temperature"},
        {"NoiseCelsius", "1e999", "too large"},
    };
    for (const auto& c : cases) {
      Type(n, c.field, c.text);
      QVERIFY2(n.Message().contains(c.message), qPrintable(n.Message()));
      QCOMPARE(Shown(n, "NoiseRms"), QString("–"));
      QVERIFY(!Shown(n, "NoiseMessage").isEmpty());
      Type(n, c.field, c.field == std::string("NoiseCelsius") ? "25" : "");
      n.findChild<QAbstractButton*>("NoiseFilterBand")->click();
    }
    // A decimal comma reads as the entry fields read it.
    Type(n, "NoiseFrom", "1,5");
    QVERIFY(n.Message().isEmpty());
    QCOMPARE(n.Analysis().frequency.front(), 1.5);
    // A passive page has no analysis here.
    w.window.SelectTopology(Topology::LcLadder);
    QVERIFY(n.Message().contains("passive"));
  }

  void graphDrawsBothCurves() {
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    w.Trigger("Noise1");
    NoiseWindow& n = windows.Noise();
    const QImage& picture = n.Picture();
    const int green = PixelsOf(picture, qRgb(0, 128, 0));
    const int blue = PixelsOf(picture, qRgb(0, 0, 255));
    QVERIFY2(green > picture.width() / 2, qPrintable(QString::number(green)));
    QVERIFY2(blue > picture.width() / 8, qPrintable(QString::number(blue)));
    QVERIFY(n.SvgPicture().find("<svg") != std::string::npos);
    Type(n, "NoiseTo", "1");
    QVERIFY(PixelsOf(n.Picture(), qRgb(0, 128, 0)) < green / 4);
  }

  // A first-order lowpass with an ideal op amp over a very wide band: the RC lowpass and
  // follower gives kT/C; the inverting one with R2 = R1 gives kT/C (1 + R2/R1).
  void multiStageWindowListsSectionsAndMeetsKtOverC() {
    RecordingDesktop desktop;
    CascadeWindow window(desktop);
    window.show();
    const struct {
      Topology topology;
      double factor;
    } cases[] = {{Topology::Pfb, 1.0}, {Topology::Mfb, 2.0}};
    for (const auto& c : cases) {
      CascadeEntries entries;
      entries.request.order = 1;
      entries.request.topology = c.topology;
      window.SetEntries(entries);
      window.findChild<QAction*>("CascadeNoise")->trigger();
      NoiseWindow& n = window.Noise();
      n.findChild<QComboBox*>("NoiseOpAmp")->setCurrentIndex(kIdealIndex);
      n.findChild<QSpinBox*>("NoisePoints")->setValue(4000);
      Type(n, "NoiseFrom", "0,1");
      Type(n, "NoiseTo", "100M");
      double capacitance = 0.0;
      for (const CircuitPart& p : JoinedCascadeCircuit(window.Design()).parts) {
        if (p.name.starts_with("C")) capacitance = p.value;
      }
      const double expected = std::sqrt(c.factor * kBoltzmann * 298.15 / capacitance);
      QVERIFY2(std::abs(n.Summary().rms / expected - 1) < 1e-3,
               qPrintable(QString::number(n.Summary().rms / expected)));
    }
    CascadeEntries entries;
    entries.request.order = 6;
    window.SetEntries(entries);
    NoiseWindow& n = window.Noise();
    n.findChild<QAbstractButton*>("NoiseFilterBand")->click();
    const auto* sections = n.findChild<QTableWidget*>("NoiseSections");
    QVERIFY(sections->isVisible());
    QCOMPARE(sections->rowCount(), 3);
    QVERIFY(sections->item(0, 0)->text().startsWith("section"));
  }
};

QTEST_MAIN(NoiseWindowTest)
#include "noise_window_test.moc"

// The graph windows driven through their controls and the mouse: the axes each starts with,
// when the curve is sampled anew and when only redrawn, the shared curve style, the zoom
// rectangle, the readout, saving the picture, and that each window exists once.

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <cmath>
#include <cstring>

#include "design/field_names.h"
#include "graph_test_support.h"
#include "graphs/graph_image.h"
#include "graphs/graph_profile.h"
#include "graphs/graph_window_sizes.h"
#include "graphs/plot_mapping.h"
#include "graphs/transfer_curves.h"
#include "numerics/step_rounding.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

Q_DECLARE_METATYPE(morvane::FilterType)
Q_DECLARE_METATYPE(morvane::GraphKind)
Q_DECLARE_METATYPE(morvane::gui::SecondaryWindow)

namespace {

GraphImage* ImageOf(GraphWindow& w) {
  return Child<GraphImage>(w, "Image");
}

QPoint PixelOf(const AxisState& a, double x, double y) {
  return {ToScreenX(a, x), ToScreenY(a, y)};
}

// Pixels of exactly this colour strictly inside the plot rectangle.
int PlotPixels(const GraphWindow& w, const AxisState& a, QColor colour) {
  int n = 0;
  for (int y = a.Top + 1; y < a.Bottom; ++y) {
    for (int x = a.Left + 1; x < a.Right; ++x) n += w.Picture().pixelColor(x, y) == colour;
  }
  return n;
}

bool SameSamples(const CurveBuffer& a, const CurveBuffer& b) {
  return a.Count == b.Count && a.X == b.X && a.Y == b.Y;
}

// The mouse to that pixel of the image. A move to where the mouse already is (the same spot
// of an earlier window) would not arrive, so it comes from a pixel beside it.
void MoveMouse(GraphWindow& w, QPoint pixel) {
  QTest::mouseMove(ImageOf(w), pixel + QPoint(3, 3));
  QTest::mouseMove(ImageOf(w), pixel);
}

void Click(GraphWindow& w, const char* button) {
  Child<QToolButton>(w, button)->click();
}

// Opens the sweep mode from the window; `act` runs while it is open.
void RunSweepMode(GraphWindow& w, std::function<void(QDialog&)> act) {
  WhenModal(std::move(act));
  Click(w, "SweepButton");
}

}  // namespace

class GraphWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initialAxesPerWindowAndType_data() {
    QTest::addColumn<GraphKind>("kind");
    QTest::addColumn<FilterType>("type");
    QTest::addColumn<QString>("fg");
    QTest::addColumn<QString>("q");
    QTest::addColumn<bool>("log");
    QTest::addColumn<double>("xmin");
    QTest::addColumn<double>("xmax");
    QTest::addColumn<double>("ymin");
    QTest::addColumn<double>("ymax");
    QTest::addColumn<double>("ystep");

    const auto G = GraphKind::Gain;
    const auto P = GraphKind::Phase;
    const auto D = GraphKind::GroupDelay;
    const auto T = GraphKind::TimeResponse;
    QTest::newRow("gain lowpass 1k") << G << FilterType::Lowpass << "1000"
                                     << "0.7071" << true << 10.0 << 1e5 << -60.0 << 20.0 << 1.0;
    // 100 fg = 150k is a 1-2-5 step of 200k, drawn to the decades 100 .. 1M.
    QTest::newRow("gain 1.5k snaps to decades")
        << G << FilterType::Bandpass << "1500"
        << "0.7071" << true << 100.0 << 1e6 << -60.0 << 20.0 << 1.0;
    QTest::newRow("phase lowpass") << P << FilterType::Lowpass << "1000"
                                   << "0.7071" << true << 10.0 << 1e5 << -200.0 << 0.0 << 5.0;
    QTest::newRow("phase elliptic") << P << FilterType::EllipticLowpass << "1000"
                                    << "0.7071" << true << 10.0 << 1e5 << -200.0 << 200.0 << 5.0;
    QTest::newRow("phase highpass") << P << FilterType::Highpass << "1000"
                                    << "0.7071" << true << 10.0 << 1e5 << 0.0 << 200.0 << 5.0;
    QTest::newRow("phase bandpass") << P << FilterType::Bandpass << "1000"
                                    << "0.7071" << true << 10.0 << 1e5 << -100.0 << 100.0 << 5.0;
    QTest::newRow("phase bandstop") << P << FilterType::Bandstop << "1000"
                                    << "0.7071" << true << 10.0 << 1e5 << -100.0 << 100.0 << 5.0;
    QTest::newRow("phase allpass") << P << FilterType::Allpass << "1000"
                                   << "0.7071" << true << 10.0 << 1e5 << -400.0 << 0.0 << 5.0;
    // 1.5 tgr(0.9 fg) = 0.37 ms for the lowpass, twice that for the allpass.
    QTest::newRow("delay lowpass") << D << FilterType::Lowpass << "1000"
                                   << "0.7071" << true << 10.0 << 1e5 << 0.0 << 5e-4 << 1e-5;
    QTest::newRow("delay allpass") << D << FilterType::Allpass << "1000"
                                   << "0.7071" << true << 10.0 << 1e5 << 0.0 << 1e-3 << 2e-5;
    // At 700 Hz: the lowpass rule would give 1.5 tgr(630 Hz) = 0.53 ms -> 1 ms; the highpass
    // takes 1.75 tgr(778 Hz) = 0.498 ms -> 0.5 ms.
    QTest::newRow("delay highpass") << D << FilterType::Highpass << "700"
                                    << "0.7071" << true << 10.0 << 1e5 << 0.0 << 5e-4 << 1e-5;
    QTest::newRow("delay lowpass 700") << D << FilterType::Lowpass << "700"
                                       << "0.7071" << true << 10.0 << 1e5 << 0.0 << 1e-3 << 2e-5;
    // 1.5 tgr(fg) = 0.34 ms.
    QTest::newRow("delay bandpass") << D << FilterType::Bandpass << "1000"
                                    << "0.7071" << true << 10.0 << 1e5 << 0.0 << 5e-4 << 1e-5;
    QTest::newRow("time Q 0.7071") << T << FilterType::Lowpass << "1000"
                                   << "0.7071" << false << 0.0 << 5e-3 << -0.1 << 1.1 << 0.02;
    QTest::newRow("time Q 0.83") << T << FilterType::Lowpass << "1000"
                                 << "0.83" << false << 0.0 << 5e-3 << -0.1 << 2.1 << 0.02;
    QTest::newRow("time Q 2") << T << FilterType::Highpass << "1000"
                              << "2" << false << 0.0 << 1e-2 << -0.1 << 2.1 << 0.02;
  }

  void initialAxesPerWindowAndType() {
    QFETCH(GraphKind, kind);
    QFETCH(FilterType, type);
    QFETCH(QString, fg);
    QFETCH(QString, q);
    QFETCH(bool, log);
    QFETCH(double, xmin);
    QFETCH(double, xmax);
    QFETCH(double, ymin);
    QFETCH(double, ymax);
    QFETCH(double, ystep);
    GraphFixture f(type);
    f.session.TypeEntry(field::fgEingabe, fg.toStdString());
    f.session.TypeEntry(field::QEingabe, q.toStdString());
    // Another window's zoom and origin must not leak into the fresh axes.
    const GraphKind other = IsFrequencyGraph(kind) ? GraphKind::TimeResponse : GraphKind::Gain;
    f.Show(other);
    f.graphs.Axes().yo = 0.05;
    Click(f.Window(other), "ZoomInButton");

    GraphWindow& w = f.Show(kind);
    const AxisState& a = f.graphs.Axes();
    QCOMPARE(a.xMode == AxisMode::Logarithmic, log);
    QCOMPARE(Child<QAction>(w, "xlog1")->isChecked(), log);
    QCOMPARE(a.xmin, xmin);
    QCOMPARE(a.xmax, xmax);
    QCOMPARE(a.ymin, ymin);
    QCOMPARE(a.ymax, ymax);
    QCOMPARE(a.ystep, ystep);
    QCOMPARE(a.xGridEvery, 5);
    QCOMPARE(a.yGridEvery, 5);
    QCOMPARE(w.Buffer().Count, 254);
    if (kind == GraphKind::TimeResponse) {
      QCOMPARE(a.xo, 0.0);
      QCOMPARE(a.yo, 0.0);
      QCOMPARE(a.xstep, xmax / 50);
    } else {
      QCOMPARE(a.xo, a.xmin);
      // The other window's origin stays its own: this one's is 0 where the range holds it.
      QCOMPARE(a.yo, ymin <= 0.0 && 0.0 <= ymax ? 0.0 : ymin);
    }
  }

  // What the window samples is what the core's fillers give over the window's range, the
  // same numbers morvane-cli curve prints.
  void samplesAreTheFillersOverTheWindowsRange_data() {
    QTest::addColumn<GraphKind>("kind");
    QTest::addColumn<FilterType>("type");
    QTest::addColumn<bool>("pulse");
    QTest::newRow("gain lowpass") << GraphKind::Gain << FilterType::Lowpass << false;
    QTest::newRow("gain bandstop") << GraphKind::Gain << FilterType::Bandstop << false;
    QTest::newRow("phase highpass") << GraphKind::Phase << FilterType::Highpass << false;
    QTest::newRow("phase allpass") << GraphKind::Phase << FilterType::Allpass << false;
    QTest::newRow("delay bandpass") << GraphKind::GroupDelay << FilterType::Bandpass << false;
    QTest::newRow("step") << GraphKind::TimeResponse << FilterType::Lowpass << false;
    QTest::newRow("pulse") << GraphKind::TimeResponse << FilterType::Lowpass << true;
  }

  void samplesAreTheFillersOverTheWindowsRange() {
    QFETCH(GraphKind, kind);
    QFETCH(FilterType, type);
    QFETCH(bool, pulse);
    GraphFixture f(type);
    GraphWindow& w = f.Show(kind);
    if (pulse) Child<QRadioButton>(w, "RadioButtonht")->click();
    QCOMPARE(w.PulseSelected(), pulse);

    DesignState copy = f.session.State();
    const AxisRange range = XRangeOf(f.graphs.Axes());
    CurveBuffer expected;
    switch (kind) {
      case GraphKind::Gain:
        FillGainCurve(copy, type, range, expected);
        break;
      case GraphKind::Phase:
        FillPhaseCurve(copy, type, range, expected);
        break;
      case GraphKind::GroupDelay:
        FillGroupDelayCurve(copy, type, range, expected);
        break;
      case GraphKind::TimeResponse:
        FillTimeCurve(copy, range, pulse ? TimeResponse::Pulse : TimeResponse::Step, expected);
        break;
    }
    QVERIFY(SameSamples(w.Buffer(), expected));
    if (pulse) QCOMPARE(*std::max_element(w.Buffer().Y.begin(), w.Buffer().Y.end()), 1.0);
  }

  void gainSamplesMatchTheCommandLine() {
    const QString cli = QCoreApplication::applicationDirPath() + "/../cli/morvane-cli";
    if (!QFile::exists(cli)) QSKIP("morvane-cli is not built");
    QProcess process;
    process.start(cli, {"curve", "gain", "--from", "10", "--to", "100000", "--log"});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');

    GraphFixture f;
    const CurveBuffer& b = f.Show(GraphKind::Gain).Buffer();
    QCOMPARE(lines.value(0), QString("x,y"));
    for (int i = 0; i <= b.Count; ++i) {
      const QStringList xy = lines.value(i + 1).split(',');
      QCOMPARE(xy.size(), 2);
      QCOMPARE(xy[0].toDouble(), b.X[i]);
      QCOMPARE(xy[1].toDouble(), b.Y[i]);
    }
  }

  // Changing xmin: a frequency window samples the new range, the time window only redraws
  // the samples it has.
  void xminRefillsFrequencyWindowsAndRedrawsTheTimeWindow_data() {
    QTest::addColumn<GraphKind>("kind");
    QTest::addColumn<double>("nearXmin");  // a point of the hot zone along the axis
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("xmin");
    QTest::addColumn<bool>("refilled");
    QTest::newRow("gain") << GraphKind::Gain << 15.0 << "100" << 100.0 << true;
    QTest::newRow("phase") << GraphKind::Phase << 15.0 << "1k" << 1000.0 << true;
    QTest::newRow("group delay") << GraphKind::GroupDelay << 15.0 << "100" << 100.0 << true;
    QTest::newRow("time") << GraphKind::TimeResponse << 4e-4 << "0.001" << 1e-3 << false;
  }

  void xminRefillsFrequencyWindowsAndRedrawsTheTimeWindow() {
    QFETCH(GraphKind, kind);
    QFETCH(double, nearXmin);
    QFETCH(QString, typed);
    QFETCH(double, xmin);
    QFETCH(bool, refilled);
    GraphFixture f;
    GraphWindow& w = f.Show(kind);
    const CurveBuffer before = w.Buffer();
    const QImage pictureBefore = w.Picture().copy();
    const AxisState& a = f.graphs.Axes();
    // A new Q shows whether the curve was sampled again, even where the samples do not
    // follow xmin (the time curve always starts at 0).
    f.State().Q = 1.5;

    QString label;
    WhenModal([&](QDialog& d) {
      label = Child<QLabel>(d, "NamenLabel")->text();
      TypeAndPress(d, "Edit", typed, "OKBtn");
    });
    QTest::mouseClick(ImageOf(w), Qt::LeftButton, {}, PixelOf(a, nearXmin, a.yo));
    QCOMPARE(label, QString("xmin="));
    QCOMPARE(a.xmin, xmin);
    QCOMPARE(a.xstep, CeilStep125(0.02 * (a.xmax - a.xmin)));
    QVERIFY(a.xmin <= a.xo && a.xo <= a.xmax);
    QCOMPARE(!SameSamples(w.Buffer(), before), refilled);
    if (refilled) QCOMPARE(w.Buffer().X[0], xmin);
    QVERIFY(w.Picture() != pictureBefore);
    QCOMPARE(f.platform.beeps, 0);
  }

  void anAxisEndBeyondTheOtherIsRefused() {
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::TimeResponse);
    const AxisState& a = f.graphs.Axes();
    const double xmax = a.xmax;
    WhenModal([](QDialog& d) { TypeAndPress(d, "Edit", "0", "OKBtn"); });
    QTest::mouseClick(ImageOf(w), Qt::LeftButton, {}, PixelOf(a, 0.97 * xmax, a.yo));
    QCOMPARE(a.xmax, xmax);
    QCOMPARE(f.platform.beeps, 1);
  }

  void originDialogAsksForXoThenYo() {
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::TimeResponse);
    const AxisState& a = f.graphs.Axes();
    QStringList labels;
    WhenModal([&](QDialog& d) {
      labels << Child<QLabel>(d, "NamenLabel")->text();
      TypeAndPress(d, "Edit", "2m", "OKBtn");
      WhenModal([&](QDialog& d2) {
        labels << Child<QLabel>(d2, "NamenLabel")->text();
        TypeAndPress(d2, "Edit", "5", "OKBtn");  // beyond ymax: held at 1.1
      });
    });
    QTest::mouseDClick(ImageOf(w), Qt::LeftButton, {}, PixelOf(a, 2.5e-3, 0.5));
    // QTest leaves the button down after a double click.
    QTest::mouseRelease(ImageOf(w), Qt::LeftButton, {}, PixelOf(a, 2.5e-3, 0.5));
    QCOMPARE(labels, QStringList({"xo=", "yo="}));
    QCOMPARE(a.xo, 2e-3);
    QCOMPARE(a.yo, 1.1);
  }

  void threeDotClicksReturnToTheLine_data() {
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("bars");
    QTest::addColumn<bool>("markers");
    QTest::newRow("line") << 0 << false << false;
    QTest::newRow("line and markers") << 1 << false << true;
    QTest::newRow("bars") << 2 << true << false;
    QTest::newRow("line again") << 3 << false << false;
  }

  void threeDotClicksReturnToTheLine() {
    QFETCH(int, clicks);
    QFETCH(bool, bars);
    QFETCH(bool, markers);
    GraphFixture f;
    GraphWindow& gain = f.Show(GraphKind::Gain);
    for (int i = 0; i < clicks; ++i) Click(gain, "DotButton");
    // The style is shared: the phase window draws the same way.
    GraphWindow& phase = f.Show(GraphKind::Phase);
    const AxisState& a = f.graphs.Axes();
    QCOMPARE(a.ShowBars, bars);
    QCOMPARE(a.ShowMarkers, markers);
    QCOMPARE(PlotPixels(phase, a, Qt::blue) > 0, markers);
    QCOMPARE(PlotPixels(phase, a, Qt::red) > 0, bars);
    QCOMPARE(PlotPixels(phase, a, QColor(0, 128, 0)) > 0, !bars);
  }

  void rightDragZoomsOnlyFromUpperLeftToLowerRight_data() {
    QTest::addColumn<QPointF>("from");  // world points
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<bool>("zoomed");
    QTest::newRow("to lower right") << QPointF(1e-3, 0.8) << QPointF(3e-3, 0.2) << true;
    QTest::newRow("to upper right") << QPointF(1e-3, 0.2) << QPointF(3e-3, 0.8) << false;
    QTest::newRow("to lower left") << QPointF(3e-3, 0.8) << QPointF(1e-3, 0.2) << false;
    QTest::newRow("to upper left") << QPointF(3e-3, 0.8) << QPointF(1e-3, 0.2) << false;
    QTest::newRow("released outside") << QPointF(1e-3, 0.8) << QPointF(1.0, -5.0) << false;
  }

  void rightDragZoomsOnlyFromUpperLeftToLowerRight() {
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(bool, zoomed);
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::TimeResponse);
    AxisState& a = f.graphs.Axes();
    const AxisState before = a;
    const QPoint p0 = PixelOf(a, from.x(), from.y());
    QPoint p1 = PixelOf(a, to.x(), to.y());
    if (!zoomed && to.x() > a.xmax) p1 = {a.Right + 5, a.Bottom + 5};
    const double x0 = ToWorldX(a, p0.x()), y0 = ToWorldY(a, p0.y());
    const double x1 = ToWorldX(a, p1.x()), y1 = ToWorldY(a, p1.y());
    QTest::mousePress(ImageOf(w), Qt::RightButton, {}, p0);
    QTest::mouseMove(ImageOf(w), p1);
    QTest::mouseRelease(ImageOf(w), Qt::RightButton, {}, p1);
    if (zoomed) {
      QCOMPARE(a.xmin, x0);
      QCOMPARE(a.xmax, x1);
      QCOMPARE(a.ymin, y1);
      QCOMPARE(a.ymax, y0);
    } else {
      QCOMPARE(a.xmin, before.xmin);
      QCOMPARE(a.xmax, before.xmax);
      QCOMPARE(a.ymin, before.ymin);
      QCOMPARE(a.ymax, before.ymax);
    }
    // The drawing forgot the press: a release alone changes nothing.
    QCOMPARE(a.PressX, a.xmax);
    QCOMPARE(a.PressY, a.ymax);
  }

  void redrawingCommandsKeepTheSamples_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("zoom in") << "ZoomInButton";
    QTest::newRow("zoom out") << "ZoomOutButton";
    QTest::newRow("autoscale") << "AutoskButton";
    QTest::newRow("x-log") << "xlogButton";
    QTest::newRow("dots") << "DotButton";
    QTest::newRow("increase") << "VergroessernButton";
  }

  void redrawingCommandsKeepTheSamples() {
    QFETCH(QString, command);
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::Gain);
    const CurveBuffer before = w.Buffer();
    f.State().fg = 2000;  // a new design is not sampled by a redraw
    Click(w, qPrintable(command));
    QVERIFY(SameSamples(w.Buffer(), before));
    Child<QAction>(w, "Zeichnen1")->trigger();
    QVERIFY(!SameSamples(w.Buffer(), before));
  }

  void xlogSwitchesTheWindowsOwnAxis() {
    GraphFixture f;
    GraphWindow& gain = f.Show(GraphKind::Gain);
    QAction* xlog1 = Child<QAction>(gain, "xlog1");
    Click(gain, "xlogButton");
    QCOMPARE(f.graphs.Axes().xMode, AxisMode::Linear);
    QVERIFY(!xlog1->isChecked());
    // The phase window draws logarithmic; the gain window's axis stays linear, and its next
    // click switches its own axis back, leaving the phase window's alone.
    GraphWindow& phase = f.Show(GraphKind::Phase);
    QCOMPARE(f.graphs.Axes().xMode, AxisMode::Logarithmic);
    QCOMPARE(gain.DrawnAxes().xMode, AxisMode::Linear);
    xlog1->trigger();
    QCOMPARE(gain.DrawnAxes().xMode, AxisMode::Logarithmic);
    QVERIFY(xlog1->isChecked());
    QCOMPARE(phase.DrawnAxes().xMode, AxisMode::Logarithmic);
    // No logarithmic time axis.
    GraphWindow& time = f.Show(GraphKind::TimeResponse);
    QVERIFY(!Child<QToolButton>(time, "xlogButton")->isEnabled());
    QVERIFY(!Child<QAction>(time, "xlog1")->isEnabled());
  }

  void aWindowTurnedToTakesBackItsAxes() {
    GraphFixture f;
    GraphWindow& gain = f.Show(GraphKind::Gain);
    f.Show(GraphKind::Phase);
    QCOMPARE(f.graphs.Axes().ymin, -200.0);
    const QImage picture = gain.Picture().copy();
    // Pointing into the gain window reads the gain picture, not the phase axes.
    const QPoint middle(ImageOf(gain)->width() / 2, ImageOf(gain)->height() / 2);
    MoveMouse(gain, middle);
    QCOMPARE(f.graphs.Axes().ymin, -60.0);
    QVERIFY(Child<QLabel>(gain, "CurrentPanel")->text().contains("dB equal to"));
    QCOMPARE(gain.Picture(), picture);
  }

  void readoutTexts_data() {
    QTest::addColumn<GraphKind>("kind");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("text");
    QTest::newRow("gain") << GraphKind::Gain << 1000.0 << -3.0
                          << "Position: f=1.00kHz, V=-3.000dB equal to 0.71";
    QTest::newRow("gain far down")
        << GraphKind::Gain << 12.5 << -60.0 << "Position: f=12.50Hz, V=-60.000dB equal to 1.00m";
    QTest::newRow("phase") << GraphKind::Phase << 2500.0 << -123.456
                           << "Position: f=2.50kHz, phi=-123.46°";
    QTest::newRow("group delay") << GraphKind::GroupDelay << 50.0 << 2.2507e-4
                                 << "Position: f=50.00Hz, tgr=0.2251ms";
    QTest::newRow("time") << GraphKind::TimeResponse << 1.5e-3 << 1.0432
                          << "Position: t=1.50ms, V/Vo=1.0432";
  }

  void readoutTexts() {
    QFETCH(GraphKind, kind);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(ReadoutText(kind, x, y)), text);
  }

  void readoutFollowsTheMouse() {
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::TimeResponse);
    const AxisState& a = f.graphs.Axes();
    const QPoint p = PixelOf(a, 2e-3, 0.5);
    MoveMouse(w, p);
    QCOMPARE(Child<QLabel>(w, "CurrentPanel")->text(),
             QString::fromStdString(
                 ReadoutText(GraphKind::TimeResponse, ToWorldX(a, p.x()), ToWorldY(a, p.y()))));
    QCOMPARE(ImageOf(w)->cursor().shape(), Qt::CrossCursor);
    MoveMouse(w, PixelOf(a, 0.97 * a.xmax, a.yo));
    QCOMPARE(ImageOf(w)->cursor().shape(), Qt::SizeHorCursor);
    MoveMouse(w, PixelOf(a, a.xo, 0.97 * a.ymax));
    QCOMPARE(ImageOf(w)->cursor().shape(), Qt::SizeVerCursor);
  }

  void openingTwiceShowsTheOneWindow() {
    GraphFixture f;
    GraphWindow& first = f.Show(GraphKind::Gain);
    Click(first, "ZoomInButton");
    const AxisState zoomed = f.graphs.Axes();
    GraphWindow& second = f.Show(GraphKind::Gain);
    QCOMPARE(&second, &first);
    // Not shown anew: the zoomed axes stay.
    QCOMPARE(f.graphs.Axes().xmin, zoomed.xmin);
    QCOMPARE(f.graphs.Axes().ymax, zoomed.ymax);
    int shown = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      shown += top->isVisible() && top->objectName() == "FormVu";
    }
    QCOMPARE(shown, 1);
    // Closing hides; the next opening starts afresh.
    Child<QAction>(first, "Exit1")->trigger();
    QVERIFY(!first.isVisible());
    f.Show(GraphKind::Gain);
    QVERIFY(first.isVisible());
    QCOMPARE(f.graphs.Axes().xmin, 10.0);
  }

  void openByWindow_data() {
    QTest::addColumn<SecondaryWindow>("window");
    QTest::addColumn<QString>("form");
    QTest::newRow("gain") << SecondaryWindow::GainGraph << "FormVu";
    QTest::newRow("phase") << SecondaryWindow::PhaseGraph << "FormPhi";
    QTest::newRow("delay") << SecondaryWindow::GroupDelayGraph << "FormTgr";
    QTest::newRow("time") << SecondaryWindow::TimeResponseGraph << "Formht";
  }

  void openByWindow() {
    QFETCH(SecondaryWindow, window);
    QFETCH(QString, form);
    GraphFixture f;
    QVERIFY(f.graphs.Open(window));
    for (GraphKind kind : kGraphKinds) {
      GraphWindow& w = f.Window(kind);
      QCOMPARE(w.isVisible(), w.objectName() == form);
    }
    for (SecondaryWindow other : {SecondaryWindow::TopologyProposal, SecondaryWindow::FilterOrder,
                                  SecondaryWindow::Help, SecondaryWindow::About}) {
      QVERIFY(!f.graphs.Open(other));
    }
  }

  void windowSizes_data() {
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<QSize>("size");
    QTest::newRow("999") << 999 << QSize(768, 576);
    QTest::newRow("998") << 998 << QSize(640, 480);
    QTest::newRow("799") << 799 << QSize(640, 480);
    QTest::newRow("798") << 798 << QSize(533, 400);
  }

  void windowSizes() {
    QFETCH(int, screenWidth);
    QFETCH(QSize, size);
    QCOMPARE(StandardWindowSize(screenWidth), size);
  }

  void sizeButtonsKeepTheMinimum() {
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::Gain);
    const QSize start = w.size();
    Click(w, "VergroessernButton");
    QCOMPARE(w.size(), ScaledWindowSize(start, 4.0 / 3.0));
    for (int i = 0; i < 5; ++i) Click(w, "VerkleinernButton");
    QCOMPARE(w.size(), GraphWindow::kMinimumSize);
    // The bitmap follows the image and holds a drawing, not a blank.
    QCOMPARE(w.Picture().size(), ImageOf(w)->size());
    QVERIFY(PlotPixels(w, f.graphs.Axes(), QColor(0, 128, 0)) > 0);
  }

  void saveAsBmpRemembersTheName() {
    QTemporaryDir dir;
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::Phase);
    f.output.answer = dir.filePath("phase");
    Child<QAction>(w, "Save1")->trigger();
    QCOMPARE(w.LastFileName(), dir.filePath("phase.bmp"));
    QImage saved(dir.filePath("phase.bmp"), "BMP");
    QCOMPARE(saved.size(), w.Picture().size());
    // Offered again next time; cancelling keeps it.
    f.output.answer.clear();
    Child<QAction>(w, "Save1")->trigger();
    QCOMPARE(f.output.offeredNames, QStringList({"", dir.filePath("phase.bmp")}));
    QCOMPARE(w.LastFileName(), dir.filePath("phase.bmp"));
    QVERIFY(f.platform.messages.isEmpty());
  }

  void aPictureThatCannotBeWrittenIsReported() {
    QTemporaryDir dir;
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::Gain);
    f.output.answer = dir.filePath("missing/folder/gain.bmp");
    Child<QAction>(w, "Save1")->trigger();
    QCOMPARE(f.platform.messages.size(), 1);
    QVERIFY(f.platform.messages[0].contains("gain.bmp"));
  }

  void printAndCopyGiveThePicture() {
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::GroupDelay);
    Child<QAction>(w, "Print1")->trigger();
    QCOMPARE(f.output.printed, w.Picture());
    Child<QAction>(w, "Copy1")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(w.Picture().format()),
             w.Picture());
  }

  void pulseChoiceRefills() {
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::TimeResponse);
    const CurveBuffer step = w.Buffer();
    Child<QRadioButton>(w, "RadioButtonht")->click();
    QVERIFY(!SameSamples(w.Buffer(), step));
    QCOMPARE(w.Buffer().Y[0], 0.0);
    Child<QRadioButton>(w, "RadioButtonst")->click();
    QVERIFY(SameSamples(w.Buffer(), step));
  }

  // Sweep mode: Draw shows the tuned design and keeps the dialog open; Close gives back fg
  // and Q (and D) as they were and draws them again.
  // With rounded resistors every window draws the stage as built beside the design (dotted,
  // red, its own CSV column), from the session's as-built transfer; without, none.
  void asBuiltCurveBesideTheDesign_data() {
    QTest::addColumn<GraphKind>("kind");
    for (GraphKind kind : kGraphKinds) {
      QTest::newRow(QByteArray::number(static_cast<int>(kind)).constData()) << kind;
    }
  }

  void asBuiltCurveBesideTheDesign() {
    QFETCH(GraphKind, kind);
    GraphFixture f;
    f.session.SelectResistorSeries(1);  // E6: far from the computed values
    GraphWindow& w = f.Show(kind);
    QVERIFY(!w.AsBuiltCurve());
    f.session.SetResistorRounding(true);
    Child<QAction>(w, "Zeichnen1")->trigger();
    const CurveBuffer* built = w.AsBuiltCurve();
    QVERIFY(built);
    QCOMPARE(built->Count, w.Buffer().Count);
    // Drawn as the design is, without the sign of the inverting MFB stage.
    PoleZeroGain transfer = f.session.AsBuilt()->transfer;
    transfer.gain = -transfer.gain;
    const TransferResponse expected(transfer);
    CurveBuffer again;
    FillTransferCurve(expected, kind, XRangeOf(f.graphs.Axes()), false, again);
    QCOMPARE(std::memcmp(again.Y.data(), built->Y.data(), sizeof again.Y), 0);
    QTemporaryDir dir;
    const QString path = dir.filePath("built.csv");
    f.output.answer = path;
    Child<QAction>(w, "ExportCsv1")->trigger();
    QFile csv(path);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QVERIFY(csv.readLine().trimmed().endsWith(" as built"));
    f.session.SetResistorRounding(false);
    Child<QAction>(w, "Zeichnen1")->trigger();
    QVERIFY(!w.AsBuiltCurve());
    w.close();
  }

  void sweepModeCloseRestoresTheDesign_data() {
    QTest::addColumn<GraphKind>("kind");
    QTest::addColumn<QString>("label");
    QTest::newRow("gain") << GraphKind::Gain << "fg=";
    QTest::newRow("time") << GraphKind::TimeResponse << "fc=";
  }

  void sweepModeCloseRestoresTheDesign() {
    QFETCH(GraphKind, kind);
    QFETCH(QString, label);
    GraphFixture f;
    GraphWindow& w = f.Show(kind);
    const CurveBuffer original = w.Buffer();
    const DesignState before = f.session.State();
    QString shownLabel;
    double drawnFg = 0.0, drawnQ = 0.0;
    bool redrawn = false, stayedOpen = false;
    RunSweepMode(w, [&](QDialog& d) {
      shownLabel = Child<QLabel>(d, "x1Label")->text();
      auto* x1 = Child<QLineEdit>(d, "x1Eingabe");
      x1->selectAll();
      QTest::keyClicks(x1, "2k");
      Child<QPushButton>(d, "ZeichenBtn")->click();
      Child<QToolButton>(d, "SpinButton2Up")->click();
      Child<QPushButton>(d, "ZeichenBtn")->click();
      drawnFg = f.State().fg;
      drawnQ = f.State().Q;
      redrawn = !SameSamples(w.Buffer(), original);
      stayedOpen = d.isVisible();
      Child<QPushButton>(d, "CancelBtn")->click();
    });
    QCOMPARE(shownLabel, label);
    QCOMPARE(drawnFg, 2000.0);
    QCOMPARE(drawnQ, 0.7571);
    QVERIFY(redrawn);
    QVERIFY(stayedOpen);
    QCOMPARE(f.State().fg, before.fg);
    QCOMPARE(f.State().Q, before.Q);
    QCOMPARE(f.State().D, 0.5 / before.Q);
    QVERIFY(SameSamples(w.Buffer(), original));
  }

  void sweepModeOkKeepsTheValuesHeldInTheirLimits() {
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::Phase);
    RunSweepMode(w, [&](QDialog& d) {
      auto* x2 = Child<QLineEdit>(d, "x2Eingabe");
      x2->selectAll();
      QTest::keyClicks(x2, "0");
      Child<QPushButton>(d, "OKBtn")->click();
    });
    QCOMPARE(f.State().Q, 0.05);
    QCOMPARE(f.State().D, 10.0);
    QCOMPARE(f.State().fg, 1000.0);
    QCOMPARE(f.platform.beeps, 1);
  }

  // Opening and closing with OK leaves a value the user did not touch exactly as it was,
  // not rounded to the digits the field shows.
  void sweepModeKeepsUntouchedValues() {
    GraphFixture f;
    f.session.TypeEntry(field::fgEingabe, "1234.5");
    GraphWindow& w = f.Show(GraphKind::Gain);
    RunSweepMode(w, [](QDialog& d) { Child<QPushButton>(d, "OKBtn")->click(); });
    QCOMPARE(f.State().fg, 1234.5);
    QCOMPARE(f.State().Q, 0.7071);
  }
};

QTEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"

// The pole-zero plot of a multi-stage filter: every root in view at one scale on both axes,
// crosses and circles where the roots are, the roots' CSV, the picture saved as PNG and SVG,
// the view following the filter until the user zooms, and no filter at all.

#include <QAction>
#include <QImage>
#include <QTemporaryDir>
#include <QToolButton>
#include <cmath>
#include <optional>
#include <vector>

#include "cascade/cascade_design.h"
#include "file_contents.h"
#include "graph_test_support.h"
#include "graphs/cascade_graphs.h"
#include "graphs/plot_mapping.h"
#include "graphs/pole_zero_window.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

Q_DECLARE_METATYPE(morvane::PoleZeroGain)

namespace {

PoleZeroGain Transfer(Approximation approximation, FilterKind kind, int order) {
  CascadeRequest r;
  r.approximation = approximation;
  r.kind = kind;
  r.order = order;
  r.fg = 1000.0;
  r.fm = 2000.0;
  r.bandwidth = 200.0;
  const CascadeDesign d = DesignCascade(r);
  if (!d.problem.empty()) qFatal("%s", d.problem.c_str());
  return d.transfer;
}

// Real poles only, repeated poles, zeros at the origin, zeros on the j omega axis, a narrow
// band far from the origin, order 20.
void AddTransferRows() {
  QTest::addColumn<PoleZeroGain>("transfer");
  QTest::newRow("bessel lowpass 1") << Transfer(Approximation::Bessel, FilterKind::Lowpass, 1);
  QTest::newRow("linkwitz-riley lowpass 4")
      << Transfer(Approximation::LinkwitzRiley, FilterKind::Lowpass, 4);
  QTest::newRow("butterworth highpass 5")
      << Transfer(Approximation::Butterworth, FilterKind::Highpass, 5);
  QTest::newRow("elliptic bandpass 6")
      << Transfer(Approximation::Elliptic, FilterKind::Bandpass, 6);
  QTest::newRow("inverse chebyshev bandstop 4")
      << Transfer(Approximation::InverseChebyshev, FilterKind::Bandstop, 4);
  QTest::newRow("butterworth lowpass 20")
      << Transfer(Approximation::Butterworth, FilterKind::Lowpass, 20);
}

struct PlotFixture {
  explicit PlotFixture(const PoleZeroGain& h) {
    window.SetRoots(h);
    window.Open();
    if (!QTest::qWaitForWindowExposed(&window)) qWarning("window not exposed");
  }

  RecordingPlatform platform;
  RecordingOutput output;
  PoleZeroWindow window{platform, output};
};

QPoint PixelOf(const AxisState& a, Complex root) {
  return {ToScreenX(a, root.real()), ToScreenY(a, root.imag())};
}

int PixelsNear(const QImage& image, QPoint centre, QColor colour) {
  int n = 0;
  for (int dy = -5; dy <= 5; ++dy) {
    for (int dx = -5; dx <= 5; ++dx) n += image.pixelColor(centre + QPoint(dx, dy)) == colour;
  }
  return n;
}

QByteArray Saved(PlotFixture& f, const char* action, const QString& path) {
  f.output.answer = path;
  Child<QAction>(f.window, action)->trigger();
  return Contents(path);
}

}  // namespace

class GraphPoleZeroTest : public QObject {
  Q_OBJECT

 private slots:
  void csvListsEveryPoleAndZero_data() { AddTransferRows(); }

  void csvListsEveryPoleAndZero() {
    QFETCH(PoleZeroGain, transfer);
    PlotFixture f(transfer);
    QTemporaryDir dir;
    const QByteArray csv = Saved(f, "ExportCsv1", dir.filePath("roots.csv"));
    const QList<QByteArray> lines = csv.trimmed().split('\n');
    QCOMPARE(lines[0], QByteArray("kind,re,im"));
    QCOMPARE(static_cast<std::size_t>(lines.size()),
             1 + transfer.poles.size() + transfer.zeros.size());
    for (qsizetype i = 1; i < lines.size(); ++i) {
      const QList<QByteArray> row = lines[i].split(',');
      QCOMPARE(row.size(), 3);
      const std::size_t k = static_cast<std::size_t>(i - 1);
      const bool pole = k < transfer.poles.size();
      const Complex root = pole ? transfer.poles[k] : transfer.zeros[k - transfer.poles.size()];
      QCOMPARE(row[0], QByteArray(pole ? "pole" : "zero"));
      // 17 digits read back to the very same numbers.
      QVERIFY(row[1].toDouble() == root.real());
      QVERIFY(row[2].toDouble() == root.imag());
    }
  }

  void everyRootInViewAtOneScale_data() { AddTransferRows(); }

  void everyRootInViewAtOneScale() {
    QFETCH(PoleZeroGain, transfer);
    PlotFixture f(transfer);
    const AxisState& a = f.window.Axes();
    const double perPixelX = (a.xmax - a.xmin) / (a.Right - a.Left);
    const double perPixelY = (a.ymax - a.ymin) / (a.Bottom - a.Top);
    QVERIFY(std::abs(perPixelX / perPixelY - 1.0) < 1e-12);
    // The j omega axis in view: the y axis stands at 0.
    QCOMPARE(a.xo, 0.0);
    QCOMPARE(a.yo, 0.0);
    const QImage& picture = f.window.Picture();
    for (const Complex& p : transfer.poles) {
      const QPoint at = PixelOf(a, p);
      QVERIFY(a.Left + 4 < at.x() && at.x() < a.Right - 4);
      QVERIFY(a.Top + 4 < at.y() && at.y() < a.Bottom - 4);
      QCOMPARE(picture.pixelColor(at), QColor(Qt::red));
    }
    for (const Complex& z : transfer.zeros) {
      const QPoint at = PixelOf(a, z);
      QVERIFY(InPlotArea(a, at.x(), at.y()));
      QVERIFY(PixelsNear(picture, at, QColor(Qt::blue)) > 8);
    }
  }

  void savesThePictureAsPngAndSvg() {
    PlotFixture f(Transfer(Approximation::Elliptic, FilterKind::Lowpass, 5));
    QTemporaryDir dir;
    const QString png = dir.filePath("plot");
    Saved(f, "SavePng1", png);
    QCOMPARE(QImage(png + ".png").convertToFormat(QImage::Format_RGB32),
             f.window.Picture().convertToFormat(QImage::Format_RGB32));
    const QByteArray svg = Saved(f, "SaveSvg1", dir.filePath("plot.svg"));
    QCOMPARE(svg, QByteArray::fromStdString(f.window.SvgPicture()));
    QVERIFY(svg.contains("stroke=\"#ff0000\""));
    QVERIFY(svg.contains("stroke=\"#0000ff\""));
    QCOMPARE(f.output.offeredExports.size(), 2);
  }

  void viewFollowsTheFilterUntilZoomed() {
    const PoleZeroGain first = Transfer(Approximation::Butterworth, FilterKind::Lowpass, 4);
    const PoleZeroGain second = Transfer(Approximation::Chebyshev, FilterKind::Highpass, 6);
    PlotFixture f(first);
    QVERIFY(f.window.FollowsRoots());
    f.window.SetRoots(second);
    QCOMPARE(f.window.View().reMin, FitRoots(second).reMin);

    Child<QToolButton>(f.window, "ZoomInButton")->click();
    QVERIFY(!f.window.FollowsRoots());
    const PlaneView zoomed = f.window.View();
    QVERIFY(zoomed.reMax - zoomed.reMin < FitRoots(second).reMax - FitRoots(second).reMin);
    f.window.SetRoots(first);
    QCOMPARE(f.window.View().reMin, zoomed.reMin);
    QCOMPARE(f.window.View().imMax, zoomed.imMax);

    Child<QToolButton>(f.window, "AutoskButton")->click();
    QVERIFY(f.window.FollowsRoots());
    QCOMPARE(f.window.View().imMax, FitRoots(first).imMax);
  }

  // A rectangle dragged in any direction becomes the view; one without area changes nothing.
  void rectangleZoomShowsItsRegion_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<bool>("zooms");
    QTest::newRow("down right") << QPoint(100, 60) << QPoint(200, 160) << true;
    QTest::newRow("up left") << QPoint(200, 160) << QPoint(100, 60) << true;
    QTest::newRow("a line") << QPoint(100, 60) << QPoint(100, 160) << false;
    QTest::newRow("a point") << QPoint(120, 90) << QPoint(120, 90) << false;
  }

  void rectangleZoomShowsItsRegion() {
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(bool, zooms);
    PlotFixture f(Transfer(Approximation::Elliptic, FilterKind::Bandpass, 6));
    const AxisState before = f.window.Axes();
    const PlaneView fitted = f.window.View();
    QCOMPARE(f.window.ZoomToPixels(from, to), zooms);
    QCOMPARE(f.window.FollowsRoots(), !zooms);
    if (!zooms) {
      QCOMPARE(f.window.View().reMin, fitted.reMin);
      return;
    }
    const PlaneView v = f.window.View();
    QCOMPARE(v.reMin, ToWorldX(before, std::min(from.x(), to.x())));
    QCOMPARE(v.imMax, ToWorldY(before, std::min(from.y(), to.y())));
    // Drawn at one scale: the rectangle lies within the new axes.
    const AxisState& a = f.window.Axes();
    QVERIFY(a.xmin <= v.reMin && v.reMax <= a.xmax && a.ymin <= v.imMin && v.imMax <= a.ymax);
  }

  // Zooming out ends with a beep while the axes still hold numbers.
  void zoomOutStopsInReach() {
    PlotFixture f(Transfer(Approximation::Butterworth, FilterKind::Lowpass, 2));
    for (int i = 0; i < 200 && f.platform.beeps == 0; ++i) f.window.ZoomOut();
    QCOMPARE(f.platform.beeps, 1);
    QVERIFY(std::isfinite(f.window.Axes().xmin) && std::isfinite(f.window.Axes().ymax));
    QVERIFY(!QByteArray::fromStdString(f.window.SvgPicture()).toLower().contains("nan"));
  }

  // A design that cannot be built hands over no roots: axes around the origin, a CSV with
  // its header only, no "nan" or "inf" anywhere.
  void noFilterDrawsAxesOnly() {
    CascadeRequest r;
    r.fg = -5.0;
    const CascadeDesign bad = DesignCascade(r);
    QVERIFY(!bad.problem.empty());
    RecordingPlatform platform;
    RecordingOutput output;
    CascadeGraphs graphs{platform, output};
    graphs.SetCascade(bad);
    graphs.OpenPoleZero();
    PoleZeroWindow& w = graphs.PoleZero();
    QCOMPARE(w.Csv(), std::string("kind,re,im\n"));
    QCOMPARE(w.Axes().xo, 0.0);
    QVERIFY(w.Axes().xmax > w.Axes().xmin);
    const QByteArray svg = QByteArray::fromStdString(w.SvgPicture()).toLower();
    QVERIFY(!svg.contains("nan") && !svg.contains("inf"));
    QCOMPARE(PixelsNear(w.Picture(), {w.Axes().Left + 50, w.Axes().Top + 50}, Qt::red), 0);
  }
};

QTEST_MAIN(GraphPoleZeroTest)
#include "graph_pole_zero_test.moc"

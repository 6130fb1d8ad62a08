// What a first-time user of the graph windows meets: each window draws with its own axes
// whatever another one drew last, open graphs follow the design on every recalculation (and
// the sweep mode's values reach the main window), and the pictures read at a glance: a curve
// two pixels wide on a light grid, the whole curve at the first drawing, the zoom rectangle
// kept on a logarithmic axis, windows opened beside the main window.

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <memory>

#include "app/secondary_windows.h"
#include "cascade/cascade_design.h"
#include "design/field_names.h"
#include "graph_test_support.h"
#include "graphs/axis_operations.h"
#include "graphs/cascade_graphs.h"
#include "graphs/graph_image.h"
#include "graphs/plot_mapping.h"
#include "gui_test_support.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

Q_DECLARE_METATYPE(morvane::GraphKind)

namespace {

// Either set of four windows: the main window's or a multi-stage filter's.
class GraphSet {
 public:
  explicit GraphSet(bool cascade) {
    if (cascade) {
      cascade_ = std::make_unique<CascadeGraphs>(platform_, output_);
      CascadeRequest r;
      r.approximation = Approximation::Chebyshev;
      r.kind = FilterKind::Lowpass;
      r.order = 4;
      r.fg = 1000.0;
      cascade_->SetCascade(DesignCascade(r));
    } else {
      session_.Start();
      graphs_ = std::make_unique<GraphWindows>(session_, platform_, output_);
    }
  }

  GraphWindow& Show(GraphKind kind) {
    if (cascade_) {
      cascade_->Open(kind);
    } else {
      graphs_->Window(kind).Open();
    }
    GraphWindow& w = Window(kind);
    if (!QTest::qWaitForWindowExposed(&w)) qWarning("graph window not exposed");
    return w;
  }
  GraphWindow& Window(GraphKind kind) {
    return cascade_ ? cascade_->Window(kind) : graphs_->Window(kind);
  }

 private:
  DesignSession session_;
  RecordingPlatform platform_;
  RecordingOutput output_;
  std::unique_ptr<GraphWindows> graphs_;
  std::unique_ptr<CascadeGraphs> cascade_;
};

bool SameRanges(const AxisState& a, const AxisState& b) {
  return a.xmin == b.xmin && a.xmax == b.xmax && a.ymin == b.ymin && a.ymax == b.ymax &&
         a.xMode == b.xMode && a.xo == b.xo && a.yo == b.yo;
}

bool SameSamples(const CurveBuffer& a, const CurveBuffer& b) {
  return a.Count == b.Count && a.X == b.X && a.Y == b.Y;
}

// The curve a Draw samples now from the design: what an up-to-date window shows.
CurveBuffer RedrawnCurve(GraphWindow& w) {
  const AxisState before = w.DrawnAxes();
  w.RefillAndDraw();
  if (!SameRanges(before, w.DrawnAxes())) qWarning("Draw changed the axes");
  return w.Buffer();
}

// Runs whatever is queued (resizes, paints) so the window has drawn what it is asked to.
void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// The green pixels in the image column x, strictly inside the plot.
int GreenInColumn(const GraphWindow& w, int x) {
  const AxisState& a = w.DrawnAxes();
  int n = 0;
  for (int y = a.Top + 1; y < a.Bottom; ++y) n += w.Picture().pixelColor(x, y) == QColor(0, 128, 0);
  return n;
}

int PixelsOf(const GraphWindow& w, QColor colour) {
  const AxisState& a = w.DrawnAxes();
  int n = 0;
  for (int y = a.Top + 1; y < a.Bottom; ++y) {
    for (int x = a.Left + 1; x < a.Right; ++x) n += w.Picture().pixelColor(x, y) == colour;
  }
  return n;
}

}  // namespace

class GraphDesktopTest : public QObject {
  Q_OBJECT

 private slots:
  // The delay window, then the time window; a command of the delay window must act on the
  // delay axes, never on those the time window drew last.
  void eachWindowKeepsItsOwnAxes_data() {
    QTest::addColumn<bool>("cascade");
    QTest::addColumn<QString>("command");
    for (bool cascade : {false, true}) {
      const QByteArray set = cascade ? "multi-stage, " : "main, ";
      QTest::newRow(set + "increase") << cascade << "VergroessernButton";
      QTest::newRow(set + "decrease") << cascade << "VerkleinernButton";
      QTest::newRow(set + "draw") << cascade << "Zeichnen1";
      QTest::newRow(set + "standard size") << cascade << "Standardgroesse1";
      QTest::newRow(set + "zoom in") << cascade << "ZoomInButton";
    }
  }

  void eachWindowKeepsItsOwnAxes() {
    QFETCH(bool, cascade);
    QFETCH(QString, command);
    GraphSet set(cascade);
    GraphWindow& delay = set.Show(GraphKind::GroupDelay);
    const AxisState delayAxes = delay.DrawnAxes();
    set.Show(GraphKind::TimeResponse);
    Settle();

    if (auto* button = delay.findChild<QToolButton*>(command)) {
      button->click();
    } else {
      Child<QAction>(delay, qPrintable(command))->trigger();
    }
    Settle();
    const AxisState& a = delay.DrawnAxes();
    QCOMPARE(a.xMode, AxisMode::Logarithmic);
    if (command == "ZoomInButton") {
      QVERIFY(a.xmin > delayAxes.xmin && a.xmax < delayAxes.xmax);
      QVERIFY(a.xmin > 0.0 && a.ymin >= delayAxes.ymin);
    } else {
      QCOMPARE(a.xmin, delayAxes.xmin);
      QCOMPARE(a.xmax, delayAxes.xmax);
      QCOMPARE(a.ymax, delayAxes.ymax);
    }
    // The time window kept its axes too.
    QCOMPARE(set.Window(GraphKind::TimeResponse).DrawnAxes().xMode, AxisMode::Linear);
  }

  // fc typed in the main window: every open graph shows the new design at once, within the
  // axes its user set.
  void openGraphsFollowEveryRecalculation_data() {
    QTest::addColumn<GraphKind>("kind");
    QTest::newRow("gain") << GraphKind::Gain;
    QTest::newRow("phase") << GraphKind::Phase;
    QTest::newRow("delay") << GraphKind::GroupDelay;
    QTest::newRow("step") << GraphKind::TimeResponse;
  }

  void openGraphsFollowEveryRecalculation() {
    QFETCH(GraphKind, kind);
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    GraphWindow& graph = windows.Graphs().Window(kind);
    graph.Open();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    Child<QToolButton>(graph, "ZoomInButton")->click();
    const AxisState zoomed = graph.DrawnAxes();
    const CurveBuffer before = graph.Buffer();

    w.Type(field::fgEingabe, "2000");
    const CurveBuffer shown = graph.Buffer();
    QVERIFY(!SameSamples(shown, before));
    QVERIFY(SameRanges(graph.DrawnAxes(), zoomed));
    QVERIFY(SameSamples(shown, RedrawnCurve(graph)));
    graph.hide();
  }

  // The sweep mode's values reach the main window's entries, and the other open graphs
  // follow them.
  void sweepModeAndMainWindowStayInStep() {
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    GraphWindow& gain = windows.Graphs().Window(GraphKind::Gain);
    GraphWindow& phase = windows.Graphs().Window(GraphKind::Phase);
    phase.Open();
    gain.Open();
    QVERIFY(QTest::qWaitForWindowExposed(&gain));
    const QString fgBefore = w.Field(field::fgEingabe)->text();
    WhenModal([](QDialog& d) {
      auto* x1 = Child<QLineEdit>(d, "x1Eingabe");
      x1->selectAll();
      QTest::keyClicks(x1, "3k");
      Child<QPushButton>(d, "OKBtn")->click();
    });
    Child<QToolButton>(gain, "SweepButton")->click();
    QCOMPARE(w.window.Session().State().fg, 3000.0);
    QVERIFY(w.Field(field::fgEingabe)->text() != fgBefore);
    QCOMPARE(w.Field(field::fgEingabe)->text().toStdString(),
             w.window.Session().FieldText(field::fgEingabe));
    QVERIFY(SameSamples(phase.Buffer(), RedrawnCurve(phase)));
    gain.hide();
    phase.hide();
  }

  // All four windows open: a keystroke's recalculation with every graph refilled and drawn.
  void keystrokeWithAllGraphsOpen() {
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    for (GraphKind kind : kGraphKinds) windows.Graphs().Window(kind).Open();
    for (GraphKind kind : kGraphKinds) {
      QVERIFY(QTest::qWaitForWindowExposed(&windows.Graphs().Window(kind)));
    }
    const QStringList texts = {"1000", "1200", "1500", "1800", "2200", "2700"};
    std::vector<double> ms;
    for (int round = 0; round < 3; ++round) {
      for (const QString& text : texts) {
        QElapsedTimer timer;
        timer.start();
        w.Type(field::fgEingabe, text);
        ms.push_back(timer.nsecsElapsed() / 1e6 / text.size());
      }
    }
    std::nth_element(ms.begin(), ms.begin() + ms.size() / 2, ms.end());
    const double median = ms[ms.size() / 2];
    qInfo("per keystroke with four graph windows open: %.2f ms", median);
    // Far beyond the 16 ms of a keystroke only: a loaded machine still passes.
    QVERIFY2(median < 80.0, qPrintable(QString::number(median) + " ms"));
    for (GraphKind kind : kGraphKinds) windows.Graphs().Window(kind).hide();
  }

  // Readable at a glance: the solid curve two pixels wide, a grid lighter than the reference
  // lines, on the main window's and the multi-stage filter's windows alike.
  void curveTwoPixelsWideOnALightGrid_data() {
    QTest::addColumn<bool>("cascade");
    QTest::newRow("main") << false;
    QTest::newRow("multi-stage") << true;
  }

  void curveTwoPixelsWideOnALightGrid() {
    QFETCH(bool, cascade);
    GraphSet set(cascade);
    GraphWindow& gain = set.Show(GraphKind::Gain);
    const AxisState& a = gain.DrawnAxes();
    // Two decades above the left end the gain is flat: a level line, crossed by a column.
    const int x = ToScreenX(a, 10 * a.xmin) + 3;
    QCOMPARE(GreenInColumn(gain, x), 2);
    QCOMPARE(PixelsOf(gain, QColor(128, 128, 128)), 0);
    QVERIFY(PixelsOf(gain, QColor(214, 214, 214)) > 100);
  }

  // A high Q: the delay peak and the gain peak stand far above the usual scale; the first
  // drawing shows them whole.
  void firstDrawingShowsTheWholeCurve_data() {
    QTest::addColumn<GraphKind>("kind");
    QTest::addColumn<QString>("q");
    QTest::newRow("delay, Q 10") << GraphKind::GroupDelay << "10";
    QTest::newRow("delay, Q 3") << GraphKind::GroupDelay << "3";
    QTest::newRow("gain, Q 30") << GraphKind::Gain << "30";
    QTest::newRow("delay, Q 0.7071 keeps its scale") << GraphKind::GroupDelay << "0.7071";
  }

  void firstDrawingShowsTheWholeCurve() {
    QFETCH(GraphKind, kind);
    QFETCH(QString, q);
    GraphFixture f;
    f.session.TypeEntry(field::QEingabe, q.toStdString());
    GraphWindow& w = f.Show(kind);
    const AxisState& a = w.DrawnAxes();
    const MinMaxResult r = MinMax(w.Buffer().Y, w.Buffer().Count);
    QVERIFY(r.found);
    QVERIFY2(r.largest < a.ymax,
             qPrintable(QString::number(r.largest) + " above " + QString::number(a.ymax)));
    // Not blown up either: the peak fills more than a third of the height.
    QVERIFY(r.largest > a.ymax / 3);
  }

  // A rectangle dragged on the logarithmic frequency axis is what the window then shows,
  // not the decades around it.
  void zoomRectangleKeptOnALogarithmicAxis() {
    GraphFixture f;
    GraphWindow& gain = f.Show(GraphKind::Gain);
    const AxisState a = gain.DrawnAxes();
    auto* image = Child<GraphImage>(gain, "Image");
    const QPoint from(ToScreenX(a, 200.0), ToScreenY(a, 10.0));
    const QPoint to(ToScreenX(a, 700.0), ToScreenY(a, -30.0));
    const double x0 = ToWorldX(a, from.x());
    const double x1 = ToWorldX(a, to.x());
    QTest::mousePress(image, Qt::RightButton, {}, from);
    QTest::mouseMove(image, to);
    QTest::mouseRelease(image, Qt::RightButton, {}, to);
    const AxisState& zoomed = gain.DrawnAxes();
    QCOMPARE(zoomed.xMode, AxisMode::Logarithmic);
    QCOMPARE(zoomed.xmin, x0);
    QCOMPARE(zoomed.xmax, x1);
    // The curve is sampled over that range and drawn across it.
    QVERIFY(gain.Buffer().X[0] <= x0 * 1.0001);
    QVERIFY(PixelsOf(gain, QColor(0, 128, 0)) > 200);
    // Autoscaling goes back to whole decades.
    Child<QAction>(gain, "xAutoskalierung1")->trigger();
    QVERIFY(std::abs(std::log10(gain.DrawnAxes().xmin) -
                     std::round(std::log10(gain.DrawnAxes().xmin))) < 1e-9);
  }

  // Opened beside the main window, not over it at the screen's corner; stepped so that each
  // title stays visible.
  void windowsOpenBesideTheMainWindow_data() {
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<bool>("toTheRight");
    QTest::newRow("room on the right") << QRect(10, 40, 100, 150) << true;
    QTest::newRow("at the right edge") << QRect(-1, 40, 100, 150) << false;
  }

  void windowsOpenBesideTheMainWindow() {
    QFETCH(QRect, anchor);
    QFETCH(bool, toTheRight);
    QWidget main;
    const QRect screen = main.screen()->availableGeometry();
    if (anchor.left() < 0) anchor.moveRight(screen.right() - 10);
    main.setGeometry(anchor);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    DesignSession session;
    session.Start();
    RecordingPlatform platform;
    RecordingOutput output;
    GraphWindows graphs(session, platform, output, &main);
    QPoint previous(-1000, -1000);
    for (GraphKind kind : kGraphKinds) {
      GraphWindow& w = graphs.Window(kind);
      w.Open();
      QVERIFY(QTest::qWaitForWindowExposed(&w));
      const QRect frame = w.frameGeometry();
      QVERIFY(screen.contains(frame.topLeft()));
      if (toTheRight) {
        QVERIFY(frame.left() > main.frameGeometry().right());
      } else {
        QVERIFY2(frame.right() < main.frameGeometry().left(),
                 qPrintable(QString("%1 %2 %3 %4")
                                .arg(frame.left())
                                .arg(frame.right())
                                .arg(main.frameGeometry().left())
                                .arg(screen.right())));
      }
      QVERIFY(frame.topLeft() != previous);
      previous = frame.topLeft();
    }
    // Moved by the user, a window reopens where it was left.
    GraphWindow& gain = graphs.Window(GraphKind::Gain);
    gain.hide();
    gain.move(screen.topLeft() + QPoint(5, 5));
    gain.Open();
    QCOMPARE(gain.pos(), screen.topLeft() + QPoint(5, 5));
    for (GraphKind kind : kGraphKinds) graphs.Window(kind).hide();
  }

  // With MORVANE_SCREENSHOT_DIR set: the four windows of the starting design, each grabbed
  // whole (menus, buttons, picture) into graph-gain.png ... graph-step.png there.
  void screenshots() {
    const QString dir = qEnvironmentVariable("MORVANE_SCREENSHOT_DIR");
    if (dir.isEmpty()) QSKIP("MORVANE_SCREENSHOT_DIR not set");
    GraphFixture f;
    const std::pair<GraphKind, const char*> shots[] = {{GraphKind::Gain, "gain"},
                                                       {GraphKind::Phase, "phase"},
                                                       {GraphKind::GroupDelay, "delay"},
                                                       {GraphKind::TimeResponse, "step"}};
    for (const auto& [kind, name] : shots) {
      GraphWindow& w = f.Show(kind);
      Settle();
      QVERIFY(w.grab().save(dir + "/graph-" + name + ".png"));
      w.hide();
    }
  }
};

QTEST_MAIN(GraphDesktopTest)
#include "graph_desktop_test.moc"

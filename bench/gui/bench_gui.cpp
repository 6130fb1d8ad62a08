// Timings and memory of the real windows, off screen unless QT_QPA_PLATFORM says otherwise:
//   start-up, from process start to the main window shown, without the splash hold;
//   resident memory after start-up and with the four graph windows open;
//   a keystroke in the main window's fgEingabe up to the last field updated, per page;
//   a full redraw of each graph window at standard size (768 x 576);
//   a keystroke in the Multi-stage Filter window's fg (fm) of order-20 filters up to the last
//   table cell updated, then with the window repainted and with its graph windows open.
// Prints one line a figure with its aim; exits with 1 when an aim is missed.
//
//   build/bench/gui/bench_gui

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "app/hint_times.h"
#include "app/platform_services.h"
#include "app/secondary_windows.h"
#include "app/start_options.h"
#include "app/start_up.h"
#include "cascade/cascade_entry_fields.h"
#include "cascade/cascade_window.h"
#include "design/field_names.h"
#include "graphs/cascade_graphs.h"
#include "graphs/graph_window.h"
#include "graphs/graph_windows.h"
#include "gui_timing.h"
#include "morvane/version.h"

using namespace morvane;
using namespace morvane::gui;
using morvane::bench::CpuMs;
using morvane::bench::FigureTable;
using morvane::bench::Largest;
using morvane::bench::Median;
using morvane::bench::ResidentMiB;
using morvane::bench::Smallest;

namespace {

constexpr const char* kChildOption = "--start-up-child";
constexpr SecondaryWindow kGraphWindows[] = {
    SecondaryWindow::GainGraph, SecondaryWindow::PhaseGraph, SecondaryWindow::GroupDelayGraph,
    SecondaryWindow::TimeResponseGraph};
constexpr int kStartUps = 11;
constexpr int kKeystrokes = 200;

// No sound, no modal box: a keystroke's figure must not wait for the user.
class QuietServices : public PlatformServices {
 public:
  void Beep() override {}
  void ShowMessage(QWidget*, const QString&) override {}
};

double Ms(const QElapsedTimer& timer) {
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The program's own start (app/main.cpp) up to the shown main window; then the graph
// windows. Reports to the parent on stdout.
int StartUpChild(int argc, char** argv, const QElapsedTimer& sinceMain) {
  // Milliseconds since main() at the end of each step.
  std::vector<double> steps;
  QApplication app(argc, argv);
  QApplication::setApplicationName("Morvane");
  QApplication::setApplicationDisplayName("Morvane");
  QApplication::setApplicationVersion(QString::fromUtf8(kVersion));
  InstallHintTimes(app);
  steps.push_back(Ms(sinceMain));
  DesktopServices services;
  steps.push_back(Ms(sinceMain));
  StartUp startUp(services, ParseStartOptions({"--no-splash"}));
  steps.push_back(Ms(sinceMain));
  startUp.Run();
  steps.push_back(Ms(sinceMain));
  if (!QTest::qWaitForWindowExposed(&startUp.Window())) return 1;
  steps.push_back(Ms(sinceMain));
  std::printf("shown %.3f %.3f", ResidentMiB(), CpuMs());
  for (double ms : steps) std::printf(" %.3f", ms);
  std::printf("\n");
  std::fflush(stdout);
  for (SecondaryWindow window : kGraphWindows) startUp.Windows().Open(window);
  for (GraphKind kind : kGraphKinds) {
    if (!QTest::qWaitForWindowExposed(&startUp.Windows().Graphs().Window(kind))) return 1;
  }
  QApplication::processEvents();
  std::printf("graphs %.3f\n", ResidentMiB());
  return 0;
}

constexpr const char* kStartUpSteps[] = {
    "  of it: main() to the application object made", "         the desktop services made",
    "         main window and later windows made", "         design initialised, main window shown",
    "         main window on the screen"};
constexpr int kStepCount = 5;

void MeasureStartUp(FigureTable& table) {
  std::vector<double> shown, cpu, rssStarted, rssGraphs;
  std::vector<std::vector<double>> steps(kStepCount);
  for (int run = 0; run < kStartUps; ++run) {
    QProcess child;
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {kChildOption});
    QByteArray line;
    while (!line.startsWith("shown") && child.waitForReadyRead(10000)) line += child.readLine();
    const double ms = Ms(timer);
    child.waitForFinished(30000);
    const QList<QByteArray> first = line.trimmed().split(' ');
    const QList<QByteArray> second = child.readAll().trimmed().split(' ');
    if (first.size() != 3 + kStepCount || second.size() != 2) {
      std::fprintf(stderr, "start-up child failed\n");
      return;
    }
    shown.push_back(ms);
    rssStarted.push_back(first[1].toDouble());
    cpu.push_back(first[2].toDouble());
    // Each step's own time, from the times since main() at their ends.
    for (int i = 0; i < kStepCount; ++i) {
      steps[i].push_back(first[3 + i].toDouble() - (i > 0 ? first[2 + i].toDouble() : 0.0));
    }
    rssGraphs.push_back(second[1].toDouble());
  }
  table.Add("start-up: process start to main window shown (median)", Median(shown), "ms", 300);
  table.Add("  the fastest of " + QString::number(kStartUps), Smallest(shown), "ms");
  table.Add("  processor time the process used up to then (median)", Median(cpu), "ms");
  for (int i = 0; i < kStepCount; ++i) table.Add(kStartUpSteps[i], Median(steps[i]), "ms");
  table.Add("memory after start-up (VmRSS)", Median(rssStarted), "MiB");
  table.Add("memory with the four graph windows open (VmRSS)", Median(rssGraphs), "MiB");

  // The program itself, start to exit, with the picture of its window saved.
  QTemporaryDir dir;
  std::vector<double> whole;
  for (int run = 0; run < 5; ++run) {
    QElapsedTimer timer;
    timer.start();
    QProcess program;
    program.start(MORVANE_PROGRAM_PATH, {"--no-splash", "--screenshot", dir.filePath("w.png")});
    if (!program.waitForFinished(30000) || program.exitCode() != 0) return;
    whole.push_back(Ms(timer));
  }
  table.Add("morvane --no-splash --screenshot, start to exit (median)", Median(whole), "ms");
}

// Pages 6 and 7 have no Q entry: they run once, after the pages before left Q typical.
void MeasureKeystrokes(MainWindow& window, FigureTable& table) {
  const auto field = [&](std::string_view name) {
    return window.findChild<QLineEdit*>(QString::fromUtf8(name.data(), name.size()));
  };
  for (const QString q : {"0.7071", "10000"}) {
    const bool highQ = q == "10000";
    for (int page = 1; page <= kTopologyCount; ++page) {
      const auto topology = static_cast<Topology>(page);
      const bool active = IsActiveTopology(topology);
      if (!active && highQ) continue;
      window.SelectTopology(topology);
      if (active) {
        field(field::QEingabe)->selectAll();
        QTest::keyClicks(field(field::QEingabe), q);
      }
      QLineEdit* fg = field(field::fgEingabe);
      fg->setFocus();
      fg->selectAll();
      QTest::keyClicks(fg, "1000");
      // A digit typed and taken back in turn: 10 kHz, 1 kHz.
      std::vector<double> times;
      for (int i = 0; i < kKeystrokes; ++i) {
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(fg, i % 2 == 0 ? Qt::Key_0 : Qt::Key_Backspace);
        times.push_back(Ms(timer));
      }
      const QString what = QString("keystroke in fgEingabe, page %1, %2 (median)")
                               .arg(page)
                               .arg(active ? "Q=" + q : QString("no Q entry"));
      table.Add(what, Median(times), "ms", highQ ? 16 : 2);
      table.Add("  the slowest of " + QString::number(kKeystrokes), Largest(times), "ms");
    }
  }
}

void MeasureRedraws(GraphWindows& graphs, FigureTable& table) {
  const char* names[] = {"gain", "phase", "group delay", "time response"};
  for (GraphKind kind : kGraphKinds) {
    GraphWindow& w = graphs.Window(kind);
    w.Open();
    w.resize(768, 576);
    if (!QTest::qWaitForWindowExposed(&w)) std::fprintf(stderr, "graph window not shown\n");
    QApplication::processEvents();
    std::vector<double> times;
    for (int i = 0; i < 200; ++i) {
      QElapsedTimer timer;
      timer.start();
      w.DrawGraph();
      times.push_back(Ms(timer));
    }
    const QString what = QString("full redraw, %1 window at 768x576 (image %2x%3, median)")
                             .arg(names[static_cast<int>(kind) - 1])
                             .arg(w.Picture().width())
                             .arg(w.Picture().height());
    table.Add(what, Median(times), "ms", 5);
  }
}

// Filters of 20 poles: the field typed into is fg, or fm for the bandpass.
struct CascadeCase {
  const char* what;
  Approximation approximation;
  FilterKind kind;
  int order;
};
constexpr CascadeCase kCascadeCases[] = {
    {"Butterworth lowpass, order 20", Approximation::Butterworth, FilterKind::Lowpass, 20},
    {"elliptic lowpass, order 20", Approximation::Elliptic, FilterKind::Lowpass, 20},
    {"elliptic bandpass, 20 poles", Approximation::Elliptic, FilterKind::Bandpass, 10},
};

// A digit typed and taken back in turn (10 kHz, 1 kHz), as many times as `keystrokes`.
std::vector<double> TimeKeystrokes(QLineEdit* field, int keystrokes, bool repaint) {
  std::vector<double> times;
  for (int i = 0; i < keystrokes; ++i) {
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(field, i % 2 == 0 ? Qt::Key_0 : Qt::Key_Backspace);
    if (repaint) QApplication::processEvents();
    times.push_back(Ms(timer));
  }
  return times;
}

void MeasureCascadeKeystrokes(SecondaryWindows& windows, FigureTable& table) {
  CascadeWindow& window = windows.Cascade();
  windows.OpenCascade();
  if (!QTest::qWaitForWindowExposed(&window)) std::fprintf(stderr, "multi-stage not shown\n");
  for (const CascadeCase& c : kCascadeCases) {
    CascadeEntries entries;
    entries.request.approximation = c.approximation;
    entries.request.kind = c.kind;
    entries.request.order = c.order;
    window.SetEntries(entries);
    const bool band = c.kind == FilterKind::Bandpass;
    const std::string_view name = band ? cascade_field::fm : cascade_field::fg;
    auto* field = window.findChild<QLineEdit*>(QString::fromUtf8(name.data(), name.size()));
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "1000");
    QApplication::processEvents();
    const QString what = QString("keystroke in %1, multi-stage %2").arg(band ? "fm" : "fg", c.what);
    const std::vector<double> cells = TimeKeystrokes(field, kKeystrokes, false);
    table.Add(what + ", to the last cell (median)", Median(cells), "ms", 16);
    table.Add("  the slowest of " + QString::number(kKeystrokes), Largest(cells), "ms");
    table.Add("  with the window repainted (median)",
              Median(TimeKeystrokes(field, kKeystrokes, true)), "ms", 16);
    // The Graphs menu, every item.
    for (QAction* item : window.findChild<QMenu*>("CascadeGraphsMenu")->actions()) item->trigger();
    QApplication::processEvents();
    table.Add("  with the five graph windows open, repainted (median)",
              Median(TimeKeystrokes(field, kKeystrokes / 4, true)), "ms");
    window.findChild<CascadeGraphs*>()->HideAll();
  }
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc > 1 && std::strcmp(argv[1], kChildOption) == 0) {
    return StartUpChild(argc, argv, sinceMain);
  }
  QApplication app(argc, argv);
  // No user's design file is read or written: the children inherit this folder.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());

  FigureTable table;
  MeasureStartUp(table);
  QuietServices services;
  StartUp startUp(services, ParseStartOptions({"--no-splash"}));
  startUp.Run();
  if (!QTest::qWaitForWindowExposed(&startUp.Window())) std::fprintf(stderr, "not shown\n");
  MeasureKeystrokes(startUp.Window(), table);
  MeasureRedraws(startUp.Windows().Graphs(), table);
  for (GraphKind kind : kGraphKinds) startUp.Windows().Graphs().Window(kind).hide();
  MeasureCascadeKeystrokes(startUp.Windows(), table);
  return table.AllMet() ? 0 : 1;
}

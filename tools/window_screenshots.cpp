// Writes the pictures of the Multi-stage Filter window the README shows, at the scale the
// environment sets (QT_SCALE_FACTOR=2 for a 2x screen):
//   cascade-butterworth-lowpass.png  a 6th-order Butterworth lowpass, first section selected
//   cascade-elliptic-bandpass.png    an 8th-order elliptic bandpass, its notch section selected
//   pole-zero.png                    the pole-zero plot of that bandpass
//
//   QT_QPA_PLATFORM=offscreen build/tools/window_screenshots docs/screenshots

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTest>
#include <cstdio>

#include "app/platform_services.h"
#include "cascade/cascade_window.h"
#include "cascade/section_table.h"
#include "graphs/cascade_graphs.h"
#include "graphs/pole_zero_window.h"

using namespace morvane;
using namespace morvane::gui;

namespace {

class QuietServices : public PlatformServices {
 public:
  void Beep() override {}
  void ShowMessage(QWidget*, const QString& text) override {
    std::fprintf(stderr, "%s\n", qPrintable(text));
  }
};

bool Save(QWidget& widget, const QString& path) {
  QApplication::processEvents();
  const bool saved = widget.grab().save(path, "PNG");
  if (!saved) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return saved;
}

CascadeEntries Filter(Approximation approximation, FilterKind kind, int order) {
  CascadeEntries entries;
  entries.request.approximation = approximation;
  entries.request.kind = kind;
  entries.request.order = order;
  entries.request.fg = 10e3;
  entries.request.fm = 10e3;
  entries.request.bandwidth = 2e3;
  entries.request.rippleDb = 0.5;
  entries.request.stopbandDb = 50.0;
  entries.request.stopbandHz = kind == FilterKind::Lowpass ? 25e3 : 14e3;
  return entries;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fputs("usage: window_screenshots FOLDER\n", stderr);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  QuietServices services;
  CascadeWindow window(services);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;

  bool saved = true;
  window.SetEntries(Filter(Approximation::Butterworth, FilterKind::Lowpass, 6));
  window.Table()->selectRow(0);
  saved &= Save(window, folder + "/cascade-butterworth-lowpass.png");

  // The elliptic bandpass of 8 poles: a prototype of order 4.
  window.SetEntries(Filter(Approximation::Elliptic, FilterKind::Bandpass, 4));
  window.Table()->selectRow(1);
  saved &= Save(window, folder + "/cascade-elliptic-bandpass.png");

  emit window.graphRequested(static_cast<int>(CascadeGraph::PoleZero));
  PoleZeroWindow& poleZero = window.findChild<CascadeGraphs*>()->PoleZero();
  if (!QTest::qWaitForWindowExposed(&poleZero)) return 1;
  poleZero.findChild<QAction*>("Vergroessern1")->trigger();  // a size step up
  saved &= Save(poleZero, folder + "/pole-zero.png");
  return saved ? 0 : 1;
}

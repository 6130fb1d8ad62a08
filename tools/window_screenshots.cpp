// Writes the pictures of the Multi-stage Filter window the README shows, at the scale the
// environment sets (QT_SCALE_FACTOR=2 for a 2x screen):
//   cascade-butterworth-lowpass.png  a 6th-order Butterworth lowpass, first section selected
//   cascade-elliptic-bandpass.png    an 8th-order elliptic bandpass, its notch section selected
//   pole-zero.png                    the pole-zero plot of that bandpass
//   tolerance-window.png             the tolerance analysis of a 50 Hz notch (10,000 runs)
//   tolerance-band.png               its gain graph with the band of the runs
//   real-opamp-gain.png              a 4th-order Butterworth lowpass at 100 kHz in MFB stages,
//                                    its gain with LM358s beside the ideal curve
//   noise-window.png                 the noise of that lowpass with its LM358s, 10 Hz to 1 MHz
//   opamp-headroom.png               a 10th-order Chebyshev lowpass in 4-op-amp state-variable
//                                    sections with TL072s: the notes tell which sections clip
//                                    before the output
//
//   main-window.png                  the main window as it opens (MFB lowpass)
//   main-window-large.png            the same window maximised on a 1600 x 1000 desktop
//
//   QT_QPA_PLATFORM=offscreen build/tools/window_screenshots docs/screenshots

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <cstdio>
#include <utility>

#include "app/main_window.h"
#include "app/platform_services.h"
#include "cascade/cascade_window.h"
#include "cascade/section_table.h"
#include "graphs/cascade_graphs.h"
#include "graphs/graph_window.h"
#include "graphs/pole_zero_window.h"
#include "noise/noise_window.h"
#include "opamp/opamp_choice.h"
#include "tolerance/tolerance_window.h"

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

// The noise of the multi-stage window's filter with its op amp, 10 Hz to 1 MHz.
bool SaveNoiseWindow(CascadeWindow& window, const QString& folder) {
  NoiseWindow& noise = window.Noise();
  noise.show();
  if (!QTest::qWaitForWindowExposed(&noise)) return false;
  for (const auto& [field, text] : {std::pair{"NoiseFrom", "10"}, std::pair{"NoiseTo", "1M"}}) {
    auto* edit = noise.findChild<QLineEdit*>(field);
    edit->setText(text);
    emit edit->textEdited(edit->text());
  }
  const bool saved = Save(noise, folder + "/noise-window.png");
  noise.hide();
  return saved;
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
  {
    MainWindow main(services);
    main.Initialize({}, {});
    main.show();
    if (!QTest::qWaitForWindowExposed(&main)) return 1;
    saved &= Save(main, folder + "/main-window.png");
    main.resize(1600, 1000 - main.menuBar()->height());
    QApplication::processEvents();
    saved &= Save(main, folder + "/main-window-large.png");
  }
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
  poleZero.hide();

  // The 50 Hz hum notch of Q = 5 in the state-variable circuit, 1 % resistors, 5 % capacitors.
  CascadeEntries notch;
  notch.request.kind = FilterKind::Bandstop;
  notch.request.order = 1;
  notch.request.fm = 50.0;
  notch.request.bandwidth = 10.0;
  notch.request.topology = Topology::Svf4;
  window.SetEntries(notch);
  ToleranceWindow& tolerance = window.Tolerance();
  tolerance.show();
  if (!QTest::qWaitForWindowExposed(&tolerance)) return 1;
  tolerance.findChild<QSpinBox*>("ToleranceRuns")->setValue(10000);
  QSignalSpy ended(&tolerance, &ToleranceWindow::analysisEnded);
  tolerance.findChild<QPushButton*>("ToleranceRun")->click();
  if (!ended.wait(120000)) return 1;
  saved &= Save(tolerance, folder + "/tolerance-window.png");
  emit window.graphRequested(static_cast<int>(CascadeGraph::Gain));
  GraphWindow& gain = window.findChild<CascadeGraphs*>()->Window(GraphKind::Gain);
  if (!QTest::qWaitForWindowExposed(&gain)) return 1;
  saved &= Save(gain, folder + "/tolerance-band.png");
  tolerance.hide();
  gain.hide();  // opened again with axes fitted to the next filter

  // LM358s (0.7 MHz) near their limit: the sections' poles move and the Q = 1.31 one peaks.
  CascadeEntries lowpass = Filter(Approximation::Butterworth, FilterKind::Lowpass, 4);
  lowpass.request.fg = 100e3;
  lowpass.request.topology = Topology::Mfb;
  window.SetEntries(lowpass);
  if (!window.findChild<OpAmpChoice*>()->Choose("LM358")) return 1;
  emit window.graphRequested(static_cast<int>(CascadeGraph::Gain));
  if (!QTest::qWaitForWindowExposed(&gain)) return 1;
  saved &= Save(gain, folder + "/real-opamp-gain.png");
  saved &= SaveNoiseWindow(window, folder);

  CascadeEntries chebyshev = Filter(Approximation::Chebyshev, FilterKind::Lowpass, 10);
  chebyshev.request.fg = 20e3;
  chebyshev.request.topology = Topology::Svf4;
  window.SetEntries(chebyshev);
  if (!window.findChild<OpAmpChoice*>()->Choose("TL072")) return 1;
  window.Table()->selectRow(4);
  saved &= Save(window, folder + "/opamp-headroom.png");
  return saved ? 0 : 1;
}

// Options > Op Amp… and Tools > Op Amp…: the curve with a real op amp beside the ideal one in
// every graph window and its CSV column, the stage's line with it, the user's opamps.ini
// (read, or its fault in the status line and no box), and the section figures of a cascade.

#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>

#include "app/secondary_windows.h"
#include "app/window_look.h"
#include "cascade/cascade_texts.h"
#include "cascade/cascade_window.h"
#include "cascade/section_table.h"
#include "graph_test_support.h"
#include "graphs/cascade_graphs.h"
#include "graphs/graph_picture.h"
#include "graphs/plot_mapping.h"
#include "graphs/transfer_curves.h"
#include "gui_test_support.h"
#include "opamp/opamp_choice.h"
#include "opamp/predistortion.h"
#include "opamp/real_response.h"
#include "recording_desktop.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

// Pixels of the picture in the colour of the op amp's curve.
int OpAmpPixels(const QImage& image) {
  const QRgb colour = qRgb(kOpAmpCurveColour.r, kOpAmpCurveColour.g, kOpAmpCurveColour.b);
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  }
  return count;
}

OpAmpModel Part(std::string_view name) {
  return *FindOpAmp(BuiltInOpAmps(), name);
}

int RowOf(const QListWidget* list, const QString& name) {
  for (int row = 0; row < list->count(); ++row) {
    if (list->item(row)->text().section(' ', 0, 0) == name) return row;
  }
  return -1;
}

bool MessageBoxShown() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (qobject_cast<QMessageBox*>(w) && w->isVisible()) return true;
  }
  return false;
}

// Enough pixels for a curve across the plot, not a legend alone.
constexpr int kCurvePixels = 150;

}  // namespace

Q_DECLARE_METATYPE(GraphKind)

class OpAmpChoiceTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void cleanup() { QFile::remove(UserOpAmpFilePath()); }

  // Every window draws the stage with the op amp from the session's real transfer, names it
  // in its CSV; `ideal` takes it away.
  void curveWithTheOpAmpBesideTheDesign_data() {
    QTest::addColumn<GraphKind>("kind");
    for (GraphKind kind : kGraphKinds) {
      QTest::newRow(QByteArray::number(static_cast<int>(kind)).constData()) << kind;
    }
  }

  void curveWithTheOpAmpBesideTheDesign() {
    QFETCH(GraphKind, kind);
    GraphFixture f;
    GraphWindow& w = f.Show(kind);
    QVERIFY(!w.OpAmpSamples());
    QCOMPARE(OpAmpPixels(w.Picture()), 0);
    f.session.SelectOpAmp(Part("TL072"));
    Child<QAction>(w, "Zeichnen1")->trigger();
    const CurveBuffer* real = w.OpAmpSamples();
    QVERIFY(real);
    QVERIFY(OpAmpPixels(w.Picture()) > kCurvePixels);
    // Drawn as the design is, without the sign of the inverting MFB stage.
    QVERIFY(f.session.RealAmplifier()->ideal.gain < 0.0);
    PoleZeroGain transfer = f.session.RealAmplifier()->transfer;
    transfer.gain = -transfer.gain;
    CurveBuffer expected;
    FillTransferCurve(TransferResponse(transfer), kind, XRangeOf(w.DrawnAxes()), false, expected);
    if (kind == GraphKind::Phase) AlignPhaseBranch(w.Buffer(), expected);
    QCOMPARE(std::memcmp(expected.Y.data(), real->Y.data(), sizeof expected.Y), 0);
    QTemporaryDir dir;
    f.output.answer = dir.filePath("real.csv");
    Child<QAction>(w, "ExportCsv1")->trigger();
    QFile csv(f.output.answer);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QVERIFY(csv.readLine().trimmed().endsWith(" with TL072"));
    f.session.SelectOpAmp(std::nullopt);
    Child<QAction>(w, "Zeichnen1")->trigger();
    QVERIFY(!w.OpAmpSamples());
    QCOMPARE(OpAmpPixels(w.Picture()), 0);
  }

  // The readout names the curve with the op amp at the cursor's frequency: its value there,
  // between the samples, not the cursor's height.
  void readoutTellsTheCurveWithTheOpAmp() {
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::Gain);
    f.session.SelectOpAmp(Part("LM358"));
    Child<QAction>(w, "Zeichnen1")->trigger();
    auto* image = Child<QWidget>(w, "Image");
    const QPoint middle(image->width() / 2, image->height() / 2);
    QTest::mouseMove(image, middle + QPoint(3, 3));
    QTest::mouseMove(image, middle);
    const QString text = Child<QLabel>(w, "CurrentPanel")->text();
    const qsizetype at = text.indexOf(" | with LM358: ");
    QVERIFY2(at > 0, qPrintable(text));
    const double shown = text.mid(at + 15).chopped(2).toDouble();
    const double f0 = ToWorldX(w.DrawnAxes(), middle.x());
    // At the cursor's frequency the curve lies between the two samples around it.
    const CurveBuffer& real = *w.OpAmpSamples();
    double low = INFINITY, high = -INFINITY;
    for (int i = 0; i < real.Count; ++i) {
      if (real.X[i] <= f0 && real.X[i + 1] >= f0) {
        low = std::min(real.Y[i], real.Y[i + 1]);
        high = std::max(real.Y[i], real.Y[i + 1]);
      }
    }
    QVERIFY2(shown >= low - 0.01 && shown <= high + 0.01, qPrintable(text));
  }

  // Options > Pre-distort: the MFB stage on an LM358 meets its f0 with the op amp, and the
  // line tells it together with the largest undistorted output; the box unchecked, the plain
  // design again.
  void predistortionAndLargeSignalOfTheStage() {
    StartedWindow main;
    main.Trigger("OpAmp1");
    QVERIFY(main.Get<OpAmpChoice>("OpAmpChoice")->Choose("LM358"));
    main.Type(field::fgEingabe, "20k");
    auto* line = main.Get<QLabel>("RealAmplifier1");
    QVERIFY2(line->text().contains("\nLargest output 13.500 V at "), qPrintable(line->text()));
    const RealAmplifierFigures plain = *main.window.Session().RealAmplifier();
    QVERIFY(std::abs(ErrorPercent(plain.real.f0, plain.ideal.f0)) > 1.0);
    main.Trigger("Predistort1");
    QVERIFY(main.window.Session().Choices().predistort);
    const auto& outcome = main.window.Session().PredistortionOutcome();
    QVERIFY(outcome && outcome->Achieved());
    QVERIFY2(std::abs(outcome->realF0 / plain.ideal.f0 - 1.0) < kPredistortionTolerance,
             qPrintable(QString::number(outcome->realF0)));
    QVERIFY2(line->toolTip().contains("Pre-distorted for LM358"), qPrintable(line->toolTip()));
    // Judged against the f0 asked for, not the circuit's own ideal one.
    const RealAmplifierFigures& adjusted = *main.window.Session().RealAmplifier();
    QCOMPARE(adjusted.ideal.f0, plain.ideal.f0);
    QVERIFY(std::abs(ErrorPercent(adjusted.real.f0, adjusted.ideal.f0)) < 0.5);
    main.Trigger("Predistort1");
    QVERIFY(!main.window.Session().PredistortionOutcome());
  }

  // Tools > Pre-distort in the multi-stage window designs each MFB section for the op amp; the
  // inner peaking of state-variable sections is told among the notes.
  void cascadePredistortionAndHeadroom() {
    RecordingPlatform platform;
    CascadeWindow window(platform);
    CascadeEntries entries;
    entries.request.order = 6;
    entries.request.fg = 20e3;
    entries.request.topology = Topology::Mfb;
    window.SetEntries(entries);
    auto* choice = window.findChild<OpAmpChoice*>();
    QVERIFY(choice->Choose("LM358"));
    window.findChild<QAction*>("CascadePredistort")->trigger();
    const auto real = CascadeRealAmplifier(window.Design(), Part("LM358"));
    for (std::size_t i = 0; i < real.size(); ++i) {
      const double planned = window.Design().sections[i].plan.f0;
      QVERIFY2(std::abs(real[i]->real.f0 / planned - 1.0) < kPredistortionTolerance,
               qPrintable(QString::number(i)));
    }
    window.findChild<QAction*>("CascadePredistort")->trigger();
    entries.request.order = 10;
    entries.request.approximation = Approximation::Chebyshev;
    entries.request.topology = Topology::Svf4;
    window.SetEntries(entries);
    QVERIFY(choice->Choose("TL072"));
    auto* notes = window.findChild<QLabel*>("CascadeWarningLine");
    QVERIFY2(notes->toolTip().contains("With TL072, section "), qPrintable(notes->toolTip()));
    QVERIFY(notes->toolTip().contains(" before the output."));
    QVERIFY(choice->Choose("ideal"));
    QVERIFY(!notes->toolTip().contains("With TL072"));
  }

  // Picked in the dialog: the open gain window draws it at once, the page tells the stage
  // with it, a new fg moves it, `ideal` clears both.
  void chosenInTheMainWindow() {
    StartedWindow main;
    SecondaryWindows windows(main.window, main.services);
    windows.Graphs().ShowGain();
    GraphWindow& gain = windows.Graphs().Window(GraphKind::Gain);
    QVERIFY(QTest::qWaitForWindowExposed(&gain));
    main.Trigger("OpAmp1");
    auto* dialog = main.Get<OpAmpChoice>("OpAmpChoice");
    QVERIFY(dialog->isVisible());
    QListWidget* list = dialog->List();
    QCOMPARE(list->count(), static_cast<int>(BuiltInOpAmps().size()));
    QVERIFY(list->item(0)->text().startsWith("ideal"));
    QVERIFY(list->item(RowOf(list, "TL072"))->text().contains("GBW 3.00 MHz, SR 13.0 V/µs, en "));

    list->setCurrentRow(RowOf(list, "TL072"));
    QVERIFY(OpAmpPixels(gain.Picture()) > kCurvePixels);
    auto* line = main.Get<QLabel>("RealAmplifier1");
    QVERIFY(line->isVisibleTo(&main.window));
    QVERIFY2(line->text().startsWith("With TL072: f0 "), qPrintable(line->text()));
    const CurveBuffer before = *gain.OpAmpSamples();
    main.Type(field::fgEingabe, "2k");
    Child<QAction>(gain, "Zeichnen1")->trigger();
    QVERIFY(std::memcmp(before.Y.data(), gain.OpAmpSamples()->Y.data(), sizeof before.Y) != 0);

    list->setCurrentRow(0);
    QVERIFY(!main.window.Session().RealAmplifier());
    QVERIFY(!gain.OpAmpSamples());
    QCOMPARE(OpAmpPixels(gain.Picture()), 0);
    QVERIFY(!line->isVisibleTo(&main.window));
    QVERIFY(main.services.messages.isEmpty());
  }

  // The user's file adds its parts; a faulty one says where in the status line, offers the
  // built-in parts and shows no box.
  void userFileReadOrItsFaultShown_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("notice");  // how it starts; empty: none
    QTest::addColumn<int>("parts");       // beyond the built-in ones
    QTest::newRow("new part") << QByteArray(
                                     "# mine\n[MYAMP]\na0 = 200k\ngbw = 4M\nrout = 75\ncin = "
                                     "3p\nslewRate = 10M\nswing = 13\nen = 12n\nenCorner = "
                                     "100\nin = 0.5p\ninCorner = 200\n")
                              << QString() << 1;
    QTest::newRow("changed part") << QByteArray("[tl072]\ngbw = 5,25M\n") << QString() << 0;
    QTest::newRow("bad value") << QByteArray("[TL072]\ngbw = fast\n")
                               << QString("opamps.ini, line 2: ") << 0;
    QTest::newRow("no header") << QByteArray("gbw = 1M\n") << QString("opamps.ini, line 1: ") << 0;
  }

  void userFileReadOrItsFaultShown() {
    QFETCH(QByteArray, text);
    QFETCH(QString, notice);
    QFETCH(int, parts);
    QDir().mkpath(QFileInfo(UserOpAmpFilePath()).path());
    QFile file(UserOpAmpFilePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    DesktopWindow w;
    w.Use("OpAmp1");
    QListWidget* list = w.Get<OpAmpChoice>("OpAmpChoice")->List();
    QCOMPARE(list->count(), static_cast<int>(BuiltInOpAmps().size()) + parts);
    if (notice.isEmpty()) {
      QCOMPARE(w.ProgramNotice(), QString());
    } else {
      QVERIFY2(w.ProgramNotice().startsWith(notice), qPrintable(w.ProgramNotice()));
    }
    QVERIFY(!MessageBoxShown());
    QVERIFY(w.services.messages.isEmpty());
  }

  // Each section's f0, Q and peaking with the op amp in a column of its own, the whole line as
  // its hint, and the gain window's curve; `ideal` hides both.
  void cascadeShowsTheFiguresWithTheOpAmp() {
    RecordingPlatform platform;
    CascadeWindow window(platform);
    CascadeEntries entries;
    entries.request.order = 4;
    entries.request.fg = 40e3;
    entries.request.topology = Topology::Mfb;
    window.SetEntries(entries);
    emit window.graphRequested(static_cast<int>(CascadeGraph::Gain));
    GraphWindow& gain = window.findChild<CascadeGraphs*>()->Window(GraphKind::Gain);
    SectionTable* table = window.Table();
    QVERIFY(table->isColumnHidden(SectionTable::OpAmpColumn));

    window.findChild<QAction*>("CascadeOpAmp")->trigger();
    auto* choice = window.findChild<OpAmpChoice*>();
    QVERIFY(choice->isVisible());
    QVERIFY(choice->Choose("LM358"));
    QVERIFY(!table->isColumnHidden(SectionTable::OpAmpColumn));
    QCOMPARE(table->horizontalHeaderItem(SectionTable::OpAmpColumn)->text(), QString("With LM358"));
    const auto real = CascadeRealAmplifier(window.Design(), Part("LM358"));
    QCOMPARE(table->rowCount(), static_cast<int>(real.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
      const QTableWidgetItem* cell = table->item(row, SectionTable::OpAmpColumn);
      QCOMPARE(cell->text(), Text(OpAmpCellText(*real[static_cast<std::size_t>(row)])));
      QVERIFY(cell->toolTip().startsWith("With LM358: f0 "));
    }
    QVERIFY(gain.OpAmpSamples());
    QVERIFY(OpAmpPixels(gain.Picture()) > kCurvePixels);

    QVERIFY(choice->Choose("ideal"));
    QVERIFY(table->isColumnHidden(SectionTable::OpAmpColumn));
    QVERIFY(!gain.OpAmpSamples());
  }
};

QTEST_MAIN(OpAmpChoiceTest)
#include "opamp_choice_test.moc"

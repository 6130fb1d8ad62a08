// Saving a graph window's picture as PNG and SVG and its samples as CSV, and morvane-cli plot
// drawing the very picture a window opened on the same design shows.

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>

#include "design/field_names.h"
#include "file_contents.h"
#include "graph_test_support.h"
#include "graphs/graph_picture.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

Q_DECLARE_METATYPE(morvane::FilterType)
Q_DECLARE_METATYPE(morvane::GraphKind)
Q_DECLARE_METATYPE(morvane::gui::GraphFileFormat)

namespace {

// The CLI under test: the one built with the tests, or another named in MORVANE_CLI.
QString CliPath() {
  return qEnvironmentVariable("MORVANE_CLI", MORVANE_CLI_PATH);
}

int RunCli(const QStringList& arguments, QString* err = nullptr) {
  QProcess cli;
  cli.start(CliPath(), arguments);
  if (!cli.waitForFinished(30000)) return -1;
  if (err) *err = QString::fromUtf8(cli.readAllStandardError());
  return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

const char* ActionOf(GraphFileFormat format) {
  switch (format) {
    case GraphFileFormat::Png:
      return "SavePng1";
    case GraphFileFormat::Svg:
      return "SaveSvg1";
    case GraphFileFormat::Csv:
      break;
  }
  return "ExportCsv1";
}

// The window's own picture or samples, as the file should hold them.
QByteArray Expected(GraphWindow& w, GraphFileFormat format) {
  switch (format) {
    case GraphFileFormat::Png:
      return {};
    case GraphFileFormat::Svg:
      return QByteArray::fromStdString(w.SvgPicture());
    case GraphFileFormat::Csv:
      break;
  }
  return QByteArray::fromStdString(GraphSamplesCsv(w.Kind(), w.PulseSelected(), w.Buffer()));
}

}  // namespace

class GraphExportTest : public QObject {
  Q_OBJECT

 private slots:
  void savesWhatTheWindowShows_data() {
    QTest::addColumn<GraphKind>("kind");
    QTest::addColumn<GraphFileFormat>("format");
    QTest::newRow("gain png") << GraphKind::Gain << GraphFileFormat::Png;
    QTest::newRow("phase svg") << GraphKind::Phase << GraphFileFormat::Svg;
    QTest::newRow("delay csv") << GraphKind::GroupDelay << GraphFileFormat::Csv;
    QTest::newRow("time svg") << GraphKind::TimeResponse << GraphFileFormat::Svg;
  }

  void savesWhatTheWindowShows() {
    QFETCH(GraphKind, kind);
    QFETCH(GraphFileFormat, format);
    QTemporaryDir dir;
    GraphFixture f;
    GraphWindow& w = f.Show(kind);
    f.output.answer = dir.filePath("picture");
    Child<QAction>(w, ActionOf(format))->trigger();
    const QString saved = dir.filePath("picture." + SuffixOf(format));
    QCOMPARE(w.LastExportName(format), saved);
    if (format == GraphFileFormat::Png) {
      QCOMPARE(QImage(saved, "PNG").convertToFormat(w.Picture().format()), w.Picture());
    } else {
      QCOMPARE(Contents(saved), Expected(w, format));
    }
    // Offered again next time; cancelling keeps it and writes nothing.
    f.output.answer.clear();
    Child<QAction>(w, ActionOf(format))->trigger();
    QCOMPARE(f.output.offeredExports.size(), 2);
    QCOMPARE(f.output.offeredExports[0], qMakePair(format, QString()));
    QCOMPARE(f.output.offeredExports[1], qMakePair(format, saved));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QFileInfo(saved).fileName()});
    QVERIFY(f.platform.messages.isEmpty());
  }

  // The SVG is drawn from the window's own last drawing, not from axes another window left.
  void svgFollowsItsOwnWindow() {
    GraphFixture f;
    GraphWindow& gain = f.Show(GraphKind::Gain);
    const std::string before = gain.SvgPicture();
    f.Show(GraphKind::TimeResponse);
    QCOMPARE(gain.SvgPicture(), before);
    QVERIFY(before.find("Voltage Gain") != std::string::npos);
  }

  void eachFormatRemembersItsOwnName() {
    QTemporaryDir dir;
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::Gain);
    f.output.answer = dir.filePath("a.svg");
    Child<QAction>(w, "SaveSvg1")->trigger();
    f.output.answer = dir.filePath("b.csv");
    Child<QAction>(w, "ExportCsv1")->trigger();
    QCOMPARE(w.LastExportName(GraphFileFormat::Svg), dir.filePath("a.svg"));
    QCOMPARE(w.LastExportName(GraphFileFormat::Csv), dir.filePath("b.csv"));
    QCOMPARE(w.LastExportName(GraphFileFormat::Png), QString());
    QVERIFY(w.LastFileName().isEmpty());
  }

  void pulseSamplesSayHt() {
    QTemporaryDir dir;
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::TimeResponse);
    Child<QRadioButton>(w, "RadioButtonht")->click();
    f.output.answer = dir.filePath("h.csv");
    Child<QAction>(w, "ExportCsv1")->trigger();
    const QList<QByteArray> lines = Contents(dir.filePath("h.csv")).split('\n');
    QCOMPARE(lines.first(), QByteArray("t/s,h(t)"));
    QCOMPARE(lines.size(), 251 + 2);  // header, samples, and the empty rest after the last newline
  }

  void aFileThatCannotBeWrittenIsReported_data() {
    QTest::addColumn<GraphFileFormat>("format");
    QTest::addColumn<QString>("what");
    QTest::newRow("png") << GraphFileFormat::Png << "The graphic";
    QTest::newRow("svg") << GraphFileFormat::Svg << "The graphic";
    QTest::newRow("csv") << GraphFileFormat::Csv << "The samples";
  }

  void aFileThatCannotBeWrittenIsReported() {
    QFETCH(GraphFileFormat, format);
    QFETCH(QString, what);
    QTemporaryDir dir;
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::Phase);
    f.output.answer = dir.filePath("missing/folder/phase");
    Child<QAction>(w, ActionOf(format))->trigger();
    QCOMPARE(f.platform.messages.size(), 1);
    // The name with its suffix added, and why the write failed.
    QCOMPARE(f.platform.messages[0], what + " could not be saved: cannot write \"" +
                                         f.output.answer + "." + SuffixOf(format) +
                                         "\": the folder \"" + dir.filePath("missing/folder") +
                                         "\" does not exist.");
  }

  // The window just opened on a design and morvane-cli plot on the same design draw the same
  // picture: pixel for pixel as PNG, character for character as SVG, and the same samples.
  void cliDrawsTheOpenedWindow_data() {
    QTest::addColumn<QString>("graph");
    QTest::addColumn<GraphKind>("kind");
    QTest::addColumn<FilterType>("type");
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<QString>("fg");
    QTest::addColumn<QString>("q");
    QTest::newRow("gain lowpass") << "gain" << GraphKind::Gain << FilterType::Lowpass << "lowpass"
                                  << "1k"
                                  << "0.7071";
    QTest::newRow("phase highpass")
        << "phase" << GraphKind::Phase << FilterType::Highpass << "highpass"
        << "2k"
        << "1.5";
    QTest::newRow("delay bandpass")
        << "delay" << GraphKind::GroupDelay << FilterType::Bandpass << "bandpass"
        << "455"
        << "5";
    QTest::newRow("step") << "step" << GraphKind::TimeResponse << FilterType::Lowpass << "lowpass"
                          << "10k"
                          << "3";
    QTest::newRow("pulse") << "pulse" << GraphKind::TimeResponse << FilterType::Lowpass << "lowpass"
                           << "50"
                           << "0.6";
  }

  void cliDrawsTheOpenedWindow() {
    QFETCH(QString, graph);
    QFETCH(GraphKind, kind);
    QFETCH(FilterType, type);
    QFETCH(QString, typeName);
    QFETCH(QString, fg);
    QFETCH(QString, q);
    GraphFixture f(type);
    f.session.TypeEntry(field::fgEingabe, fg.toStdString());
    f.session.TypeEntry(field::QEingabe, q.toStdString());
    GraphWindow& w = f.Show(kind);
    if (graph == "pulse") Child<QRadioButton>(w, "RadioButtonht")->click();
    // The window at its opening size is what the command draws without a size.
    QCOMPARE(w.Picture().size(), QSize(kOpenedPictureWidth, kOpenedPictureHeight));

    QTemporaryDir dir;
    const QStringList design{"--type", typeName, "fg=" + fg, "Q=" + q};
    for (const QString& suffix : QStringList{"png", "svg", "csv"}) {
      const QString out = dir.filePath("cli." + suffix);
      QString err;
      QCOMPARE(RunCli(QStringList{"plot", graph, "--out", out} + design, &err), 0);
      // Qt may say something about the desktop while it starts for the PNG.
      if (suffix != "png") QCOMPARE(err, QString());
    }
    const QImage png(dir.filePath("cli.png"), "PNG");
    QCOMPARE(png.convertToFormat(w.Picture().format()), w.Picture());
    QCOMPARE(Contents(dir.filePath("cli.svg")), QByteArray::fromStdString(w.SvgPicture()));
    QCOMPARE(Contents(dir.filePath("cli.csv")), Expected(w, GraphFileFormat::Csv));
  }

  // Another size: the window resized, the command told the size.
  void cliDrawsAtTheSizeAsked() {
    GraphFixture f;
    GraphWindow& w = f.Show(GraphKind::Gain);
    w.resize(768, 576);
    QCoreApplication::processEvents();
    const QSize size = w.Picture().size();
    QVERIFY(size.width() > kOpenedPictureWidth);

    QTemporaryDir dir;
    for (const QString& suffix : QStringList{"png", "svg"}) {
      QCOMPARE(RunCli({"plot", "gain", "--out", dir.filePath("big." + suffix), "--width",
                       QString::number(size.width()), "--height", QString::number(size.height())}),
               0);
    }
    QCOMPARE(QImage(dir.filePath("big.png"), "PNG").convertToFormat(w.Picture().format()),
             w.Picture());
    QCOMPARE(Contents(dir.filePath("big.svg")), QByteArray::fromStdString(w.SvgPicture()));
  }
};

QTEST_MAIN(GraphExportTest)
#include "graph_export_test.moc"

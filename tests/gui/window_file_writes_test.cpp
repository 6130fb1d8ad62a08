// Every file the windows write is written whole or not at all, and a failed write tells which
// file and why: under a file-size limit the old file stays byte for byte, and a folder that
// allows no new files is named.

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <array>

#include <sys/resource.h>

#include "file_contents.h"
#include "files/atomic_file.h"
#include "graph_test_support.h"
#include "recording_desktop.h"
#include "unprivileged_run.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

// Valid design text, so the writers that keep a file's other lines can read it first.
const QByteArray kOldFile = "[Variablen]\nQ=2\n; the old file, which must stay whole\n";

// Files may grow to a few bytes only while this lives (SIGXFSZ ignored, as the program does).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &lowered) != 0) qFatal("cannot lower the file size limit");
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
};

QStringList SaveDesign(const QString& path) {
  DesktopWindow w;
  w.services.answer = path;
  w.Use("SpeedButtonINISave");
  return w.services.messages;
}

QStringList CloseWindow(const QString& path) {
  FakePlatformServices services;
  MainWindow window(services);
  window.Initialize({}, path);
  window.show();
  window.close();
  return services.messages;
}

QStringList ExportLadder(const QString& path) {
  DesktopWindow w;
  w.window.SelectTopology(Topology::LcLadder);
  w.Get<QScrollBar>("ScrollBar1")->setValue(3);
  w.services.answer = path;
  w.Use("SpeedButtonExport");
  return w.services.messages;
}

QStringList ExportNetlist(const QString& path) {
  DesktopWindow w;
  w.services.answer = path;
  w.Use("SpiceExport1");
  return w.services.messages;
}

QStringList SaveGraph(const char* action, const QString& path) {
  GraphFixture f;
  GraphWindow& w = f.Show(GraphKind::Gain);
  f.output.answer = path;
  Child<QAction>(w, action)->trigger();
  return f.platform.messages;
}

// One command that writes a file, given the file's path; it returns the messages shown.
struct Writer {
  const char* name;
  const char* fileName;
  // The design file keeps the message the program always gave, which names only the file.
  bool saysWhy;
  QStringList (*write)(const QString& path);
};

const std::array<Writer, 8> kWriters{{
    {"design file", "saved.ini", false, SaveDesign},
    {"design file at close", "Morvane.ini", false, CloseWindow},
    {"circuit export", "ladder.kdr", true, ExportLadder},
    {"SPICE netlist", "design.cir", true, ExportNetlist},
    {"graph as BMP", "gain.bmp", true, [](const QString& p) { return SaveGraph("Save1", p); }},
    {"graph as PNG", "gain.png", true, [](const QString& p) { return SaveGraph("SavePng1", p); }},
    {"graph as SVG", "gain.svg", true, [](const QString& p) { return SaveGraph("SaveSvg1", p); }},
    {"samples as CSV", "gain.csv", true,
     [](const QString& p) { return SaveGraph("ExportCsv1", p); }},
}};

void AddWriterRows() {
  QTest::addColumn<int>("writer");
  for (std::size_t i = 0; i < kWriters.size(); ++i) {
    QTest::newRow(kWriters[i].name) << static_cast<int>(i);
  }
}

}  // namespace

class WindowFileWritesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    // The program's own start does the same: an oversized write is an error, not the end.
    ReportOversizedWritesAsErrors();
  }

  void eachWriterWritesItsFile_data() { AddWriterRows(); }

  // The table's commands really write where they are told, so the failures below count.
  void eachWriterWritesItsFile() {
    QFETCH(int, writer);
    const Writer& w = kWriters[static_cast<std::size_t>(writer)];
    const QString path = QDir(dir_.path()).filePath(w.fileName);
    QFile::remove(path);
    QCOMPARE(w.write(path), QStringList());
    QVERIFY(Contents(path).size() > 100);
  }

  void aFileSizeLimitKeepsTheOldFileAndSaysWhy_data() { AddWriterRows(); }

  void aFileSizeLimitKeepsTheOldFileAndSaysWhy() {
    QFETCH(int, writer);
    const Writer& w = kWriters[static_cast<std::size_t>(writer)];
    QTemporaryDir folder;
    const QString path = folder.filePath(w.fileName);
    {
      QFile old(path);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write(kOldFile);
    }
    QStringList messages;
    {
      const FileSizeLimit limit(8);
      messages = w.write(path);
    }
    QCOMPARE(Contents(path), kOldFile);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(path), qPrintable(messages[0]));
    if (w.saysWhy) {
      QVERIFY2(messages[0].contains("would exceed the allowed file size"), qPrintable(messages[0]));
    }
    // No half-written copy is left beside it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{w.fileName});
  }

  void aFolderThatAllowsNoNewFilesIsNamed_data() { AddWriterRows(); }

  void aFolderThatAllowsNoNewFilesIsNamed() {
    QFETCH(int, writer);
    if (!CanRunUnprivileged()) QSKIP("runs as root and cannot become an unprivileged user");
    const Writer& w = kWriters[static_cast<std::size_t>(writer)];
    // Reachable for everyone, writable for no one but root.
    QTemporaryDir scratch;
    QVERIFY(QFile::setPermissions(
        scratch.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                            QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup));
    const QString folder = scratch.filePath("read-only");
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                              QFile::ExeOther | QFile::ReadGroup |
                                              QFile::ExeGroup));
    const QString path = QDir(folder).filePath(w.fileName);

    const auto messages = RunUnprivileged([&] { return w.write(path); });
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY(messages.has_value());
    QCOMPARE(messages->size(), 1);
    const QString& message = messages->front();
    QVERIFY2(message.contains(path), qPrintable(message));
    if (w.saysWhy) {
      QVERIFY2(message.contains("the folder \"" + folder + "\" does not allow creating files"),
               qPrintable(message));
    }
    QVERIFY(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
  }

 private:
  QTemporaryDir dir_;
};

QTEST_MAIN(WindowFileWritesTest)
#include "window_file_writes_test.moc"

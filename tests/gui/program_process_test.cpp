// The built morvane program as a process: SIGTERM and SIGHUP close the window as the user
// does, so the design is saved and the program exits normally; the --screenshot picture is
// written whole or not at all, with the reason on standard error.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include <sys/resource.h>

#include "design/design_session.h"
#include "file_contents.h"
#include "files/design_file.h"
#include "unprivileged_run.h"

using namespace morvane;
using namespace morvane::gui::test;

namespace {

// The program under test: the one built with the tests, or another named in MORVANE_GUI.
QString ProgramPath() {
  return qEnvironmentVariable("MORVANE_GUI", MORVANE_GUI_PATH);
}

QProcessEnvironment ProgramEnvironment(const QString& configFolder) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_CONFIG_HOME", configFolder);
  return environment;
}

// One of the masks of /proc/PID/status ("SigCgt", "SigIgn"), as a set of signal bits.
quint64 SignalMask(qint64 pid, const QByteArray& name) {
  const QByteArray status = Contents(QString("/proc/%1/status").arg(pid));
  for (const QByteArray& line : status.split('\n')) {
    if (line.startsWith(name + ":"))
      return line.mid(name.size() + 1).trimmed().toULongLong(nullptr, 16);
  }
  return 0;
}

constexpr quint64 Bit(int signal) {
  return quint64{1} << (signal - 1);
}

// Waits until the process catches SIGTERM, which it does once it has started up.
bool WaitUntilCatching(const QProcess& process, int signal) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 20000 && process.state() == QProcess::Running) {
    if (SignalMask(process.processId(), "SigCgt") & Bit(signal)) return true;
    QTest::qWait(20);
  }
  return false;
}

// What the close writes for a window started on `startFile` ("" for none): the session's
// start as the window makes it, saved the way the window saves it.
QByteArray ExpectedDesignFile(const QByteArray& startFile) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("expected.ini").toStdString();
  if (!startFile.isEmpty()) WriteAll(QString::fromStdString(path), startFile);
  DesignSession session;
  std::string error;
  session.Start({}, path, &error);
  if (!WriteDesignFile(path, session.SavedState(), session.Choices(), error))
    qFatal("%s", error.c_str());
  return Contents(QString::fromStdString(path));
}

}  // namespace

class ProgramProcessTest : public QObject {
  Q_OBJECT

 private slots:
  void terminationSavesTheDesignAndExitsNormally_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<QByteArray>("startFile");
    for (const int signal : {SIGTERM, SIGHUP}) {
      const QByteArray name = signal == SIGTERM ? "SIGTERM" : "SIGHUP";
      // Without a file at start only the close can have written one.
      QTest::newRow(name + ", no design file") << signal << QByteArray();
      // A partial file gets all its keys only from the close.
      QTest::newRow(name + ", a partial design file")
          << signal << QByteArray("[Variablen]\nfg=4k7\nQ=2\n");
    }
  }

  void terminationSavesTheDesignAndExitsNormally() {
    QFETCH(int, signal);
    QFETCH(QByteArray, startFile);
    QTemporaryDir config;
    const QString designFile = config.filePath("Morvane/Morvane.ini");
    if (!startFile.isEmpty()) {
      QVERIFY(QDir().mkpath(config.filePath("Morvane")));
      WriteAll(designFile, startFile);
    }
    QProcess program;
    program.setProcessEnvironment(ProgramEnvironment(config.path()));
    program.start(ProgramPath(), {"--no-splash"});
    QVERIFY(program.waitForStarted());
    // A program that never catches it is ended by the signal, which the checks below see.
    const bool caught = WaitUntilCatching(program, signal);
    QCOMPARE(Contents(designFile), startFile);

    ::kill(static_cast<pid_t>(program.processId()), signal);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(Contents(designFile), ExpectedDesignFile(startFile));
    QVERIFY(caught);
  }

  // Started under nohup, the program keeps ignoring the hangup and ends on SIGTERM as usual.
  void anIgnoredHangupStaysIgnored() {
    QTemporaryDir config;
    QProcess program;
    program.setProcessEnvironment(ProgramEnvironment(config.path()));
    program.setChildProcessModifier([] { std::signal(SIGHUP, SIG_IGN); });
    program.start(ProgramPath(), {"--no-splash"});
    QVERIFY(program.waitForStarted());
    QVERIFY(WaitUntilCatching(program, SIGTERM));
    QVERIFY(SignalMask(program.processId(), "SigIgn") & Bit(SIGHUP));
    QVERIFY(!(SignalMask(program.processId(), "SigCgt") & Bit(SIGHUP)));
    ::kill(static_cast<pid_t>(program.processId()), SIGHUP);
    QVERIFY(!program.waitForFinished(300));
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(QFile::exists(config.filePath("Morvane/Morvane.ini")));
  }

  void screenshotIsWritten() {
    QTemporaryDir dir;
    const QString picture = dir.filePath("window.png");
    QProcess program;
    program.setProcessEnvironment(ProgramEnvironment(dir.filePath("config")));
    program.start(ProgramPath(), {"--no-splash", "--screenshot", picture});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(Contents(picture).startsWith("\x89PNG"));
  }

  // Under a file-size limit the old picture stays whole, and the program says why.
  void screenshotUnderAFileSizeLimitKeepsTheOldFile() {
    QTemporaryDir dir;
    const QString picture = dir.filePath("window.png");
    const QByteArray old = "an older picture, which must stay whole";
    WriteAll(picture, old);
    QProcess program;
    program.setProcessEnvironment(ProgramEnvironment(dir.filePath("config")));
    program.setChildProcessModifier([] {
      rlimit limit{};
      ::getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = 8;
      ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    program.start(ProgramPath(), {"--no-splash", "--screenshot", picture});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(err.contains("cannot write \"" + picture +
                          "\": the file would exceed the allowed "
                          "file size"),
             qPrintable(err));
    QCOMPARE(Contents(picture), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"window.png"});
  }

  void screenshotIntoAFolderThatAllowsNoNewFilesNamesIt() {
    if (!CanRunUnprivileged()) QSKIP("runs as root and cannot become an unprivileged user");
    QTemporaryDir dir;
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(dir.path(), readOnly | QFile::WriteOwner));
    const QString folder = dir.filePath("read-only");
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(QFile::setPermissions(folder, readOnly));
    const QString picture = QDir(folder).filePath("window.png");
    QProcess program;
    program.setProcessEnvironment(ProgramEnvironment(dir.filePath("config")));
    if (::geteuid() == 0) {
      program.setChildProcessModifier([] {
        if (!BecomeUnprivileged()) ::_exit(kCannotDropPrivileges);
      });
    }
    program.start(ProgramPath(), {"--no-splash", "--screenshot", picture});
    QVERIFY(program.waitForFinished(30000));
    QFile::setPermissions(folder, readOnly | QFile::WriteOwner);
    QCOMPARE(program.exitCode(), 1);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(err.contains("cannot write \"" + picture + "\": the folder \"" + folder +
                          "\" does not allow creating files"),
             qPrintable(err));
    QVERIFY(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
  }
};

QTEST_MAIN(ProgramProcessTest)
#include "program_process_test.moc"

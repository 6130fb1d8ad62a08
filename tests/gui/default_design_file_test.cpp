// A default design file that cannot be read is kept under a new name beside it and replaced by
// a fresh one at the next close, so the design is saved again; one that cannot be moved is
// never written over.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/design_file_io.h"
#include "app/start_up.h"
#include "file_contents.h"
#include "files/design_file.h"
#include "gui_test_support.h"
#include "unprivileged_run.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

QStringList KeptFiles(const QString& folder) {
  return QDir(folder).entryList({"Morvane.ini.unreadable-*"}, QDir::Files | QDir::System);
}

const QFile::Permissions kOpenForAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                       QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                       QFile::ExeOther;

const QFile::Permissions kReadOnlyForAll = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                           QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

const QDateTime kNoon(QDate(2024, 3, 5), QTime(7, 8, 9));

}  // namespace

class DefaultDesignFileTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(config_.isValid());
    QVERIFY(QFile::setPermissions(config_.path(), kOpenForAll));
    // The default file lives in this test's own folder, never the user's.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    QApplication::setApplicationName("Morvane");
    QCOMPARE(DefaultDesignFilePath(), config_.filePath("Morvane/Morvane.ini"));
  }

  void init() {
    cleanup();
    QVERIFY(QDir().mkpath(config_.filePath("Morvane")));
  }

  void cleanup() {
    QDir folder(config_.filePath("Morvane"));
    QFile::setPermissions(folder.path(), kOpenForAll);
    folder.removeRecursively();
  }

  void keptNameCarriesTheTimeAndACounter_data() {
    QTest::addColumn<int>("attempt");
    QTest::addColumn<QString>("name");
    QTest::newRow("first") << 1 << "/c/Morvane.ini.unreadable-20240305-070809";
    QTest::newRow("second") << 2 << "/c/Morvane.ini.unreadable-20240305-070809-2";
    QTest::newRow("tenth") << 10 << "/c/Morvane.ini.unreadable-20240305-070809-10";
  }

  void keptNameCarriesTheTimeAndACounter() {
    QFETCH(int, attempt);
    QFETCH(QString, name);
    QCOMPARE(KeptFileName("/c/Morvane.ini", kNoon, attempt), name);
  }

  void keepingNeverReplacesATakenName_data() {
    QTest::addColumn<int>("taken");
    QTest::newRow("none taken") << 0;
    QTest::newRow("first taken") << 1;
    QTest::newRow("two taken") << 2;
  }

  void keepingNeverReplacesATakenName() {
    QFETCH(int, taken);
    const QString path = DefaultDesignFilePath();
    WriteAll(path, QByteArray("broken\0", 7));
    for (int i = 1; i <= taken; ++i) {
      WriteAll(KeptFileName(path, kNoon, i), "kept before " + QByteArray::number(i));
    }
    const KeptDesignFile kept = KeepUnreadableDesignFile(path, kNoon);
    QCOMPARE(kept.problem, QString());
    QCOMPARE(kept.keptAs, KeptFileName(path, kNoon, taken + 1));
    QCOMPARE(Contents(kept.keptAs), QByteArray("broken\0", 7));
    QVERIFY(!QFile::exists(path));
    for (int i = 1; i <= taken; ++i) {
      QCOMPARE(Contents(KeptFileName(path, kNoon, i)), "kept before " + QByteArray::number(i));
    }
  }

  // Nothing to keep aside: the start reports as before, and the close tries its write.
  void onlyAFileIsMoved_data() {
    QTest::addColumn<bool>("folder");
    QTest::newRow("missing") << false;
    QTest::newRow("a folder in its place") << true;
  }

  void onlyAFileIsMoved() {
    QFETCH(bool, folder);
    const QString path = DefaultDesignFilePath();
    if (folder) QVERIFY(QDir().mkdir(path));
    const KeptDesignFile kept = KeepUnreadableDesignFile(path, kNoon);
    QCOMPARE(kept.keptAs, QString());
    QCOMPARE(kept.problem, QString());
    QCOMPARE(KeptDesignFileNote(kept), QString());
    QCOMPARE(QFileInfo(path).isDir(), folder);
    QCOMPARE(KeptFiles(QFileInfo(path).path()), QStringList());
  }

  void unreadableFileIsKeptAndTheCloseWritesAFreshOne_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("link");
    QTest::newRow("binary") << QByteArray("[Variablen]\nfg=\0\x01\x02\xff", 20) << false;
    QTest::newRow("overlong line") << QByteArray(70000, 'x') << false;
    QTest::newRow("too large") << QByteArray() << false;
    QTest::newRow("link to a binary file") << QByteArray(
                                                  "\x7f"
                                                  "ELF\0\0",
                                                  6)
                                           << true;
  }

  void unreadableFileIsKeptAndTheCloseWritesAFreshOne() {
    QFETCH(QByteArray, content);
    QFETCH(bool, link);
    const QString path = DefaultDesignFilePath();
    const QString target = link ? QFileInfo(path).path() + "/elsewhere.bin" : path;
    if (content.isEmpty()) {
      QFile large(target);  // 17 MiB of zeros, more than a design file may have
      QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(17 << 20));
    } else {
      WriteAll(target, content);
    }
    if (link) QVERIFY(QFile::link(target, path));
    const QByteArray before = Contents(path);

    FakePlatformServices services;
    StartOptions options;
    options.splash = false;
    StartUp startUp(services, options);
    QVERIFY(startUp.Run());
    MainWindow& window = startUp.Window();

    const QStringList kept = KeptFiles(QFileInfo(path).path());
    QCOMPARE(kept.size(), 1);
    QVERIFY2(
        QRegularExpression("^Morvane\\.ini\\.unreadable-\\d{8}-\\d{6}$").match(kept[0]).hasMatch(),
        qPrintable(kept[0]));
    const QString keptPath = QFileInfo(path).path() + "/" + kept[0];
    QCOMPARE(Contents(keptPath), before);
    QCOMPARE(QFileInfo(keptPath).isSymLink(), link);
    QVERIFY(!QFileInfo::exists(path));

    DesignSession initial;
    initial.Start();
    QVERIFY(window.Session().Fields() == initial.Fields());
    QTRY_COMPARE(services.messages.size(), 1);
    const QString& message = services.messages[0];
    QVERIFY2(message.startsWith("cannot read \"" + path + "\": "), qPrintable(message));
    QVERIFY2(message.endsWith("\n\nIt was kept as " + keptPath +
                              "; the window starts from the initial design."),
             qPrintable(message));

    QVERIFY(window.close());
    DesignState read;
    std::string error;
    QVERIFY2(ReadDesignFile(path.toStdString(), read, error), error.c_str());
    QVERIFY(Contents(path).startsWith("[Variablen]\n"));
    QVERIFY(!QFileInfo(path).isSymLink());
    QCOMPARE(Contents(keptPath), before);
    QCOMPARE(services.messages.size(), 1);
  }

  // The folder allows no renaming: the file stays as it was, also after the close.
  void fileThatCannotBeMovedIsNeverWrittenOver() {
    if (!CanRunUnprivileged()) QSKIP("runs as root and cannot become an unprivileged user");
    const QString path = DefaultDesignFilePath();
    const QString folder = QFileInfo(path).path();
    const QByteArray broken("[Variablen]\n\0\0\0", 15);
    WriteAll(path, broken);
    QVERIFY(QFile::setPermissions(
        path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(folder, kReadOnlyForAll));

    const auto messages = RunUnprivileged([&] {
      FakePlatformServices services;
      MainWindow window(services);
      window.Initialize({}, path);
      window.show();
      if (!QTest::qWaitFor([&] { return !services.messages.isEmpty(); }, 5000))
        return QStringList();
      window.close();
      QCoreApplication::processEvents();
      return services.messages;
    });

    QVERIFY(messages.has_value());
    QCOMPARE(messages->size(), 1);
    const QString& message = messages->front();
    QVERIFY2(message.startsWith("cannot read \"" + path + "\": "), qPrintable(message));
    QVERIFY2(message.contains("\n\nIt could not be kept under another name: the folder \"" +
                              folder + "\" does not allow renaming files in it"),
             qPrintable(message));
    QVERIFY2(message.contains("the design of this session is not saved."), qPrintable(message));
    QCOMPARE(Contents(path), broken);
    QCOMPARE(KeptFiles(folder), QStringList());
  }

 private:
  QTemporaryDir config_;
};

QTEST_MAIN(DefaultDesignFileTest)
#include "default_design_file_test.moc"

// Start-up and close: command line, splash hold, failures, the default design file, the
// fixed window frame.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QThread>
#include <QToolButton>
#include <stdexcept>

#include "app/design_file_io.h"
#include "app/start_up.h"
#include "gui_test_support.h"
#include "ui/splash_screen.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

bool SplashVisible() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (qobject_cast<SplashScreen*>(w) && w->isVisible()) return true;
  }
  return false;
}

QString ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void WriteAll(const QString& path, const QByteArray& text) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text);
}

StartOptions WithoutSplash(const QString& argument = {}) {
  StartOptions options;
  options.splash = false;
  options.firstArgument = argument;
  return options;
}

}  // namespace

class StartUpTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QApplication::setApplicationName("Morvane");
    QStandardPaths::setTestModeEnabled(true);  // never the user's own design file
  }

  void init() { QFile::remove(DefaultDesignFilePath()); }

  void parsesTheCommandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("first");
    QTest::addColumn<bool>("splash");
    QTest::addColumn<QString>("screenshot");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("error");
    QTest::newRow("none") << QStringList{} << "" << true << "" << 0 << false;
    QTest::newRow("highpass") << QStringList{"H"} << "H" << true << "" << 0 << false;
    QTest::newRow("option first") << QStringList{"--no-splash", "B"} << "B" << false << "" << 0
                                  << false;
    QTest::newRow("only the first counts")
        << QStringList{"B", "H"} << "B" << true << "" << 0 << false;
    QTest::newRow("screenshot of a page") << QStringList{"--screenshot", "a.png", "--page", "6"}
                                          << "" << true << "a.png" << 6 << false;
    QTest::newRow("page out of range")
        << QStringList{"--page", "8"} << "" << true << "" << 8 << true;
    QTest::newRow("missing value") << QStringList{"--screenshot"} << "" << true << "" << 0 << true;
    QTest::newRow("unknown option") << QStringList{"--fast"} << "" << true << "" << 0 << true;
  }

  void parsesTheCommandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, first);
    QFETCH(bool, splash);
    QFETCH(QString, screenshot);
    QFETCH(int, page);
    QFETCH(bool, error);
    const StartOptions options = ParseStartOptions(arguments);
    QCOMPARE(!options.error.isEmpty(), error);
    if (error) return;
    QCOMPARE(options.firstArgument, first);
    QCOMPARE(options.splash, splash);
    QCOMPARE(options.screenshot, screenshot);
    QCOMPARE(options.topology, page);
  }

  void argumentPreselectsTheType_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("item");
    QTest::newRow("H") << "H"
                       << "HPRadioButton"
                       << "Hochpass1";
    QTest::newRow("B") << "B"
                       << "BPRadioButton"
                       << "Bandpass1";
    QTest::newRow("h") << "h"
                       << "TPRadioButton"
                       << "Tiefpass1";
    QTest::newRow("HP") << "HP"
                        << "TPRadioButton"
                        << "Tiefpass1";
    QTest::newRow("X") << "X"
                       << "TPRadioButton"
                       << "Tiefpass1";
  }

  void argumentPreselectsTheType() {
    QFETCH(QString, argument);
    QFETCH(QString, radio);
    QFETCH(QString, item);
    FakePlatformServices services;
    StartUp startUp(services, WithoutSplash(argument));
    QVERIFY(startUp.Run());
    MainWindow& w = startUp.Window();
    QVERIFY(w.findChild<QRadioButton*>(radio)->isChecked());
    QVERIFY(w.findChild<QAction*>(item)->isChecked());
    QCOMPARE(w.findChild<QLabel*>("Labelfg")->text(),
             radio == "BPRadioButton" ? "Center Frequency fm" : "Cut-Off Frequency fc");
  }

  void splashIsHeldAfterInitialising() {
    FakePlatformServices services;
    StartUp startUp(services, StartOptions{});
    startUp.splashHoldMs = 250;
    QElapsedTimer sinceInitialised;
    bool splashDuringInitialising = false;
    startUp.initialise = [&](MainWindow& window) {
      splashDuringInitialising = SplashVisible();
      QThread::msleep(100);  // a slow start must not shorten the hold
      window.Initialize({}, {});
      sinceInitialised.start();
    };
    QVERIFY(startUp.Run());
    QVERIFY(sinceInitialised.elapsed() >= 250);
    QVERIFY(splashDuringInitialising);
    QVERIFY(!SplashVisible());
    QVERIFY(startUp.Window().isVisible());
  }

  void noSplashMeansNoHold() {
    FakePlatformServices services;
    StartUp startUp(services, WithoutSplash());
    startUp.splashHoldMs = 5000;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(startUp.Run());
    QVERIFY(timer.elapsed() < 2000);
    QVERIFY(startUp.Window().isVisible());
  }

  void failedStartShowsTheWindowAndReports_data() {
    QTest::addColumn<bool>("splash");
    QTest::newRow("with splash") << true;
    QTest::newRow("without splash") << false;
  }

  void failedStartShowsTheWindowAndReports() {
    QFETCH(bool, splash);
    FakePlatformServices services;
    StartOptions options;
    options.splash = splash;
    StartUp startUp(services, options);
    startUp.splashHoldMs = 50;
    startUp.initialise = [](MainWindow&) { throw std::runtime_error("disk unreadable"); };
    QVERIFY(!startUp.Run());
    QVERIFY(!SplashVisible());
    QVERIFY(startUp.Window().isVisible());
    QCOMPARE(services.messages.size(), 1);
    QVERIFY(services.messages[0].contains("disk unreadable"));
  }

  void everyCloseWritesTheDefaultFile_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("speed bar") << "ExitBtn";
    QTest::newRow("Alt+X") << "Alt+X";
    QTest::newRow("Exit button") << "Abbruch";
    QTest::newRow("close box") << "close";
  }

  void everyCloseWritesTheDefaultFile() {
    QFETCH(QString, how);
    const QString path = DefaultDesignFilePath();
    QVERIFY(!QFile::exists(path));
    FakePlatformServices services;
    StartUp startUp(services, WithoutSplash());
    QVERIFY(startUp.Run());
    MainWindow& w = startUp.Window();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QLineEdit* fg = w.findChild<QLineEdit*>("fgEingabe");
    fg->selectAll();
    QTest::keyClicks(fg, "2k");
    if (how == "close") {
      w.close();
    } else if (how == "Alt+X") {
      QTest::keyClick(&w, Qt::Key_X, Qt::AltModifier);
    } else {
      QTest::mouseClick(w.findChild<QAbstractButton*>(how), Qt::LeftButton);
    }
    QVERIFY(!w.isVisible());
    const QString text = ReadAll(path);
    QVERIFY2(text.startsWith("[Variablen]"), qPrintable(text));
    QVERIFY2(text.contains("fg=  2.00k"), qPrintable(text));
    QVERIFY(services.messages.isEmpty());
  }

  void startOpensTheDefaultFile() {
    WriteAll(DefaultDesignFilePath(), "[Variablen]\nQ=2\nfg=4k7\n");
    FakePlatformServices services;
    StartUp startUp(services, WithoutSplash());
    QVERIFY(startUp.Run());
    const DesignSession& session = startUp.Window().Session();
    QCOMPARE(session.State().Q, 2.0);
    QCOMPARE(session.State().D, 0.25);
    QCOMPARE(session.State().fg, 4700.0);  // "4k7" written by hand: 4.7k
    QCOMPARE(startUp.Window().findChild<QLineEdit*>("QEingabe")->text(),
             QString::fromStdString(session.FieldText("QEingabe")));
  }

  void unreadableDefaultFileIsReportedOnceShown() {
    const QString path = QDir::temp().filePath("morvane-test-folder.ini");
    QDir().mkpath(path);  // a folder where the file should be
    FakePlatformServices services;
    MainWindow w(services);
    w.Initialize({}, path);
    QVERIFY(services.messages.isEmpty());
    w.show();
    QTRY_COMPARE(services.messages.size(), 1);
    QDir().rmdir(path);
  }

  // The design cannot be saved: the user is told, and the window closes anyway.
  void unwritableDefaultFileStillCloses() {
    FakePlatformServices services;
    MainWindow w(services);
    w.Initialize({}, "/nonexistent-folder/Morvane.ini");
    w.show();
    QVERIFY(w.close());
    QVERIFY(!w.isVisible());
    QCOMPARE(services.messages.size(), 1);
    QVERIFY(services.messages[0].contains("/nonexistent-folder/Morvane.ini"));
  }

  void windowOpensAtItsDesignedSizeAndMayGrow() {
    FakePlatformServices services;
    MainWindow w(services);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.minimumSize(), w.size());
    QCOMPARE(w.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    // The desktop's own title bar buttons: minimise, maximise and close.
    QVERIFY(!w.windowFlags().testFlag(Qt::CustomizeWindowHint));
    QCOMPARE(w.width(), 782);
    QCOMPARE(w.height() - w.menuBar()->height(), 540);
    QCOMPARE(w.statusBar()->height(), 22);
  }

  void statusBarShowsTheHintUnderTheMouse_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");
    QTest::newRow("speed button") << "RechenButton"
                                  << "Make calculations";
    QTest::newRow("spin button") << "SpinButtonQUp"
                                 << "Increase or decrease Q";
    QTest::newRow("label") << "LabelBr"
                           << "For constant voltage noise density";
    QTest::newRow("large button") << "Abbruch"
                                  << "Exit program";
  }

  void statusBarShowsTheHintUnderTheMouse() {
    QFETCH(QString, control);
    QFETCH(QString, hint);
    FakePlatformServices services;
    MainWindow w(services);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QWidget* target = w.findChild<QWidget*>(control);
    QTest::mouseMove(target, target->rect().center());
    QTRY_COMPARE(w.statusBar()->currentMessage(), hint);
    QCOMPARE(target->toolTip(), hint);
  }

  void stayInFrontToggles() {
    FakePlatformServices services;
    MainWindow w(services);
    w.show();
    auto* item = w.findChild<QAction*>("ImVordergrundbleiben1");
    item->trigger();
    QVERIFY(item->isChecked());
    QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(w.isVisible());
    item->trigger();
    QVERIFY(!item->isChecked());
    QVERIFY(!w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(w.isVisible());
  }
};

QTEST_MAIN(StartUpTest)
#include "start_up_test.moc"

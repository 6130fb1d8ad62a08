// The Tools menu finds the companion programs built beside morvane and starts each: the
// menu item hands the program's path to the desktop, and that program runs and opens its
// window (here: grabs it into a picture and quits).

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "recording_desktop.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

class CompanionStartsTest : public QObject {
  Q_OBJECT

 private slots:
  void toolsMenuFindsAndStartsEachCompanion_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("program");
    QTest::newRow("RC filters") << "RCFilter1"
                                << "morvane-rc";
    QTest::newRow("LC filters") << "LCFilter1"
                                << "morvane-lc";
    QTest::newRow("standard values") << "ENormreihen1"
                                     << "morvane-eseries";
    QTest::newRow("series and parallel") << "SerienParallelschaltungen1"
                                         << "morvane-seriesparallel";
  }

  void toolsMenuFindsAndStartsEachCompanion() {
    QFETCH(QString, item);
    QFETCH(QString, program);
    const QString folder = QString::fromUtf8(MORVANE_COMPANION_DIR);
    DesktopWindow w({}, {folder});
    w.Use(item);
    QCOMPARE(w.services.started.size(), 1);
    const QStringList started = w.services.started.front();
    QCOMPARE(QFileInfo(started.front()).fileName(), program);
    QCOMPARE(w.ProgramNotice(), QString());

    // What the menu would start runs: its window comes up and is drawn.
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QString picture = scratch.filePath("window.png");
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    run.setProcessEnvironment(environment);
    run.start(started.front(), started.mid(1) + QStringList{"--screenshot", picture});
    QVERIFY(run.waitForFinished(60000));
    QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());
    const QImage shot(picture);
    QVERIFY(shot.width() > 200 && shot.height() > 150);
  }
};

QTEST_MAIN(CompanionStartsTest)
#include "companion_starts_test.moc"

// Starting other programs from the main window: Execute, the desktop's calculator and
// clipboard viewer, and the companion programs, found in folders the test makes.

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include "app/program_starts.h"
#include "recording_desktop.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

// An empty file in `folder`, executable or not.
QString MakeProgram(const QString& folder, const QString& name, bool executable = true) {
  QDir().mkpath(folder);
  const QString path = QDir(folder).filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot make %s", qPrintable(path));
  file.write("#!/bin/sh\n");
  file.close();
  QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
  if (executable) permissions |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
  file.setPermissions(permissions);
  return path;
}

const ToolProgram& Tool(std::string_view item) {
  for (const ToolProgram& tool : ToolPrograms()) {
    if (tool.item == item) return tool;
  }
  qFatal("no tool %s", item.data());
}

}  // namespace

class ProgramStartsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    folders_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folders_->isValid());
  }

  void toolsAreFoundInOrder_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("beside");  // programs in the folder of this program
    QTest::addColumn<QStringList>("onPath");  // programs in a folder of the search path
    QTest::addColumn<QString>("expected");    // folder/name of the one started, or empty
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("companion beside wins")
        << "RCFilter1" << QStringList{"morvane-rc"} << QStringList{"morvane-rc"}
        << "beside/morvane-rc" << QStringList{};
    QTest::newRow("companion on the path")
        << "SerienParallelschaltungen1" << QStringList{} << QStringList{"morvane-seriesparallel"}
        << "path/morvane-seriesparallel" << QStringList{};
    QTest::newRow("another companion is not it")
        << "LCFilter1" << QStringList{"morvane-rc"} << QStringList{} << "" << QStringList{};
    QTest::newRow("a file that cannot run is not it")
        << "ENormreihen1" << QStringList{"!morvane-eseries"} << QStringList{} << ""
        << QStringList{};
    QTest::newRow("preferred calculator wherever it is")
        << "Taschenrechner1" << QStringList{"xcalc"} << QStringList{"gnome-calculator"}
        << "path/gnome-calculator" << QStringList{};
    QTest::newRow("clipboard viewer with its argument")
        << "Zwischenablage1" << QStringList{} << QStringList{"gpaste-client", "xclipboard"}
        << "path/gpaste-client" << QStringList{"ui"};
  }

  void toolsAreFoundInOrder() {
    QFETCH(QString, item);
    QFETCH(QStringList, beside);
    QFETCH(QStringList, onPath);
    QFETCH(QString, expected);
    QFETCH(QStringList, arguments);
    const QString besideFolder = folders_->filePath("beside");
    const QString pathFolder = folders_->filePath("path");
    for (const QString& name : beside) {
      MakeProgram(besideFolder, QString(name).remove('!'), !name.startsWith('!'));
    }
    for (const QString& name : onPath) MakeProgram(pathFolder, name);
    const auto found = FindToolProgram(Tool(item.toStdString()), {besideFolder, pathFolder});
    QCOMPARE(found.has_value(), !expected.isEmpty());
    if (!found) return;
    QCOMPARE(found->path, folders_->filePath(expected));
    QCOMPARE(found->arguments, arguments);
  }

  void noFoldersFindNothing() {
    // Not even on the real search path, where a calculator may well be installed.
    QVERIFY(!FindToolProgram(Tool("Taschenrechner1"), {}).has_value());
  }

  void missingCompanionsSaySoInTheStatusBar_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("status");
    QTest::newRow("RC") << "RCFilter1"
                        << "The RC filter program morvane-rc was not found beside Morvane or on "
                           "the search path.";
    QTest::newRow("LC") << "LCFilter1"
                        << "The LC filter program morvane-lc was not found beside Morvane or on "
                           "the search path.";
    QTest::newRow("E-series") << "ENormreihen1"
                              << "The E-series program morvane-eseries was not found beside "
                                 "Morvane or on the search path.";
    QTest::newRow("series and parallel")
        << "SerienParallelschaltungen1"
        << "The series and parallel circuit program morvane-seriesparallel was not found beside "
           "Morvane or on the search path.";
  }

  void missingCompanionsSaySoInTheStatusBar() {
    QFETCH(QString, item);
    QFETCH(QString, status);
    DesktopWindow w({}, {folders_->path()});
    QVERIFY(w.Get<QAction>(item)->isEnabled());
    w.Use(item);
    QCOMPARE(w.ProgramNotice(), status);
    QVERIFY(w.services.started.isEmpty());
  }

  void missingProgramNoticeOutlastsTheHintsUnderTheMouse() {
    // Chosen from the open menu: when it closes, the control under the mouse shows its hint.
    DesktopWindow w({}, {folders_->path()});
    auto* bar = w.window.menuBar();
    auto* tools = w.Get<QMenu>("Tools1");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(tools->menuAction()).center());
    QVERIFY(QTest::qWaitForWindowExposed(tools));
    QAction* item = w.Get<QAction>("RCFilter1");
    QTest::mouseMove(tools, tools->actionGeometry(item).center());
    QTest::mouseClick(tools, Qt::LeftButton, {}, tools->actionGeometry(item).center());
    QTest::qWait(50);
    QVERIFY(!w.Status().isEmpty());
    QVERIFY(w.ProgramNotice().startsWith("The RC filter program"));
  }

  void companionIsStartedOrSaysItWasNot() {
    const QString path = MakeProgram(folders_->path(), "morvane-lc");
    DesktopWindow w({}, {folders_->path()});
    w.Use("LCFilter1");
    QCOMPARE(w.services.started, QList<QStringList>{{path}});
    QCOMPARE(w.ProgramNotice(), QString());

    w.services.startWorks = false;
    w.Use("LCFilter1");
    QCOMPARE(w.ProgramNotice(), "The LC filter program " + path + " could not be started.");
    QCOMPARE(w.services.beeps, 0);
  }

  void seriesParallelOpensTheExportedCircuit() {
    const QString program = MakeProgram(folders_->path(), "morvane-seriesparallel");
    const QString lc = MakeProgram(folders_->path(), "morvane-lc");
    DesktopWindow w({}, {folders_->path()});
    w.Use("SerienParallelschaltungen1");  // nothing exported yet: no file
    w.window.SelectTopology(Topology::LcLadder);
    const QString circuit = QDir(folders_->path()).filePath("ladder.kdr");
    w.services.answer = circuit;
    w.Get<QAbstractButton>("SpeedButtonExport")->click();
    QVERIFY(QFile::exists(circuit));
    w.Use("SerienParallelschaltungen1");
    w.Use("LCFilter1");  // the other companions take no file
    QFile::remove(circuit);
    w.Use("SerienParallelschaltungen1");  // a file deleted since is not passed on
    QCOMPARE(w.services.started,
             (QList<QStringList>{{program}, {program, circuit}, {lc}, {program}}));
  }

  void desktopProgramsAreOfferedOnlyWhenFound() {
    const QString calculator = MakeProgram(folders_->path(), "kcalc");
    DesktopWindow w({}, {folders_->path()});
    auto* calculatorItem = w.Get<QAction>("Taschenrechner1");
    auto* viewerItem = w.Get<QAction>("Zwischenablage1");
    QVERIFY(calculatorItem->isEnabled());
    QVERIFY(!viewerItem->isEnabled());
    QCOMPARE(viewerItem->statusTip(),
             QString("The clipboard viewer was not found: none of copyq, gpaste-client, "
                     "xclipboard is installed on the search path."));
    w.Use("Taschenrechner1");
    QCOMPARE(w.services.started, QList<QStringList>{{calculator}});

    // Installed while the program runs: offered when the menu opens next.
    const QString viewer = MakeProgram(folders_->path(), "copyq");
    emit w.Get<QMenu>("Tools1")->aboutToShow();
    QVERIFY(viewerItem->isEnabled());
    QCOMPARE(viewerItem->statusTip(), QString());
    w.Use("Zwischenablage1");
    QCOMPARE(w.services.started.back(), (QStringList{viewer, "show"}));
  }

  void executeStartsTheChosenProgramOrBeeps() {
    // The dialog and its cancelling are in files_print_test.
    for (bool starts : {true, false}) {
      DesktopWindow w;
      w.services.answer = "/opt/tools/my program";
      w.services.startWorks = starts;
      w.Use("ExecButton");
      QCOMPARE(w.services.started, QList<QStringList>{{"/opt/tools/my program"}});
      QCOMPARE(w.services.beeps, starts ? 0 : 1);
      QCOMPARE(w.services.messages, QStringList());
    }
  }

 private:
  std::unique_ptr<QTemporaryDir> folders_;
};

QTEST_MAIN(ProgramStartsTest)
#include "program_starts_test.moc"

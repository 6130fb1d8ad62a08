// Design files, circuit export, SPICE netlist, printing and the clipboard of the main window,
// on a desktop whose dialogs, printer and clipboard are recorded.

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPdfWriter>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>

#include "app/print_layout.h"
#include "recording_desktop.h"
#include "spice/netlist.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    qFatal("cannot write %s", qPrintable(path));
  file.write(text);
}

const QSize kClient(782, 540);

}  // namespace

class FilesPrintTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void dialogsAskWithTheirParametersAndCancelChangesNothing_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("name");
    QTest::newRow("save design") << 1 << "SpeedButtonINISave" << true << "Save INI File"
                                 << "INI Files (*.ini)"
                                 << "INI"
                                 << "MV.INI";
    QTest::newRow("load design") << 1 << "SpeedButtonINILaden" << false << "Load INI File"
                                 << "INI Files (*.ini)"
                                 << "INI"
                                 << "MV.INI";
    QTest::newRow("export circuit") << 6 << "SpeedButtonExport" << true << "Save Circuit"
                                    << "Circuit Files (*.kdr)"
                                    << "KDR"
                                    << "MV.KDR";
    QTest::newRow("netlist") << 1 << "SpiceExport1" << true << "Export SPICE Netlist"
                             << "SPICE Netlists (*.cir)"
                             << "cir"
                             << "MV.cir";
    QTest::newRow("execute button") << 1 << "ExecButton" << false << "Execute Another Program"
                                    << "Programs (*);;All Files (*)"
                                    << ""
                                    << "";
    QTest::newRow("execute item") << 1 << "Ausfhren1" << false << "Execute Another Program"
                                  << "Programs (*);;All Files (*)"
                                  << ""
                                  << "";
  }

  void dialogsAskWithTheirParametersAndCancelChangesNothing() {
    QFETCH(int, page);
    QFETCH(QString, control);
    QFETCH(bool, save);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    QFETCH(QString, suffix);
    QFETCH(QString, name);
    DesktopWindow w;
    w.window.SelectTopology(static_cast<Topology>(page));
    const auto fields = w.window.Session().Fields();
    const QStringList before = QDir(dir_.path()).entryList(QDir::Files);

    w.Use(control);

    QCOMPARE(w.services.asked.size(), 1);
    const auto& asked = w.services.asked.front();
    QCOMPARE(asked.save, save);
    QCOMPARE(asked.request.title, title);
    QStringList filters;
    for (const FileFilter& f : asked.request.filters) filters << NameFilter(f);
    QCOMPARE(filters.join(";;"), filter);
    QCOMPARE(asked.request.defaultSuffix, suffix);
    QCOMPARE(asked.request.initialName, name);
    QCOMPARE(asked.request.filters.front().executablesOnly, title.startsWith("Execute"));
    QCoreApplication::processEvents();
    QVERIFY(w.window.Session().Fields() == fields);
    QCOMPARE(w.services.messages, QStringList());
    QCOMPARE(w.services.beeps, 0);
    QVERIFY(w.services.started.isEmpty());
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), before);
  }

  void savedDesignHoldsTheTypedEntries() {
    DesktopWindow w;
    auto* fg = w.Get<QLineEdit>("fgEingabe");
    fg->selectAll();
    QTest::keyClicks(fg, "2k");
    w.services.answer = dir_.filePath("typed.ini");
    w.Use("SpeedButtonINISave");
    const QByteArray file = ReadAll(w.services.answer);
    QVERIFY2(file.contains("fg=  2.00k"), file.constData());
    QCOMPARE(w.services.messages, QStringList());
  }

  void loadingOpensTheFileAndRecalculates() {
    // Q alone: its field does not recalculate when the program writes it, so only the
    // recalculation after opening brings the results in line.
    const QString path = dir_.filePath("load.ini");
    WriteAll(path, "[Variablen]\nQ=2\n");
    DesktopWindow w;
    const std::string peakingBefore = w.window.Session().FieldText("dVu1Ausgabe");
    w.services.answer = path;
    w.Use("SpeedButtonINILaden");

    DesignSession expected;
    expected.Start();
    std::string error;
    QVERIFY(expected.OpenDesign(path.toStdString(), error));
    expected.Recalculate();
    QVERIFY(w.window.Session().Fields() == expected.Fields());
    QVERIFY(w.window.Session().FieldText("dVu1Ausgabe") != peakingBefore);
    for (const char* name : {"QEingabe", "DEingabe", "dVu1Ausgabe", "R11Ausgabe"}) {
      QCOMPARE(w.Get<QLineEdit>(name)->text(), QString::fromStdString(expected.FieldText(name)));
    }
    QCOMPARE(w.services.messages, QStringList());
  }

  // A design saved on one page, type, series and options opens on the same ones in a new
  // window, with Q exact, and every control shows them.
  void savedDesignOpensWhole() {
    const QString path = dir_.filePath("whole.ini");
    {
      DesktopWindow w;
      w.Get<QTabBar>("TabSet1")->setCurrentIndex(static_cast<int>(Topology::Svf4) - 1);
      w.Get<QButtonGroup>("FilterTypeButtons")
          ->button(static_cast<int>(FilterType::Bandpass))
          ->click();
      w.Use("E96R1");
      w.Use("E12C1");
      w.Use("RoundResistors1");
      w.Get<QCheckBox>("CCheckBox4")->click();
      auto* q = w.Get<QLineEdit>("QEingabe");
      q->selectAll();
      QTest::keyClicks(q, "1.9318517");
      w.services.answer = path;
      w.Use("SpeedButtonINISave");
    }
    DesktopWindow w;
    w.services.answer = path;
    w.Use("SpeedButtonINILaden");
    const DesignSession& session = w.window.Session();
    QCOMPARE(session.State().topology, Topology::Svf4);
    QCOMPARE(session.Type(), FilterType::Bandpass);
    QCOMPARE(session.State().Q, 1.9318517);
    QCOMPARE(w.Get<QTabBar>("TabSet1")->currentIndex(), static_cast<int>(Topology::Svf4) - 1);
    QVERIFY(w.Get<QButtonGroup>("FilterTypeButtons")
                ->button(static_cast<int>(FilterType::Bandpass))
                ->isChecked());
    QVERIFY(w.Get<QAction>("E96R1")->isChecked());
    QVERIFY(w.Get<QAction>("E12C1")->isChecked());
    QVERIFY(w.Get<QAction>("RoundResistors1")->isChecked());
    QVERIFY(session.Choices().roundResistors);
    QVERIFY(!w.Get<QCheckBox>("CCheckBox4")->isChecked());
    QVERIFY(!session.Choices().svf4AutomaticCapacitance);
    QCOMPARE(w.services.messages, QStringList());
  }

  void unusableFilesGiveAMessageAndChangeNothing_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("page");
    const QString missingFolder = dir_.filePath("missing/MV.INI");
    WriteAll(dir_.filePath("binary.ini"), QByteArray("[Variablen]\nfg=\0\x01\x02", 16));
    QTest::newRow("save into a missing folder") << "SpeedButtonINISave" << missingFolder << 1;
    QTest::newRow("save onto a folder") << "SpeedButtonINISave" << dir_.path() << 1;
    QTest::newRow("load a folder") << "SpeedButtonINILaden" << dir_.path() << 1;
    QTest::newRow("load a binary file")
        << "SpeedButtonINILaden" << dir_.filePath("binary.ini") << 1;
    QTest::newRow("export into a missing folder")
        << "SpeedButtonExport" << dir_.filePath("missing/MV.KDR") << 6;
    QTest::newRow("netlist into a missing folder")
        << "SpiceExport1" << dir_.filePath("missing/MV.cir") << 1;
  }

  void unusableFilesGiveAMessageAndChangeNothing() {
    QFETCH(QString, control);
    QFETCH(QString, path);
    QFETCH(int, page);
    DesktopWindow w;
    w.window.SelectTopology(static_cast<Topology>(page));
    QCoreApplication::processEvents();
    const auto fields = w.window.Session().Fields();
    w.services.answer = path;
    w.Use(control);
    QCOMPARE(w.services.messages.size(), 1);
    QVERIFY2(w.services.messages.front().contains(path), qPrintable(w.services.messages.front()));
    QVERIFY(w.window.Session().Fields() == fields);
    QVERIFY(!QDir(dir_.filePath("missing")).exists());
  }

  void exportWritesTheLadderOrRefuses() {
    DesktopWindow w;
    w.window.SelectTopology(Topology::LcLadder);
    w.Get<QScrollBar>("ScrollBar1")->setValue(3);
    w.services.answer = dir_.filePath("ladder.kdr");
    w.Use("SpeedButtonExport");
    const QByteArray file = ReadAll(w.services.answer);
    QVERIFY2(file.contains("Elemente=3") && file.contains("[Element3]"), file.constData());
    QCOMPARE(w.services.messages, QStringList());

    // An even-order Chebyshev ladder between equal terminations has no element values.
    w.Get<QScrollBar>("ScrollBar1")->setValue(4);
    w.Get<QRadioButton>("RadioButtonTscheb")->click();
    QCoreApplication::processEvents();
    w.services.messages.clear();
    w.services.answer = dir_.filePath("refused.kdr");
    w.Use("SpeedButtonExport");
    QCOMPARE(w.services.messages,
             QStringList{"The LC filter has no element values for these entries (see the element "
                         "table), so no circuit was exported."});
    QVERIFY(!QFile::exists(w.services.answer));
  }

  void netlistExportWritesTheDesignsNetlist() {
    DesktopWindow w;
    w.services.answer = dir_.filePath("mfb.cir");
    w.Use("SpiceExport1");
    const std::string expected =
        DesignNetlist(w.window.Session().State(), w.window.Session().Choices(), {});
    QVERIFY(!expected.empty());
    QCOMPARE(ReadAll(w.services.answer), QByteArray::fromStdString(expected));
    QCOMPARE(w.services.messages, QStringList());
  }

  // A page that does not design the checked type takes its first one, so the export always
  // has a circuit: the new page's lowpass.
  void netlistExportAfterAPageSwitchWritesTheNewPagesCircuit() {
    DesktopWindow w;
    w.Use("SVF4OP1");
    w.Use("Bandsperre1");
    w.Use("SVF3OP1");  // does not design the bandstop
    QCOMPARE(w.window.Session().Type(), FilterType::Lowpass);
    w.services.answer = dir_.filePath("lowpass.cir");
    w.Use("SpiceExport1");
    QCOMPARE(w.services.messages, QStringList());
    const std::string expected =
        DesignNetlist(w.window.Session().State(), w.window.Session().Choices(), {});
    QVERIFY(!expected.empty());
    QCOMPARE(ReadAll(w.services.answer), QByteArray::fromStdString(expected));
  }

  void netlistItemSitsBeforeTheSeparatorAndExit() {
    DesktopWindow w;
    QStringList items;
    for (QAction* a : w.Get<QMenu>("FileMenu")->actions()) items << a->objectName();
    QCOMPARE(items,
             (QStringList{"Drucken1", "Druckereinstellung1", "SpiceExport1", "", "ExitItem"}));
    QCOMPARE(w.Get<QAction>("SpiceExport1")->text(), QString("Export SPICE Netlist…"));
  }

  void printedPictureFitsThePage_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("page");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("window on portrait A4 fills the width")
        << kClient << QRect(0, 0, 4760, 6814) << QRect(0, 0, 4760, 3286);
    QTest::newRow("window on landscape A4 still the width")
        << kClient << QRect(0, 0, 6814, 4760) << QRect(0, 0, 6814, 4705);
    QTest::newRow("wide page: the height")
        << kClient << QRect(0, 0, 8000, 4000) << QRect(0, 0, 5792, 4000);
    QTest::newRow("same proportions: the whole page")
        << kClient << QRect(0, 0, 1564, 1080) << QRect(0, 0, 1564, 1080);
    QTest::newRow("smaller page: shrunk")
        << kClient << QRect(0, 0, 391, 600) << QRect(0, 0, 391, 270);
    QTest::newRow("page corner kept")
        << kClient << QRect(120, 80, 4760, 6814) << QRect(120, 80, 4760, 3286);
    QTest::newRow("empty picture") << QSize(0, 540) << QRect(0, 0, 4760, 6814) << QRect();
    QTest::newRow("empty page") << kClient << QRect(0, 0, 0, 0) << QRect();
  }

  void printedPictureFitsThePage() {
    QFETCH(QSize, picture);
    QFETCH(QRect, page);
    QFETCH(QRect, expected);
    QCOMPARE(PrintedPictureRect(picture, page), expected);
  }

  void printAsksThePrintDialogFirst() {
    DesktopWindow w("Office Laser");
    w.services.printDialogAnswer = false;
    w.Use("Drucken1");
    QCOMPARE(w.services.printDialogs, 1);
    QCOMPARE(w.services.printed.size(), 0);
    QCOMPARE(w.services.messages, QStringList());

    w.services.printDialogAnswer = true;
    w.services.printerAfterSetUp = "Plotter";
    w.Use("Drucken1");
    QCOMPARE(w.services.printDialogs, 2);
    QCOMPARE(w.services.printed.size(), 1);
    QCOMPARE(w.Get<QAction>("Drucken1")->statusTip(), QString("Print window with Plotter"));
  }

  void printSendsTheClientAreaOrSaysWhyNot() {
    DesktopWindow w("Office Laser");
    w.Use("Drucken1");
    QCOMPARE(w.services.printed.size(), 1);
    QCOMPARE(w.services.printed.front().deviceIndependentSize().toSize(), kClient);
    QCOMPARE(w.services.messages, QStringList());

    w.services.printWorks = false;
    w.Use("Drucken1");
    QCOMPARE(w.services.messages, QStringList{"The printer is out of paper."});
  }

  void pictureOnAPdfPage() {
    const QString path = dir_.filePath("window.pdf");
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    QImage picture(kClient, QImage::Format_RGB32);
    picture.fill(Qt::darkRed);
    QVERIFY(PaintPictureOnPage(pdf, picture));
    QVERIFY(ReadAll(path).startsWith("%PDF"));
  }

  void printHintFollowsThePrinter_data() {
    QTest::addColumn<QString>("atStart");
    QTest::addColumn<QString>("afterSetUp");
    QTest::addColumn<QString>("hintAtStart");
    QTest::addColumn<QString>("hintAfterSetUp");
    QTest::newRow("another printer chosen") << "Office Laser"
                                            << "Plotter"
                                            << "Print window with Office Laser"
                                            << "Print window with Plotter";
    QTest::newRow("no printer installed") << ""
                                          << ""
                                          << ""
                                          << "";
    QTest::newRow("printer installed later") << ""
                                             << "Plotter"
                                             << ""
                                             << "Print window with Plotter";
    QTest::newRow("printer gone: hint kept") << "Office Laser"
                                             << ""
                                             << "Print window with Office Laser"
                                             << "Print window with Office Laser";
  }

  void printHintFollowsThePrinter() {
    QFETCH(QString, atStart);
    QFETCH(QString, afterSetUp);
    QFETCH(QString, hintAtStart);
    QFETCH(QString, hintAfterSetUp);
    DesktopWindow w(atStart);
    w.services.printerAfterSetUp = afterSetUp;
    auto* print = w.Get<QAction>("Drucken1");
    QCOMPARE(print->statusTip(), hintAtStart);
    w.Use("Druckereinstellung1");
    QCOMPARE(w.services.printerSetUps, 1);
    QCOMPARE(print->statusTip(), hintAfterSetUp);
    // What the status bar shows while the item is highlighted.
    print->showStatusText(&w.window);
    QCOMPARE(w.Status(), hintAfterSetUp);
  }

  void copyPutsTheClientAreaWithoutMenuOnTheClipboard() {
    DesktopWindow w;
    w.Use("ButtonCopy");
    QCOMPARE(w.services.copied.size(), 1);
    const QImage picture = w.services.copied.front();
    QCOMPARE(picture.deviceIndependentSize().toSize(), kClient);
    // The picture begins with the speed bar, not with the menu.
    const QImage speedBar = w.Get("SpeedBar")->grab().toImage().convertToFormat(picture.format());
    QCOMPARE(picture.copy(QRect(QPoint(0, 0), speedBar.size())), speedBar);
  }

 private:
  QTemporaryDir dir_;
};

QTEST_MAIN(FilesPrintTest)
#include "files_print_test.moc"

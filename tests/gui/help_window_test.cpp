// The help window: F1 and the Help button bring it up at the page of the topology shown; every
// page it ships loads, has a title and a heading, and links only to pages that exist; it opens
// beside the main window.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTextBrowser>
#include <QTextDocument>

#include "app/secondary_windows.h"
#include "gui_test_support.h"
#include "help/help_pages.h"
#include "help/help_window.h"
#include "ui/help_box.h"
#include "ui/window_placement.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

// The pages the program must ship, written out here rather than taken from HelpPages(): the
// index, the seven topologies in tab order, then the concepts.
const QStringList kExpectedPages{
    "index.html",
    "mfb.html",
    "pfb.html",
    "svf3.html",
    "svf4.html",
    "fliege.html",
    "lc_ladder.html",
    "lc_diplexer.html",
    "frequencies.html",
    "q_and_d.html",
    "input_impedance.html",
    "peaking.html",
    "gbwp.html",
    "noise_bandwidth.html",
    "lc_terminations.html",
    "filter_order.html",
    "standard_series.html",
    "multi_stage.html",
    "tolerance.html",
    "op_amps_noise.html",
};

QString PageText(const QString& page) {
  QFile file(QString::fromLatin1(kHelpFolder) + page);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

template <typename T>
QList<T*> VisibleWindows() {
  QList<T*> shown;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<T*>(top); window && window->isVisible()) shown << window;
  }
  return shown;
}

void Ask(StartedWindow& w, const QString& how) {
  if (how == "F1 key") {
    w.window.activateWindow();
    QTest::keyClick(&w.window, Qt::Key_F1);
  } else if (how == "Hilfe1") {
    w.Trigger(how);
  } else {
    QTest::mouseClick(w.Get<QAbstractButton>(how), Qt::LeftButton);
  }
}

}  // namespace

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void helpCommandsShowTheTopologysPage_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("page");
    QTest::newRow("MFB, menu F1") << 0 << "Hilfe1"
                                  << "mfb.html";
    QTest::newRow("PFB, menu F1") << 1 << "Hilfe1"
                                  << "pfb.html";
    QTest::newRow("SVF 3, menu F1") << 2 << "Hilfe1"
                                    << "svf3.html";
    QTest::newRow("SVF 4, menu F1") << 3 << "Hilfe1"
                                    << "svf4.html";
    QTest::newRow("Fliege, menu F1") << 4 << "Hilfe1"
                                     << "fliege.html";
    QTest::newRow("LC ladder, menu F1") << 5 << "Hilfe1"
                                        << "lc_ladder.html";
    QTest::newRow("diplexer, menu F1") << 6 << "Hilfe1"
                                       << "lc_diplexer.html";
    QTest::newRow("MFB, Help button") << 0 << "Hilfe"
                                      << "mfb.html";
    QTest::newRow("diplexer, Help button") << 6 << "Hilfe"
                                           << "lc_diplexer.html";
    QTest::newRow("Fliege, F1 key") << 4 << "F1 key"
                                    << "fliege.html";
  }

  void helpCommandsShowTheTopologysPage() {
    QFETCH(int, tab);
    QFETCH(QString, how);
    QFETCH(QString, page);
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    w.Get<QTabBar>("TabSet1")->setCurrentIndex(tab);
    Ask(w, how);
    Ask(w, how);  // a second request shows the same window
    const QList<HelpWindow*> shown = VisibleWindows<HelpWindow>();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.front(), &windows.Help());
    QVERIFY(VisibleWindows<HelpBox>().isEmpty());
    QVERIFY(!shown.front()->isModal());
    QCOMPARE(shown.front()->CurrentPage(), page);
    auto* browser = shown.front()->findChild<QTextBrowser*>("HelpBrowser");
    QVERIFY(browser);
    QVERIFY(!browser->toPlainText().trimmed().isEmpty());
    QVERIFY(shown.front()->windowTitle().startsWith("Morvane Help – "));
    // MORVANE_HELP_SCREENSHOT=file.png keeps a picture of the first page shown.
    if (const QString file = qEnvironmentVariable("MORVANE_HELP_SCREENSHOT");
        !file.isEmpty() && !QFile::exists(file)) {
      QVERIFY(shown.front()->grab().save(file));
    }
    // Contents leads to the index, Back returns to the topology's page.
    QTest::mouseClick(shown.front()->findChild<QPushButton*>("HelpContents"), Qt::LeftButton);
    QCOMPARE(shown.front()->CurrentPage(), QString("index.html"));
    QTest::mouseClick(shown.front()->findChild<QPushButton*>("HelpBack"), Qt::LeftButton);
    QCOMPARE(shown.front()->CurrentPage(), page);
    shown.front()->hide();
  }

  void everyPageLoadsAndLinksOnlyToPages_data() {
    QTest::addColumn<QString>("page");
    for (const QString& page : kExpectedPages) QTest::newRow(qPrintable(page)) << page;
  }

  void everyPageLoadsAndLinksOnlyToPages() {
    QFETCH(QString, page);
    const QString html = PageText(page);
    QVERIFY2(!html.isEmpty(), "the page is not among the program's resources");
    QTextDocument document;
    document.setHtml(html);
    QVERIFY(!document.metaInformation(QTextDocument::DocumentTitle).trimmed().isEmpty());
    QVERIFY(html.contains("<h1>"));
    QVERIFY(!document.toPlainText().contains("TODO"));

    static const QRegularExpression link("href\\s*=\\s*\"([^\"]*)\"");
    QStringList targets;
    for (const QRegularExpressionMatch& m : link.globalMatch(html)) {
      const QString href = m.captured(1);
      const QString file = href.section('#', 0, 0);
      const QString anchor = href.section('#', 1);
      QVERIFY2(!href.contains(':'), qPrintable("link out of the help: " + href));
      const QString target = file.isEmpty() ? page : file;
      QVERIFY2(kExpectedPages.contains(target), qPrintable("broken link: " + href));
      if (!anchor.isEmpty()) {
        QVERIFY2(PageText(target).contains("id=\"" + anchor + "\""),
                 qPrintable("no such place: " + href));
      }
      targets << target;
    }
    // Every page leads back to the contents; the contents lead to every page.
    if (page == "index.html") {
      for (const QString& other : kExpectedPages.mid(1)) {
        QVERIFY2(targets.contains(other), qPrintable("the index misses " + other));
      }
    } else {
      QVERIFY(targets.contains("index.html"));
    }
  }

  void theProgramShipsExactlyThesePages() {
    QCOMPARE(HelpPages(), kExpectedPages);
    QStringList shipped = QDir(kHelpFolder).entryList(QDir::Files);
    QStringList expected = kExpectedPages;
    shipped.sort();
    expected.sort();
    QCOMPARE(shipped, expected);
    QCOMPARE(HelpPageFor(Topology::Mfb), QString("mfb.html"));
    QCOMPARE(HelpPageFor(Topology::Diplexer), QString("lc_diplexer.html"));
  }

  void besidePosition_data() {
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("expected");
    const QRect screen(0, 0, 1920, 1080);
    QTest::newRow("right of it") << QRect(100, 50, 800, 600) << QSize(640, 560) << screen
                                 << QPoint(900, 50);
    QTest::newRow("right edge exactly")
        << QRect(100, 50, 1180, 600) << QSize(640, 560) << screen << QPoint(1280, 50);
    QTest::newRow("one pixel short: left")
        << QRect(641, 50, 640, 600) << QSize(640, 560) << screen << QPoint(1, 50);
    QTest::newRow("no room either side")
        << QRect(300, 50, 1300, 600) << QSize(640, 560) << screen << QPoint(1280, 50);
    QTest::newRow("low anchor, pushed up")
        << QRect(100, 800, 800, 200) << QSize(640, 560) << screen << QPoint(900, 520);
    QTest::newRow("anchor above the screen")
        << QRect(100, -40, 800, 600) << QSize(640, 560) << screen << QPoint(900, 0);
    QTest::newRow("larger than the screen")
        << QRect(0, 0, 800, 600) << QSize(700, 700) << QRect(0, 0, 640, 480) << QPoint(0, 0);
    QTest::newRow("second screen offset") << QRect(2000, 100, 800, 600) << QSize(640, 560)
                                          << QRect(1920, 0, 1920, 1080) << QPoint(2800, 100);
  }

  void besidePosition() {
    QFETCH(QRect, anchor);
    QFETCH(QSize, size);
    QFETCH(QRect, available);
    QFETCH(QPoint, expected);
    QCOMPARE(BesidePosition(anchor, size, available), expected);
  }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"

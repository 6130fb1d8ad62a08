// The windows the main window opens from its buttons and menu items: one window each for the
// whole run (a second request brings the same one forward), a fresh About box every time.

#include <QAbstractButton>
#include <QApplication>
#include <QStatusBar>

#include "aids/order_dialog.h"
#include "aids/proposal_dialog.h"
#include "app/secondary_windows.h"
#include "graphs/graph_window.h"
#include "graphs/graph_windows.h"
#include "gui_test_support.h"
#include "help/help_window.h"
#include "ui/about_box.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

void Raise(StartedWindow& w, const QString& control) {
  if (auto* action = w.window.findChild<QAction*>(control)) {
    action->trigger();
  } else {
    w.Get<QAbstractButton>(control)->click();
  }
}

template <typename T>
int VisibleCount() {
  int count = 0;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (qobject_cast<T*>(top) && top->isVisible()) ++count;
  }
  return count;
}

}  // namespace

class SecondaryWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void eachCommandShowsItsOneWindow_data() {
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<QString>("window");
    QTest::newRow("order") << QStringList{"BitBtnOrd", "Filterordnungberechnen1"} << "order";
    QTest::newRow("proposal") << QStringList{"InfoBtn", "Schaltungsvorschlag1"} << "proposal";
    QTest::newRow("help") << QStringList{"Hilfe", "Hilfe1"} << "help";
  }

  void eachCommandShowsItsOneWindow() {
    QFETCH(QStringList, controls);
    QFETCH(QString, window);
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    for (const QString& control : controls) {
      Raise(w, control);
      Raise(w, control);  // a second request shows the same window
    }
    QWidget* expected = window == "order"      ? static_cast<QWidget*>(&windows.Order())
                        : window == "proposal" ? static_cast<QWidget*>(&windows.Proposal())
                                               : static_cast<QWidget*>(&windows.Help());
    QVERIFY(expected->isVisible());
    QCOMPARE(
        VisibleCount<OrderDialog>() + VisibleCount<ProposalDialog>() + VisibleCount<HelpWindow>(),
        1);
    // Opening a window is not an unavailable command.
    QVERIFY(w.window.statusBar()->currentMessage().isEmpty());
    expected->hide();
  }

  void aboutBoxIsNewEachTime() {
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    Raise(w, "About1");
    Raise(w, "About1");
    QCOMPARE(VisibleCount<AboutBox>(), 2);
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (qobject_cast<AboutBox*>(top)) top->close();
    }
  }

  void graphButtonsOpenTheirWindows_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("kind");
    QTest::newRow("gain") << "VdbBtn" << static_cast<int>(GraphKind::Gain);
    QTest::newRow("phase") << "PhiBtn" << static_cast<int>(GraphKind::Phase);
    QTest::newRow("delay") << "tgrBtn" << static_cast<int>(GraphKind::GroupDelay);
    QTest::newRow("time") << "htBtn" << static_cast<int>(GraphKind::TimeResponse);
  }

  void graphButtonsOpenTheirWindows() {
    QFETCH(QString, control);
    QFETCH(int, kind);
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    Raise(w, control);
    GraphWindow& graph = windows.Graphs().Window(static_cast<GraphKind>(kind));
    QVERIFY(graph.isVisible());
    graph.close();
    QVERIFY(!graph.isVisible());
    Raise(w, control);  // hidden on close, shown again: the same window
    QVERIFY(graph.isVisible());
    graph.close();
  }

  void unknownWindowIsNotOpened() {
    StartedWindow w;
    SecondaryWindows windows(w.window, w.services);
    QVERIFY(!windows.Open(static_cast<SecondaryWindow>(-1)));
  }
};

QTEST_MAIN(SecondaryWindowsTest)
#include "secondary_windows_test.moc"

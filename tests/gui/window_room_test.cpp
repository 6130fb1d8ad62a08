// The main window on a desktop: it can be resized and maximised and gives the room to the
// circuit pictures and the grids; entry fields step with the arrow keys and the wheel as
// their spin buttons do; no two mnemonics of the window clash; hidden input rows leave no
// gap; the status bar's hint and notices never run over each other.

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QWheelEvent>

#include "app/client_area.h"
#include "app/timed_notice.h"
#include "gui_test_support.h"
#include "ui/spin_button.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

const QSize kLarge(1500, 950);

QList<QRect> Places(const RegionPlaces& p) {
  QList<QRect> rects{p.speedBar, p.input,       p.information, p.frequencyResponse,
                     p.notebook, p.filterTypes, p.tabs};
  for (const QRect& b : p.buttons) rects << b;
  return rects;
}

// The mnemonic letter of a caption ("He&lp" gives L), or 0.
QChar Mnemonic(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return caption[i + 1].toUpper();
  }
  return {};
}

void Wheel(QWidget* target, int delta) {
  const QPointF at(target->width() / 2.0, target->height() / 2.0);
  QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &wheel);
}

}  // namespace

Q_DECLARE_METATYPE(Topology)

class WindowRoomTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void regionsNeitherOverlapNorLeaveTheArea_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("designed") << kDesignedClientSize;
    QTest::newRow("smaller than designed") << QSize(500, 300);
    QTest::newRow("wider") << QSize(1400, 518);
    QTest::newRow("taller") << QSize(782, 1000);
    QTest::newRow("maximised") << QSize(1916, 1000);
  }

  void regionsNeitherOverlapNorLeaveTheArea() {
    QFETCH(QSize, size);
    const QList<QRect> rects = Places(PlaceRegions(size));
    const QRect area(QPoint(0, 0), size.expandedTo(kDesignedClientSize));
    for (qsizetype i = 0; i < rects.size(); ++i) {
      QVERIFY2(area.contains(rects[i]), qPrintable(QString("region %1 outside").arg(i)));
      for (qsizetype j = i + 1; j < rects.size(); ++j) {
        QVERIFY2(!rects[i].intersects(rects[j]),
                 qPrintable(QString("regions %1 and %2 overlap").arg(i).arg(j)));
      }
    }
    // The room goes to the notebook; the tab set stays at the bottom edge.
    const RegionPlaces p = PlaceRegions(size);
    QCOMPARE(p.notebook.width() - 590, std::max(0, size.width() - 782));
    QCOMPARE(p.notebook.height() - 290, std::max(0, size.height() - 518));
    QCOMPARE(p.tabs.bottom() + 1, std::max(size.height(), 518) - 2);
  }

  void largerWindowGivesThePictureAndGridsRoom_data() {
    QTest::addColumn<Topology>("page");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("grid");  // empty: the page has none
    QTest::newRow("MFB") << Topology::Mfb << "Image1"
                         << "";
    QTest::newRow("SVF4") << Topology::Svf4 << "Image4"
                          << "";
    QTest::newRow("LC ladder") << Topology::LcLadder << "ImageLC"
                               << QString::fromUtf8(field::StringGridAlignPN);
    QTest::newRow("diplexer") << Topology::Diplexer << "ImageDiplexer"
                              << QString::fromUtf8(field::StringAlignGridDiplexTP);
  }

  void largerWindowGivesThePictureAndGridsRoom() {
    QFETCH(Topology, page);
    QFETCH(QString, picture);
    QFETCH(QString, grid);
    StartedWindow w;
    QVERIFY(w.window.maximumWidth() > 2000);
    QVERIFY(!(w.window.windowFlags() & Qt::MSWindowsFixedSizeDialogHint));
    QVERIFY(w.window.windowFlags() & Qt::WindowMaximizeButtonHint ||
            !(w.window.windowFlags() & Qt::CustomizeWindowHint));
    w.window.SelectTopology(page);
    QApplication::processEvents();
    auto* diagram = w.Get<QLabel>(picture);
    const QSize pictureBefore = diagram->pixmap().deviceIndependentSize().toSize();
    const QSize gridBefore = grid.isEmpty() ? QSize() : w.Get<QWidget>(grid)->size();

    w.window.resize(kLarge);
    QApplication::processEvents();
    const QSize pictureAfter = diagram->pixmap().deviceIndependentSize().toSize();
    QVERIFY2(
        pictureAfter.width() > pictureBefore.width() * 5 / 4,
        qPrintable(
            QString("picture %1 -> %2 wide").arg(pictureBefore.width()).arg(pictureAfter.width())));
    QCOMPARE(pictureAfter, diagram->contentsRect().size());
    if (!grid.isEmpty()) QVERIFY(w.Get<QWidget>(grid)->width() > gridBefore.width() * 5 / 4);

    // Back to the designed size: the designed picture again.
    w.window.resize(w.window.minimumSize());
    QApplication::processEvents();
    QCOMPARE(diagram->pixmap().deviceIndependentSize().toSize(), pictureBefore);
  }

  void entriesStepWithKeysAndWheel_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("spin");
    QTest::addColumn<int>("key");    // 0: the wheel
    QTest::addColumn<int>("wheel");  // eighths of a degree
    QTest::addColumn<bool>("up");
    QTest::newRow("fc, Up") << "fgEingabe"
                            << "SpinButtonfg" << int(Qt::Key_Up) << 0 << true;
    QTest::newRow("fc, Down") << "fgEingabe"
                              << "SpinButtonfg" << int(Qt::Key_Down) << 0 << false;
    QTest::newRow("Q, wheel away") << "QEingabe"
                                   << "SpinButtonQ" << 0 << 120 << true;
    QTest::newRow("Zin, wheel towards") << "ZinEingabe"
                                        << "SpinButtonZin" << 0 << -120 << false;
    QTest::newRow("gain, half a notch") << "VuEingabe"
                                        << "SpinButtonVu" << 0 << 60 << true;
  }

  void entriesStepWithKeysAndWheel() {
    QFETCH(QString, entry);
    QFETCH(QString, spin);
    QFETCH(int, key);
    QFETCH(int, wheel);
    QFETCH(bool, up);
    StartedWindow byButton;
    const QString before = byButton.Field(entry.toStdString())->text();
    auto* button = byButton.Get<SpinButton>(spin);
    if (up) {
      emit button->up();
    } else {
      emit button->down();
    }
    const QString stepped = byButton.Field(entry.toStdString())->text();
    QVERIFY(stepped != before);

    StartedWindow byEntry;
    QLineEdit* field = byEntry.Field(entry.toStdString());
    field->setFocus();
    if (key != 0) {
      QTest::keyClick(field, static_cast<Qt::Key>(key));
    } else {
      Wheel(field, wheel);
      if (std::abs(wheel) < 120) {
        QCOMPARE(field->text(), before);  // half a notch: not yet a step
        Wheel(field, wheel);
      }
    }
    QCOMPARE(field->text(), stepped);
  }

  void mnemonicsDoNotClash() {
    StartedWindow w;
    QMap<QChar, QString> taken;
    QStringList clashes;
    const auto take = [&](const QString& owner, const QString& caption) {
      const QChar letter = Mnemonic(caption);
      if (letter.isNull()) return;
      if (taken.contains(letter)) clashes << taken[letter] + " and " + owner;
      taken[letter] = owner;
    };
    for (QAction* menu : w.window.menuBar()->actions()) take("menu " + menu->text(), menu->text());
    for (QPushButton* button : w.window.centralWidget()->findChildren<QPushButton*>()) {
      if (button->isVisibleTo(&w.window)) take("button " + button->text(), button->text());
    }
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(", ")));
  }

  void hiddenInputRowsLeaveNoGap_data() {
    QTest::addColumn<Topology>("page");
    for (Topology t : {Topology::Mfb, Topology::Fliege, Topology::LcLadder, Topology::Diplexer}) {
      QTest::newRow(qPrintable(QString::number(static_cast<int>(t)))) << t;
    }
  }

  void hiddenInputRowsLeaveNoGap() {
    QFETCH(Topology, page);
    StartedWindow w;
    w.window.SelectTopology(page);
    QApplication::processEvents();
    auto* group = w.Get<QFrame>("InputGroup");
    auto* layout = qobject_cast<QGridLayout*>(group->layout());
    QVERIFY(layout);
    QList<int> tops;  // of the visible entry fields, row by row
    for (int row = 1; row < layout->rowCount(); ++row) {
      QLayoutItem* item = layout->itemAtPosition(row, 2);
      if (item && item->widget() && item->widget()->isVisibleTo(group)) {
        tops << item->widget()->y();
      }
    }
    QVERIFY(tops.size() >= 2);
    for (qsizetype i = 2; i < tops.size(); ++i) {
      QVERIFY2(std::abs((tops[i] - tops[i - 1]) - (tops[1] - tops[0])) <= 1,
               qPrintable(QString("rows at %1").arg([&] {
                 QStringList t;
                 for (int y : tops) t << QString::number(y);
                 return t.join(' ');
               }())));
    }
  }

  void statusBarHintAndNoticesNeverOverlap_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("programNotice");
    QTest::addColumn<bool>("designNotice");
    for (const QSize& size : {QSize(), kLarge}) {
      const QString at = size.isValid() ? "large" : "designed";
      QTest::newRow(qPrintable(at + ", both")) << size << true << true;
      QTest::newRow(qPrintable(at + ", program")) << size << true << false;
      QTest::newRow(qPrintable(at + ", design")) << size << false << true;
    }
  }

  void statusBarHintAndNoticesNeverOverlap() {
    QFETCH(QSize, size);
    QFETCH(bool, programNotice);
    QFETCH(bool, designNotice);
    StartedWindow w;
    if (size.isValid()) w.window.resize(size);
    const QString longText =
        QString("A notice long enough to fill the whole status bar. ").repeated(8);
    QStatusBar* bar = w.window.statusBar();
    bar->showMessage(longText);
    if (programNotice) w.Get<TimedNotice>("ProgramNotice")->Show(longText, 60000);
    if (designNotice) w.window.Session().onNotice(longText.toStdString());
    QApplication::processEvents();

    QList<QRect> shown;
    for (const char* name : {"ProgramNotice", "NoticeLabel"}) {
      auto* notice = w.Get<QLabel>(name);
      if (!notice->isVisible()) continue;
      QVERIFY2(bar->rect().contains(notice->geometry()), name);
      QVERIFY2(notice->x() >= bar->width() / 3 - 1, name);  // the hint keeps a third
      QVERIFY(notice->fontMetrics().horizontalAdvance(notice->text()) <=
              notice->contentsRect().width());
      shown << notice->geometry();
    }
    QCOMPARE(shown.size(), int(programNotice) + int(designNotice));
    if (shown.size() == 2) QVERIFY(!shown[0].intersects(shown[1]));
  }
};

QTEST_MAIN(WindowRoomTest)
#include "window_room_test.moc"

// The windows on a screen at twice the pixel density (QT_SCALE_FACTOR=2): every picture and
// glyph has the screen's pixels, where a pixmap of the logical size would be enlarged and
// come out blurred.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include "graph_test_support.h"
#include "gui_test_support.h"
#include "ui/about_box.h"
#include "ui/glyphs.h"
#include "ui/splash_screen.h"

using namespace morvane;
using namespace morvane::gui;
using namespace morvane::gui::test;

namespace {

constexpr qreal kRatio = 2.0;

// Names the pictures of `window`'s labels that are not drawn at the screen's pixel ratio.
QStringList BlurredPictures(const QWidget& window) {
  QStringList blurred;
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    const QPixmap picture = label->pixmap();
    if (picture.isNull()) continue;
    if (picture.devicePixelRatio() != kRatio) {
      blurred << QString("%1 (%2, ratio %3)")
                     .arg(label->objectName(), label->text())
                     .arg(picture.devicePixelRatio());
    }
  }
  return blurred;
}

// Names the buttons of `window` whose icon, enabled or not, lacks the pixels of the screen.
QStringList BlurredGlyphs(const QWidget& window) {
  QStringList blurred;
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (button->icon().isNull()) continue;
    const QSize size = button->iconSize();
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
      // An icon with no pixmap big enough gives a smaller one at ratio 1, to be enlarged.
      const QPixmap glyph = button->icon().pixmap(size, kRatio, mode);
      if (glyph.devicePixelRatio() != kRatio) {
        blurred << QString("%1 (%2x%3 at ratio %4, mode %5)")
                       .arg(button->objectName())
                       .arg(glyph.width())
                       .arg(glyph.height())
                       .arg(glyph.devicePixelRatio())
                       .arg(int(mode));
      }
    }
  }
  return blurred;
}

}  // namespace

class HighDpiTest : public QObject {
  Q_OBJECT

 private slots:
  void screenIsScaled() { QCOMPARE(qApp->devicePixelRatio(), kRatio); }

  void mainWindowPicturesHaveTheScreensPixels() {
    StartedWindow started;
    const QStringList blurred = BlurredPictures(started.window);
    QVERIFY2(blurred.isEmpty(), qPrintable(blurred.join(", ")));
  }

  void mainWindowGlyphsHaveTheScreensPixels() {
    StartedWindow started;
    const QStringList blurred = BlurredGlyphs(started.window);
    QVERIFY2(blurred.isEmpty(), qPrintable(blurred.join(", ")));
  }

  void splashAndAboutIconsHaveTheScreensPixels() {
    SplashScreen splash;
    AboutBox about;
    const QStringList blurred = BlurredPictures(splash) + BlurredPictures(about);
    QVERIFY2(blurred.isEmpty(), qPrintable(blurred.join(", ")));
  }

  // The graph's bitmap has the screen's pixels and the picture fills it: the axes drawn
  // for the window's logical size end near the bitmap's far edges, not at its middle.
  void graphWindowsHaveTheScreensPixels() {
    GraphFixture fixture;
    for (GraphKind kind :
         {GraphKind::Gain, GraphKind::Phase, GraphKind::GroupDelay, GraphKind::TimeResponse}) {
      GraphWindow& window = fixture.Show(kind);
      window.RefillAndDraw();
      const QImage& bitmap = window.Picture();
      QCOMPARE(bitmap.devicePixelRatio(), kRatio);
      const QSizeF logical = bitmap.deviceIndependentSize();
      QVERIFY(logical.width() > 100);
      QCOMPARE(QSizeF(bitmap.size()), logical * kRatio);
      int rightmostInk = -1;
      for (int x = 0; x < bitmap.width(); ++x) {
        for (int y = 0; y < bitmap.height(); ++y) {
          if (bitmap.pixel(x, y) != qRgb(255, 255, 255)) rightmostInk = x;
        }
      }
      QVERIFY2(rightmostInk > bitmap.width() * 3 / 4, qPrintable(QString::number(rightmostInk)));
      const QStringList blurred = BlurredGlyphs(window);
      QVERIFY2(blurred.isEmpty(), qPrintable(blurred.join(", ")));
    }
  }

  // A painted glyph has the pixels of any ratio, and its drawing scales with them: the left
  // half stays the left half.
  void paintedIconFollowsAnyRatio() {
    const QIcon icon =
        PaintedIcon({20, 10}, [](QPainter& p) { p.fillRect(0, 0, 10, 10, Qt::black); });
    for (qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
      const QPixmap pixmap = icon.pixmap(QSize(20, 10), ratio);
      QCOMPARE(pixmap.devicePixelRatio(), ratio);
      const QImage image = pixmap.toImage();
      QCOMPARE(image.size(), (QSizeF(20, 10) * ratio).toSize());
      const int half = image.width() / 2;
      QCOMPARE(image.pixelColor(half - 1, image.height() - 1).alpha(), 255);
      QCOMPARE(image.pixelColor(half + 1, 0).alpha(), 0);
    }
  }

  // The window icon comes in the sizes of the desktop's icon theme, so neither a title bar
  // nor a task switcher has to enlarge it.
  void programIconHasTheThemeSizes() {
    const QIcon icon = ProgramIcon();
    for (int size : {16, 32, 48, 64, 128, 256}) {
      QVERIFY2(icon.availableSizes().contains(QSize(size, size)),
               qPrintable(QString::number(size)));
    }
    const QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage();
    QCOMPARE(small.size(), QSize(16, 16));
    QVERIFY(small.hasAlphaChannel());
    QCOMPARE(small.pixelColor(0, 0).alpha(), 0);  // the rounded corner lets the desktop through
    QCOMPARE(small.pixelColor(8, 8).alpha(), 255);
  }
};

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", QByteArray::number(kRatio));
  QApplication app(argc, argv);
  HighDpiTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "high_dpi_test.moc"

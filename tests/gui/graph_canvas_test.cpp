// The QPainter canvas keeps the promises the plot engine draws by: end points included,
// rectangles up to their far corner, outlines one pixel wide, texts on the brush colour,
// turned texts running upwards right of their anchor.

#include <QImage>
#include <QTest>
#include <algorithm>

#include "graphs/qpainter_canvas.h"

using morvane::Colour;
using morvane::kBlack;
using morvane::kBlue;
using morvane::kRed;
using morvane::kWhite;
using morvane::PenStyle;
using morvane::render::QPainterCanvas;

namespace {

constexpr Colour kYellow{255, 255, 0};

QImage WhiteImage(int width = 60, int height = 40) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QColor At(const QImage& image, int x, int y) {
  return image.pixelColor(x, y);
}

// The smallest rectangle holding every pixel that is not white.
QRect Inked(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

}  // namespace

class GraphCanvasTest : public QObject {
  Q_OBJECT

 private slots:
  void lineIncludesBothEnds_data() {
    QTest::addColumn<QLine>("line");
    QTest::newRow("rightwards") << QLine(5, 5, 20, 5);
    QTest::newRow("leftwards") << QLine(20, 5, 5, 5);
    QTest::newRow("downwards") << QLine(7, 3, 7, 30);
    QTest::newRow("upwards") << QLine(7, 30, 7, 3);
    QTest::newRow("diagonal") << QLine(2, 2, 12, 12);
    QTest::newRow("one pixel") << QLine(9, 9, 9, 9);
  }

  void lineIncludesBothEnds() {
    QFETCH(QLine, line);
    QImage image = WhiteImage();
    {
      QPainterCanvas canvas(image);
      canvas.SetPen({kRed, PenStyle::Solid});
      canvas.Line(line.x1(), line.y1(), line.x2(), line.y2());
    }
    QCOMPARE(At(image, line.x1(), line.y1()), QColor(Qt::red));
    QCOMPARE(At(image, line.x2(), line.y2()), QColor(Qt::red));
    // And nothing beyond them.
    QCOMPARE(Inked(image),
             QRect(QPoint(std::min(line.x1(), line.x2()), std::min(line.y1(), line.y2())),
                   QPoint(std::max(line.x1(), line.x2()), std::max(line.y1(), line.y2()))));
  }

  void fillRectCoversUpToTheFarCorner_data() {
    QTest::addColumn<QRect>("corners");  // x0, y0 as topLeft, x1, y1 as the size fields
    QTest::newRow("top-left first") << QRect(3, 4, 10, 9);
    QTest::newRow("bottom-right first") << QRect(10, 9, 3, 4);
    QTest::newRow("mixed") << QRect(10, 4, 3, 9);
  }

  void fillRectCoversUpToTheFarCorner() {
    QFETCH(QRect, corners);
    QImage image = WhiteImage();
    {
      QPainterCanvas canvas(image);
      canvas.SetBrushColour(kBlue);
      canvas.FillRect(corners.x(), corners.y(), corners.width(), corners.height());
    }
    // Corners (3, 4) and (10, 9) in whatever order: columns 3..9, rows 4..8.
    QCOMPARE(Inked(image), QRect(QPoint(3, 4), QPoint(9, 8)));
    QCOMPARE(At(image, 3, 4), QColor(Qt::blue));
  }

  void rectangleIsOutlinedWithPenAndFilledWithBrush() {
    QImage image = WhiteImage();
    {
      QPainterCanvas canvas(image);
      canvas.SetPen({kRed, PenStyle::Solid});
      canvas.SetBrushColour(kYellow);
      canvas.Rectangle(20, 10, 10, 20);
    }
    QCOMPARE(Inked(image), QRect(QPoint(10, 10), QPoint(19, 19)));
    QCOMPARE(At(image, 10, 10), QColor(Qt::red));
    QCOMPARE(At(image, 19, 19), QColor(Qt::red));
    QCOMPARE(At(image, 15, 15), QColor(Qt::yellow));
  }

  void emptyRectanglesDrawNothing() {
    QImage image = WhiteImage();
    {
      QPainterCanvas canvas(image);
      canvas.SetBrushColour(kBlack);
      canvas.Rectangle(10, 10, 10, 30);  // a bar of zero height above its axis
      canvas.FillRect(5, 5, 30, 5);
      canvas.Ellipse(5, 5, 5, 5);
    }
    QCOMPARE(Inked(image), QRect());
  }

  void dottedLineLeavesGaps() {
    QImage image = WhiteImage();
    {
      QPainterCanvas canvas(image);
      canvas.SetPen({kBlack, PenStyle::Dotted});
      canvas.Line(0, 5, 40, 5);
    }
    int inked = 0;
    for (int x = 0; x < 40; ++x) inked += At(image, x, 5) == QColor(Qt::black);
    QVERIFY2(inked >= 10 && inked <= 25, qPrintable(QString::number(inked)));
  }

  void textStandsOnTheBrushAndRestoresThePen() {
    QImage image = WhiteImage(120, 40);
    morvane::TextSize size;
    {
      QPainterCanvas canvas(image);
      canvas.SetPen({kRed, PenStyle::Solid});
      canvas.SetBrushColour(kYellow);
      canvas.SetFontColour(kBlue);
      canvas.Text(10, 5, "-3dB");
      canvas.Line(0, 35, 5, 35);
      size = canvas.TextExtent("-3dB");
    }
    const QRect box(QPoint(10, 5), QSize(size.width, size.height));
    QCOMPARE(Inked(image), box | QRect(0, 35, 6, 1));
    QCOMPARE(At(image, 10, 5), QColor(Qt::yellow));
    QCOMPARE(At(image, 3, 35), QColor(Qt::red));
    bool glyphInk = false;
    for (int y = box.top(); y <= box.bottom(); ++y) {
      for (int x = box.left(); x <= box.right(); ++x)
        glyphInk |= At(image, x, y).blue() > 200 && At(image, x, y).red() < 100;
    }
    QVERIFY(glyphInk);
  }

  void turnedTextRunsUpwardsRightOfItsAnchor() {
    QImage image = WhiteImage(60, 120);
    morvane::TextSize size;
    {
      QPainterCanvas canvas(image);
      canvas.SetBrushColour(kWhite);
      canvas.SetFontColour(kBlack);
      canvas.SetFontAngle(900);
      canvas.Text(2, 100, "V in dB");
      size = canvas.TextExtent("V in dB");
    }
    const QRect inked = Inked(image);
    QVERIFY(inked.left() >= 2);
    QVERIFY(inked.right() < 2 + size.height);
    QVERIFY(inked.bottom() <= 100);
    QVERIFY(inked.top() >= 100 - size.width);
    // Taller than wide: it really runs upwards.
    QVERIFY(inked.height() > 2 * inked.width());
  }
};

QTEST_MAIN(GraphCanvasTest)
#include "graph_canvas_test.moc"

// Renders the program icon's SVG into square PNGs for the icon theme and the window icon, at
// build time, so the SVG stays the only drawing of the icon.
//
// usage: render_icon SVG OUTDIR SIZE...   writes OUTDIR/morvane-SIZE.png for every SIZE

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char** argv) {
  QTextStream err(stderr);
  if (argc < 4) {
    err << "usage: render_icon SVG OUTDIR SIZE...\n";
    return 2;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    err << "render_icon: cannot read " << argv[1] << "\n";
    return 1;
  }
  const QDir out(QString::fromLocal8Bit(argv[2]));
  if (!out.mkpath(".")) {
    err << "render_icon: cannot make " << argv[2] << "\n";
    return 1;
  }
  for (int i = 3; i < argc; ++i) {
    bool number = false;
    const int size = QString::fromLatin1(argv[i]).toInt(&number);
    if (!number || size < 1 || size > 1024) {
      err << "render_icon: bad size " << argv[i] << "\n";
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
      renderer.render(&painter);
    }
    const QString file = out.filePath(QString("morvane-%1.png").arg(size));
    if (!image.save(file, "PNG")) {
      err << "render_icon: cannot write " << file << "\n";
      return 1;
    }
  }
  return 0;
}

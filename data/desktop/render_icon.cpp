// Renders the program's emblem (an SVG file) to a square PNG of the given
// size: render_icon IN.svg OUT.png SIZE. Run at build time, so the bitmap
// icon never disagrees with the drawing.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: render_icon IN.svg OUT.png SIZE\n");
    return 2;
  }
  const int size = QString::fromLocal8Bit(argv[3]).toInt();
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid() || size <= 0 || size > 1024) {
    std::fprintf(stderr, "render_icon: cannot render %s at %s pixels\n", argv[1], argv[3]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "render_icon: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}

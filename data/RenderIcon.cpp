// Renders the program's SVG icon into a square PNG at build time:
//   vintaler-render-icon IN.svg OUT.png SIZE
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s IN.svg OUT.png SIZE\n", argv[0]);
    return 2;
  }
  // No display is needed or wanted at build time.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString in = QString::fromLocal8Bit(argv[1]);
  const QString out = QString::fromLocal8Bit(argv[2]);
  bool ok = false;
  const int size = QString::fromLocal8Bit(argv[3]).toInt(&ok);
  if (!ok || size <= 0) {
    std::fprintf(stderr, "%s: bad size '%s'\n", argv[0], argv[3]);
    return 2;
  }
  QSvgRenderer svg(in);
  if (!svg.isValid()) {
    std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  svg.render(&painter);
  painter.end();
  if (!image.save(out, "PNG")) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return 1;
  }
  return 0;
}

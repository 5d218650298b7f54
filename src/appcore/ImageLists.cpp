#include "ImageLists.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The icons live in a static library: their resource must be registered by
// hand, outside any namespace.
static void registerIconResource() { Q_INIT_RESOURCE(icons); }

namespace vintaler {

namespace {

constexpr int kSizes[] = {16, 24, 32};

QString resourceOf(int index) {
  static const bool registered = (registerIconResource(), true);
  (void)registered;
  return QStringLiteral(":/icons/%1.svg").arg(index, 2, 10, QLatin1Char('0'));
}

QImage render(int index, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QSvgRenderer renderer(resourceOf(index));
  QPainter painter(&image);
  renderer.render(&painter);
  return image;
}

QImage Grey(QImage image) {
  image = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int g = qGray(line[x]);
      line[x] = qRgba(g, g, g, qAlpha(line[x]));
    }
  }
  return image;
}

bool Valid(int index) { return index >= 0 && index < kImageCount; }

QIcon Build(int index, bool grey) {
  QIcon icon;
  for (int size : kSizes) {
    const QImage image = render(index, size);
    icon.addPixmap(QPixmap::fromImage(grey ? Grey(image) : image));
  }
  return icon;
}

const QIcon& Cached(int index, bool grey) {
  static QHash<int, QIcon> cache[2];
  QHash<int, QIcon>& list = cache[grey ? 0 : 1];
  auto it = list.find(index);
  if (it == list.end()) it = list.insert(index, Build(index, grey));
  return *it;
}

}  // namespace

QIcon ImageList1(int index) { return Valid(index) ? Cached(index, true) : QIcon(); }

QIcon ImageList2(int index) { return Valid(index) ? Cached(index, false) : QIcon(); }

QIcon toolBarIcon(int index) {
  if (!Valid(index)) return {};
  QIcon icon;
  for (int size : kSizes) {
    const QImage colour = render(index, size);
    icon.addPixmap(QPixmap::fromImage(Grey(colour)), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(colour), QIcon::Active);
  }
  return icon;
}

}  // namespace vintaler

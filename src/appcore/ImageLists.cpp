#include "ImageLists.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <array>
#include <iterator>

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

// The icon's picture at each size, from one reading of its SVG: every kind
// of icon is made from the same pictures.
const std::array<QImage, std::size(kSizes)>& rendered(int index) {
  static QHash<int, std::array<QImage, std::size(kSizes)>> cache;
  auto it = cache.find(index);
  if (it != cache.end()) return *it;
  QSvgRenderer renderer(resourceOf(index));
  std::array<QImage, std::size(kSizes)> images;
  for (std::size_t i = 0; i < images.size(); ++i) {
    images[i] = QImage(kSizes[i], kSizes[i], QImage::Format_ARGB32_Premultiplied);
    images[i].fill(Qt::transparent);
    QPainter painter(&images[i]);
    renderer.render(&painter);
  }
  return *cache.insert(index, images);
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

enum class Kind { Grey, Colour, ToolBar };

QIcon Build(int index, Kind kind) {
  QIcon icon;
  for (const QImage& colour : rendered(index)) {
    if (kind != Kind::Colour) icon.addPixmap(QPixmap::fromImage(Grey(colour)), QIcon::Normal);
    if (kind != Kind::Grey)
      icon.addPixmap(QPixmap::fromImage(colour), kind == Kind::ToolBar ? QIcon::Active : QIcon::Normal);
  }
  return icon;
}

// Every icon is rendered from its SVG once for the program: every window,
// and every button that takes its icon again, shares it.
const QIcon& Cached(int index, Kind kind) {
  static QHash<int, QIcon> cache[3];
  QHash<int, QIcon>& list = cache[static_cast<int>(kind)];
  auto it = list.find(index);
  if (it == list.end()) it = list.insert(index, Build(index, kind));
  return *it;
}

}  // namespace

QIcon ImageList1(int index) { return Valid(index) ? Cached(index, Kind::Grey) : QIcon(); }

QIcon ImageList2(int index) { return Valid(index) ? Cached(index, Kind::Colour) : QIcon(); }

QIcon toolBarIcon(int index) { return Valid(index) ? Cached(index, Kind::ToolBar) : QIcon(); }

}  // namespace vintaler

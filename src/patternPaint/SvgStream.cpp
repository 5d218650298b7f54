#include "SvgStream.h"

#include <QBuffer>
#include <QIODevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QSvgGenerator>

namespace vintaler::paint {

namespace {

// What a generator writes after the body when its painting ends: the last
// state's group, the defaults' group and the document closed.
constexpr char kClosing[] = "</g>\n</g>\n</svg>\n";
constexpr qsizetype kClosingSize = sizeof kClosing - 1;

// Points painted into one part before it is written out.
constexpr long kPartPoints = 20000;

// The painter hands its state to an engine through a member only it may set;
// the generator's engine gets the state of the painter in front of it.
struct StateAccess : QPaintEngine {
  static void set(QPaintEngine& engine, QPaintEngineState* s) { engine.*(&StateAccess::state) = s; }
};

// A generator's engine (its own accessor is protected; the device's is not).
QPaintEngine& engineOf(QSvgGenerator& generator) { return *static_cast<QPaintDevice&>(generator).paintEngine(); }

QPaintEngine::PaintEngineFeatures svgFeatures() {
  QSvgGenerator probe;
  QPaintEngine::PaintEngineFeatures features;
  for (int bit = 0; bit < 32; ++bit) {
    const auto feature = static_cast<QPaintEngine::PaintEngineFeature>(1u << bit);
    if (engineOf(probe).hasFeature(feature)) features |= feature;
  }
  return features;
}

}  // namespace

class SvgStreamEngine final : public QPaintEngine {
 public:
  SvgStreamEngine(QIODevice& out, std::function<void(QSvgGenerator&)> setup)
      : QPaintEngine(svgFeatures()), Out(out), Setup(std::move(setup)) {}

  bool begin(QPaintDevice*) override {
    open(false);
    return true;
  }
  bool end() override {
    close(true);
    return true;
  }
  Type type() const override { return QPaintEngine::SVG; }

  void updateState(const QPaintEngineState& s) override { inner().updateState(s); }
  void drawRects(const QRect* r, int n) override { inner().drawRects(r, n), drawn(4L * n); }
  void drawRects(const QRectF* r, int n) override { inner().drawRects(r, n), drawn(4L * n); }
  void drawLines(const QLine* l, int n) override { inner().drawLines(l, n), drawn(2L * n); }
  void drawLines(const QLineF* l, int n) override { inner().drawLines(l, n), drawn(2L * n); }
  void drawEllipse(const QRectF& r) override { inner().drawEllipse(r), drawn(4); }
  void drawEllipse(const QRect& r) override { inner().drawEllipse(r), drawn(4); }
  void drawPath(const QPainterPath& p) override { inner().drawPath(p), drawn(p.elementCount()); }
  void drawPoints(const QPointF* p, int n) override { inner().drawPoints(p, n), drawn(n); }
  void drawPoints(const QPoint* p, int n) override { inner().drawPoints(p, n), drawn(n); }
  void drawPolygon(const QPointF* p, int n, PolygonDrawMode m) override { inner().drawPolygon(p, n, m), drawn(n); }
  void drawPolygon(const QPoint* p, int n, PolygonDrawMode m) override { inner().drawPolygon(p, n, m), drawn(n); }
  void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override {
    inner().drawPixmap(r, pm, sr), drawn(4);
  }
  void drawTextItem(const QPointF& p, const QTextItem& t) override { inner().drawTextItem(p, t), drawn(8); }
  void drawTiledPixmap(const QRectF& r, const QPixmap& pm, const QPointF& s) override {
    inner().drawTiledPixmap(r, pm, s), drawn(4);
  }
  void drawImage(const QRectF& r, const QImage& i, const QRectF& sr, Qt::ImageConversionFlags f) override {
    inner().drawImage(r, i, sr, f), drawn(4);
  }

 private:
  struct Part {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    QSvgGenerator generator;
  };

  std::unique_ptr<Part> newPart() {
    auto part = std::make_unique<Part>();
    Setup(part->generator);
    part->generator.setOutputDevice(&part->buffer);
    QPaintEngine& engine = engineOf(part->generator);
    StateAccess::set(engine, state);
    engine.setActive(true);
    engine.begin(&part->generator);
    return part;
  }

  // A part's generator, given the painter's state as it is now.
  QPaintEngine& inner() {
    QPaintEngine& engine = engineOf(Current->generator);
    StateAccess::set(engine, state);
    return engine;
  }

  // A generator for the next part. After the first, it opens at once the
  // group of the state the painter is in: the whole drawing's group goes on
  // there, so the part's own opening (and its header) is not written.
  void open(bool continuing) {
    Current = newPart();
    Skip = 0;
    if (!continuing) return;
    inner().updateState(*state);
    std::unique_ptr<Part> opening = newPart();
    engineOf(opening->generator).updateState(*state);
    finish(*opening);
    Skip = opening->bytes.size() - kClosingSize;
  }

  static void finish(Part& part) {
    QPaintEngine& engine = engineOf(part.generator);
    engine.end();
    engine.setActive(false);
  }

  void close(bool last) {
    finish(*Current);
    const QByteArray& bytes = Current->bytes;
    Out.write(bytes.constData() + Skip, bytes.size() - Skip - (last ? 0 : kClosingSize));
    Current.reset();
  }

  void drawn(long points) {
    Points += points;
    if (Points < kPartPoints) return;
    Points = 0;
    close(false);
    open(true);
  }

  QIODevice& Out;
  std::function<void(QSvgGenerator&)> Setup;
  std::unique_ptr<Part> Current;
  qsizetype Skip = 0;  // bytes of the current part's start already written
  long Points = 0;
};

SvgStream::SvgStream(QIODevice& out, std::function<void(QSvgGenerator&)> setup)
    : Settings(std::make_unique<QSvgGenerator>()) {
  setup(*Settings);
  Engine = std::make_unique<SvgStreamEngine>(out, std::move(setup));
}

SvgStream::~SvgStream() = default;

QPaintEngine* SvgStream::paintEngine() const { return Engine.get(); }

int SvgStream::metric(PaintDeviceMetric m) const {
  const QSvgGenerator& s = *Settings;
  switch (m) {
    case PdmWidth: return s.width();
    case PdmHeight: return s.height();
    case PdmWidthMM: return s.widthMM();
    case PdmHeightMM: return s.heightMM();
    case PdmNumColors: return s.colorCount();
    case PdmDepth: return s.depth();
    case PdmDpiX: return s.logicalDpiX();
    case PdmDpiY: return s.logicalDpiY();
    case PdmPhysicalDpiX: return s.physicalDpiX();
    case PdmPhysicalDpiY: return s.physicalDpiY();
    default: return QPaintDevice::metric(m);
  }
}

}  // namespace vintaler::paint

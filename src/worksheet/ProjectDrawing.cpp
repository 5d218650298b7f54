#include "ProjectDrawing.h"

#include <QRect>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <exception>
#include <future>
#include <memory>
#include <system_error>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishSurface.h"
#include "fishApi/shop/ShopFigures.h"
#include "fishApi/texts/FiguresText.h"
#include "fishApi/texts/FishTexts.h"
#include "fishApi/view/FishDraw.h"
#include "fishApi/view/FishView.h"
#include "xPaintBox/TxPaintBox.h"

namespace vintaler {

namespace {

// The bits of one field: of an Extended its 80 significant bits, not the
// storage that pads it to 16 bytes.
template <typename T>
void appendBits(std::string& key, const T& value) {
  static_assert(std::is_trivially_copyable_v<T> && !std::is_class_v<T>);
  constexpr std::size_t kBytes = std::is_same_v<T, fish::Extended> ? 10 : sizeof(T);
  key.append(reinterpret_cast<const char*>(&value), kBytes);
}

void appendBits(std::string& key, const fish::TPoint3D& p) {
  for (const fish::Extended* v : {&p.X, &p.Y, &p.Z}) appendBits(key, *v);
}

// Everything a text depends on: the records, the plate and the separator.
std::string textKey(const fish::TSystemParams& sp, const fish::TProParams& pro, const fish::TPlateParams& plate,
                    const std::string& decimalSeparator) {
  return recordsKey(sp, pro, plate) + decimalSeparator;
}

// A page's text, one line after another into one UTF-8 string; a failed
// page ends where the computation failed, after an empty line, with the
// reason.
class PageText {
 public:
  explicit PageText(qsizetype reserved = 0) { text_.reserve(reserved); }
  void line(std::string_view line) {
    if (!first_) text_ += '\n';
    first_ = false;
    text_.append(line.data(), static_cast<qsizetype>(line.size()));
  }
  QByteArray finish(const std::string* failure) {
    if (failure) {
      line({});
      line(*failure);
    }
    text_.squeeze();
    return std::move(text_);
  }

 private:
  QByteArray text_;
  bool first_ = true;
};

// The page's lines, each appended and then freed: the page is held once
// and a little more at most, not twice.
constexpr qsizetype kTrimmedPage = qsizetype{1} << 22;

QByteArray pageText(fish::TResultsPage&& page) {
  std::string failure;
  if (page.Error) failure = page.failureMessage();
  qsizetype size = page.Error ? static_cast<qsizetype>(failure.size()) + 1 : 0;
  for (const std::string& line : page.Lines) size += static_cast<qsizetype>(line.size()) + 1;
  PageText text(size);
  for (std::string& line : page.Lines) {
    text.line(line);
    std::string().swap(line);
  }
  page.Lines = {};
#ifdef __GLIBC__
  // A large page's lines were many small blocks, freed by now: given back to
  // the system rather than kept resident.
  if (size > kTrimmedPage) malloc_trim(0);
#endif
  return text.finish(page.Error ? &failure : nullptr);
}

// The elements of quadrant q's surface, handed to `each(k, element)` as the
// surface is walked point by point, in the same order and with the same
// values as CalcSurfQuadrant makes them.
template <typename Each>
void walkSurfElements(const fish::TSystemParams& sp, const fish::TProParams& pro, std::uint16_t q, Each&& each) {
  fish::TSurfaceWalk walk(sp, pro, q);
  walk.begin();
  const std::size_t last = walk.size() - 1;
  each(0, walk.first());
  if (last > 1) each(1, fish::TSurf2Point{walk.corner(), walk.arcPoint(1)});
  constexpr std::size_t kRun = 64;
  fish::Extended cosT[kRun], sinT[kRun];
  for (std::size_t i = 2; i < last;) {
    const std::size_t count = std::min(kRun, last - i);
    walk.arcDirections(i, count, cosT, sinT);
    for (std::size_t j = 0; j < count; ++j, ++i) {
      each(i, fish::TSurf2Point{walk.corner(), walk.arcPointFrom(cosT[j], sinT[j])});
    }
  }
  each(last, walk.last());
}

// The elements of quadrant q's development, as the engine lays them.
template <typename Each>
void walkRazvertkaElements(const fish::TSystemParams& sp, const fish::TProParams& pro, std::uint16_t q, Each&& each) {
  fish::TPoint2D min, max;
  fish::developQuadrantElements(
      sp, pro, q, [&each](std::size_t k, const fish::TRazvertka2Point& e) { each(k, e); }, min, max);
}

// The lines fish::drawSurfLines (a model) or fish::drawRazvertkaLines (a
// development) draws for a quadrant's elements 0 .. last, handed to `line`
// element by element: the element's ends joined to the one before, and the
// element itself, which a model without its grid draws only next to the ends.
template <typename Element, typename Line>
class ElementLines {
 public:
  ElementLines(std::size_t last, bool allCrossing, Line& line) : last_(last), all_(allCrossing), line_(line) {}
  void operator()(std::size_t k, const Element& e) {
    if (k > 0) {
      line_(before_.P1, e.P1);
      line_(before_.P2, e.P2);
    }
    if (all_ || k <= 1 || k + 1 >= last_) line_(e.P1, e.P2);
    before_ = e;
  }

 private:
  const std::size_t last_;
  const bool all_;
  Line& line_;
  Element before_{};
};

// The lines of quadrant q drawn by the engine, handed to `line`.
template <typename Line>
void walkSurfLines(const fish::TSystemParams& sp, const fish::TProParams& pro, std::uint16_t q, Line&& line) {
  // Elements 0 .. n + 2 (the walk refuses any other count before the first).
  const std::size_t last = static_cast<std::size_t>(pro.Divisions) + 2;
  ElementLines<fish::TSurf2Point, Line> lines(last, pro.ShowGrid != 0, line);
  walkSurfElements(sp, pro, q, lines);
}

template <typename Line>
void walkRazvertkaLines(const fish::TSystemParams& sp, const fish::TProParams& pro, std::uint16_t q, Line&& line) {
  ElementLines<fish::TRazvertka2Point, Line> lines(0, true, line);
  walkRazvertkaElements(sp, pro, q, lines);
}

}  // namespace

// A quadrant's elements in the least room that keeps every bit of what its
// lines are drawn from: the two end elements whole, the point every element
// between them shares (the corner, or its image), and of each of those its
// other point: a development's X and Y, ten bytes each; a model's arc point
// (X1 + R cos t, Y1 + R sin t at the circle's Z, the cosine and the sine
// rounded to thousandths) as its two thousandths, two bytes each, kept only
// when they give the point back to the bit. Elements that share no such
// point, or an arc point they do not give back, are not kept.
template <typename Element>
class KeptElements {
  static constexpr bool kSpace = std::is_same_v<Element, fish::TSurf2Point>;
  using Packed = std::conditional_t<kSpace, std::array<std::int16_t, 2>, std::array<unsigned char, 20>>;
  using Point = decltype(Element::P1);

 public:
  // Recording the walk of these records.
  explicit KeptElements(const fish::TSystemParams& sp) : sp_(&sp) {}
  static constexpr std::size_t kBytesPerPoint = sizeof(Packed);
  void reserve(std::size_t n) { middle_.reserve(n); }
  bool kept() const { return ok_ && count_ >= 2; }
  std::size_t bytes() const { return middle_.capacity() * sizeof(Packed); }

  void operator()(std::size_t, const Element& e) {
    if (!ok_) return;
    if (count_ == 0) {
      first_ = e;
    } else if (count_ >= 2) {
      commit(pending_);
    }
    if (count_ >= 1) pending_ = e;
    ++count_;
  }
  // After the walk: the element seen last is the closing one. The records
  // are the caller's: not held beyond the walk.
  void finish() {
    last_ = pending_;
    sp_ = nullptr;
  }

  // The elements again, for the same records.
  template <typename Each>
  void replay(const fish::TSystemParams& sp, Each& each) const {
    each(0, first_);
    std::size_t k = 1;
    Element e{};
    std::memcpy(&e.P1, &shared_, sizeof shared_);
    for (const Packed& p : middle_) {
      if constexpr (kSpace) {
        e.P2 = arcPoint(sp, p);
      } else {
        std::memcpy(&e.P2.X, p.data(), 10);
        std::memcpy(&e.P2.Y, p.data() + 10, 10);
      }
      each(k++, e);
    }
    each(k, last_);
  }

 private:
  static bool same(const fish::Extended& a, const fish::Extended& b) { return std::memcmp(&a, &b, 10) == 0; }
  static bool same(const fish::TPoint2D& a, const fish::TPoint2D& b) { return same(a.X, b.X) && same(a.Y, b.Y); }
  static bool same(const fish::TPoint3D& a, const fish::TPoint3D& b) {
    return same(a.X, b.X) && same(a.Y, b.Y) && same(a.Z, b.Z);
  }
  fish::TPoint3D arcPoint(const fish::TSystemParams& sp, const std::array<std::int16_t, 2>& p) const {
    fish::TPoint3D a;
    a.X = (static_cast<fish::Extended>(p[0]) * sp.R) * fish::kThousandth + sp.X1;
    a.Y = (static_cast<fish::Extended>(p[1]) * sp.R) * fish::kThousandth + sp.Y1;
    std::memcpy(&a.Z, &z_, 10);
    return a;
  }
  // The thousandth c with X1 + R c giving `v` back, if there is one.
  static std::optional<std::int16_t> thousandths(fish::Extended v, fish::Extended origin, fish::Extended r) {
    const fish::Extended guess = (v - origin) / r * 1000;
    if (!(guess > -1001 && guess < 1001)) return std::nullopt;
    return static_cast<std::int16_t>(std::lrint(static_cast<double>(guess)));
  }
  void commit(const Element& e) {
    if (middle_.empty()) {
      std::memcpy(&shared_, &e.P1, sizeof shared_);
      if constexpr (kSpace) std::memcpy(&z_, &e.P2.Z, 10);
    } else if (!same(e.P1, shared_)) {
      return drop();
    }
    Packed p;
    if constexpr (kSpace) {
      const auto cx = thousandths(e.P2.X, sp_->X1, sp_->R), sy = thousandths(e.P2.Y, sp_->Y1, sp_->R);
      if (!cx || !sy) return drop();
      p = {*cx, *sy};
      if (!same(arcPoint(*sp_, p), e.P2)) return drop();
    } else {
      std::memcpy(p.data(), &e.P2.X, 10);
      std::memcpy(p.data() + 10, &e.P2.Y, 10);
    }
    middle_.push_back(p);
  }
  void drop() {
    ok_ = false;
    middle_ = {};
  }

  const fish::TSystemParams* sp_;
  Element first_{}, pending_{}, last_{};
  Point shared_{};
  fish::Extended z_{};
  std::vector<Packed> middle_;
  std::size_t count_ = 0;
  bool ok_ = true;
};

struct ProjectDrawing::KeptPoints {
  std::vector<KeptElements<fish::TSurf2Point>> surf;
  std::vector<KeptElements<fish::TRazvertka2Point>> razv;
};

namespace {

// One quadrant's lines in pixels of a mapping, less those that can set no
// new pixel: a repeat of one of the last lines kept, and a line wholly off
// the view (a 1-pixel line stays between its ends). A failing projection
// ends the lines kept; the quadrant is still walked to its end, since the
// engine's own failure in it comes first.
class QuadrantPixels {
 public:
  QuadrantPixels(const fish::TViewMapping& mapping, bool oblique)
      : mapping_(mapping), oblique_(oblique),
        view_(0, 0, std::max<int>(1, mapping.Width), std::max<int>(1, mapping.Height)) {}

  void operator()(const fish::TPoint3D& a, const fish::TPoint3D& b) {
    if (!mappingFailure_) add(a, b);
  }
  void operator()(const fish::TPoint2D& a, const fish::TPoint2D& b) {
    if (!mappingFailure_) add(a, b);
  }

  // Walks the quadrant, or replays the elements a walk kept, recording
  // them if asked; an engine failure leaves no lines.
  template <typename Element>
  void walk(const fish::TSystemParams& sp, const fish::TProParams& pro, std::uint16_t q,
            KeptElements<Element>* record, const KeptElements<Element>* replay) {
    constexpr bool space = std::is_same_v<Element, fish::TSurf2Point>;
    ElementLines<Element, QuadrantPixels> drawn(static_cast<std::size_t>(pro.Divisions) + 2,
                                                !space || pro.ShowGrid != 0, *this);
    const auto each = [&](std::size_t k, const Element& e) {
      if (record) (*record)(k, e);
      drawn(k, e);
    };
    try {
      if (replay) {
        replay->replay(sp, drawn);
      } else if constexpr (space) {
        walkSurfElements(sp, pro, q, each);
      } else {
        walkRazvertkaElements(sp, pro, q, each);
      }
      if (record) record->finish();
    } catch (...) {
      failure = std::current_exception();
      lines.clear();
      lines.shrink_to_fit();
      return;
    }
    failure = mappingFailure_;
  }

  std::vector<QLine> lines;
  std::exception_ptr failure;  // thrown once the lines are drawn

 private:
  // The bits of a point's coordinates (an Extended's 80, not its padding).
  using Bits = std::array<unsigned char, 30>;
  static Bits bitsOf(const fish::TPoint3D& p) {
    Bits b;
    std::memcpy(b.data(), &p.X, 10);
    std::memcpy(b.data() + 10, &p.Y, 10);
    std::memcpy(b.data() + 20, &p.Z, 10);
    return b;
  }
  static Bits bitsOf(const fish::TPoint2D& p) {
    Bits b{};
    std::memcpy(b.data(), &p.X, 10);
    std::memcpy(b.data() + 10, &p.Y, 10);
    return b;
  }
  fish::TPixel project(const fish::TPoint3D& p) const { return mapping_.project3D(p.X, p.Y, p.Z); }
  fish::TPixel project(const fish::TPoint2D& p) const { return mapping_.project2D(p.X, p.Y); }

  // The lines share their ends: the last points mapped are looked up by
  // their bits before a point is mapped.
  template <typename Point>
  fish::TPixel pixelOf(const Point& p) {
    const Bits bits = bitsOf(p);
    for (std::size_t i = 0; i < mappedCount_; ++i) {
      if (mapped_[i].first == bits) return mapped_[i].second;
    }
    const fish::TPixel pixel = project(p);
    mapped_[mappedNext_] = {bits, pixel};
    mappedNext_ = (mappedNext_ + 1) % mapped_.size();
    mappedCount_ = std::min(mappedCount_ + 1, mapped_.size());
    return pixel;
  }

  template <typename Point>
  void add(const Point& a, const Point& b) {
    QLine l;
    try {
      const fish::TPixel from = pixelOf(a), to = pixelOf(b);
      l = QLine(from.X, from.Y, to.X, to.Y);
    } catch (const fish::EFishError&) {
      mappingFailure_ = std::current_exception();
      return;
    }
    if (std::max(l.x1(), l.x2()) < view_.left() || std::min(l.x1(), l.x2()) > view_.right() ||
        std::max(l.y1(), l.y2()) < view_.top() || std::min(l.y1(), l.y2()) > view_.bottom())
      return;
    const auto known = recent_.begin() + static_cast<std::ptrdiff_t>(known_);
    if (std::find(recent_.begin(), known, l) != known) return;
    recent_[next_] = l;
    next_ = (next_ + 1) % recent_.size();
    known_ = std::min(known_ + 1, recent_.size());
    lines.push_back(l);
  }

  const fish::TViewMapping& mapping_;
  const bool oblique_;
  const QRect view_;
  std::array<QLine, 8> recent_{};
  std::size_t next_ = 0;   // the one replaced next
  std::size_t known_ = 0;  // lines in recent_
  std::array<std::pair<Bits, fish::TPixel>, 4> mapped_{};
  std::size_t mappedNext_ = 0;
  std::size_t mappedCount_ = 0;
  std::exception_ptr mappingFailure_;
};

// The bits of everything a picture's pixels depend on in a mapping.
void appendMapping(std::string& key, const fish::TViewMapping& m) {
  appendBits(key, m.SpaceMode);
  for (const fish::Extended* v : {&m.MinX, &m.MaxX, &m.MinY, &m.MaxY, &m.MinZ, &m.MaxZ, &m.X0, &m.Y0, &m.Z0})
    appendBits(key, *v);
  appendBits(key, m.Width);
  appendBits(key, m.Height);
}

}  // namespace

std::string recordsKey(const fish::TSystemParams& sp, const fish::TProParams& pro, const fish::TPlateParams& plate) {
  std::string key;
  // The fields themselves, not copies: a copy's unused bytes are its own.
  for (const fish::Extended* v : {&sp.A, &sp.B, &sp.L, &sp.R, &sp.X1, &sp.Y1}) appendBits(key, *v);
  appendBits(key, pro.Divisions);
  for (const fish::ByteBool q : pro.Quadrants) appendBits(key, q);
  appendBits(key, pro.ShowGrid);
  appendBits(key, pro.Reserved1);
  appendBits(key, pro.Reserved2);
  for (const fish::Extended* v : {&plate.Thickness, &plate.Density}) appendBits(key, *v);
  for (const fish::TFaces f : {plate.RectFaces, plate.RoundFaces}) appendBits(key, f);
  appendBits(key, plate.Material);
  return key;
}

void ProjectDrawing::languageChanged() {
  results_ = {};
  figures_ = {};
  accuracy_ = {};
}

void ProjectDrawing::draw(fish::TDrawSurface& surface, const fish::TSystemParams& sp, const fish::TProParams& pro,
                          bool developed, Picture& kept) {
  surface.UpdateScale();
  surface.ClearView();
  auto* const view = dynamic_cast<TxPaintBox*>(&surface);
  if (!view) {
    // Another surface (a printed page) maps the points itself.
    for (std::uint16_t q = 1; q <= 4; ++q) {
      if (!fish::quadrantSelected(pro, q)) continue;
      const auto line = [&surface](const auto& a, const auto& b) {
        if constexpr (std::is_same_v<std::decay_t<decltype(a)>, fish::TPoint3D>) {
          surface.MoveTo3D(a.X, a.Y, a.Z);
          surface.LineTo3D(b.X, b.Y, b.Z);
        } else {
          surface.MoveTo2D(a.X, a.Y);
          surface.LineTo2D(b.X, b.Y);
        }
      };
      if (developed) {
        walkRazvertkaLines(sp, pro, q, line);
      } else {
        walkSurfLines(sp, pro, q, line);
      }
    }
    return;
  }
  const fish::TViewMapping mapping = view->mapping();
  std::string key = recordsKey(sp, pro, fish::TPlateParams{});
  appendMapping(key, mapping);
  if (kept.key == key) {
    for (const QLine& l : kept.lines) view->drawPixelLine(l.p1(), l.p2());
    return;
  }
  kept.key.clear();
  kept.lines = {};
  std::vector<std::uint16_t> todo;
  for (std::uint16_t q = 1; q <= 4; ++q) {
    if (fish::quadrantSelected(pro, q)) todo.push_back(q);
  }
  // The points of the last walk serve any mapping of the same records; a
  // walk of other records keeps its own if they fit.
  std::string pointsKey = recordsKey(sp, pro, fish::TPlateParams{});
  const KeptPoints* replay = kept.points && kept.pointsKey == pointsKey ? kept.points.get() : nullptr;
  std::shared_ptr<KeptPoints> record;
  if (!replay) {
    kept.points.reset();
    const std::uint64_t perQuadrant = pro.Divisions > 0 ? static_cast<std::uint64_t>(pro.Divisions) + 1 : 0;
    const std::size_t pointBytes = developed ? KeptElements<fish::TRazvertka2Point>::kBytesPerPoint
                                             : KeptElements<fish::TSurf2Point>::kBytesPerPoint;
    if (perQuadrant > 0 && perQuadrant * todo.size() * pointBytes <= kKeptBytes) {
      record = std::make_shared<KeptPoints>();
      if (developed) {
        record->razv.resize(todo.size(), KeptElements<fish::TRazvertka2Point>(sp));
      } else {
        record->surf.resize(todo.size(), KeptElements<fish::TSurf2Point>(sp));
      }
      for (auto& quadrant : record->surf) quadrant.reserve(perQuadrant);
      for (auto& quadrant : record->razv) quadrant.reserve(perQuadrant);
    }
  }
  std::vector<QuadrantPixels> quadrants(todo.size(), QuadrantPixels(mapping, !developed));
  const auto walk = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      if (developed) {
        quadrants[i].walk(sp, pro, todo[i], record ? &record->razv[i] : nullptr, replay ? &replay->razv[i] : nullptr);
      } else {
        quadrants[i].walk(sp, pro, todo[i], record ? &record->surf[i] : nullptr, replay ? &replay->surf[i] : nullptr);
      }
    }
  };
  // The engine keeps no state between calls, and each quadrant has lines of
  // its own: two are walked at once (kept points are mapped in one go).
  const std::size_t half = todo.size() / 2;
  std::future<void> other;
  if (!replay && pro.Divisions >= kParallelDivisions && half > 0) {
    try {
      other = std::async(std::launch::async, walk, half, todo.size());
    } catch (const std::system_error&) {
      // No thread to be had: walked one after the other.
    }
  }
  walk(0, other.valid() ? half : todo.size());
  if (other.valid()) other.get();
  if (record) {
    bool whole = true;
    std::size_t bytes = 0;
    for (const QuadrantPixels& quadrant : quadrants) whole = whole && !quadrant.failure;
    for (const auto& quadrant : record->surf) whole = whole && quadrant.kept(), bytes += quadrant.bytes();
    for (const auto& quadrant : record->razv) whole = whole && quadrant.kept(), bytes += quadrant.bytes();
    // A walk the engine or the mapping failed is walked again.
    if (whole) {
      kept.points = std::move(record);
      kept.pointsKey = std::move(pointsKey);
      kept.pointBytes = bytes;
    }
  }
  // The pixels of one opaque pen are the same in any order; the quadrants
  // are drawn in the engine's, each failure where the engine meets it.
  std::size_t total = 0;
  for (QuadrantPixels& quadrant : quadrants) {
    for (const QLine& l : quadrant.lines) view->drawPixelLine(l.p1(), l.p2());
    if (quadrant.failure) std::rethrow_exception(quadrant.failure);
    total += quadrant.lines.size();
  }
  // The segments are kept within what the points leave of the budget.
  const std::size_t pointBytes = kept.points ? kept.pointBytes : 0;
  if (total > kKeptSegments || pointBytes + total * sizeof(QLine) > kKeptBytes) return;
  kept.lines.reserve(total);
  for (QuadrantPixels& quadrant : quadrants) {
    kept.lines.insert(kept.lines.end(), quadrant.lines.begin(), quadrant.lines.end());
    quadrant.lines = {};
  }
  kept.key = std::move(key);
}

void ProjectDrawing::drawModel(fish::TDrawSurface& surface, const fish::TSystemParams& sp,
                               const fish::TProParams& pro) {
  development_.points.reset();  // kept for the page on show only
  draw(surface, sp, pro, false, model_);
}

void ProjectDrawing::drawDevelopment(fish::TDrawSurface& surface, const fish::TSystemParams& sp,
                                     const fish::TProParams& pro) {
  model_.points.reset();
  draw(surface, sp, pro, true, development_);
}

const QByteArray& ProjectDrawing::resultsText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                                              const fish::TPlateParams& plate, fish::TUnits units,
                                              const std::string& decimalSeparator) {
  std::string wanted = textKey(sp, pro, plate, decimalSeparator) + static_cast<char>(units);
  if (results_.key == wanted) return results_.text;
  // Nothing here reads fish::LastSurf or fish::LastRazvertka: the page's
  // quadrants are not left there.
  const fish::TResultsSource source(sp, pro, decimalSeparator, false, plate, nullptr, units);
  PageText text;
  source.forEachLine([&text](std::string_view line) { text.line(line); });
  const std::string failure = source.error() ? source.failureMessage() : std::string();
  results_.text = text.finish(source.error() ? &failure : nullptr);
  results_.key = std::move(wanted);
  return results_.text;
}

const QByteArray& ProjectDrawing::figuresText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                                              const fish::TPlateParams& plate, fish::TPatternKind pattern,
                                              const std::string& decimalSeparator) {
  fish::TCuttingParams cutting;
  cutting.Pattern = pattern;
  return figuresText(sp, pro, plate, cutting, decimalSeparator);
}

const QByteArray& ProjectDrawing::figuresText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                                              const fish::TPlateParams& plate, const fish::TCuttingParams& cutting,
                                              const std::string& decimalSeparator) {
  std::string wanted = textKey(sp, pro, plate, decimalSeparator) + std::string(fish::patternKey(cutting.Pattern));
  wanted += static_cast<char>(cutting.Seams);
  for (const fish::Extended* w : {&cutting.SeamFirst, &cutting.SeamSecond, &cutting.RectAllowance,
                                  &cutting.RoundAllowance})
    appendBits(wanted, *w);
  if (figures_.key != wanted) {
    figures_.text = pageText(fish::figuresPage(sp, pro, plate, cutting, decimalSeparator));
    figures_.key = std::move(wanted);
  }
  return figures_.text;
}

const QString& ProjectDrawing::accuracyWarning(const fish::TSystemParams& developed, const fish::TProParams& pro,
                                               fish::TPatternKind pattern, const std::string& decimalSeparator,
                                               fish::TUnits units) {
  std::string wanted = textKey(developed, pro, fish::TPlateParams{}, decimalSeparator) + std::string(fish::patternKey(pattern)) +
                       std::string(fish::unitsKey(units));
  if (accuracy_.key == wanted) return accuracy_.text;
  QString warning;
  try {
    const std::string text =
        pattern == fish::TPatternKind::Table
            ? fish::tableAccuracyWarning(fish::patternAccuracy(developed, pro, true, fish::accuracyLimit(units)),
                                         decimalSeparator, fish::unitWord(units))
            : fish::preciseAccuracyWarning(fish::chordAccuracy(developed, pro, fish::accuracyLimit(units)),
                                           decimalSeparator, fish::unitWord(units));
    warning = QString::fromStdString(text);
  } catch (const fish::EFishError&) {
    // The pictures and the pages say why there is no pattern.
  }
  accuracy_.text = warning;
  accuracy_.key = std::move(wanted);
  return accuracy_.text;
}

}  // namespace vintaler

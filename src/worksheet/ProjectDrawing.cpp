#include "ProjectDrawing.h"

#include <QStringList>
#include <future>
#include <system_error>
#include <type_traits>
#include <utility>
#include <vector>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishSurface.h"
#include "fishApi/shop/ShopFigures.h"
#include "fishApi/texts/FiguresText.h"
#include "fishApi/texts/FishTexts.h"
#include "fishApi/view/FishDraw.h"

namespace vintaler {

namespace {

// The array kept in `slot`, computed by `compute` the first time it is asked
// for; a computation that failed throws its exception again on every call.
// Kept only once the computation ended in its result or in the engine's own
// failure; anything else (memory running out) is tried again.
template <typename Array, typename Compute>
const Array& kept(std::optional<Array>& slot, std::exception_ptr& failure, Compute compute) {
  if (!slot && !failure) {
    try {
      slot = compute();
    } catch (const fish::EFishError&) {
      failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
  return *slot;
}

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

// The page's lines, one a line; a failed page ends where the computation
// failed, with the reason.
QString pageText(const fish::TResultsPage& page) {
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(page.Lines.size()) + 2);
  for (const std::string& line : page.Lines) lines << QString::fromStdString(line);
  if (page.Error) lines << QString() << QString::fromStdString(page.failureMessage());
  return lines.join(QLatin1Char('\n'));
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

void ProjectDrawing::keyTo(const fish::TSystemParams& sp, const fish::TProParams& pro) {
  std::string wanted = recordsKey(sp, pro, fish::TPlateParams{});
  if (key_ == wanted) return;
  key_ = std::move(wanted);
  quadrants_ = {};
}

const fish::TSurf2PointArray& ProjectDrawing::surface(const fish::TSystemParams& sp, const fish::TProParams& pro,
                                                      std::uint16_t q) {
  Quadrant& quadrant = quadrants_[q - 1U];
  return kept(quadrant.surf, quadrant.surfFailure, [&] {
    fish::TExtents3D box;
    fish::TSurf2PointArray s;
    fish::CalcSurfQuadrant(sp, pro, q, box, s);
    return s;
  });
}

// Laid flat from the kept surface, exactly as fish::developQuadrant lays it.
const fish::TRazvertka2PointArray& ProjectDrawing::development(const fish::TSystemParams& sp,
                                                               const fish::TProParams& pro, std::uint16_t q) {
  Quadrant& quadrant = quadrants_[q - 1U];
  return kept(quadrant.razvertka, quadrant.razvertkaFailure, [&] {
    const fish::TSurf2PointArray& s = surface(sp, pro, q);
    fish::TPoint2D min, max;
    fish::TRazvertka2PointArray d;
    fish::CalcRazvertkaQuadrant(s, q, sp, min, max, d);
    return d;
  });
}

void ProjectDrawing::languageChanged() {
  results_ = {};
  figures_ = {};
  accuracy_ = {};
  for (Quadrant& q : quadrants_) {
    q.surfFailure = nullptr;
    q.razvertkaFailure = nullptr;
  }
}

bool ProjectDrawing::Quadrant::lacks(bool developed) const {
  if (surfFailure) return false;
  return developed ? !razvertka && !razvertkaFailure : !surf;
}

void ProjectDrawing::prepare(const fish::TSystemParams& sp, const fish::TProParams& pro, bool allQuadrants,
                             bool developed) {
  keyTo(sp, pro);
  if (pro.Divisions < kParallelDivisions) return;
  std::vector<std::uint16_t> todo;
  for (std::uint16_t q = 1; q <= 4; ++q) {
    if ((allQuadrants || fish::quadrantSelected(pro, q)) && quadrants_[q - 1U].lacks(developed)) todo.push_back(q);
  }
  if (todo.size() < 2) return;
  // Each quadrant has a slot of its own and the engine keeps no state
  // between calls, so two quadrants can be computed at once.
  auto compute = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      try {
        if (developed) {
          development(sp, pro, todo[i]);
        } else {
          surface(sp, pro, todo[i]);
        }
      } catch (const fish::EFishError&) {
        // Kept in its slot: whoever draws the quadrant meets it in order.
      }
    }
  };
  const std::size_t half = todo.size() / 2;
  std::future<void> other;
  try {
    other = std::async(std::launch::async, compute, half, todo.size());
  } catch (const std::system_error&) {
    return;  // no thread to be had: the quadrants are computed one by one when asked for
  }
  compute(0, half);
  other.get();
}

void ProjectDrawing::drawModel(fish::TDrawSurface& surface, const fish::TSystemParams& sp,
                               const fish::TProParams& pro) {
  surface.UpdateScale();
  surface.ClearView();
  prepare(sp, pro, false, false);
  for (std::uint16_t q = 1; q <= 4; ++q) {
    if (fish::quadrantSelected(pro, q)) fish::drawSurfLines(surface, this->surface(sp, pro, q), pro.ShowGrid != 0);
  }
}

void ProjectDrawing::drawDevelopment(fish::TDrawSurface& surface, const fish::TSystemParams& sp,
                                     const fish::TProParams& pro) {
  surface.UpdateScale();
  surface.ClearView();
  prepare(sp, pro, false, true);
  for (std::uint16_t q = 1; q <= 4; ++q) {
    if (fish::quadrantSelected(pro, q)) fish::drawRazvertkaLines(surface, development(sp, pro, q));
  }
}

const QString& ProjectDrawing::resultsText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                                           const fish::TPlateParams& plate, fish::TUnits units,
                                           const std::string& decimalSeparator) {
  std::string wanted = textKey(sp, pro, plate, decimalSeparator) + static_cast<char>(units);
  if (results_.key == wanted) return results_.text;
  const fish::TResultsSource source(sp, pro, decimalSeparator, true, plate, nullptr, units);
  fish::TResultsPage page;
  source.forEachLine([&page](std::string_view line) { page.Lines.emplace_back(line); });
  page.Error = source.error();
  results_.text = pageText(page);
  results_.key = std::move(wanted);
  return results_.text;
}

const QString& ProjectDrawing::figuresText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                                           const fish::TPlateParams& plate, fish::TPatternKind pattern,
                                           const std::string& decimalSeparator) {
  fish::TCuttingParams cutting;
  cutting.Pattern = pattern;
  return figuresText(sp, pro, plate, cutting, decimalSeparator);
}

const QString& ProjectDrawing::figuresText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                                           const fish::TPlateParams& plate, const fish::TCuttingParams& cutting,
                                           const std::string& decimalSeparator) {
  std::string wanted = textKey(sp, pro, plate, decimalSeparator) + std::string(fish::patternKey(cutting.Pattern));
  wanted += static_cast<char>(cutting.Seams);
  for (const fish::Extended* w : {&cutting.SeamFirst, &cutting.SeamSecond, &cutting.RectAllowance,
                                  &cutting.RoundAllowance})
    appendBits(wanted, *w);
  if (figures_.key != wanted) {
    // The figures are measured on the arrays the pictures are drawn from
    // (developed once, two quadrants at a time).
    bool prepared = false;
    const fish::TQuadrantSource kept = [&](const fish::TSystemParams& developed, int q) {
      if (!prepared) prepare(developed, pro, true, true);
      prepared = true;
      const auto quadrant = static_cast<std::uint16_t>(q);
      const fish::TRazvertka2PointArray& laid = development(developed, pro, quadrant);
      return fish::TQuadrantArrays{&surface(developed, pro, quadrant), &laid};
    };
    figures_.text = pageText(fish::figuresPage(sp, pro, plate, cutting, decimalSeparator, kept));
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

#include "ProjectDrawing.h"

#include <QStringList>
#include <type_traits>
#include <utility>

#include "fishApi/FishDraw.h"
#include "fishApi/FishErrors.h"
#include "fishApi/FishRazvertka.h"
#include "fishApi/FishSurface.h"
#include "fishApi/FishTexts.h"

namespace vintaler {

namespace {

// The quadrant's array, computed by `compute` the first time it is asked
// for; a computation that failed throws its exception again on every call.
template <typename Slot, typename Compute>
const auto& quadrantLines(Slot& slot, Compute compute) {
  if (!slot) {
    // Kept only once the computation ended in its result or in the engine's
    // own failure; anything else (memory running out) is tried again.
    std::remove_reference_t<decltype(*slot)> computed;
    try {
      computed.lines = compute();
    } catch (const fish::EFishError&) {
      computed.failure = std::current_exception();
    }
    slot = std::move(computed);
  }
  if (slot->failure) std::rethrow_exception(slot->failure);
  return slot->lines;
}

}  // namespace

template <typename Array>
void ProjectDrawing::Picture<Array>::keyTo(const fish::TSystemParams& sp, const fish::TProParams& pro) {
  Key wanted(fish::systemParamsToBytes(sp), fish::proParamsToBytes(pro));
  if (key == wanted) return;
  key = std::move(wanted);
  for (auto& q : quadrants) q.reset();
}

void ProjectDrawing::drawModel(fish::TDrawSurface& surface, const fish::TSystemParams& sp,
                               const fish::TProParams& pro) {
  surface.UpdateScale();
  surface.ClearView();
  model_.keyTo(sp, pro);
  for (std::uint16_t q = 1; q <= 4; ++q) {
    if (!fish::quadrantSelected(pro, q)) continue;
    const auto& lines = quadrantLines(model_.quadrants[q - 1U], [&] {
      fish::TExtents3D box;
      fish::TSurf2PointArray s;
      fish::CalcSurfQuadrant(sp, pro, q, box, s);
      return s;
    });
    fish::drawSurfLines(surface, lines, pro.ShowGrid != 0);
  }
}

void ProjectDrawing::drawDevelopment(fish::TDrawSurface& surface, const fish::TSystemParams& sp,
                                     const fish::TProParams& pro) {
  surface.UpdateScale();
  surface.ClearView();
  development_.keyTo(sp, pro);
  for (std::uint16_t q = 1; q <= 4; ++q) {
    if (!fish::quadrantSelected(pro, q)) continue;
    const auto& lines =
        quadrantLines(development_.quadrants[q - 1U], [&] { return fish::developQuadrant(sp, pro, q).Razvertka; });
    fish::drawRazvertkaLines(surface, lines);
  }
}

const QString& ProjectDrawing::resultsText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                                           const std::string& decimalSeparator) {
  auto wanted = std::make_pair(Key(fish::systemParamsToBytes(sp), fish::proParamsToBytes(pro)), decimalSeparator);
  if (resultsKey_ == wanted) return results_;
  const fish::TResultsPage page = fish::resultsPage(sp, pro, decimalSeparator);
  QStringList lines;
  for (const std::string& line : page.Lines) lines << QString::fromStdString(line);
  // A failed page ends where the computation failed, with the reason.
  if (page.Error) lines << QString() << QString::fromStdString(page.failureMessage());
  results_ = lines.join(QLatin1Char('\n'));
  resultsKey_ = std::move(wanted);
  return results_;
}

}  // namespace vintaler

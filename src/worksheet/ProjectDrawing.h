// The two pictures of one project drawn from the engine's arrays, and its
// texts, kept until the records change: zooming, scrolling, resizing and
// repainting a view of a large project, or showing a page again, then cost
// the drawing alone, not the engine's pass again. Each quadrant's surface and
// development is computed once for the records, whichever picture, page or
// check needs it first.
//
// The surface receives exactly the calls of fish::DrawSurf and
// fish::DrawRazvertka with the same records (UpdateScale, ClearView, then
// the lines of each quadrant in the same order with the same values). A
// quadrant whose computation failed fails again with the same exception
// after the same lines, as a fresh pass would. Unlike the engine's own
// drawing, nothing is left in fish::LastSurf or fish::LastRazvertka.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "fishApi/core/FishTypes.h"
#include "fishApi/shop/CuttingParams.h"
#include "fishApi/shop/PlateParams.h"

namespace fish {
class TDrawSurface;
}

namespace vintaler {

// The records' values as one key, bit for bit: equal exactly when every field
// of the three records holds the same bits (a number's unused storage and
// the records' padding left out), so that -0 and 0 are told apart and a NaN
// matches only itself.
std::string recordsKey(const fish::TSystemParams& sp, const fish::TProParams& pro, const fish::TPlateParams& plate);

class ProjectDrawing {
 public:
  // What fish::DrawSurf(surface, sp, pro) draws.
  void drawModel(fish::TDrawSurface& surface, const fish::TSystemParams& sp, const fish::TProParams& pro);
  // What fish::DrawRazvertka(surface, sp, pro) draws.
  void drawDevelopment(fish::TDrawSurface& surface, const fish::TSystemParams& sp, const fish::TProParams& pro);

  // The results page's lines, one a line, and after a failure an empty line
  // and its reason, as fish::resultsPage gives them for the plate in `units`
  // with this separator.
  const QString& resultsText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                             const fish::TPlateParams& plate, fish::TUnits units,
                             const std::string& decimalSeparator);

  // The page "Размеры для разметки" of the pattern chosen for cutting in the
  // same way (fish::figuresPage).
  const QString& figuresText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                             const fish::TPlateParams& plate, fish::TPatternKind pattern,
                             const std::string& decimalSeparator);
  // The same with the seams and allowances the pattern is cut with.
  const QString& figuresText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                             const fish::TPlateParams& plate, const fish::TCuttingParams& cutting,
                             const std::string& decimalSeparator);

  // The accuracy warning of the pattern chosen for cutting, of the sizes
  // `developed` (fish::preciseAccuracyWarning or fish::tableAccuracyWarning):
  // empty while the pattern is accurate enough, and when it cannot be
  // developed (its failure is shown elsewhere). The precise pattern's needs
  // no development at all.
  // The limit is that of the project's unit.
  const QString& accuracyWarning(const fish::TSystemParams& developed, const fish::TProParams& pro,
                                 fish::TPatternKind pattern, const std::string& decimalSeparator,
                                 fish::TUnits units = fish::TUnits::Millimetres);

  // The texts and the failures kept are forgotten: asked for again, they
  // are made in the language the engine speaks now. The computed arrays stay.
  void languageChanged();

 private:
  // One quadrant of the records `key_`: its surface and its development,
  // each computed the first time anything asks for it, or the engine's
  // failure that computation ended in.
  struct Quadrant {
    std::optional<fish::TSurf2PointArray> surf;
    std::exception_ptr surfFailure;
    std::optional<fish::TRazvertka2PointArray> razvertka;
    std::exception_ptr razvertkaFailure;
    // Not yet computed, nor failed: the surface, or the development too.
    bool lacks(bool developed) const;
  };
  // From this many divisions on, the quadrants a picture or the check needs
  // are computed two at a time (below, a thread costs more than it saves).
  static constexpr std::int32_t kParallelDivisions = 2000;
  // Keys to the records and computes, two at a time, the surfaces (or the
  // developments) of the selected quadrants, or of all four, not yet kept.
  void prepare(const fish::TSystemParams& sp, const fish::TProParams& pro, bool allQuadrants, bool developed);
  // Forgets everything computed for other records.
  void keyTo(const fish::TSystemParams& sp, const fish::TProParams& pro);
  const fish::TSurf2PointArray& surface(const fish::TSystemParams& sp, const fish::TProParams& pro, std::uint16_t q);
  const fish::TRazvertka2PointArray& development(const fish::TSystemParams& sp, const fish::TProParams& pro,
                                                 std::uint16_t q);

  // A text of the records, the plate and the separator, kept until they change.
  struct Text {
    std::optional<std::string> key;
    QString text;
  };

  std::optional<std::string> key_;  // recordsKey of the records with no plate
  std::array<Quadrant, 4> quadrants_;
  Text results_;
  Text figures_;
  Text accuracy_;
};

}  // namespace vintaler

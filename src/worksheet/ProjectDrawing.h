// The two pictures of one project and its texts, kept until the records
// change. A picture is kept as the line segments, in pixels, it drew on its
// view, for the records and the view's mapping it was drawn with: repainting
// a view whose buffer was dropped, or showing its page again, then costs the
// drawing alone. For the page on show, the points the last walk handed over
// are kept too, in the least room that keeps their bits, when they fit the
// window's budget: a new window (zoom, scroll, resize) maps them again
// without the engine. Otherwise it walks the engine's quadrants again point
// by point, two quadrants at a time.
//
// A view receives the pixels of exactly the lines fish::DrawSurf and
// fish::DrawRazvertka draw with the same records, after the same UpdateScale
// and ClearView, less those that could set no new pixel (a repeat of a line
// already drawn, or a line wholly off the view); with the one opaque pen the
// picture is the same. A quadrant whose computation fails draws nothing and
// fails with the same exception after the quadrants before it, as the
// engine's own drawing does. Unlike that drawing, nothing is left in
// fish::LastSurf or fish::LastRazvertka.
#pragma once

#include <QByteArray>
#include <QLine>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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
  const QByteArray& resultsText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                                const fish::TPlateParams& plate, fish::TUnits units,
                                const std::string& decimalSeparator);

  // The page "Размеры для разметки" of the pattern chosen for cutting in the
  // same way (fish::figuresPage).
  const QByteArray& figuresText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                                const fish::TPlateParams& plate, fish::TPatternKind pattern,
                                const std::string& decimalSeparator);
  // The same with the seams and allowances the pattern is cut with.
  const QByteArray& figuresText(const fish::TSystemParams& sp, const fish::TProParams& pro,
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

  // The texts kept are forgotten: asked for again, they are made in the
  // language the engine speaks now. The pictures stay.
  void languageChanged();

 private:
  // A view's picture: its segments in pixels, and the records and mapping
  // they were drawn for.
  // With it, for the page on show, the points of the records' last walk
  // (only when they fit the budget below), from which a new window is drawn
  // without the engine.
  struct KeptPoints;
  struct Picture {
    std::string key;
    std::vector<QLine> lines;
    std::string pointsKey;
    std::shared_ptr<const KeptPoints> points;
    std::size_t pointBytes = 0;
  };
  // What a window keeps of its picture at most: its points (100,000
  // divisions in four quadrants take 7.63 MiB of a development, 1.53 MiB of
  // a model), then its segments.
  static constexpr std::size_t kKeptBytes = std::size_t{31} << 18;
  // From this many divisions on, two quadrants are walked at a time (below,
  // a thread costs more than it saves).
  static constexpr std::int32_t kParallelDivisions = 2000;
  // A picture of more segments than this is drawn but not kept (a window
  // zoomed far into a dense pattern): its view walks the engine again.
  static constexpr std::size_t kKeptSegments = std::size_t{1} << 18;
  void draw(fish::TDrawSurface& surface, const fish::TSystemParams& sp, const fish::TProParams& pro,
            bool developed, Picture& kept);

  // A text of the records, the plate and the separator, kept until they change.
  template <typename String>
  struct Text {
    std::optional<std::string> key;
    String text;
  };

  Picture model_;
  Picture development_;
  Text<QByteArray> results_;  // the pages' texts in UTF-8, as the engine writes them
  Text<QByteArray> figures_;
  Text<QString> accuracy_;
};

}  // namespace vintaler

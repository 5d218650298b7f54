// The two pictures of one project drawn from the engine's arrays, and its
// results text, kept until the records change: zooming, scrolling, resizing
// and repainting a view of a large project, or showing a page again, then
// cost the drawing alone, not the engine's pass again.
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
#include <exception>
#include <optional>
#include <string>

#include "fishApi/FishTypes.h"
#include "fishApi/ProjectFile.h"

namespace fish {
class TDrawSurface;
}

namespace vintaler {

class ProjectDrawing {
 public:
  // What fish::DrawSurf(surface, sp, pro) draws.
  void drawModel(fish::TDrawSurface& surface, const fish::TSystemParams& sp, const fish::TProParams& pro);
  // What fish::DrawRazvertka(surface, sp, pro) draws.
  void drawDevelopment(fish::TDrawSurface& surface, const fish::TSystemParams& sp, const fish::TProParams& pro);

  // The results page's lines, one a line, and after a failure an empty line
  // and its reason, as fish::resultsPage gives them with this separator.
  const QString& resultsText(const fish::TSystemParams& sp, const fish::TProParams& pro,
                             const std::string& decimalSeparator);

 private:
  using Key = std::pair<fish::TSystemParamsImage, fish::TProParamsImage>;

  // One quadrant's array, or the failure its computation ended in.
  template <typename Array>
  struct Quadrant {
    Array lines;
    std::exception_ptr failure;
  };
  // The quadrants of one picture computed so far for the records `key`.
  template <typename Array>
  struct Picture {
    std::optional<Key> key;
    std::array<std::optional<Quadrant<Array>>, 4> quadrants;

    // Forgets everything computed for other records.
    void keyTo(const fish::TSystemParams& sp, const fish::TProParams& pro);
  };

  Picture<fish::TSurf2PointArray> model_;
  Picture<fish::TRazvertka2PointArray> development_;
  std::optional<std::pair<Key, std::string>> resultsKey_;
  QString results_;
};

}  // namespace vintaler

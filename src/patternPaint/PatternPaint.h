// The flat pattern painted at full size in millimetres onto any QPainter
// (a pattern in inches is drawn from fish::inMillimetres, 25.4 mm an inch):
// an SVG (QSvgGenerator), a PDF (QPdfWriter), a printer. One routine draws the
// sheets' outlines (solid), the bend lines (dashed) and the point names; the
// full-size PDF and the sheets of a tiled print add a 100 mm check ruler, with
// which the user verifies that the print really is at 100 %.
#pragma once

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "fishApi/shop/FlatPattern.h"
#include "fishApi/shop/PatternWalk.h"
#include "fishApi/shop/PlateParams.h"
#include "fishApi/shop/TileLayout.h"

class QIODevice;
class QPainter;
class QPagedPaintDevice;

namespace vintaler::paint {

// Where a pattern point lands on a device: the pattern point `corner` (the
// top left of what is shown, Y pointing up) at the device point `at`, with
// `dotsPerMm` device units per millimetre (Y pointing down).
struct MmMap {
  fish::TPoint2D corner;
  QPointF at;
  double dotsPerMm = 1;
  // The narrowest line drawn, in device units: a small picture on screen
  // keeps its lines visible however far the pattern is reduced.
  double minPenDots = 0;

  QPointF operator()(const fish::TPoint2D& p) const;
};

// The pattern, clipped by the painter's clip if any. Each point name stands
// centred off the lines that meet at its point (fish::labelCentre).
void paintPattern(QPainter& painter, const fish::TFlatPattern& pattern, const MmMap& map);

// Only the given lines and point names of the pattern (a sheet's part of it),
// the outline edges that follow each other drawn as one line.
void paintPatternPart(QPainter& painter, const fish::TFlatPattern& pattern, const MmMap& map,
                      const std::vector<fish::TLineRef>& lines, const std::vector<std::uint32_t>& labels);

// A 100 mm ruler with millimetre ticks, its left end at `at` (device), the
// ticks rising from the base line; "100 мм" at its right end.
void paintRuler(QPainter& painter, QPointF at, double dotsPerMm);

// What the title line of a print says: the project and its sizes, and the
// plate when it has a thickness (the pattern is then of the neutral surface).
struct Title {
  QString project;
  fish::TSystemParams sp;
  int divisions = 0;
  fish::TPlateParams plate;
};
// The title's line for a pattern of `kind`: the precise pattern is named at
// its end; the tables' pattern keeps the line it always had.
QString titleLine(const Title& title, fish::TPatternKind kind);

// The largest page side a PDF may have.
inline constexpr double kMaxPdfSideMm = 5080;
inline constexpr double kPageMarginMm = 10;

// One page: the pattern with 10 mm margins round it (at least as wide as the
// ruler), the title in the top margin (broken into lines and made smaller
// as far as it takes to fit there whole), the ruler in the bottom one.
// Refuses (fish::EFishError) a page side beyond kMaxPdfSideMm.
QByteArray patternPdf(const fish::TFlatPattern& pattern, const Title& title);

// The same drawing as SVG: one user unit is one millimetre, width and height
// given in millimetres, the texts as many millimetres high as on the PDF.
// An SVG has no largest size: any pattern is drawn.
QByteArray patternSvg(const fish::TFlatPattern& pattern, const Title& title);

// The tiled print onto any paged device (a PDF writer or a printer): an
// overview sheet with the grid over the reduced pattern, then every sheet of
// `layout` at 100 %, with its name, its neighbours' names at its edges,
// registration marks in the overlaps and the ruler. The device's page size
// and orientation are set here; its resolution is used as it is.
void paintTiles(QPagedPaintDevice& device, const fish::TFlatPattern& pattern, const fish::TTileLayout& layout,
                const Title& title);

// The tiled print as a PDF file's bytes.
QByteArray tilesPdf(const fish::TFlatPattern& pattern, const fish::TTileLayout& layout, const Title& title);

// The same drawings painted straight into `out` as they are made, none of
// them held whole; they throw as the functions above do.
void writePatternPdf(QIODevice& out, const fish::TFlatPattern& pattern, const Title& title);
void writePatternSvg(QIODevice& out, const fish::TFlatPattern& pattern, const Title& title);
void writeTilesPdf(QIODevice& out, const fish::TFlatPattern& pattern, const fish::TTileLayout& layout,
                   const Title& title);

// The full-size drawings of a walked pattern, which is never held whole:
// its elements are painted as the walk hands them over.
void writePatternPdf(QIODevice& out, const fish::TPatternWalk& walk, const Title& title);
void writePatternSvg(QIODevice& out, const fish::TPatternWalk& walk, const Title& title);
// The sheets of `layout` (fish::tileLayout of the walk) found in one more
// walk, each keeping only what it prints until it is painted.
void paintTiles(QPagedPaintDevice& device, const fish::TPatternWalk& walk, const fish::TTileLayout& layout,
                const Title& title);
void writeTilesPdf(QIODevice& out, const fish::TPatternWalk& walk, const fish::TTileLayout& layout,
                   const Title& title);
void saveTilesPdf(const std::string& path, const fish::TPatternWalk& walk, const fish::TTileLayout& layout,
                  const Title& title);

// And into the file `path`, which is replaced whole or not at all
// (fish::TSafeWriter); a file that cannot be written throws fish::EFileError.
void savePatternPdf(const std::string& path, const fish::TFlatPattern& pattern, const Title& title);
void savePatternSvg(const std::string& path, const fish::TFlatPattern& pattern, const Title& title);
void savePatternPdf(const std::string& path, const fish::TPatternWalk& walk, const Title& title);
void savePatternSvg(const std::string& path, const fish::TPatternWalk& walk, const Title& title);
void saveTilesPdf(const std::string& path, const fish::TFlatPattern& pattern, const fish::TTileLayout& layout,
                  const Title& title);

}  // namespace vintaler::paint

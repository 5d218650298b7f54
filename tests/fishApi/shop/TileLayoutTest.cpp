// Full-size printing over sheets: every part of the pattern lands on a
// printed sheet, no printed sheet is empty, neighbours overlap by 10 mm.
#include <gtest/gtest.h>

#include <random>

#include "fishApi/TestParams.h"
#include "fishApi/shop/TileLayout.h"
#include "support/EngineTestSupport.h"

using namespace fish;
using namespace fish::test;

namespace {

bool inArea(const TExtents2D& a, const TPoint2D& p) {
  return p.X >= a.MinX && p.X <= a.MaxX && p.Y >= a.MinY && p.Y <= a.MaxY;
}

// Winding number, independent of the layout's own crossing count.
bool insideOutline(const std::vector<TPoint2D>& o, const TPoint2D& p) {
  int winding = 0;
  for (std::size_t i = 0; i < o.size(); ++i) {
    const TPoint2D& a = o[i];
    const TPoint2D& b = o[(i + 1) % o.size()];
    const Extended side = (b.X - a.X) * (p.Y - a.Y) - (p.X - a.X) * (b.Y - a.Y);
    if (a.Y <= p.Y && b.Y > p.Y && side > 0) ++winding;
    if (a.Y > p.Y && b.Y <= p.Y && side < 0) --winding;
  }
  return winding != 0;
}

// Points of the pattern: along every line, and scattered over the metal.
std::vector<TPoint2D> samples(const TFlatPattern& pattern) {
  std::vector<TPoint2D> points;
  const auto along = [&points](const TPoint2D& a, const TPoint2D& b) {
    for (int k = 0; k <= 16; ++k) {
      const Extended t = k / 16.0L;
      points.push_back({a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)});
    }
  };
  for (const TPatternPiece& piece : pattern.Pieces) {
    for (std::size_t i = 0; i < piece.Outline.size(); ++i) {
      along(piece.Outline[i], piece.Outline[(i + 1) % piece.Outline.size()]);
    }
  }
  for (const TPatternLine& l : pattern.BendLines) along(l.From, l.To);
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> x(double(pattern.Box.MinX), double(pattern.Box.MaxX));
  std::uniform_real_distribution<double> y(double(pattern.Box.MinY), double(pattern.Box.MaxY));
  for (int i = 0; i < 20000; ++i) {
    const TPoint2D p{x(rng), y(rng)};
    for (const TPatternPiece& piece : pattern.Pieces) {
      if (insideOutline(piece.Outline, p)) points.push_back(p);
    }
  }
  return points;
}

struct LayoutCase {
  const char* name;
  TSystemParams sp;
  std::array<ByteBool, 4> quadrants;
  TPaper paper;
  int sheets;  // -1: only the properties are checked
};

const LayoutCase kLayouts[] = {
    {"DefaultOnOneA4", defaultSystemParams(), {1, 1, 0, 0}, TPaper::A4, 1},
    {"AllQuadrantsA4", defaultSystemParams(), {1, 1, 1, 1}, TPaper::A4, -1},
    {"LargeDuctA4", params(1000, 600, 800, 315, -100, 250), {1, 1, 1, 1}, TPaper::A4, -1},
    {"LargeDuctA3", params(1000, 600, 800, 315, -100, 250), {1, 1, 0, 0}, TPaper::A3, -1},
    {"OffsetLetter", params(400, 250, 300, 160, 35, -20), {0, 1, 1, 0}, TPaper::Letter, -1},
};

class TileLayoutCase : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(TileLayoutCase, CoversThePatternWithNoEmptySheet) {
  const LayoutCase& c = GetParam();
  const TFlatPattern pattern = flatPattern(c.sp, withDivisions(40, c.quadrants), fish::TPatternKind::Table);
  const TTileLayout layout = tileLayout(pattern, c.paper);
  if (c.sheets >= 0) {
    EXPECT_EQ(static_cast<int>(layout.Tiles.size()), c.sheets);
  }
  ASSERT_FALSE(layout.Tiles.empty());

  const TPaperSize paper = paperSize(c.paper);
  EXPECT_EQ(layout.SheetWidth, layout.Landscape ? paper.Height : paper.Width);
  std::vector<int> hits(layout.Tiles.size(), 0);
  for (const TPoint2D& p : samples(pattern)) {
    bool covered = false;
    for (std::size_t t = 0; t < layout.Tiles.size(); ++t) {
      if (inArea(layout.Tiles[t].Area, p)) {
        covered = true;
        ++hits[t];
      }
    }
    ASSERT_TRUE(covered) << "a point of the pattern at " << asDouble(p.X) << ", " << asDouble(p.Y) << " is on no sheet";
  }
  for (std::size_t t = 0; t < layout.Tiles.size(); ++t) {
    const TTile& tile = layout.Tiles[t];
    EXPECT_GT(hits[t], 0) << tile.Name << " prints nothing";
    EXPECT_NEAR(asDouble(tile.Area.MaxX - tile.Area.MinX), asDouble(layout.SheetWidth - 2 * kSheetMargin), 1e-9);
    EXPECT_EQ(tile.Name, rowName(tile.Row) + std::to_string(tile.Column + 1));
    for (const TTile& other : layout.Tiles) {
      if (other.Row == tile.Row && other.Column == tile.Column + 1) {
        EXPECT_NEAR(asDouble(tile.Area.MaxX - other.Area.MinX), asDouble(kTileOverlap), 1e-9);
        EXPECT_EQ(tile.Right, other.Name);
        EXPECT_EQ(other.Left, tile.Name);
      }
      if (other.Column == tile.Column && other.Row == tile.Row + 1) {
        EXPECT_NEAR(asDouble(tile.Area.MinY - other.Area.MaxY), -asDouble(kTileOverlap), 1e-9);
        EXPECT_EQ(tile.Below, other.Name);
      }
    }
  }
}

TEST_P(TileLayoutCase, TheOtherOrientationNeedsNoFewerSheets) {
  const LayoutCase& c = GetParam();
  const TFlatPattern pattern = flatPattern(c.sp, withDivisions(40, c.quadrants), fish::TPatternKind::Table);
  const TTileLayout layout = tileLayout(pattern, c.paper);
  // Turning the pattern a quarter turn swaps the orientations.
  TFlatPattern turned = pattern;
  const auto turn = [](TPoint2D& p) { p = {-p.Y, p.X}; };
  for (TPatternPiece& piece : turned.Pieces) std::for_each(piece.Outline.begin(), piece.Outline.end(), turn);
  for (TPatternLine& l : turned.BendLines) {
    turn(l.From);
    turn(l.To);
  }
  turned.Box = {-pattern.Box.MaxY, -pattern.Box.MinY, pattern.Box.MinX, pattern.Box.MaxX};
  const TTileLayout other = tileLayout(turned, c.paper);
  EXPECT_EQ(other.Tiles.size(), layout.Tiles.size());
}

// A walked pattern is laid on the same sheets as the held one, of both kinds.
TEST_P(TileLayoutCase, AWalkedPatternLiesOnTheSameSheets) {
  const LayoutCase& c = GetParam();
  for (const TPatternKind kind : {TPatternKind::Table, TPatternKind::Precise}) {
    const TTileLayout held = tileLayout(flatPattern(c.sp, withDivisions(40, c.quadrants), kind), c.paper);
    const TTileLayout walked = tileLayout(TPatternWalk(c.sp, withDivisions(40, c.quadrants), kind), c.paper);
    ASSERT_EQ(walked.Tiles.size(), held.Tiles.size());
    for (std::size_t t = 0; t < held.Tiles.size(); ++t) {
      EXPECT_EQ(walked.Tiles[t].Name, held.Tiles[t].Name);
      EXPECT_EQ(walked.Tiles[t].Area.MinX, held.Tiles[t].Area.MinX);
      EXPECT_EQ(walked.Tiles[t].Area.MaxY, held.Tiles[t].Area.MaxY);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Patterns, TileLayoutCase, ::testing::ValuesIn(kLayouts), vintaler::test::rowName<LayoutCase>);

TEST(tileLayout, RefusesMoreThanFiveHundredSheetsNamingTheCount) {
  const TFlatPattern huge = flatPattern(params(20000, 20000, 8000, 5000), withDivisions(40, {1, 1, 1, 1}), fish::TPatternKind::Table);
  try {
    tileLayout(huge, TPaper::A4);
    ADD_FAILURE() << "a pattern of 40 m on A4 was accepted";
  } catch (const ETooManySheets& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("500"), std::string::npos);
    EXPECT_NE(message.find("DXF"), std::string::npos);
  }
  const TFlatPattern galactic = flatPattern(params(1e12L, 1e12L, 1e12L, 1e11L), withDivisions(4, {1, 0, 0, 0}), fish::TPatternKind::Table);
  EXPECT_THROW(tileLayout(galactic, TPaper::A3), ETooManySheets);
}

TEST(tileLayout, NamesAndPapers) {
  const std::pair<int, const char*> rows[] = {{0, "A"}, {25, "Z"}, {26, "AA"}, {27, "AB"}, {701, "ZZ"}, {702, "AAA"}};
  for (const auto& [row, name] : rows) EXPECT_EQ(rowName(row), name);
  const std::pair<const char*, bool> papers[] = {{"A4", true},  {"a3", true}, {"LETTER", true},
                                                 {"A5", false}, {"", false},  {"A4 ", false}};
  for (const auto& [name, known] : papers) {
    TPaper paper = TPaper::A3;
    EXPECT_EQ(paperFromName(name, paper), known) << name;
  }
  EXPECT_EQ(paperSize(TPaper::Letter).Width, 215.9L);
  for (const char* text : {"1 лист", "3 листа", "5 листов", "11 листов", "14 листов", "21 лист", "492 листа"}) {
    EXPECT_EQ(sheetCountText(std::stoll(text)), text);
  }
}

}  // namespace

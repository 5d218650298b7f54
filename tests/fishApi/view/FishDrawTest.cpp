#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fishApi/TestParams.h"
#include "fishApi/view/FishDraw.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishSurface.h"

using namespace fish;
using namespace fish::test;

namespace {

struct Segment {
  Extended x1, y1, z1, x2, y2, z2;
};

// Records what the engine draws; a move must precede every line.
class RecordingSurface : public TDrawSurface {
 public:
  std::vector<std::string> calls;
  std::vector<Segment> segments;

  void UpdateScale() override { calls.push_back("scale"); }
  void ClearView() override { calls.push_back("clear"); }
  void MoveTo2D(Extended x, Extended y) override { Move(x, y, 0); }
  void LineTo2D(Extended x, Extended y) override { Line(x, y, 0); }
  void MoveTo3D(Extended x, Extended y, Extended z) override { Move(x, y, z); }
  void LineTo3D(Extended x, Extended y, Extended z) override { Line(x, y, z); }

  std::size_t Generators(Extended zLow, Extended zHigh) const {
    std::size_t n = 0;
    for (const Segment& s : segments) n += s.z1 == zLow && s.z2 == zHigh;
    return n;
  }

 private:
  void Move(Extended x, Extended y, Extended z) {
    pen_ = {x, y, z};
    moved_ = true;
  }
  void Line(Extended x, Extended y, Extended z) {
    EXPECT_TRUE(moved_) << "a line without a move before it";
    segments.push_back({pen_[0], pen_[1], pen_[2], x, y, z});
    pen_ = {x, y, z};
    moved_ = false;
  }
  std::array<Extended, 3> pen_{};
  bool moved_ = false;
};

TProParams selection(std::int32_t n, std::array<ByteBool, 4> quadrants, bool grid) {
  TProParams pp = withDivisions(n, quadrants);
  pp.ShowGrid = grid ? 1 : 0;
  return pp;
}

TEST(DrawSurf, NothingSelectedOnlyClears) {
  RecordingSurface s;
  DrawSurf(s, defaultSystemParams(), selection(10, {0, 0, 0, 0}, true));
  EXPECT_EQ(s.calls, (std::vector<std::string>{"scale", "clear"}));
  EXPECT_TRUE(s.segments.empty());
  RecordingSurface r;
  DrawRazvertka(r, defaultSystemParams(), selection(10, {0, 0, 0, 0}, true));
  EXPECT_TRUE(r.segments.empty());
}

struct CountCase {
  std::int32_t n;
  bool grid;
  std::size_t generators;  // per quadrant, in the model
};

class ModelLinesTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(ModelLinesTest, GeneratorLinesAndChains) {
  const CountCase& c = GetParam();
  for (int q = 1; q <= 4; ++q) {
    std::array<ByteBool, 4> one{};
    one[static_cast<std::size_t>(q - 1)] = 1;
    RecordingSurface s;
    DrawSurf(s, defaultSystemParams(), selection(c.n, one, c.grid));
    const std::size_t chains = 2 * static_cast<std::size_t>(c.n + 2);
    EXPECT_EQ(s.segments.size(), chains + c.generators) << "quadrant " << q;
    EXPECT_EQ(s.Generators(0, 50), c.generators) << "quadrant " << q;
  }
}

INSTANTIATE_TEST_SUITE_P(Counts, ModelLinesTest,
                         ::testing::Values(CountCase{10, false, 4}, CountCase{10, true, 13}, CountCase{1, false, 4},
                                           CountCase{1, true, 4}, CountCase{2, false, 4}, CountCase{3, false, 4},
                                           CountCase{3, true, 6}));

TEST(DrawRazvertka, EveryGeneratorLineAndTheOutline) {
  for (bool grid : {false, true}) {
    RecordingSurface s;
    DrawRazvertka(s, defaultSystemParams(), selection(10, {1, 0, 0, 1}, grid));
    EXPECT_EQ(s.segments.size(), 2u * (2 * 12 + 13)) << "grid setting is not consulted";
  }
  // The first line of quadrant 1 is its first seam: origin to the image of the
  // arc start; the last is the rectangle edge to the X-side midpoint's image.
  RecordingSurface s;
  DrawRazvertka(s, defaultSystemParams(), selection(10, {1, 0, 0, 0}, false));
  ASSERT_FALSE(s.segments.empty());
  EXPECT_EQ(s.segments.front().x1, 0);
  EXPECT_EQ(s.segments.front().y1, 0);
  EXPECT_EQ(s.segments.front().y2, LastRazvertka[0].P2.Y);
  EXPECT_EQ(s.segments.back().x2, LastRazvertka[12].P2.X);
  EXPECT_EQ(s.segments.back().y2, LastRazvertka[12].P2.Y);
}

TEST(DrawSurf, ModelSegmentsJoinTheComputedPoints) {
  RecordingSurface s;
  DrawSurf(s, defaultSystemParams(), selection(2, {0, 0, 1, 0}, false));
  TSurf2PointArray q3;
  TExtents3D box;
  CalcSurfQuadrant(defaultSystemParams(), selection(2, {0, 0, 1, 0}, false), 3, box, q3);
  // First: element 0's generator line; then the two chains from element 0 to 1.
  ASSERT_GE(s.segments.size(), 3u);
  EXPECT_EQ(s.segments[0].x1, q3[0].P1.X);
  EXPECT_EQ(s.segments[0].z2, q3[0].P2.Z);
  EXPECT_EQ(s.segments[1].x2, q3[1].P1.X);
  EXPECT_EQ(s.segments[2].y2, q3[1].P2.Y);
}

TEST(Draw, FailuresLeaveTheClearedViewAndPropagate) {
  RecordingSurface s;
  EXPECT_THROW(DrawRazvertka(s, defaultSystemParams(), selection(0, {1, 1, 0, 0}, false)), EZeroDivide);
  EXPECT_EQ(s.calls, (std::vector<std::string>{"scale", "clear"}));
  // A quadrant whose development fails draws nothing of itself.
  RecordingSurface t;
  EXPECT_THROW(DrawRazvertka(t, params(100, 100, 0, 50, 0.0149L), selection(5, {0, 0, 0, 1}, false)), EInvalidOp);
  EXPECT_TRUE(t.segments.empty());
}

}  // namespace

#include "fishApi/core/InputExplain.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "fishApi/TestParams.h"
#include "fishApi/precise/PreciseAccuracy.h"
#include "fishApi/texts/FishTexts.h"
#include "fishApi/view/FishView.h"

namespace fish {
namespace {

using test::params;
using test::withDivisions;

// What the command line computes for its page: the tables and the accuracy
// of the precise pattern. True when that fails.
bool pageFails(const TSystemParams& sp, const TProParams& pro) {
  try {
    TResultsSource page(sp, pro);
    if (page.error()) return true;
    chordAccuracy(sp, pro);
    return false;
  } catch (const EFishError&) {
    return true;
  }
}

struct Failure {
  const char* name;
  TSystemParams sp;
  std::int32_t divisions;
  TInput blamed;
};

// Every kind of failure is explained, by its input, and only when it fails.
TEST(InputExplain, EachFailureNamesItsInput) {
  const Extended big = kLargestCoordinate;
  const Failure rows[] = {
      {"R beyond the extended range of doubles", params(100, 100, 50, 1e400L), 10, TInput::R},
      {"B whose half side cannot be rounded", params(1e300L, 100, 50, 50), 10, TInput::B},
      {"A just past twice the limit", params(100, big * 2.01L, 50, 50), 10, TInput::A},
      {"L past the limit", params(100, 100, big * 1.01L, 50), 10, TInput::L},
      {"X1 past the limit", params(100, 100, 50, 50, 1e20L), 10, TInput::X1},
      {"offset and radius together", params(100, 100, 50, big * 0.6L, -big * 0.6L), 10, TInput::X1},
      {"offset flattening the first triangle", params(100, 100, 50, 50, 1e10L), 10, TInput::X1},
      {"Y offset flattening a triangle", params(100, 100, 50, 50, 0, 1e10L), 10, TInput::Y1},
      {"arc steps too short for the corner's distance", params(1e11L, 100, 50, 50), 10, TInput::Divisions},
      {"offset longer than the flat seam", params(100, 100, 0, 50, 0.0149L), 10, TInput::X1},
      {"no divisions", params(100, 100, 50, 50), 0, TInput::Divisions},
      {"too many divisions", params(100, 100, 50, 50), kMaxDivisions + 1, TInput::Divisions},
      {"circle shrunk to a point", params(100, 100, 50, 0), 10, TInput::R},
      {"NaN from a damaged file", params(100, 100, std::numeric_limits<Extended>::quiet_NaN(), 50), 10, TInput::L},
  };
  for (const Failure& row : rows) {
    SCOPED_TRACE(row.name);
    const TProParams pro = withDivisions(row.divisions);
    if (row.divisions >= 0 && row.divisions <= kMaxDivisions) {
      EXPECT_TRUE(pageFails(row.sp, pro));
    }
    const TExplanation why = explainParams(row.sp, pro, ",");
    ASSERT_FALSE(why.empty());
    ASSERT_FALSE(why.Inputs.empty());
    EXPECT_EQ(why.Inputs.front(), row.blamed);
    const std::string text = why.Message.text();
    if (row.blamed != TInput::Divisions) {
      EXPECT_NE(text.find(inputName(row.blamed)), std::string::npos) << text;
    }
    EXPECT_EQ(text.find("nan"), std::string::npos) << text;
  }
}

// The limit of the coordinates is the computation's own: the default piece
// scaled up computes as long as no explanation is found, and fails from the
// scale at which one is.
TEST(InputExplain, ScaledPieceFailsExactlyWhereExplained) {
  for (const Extended s : {0.5L, 0.9L, 0.999L, 1.001L, 1.1L, 2.0L}) {
    const Extended half = kLargestCoordinate * s;
    const TSystemParams sp = params(2 * half, 2 * half, half, half);
    const TProParams pro = withDivisions(10);
    EXPECT_EQ(pageFails(sp, pro), !explainParams(sp, pro).empty()) << static_cast<double>(s);
  }
}

// A drawing window: equal bounds, a span too wide for the format, a picture
// too far off the window for 32-bit pixels; a zero X span is usable.
TEST(InputExplain, DrawingWindowNamesItsBounds) {
  const struct {
    const char* name;
    std::array<Extended, 6> bounds;
    bool threeD;
    std::optional<TInput> blamed;
  } rows[] = {
      {"usable", {0, 100, 0, 100, 0, 100}, false, {}},
      {"zero X span", {5, 5, 0, 0, 0, 0}, true, {}},
      {"equal Y bounds", {0, 100, 7, 7, 0, 100}, false, TInput::MaxY},
      {"equal Z bounds in 3-D", {0, 100, 0, 100, 3, 3}, true, TInput::MaxZ},
      {"equal Z bounds in the plane", {0, 100, 0, 100, 3, 3}, false, {}},
      {"span beyond the format", {-1e4932L, 1e4932L, 0, 100, 0, 0}, false, TInput::MaxX},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const TExplanation why = explainView(row.bounds, row.threeD, 400, 300);
    ASSERT_EQ(why.empty(), !row.blamed.has_value()) << why.Message.text();
    if (row.blamed) {
      EXPECT_EQ(why.Inputs.front(), *row.blamed);
    }
  }
  // A picture far off a small window: explained exactly when the view's own
  // mapping of its corner fails.
  const TExtents2D far{0, 1e7L, 0, 1e7L};
  for (const Extended side : {1e-3L, 1.0L, 1e3L, 2e7L}) {
    TViewMapping view;
    view.setBounds({0, side, 0, side, 0, 0});
    view.Width = 400;
    view.Height = 300;
    view.UpdateScale();
    bool fails = false;
    try {
      view.project2D(far.MaxX, far.MaxY);
    } catch (const EFishError&) {
      fails = true;
    }
    EXPECT_EQ(fails, !explainView(view.bounds(), false, 400, 300, &far).empty()) << static_cast<double>(side);
  }
}

}  // namespace
}  // namespace fish

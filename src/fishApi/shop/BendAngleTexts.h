// Where the drawings write the angle of each bend line: along the line,
// centred on its middle, a little off it to one side, wherever the text's
// box stays clear of the other lines. The full-size drawings and the DXF
// place them alike.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "fishApi/core/FishTypes.h"
#include "FlatPattern.h"
#include "PatternWalk.h"

namespace fish {

struct TBendAngleText {
  std::size_t Line = 0;  // in TFlatPattern::BendLines
  std::string Text;      // "12.34°"
  TPoint2D Centre;       // of the text's box
  // The baseline's angle from +X, counter-clockwise, in radians, within
  // (-pi/2, pi/2]: the text reads left to right, or upwards.
  Extended Direction = 0;
};

// An angle in degrees to hundredths with the degree sign.
std::string bendAngleText(Extended degrees);

// The angle texts of the lines that carry one (TPatternLine::Angle), in the
// order of the lines, `height` mm high and as wide as `width` measures them
// at that height. Each text's box runs along its line, centred on the
// line's middle, height / 4 clear of it: on the side above the text as read,
// else below. A text goes where its box crosses no other bend line, no
// outline (cut or net) and no text placed before it, and is left out where
// there is no such room or its line is shorter than it.
std::vector<TBendAngleText> bendAngleTexts(const TFlatPattern& pattern, Extended height,
                                           const std::function<Extended(const std::string&)>& width);

// The same texts of a walked pattern, handed to `each` in the same order
// (Line counting the walk's bend lines). Only the texts that find room
// beside the lines next to theirs are kept while the outlines and the other
// lines are walked once more; at fine divisions there are none.
void bendAngleTexts(const TPatternWalk& walk, Extended height, const std::function<Extended(const std::string&)>& width,
                    const std::function<void(const TBendAngleText&)>& each);

}  // namespace fish

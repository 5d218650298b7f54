// The flat pattern as a DXF drawing for cutting tables and CAM software,
// written through dxflib. AutoCAD R12 ASCII (AC1009), the version such
// software reads most widely; millimetres declared in the header. Model space
// holds three layers: CUT (one closed POLYLINE per sheet, the line it is cut
// along), BEND (one LINE per bend line) and LABELS (the point names as TEXT,
// 2.5 mm high, and the pieces' names, 5 mm high, centred on each piece, when
// the seams are not the usual ones). With allowances for joining a fourth
// layer, PATTERN, holds each sheet's net outline (the pattern without its
// allowances, where the bend lines end) as a closed POLYLINE; without them
// there is no such layer. Asked for, a layer BEND_ANGLES holds each bend's
// angle beside its line (bendAngles). Text other than ASCII is written as
// \U+XXXX escapes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "fishApi/shop/FlatPattern.h"

namespace vintaler::dxf {

inline constexpr double kLabelHeight = 2.5;  // mm
inline constexpr double kNameHeight = 5;     // mm, a piece's name
inline constexpr double kAngleHeight = 1.8;  // mm, a bend's angle

// The bend along every bend line of the chosen quadrants, degrees as the
// press brake is set (deviation from flat): [q - 1][k - 1] for element k of
// quadrant q; a quadrant not chosen has none.
using BendAngles = std::array<std::vector<fish::Extended>, 4>;

// The bends of the surfaces the pattern of `cutting` is laid from (as
// flatPattern lays it for the plate). Throws what that development throws.
BendAngles bendAngles(const fish::TSystemParams& sp, const fish::TPlateParams& plate, const fish::TProParams& pro,
                      const fish::TCuttingParams& cutting);

// An angle's text: degrees to hundredths and the degree sign.
std::string angleText(fish::Extended degrees);

// Where a bend's angle is written: along its line, near its middle, on its
// left as the text reads (the text turned to read left to right, or upwards),
// kAngleHeight / 4 off the line. A line shorter than the text or whose
// neighbouring bend lines come nearer the text's ends than the text's height
// and its clearance gets none.
struct AngleText {
  std::string Text;   // UTF-8
  fish::TPoint2D At;  // the middle of the text's foot
  double Rotation;    // degrees, counter-clockwise from +X
};
std::vector<AngleText> angleTexts(const fish::TFlatPattern& pattern, const BendAngles& angles);

// The comment that opens the file of a precise pattern (plain ASCII: an R12
// file has no declared encoding that every reader honours).
inline constexpr const char* kPreciseComment = "Vintaler: precise development for cutting (exact surface, unrounded)";

// The whole file as text. `libraryWriter` writes it through dxflib's own
// file writer, byte for byte the same but slower (kept for the tests).
// With `angles` the bends' angles go on BEND_ANGLES; without, the drawing
// has no such layer.
std::string patternDxf(const fish::TFlatPattern& pattern, bool libraryWriter = false,
                       const BendAngles* angles = nullptr);

// The file written atomically as the drawing is made: every write is checked,
// and a failure leaves no half file and keeps any previous one
// (fish::EFileError names the file and the reason).
void writePatternDxf(const std::string& path, const fish::TFlatPattern& pattern, const BendAngles* angles = nullptr);

}  // namespace vintaler::dxf

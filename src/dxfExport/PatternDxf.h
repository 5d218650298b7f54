// The flat pattern as a DXF drawing for cutting tables and CAM software,
// written through dxflib. AutoCAD R12 ASCII (AC1009), the version such
// software reads most widely; millimetres declared in the header. Model space
// holds three layers: CUT (one closed POLYLINE per sheet, the line it is cut
// along), BEND (one LINE per bend line) and LABELS (the point names as TEXT,
// 2.5 mm high, and the pieces' names, 5 mm high, centred on each piece, when
// the seams are not the usual ones). With allowances for joining a fourth
// layer, PATTERN, holds each sheet's net outline (the pattern without its
// allowances, where the bend lines end) as a closed POLYLINE; without them
// there is no such layer. When the bend lines carry their angles
// (TCuttingParams::BendAngles), a layer BEND_ANGLES holds them beside their
// lines, placed as the full-size drawings place them (bendAngleTexts). Text
// other than ASCII is written as \U+XXXX escapes.
#pragma once

#include <string>
#include <vector>

#include "fishApi/shop/FlatPattern.h"
#include "fishApi/shop/PatternWalk.h"

namespace vintaler::dxf {

inline constexpr double kLabelHeight = 2.5;  // mm
inline constexpr double kNameHeight = 5;     // mm, a piece's name
inline constexpr double kAngleHeight = 1.8;  // mm, a bend's angle

// The comment that opens the file of a precise pattern (plain ASCII: an R12
// file has no declared encoding that every reader honours).
inline constexpr const char* kPreciseComment = "Vintaler: precise development for cutting (exact surface, unrounded)";

// The whole file as text. `libraryWriter` writes it through dxflib's own
// file writer, byte for byte the same but slower (kept for the tests).
std::string patternDxf(const fish::TFlatPattern& pattern, bool libraryWriter = false);
// The same text written from the pattern's walk, nothing of it held.
std::string patternDxf(const fish::TPatternWalk& walk);

// The file written atomically as the drawing is made: every write is checked,
// and a failure leaves no half file and keeps any previous one
// (fish::EFileError names the file and the reason).
void writePatternDxf(const std::string& path, const fish::TFlatPattern& pattern);
// The same from the pattern's walk: each piece, line and name is written as
// it is laid. The walk's errors leave no file, as a writing failure does.
void writePatternDxf(const std::string& path, const fish::TPatternWalk& walk);

}  // namespace vintaler::dxf

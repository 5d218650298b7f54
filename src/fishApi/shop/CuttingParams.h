// How the shop cuts the pattern: the choices that go with a project beside
// its sizes and its plate.
//
// The pattern for cutting is either the precise development (the exact
// surface unfolded without rounding: PreciseDevelopment.h), which is the
// default, or the development of the results tables, as they mark it out by
// hand (FishRazvertka.h). The results page and the pictures on screen always
// show the tables' development; the choice decides what the exports cut and
// what the figures measure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishTypes.h"
#include "PlateParams.h"
#include "Units.h"
#include "fishApi/precise/ExactSurface.h"

namespace fish {

// The values are the project file's codes.
enum class TPatternKind : std::uint8_t { Precise = 0, Table = 1 };

// Where a seam may run, in their order round the transition seen from the
// round end (counter-clockwise about Z): the middles of the sides at +X, +Y,
// -X and -Y, and between them the corners of quadrants 1 to 4, along the
// generator of that corner's fan nearest its bisector. The values are bit
// numbers of TCuttingParams::Seams and the project file's codes.
enum class TSeamAt : std::uint8_t { PlusX = 0, C1 = 1, PlusY = 2, C2 = 3, MinusX = 4, C3 = 5, MinusY = 6, C4 = 7 };
inline constexpr int kSeamPlaces = 8;

constexpr std::uint8_t seamBit(TSeamAt at) { return static_cast<std::uint8_t>(1u << static_cast<unsigned>(at)); }

// Today's two pieces: quadrants 1 and 2, and 3 and 4.
inline constexpr std::uint8_t kDefaultSeams = seamBit(TSeamAt::PlusX) | seamBit(TSeamAt::MinusX);

// How the bend lines are marked: drawn full length, or only as ticks of a
// set length at both ends, inside the outline, for parts that must not be
// scored across. The values are the project file's codes.
enum class TBendMarks : std::uint8_t { Full = 0, Ticks = 1 };
inline constexpr Extended kDefaultTickLength = 10;  // mm

// kAccuracyLimit (mm) in the unit.
constexpr Extended accuracyLimit(TUnits units) {
  return units == TUnits::Inches ? kAccuracyLimit / kMmPerInch : kAccuracyLimit;
}
// kDefaultTickLength (mm) in the unit.
constexpr Extended defaultTickLength(TUnits units) {
  return units == TUnits::Inches ? kDefaultTickLength / kMmPerInch : kDefaultTickLength;
}
// Cubic metres in a cubic unit: 1E-9 for mm.
constexpr Extended cubicMetresPerUnit(TUnits units) {
  return units == TUnits::Inches ? 0.0254L * 0.0254L * 0.0254L : 1e-9L;
}

struct TCuttingParams {
  TPatternKind Pattern = TPatternKind::Precise;
  // The seams, a bit per TSeamAt; n seams give n pieces.
  std::uint8_t Seams = kDefaultSeams;
  // The allowances for joining, mm: on every seam, for the edge of the piece
  // that ends there (first, counter-clockwise) and for the edge of the piece
  // that starts there (second); a flange at the rectangular end and a collar
  // at the round end.
  Extended SeamFirst = 0;
  Extended SeamSecond = 0;
  Extended RectAllowance = 0;
  Extended RoundAllowance = 0;
  TBendMarks BendMarks = TBendMarks::Full;
  Extended TickLength = kDefaultTickLength;
  // Each bend line carries the angle the brake bends it by (TPatternLine::
  // Angle), and the drawings write it beside the line where there is room.
  bool BendAngles = false;
  TUnits Units = TUnits::Millimetres;

  bool hasAllowances() const {
    return SeamFirst != 0 || SeamSecond != 0 || RectAllowance != 0 || RoundAllowance != 0;
  }
};

// Nothing chosen but the defaults: not worth storing.
bool isDefaultCutting(const TCuttingParams& cutting);

// Another unit for the same choices: a tick length still at its default
// becomes the new unit's default; every other length stays the number it is.
void setUnits(TCuttingParams& cutting, TUnits units);

// The unit's word as the texts write it after a number ("мм", "дюйм"), and
// of an area ("мм²", "дюйм²"), in the language chosen.
std::string unitWord(TUnits units);
std::string areaUnitWord(TUnits units);

// The names the command line and the JSON output use: "mm", "in".
std::string_view unitsKey(TUnits units);
bool unitsFromKey(std::string_view key, TUnits& out);

// "+x", "c1", "+y", "c2", "-x", "c3", "-y", "c4".
std::string_view seamKey(TSeamAt at);
// The seams as the command line writes them, "+x,-x", in ring order from +x.
std::string seamsText(std::uint8_t seams);

// The cutting choice a refusal is about, so that a form can point at it.
enum class TCuttingField : std::uint8_t { Seams, SeamAllowance, RectAllowance, RoundAllowance, TickLength };

class ECuttingError : public EFishError {
 public:
  explicit ECuttingError(TMessage message, TCuttingField field) : EFishError(std::move(message)), Field(field) {}
  TCuttingField Field;
};

// The seams of a list such as "+y" or "c1,c3" (spaces allowed round the
// names). ECuttingError for an empty list, an unknown name or a seam named
// twice.
std::uint8_t seamsFromText(std::string_view text);

// ECuttingError for no seam, a width that is negative or no finite number,
// or a tick length that is not a positive finite number.
void checkCutting(const TCuttingParams& cutting);

// The names the command line and the JSON output use: "precise", "table".
std::string_view patternKey(TPatternKind pattern);
bool patternFromKey(std::string_view key, TPatternKind& out);

// The names the user reads: "точная", "по таблицам" (in the language chosen).
std::string patternName(TPatternKind pattern);

// Quadrant 1..4 as the pattern of `pattern` cuts it, into `into` (its arrays
// reused): the surface it is laid from and its development with the box.
// The precise pattern's surface is the exact one (ExactSurface.h), and its
// SurfBox is left empty. Throws what that development throws.
void developCutting(TPatternKind pattern, const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                    TQuadrantDevelopment& into);

// The same of the sizes `sp` as given for a plate: the tables' pattern is of
// developedParams (every trace moved by t/2, as the results page says), the
// precise one of the plate's middle surface, t/2 from the faces along the
// plate's normal (faceOffsets). The plate is checked as developedParams
// checks it, for both, and a refusal says its size in `units`.
void developCutting(TPatternKind pattern, const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro,
                    std::uint16_t quadrant, TQuadrantDevelopment& into, TUnits units = TUnits::Millimetres);

// How far the plate's middle surface lies from the faces its sizes measure,
// outward positive (ExactSurface.h): t/2 from inside faces, -t/2 from
// outside ones, none from the middle.
TFaceOffsets faceOffsets(const TPlateParams& plate);

}  // namespace fish

// The plate the pattern is cut from: its thickness, which faces of the plate
// the project's sizes measure, and its material.
//
// A plate bent round a transition keeps the length of its middle layer (the
// neutral surface, half the thickness in from either face); its inner face is
// squeezed and its outer face stretched. The pattern is therefore developed
// from the neutral surface. Sizes measured on the inside faces grow to it,
// sizes measured on the outside faces shrink to it:
//
//   faces     rectangle sides    radius
//   inside    B + t, A + t       R + t/2
//   outside   B - t, A - t       R - t/2
//   mean      B, A               R
//
// L, X1 and Y1 are distances between the sections' centres and planes and
// are the same on every layer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishTypes.h"
#include "Units.h"

namespace fish {

// Which faces of the plate the given sizes measure. The values are the
// project file's codes.
enum class TFaces : std::uint8_t { Mean = 0, Inside = 1, Outside = 2 };

// The materials a shop cuts, with their densities, and a density typed in.
// The values are the project file's codes.
enum class TMaterial : std::uint8_t { Steel = 0, Stainless = 1, Aluminium = 2, Copper = 3, Galvanised = 4, Other = 5 };

struct TPlateParams {
  Extended Thickness = 0;  // t, in the project's unit
  TFaces RectFaces = TFaces::Mean;
  TFaces RoundFaces = TFaces::Mean;
  TMaterial Material = TMaterial::Steel;
  Extended Density = 7850;  // kg/m3; a named material's own density unless Other
};

// A plate that changes nothing and is not worth storing: no thickness, mean
// faces, steel at 7850 kg/m3.
bool isDefaultPlate(const TPlateParams& plate);

// Steel 7850, stainless steel 7900, aluminium 2700, copper 8940, galvanised
// steel 7850 kg/m3; Other has none (0).
Extended materialDensity(TMaterial material);

// The names the command line and the JSON output use: "steel", "stainless",
// "aluminium", "copper", "galvanised", "other"; "inside", "outside", "mean".
std::string_view materialKey(TMaterial material);
bool materialFromKey(std::string_view key, TMaterial& out);
std::string_view facesKey(TFaces faces);
bool facesFromKey(std::string_view key, TFaces& out);

// The names the user reads: "сталь", "нержавеющая сталь", "алюминий",
// "медь", "оцинкованная сталь", "другой"; "внутренние", "наружные", "средние".
// In the language chosen.
std::string materialName(TMaterial material);
std::string facesName(TFaces faces);

// The plate's value a refusal is about, so that a form can point at it.
enum class TPlateField : std::uint8_t { Thickness, Faces, Material, Density };

// A plate that cannot be used; the message says which value and why.
class EPlateError : public EFishError {
 public:
  explicit EPlateError(TMessage message, TPlateField field = TPlateField::Thickness)
      : EFishError(std::move(message)), Field(field) {}
  TPlateField Field;
};

// Throws EPlateError for a thickness that is negative or no finite number, a
// density below the smallest normal double (it would print as 0) or no finite
// number, a face or material code outside its list, or a named material whose
// density is not its own.
void checkPlate(const TPlateParams& plate);

// The sizes the pattern is developed from (table above). Checks the plate
// first; with t > 0 a side or radius that the faces move must stay above 0
// (a plate thicker than the section leaves no neutral surface), and so must
// the inner face of every side and of the radius (a side's inner face is t
// inside its neutral one, the radius's t/2), else EPlateError naming it. With
// t = 0 the records come back unchanged, bit for bit, whatever the faces say.
// A refusal says its size in `units`.
TSystemParams developedParams(const TSystemParams& sp, const TPlateParams& plate,
                              TUnits units = TUnits::Millimetres);

}  // namespace fish

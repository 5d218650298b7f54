#include "PlateParams.h"

#include <cmath>
#include <limits>

#include "fishApi/core/FishMath.h"
#include "fishApi/core/NumText.h"

namespace fish {

namespace {

struct MaterialRow {
  TMaterial material;
  const char* key;
  TMsgId name;
  Extended density;
  // The refusal of another density, a sentence of its own for each
  // material, so that it can be said again in another language whole.
  TMsgId otherDensity;
};

constexpr MaterialRow kMaterials[] = {
    {TMaterial::Steel, "steel", FISH_TR("shop", "сталь"), 7850,
     FISH_TR("shop", "Плотность материала «сталь» %1 кг/м3, а не %2")},
    {TMaterial::Stainless, "stainless", FISH_TR("shop", "нержавеющая сталь"), 7900,
     FISH_TR("shop", "Плотность материала «нержавеющая сталь» %1 кг/м3, а не %2")},
    {TMaterial::Aluminium, "aluminium", FISH_TR("shop", "алюминий"), 2700,
     FISH_TR("shop", "Плотность материала «алюминий» %1 кг/м3, а не %2")},
    {TMaterial::Copper, "copper", FISH_TR("shop", "медь"), 8940,
     FISH_TR("shop", "Плотность материала «медь» %1 кг/м3, а не %2")},
    {TMaterial::Galvanised, "galvanised", FISH_TR("shop", "оцинкованная сталь"), 7850,
     FISH_TR("shop", "Плотность материала «оцинкованная сталь» %1 кг/м3, а не %2")},
    {TMaterial::Other, "other", FISH_TR("shop", "другой"), 0, {}},
};

struct FacesRow {
  TFaces faces;
  const char* key;
  TMsgId name;
};

constexpr FacesRow kFaces[] = {
    {TFaces::Mean, "mean", FISH_TR("shop", "средние")},
    {TFaces::Inside, "inside", FISH_TR("shop", "внутренние")},
    {TFaces::Outside, "outside", FISH_TR("shop", "наружные")},
};

const MaterialRow* materialRow(TMaterial material) {
  for (const MaterialRow& row : kMaterials) {
    if (row.material == material) return &row;
  }
  return nullptr;
}

const FacesRow* facesRow(TFaces faces) {
  for (const FacesRow& row : kFaces) {
    if (row.faces == faces) return &row;
  }
  return nullptr;
}

bool finite(Extended v) { return isUsableExtended(v) && std::isfinite(v); }

std::string hundredths(Extended v) { return decimalText(v, 2, "."); }

// The neutral surface lies t/2 inside the outer face and t/2 outside the
// inner one; a side spans two faces (t in all), a radius one (t/2).
Extended toNeutral(Extended size, Extended shift, TFaces faces) {
  switch (faces) {
    case TFaces::Inside: return size + shift;
    case TFaces::Outside: return size - shift;
    case TFaces::Mean: break;
  }
  return size;
}

// The refusals of a size the plate leaves nothing of, a whole sentence for
// each size so that it can be said again in another language: none of its
// neutral surface, none of its inner face. %2 is the size there, %3 the unit.
struct SizeRefusals {
  TMsgId noNeutral;
  TMsgId noInner;
};
constexpr SizeRefusals kSideB = {
    FISH_TR("shop", "Толщина листа t=%1 не оставляет средней поверхности: сторона B по средней поверхности %2 %3"),
    FISH_TR("shop", "Толщина листа t=%1 слишком велика: сторона B по внутренней поверхности %2 %3")};
constexpr SizeRefusals kSideA = {
    FISH_TR("shop", "Толщина листа t=%1 не оставляет средней поверхности: сторона А по средней поверхности %2 %3"),
    FISH_TR("shop", "Толщина листа t=%1 слишком велика: сторона А по внутренней поверхности %2 %3")};
constexpr SizeRefusals kRadius = {
    FISH_TR("shop", "Толщина листа t=%1 не оставляет средней поверхности: радиус R по средней поверхности %2 %3"),
    FISH_TR("shop", "Толщина листа t=%1 слишком велика: радиус R по внутренней поверхности %2 %3")};

void checkNeutral(const SizeRefusals& size, Extended developed, TFaces faces, Extended t, TUnits units) {
  if (faces == TFaces::Mean || developed > 0) return;
  throw EPlateError(TMessage(size.noNeutral, {hundredths(t), hundredths(developed)}, {unitMessage(units)}));
}

// Every face of the plate must lie inside the section's outline: the inner
// face is the neutral size less t for a side (t/2 on either side), less t/2
// for the radius.
void checkInnerFace(const SizeRefusals& size, Extended developed, Extended shift, Extended t, TUnits units) {
  const Extended inner = developed - shift;
  if (inner > 0) return;
  throw EPlateError(TMessage(size.noInner, {hundredths(t), hundredths(inner)}, {unitMessage(units)}));
}

}  // namespace

bool isDefaultPlate(const TPlateParams& plate) {
  return plate.Thickness == 0 && plate.RectFaces == TFaces::Mean && plate.RoundFaces == TFaces::Mean &&
         plate.Material == TMaterial::Steel && plate.Density == 7850;
}

Extended materialDensity(TMaterial material) {
  const MaterialRow* row = materialRow(material);
  return row ? row->density : 0;
}

std::string_view materialKey(TMaterial material) {
  const MaterialRow* row = materialRow(material);
  return row ? row->key : "";
}

std::string materialName(TMaterial material) {
  const MaterialRow* row = materialRow(material);
  return row ? say(row->name) : "";
}

bool materialFromKey(std::string_view key, TMaterial& out) {
  for (const MaterialRow& row : kMaterials) {
    if (key == row.key) {
      out = row.material;
      return true;
    }
  }
  return false;
}

std::string_view facesKey(TFaces faces) {
  const FacesRow* row = facesRow(faces);
  return row ? row->key : "";
}

std::string facesName(TFaces faces) {
  const FacesRow* row = facesRow(faces);
  return row ? say(row->name) : "";
}

bool facesFromKey(std::string_view key, TFaces& out) {
  for (const FacesRow& row : kFaces) {
    if (key == row.key) {
      out = row.faces;
      return true;
    }
  }
  return false;
}

void checkPlate(const TPlateParams& plate) {
  if (!finite(plate.Thickness)) throw EPlateError(FISH_TR("shop", "Толщина листа должна быть числом"));
  if (plate.Thickness < 0) throw EPlateError(FISH_TR("shop", "Толщина листа не может быть отрицательной"));
  if (!facesRow(plate.RectFaces) || !facesRow(plate.RoundFaces))
    throw EPlateError(FISH_TR("shop", "Неизвестно, по каким поверхностям заданы размеры"), TPlateField::Faces);
  const MaterialRow* material = materialRow(plate.Material);
  if (!material) throw EPlateError(FISH_TR("shop", "Неизвестный материал"), TPlateField::Material);
  if (!finite(plate.Density) || plate.Density <= 0)
    throw EPlateError(FISH_TR("shop", "Плотность материала должна быть больше нуля"), TPlateField::Density);
  // Below the smallest normal double a density prints as 0 and the mass with it.
  if (plate.Density < std::numeric_limits<double>::min())
    throw EPlateError(FISH_TR("shop", "Плотность материала слишком мала"), TPlateField::Density);
  if (plate.Material != TMaterial::Other && plate.Density != material->density) {
    throw EPlateError(TMessage(material->otherDensity, {hundredths(material->density), hundredths(plate.Density)}),
                      TPlateField::Density);
  }
}

TSystemParams developedParams(const TSystemParams& sp, const TPlateParams& plate, TUnits units) {
  checkPlate(plate);
  const Extended t = plate.Thickness;
  if (t == 0) return sp;
  TSystemParams developed = sp;
  developed.B = checkFinite(toNeutral(sp.B, t, plate.RectFaces));
  developed.A = checkFinite(toNeutral(sp.A, t, plate.RectFaces));
  developed.R = checkFinite(toNeutral(sp.R, t * 0.5L, plate.RoundFaces));
  checkNeutral(kSideB, developed.B, plate.RectFaces, t, units);
  checkNeutral(kSideA, developed.A, plate.RectFaces, t, units);
  checkNeutral(kRadius, developed.R, plate.RoundFaces, t, units);
  checkInnerFace(kSideB, developed.B, t, t, units);
  checkInnerFace(kSideA, developed.A, t, t, units);
  checkInnerFace(kRadius, developed.R, t * 0.5L, t, units);
  return developed;
}

}  // namespace fish

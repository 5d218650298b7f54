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
  const char* name;
  Extended density;
};

constexpr MaterialRow kMaterials[] = {
    {TMaterial::Steel, "steel", "сталь", 7850},
    {TMaterial::Stainless, "stainless", "нержавеющая сталь", 7900},
    {TMaterial::Aluminium, "aluminium", "алюминий", 2700},
    {TMaterial::Copper, "copper", "медь", 8940},
    {TMaterial::Galvanised, "galvanised", "оцинкованная сталь", 7850},
    {TMaterial::Other, "other", "другой", 0},
};

struct FacesRow {
  TFaces faces;
  const char* key;
  const char* name;
};

constexpr FacesRow kFaces[] = {
    {TFaces::Mean, "mean", "средние"},
    {TFaces::Inside, "inside", "внутренние"},
    {TFaces::Outside, "outside", "наружные"},
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

void checkNeutral(const char* name, Extended developed, TFaces faces, Extended t) {
  if (faces == TFaces::Mean || developed > 0) return;
  throw EPlateError("Толщина листа t=" + hundredths(t) + " не оставляет средней поверхности: " + name +
                    " по средней поверхности " + hundredths(developed) + " мм");
}

// Every face of the plate must lie inside the section's outline: the inner
// face is the neutral size less t for a side (t/2 on either side), less t/2
// for the radius.
void checkInnerFace(const char* name, Extended developed, Extended shift, Extended t) {
  const Extended inner = developed - shift;
  if (inner > 0) return;
  throw EPlateError("Толщина листа t=" + hundredths(t) + " слишком велика: " + name + " по внутренней поверхности " +
                    hundredths(inner) + " мм");
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

std::string_view materialName(TMaterial material) {
  const MaterialRow* row = materialRow(material);
  return row ? row->name : "";
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

std::string_view facesName(TFaces faces) {
  const FacesRow* row = facesRow(faces);
  return row ? row->name : "";
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
  if (!finite(plate.Thickness)) throw EPlateError("Толщина листа должна быть числом");
  if (plate.Thickness < 0) throw EPlateError("Толщина листа не может быть отрицательной");
  if (!facesRow(plate.RectFaces) || !facesRow(plate.RoundFaces))
    throw EPlateError("Неизвестно, по каким поверхностям заданы размеры", TPlateField::Faces);
  const MaterialRow* material = materialRow(plate.Material);
  if (!material) throw EPlateError("Неизвестный материал", TPlateField::Material);
  if (!finite(plate.Density) || plate.Density <= 0)
    throw EPlateError("Плотность материала должна быть больше нуля", TPlateField::Density);
  // Below the smallest normal double a density prints as 0 and the mass with it.
  if (plate.Density < std::numeric_limits<double>::min())
    throw EPlateError("Плотность материала слишком мала", TPlateField::Density);
  if (plate.Material != TMaterial::Other && plate.Density != material->density) {
    throw EPlateError(std::string("Плотность материала «") + material->name + "» " + hundredths(material->density) +
                          " кг/м3, а не " + hundredths(plate.Density),
                      TPlateField::Density);
  }
}

TSystemParams developedParams(const TSystemParams& sp, const TPlateParams& plate) {
  checkPlate(plate);
  const Extended t = plate.Thickness;
  if (t == 0) return sp;
  TSystemParams developed = sp;
  developed.B = checkFinite(toNeutral(sp.B, t, plate.RectFaces));
  developed.A = checkFinite(toNeutral(sp.A, t, plate.RectFaces));
  developed.R = checkFinite(toNeutral(sp.R, t * 0.5L, plate.RoundFaces));
  checkNeutral("сторона B", developed.B, plate.RectFaces, t);
  checkNeutral("сторона А", developed.A, plate.RectFaces, t);
  checkNeutral("радиус R", developed.R, plate.RoundFaces, t);
  checkInnerFace("сторона B", developed.B, t, t);
  checkInnerFace("сторона А", developed.A, t, t);
  checkInnerFace("радиус R", developed.R, t * 0.5L, t);
  return developed;
}

}  // namespace fish

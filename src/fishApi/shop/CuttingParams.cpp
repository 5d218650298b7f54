#include "CuttingParams.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "fishApi/precise/ExactSurface.h"
#include "fishApi/precise/PreciseDevelopment.h"

namespace fish {

bool isDefaultCutting(const TCuttingParams& cutting) {
  return cutting.Pattern == TPatternKind::Precise && cutting.Seams == kDefaultSeams && !cutting.hasAllowances() &&
         cutting.BendMarks == TBendMarks::Full && cutting.TickLength == kDefaultTickLength && !cutting.BendAngles &&
         cutting.Units == TUnits::Millimetres;
}

void setUnits(TCuttingParams& cutting, TUnits units) {
  if (cutting.TickLength == defaultTickLength(cutting.Units)) cutting.TickLength = defaultTickLength(units);
  cutting.Units = units;
}

std::string unitWord(TUnits units) { return unitMessage(units).text(); }

std::string areaUnitWord(TUnits units) {
  return say(units == TUnits::Inches ? FISH_TR("units", "дюйм²") : FISH_TR("units", "мм²"));
}

std::string_view unitsKey(TUnits units) { return units == TUnits::Inches ? "in" : "mm"; }

bool unitsFromKey(std::string_view key, TUnits& out) {
  for (const TUnits u : {TUnits::Millimetres, TUnits::Inches}) {
    if (key == unitsKey(u)) {
      out = u;
      return true;
    }
  }
  return false;
}

std::string_view seamKey(TSeamAt at) {
  static constexpr std::string_view kKeys[kSeamPlaces] = {"+x", "c1", "+y", "c2", "-x", "c3", "-y", "c4"};
  return kKeys[static_cast<std::size_t>(at) % kSeamPlaces];
}

std::string seamsText(std::uint8_t seams) {
  std::string text;
  for (int i = 0; i < kSeamPlaces; ++i) {
    const auto at = static_cast<TSeamAt>(i);
    if (!(seams & seamBit(at))) continue;
    if (!text.empty()) text += ",";
    text += seamKey(at);
  }
  return text;
}

std::uint8_t seamsFromText(std::string_view text) {
  const auto refuse = [](TMessage why) { throw ECuttingError(std::move(why), TCuttingField::Seams); };
  std::uint8_t seams = 0;
  std::size_t from = 0;
  while (from <= text.size()) {
    const std::size_t comma = std::min(text.find(',', from), text.size());
    std::string_view name = text.substr(from, comma - from);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    int found = -1;
    for (int i = 0; i < kSeamPlaces; ++i) {
      if (name == seamKey(static_cast<TSeamAt>(i))) found = i;
    }
    if (found < 0) {
      refuse(TMessage(FISH_TR("shop", "Швы: \"%1\" — нет такого места шва (допустимы +x, -x, +y, -y, c1, c2, c3, c4)"),
                      {name}));
    }
    const std::uint8_t bit = seamBit(static_cast<TSeamAt>(found));
    if (seams & bit) refuse(TMessage(FISH_TR("shop", "Швы: шов %1 назван дважды"), {name}));
    seams = static_cast<std::uint8_t>(seams | bit);
    from = comma + 1;
  }
  return seams;
}

void checkCutting(const TCuttingParams& cutting) {
  if (cutting.Seams == 0) throw ECuttingError(FISH_TR("shop", "Швы: нужен хотя бы один шов"), TCuttingField::Seams);
  const std::pair<Extended, TCuttingField> widths[] = {{cutting.SeamFirst, TCuttingField::SeamAllowance},
                                                       {cutting.SeamSecond, TCuttingField::SeamAllowance},
                                                       {cutting.RectAllowance, TCuttingField::RectAllowance},
                                                       {cutting.RoundAllowance, TCuttingField::RoundAllowance}};
  static constexpr TMsgId kRefusals[] = {
      {}, FISH_TR("shop", "Припуск на шов: ширина должна быть неотрицательным числом, %1"),
      FISH_TR("shop", "Припуск у прямоугольного конца: ширина должна быть неотрицательным числом, %1"),
      FISH_TR("shop", "Припуск у круглого конца: ширина должна быть неотрицательным числом, %1")};
  if (!(cutting.TickLength > 0) || !std::isfinite(cutting.TickLength)) {
    throw ECuttingError(TMessage(FISH_TR("shop", "Засечки линий гиба: длина должна быть положительным числом, %1"),
                                 {}, {unitMessage(cutting.Units)}),
                        TCuttingField::TickLength);
  }
  for (const auto& [width, field] : widths) {
    if (!(width >= 0) || !std::isfinite(width)) {
      throw ECuttingError(TMessage(kRefusals[static_cast<int>(field)], {}, {unitMessage(cutting.Units)}), field);
    }
  }
}

std::string_view patternKey(TPatternKind pattern) { return pattern == TPatternKind::Table ? "table" : "precise"; }

bool patternFromKey(std::string_view key, TPatternKind& out) {
  for (const TPatternKind p : {TPatternKind::Precise, TPatternKind::Table}) {
    if (key == patternKey(p)) {
      out = p;
      return true;
    }
  }
  return false;
}

std::string patternName(TPatternKind pattern) {
  return say(pattern == TPatternKind::Table ? FISH_TR("shop", "по таблицам") : FISH_TR("shop", "точная"));
}

void developCutting(TPatternKind pattern, const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                    TQuadrantDevelopment& into) {
  if (pattern == TPatternKind::Table) {
    developQuadrantInto(sp, pro, quadrant, into);
    return;
  }
  developPreciseInto(sp, pro, quadrant, into.Razvertka, into.Surf, into.Min, into.Max);
  into.SurfBox = TExtents3D{};
}

TFaceOffsets faceOffsets(const TPlateParams& plate) {
  const auto side = [&plate](TFaces faces) {
    return faces == TFaces::Inside ? plate.Thickness / 2 : faces == TFaces::Outside ? -plate.Thickness / 2 : 0;
  };
  return {side(plate.RectFaces), side(plate.RoundFaces)};
}

void developCutting(TPatternKind pattern, const TSystemParams& sp, const TPlateParams& plate, const TProParams& pro,
                    std::uint16_t quadrant, TQuadrantDevelopment& into, TUnits units) {
  const TSystemParams developed = developedParams(sp, plate, units);
  if (pattern == TPatternKind::Table || plate.Thickness == 0) {
    developCutting(pattern, developed, pro, quadrant, into);
    return;
  }
  const TFaceOffsets offsets = faceOffsets(plate);
  developPreciseInto(sp, pro, quadrant, into.Razvertka, into.Surf, into.Min, into.Max, offsets);
  into.SurfBox = TExtents3D{};
}

}  // namespace fish

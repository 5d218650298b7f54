#include "InputExplain.h"

#include <cmath>
#include <limits>
#include <string>

#include "FishErrors.h"
#include "FishMath.h"
#include "FishRazvertka.h"
#include "FishSurface.h"
#include "NumText.h"

namespace fish {

namespace {

struct TField {
  TInput Input;
  Extended Value;
};

// A number as the explanation writes it; a value that has no text (a damaged
// file's) is written as a question mark rather than failing again.
std::string num(Extended v, std::string_view sep) {
  if (!isUsableExtended(v)) return "?";
  return floatToText(v, sep);
}

std::string hundredths(Extended v, std::string_view sep) {
  if (!isUsableExtended(v) || !(std::fabs(v) < kLargestCoordinate)) return num(v, sep);
  return decimalText(v, 2, sep);
}

TExplanation blame(std::initializer_list<TInput> inputs, TMessage message) {
  return TExplanation{std::vector<TInput>(inputs), std::move(message)};
}

// The size that reaches farthest across the rectangle's plane: the half
// sides and the offsets set how long the development's triangles are, L and
// R how far apart their points stand.
TField widest(const TSystemParams& sp) {
  TField best{TInput::B, std::fabs(sp.B) * 0.5L};
  for (const TField f : {TField{TInput::A, std::fabs(sp.A) * 0.5L}, TField{TInput::X1, std::fabs(sp.X1)},
                         TField{TInput::Y1, std::fabs(sp.Y1)}}) {
    if (f.Value > best.Value) best = f;
  }
  return best;
}

Extended valueOf(const TSystemParams& sp, TInput input) {
  switch (input) {
    case TInput::B: return sp.B;
    case TInput::A: return sp.A;
    case TInput::L: return sp.L;
    case TInput::R: return sp.R;
    case TInput::X1: return sp.X1;
    case TInput::Y1: return sp.Y1;
    default: return 0;
  }
}

// The sizes each on its own: a value the rounding of a coordinate cannot hold.
TExplanation explainSizes(const TSystemParams& sp, std::string_view sep) {
  const TField fields[] = {{TInput::B, sp.B}, {TInput::A, sp.A},   {TInput::L, sp.L},
                           {TInput::R, sp.R}, {TInput::X1, sp.X1}, {TInput::Y1, sp.Y1}};
  for (const TField& f : fields) {
    if (!isUsableExtended(f.Value)) {
      return blame({f.Input}, TMessage(FISH_TR("explain", "%1 не является конечным числом: такое значение бывает "
                                                          "только в поврежденном файле проекта"),
                                       {inputName(f.Input)}));
    }
  }
  for (const TField& f : fields) {
    // The half sides stand on the rectangle; the others are coordinates.
    const bool side = f.Input == TInput::B || f.Input == TInput::A;
    const Extended reach = side ? std::fabs(f.Value) * 0.5L : std::fabs(f.Value);
    if (reach >= kLargestCoordinate) {
      const Extended allowed = side ? kLargestCoordinate * 2 : kLargestCoordinate;
      return blame({f.Input}, TMessage(FISH_TR("explain", "%1 = %2 слишком велико: допустимы значения по модулю "
                                                          "до %3"),
                                       {inputName(f.Input), num(f.Value, sep), num(allowed, sep)}));
    }
  }
  // The circle's points lie up to R away from its offset centre.
  for (const TField& f : {TField{TInput::X1, sp.X1}, TField{TInput::Y1, sp.Y1}}) {
    const Extended reach = std::fabs(f.Value) + std::fabs(sp.R);
    if (reach >= kLargestCoordinate) {
      return blame({f.Input, TInput::R},
                   TMessage(FISH_TR("explain", "Круглое сечение выходит за допустимые координаты: |%1| + R = %2, "
                                               "допустимо до %3; уменьшите %1 или R"),
                            {inputName(f.Input), num(reach, sep), num(kLargestCoordinate, sep)}));
    }
  }
  return {};
}

// The triangle of `quadrant` where its development stopped after handing on
// `laid` elements, told by the inputs that make it degenerate.
TExplanation explainTriangle(const TSystemParams& sp, const TProParams& pro, int quadrant, std::size_t laid,
                             std::string_view sep) {
  TExtents3D box;
  TSurf2PointArray surf;
  try {
    CalcSurfQuadrant(sp, pro, static_cast<std::uint16_t>(quadrant), box, surf);
  } catch (const EFishError&) {
    return blame({}, TMessage(FISH_TR("explain", "Квадрант %1 не рассчитывается при этих размерах"),
                              {std::to_string(quadrant)}));
  }
  const std::size_t m = surf.size() - 1;
  const std::string q = std::to_string(quadrant);
  const TField wide = widest(sp);
  const std::string wideName = inputName(wide.Input);
  const std::string wideValue = num(valueOf(sp, wide.Input), sep);
  if (laid == 0) {
    // The seam from the Y-side midpoint is laid by the angle whose sine is
    // X1 over its length: the offset cannot be longer than the line.
    const Extended d0 = Distance3D(surf[0].P1, surf[0].P2);
    return blame({TInput::X1, TInput::L},
                 TMessage(FISH_TR("explain", "Смещение X1 = %1 не меньше длины линии шва от середины стороны A до "
                                             "окружности (%2): увеличьте L или уменьшите X1"),
                          {num(sp.X1, sep), hundredths(d0, sep)}));
  }
  if (laid > 1 && laid < m && laid + 1 < surf.size()) {
    const Extended chord = Distance3D(surf[laid - 1].P2, surf[laid].P2);
    const Extended side = Distance3D(surf[laid].P1, surf[laid].P2);
    return blame({TInput::Divisions, wide.Input},
                 TMessage(FISH_TR("explain", "Квадрант %1: шаг по окружности между соседними делениями (%2) слишком "
                                             "мал рядом с расстоянием от угла прямоугольника до окружности (%3), "
                                             "треугольники развертки вырождаются; уменьшите число делений (%4) "
                                             "или %5 = %6"),
                          {q, hundredths(chord, sep), hundredths(side, sep), std::to_string(pro.Divisions), wideName,
                           wideValue}));
  }
  // A plane triangle: the corner, a side's midpoint and the circle's end.
  const TSurf2Point& e = laid <= 1 ? surf[0] : surf[m];
  const TPoint3D& corner = surf[1].P1;
  return blame({wide.Input, TInput::L},
               TMessage(FISH_TR("explain", "Квадрант %1: треугольник между углом прямоугольника, серединой его стороны "
                                           "и окружностью вырождается в отрезок (стороны %2, %3 и %4 при точках, "
                                           "округленных до 0,01): %5 = %6 слишком велико при L = %7 и R = %8"),
                        {q, hundredths(Distance3D(e.P1, corner), sep), hundredths(Distance3D(corner, e.P2), sep),
                         hundredths(Distance3D(e.P1, e.P2), sep), wideName, wideValue, num(sp.L, sep),
                         num(sp.R, sep)}));
}

}  // namespace

const char* inputName(TInput input) {
  static const char* const names[] = {"B",     "A",     "L",     "R",     "X1",    "Y1",   "divisions",
                                      "X min", "X max", "Y min", "Y max", "Z min", "Z max"};
  return names[static_cast<std::size_t>(input)];
}

TExplanation explainParams(const TSystemParams& sp, const TProParams& pro, std::string_view sep) {
  if (pro.Divisions < 1 || pro.Divisions > kMaxDivisions) {
    return blame({TInput::Divisions}, TMessage(FISH_TR("explain", "Число делений %1 недопустимо: нужно от 1 до %2"),
                                               {std::to_string(pro.Divisions), std::to_string(kMaxDivisions)}));
  }
  if (TExplanation e = explainSizes(sp, sep); !e.empty()) return e;
  for (int quadrant = 1; quadrant <= 4; ++quadrant) {
    std::size_t laid = 0;
    TPoint2D min, max;
    try {
      developQuadrantElements(sp, pro, static_cast<std::uint16_t>(quadrant),
                              [&laid](std::size_t, const TRazvertka2Point&) { ++laid; }, min, max);
    } catch (const EFishError&) {
      return explainTriangle(sp, pro, quadrant, laid, sep);
    }
  }
  // The tables develop a circle shrunk to a point, but the pattern's
  // accuracy is measured by the curvature of its arc, which then has none.
  if (sp.R == 0) {
    return blame({TInput::R}, TMessage(FISH_TR("explain", "Радиус R = 0: круглое сечение стянуто в точку, и точность "
                                                          "развертки по его дуге не определена; задайте R больше 0")));
  }
  return {};
}

TExplanation explainView(const std::array<Extended, 6>& b, bool threeD, std::int32_t width, std::int32_t height,
                         const TExtents2D* drawn, std::string_view sep) {
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (!isUsableExtended(b[i])) {
      const TInput input = static_cast<TInput>(static_cast<std::size_t>(TInput::MinX) + i);
      return blame({input}, TMessage(FISH_TR("explain", "Окно рисования: %1 не является конечным числом"),
                                     {inputName(input)}));
    }
  }
  // A zero X span is no error: every point maps to the left edge.
  if (b[1] == b[0]) return {};
  const auto axis = [&](std::size_t lo, std::size_t hi) -> TExplanation {
    const TInput low = static_cast<TInput>(static_cast<std::size_t>(TInput::MinX) + lo);
    const TInput high = static_cast<TInput>(static_cast<std::size_t>(TInput::MinX) + hi);
    if (b[hi] == b[lo]) {
      return blame({high, low}, TMessage(FISH_TR("explain", "Окно рисования: %1 и %2 совпадают (%3), так что окно "
                                                            "не имеет размера по этой оси"),
                                         {inputName(low), inputName(high), num(b[lo], sep)}));
    }
    if (std::isinf(b[hi] - b[lo])) {
      return blame({high, low}, TMessage(FISH_TR("explain", "Окно рисования: от %1 = %2 до %3 = %4 слишком далеко, "
                                                            "такой размер окна не представим числом"),
                                         {inputName(low), num(b[lo], sep), inputName(high), num(b[hi], sep)}));
    }
    return {};
  };
  if (threeD) {
    if (TExplanation e = axis(4, 5); !e.empty()) return e;
  }
  for (std::size_t lo : {0u, 2u}) {
    if (TExplanation e = axis(lo, lo + 1); !e.empty()) return e;
  }
  if (!drawn || threeD) return {};
  // The plane mapping of the drawing's corners: the farthest pixel of a box
  // is at one of them.
  const Extended m = width > height ? height : width;
  const Extended scaleX = m / (b[1] - b[0]);
  const Extended scaleY = m / (b[3] - b[2]);
  constexpr Extended kLargestPixel = std::numeric_limits<std::int32_t>::max();
  for (const TPoint2D p : {TPoint2D{drawn->MinX, drawn->MinY}, TPoint2D{drawn->MaxX, drawn->MaxY}}) {
    const Extended column = (p.X - b[0]) * scaleX;
    const Extended row = height - (p.Y - b[2]) * scaleY;
    if (!(std::fabs(column) < kLargestPixel && std::fabs(row) < kLargestPixel)) {
      return blame({TInput::MinX, TInput::MaxX, TInput::MinY, TInput::MaxY},
                   TMessage(FISH_TR("explain", "Окно рисования слишком мало для чертежа: точка (%1; %2) легла бы "
                                               "за %3 пикселей от окна, допустимо до %4; расширьте окно"),
                            {num(p.X, sep), num(p.Y, sep),
                             num(std::roundl(std::fmax(std::fabs(column), std::fabs(row))), sep),
                             num(kLargestPixel, sep)}));
    }
  }
  return {};
}

}  // namespace fish

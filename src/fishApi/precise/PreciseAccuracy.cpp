#include "PreciseAccuracy.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "PreciseDevelopment.h"
#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishSurface.h"
#include "fishApi/core/NumText.h"

namespace fish {

namespace {

// ---- Chord error ------------------------------------------------------------
//
// Between two neighbouring generators the surface is a cone with its apex at
// the rectangle's corner C, and the circle runs across it. Unfolding keeps
// the geodesic curvature of a curve, so the developed round end bends as much
// as the circle bends within the cone's surface: k_g = k (N . b), where
// k = 1/|R| is the circle's curvature, N its principal normal (towards the
// centre) and b the unit vector in the cone's tangent plane across the
// circle. Put the circle point at P = O + R e(t), e = (cos t, sin t, 0), the
// generator g = P - C, p = O - C projected on the circle's plane and
// h = L (the height of the circle above the corner). Then
//   |g|^2 - (g . e')^2 = (R + p . e)^2 + h^2,   N . g = -sign(R) (R + p . e),
// and with w = R + p . e
//   k_g = |w| / (|R| sqrt(w^2 + h^2)),
// which grows with |w|. On a quarter arc |w| is largest at an end of the arc
// or where e is parallel to p, so the largest k_g of a quadrant, K, comes
// from at most four values of w, without searching the arc.
//
// A plane curve of length l whose curvature is at most K stands off the chord
// between its ends by at most K l^2 / 8: its distance d(s) from the chord's
// line, by arc length, has |d''| <= K and d = 0 at both ends, so
// |d(s)| <= K s (l - s) / 2. The developed arc between two neighbouring
// points is as long as the circle's, l = |R| (pi/2) / n, so
//   chord error = K R^2 (pi/2)^2 / (8 n^2),
// an upper bound, and a close one: the curve of a step where k_g is largest
// is nearly a circular arc, whose sagitta is K l^2 / 8 (1 - (K l)^2 / 48 ...).
//
// The pattern, though, lays each step as the plane triangle of its two
// generators, turned by their chord angle, which falls short of the cone's
// angle between them by a part of order (pi/2 / n)^2. The round end of a step
// unfolded about the corner into that triangle's plane (each circle point at
// its distance from the corner, turned by its angle from the step's first
// generator) therefore stands off the chord by the cone's figure times
// 1 + c (pi/2 / n)^2; c was found below 0.11 over hundreds of random pieces
// and every count, and 1/4 is taken. A count the figure passes passes.

// The chord error of quadrant `q` with n = 1: that of n divisions is this
// divided by n^2, times the triangle's margin.
Extended chordErrorOfOneStep(const TSystemParams& sp, int q) {
  const TQuadrantSetup setup = quadrantSetup(static_cast<std::uint16_t>(q));
  const TPoint3D corner = RectPoint(sp, setup.CornerRect);
  const Extended px = sp.X1 - corner.X;
  const Extended py = sp.Y1 - corner.Y;
  const Extended h = sp.L - corner.Z;
  // The quadrant's arc runs between the axis directions (cs, 0) and (0, ss).
  const int cs = q == 1 || q == 4 ? 1 : -1;
  const int ss = q <= 2 ? 1 : -1;
  const Extended rho = std::sqrt(px * px + py * py);
  Extended w = std::max(std::fabs(sp.R + cs * px), std::fabs(sp.R + ss * py));
  if (cs * px >= 0 && ss * py >= 0) w = std::max(w, std::fabs(sp.R + rho));  // e = p / |p| on the arc
  if (cs * px <= 0 && ss * py <= 0) w = std::max(w, std::fabs(sp.R - rho));  // e = -p / |p| on the arc
  if (w == 0) return 0;  // the circle shrunk to the corner's plumb line
  const Extended quarter = std::fabs(sp.R) * kPi_2;
  return checkFinite(quarter * quarter * w / (8 * std::fabs(sp.R) * std::sqrt(w * w + h * h)));
}

Extended chordErrorOfOneStep(const TSystemParams& sp) {
  checkSystemParams(sp);
  Extended worst = 0;
  for (int q = 1; q <= 4; ++q) worst = std::max(worst, chordErrorOfOneStep(sp, q));
  return worst;
}

Extended chordErrorAt(Extended oneStep, std::int32_t n) {
  const Extended steps = static_cast<Extended>(n);
  const Extended step = kPi_2 / steps;
  return oneStep / (steps * steps) * (1 + step * step / 4);
}

// ---- The tables' points -----------------------------------------------------

// Both developments of the four quadrants walked side by side, element by
// element, nothing kept: the tables' pushed to a callback, the precise one
// pulled along with it. A search that only asks whether a count passes stops
// at the first quadrant above `enough`.
Extended squaredOff(const TRazvertka2Point& t, const TRazvertka2Point& p) {
  const auto off = [](const TPoint2D& a, const TPoint2D& b) {
    const Extended dx = a.X - b.X;
    const Extended dy = a.Y - b.Y;
    return dx * dx + dy * dy;
  };
  return std::max(off(t.P1, p.P1), off(t.P2, p.P2));
}

struct TBothPatterns {
  Extended worstPointError(const TSystemParams& sp, const TProParams& pro,
                           Extended enough = std::numeric_limits<Extended>::infinity()) {
    Extended worst = 0;
    for (std::uint16_t q = 1; q <= 4 && worst <= enough; ++q) {
      TPreciseStream precise(sp, pro, q);
      Extended squared = 0;
      TPoint2D min, max;
      developQuadrantElements(
          sp, pro, q,
          [&](std::size_t, const TRazvertka2Point& t) { squared = std::max(squared, squaredOff(t, precise.next())); },
          min, max);
      worst = std::max(worst, std::sqrt(squared));
    }
    return checkFinite(worst);
  }
};

}  // namespace

Extended chordError(const TSystemParams& sp, std::int32_t divisions) {
  checkDivisions(divisions);
  if (divisions == 0) throw EZeroDivide();
  return chordErrorAt(chordErrorOfOneStep(sp), divisions);
}

std::int32_t chordDivisions(const TSystemParams& sp, Extended limit) {
  const Extended oneStep = chordErrorOfOneStep(sp);
  // About n^2 >= oneStep / limit; the triangle's margin and the rounding of
  // the root are settled by stepping from there.
  const Extended root = std::ceil(std::sqrt(oneStep / limit));
  if (!(root <= kMaxDivisions)) return 0;
  std::int32_t n = std::max<std::int32_t>(1, static_cast<std::int32_t>(root));
  while (n > 1 && chordErrorAt(oneStep, n - 1) <= limit) --n;
  while (n <= kMaxDivisions && chordErrorAt(oneStep, n) > limit) ++n;
  return n <= kMaxDivisions ? n : 0;
}

Extended tablePointError(const TSystemParams& sp, const TProParams& pro) {
  TBothPatterns both;
  return both.worstPointError(sp, pro);
}

bool TPatternAccuracy::preciseExceedsLimit() const { return ChordError > Limit; }

bool TPatternAccuracy::tableExceedsLimit() const { return std::max(ChordError, MaxPointError) > Limit; }

// The tables' error comes from their rounding: the circle's directions to
// thousandths, which does not shrink with the divisions, and every length to
// hundredths, whose error in the angles at the corner adds up over the
// steps, so that past a few hundred divisions it only grows. A count below
// ChordDivisions fails on its chords. The counts from ChordDivisions up are
// therefore searched, kTableSearchCounts of them, nearest to the project's
// own count first (the smaller of two as near), each developed both ways;
// the error is not smooth in the count (each count rounds other
// directions), so every count is tried.
TPatternAccuracy chordAccuracy(const TSystemParams& sp, const TProParams& pro, Extended limit) {
  TPatternAccuracy a;
  a.Limit = limit;
  a.Divisions = pro.Divisions;
  a.ChordError = chordError(sp, pro.Divisions);
  a.ChordDivisions = chordDivisions(sp, limit);
  return a;
}

Extended quadrantPointError(const TSystemParams& sp, const TProParams& pro, std::uint16_t quadrant,
                            const TRazvertka2PointArray& given, bool givenIsTables) {
  Extended squared = 0;
  std::size_t k = 0;
  const auto next = [&given, &k]() -> const TRazvertka2Point& {
    if (k >= given.size()) throw ERangeError();
    return given[k++];
  };
  if (givenIsTables) {
    TPreciseStream precise(sp, pro, quadrant);
    for (std::size_t e = 0; e < precise.size(); ++e) squared = std::max(squared, squaredOff(next(), precise.next()));
  } else {
    TPoint2D min, max;
    developQuadrantElements(
        sp, pro, quadrant,
        [&](std::size_t, const TRazvertka2Point& t) { squared = std::max(squared, squaredOff(t, next())); }, min,
        max);
  }
  if (k != given.size()) throw ERangeError();
  return std::sqrt(squared);
}

TPatternAccuracy patternAccuracy(const TSystemParams& sp, const TProParams& pro, bool adviseTables, Extended limit) {
  TBothPatterns both;
  return patternAccuracy(sp, pro, both.worstPointError(sp, pro), adviseTables, limit);
}

TPatternAccuracy patternAccuracy(const TSystemParams& sp, const TProParams& pro, Extended pointError,
                                 bool adviseTables, Extended limit) {
  TBothPatterns both;
  pointError = checkFinite(pointError);
  TPatternAccuracy a = chordAccuracy(sp, pro, limit);
  a.MaxPointError = pointError;
  if (!adviseTables) return a;
  if (!a.tableExceedsLimit()) {
    a.TableDivisions = a.Divisions;
    return a;
  }
  if (a.ChordDivisions == 0) return a;
  const std::int32_t first = a.ChordDivisions;
  const std::int32_t last =
      static_cast<std::int32_t>(std::min<std::int64_t>(kMaxDivisions, std::int64_t{first} + kTableSearchCounts - 1));
  a.TableSearchedTo = last;
  const std::int32_t own = std::clamp(a.Divisions, first, last);
  TProParams trial = pro;
  const auto passes = [&](std::int32_t n) {
    trial.Divisions = n;
    try {
      return both.worstPointError(sp, trial, limit) <= limit;
    } catch (const EFishError&) {
      return false;  // the tables cannot lay this count at all
    }
  };
  for (std::int32_t away = 0; own - away >= first || own + away <= last; ++away) {
    for (const std::int32_t n : {own - away, own + away}) {
      if (n < first || n > last || n == a.Divisions) continue;
      if (passes(n)) {
        a.TableDivisions = n;
        return a;
      }
      if (away == 0) break;  // own - 0 and own + 0 are one count
    }
  }
  return a;
}

namespace {

// The word after the lengths: the caller's, or millimetres.
std::string unitOr(std::string_view unit) {
  return unit.empty() ? say(FISH_TR("units", "мм")) : std::string(unit);
}

}  // namespace

std::string preciseAccuracyWarning(const TPatternAccuracy& a, std::string_view sep, std::string_view unitWord) {
  if (!a.preciseExceedsLimit()) return {};
  const std::string error = decimalText(a.ChordError, 2, sep), limit = decimalText(a.Limit, 2, sep);
  const std::string unit = unitOr(unitWord);
  if (a.ChordDivisions == 0) {
    return say(FISH_TR("accuracy", "Внимание: хорды точной развертки отходят от кривой на %1 %3 (допустимо %2 %3): "
                                   "такой точности не дает ни одно допустимое число разбиений"),
               {error, limit, unit});
  }
  return say(FISH_TR("accuracy", "Внимание: хорды точной развертки отходят от кривой на %1 %4 (допустимо %2 %4): "
                                 "задайте не менее %3 разбиений"),
             {error, limit, std::to_string(a.ChordDivisions), unit});
}

std::string tableAccuracyWarning(const TPatternAccuracy& a, std::string_view sep, std::string_view unitWord) {
  if (!a.tableExceedsLimit()) return {};
  const std::string error = decimalText(std::max(a.ChordError, a.MaxPointError), 2, sep);
  const std::string limit = decimalText(a.Limit, 2, sep);
  const std::string unit = unitOr(unitWord);
  if (a.TableDivisions != 0) {
    return say(FISH_TR("accuracy", "Внимание: развертка по таблицам отклоняется от точной на %1 %4 (допустимо %2 %4): "
                                   "задайте число разбиений %3"),
               {error, limit, std::to_string(a.TableDivisions), unit});
  }
  if (a.TableSearchedTo == 0) {
    return say(FISH_TR("accuracy", "Внимание: развертка по таблицам отклоняется от точной на %1 %3 (допустимо %2 %3): "
                                   "режьте по точной развертке"),
               {error, limit, unit});
  }
  return say(FISH_TR("accuracy", "Внимание: развертка по таблицам отклоняется от точной на %1 %5 (допустимо %2 %5): "
                                 "ни одно число разбиений от %3 до %4 не дает такой точности, режьте по точной развертке"),
             {error, limit, std::to_string(a.ChordDivisions), std::to_string(a.TableSearchedTo), unit});
}

}  // namespace fish

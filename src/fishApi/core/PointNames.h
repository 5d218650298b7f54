// The named points of a developed quadrant's outline, in the one order and
// with the one set of names that the results tables, the drawings' labels,
// the figures page and the JSON output all use. Quadrants 1 and 4 (the right
// half) and 2 and 3 (the left half) name them differently:
//
//   row     point                          right   left    held by
//   0       the arc start                  T1      T1      element 0, far end
//   1       the arc end                    T2      T7      element n+1, far end
//   2       the X-side midpoint            T3      T6      element n+2, far end
//   3       the corner                     T4      T5      element 1, near end
//   j+2     intermediate arc point j       R(j-1)  L(j-1)  element j, far end (j = 2 .. n)
//           the development's origin       O       O       (the Y-side midpoint, no row)
//
// A new point of the outline is added in outlinePoint(), outlinePointCount()
// and outlinePointOfElement() and reaches every user from there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FishTypes.h"

namespace fish {

inline constexpr const char* kOriginName = "O";

// A named outline point and where the development of its quadrant holds it:
// the near (P1) or far (P2) end of element `Element`.
struct TOutlinePoint {
  std::string Name;
  std::size_t Element = 0;
  bool NearEnd = false;
};

// The number of named outline points (table rows) of a quadrant with
// `divisions` divisions. ERangeError for a count below 1.
std::size_t outlinePointCount(std::int32_t divisions);

// The outline point of row `row` (0 .. outlinePointCount - 1). ERangeError for
// a row or quadrant outside its range.
TOutlinePoint outlinePoint(int quadrant, std::int32_t divisions, std::size_t row);

// The outline point that development element `element` holds (each holds
// one): its row and its end, for a caller that takes the elements as they
// are laid. ERangeError past the last element.
struct TElementPoint {
  std::size_t Row = 0;
  bool NearEnd = false;
};
TElementPoint outlinePointOfElement(std::int32_t divisions, std::size_t element);

// A named point where it lies on the developed quadrant.
struct TNamedPoint {
  std::string Name;
  TPoint2D At;
};

// Every named outline point of a developed quadrant (`d` as laid, n + 3
// elements for n divisions), in row order.
std::vector<TNamedPoint> namedOutlinePoints(const TRazvertka2PointArray& d, int quadrant);

// The rows of particular points, for users that name a line by its ends.
inline constexpr std::size_t kSideMidpointRow = 2;
inline constexpr std::size_t kCornerRow = 3;
// Arc point 1 .. n+1: the circle point of development element `arcPoint`
// (1 is T1, n+1 the arc end). ERangeError outside that range.
std::size_t arcPointRow(std::int32_t divisions, std::int32_t arcPoint);

// The names of those points (outlinePoint(...).Name).
std::string arcPointName(int quadrant, std::int32_t divisions, std::int32_t arcPoint);
std::string sideMidpointName(int quadrant);
std::string cornerName(int quadrant);

// The named ends of generator line `element` (0 .. n+2): element 0 runs from
// the origin to T1, element k = 1 .. n+1 from the corner to arc point k, and
// element n+2 from the X-side midpoint to the arc end.
struct TLineEnds {
  std::string From, To;
};
TLineEnds generatorEnds(int quadrant, std::int32_t divisions, std::size_t element);

}  // namespace fish

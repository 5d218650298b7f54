#include "PointNames.h"

#include "FishErrors.h"

namespace fish {

namespace {

bool rightHand(int quadrant) {
  if (quadrant < 1 || quadrant > 4) throw ERangeError();
  return quadrant == 1 || quadrant == 4;
}

}  // namespace

std::size_t outlinePointCount(std::int32_t divisions) {
  if (divisions < 1) throw ERangeError();
  return static_cast<std::size_t>(divisions) + 3;
}

TOutlinePoint outlinePoint(int quadrant, std::int32_t divisions, std::size_t row) {
  const bool right = rightHand(quadrant);
  const std::size_t n = outlinePointCount(divisions) - 3;
  switch (row) {
    case 0:
      return {"T1", 0, false};
    case 1:
      return {right ? "T2" : "T7", n + 1, false};
    case kSideMidpointRow:
      return {right ? "T3" : "T6", n + 2, false};
    case kCornerRow:
      return {right ? "T4" : "T5", 1, true};
    default:
      break;
  }
  if (row > n + 2) throw ERangeError();
  const std::size_t j = row - 2;
  return {(right ? "R" : "L") + std::to_string(j - 1), j, false};
}

TElementPoint outlinePointOfElement(std::int32_t divisions, std::size_t element) {
  const std::size_t n = outlinePointCount(divisions) - 3;
  if (element > n + 2) throw ERangeError();
  if (element == 1) return {kCornerRow, true};
  return {element == 0 ? 0 : element == n + 1 ? 1 : element == n + 2 ? kSideMidpointRow : element + 2, false};
}

std::vector<TNamedPoint> namedOutlinePoints(const TRazvertka2PointArray& d, int quadrant) {
  if (d.size() < 4) throw ERangeError();
  const auto divisions = static_cast<std::int32_t>(d.size() - 3);
  const std::size_t count = outlinePointCount(divisions);
  std::vector<TNamedPoint> points;
  points.reserve(count);
  for (std::size_t row = 0; row < count; ++row) {
    TOutlinePoint p = outlinePoint(quadrant, divisions, row);
    const TRazvertka2Point& e = d[p.Element];
    points.push_back({std::move(p.Name), p.NearEnd ? e.P1 : e.P2});
  }
  return points;
}

std::size_t arcPointRow(std::int32_t divisions, std::int32_t arcPoint) {
  const std::size_t n = outlinePointCount(divisions) - 3;
  if (arcPoint < 1 || static_cast<std::size_t>(arcPoint) > n + 1) throw ERangeError();
  const auto j = static_cast<std::size_t>(arcPoint);
  return j == 1 ? 0 : j == n + 1 ? 1 : j + 2;
}

std::string arcPointName(int quadrant, std::int32_t divisions, std::int32_t arcPoint) {
  return outlinePoint(quadrant, divisions, arcPointRow(divisions, arcPoint)).Name;
}

std::string sideMidpointName(int quadrant) { return outlinePoint(quadrant, 1, kSideMidpointRow).Name; }
std::string cornerName(int quadrant) { return outlinePoint(quadrant, 1, kCornerRow).Name; }

TLineEnds generatorEnds(int quadrant, std::int32_t divisions, std::size_t element) {
  const std::size_t last = outlinePointCount(divisions) - 1;
  if (element > last) throw ERangeError();
  if (element == 0) {
    rightHand(quadrant);
    return {kOriginName, "T1"};
  }
  if (element == last) return {sideMidpointName(quadrant), arcPointName(quadrant, divisions, divisions + 1)};
  return {cornerName(quadrant), arcPointName(quadrant, divisions, static_cast<std::int32_t>(element))};
}

}  // namespace fish

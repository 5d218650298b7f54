#include "FiguresJson.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "fishApi/FishMath.h"

namespace vintaler::figures {

namespace {

using Json = nlohmann::ordered_json;

// The nearest double; the engine's 80-bit value has more digits than JSON's
// readers keep.
double number(fish::Extended v) {
  const double d = static_cast<double>(fish::checkFinite(v));
  if (!std::isfinite(d)) throw fish::EOverflow();
  return d;
}

std::string text(std::string_view s) { return std::string(s); }

Json pointJson(const std::string& name, const fish::TPoint2D& p) {
  return Json{{"name", name}, {"x", number(p.X)}, {"y", number(p.Y)}};
}

// The outline points in the order of the results table: T1, the arc end,
// the X-side midpoint, the corner, then the intermediate arc points.
Json pointsJson(const fish::TQuadrantFigures& q, std::int32_t n) {
  const fish::TRazvertka2PointArray& d = q.Razvertka;
  const auto at = [&d](std::int32_t k) -> const fish::TRazvertka2Point& { return d[static_cast<std::size_t>(k)]; };
  Json points = Json::array();
  points.push_back(pointJson(fish::arcPointName(q.Quadrant, n, 1), at(0).P2));
  points.push_back(pointJson(fish::arcPointName(q.Quadrant, n, n + 1), at(n + 1).P2));
  points.push_back(pointJson(fish::sideMidpointName(q.Quadrant), at(n + 2).P2));
  points.push_back(pointJson(fish::cornerName(q.Quadrant), at(1).P1));
  for (std::int32_t j = 2; j <= n; ++j) points.push_back(pointJson(fish::arcPointName(q.Quadrant, n, j), at(j).P2));
  return points;
}

Json quadrantJson(const fish::TQuadrantFigures& q, std::int32_t n) {
  Json generators = Json::array();
  for (std::size_t k = 0; k < q.Generators.size(); ++k) {
    generators.push_back(Json{{"element", k}, {"length", number(q.Generators[k])}});
  }
  return Json{{"quadrant", q.Quadrant},
              {"points", pointsJson(q, n)},
              {"generators", std::move(generators)},
              {"area", number(q.Area)}};
}

}  // namespace

std::string figuresJson(const fish::TProParams& pro, const fish::TShopFigures& f) {
  Json quadrantsChosen = Json::array();
  for (int q = 1; q <= 4; ++q) {
    if (fish::quadrantSelected(pro, q)) quadrantsChosen.push_back(q);
  }
  const fish::TPlateParams& plate = f.Plate;
  Json doc;
  doc["input"] = Json{{"B", number(f.Given.B)},
                      {"A", number(f.Given.A)},
                      {"L", number(f.Given.L)},
                      {"R", number(f.Given.R)},
                      {"X1", number(f.Given.X1)},
                      {"Y1", number(f.Given.Y1)},
                      {"divisions", f.Divisions},
                      {"quadrants", std::move(quadrantsChosen)},
                      {"thickness", number(plate.Thickness)},
                      {"rectangle_faces", text(fish::facesKey(plate.RectFaces))},
                      {"circle_faces", text(fish::facesKey(plate.RoundFaces))},
                      {"material", text(fish::materialKey(plate.Material))},
                      {"density", number(plate.Density)}};
  doc["developed"] = Json{{"B", number(f.Developed.B)}, {"A", number(f.Developed.A)}, {"R", number(f.Developed.R)}};
  Json quadrants = Json::array();
  for (const fish::TQuadrantFigures& q : f.Quadrants) quadrants.push_back(quadrantJson(q, f.Divisions));
  doc["quadrants"] = std::move(quadrants);
  Json sheets = Json::array();
  for (const fish::TSheetFigures& s : f.Sheets) {
    sheets.push_back(Json{{"quadrants", s.Quadrants},
                          {"area", number(s.Area)},
                          {"width", number(s.Width)},
                          {"height", number(s.Height)}});
  }
  doc["sheets"] = std::move(sheets);
  doc["net_area"] = number(f.NetArea);
  doc["mass"] = number(f.Mass);
  doc["accuracy"] = Json{{"arc_length_error", number(f.Accuracy.ArcLengthError)},
                         {"worst_edge_error", number(f.Accuracy.WorstEdgeError)}};
  return doc.dump();
}

}  // namespace vintaler::figures

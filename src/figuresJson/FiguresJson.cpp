#include "FiguresJson.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "fishApi/core/FishMath.h"
#include "fishApi/core/PointNames.h"
#include "fishApi/shop/CuttingParams.h"

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

// The outline points in the order of the results table.
Json pointsJson(const fish::TQuadrantFigures& q) {
  Json points = Json::array();
  for (const fish::TNamedPoint& p : fish::namedOutlinePoints(q.Razvertka, q.Quadrant))
    points.push_back(pointJson(p.Name, p.At));
  return points;
}

// A straight line of the piece for marking out: its two end points and its
// true length.
Json lineJson(const std::string& from, const std::string& to, fish::Extended length) {
  return Json{{"from", from}, {"to", to}, {"length", number(length)}};
}

// The generator lines in element order, named by their ends. Then the arc's chords
// between neighbouring arc points and the rectangle's two half sides, all
// with the lengths of the figures page.
Json quadrantJson(const fish::TQuadrantFigures& q, std::int32_t n) {
  const int k = q.Quadrant;
  const std::string corner = fish::cornerName(k);
  const std::string midX = fish::sideMidpointName(k);
  const auto arcPoint = [k, n](std::size_t j) { return fish::arcPointName(k, n, static_cast<std::int32_t>(j)); };
  const std::size_t last = q.Generators.size() - 1;
  Json generators = Json::array();
  for (std::size_t e = 0; e <= last; ++e) {
    fish::TLineEnds ends = fish::generatorEnds(k, n, e);
    generators.push_back(Json{{"element", e},
                              {"length", number(q.Generators[e])},
                              {"from", std::move(ends.From)},
                              {"to", std::move(ends.To)}});
  }
  Json chords = Json::array();
  for (std::size_t i = 0; i < q.Chords.size(); ++i)
    chords.push_back(lineJson(arcPoint(i + 1), arcPoint(i + 2), q.Chords[i]));
  return Json{{"quadrant", k},
              {"points", pointsJson(q)},
              {"generators", std::move(generators)},
              {"area", number(q.Area)},
              {"chords", std::move(chords)},
              {"rectangle_half_sides", Json::array({lineJson(fish::kOriginName, corner, q.EdgeToCorner),
                                                    lineJson(corner, midX, q.EdgeFromCorner)})}};
}

// The figures a job is priced by, of a piece or of them all.
Json priceJson(fish::Extended cut, int pierces, fish::Extended seams, std::size_t bends, fish::Extended blankArea,
               fish::Extended minBlankArea, fish::Extended net, fish::Extended cutArea, fish::Extended mass) {
  return Json{{"cut_length", number(cut)},   {"pierces", pierces},
              {"seam_length", number(seams)}, {"bend_count", bends},
              {"blank_area", number(blankArea)}, {"min_blank_area", number(minBlankArea)},
              {"net_area", number(net)},      {"cut_area", number(cutArea)},
              {"mass", number(mass)}};
}

void addQuote(Json& doc, const fish::TShopQuote& shop) {
  const fish::TQuote& q = shop.Quote;
  Json bends = Json::array();
  Json pieces = Json::array();
  for (const fish::TPieceQuote& p : q.Pieces) {
    for (const fish::TBend& b : p.Bends) {
      bends.push_back(Json{{"quadrant", b.Quadrant}, {"element", b.Element}, {"length", number(b.Length)},
                           {"angle", number(b.Angle)}});
    }
    Json piece = priceJson(p.CutLength, p.Pierces, p.SeamLength, p.Bends.size(), p.BlankWidth * p.BlankHeight,
                           p.MinBlank.Width * p.MinBlank.Height, p.NetArea, p.CutArea, p.Mass);
    piece["quadrants"] = p.Quadrants;
    piece["blank_width"] = number(p.BlankWidth);
    piece["blank_height"] = number(p.BlankHeight);
    piece["min_blank"] = Json{{"width", number(p.MinBlank.Width)},
                              {"height", number(p.MinBlank.Height)},
                              {"angle", number(p.MinBlank.Angle)}};
    pieces.push_back(std::move(piece));
  }
  doc["bends"] = std::move(bends);
  if (shop.FaceUp != fish::TFaceUp::Unknown) doc["face_up"] = shop.FaceUp == fish::TFaceUp::Outside ? "outside" : "inside";
  doc["quote"] = Json{{"pieces", std::move(pieces)},
                      {"total", priceJson(q.CutLength, q.Pierces, q.SeamLength, q.Bends, q.BlankArea,
                                          q.MinBlankArea, q.NetArea, q.CutArea, q.Mass)}};
}

Json figuresDocument(const fish::TProParams& pro, const fish::TShopFigures& f);

}  // namespace

std::string figuresJson(const fish::TProParams& pro, const fish::TShopFigures& f) {
  return figuresDocument(pro, f).dump();
}

std::string figuresJson(const fish::TProParams& pro, const fish::TShopFigures& f, const fish::TShopQuote& quote) {
  Json doc = figuresDocument(pro, f);
  addQuote(doc, quote);
  return doc.dump();
}

namespace {

Json figuresDocument(const fish::TProParams& pro, const fish::TShopFigures& f) {
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
  doc["pattern"] = text(fish::patternKey(f.Pattern));
  const fish::TCuttingParams& c = f.Cutting;
  const bool allowances = c.hasAllowances();
  if (c.Seams != fish::kDefaultSeams || allowances) {
    doc["cutting"] = Json{{"seams", fish::seamsText(c.Seams)},
                          {"seam_allowance", Json::array({number(c.SeamFirst), number(c.SeamSecond)})},
                          {"rect_allowance", number(c.RectAllowance)},
                          {"round_allowance", number(c.RoundAllowance)}};
  }
  doc["developed"] = Json{{"B", number(f.Developed.B)}, {"A", number(f.Developed.A)}, {"R", number(f.Developed.R)}};
  // A plate's middle surface: along the plate's normal for the precise
  // pattern, t/2 across the sections for the tables'.
  if (plate.Thickness > 0) doc["middle_surface"] = f.Pattern == fish::TPatternKind::Precise ? "normal" : "section";
  Json quadrants = Json::array();
  for (const fish::TQuadrantFigures& q : f.Quadrants) quadrants.push_back(quadrantJson(q, f.Divisions));
  doc["quadrants"] = std::move(quadrants);
  Json sheets = Json::array();
  for (const fish::TSheetFigures& s : f.Sheets) {
    Json sheet{{"quadrants", s.Quadrants},
               {"area", number(s.Area)},
               {"width", number(s.Width)},
               {"height", number(s.Height)}};
    if (allowances) sheet["net_area"] = number(s.NetArea);
    if (!s.Name.empty()) sheet["name"] = s.Name;
    sheets.push_back(std::move(sheet));
  }
  doc["sheets"] = std::move(sheets);
  doc["net_area"] = number(f.NetArea);
  doc["mass"] = number(f.Mass);
  doc["accuracy"] = Json{{"arc_length_error", number(f.Accuracy.ArcLengthError)},
                         {"worst_edge_error", number(f.Accuracy.WorstEdgeError)},
                         {"chord_error", number(f.PatternAccuracy.ChordError)},
                         {"max_point_error", number(f.PatternAccuracy.MaxPointError)}};
  return doc;
}

}  // namespace

}  // namespace vintaler::figures

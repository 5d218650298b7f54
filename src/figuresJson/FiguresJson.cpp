#include "FiguresJson.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>
#include <vector>

#include "fishApi/core/FishMath.h"
#include "fishApi/core/PointNames.h"
#include "fishApi/shop/BendTable.h"
#include "fishApi/shop/CuttingParams.h"
#include "fishApi/precise/PreciseDevelopment.h"
#include "fishApi/shop/PatternWalk.h"

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

// The document is written as it is walked: its long arrays (a quadrant's
// points, generators and chords, the bends) element by element into a
// buffer handed to the stream in large blocks, each element spelled as
// nlohmann-json dumps it (the same number text, the same escapes), the short
// parts dumped by nlohmann-json itself, so that the bytes are the same and
// nothing grows with the divisions but the figures themselves.
class TObject {
 public:
  explicit TObject(std::ostream& out) : Out(out) { Out << '{'; }
  ~TObject() { Out << '}'; }
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  std::ostream& key(const std::string& name) {
    if (!First) Out << ',';
    First = false;
    return Out << Json(name).dump() << ':';
  }
  void put(const std::string& name, const Json& value) { key(name) << value.dump(); }

 private:
  std::ostream& Out;
  bool First = true;
};

// The elements of a long array, spelled as nlohmann-json's compact dump
// spells them and handed to the stream a block at a time.
class TElements {
 public:
  explicit TElements(std::ostream& out) : Out(out), Text(new char[kRoom]), End(Text.get()) {}
  ~TElements() { flush(); }
  TElements(const TElements&) = delete;
  TElements& operator=(const TElements&) = delete;

  // A key of the element (written as a literal "\"key\":" with its comma).
  TElements& raw(std::string_view s) {
    put(s);
    return *this;
  }
  TElements& number(double d) {
    // checked finite by the caller; the dump's own shortest digits
    room(kDigits);
    End = nlohmann::detail::to_chars(End, End + kDigits, d);
    return *this;
  }
  template <typename Integer>
  TElements& integer(Integer i) {
    room(kDigits);
    End = std::to_chars(End, End + kDigits, i).ptr;
    return *this;
  }
  // A string: names of plain printable ASCII as they are, anything else
  // escaped by nlohmann-json.
  TElements& text(std::string_view s) {
    bool plain = true;
    for (const char c : s) plain = plain && c >= 0x20 && c < 0x7f && c != '"' && c != '\\';
    if (!plain) return raw(Json(std::string(s)).dump());
    if (s.size() + 2 > kRoom) return raw("\"").raw(s).raw("\"");
    room(s.size() + 2);
    *End++ = '"';
    End = std::copy(s.begin(), s.end(), End);
    *End++ = '"';
    return *this;
  }
  // The comma before every element but the first.
  void next() {
    if (Count++ > 0) put(",");
    if (static_cast<std::size_t>(End - Text.get()) >= kBlock) flush();
  }
  void flush() {
    Out.write(Text.get(), End - Text.get());
    End = Text.get();
  }

 private:
  static constexpr std::size_t kBlock = 1 << 16;
  static constexpr std::size_t kRoom = kBlock + 4096;
  static constexpr std::size_t kDigits = 64;  // a number's text and more

  // Room for `n` more characters, the buffer handed on first when full.
  void room(std::size_t n) {
    if (static_cast<std::size_t>(Text.get() + kRoom - End) < n) flush();
  }
  void put(std::string_view s) {
    if (s.size() > kRoom) {
      flush();
      Out.write(s.data(), static_cast<std::streamsize>(s.size()));
      return;
    }
    room(s.size());
    End = std::copy(s.begin(), s.end(), End);
  }

  std::ostream& Out;
  std::unique_ptr<char[]> Text;
  char* End;
  std::size_t Count = 0;
};

// A JSON array of `count` elements, element i spelled by `element(i, into)`.
template <typename Element>
void writeArray(std::ostream& out, std::size_t count, const Element& element) {
  out << '[';
  {
    TElements into(out);
    for (std::size_t i = 0; i < count; ++i) {
      into.next();
      element(i, into);
    }
  }
  out << ']';
}

// A chosen quadrant's bend lines of today's pieces, as the pattern lays
// them (the development's own lines, generators 1 .. n+1 that are not a
// point), measured while the quadrant is at hand for its figures: each
// length and angle as the nearest double, as the document spells them, and
// the few generators left out.
struct TKeptBends {
  std::vector<std::array<double, 2>> Figures;  // length, angle
  std::vector<std::size_t> Skipped;            // in increasing order
};

// A quadrant of the precise pattern developed as the figures measured it
// (figuresQuadrant), its surface read line by line as it is laid: the
// development kept for the outline points, which the results table takes
// out of element order, and every generator's and chord's length measured
// on the way, with its bends when `bends` asks, so that the surface is
// never held.
void developMeasured(const fish::TShopFigures& f, const fish::TProParams& pro, int quadrant,
                     fish::TRazvertka2PointArray& razvertka, std::vector<double>& generators,
                     std::vector<double>& chords, TKeptBends* bends) {
  // A thick plate's middle surface lies between its faces; a thin one's is
  // the developed sizes'.
  const bool thick = f.Plate.Thickness != 0;
  fish::TPreciseStream stream(thick ? f.Given : f.Developed, pro, static_cast<std::uint16_t>(quadrant),
                              thick ? fish::faceOffsets(f.Plate) : fish::TFaceOffsets{});
  const std::size_t size = stream.size();  // n + 3
  const std::size_t last = size - 2;       // the last bend line, n + 1
  razvertka.clear();
  razvertka.reserve(size);
  generators.clear();
  generators.reserve(size);
  chords.clear();
  chords.reserve(size - 3);
  if (bends) bends->Figures.reserve(last);
  std::array<fish::TSurf2Point, 3> near{};  // the surface's lines k - 2, k - 1 and k
  int sense = 0;
  for (std::size_t k = 0; k < size; ++k) {
    razvertka.push_back(stream.next());
    near = {near[1], near[2], stream.line()};
    generators.push_back(number(fish::figuresLength(f.Pattern, near[2].P1, near[2].P2)));
    // Chord k - 2 joins arc points k - 1 and k.
    if (k >= 2 && k <= last) chords.push_back(number(fish::figuresLength(f.Pattern, near[1].P2, near[2].P2)));
    // The bend along generator k - 1, between its faces either side.
    if (!bends || k < 2) continue;
    const fish::TRazvertka2Point& e = razvertka[k - 1];
    if (e.P1.X == e.P2.X && e.P1.Y == e.P2.Y) {
      bends->Skipped.push_back(k - 1);
      continue;
    }
    const fish::Extended angle = fish::bendAngle(near[0], near[1], near[2], k == 2, k - 1 == last, sense);
    bends->Figures.push_back({number(std::hypot(e.P2.X - e.P1.X, e.P2.Y - e.P1.Y)), number(angle)});
  }
}

// A straight line of the piece for marking out: its two end points and its
// true length.
Json lineJson(const std::string& from, const std::string& to, fish::Extended length) {
  return Json{{"from", from}, {"to", to}, {"length", number(length)}};
}

// The outline points in the order of the results table, the generator lines
// in element order, named by their ends, then the arc's chords between
// neighbouring arc points and the rectangle's two half sides, all with the
// lengths of the figures page. Figures without the lists (shopSummary) have
// the quadrant developed again into `scratch` and its lines measured as they
// are written.
void writeQuadrant(std::ostream& out, const fish::TShopFigures& f, const fish::TQuadrantFigures& q,
                   const fish::TProParams& pro, fish::TQuadrantDevelopment& scratch, TKeptBends* bends) {
  const std::int32_t n = f.Divisions;
  const int k = q.Quadrant;
  const bool walked = q.Razvertka.empty();
  // The precise pattern's lengths measured as it is developed, the tables'
  // on their surface's points.
  const bool measured = walked && f.Pattern == fish::TPatternKind::Precise;
  std::vector<double> generators, chords;
  if (measured) {
    developMeasured(f, pro, k, scratch.Razvertka, generators, chords, bends);
  } else if (walked) {
    fish::figuresQuadrant(f, pro, k, scratch);
  }
  const fish::TRazvertka2PointArray& razvertka = walked ? scratch.Razvertka : q.Razvertka;
  const fish::TSurf2PointArray& s = scratch.Surf;
  const auto length = [&](const fish::TPoint3D& from, const fish::TPoint3D& to) {
    return fish::figuresLength(f.Pattern, from, to);
  };
  const std::string corner = fish::cornerName(k);
  const std::string midX = fish::sideMidpointName(k);
  const auto arcPoint = [k, n](std::size_t j) { return fish::arcPointName(k, n, static_cast<std::int32_t>(j)); };
  TObject quadrant(out);
  quadrant.put("quadrant", k);
  writeArray(quadrant.key("points"), fish::outlinePointCount(n), [&](std::size_t row, TElements& into) {
    const fish::TOutlinePoint p = fish::outlinePoint(k, n, row);
    const fish::TRazvertka2Point& e = razvertka[p.Element];
    const fish::TPoint2D& at = p.NearEnd ? e.P1 : e.P2;
    into.raw("{\"name\":").text(p.Name).raw(",\"x\":").number(number(at.X)).raw(",\"y\":").number(number(at.Y)).raw("}");
  });
  const std::size_t generatorCount = measured ? generators.size() : walked ? s.size() : q.Generators.size();
  // Between the first and the last, generator e runs from the corner to arc
  // point e: the corner's name is spelled once.
  writeArray(quadrant.key("generators"), generatorCount, [&](std::size_t e, TElements& into) {
    const double g = measured ? generators[e] : number(walked ? length(s[e].P1, s[e].P2) : q.Generators[e]);
    into.raw("{\"element\":").integer(e).raw(",\"length\":").number(g);
    if (e == 0 || e + 1 == generatorCount) {
      const fish::TLineEnds ends = fish::generatorEnds(k, n, e);
      into.raw(",\"from\":").text(ends.From).raw(",\"to\":").text(ends.To).raw("}");
    } else {
      into.raw(",\"from\":").text(corner).raw(",\"to\":").text(arcPoint(e)).raw("}");
    }
  });
  quadrant.put("area", number(q.Area));
  const std::size_t chordCount = measured ? chords.size() : walked ? s.size() - 3 : q.Chords.size();
  // Each chord starts where the one before it ended.
  std::string from = arcPoint(1);
  writeArray(quadrant.key("chords"), chordCount, [&](std::size_t i, TElements& into) {
    const double c = measured ? chords[i] : number(walked ? length(s[i + 1].P2, s[i + 2].P2) : q.Chords[i]);
    std::string to = arcPoint(i + 2);
    into.raw("{\"from\":").text(from).raw(",\"to\":").text(to);
    into.raw(",\"length\":").number(c).raw("}");
    from = std::move(to);
  });
  quadrant.put("rectangle_half_sides", Json::array({lineJson(fish::kOriginName, corner, q.EdgeToCorner),
                                                    lineJson(corner, midX, q.EdgeFromCorner)}));
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

// One bend of the "bends" array.
void writeBend(TElements& into, int quadrant, std::size_t element, double length, double angle) {
  into.next();
  into.raw("{\"quadrant\":").integer(quadrant).raw(",\"element\":").integer(element);
  into.raw(",\"length\":").number(length).raw(",\"angle\":").number(angle).raw("}");
}
void writeBend(TElements& into, int quadrant, std::size_t element, fish::Extended length, fish::Extended angle) {
  writeBend(into, quadrant, element, number(length), number(angle));
}

// The press brake's bends piece after piece, the face up as drawn and what
// the job is priced by, after the figures. A quote that only counted its
// bends has them walked again: the pattern's bend lines come pieces one
// after another, each line with its bend, in the quote's order, unless
// today's pieces had theirs kept with the quadrants' figures (`kept`).
void writeQuote(TObject& doc, const fish::TShopQuote& shop, const fish::TShopFigures& f, const fish::TProParams& pro,
                const std::array<std::optional<TKeptBends>, 4>& kept) {
  const fish::TQuote& q = shop.Quote;
  Json pieces = Json::array();
  bool held = true;
  for (const fish::TPieceQuote& p : q.Pieces) {
    held = held && p.Bends.size() == p.BendCount;
    Json piece = priceJson(p.CutLength, p.Pierces, p.SeamLength, p.BendCount, p.BlankWidth * p.BlankHeight,
                           p.MinBlank.Width * p.MinBlank.Height, p.NetArea, p.CutArea, p.Mass);
    piece["quadrants"] = p.Quadrants;
    piece["blank_width"] = number(p.BlankWidth);
    piece["blank_height"] = number(p.BlankHeight);
    piece["min_blank"] = Json{{"width", number(p.MinBlank.Width)},
                              {"height", number(p.MinBlank.Height)},
                              {"angle", number(p.MinBlank.Angle)}};
    pieces.push_back(std::move(piece));
  }
  // The bends of every piece, one array.
  std::ostream& out = doc.key("bends");
  out << '[';
  if (held) {
    TElements into(out);
    for (const fish::TPieceQuote& p : q.Pieces) {
      for (const fish::TBend& b : p.Bends) writeBend(into, b.Quadrant, b.Element, b.Length, b.Angle);
    }
  } else if (std::any_of(kept.begin(), kept.end(), [](const auto& b) { return b.has_value(); })) {
    // Today's pieces run quadrant after quadrant, each along its elements.
    TElements into(out);
    std::size_t count = 0;
    for (int quadrant = 1; quadrant <= 4; ++quadrant) {
      const std::optional<TKeptBends>& b = kept[static_cast<std::size_t>(quadrant - 1)];
      if (!b) continue;
      auto skipped = b->Skipped.begin();
      std::size_t element = 1;
      for (const std::array<double, 2>& bend : b->Figures) {
        for (; skipped != b->Skipped.end() && *skipped == element; ++skipped) ++element;
        writeBend(into, quadrant, element++, bend[0], bend[1]);
      }
      count += b->Figures.size();
    }
    if (count != q.Bends) throw fish::EInvalidOp();
  } else {
    // Lines, not ticks, each carrying its angle.
    fish::TCuttingParams lines = f.Cutting;
    lines.BendMarks = fish::TBendMarks::Full;
    lines.BendAngles = true;
    const fish::TPatternWalk walk(f.Given, f.Plate, pro, lines);
    TElements into(out);
    std::size_t count = 0;
    walk.bendLines([&](const fish::TPatternLine& l) {
      if (!l.Angle) throw fish::EInvalidOp();
      writeBend(into, l.Quadrant, l.Element, std::hypot(l.To.X - l.From.X, l.To.Y - l.From.Y), *l.Angle);
      ++count;
    });
    if (count != q.Bends) throw fish::EInvalidOp();
  }
  out << ']';
  if (shop.FaceUp != fish::TFaceUp::Unknown) {
    doc.put("face_up", shop.FaceUp == fish::TFaceUp::Outside ? "outside" : "inside");
  }
  doc.put("quote", Json{{"pieces", std::move(pieces)},
                        {"total", priceJson(q.CutLength, q.Pierces, q.SeamLength, q.Bends, q.BlankArea,
                                            q.MinBlankArea, q.NetArea, q.CutArea, q.Mass)}});
}

void writeDocument(std::ostream& out, const fish::TProParams& pro, const fish::TShopFigures& f,
                   const fish::TShopQuote* quote);

}  // namespace

std::string figuresJson(const fish::TProParams& pro, const fish::TShopFigures& f) {
  std::ostringstream out;
  writeDocument(out, pro, f, nullptr);
  return out.str();
}

std::string figuresJson(const fish::TProParams& pro, const fish::TShopFigures& f, const fish::TShopQuote& quote) {
  std::ostringstream out;
  writeDocument(out, pro, f, &quote);
  return out.str();
}

void writeFiguresJson(std::ostream& out, const fish::TProParams& pro, const fish::TShopFigures& f,
                      const fish::TShopQuote& quote) {
  writeDocument(out, pro, f, &quote);
}

namespace {

void writeDocument(std::ostream& out, const fish::TProParams& pro, const fish::TShopFigures& f,
                   const fish::TShopQuote* quote) {
  Json quadrantsChosen = Json::array();
  for (int q = 1; q <= 4; ++q) {
    if (fish::quadrantSelected(pro, q)) quadrantsChosen.push_back(q);
  }
  const fish::TPlateParams& plate = f.Plate;
  TObject doc(out);
  doc.put("input", Json{{"B", number(f.Given.B)},
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
                        {"density", number(plate.Density)}});
  doc.put("pattern", text(fish::patternKey(f.Pattern)));
  const fish::TCuttingParams& c = f.Cutting;
  // Every length, area and the thickness are in inches (in2) when it says so.
  if (c.Units != fish::TUnits::Millimetres) doc.put("units", text(fish::unitsKey(c.Units)));
  const bool allowances = c.hasAllowances();
  if (c.Seams != fish::kDefaultSeams || allowances) {
    doc.put("cutting", Json{{"seams", fish::seamsText(c.Seams)},
                            {"seam_allowance", Json::array({number(c.SeamFirst), number(c.SeamSecond)})},
                            {"rect_allowance", number(c.RectAllowance)},
                            {"round_allowance", number(c.RoundAllowance)}});
  }
  doc.put("developed", Json{{"B", number(f.Developed.B)}, {"A", number(f.Developed.A)}, {"R", number(f.Developed.R)}});
  // A plate's middle surface: along the plate's normal for the precise
  // pattern, t/2 across the sections for the tables'.
  if (plate.Thickness > 0) doc.put("middle_surface", f.Pattern == fish::TPatternKind::Precise ? "normal" : "section");
  std::ostream& quadrants = doc.key("quadrants");
  quadrants << '[';
  fish::TQuadrantDevelopment scratch;
  // The bends of today's pieces are lines of the quadrants' developments as
  // they are: kept while each is at hand when the quote did not keep them.
  const bool keep = quote && f.Pattern == fish::TPatternKind::Precise && f.Cutting.Seams == fish::kDefaultSeams && !f.Cutting.hasAllowances() &&
                    std::any_of(quote->Quote.Pieces.begin(), quote->Quote.Pieces.end(),
                                [](const fish::TPieceQuote& p) { return p.Bends.size() != p.BendCount; }) &&
                    std::all_of(f.Quadrants.begin(), f.Quadrants.end(),
                                [](const fish::TQuadrantFigures& q) { return q.Razvertka.empty(); });
  std::array<std::optional<TKeptBends>, 4> kept;
  for (std::size_t i = 0; i < f.Quadrants.size(); ++i) {
    if (i > 0) quadrants << ',';
    const bool bends = keep && fish::quadrantSelected(pro, f.Quadrants[i].Quadrant);
    if (bends) kept[i].emplace();
    writeQuadrant(quadrants, f, f.Quadrants[i], pro, scratch, bends ? &*kept[i] : nullptr);
  }
  scratch = {};
  quadrants << ']';
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
  doc.put("sheets", sheets);
  doc.put("net_area", number(f.NetArea));
  doc.put("mass", number(f.Mass));
  doc.put("accuracy", Json{{"arc_length_error", number(f.Accuracy.ArcLengthError)},
                           {"worst_edge_error", number(f.Accuracy.WorstEdgeError)},
                           {"chord_error", number(f.PatternAccuracy.ChordError)},
                           {"max_point_error", number(f.PatternAccuracy.MaxPointError)}});
  if (quote) writeQuote(doc, *quote, f, pro, kept);
}

}  // namespace

}  // namespace vintaler::figures

#include "FiguresJson.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <exception>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>
#include <vector>

#include "fishApi/core/FishMath.h"
#include "fishApi/core/PointNames.h"
#include "fishApi/precise/PreciseDevelopment.h"
#include "fishApi/shop/BendTable.h"
#include "fishApi/shop/CuttingParams.h"
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

// One bend of the "bends" array.
void writeBend(TElements& into, int quadrant, std::size_t element, double length, double angle) {
  into.next();
  into.raw("{\"quadrant\":").integer(quadrant).raw(",\"element\":").integer(element);
  into.raw(",\"length\":").number(length).raw(",\"angle\":").number(angle).raw("}");
}

// The chosen quadrants' bend lines of today's pieces, as the pattern lays
// them (the development's own lines, generators 1 .. n+1 that are not a
// point), measured while each quadrant is at hand for its figures, in the
// order the document gives them: quadrant after quadrant, each along its
// elements. With a draft they are spelled into it as they come, so that
// nothing of them is held; without, each length and angle is kept as the
// nearest double the document spells.
class TKeptBends {
 public:
  // `draft`, when given, is empty and read back from its start.
  explicit TKeptBends(std::iostream* draft) : Draft(draft) {
    if (draft) Into.emplace(*draft);
  }

  void begin(int quadrant, std::size_t room) {
    Quadrant = quadrant;
    if (!Draft) Kept.reserve(Kept.size() + room);
  }
  void add(std::size_t element, double length, double angle) {
    ++Count;
    if (Into) {
      writeBend(*Into, Quadrant, element, length, angle);
    } else {
      Kept.push_back({Quadrant, element, length, angle});
    }
  }
  std::size_t count() const { return Count; }

  // The bends, each after a comma but the first, onto the array begun on
  // `out`; a draft that failed to take them all fails `out` too.
  void writeTo(std::ostream& out) {
    if (Into) {
      Into.reset();  // its last block handed on
      Draft->flush();
      Draft->seekg(0);
      if (!*Draft) out.setstate(std::ios::badbit);
      if (Count > 0 && out) out << Draft->rdbuf();
      return;
    }
    TElements into(out);
    for (const TBend& b : Kept) writeBend(into, b.Quadrant, b.Element, b.Length, b.Angle);
  }

 private:
  struct TBend {
    int Quadrant;
    std::size_t Element;
    double Length, Angle;
  };
  std::iostream* Draft;
  std::optional<TElements> Into;
  std::vector<TBend> Kept;
  int Quadrant = 0;
  std::size_t Count = 0;
};

// A quadrant's lines measured as they come, element k = 0 .. n + 2 with the
// surface's line k: generator k, chord k - 2 (joining arc points k - 1 and
// k), each as the nearest double of the figures' own length, and with
// `bends` the bend along generator k - 1 between its faces either side.
class TLineMeter {
 public:
  TLineMeter(fish::TPatternKind pattern, std::size_t size, std::vector<double>& generators, std::vector<double>& chords,
             TKeptBends* bends)
      : Pattern(pattern), Last(size - 2), Generators(generators), Chords(chords), Bends(bends) {
    generators.clear();
    generators.reserve(size);
    chords.clear();
    chords.reserve(size - 3);
  }

  // `element` is the development's element k - 1, the one before `line`'s.
  void add(std::size_t k, const fish::TSurf2Point& line, const fish::TRazvertka2Point* element) {
    Near = {Near[1], Near[2], line};
    Generators.push_back(number(fish::figuresLength(Pattern, line.P1, line.P2)));
    if (k >= 2 && k <= Last) Chords.push_back(number(fish::figuresLength(Pattern, Near[1].P2, Near[2].P2)));
    if (!Bends || k < 2) return;
    const fish::TRazvertka2Point& e = *element;
    if (e.P1.X == e.P2.X && e.P1.Y == e.P2.Y) return;
    const fish::Extended angle = fish::bendAngle(Near[0], Near[1], Near[2], k == 2, k - 1 == Last, Sense);
    Bends->add(k - 1, number(std::hypot(e.P2.X - e.P1.X, e.P2.Y - e.P1.Y)), number(angle));
  }

 private:
  fish::TPatternKind Pattern;
  std::size_t Last;  // the last bend line, n + 1
  std::vector<double>& Generators;
  std::vector<double>& Chords;
  TKeptBends* Bends;
  std::array<fish::TSurf2Point, 3> Near{};  // the surface's lines k - 2, k - 1 and k
  int Sense = 0;
};

// A quadrant of the precise pattern developed as the figures measured it
// (figuresQuadrant), its surface read line by line as it is laid: the
// development kept for the outline points, which the results table takes
// out of element order, and its lines measured on the way, so that the
// surface is never held.
void developMeasured(const fish::TShopFigures& f, const fish::TProParams& pro, int quadrant,
                     fish::TRazvertka2PointArray& razvertka, std::vector<double>& generators,
                     std::vector<double>& chords, TKeptBends* bends) {
  // A thick plate's middle surface lies between its faces; a thin one's is
  // the developed sizes'.
  const bool thick = f.Plate.Thickness != 0;
  fish::TPreciseStream stream(thick ? f.Given : f.Developed, pro, static_cast<std::uint16_t>(quadrant),
                              thick ? fish::faceOffsets(f.Plate) : fish::TFaceOffsets{});
  const std::size_t size = stream.size();  // n + 3
  razvertka.clear();
  razvertka.reserve(size);
  TLineMeter meter(f.Pattern, size, generators, chords, bends);
  for (std::size_t k = 0; k < size; ++k) {
    razvertka.push_back(stream.next());
    meter.add(k, stream.line(), k > 0 ? &razvertka[k - 1] : nullptr);
  }
}

// The same lines measured on a quadrant's arrays at hand.
void measureArrays(fish::TPatternKind pattern, const fish::TQuadrantArrays& arrays, std::vector<double>& generators,
                   std::vector<double>& chords, TKeptBends* bends) {
  const fish::TSurf2PointArray& s = *arrays.Surf;
  TLineMeter meter(pattern, s.size(), generators, chords, bends);
  for (std::size_t k = 0; k < s.size(); ++k) meter.add(k, s[k], k > 0 ? &(*arrays.Razvertka)[k - 1] : nullptr);
}

// A straight line of the piece for marking out: its two end points and its
// true length.
Json lineJson(const std::string& from, const std::string& to, fish::Extended length) {
  return Json{{"from", from}, {"to", to}, {"length", number(length)}};
}

// A quadrant's object opened: its number, the outline points in the order
// of the results table and the generator lines in element order, named by
// their ends.
template <typename Length>
void writeQuadrantLines(TObject& quadrant, std::int32_t n, int k, const fish::TRazvertka2PointArray& razvertka,
                        std::size_t generatorCount, const Length& generator) {
  const std::string corner = fish::cornerName(k);
  quadrant.put("quadrant", k);
  writeArray(quadrant.key("points"), fish::outlinePointCount(n), [&](std::size_t row, TElements& into) {
    const fish::TOutlinePoint p = fish::outlinePoint(k, n, row);
    const fish::TRazvertka2Point& e = razvertka[p.Element];
    const fish::TPoint2D& at = p.NearEnd ? e.P1 : e.P2;
    into.raw("{\"name\":").text(p.Name).raw(",\"x\":").number(number(at.X)).raw(",\"y\":").number(number(at.Y)).raw("}");
  });
  // Between the first and the last, generator e runs from the corner to arc
  // point e: the corner's name is spelled once.
  writeArray(quadrant.key("generators"), generatorCount, [&](std::size_t e, TElements& into) {
    into.raw("{\"element\":").integer(e).raw(",\"length\":").number(generator(e));
    if (e == 0 || e + 1 == generatorCount) {
      const fish::TLineEnds ends = fish::generatorEnds(k, n, e);
      into.raw(",\"from\":").text(ends.From).raw(",\"to\":").text(ends.To).raw("}");
    } else {
      into.raw(",\"from\":")
          .text(corner)
          .raw(",\"to\":")
          .text(fish::arcPointName(k, n, static_cast<std::int32_t>(e)))
          .raw("}");
    }
  });
}

// The rest of the quadrant's object: its area, the arc's chords between
// neighbouring arc points and the rectangle's two half sides.
template <typename Length>
void writeQuadrantRest(TObject& quadrant, std::int32_t n, const fish::TQuadrantFigures& q, std::size_t chordCount,
                       const Length& chord) {
  const int k = q.Quadrant;
  const auto arcPoint = [k, n](std::size_t j) { return fish::arcPointName(k, n, static_cast<std::int32_t>(j)); };
  quadrant.put("area", number(q.Area));
  // Each chord starts where the one before it ended.
  std::string from = arcPoint(1);
  writeArray(quadrant.key("chords"), chordCount, [&](std::size_t i, TElements& into) {
    std::string to = arcPoint(i + 2);
    into.raw("{\"from\":").text(from).raw(",\"to\":").text(to);
    into.raw(",\"length\":").number(chord(i)).raw("}");
    from = std::move(to);
  });
  const std::string corner = fish::cornerName(k);
  quadrant.put("rectangle_half_sides", Json::array({lineJson(fish::kOriginName, corner, q.EdgeToCorner),
                                                    lineJson(corner, fish::sideMidpointName(k), q.EdgeFromCorner)}));
}

// A quadrant's whole object, all the lengths of the figures page. Figures
// without the lists (shopSummary) have the quadrant developed again into
// `scratch` and its lines measured as they are written.
void writeQuadrant(std::ostream& out, const fish::TShopFigures& f, const fish::TQuadrantFigures& q,
                   const fish::TProParams& pro, fish::TQuadrantDevelopment& scratch, TKeptBends* bends) {
  const std::int32_t n = f.Divisions;
  const int k = q.Quadrant;
  const bool walked = q.Razvertka.empty();
  std::vector<double> generators, chords;
  if (walked && f.Pattern == fish::TPatternKind::Precise) {
    developMeasured(f, pro, k, scratch.Razvertka, generators, chords, bends);
  } else if (walked) {
    fish::figuresQuadrant(f, pro, k, scratch);
    measureArrays(f.Pattern, {&scratch.Surf, &scratch.Razvertka}, generators, chords, nullptr);
  }
  TObject quadrant(out);
  writeQuadrantLines(quadrant, n, k, walked ? scratch.Razvertka : q.Razvertka,
                     walked ? generators.size() : q.Generators.size(),
                     [&](std::size_t e) { return walked ? generators[e] : number(q.Generators[e]); });
  writeQuadrantRest(quadrant, n, q, walked ? chords.size() : q.Chords.size(),
                    [&](std::size_t i) { return walked ? chords[i] : number(q.Chords[i]); });
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

void writeBend(TElements& into, int quadrant, std::size_t element, fish::Extended length, fish::Extended angle) {
  writeBend(into, quadrant, element, number(length), number(angle));
}

// The press brake's bends piece after piece, the face up as drawn and what
// the job is priced by, after the figures. A quote that only counted its
// bends has them walked again: the pattern's bend lines come pieces one
// after another, each line with its bend, in the quote's order, unless
// today's pieces had theirs kept with the quadrants' figures (`kept`).
void writeQuote(TObject& doc, const fish::TShopQuote& shop, const fish::TShopFigures& f, const fish::TProParams& pro,
                TKeptBends* kept) {
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
  } else if (kept) {
    kept->writeTo(out);
    if (kept->count() != q.Bends) throw fish::EInvalidOp();
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
void writeHead(TObject& doc, const fish::TProParams& pro, const fish::TShopFigures& f);
bool keepsBends(const fish::TShopFigures& f);
void writeTail(TObject& doc, const fish::TProParams& pro, const fish::TShopFigures& f, const fish::TShopQuote* quote,
               TKeptBends* kept);

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

fish::TShopSummary writeShopJson(std::ostream& out, std::iostream* bendsDraft, const fish::TSystemParams& sp,
                                 const fish::TProParams& pro, const fish::TPlateParams& plate,
                                 const fish::TCuttingParams& cutting) {
  // The head needs what was given and the sizes developed, which the
  // summary has checked by the time it shows the first quadrant.
  fish::TShopFigures head;
  head.Given = sp;
  head.Plate = plate;
  head.Pattern = cutting.Pattern;
  head.Cutting = cutting;
  head.Divisions = pro.Divisions;
  const bool keep = keepsBends(head);
  std::optional<TObject> doc, quadrant;
  std::ostream* quadrants = nullptr;
  std::vector<double> generators, chords;  // of the quadrant at hand
  TKeptBends kept(bendsDraft);
  // The summary's own failures are said first, as if it had been worked out
  // whole before the document; the writer's first failure after it.
  std::exception_ptr failure;
  const auto guarded = [&failure](const auto& write) {
    if (failure) return;
    try {
      write();
    } catch (const fish::EFishError&) {
      failure = std::current_exception();
    }
  };
  fish::TQuadrantWatch watch;
  watch.Seen = [&](int q, const fish::TQuadrantArrays& arrays) {
    guarded([&] {
      if (!doc) {
        head.Developed = fish::developedParams(sp, plate, cutting.Units);
        doc.emplace(out);
        writeHead(*doc, pro, head);
        quadrants = &doc->key("quadrants");
        *quadrants << '[';
      } else {
        *quadrants << ',';
      }
      const bool bends = keep && fish::quadrantSelected(pro, q);
      if (bends) kept.begin(q, arrays.Surf->size());
      measureArrays(head.Pattern, arrays, generators, chords, bends ? &kept : nullptr);
      quadrant.emplace(*quadrants);
      writeQuadrantLines(*quadrant, pro.Divisions, q, *arrays.Razvertka, generators.size(),
                         [&](std::size_t e) { return generators[e]; });
    });
  };
  watch.Measured = [&](const fish::TQuadrantFigures& q) {
    guarded([&] {
      writeQuadrantRest(*quadrant, pro.Divisions, q, chords.size(), [&](std::size_t i) { return chords[i]; });
      quadrant.reset();
    });
  };
  fish::TShopSummary both = fish::shopSummaryAndQuote(sp, pro, plate, cutting, watch);
  if (failure) std::rethrow_exception(failure);
  generators = {};
  chords = {};
  *quadrants << ']';
  writeTail(*doc, pro, both.Figures, &both.Quote, keep ? &kept : nullptr);
  doc.reset();
  return both;
}

namespace {

// The document's head: what was given, the pattern and its cutting, the
// sizes developed; `f` needs no more than those.
void writeHead(TObject& doc, const fish::TProParams& pro, const fish::TShopFigures& f) {
  Json quadrantsChosen = Json::array();
  for (int q = 1; q <= 4; ++q) {
    if (fish::quadrantSelected(pro, q)) quadrantsChosen.push_back(q);
  }
  const fish::TPlateParams& plate = f.Plate;
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
}

// The bends of today's pieces of the precise pattern are lines of the
// quadrants' developments as they are: kept while each is at hand, when the
// quote did not keep them.
bool keepsBends(const fish::TShopFigures& f) {
  return f.Pattern == fish::TPatternKind::Precise && f.Cutting.Seams == fish::kDefaultSeams &&
         !f.Cutting.hasAllowances();
}

// After the quadrants: the sheets, the totals, the accuracy, and the bends
// and the quote when there is one.
void writeTail(TObject& doc, const fish::TProParams& pro, const fish::TShopFigures& f, const fish::TShopQuote* quote,
               TKeptBends* kept) {
  const bool allowances = f.Cutting.hasAllowances();
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

void writeDocument(std::ostream& out, const fish::TProParams& pro, const fish::TShopFigures& f,
                   const fish::TShopQuote* quote) {
  TObject doc(out);
  writeHead(doc, pro, f);
  std::ostream& quadrants = doc.key("quadrants");
  quadrants << '[';
  fish::TQuadrantDevelopment scratch;
  const bool keep = quote && keepsBends(f) &&
                    std::any_of(quote->Quote.Pieces.begin(), quote->Quote.Pieces.end(),
                                [](const fish::TPieceQuote& p) { return p.Bends.size() != p.BendCount; }) &&
                    std::all_of(f.Quadrants.begin(), f.Quadrants.end(),
                                [](const fish::TQuadrantFigures& q) { return q.Razvertka.empty(); });
  TKeptBends kept(nullptr);
  for (std::size_t i = 0; i < f.Quadrants.size(); ++i) {
    if (i > 0) quadrants << ',';
    const bool bends = keep && fish::quadrantSelected(pro, f.Quadrants[i].Quadrant);
    if (bends) kept.begin(f.Quadrants[i].Quadrant, static_cast<std::size_t>(f.Divisions) + 1);
    writeQuadrant(quadrants, f, f.Quadrants[i], pro, scratch, bends ? &kept : nullptr);
  }
  scratch = {};
  quadrants << ']';
  writeTail(doc, pro, f, quote, keep ? &kept : nullptr);
}

}  // namespace

}  // namespace vintaler::figures

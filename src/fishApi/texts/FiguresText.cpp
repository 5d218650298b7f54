#include "FiguresText.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/NumText.h"
#include "fishApi/core/PointNames.h"
#include "fishApi/shop/BendTable.h"

namespace fish {

namespace {

// Characters of a UTF-8 text: every byte but the continuation bytes.
std::size_t charCount(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// A cell `width` characters wide, the text to its left or right; a longer
// text is kept whole and pushes the rest of the row right.
std::string leftIn(std::string_view text, std::size_t width) {
  std::string cell(text);
  for (std::size_t n = charCount(text); n < width; ++n) cell += ' ';
  return cell;
}

std::string rightIn(std::string_view text, std::size_t width) {
  const std::size_t n = charCount(text);
  return std::string(n < width ? width - n : 0, ' ') + std::string(text);
}

// A length with no more than `decimals` decimals padded on the right to
// where those decimals would end, so that the decimal separators of a
// right-aligned column stand one under the other ("50" under "70.71" as
// "50   "). A text that is not such a number is left as it is.
std::string decimalAligned(std::string_view length, std::string_view sep, std::size_t decimals) {
  const std::size_t at = length.find(sep);
  const std::size_t taken = at == std::string_view::npos ? 0 : charCount(length.substr(at + sep.size())) + 1;
  if (taken > decimals + 1 || length.empty() || !(length.back() >= '0' && length.back() <= '9')) {
    return std::string(length);
  }
  return std::string(length) + std::string(decimals + 1 - taken, ' ');
}

// One row of a length table: the element's number (or nothing), the line's
// two end points and its length, in columns a fixed-pitch font lines up,
// the lengths' decimal separators under each other.
std::string lengthRow(std::string_view number, std::string_view from, std::string_view to, std::string_view length,
                      std::string_view sep) {
  return "  " + rightIn(number, 6) + "  " + leftIn(from, 8) + leftIn(to, 8) +
         rightIn(decimalAligned(length, sep, 2), 10);
}

// Which face of the plate a reader of the drawing sees, as the DXF is drawn
// (looking down its Z axis): the outside of the transition when the pattern
// keeps the turn of the surface's outward normal, the inside when it
// mirrors it. The surface is the boundary of the convex hull of the
// rectangle and the circle, so its outward normal points away from any
// inside point, such as the middle between the two centres. Decided on the
// facet of the largest area, the bend lines' own triangles.
TFaceUp faceUp(const TSystemParams& sp, const TSurf2PointArray& surf, const TRazvertka2PointArray& razvertka) {
  const TPoint3D middle{sp.X1 / 2, sp.Y1 / 2, sp.L / 2};
  Extended bestArea = 0;
  TFaceUp face = TFaceUp::Unknown;
  for (std::size_t k = 1; k + 1 < surf.size() && k + 1 < razvertka.size(); ++k) {
    const TPoint3D &c = surf[k].P1, &b = surf[k].P2, &e = surf[k + 1].P2;
    const Extended ux = b.X - c.X, uy = b.Y - c.Y, uz = b.Z - c.Z;
    const Extended vx = e.X - c.X, vy = e.Y - c.Y, vz = e.Z - c.Z;
    const Extended nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const Extended area = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(area > bestArea)) continue;
    const Extended outward = nx * ((c.X + b.X + e.X) / 3 - middle.X) + ny * ((c.Y + b.Y + e.Y) / 3 - middle.Y) +
                             nz * ((c.Z + b.Z + e.Z) / 3 - middle.Z);
    const TPoint2D &c2 = razvertka[k].P1, &b2 = razvertka[k].P2, &e2 = razvertka[k + 1].P2;
    const Extended turn = (b2.X - c2.X) * (e2.Y - c2.Y) - (b2.Y - c2.Y) * (e2.X - c2.X);
    if (outward == 0 || turn == 0) continue;
    bestArea = area;
    face = (outward > 0) == (turn > 0) ? TFaceUp::Outside : TFaceUp::Inside;
  }
  return face;
}

// The sentence for a face up: all bends go one way, the face the reader
// sees ends up outside or inside, so the piece's edges go down or up.
std::string faceUpText(TFaceUp face) {
  switch (face) {
    case TFaceUp::Outside:
      return say(FISH_TR("figures", "Все гибы в одну сторону: в DXF, как начерчено, сверху наружная сторона "
                                    "перехода, края детали загибаются вниз"));
    case TFaceUp::Inside:
      return say(FISH_TR("figures", "Все гибы в одну сторону: в DXF, как начерчено, сверху внутренняя сторона "
                                    "перехода, края детали загибаются вверх"));
    case TFaceUp::Unknown: break;
  }
  return say(FISH_TR("figures", "Все гибы в одну сторону"));
}

class PageWriter {
 public:
  PageWriter(TStringList& lines, std::string_view sep) : Lines(lines), Sep(sep) {}

  void head(const TSystemParams& given) {
    Lines.push_back(say(FISH_TR("figures", "Размеры для разметки")));
    Lines.emplace_back("");
    Lines.push_back(say(FISH_TR("figures", "Параметры перехода:")));
    for (std::string& line : GetParamsText(given, Sep)) Lines.push_back(std::move(line));
  }

  void body(const TShopFigures& f, const TShopQuote* quote = nullptr) {
    U = unitWord(f.Cutting.Units);
    U2 = areaUnitWord(f.Cutting.Units);
    plate(f);
    for (const TQuadrantFigures& q : f.Quadrants) quadrant(q, f.Divisions);
    sheets(f);
    if (quote) bends(f, *quote);
    totals(f);
    if (quote) prices(f, *quote);
    accuracy(f);
  }

 private:
  std::string mm(Extended v) const { return decimalText(v, 2, Sep); }

  void plate(const TShopFigures& f) {
    const TPlateParams& p = f.Plate;
    const TSystemParams& d = f.Developed;
    Lines.push_back(say(FISH_TR("figures", "   Толщина листа: t=%1 %2"), {mm(p.Thickness), U}));
    Lines.push_back(say(FISH_TR("figures", "   Материал: %1, плотность %2 кг/м³"),
                        {materialName(p.Material), mm(p.Density)}));
    const std::string sizes = "(XxY)=" + mm(d.B) + "x" + mm(d.A) + " R=" + mm(d.R);
    if (p.Thickness > 0) {
      Lines.push_back(say(FISH_TR("figures", "   Размеры заданы: прямоугольного сечения %1, круглого %2"),
                          {facesName(p.RectFaces), facesName(p.RoundFaces)}));
      Lines.push_back(say(FISH_TR("figures", "   Развертка по средней поверхности: %1"), {sizes}));
      Lines.push_back(say(f.Pattern == TPatternKind::Precise
                              ? FISH_TR("figures", "   Средняя поверхность отложена по нормали к листу")
                              : FISH_TR("figures", "   Средняя поверхность отложена t/2 по сечению")));
    } else {
      Lines.push_back(say(FISH_TR("figures", "   Развертка по заданным размерам: %1"), {sizes}));
    }
    Lines.push_back(say(FISH_TR("figures", "   Развертка для раскроя: %1"), {patternName(f.Pattern)}));
    Lines.emplace_back("");
    Lines.push_back(say(FISH_TR("figures", "Длины истинные, в %1: на развертке они те же."), {U}));
  }

  void quadrant(const TQuadrantFigures& q, std::int32_t n) {
    const int k = q.Quadrant;
    const std::string corner = cornerName(k);
    const std::string midX = sideMidpointName(k);
    const auto arcPoint = [k, n](std::size_t j) { return arcPointName(k, n, static_cast<std::int32_t>(j)); };

    // The column heads, said once for the three tables.
    const std::string number = say(FISH_TR("figures", "№")), from = say(FISH_TR("figures", "От")),
                      to = say(FISH_TR("figures", "До")), length = say(FISH_TR("figures", "Длина"));
    Lines.emplace_back("");
    Lines.push_back(say(FISH_TR("figures", "Квадрант %1"), {std::to_string(k)}));
    Lines.push_back(say(FISH_TR("figures", "  Истинные длины образующих:")));
    Lines.push_back(lengthRow(number, from, to, length, Sep));
    const std::size_t last = q.Generators.size() - 1;
    for (std::size_t e = 0; e <= last; ++e) {
      const TLineEnds ends = generatorEnds(k, n, e);
      Lines.push_back(lengthRow(std::to_string(e), ends.From, ends.To, mm(q.Generators[e]), Sep));
    }
    Lines.push_back(say(FISH_TR("figures", "  Хорды дуги:")));
    Lines.push_back(lengthRow("", from, to, length, Sep));
    for (std::size_t i = 0; i < q.Chords.size(); ++i) {
      Lines.push_back(lengthRow("", arcPoint(i + 1), arcPoint(i + 2), mm(q.Chords[i]), Sep));
    }
    Lines.push_back(say(FISH_TR("figures", "  Стороны прямоугольника:")));
    Lines.push_back(lengthRow("", from, to, length, Sep));
    Lines.push_back(lengthRow("", kOriginName, corner, mm(q.EdgeToCorner), Sep));
    Lines.push_back(lengthRow("", corner, midX, mm(q.EdgeFromCorner), Sep));
    Lines.push_back(say(FISH_TR("figures", "  Площадь детали: %1 %2"), {mm(q.Area), U2}));
  }

  void sheets(const TShopFigures& f) {
    Lines.emplace_back("");
    Lines.push_back(say(FISH_TR("figures", "Листы (выбранные квадранты, как на развертке):")));
    const TCuttingParams& c = f.Cutting;
    const bool allowances = c.hasAllowances();
    if (c.Seams != kDefaultSeams || allowances) {
      Lines.push_back(say(FISH_TR("figures", "  Швы: %1; припуски: на шов %2 и %3 %6, у прямоугольного конца %4 %6, "
                                             "у круглого конца %5 %6"),
                          {seamsText(c.Seams), mm(c.SeamFirst), mm(c.SeamSecond), mm(c.RectAllowance),
                           mm(c.RoundAllowance), U}));
    }
    if (f.Sheets.empty()) Lines.push_back(say(FISH_TR("figures", "  Не выбран ни один квадрант")));
    for (std::size_t i = 0; i < f.Sheets.size(); ++i) {
      const TSheetFigures& s = f.Sheets[i];
      const std::string sheet = "  " + sheetTitle(i, s.Quadrants, s.Name);
      // With allowances the blank is cut larger than the net piece.
      if (allowances) {
        Lines.push_back(say(FISH_TR("figures", "%1: площадь с припусками %2 %7, без припусков %3 %7, "
                                               "заготовка %4x%5 %6"),
                            {sheet, mm(s.Area), mm(s.NetArea), mm(s.Width), mm(s.Height), U, U2}));
      } else {
        Lines.push_back(say(FISH_TR("figures", "%1: площадь %2 %6, заготовка %3x%4 %5"),
                            {sheet, mm(s.Area), mm(s.Width), mm(s.Height), U, U2}));
      }
    }
  }

  // A sheet by its number and quadrants, or a named piece by its name (which
  // says the seams that bound it) and quadrants.
  static std::string sheetTitle(std::size_t i, const std::vector<int>& quadrants, const std::string& name) {
    std::string list;
    for (int q : quadrants) {
      list = list.empty() ? std::to_string(q) : say(FISH_TR("figures", "%1 и %2"), {list, std::to_string(q)});
    }
    const std::string inQuadrants = say(
        quadrants.size() > 1 ? FISH_TR("figures", "квадранты %1") : FISH_TR("figures", "квадрант %1"), {list});
    return name.empty() ? say(FISH_TR("figures", "Лист %1 (%2)"), {std::to_string(i + 1), inQuadrants})
                        : name + ", " + inQuadrants;
  }

  // A quote's piece named as the sheets section names it.
  static std::string pieceTitle(const TShopFigures& f, std::size_t i) {
    if (i < f.Sheets.size()) return sheetTitle(i, f.Sheets[i].Quadrants, f.Sheets[i].Name);
    return say(FISH_TR("figures", "Деталь %1"), {std::to_string(i + 1)});
  }

  // The press brake's table: every bend of a piece in the order it comes
  // round the piece, its element (numbered as the generators above), its
  // quadrant, its length and its angle from flat.
  void bends(const TShopFigures& f, const TShopQuote& quote) {
    if (quote.Quote.Pieces.empty()) return;
    Lines.emplace_back("");
    Lines.push_back(say(FISH_TR("figures", "Гибы (для листогиба), по порядку раскроя; угол — отклонение от плоскости:")));
    Lines.push_back("  " + faceUpText(quote.FaceUp));
    // The tables' rounded arc points can step back and turn a facet over.
    const auto back = [](const TPieceQuote& p) {
      return std::any_of(p.Bends.begin(), p.Bends.end(), [](const TBend& b) { return b.Angle <= -0.005L; });
    };
    if (std::any_of(quote.Quote.Pieces.begin(), quote.Quote.Pieces.end(), back))
      Lines.push_back(say(FISH_TR("figures", "  Гибы с углом меньше нуля идут в обратную сторону (точки дуги, "
                                             "округленные в таблицах)")));
    const std::string head = "  " + rightIn(say(FISH_TR("figures", "№")), 6) +
                             rightIn(say(FISH_TR("figures", "Квадрант")), 10) +
                             rightIn(say(FISH_TR("figures", "Длина")), 10) + rightIn(say(FISH_TR("figures", "Угол")), 10);
    for (std::size_t i = 0; i < quote.Quote.Pieces.size(); ++i) {
      const TPieceQuote& p = quote.Quote.Pieces[i];
      Lines.push_back("  " + pieceTitle(f, i) + ":");
      Lines.push_back(head);
      for (const TBend& b : p.Bends) {
        Lines.push_back("  " + rightIn(std::to_string(b.Element), 6) + rightIn(std::to_string(b.Quadrant), 10) +
                        rightIn(mm(b.Length), 10) + rightIn(mm(b.Angle) + "°", 10));
      }
    }
  }

  // What a job is priced by, per piece and for the whole transition.
  void prices(const TShopFigures& f, const TShopQuote& quote) {
    const TQuote& q = quote.Quote;
    if (q.Pieces.empty()) return;
    Lines.emplace_back("");
    Lines.push_back(say(FISH_TR("figures", "Для расчета стоимости:")));
    const auto figures = [this](Extended cut, int pierces, Extended seams, std::size_t bends) {
      return say(FISH_TR("figures", "рез %1 %5, врезок %2, швы %3 %5, гибов %4"),
                 {mm(cut), std::to_string(pierces), mm(seams), std::to_string(bends), U});
    };
    const auto areas = [this](Extended blank, Extended net, Extended cut, Extended mass) {
      return say(FISH_TR("figures", "площадь заготовки %1 %5, детали %2 %5, по контуру реза %3 %5, масса %4 кг"),
                 {mm(blank), mm(net), mm(cut), decimalText(mass, 3, Sep), U2});
    };
    for (std::size_t i = 0; i < q.Pieces.size(); ++i) {
      const TPieceQuote& p = q.Pieces[i];
      Lines.push_back("  " + pieceTitle(f, i) + ": " + figures(p.CutLength, p.Pierces, p.SeamLength, p.Bends.size()));
      Lines.push_back(say(FISH_TR("figures", "    заготовка %1x%2 %4, %3"),
                          {mm(p.BlankWidth), mm(p.BlankHeight),
                           areas(p.BlankWidth * p.BlankHeight, p.NetArea, p.CutArea, p.Mass), U}));
      Lines.push_back(say(FISH_TR("figures", "    наименьшая заготовка %1x%2 %4, повернутая на %3°"),
                          {mm(p.MinBlank.Width), mm(p.MinBlank.Height), decimalText(p.MinBlank.Angle, 2, Sep), U}));
    }
    Lines.push_back(say(FISH_TR("figures", "  Всего: %1"), {figures(q.CutLength, q.Pierces, q.SeamLength, q.Bends)}));
    Lines.push_back("    " + areas(q.BlankArea, q.NetArea, q.CutArea, q.Mass));
  }

  void totals(const TShopFigures& f) {
    Lines.emplace_back("");
    // Square metres in a square unit: 1E-6 for mm.
    const Extended squareMetres = f.Cutting.Units == TUnits::Inches ? 0.0254L * 0.0254L : 1e-6L;
    Lines.push_back(say(FISH_TR("figures", "Площадь всего перехода: %1 %3 (%2 м²)"),
                        {mm(f.NetArea), decimalText(f.NetArea * squareMetres, 4, Sep), U2}));
    if (f.Plate.Thickness > 0) {
      Lines.push_back(say(FISH_TR("figures", "Масса: %1 кг"), {decimalText(f.Mass, 3, Sep)}));
    } else {
      Lines.push_back(say(FISH_TR("figures", "Масса: 0 кг (толщина листа не задана)")));
    }
  }

  // The chosen pattern's lines and arc against the exact surface, then what
  // is left of each pattern: the chords of both, the tables' points.
  void accuracy(const TShopFigures& f) {
    const TAccuracy& a = f.Accuracy;
    const TPatternAccuracy& p = f.PatternAccuracy;
    Lines.emplace_back("");
    Lines.push_back(say(FISH_TR("figures", "Точность развертки:")));
    Lines.push_back(say(FISH_TR("figures", "  Длина дуги: отклонение %1 %3 (ломаная из точных хорд короче дуги на %2 %3)"),
                        {mm(a.ArcLengthError), mm(a.ChordPolygonGap), U}));
    Lines.push_back(say(FISH_TR("figures", "  Длина линии отклоняется не более чем на %1 %2"), {mm(a.WorstEdgeError), U}));
    Lines.push_back(say(FISH_TR("figures", "  Хорды дуги отходят от кривой не более чем на %1 %2"), {mm(p.ChordError), U}));
    Lines.push_back(say(FISH_TR("figures", "  Точки развертки по таблицам отходят от точных не более чем на %1 %2"),
                        {mm(p.MaxPointError), U}));
    Lines.push_back(say(FISH_TR("figures", "  Допустимо: %1 %2"), {mm(p.Limit), U}));
    const std::string warning = f.Pattern == TPatternKind::Table ? tableAccuracyWarning(p, Sep, U)
                                                                 : preciseAccuracyWarning(p, Sep, U);
    if (!warning.empty()) Lines.push_back(warning);
  }

  TStringList& Lines;
  std::string Sep;
  std::string U, U2;  // the unit's words, of a length and of an area
};

}  // namespace

TStringList figuresLines(const TShopFigures& figures, std::string_view decimalSeparator) {
  TStringList lines;
  PageWriter page(lines, decimalSeparator);
  page.head(figures.Given);
  page.body(figures);
  return lines;
}

namespace {

// The face up and the bends of the chosen quadrants, told them one by one
// in order.
struct TSeenQuadrants {
  void include(const TSystemParams& sp, const TProParams& pro, int q, const TSurf2PointArray& surf,
               const TRazvertka2PointArray& razvertka) {
    if (!quadrantSelected(pro, q)) return;
    const TFaceUp face = faceUp(sp, surf, razvertka);
    Face = First || Face == face ? face : TFaceUp::Unknown;
    First = false;
    if (WantBends) Bends[static_cast<std::size_t>(q - 1)] = bendAngles(surf);
  }
  TFaceUp Face = TFaceUp::Unknown;
  bool First = true;
  bool WantBends = true;
  TQuadrantBends Bends;
};

// The quote, the face up (and with `seen` the bends) found already: the
// developments cost more than the quote's own figures.
TShopQuote quoteWith(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                     const TCuttingParams& cutting, TFaceUp face, const TSeenQuadrants* seen = nullptr,
                     bool keepBends = true) {
  TShopQuote quote;
  if (!std::any_of(pro.Quadrants.begin(), pro.Quadrants.end(), [](ByteBool b) { return b != 0; })) return quote;
  quote.Quote = quoteFigures(sp, pro, plate, cutting, seen ? &seen->Bends : nullptr, keepBends);
  quote.FaceUp = face;
  return quote;
}

}  // namespace

TShopQuote shopQuote(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                     const TCuttingParams& cutting) {
  TShopQuote quote = quoteWith(sp, pro, plate, cutting, TFaceUp::Unknown);
  TSeenQuadrants face;
  face.WantBends = false;
  TQuadrantDevelopment d;
  for (std::uint16_t q = 1; q <= 4 && !quote.Quote.Pieces.empty(); ++q) {
    if (!quadrantSelected(pro, q)) continue;
    developCutting(cutting.Pattern, sp, plate, pro, q, d, cutting.Units);
    face.include(sp, pro, q, d.Surf, d.Razvertka);
  }
  quote.FaceUp = face.Face;
  return quote;
}

TShopSummary shopSummaryAndQuote(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                                 const TCuttingParams& cutting, const TQuadrantWatch& watch) {
  // The bends are counted, not kept: a writer walks them again. Today's
  // pieces are quoted from the sheets as the figures lay them.
  TSeenQuadrants face;
  face.WantBends = false;
  TShopSummary both;
  std::optional<TQuote> quote;
  both.Figures = shopSummary(
      sp, pro, plate, cutting,
      [&](int q, const TQuadrantArrays& arrays) {
        face.include(sp, pro, q, *arrays.Surf, *arrays.Razvertka);
        if (watch.Seen) watch.Seen(q, arrays);
      },
      quote, watch.Measured);
  if (quote) {
    both.Quote.Quote = std::move(*quote);
    both.Quote.FaceUp = face.Face;
  } else {
    both.Quote = quoteWith(sp, pro, plate, cutting, face.Face, nullptr, false);
  }
  return both;
}

TResultsPage figuresPage(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         TPatternKind pattern, std::string_view decimalSeparator, const TQuadrantSource& source) {
  TCuttingParams cutting;
  cutting.Pattern = pattern;
  return figuresPage(sp, pro, plate, cutting, decimalSeparator, source);
}

TResultsPage figuresPage(const TSystemParams& sp, const TProParams& pro, const TPlateParams& plate,
                         const TCuttingParams& cutting, std::string_view decimalSeparator,
                         const TQuadrantSource& source) {
  TResultsPage result;
  PageWriter page(result.Lines, decimalSeparator);
  try {
    page.head(sp);
    // The face up from the developments the figures measure, each quadrant
    // developed once for both.
    TSeenQuadrants face;
    const TShopFigures figures =
        shopFigures(sp, pro, plate, cutting, source, [&](int q, const TQuadrantArrays& arrays) {
          face.include(sp, pro, q, *arrays.Surf, *arrays.Razvertka);
        });
    const TShopQuote quote = quoteWith(sp, pro, plate, cutting, face.Face, &face);
    page.body(figures, &quote);
  } catch (const EFishError&) {
    result.Error = std::current_exception();
  }
  return result;
}

}  // namespace fish

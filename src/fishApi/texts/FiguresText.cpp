#include "FiguresText.h"

#include <string>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/NumText.h"
#include "fishApi/core/PointNames.h"

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

class PageWriter {
 public:
  PageWriter(TStringList& lines, std::string_view sep) : Lines(lines), Sep(sep) {}

  void head(const TSystemParams& given) {
    Lines.emplace_back("Размеры для разметки");
    Lines.emplace_back("");
    Lines.emplace_back("Параметры перехода:");
    for (std::string& line : GetParamsText(given, Sep)) Lines.push_back(std::move(line));
  }

  void body(const TShopFigures& f) {
    plate(f);
    for (const TQuadrantFigures& q : f.Quadrants) quadrant(q, f.Divisions);
    sheets(f);
    totals(f);
    accuracy(f);
  }

 private:
  std::string mm(Extended v) const { return decimalText(v, 2, Sep); }

  void plate(const TShopFigures& f) {
    const TPlateParams& p = f.Plate;
    const TSystemParams& d = f.Developed;
    Lines.push_back("   Толщина листа: t=" + mm(p.Thickness) + " мм");
    Lines.push_back("   Материал: " + std::string(materialName(p.Material)) + ", плотность " + mm(p.Density) +
                    " кг/м³");
    const std::string sizes = "(XxY)=" + mm(d.B) + "x" + mm(d.A) + " R=" + mm(d.R);
    if (p.Thickness > 0) {
      Lines.push_back("   Размеры заданы: прямоугольного сечения " + std::string(facesName(p.RectFaces)) +
                      ", круглого " + std::string(facesName(p.RoundFaces)));
      Lines.push_back("   Развертка по средней поверхности: " + sizes);
    } else {
      Lines.push_back("   Развертка по заданным размерам: " + sizes);
    }
    Lines.push_back("   Развертка для раскроя: " + std::string(patternName(f.Pattern)));
    Lines.emplace_back("");
    Lines.emplace_back("Длины истинные, в мм: на развертке они те же.");
  }

  void quadrant(const TQuadrantFigures& q, std::int32_t n) {
    const int k = q.Quadrant;
    const std::string corner = cornerName(k);
    const std::string midX = sideMidpointName(k);
    const auto arcPoint = [k, n](std::size_t j) { return arcPointName(k, n, static_cast<std::int32_t>(j)); };

    Lines.emplace_back("");
    Lines.push_back("Квадрант " + std::to_string(k));
    Lines.emplace_back("  Истинные длины образующих:");
    Lines.push_back(lengthRow("№", "От", "До", "Длина", Sep));
    const std::size_t last = q.Generators.size() - 1;
    for (std::size_t e = 0; e <= last; ++e) {
      const TLineEnds ends = generatorEnds(k, n, e);
      Lines.push_back(lengthRow(std::to_string(e), ends.From, ends.To, mm(q.Generators[e]), Sep));
    }
    Lines.emplace_back("  Хорды дуги:");
    Lines.push_back(lengthRow("", "От", "До", "Длина", Sep));
    for (std::size_t i = 0; i < q.Chords.size(); ++i) {
      Lines.push_back(lengthRow("", arcPoint(i + 1), arcPoint(i + 2), mm(q.Chords[i]), Sep));
    }
    Lines.emplace_back("  Стороны прямоугольника:");
    Lines.push_back(lengthRow("", "От", "До", "Длина", Sep));
    Lines.push_back(lengthRow("", kOriginName, corner, mm(q.EdgeToCorner), Sep));
    Lines.push_back(lengthRow("", corner, midX, mm(q.EdgeFromCorner), Sep));
    Lines.push_back("  Площадь детали: " + mm(q.Area) + " мм²");
  }

  void sheets(const TShopFigures& f) {
    Lines.emplace_back("");
    Lines.emplace_back("Листы (выбранные квадранты, как на развертке):");
    const TCuttingParams& c = f.Cutting;
    const bool allowances = c.hasAllowances();
    if (c.Seams != kDefaultSeams || allowances) {
      Lines.push_back("  Швы: " + seamsText(c.Seams) + "; припуски: на шов " + mm(c.SeamFirst) + " и " +
                      mm(c.SeamSecond) + " мм, у прямоугольного конца " + mm(c.RectAllowance) +
                      " мм, у круглого конца " + mm(c.RoundAllowance) + " мм");
    }
    if (f.Sheets.empty()) Lines.emplace_back("  Не выбран ни один квадрант");
    for (std::size_t i = 0; i < f.Sheets.size(); ++i) {
      const TSheetFigures& s = f.Sheets[i];
      std::string quadrants;
      for (int q : s.Quadrants) quadrants += (quadrants.empty() ? "" : " и ") + std::to_string(q);
      const std::string inQuadrants = (s.Quadrants.size() > 1 ? "квадранты " : "квадрант ") + quadrants;
      // A named piece says which seams bound it; with allowances the blank
      // is cut larger than the net piece.
      const std::string sheet = s.Name.empty() ? "  Лист " + std::to_string(i + 1) + " (" + inQuadrants + ")"
                                               : "  " + s.Name + ", " + inQuadrants;
      const std::string area = allowances ? "площадь с припусками " + mm(s.Area) + " мм², без припусков " +
                                                mm(s.NetArea) + " мм²"
                                          : "площадь " + mm(s.Area) + " мм²";
      Lines.push_back(sheet + ": " + area + ", заготовка " + mm(s.Width) + "x" + mm(s.Height) + " мм");
    }
  }

  void totals(const TShopFigures& f) {
    Lines.emplace_back("");
    Lines.push_back("Площадь всего перехода: " + mm(f.NetArea) + " мм² (" + decimalText(f.NetArea * 1e-6L, 4, Sep) +
                    " м²)");
    if (f.Plate.Thickness > 0) {
      Lines.push_back("Масса: " + decimalText(f.Mass, 3, Sep) + " кг");
    } else {
      Lines.emplace_back("Масса: 0 кг (толщина листа не задана)");
    }
  }

  // The chosen pattern's lines and arc against the exact surface, then what
  // is left of each pattern: the chords of both, the tables' points.
  void accuracy(const TShopFigures& f) {
    const TAccuracy& a = f.Accuracy;
    const TPatternAccuracy& p = f.PatternAccuracy;
    Lines.emplace_back("");
    Lines.emplace_back("Точность развертки:");
    Lines.push_back("  Длина дуги: отклонение " + mm(a.ArcLengthError) + " мм (ломаная из точных хорд короче дуги на " +
                    mm(a.ChordPolygonGap) + " мм)");
    Lines.push_back("  Длина линии отклоняется не более чем на " + mm(a.WorstEdgeError) + " мм");
    Lines.push_back("  Хорды дуги отходят от кривой не более чем на " + mm(p.ChordError) + " мм");
    Lines.push_back("  Точки развертки по таблицам отходят от точных не более чем на " + mm(p.MaxPointError) + " мм");
    Lines.push_back("  Допустимо: " + mm(kAccuracyLimit) + " мм");
    const std::string warning = f.Pattern == TPatternKind::Table ? tableAccuracyWarning(p, Sep)
                                                                 : preciseAccuracyWarning(p, Sep);
    if (!warning.empty()) Lines.push_back(warning);
  }

  TStringList& Lines;
  std::string Sep;
};

}  // namespace

TStringList figuresLines(const TShopFigures& figures, std::string_view decimalSeparator) {
  TStringList lines;
  PageWriter page(lines, decimalSeparator);
  page.head(figures.Given);
  page.body(figures);
  return lines;
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
    page.body(shopFigures(sp, pro, plate, cutting, source));
  } catch (const EFishError&) {
    result.Error = std::current_exception();
  }
  return result;
}

}  // namespace fish

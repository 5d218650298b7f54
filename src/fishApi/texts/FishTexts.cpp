#include "FishTexts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishExtents.h"
#include "fishApi/core/FishMath.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/core/FishSurface.h"
#include "fishApi/core/NumText.h"
#include "fishApi/core/PointNames.h"
#include "fishApi/shop/ShopFigures.h"

namespace fish {

namespace {

// Round1 in its two steps: the whole number of tenths (the step that can
// fail), then the value it stands for.
std::int64_t tenthsOf(Extended v) { return roundToInt64(v * 10); }
Extended valueOfTenths(std::int64_t tenths) { return static_cast<Extended>(tenths) * kTenth; }

// Round1's value as floatToText writes it, from its number of tenths k.
// Below 10^14 tenths the value (k times the extended nearest to 0.1) lies
// within 2^-63 of k/10 relatively, far inside the half unit of the fifteenth
// significant digit the general format rounds to, and k/10 has at most 14
// digits: its text is k/10 written out, the tenths digit after the separator
// unless it is 0. Larger counts take the general format.
std::string tenthsText(std::int64_t tenths, std::string_view sep) {
  constexpr std::int64_t kWrittenOutBelow = 100'000'000'000'000;
  if (tenths <= -kWrittenOutBelow || tenths >= kWrittenOutBelow) return floatToText(valueOfTenths(tenths), sep);
  const std::int64_t magnitude = tenths < 0 ? -tenths : tenths;
  char whole[24];
  char* end = std::to_chars(whole, whole + sizeof whole, magnitude / 10).ptr;
  std::string text;
  if (tenths < 0) text += '-';
  text.append(whole, static_cast<std::size_t>(end - whole));
  if (const std::int64_t digit = magnitude % 10; digit != 0) {
    text += sep;
    text += static_cast<char>('0' + digit);
  }
  return text;
}

// The characters of a UTF-8 text: its bytes that do not continue one.
std::size_t charCount(std::string_view s) {
  std::size_t count = 0;
  for (char c : s) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// The byte at which character `at` of a UTF-8 text starts (the text's size
// when it has no more characters).
std::size_t byteOfChar(std::string_view s, std::size_t at) {
  std::size_t b = 0;
  for (std::size_t seen = 0; b < s.size(); ++b) {
    if ((static_cast<unsigned char>(s[b]) & 0xC0) != 0x80 && seen++ == at) break;
  }
  return b;
}

// tableRow into a buffer the caller reuses, counting characters of UTF-8.
// Insertions only push characters right, so what passes the 30th character
// never comes back: each insertion is made into the 30 characters kept.
void tableRowInto(std::string& row, std::string_view label, std::string_view xText, std::string_view yText) {
  constexpr std::size_t kWidth = 30;
  const std::size_t labelChars = charCount(label), xChars = charCount(xText), yChars = charCount(yText);
  if (labelChars <= 10 && xChars <= 10 && yChars <= 8) {
    // Texts of ordinary length never push one another: each stands at its
    // column in the spaces.
    const std::size_t xAt = 2 + label.size() + (10 - labelChars);
    const std::size_t yAt = xAt + xText.size() + (10 - xChars);
    row.assign(yAt + yText.size() + (8 - yChars), ' ');
    label.copy(row.data() + 2, label.size());
    xText.copy(row.data() + xAt, xText.size());
    yText.copy(row.data() + yAt, yText.size());
    return;
  }
  row.assign(kWidth, ' ');
  const std::pair<std::size_t, std::string_view> insertions[] = {{2, label}, {12, xText}, {22, yText}};
  for (const auto& [at, text] : insertions) {
    row.insert(byteOfChar(row, at), text);
    row.resize(byteOfChar(row, kWidth));
  }
}

// The numbers the table of a developed quadrant prints, kept as its
// elements are laid (in index order): T1, the arc end, the X-side midpoint
// and the corner, then every intermediate arc point. A number that cannot be
// rounded leaves the error it raised and no numbers; every rounding fails
// only as the one invalid operation, so which number failed first does not
// show.
class TableKeeper {
 public:
  // The count is checked before it sizes the table: a count from a damaged
  // file must be refused, not wrapped round to a huge size.
  TableKeeper(std::int32_t divisions, TTableNumbers& table)
      : N((checkDivisions(divisions), static_cast<std::size_t>(divisions))), Table(table) {
    Table = TTableNumbers{};
    Table.Narrow.assign(2 * (N + 3), 0);
  }

  void add(std::size_t k, const TRazvertka2Point& d) {
    if (Table.Error) return;
    try {
      const TElementPoint held = outlinePointOfElement(static_cast<std::int32_t>(N), k);
      keep(held.Row, held.NearEnd ? d.P1 : d.P2);
    } catch (const EFishError&) {
      Table = TTableNumbers{};
      Table.Error = std::current_exception();
    }
  }

 private:
  void keep(std::size_t row, const TPoint2D& p) {
    keep1(2 * row, p.X);
    keep1(2 * row + 1, p.Y);
  }

  void keep1(std::size_t at, Extended v) {
    const std::int64_t tenths = tenthsOf(v);
    if (Table.Wide.empty()) {
      if (tenths >= INT32_MIN && tenths <= INT32_MAX) {
        Table.Narrow[at] = static_cast<std::int32_t>(tenths);
        return;
      }
      Table.Wide.assign(Table.Narrow.begin(), Table.Narrow.end());
      Table.Narrow = {};
    }
    Table.Wide[at] = tenths;
  }

  std::size_t N;
  TTableNumbers& Table;
};

void keepTableNumbers(const TRazvertka2PointArray& d, std::int32_t divisions, TTableNumbers& table) {
  TableKeeper keeper(divisions, table);
  for (std::size_t k = 0; k < d.size(); ++k) keeper.add(k, d[k]);
}

// The lines of a quadrant's table from the numbers kept for it.
void tableLines(std::uint8_t quadrant, const TTableNumbers& tenths, std::string_view sep,
                const std::function<void(std::string_view)>& each) {
  each("");
  each(say(FISH_TR("results", "Квадрант %1"), {std::to_string(quadrant)}));
  std::string row;
  tableRowInto(row, say(FISH_TR("results", "Точка")), "X", "Y");
  each(row);
  const std::size_t rows = tenths.size() / 2;
  const auto divisions = static_cast<std::int32_t>(rows > 3 ? rows - 3 : 0);
  for (std::size_t i = 0; i < rows; ++i) {
    tableRowInto(row, outlinePoint(quadrant, divisions, i).Name, tenthsText(tenths[2 * i], sep),
                 tenthsText(tenths[2 * i + 1], sep));
    each(row);
  }
}

std::string messageOf(const std::exception_ptr& error) {
  if (!error) return {};
  try {
    std::rethrow_exception(error);
  } catch (const EFishError& e) {
    return e.what();
  }
}

// The overall size's line, the same on the page and in GetGabaritText.
constexpr TMsgId kOverallSize = FISH_TR("results", "Общие габариты (XxY)=%1x%2");

void lower(Extended& target, Extended v) {
  if (v < target) target = v;
}
void raise(Extended& target, Extended v) {
  if (v > target) target = v;
}

}  // namespace

std::string numberText(Extended v, std::string_view decimalSeparator) {
  return tenthsText(tenthsOf(v), decimalSeparator);
}

std::string tableRow(std::string_view label, std::string_view xText, std::string_view yText) {
  std::string row;
  tableRowInto(row, label, xText, yText);
  return row;
}

TStringList GetParamsText(const TSystemParams& sp, std::string_view sep) {
  return {
      say(FISH_TR("results", "   Прямоугольное сечение: (XxY)=%1x%2"), {numberText(sp.B, sep), numberText(sp.A, sep)}),
      say(FISH_TR("results", "   Радиус круглого сечения: R=%1"), {numberText(sp.R, sep)}),
      say(FISH_TR("results", "   Расстояние между сечениями: L=%1"), {numberText(sp.L, sep)}),
      say(FISH_TR("results", "   Смещение осей сечений: dX=%1 dY=%2"), {numberText(sp.X1, sep), numberText(sp.Y1, sep)}),
  };
}

TStringList GetGabaritText(const TSystemParams& sp, const TProParams& pro, std::string_view sep) {
  TExtents2D e;
  GetRazvertkaExtents(sp, pro, e);
  const Extended width = std::fabs(e.MaxX - e.MinX);
  const Extended height = std::fabs(e.MaxY - e.MinY);
  return {say(kOverallSize, {numberText(width, sep), numberText(height, sep)})};
}

TStringList GetRazvertkaTable(const TSystemParams& sp, const TProParams& pro, std::uint8_t quadrant,
                              std::string_view sep) {
  if (quadrant < 1 || quadrant > 4) throw ERangeError();
  TQuadrantDevelopment piece = developQuadrant(sp, pro, quadrant);
  TTableNumbers tenths;
  keepTableNumbers(piece.Razvertka, pro.Divisions, tenths);
  if (tenths.Error) std::rethrow_exception(tenths.Error);
  TStringList lines;
  lines.reserve(tenths.size() / 2 + 3);
  tableLines(quadrant, tenths, sep, [&lines](std::string_view line) { lines.emplace_back(line); });
  publishLast(std::move(piece));
  return lines;
}

std::string TResultsPage::failureMessage() const { return messageOf(Error); }

TResultsSource::TResultsSource(const TSystemParams& sp, const TProParams& pro, std::string_view sep, bool publish)
    : TResultsSource(sp, pro, sep, publish, TPlateParams{}) {}

// The parameter lines show the sizes as given; a plate of some thickness adds
// which faces they measure and the neutral surface's sizes developed from
// them. Everything after is of the developed sizes, which for t = 0 are the
// records themselves, bit for bit, so that such a page is the plain page.
TResultsSource::TResultsSource(const TSystemParams& sp, const TProParams& pro, std::string_view sep, bool publish,
                               const TPlateParams& plate, TAccuracy* accuracy, TUnits units)
    : Separator(sep) {
  TSystemParams developed;
  try {
    ParamsLines = GetParamsText(sp, sep);
    ++Finished;
    developed = developedParams(sp, plate, units);
    if (plate.Thickness != 0) {
      ParamsLines.push_back(
          say(FISH_TR("results", "   Толщина листа: t=%1 %4 (прямоугольное сечение: %2 размеры, круглое: %3)"),
              {decimalText(plate.Thickness, 2, sep), facesName(plate.RectFaces), facesName(plate.RoundFaces),
               unitWord(units)}));
      ParamsLines.push_back(say(FISH_TR("results", "   Развертка по средней поверхности: (XxY)=%1x%2 R=%3"),
                                {decimalText(developed.B, 2, sep), decimalText(developed.A, 2, sep),
                                 decimalText(developed.R, 2, sep)}));
    }
    // The overall size develops quadrants 1..4 in order, as GetGabaritText
    // does. Each development is taken element by element as it is laid and
    // kept only as its table's numbers (and, when asked, its accuracy);
    // neither the surface nor the development is held whole unless it is to
    // be published.
    TExtents2D e;
    TAccuracy gathered;
    TQuadrantDevelopment d;
    for (std::uint8_t q = 1; q <= 4; ++q) {
      TableKeeper keeper(pro.Divisions, Tables[q - 1]);
      // The meter is made with the first element, once the records have
      // passed the development's own checks.
      std::optional<TAccuracyMeter> meter;
      if (publish) d.Razvertka.reserve(static_cast<std::size_t>(pro.Divisions) + 3);
      developQuadrantElements(
          developed, pro, q,
          [&](std::size_t k, const TRazvertka2Point& element) {
            keeper.add(k, element);
            if (publish) d.Razvertka.push_back(element);
            if (!accuracy) return;
            if (k == 0) meter.emplace(developed, pro, q);
            meter->add(k, element);
          },
          d.Min, d.Max, publish ? &d.Surf : nullptr);
      if (meter) gathered.include(meter->result());
      lower(e.MinX, d.Min.X);
      lower(e.MinY, d.Min.Y);
      raise(e.MaxX, d.Max.X);
      raise(e.MaxY, d.Max.Y);
      if (publish) publishLast(std::exchange(d, TQuadrantDevelopment{}));
    }
    if (accuracy) *accuracy = gathered;
    const Extended width = std::fabs(e.MaxX - e.MinX);
    const Extended height = std::fabs(e.MaxY - e.MinY);
    GabaritLine = say(kOverallSize, {numberText(width, sep), numberText(height, sep)});
    ++Finished;
  } catch (const EFishError&) {
    Error = std::current_exception();
    Tables = {};
    return;
  }
  for (std::uint8_t q = 1; q <= 4; ++q) {
    if (Tables[q - 1].Error) {
      Error = Tables[q - 1].Error;
      // Made one by one, every table before the failing one would have
      // handed its quadrant on; after the overall size that is quadrant 4.
      if (publish && q > 1) publishLast(developQuadrant(developed, pro, static_cast<std::uint16_t>(q - 1)));
      break;
    }
    ++Finished;
  }
  for (std::size_t k = static_cast<std::size_t>(std::max(Finished - 2, 0)); k < Tables.size(); ++k) {
    Tables[k] = TTableNumbers{};
  }
}

std::string TResultsSource::failureMessage() const { return messageOf(Error); }

void TResultsSource::forEachLine(const std::function<void(std::string_view)>& each) const {
  each(say(FISH_TR("results", "Параметры перехода:")));
  each("");
  if (Finished < 1) return;
  for (const std::string& line : ParamsLines) each(line);
  each("");
  each(say(FISH_TR("results", "Результаты расчета развертки:")));
  each("");
  if (Finished < 2) return;
  each(GabaritLine);
  each("");
  each(say(FISH_TR("results", "Координаты точек контура развертки (по квадрантам прямоугольного сечения):")));
  for (std::uint8_t q = 1; q <= 4 && Finished >= q + 2; ++q) tableLines(q, Tables[q - 1], Separator, each);
}

TResultsPage resultsPage(const TSystemParams& sp, const TProParams& pro, std::string_view sep) {
  return resultsPage(sp, pro, sep, TPlateParams{});
}

TResultsPage resultsPage(const TSystemParams& sp, const TProParams& pro, std::string_view sep,
                         const TPlateParams& plate, TUnits units) {
  const TResultsSource source(sp, pro, sep, true, plate, nullptr, units);
  TResultsPage page;
  source.forEachLine([&page](std::string_view line) { page.Lines.emplace_back(line); });
  page.Error = source.error();
  return page;
}

TStringList getResultsText(const TSystemParams& sp, const TProParams& pro, std::string_view sep) {
  TResultsPage page = resultsPage(sp, pro, sep);
  if (page.Error) std::rethrow_exception(page.Error);
  return std::move(page.Lines);
}

}  // namespace fish

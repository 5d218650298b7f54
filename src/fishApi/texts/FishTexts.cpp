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

std::u32string decodeUtf8(std::string_view s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    int extra = 0;
    char32_t cp = c;
    if (c >= 0xF0) {
      extra = 3;
      cp = c & 0x07u;
    } else if (c >= 0xE0) {
      extra = 2;
      cp = c & 0x0Fu;
    } else if (c >= 0xC0) {
      extra = 1;
      cp = c & 0x1Fu;
    }
    ++i;
    for (int k = 0; k < extra && i < s.size(); ++k, ++i) {
      cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3Fu);
    }
    out += cp;
  }
  return out;
}

std::string encodeUtf8(std::u32string_view s) {
  std::string out;
  for (char32_t cp : s) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

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

bool isAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// tableRow for ASCII texts (a character is a byte), into a buffer the caller
// reuses. Insertions only push characters right, so what passes the 30th
// character never comes back: each insertion is made into the 30 characters
// kept.
void asciiTableRowInto(std::string& row, std::string_view label, std::string_view xText, std::string_view yText) {
  constexpr std::size_t kWidth = 30;
  if (label.size() <= 10 && xText.size() <= 10 && yText.size() <= 8) {
    // Texts of ordinary length never push one another: each stands at its
    // column in the spaces.
    row.assign(kWidth, ' ');
    label.copy(row.data() + 2, label.size());
    xText.copy(row.data() + 12, xText.size());
    yText.copy(row.data() + 22, yText.size());
    return;
  }
  char cells[kWidth];
  std::memset(cells, ' ', kWidth);
  const auto insertAt = [&cells](std::size_t at, std::string_view text) {
    const std::size_t room = kWidth - at;
    const std::size_t copied = std::min(text.size(), room);
    std::memmove(cells + at + copied, cells + at, room - copied);
    std::memcpy(cells + at, text.data(), copied);
  };
  insertAt(2, label);
  insertAt(12, xText);
  insertAt(22, yText);
  row.assign(cells, kWidth);
}

void tableRowInto(std::string& row, std::string_view label, std::string_view xText, std::string_view yText) {
  if (isAscii(label) && isAscii(xText) && isAscii(yText)) {
    asciiTableRowInto(row, label, xText, yText);
  } else {
    row = tableRow(label, xText, yText);
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
      if (k == 0) keep(0, d.P2);
      if (k == 1) keep(3, d.P1);
      if (k >= 2 && k <= N) keep(k + 2, d.P2);
      if (k == N + 1) keep(1, d.P2);
      if (k == N + 2) keep(2, d.P2);
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
  each("Квадрант " + std::to_string(quadrant));
  std::string row;
  tableRowInto(row, "Точка", "X", "Y");
  each(row);
  const char* const names[] = {"T1", arcEndName(quadrant), sideMidpointName(quadrant), cornerName(quadrant)};
  const std::string letter = arcLetter(quadrant);
  std::string label;
  for (std::size_t i = 0; 2 * i < tenths.size(); ++i) {
    if (i < 4) {
      label = names[i];
    } else {
      label = letter + std::to_string(i - 3);
    }
    tableRowInto(row, label, tenthsText(tenths[2 * i], sep), tenthsText(tenths[2 * i + 1], sep));
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
  if (isAscii(label) && isAscii(xText) && isAscii(yText)) {
    std::string ascii;
    asciiTableRowInto(ascii, label, xText, yText);
    return ascii;
  }
  std::u32string row(79, U' ');
  row.insert(2, decodeUtf8(label));
  row.insert(12, decodeUtf8(xText));
  row.insert(22, decodeUtf8(yText));
  row.resize(30);
  return encodeUtf8(row);
}

TStringList GetParamsText(const TSystemParams& sp, std::string_view sep) {
  return {
      "   Прямоугольное сечение: (XxY)=" + numberText(sp.B, sep) + "x" + numberText(sp.A, sep),
      "   Радиус круглого сечения: R=" + numberText(sp.R, sep),
      "   Расстояние между сечениями: L=" + numberText(sp.L, sep),
      "   Смещение осей сечений: dX=" + numberText(sp.X1, sep) + " dY=" + numberText(sp.Y1, sep),
  };
}

TStringList GetGabaritText(const TSystemParams& sp, const TProParams& pro, std::string_view sep) {
  TExtents2D e;
  GetRazvertkaExtents(sp, pro, e);
  const Extended width = std::fabs(e.MaxX - e.MinX);
  const Extended height = std::fabs(e.MaxY - e.MinY);
  return {"Общие габариты (XxY)=" + numberText(width, sep) + "x" + numberText(height, sep)};
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
                               const TPlateParams& plate, TAccuracy* accuracy)
    : Separator(sep) {
  TSystemParams developed;
  try {
    ParamsLines = GetParamsText(sp, sep);
    ++Finished;
    developed = developedParams(sp, plate);
    if (plate.Thickness != 0) {
      ParamsLines.push_back("   Толщина листа: t=" + decimalText(plate.Thickness, 2, sep) +
                            " мм (прямоугольное сечение: " + std::string(facesName(plate.RectFaces)) +
                            " размеры, круглое: " + std::string(facesName(plate.RoundFaces)) + ")");
      ParamsLines.push_back("   Развертка по средней поверхности: (XxY)=" + decimalText(developed.B, 2, sep) + "x" +
                            decimalText(developed.A, 2, sep) + " R=" + decimalText(developed.R, 2, sep));
    }
    // The overall size develops quadrants 1..4 in order, as GetGabaritText
    // does; each development is kept only as its table's numbers (and, when
    // asked, its accuracy).
    TExtents2D e;
    TAccuracy gathered;
    TQuadrantDevelopment d;
    for (std::uint8_t q = 1; q <= 4; ++q) {
      if (publish) {
        developQuadrantInto(developed, pro, q, d);
        keepTableNumbers(d.Razvertka, pro.Divisions, Tables[q - 1]);
        if (accuracy) gathered.include(quadrantAccuracy(developed, pro, q, d.Razvertka));
      } else {
        // Nothing to publish: the elements are taken as they are laid, and
        // neither the surface nor the development is ever held whole.
        TableKeeper keeper(pro.Divisions, Tables[q - 1]);
        // The meter is made with the first element, once the records have
        // passed the development's own checks.
        std::optional<TAccuracyMeter> meter;
        developQuadrantElements(
            developed, pro, q,
            [&](std::size_t k, const TRazvertka2Point& element) {
              keeper.add(k, element);
              if (!accuracy) return;
              if (k == 0) meter.emplace(developed, pro, q);
              meter->add(k, element);
            },
            d.Min, d.Max);
        if (meter) gathered.include(meter->result());
      }
      lower(e.MinX, d.Min.X);
      lower(e.MinY, d.Min.Y);
      raise(e.MaxX, d.Max.X);
      raise(e.MaxY, d.Max.Y);
      if (publish) publishLast(std::exchange(d, TQuadrantDevelopment{}));
    }
    if (accuracy) *accuracy = gathered;
    const Extended width = std::fabs(e.MaxX - e.MinX);
    const Extended height = std::fabs(e.MaxY - e.MinY);
    GabaritLine = "Общие габариты (XxY)=" + numberText(width, sep) + "x" + numberText(height, sep);
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
  each("Параметры перехода:");
  each("");
  if (Finished < 1) return;
  for (const std::string& line : ParamsLines) each(line);
  each("");
  each("Результаты расчета развертки:");
  each("");
  if (Finished < 2) return;
  each(GabaritLine);
  each("");
  each("Координаты точек контура развертки (по квадрантам прямоугольного сечения):");
  for (std::uint8_t q = 1; q <= 4 && Finished >= q + 2; ++q) tableLines(q, Tables[q - 1], Separator, each);
}

TResultsPage resultsPage(const TSystemParams& sp, const TProParams& pro, std::string_view sep) {
  return resultsPage(sp, pro, sep, TPlateParams{});
}

TResultsPage resultsPage(const TSystemParams& sp, const TProParams& pro, std::string_view sep,
                         const TPlateParams& plate) {
  const TResultsSource source(sp, pro, sep, true, plate);
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

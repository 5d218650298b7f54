#include "FishTexts.h"

#include <cmath>

#include "FishErrors.h"
#include "FishExtents.h"
#include "FishMath.h"
#include "FishRazvertka.h"
#include "NumText.h"

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

std::string quadrantLabel(std::uint8_t quadrant, const char* right, const char* left) {
  return (quadrant == 1 || quadrant == 4) ? right : left;
}

void append(TStringList& to, const TStringList& lines) { to.insert(to.end(), lines.begin(), lines.end()); }

}  // namespace

std::string numberText(Extended v, std::string_view decimalSeparator) {
  return floatToText(Round1(v), decimalSeparator);
}

std::string tableRow(std::string_view label, std::string_view xText, std::string_view yText) {
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
  const TRazvertka2PointArray& d = piece.Razvertka;
  const std::size_t n = static_cast<std::size_t>(pro.Divisions);

  auto row = [&](const std::string& label, const TPoint2D& p) {
    return tableRow(label, numberText(p.X, sep), numberText(p.Y, sep));
  };

  TStringList lines;
  lines.reserve(n + 6);
  lines.emplace_back();
  lines.push_back("Квадрант " + std::to_string(quadrant));
  lines.push_back(tableRow("Точка", "X", "Y"));
  // T1: image of the arc start; T2/T7: of the arc end; T3/T6: of the X-side
  // midpoint; T4/T5: of the corner. The left half names them from the other end.
  lines.push_back(row("T1", d[0].P2));
  lines.push_back(row(quadrantLabel(quadrant, "T2", "T7"), d[n + 1].P2));
  lines.push_back(row(quadrantLabel(quadrant, "T3", "T6"), d[n + 2].P2));
  lines.push_back(row(quadrantLabel(quadrant, "T4", "T5"), d[1].P1));
  const std::string letter = quadrantLabel(quadrant, "R", "L");
  for (std::size_t j = 2; j <= n; ++j) {
    lines.push_back(row(letter + std::to_string(j - 1), d[j].P2));
  }
  publishLast(std::move(piece));
  return lines;
}

std::string TResultsPage::failureMessage() const {
  if (!Error) return {};
  try {
    std::rethrow_exception(Error);
  } catch (const EFishError& e) {
    return e.what();
  }
}

TResultsPage resultsPage(const TSystemParams& sp, const TProParams& pro, std::string_view sep) {
  TResultsPage page;
  TStringList& lines = page.Lines;
  try {
    lines.emplace_back("Параметры перехода:");
    lines.emplace_back();
    append(lines, GetParamsText(sp, sep));
    lines.emplace_back();
    lines.emplace_back("Результаты расчета развертки:");
    lines.emplace_back();
    append(lines, GetGabaritText(sp, pro, sep));
    lines.emplace_back();
    lines.emplace_back("Координаты точек контура развертки (по квадрантам прямоугольного сечения):");
    for (std::uint8_t q = 1; q <= 4; ++q) append(lines, GetRazvertkaTable(sp, pro, q, sep));
  } catch (const EFishError&) {
    // Each producer gives all its lines or none, so the page keeps exactly
    // the lines finished before the failure.
    page.Error = std::current_exception();
  }
  return page;
}

TStringList getResultsText(const TSystemParams& sp, const TProParams& pro, std::string_view sep) {
  TResultsPage page = resultsPage(sp, pro, sep);
  if (page.Error) std::rethrow_exception(page.Error);
  return std::move(page.Lines);
}

}  // namespace fish

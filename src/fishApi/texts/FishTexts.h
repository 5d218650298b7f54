// The results as plain text lines (UTF-8, no terminators): the parameter
// listing, the overall dimensions of the development and, per quadrant, the
// coordinates of the development's outline points. Every number is rounded
// to a tenth (Round1) and written with floatToText in the caller's separator.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "fishApi/core/FishTypes.h"
#include "fishApi/shop/CuttingParams.h"
#include "fishApi/shop/PlateParams.h"

namespace fish {
struct TAccuracy;
}

namespace fish {

using TStringList = std::vector<std::string>;

// A number as the listings print it: Round1, then the 15-digit general format.
std::string numberText(Extended v, std::string_view decimalSeparator = ".");

// One table row: a template of 79 spaces into which the label is inserted at
// character 3, the X text at 13 and the Y text at 23 (counted from 1, each
// insertion pushing the rest right), cut to its first 30 characters.
// Characters, not bytes, are counted.
std::string tableRow(std::string_view label, std::string_view xText, std::string_view yText);

// Four lines: rectangle (B x A), radius, distance, offsets.
TStringList GetParamsText(const TSystemParams& sp, std::string_view decimalSeparator = ".");

// One line: width x height of the development of all four quadrants.
TStringList GetGabaritText(const TSystemParams& sp, const TProParams& pro, std::string_view decimalSeparator = ".");

// The point table of quadrant 1..4: an empty line, "Квадрант q", the column
// header, the named points T.., then one row per intermediate arc point.
TStringList GetRazvertkaTable(const TSystemParams& sp, const TProParams& pro, std::uint8_t quadrant,
                              std::string_view decimalSeparator = ".");

// The whole results page in its line order, all four quadrants listed. A
// failure ends the page where it happens: Lines then hold the lines made
// before it and Error the engine's error (its message is what the user sees).
struct TResultsPage {
  TStringList Lines;
  std::exception_ptr Error;

  // The message of Error, or an empty text when the page is complete.
  std::string failureMessage() const;
};
TResultsPage resultsPage(const TSystemParams& sp, const TProParams& pro, std::string_view decimalSeparator = ".");

// The page for a plate: with t > 0 the parameter listing gains two lines
// saying which faces the sizes measure and which sizes were developed, and
// everything after it is of the developed sizes. With t = 0 the page of the
// records, byte for byte. The thickness is said in `units`.
TResultsPage resultsPage(const TSystemParams& sp, const TProParams& pro, std::string_view decimalSeparator,
                         const TPlateParams& plate, TUnits units = TUnits::Millimetres);

// The numbers a quadrant's table prints, in tenths (Round1 without its last
// step): X and Y of each row in the order printed, in 32 bits while all of
// them fit (under 200 km), else in 64. Error is what rounding one raised.
struct TTableNumbers {
  std::vector<std::int32_t> Narrow;
  std::vector<std::int64_t> Wide;
  std::exception_ptr Error;

  std::size_t size() const { return Wide.empty() ? Narrow.size() : Wide.size(); }
  std::int64_t operator[](std::size_t i) const { return Wide.empty() ? Narrow[i] : Wide[i]; }
};

// The results page worked out before any of it is written: the parameters
// and the overall size are made, every quadrant is developed once (1 to 4, in
// the order the page needs them) and only the numbers its table prints are
// kept, already rounded to tenths. Where the page fails, and with which
// error, is then known before its first line is handed out, so a caller can
// print nothing on a failure, or stream a complete page without holding it.
// With `publish`, LastSurf and LastRazvertka are left as producing the page
// line by line leaves them; without it they are not touched.
class TResultsSource {
 public:
  TResultsSource(const TSystemParams& sp, const TProParams& pro, std::string_view decimalSeparator = ".",
                 bool publish = false);
  // For a plate in `units`, as resultsPage above. With `accuracy`, the
  // quadrants' accuracy is gathered into it from the same pass (left as it
  // was when the page fails before the quadrants are developed).
  TResultsSource(const TSystemParams& sp, const TProParams& pro, std::string_view decimalSeparator, bool publish,
                 const TPlateParams& plate, TAccuracy* accuracy = nullptr, TUnits units = TUnits::Millimetres);

  // The error the page ends with, or null when it is complete.
  const std::exception_ptr& error() const { return Error; }
  std::string failureMessage() const;

  // Hands the page's lines (those before the failure, if it fails) to `each`
  // in order. The text a line points to lasts only until `each` returns.
  void forEachLine(const std::function<void(std::string_view)>& each) const;

 private:
  std::string Separator;
  TStringList ParamsLines;
  std::string GabaritLine;
  std::array<TTableNumbers, 4> Tables;
  int Finished = 0;  // producers complete: parameters, overall size, tables 1..4
  std::exception_ptr Error;
};

// The complete page, or the engine's error thrown: nothing partial.
TStringList getResultsText(const TSystemParams& sp, const TProParams& pro, std::string_view decimalSeparator = ".");

}  // namespace fish

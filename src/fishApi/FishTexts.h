// The results as plain text lines (UTF-8, no terminators): the parameter
// listing, the overall dimensions of the development and, per quadrant, the
// coordinates of the development's outline points. Every number is rounded
// to a tenth (Round1) and written with floatToText in the caller's separator.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "FishTypes.h"

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

// The complete page, or the engine's error thrown: nothing partial.
TStringList getResultsText(const TSystemParams& sp, const TProParams& pro, std::string_view decimalSeparator = ".");

}  // namespace fish

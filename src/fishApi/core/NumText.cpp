#include "NumText.h"

#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FishErrors.h"
#include "FishMath.h"

namespace fish {

namespace {

// printf and strtold follow the process's LC_NUMERIC; the engine works in the
// "C" locale and puts the caller's separator in itself.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A pseudo-denormal (exponent field 0, integer bit set) is worth the same as
// the pattern with exponent field 1, and the processor computes with it so;
// printf reads it as a denormal, 2^16382 times too small. A damaged project
// file can carry one, so it is printed as the normal number it stands for.
Extended normalisedPseudoDenormal(Extended v) {
  unsigned char bytes[sizeof(Extended)];
  std::memcpy(bytes, &v, sizeof bytes);
  const bool exponentZero = (bytes[9] & 0x7F) == 0 && bytes[8] == 0;
  if (exponentZero && (bytes[7] & 0x80) != 0) {
    bytes[8] = 1;
    std::memcpy(&v, bytes, sizeof bytes);
  }
  return v;
}

}  // namespace

std::string floatToText(Extended v, std::string_view decimalSeparator) {
  if (!isUsableExtended(v) || !std::isfinite(v)) throw EInvalidOp();
  if (v == 0) return "0";

  char buf[64];
  const locale_t previous = uselocale(CLocale());
  std::snprintf(buf, sizeof buf, "%.15Lg", normalisedPseudoDenormal(v));
  uselocale(previous);

  // "%.15Lg" already chooses fixed notation exactly for 1E-4 <= |v| < 1E15
  // (after rounding to 15 digits) and drops trailing zeros; only the exponent
  // ("e+15" -> "E15", "e-05" -> "E-5") and the separator need rewriting.
  std::string text;
  const char* p = buf;
  for (; *p != '\0' && *p != 'e'; ++p) {
    if (*p == '.') {
      text += decimalSeparator;
    } else {
      text += *p;
    }
  }
  if (*p == 'e') {
    ++p;
    text += 'E';
    if (*p == '-') text += '-';
    if (*p == '-' || *p == '+') ++p;
    while (*p == '0' && p[1] != '\0') ++p;
    text += p;
  }
  return text;
}

// The value written is k / 10^d for the whole number k nearest to v * 10^d.
// Both k (below 2^62) and 10^d (at most 10^6) are exact in the extended
// format, so the one division gives the extended nearest to k / 10^d: within
// 2^-64 of it relatively, far inside the half unit of the fifteenth digit the
// general format rounds to, so the text is the digits of k / 10^d themselves
// (70.71, never the 70.709999999999999 that the stored value spells out).
//
// Where v * 10^d reaches 2^62 the general format's fifteen digits stop short
// of the d-th decimal anyway (|v| >= 4.6E12 for six decimals keeps two), so v
// is written as it is.
std::string decimalText(Extended v, int decimals, std::string_view decimalSeparator) {
  if (decimals < 0 || decimals > 6) throw ERangeError();
  if (!isUsableExtended(v) || !std::isfinite(v)) throw EInvalidOp();
  Extended scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const Extended scaled = v * scale;
  constexpr Extended kTwoPow62 = 4611686018427387904.0L;
  if (!(std::fabs(scaled) < kTwoPow62)) return floatToText(v, decimalSeparator);
  const std::int64_t units = roundToInt64(scaled);
  // Below 10^15 units the quotient units / scale has at most 15 significant
  // digits and lies within 1E-19 of them (relative): "%.15Lg" prints those
  // digits exactly, with trailing zeros dropped, and in fixed notation from
  // 1E-4 on. Such a quotient is written here straight from the integer,
  // without printf's exact conversion; any other goes through printf.
  constexpr std::uint64_t kFifteenDigits = 1000000000000000;
  const auto step = static_cast<std::uint64_t>(scale);
  const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  if (magnitude == 0 || magnitude >= kFifteenDigits || magnitude * 10000 < step) {
    return floatToText(static_cast<Extended>(units) / scale, decimalSeparator);
  }
  char digits[24];
  const auto whole = std::to_chars(digits, digits + sizeof digits, magnitude / step);
  std::string text;
  if (units < 0) text += '-';
  text.append(digits, whole.ptr);
  std::uint64_t fraction = magnitude % step;
  if (fraction == 0) return text;
  int places = decimals;
  while (fraction % 10 == 0) {
    fraction /= 10;
    --places;
  }
  char tail[8] = {'0', '0', '0', '0', '0', '0', '0', '0'};
  const auto written = std::to_chars(tail, tail + sizeof tail, fraction);
  const auto length = static_cast<int>(written.ptr - tail);
  text += decimalSeparator;
  text.append(static_cast<std::size_t>(places - length), '0');
  text.append(tail, written.ptr);
  return text;
}

bool textToFloat(std::string_view text, std::string_view decimalSeparator, Extended& out) {
  std::string_view s = trimBlanks(text);
  std::string canonical;  // the same number spelled for strtold in the C locale

  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    if (s.front() == '-') canonical += '-';
    s.remove_prefix(1);
  }
  std::size_t digits = 0;
  while (!s.empty() && isDigit(s.front())) {
    canonical += s.front();
    s.remove_prefix(1);
    ++digits;
  }
  if (!decimalSeparator.empty() && s.substr(0, decimalSeparator.size()) == decimalSeparator) {
    s.remove_prefix(decimalSeparator.size());
    canonical += '.';
    while (!s.empty() && isDigit(s.front())) {
      canonical += s.front();
      s.remove_prefix(1);
      ++digits;
    }
  }
  if (digits == 0) return false;
  if (!s.empty() && (s.front() == 'e' || s.front() == 'E')) {
    s.remove_prefix(1);
    canonical += 'e';
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
      canonical += s.front();
      s.remove_prefix(1);
    }
    std::size_t expDigits = 0;
    while (!s.empty() && isDigit(s.front())) {
      canonical += s.front();
      s.remove_prefix(1);
      ++expDigits;
    }
    if (expDigits == 0) return false;
  }
  if (!s.empty()) return false;

  errno = 0;
  const Extended v = strtold_l(canonical.c_str(), nullptr, CLocale());
  if (!std::isfinite(v)) return false;  // overflow
  out = v;
  return true;
}

bool textToInt32(std::string_view text, std::int32_t& out) {
  std::string_view s = trimBlanks(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || !isDigit(s.front())) return false;
  std::uint64_t magnitude = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  const std::int64_t v = negative ? -static_cast<std::int64_t>(std::min<std::uint64_t>(magnitude, 1ULL << 40))
                                  : static_cast<std::int64_t>(std::min<std::uint64_t>(magnitude, 1ULL << 40));
  if (v < INT32_MIN || v > INT32_MAX) return false;
  out = static_cast<std::int32_t>(v);
  return true;
}

}  // namespace fish

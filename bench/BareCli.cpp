// The floor for vintaler-cli's results text: a program that makes the same
// library calls per outline point as the engine (the circle point's cosine
// and sine, the square roots of the chord, of the side from the corner and of
// 1 - ratio^2, the arc tangent of the angle at the corner, the cosine and sine
// that lay the point flat), on arguments of the default project's ranges (the
// circle's angles of each quadrant, the turns from the first triangle's
// angle on; a sine or cosine costs more the larger its argument), and prints
// as many rows of the same width, in the same quadrants, as the tool.
// Nothing else: no checks, no arrays, numbers written from whole tenths.
//
//   vintalerBareCli [DIVISIONS] [--whole]
//
// Rows are written through stdio's buffer as they are made, or with --whole
// kept in one string and written at the end.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "BareDevelopment.h"

namespace {

void appendTenths(std::string& out, long double v) {
  const long long tenths = std::llrint(v * 10);
  const long long magnitude = tenths < 0 ? -tenths : tenths;
  char digits[24];
  char* end = std::to_chars(digits, digits + sizeof digits, magnitude / 10).ptr;
  if (tenths < 0) out += '-';
  out.append(digits, static_cast<std::size_t>(end - digits));
  if (magnitude % 10 != 0) {
    out += '.';
    out += static_cast<char>('0' + magnitude % 10);
  }
}

// Label at column 3, X at 13, Y at 23, 30 characters and a line feed.
void appendRow(std::string& out, const std::string& label, long double x, long double y) {
  const std::size_t start = out.size();
  out += "  ";
  out += label;
  out.resize(start + 12, ' ');
  appendTenths(out, x);
  if (out.size() < start + 22) out.resize(start + 22, ' ');
  appendTenths(out, y);
  out.resize(start + 30, ' ');
  out += '\n';
}

}  // namespace

int main(int argc, char** argv) {
  const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;
  const bool whole = argc > 2 && std::strcmp(argv[2], "--whole") == 0;
  std::string text;
  text.reserve(whole ? static_cast<std::size_t>(4 * (n + 6) + 12) * 31 : 1 << 16);
  text += "Параметры перехода:\n\n";
  for (int i = 0; i < 10; ++i) text += "  header line of the page\n";
  for (int q = 1; q <= 4; ++q) {
    text += "\nКвадрант " + std::to_string(q) + "\n";
    appendRow(text, "Point", 0, 0);
    bare::develop(q, n, n + 2, [&](long j, long double x, long double y) {
      appendRow(text, (q % 3 == 1 ? "R" : "L") + std::to_string(j + 1), x, y);
      if (!whole && text.size() >= (1 << 16) - 64) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        text.clear();
      }
    });
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

// The floor for vintaler-cli --json: a document of the same form and as many
// elements for the default project at N divisions, four quadrants (every
// quadrant's points, generators and chords, the bends of both sheets, the
// short parts round them), each element made and dumped by nlohmann-json as
// the tool does it and written through a stream as it is made. Nothing
// else: no engine, no checks, no arrays; the numbers are stepped from the
// project's sizes so that they carry as many digits as the tool's.
//
//   vintalerBareJson [DIVISIONS] [FILE]
//
// The document goes to FILE, or to standard output.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

namespace {

using Json = nlohmann::ordered_json;

template <typename Element>
void writeArray(std::ostream& out, long count, const Element& element) {
  out << '[';
  for (long i = 0; i < count; ++i) {
    if (i > 0) out << ',';
    out << element(i).dump();
  }
  out << ']';
}

// A value of about `base` with a double's full digits.
double digits(double base, long i) { return base + static_cast<double>(i) * 7.853981633974483e-4 + 1.1e-14; }

}  // namespace

int main(int argc, char** argv) {
  const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;
  std::ofstream file;
  if (argc > 2) file.open(argv[2], std::ios::binary);
  std::ostream& out = argc > 2 ? static_cast<std::ostream&>(file) : std::cout;
  out << "{\"input\":" << Json{{"B", 100.0}, {"A", 100.0}, {"L", 50.0}, {"R", 50.0}, {"divisions", n}}.dump();
  out << ",\"quadrants\":[";
  for (int q = 1; q <= 4; ++q) {
    if (q > 1) out << ',';
    const std::string side = q == 1 || q == 4 ? "R" : "L";
    out << "{\"quadrant\":" << q << ",\"points\":";
    writeArray(out, n + 3, [&](long i) {
      return Json{{"name", side + std::to_string(i)}, {"x", digits(0, i)}, {"y", digits(50, i)}};
    });
    out << ",\"generators\":";
    writeArray(out, n + 3, [&](long e) {
      return Json{{"element", e}, {"length", digits(70, e)}, {"from", "T4"}, {"to", side + std::to_string(e)}};
    });
    out << ",\"area\":" << Json(digits(4500, q)).dump() << ",\"chords\":";
    writeArray(out, n, [&](long i) {
      return Json{{"from", side + std::to_string(i + 1)}, {"to", side + std::to_string(i + 2)},
                  {"length", digits(7e-4, i)}};
    });
    out << '}';
  }
  out << "],\"bends\":";
  writeArray(out, 4 * (n + 1), [&](long i) {
    return Json{{"quadrant", i / (n + 1) + 1}, {"element", i % (n + 1) + 1}, {"length", digits(70, i)},
                {"angle", digits(1e-3, i)}};
  });
  out << "}\n";
  out.flush();
  return out ? 0 : 1;
}

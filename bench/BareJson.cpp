// The floor for vintaler-cli --json: a document of the same form and as many
// elements for the default project at N divisions, four quadrants (every
// quadrant's points, generators and chords, the bends of both sheets, the
// short parts round them), spelled as the tool spells it: the long arrays'
// elements into a buffer handed to the stream in 64 KiB blocks, each number
// by nlohmann-json's own shortest digits, each key and name as it stands;
// the short parts dumped by nlohmann-json. Each quadrant is developed once
// with the library calls per point of the other floors (BareDevelopment.h)
// and kept; its generators, chords and bends are measured on its flat points
// (a square root each). Nothing else: no second development, no checks, no
// bend angles (stepped numbers of as many digits stand for them).
//
//   vintalerBareJson [DIVISIONS] [FILE]
//
// The document goes to FILE, or to standard output.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "BareDevelopment.h"

namespace {

using Json = nlohmann::ordered_json;

class Elements {
 public:
  explicit Elements(std::ostream& out) : out_(out) { text_.reserve(kBlock + 4096); }
  ~Elements() { out_.write(text_.data(), static_cast<std::streamsize>(text_.size())); }
  Elements& raw(std::string_view s) {
    text_.append(s);
    return *this;
  }
  Elements& number(double d) {
    std::array<char, 64> digits{};
    char* end = nlohmann::detail::to_chars(digits.data(), digits.data() + digits.size(), d);
    text_.append(digits.data(), static_cast<std::size_t>(end - digits.data()));
    return *this;
  }
  Elements& integer(long i) {
    std::array<char, 24> digits{};
    text_.append(digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), i).ptr);
    return *this;
  }
  Elements& name(std::string_view side, long i) {
    text_.push_back('"');
    text_.append(side);
    integer(i);
    text_.push_back('"');
    return *this;
  }
  void next() {
    if (count_++ > 0) text_.push_back(',');
    if (text_.size() >= kBlock) {
      out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
      text_.clear();
    }
  }

 private:
  static constexpr std::size_t kBlock = 1 << 16;
  std::ostream& out_;
  std::string text_;
  long count_ = 0;
};

template <typename Element>
void writeArray(std::ostream& out, long count, const Element& element) {
  out << '[';
  {
    Elements into(out);
    for (long i = 0; i < count; ++i) {
      into.next();
      element(i, into);
    }
  }
  out << ']';
}

using bare::Point;

double distance(const Point& a, const Point& b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

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
  const Point corner{50, 50};
  std::vector<Point> developed[4];
  for (int q = 1; q <= 4; ++q) {
    if (q > 1) out << ',';
    const std::string side = q == 1 || q == 4 ? "R" : "L";
    const std::vector<Point>& p = developed[q - 1] = bare::developed(q, n);
    out << "{\"quadrant\":" << q << ",\"points\":";
    writeArray(out, n + 3, [&](long i, Elements& e) {
      const Point& at = p[static_cast<std::size_t>(i)];
      e.raw("{\"name\":").name(side, i).raw(",\"x\":").number(at.X).raw(",\"y\":").number(at.Y).raw("}");
    });
    out << ",\"generators\":";
    writeArray(out, n + 3, [&](long i, Elements& e) {
      const double length = distance(corner, p[static_cast<std::size_t>(i)]);
      e.raw("{\"element\":").integer(i).raw(",\"length\":").number(length).raw(",\"from\":\"T4\",\"to\":");
      e.name(side, i).raw("}");
    });
    out << ",\"area\":" << Json(digits(4500, q)).dump() << ",\"chords\":";
    writeArray(out, n, [&](long i, Elements& e) {
      const double length = distance(p[static_cast<std::size_t>(i + 1)], p[static_cast<std::size_t>(i + 2)]);
      e.raw("{\"from\":").name(side, i + 1).raw(",\"to\":").name(side, i + 2);
      e.raw(",\"length\":").number(length).raw("}");
    });
    out << '}';
  }
  out << "],\"bends\":";
  writeArray(out, 4 * (n + 1), [&](long i, Elements& e) {
    const long q = i / (n + 1), k = i % (n + 1) + 1;
    const double length = distance(corner, developed[q][static_cast<std::size_t>(k)]);
    e.raw("{\"quadrant\":").integer(q + 1).raw(",\"element\":").integer(k);
    e.raw(",\"length\":").number(length).raw(",\"angle\":").number(digits(1e-3, i)).raw("}");
  });
  out << "}\n";
  out.flush();
  return out ? 0 : 1;
}

// The floor for vintaler-cli --json: a document of the same form and as many
// elements for the default project at N divisions, four quadrants (every
// quadrant's points, generators and chords, the bends of both sheets, the
// short parts round them), spelled as the tool spells it: the long arrays'
// elements into a buffer handed to the stream in 64 KiB blocks, each number
// by nlohmann-json's own shortest digits, each key and name as it stands;
// the short parts dumped by nlohmann-json. It computes what those bytes
// carry, each the plainest way, with the library calls per point of the
// other floors (BareDevelopment.h):
//   - each quadrant developed once and kept, with its circle points; its
//     generators, chords and bend lengths measured on its flat points (a
//     square root each);
//   - the tables' pattern of the same quadrant, its circle points rounded to
//     hundredths, developed beside it for the largest point error the
//     document states;
//   - each bend's angle between the faces either side of its line: the
//     faces' normals by cross products, the angle by one arc tangent.
// Nothing else: no checks, no quote, no blanks (their few numbers are
// stepped numbers of as many digits).
//
//   vintalerBareJson [DIVISIONS] [FILE]
//
// The document goes to FILE, or to standard output.
#include <algorithm>
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

struct Vec {
  long double X, Y, Z;
};
Vec minus(const Vec& a, const Vec& b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
Vec cross(const Vec& a, const Vec& b) { return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X}; }
long double dot(const Vec& a, const Vec& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

// The angle in degrees between the faces either side of the line from the
// corner to circle point k.
double bendAngle(const std::vector<Vec>& circle, std::size_t k) {
  const Vec corner{50, 50, 0};
  const Vec edge = minus(circle[k], corner);
  const Vec n1 = cross(edge, minus(circle[k - 1], corner)), n2 = cross(minus(circle[k + 1], corner), edge);
  const Vec turn = cross(n1, n2);
  return static_cast<double>(atan2l(sqrtl(dot(turn, turn)), dot(n1, n2)) * (180 / std::acos(-1.0L)));
}

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
  std::vector<double> angles[4];
  double pointError = 0;
  for (int q = 1; q <= 4; ++q) {
    if (q > 1) out << ',';
    const std::string side = q == 1 || q == 4 ? "R" : "L";
    std::vector<Point>& p = developed[q - 1];
    std::vector<Vec> circle;
    p.reserve(static_cast<std::size_t>(n) + 3);
    circle.reserve(static_cast<std::size_t>(n) + 3);
    const double sx = q == 2 || q == 3 ? -1 : 1, sy = q >= 3 ? -1 : 1;
    bare::develop(
        q, n, n + 2,
        [&](long, long double x, long double y) {
          p.push_back({sx * static_cast<double>(x), sy * static_cast<double>(y)});
        },
        [&](long, long double& x, long double& y) {
          circle.push_back({x, y, 50});
        });
    bare::develop(
        q, n, n + 2,
        [&](long j, long double x, long double y) {
          const Point& at = p[static_cast<std::size_t>(j)];
          pointError =
              std::max(pointError, std::hypot(sx * static_cast<double>(x) - at.X, sy * static_cast<double>(y) - at.Y));
        },
        [](long, long double& x, long double& y) {
          x = roundl(x * 100) / 100;
          y = roundl(y * 100) / 100;
        });
    angles[q - 1].reserve(static_cast<std::size_t>(n) + 1);
    for (long k = 1; k <= n + 1; ++k) angles[q - 1].push_back(bendAngle(circle, static_cast<std::size_t>(k)));
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
    e.raw(",\"length\":").number(length).raw(",\"angle\":").number(angles[q][static_cast<std::size_t>(k - 1)]);
    e.raw("}");
  });
  out << ",\"max_point_error\":" << Json(pointError).dump() << "}\n";
  out.flush();
  return out ? 0 : 1;
}

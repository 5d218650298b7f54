// The floor for vintaler-cli --dxf: a drawing of the same form and as many
// entities as the default project's at N divisions, four quadrants (two
// sheets' closed outlines, every quadrant's bend lines from its corner, the
// names of every outline point), made by the same dxflib calls per point and
// formatted as the tool formats them (every real with %.16f, trailing zeros
// cut), written through stdio as it is made. Each quadrant is developed once
// with the library calls per point of bench/BareCli.cpp and kept as plain
// numbers; each name is turned off its three lines with the calls the tool
// makes for that (an arc tangent per line, the cosine and sine of the middle
// of the widest gap, the sine of half of it). Nothing else: no checks.
//
//   vintalerBareDxf [DIVISIONS] [FILE]
//
// The drawing goes to FILE, or to standard output.
#include <dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BareDevelopment.h"

namespace {

class StdioWriter final : public DL_WriterA {
 public:
  explicit StdioWriter(std::FILE* out) : DL_WriterA("/dev/null", DL_Codes::AC1009), out_(out) {}

  void dxfReal(int gc, double value) const override {
    if (value == 0) {
      dxfString(gc, std::signbit(value) ? "-0.0" : "0.0");
      return;
    }
    char text[512];
    const int length = std::snprintf(text, sizeof text, "%.16f", value);
    int end = -1;
    bool dot = false;
    for (int i = 0; i < length; ++i) {
      if (text[i] == '.') {
        dot = true;
        end = i + 2;
      } else if (dot && text[i] != '0') {
        end = i + 1;
      }
    }
    if (end > 0 && end < length) text[end] = '\0';
    dxfString(gc, text);
  }
  void dxfInt(int gc, int value) const override { std::fprintf(out_, "%3d\n%d\n", gc, value); }
  void dxfHex(int gc, int value) const override { std::fprintf(out_, "%3d\n%X\n", gc, static_cast<unsigned>(value)); }
  void dxfString(int gc, const char* value) const override { std::fprintf(out_, "%3d\n%s\n", gc, value); }
  void dxfString(int gc, const std::string& value) const override { dxfString(gc, value.c_str()); }

 private:
  std::FILE* out_;
};

DL_Attributes onLayer(const char* layer) { return DL_Attributes(layer, 256, 0, "BYLAYER", 1.0); }

using bare::Point;

// Where a name at `at` goes: off the lines to `a`, `b` and `c`.
Point aimed(const Point& at, const Point& a, const Point& b, const Point& c) {
  long double d[3] = {atan2l(a.Y - at.Y, a.X - at.X), atan2l(b.Y - at.Y, b.X - at.X), atan2l(c.Y - at.Y, c.X - at.X)};
  std::sort(d, d + 3);
  long double width = d[0] + 2 * std::acos(-1.0L) - d[2], from = d[2];
  for (int i = 1; i < 3; ++i) {
    if (d[i] - d[i - 1] > width) width = d[i] - d[i - 1], from = d[i - 1];
  }
  const long double middle = from + width / 2, reach = 2.5L / sinl(width / 2);
  return {at.X + static_cast<double>(cosl(middle) * reach), at.Y + static_cast<double>(sinl(middle) * reach)};
}

}  // namespace

int main(int argc, char** argv) {
  const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;
  std::FILE* out = argc > 2 ? std::fopen(argv[2], "w") : stdout;
  if (!out) return 1;
  DL_Dxf dxf;
  std::unique_ptr<DL_WriterA>(dxf.out("/dev/null", DL_Codes::AC1009));
  StdioWriter dw(out);
  dxf.writeComment(dw, "Vintaler: precise development for cutting (exact surface, unrounded)");
  dxf.writeHeader(dw);
  dw.sectionEnd();
  dw.sectionTables();
  dw.tableLayers(4);
  for (const char* layer : {"0", "CUT", "BEND", "LABELS"})
    dxf.writeLayer(dw, DL_LayerData(layer, 0), DL_Attributes("", 7, 0, "CONTINUOUS", 1.0));
  dw.tableEnd();
  dw.sectionEnd();
  dw.sectionEntities();
  std::vector<Point> quadrant[4];
  for (int q = 1; q <= 4; ++q) quadrant[q - 1] = bare::developed(q, n);
  for (int sheet = 0; sheet < 2; ++sheet) {  // quadrants 1 and 2, 3 and 4
    dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(2 * n + 6), 0, 0, 1), onLayer("CUT"));
    for (int q = 2 * sheet + 1; q <= 2 * sheet + 2; ++q) {
      for (const Point& p : quadrant[q - 1]) dxf.writeVertex(dw, DL_VertexData(p.X, p.Y));
    }
    dxf.writePolylineEnd(dw);
  }
  for (int q = 1; q <= 4; ++q) {
    for (long k = 1; k <= n + 1; ++k) {
      const Point& p = quadrant[q - 1][static_cast<std::size_t>(k)];
      dxf.writeLine(dw, DL_LineData(q == 2 || q == 3 ? -50.0 : 50.0, 0, 0, p.X, p.Y, 0), onLayer("BEND"));
    }
  }
  for (int q = 1; q <= 4; ++q) {
    const std::vector<Point>& d = quadrant[q - 1];
    const Point corner{q == 2 || q == 3 ? -50.0 : 50.0, 0};
    for (std::size_t k = 0; k < d.size(); ++k) {
      const Point c = aimed(d[k], d[k == 0 ? 1 : k - 1], d[k + 1 == d.size() ? k - 1 : k + 1], corner);
      const std::string name = (q == 1 || q == 4 ? "R" : "L") + std::to_string(k);
      const double width = 2.5 * static_cast<double>(name.size());
      dxf.writeText(dw,
                    DL_TextData(c.X - width / 2, c.Y - 1.25, 0, c.X, c.Y, 0, 2.5, 1.0, 0, 1, 2, name, "STANDARD", 0.0),
                    onLayer("LABELS"));
    }
  }
  dw.sectionEnd();
  dw.dxfEOF();
  return std::fclose(out) == 0 ? 0 : 1;
}

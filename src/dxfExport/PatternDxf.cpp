#include "PatternDxf.h"

#include <dl_dxf.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "fishApi/core/FishMath.h"
#include "fishApi/core/NumText.h"
#include "fishApi/files/SafeFile.h"
#include "fishApi/shop/BendAngleTexts.h"

namespace vintaler::dxf {

namespace {

constexpr int kWhite = 7;
constexpr int kRed = 1;
constexpr int kGreen = 3;
constexpr int kBlue = 5;
constexpr int kMagenta = 6;

const char* const kCut = "CUT";
const char* const kBend = "BEND";
const char* const kLabels = "LABELS";
const char* const kNet = "PATTERN";
const char* const kAngles = "BEND_ANGLES";

// The drawing is made from a pattern held whole or from its walk, both
// asked the same questions and walked in the same order.
class HeldSource {
 public:
  explicit HeldSource(const fish::TFlatPattern& pattern) : pattern_(pattern) {}
  fish::TPatternKind kind() const { return pattern_.Kind; }
  fish::TUnits units() const { return pattern_.Units; }
  bool nets() const {
    return std::any_of(pattern_.Pieces.begin(), pattern_.Pieces.end(),
                       [](const fish::TPatternPiece& piece) { return !piece.Net.empty(); });
  }
  // A bend line carries its angle when the pattern was made with the angles
  // asked for.
  bool angles() const {
    return std::any_of(pattern_.BendLines.begin(), pattern_.BendLines.end(),
                       [](const fish::TPatternLine& l) { return l.Angle.has_value(); });
  }
  template <typename Each>
  void pieces(const Each& each) const {
    for (const fish::TPatternPiece& piece : pattern_.Pieces) each(piece);
  }
  template <typename Each>
  void bendLines(const Each& each) const {
    for (const fish::TPatternLine& l : pattern_.BendLines) each(l);
  }
  template <typename Each>
  void labels(const Each& each) const {
    for (const fish::TPatternLabel& l : pattern_.Labels) each(l);
  }
  template <typename Each>
  void angleTexts(fish::Extended height, const std::function<fish::Extended(const std::string&)>& width,
                  const Each& each) const {
    for (const fish::TBendAngleText& a : fish::bendAngleTexts(pattern_, height, width)) each(a);
  }

 private:
  const fish::TFlatPattern& pattern_;
};

class WalkSource {
 public:
  explicit WalkSource(const fish::TPatternWalk& walk) : walk_(walk) {}
  fish::TPatternKind kind() const { return walk_.kind(); }
  fish::TUnits units() const { return walk_.units(); }
  bool nets() const { return walk_.nets(); }
  bool angles() const { return walk_.angles(); }
  void pieces(const std::function<void(const fish::TPatternPiece&)>& each) const { walk_.pieces(each); }
  void bendLines(const std::function<void(const fish::TPatternLine&)>& each) const { walk_.bendLines(each); }
  void labels(const std::function<void(const fish::TPatternLabel&)>& each) const { walk_.labels(each); }
  void angleTexts(fish::Extended height, const std::function<fish::Extended(const std::string&)>& width,
                  const std::function<void(const fish::TBendAngleText&)>& each) const {
    fish::bendAngleTexts(walk_, height, width, each);
  }

 private:
  const fish::TPatternWalk& walk_;
};

// A text for an R12 file: ASCII as it is, anything else as the \U+XXXX
// escapes AutoCAD wrote before its files declared UTF-8.
std::string dxfText(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += utf8[i++];
      continue;
    }
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    unsigned code = lead & (0x3Fu >> extra);
    for (int k = 1; k <= extra && i + static_cast<std::size_t>(k) < utf8.size(); ++k)
      code = code << 6 | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3Fu);
    i += static_cast<std::size_t>(extra) + 1;
    char escape[16];
    std::snprintf(escape, sizeof escape, "\\U+%04X", code);
    out += escape;
  }
  return out;
}

DL_Attributes onLayer(const char* layer) { return DL_Attributes(layer, 256, 0, "BYLAYER", 1.0); }

// Characters of a UTF-8 text: every byte but the continuation bytes.
std::size_t charCount(const std::string& utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The texts keep their size on paper: their heights are in millimetres,
// the drawing in the pattern's unit.
template <typename Source>
double mmPerUnit(const Source& pattern) { return static_cast<double>(fish::mmPerUnit(pattern.units())); }

template <typename Source>
void writeTables(DL_Dxf& dxf, DL_WriterA& dw, const Source& pattern, bool angles) {
  const double unit = mmPerUnit(pattern);
  const double labelHeight = kLabelHeight / unit;
  dw.sectionTables();
  dxf.writeVPort(dw);

  dw.tableLinetypes(3);
  dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
  dw.tableEnd();

  // Layer 0 must exist in every drawing; nothing is drawn on it.
  const bool nets = pattern.nets();
  dw.tableLayers(4 + (nets ? 1 : 0) + (angles ? 1 : 0));
  dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes("", kWhite, 0, "CONTINUOUS", 1.0));
  dxf.writeLayer(dw, DL_LayerData(kCut, 0), DL_Attributes("", kWhite, 0, "CONTINUOUS", 1.0));
  dxf.writeLayer(dw, DL_LayerData(kBend, 0), DL_Attributes("", kRed, 0, "CONTINUOUS", 1.0));
  dxf.writeLayer(dw, DL_LayerData(kLabels, 0), DL_Attributes("", kBlue, 0, "CONTINUOUS", 1.0));
  if (nets) dxf.writeLayer(dw, DL_LayerData(kNet, 0), DL_Attributes("", kGreen, 0, "CONTINUOUS", 1.0));
  if (angles) dxf.writeLayer(dw, DL_LayerData(kAngles, 0), DL_Attributes("", kMagenta, 0, "CONTINUOUS", 1.0));
  dw.tableEnd();

  dw.tableStyle(1);
  dxf.writeStyle(dw, DL_StyleData("STANDARD", 0, 0.0, 1.0, 0.0, 0, labelHeight, "txt", ""));
  dw.tableEnd();

  dxf.writeView(dw);
  dxf.writeUcs(dw);
  dw.tableAppid(1);
  dxf.writeAppid(dw, "ACAD");
  dw.tableEnd();
  dxf.writeDimStyle(dw, 2.5 / unit, 0.625 / unit, 0.625 / unit, 0.625 / unit, labelHeight);
  dw.sectionEnd();
}

// Flag 1: closed; the last vertex joins the first.
void writeOutline(DL_Dxf& dxf, DL_WriterA& dw, const std::vector<fish::TPoint2D>& outline, const char* layer) {
  dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(outline.size()), 0, 0, 1), onLayer(layer));
  for (const fish::TPoint2D& p : outline) {
    dxf.writeVertex(dw, DL_VertexData(static_cast<double>(p.X), static_cast<double>(p.Y)));
  }
  dxf.writePolylineEnd(dw);
}

template <typename Source>
void writeEntities(DL_Dxf& dxf, DL_WriterA& dw, const Source& pattern, bool angles) {
  const double unit = mmPerUnit(pattern);
  const double labelHeight = kLabelHeight / unit;
  const double nameHeight = kNameHeight / unit;
  const double angleHeight = kAngleHeight / unit;
  dw.sectionEntities();
  // The pieces' names are written last: kept from the first walk.
  std::vector<std::pair<std::string, fish::TPoint2D>> names;
  pattern.pieces([&](const fish::TPatternPiece& piece) {
    writeOutline(dxf, dw, piece.Outline, kCut);
    if (!piece.Name.empty()) names.emplace_back(piece.Name, piece.NameAt);
  });
  if (pattern.nets()) {
    pattern.pieces([&](const fish::TPatternPiece& piece) {
      if (!piece.Net.empty()) writeOutline(dxf, dw, piece.Net, kNet);
    });
  }
  pattern.bendLines([&](const fish::TPatternLine& l) {
    dxf.writeLine(dw,
                  DL_LineData(static_cast<double>(l.From.X), static_cast<double>(l.From.Y), 0,
                              static_cast<double>(l.To.X), static_cast<double>(l.To.Y), 0),
                  onLayer(kBend));
  });
  // A name is centred (72 = 1, 73 = 2) off the lines at its point, its box
  // taken a character as wide as high; the insertion point, for readers that
  // ignore the alignment, is that box's lower left.
  pattern.labels([&](const fish::TPatternLabel& l) {
    const double width = labelHeight * static_cast<double>(l.Text.size());
    const fish::TPoint2D centre = fish::labelCentre(l, width, labelHeight);
    const double x = static_cast<double>(centre.X);
    const double y = static_cast<double>(centre.Y);
    dxf.writeText(dw,
                  DL_TextData(x - width / 2, y - labelHeight / 2, 0, x, y, 0, labelHeight, 1.0, 0, 1, 2, l.Text,
                              "STANDARD", 0.0),
                  onLayer(kLabels));
  });
  // A piece's name, centred on its middle in the same way.
  for (const auto& [name, at] : names) {
    const auto characters = std::count_if(name.begin(), name.end(),
                                          [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
    const double width = nameHeight * static_cast<double>(characters);
    const double x = static_cast<double>(at.X);
    const double y = static_cast<double>(at.Y);
    dxf.writeText(dw,
                  DL_TextData(x - width / 2, y - nameHeight / 2, 0, x, y, 0, nameHeight, 1.0, 0, 1, 2,
                              dxfText(name),
                              "STANDARD", 0.0),
                  onLayer(kLabels));
  }
  // A bend's angle along its line, centred in its box (72 = 1, 73 = 2), the
  // insertion point at the middle of the box's left side; a character is
  // taken as wide as the text is high.
  if (angles) {
    const auto width = [angleHeight](const std::string& text) { return angleHeight * static_cast<fish::Extended>(charCount(text)); };
    pattern.angleTexts(angleHeight, width, [&](const fish::TBendAngleText& a) {
      const double w = static_cast<double>(width(a.Text));
      const double turn = static_cast<double>(a.Direction);
      const double x = static_cast<double>(a.Centre.X), y = static_cast<double>(a.Centre.Y);
      dxf.writeText(dw,
                    DL_TextData(x - std::cos(turn) * w / 2, y - std::sin(turn) * w / 2, 0, x, y, 0, angleHeight,
                                1.0, 0, 1, 2, dxfText(a.Text), "STANDARD", turn * 180 / static_cast<double>(fish::kPi)),
                    onLayer(kAngles));
    });
  }
  dw.sectionEnd();
}

// The text goes wherever it is wanted: into a string, or into the safe
// writer's temporary file, every write checked as it is made.
class TextOut {
 public:
  virtual ~TextOut() = default;
  virtual void put(const char* text, std::size_t size) = 0;
};

class StringOut final : public TextOut {
 public:
  void put(const char* text, std::size_t size) override { text_.append(text, size); }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

class FileOut final : public TextOut {
 public:
  explicit FileOut(fish::TSafeWriter& file) : file_(file) {}
  void put(const char* text, std::size_t size) override { file_.write(text, size); }

 private:
  fish::TSafeWriter& file_;
};

// dxflib's writer sends its text to a stream whose failures nobody sees (a
// full disk cut the file short and the export still reported success), and
// flushes it after every real number. This writer hands dxflib's text on to
// a TextOut, which reports every failure, and formats exactly as dxflib
// does: the group code right-aligned in three columns on a line of its own,
// integers in decimal, handles in upper-case hexadecimal, reals with %.16f,
// trailing zeros cut down to one decimal and a point whatever the locale.
// dxflib's drawing calls take its ASCII writer, so the writer derives from
// it; the stream it opens is the null device and never written.
class TextWriter final : public DL_WriterA {
 public:
  explicit TextWriter(TextOut& out) : DL_WriterA("/dev/null", DL_Codes::AC1009), out_(out) {}

  void dxfReal(int gc, double value) const override {
    // Zero (every Z, every angle) is by far the most common value.
    if (value == 0) {
      dxfString(gc, std::signbit(value) ? "-0.0" : "0.0");
      return;
    }
    char text[512];
    const int length = std::snprintf(text, sizeof text, "%.16f", value);
    int end = -1;
    bool dot = false;
    for (int i = 0; i < length; ++i) {
      if (text[i] == '.' || text[i] == ',') {
        text[i] = '.';
        dot = true;
        end = i + 2;
      } else if (dot && text[i] != '0') {
        end = i + 1;
      }
    }
    if (end > 0 && end < length) text[end] = '\0';
    dxfString(gc, text);
  }

  void dxfInt(int gc, int value) const override {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    dxfString(gc, text);
  }

  void dxfHex(int gc, int value) const override {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    dxfString(gc, text);
  }

  void dxfString(int gc, const char* value) const override { line(gc, value, std::strlen(value)); }
  void dxfString(int gc, const std::string& value) const override { line(gc, value.data(), value.size()); }

 private:
  // The group code's line and the value's, handed on at once.
  void line(int gc, const char* value, std::size_t size) const {
    char text[600];
    const int length = std::snprintf(text, sizeof text, "%3d\n", gc);
    const auto code = static_cast<std::size_t>(length);
    if (code + size + 1 > sizeof text) {
      out_.put(text, code);
      out_.put(value, size);
      out_.put("\n", 1);
      return;
    }
    std::memcpy(text + code, value, size);
    text[code + size] = '\n';
    out_.put(text, code + size + 1);
  }

  TextOut& out_;
};

template <typename Source>
void writeDrawing(DL_Dxf& dxf, DL_WriterA& dw, const Source& pattern) {
  // The precise pattern names itself in a comment ahead of the header; the
  // tables' pattern is written as it always was.
  if (pattern.kind() == fish::TPatternKind::Precise) dxf.writeComment(dw, kPreciseComment);
  dxf.writeHeader(dw);
  // Drawing units: millimetres ($INSUNITS 4) and metric measurement, or
  // inches ($INSUNITS 1) and imperial measurement.
  const bool inches = pattern.units() == fish::TUnits::Inches;
  dw.dxfString(9, "$INSUNITS");
  dw.dxfInt(70, inches ? 1 : 4);
  dw.dxfString(9, "$MEASUREMENT");
  dw.dxfInt(70, inches ? 0 : 1);
  dw.sectionEnd();
  const bool angles = pattern.angles();
  writeTables(dxf, dw, pattern, angles);
  dw.sectionBlocks();
  dw.sectionEnd();
  writeEntities(dxf, dw, pattern, angles);
  dw.dxfEOF();
}

// Sets the version the drawing is written for, which only dxflib's own
// opening of a file does; that writer itself is not used.
void setVersion(DL_Dxf& dxf) { std::unique_ptr<DL_WriterA>(dxf.out("/dev/null", DL_Codes::AC1009)); }

template <typename Source>
void writeText(const Source& pattern, TextOut& out) {
  DL_Dxf dxf;
  setVersion(dxf);
  TextWriter dw(out);
  writeDrawing(dxf, dw, pattern);
}

// dxflib's own writer writes to a named file; an anonymous file in memory
// stands in for it, and the finished text is read back.
class MemoryFile {
 public:
  MemoryFile() : fd_(::memfd_create("vintaler-dxf", MFD_CLOEXEC)) {
    if (fd_ < 0) throw fish::EFileError("DXF: " + fish::systemReason(errno).text());
  }
  ~MemoryFile() { ::close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

  std::string contents() const {
    std::string text;
    char buffer[65536];
    for (off_t at = 0;;) {
      const ssize_t n = ::pread(fd_, buffer, sizeof buffer, at);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw fish::EFileError("DXF: " + fish::systemReason(errno).text());
      if (n == 0) return text;
      text.append(buffer, static_cast<std::size_t>(n));
      at += n;
    }
  }

 private:
  int fd_;
};

std::string libraryText(const fish::TFlatPattern& pattern) {
  MemoryFile file;
  {
    DL_Dxf dxf;
    std::unique_ptr<DL_WriterA> dw(dxf.out(file.path().c_str(), DL_Codes::AC1009));
    if (!dw || dw->openFailed()) throw fish::EFileError("DXF: " + fish::systemReason(errno).text());
    writeDrawing(dxf, *dw, HeldSource(pattern));
    dw->close();
  }
  return file.contents();
}

}  // namespace

std::string patternDxf(const fish::TFlatPattern& pattern, bool libraryWriter) {
  if (libraryWriter) return libraryText(pattern);
  StringOut out;
  writeText(HeldSource(pattern), out);
  return out.take();
}

std::string patternDxf(const fish::TPatternWalk& walk) {
  StringOut out;
  writeText(WalkSource(walk), out);
  return out.take();
}

void writePatternDxf(const std::string& path, const fish::TFlatPattern& pattern) {
  fish::TSafeWriter file(path);
  FileOut out(file);
  writeText(HeldSource(pattern), out);
  file.commit();
}

void writePatternDxf(const std::string& path, const fish::TPatternWalk& walk) {
  fish::TSafeWriter file(path);
  FileOut out(file);
  writeText(WalkSource(walk), out);
  file.commit();
}

}  // namespace vintaler::dxf

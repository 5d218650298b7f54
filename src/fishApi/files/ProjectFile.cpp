#include "ProjectFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "SafeFile.h"

namespace fish {

namespace {

// Offsets inside the TProParams image.
constexpr int kDivisionsAt = 0;
constexpr int kQuadrantsAt = 4;
constexpr int kShowGridAt = 8;
constexpr int kPadding1At = 9;
constexpr int kReserved1At = 16;
constexpr int kPadding2At = 46;
constexpr int kReserved2At = 48;
constexpr int kPadding3At = 49;

constexpr int kProParamsAt = kSystemParamsBytes;
constexpr int kBounds3DAt = kProParamsAt + kProParamsBytes;
constexpr int kBounds2DAt = kBounds3DAt + 6 * kExtendedBytes;

template <std::size_t N>
void PutBytes(std::uint8_t* dst, const std::array<std::uint8_t, N>& from) {
  std::memcpy(dst, from.data(), N);
}

template <std::size_t N>
void GetBytes(const std::uint8_t* src, std::array<std::uint8_t, N>& to) {
  std::memcpy(to.data(), src, N);
}

// The extension block after the 240 bytes. Its first 8 bytes (tag, version,
// length of the fields) and the CRC-32 right after the fields frame every
// version alike, so a reader can check a block of any version before it looks
// at the version: a block of a later version is then told apart from a
// damaged one even when it carries more fields.
//
// Version 1 holds the plate; version 2 the plate and the pattern for
// cutting after it; version 3 adds the seams, the allowances and the bend
// marks; version 4 is version 3 with the unit of the lengths in a byte that
// was zero. Each project
// is written in the lowest version that holds its choices, so that an older
// program still reads what it knows of: the plate alone as version 1, the
// pattern without seams or allowances of their own as version 2, anything
// in millimetres without version 4.
constexpr std::uint8_t kBlockTag[4] = {'V', 'N', 'T', 'X'};
constexpr std::uint16_t kPlateVersion = 1;
constexpr std::uint16_t kCuttingVersion = 2;
constexpr std::uint16_t kSeamsVersion = 3;
constexpr std::uint16_t kUnitsVersion = 4;
constexpr std::size_t kBlockHeaderBytes = 8;
constexpr std::size_t kPlateFieldsBytes = 24;
constexpr std::size_t kCuttingFieldsBytes = 8;
constexpr std::size_t kSeamsFieldsBytes = 5 * kExtendedBytes;
constexpr std::size_t kBlockCrcBytes = 4;
constexpr std::size_t kLongestBlock = kBlockHeaderBytes + 0xFFFF + kBlockCrcBytes;

constexpr std::size_t fieldsOf(std::uint16_t version) {
  switch (version) {
    case kPlateVersion: return kPlateFieldsBytes;
    case kCuttingVersion: return kPlateFieldsBytes + kCuttingFieldsBytes;
    default: return kPlateFieldsBytes + kCuttingFieldsBytes + kSeamsFieldsBytes;
  }
}

// The lowest version that holds these choices.
std::uint16_t versionFor(const TCuttingParams& cutting) {
  if (cutting.Units != TUnits::Millimetres) return kUnitsVersion;
  if (isDefaultCutting(cutting)) return kPlateVersion;
  // Version 2 holds the pattern alone: everything else must be the default.
  TCuttingParams rest = cutting;
  rest.Pattern = TPatternKind::Precise;
  return isDefaultCutting(rest) ? kCuttingVersion : kSeamsVersion;
}

// Offsets inside the block.
constexpr std::size_t kVersionAt = 4;
constexpr std::size_t kLengthAt = 6;
constexpr std::size_t kThicknessAt = 8;
constexpr std::size_t kRectFacesAt = 18;
constexpr std::size_t kRoundFacesAt = 19;
constexpr std::size_t kMaterialAt = 20;
constexpr std::size_t kSpareAt = 21;
constexpr std::size_t kDensityAt = 22;
constexpr std::size_t kPatternAt = 32;  // version 2 on; the 7 bytes after it are 0 in version 2
constexpr std::size_t kSeamsAt = 33;      // version 3
constexpr std::size_t kBendMarksAt = 34;  // version 3
constexpr std::size_t kBendAnglesAt = 35;  // version 3; the 4 bytes after it are 0
constexpr std::size_t kUnitsAt = 36;       // version 4; the 3 bytes after it are 0
constexpr std::size_t kSeamFirstAt = 40;
constexpr std::size_t kSeamSecondAt = kSeamFirstAt + kExtendedBytes;
constexpr std::size_t kRectAllowanceAt = kSeamSecondAt + kExtendedBytes;
constexpr std::size_t kRoundAllowanceAt = kRectAllowanceAt + kExtendedBytes;
constexpr std::size_t kTickLengthAt = kRoundAllowanceAt + kExtendedBytes;

constexpr TMsgId kBlockDamaged = FISH_TR(
    "files",
    "Дополнительные данные проекта (толщина листа, материал) повреждены и не прочитаны: взяты значения по умолчанию");
constexpr TMsgId kBlockTooNew =
    FISH_TR("files",
            "Дополнительные данные проекта (толщина листа, материал) записаны более новой версией программы и не "
            "прочитаны: взяты значения по умолчанию");

// CRC-32 of IEEE 802.3: the polynomial 0x04C11DB7 taken bit-reversed
// (0xEDB88320) so the bytes are fed least significant bit first, the register
// starting at all ones and inverted at the end. One table row per byte value
// holds the register's eight shifts for that byte.
constexpr std::array<std::uint32_t, 256> makeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = makeCrcTable();

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) c = kCrcTable[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void putU16(std::uint8_t* dst, std::uint16_t v) {
  dst[0] = static_cast<std::uint8_t>(v);
  dst[1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint16_t getU16(const std::uint8_t* src) { return static_cast<std::uint16_t>(src[0] | (src[1] << 8)); }

void putU32(std::uint8_t* dst, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) dst[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t getU32(const std::uint8_t* src) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(src[i]) << (8 * i);
  return v;
}

// The plate and the cutting choices a block holds, or the sentence saying why
// it is not taken. `size` counts the bytes from the tag to the end of the
// file.
bool fromBlock(const std::uint8_t* block, std::size_t size, TPlateParams& plate, TCuttingParams& cutting,
               TMsgId& why) {
  why = kBlockDamaged;
  if (size < kBlockHeaderBytes || std::memcmp(block, kBlockTag, sizeof kBlockTag) != 0) return false;
  const std::uint16_t version = getU16(block + kVersionAt);
  const std::size_t fields = getU16(block + kLengthAt);
  const std::size_t crcAt = kBlockHeaderBytes + fields;
  if (size < crcAt + kBlockCrcBytes || getU32(block + crcAt) != crc32(block, crcAt)) return false;
  // Version 0 was never written: a block claiming it is damaged, not new.
  if (version > kUnitsVersion) why = kBlockTooNew;
  if (version < kPlateVersion || version > kUnitsVersion || fields != fieldsOf(version)) return false;
  TCuttingParams choices;
  if (version >= kCuttingVersion) {
    const std::uint8_t code = block[kPatternAt];
    if (code > static_cast<std::uint8_t>(TPatternKind::Table)) return false;
    choices.Pattern = static_cast<TPatternKind>(code);
  }
  if (version >= kSeamsVersion) {
    choices.Seams = block[kSeamsAt];
    choices.SeamFirst = getExtended(block + kSeamFirstAt);
    choices.SeamSecond = getExtended(block + kSeamSecondAt);
    choices.RectAllowance = getExtended(block + kRectAllowanceAt);
    choices.RoundAllowance = getExtended(block + kRoundAllowanceAt);
    if (block[kBendMarksAt] > static_cast<std::uint8_t>(TBendMarks::Ticks)) return false;
    choices.BendMarks = static_cast<TBendMarks>(block[kBendMarksAt]);
    if (block[kBendAnglesAt] > 1) return false;
    choices.BendAngles = block[kBendAnglesAt] == 1;
    choices.TickLength = getExtended(block + kTickLengthAt);
    if (version >= kUnitsVersion) {
      if (block[kUnitsAt] > static_cast<std::uint8_t>(TUnits::Inches)) return false;
      choices.Units = static_cast<TUnits>(block[kUnitsAt]);
    }
    try {
      checkCutting(choices);
    } catch (const ECuttingError&) {
      return false;
    }
  }
  TPlateParams read;
  read.Thickness = getExtended(block + kThicknessAt);
  read.RectFaces = static_cast<TFaces>(block[kRectFacesAt]);
  read.RoundFaces = static_cast<TFaces>(block[kRoundFacesAt]);
  read.Material = static_cast<TMaterial>(block[kMaterialAt]);
  read.Density = getExtended(block + kDensityAt);
  // The spare byte is written as 0 and not looked at; the checksum already
  // vouches for the block.
  try {
    checkPlate(read);
  } catch (const EPlateError&) {
    return false;
  }
  plate = read;
  cutting = choices;
  return true;
}

}  // namespace

void putExtended(std::uint8_t* dst, Extended v) { std::memcpy(dst, &v, kExtendedBytes); }

Extended getExtended(const std::uint8_t* src) {
  unsigned char raw[sizeof(Extended)] = {};
  std::memcpy(raw, src, kExtendedBytes);
  Extended v;
  std::memcpy(&v, raw, sizeof v);
  return v;
}

TProjectData newProjectData() {
  TProjectData p;
  p.SystemParams = defaultSystemParams();
  p.ProParams = defaultProParams();
  p.Bounds3D = {-100, 100, -100, 100, -100, 100};
  p.Bounds2D = {-100, 100, -100, 100, -100, 100};
  return p;
}

TSystemParamsImage systemParamsToBytes(const TSystemParams& sp) {
  TSystemParamsImage b{};
  const Extended fields[] = {sp.B, sp.A, sp.L, sp.R, sp.X1, sp.Y1};
  for (int i = 0; i < 6; ++i) putExtended(b.data() + i * kExtendedBytes, fields[i]);
  PutBytes(b.data() + 6 * kExtendedBytes, sp.Padding);
  return b;
}

TSystemParams systemParamsFromBytes(const std::uint8_t* bytes) {
  TSystemParams sp;
  Extended* fields[] = {&sp.B, &sp.A, &sp.L, &sp.R, &sp.X1, &sp.Y1};
  for (int i = 0; i < 6; ++i) *fields[i] = getExtended(bytes + i * kExtendedBytes);
  GetBytes(bytes + 6 * kExtendedBytes, sp.Padding);
  return sp;
}

TProParamsImage proParamsToBytes(const TProParams& pp) {
  TProParamsImage b{};
  const auto divisions = static_cast<std::uint32_t>(pp.Divisions);
  for (int i = 0; i < 4; ++i)
    b[static_cast<std::size_t>(kDivisionsAt + i)] = static_cast<std::uint8_t>(divisions >> (8 * i));
  PutBytes(b.data() + kQuadrantsAt, pp.Quadrants);
  b[kShowGridAt] = pp.ShowGrid;
  PutBytes(b.data() + kPadding1At, pp.Padding1);
  putExtended(b.data() + kReserved1At, pp.Reserved1.X);
  putExtended(b.data() + kReserved1At + kExtendedBytes, pp.Reserved1.Y);
  putExtended(b.data() + kReserved1At + 2 * kExtendedBytes, pp.Reserved1.Z);
  PutBytes(b.data() + kPadding2At, pp.Padding2);
  b[kReserved2At] = pp.Reserved2;
  PutBytes(b.data() + kPadding3At, pp.Padding3);
  return b;
}

TProParams proParamsFromBytes(const std::uint8_t* bytes) {
  TProParams pp;
  std::uint32_t divisions = 0;
  for (int i = 0; i < 4; ++i) divisions |= static_cast<std::uint32_t>(bytes[kDivisionsAt + i]) << (8 * i);
  pp.Divisions = static_cast<std::int32_t>(divisions);
  GetBytes(bytes + kQuadrantsAt, pp.Quadrants);
  pp.ShowGrid = bytes[kShowGridAt];
  GetBytes(bytes + kPadding1At, pp.Padding1);
  pp.Reserved1.X = getExtended(bytes + kReserved1At);
  pp.Reserved1.Y = getExtended(bytes + kReserved1At + kExtendedBytes);
  pp.Reserved1.Z = getExtended(bytes + kReserved1At + 2 * kExtendedBytes);
  GetBytes(bytes + kPadding2At, pp.Padding2);
  pp.Reserved2 = bytes[kReserved2At];
  GetBytes(bytes + kPadding3At, pp.Padding3);
  return pp;
}

TProjectImage encodeProject(const TProjectData& project) {
  TProjectImage image{};
  PutBytes(image.data(), systemParamsToBytes(project.SystemParams));
  PutBytes(image.data() + kProParamsAt, proParamsToBytes(project.ProParams));
  for (int i = 0; i < 6; ++i) {
    putExtended(image.data() + kBounds3DAt + i * kExtendedBytes, project.Bounds3D[static_cast<std::size_t>(i)]);
    putExtended(image.data() + kBounds2DAt + i * kExtendedBytes, project.Bounds2D[static_cast<std::size_t>(i)]);
  }
  return image;
}

TProjectData decodeProject(const TProjectImage& image) {
  TProjectData project;
  project.SystemParams = systemParamsFromBytes(image.data());
  project.ProParams = proParamsFromBytes(image.data() + kProParamsAt);
  for (int i = 0; i < 6; ++i) {
    project.Bounds3D[static_cast<std::size_t>(i)] = getExtended(image.data() + kBounds3DAt + i * kExtendedBytes);
    project.Bounds2D[static_cast<std::size_t>(i)] = getExtended(image.data() + kBounds2DAt + i * kExtendedBytes);
  }
  return project;
}

std::vector<std::uint8_t> encodeProjectFile(const TProjectData& project) {
  const TProjectImage image = encodeProject(project);
  std::vector<std::uint8_t> bytes(image.begin(), image.end());
  const TCuttingParams& cutting = project.Cutting;
  const std::uint16_t version = versionFor(cutting);
  if (isDefaultPlate(project.Plate) && version == kPlateVersion) return bytes;
  const std::size_t crcAt = kBlockHeaderBytes + fieldsOf(version);
  std::uint8_t block[kBlockHeaderBytes + kPlateFieldsBytes + kCuttingFieldsBytes + kSeamsFieldsBytes +
                     kBlockCrcBytes] = {};
  std::memcpy(block, kBlockTag, sizeof kBlockTag);
  putU16(block + kVersionAt, version);
  putU16(block + kLengthAt, static_cast<std::uint16_t>(fieldsOf(version)));
  putExtended(block + kThicknessAt, project.Plate.Thickness);
  block[kRectFacesAt] = static_cast<std::uint8_t>(project.Plate.RectFaces);
  block[kRoundFacesAt] = static_cast<std::uint8_t>(project.Plate.RoundFaces);
  block[kMaterialAt] = static_cast<std::uint8_t>(project.Plate.Material);
  block[kSpareAt] = 0;
  putExtended(block + kDensityAt, project.Plate.Density);
  if (version >= kCuttingVersion) block[kPatternAt] = static_cast<std::uint8_t>(cutting.Pattern);
  if (version >= kSeamsVersion) {
    block[kSeamsAt] = cutting.Seams;
    putExtended(block + kSeamFirstAt, cutting.SeamFirst);
    putExtended(block + kSeamSecondAt, cutting.SeamSecond);
    putExtended(block + kRectAllowanceAt, cutting.RectAllowance);
    putExtended(block + kRoundAllowanceAt, cutting.RoundAllowance);
    block[kBendMarksAt] = static_cast<std::uint8_t>(cutting.BendMarks);
    block[kBendAnglesAt] = cutting.BendAngles ? 1 : 0;
    putExtended(block + kTickLengthAt, cutting.TickLength);
  }
  if (version >= kUnitsVersion) block[kUnitsAt] = static_cast<std::uint8_t>(cutting.Units);
  putU32(block + crcAt, crc32(block, crcAt));
  bytes.insert(bytes.end(), block, block + crcAt + kBlockCrcBytes);
  return bytes;
}

TProjectData decodeProjectFile(const std::uint8_t* bytes, std::size_t size, std::string* notice) {
  if (size < static_cast<std::size_t>(kProjectFileBytes))
    throw std::invalid_argument("a project needs " + std::to_string(kProjectFileBytes) + " bytes");
  if (notice) notice->clear();
  TProjectImage image{};
  std::memcpy(image.data(), bytes, image.size());
  TProjectData project = decodeProject(image);
  // Only the plate's block is ever written after the 240 bytes. Anything else
  // there is a block whose tag was damaged or cut short: the plate it held is
  // lost, and the user must hear so before a save writes the project without it.
  const std::uint8_t* tail = bytes + kProjectFileBytes;
  const std::size_t tailSize = size - static_cast<std::size_t>(kProjectFileBytes);
  if (tailSize == 0) return project;
  TMsgId why{};
  if (!fromBlock(tail, tailSize, project.Plate, project.Cutting, why) && notice) *notice = say(why);
  return project;
}

TProjectData readProjectFile(const std::string& path, std::string* notice) {
  FdGuard file;
  file.fd = openPlainFile(path);
  // The 240 bytes and the largest block the header can announce; whatever
  // lies beyond is never looked at.
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kProjectFileBytes) + kLongestBlock);
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(file.fd, bytes.data() + got, bytes.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EProjectFileError(fileReadFailure(path, systemReason(errno)));
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got < static_cast<std::size_t>(kProjectFileBytes)) {
    throw EProjectFileError(fileReadFailure(
        path, TMessage(FISH_TR("files", "файл короче %1 байт (в нём %2 байт), это не файл развертки"),
                       {std::to_string(kProjectFileBytes), std::to_string(got)})));
  }
  return decodeProjectFile(bytes.data(), got, notice);
}

void writeProjectFile(const std::string& path, const TProjectData& project) {
  const std::vector<std::uint8_t> bytes = encodeProjectFile(project);
  writeFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace fish

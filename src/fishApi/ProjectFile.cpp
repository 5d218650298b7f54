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

TProjectData readProjectFile(const std::string& path) {
  FdGuard file;
  file.fd = openPlainFile(path);
  TProjectImage image{};
  std::size_t got = 0;
  while (got < image.size()) {
    const ssize_t n = ::read(file.fd, image.data() + got, image.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EProjectFileError(fileReadFailure(path, systemReason(errno)));
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got < image.size()) {
    throw EProjectFileError(fileReadFailure(path, "файл короче " + std::to_string(kProjectFileBytes) + " байт (в нём " +
                                                      std::to_string(got) + " байт), это не файл развертки"));
  }
  return decodeProject(image);
}

void writeProjectFile(const std::string& path, const TProjectData& project) {
  const TProjectImage image = encodeProject(project);
  writeFileAtomically(path, image.data(), image.size());
}

}  // namespace fish

// The project file "*.raz": 240 bytes, little-endian, no header.
//   0   64  TSystemParams image (B, A, L, R, X1, Y1 as 10-byte extendeds, 4 padding)
//   64  56  TProParams image
//   120 60  3-D view bounds MinX, MaxX, MinY, MaxY, MinZ, MaxZ
//   180 60  development view bounds in the same order
// Every byte read is kept, padding included, so an opened project is written
// back unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "fishApi/core/FishErrors.h"
#include "fishApi/core/FishTypes.h"
#include "fishApi/view/FishView.h"
#include "fishApi/shop/CuttingParams.h"
#include "fishApi/shop/PlateParams.h"
#include "SafeFile.h"

namespace fish {

inline constexpr int kProjectFileBytes = 240;

using TSystemParamsImage = std::array<std::uint8_t, kSystemParamsBytes>;
using TProParamsImage = std::array<std::uint8_t, kProParamsBytes>;
using TProjectImage = std::array<std::uint8_t, kProjectFileBytes>;

struct TProjectData {
  TSystemParams SystemParams;
  TProParams ProParams;
  TViewBounds Bounds3D{};  // the model's view
  TViewBounds Bounds2D{};  // the development's view
  TPlateParams Plate;      // kept in the extension block after the 240 bytes
  TCuttingParams Cutting;  // the same
};

// Records with their defaults, both views bounded by -100 and 100 on every axis.
TProjectData newProjectData();

void putExtended(std::uint8_t* dst, Extended v);  // 10 bytes
Extended getExtended(const std::uint8_t* src);    // 10 bytes

TSystemParamsImage systemParamsToBytes(const TSystemParams& sp);
TSystemParams systemParamsFromBytes(const std::uint8_t* bytes);
TProParamsImage proParamsToBytes(const TProParams& pp);
TProParams proParamsFromBytes(const std::uint8_t* bytes);

TProjectImage encodeProject(const TProjectData& project);
TProjectData decodeProject(const TProjectImage& image);

// The whole file: the 240 bytes, then the extension block when the plate or
// the cutting choices are not the defaults (isDefaultPlate,
// isDefaultCutting); with nothing but defaults, the plain 240 bytes.
//
// Extension block, little-endian, right after byte 240 (36 bytes in version
// 1, 44 in version 2, 94 in versions 3 and 4):
//   0  4  tag "VNTX"
//   4  2  version: 1 with default cutting choices; 2 when only the pattern
//         for cutting is not the default; 3 when the seams, an allowance,
//         the bend marks, the tick length or the angles are not; 4 when
//         the lengths are in inches, whatever else
//   6  2  length of the fields that follow: 24, 32 or 82
//   8  10 thickness (extended)
//   18 1  rectangle faces (TFaces code)
//   19 1  circle faces (TFaces code)
//   20 1  material (TMaterial code)
//   21 1  zero
//   22 10 density (extended)
//   versions 2 and 3:
//   32 1  the pattern for cutting (TPatternKind code)
//   33 7  zero in version 2; in versions 3 and 4:
//   33 1  the seams (TCuttingParams::Seams, a bit per TSeamAt)
//   34 1  the bend marks (TBendMarks code)
//   35 1  1 when the drawings carry the bends' angles, else 0
//   36 1  zero in version 3; in version 4 the unit (TUnits code)
//   37 3  zero
//   40 10 seam allowance, first edge (extended, mm)
//   50 10 seam allowance, second edge
//   60 10 allowance at the rectangular end
//   70 10 allowance at the round end
//   80 10 length of the bend marks' ticks (extended, mm)
//   then  4  CRC-32 (IEEE 802.3) of every byte before it
// A reader of the 240-byte format never looks past byte 240.
std::vector<std::uint8_t> encodeProjectFile(const TProjectData& project);

// The project of a file's bytes (at least 240). Bytes after 240 that do not
// start with the tag are ignored, as they always were. A block with the tag
// that is cut short, fails its checksum, has another version or length, or
// holds a value checkPlate refuses, a pattern or bend marks code of none or
// seams, widths or a tick length checkCutting refuses leaves the
// default plate and cutting choices and sets
// `notice` to a sentence saying so; otherwise `notice` is left empty.
TProjectData decodeProjectFile(const std::uint8_t* bytes, std::size_t size, std::string* notice = nullptr);

// A project file that could not be read or written. The message names the
// file and the reason.
using EProjectFileError = EFileError;

// Reads the 240 bytes and an extension block after them (decodeProjectFile);
// anything else in a longer file is ignored. A file that cannot be opened or
// holds fewer than 240 bytes fails and yields nothing, and so does anything
// but a plain file (a pipe is refused at once, never waited on).
TProjectData readProjectFile(const std::string& path, std::string* notice = nullptr);

// Writes the 240 bytes into an unnamed file in the target's folder (a short
// hidden temporary name where the file system has no unnamed files), flushes
// it to disk, puts it in place of the target and flushes the folder, so a
// failed or interrupted save leaves any previous file as it was and no
// temporary file behind. A replaced file keeps its permission mode. A symbolic
// link is followed: the plain file it names is replaced. Refused, and left
// untouched: anything that is not a plain file (a folder, a device, a pipe, a
// link to nothing or a link loop) and a read-only file (one the user may not
// write, or one without any write permission, even for the superuser).
// The bytes written are encodeProjectFile's.
void writeProjectFile(const std::string& path, const TProjectData& project);

}  // namespace fish

// Records, points and arrays of the transition-piece engine.
//
// Frame: the rectangular section (B along X, A along Y) lies in Z = 0 centred
// on the origin; the circular section (radius R) lies in Z = L with its centre
// at (X1, Y1, L). The rectangle is split by the axes into quadrants 1..4,
// numbered like the quadrants of the plane; each is built on its own.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

namespace fish {

// All geometry is done in x87 80-bit extended precision: every printed
// coordinate depends on the exact rounding of that format.
using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "Extended must be the x87 80-bit format (64-bit significand)");
static_assert(std::numeric_limits<Extended>::max_exponent == 16384,
              "Extended must be the x87 80-bit format (15-bit exponent)");

// Size of an Extended in a file or record image: significand, then sign and exponent.
inline constexpr int kExtendedBytes = 10;

// A Boolean as the records store it: one byte, 0 false, anything else true.
// Kept as a raw byte so that a record read from a file is written back unchanged.
using ByteBool = std::uint8_t;

struct TPoint3D {
  Extended X = 0;
  Extended Y = 0;
  Extended Z = 0;
};

struct TPoint2D {
  Extended X = 0;
  Extended Y = 0;
};

// Geometry of one project. Image: B, A, L, R, X1, Y1 at 10-byte steps, then 4 padding bytes.
struct TSystemParams {
  Extended B = 0;   // rectangle side along X
  Extended A = 0;   // rectangle side along Y
  Extended L = 0;   // distance between the sections (Z of the circle)
  Extended R = 0;   // radius of the circle
  Extended X1 = 0;  // offset of the circle's centre along X
  Extended Y1 = 0;  // offset of the circle's centre along Y
  std::array<std::uint8_t, 4> Padding{};
};
inline constexpr int kSystemParamsBytes = 64;

// How to build. Image: Divisions (int32) at 0, Quadrants 1..4 at 4..7,
// ShowGrid at 8, Reserved1 at 16 (three Extended), Reserved2 at 48.
struct TProParams {
  std::int32_t Divisions = 0;
  std::array<ByteBool, 4> Quadrants{};  // Quadrants[0] is quadrant 1
  ByteBool ShowGrid = 0;
  std::array<std::uint8_t, 7> Padding1{};
  TPoint3D Reserved1;
  std::array<std::uint8_t, 2> Padding2{};
  ByteBool Reserved2 = 0;
  std::array<std::uint8_t, 7> Padding3{};
};
inline constexpr int kProParamsBytes = 56;

// The largest number of divisions the engine accepts. A quarter arc in more
// steps than this is far below any marking accuracy, and the arrays grow
// linearly with it.
inline constexpr std::int32_t kMaxDivisions = 100000;

// Above this departure from the exact surface (mm) a pattern is no longer
// good enough to cut from, and the user is told so.
inline constexpr Extended kAccuracyLimit = 0.5L;

// One generator line: P1 on the rectangle (Z = 0), P2 on the circle (Z = L).
struct TSurf2Point {
  TPoint3D P1;
  TPoint3D P2;
};
using TSurf2PointArray = std::vector<TSurf2Point>;

// The flattened image of the surface element with the same index.
struct TRazvertka2Point {
  TPoint2D P1;
  TPoint2D P2;
};
using TRazvertka2PointArray = std::vector<TRazvertka2Point>;

struct TExtents3D {
  Extended MinX = 0, MaxX = 0;
  Extended MinY = 0, MaxY = 0;
  Extended MinZ = 0, MaxZ = 0;
};

struct TExtents2D {
  Extended MinX = 0, MaxX = 0;
  Extended MinY = 0, MaxY = 0;
};

// A new project: 100 x 100 rectangle, circle of radius 50 at distance 50, no
// offset; 10 divisions, quadrants 1 and 2 drawn, no grid.
TSystemParams defaultSystemParams();
TProParams defaultProParams();

inline bool quadrantSelected(const TProParams& pro, int quadrant) {
  return quadrant >= 1 && quadrant <= 4 && pro.Quadrants[static_cast<std::size_t>(quadrant - 1)] != 0;
}

// The arrays most recently computed by any engine operation. Nothing relies on
// them between calls; they make the engine non-re-entrant (one UI thread).
extern TSurf2PointArray LastSurf;
extern TRazvertka2PointArray LastRazvertka;

}  // namespace fish

// The kernel's plain geometric records: world points and boxes, the 8.24
// fixed-point transform, the view clip and the view mapping of a window.
// Their layouts are stored in design files and window state, so each is
// checked at compile time.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pl3 {

// One fixed-point unit: 1.0 in signed 8.24.
inline constexpr std::int32_t kFixedOne = 0x1000000;

// World lengths: 1 mm, 1 inch and 1 thou in world units.
inline constexpr std::int32_t kUnitsPerMm = 1440000;
inline constexpr std::int32_t kUnitsPerInch = 36576000;
inline constexpr std::int32_t kUnitsPerThou = 36576;

struct Point {
  std::int32_t x;
  std::int32_t y;
};
static_assert(sizeof(Point) == 8);

// An axis-aligned rectangle. The empty box is {-1, -1, 0, 0}: compared as
// unsigned values it is neutral to union and extend.
struct Box {
  std::int32_t xmin;
  std::int32_t ymin;
  std::int32_t xmax;
  std::int32_t ymax;
};
static_assert(sizeof(Box) == 16);
inline constexpr Box kEmptyBox = {-1, -1, 0, 0};

// Row-vector affine transform: x' = x*a + y*c + tx, y' = x*b + y*d + ty,
// a..d in signed 8.24 fixed point, tx and ty in world units.
struct Transform {
  std::int32_t a;
  std::int32_t b;
  std::int32_t c;
  std::int32_t d;
  std::int32_t tx;
  std::int32_t ty;
};
static_assert(sizeof(Transform) == 24);
static_assert(offsetof(Transform, tx) == 16);
inline constexpr Transform kIdentityTransform = {kFixedOne, 0, 0, kFixedOne, 0, 0};

// The four fixed quarter-turn rotations (zero translation) that text is drawn
// under: R90 maps (x, y) to (-y, x), R270 maps it to (y, -x).
inline constexpr Transform R0 = kIdentityTransform;
inline constexpr Transform R90 = {0, kFixedOne, -kFixedOne, 0, 0, 0};
inline constexpr Transform R180 = {-kFixedOne, 0, 0, -kFixedOne, 0, 0};
inline constexpr Transform R270 = {0, -kFixedOne, kFixedOne, 0, 0, 0};

// The inclusive pixel rectangle every run is cut to, with the size of the
// surface it belongs to.
struct ViewClip {
  std::int32_t xmin;
  std::int32_t ymin;
  std::int32_t xmax;
  std::int32_t ymax;
  std::int32_t width;
  std::int32_t height;
};
static_assert(sizeof(ViewClip) == 24);

// A window's view: origin in view pixels and zoom in world units per pixel
// (at least 1).
struct ViewMapping {
  std::int32_t originX;
  std::int32_t originY;
  std::uint32_t zoom;
};
static_assert(sizeof(ViewMapping) == 12);

}  // namespace pl3

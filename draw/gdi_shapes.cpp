#include "draw/gdi_shapes.h"

#include "platform/gdi.h"

namespace {
constexpr std::int64_t kGdiCoordinateLimit = 32767;
}

int DrawCircle(void* dc, std::int32_t x, std::int32_t y, std::int32_t radius) {
  const std::int64_t left = std::int64_t{x} - radius, right = std::int64_t{x} + radius;
  const std::int64_t top = std::int64_t{y} - radius, bottom = std::int64_t{y} + radius;
  if (left + right >= kGdiCoordinateLimit || top + bottom >= kGdiCoordinateLimit) return 0;
  Ellipse(static_cast<HDC>(dc), static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
          static_cast<int>(bottom));
  return 1;
}

int DrawSegmentLine(void* dc, const pl3::ViewSegment& segment) {
  pl3::ViewSegment s = segment;
  if (pl3::ClipSegmentToView(&s) != 0) return 0;
  MoveToEx(static_cast<HDC>(dc), s.x1, s.y1, nullptr);
  LineTo(static_cast<HDC>(dc), s.x2, s.y2);
  return 1;
}

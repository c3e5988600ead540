// SetCursorToPoint alone in its file, so that a test that fakes it still
// links the rest of the engine.
#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "geometry/view_mapping.h"
#include "objects/view_seams.h"
#include "platform/user.h"

void SetCursorToPoint(void* window, pl3::Point point) {
  CurrentWindowData* block = ActiveWindowData;
  if (!block) return;
  // The world point in the window's own view pixels.
  const std::uint64_t factor = pl3::ViewFactorForZoom(block->Zoom);
  const auto scale = [factor](std::int32_t v) {
    return static_cast<std::int32_t>((std::uint64_t{static_cast<std::uint32_t>(v)} * factor) >> 32);
  };
  block->MouseWorld = point;
  block->MousePixel = {scale(point.x) - block->ViewOriginX, scale(point.y) - block->ViewOriginY};
  HWND view = static_cast<HWND>(window);
  POINT origin{0, 0};
  ClientToScreen(view, &origin);
  SetCursorPos(origin.x + block->MousePixel.x, origin.y + block->MousePixel.y);
  MoveCrosshair(view, &block->Crosshair, block->MousePixel.x, block->MousePixel.y);
}

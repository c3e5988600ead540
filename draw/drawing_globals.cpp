// The drawing globals (draw/raster_callbacks.h, draw/text_render.h), in a
// file of their own: the design objects read them (objects/drawing_seams.h),
// and a program that links them must take neither the raster kernel's
// callbacks nor the text renderer along.
#include "draw/raster_callbacks.h"
#include "draw/text_render.h"
#include "platform/reset_hooks.h"

std::int32_t TextPenWidth = 0;

namespace pl3 {

std::uint32_t SuppressSymbolTextsFlag = 0;

namespace {

void ResetDrawingGlobals() {
  SuppressSymbolTextsFlag = 0;
  ::TextPenWidth = 0;
}
[[maybe_unused]] const bool g_registered = RegisterGlobalReset(&ResetDrawingGlobals);

}  // namespace

}  // namespace pl3

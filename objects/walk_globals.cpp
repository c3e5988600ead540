// The walker's globals, apart from the walk itself so that the drawing code
// and the editing engine can read and set them without linking the walk.
#include <cstring>

#include "objects/walker.h"
#include "platform/reset_hooks.h"

std::uint16_t WalkTypeFlags[kWalkTypeCount];
std::uint8_t WalkStateFlags = 0;
std::uint32_t DisplayOptions = 0;
std::uint32_t SurfaceMountPadFlag = 0;
std::uint16_t WalkFlagSetMask = 0;
std::uint32_t WalkFlagKeepMask = 0xFFFFFFFFu;
pl3::Point WalkMoveOffset = {0, 0};
std::uint8_t WalkSourceLayer = 0;
std::uint8_t WalkTargetLayer = 0;
std::uint32_t HighlightFillColour = 0;
WalkHandlerTable WalkHandlers;

namespace {

void ResetWalkGlobals() {
  std::memset(WalkTypeFlags, 0, sizeof WalkTypeFlags);
  WalkStateFlags = 0;
  DisplayOptions = 0;
  SurfaceMountPadFlag = 0;
  WalkFlagSetMask = 0;
  WalkFlagKeepMask = 0xFFFFFFFFu;
  WalkMoveOffset = {0, 0};
  WalkSourceLayer = 0;
  WalkTargetLayer = 0;
  HighlightFillColour = 0;
  WalkHandlers = WalkHandlerTable{};
}
const bool g_registered = pl3::RegisterGlobalReset(&ResetWalkGlobals);

}  // namespace

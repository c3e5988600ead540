// The fixed arrowhead rotations, set at start-up beside the identity and
// before every test.
#include "objects/dimensioners.h"
#include "platform/reset_hooks.h"

pl3::Transform ArrowheadRotations[2] = {};

void InitialiseArrowheadRotations() {
  constexpr std::int32_t kCos30 = 0xDDB3D7;
  constexpr std::int32_t kHalf = 0x800000;
  constexpr std::int32_t kMinusHalf = static_cast<std::int32_t>(0xFF800000u);
  ArrowheadRotations[0] = {kCos30, kHalf, kMinusHalf, kCos30, 0, 0};
  ArrowheadRotations[1] = {kCos30, kMinusHalf, kHalf, kCos30, 0, 0};
}

namespace {
const bool g_rotationsRegistered = pl3::RegisterGlobalReset(&InitialiseArrowheadRotations);
}  // namespace

// The view origin that centres the design's extents in a window.
#include <cstdint>

#include "objects/new_documents.h"
#include "platform/user.h"

// In view pixels at the zoom (world units per pixel); x in the low word.
std::uint64_t GetCentredViewOrigin(void* window, std::uint32_t zoom) {
  if (zoom == 0) return 0;
  RECT client{};
  GetClientRect(static_cast<HWND>(window), &client);
  const auto centre = [&](std::int32_t low, std::int32_t high, std::int32_t pixels) {
    const std::uint64_t middle = (std::uint64_t{static_cast<std::uint32_t>(low)} + static_cast<std::uint32_t>(high)) / 2;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(middle / zoom) - pixels / 2);
  };
  const std::uint32_t x = centre(GlobalExtentsBox.xmin, GlobalExtentsBox.xmax, client.right - client.left);
  const std::uint32_t y = centre(GlobalExtentsBox.ymin, GlobalExtentsBox.ymax, client.bottom - client.top);
  return (std::uint64_t{y} << 32) | x;
}


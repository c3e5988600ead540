#include "app/open_requests.h"

#include "platform/reset_hooks.h"

std::uint8_t OpenRequestFlags = 0;
Tower* PendingItemTower = nullptr;

namespace {
void ResetOpenRequests() {
  OpenRequestFlags = 0;
  PendingItemTower = nullptr;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetOpenRequests);
}  // namespace

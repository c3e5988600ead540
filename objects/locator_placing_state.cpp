// The program-wide placing state of attribute locators: the pin text
// defaults (their starting values come from the configuration options) and
// the pending locator name. Kept apart so that the configuration file can
// reach them without the placing code.
#include <cstdlib>
#include <cstring>

#include "objects/attribute_locators.h"
#include "platform/reset_hooks.h"

PinTextDefaults PinNumberTextDefaults;
PinTextDefaults PinNameTextDefaults;
char* PendingLocatorName = nullptr;

namespace {
const bool g_registered = pl3::RegisterGlobalReset(&FreePendingLocatorName);
}  // namespace

void SetPendingLocatorName(const char* name) {
  char* copy = nullptr;
  if (name) {
    const std::size_t n = std::strlen(name);
    copy = static_cast<char*>(std::malloc(n + 1));
    if (copy) std::memcpy(copy, name, n + 1);
  }
  FreePendingLocatorName();
  PendingLocatorName = copy;
}

void FreePendingLocatorName() {
  std::free(PendingLocatorName);
  PendingLocatorName = nullptr;
}

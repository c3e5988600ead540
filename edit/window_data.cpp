#include "edit/window_data.h"

#include "platform/reset_hooks.h"

CurrentWindowData* ActiveWindowData = nullptr;

namespace {
void ResetActiveWindow() { ActiveWindowData = nullptr; }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetActiveWindow);
}  // namespace

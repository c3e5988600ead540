#include "tests/store/netfs_test_seams.h"

#include "platform/reset_hooks.h"
#include "store/seams.h"

namespace {
std::vector<ShownMessage> gShown;
void ResetShown() { gShown.clear(); }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetShown);
}  // namespace

std::vector<ShownMessage>& ShownMessages() { return gShown; }

void ShowMessage(HWND, const char* text, const char* caption) { gShown.push_back({text, caption}); }

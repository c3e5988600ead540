// The program's definitions of what document filing calls in parts of the
// program that are not built yet. Each refuses visibly (a beep and a failure
// result) and never reports success; each goes when its owner lands.
#include <vector>

#include "platform/user.h"
#include "store/filing_seams.h"

int ExplorerMode = 1;

void ConvertPl2ProjectTree(Tower*) { MessageBeep(0); }
const Tower* GetDocumentWindowDesign(HWND) { return nullptr; }
char* GetLinkedItemName(const Tower*) { return nullptr; }

ExplorerResult* BrowseContainerFile(HWND, int, int, const char*, const char*, const char*) {
  MessageBeep(0);
  return nullptr;
}
ExplorerResult* ExploreContainerFile(HWND, const char*, int, const char*, int, const char*, const char*) {
  MessageBeep(0);
  return nullptr;
}
void FreeExplorerResult(ExplorerResult*) {}

void ProjectTreeNotifyKind1(const std::vector<std::uint8_t>&) {}
void ProjectTreeNotifyKind2(const std::vector<std::uint8_t>&) {}
void ProjectTreeNotifyKind3(const std::vector<std::uint8_t>&) {}
void ProjectTreeNotifyKind4(const std::vector<std::uint8_t>&) {}

// The program's definitions of what document filing calls in parts of the
// program that are not built yet. Each refuses visibly (a beep and a failure
// result) and never reports success; each goes when its owner lands.
#include <vector>

#include "platform/user.h"
#include "store/filing_seams.h"

void ConvertPl2ProjectTree(Tower*) { MessageBeep(0); }
const Tower* GetDocumentWindowDesign(HWND) { return nullptr; }
char* GetLinkedItemName(const Tower*) { return nullptr; }

void ProjectTreeNotifyKind1(const std::vector<std::uint8_t>&) {}
void ProjectTreeNotifyKind2(const std::vector<std::uint8_t>&) {}
void ProjectTreeNotifyKind3(const std::vector<std::uint8_t>&) {}
void ProjectTreeNotifyKind4(const std::vector<std::uint8_t>&) {}

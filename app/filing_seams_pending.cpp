// The program's definitions of what document filing calls in parts of the
// program that are not built yet. Each refuses visibly (a beep and a failure
// result) and never reports success; each goes when its owner lands.
#include <vector>

#include "platform/user.h"
#include "store/filing_seams.h"

// Every item load passes through the converter; a tree of this program holds
// nothing of the earlier generation, so until the importer lands there is
// nothing to convert and nothing to refuse (a beep here sounded on every open).
void ConvertPl2ProjectTree(Tower*) {}
const Tower* GetDocumentWindowDesign(HWND) { return nullptr; }
char* GetLinkedItemName(const Tower*) { return nullptr; }

void ProjectTreeNotifyKind1(const std::vector<std::uint8_t>&) {}
void ProjectTreeNotifyKind2(const std::vector<std::uint8_t>&) {}
void ProjectTreeNotifyKind3(const std::vector<std::uint8_t>&) {}
void ProjectTreeNotifyKind4(const std::vector<std::uint8_t>&) {}

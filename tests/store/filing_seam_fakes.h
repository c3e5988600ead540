// Fakes of what document filing calls above the store: the post-load passes,
// the document windows' designs, the container browser and explorer, the
// linked item of a PCB or page, the tab bar and the project tree's
// notification handlers. Each records its calls or answers from a script.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/win_types.h"

struct Tower;

namespace filingfakes {

struct Calls {
  int conversions = 0;
  int fontRemaps = 0;
  int undoClears = 0;  // ClearUndoHistory calls
  std::map<HWND, const Tower*> windowDesigns;  // what GetDocumentWindowDesign answers
  std::map<const Tower*, std::string> linkedItems;  // what GetLinkedItemName answers
  std::vector<HWND> tabCaptionUpdates;
  std::vector<int> projectTreeKinds;  // kinds handed to the project tree, in order
  // The browser's and explorer's answer: chosen when `itemPath` is not empty.
  std::string containerPath;
  std::string itemPath;
  std::uint32_t status = 1;
  std::vector<int> explorerModesSeen;  // ExplorerMode during each browse
  std::vector<std::string> explorerStarts;  // container and start path of each explore
  // The browser's own window: activated while it runs, as a real one is.
  HWND browserWindow = nullptr;
};

// Cleared before every test.
Calls& Recorded();

}  // namespace filingfakes

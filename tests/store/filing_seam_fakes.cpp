#include "tests/store/filing_seam_fakes.h"

#include <cstdlib>
#include <cstring>

#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/tower.h"

namespace filingfakes {

Calls& Recorded() {
  static Calls calls;
  return calls;
}

namespace {
void ResetCalls() { Recorded() = Calls{}; }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetCalls);

char* Copy(const std::string& s) {
  char* p = static_cast<char*>(std::malloc(s.size() + 1));
  std::memcpy(p, s.c_str(), s.size() + 1);
  return p;
}

ExplorerResult* Answer() {
  auto& r = Recorded();
  r.explorerModesSeen.push_back(ExplorerMode);
  if (r.browserWindow) SetActiveWindow(r.browserWindow);
  if (r.itemPath.empty()) return nullptr;
  return new ExplorerResult{Copy(r.containerPath), Copy(r.itemPath), r.status};
}
}  // namespace

}  // namespace filingfakes

using filingfakes::Recorded;

int ExplorerMode = 1;

void ConvertPl2ProjectTree(Tower*) { ++Recorded().conversions; }
void RemapDocumentFonts(Tower*) { ++Recorded().fontRemaps; }
void ClearUndoHistory(const Tower*) { ++Recorded().undoClears; }

const Tower* GetDocumentWindowDesign(HWND window) {
  auto it = Recorded().windowDesigns.find(window);
  return it == Recorded().windowDesigns.end() ? nullptr : it->second;
}

void UpdateMDITabCaption(HWND, const Tower* document) {
  HWND window = nullptr;
  if (const void* p = GetEntityData(document, 6004)) std::memcpy(&window, p, sizeof window);
  Recorded().tabCaptionUpdates.push_back(window);
}

char* GetLinkedItemName(const Tower* document) {
  auto it = Recorded().linkedItems.find(document);
  return it == Recorded().linkedItems.end() ? nullptr : filingfakes::Copy(it->second);
}

ExplorerResult* BrowseContainerFile(HWND, int, int, const char*, const char*, const char*, const char*) {
  return filingfakes::Answer();
}

ExplorerResult* ExploreContainerFile(HWND, const char* containerPath, int, const char* startPath, int, const char*,
                                     const char*) {
  Recorded().explorerStarts.push_back(std::string(containerPath) + "|" + startPath);
  return filingfakes::Answer();
}

void FreeExplorerResult(ExplorerResult* result) {
  if (!result) return;
  std::free(result->containerPath);
  std::free(result->itemPath);
  delete result;
}

void ProjectTreeNotifyKind1(const std::vector<std::uint8_t>&) { Recorded().projectTreeKinds.push_back(1); }
void ProjectTreeNotifyKind2(const std::vector<std::uint8_t>&) { Recorded().projectTreeKinds.push_back(2); }
void ProjectTreeNotifyKind3(const std::vector<std::uint8_t>&) { Recorded().projectTreeKinds.push_back(3); }
void ProjectTreeNotifyKind4(const std::vector<std::uint8_t>&) { Recorded().projectTreeKinds.push_back(4); }

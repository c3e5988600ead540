// Fakes of the clipboard's seams (edit/clipboard_seams.h): selection records
// from calloc (the tests free them), a fixed handle point, and records of
// the package and ghost calls.
#include <cstdlib>
#include <string>
#include <vector>

#include "edit/clipboard_seams.h"
#include "edit/schematic_copy_seams.h"
#include "edit/window_data.h"
#include "platform/reset_hooks.h"
#include "tests/edit/clipboard_fakes.h"

namespace clipboardfakes {
pl3::Point handle{0, 0};
std::vector<std::string> calls;
namespace {
void Reset() {
  handle = {0, 0};
  calls.clear();
}
const bool gRegistered = pl3::RegisterGlobalReset(&Reset);
}  // namespace
}  // namespace clipboardfakes

SelectionInfo* NewSelectionInfo(SelectionInfo* head) {
  auto* record = static_cast<SelectionInfo*>(std::calloc(1, sizeof(SelectionInfo)));
  record->next = head;
  if (head) head->prev = record;
  return record;
}

pl3::Point GetItemHandlePoint(HWND, const Tower*) { return clipboardfakes::handle; }

void RecordPackageReference(const Tower*, char* buffer, std::size_t size) {
  if (size) buffer[0] = 0;
  clipboardfakes::calls.push_back("package reference");
}

void UnpackageSymbol(const Tower*) { clipboardfakes::calls.push_back("unpackage"); }

Tower* CopySymbolToInsertionAt(const Tower*, pl3::Point at) {
  clipboardfakes::calls.push_back("ghost at " + std::to_string(at.x) + "," + std::to_string(at.y));
  return nullptr;
}

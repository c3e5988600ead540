// Fakes of the clipboard's seams (edit/clipboard_seams.h): a fixed handle
// point, and records of the package and ghost calls.
#include <string>
#include <vector>

#include "edit/clipboard_seams.h"
#include "edit/schematic_copy_seams.h"
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

// The selection list's ghosts reach this one too; the paste never calls it.
Tower* CopySelectedSymbolToInsertion(const Tower*, const SelectionInfo*) {
  clipboardfakes::calls.push_back("selected ghost");
  return nullptr;
}

// The program's stand-ins for the clipboard's calls of the selection list,
// the symbol insertion and the packaging
// (edit/clipboard_seams.h) until their owners land: records are made with
// calloc, nothing is packaged and no ghost is made.
#include <cstdlib>

#include "edit/clipboard_seams.h"
#include "edit/window_data.h"

SelectionInfo* NewSelectionInfo(SelectionInfo* head) {
  auto* record = static_cast<SelectionInfo*>(std::calloc(1, sizeof(SelectionInfo)));
  if (!record) return head;
  record->next = head;
  if (head) head->prev = record;
  return record;
}

void RecordPackageReference(const Tower*, char* buffer, std::size_t bufferSize) {
  if (buffer && bufferSize) buffer[0] = 0;
}

void UnpackageSymbol(const Tower*) {}


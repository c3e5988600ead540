// The program's stand-ins for the undo engine of objects/undo_seams.h until
// the editing engine lands: nothing is recorded, so nothing can be undone,
// and step numbers still advance.
#include "objects/undo_seams.h"

Tower* RecordUndoModify(const Tower*, const Tower*, std::uint32_t) { return nullptr; }
void SetUndoStepCaption(std::uint32_t, const char*) {}
std::uint32_t NewUndoStepNumber() {
  static std::uint32_t next = 1;
  return ++next;
}
void UpdateUndoMenu(void*) {}

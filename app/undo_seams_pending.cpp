// The program's stand-ins for the undo engine of objects/undo_seams.h until
// the editing engine lands: nothing is recorded, so there is nothing to undo
// and every step is step 0.
#include "objects/undo_seams.h"

Tower* RecordUndoModify(const Tower*, const Tower*, std::uint32_t) { return nullptr; }
void SetUndoStepCaption(std::uint32_t, const char*) {}
std::uint32_t NewUndoStepNumber() { return 0; }
void UpdateUndoMenu(void*) {}

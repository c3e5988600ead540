// Stand-ins of the undo history for tests of commands that record undo
// entries but do not look at them: nothing is recorded and the step number
// stays.
#include "objects/undo_seams.h"

void RecordUndoInsert(NodeRef, std::uint32_t) {}
Tower* RecordUndoRemove(const Tower*, std::uint32_t) { return nullptr; }
Tower* RecordUndoModify(const Tower*, NodeRef, std::uint32_t) { return nullptr; }
void SetUndoStepCaption(std::uint32_t, const char*) {}
std::uint32_t NewUndoStepNumber() { return ActiveWindowData ? ActiveWindowData->UndoStep : 0; }
void UpdateUndoMenu() {}

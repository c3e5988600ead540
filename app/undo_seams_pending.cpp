// The program's stand-ins for the editing engine's undo history
// (objects/undo_seams.h) until it lands: nothing is recorded and the step
// number stays.
#include "edit/window_data.h"
#include "objects/undo_seams.h"

Tower* RecordUndoInsert(const Tower*, std::uint32_t) { return nullptr; }
Tower* RecordUndoRemove(const Tower*, std::uint32_t) { return nullptr; }
Tower* RecordUndoModify(const Tower*, const Tower*, std::uint32_t) { return nullptr; }
void SetUndoStepCaption(std::uint32_t, const char*) {}
std::uint32_t NewUndoStepNumber() { return ActiveWindowData ? ActiveWindowData->UndoStep : 0; }
void UpdateUndoMenu(void*) {}

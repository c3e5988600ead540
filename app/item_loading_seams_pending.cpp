// The program's stand-ins for choosing and loading what is placed
// (edit/placing_seams.h) until the PCB editor and the library editors land:
// nothing is chosen, so nothing is placed.
#include "edit/placing_seams.h"
#include "platform/user.h"

Tower* LoadAndInsertSymbolDefinition(HWND) { return nullptr; }
Tower* LoadShapeForInsertion(HWND, const Tower*, const char*) { return nullptr; }
void ReloadShapeInsertion(const Tower*) {}
void RotateMacroBlock(HWND, EntityRecord*, const pl3::Transform*) { MessageBeep(0); }

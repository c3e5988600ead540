// The program's stand-ins for the editors' picking-tool clicks
// (edit/picking_tool_seams.h) until the PCB and schematic editors land: each
// beeps and changes nothing.
#include "edit/picking_tool_seams.h"
#include "platform/user.h"

namespace {
void Refuse() { MessageBeep(0); }
}  // namespace

void CheckSelectedNet(HWND, ButtonRecord*) { Refuse(); }
void FindComplementaryAtCursor(HWND, EntityRecord**, ButtonRecord*) { Refuse(); }
void ShowHideRatsnestNode(HWND, ButtonRecord*, int) { Refuse(); }
void ShowHideRatsnestBySymbol(HWND, ButtonRecord*, int) { Refuse(); }
void PinSwapAtCursor(HWND, ButtonRecord*) { Refuse(); }
void SchematicPinSwapAtCursor(HWND, ButtonRecord*) { Refuse(); }
void EditSymbolInstanceAttributes(HWND, ButtonRecord*) { Refuse(); }
void EditPackageInstanceAttributes(HWND, ButtonRecord*) { Refuse(); }
void EditPackageGlobalNets(HWND, ButtonRecord*) { Refuse(); }
void ModifyPreRoutes(HWND, ButtonRecord*) { Refuse(); }

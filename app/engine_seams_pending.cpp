// The program's stand-ins for the tools and frame services the mouse road
// calls (edit/engine_seams.h) until their owners land. Each refuses visibly
// with a beep and changes nothing; the ghost updaters draw nothing. The
// ghost updater, the commit and the insertion start are reached through the
// tool dispatch of app/placing_tool_dispatch.cpp, for the tools not built yet.
#include "app/engine_seams_pending.h"

#include "platform/user.h"

namespace {
void Refuse() { MessageBeep(0); }
}  // namespace

void PendingUpdateModeGhost(GhostKind, HDC, ButtonRecord*, EntityRecord**) {}
void PendingCommitModeItem(std::uint8_t, HWND, ButtonRecord*, EntityRecord**) { Refuse(); }
void RunHighlightTool(std::uint8_t, HWND, ButtonRecord*) { Refuse(); }
void ShowSchematicNetAtCursor() { Refuse(); }
void SetPlaneNetAtPoint(HWND, ButtonRecord*) { Refuse(); }
void GhostCurrentMode(HWND) {}
void PendingBeginInsertion(HWND, ButtonRecord*, EntityRecord**) { Refuse(); }
void SetPolygonPoint(HWND, ButtonRecord*, EntityRecord**) { Refuse(); }
void AddSelectedPolygonPoint(HWND, ButtonRecord*) { Refuse(); }
void PackageSymbolAtCursor(HWND, ButtonRecord*, EntityRecord**) { Refuse(); }
void PlaceFromSchematic(HWND, ButtonRecord*) { Refuse(); }
void EditAtCursor(HWND, ButtonRecord*) { Refuse(); }
void RebuildSelectionMenu(HWND) {}
void EnablePrintZoneCommand(int) {}

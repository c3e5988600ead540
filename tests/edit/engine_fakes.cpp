#include "tests/edit/engine_fakes.h"

#include <cstring>

#include "edit/engine_seams.h"
#include "edit/pick_action_seams.h"
#include "edit/selection_engine_seams.h"
#include "objects/editor_seams.h"
#include "edit/ratsnest_seams.h"
#include "edit/status_seams.h"
#include "edit/window_data.h"
#include "objects/display_list_seams.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace enginefakes {

std::vector<std::string> calls;
int deleteSelectionArrayAnswer = 1;
int deleteSelectionAnswer = 1;

namespace {
void Reset() {
  calls.clear();
  deleteSelectionArrayAnswer = 1;
  deleteSelectionAnswer = 1;
}
const bool gRegistered = pl3::RegisterGlobalReset(&Reset);
}  // namespace

std::vector<std::string> CallsStartingWith(const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& c : calls)
    if (c.compare(0, prefix.size(), prefix) == 0) found.push_back(c);
  return found;
}

// The type code of the entity a Tower stands on, and for a track its first
// x, which the tests use as a tag.
std::string Describe(const Tower* t) {
  const Entity* e = TowerEntity(t);
  if (!e) return "none";
  std::string text = std::to_string(e->typeCode);
  if (e->payloadSize >= 56) {
    std::int32_t tag = 0;
    std::memcpy(&tag, EntityPayload(e) + 52, 4);
    text += ":" + std::to_string(tag);
  }
  return text;
}

void Note(const std::string& text) { calls.push_back(text); }

}  // namespace enginefakes

using enginefakes::Describe;
using enginefakes::Note;

// The display list.
void PutEntityOnDisplayList(void*, const Tower* entity) { Note("put " + Describe(entity)); }
void* RemoveFromDisplayList(void* list, const Tower* entity) {
  Note("take " + Describe(entity));
  return list;
}
void AddTrackToDisplayList(const void*, const pl3::Transform*, int, const Tower*, int) {}
void TransformItemBox(const EntityRecord*) {}

// The docking panes.
LRESULT Docking_SendToPaneClient(std::uint32_t pane, UINT message, WPARAM, LPARAM) {
  if (pane == Pane_Layers) Note("layers pane " + std::to_string(message));
  return 0;
}
void ComponentBinMarkPlaced(const Tower* instance) { Note("bin placed " + Describe(instance)); }
void ComponentBinMarkUnplaced(const Tower* instance) { Note("bin unplaced " + Describe(instance)); }
void ComponentBinAddSymbol(const Tower*, const Tower*, const char*) {}
// Marks the text with the direction asked, so a test sees which way it stepped.
char* StepNameNumber(const char* text, int up) {
  const std::string marked = std::string(text) + (up ? "+1" : "-1");
  return strdup(marked.c_str());
}
void UpdateToolbarStates(std::uint32_t) {}

// The view.
int IsItemAttachedToCursor() { return 0; }
void CentreViewOnPoint(void*, pl3::Point) {}
void RedrawView(void* window) { Note(window ? "redraw view" : "redraw no view"); }
int UpdateStatusBar(void*) {
  Note("status");
  return 1;
}
void HandleRawMouseRecord(void*, const MouseRecord&) {}
void DoScroll(void*, std::uint32_t, std::uint32_t) {}

// The ratsnest.
void EmptyChangedNets() { Note("nets emptied"); }
void MarkSymbolNetsChanged(const Tower* instance) { Note("nets of " + Describe(instance)); }
void UpdateChangedNetMembers(int) { Note("nets updated"); }
void RemoveMovingPoints(const Tower* item) { Note("moving points dropped " + Describe(item)); }

// The frame's menus and options.
void ChangeMenu(int flags) { Note("change menu " + std::to_string(flags)); }
int PickDesignatorsOfFixedSymbols() { return 0; }

// The frame and the tools (edit/engine_seams.h).
void UpdateModeGhost(GhostKind, HDC, ButtonRecord*, EntityRecord**) {}
void CommitModeItem(std::uint8_t, HWND, ButtonRecord*, EntityRecord**) {}
void RunPickingTool(std::uint8_t, HWND, ButtonRecord*, EntityRecord**) {}
void RunHighlightTool(std::uint8_t, HWND, ButtonRecord*) {}
void ShowSchematicNetAtCursor() {}
void SetPlaneNetAtPoint(HWND, ButtonRecord*) {}
int AcceptGraphicRecord(HWND, EntityRecord**) { return 0; }
void GhostCurrentMode(HWND) {
  const CurrentWindowData* w = ActiveWindowData;
  Note("ghost mode " + std::to_string(w ? w->EditMode : 0) + " assist " + std::to_string(w ? w->AngleAssist : 0));
}
void CentreViewOnCursor(HWND) {}
void ClearToolMode(HWND) { Note("tool ended"); }
void DoSelect(HWND, ButtonRecord*, EntityRecord**) { Note("select"); }
void BeginInsertion(HWND, ButtonRecord*, EntityRecord**) {}
void SetPolygonPoint(HWND, ButtonRecord*, EntityRecord**) {}
void AddSelectedPolygonPoint(HWND, ButtonRecord*) {}
void CopyAtCursor(HWND, ButtonRecord*) {}
void PackageSymbolAtCursor(HWND, ButtonRecord*, EntityRecord**) {}
void PlaceFromSchematic(HWND, ButtonRecord*) {}
void EditAtCursor(HWND, ButtonRecord*) {}
int GotoPadCentre(HWND, ButtonRecord*) { return 0; }
void RebuildSelectionMenu(HWND) {}
void BeginMeasure(HWND, ButtonRecord*) {}
void ShowMeasuringTooltip(HWND) {}
void HideMeasuringTooltip(HWND) { Note("tooltip hidden"); }
void SetMeasureTool(HWND) {}
void EnablePrintZoneCommand(int) {}


// The editor services of the design objects.
std::uint8_t GetNextLayerOfKind(std::uint8_t layer, std::uint32_t) { return layer; }
void DrawSpiral(void*, const EntityRecord*) {}
int GetArcQuadrant(const EntityRecord*) { return 0; }
int GetArcSweepQuadrants(const EntityRecord*) { return 0; }
void MakeDirectionTransform(pl3::Transform* out, pl3::Point, double) { *out = pl3::kIdentityTransform; }
void RedrawViewRect(void*, const pl3::Box* box, int) {
  Note(box ? "redraw box " + std::to_string(box->xmin) + " " + std::to_string(box->ymin) + " " +
                 std::to_string(box->xmax) + " " + std::to_string(box->ymax)
           : std::string("redraw box"));
}
void DrawModeGhost(void*, ModeGhost, const EntityRecord*) {}
void SetSelectionAndOptionsMenus(std::uint32_t kind) { Note("menus " + std::to_string(kind)); }
void SetEditCursor(std::uint32_t kind) { Note("cursor " + std::to_string(kind)); }
// Snaps to multiples of 1,000.
void SnapXY(std::int32_t* x, std::int32_t* y, int) {
  *x = *x / 1000 * 1000;
  *y = *y / 1000 * 1000;
}
void SnapXYFine(std::int32_t*, std::int32_t*) {}

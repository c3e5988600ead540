#include "editor_seam_fakes.h"

#include "edit/window_data.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/view_seams.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace editorfakes {
std::vector<std::string> calls;
int arcQuadrant = 0;
int sweepQuadrants = 0;
bool insertFails = false;
int itemAttached = 0;
std::vector<int> ghostAssist;
std::vector<MarkerDraw> markers;

int Count(const std::string& prefix) {
  int n = 0;
  for (const std::string& c : calls) n += c.rfind(prefix, 0) == 0;
  return n;
}

HWND MakeEditorWindow(const char* className, WNDPROC proc) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = className;
  RegisterClassA(&wc);
  return CreateWindowA(className, "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
}

namespace {
void Reset() {
  calls.clear();
  arcQuadrant = sweepQuadrants = 0;
  insertFails = false;
  itemAttached = 0;
  ghostAssist.clear();
  markers.clear();
}
const bool gRegistered = pl3::RegisterGlobalReset(&Reset);

void Marker(const char* kind, void* dc, std::int32_t x, std::int32_t y) {
  HDC h = static_cast<HDC>(dc);
  LOGPEN pen{};
  GetObjectA(GetCurrentObject(h, OBJ_PEN), sizeof pen, &pen);
  markers.push_back({kind, {x, y}, pen.lopnColor, GetROP2(h)});
}
}  // namespace
}  // namespace editorfakes

using editorfakes::calls;

// A ring 1 -> 2 -> 32 -> 1 of selectable layers.
std::uint8_t GetNextLayerOfKind(std::uint8_t layer, std::uint32_t) {
  return layer == 1 ? 2 : layer == 2 ? 32 : 1;
}
void GhostEntityData(void*, std::uint16_t type, const void*, std::uint32_t, const pl3::Transform*) { calls.push_back("ghost " + std::to_string(type)); }
void DrawSpiral(void*, const EntityRecord*) { calls.push_back("spiral"); }
int GetArcQuadrant(const EntityRecord*) { return editorfakes::arcQuadrant; }
int GetArcSweepQuadrants(const EntityRecord*) { return editorfakes::sweepQuadrants; }
Tower* InsertEntityWithUndo(const EntityRecord* record, const Tower* design) {
  calls.push_back("insert");
  if (editorfakes::insertFails) return nullptr;
  return InsertEntity(design, kSpiralPayloadSize, record->header.recordType, record->payload);
}
void MakeDirectionTransform(pl3::Transform* out, pl3::Point direction, double) {
  *out = {0, 0, 0, 0, direction.x, direction.y};
}
void SetSelectionAndOptionsMenus(std::uint32_t kind) { calls.push_back("menus " + std::to_string(kind)); }
void SetEditCursor(std::uint32_t kind) { calls.push_back("cursor " + std::to_string(kind)); }
void RedrawViewRect(void*, const pl3::Box* box, int) {
  calls.push_back("rect " + std::to_string(box->xmin) + "," + std::to_string(box->ymin) + "," +
                  std::to_string(box->xmax) + "," + std::to_string(box->ymax));
}
void DrawModeGhost(void*, ModeGhost ghost, const EntityRecord*) {
  calls.push_back("mode ghost " + std::to_string(static_cast<int>(ghost)));
  editorfakes::ghostAssist.push_back(ActiveWindowData ? ActiveWindowData->AngleAssist : -1);
}
void GhostOriginMarkerOnDC(void* dc, std::int32_t x, std::int32_t y) { editorfakes::Marker("origin", dc, x, y); }
void DrawDatumMarker(void* dc, std::int32_t x, std::int32_t y) { editorfakes::Marker("datum", dc, x, y); }

// The grid snaps to 1,000,000 units, the fine snap to 1,000.
void SnapXY(std::int32_t* x, std::int32_t* y, int) {
  *x = *x / 1000000 * 1000000;
  *y = *y / 1000000 * 1000000;
}
void SnapXYFine(std::int32_t* x, std::int32_t* y) {
  *x = *x / 1000 * 1000;
  *y = *y / 1000 * 1000;
}
int IsItemAttachedToCursor() { return editorfakes::itemAttached; }
void SetCursorToPoint(void*, pl3::Point) {}
void CentreViewOnPoint(void*, pl3::Point) {}
int UpdateStatusBar(void*) {
  calls.push_back("status");
  return 0;
}
void RedrawView(void*) { calls.push_back("redraw"); }
void HandleRawMouseRecord(void*, const MouseRecord&) {}
void DoScroll(void*, std::uint32_t, std::uint32_t) {}

#include "command_seam_fakes.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "edit/window_data.h"
#include "editor_seam_fakes.h"
#include "geometry/raster_state.h"
#include "objects/area_pick_seams.h"
#include "objects/command_workers.h"
#include "objects/console_seams.h"
#include "objects/display_list_seams.h"
#include "objects/drag_snap_seams.h"
#include "objects/editor_input.h"
#include "objects/graphic_records.h"
#include "objects/item_sides.h"
#include "objects/polygon_entry_seams.h"
#include "objects/selection_seams.h"
#include "objects/thumbnail_seams.h"
#include "objects/undo_seams.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

using editorfakes::calls;

namespace commandfakes {
std::vector<UndoEntry> undo;
std::vector<std::string> captions;
std::uint32_t nextStep = 100;
bool setPolygonRefuses = false;
int checkPointAnswer = 0;
bool insertPolygonFails = false;
std::int64_t selectionType = -1;
std::vector<std::pair<std::uint16_t, std::string>> descriptions;
std::vector<Tower*> candidates;
std::vector<std::string> console;
const void* thumbnailWindow = nullptr;
const void* thumbnailView = nullptr;

namespace {
void Reset() {
  undo.clear();
  captions.clear();
  nextStep = 100;
  setPolygonRefuses = false;
  checkPointAnswer = 0;
  insertPolygonFails = false;
  selectionType = -1;
  descriptions.clear();
  candidates.clear();
  console.clear();
  thumbnailWindow = thumbnailView = nullptr;
}
const bool gRegistered = pl3::RegisterGlobalReset(&Reset);

std::string TypeOf(const Tower* t) {
  const Entity* e = TowerEntity(t);
  return e ? std::to_string(e->typeCode) : "none";
}
}  // namespace

void UndoStep(std::uint32_t step, const Tower* parent) {
  for (auto e = undo.rbegin(); e != undo.rend(); ++e) {
    if (e->step != step) continue;
    if (e->kind == 1) {
      Tower* inserted = EntityToTower(parent, NodeAt<Entity>(e->inserted), -1);
      DeleteEntity(inserted);
      ReleaseTower(&inserted);
    } else {
      Tower* back = InsertEntity(parent, static_cast<std::uint32_t>(e->payload.size()), e->type, e->payload.data());
      ReleaseTower(&back);
    }
  }
}

}  // namespace commandfakes

using namespace commandfakes;

void RecordUndoInsert(NodeRef item, std::uint32_t step) {
  const Entity* e = NodeAt<Entity>(item);
  calls.push_back("undo insert " + std::to_string(e->typeCode) + " step " + std::to_string(step));
  undo.push_back({1, step, e->typeCode, {}, item});
}
Tower* RecordUndoRemove(const Tower* entity, std::uint32_t step) {
  calls.push_back("undo remove " + TypeOf(entity) + " step " + std::to_string(step));
  const Entity* e = TowerEntity(entity);
  const std::uint8_t* p = EntityPayload(e);
  undo.push_back({2, step, e->typeCode, std::vector<std::uint8_t>(p, p + e->payloadSize), 0});
  return DuplicateTower(entity);  // the caller frees what it is handed
}
void SetUndoStepCaption(std::uint32_t step, const char* caption) {
  calls.push_back("caption " + std::to_string(step) + " " + caption);
}
std::uint32_t NewUndoStepNumber() {
  calls.push_back("new step");
  return nextStep++;
}
Tower* RecordUndoModify(const Tower* item, NodeRef, std::uint32_t step) {
  calls.push_back("undo modify " + TypeOf(item) + " step " + std::to_string(step));
  return nullptr;
}
void UpdateUndoMenu() { calls.push_back("undo menu"); }

void PutEntityOnDisplayList(void*, const Tower* entity) { calls.push_back("display put " + TypeOf(entity)); }
void* RemoveFromDisplayList(void* list, const Tower* entity) {
  calls.push_back("display remove " + TypeOf(entity));
  return list;
}

void GhostPolygonItem(void*, const EntityRecord* record, const pl3::Transform*) {
  calls.push_back("polygon ghost " + std::to_string(const_cast<EntityRecord*>(record)->as<PolygonHead>().count));
}
pl3::Box* SetPolygon(EntityRecord* polygon) {
  calls.push_back("set polygon");
  if (setPolygonRefuses) return nullptr;
  auto* box = static_cast<pl3::Box*>(std::malloc(sizeof(pl3::Box)));
  const pl3::Point* points = pl3::PolygonPoints(&polygon->as<PolygonHead>());
  *box = {points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
  return box;
}
int CheckNewPolygonPoint(const pl3::PolygonLayout*) {
  calls.push_back("check point");
  return checkPointAnswer;
}
void SetPolygonPoint(void* dc, EntityRecord*) { calls.push_back(dc ? "add point" : "add point without dc"); }
Tower* InsertPolygonRecord(const EntityRecord* polygon, const Tower* parent) {
  calls.push_back("insert polygon");
  if (insertPolygonFails) return nullptr;
  auto& record = const_cast<EntityRecord&>(*polygon);
  return InsertEntity(parent, PolygonEntitySize(record.payload), StoredCodeOfRecord(record), record.payload);
}
void ReversePolygonInHand(HWND, EntityRecord*) { calls.push_back("reverse in hand"); }
void ReverseStoredPolygon(HWND, pl3::PolygonLayout* polygon) {
  calls.push_back("reverse stored " + std::to_string(polygon->count));
}

std::uint32_t GetSelectionType(const SelectionInfo* list) {
  if (selectionType >= 0) return static_cast<std::uint32_t>(selectionType);
  std::uint32_t type = 65535;
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (!(s->flags & kSelectionPrimary)) continue;
    const std::uint32_t own = ItemTypeCode(SelectionItem(*s));
    if (type == 65535) type = own;
    else if (type != own) return 0xFFFFFFFFu;
  }
  return type;
}
int CountSelections(const SelectionInfo* list, int primaryOnly) {
  int n = 0;
  for (const SelectionInfo* s = list; s; s = s->next) n += !primaryOnly || (s->flags & kSelectionPrimary);
  return n;
}
void GhostSelectionArray(HDC dc, const SelectionInfo*) {
  calls.push_back(std::string(dc ? "selection ghosts" : "selection ghosts without dc") + " bend " +
                  std::to_string(SelectionBendByte));
}
char* DescribeObject(const Tower* item) {
  const Entity* e = TowerEntity(item);
  for (const auto& [type, text] : descriptions)
    if (e && e->typeCode == type) return strdup(text.c_str());
  return nullptr;
}

void SnapDragPoint(HWND, ButtonRecord* cursor) {
  calls.push_back("snap drag " + std::to_string(cursor->Cursor.x) + "," + std::to_string(cursor->Cursor.y));
}

HBITMAP RenderBoxThumbnail(const Tower*, const pl3::Box*) {
  calls.push_back("thumbnail");
  thumbnailWindow = ActiveWindowData;
  thumbnailView = pl3::g_raster.view;
  return reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(0x7B));
}

ConsoleLine* AddConsoleMessage(ConsolePane*, std::uint32_t kind, std::int32_t x, std::int32_t y, std::int32_t page,
                               std::uint32_t flags, const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  console.push_back(std::to_string(kind) + " " + std::to_string(flags) + " " + std::to_string(x) + " " +
                    std::to_string(y) + " " + std::to_string(page) + ": " + text);
  return nullptr;
}

void GetEntityDataBox(const void*, std::uint16_t, pl3::Box* box, const pl3::Transform*) { *box = {-1, -1, 0, 0}; }
// The engine's notice of a stored item; it may move the drawing layer.
void NotifyEntityStored(const Tower* entity) {
  calls.push_back("notify " + TypeOf(entity));
  if (ActiveWindowData) ActiveWindowData->DrawingLayer = 99;
}

const Tower* AreaPickCandidate(std::uint32_t index) { return index < candidates.size() ? candidates[index] : nullptr; }

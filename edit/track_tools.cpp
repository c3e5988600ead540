#include "edit/track_tools.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <vector>

#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/insertion.h"
#include "edit/mouse_road.h"
#include "edit/tool_commands.h"
#include "edit/window_data.h"
#include "objects/cursor_zoom.h"
#include "objects/design_helpers.h"
#include "objects/entity_record.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "objects/item_picking.h"
#include "objects/real_size.h"
#include "objects/type_codes.h"
#include "objects/undo_edits.h"
#include "objects/view_seams.h"
#include "objects/walker.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

double SquaredDistance(std::int32_t ax, std::int32_t ay, std::int32_t bx, std::int32_t by) {
  const double dx = static_cast<double>(ax) - bx, dy = static_cast<double>(ay) - by;
  return dx * dx + dy * dy;
}

double Distance(std::int32_t ax, std::int32_t ay, std::int32_t bx, std::int32_t by) {
  return std::hypot(static_cast<double>(ax) - bx, static_cast<double>(ay) - by);
}

// The track's half width in world units, from the size table when indexed.
double TrackSize(const LinePayload& t) {
  if (t.head.sizeFlags & kSizeByIndex) return ReturnRealSize(Type_Track, t.head.sizeIndex);
  return t.width;
}

bool ReadTrack(const Entity* e, LinePayload* out) {
  if (!e || e->payloadSize < sizeof(LinePayload)) return false;
  std::memcpy(out, EntityPayload(e), sizeof *out);
  return true;
}

// Moves the cursor there and lets the mode's ghost and the status bar follow.
void PutCursorAt(HWND window, CurrentWindowData& w, pl3::Point point) {
  MoveCursorToPoint(window, point);
  DoMouseMove(window, &w.Button, &w.PendingRecord, 1);
}

// Steps 2 to 4 of starting a track from a found point: the line tool armed
// when idle, the track begun at the cursor inside a drawing pass.
void BeginTrackAtCursor(HWND window, CurrentWindowData& w, EntityRecord** slot) {
  if (w.EditMode == Mode_Idle) {
    SetLineTool();
    w.EditMode = Mode_StartInsert;
    w.InsertType = 1;
    w.ClickState = 0;
    w.StateFlags &= ~kStateRoutedLine;
  }
  HDC dc = GetViewDC(window);
  ++DrawingDepth;
  BeginContinueTrack({window, dc}, slot ? slot : &w.PendingRecord, w.Cursor);
  --DrawingDepth;
  ReleaseViewDC(window, dc);
}

}  // namespace

// The track nearest the window's cursor and its payload; a beep and null when none.
namespace {
Tower* TrackAtCursor(const CurrentWindowData& w, LinePayload* track) {
  Tower* picked = w.design ? FindClosestTrack(w.Cursor.x, w.Cursor.y, 0) : nullptr;
  if (!picked || !ReadTrack(TowerEntity(picked), track)) {
    ReleaseTower(&picked);
    MessageBeep(0);
  }
  return picked;
}
}  // namespace

void GotoOrigin(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  PutCursorAt(window, *w, w->CoordinateOrigin);
}

int FindTrackEndAtCursor(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || w->Zoom == 0) return 0;
  const pl3::Point cursor = w->Cursor;
  const double zoom = w->Zoom;
  bool found = false;
  double best = 0;
  pl3::Point bestEnd{};
  Tower* tracks = GetChildTower(w->design, Type_Track);
  while (const Entity* e = tracks ? FindNextEntity(tracks) : nullptr) {
    LinePayload t;
    if (!ReadTrack(e, &t)) continue;
    const double d1 = SquaredDistance(t.x1, t.y1, cursor.x, cursor.y);
    const double d2 = SquaredDistance(t.x2, t.y2, cursor.x, cursor.y);
    const bool second = d2 < d1;
    const double nearer = second ? d2 : d1;
    // Within the pick distance in pixels plus the track's size: compared
    // squared in world units.
    const double reach = PickDistance * zoom + TrackSize(t);
    if (nearer > reach * reach) continue;
    // The nearest kept end; an equal one found later does not replace it.
    if (found && nearer >= best) continue;
    found = true;
    best = nearer;
    bestEnd = second ? pl3::Point{t.x2, t.y2} : pl3::Point{t.x1, t.y1};
  }
  ReleaseTower(&tracks);
  if (!found) return 0;
  PutCursorAt(window, *w, bestEnd);
  return 1;
}

Tower* FindClosestTrack(std::int32_t x, std::int32_t y, std::uint8_t includeSelected) {
  return FindClosestOfCodes(x, y, includeSelected, {Type_Track});
}

void InsertTrackFromPad(HWND window, ButtonRecord* button, EntityRecord** pendingSlot) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !GotoPadCentre(window, button ? button : &w->Button)) {
    MessageBeep(0);
    return;
  }
  BeginTrackAtCursor(window, *w, pendingSlot);
}

void ContinueTrack(HWND window, ButtonRecord*, EntityRecord** pendingSlot) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !FindTrackEndAtCursor(window)) {
    MessageBeep(0);
    return;
  }
  BeginTrackAtCursor(window, *w, pendingSlot);
  w->EditMode = Mode_ContinueTrack;
  w->ViewFlags |= kViewTrackCommitted;
}

void JoinLines(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  LinePayload joined;
  Tower* picked = w ? TrackAtCursor(*w, &joined) : nullptr;
  if (!picked) return;
  const Entity* pickedEntity = TowerEntity(picked);
  const std::vector<std::uint8_t> payload(EntityPayload(pickedEntity),
                                          EntityPayload(pickedEntity) + pickedEntity->payloadSize);
  // The end nearer to the cursor is the one that grows.
  const bool second = Distance(joined.x2, joined.y2, w->Cursor.x, w->Cursor.y) <
                      Distance(joined.x1, joined.y1, w->Cursor.x, w->Cursor.y);
  const pl3::Point fixed = second ? pl3::Point{joined.x1, joined.y1} : pl3::Point{joined.x2, joined.y2};
  JoinContext context{second ? pl3::Point{joined.x2, joined.y2} : pl3::Point{joined.x1, joined.y1}, &joined,
                      nullptr};
  std::uint16_t savedTypes[kWalkTypeCount];
  std::memcpy(savedTypes, WalkTypeFlags, sizeof savedTypes);
  std::memset(WalkTypeFlags, 0, sizeof WalkTypeFlags);
  WalkTypeFlags[Type_Track] = kWalkTypeWanted;
  PerformTowerAction(&pl3::kIdentityTransform, w->design, &context, 0, WalkAction_CollectJoinable, 0);
  std::memcpy(WalkTypeFlags, savedTypes, sizeof savedTypes);
  if (!context.head) {
    ReleaseTower(&picked);
    MessageBeep(0);
    return;
  }
  // The joined segment reaches the far end of the met segment farthest away.
  pl3::Point far = context.joinPoint;
  double reach = Distance(far.x, far.y, fixed.x, fixed.y);
  for (TowerListNode* n = context.head; n; n = n->next) {
    LinePayload other;
    if (!ReadTrack(TowerEntity(n->tower), &other)) continue;
    const bool otherFirstAtJoin = other.x1 == context.joinPoint.x && other.y1 == context.joinPoint.y;
    const pl3::Point end = otherFirstAtJoin ? pl3::Point{other.x2, other.y2} : pl3::Point{other.x1, other.y1};
    const double d = Distance(end.x, end.y, fixed.x, fixed.y);
    if (d > reach) {
      reach = d;
      far = end;
    }
    RemoveWithUndo(*w, &n->tower, 1);
  }
  FreeTowerList(&context.head);
  if (second) {
    joined.x2 = far.x;
    joined.y2 = far.y;
  } else {
    joined.x1 = far.x;
    joined.y1 = far.y;
  }
  std::vector<std::uint8_t> copy = payload;
  std::memcpy(copy.data(), &joined, sizeof joined);
  RemoveWithUndo(*w, &picked, 1);
  ReleaseTower(&picked);
  StoreWithUndo(*w, Type_Track, static_cast<std::uint32_t>(copy.size()), copy.data());
  FinishUndoStep(window, *w, "Join lines");
}

void SplitLine(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  LinePayload track;
  Tower* picked = w ? TrackAtCursor(*w, &track) : nullptr;
  if (!picked) return;
  pl3::Point at = w->Cursor;
  SnapXY(&at.x, &at.y, 0);
  // A split at an end would leave a segment of no length.
  if ((at.x == track.x1 && at.y == track.y1) || (at.x == track.x2 && at.y == track.y2)) {
    ReleaseTower(&picked);
    MessageBeep(0);
    return;
  }
  const Entity* e = TowerEntity(picked);
  std::vector<std::uint8_t> first(EntityPayload(e), EntityPayload(e) + e->payloadSize);
  std::vector<std::uint8_t> second = first;
  LinePayload a = track, b = track;
  a.x2 = at.x;
  a.y2 = at.y;
  b.x1 = at.x;
  b.y1 = at.y;
  std::memcpy(first.data(), &a, sizeof a);
  std::memcpy(second.data(), &b, sizeof b);
  RemoveWithUndo(*w, &picked, 1);
  ReleaseTower(&picked);
  StoreWithUndo(*w, Type_Track, static_cast<std::uint32_t>(first.size()), first.data());
  StoreWithUndo(*w, Type_Track, static_cast<std::uint32_t>(second.size()), second.data());
  FinishUndoStep(window, *w, "Split line");
}

void TogglePlaneFlag() {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return;
  const std::uint32_t viewFlags = w->ViewFlags;
  std::uint16_t typeFlags[kWalkTypeCount];
  std::memcpy(typeFlags, WalkTypeFlags, sizeof typeFlags);
  // The one item nearest the cursor, of any type: only a plane is changed.
  const NearestHitSearch search = BeginNearestHitSearch(w->Cursor.x, w->Cursor.y);
  std::fill(std::begin(WalkTypeFlags), std::end(WalkTypeFlags), kWalkTypeWanted);
  pl3::Box box = search.box;
  PerformTowerAction(&pl3::kIdentityTransform, w->design, &box, 0, WalkAction_Draw, 0);
  Tower* nearest = EndNearestHitSearch(search);
  std::memcpy(WalkTypeFlags, typeFlags, sizeof typeFlags);
  w->ViewFlags = viewFlags;
  Entity* e = nearest ? TowerEntity(nearest) : nullptr;
  if (e && e->typeCode == Type_Plane) e->flags ^= kPlaneFilledFlag;
  ReleaseTower(&nearest);
}

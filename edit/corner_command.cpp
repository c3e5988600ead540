#include "edit/corner_command.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "edit/window_data.h"
#include "objects/corner_radius.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "objects/real_size.h"
#include "objects/type_codes.h"
#include "platform/menus.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

// Pick reach in view pixels around the cursor: a PCB view searches wider.
constexpr std::int32_t kPcbReachPixels = 40;
constexpr std::int32_t kOtherReachPixels = 20;
// A track meets an arc end when one of its ends lies this close on each axis.
constexpr std::int64_t kArcEndSlack = 10;

struct TrackHit {
  Tower* tower;
  LinePayload track;
};
struct ArcHit {
  Tower* tower;
  ArcPayload arc;
};

double ItemSize(std::uint16_t type, const pl3::GraphicLayoutHead& head, std::int32_t width) {
  if (head.sizeFlags & kSizeByIndex) return ReturnRealSize(type, head.sizeIndex);
  return width;
}

double SegmentDistance(const LinePayload& t, double x, double y) {
  const double ax = t.x1, ay = t.y1, dx = static_cast<double>(t.x2) - ax, dy = static_cast<double>(t.y2) - ay;
  const double length2 = dx * dx + dy * dy;
  double u = length2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / length2 : 0.0;
  u = u < 0 ? 0 : (u > 1 ? 1 : u);
  return std::hypot(ax + u * dx - x, ay + u * dy - y);
}

bool SamePoint(std::int32_t ax, std::int32_t ay, std::int32_t bx, std::int32_t by) { return ax == bx && ay == by; }

bool NearPoint(std::int32_t ax, std::int32_t ay, std::int32_t bx, std::int32_t by) {
  return std::llabs(std::int64_t{ax} - bx) <= kArcEndSlack && std::llabs(std::int64_t{ay} - by) <= kArcEndSlack;
}

// The track with its ends exchanged.
LinePayload Reversed(LinePayload t) {
  std::swap(t.x1, t.x2);
  std::swap(t.y1, t.y2);
  return t;
}

// The stored tracks and arcs that pass within the reach of the point.
void CollectHits(Tower* design, pl3::Point at, double reach, std::vector<TrackHit>* tracks,
                 std::vector<ArcHit>* arcs) {
  Tower* list = GetChildTower(design, Type_Track);
  while (const Entity* e = list ? FindNextEntity(list) : nullptr) {
    if (e->payloadSize < sizeof(LinePayload)) continue;
    LinePayload t;
    std::memcpy(&t, EntityPayload(e), sizeof t);
    if (SegmentDistance(t, at.x, at.y) - ItemSize(Type_Track, t.head, t.width) > reach) continue;
    tracks->push_back({DuplicateTower(list), t});
  }
  ReleaseTower(&list);
  list = GetChildTower(design, Type_Arc);
  while (const Entity* e = list ? FindNextEntity(list) : nullptr) {
    if (e->payloadSize < sizeof(ArcPayload)) continue;
    ArcPayload a;
    std::memcpy(&a, EntityPayload(e), sizeof a);
    const double fromCentre = std::hypot(static_cast<double>(at.x) - a.centreX, static_cast<double>(at.y) - a.centreY);
    if (std::fabs(fromCentre - static_cast<double>(static_cast<std::uint32_t>(a.radius))) -
            ItemSize(Type_Arc, a.head, a.width) > reach)
      continue;
    arcs->push_back({DuplicateTower(list), a});
  }
  ReleaseTower(&list);
}

// The one track of the layer with an end within the slack of the point,
// turned so that end comes first; null when none or more than one.
Tower* OnlyTrackMeeting(Tower* design, std::uint8_t layer, std::int32_t x, std::int32_t y, LinePayload* out) {
  Tower* found = nullptr;
  int count = 0;
  Tower* list = GetChildTower(design, Type_Track);
  while (const Entity* e = list ? FindNextEntity(list) : nullptr) {
    if (e->payloadSize < sizeof(LinePayload)) continue;
    LinePayload t;
    std::memcpy(&t, EntityPayload(e), sizeof t);
    if (t.head.layer != layer) continue;
    const bool first = NearPoint(t.x1, t.y1, x, y);
    if (!first && !NearPoint(t.x2, t.y2, x, y)) continue;
    if (++count > 1) break;
    found = DuplicateTower(list);
    *out = first ? t : Reversed(t);
  }
  ReleaseTower(&list);
  if (count == 1) return found;
  ReleaseTower(&found);
  return nullptr;
}

bool Parallel(const LinePayload& a, const LinePayload& b) {
  const double ax = static_cast<double>(a.x2) - a.x1, ay = static_cast<double>(a.y2) - a.y1;
  const double bx = static_cast<double>(b.x2) - b.x1, by = static_cast<double>(b.y2) - b.y1;
  return ax * by - ay * bx == 0.0;
}

// The second track carries on where the first one comes from.
bool StraightThrough(const LinePayload& a, const LinePayload& b) {
  const double ax = static_cast<double>(a.x2) - a.x1, ay = static_cast<double>(a.y2) - a.y1;
  const double bx = static_cast<double>(b.x2) - b.x1, by = static_cast<double>(b.y2) - b.y1;
  return Parallel(a, b) && ax * bx + ay * by < 0;
}

// A rounded corner around the arc, or false.
bool RoundedCorner(Tower* design, const ArcHit& hit, CornerRecord* out) {
  const ArcPayload& a = hit.arc;
  const std::int32_t sx = a.centreX + a.startX, sy = a.centreY + a.startY;
  const std::int32_t ex = a.centreX + a.endX, ey = a.centreY + a.endY;
  CornerRecord c{};
  c.firstTrack = OnlyTrackMeeting(design, a.head.layer, sx, sy, &c.first);
  c.secondTrack = c.firstTrack ? OnlyTrackMeeting(design, a.head.layer, ex, ey, &c.second) : nullptr;
  if (!c.secondTrack || TowerEntity(c.firstTrack) == TowerEntity(c.secondTrack) || Parallel(c.first, c.second)) {
    ReleaseTower(&c.firstTrack);
    ReleaseTower(&c.secondTrack);
    return false;
  }
  c.arc = DuplicateTower(hit.tower);
  *out = c;
  return true;
}

// A sharp corner where the two tracks share an end inside the pick box.
bool SharpCorner(const TrackHit& a, const TrackHit& b, pl3::Point at, double reach, CornerRecord* out) {
  if (a.track.head.layer != b.track.head.layer) return false;
  const LinePayload ends[2] = {a.track, Reversed(a.track)};
  const LinePayload others[2] = {b.track, Reversed(b.track)};
  for (const LinePayload& p : ends)
    for (const LinePayload& q : others) {
      if (!SamePoint(p.x1, p.y1, q.x1, q.y1)) continue;
      // Both tracks need length, and two tracks over the same ends are no corner.
      if (SamePoint(p.x1, p.y1, p.x2, p.y2) || SamePoint(q.x1, q.y1, q.x2, q.y2) ||
          SamePoint(p.x2, p.y2, q.x2, q.y2))
        return false;
      // A straight run through the shared end turns nowhere.
      if (StraightThrough(p, q)) return false;
      if (std::fabs(static_cast<double>(p.x1) - at.x) > reach || std::fabs(static_cast<double>(p.y1) - at.y) > reach)
        return false;
      CornerRecord c{};
      c.first = p;
      c.second = q;
      c.firstTrack = DuplicateTower(a.tower);
      c.secondTrack = DuplicateTower(b.tower);
      *out = c;
      return true;
    }
  return false;
}

std::vector<CornerRecord> CornerCandidates(const CurrentWindowData& w) {
  const double reach =
      static_cast<double>(w.editorKind == kEditorPcb ? kPcbReachPixels : kOtherReachPixels) * w.Zoom;
  std::vector<TrackHit> tracks;
  std::vector<ArcHit> arcs;
  CollectHits(w.design, w.Cursor, reach, &tracks, &arcs);
  std::vector<CornerRecord> found;
  for (const ArcHit& arc : arcs) {
    CornerRecord c;
    if (RoundedCorner(w.design, arc, &c)) found.push_back(c);
  }
  for (std::size_t i = 0; i < tracks.size(); ++i)
    for (std::size_t j = i + 1; j < tracks.size(); ++j) {
      CornerRecord c;
      if (SharpCorner(tracks[i], tracks[j], w.Cursor, reach, &c)) found.push_back(c);
    }
  for (TrackHit& t : tracks) ReleaseTower(&t.tower);
  for (ArcHit& a : arcs) ReleaseTower(&a.tower);
  return found;
}

void ReleaseCorner(CornerRecord& c) {
  ReleaseTower(&c.firstTrack);
  ReleaseTower(&c.secondTrack);
  ReleaseTower(&c.arc);
}

// The candidate the user picks from a pop-up at the mouse; -1 when none.
int ChooseCorner(HWND window, const CurrentWindowData& w, const std::vector<CornerRecord>& candidates) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const CornerRecord& c = candidates[i];
    char line[128];
    std::snprintf(line, sizeof line, c.arc ? "Unradius Corner %s" : "Radius Corner %s",
                  w.layerTable.layers[c.first.head.layer].name);
    AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), line);
  }
  POINT at{};
  GetCursorPos(&at);
  const BOOL chosen = TrackOwnerDrawnPopupMenu(menu, TPM_RETURNCMD, at.x, at.y, window);
  DestroyOwnerDrawnMenu(menu);
  if (chosen < 1 || static_cast<std::size_t>(chosen) > candidates.size()) return -1;
  return chosen - 1;
}

}  // namespace

CornerRecord* FindCornerAtCursor(HWND window, int* dismissed) {
  if (dismissed) *dismissed = 0;
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || w->Zoom == 0) return nullptr;
  std::vector<CornerRecord> candidates = CornerCandidates(*w);
  if (candidates.empty()) return nullptr;
  int chosen = 0;
  if (candidates.size() > 1) {
    chosen = ChooseCorner(window, *w, candidates);
    if (chosen < 0 && dismissed) *dismissed = 1;
  }
  CornerRecord* corner = nullptr;
  for (int i = 0; i < static_cast<int>(candidates.size()); ++i) {
    if (i == chosen)
      corner = new CornerRecord(candidates[i]);
    else
      ReleaseCorner(candidates[i]);
  }
  return corner;
}

void FreeCornerRecord(CornerRecord* corner) {
  if (!corner) return;
  ReleaseCorner(*corner);
  delete corner;
}

void DoCornerCommand(HWND window) {
  int dismissed = 0;
  CornerRecord* corner = FindCornerAtCursor(window, &dismissed);
  if (!corner) {
    if (!dismissed) MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  if (corner->arc)
    UnradiusCorner(window, corner);
  else
    RadiusCorner(window, corner, static_cast<std::uint32_t>(EditingLength10328));
  FreeCornerRecord(corner);
}

// The tracks that follow a moved selection: the free ends and vias of the
// primary records become pad points, and the tracks and vias of the design
// that meet a point on one of its layers join as secondary records.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "edit/selection.h"
#include "edit/window_data.h"
#include "objects/design_walks.h"
#include "geometry/transform.h"
#include "objects/graphic_records.h"
#include "objects/layer_table.h"
#include "objects/pad_stacks.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "store/tower.h"
#include "store/tower_queries.h"

namespace {

// The open list of a collection (RubberBandList points at it).
struct PadPointList {
  PadPoint* points = nullptr;
  std::uint32_t count = 0;
  std::uint32_t room = 0;
  SelectionInfo** selection = nullptr;
};

bool Before(const PadPoint& a, std::int32_t x, std::int32_t y) { return a.x < x || (a.x == x && a.y < y); }

// Ranges that overlap or lie next to each other (within one layer).
bool Touch(const PadPoint& a, const PadPoint& b) {
  return a.lowLayer <= b.highLayer + 1 && b.lowLayer <= a.highLayer + 1;
}

std::uint8_t CopperTop() { return ActiveWindowData ? ActiveWindowData->TopLayer : Layer_Top; }
std::uint8_t CopperBottom() { return ActiveWindowData ? ActiveWindowData->BottomLayer : Layer_Bottom; }

const PadPoint* PointAt(const PadPointList& list, std::int32_t x, std::int32_t y, std::uint8_t layer) {
  const PadPoint* p = std::lower_bound(list.points, list.points + list.count, PadPoint{x, y, 0, 0},
                                       [](const PadPoint& a, const PadPoint& b) { return Before(a, b.x, b.y); });
  for (; p != list.points + list.count && p->x == x && p->y == y; ++p)
    if (layer >= p->lowLayer && layer <= p->highLayer) return p;
  return nullptr;
}

// Adds the pad's point with the copper layers it reaches (the window's top
// and bottom copper layers for the surface codes); a pad without layers
// meets nothing.
void AddPadAt(PadPointList& list, const Tower* pad, pl3::Point at) {
  PadPoint point{at.x, at.y, 0, 0};
  if (GetPadStackLayerRange(pad, CopperTop(), CopperBottom(), &point.lowLayer, &point.highLayer))
    AddPadPoint(&list.points, &list.count, &list.room, point);
}

// Every pad of a placed symbol, at its place on the board.
void AddInstancePadPoints(PadPointList& list, const Tower* instance) {
  pl3::Transform placement = pl3::kIdentityTransform;
  if (const std::uint8_t* t = ChildPayloadOfAtLeast(instance, Type_Transform, sizeof placement))
    std::memcpy(&placement, t, sizeof placement);
  Tower* infos = GetChildTower(instance, Type_PadStackInstanceInfo);
  while (infos && FindNextEntity(infos)) {
    Tower* pad = FindDefinitionPadStackInstance(infos);
    pl3::Point centre{};
    if (pad && GetPadCentre(pad, &centre)) {
      pl3::TransformPoint(&placement, centre.x, centre.y);
      AddPadAt(list, pad, centre);
    }
    ReleaseTower(&pad);
  }
  ReleaseTower(&infos);
}

void AddRecordPoints(PadPointList& list, const SelectionInfo* s) {
  const Entity* e = TowerEntity(s->workingCopy);
  if (!e) return;
  const std::uint8_t* p = EntityPayload(e);
  if (IsTrackLikeType(e->typeCode)) {
    const auto* l = reinterpret_cast<const LinePayload*>(p);
    const std::uint8_t layer = l->head.layer;
    // The ends that move with the record are the ones others follow.
    if (GrabMovesEnd(s->grabbedPart, kGrabFirstEnd))
      AddPadPoint(&list.points, &list.count, &list.room, {l->x1, l->y1, layer, layer});
    if (GrabMovesEnd(s->grabbedPart, kGrabSecondEnd))
      AddPadPoint(&list.points, &list.count, &list.room, {l->x2, l->y2, layer, layer});
  } else if (e->typeCode == Type_Hole) {
    const auto* h = reinterpret_cast<const HolePayload*>(p);
    // A via joins the copper layers from top to bottom.
    if (h->hole.flags & kHoleIsVia)
      AddPadPoint(&list.points, &list.count, &list.room,
                  {h->hole.centreX, h->hole.centreY, CopperTop(), CopperBottom()});
  } else if (e->typeCode == Type_SymbolInstance) {
    AddInstancePadPoints(list, s->workingCopy);
  } else if (e->typeCode == Type_PadStackInstanceHier) {
    pl3::Box box{};
    if (!GetPadStackInstanceBox(s->workingCopy, &box)) return;
    AddPadAt(list, s->workingCopy,
             {static_cast<std::int32_t>((static_cast<std::int64_t>(box.xmin) + box.xmax) / 2),
              static_cast<std::int32_t>((static_cast<std::int64_t>(box.ymin) + box.ymax) / 2)});
  }
}

void FreePadPointList(void* list) {
  auto* l = static_cast<PadPointList*>(list);
  std::free(l->points);
  l->points = nullptr;
  l->count = l->room = 0;
}

}  // namespace

void AddPadPoint(PadPoint** list, std::uint32_t* count, std::uint32_t* room, PadPoint point) {
  PadPoint* begin = *list;
  PadPoint* at = std::lower_bound(begin, begin + *count, point,
                                  [](const PadPoint& a, const PadPoint& b) { return Before(a, b.x, b.y); });
  for (PadPoint* p = at; p != begin + *count && p->x == point.x && p->y == point.y; ++p) {
    if (!Touch(*p, point)) continue;
    p->lowLayer = std::min(p->lowLayer, point.lowLayer);
    p->highLayer = std::max(p->highLayer, point.highLayer);
    // The widened range may now reach the entries after it at the same place.
    PadPoint* q = p + 1;
    while (q != begin + *count && q->x == p->x && q->y == p->y && Touch(*p, *q)) {
      p->lowLayer = std::min(p->lowLayer, q->lowLayer);
      p->highLayer = std::max(p->highLayer, q->highLayer);
      std::memmove(q, q + 1, sizeof(PadPoint) * static_cast<std::size_t>(begin + *count - (q + 1)));
      --*count;
    }
    return;
  }
  // A new entry, in layer order among the entries at the same place.
  while (at != begin + *count && at->x == point.x && at->y == point.y && at->lowLayer < point.lowLayer) ++at;
  const std::size_t index = static_cast<std::size_t>(at - begin);
  if (*count == *room) {
    *room = *room ? *room * 2 : 16;
    *list = static_cast<PadPoint*>(std::realloc(*list, sizeof(PadPoint) * *room));
  }
  PadPoint* base = *list;
  std::memmove(base + index + 1, base + index, sizeof(PadPoint) * (*count - index));
  base[index] = point;
  ++*count;
}

std::int32_t CollectRubberbandEntity(const pl3::Transform*, Tower* item, void*, std::uint8_t, std::uint8_t,
                                     std::int32_t*) {
  auto* list = static_cast<PadPointList*>(RubberBandList);
  const Entity* e = TowerEntity(item);
  if (!list || !list->selection || !e || (e->flags & kEntitySelected)) return 0;
  const std::uint8_t* p = EntityPayload(e);
  if (IsTrackLikeType(e->typeCode) && e->payloadSize >= sizeof(LinePayload)) {
    const auto* l = reinterpret_cast<const LinePayload*>(p);
    const bool first = PointAt(*list, l->x1, l->y1, l->head.layer) != nullptr;
    const bool second = PointAt(*list, l->x2, l->y2, l->head.layer) != nullptr;
    if (!first && !second) return 0;
    const std::uint16_t part = first && second ? kGrabWhole : first ? kGrabFirstEnd : kGrabSecondEnd;
    const pl3::Point at = second && !first ? pl3::Point{l->x2, l->y2} : pl3::Point{l->x1, l->y1};
    return AppendSecondarySelection(item, list->selection, part, at.x, at.y) ? 1 : 0;
  }
  if (e->typeCode == Type_Hole && e->payloadSize >= sizeof(pl3::HoleLayout)) {
    const auto* h = reinterpret_cast<const HolePayload*>(p);
    if (!(h->hole.flags & kHoleIsVia) || !PointAt(*list, h->hole.centreX, h->hole.centreY, h->hole.head.layer)) return 0;
    return AppendSecondarySelection(item, list->selection, kGrabWhole, h->hole.centreX, h->hole.centreY) ? 1 : 0;
  }
  return 0;
}

void CollectAttachedTracks(SelectionInfo** selection) {
  PadPointList list;
  list.selection = selection;
  for (const SelectionInfo* s = *selection; s; s = s->next)
    if (s->flags & kSelectionPrimary) AddRecordPoints(list, s);
  if (!list.count) return;
  if (!WalkHandlers.collectRubberbandEntity) WalkHandlers.collectRubberbandEntity = &CollectRubberbandEntity;
  RubberBandList = &list;
  FreeRubberBandListHandler = &FreePadPointList;
  CollectAttachedItems();
  FreePadPointList(&list);
}

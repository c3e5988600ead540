#include "draw/display_paint.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "draw/display_builders.h"
#include "draw/display_list_seams.h"
#include "draw/display_painters.h"
#include "draw/entity_drawing.h"
#include "draw/layer_drawing.h"
#include "draw/raster_callbacks.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "objects/design_helpers.h"
#include "objects/tower_validity.h"
#include "objects/editor_seams.h"
#include "objects/item_helpers.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"
#include "store/tower_queries.h"

std::uint8_t RepaintPlanes = 0;
std::uint8_t RepaintDatums = 0;
std::uint8_t RepaintMarkers = 0;
std::uint8_t PlaneCutStage = 0;
DisplayItem* PaintedItem = nullptr;
DisplayNode* PaintedListHead = nullptr;
DisplayNode* PaintedNode = nullptr;

namespace {

using pl3::g_raster;

[[maybe_unused]] const bool g_registered = pl3::RegisterGlobalReset([] {
  RepaintPlanes = RepaintDatums = RepaintMarkers = 0;
  PlaneCutStage = 0;
  PaintedItem = nullptr;
  PaintedListHead = nullptr;
  PaintedNode = nullptr;
});

constexpr std::uint32_t kStateDisplayListBuild = 0x80;   // StateFlags bit 7
constexpr std::uint32_t kStateNoPadInstance = 0x200;     // StateFlags bit 9
constexpr std::uint32_t kStateNetListHighlight = 0x20000;
constexpr std::uint32_t kDrillValue = 0xFF000000u;
constexpr std::uint32_t kPreRouteFirst = 0x810000;
constexpr std::uint32_t kPreRouteSecond = 0x830000;
constexpr std::uint32_t kPinLabelZoomUnit = 1000;
constexpr std::uint32_t kMaxPinLabelZoomIndex = 8;
constexpr std::uint32_t kNetShownFlag = 0x10;

bool IsPcbWindow() { return ActiveWindowData && ActiveWindowData->editorKind == kEditorPcb; }
CurrentWindowData& Window() { return *ActiveWindowData; }

bool IsViaDrill(const DisplayItem* item) { return (item->flags & kItemViaDrill) != 0; }

bool EntityHighlighted(const DisplayItem* item) {
  const Entity* e = TowerEntity(item->entity);
  return e && (e->flags & kEntityHighlighted);
}

// What a paint changes, put back when it ends; the plane's context goes too.
struct RasterSave {
  RasterStateSave state;
  ~RasterSave() { ReleasePlaneDC(); }
};

// Both layer group sets of one paint, freed when it ends.
struct PaintGroups {
  PaintLayerGroups inner;
  PaintLayerGroups outline;
  explicit PaintGroups(int allLayers)
      : inner(BuildPaintLayerGroups(allLayers)), outline(BuildOutlineLayerGroups(allLayers)) {}
  ~PaintGroups() {
    FreePaintLayerGroups(inner);
    FreePaintLayerGroups(outline);
  }
  PaintGroups(const PaintGroups&) = delete;
  PaintGroups& operator=(const PaintGroups&) = delete;
};

template <typename Visit>
void ForEachItem(const DisplayList* list, DisplayListIndex index, Visit visit) {
  for (DisplayNode* n = list->lists[index]; n; n = n->next)
    if (n->item) visit(n->item);
}

bool DesignHasPlane(const Tower* design) {
  Tower* planes = design ? OpenChildTower(design, Type_Plane) : nullptr;
  const bool has = planes != nullptr;
  ReleaseTower(&planes);
  return has;
}

// Step 3 of the full paint: the cuts of every copper item out of the planes.
void ClearItem(const DisplayItem* item, const PaintGroups& groups, bool outlineClearance) {
  switch (item->kind) {
    case 1: case 37: ClearTrackItem(item, groups.inner); break;
    case 2: ClearArcItem(item, groups.inner); break;
    case 3: ClearCircleItem(item, groups.inner); break;
    case 4: ClearPolygonItem(item, groups.inner); break;
    case 6: ClearRectangleItem(item, groups.inner); break;
    case 7: if (!IsViaDrill(item)) ClearHoleItem(item); break;
    case 9: PaintPolygonItem(item); break;
    case 17: ClearViaItem(item); break;
    case 35: PaintTrackItem(item); break;
    case 38: if (outlineClearance) ClearOutlineArcItem(item, groups.outline); break;
    case 39: if (outlineClearance) ClearOutlineLineItem(item, groups.outline); break;
    case 40: ClearGlyphItem(item); break;
    case 46: case 47: ClearSlotItem(item); break;
    default: break;
  }
}

// A star earth track: once in the kernel's second track mode, once as an outline.
void PaintStarEarthTrack(const DisplayItem* item) {
  g_raster.trackHighlightMode = 1;
  PaintTrackItem(item);
  g_raster.trackHighlightMode = 0;
  g_raster.trackOutlineMode = 1;
  PaintTrackItem(item);
  g_raster.trackOutlineMode = 0;
}

// Step 4 of the full paint.
void PaintCopperItem(const DisplayItem* item) {
  const PcbPaintOptions& options = Window().PaintOptions;
  switch (item->kind) {
    case 1: case 10: PaintTrackItem(item); break;
    case 2: PaintArcItem(item); break;
    case 3: PaintCircleItem(item); break;
    case 4: PaintPolygonItem(item); break;
    case 6: PaintRectangleItem(item); break;
    case 17: PaintViaItem(item); break;
    case 37: PaintStarEarthTrack(item); break;
    case 38: PaintOutlineArcItem(item); break;
    case 39: PaintOutlineLineItem(item); break;
    case 40: PaintGlyphItem(item); break;
    case 41: case 42: case 43: case 49: PaintKeepoutItem(item); break;
    case 44: if (options.PlacementOutlines) PaintComponentOutline(item); break;
    case 45: if (options.BodyOutlines) PaintComponentOutline(item); break;
    default: break;
  }
}

// Planes of the planes list within the box, filled or outlined; returns how many.
int PaintPlanes(const pl3::Box* box, const DisplayList* list) {
  int painted = 0;
  const bool outlines = (Window().StateFlags & kStatePlaneOutlines) != 0;
  ForEachItem(list, DisplayList_Planes, [&](const DisplayItem* item) {
    if (item->kind != Type_Plane || !ItemMeetsBox(box, item->box) || !IsItemVisible(item, 0)) return;
    if (outlines) {
      PaintPolygonOutline(item);
    } else {
      PaintPolygonItem(item);
      ++painted;
    }
  });
  return painted;
}

void ClearPlaneItems(const pl3::Box* box, const DisplayList* list, const PaintGroups& groups) {
  const bool outlineClearance =
      ReadDesignOption(Window().design, kBoardOutlineClearanceOption) != 0;
  g_raster.rasterOp = pl3::kRasterClearBits;
  for (DisplayListIndex index : {DisplayList_Cutouts, DisplayList_General, DisplayList_Holes, DisplayList_Slots}) {
    ForEachItem(list, index, [&](const DisplayItem* item) {
      if (ItemMeetsBox(box, item->clearanceBox) && IsItemVisible(item, 1)) ClearItem(item, groups, outlineClearance);
    });
  }
  g_raster.rasterOp = pl3::kRasterOr;
}

void PaintDrills(const pl3::Box* box, const DisplayList* list, std::uint32_t drillMask) {
  ForEachItem(list, DisplayList_Holes, [&](const DisplayItem* item) {
    if ((item->kind == 7 || item->kind == 17) && !IsViaDrill(item) && ItemMeetsBox(box, item->box)) DrillHoleItem(item);
  });
  ForEachItem(list, DisplayList_Slots, [&](const DisplayItem* item) {
    if (!ItemMeetsBox(box, item->box)) return;
    const std::uint8_t op = g_raster.rasterOp;
    const std::uint32_t fill = g_raster.fillValue;
    g_raster.rasterOp = pl3::kRasterClearBits;
    g_raster.fillValue = drillMask;
    pl3::TrackLayout copy = ItemAs<LineItem>(item)->record;
    pl3::TransformAndDrawSlot(&copy, &pl3::kIdentityTransform);
    g_raster.rasterOp = op;
    g_raster.fillValue = fill;
  });
}

void PaintDrillMarks(const pl3::Box* box, const DisplayList* list, std::uint32_t copperMask, bool drillMarks) {
  ForEachItem(list, DisplayList_Holes, [&](const DisplayItem* item) {
    if (!ItemMeetsBox(box, item->box) || IsViaDrill(item)) return;
    if (item->kind == 7) {
      if (item->flags & kItemNonPlated) {
        PaintHoleCross(item);
        PaintHoleRing(item);
      } else if (drillMarks) {
        PaintHoleCross(item);
      }
    } else if (item->kind == 17 && drillMarks) {
      PaintHoleCross(item);
    }
  });
  ForEachItem(list, DisplayList_Slots, [&](const DisplayItem* item) {
    if (!ItemMeetsBox(box, item->box)) return;
    PaintSlotOutline(item, copperMask);
    if (drillMarks) PaintSlotDrillMarks(item);
  });
}

void PaintPreRoutes(const pl3::Box* box, const DisplayList* list) {
  ForEachItem(list, DisplayList_PreRoutes, [&](const DisplayItem* item) {
    if (!ItemMeetsBox(box, item->box)) return;
    const PreRouteItem& p = *ItemAs<PreRouteItem>(item);
    g_raster.fillValue = kPreRouteFirst;
    StartDashedLine(kPreRouteFirst, kPreRouteSecond);
    pl3::DrawPatternedWorldLine(p.from.x, p.from.y, p.to.x, p.to.y);
  });
}

// Datums and markers carry polygons and glyphs of their texts besides their own kinds.
void PaintDatums(const pl3::Box* box, const DisplayList* list) {
  ForEachItem(list, DisplayList_Datums, [&](const DisplayItem* item) {
    if (!ItemMeetsBox(box, item->box)) return;
    if (item->kind == 4) PaintPolygonItem(item);
    if (item->kind == Type_Datum) PaintDatumItem(item);
    if (item->kind == kGlyphItemKind) PaintGlyphItem(item);
  });
}

void PaintMarkers(const pl3::Box* box, const DisplayList* list) {
  ForEachItem(list, DisplayList_Markers, [&](const DisplayItem* item) {
    if (!ItemMeetsBox(box, item->box)) return;
    if (item->kind == 1) {
      const std::uint32_t fill = g_raster.fillValue;
      g_raster.fillValue = ItemAs<LineItem>(item)->currentColour;
      pl3::TrackLayout copy = ItemAs<LineItem>(item)->record;
      pl3::TransformAndDrawLine(&copy, &pl3::kIdentityTransform);
      g_raster.fillValue = fill;
    }
    if (item->kind == 4) PaintPolygonItem(item);
    if (item->kind == kGlyphItemKind) PaintGlyphItem(item);
  });
}

bool PinLabelsShown(const CurrentWindowData& w) {
  const PcbPaintOptions& o = w.PaintOptions;
  if (!(o.PinLabelOptions & 0x3)) return false;
  const std::uint64_t limit = std::uint64_t{kPinLabelZoomUnit} << std::min(o.PinLabelZoomIndex, kMaxPinLabelZoomIndex);
  return w.Zoom <= limit;
}

}  // namespace

// ---- Tests ----------------------------------------------------------------------------------

bool ItemMeetsBox(const pl3::Box* box, const pl3::Box& item) {
  if (!box) return true;
  const auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
  return !(u(box->ymax) < u(item.ymin) || u(box->ymin) > u(item.ymax) || u(box->xmin) > u(item.xmax) ||
           u(box->xmax) < u(item.xmin));
}

int BoxesOverlap(const pl3::Box* a, const pl3::Box* b) {
  if (!a || !b) return 1;
  return ItemMeetsBox(a, *b) ? 1 : 0;
}

int IsItemVisible(const DisplayItem* item, int clearancePass) {
  if (item->flags & (kItemAllInnerLayers | kItemDatum)) return 1;
  if (item->kind == 7 || item->kind == 17 || item->kind == 38 || item->kind == 39) return 1;
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  if (w->SingleLayer >= 0) return item->layer == w->SingleLayer ? 1 : 0;
  if (!(w->layerTable.layers[item->layer].flags & kLayerVisible)) return item->layer >= 255 ? 1 : 0;
  if (clearancePass && (item->layer == Layer_TopSilkscreen || item->layer == Layer_BottomSilkscreen)) return 0;
  return 1;
}

// ---- The full paint --------------------------------------------------------------------------------

void RenderDisplayList(const pl3::Box* box, DisplayList* list, int partial) {
  if (!IsPcbWindow() || !list) return;
  CurrentWindowData& w = Window();
  const RasterSave save;
  g_raster.rasterOp = pl3::kRasterOr;
  const std::uint32_t copperMask = GetVisibleLayerMask(1, 32, 0);
  std::uint32_t drillMask = GetVisibleLayerMask(1, 32, 1);
  AddLayerToMask(drillMask, Layer_TopSilkscreen);
  AddLayerToMask(drillMask, Layer_BottomSilkscreen);
  const PaintGroups groups(0);
  const bool onlyHighlighted = w.ViewOnlyHighlighted != 0;
  const PcbPaintOptions& options = w.PaintOptions;

  // 2, 3: planes, and the copper cut out of them.
  if ((!partial || RepaintPlanes) && !onlyHighlighted && DesignHasPlane(w.design)) {
    if (PaintPlanes(box, list) > 0) ClearPlaneItems(box, list, groups);
  }
  // 4: the copper and graphics.
  for (DisplayListIndex index : {DisplayList_Holes, DisplayList_General}) {
    ForEachItem(list, index, [&](const DisplayItem* item) {
      if (!ItemMeetsBox(box, item->box) || !IsItemVisible(item, 0)) return;
      if (onlyHighlighted && !EntityHighlighted(item)) return;
      PaintCopperItem(item);
    });
  }
  // 5: segment ends.
  if (options.SegmentEnds && !partial) {
    ForEachItem(list, DisplayList_General, [&](const DisplayItem* item) {
      if (item->kind == 1 && ItemMeetsBox(box, item->box) && IsItemVisible(item, 0) && !(item->flags & kItemInSymbol)) {
        PaintTrackEndMarks(item);
      }
    });
  }
  // 6: cutout outlines and drills.
  if (!partial) {
    if (!onlyHighlighted && options.CutoutOutlines) {
      ForEachItem(list, DisplayList_Cutouts, [&](const DisplayItem* item) {
        if (!ItemMeetsBox(box, item->box)) return;
        if (item->kind == 9) PaintCutoutCorners(item);
        if (item->kind == 35) PaintLinkedCutOutline(item);
      });
    }
    PaintDrills(box, list, drillMask);
  }
  // 7: drill marks.
  if (!onlyHighlighted && (!partial || options.DrillMarks)) PaintDrillMarks(box, list, copperMask, options.DrillMarks != 0);
  // 8: datums.
  if ((!partial || RepaintDatums) && !onlyHighlighted) PaintDatums(box, list);
  // 9: the nets flagged for display.
  if (!options.HideFlaggedNets) DrawFlaggedNets(w.design, box);
  // 10: pre-routes.
  PaintPreRoutes(box, list);
  // 11: pin labels.
  if (!partial && !onlyHighlighted && PinLabelsShown(w)) PaintPinLabels(box, list);
  // 12: markers.
  if ((!partial || RepaintMarkers) && !onlyHighlighted) PaintMarkers(box, list);
}

// ---- The plain paint ---------------------------------------------------------------------------------

namespace {

void PaintItem(const DisplayItem* item, std::uint32_t copperMask) {
  const bool outlines = (Window().StateFlags & kStatePlaneOutlines) != 0;
  switch (item->kind) {
    case 1: case 10: case 35: case 37: case 39: PaintTrackItem(item); break;
    case 2: case 38: PaintArcItem(item); break;
    case 3: PaintCircleItem(item); break;
    case 4: PaintPolygonItem(item); break;
    case 6: PaintRectangleItem(item); break;
    case 7:
      if (!IsViaDrill(item)) {
        PaintHoleRing(item);
        PaintHoleCross(item);
      }
      break;
    case 8: case 9: case 41: case 42: case 43: case 44: case 45: case 49:
      if (outlines) {
        PaintPolygonOutline(item);
      } else {
        PaintPolygonItem(item);
      }
      break;
    case 17: PaintViaItem(item); break;
    case 34: PaintDatumItem(item); break;
    case 40: PaintGlyphItem(item); break;
    case 46: case 47: PaintSlotItem(item, copperMask); break;
    default: break;
  }
}

// The Tower a hit on the item reports.
Tower* ReportedEntity(const DisplayItem* item, Tower** cut) {
  *cut = nullptr;
  if (item->owner) return item->owner;
  const bool padItem = item->entity && LastLevel(item->entity).typeCode == Type_PadStackInstanceInfo;
  if (padItem && !(Window().StateFlags & (kStateDisplayListBuild | kStateNoPadInstance))) {
    *cut = GetAncestorTower(item->entity, Type_SymbolInstance);
    if (LastLevel(*cut).typeCode == Type_SymbolInstance) return *cut;
    ReleaseTower(cut);
  }
  return item->entity;
}

}  // namespace

void PaintDisplayList(const pl3::Box* box, DisplayList* list) {
  if (!IsPcbWindow() || !list) return;
  CurrentWindowData& w = Window();
  const std::uint32_t copperMask = GetVisibleLayerMask(1, 32, 0);
  const bool firstThreeOnly = (w.StateFlags & (kStateDisplayListBuild | kStateNoPadInstance)) != 0;
  const DisplayListIndex order[] = {DisplayList_Holes,   DisplayList_Slots,  DisplayList_General, DisplayList_Planes,
                                    DisplayList_Cutouts, DisplayList_Datums, DisplayList_Markers};
  const pl3::TowerRef callers = g_raster.currentEntity;
  bool stale = false;
  TowerValidityCache valid;
  for (int k = 0; k < (firstThreeOnly ? 3 : 7); ++k) {
    DisplayNode* head = list->lists[order[k]];
    for (DisplayNode* node = head; node; node = node->next) {
      DisplayItem* item = node->item;
      if (!item) continue;
      if (w.ViewOnlyHighlighted && !EntityHighlighted(item)) continue;
      if (!ItemMeetsBox(box, item->box) || !IsItemVisible(item, 0)) continue;
      if (!item->entity || !IsTowerValidIn(item->entity, valid)) {
        stale = true;
        continue;
      }
      PaintedItem = item;
      PaintedListHead = head;
      PaintedNode = node;
      Tower* cut = nullptr;
      g_raster.currentEntity = ReportedEntity(item, &cut);
      g_raster.pickPending = 1;
      pl3::SetAreaPickContext(item, head, node);
      PaintItem(item, copperMask);
      ReleaseTower(&cut);
    }
  }
  g_raster.currentEntity = callers;
  PaintedItem = nullptr;
  PaintedListHead = nullptr;
  PaintedNode = nullptr;
  pl3::SetAreaPickContext(nullptr, nullptr, nullptr);
  if (!stale) return;
  // Rebuilt once the walk is over; what a pick listed no longer names an item.
  pl3::ForgetPickedItems();
  if (w.Display == list || !w.Display) w.Display = RebuildDisplayList(w.design, static_cast<DisplayList*>(w.Display));
  MessageBox(nullptr,
             "Congratulations, you have found a bug in the drawing of this board.\n"
             "Please report the last few operations you performed.",
             "Bug!", MB_OK | MB_ICONEXCLAMATION);
}

// ---- The board image and plane cutting -------------------------------------------------------------------

void RenderBoardImage(const pl3::Box* box, DisplayList* list) {
  if (!IsPcbWindow() || !list) return;
  CurrentWindowData& w = Window();
  const RasterSave save;
  g_raster.rasterOp = pl3::kRasterOr;
  const PaintGroups groups(0);
  if (DesignHasPlane(w.design) && PaintPlanes(box, list) > 0) ClearPlaneItems(box, list, groups);
  auto drawn = [&](const DisplayItem* item) {
    if (item->flags & (kItemAllInnerLayers | kItemDatum)) return true;
    if (item->kind == 7 || item->kind == 17 || item->kind == 38 || item->kind == 39) return true;
    if (item->layer == 255) return true;
    if (w.SingleLayer >= 0) return item->layer == w.SingleLayer;
    return (w.layerTable.layers[item->layer].flags & kLayerVisible) != 0;
  };
  for (DisplayListIndex index : {DisplayList_Holes, DisplayList_General}) {
    ForEachItem(list, index, [&](const DisplayItem* item) {
      // The copper and graphics as the full paint draws them, without
      // board outline lines, keepouts and component outlines.
      if (ItemMeetsBox(box, item->box) && drawn(item) && item->kind <= kGlyphItemKind && item->kind != 39) {
        PaintCopperItem(item);
      }
    });
  }
  for (DisplayListIndex index : {DisplayList_Holes, DisplayList_Slots}) {
    ForEachItem(list, index, [&](const DisplayItem* item) {
      if (!ItemMeetsBox(box, item->box) || IsViaDrill(item)) return;
      const std::uint8_t op = g_raster.rasterOp;
      const std::uint32_t fill = g_raster.fillValue;
      g_raster.rasterOp = pl3::kRasterOr;
      g_raster.fillValue = kDrillValue;
      if (item->kind == 7 || item->kind == 17) {
        pl3::HoleLayout copy = ItemAs<HoleItem>(item)->record.hole;
        pl3::FillHoleOuter(&copy, &pl3::kIdentityTransform);
      } else if (item->kind == 46 || item->kind == 47) {
        pl3::TrackLayout copy = ItemAs<LineItem>(item)->record;
        pl3::TransformAndDrawSlot(&copy, &pl3::kIdentityTransform);
      }
      g_raster.rasterOp = op;
      g_raster.fillValue = fill;
    });
  }
}

void RenderPlaneClearances(const pl3::Box* box, DisplayList* list, std::uint32_t netId) {
  if (!IsPcbWindow() || !list) return;
  const RasterSave save;
  g_raster.rasterOp = pl3::kRasterOr;
  PlaneCutStage = 1;
  PaintLayerGroups groups = BuildPaintLayerGroups(1);
  auto inItsLayer = [](const DisplayItem* item, void (*paint)(const DisplayItem*)) {
    RasterFirstLayer = RasterLastLayer = item->layer;
    paint(item);
  };
  ForEachItem(list, DisplayList_Planes, [&](const DisplayItem* item) {
    if (item->kind != Type_Plane || !ItemMeetsBox(box, item->box) || !IsItemVisible(item, 0)) return;
    if (PolygonItemRecord(ItemAs<PolygonItem>(item))->head.netIds[0] == netId) inItsLayer(item, &PaintPolygonItem);
  });
  PlaneCutStage = 2;
  g_raster.rasterOp = pl3::kRasterClearBits;
  for (DisplayListIndex index : {DisplayList_Cutouts, DisplayList_General, DisplayList_Holes}) {
    ForEachItem(list, index, [&](const DisplayItem* item) {
      if (!ItemMeetsBox(box, item->clearanceBox) || !IsItemVisible(item, 1)) return;
      switch (item->kind) {
        case 1: ClearTrackByLayer(item, groups); break;
        case 2: ClearArcByLayer(item, groups); break;
        case 3: ClearCircleByLayer(item, groups); break;
        case 4: ClearPolygonByLayer(item, groups); break;
        case 6: ClearRectangleByLayer(item, groups); break;
        case 7: case 17: if (!IsViaDrill(item)) ClearHoleByLayer(item); break;
        case 9: inItsLayer(item, &PaintPolygonItem); break;
        case 35: inItsLayer(item, &PaintTrackItem); break;
        case 40: inItsLayer(item, &ClearGlyphItem); break;
        default: break;
      }
    });
  }
  FreePaintLayerGroups(groups);
  PlaneCutStage = 0;
}

// ---- Rebuilding and recolouring -----------------------------------------------------------------------------

namespace {

bool ClearsHighlightOf(std::uint16_t code) {
  switch (code) {
    case 1: case 2: case 3: case 4: case 6: case 7: case 10: case 19: case 37: case 38: case 39: case 46: case 47:
      return true;
    default:
      return false;
  }
}

void ClearHighlightFlags(const Tower* design) {
  Tower* children = GetAllChildrenTower(design);
  while (Entity* e = children ? FindNextEntity(children) : nullptr) {
    if (ClearsHighlightOf(e->typeCode)) {
      e->flags &= static_cast<std::uint16_t>(~kEntityHighlighted);
    } else if (e->typeCode == Type_SymbolInstance) {
      Tower* pads = GetChildTower(children, Type_PadStackInstanceInfo);
      while (Entity* pad = pads ? FindNextEntity(pads) : nullptr) {
        pad->flags &= static_cast<std::uint16_t>(~kEntityHighlighted);
      }
      ReleaseTower(&pads);
    } else {
      SkipToNextType(children);
    }
  }
  ReleaseTower(&children);
}

}  // namespace

DisplayList* RebuildDisplayList(const Tower* design, DisplayList* old) {
  if (!IsPcbWindow()) return nullptr;
  CurrentWindowData& w = Window();
  LoadPadResistOptions(design);
  w.CursorHandle = LoadCursor(nullptr, IDC_WAIT);
  SetCursor(static_cast<HCURSOR>(w.CursorHandle));
  if (design) ClearHighlightFlags(design);
  w.StateFlags &= ~kStateSingleColour;
  FreeDisplayList(old);
  DisplayList* list = NewDisplayList();

  DisplayList* const savedList = CurrentDisplayList;
  const Tower* const savedEntity = CurrentDisplayEntity;
  const std::uint32_t savedView = w.ViewFlags, savedState = w.StateFlags;
  std::uint16_t savedTypes[kWalkTypeCount];
  std::memcpy(savedTypes, WalkTypeFlags, sizeof savedTypes);
  CurrentDisplayList = list;
  CurrentDisplayEntity = nullptr;
  w.ViewFlags |= kViewRegionRender;
  w.StateFlags |= kStateDisplayListBuild;
  FillNetFlagTable(1);
  WalkTypeFlags[Type_Hole] = 7;
  if (design && list) {
    const pl3::Transform placement = w.BaseTransform;
    PerformTowerAction(&placement, design, nullptr, 0, 37, 0);
  }
  std::memcpy(WalkTypeFlags, savedTypes, sizeof savedTypes);
  SetEditCursor(0);
  CurrentDisplayList = savedList;
  CurrentDisplayEntity = savedEntity;
  w.ViewFlags = savedView;
  w.StateFlags = savedState;
  return list;
}

std::uint32_t GetInnerLayersColour() {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  auto value = static_cast<std::uint32_t>(w->BackgroundIndex);
  for (std::uint8_t layer = 2; layer <= 31; ++layer) {
    const bool shown = w->SingleLayer >= 0 ? w->SingleLayer == layer
                                           : (w->layerTable.layers[layer].flags & kLayerVisible) != 0;
    if (shown) value |= w->layerTable.layers[layer].planeBit;
  }
  return value;
}

namespace {

void RecolourHole(HoleItem& h) {
  std::uint8_t low = 0, high = 0;
  GetHoleLayerSpan(h.record.hole, &low, &high);
  const bool via = (h.record.hole.flags & kHoleVia) != 0;
  h.savedColourA = h.currentColourA = via ? GetViaDrillColour(h.record, 0) : GetLayerSpanColour(low, high, 0);
  h.savedColourB = h.currentColourB = via ? GetViaDrillColour(h.record, 1) : GetLayerSpanColour(low, high, 1);
  if (h.head.flags & kItemViaDrill) return;
  std::free(h.groups);
  h.groups = BuildItemLayerGroups(low, high, &h.groupCount);
}

void RecolourItems(DisplayNode* head) {
  const CurrentWindowData& w = Window();
  for (DisplayNode* n = head; n; n = n->next) {
    DisplayItem* item = n->item;
    if (!item || (item->flags & kItemFixedColour) || item->kind == 0 || item->kind > 37) continue;
    if (item->kind == 7 || item->kind == 17) {
      RecolourHole(*ItemAs<HoleItem>(item));
      continue;
    }
    const std::uint32_t colour =
        (item->flags & kItemAllInnerLayers) ? GetInnerLayersColour() : w.layerTable.layers[item->layer].planeBit;
    std::uint32_t* saved = nullptr;
    std::uint32_t* current = nullptr;
    if (ItemColourPair(item, &saved, &current)) *saved = *current = colour;
  }
}

bool HighlightsKind(std::uint16_t kind) {
  switch (kind) {
    case 1: case 10: case 35: case 37: case 2: case 19: case 3: case 4: case 8: case 9: case 6: case 7: case 17:
      return true;
    default:
      return false;
  }
}

template <typename Match>
void HighlightMatching(DisplayList* list, Match match) {
  if (!list) return;
  for (DisplayListIndex index : {DisplayList_Holes, DisplayList_General}) {
    for (DisplayNode* n = list->lists[index]; n; n = n->next) {
      if (n->item && match(n->item)) HighlightDisplayItem(n->item);
    }
  }
}

}  // namespace

void RecolourDisplayList(DisplayList* list) {
  if (!IsPcbWindow() || !list) return;
  for (DisplayListIndex index : {DisplayList_Holes, DisplayList_General, DisplayList_Cutouts, DisplayList_Planes}) {
    RecolourItems(list->lists[index]);
  }
}

void HighlightDisplayItem(DisplayItem* item) {
  if (!item || !HighlightsKind(item->kind)) return;
  if (item->kind == 7 || item->kind == 17) {
    HoleItem& h = *ItemAs<HoleItem>(item);
    h.currentColourA = h.currentColourB = kHighlightColour;
    return;
  }
  std::uint32_t* saved = nullptr;
  std::uint32_t* current = nullptr;
  if (ItemColourPair(item, &saved, &current)) *current = kHighlightColour;
}

void HighlightEntityItems(DisplayList* list, const Tower* entity) {
  const Entity* target = TowerEntity(entity);
  if (!target) return;
  HighlightMatching(list, [&](const DisplayItem* item) { return TowerEntity(item->entity) == target; });
}

void HighlightItemsOfNode(DisplayList* list, const TowerNode* node) {
  if (!node) return;
  HighlightMatching(list, [&](const DisplayItem* item) { return TowerEntity(item->entity) == node; });
}

void UnhighlightNetItems(DisplayList* list) {
  if (ActiveWindowData) ActiveWindowData->StateFlags &= ~kStateNetListHighlight;
  if (!list) return;
  for (DisplayListIndex index : {DisplayList_Holes, DisplayList_General}) {
    for (DisplayNode* n = list->lists[index]; n; n = n->next) {
      DisplayItem* item = n->item;
      if (!item) continue;
      if (Entity* e = TowerEntity(item->entity)) e->flags &= static_cast<std::uint16_t>(~kEntityHighlighted);
      if (!HighlightsKind(item->kind) || item->kind == 38) continue;
      if (item->kind == 7 || item->kind == 17) {
        HoleItem& h = *ItemAs<HoleItem>(item);
        h.currentColourA = h.savedColourA;
        h.currentColourB = h.savedColourB;
        continue;
      }
      std::uint32_t* saved = nullptr;
      std::uint32_t* current = nullptr;
      if (ItemColourPair(item, &saved, &current)) *current = *saved;
    }
  }
}

// ---- Boxes, nets and look-ups ----------------------------------------------------------------------------------

void GetDisplayListBox(const DisplayList* list, pl3::Box* box) {
  *box = pl3::Box{-1, -1, 0, 0};
  if (!list) return;
  const auto below = [](std::int32_t a, std::int32_t b) { return static_cast<std::uint32_t>(a) < static_cast<std::uint32_t>(b); };
  for (DisplayListIndex index : {DisplayList_Holes, DisplayList_Planes, DisplayList_Cutouts, DisplayList_General,
                                 DisplayList_Markers, DisplayList_PreRoutes, DisplayList_Slots}) {
    ForEachItem(list, index, [&](const DisplayItem* item) {
      const pl3::Box& b = item->box;
      if (b.xmin == 0 && b.ymin == 0 && b.xmax == 0 && b.ymax == 0) return;
      if (below(b.xmin, box->xmin)) box->xmin = b.xmin;
      if (below(b.ymin, box->ymin)) box->ymin = b.ymin;
      if (below(box->xmax, b.xmax)) box->xmax = b.xmax;
      if (below(box->ymax, b.ymax)) box->ymax = b.ymax;
    });
  }
}

int DrawFlaggedNets(const Tower* design, const pl3::Box* box) {
  Tower* nets = design ? GetAllNetsTower(design) : nullptr;
  if (!nets) return 0;
  while (FindNextEntity(nets)) {
    const std::uint8_t* info = ChildPayloadOfAtLeast(nets, Type_NetInfo, 8);
    if (info && (ReadU32(info, 4) & kNetShownFlag)) DrawNetInBox(nets, box);
  }
  ReleaseTower(&nets);
  return 1;
}

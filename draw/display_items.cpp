// The display list's records: the nine kind lists and their nodes, the
// items and what they own, the path flags and check classes, the colours, and
// the build state the builders share. The text renderer reaches the list
// through these alone.
#include "draw/display_list.h"

#include <algorithm>
#include <cstdlib>

#include "draw/display_builders.h"
#include "geometry/box_margins.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

DisplayList* CurrentDisplayList = nullptr;
const Tower* CurrentDisplayEntity = nullptr;
std::uint8_t DisplayListHold = 0;
const Tower* DisplayPadInstance = nullptr;
const Tower* DisplayPl2Symbol = nullptr;

namespace {

constexpr std::uint16_t kTypePl2SymbolDefinition = 162;
constexpr std::uint16_t kTypePl2Symbol = 163;
constexpr std::uint8_t kSlotLayerClass = 128;

const DisplayBuild* g_build = nullptr;

// The store's reset reclaims the Towers and nodes the globals name.
[[maybe_unused]] const bool g_registered = pl3::RegisterGlobalReset([] {
  CurrentDisplayList = nullptr;
  CurrentDisplayEntity = nullptr;
  DisplayListHold = 0;
  DisplayPadInstance = nullptr;
  DisplayPl2Symbol = nullptr;
  g_build = nullptr;
});

bool PathHas(const Tower* t, std::uint16_t code) {
  if (!t) return false;
  for (int k = 0; k <= t->lastLevel; ++k)
    if (t->levels[k].typeCode == code) return true;
  return false;
}

}  // namespace
DisplayListIndex DisplayListOfCode(std::uint16_t listCode) {
  switch (listCode) {
    case 7: return DisplayList_Holes;
    case 8: return DisplayList_Planes;
    case 9: case 35: return DisplayList_Cutouts;
    case 117: return DisplayList_PinLabels;
    case 34: return DisplayList_Datums;
    case 264: return DisplayList_Markers;
    case 36: return DisplayList_PreRoutes;
    case 46: case 47: return DisplayList_Slots;
    default: return DisplayList_General;
  }
}

bool ItemColourPair(DisplayItem* item, std::uint32_t** saved, std::uint32_t** current) {
  switch (item->kind) {
    case 1: case 10: case 35: case 37: case 39: case 46: case 47: {
      auto* line = ItemAs<LineItem>(item);
      *saved = &line->savedColour;
      *current = &line->currentColour;
      return true;
    }
    case 2: case 38: {
      auto* arc = ItemAs<ArcItem>(item);
      *saved = &arc->savedColour;
      *current = &arc->currentColour;
      return true;
    }
    case 3: {
      auto* circle = ItemAs<CircleItem>(item);
      *saved = &circle->savedColour;
      *current = &circle->currentColour;
      return true;
    }
    case 6: {
      auto* rect = ItemAs<RectangleItem>(item);
      *saved = &rect->savedColour;
      *current = &rect->currentColour;
      return true;
    }
    case 4: case 8: case 9: case 41: case 42: case 43: case 44: case 45: case 49: {
      auto* polygon = ItemAs<PolygonItem>(item);
      *saved = &polygon->savedColour;
      *current = &polygon->currentColour;
      return true;
    }
    case 40: {
      auto* glyph = ItemAs<GlyphItem>(item);
      *saved = &glyph->savedColour;
      *current = &glyph->currentColour;
      return true;
    }
    case 7: case 17: {
      auto* hole = ItemAs<HoleItem>(item);
      *saved = &hole->savedColourA;
      *current = &hole->currentColourA;
      return true;
    }
    default:
      return false;
  }
}

// ---- Lists, nodes and frees ------------------------------------------------------------

DisplayList* NewDisplayList() { return static_cast<DisplayList*>(std::calloc(1, sizeof(DisplayList))); }

void FreeDisplayItem(DisplayItem* item) {
  if (!item) return;
  switch (item->kind) {
    case 40:
      std::free(ItemAs<GlyphItem>(item)->outline);
      break;
    case 7: case 17:
      std::free(ItemAs<HoleItem>(item)->groups);
      break;
    case 1: case 10: case 35: case 37: case 39: case 46: case 47:
      std::free(ItemAs<LineItem>(item)->groups);
      break;
    case 117:
      std::free(ItemAs<PinLabelItem>(item)->netName);
      std::free(ItemAs<PinLabelItem>(item)->labelText);
      break;
    default:
      break;
  }
  ReleaseTower(&item->entity);
  ReleaseTower(&item->owner);
  std::free(item);
}

void FreeDisplayNodes(DisplayNode* first) {
  while (first) {
    DisplayNode* next = first->next;
    FreeDisplayItem(first->item);
    std::free(first);
    first = next;
  }
}

int FreeDisplayList(DisplayList* list) {
  if (!list) return 0;
  for (DisplayNode*& head : list->lists) {
    FreeDisplayNodes(head);
    head = nullptr;
  }
  std::free(list);
  return 0;
}

DisplayItem** NewDisplayNode(DisplayList* list, std::uint16_t listCode) {
  if (!list) return nullptr;
  auto* node = static_cast<DisplayNode*>(std::malloc(sizeof(DisplayNode)));
  if (!node) return nullptr;
  DisplayNode*& head = list->lists[DisplayListOfCode(listCode)];
  node->item = nullptr;
  node->next = head;
  head = node;
  return &node->item;
}

// ---- Path flags and classes --------------------------------------------------------------

int HasRecordType(const Tower* t, std::uint16_t code) { return PathHas(t, code) ? 1 : 0; }

int IsInsideSymbol(const Tower* t) {
  return PathHas(t, Type_SymbolInstance) || PathHas(t, Type_SymbolDefinition) ? 1 : 0;
}

std::uint32_t GetDisplayItemFlags(const Tower* t) {
  if (!t) t = CurrentDisplayEntity;
  std::uint32_t flags = 0;
  if (!t) return flags;
  for (int k = 0; k <= t->lastLevel; ++k) {
    switch (t->levels[k].typeCode) {
      case Type_SymbolInstance: case Type_SymbolDefinition: case Type_Dimensioner: case Type_AngleDimensioner:
        flags |= kItemInSymbol;
        break;
      case Type_InfoBoxHier: flags |= kItemInSymbol | kItemFixedColour; break;
      case Type_PadStackInstanceInfo: flags |= kItemPinPart; break;
      case kTypePl2Symbol: flags |= kItemInSymbol | kItemPl2SymbolPart; break;
      case kTypePl2SymbolDefinition: flags |= kItemPl2SymbolPart; break;
      default: break;
    }
  }
  return flags;
}

std::uint32_t GetCheckClass(const DisplayItem* item) {
  if (item->kind != 7 && item->kind != 17 && (item->flags & kItemPinPart)) return SurfaceMountPadFlag ? 4 : 3;
  if (item->kind == 7) return (item->flags & kItemNonPlated) ? 6 : 5;
  if (item->kind == 17) return 2;
  if (item->layer == kSlotLayerClass) return 7;
  return 1;
}

// ---- Colours --------------------------------------------------------------------------------

std::uint32_t SwapRedBlue(std::uint32_t colour) {
  return (colour & 0xFF00FF00u) | ((colour & 0xFFu) << 16) | ((colour >> 16) & 0xFFu);
}

std::uint32_t ColourToRGB(std::uint32_t planeValue) {
  const std::uint32_t* table = nullptr;
  std::uint32_t index = 0;
  if (planeValue & 0x800000u) {
    table = pl3::g_raster.colourTable2;
    index = (planeValue >> 16) & 0xFu;
  } else {
    table = pl3::g_raster.colourTable1;
    index = planeValue & 0xFFFFu;
  }
  return table ? SwapRedBlue(table[index]) : 0;
}

// ---- Items and the build in progress ---------------------------------------------------------

const DisplayBuild* CurrentDisplayBuild() { return g_build; }
DisplayBuildScope::DisplayBuildScope(const DisplayBuild* build) : previous_(g_build) { g_build = build; }
DisplayBuildScope::~DisplayBuildScope() { g_build = previous_; }

DisplayItem* NewDisplayItemFor(const DisplayBuild& b, std::size_t size, std::uint16_t kind, std::uint8_t layer) {
  auto* item = static_cast<DisplayItem*>(std::calloc(1, size));
  if (!item) return nullptr;
  item->kind = kind;
  item->layer = layer;
  item->flags = b.pathFlags;
  item->entity = b.entity ? DuplicateTower(b.entity) : nullptr;
  item->owner = b.owner ? DuplicateTower(b.owner) : nullptr;
  return item;
}

void StoreDisplayItem(const DisplayBuild& b, std::uint16_t listCode, DisplayItem* item) {
  if (!item) return;
  DisplayItem** slot = NewDisplayNode(b.list, listCode);
  if (slot) {
    *slot = item;
  } else {
    FreeDisplayItem(item);
  }
}

std::uint16_t TextItemListCode(const DisplayBuild& b, std::uint16_t kind) {
  if (b.pathFlags & kItemFixedColour) return Type_InfoBoxHier;
  if (HasRecordType(CurrentDisplayEntity, Type_Datum) || HasRecordType(b.entity, Type_Datum)) return Type_Datum;
  return kind;
}

void ExtendItemBox(pl3::Box& box, pl3::Point p, bool first) {
  if (first) {
    box = {p.x, p.y, p.x, p.y};
    return;
  }
  box.xmin = std::min(box.xmin, p.x);
  box.ymin = std::min(box.ymin, p.y);
  box.xmax = std::max(box.xmax, p.x);
  box.ymax = std::max(box.ymax, p.y);
}

pl3::Box GrownItemBox(const pl3::Box& box, std::int32_t by) {
  pl3::Box grown = box;
  pl3::InflateBox(&grown, by);
  return grown;
}

pl3::TrackLayout MakeTrackRecord(std::uint8_t layer, pl3::Point from, pl3::Point to, std::int32_t width) {
  pl3::TrackLayout line{};
  line.head.layer = layer;
  line.head.transform = pl3::kIdentityTransform;
  line.width = width;
  line.x1 = from.x;
  line.y1 = from.y;
  line.x2 = to.x;
  line.y2 = to.y;
  return line;
}

// The checks before an action on the selection: size changes, layers,
// colours and accept. Kept apart so that tests of the commands can answer
// them with fakes while linking the rest of the engine.
#include <cstdlib>

#include "draw/spiral_geometry.h"
#include "edit/item_boxes.h"
#include "edit/polygon_points.h"
#include "edit/selection.h"
#include "edit/selection_actions.h"
#include "edit/selection_boxes.h"
#include "edit/window_data.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/group_texts.h"
#include "objects/layer_table.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::int64_t kDesignMin = 182880000;
constexpr std::int64_t kDesignMax = 1828800000;
constexpr std::uint32_t kActionAccept = 5;

bool IsPrimary(const SelectionInfo* s) { return (s->flags & kSelectionPrimary) != 0; }

bool InsideDesignArea(const pl3::Box& b) {
  return b.xmin >= kDesignMin && b.ymin >= kDesignMin && b.xmax <= kDesignMax && b.ymax <= kDesignMax;
}

bool OriginOf(const Tower* pin, pl3::Point* at) {
  const auto* origin = static_cast<const OriginRecord*>(GetEntityData(pin, Type_Origin));
  if (!origin) return false;
  *at = {origin->x, origin->y};
  return true;
}

// A selected pin standing where a pin that is not selected stands.
bool PinMeetsUnselectedPin(const SelectionInfo* s, const Tower* design) {
  pl3::Point at{};
  if (!OriginOf(s->workingCopy, &at)) return false;
  Tower* pins = GetChildTower(design, Type_SymbolPin);
  bool meets = false;
  while (!meets && pins) {
    Entity* e = FindNextEntity(pins);
    if (!e) break;
    if (e->flags & (kEntitySelected | kEntityWorkingCopy)) continue;
    pl3::Point other{};
    meets = OriginOf(pins, &other) && other.x == at.x && other.y == at.y;
  }
  ReleaseTower(&pins);
  return meets;
}

// The per-item checks of an accept; false after its refusal.
bool ItemMayBeAccepted(const SelectionInfo* s) {
  const Entity* e = TowerEntity(s->workingCopy);
  if (!e) return true;
  const std::uint8_t* p = EntityPayload(e);
  if (e->typeCode == Type_Track) {
    const auto* l = reinterpret_cast<const LinePayload*>(p);
    if (l->x1 == l->x2 && l->y1 == l->y2) {
      MessageBeep(0);
      return false;
    }
  } else if (IsPolygonKind(e->typeCode)) {
    const auto* poly = reinterpret_cast<const pl3::PolygonLayout*>(p);
    if (poly->count < 3) {
      MessageBox(nullptr, "You cannot enter a polygon with fewer than three points", "Error", MB_OK);
      return false;
    }
    const bool checkCrossing = s->grabbedPart != kGrabVertexAdd || poly->count >= 4;
    if (checkCrossing && IsPolygonSelfIntersecting(poly)) {
      MessageBox(nullptr, kPolygonCrossingMessage, "Accept Selection", MB_OK);
      return false;
    }
  } else if (e->typeCode == Type_Centroid) {
    const auto* c = reinterpret_cast<const CentroidPayload*>(p);
    if (c->direction.x == 0 && c->direction.y == 0) {
      MessageBeep(0);
      return false;
    }
  } else if (e->typeCode == Type_Spiral && e->payloadSize >= sizeof(SpiralPayload)) {
    if (!SpiralHasSweep(*reinterpret_cast<const SpiralPayload*>(p))) {
      MessageBeep(0);
      return false;
    }
  }
  return true;
}

bool AcceptAllowed(const CurrentWindowData& w) {
  pl3::Box* box = GetSelectionBox(w.SelectionList, 1, 0);
  const bool inside = IsEmptySelectionBox(*box) || InsideDesignArea(*box);
  std::free(box);
  if (!inside) return false;
  if (w.editorKind == kEditorSchematicSymbol) {
    // Every selected pin is tested, not only the last of the list.
    for (const SelectionInfo* s = w.SelectionList; s; s = s->next) {
      if (SelectionItemType(s) == Type_SymbolPin && PinMeetsUnselectedPin(s, w.design)) {
        MessageBeep(0);
        return false;
      }
    }
  }
  for (const SelectionInfo* s = w.SelectionList; s; s = s->next)
    if (IsPrimary(s) && !ItemMayBeAccepted(s)) return false;
  return true;
}

bool HasSize(std::uint16_t type) {
  switch (type) {
    case 1: case 2: case 3: case 5: case 6: case 7: case 10: case 11: case 18: case 19: case 20: case 21:
    case 28: case 29: case 34: case 35: case 37: case 46: case 47:
      return true;
    default:
      return false;
  }
}

bool SizeChangeAllowed(const SelectionInfo* list) {
  const SelectionInfo* first = nullptr;
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (!IsPrimary(s)) continue;
    const std::uint16_t type = SelectionItemType(s);
    if (!first) {
      first = s;
      if (!HasSize(type) && !(type == Type_Dimensioner && s->grabbedPart == kGrabDimensionerWidth)) {
        MessageBox(nullptr, "You cannot change the width of this type of object", "Change Width", MB_OK);
        return false;
      }
    } else if (!AreTypesCompatible(SelectionItemType(first), type)) {
      MessageBox(nullptr, "All selected items must be of same type to perform this action", "Change Width", MB_OK);
      return false;
    }
  }
  return true;
}

bool NextLayerAllowed(const SelectionInfo* list) {
  const SelectionInfo* first = nullptr;
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (!IsPrimary(s)) continue;
    if (!first) {
      first = s;
      continue;
    }
    if (SelectionItemType(s) == Type_Hole) {
      MessageBox(nullptr, "Cannot perform this action on holes", "Next Layer", MB_OK);
      return false;
    }
    if (TowerPayload(s->workingCopy)[0] != TowerPayload(first->workingCopy)[0]) {
      MessageBox(nullptr, "All objects must be on the same layer to perform this action", "Next Layer", MB_OK);
      return false;
    }
  }
  return true;
}

bool IsPlaneLike(std::uint16_t type) {
  switch (type) {
    case 8: case 9: case 41: case 42: case 43: case 44: case 45: case 49: return true;
    default: return false;
  }
}

// A surface layer is the first or the last used layer of its kind.
bool IsSurfaceLayer(const LayerTable& table, std::uint32_t layer) {
  const std::uint16_t kind = table.layers[layer].kind;
  std::uint32_t first = kLayerCount, last = 0;
  for (std::uint32_t i = 0; i < kLayerCount; ++i) {
    const LayerRecord& r = table.layers[i];
    if (!(r.flags & kLayerPresent) || r.kind != kind) continue;
    if (first == kLayerCount) first = i;
    last = i;
  }
  return layer == first || layer == last;
}

// Placed symbols (checked on the first record): earlier-generation symbols
// and symbol instances that are neither definitions nor manually placed.
bool HoldsPlacedSymbols(const SelectionInfo* first) {
  const std::uint16_t type = SelectionItemType(first);
  return type == kTypeTextGroup || (type == Type_SymbolInstance && !IsSymbolCopyable(first->workingCopy));
}

bool SetLayerAllowed(const CurrentWindowData& w, std::uint32_t layer) {
  const bool copper = layer < kLayerCount && w.layerTable.layers[layer].kind == LayerKind_Copper;
  const SelectionInfo* first = GetFirstPrimarySelection(w.SelectionList);
  if (first && HoldsPlacedSymbols(first)) {
    if (!copper) {
      MessageBox(nullptr, "Can only place symbols and pads on copper layers", "Specify Layer", MB_OK);
      return false;
    }
    if (!IsSurfaceLayer(w.layerTable, layer)) {
      MessageBox(nullptr, "Can only place symbols and pads on surface layers", "Specify Layer", MB_OK);
      return false;
    }
  }
  for (const SelectionInfo* s = w.SelectionList; s; s = s->next) {
    if (IsPrimary(s) && IsPlaneLike(SelectionItemType(s)) && !copper) {
      MessageBox(nullptr, "Poly planes and cuts can only be placed on copper layers", "Specify Layer", MB_OK);
      return false;
    }
  }
  return true;
}

bool ColourAllowed(const SelectionInfo* list) {
  if (CountSelections(list, 1) != 1) return false;
  const std::uint16_t type = SelectionItemType(GetFirstPrimarySelection(const_cast<SelectionInfo*>(list)));
  return (type >= 1 && type <= 6) || type == 20 || type == 28 || type == 29;
}

}  // namespace

int ValidateSelectionForAction(std::uint32_t action, std::uint32_t argument) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->SelectionList) return 1;
  switch (action) {
    case 0: case 1: case 2: case 7: case 8:
      return SizeChangeAllowed(w->SelectionList) ? 1 : 0;
    case 3:
      return NextLayerAllowed(w->SelectionList) ? 1 : 0;
    case 4:
      return SetLayerAllowed(*w, argument) ? 1 : 0;
    case kActionAccept:
      return AcceptAllowed(*w) ? 1 : 0;
    case 9: case 10:
      if (ColourAllowed(w->SelectionList)) return 1;
      MessageBeep(0);
      return 0;
    default:
      return 1;
  }
}

#include "edit/picked_delete.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "edit/picked_delete_seams.h"
#include "edit/ratsnest_seams.h"
#include "edit/status_seams.h"
#include "edit/window_data.h"
#include "edit/wire_cleanup.h"
#include "objects/attribute_locators.h"
#include "objects/attribute_services.h"
#include "objects/designators.h"
#include "objects/display_list_seams.h"
#include "objects/locator_dispatch.h"
#include "objects/pad_stacks.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "objects/view_seams.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypePlacedSchematicSymbol = 30;
constexpr std::uint16_t kTypePl2Symbol = 163;
constexpr std::uint16_t kTypeInfoBox = 264;

// A Tower the caller owns, released on every road out.
struct Owned {
  Tower* t;
  explicit Owned(Tower* tower) : t(tower) {}
  ~Owned() { ReleaseTower(&t); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
};

void DropEntry(Tower* entry) { ReleaseTower(&entry); }

void RedrawActiveView(const CurrentWindowData& w) { RedrawView(w.Window); }

std::string DeleteCaption(std::uint16_t code) {
  char caption[96];
  std::snprintf(caption, sizeof caption, "Delete %s", GetTypeName(code));
  return caption;
}

// Undo entries are kept where the editor keeps a history of its own.
bool KeepsUndo(std::uint32_t kind) {
  switch (kind) {
    case kEditorPcb: case kEditorShape: case kEditorPcbSymbol: case kEditorPadStack:
    case kEditorSchematicSymbol: case kEditorSchematic:
      return true;
    default:
      return false;
  }
}

bool IsGenericDelete(std::uint16_t code) {
  switch (code) {
    case Type_Track: case Type_Arc: case Type_Circle: case Type_Polygon: case Type_Text: case Type_Rectangle:
    case Type_Hole: case Type_Plane: case Type_PlaneCutout: case Type_ThermalBreak: case Type_RoutedLine:
    case Type_Centroid: case Type_Spiral: case Type_Wire: case Type_Bus: case Type_LinkedCut:
    case Type_PolygonKeepout: case Type_PolygonViaKeepout: case Type_PolygonPlacementKeepout:
    case Type_ComponentPlacementOutline: case Type_ComponentBodyOutline: case Type_PlatedSlot:
    case Type_NonPlatedSlot: case Type_PolygonWiringKeepout: case Type_Shape: case Type_PadStackInstanceHier:
      return true;
    default:
      return false;
  }
}

// An item taken out of a schematic page is followed by the page's wire
// clean-up: a wire or bus leaves pieces that are joined again where nothing
// else meets any more (the stem of a T gone, the two halves of the top become
// one wire). Its changes join the delete's own undo step, so one Undo puts
// the item and every wire back.
void DeleteFromPage(CurrentWindowData& w, Tower* item) {
  const std::uint16_t code = TowerEntity(item)->typeCode;
  DropEntry(RecordUndoRemove(item, w.UndoStep));
  RemoveFromDisplayList(w.Display, item);
  DeleteEntity(item);
  pl3::Box dirty{};
  CleanUpOrthogonalLines(nullptr, &dirty);
  CloseUndoStep(w, DeleteCaption(code).c_str());
  RedrawActiveView(w);
}

void DeleteGeneric(CurrentWindowData& w, Tower* item) {
  const std::uint16_t code = TowerEntity(item)->typeCode;
  if (w.editorKind == kEditorSchematic) return DeleteFromPage(w, item);
  if (KeepsUndo(w.editorKind)) DropEntry(RecordUndoRemove(item, w.UndoStep));
  CloseUndoStep(w, DeleteCaption(code).c_str());
  RemoveFromDisplayList(w.Display, item);
  DeleteEntity(item);
  RedrawActiveView(w);
}

void DeleteSymbolInstance(CurrentWindowData& w, Tower* item) {
  DropEntry(RecordUndoRemove(item, w.UndoStep));
  ComponentBinMarkUnplaced(item);
  CloseUndoStep(w, "Delete symbol");
  RemoveFromDisplayList(w.Display, item);
  EmptyChangedNets();
  MarkSymbolNetsChanged(item);
  DeleteEntity(item);
  UpdateChangedNetMembers(0);
  RedrawActiveView(w);
}

// In a PCB the designator of a placed symbol is hidden, not deleted; Undo
// shows it again from the symbol's saved copy.
void HideDesignator(CurrentWindowData& w, Tower* data) {
  Owned symbol(GetAncestorTower(data, Type_SymbolInstance));
  if (symbol.t) {
    DropEntry(RecordUndoModify(symbol.t, NodeRefOf(TowerEntity(symbol.t)), w.UndoStep));
    SetUndoStepCaption(w.UndoStep, "Hide Designator");
  }
  Owned info(GetChildTower(data, Type_DesignatorInfo));
  if (info.t && FindNextEntity(info.t)) {
    Entity* e = TowerEntity(info.t);
    if (e->payloadSize >= sizeof(DesignatorInfo)) {
      auto* record = reinterpret_cast<DesignatorInfo*>(EntityPayload(e));
      record->display |= kDesignatorHidden;
    }
  }
  RemoveFromDisplayList(w.Display, data);
  w.UndoStep = NewUndoStepNumber();
  RedrawActiveView(w);
  DeleteChildEntities(data, Type_Origin);
}

void DeleteDesignatorGroup(CurrentWindowData& w, Tower* data) {
  Owned group(GetAncestorTower(data, Type_Designator));
  if (!group.t) return;
  DropEntry(RecordUndoRemove(group.t, w.UndoStep));
  CloseUndoStep(w, "Delete Designator");
  DeleteEntity(group.t);
  RedrawActiveView(w);
}

void DeletePl2Text(CurrentWindowData& w, Tower* text, Tower* pl2) {
  DropEntry(RecordUndoRemove(pl2, w.UndoStep));
  DeleteEntity(text);
  RemoveFromDisplayList(w.Display, pl2);
  PutEntityOnDisplayList(w.Display, pl2);
  RecordUndoInsert(NodeRefOf(TowerEntity(pl2)), w.UndoStep);
  CloseUndoStep(w, "Delete PL2 Designator");
  RedrawActiveView(w);
}

void DeleteLocatorItem(CurrentWindowData& w, Tower* locator) {
  const std::uint16_t code = TowerEntity(locator)->typeCode;
  Owned parent(locator->lastLevel ? DuplicateTowerToLevel(locator, static_cast<std::uint8_t>(locator->lastLevel - 1))
                                  : nullptr);
  const Entity* p = TowerEntity(parent.t);
  if (p && p->typeCode == kTypePlacedSchematicSymbol)
    DropEntry(RecordUndoModify(parent.t, NodeRefOf(p), w.UndoStep));
  else
    DropEntry(RecordUndoRemove(locator, w.UndoStep));
  DeleteLocator(locator);
  CloseUndoStep(w, DeleteCaption(code).c_str());
  RedrawActiveView(w);
}

std::uint8_t PadStackLayerOf(const Tower* info) {
  const Entity* e = TowerEntity(info);
  return e->payloadSize > 4 ? EntityPayload(e)[4] : 0;
}

}  // namespace

void DeletePickedObject(const Tower* picked) {
  CurrentWindowData* window = ActiveWindowData;
  const Entity* e = TowerEntity(picked);
  if (!window || !e) return;
  CurrentWindowData& w = *window;
  Owned item(DuplicateTower(picked));
  const std::uint16_t code = e->typeCode;
  switch (code) {
    case Type_SymbolInstance:
      DeleteSymbolInstance(w, item.t);
      break;
    case kTypePl2Symbol:
      DropEntry(RecordUndoRemove(item.t, w.UndoStep));
      CloseUndoStep(w, "Delete symbol");
      RemoveFromDisplayList(w.Display, item.t);
      DeleteEntity(item.t);
      break;
    case Type_DesignatorData:
      if (w.editorKind == kEditorPcb) HideDesignator(w, item.t);
      else DeleteDesignatorGroup(w, item.t);
      break;
    case kTypeInfoBox:
      RemoveFromDisplayList(w.Display, item.t);
      DeleteEntity(item.t);
      RedrawActiveView(w);
      break;
    case Type_PadStackLayerInfo:
      DeletePadStackLayerShape(PadStackLayerOf(item.t), 3);
      break;
    case Type_PadStackInfo: {
      Owned parent(GetAncestorTower(item.t, Type_PadStackInstanceHier));
      if (parent.t) {
        RemoveFromDisplayList(w.Display, parent.t);
        DeleteEntity(parent.t);
        RedrawActiveView(w);
      }
      break;
    }
    case Type_Text: {
      Owned pl2(GetAncestorTower(item.t, kTypePl2Symbol));
      if (pl2.t) DeletePl2Text(w, item.t, pl2.t);
      else DeleteGeneric(w, item.t);
      break;
    }
    case Type_AttributeLocator:
      DeleteLocatorItem(w, item.t);
      break;
    case Type_SymbolPin:
      DeleteChildEntities(item.t, Type_Origin);
      break;
    case kTypePlacedSchematicSymbol:
      DeleteSchematicSymbolWithUndo(item.t);
      break;
    case Type_SchematicSymbol: {
      Owned symbol(GetAncestorTower(item.t, kTypePlacedSchematicSymbol));
      if (symbol.t) DeleteSchematicSymbolWithUndo(symbol.t);
      CloseUndoStep(w, "Delete symbol");
      break;
    }
    default:
      if (IsGenericDelete(code)) DeleteGeneric(w, item.t);
      break;
  }
  if ((code == Type_Wire || code == Type_Bus) && NetNameUpdateOption()) UpdateNetNameLocators(w.design, 0);
}

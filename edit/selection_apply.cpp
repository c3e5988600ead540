// Writing one selection record back into the design: delete, commit,
// release, keep the copy; the bend of a moved track and the designator
// bookkeeping of a committed symbol.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "edit/clipboard.h"
#include "edit/line_segments.h"
#include "edit/ratsnest_seams.h"
#include "edit/selection.h"
#include "edit/selection_boxes.h"
#include "edit/selection_services.h"
#include "edit/status_seams.h"
#include "edit/window_data.h"
#include "objects/attribute_services.h"
#include "objects/console_seams.h"
#include "objects/designators.h"
#include "objects/editor_seams.h"
#include "objects/entity_copy.h"
#include "objects/item_helpers.h"
#include "objects/display_list_seams.h"
#include "objects/graphic_records.h"
#include "objects/locator_dispatch.h"
#include "objects/payload_access.h"
#include "objects/options_menu_seams.h"
#include "objects/pad_names.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"
#include "store/tower.h"

std::uint32_t SelectionBendDirections = 0;
LineSegment* TouchedWires = nullptr;

namespace {

void ResetSelectionGlobals() {
  SelectionBendDirections = 0;
  FreeLineSegments(TouchedWires);
  TouchedWires = nullptr;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetSelectionGlobals);

constexpr std::uint16_t kCopyStateBits = kEntitySelected | kEntityWorkingCopy | kEntityHighlighted;
constexpr std::uint32_t kConsoleGeneral = 6;
constexpr std::uint16_t kTypeSchematicSymbol = 30;
constexpr std::uint16_t kTypeSymbolPackageRef = 11015;

std::uint32_t Step() { return ActiveWindowData ? ActiveWindowData->UndoStep : 0; }
void* Display() { return ActiveWindowData ? ActiveWindowData->Display : nullptr; }

std::uint16_t TypeOf(const Tower* t) {
  const Entity* e = TowerEntity(t);
  return e ? e->typeCode : 0;
}

bool IsCommittedTrack(std::uint16_t type) {
  switch (type) {
    case Type_Track: case Type_RoutedLine: case Type_BoardOutlineLine: case Type_PlatedSlot: case Type_NonPlatedSlot:
      return true;
    default:
      return false;
  }
}

pl3::Box BoxOf(const Tower* item) {
  pl3::Box box = kSelectionEmptyBox;
  if (!SelectionItemBox(item, &box)) box = kSelectionEmptyBox;
  return box;
}

pl3::Box* HeapBox(const pl3::Box& box) {
  pl3::Box* b = NewSelectionBox();
  *b = box;
  return b;
}

void DeleteTower(Tower** t) {
  if (!*t) return;
  if (TowerEntity(*t)) DeleteEntity(*t);
  ReleaseTower(t);
}

// The original goes from the design, its removal recorded in the step.
void RemoveOriginalWithUndo(SelectionInfo* s) {
  if (!TowerEntity(s->original)) return;
  Tower* entry = RecordUndoRemove(s->original, Step());
  ReleaseTower(&entry);
  DeleteTower(&s->original);
}

// Records the copy's arrival: a replacement of the original, or an insert.
void RecordCopy(const SelectionInfo* s) {
  const NodeRef copy = NodeRefOf(TowerEntity(s->workingCopy));
  if (TowerEntity(s->original)) {
    Tower* entry = RecordUndoModify(s->original, copy, Step());
    ReleaseTower(&entry);
  } else {
    RecordUndoInsert(copy, Step());
  }
}

void ClearSelectedFlag(const Tower* t) {
  if (Entity* e = TowerEntity(t)) e->flags &= static_cast<std::uint16_t>(~kEntitySelected);
}

// ---- Tracks -----------------------------------------------------------------

// Splits the copy at its bend: the copy keeps the first leg, a new segment of
// the same type the second. The box covers both.
pl3::Box CommitTrack(SelectionInfo* s) {
  auto* line = reinterpret_cast<LinePayload*>(TowerPayload(s->workingCopy));
  pl3::Box box = BoxOf(s->workingCopy);
  if (line->x1 == line->x2 && line->y1 == line->y2) {
    DeleteTower(&s->workingCopy);
    RemoveOriginalWithUndo(s);
    return box;
  }
  if (!(s->flags & kSelectionPrimary)) {
    RecordCopy(s);
    return box;
  }
  pl3::Point bend{};
  const std::uint8_t mode = ActiveWindowData ? ActiveWindowData->SelectionAngleAssist : 0;
  if (!KeepWireOrthogonal({line->x1, line->y1}, {line->x2, line->y2}, mode, SelectionBendDirections, &bend)) {
    RecordCopy(s);
    return box;
  }
  const Entity* e = TowerEntity(s->workingCopy);
  std::string bytes(reinterpret_cast<const char*>(EntityPayload(e)), e->payloadSize);
  auto* second = reinterpret_cast<LinePayload*>(bytes.data());
  second->x1 = bend.x;
  second->y1 = bend.y;
  line->x2 = bend.x;
  line->y2 = bend.y;
  RecordCopy(s);
  Tower* parent = DuplicateTowerToLevel(s->workingCopy, static_cast<std::uint8_t>(s->workingCopy->lastLevel - 1));
  Tower* added = InsertEntity(parent, e->payloadSize, e->typeCode, bytes.data());
  ReleaseTower(&parent);
  if (added) {
    TowerEntity(added)->flags &= static_cast<std::uint16_t>(~kCopyStateBits);
    if (Display()) PutEntityOnDisplayList(Display(), added);
    RecordUndoInsert(NodeRefOf(TowerEntity(added)), Step());
    UnionSelectionBox(&box, BoxOf(added));
    ReleaseTower(&added);
  }
  UnionSelectionBox(&box, BoxOf(s->workingCopy));
  return box;
}

// Wires and buses leave the commit as line segments for the wire clean-up.
pl3::Box CommitWire(SelectionInfo* s) {
  const auto* line = reinterpret_cast<const LinePayload*>(TowerPayload(s->workingCopy));
  pl3::Box box = BoxOf(s->workingCopy);
  UnionSelectionBox(&box, BoxOf(s->original));
  // A wire drawn together to a point is only removed.
  if (line->x1 != line->x2 || line->y1 != line->y2)
    TouchedWires = NewLineSegment(TypeOf(s->workingCopy), TouchedWires, line->x1, line->y1, line->x2, line->y2,
                                  line->head.layer, static_cast<std::uint32_t>(line->width), line->head.sizeIndex);
  RemoveOriginalWithUndo(s);
  DeleteTower(&s->workingCopy);
  return box;
}

// ---- Symbols ----------------------------------------------------------------

const char* DesignatorOf(const Tower* instance) {
  Tower* group = OpenChildTower(instance, Type_Designator);
  const char* text = group ? GetDesignatorText(group) : nullptr;
  ReleaseTower(&group);
  return text;
}

// Replaces every Imported Designator equal to the old text under the tower.
void RenameUnder(const Tower* parent, const char* from, const char* to) {
  Tower* all = GetAllChildrenTower(parent);
  std::vector<Tower*> matches;
  while (Entity* e = all ? FindNextEntity(all) : nullptr) {
    switch (e->typeCode) {
      case Type_ImportedDesignator: {
        const char* text = reinterpret_cast<const char*>(EntityPayload(e));
        if (strnlen(text, e->payloadSize) < e->payloadSize && pl3::EqualsNoCase(text, from))
          matches.push_back(DuplicateTower(all));
        break;
      }
      case Type_NetHierGroup: case Type_ImportedSymbol: case Type_Net: case Type_SubNetHier:
      case Type_ImportedNetNodeHier:
        RenameUnder(all, from, to);
        break;
      default:
        break;
    }
  }
  ReleaseTower(&all);
  for (Tower*& t : matches) {
    Tower* owner = DuplicateTowerToLevel(t, static_cast<std::uint8_t>(t->lastLevel - 1));
    DeleteEntity(t);
    ReleaseTower(&t);
    Tower* added = InsertEntity(owner, static_cast<std::uint32_t>(std::strlen(to) + 1), Type_ImportedDesignator, to);
    ReleaseTower(&added);
    ReleaseTower(&owner);
  }
}

void ConsoleAt(const Tower* instance, const char* format, const char* a, const char* b) {
  CurrentWindowData* w = ActiveWindowData;
  std::int32_t x = 0, y = 0;
  GetSymbolInstanceOrigin(instance, &x, &y);
  auto* pane = static_cast<ConsolePane*>(w ? w->Console : nullptr);
  if (b) AddConsoleMessage(pane, kConsoleGeneral, x, y, 0, 0, format, a, b);
  else AddConsoleMessage(pane, kConsoleGeneral, x, y, 0, 0, format, a);
}

void CommitSymbolDesignators(SelectionInfo* s) {
  const Tower* design = ActiveWindowData ? ActiveWindowData->design : nullptr;
  const char* now = DesignatorOf(s->workingCopy);
  Tower* netlist = design ? OpenChildTower(design, Type_NetHierGroup) : nullptr;
  if (!TowerEntity(s->original)) {
    Tower* known = netlist && now ? FindImportedSymbol(netlist, now) : nullptr;
    if (netlist && now && !known) {
      Tower* symbol = InsertEmptyEntity(netlist, Type_ImportedSymbol);
      Tower* name = symbol ? InsertEntity(symbol, static_cast<std::uint32_t>(std::strlen(now) + 1),
                                          Type_ImportedDesignator, now)
                           : nullptr;
      ReleaseTower(&name);
      ReleaseTower(&symbol);
      ConsoleAt(s->workingCopy, "\"%s\" has been added to the diagram.", now, nullptr);
    }
    ReleaseTower(&known);
  } else {
    const char* before = DesignatorOf(s->original);
    if (before && now && !pl3::EqualsNoCase(before, now)) {
      const std::string from(before), to(now);
      ConsoleAt(s->workingCopy, "\"%s\" has been renamed to \"%s\".", from.c_str(), to.c_str());
      if (netlist) RenameUnder(netlist, from.c_str(), to.c_str());
      if (design) {
        Tower* nets = GetChildTower(design, Type_Net);
        while (nets && FindNextEntity(nets)) RenameUnder(nets, from.c_str(), to.c_str());
        ReleaseTower(&nets);
      }
    }
    RemoveMovingPoints(s->original);
  }
  ReleaseTower(&netlist);
}

// A polygon-like item leaves the edit without collinear points and with its
// triangles made again for its final outline.
void CleanCommittedPolygon(Entity* e) {
  auto* polygon = reinterpret_cast<pl3::PolygonLayout*>(PayloadOfAtLeast(e, sizeof(pl3::PolygonLayout)));
  if (!polygon) return;
  // Never read or write past what is stored: the points and their triangles.
  if (PolygonStoredSize(polygon->count) > e->payloadSize) return;
  CleanPolygonPoints(polygon);
}

// The value text of the design attribute with the id, empty when there is none.
std::string DesignAttributeText(std::uint32_t id) {
  Tower* attribute = id ? FindDesignAttributeById(id) : nullptr;
  std::string text;
  Tower* value = attribute ? OpenChildTower(attribute, Type_AttributeValue) : nullptr;
  if (const Entity* e = TowerEntity(value))
    text.assign(reinterpret_cast<const char*>(EntityPayload(e)),
                strnlen(reinterpret_cast<const char*>(EntityPayload(e)), e->payloadSize));
  ReleaseTower(&value);
  ReleaseTower(&attribute);
  return text;
}

// 1 when a locator under the same owner, other than the one given, shows
// the attribute of the id.
bool AttributeShownElsewhere(const Tower* locator, std::uint32_t id) {
  Tower* owner = DuplicateTowerToLevel(locator, static_cast<std::uint8_t>(locator->lastLevel - 1));
  Tower* others = owner ? GetChildTower(owner, Type_AttributeLocator) : nullptr;
  const Entity* self = TowerEntity(locator);
  bool shown = false;
  while (!shown && others) {
    Entity* e = FindNextEntity(others);
    if (!e) break;
    const auto* l = reinterpret_cast<const LocatorPayload*>(PayloadOfAtLeast(e, sizeof(LocatorPayload)));
    shown = e != self && l && l->attributeId == id;
  }
  ReleaseTower(&others);
  ReleaseTower(&owner);
  return shown;
}

// A net name or port copied in place still shows its original's attribute:
// the copy gets an attribute of its own under a fresh id, with the name (a
// port, "NULL"), so that renaming or deleting one leaves the other alone.
void GiveCopiedLocatorItsOwnAttribute(Tower* copy) {
  auto* l = reinterpret_cast<LocatorPayload*>(PayloadOfAtLeast(TowerEntity(copy), sizeof(LocatorPayload)));
  CurrentWindowData* w = ActiveWindowData;
  if (!l || !w || !l->attributeId) return;
  const bool netName = l->kind == kLocatorNetName || l->kind == kLocatorGraphicNetName || l->kind == kLocatorNamedIOPort;
  if (!netName && l->kind != kLocatorIOPort) return;
  if (!AttributeShownElsewhere(copy, l->attributeId)) return;
  const std::string text = netName ? DesignAttributeText(l->attributeId) : std::string("NULL");
  const std::uint32_t id = NewAttributeId();
  Tower* attribute = id ? InsertAttributeWithId(w->design, l->kind, text.c_str(), 0, id) : nullptr;
  if (attribute) {
    l->attributeId = id;
    RecordUndoInsert(NodeRefOf(TowerEntity(attribute)), Step());
  }
  ReleaseTower(&attribute);
}

// ---- The actions -----------------------------------------------------------

pl3::Box* Delete(SelectionInfo* s) {
  const std::uint16_t type = TypeOf(s->original);
  if (type == Type_SymbolInstance) {
    RemoveMovingPoints(s->original);
    ComponentBinMarkUnplaced(s->original);
  }
  DeleteTower(&s->workingCopy);
  pl3::Box box = BoxOf(s->original);
  if (type == Type_AttributeLocator) {
    DeleteLocator(s->original);
    ReleaseTower(&s->original);
  } else if (type == Type_SymbolPin) {
    DeleteChildEntities(s->original, Type_Origin);
    ClearSelectedFlag(s->original);
    ReleaseTower(&s->original);
  } else {
    DeleteTower(&s->original);
  }
  return HeapBox(box);
}

pl3::Box* Commit(SelectionInfo* s) {
  const std::uint16_t type = TypeOf(s->workingCopy);
  if (!type) return HeapBox(kSelectionEmptyBox);
  if ((type == Type_Hole || type == Type_Via) && IsHoleOnPad(s->workingCopy)) {
    // The via goes: the original's removal is recorded, so Undo brings it back.
    pl3::Box box = BoxOf(s->workingCopy);
    UnionSelectionBox(&box, BoxOf(s->original));
    if (Display() && TowerEntity(s->original)) RemoveFromDisplayList(Display(), s->original);
    RemoveOriginalWithUndo(s);
    DeleteTower(&s->workingCopy);
    return HeapBox(box);
  }
  TowerEntity(s->workingCopy)->flags &= static_cast<std::uint16_t>(~kCopyStateBits);
  pl3::Box box = kSelectionEmptyBox;
  if (IsCommittedTrack(type)) {
    box = CommitTrack(s);
    if (!s->workingCopy) return HeapBox(box);
  } else if (type == Type_Wire || type == Type_Bus) {
    return HeapBox(CommitWire(s));
  } else if (IsPolygonKind(type)) {
    CleanCommittedPolygon(TowerEntity(s->workingCopy));
  } else if (type == Type_Centroid && s->grabbedPart == kGrabCentroidTurn) {
    // A turned centroid's drawing transform follows its new direction.
    if (auto* c = reinterpret_cast<CentroidPayload*>(PayloadOfAtLeast(TowerEntity(s->workingCopy), sizeof(CentroidPayload))))
      MakeDirectionTransform(&c->head.transform, c->direction, 0.0);
  } else if (type == Type_AttributeLocator && !TowerEntity(s->original)) {
    GiveCopiedLocatorItsOwnAttribute(s->workingCopy);
  } else if (type == Type_SymbolInstance) {
    CommitSymbolDesignators(s);
    RedrawView(ActiveWindowData ? ActiveWindowData->Window : nullptr);
  }
  if (Display()) PutEntityOnDisplayList(Display(), s->workingCopy);
  UnionSelectionBox(&box, BoxOf(s->workingCopy));
  ReleaseTower(&s->workingCopy);
  if (TowerEntity(s->original)) {
    ClearSelectedFlag(s->original);
    DeleteTower(&s->original);
  }
  if (type == Type_SymbolPin) box = {0, 0, 0x7FFFFFFF, 0x7FFFFFFF};
  return HeapBox(box);
}

pl3::Box* Release(SelectionInfo* s) {
  DeleteTower(&s->workingCopy);
  pl3::Box box = kSelectionEmptyBox;
  if (TowerEntity(s->original)) {
    ClearSelectedFlag(s->original);
    if (Display()) PutEntityOnDisplayList(Display(), s->original);
    if (TypeOf(s->original) == Type_SymbolInstance) RemoveMovingPoints(s->original);
    box = BoxOf(s->original);
  }
  ReleaseTower(&s->original);
  return HeapBox(box);
}

pl3::Box* KeepCopy(SelectionInfo* s) {
  pl3::Box box = kSelectionEmptyBox;
  if (TowerEntity(s->original)) {
    ClearSelectedFlag(s->original);
    if (Display()) PutEntityOnDisplayList(Display(), s->original);
    box = BoxOf(s->original);
    ReleaseTower(&s->original);
    const std::uint16_t type = TypeOf(s->workingCopy);
    if (type == kTypeSchematicSymbol && GetEntityData(s->workingCopy, kTypeSymbolPackageRef)) {
      DetachCopiedSymbolPackage(s->workingCopy);
    } else if (type == Type_SymbolInstance && !(GetInstanceDefinitionFlag(s->workingCopy) & 1)) {
      RemoveMovingPoints(s->workingCopy);
      RedesignateSymbol(s->workingCopy);
    } else if (type == Type_PadStackInstanceHier) {
      // The pads of a non-electrical symbol carry no names.
      const Tower* design = ActiveWindowData ? ActiveWindowData->design : nullptr;
      if (design && IsNonElectricalSymbol(design)) DeleteChildEntities(s->workingCopy, Type_LabelHier);
      else AssignNextPinName(s->workingCopy);
    }
  }
  UnionSelectionBox(&box, BoxOf(s->workingCopy));
  return HeapBox(box);
}


// Copy with increment or decrement: the original stays where it is; the copy
// of a net-name-like locator shows a new attribute whose text is the
// original's with its first number stepped.
pl3::Box* CopyWithStep(SelectionInfo* s, int up) {
  pl3::Box box = kSelectionEmptyBox;
  if (Entity* original = TowerEntity(s->original)) {
    original->flags &= static_cast<std::uint16_t>(~(kEntitySelected | kEntityWorkingCopy));
    if (Display()) PutEntityOnDisplayList(Display(), s->original);
    box = BoxOf(s->original);
  }
  Entity* copy = TowerEntity(s->workingCopy);
  if (copy && copy->typeCode == Type_AttributeLocator && copy->payloadSize >= sizeof(LocatorPayload) &&
      TowerEntity(s->original) && ActiveWindowData) {
    auto* locator = reinterpret_cast<LocatorPayload*>(EntityPayload(copy));
    const std::string text = DesignAttributeText(locator->attributeId);
    char* stepped = StepNameNumber(text.c_str(), up);
    const std::uint32_t id = NewAttributeId();
    Tower* attribute = InsertAttributeWithId(ActiveWindowData->design, kLocatorNetName,
                                             stepped ? stepped : text.c_str(), 0, id);
    if (attribute) locator->attributeId = id;
    ReleaseTower(&attribute);
    std::free(stepped);
  }
  ReleaseTower(&s->original);
  return HeapBox(box);
}

}  // namespace

pl3::Box* ApplySelectionInfo(SelectionInfo* record, int action) {
  if (!record) return nullptr;
  switch (action) {
    case kApplyDelete: return Delete(record);
    case kApplyCommit: return Commit(record);
    case kApplyRelease: return Release(record);
    case kApplyKeepCopy: return KeepCopy(record);
    case kApplyCopyIncrement: return CopyWithStep(record, 1);
    case kApplyCopyDecrement: return CopyWithStep(record, 0);
    default: return HeapBox(kSelectionEmptyBox);
  }
}

int KeepWireOrthogonal(pl3::Point from, pl3::Point to, std::uint8_t mode, std::uint32_t bendBits, pl3::Point* bend) {
  if (mode == 0) return 0;
  const std::int64_t dx = std::int64_t{to.x} - from.x;
  const std::int64_t dy = std::int64_t{to.y} - from.y;
  const std::int64_t ax = dx < 0 ? -dx : dx;
  const std::int64_t ay = dy < 0 ? -dy : dy;
  auto sign = [](std::int64_t v) -> std::int64_t { return v <= 0 ? -1 : 1; };
  std::int64_t lx = 0, ly = 0;
  if (mode == 1) {
    if (bendBits & 1) ly = dy;
    else lx = dx;
  } else if (!(bendBits & 2)) {
    if (ax <= ay) ly = sign(dy) * (ay - ax);
    else lx = sign(dx) * (ax - ay);
  } else if (ax > ay) {
    lx = sign(dx) * ay;
    ly = dy;
  } else {
    lx = dx;
    ly = sign(dy) * ax;
  }
  if ((lx == 0 && ly == 0) || (lx == dx && ly == dy)) return 0;
  *bend = {static_cast<std::int32_t>(from.x + lx), static_cast<std::int32_t>(from.y + ly)};
  return 1;
}

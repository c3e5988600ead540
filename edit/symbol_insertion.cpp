#include "edit/symbol_insertion.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "edit/attribute_choice.h"
#include "edit/edit_modes.h"
#include "edit/insertion_array.h"
#include "edit/item_boxes.h"
#include "edit/placing_seams.h"
#include "edit/ratsnest_seams.h"
#include "edit/status_seams.h"
#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/attribute_locators.h"
#include "objects/attribute_services.h"
#include "objects/console_seams.h"
#include "objects/design_helpers.h"
#include "objects/design_walks.h"
#include "objects/designators.h"
#include "objects/display_list_seams.h"
#include "objects/editor_seams.h"
#include "objects/entity_copy.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "objects/item_helpers.h"
#include "objects/pad_names.h"
#include "objects/pad_stacks.h"
#include "objects/payload_access.h"
#include "objects/placed_item_records.h"
#include "objects/size_table.h"
#include "objects/symbol_instances.h"
#include "objects/symbol_seams.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "objects/view_seams.h"
#include "objects/walker.h"
#include "objects/window_state.h"
#include "platform/user.h"
#include "store/seams.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kSymbolInstanceVersion = 4;
constexpr std::uint16_t kTypeDefinitionLink = 283;
constexpr std::uint32_t kConsoleGeneral = 6;
constexpr std::uint32_t kViewShapePending = 0x4;  // ViewFlags bit 2
constexpr std::uint8_t kPadStackInnerLayer = 2;
constexpr std::uint16_t kSelectedFlags = kEntitySelected | kEntitySelectedPart;
// The Designator Info of a symbol whose definition shows no designator.
constexpr std::int32_t kDefaultDesignatorSize = 8;
constexpr std::uint32_t kDesignatorFont = 3;

std::uint16_t CodeAt(const Tower* t) {
  const Entity* e = TowerEntity(t);
  return e ? e->typeCode : 0;
}

NodeRef RefOf(const Tower* t) { return NodeRefOf(TowerEntity(t)); }

template <typename T>
void AddRecord(const Tower* parent, std::uint16_t code, const T& payload) {
  Tower* t = InsertEntity(parent, sizeof payload, code, &payload);
  ReleaseTower(&t);
}

void AddText(const Tower* parent, std::uint16_t code, const std::string& text) {
  Tower* t = InsertEntity(parent, static_cast<std::uint32_t>(text.size() + 1), code, text.c_str());
  ReleaseTower(&t);
}

// The newest text of the code under the parent, read within its payload.
std::string ChildText(const Tower* parent, std::uint16_t code) {
  Tower* child = NewestChildTower(parent, code);
  const Entity* e = TowerEntity(child);
  std::string text;
  if (e) text.assign(reinterpret_cast<const char*>(EntityPayload(e)), strnlen(reinterpret_cast<const char*>(EntityPayload(e)), e->payloadSize));
  ReleaseTower(&child);
  return text;
}
pl3::Box* NewBox(const pl3::Box& box) {
  auto* copy = static_cast<pl3::Box*>(std::malloc(sizeof(pl3::Box)));
  if (copy) *copy = box;
  return copy;
}

// Both forms of the empty box: all zero, and {-1, -1, 0, 0}.
bool IsEmptyBox(const pl3::Box& b) {
  return b.xmax == 0 && b.ymax == 0 && ((b.xmin == 0 && b.ymin == 0) || (b.xmin == -1 && b.ymin == -1));
}

// Unites b into a, an empty box taking the other's place.
void GrowBox(pl3::Box& a, const pl3::Box& b) {
  if (IsEmptyBox(b)) return;
  if (IsEmptyBox(a)) {
    a = b;
    return;
  }
  a.xmin = std::min(a.xmin, b.xmin);
  a.ymin = std::min(a.ymin, b.ymin);
  a.xmax = std::max(a.xmax, b.xmax);
  a.ymax = std::max(a.ymax, b.ymax);
}

pl3::Point SnappedPoint(pl3::Point point) {
  SnapXY(&point.x, &point.y, 0);
  return point;
}

pl3::Transform PlacedTransform(const CurrentWindowData& w, pl3::Point snapped) {
  pl3::Transform t = w.InsertionTransform;
  t.tx += snapped.x;
  t.ty += snapped.y;
  return t;
}

// The stored box (200) of a definition mapped through the transform; 0 without one.
int DefinitionBoxUnder(const Tower* definition, const pl3::Transform& t, pl3::Box* box) {
  pl3::Box found{};
  if (!GetBox(definition, &found)) return 0;
  GetRectangleBox(&found, &t);
  *box = found;
  return 1;
}

// ---- The designator -------------------------------------------------------------------

// Asks for a designator not yet used in the design; Cancel gives the next
// free one of the "DES" prefix.
std::string AskDesignator(CurrentWindowData& w, const Tower* definition, const std::string& ownString) {
  const char* prefix = ownString.empty() ? kDefaultDesignatorPrefix : ownString.c_str();
  char* text = FindNextDesignatorString(prefix, w.design);
  for (;;) {
    text = ShowEnterTextDlgEx("Insert Symbol", "Enter Designator", text, kDesignatorTextMax);
    if (!EnterTextDialogResult) break;
    if (text && *text && IsDesignatorUnused(text, w.design)) {
      std::string taken = text;
      std::free(text);
      return taken;
    }
    AddConsoleMessage(static_cast<ConsolePane*>(w.Console), kConsoleGeneral, 0, 0, 0, 0,
                      "Designator \"%s\" is already in use.", text ? text : "");
    MessageBeep(0);
  }
  std::free(text);
  char* fallback = FindNextDesignatorString(kCancelledDesignatorPrefix, w.design);
  std::string taken = fallback ? fallback : kCancelledDesignatorPrefix;
  std::free(fallback);
  (void)definition;
  return taken;
}

// The Net Hier Group of the design, made when missing.
Tower* OpenNetHierGroup(const Tower* design) {
  Tower* group = NewestChildTower(design, Type_NetHierGroup);
  return group ? group : InsertEmptyEntity(design, Type_NetHierGroup);
}

// A new Imported Symbol for a designator the netlist does not know.
void AddImportedSymbol(CurrentWindowData& w, const Tower* instance, const Tower* definition,
                       const std::string& designator, pl3::Point origin) {
  Tower* group = OpenNetHierGroup(w.design);
  Tower* imported = InsertEmptyEntity(group, Type_ImportedSymbol);
  AddText(imported, Type_ImportedDesignator, designator);
  const std::uint32_t reference = RefOf(definition);
  Tower* link = InsertEntity(imported, sizeof reference, kTypeDefinitionLink, &reference);
  const std::string file = ChildText(definition, Type_FileName);
  const std::string library = ChildText(definition, Type_LibraryName);
  AddText(link, Type_FileName, file.empty() ? "Unknown" : file);
  AddText(link, Type_LibraryName, library.empty() ? "Unknown" : library);
  ComponentBinAddSymbol(instance, imported, designator.c_str());
  AddConsoleMessage(static_cast<ConsolePane*>(w.Console), kConsoleGeneral, origin.x, origin.y, 0, 0,
                    "\"%s\" has been added to the diagram.", designator.c_str());
  ReleaseTower(&link);
  ReleaseTower(&imported);
  ReleaseTower(&group);
}

// One shown copy (234 or 309) under the group, copying the source copy's
// transform and info (233 or 310), with its box and a zero offset. Returns
// the copy's box.
pl3::Box AddShownCopy(const Tower* group, const Tower* source, std::uint16_t copyCode, std::uint16_t infoCode) {
  Tower* copy = InsertEmptyEntity(group, copyCode);
  if (const std::uint8_t* t = ChildPayloadOfAtLeast(source, Type_Transform, sizeof(pl3::Transform))) {
    pl3::Transform transform;
    std::memcpy(&transform, t, sizeof transform);
    AddRecord(copy, Type_Transform, transform);
  }
  if (const std::uint8_t* i = ChildPayloadOfAtLeast(source, infoCode, sizeof(DesignatorInfo))) {
    DesignatorInfo info;
    std::memcpy(&info, i, sizeof info);
    AddRecord(copy, infoCode, info);
  }
  pl3::Box box{};
  std::uint32_t extent[2] = {};
  pl3::Box* measured = copyCode == Type_DesignatorData ? GetDesignatorBox(copy, &pl3::kIdentityTransform, extent)
                                                       : GetDesignatorTextBox(copy, &pl3::kIdentityTransform, extent);
  if (measured) box = *measured;
  std::free(measured);
  AddRecord(copy, Type_BoundingBox, box);
  const std::int32_t offset[2] = {0, 0};
  AddRecord(copy, Type_Offset, offset);
  ReleaseTower(&copy);
  return box;
}

// Step 6: the Designator group with its shown copies; the running box grows.
void AddDesignatorGroup(const Tower* instance, const Tower* definition, const std::string& designator,
                        pl3::Box& running) {
  Tower* group = InsertEmptyEntity(instance, Type_Designator);
  AddText(group, Type_DesignatorString, designator);
  Tower* own = NewestChildTower(definition, Type_Designator);
  Tower* copies = own ? GetChildTower(own, Type_DesignatorData) : nullptr;
  bool any = false;
  while (copies && FindNextEntity(copies)) {
    GrowBox(running, AddShownCopy(group, copies, Type_DesignatorData, Type_DesignatorInfo));
    any = true;
  }
  ReleaseTower(&copies);
  ReleaseTower(&own);
  if (!any) {
    Tower* copy = InsertEmptyEntity(group, Type_DesignatorData);
    AddRecord(copy, Type_Transform, pl3::kIdentityTransform);
    DesignatorInfo info{};
    info.layer = ActiveWindowData ? ActiveWindowData->TextLayer : 0;
    info.explicitSize = kDefaultDesignatorSize;
    info.font = kDesignatorFont;
    AddRecord(copy, Type_DesignatorInfo, info);
    std::uint32_t extent[2] = {};
    pl3::Box box{};
    if (pl3::Box* measured = GetDesignatorBox(copy, &pl3::kIdentityTransform, extent)) {
      box = *measured;
      std::free(measured);
    }
    AddRecord(copy, Type_BoundingBox, box);
    const std::int32_t offset[2] = {0, 0};
    AddRecord(copy, Type_Offset, offset);
    GrowBox(running, box);
    ReleaseTower(&copy);
  }
  AddRecord(group, Type_BoundingBox, running);
  ReleaseTower(&group);
}

// Step 7: the definition's attribute groups whose names have values in the
// imported symbol, with their shown copies.
void AddImportedAttributes(const Tower* instance, const Tower* definition, const Tower* imported,
                           pl3::Box& running) {
  Tower* groups = GetChildTower(definition, kTypeAttributeGroup);
  while (groups && FindNextEntity(groups)) {
    const std::string name = ChildText(groups, kTypeAttributeName);
    const char* value = name.empty() ? nullptr : GetImportedSymbolValue(imported, name.c_str());
    if (!value) continue;
    Tower* group = InsertEmptyEntity(instance, kTypeAttributeGroup);
    AddText(group, kTypeAttributeName, name);
    AddText(group, kTypeAttributeValue, value);
    Tower* displays = GetChildTower(groups, kTypeAttributeLocatorGroup);
    while (displays && FindNextEntity(displays))
      GrowBox(running, AddShownCopy(group, displays, kTypeAttributeLocatorGroup, kTypeAttributeLocatorInfo));
    ReleaseTower(&displays);
    AddRecord(group, Type_BoundingBox, running);
    ReleaseTower(&group);
  }
  ReleaseTower(&groups);
}

// A designator prepared by the schematic side in TemporaryEntity; the node goes.
bool TakePreparedDesignator(CurrentWindowData& w, std::string* designator) {
  if (CodeAt(w.TemporaryEntity) != Type_DesignatorString) return false;
  const Entity* e = TowerEntity(w.TemporaryEntity);
  const auto* text = reinterpret_cast<const char*>(EntityPayload(e));
  designator->assign(text, strnlen(text, e->payloadSize));
  DeleteEntity(w.TemporaryEntity);
  ReleaseTower(&w.TemporaryEntity);
  return true;
}

}  // namespace

Tower* InsertSymbol(pl3::Point point, const Tower* definition) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || !TowerEntity(definition)) return nullptr;
  const std::uint32_t options = GetSymbolOptions(definition);
  DeleteChildEntities(definition, Type_Datum);

  Tower* instance = InsertEmptyEntity(w->design, Type_SymbolInstance);
  AddRecord(instance, Type_DesignVersion, kSymbolInstanceVersion);
  w->InsertType = static_cast<std::uint8_t>(Type_SymbolInstance);

  const pl3::Point snapped = SnappedPoint(point);
  const SymbolInstanceInfo info{(w->ViewFlags & kViewDrawOtherSide) ? kSymbolInstanceOtherSide : 0u,
                                RefOf(definition)};
  AddRecord(instance, Type_SymbolInstanceInfo, info);
  pl3::Box running{};
  GetSymbolInstanceInfoBox(reinterpret_cast<const std::uint8_t*>(&info), &running);
  const pl3::Transform placed = PlacedTransform(*w, snapped);
  AddRecord(instance, Type_Transform, placed);
  AddPadStackInstanceInfos(instance);
  if (options & 0x1) return instance;

  // The designator.
  std::string designator;
  const bool asked = !TakePreparedDesignator(*w, &designator);
  Tower* ownGroup = NewestChildTower(definition, Type_Designator);
  if (asked) {
    const char* own = ownGroup ? GetDesignatorText(ownGroup) : nullptr;
    designator = AskDesignator(*w, definition, own ? own : "");
    if (ownGroup) SetDesignatorText(ownGroup, designator.c_str());
  }
  ReleaseTower(&ownGroup);
  if (asked && !IsDesignatorImported(designator.c_str())) {
    pl3::Point origin = snapped;
    GetSymbolInstanceOrigin(instance, &origin.x, &origin.y);
    AddImportedSymbol(*w, instance, definition, designator, origin);
  }
  AddDesignatorGroup(instance, definition, designator, running);

  // The imported attributes.
  if (Tower* netHier = NewestChildTower(w->design, Type_NetHierGroup)) {
    Tower* imported = FindImportedSymbol(netHier, designator.c_str());
    if (imported) {
      CopyImportedAttributes(imported, instance);
      AddImportedAttributes(instance, definition, imported, running);
    }
    ReleaseTower(&imported);
    ReleaseTower(&netHier);
  }

  AddSymbolNetMapping(w->design, instance);
  AddInstanceToRatsnest(w->design, instance);
  ComponentBinMarkPlaced(instance);
  return instance;
}

pl3::Box* AcceptInsertion(pl3::Point point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return nullptr;
  const Tower* held = w->Selection;
  switch (CodeAt(held)) {
    case Type_SymbolDefinition: {
      Tower* instance = InsertSymbol(point, held);
      if (!instance) return nullptr;
      CollectMovingPointNets();
      RemoveMovingPoints(held);
      if (w->Display) PutEntityOnDisplayList(w->Display, instance);
      RecordUndoInsert(RefOf(instance), w->UndoStep);
      CloseUndoStep(*w, "Insert symbol");
      UpdateChangedNetMembers(0);
      ReleaseTower(&instance);
      return nullptr;
    }
    case Type_ShapeDefinition: {
      Tower* shape = InsertEmptyEntity(w->design, Type_Shape);
      RecordUndoInsert(RefOf(shape), w->UndoStep);
      CloseUndoStep(*w, "Insert shape");
      const ShapeLinkRecord link{RefOf(held), 0, w->RoutingLayer, {}};
      AddRecord(shape, Type_ShapeInfo, link);
      const pl3::Transform placed = PlacedTransform(*w, SnappedPoint(point));
      AddRecord(shape, Type_Transform, placed);
      pl3::Box box{};
      DefinitionBoxUnder(held, placed, &box);
      AddRecord(shape, Type_BoundingBox, box);
      ReleaseTower(&shape);
      return NewBox(box);
    }
    case Type_PadStackDefinition:
    case Type_PadStackInfo: {
      Tower* definition = CodeAt(held) == Type_PadStackInfo ? GetInfoTargetTower(held, nullptr) : DuplicateTower(held);
      PadStackInfoRecord info{};
      info.flags = (w->ViewFlags & kViewDrawOtherSide) ? kPadStackOtherSide : 0;
      info.xref = NextXrefNumber(w->design);
      info.definition = RefOf(definition);
      info.transform = PlacedTransform(*w, SnappedPoint(point));
      AddRecord(w->design, Type_PadStackInfo, info);
      w->CurrentPadStackInfo = nullptr;
      pl3::Box box{};
      const int boxed = definition ? DefinitionBoxUnder(definition, info.transform, &box) : 0;
      ReleaseTower(&definition);
      return boxed ? NewBox(box) : nullptr;
    }
    default:
      MessageBox(nullptr, "Unknown type for insertion", "AcceptInsertion", MB_ICONEXCLAMATION);
      return nullptr;
  }
}

pl3::Box* ModifyInsertion(pl3::Point point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return nullptr;
  Tower* held = w->Selection;
  if (Entity* e = TowerEntity(held)) e->flags &= static_cast<std::uint16_t>(~kSelectedFlags);
  pl3::Point snapped = point;
  SnapXY(&snapped.x, &snapped.y, 0);
  const pl3::Transform placed = PlacedTransform(*w, snapped);
  switch (CodeAt(held)) {
    case Type_SymbolInstance: {
      const std::uint8_t* old = ChildPayloadOfAtLeast(held, Type_SymbolInstanceInfo, sizeof(SymbolInstanceInfo));
      if (!old) {
        MessageBox(nullptr, "Error in retrieving symbol data", "Modify Insertion", MB_ICONEXCLAMATION);
        ClearSelection();
        return nullptr;
      }
      const std::uint32_t definition = ReadU32(old, offsetof(SymbolInstanceInfo, definition));
      DeleteChildEntities(held, Type_SymbolInstanceInfo);
      DeleteChildEntities(held, Type_Transform);
      AddRecord(held, Type_Transform, placed);
      const SymbolInstanceInfo info{(w->ViewFlags & kViewDrawOtherSide) ? kSymbolInstanceOtherSide : 0u, definition};
      AddRecord(held, Type_SymbolInstanceInfo, info);
      pl3::Box box{};
      return GetBox(held, &box) ? NewBox(box) : nullptr;
    }
    case Type_Shape: {
      AddRecord(held, Type_Transform, placed);
      Tower* definition = GetShapeDefinitionTower(held);
      pl3::Box box{};
      const int boxed = definition ? DefinitionBoxUnder(definition, placed, &box) : 0;
      AddRecord(held, Type_BoundingBox, box);
      if (auto* link = static_cast<std::uint8_t*>(GetEntityData(held, Type_ShapeInfo)))
        link[offsetof(ShapeLinkRecord, layer)] = w->RoutingLayer;
      ReleaseTower(&definition);
      return boxed ? NewBox(box) : nullptr;
    }
    case Type_PadStackInfo: {
      auto* info = reinterpret_cast<PadStackInfoRecord*>(PayloadOfAtLeast(TowerEntity(held), sizeof(PadStackInfoRecord)));
      if (!info) return nullptr;
      info->transform = placed;
      info->flags = static_cast<std::uint16_t>((info->flags & ~kPadStackOtherSide) |
                                               ((w->ViewFlags & kViewDrawOtherSide) ? kPadStackOtherSide : 0));
      RedrawView(w->Window);
      Tower* definition = GetInfoTargetTower(held, nullptr);
      pl3::Box box{};
      const int boxed = definition ? DefinitionBoxUnder(definition, placed, &box) : 0;
      ReleaseTower(&definition);
      return boxed ? NewBox(box) : nullptr;
    }
    default:
      return nullptr;
  }
}

namespace {

// A new layer entry for the routing layer with the held shape at the cursor.
Tower* InsertLayerEntry(CurrentWindowData& w, pl3::Transform* placed) {
  pl3::Point at = w.Cursor;
  SnapXY(&at.x, &at.y, 0);
  w.Cursor = at;
  *placed = PlacedTransform(w, at);
  PadStackLayerRecord entry{};
  entry.word = 1;
  entry.layer = w.RoutingLayer;
  entry.padKind = w.RoutingLayer == kPadStackInnerLayer ? kPadKindInner : kPadKindPlain;
  entry.shape = RefOf(w.Selection);
  entry.transform = *placed;
  return InsertEntity(w.design, sizeof entry, Type_PadStackLayerInfo, &entry);
}

pl3::Box* HeldShapeBox(CurrentWindowData& w, const pl3::Transform& placed, const char* caption) {
  pl3::Box box{};
  if (!DefinitionBoxUnder(w.Selection, placed, &box)) {
    MessageBox(nullptr, "Error - No bounding Box", caption, MB_ICONEXCLAMATION);
    return nullptr;
  }
  w.ViewFlags &= ~kViewShapePending;
  return NewBox(box);
}

}  // namespace

pl3::Box* InsertNewPadLayer() {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || !w->Selection) return nullptr;
  pl3::Transform placed{};
  Tower* entry = InsertLayerEntry(*w, &placed);
  RecordUndoInsert(RefOf(entry), w->UndoStep);
  CloseUndoStep(*w, "Insert shape");
  ReleaseTower(&entry);
  return HeldShapeBox(*w, placed, "InsertNewPadLayer");
}

pl3::Box* EditPadLayerShape(std::uint8_t layer, std::uint32_t options) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || !w->Selection) return nullptr;
  Tower* old = FindPadStackLayer(w->design, layer);
  if (!old) return nullptr;
  if ((options & 0x2) && !IsShapeStillReferenced(w->design, old)) {
    Tower* shape = GetInfoTargetTower(old, nullptr);
    if (shape && RefOf(shape) != RefOf(w->Selection)) {
      if (w->RememberedShape && RefOf(w->RememberedShape) == RefOf(shape)) ReleaseTower(&w->RememberedShape);
      DeleteEntity(shape);
    }
    ReleaseTower(&shape);
  }
  pl3::Transform placed{};
  Tower* entry = InsertLayerEntry(*w, &placed);
  Tower* recorded = RecordUndoModify(old, RefOf(entry), w->UndoStep);
  ReleaseTower(&recorded);
  CloseUndoStep(*w, "Edit shape");
  ReleaseTower(&entry);
  pl3::Box* box = HeldShapeBox(*w, placed, "InsertNewPadLayer");
  if (options & 0x1) DeleteEntity(old);
  ReleaseTower(&old);
  return box;
}

int AcceptPadName(HWND window, EntityRecord** /*pendingSlot*/) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->Selection || !w->PadLabelInHand) return 0;
  const Tower* pad = w->Selection;
  PadLabelHead* label = w->PadLabelInHand;
  const std::string name = reinterpret_cast<const char*>(label + 1);
  DeleteChildEntities(pad, Type_LabelHier);
  Tower* hier = InsertEmptyEntity(pad, Type_LabelHier);

  std::free(w->PadNameText);
  w->PadNameText = static_cast<char*>(std::malloc(name.size() + 1));
  if (w->PadNameText) {
    std::memcpy(w->PadNameText, name.c_str(), name.size() + 1);
    IncrementNameSuffix(&w->PadNameText, 1);
  }

  pl3::Box box{};
  GetBox(pad, &box);
  pl3::Point at{label->transform.tx, label->transform.ty};
  SnapXY(&at.x, &at.y, 0);
  const std::int32_t cx = static_cast<std::int32_t>(
      (static_cast<std::uint32_t>(box.xmin) + static_cast<std::uint32_t>(box.xmax)) / 2);
  const std::int32_t cy = static_cast<std::int32_t>(
      (static_cast<std::uint32_t>(box.ymin) + static_cast<std::uint32_t>(box.ymax)) / 2);
  label->transform.tx = at.x - cx;
  label->transform.ty = at.y - cy;
  PadLabelOffset = {label->transform.tx, label->transform.ty};
  Tower* stored = InsertEntity(hier, static_cast<std::uint32_t>(sizeof(PadLabelHead) + name.size() + 1), Type_Label,
                               label);
  ReleaseTower(&stored);
  ReleaseTower(&hier);
  std::free(w->PadLabelInHand);
  w->PadLabelInHand = nullptr;
  RedrawViewRect(window, &box, 1);
  return 0;
}

namespace {

// The point taken back through the placement (row vectors: x' = x a + y c + tx).
void ToItemFrame(const pl3::Transform& p, std::int32_t* x, std::int32_t* y) {
  constexpr double kOne = pl3::kFixedOne;
  const double a = p.a / kOne, b = p.b / kOne, c = p.c / kOne, d = p.d / kOne;
  const double det = a * d - b * c;
  if (det == 0) return;
  const double X = static_cast<double>(*x) - p.tx, Y = static_cast<double>(*y) - p.ty;
  *x = static_cast<std::int32_t>((X * d - Y * c) / det);
  *y = static_cast<std::int32_t>((Y * a - X * b) / det);
}

void AcceptCopyPlacement(HWND window, const Tower* node, const pl3::Transform* transform, bool attribute) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !TowerEntity(node)) return;
  DeleteChildEntities(node, Type_BoundingBox);
  DeleteChildEntities(node, Type_Offset);
  std::uint32_t extent[2] = {};
  pl3::Box* measured = attribute ? GetDesignatorTextBox(node, transform, extent)
                                 : GetDesignatorBox(node, transform, extent);
  pl3::Box box = measured ? *measured : pl3::Box{};
  std::free(measured);
  TowerEntity(node)->flags &= static_cast<std::uint16_t>(~kSelectedFlags);
  AddRecord(node, Type_BoundingBox, box);
  const std::int32_t offset[2] = {static_cast<std::int32_t>(extent[0]), static_cast<std::int32_t>(extent[1])};
  AddRecord(node, Type_Offset, offset);
  pl3::Box redraw = box;
  if (w->editorKind == kEditorPcb) {
    Tower* owner = GetEnclosingTower(node, Type_SymbolInstance);
    pl3::Box ownerBox{};
    if (owner && GetBox(owner, &ownerBox)) GrowBox(redraw, ownerBox);
    ReleaseTower(&owner);
  }
  RedrawViewRect(window, &redraw, 1);
  w->EditMode = Mode_Idle;
}

}  // namespace

void AcceptDesignatorPlacement(HWND window, const Tower* node, const pl3::Transform* transform) {
  AcceptCopyPlacement(window, node, transform, false);
}

void AcceptAttributeDisplayPlacement(HWND window, const Tower* node, const pl3::Transform* transform) {
  AcceptCopyPlacement(window, node, transform, true);
}

Tower* BuildDesignatorTextRecord(const Tower* item, const Tower* display, int ask) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !TowerEntity(item)) return nullptr;
  Tower* group = display ? GetEnclosingTower(display, kTypeAttributeGroup) : InsertEmptyEntity(item, kTypeAttributeGroup);
  if (!group) return nullptr;
  const bool instance = CodeAt(item) == Type_SymbolInstance;
  std::string name;
  if (ask) {
    char* chosen = instance ? ChooseItemAttribute(item) : ChooseAttributeName();
    if (chosen) name = chosen;
    std::free(chosen);
    if (name.empty()) {
      if (!display) DeleteEntity(group);
      ReleaseTower(&group);
      return nullptr;
    }
    if (instance) {
      Tower* designatorGroup = NewestChildTower(item, Type_Designator);
      const char* designator = designatorGroup ? GetDesignatorText(designatorGroup) : nullptr;
      if (const char* value = designator ? GetImportedValueByDesignator(designator, name.c_str()) : nullptr)
        AddText(group, kTypeAttributeValue, value);
      ReleaseTower(&designatorGroup);
    }
  } else {
    name = ChildText(group, kTypeAttributeName);
  }

  Tower* shown = InsertEmptyEntity(group, kTypeAttributeLocatorGroup);
  TowerEntity(shown)->flags |= kEntitySelected;
  Tower* nameNode = NewestChildTower(group, kTypeAttributeName);
  if (Entity* e = TowerEntity(nameNode)) e->flags |= kEntitySelected;
  ReleaseTower(&nameNode);
  if (ask) {
    AddText(group, kTypeAttributeName, name);
    nameNode = NewestChildTower(group, kTypeAttributeName);
    TowerEntity(nameNode)->flags |= kEntitySelected;
    ReleaseTower(&nameNode);
  }

  pl3::Transform t = pl3::kIdentityTransform;
  DesignatorInfo info{};
  const std::uint8_t* oldTransform = display ? ChildPayloadOfAtLeast(display, Type_Transform, sizeof t) : nullptr;
  const std::uint8_t* oldInfo = display ? ChildPayloadOfAtLeast(display, kTypeAttributeLocatorInfo, sizeof info) : nullptr;
  if (oldTransform) std::memcpy(&t, oldTransform, sizeof t);
  if (oldInfo) {
    std::memcpy(&info, oldInfo, sizeof info);
  } else {
    t.tx = w->Cursor.x;
    t.ty = w->Cursor.y;
    if (instance) {
      // The display lives in the instance's frame: the cursor taken back
      // through the placement keeps it shown at the cursor.
      pl3::Transform placement{};
      GetOwnTransform(&placement, item);
      ToItemFrame(placement, &t.tx, &t.ty);
    }
    const SizeTable* sizes = w->sizeTable;
    const std::uint32_t fonts = sizes ? (*sizes)[SizeKind_Fonts].count() : 0;
    info.display = static_cast<std::uint16_t>(DefaultJustification);
    if (fonts) {
      // With no font sizes there is no index to take: the explicit size serves.
      info.flags = kDesignatorSizeIndexed;
      info.sizeIndex = CurrentFontSizeIndex < fonts ? CurrentFontSizeIndex : fonts - 1;
    }
    info.layer = w->TextLayer;
    info.explicitSize = CurrentTextExplicitSize;
    info.font = kDesignatorFont;
  }
  AddRecord(shown, Type_Transform, t);
  AddRecord(shown, kTypeAttributeLocatorInfo, info);
  ReleaseTower(&group);
  return shown;
}

int CommitInsertionMode(HWND window, std::uint8_t mode, pl3::Point point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || mode < Mode_NewSymbol || mode > Mode_PlaceShape) return 0;
  const std::uint8_t savedAssist = w->AngleAssist;
  w->AngleAssist = 0;
  RecordDesignChange();
  pl3::Box* box = nullptr;
  switch (mode) {
    case Mode_NewSymbol: box = AcceptInsertion(point); break;
    case Mode_EditSymbol: box = ModifyInsertion(point); break;
    case Mode_AddNewShape: box = InsertNewPadLayer(); break;
    default: box = EditPadLayerShape(w->RoutingLayer, 1); break;
  }
  RecordDesignChange();
  w->AngleAssist = savedAssist;
  w->ViewFlags &= ~kViewDrawOtherSide;
  if (box) RedrawViewRect(window, box, 1);
  std::free(box);
  ClearSelection();
  FreeInsertionArray(*w);
  w->EditMode = Mode_Idle;
  w->SubMode = 0;
  SetSelectionAndOptionsMenus(0);
  return 1;
}

#include "objects/attribute_locators.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/attribute_services.h"
#include "objects/colours.h"
#include "objects/design_walks.h"
#include "objects/drawing_seams.h"
#include "objects/editor_seams.h"
#include "objects/entity_record.h"
#include "objects/io_ports.h"
#include "objects/item_sides.h"
#include "objects/locator_kinds.h"
#include "objects/locator_shapes.h"
#include "objects/payload_access.h"
#include "objects/selection_menus.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/gdi.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::int32_t kGhostRadiusLarge = 365760;  // 10 thou
constexpr std::int32_t kGhostRadiusSmall = 182880;  // 5 thou
constexpr std::int32_t kPlainDiscRadius = 182880;
constexpr std::uint32_t kNetNameGraphicColourClass = 24;

AttributeLocatorPayload& LocatorOf(EntityRecord* record) { return record->as<AttributeLocatorPayload>(); }

// Kinds that attach to pin ends and wires take the fine snap.
bool UsesFineSnap(std::uint16_t kind) {
  switch (kind) {
    case 1: case 3: case 4: case 5: case 8: case 9: case 13: case 15: return true;
    default: return false;
  }
}

pl3::Point SnapForKind(std::uint16_t kind, pl3::Point p) {
  if (UsesFineSnap(kind)) {
    SnapXYFine(&p.x, &p.y);
  } else {
    SnapXY(&p.x, &p.y, 0);
  }
  return p;
}

const Tower* ActiveDesign() { return ActiveWindowData ? ActiveWindowData->design : nullptr; }

// XOR-draws the ghost in the view's device context.
void GhostInView(void* view, const AttributeLocatorPayload& locator) {
  if (!view) return;
  HWND window = static_cast<HWND>(view);
  HDC dc = GetDC(window);
  if (!dc) return;
  GhostLocatorRecord(dc, &locator);
  ReleaseDC(window, dc);
}

void ReleasePendingTarget() {
  if (ActiveWindowData) ReleaseTower(&ActiveWindowData->PendingTarget);
}

// Deletes the pending target when it is the Attribute the locator made for itself.
void DeletePendingAttribute(std::uint32_t attributeId) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->PendingTarget) return;
  Entity* e = TowerEntity(w->PendingTarget);
  const auto* a = e && e->typeCode == Type_Attribute
                      ? reinterpret_cast<const AttributePayload*>(PayloadOfAtLeast(e, sizeof(AttributePayload)))
                      : nullptr;
  if (a && a->id == attributeId) DeleteEntity(w->PendingTarget);
  ReleaseTower(&w->PendingTarget);
}

// 1 when a locator of the kind stands at exactly (x, y) under the design.
bool LocatorStandsAt(const Tower* design, std::uint16_t kind, std::int32_t x, std::int32_t y) {
  Tower* locators = design ? GetChildTower(design, Type_AttributeLocator) : nullptr;
  bool found = false;
  while (!found && locators && FindNextEntity(locators)) {
    const auto* l = reinterpret_cast<const AttributeLocatorPayload*>(
        PayloadOfAtLeast(TowerEntity(locators), sizeof(AttributeLocatorPayload)));
    found = l && l->kind == kind && l->x == x && l->y == y;
  }
  ReleaseTower(&locators);
  return found;
}

// The distance between two points, truncated to an integer.
std::int64_t TruncatedDistance(pl3::Point a, pl3::Point b) {
  const std::int64_t dx = std::int64_t{a.x} - b.x;
  const std::int64_t dy = std::int64_t{a.y} - b.y;
  const std::uint64_t squared = static_cast<std::uint64_t>(dx * dx) + static_cast<std::uint64_t>(dy * dy);
  auto root = static_cast<std::uint64_t>(std::sqrt(static_cast<long double>(squared)));
  while (root * root > squared) --root;
  while ((root + 1) * (root + 1) <= squared) ++root;
  return static_cast<std::int64_t>(root);
}

// The net-name dialog with the proposed text: the net at the point, or
// nothing when there is none or several meet there. Non-zero on OK.
int AskNetName(const Tower* design, const AttributeLocatorPayload& locator, char* buffer) {
  buffer[0] = '\0';
  if (char* proposed = GetLocatorNetName(design, locator.x, locator.y)) {
    if (std::strcmp(proposed, "None") != 0 && std::strcmp(proposed, "Conflict!") != 0) {
      std::strncpy(buffer, proposed, kNetNameBufferSize - 1);
      buffer[kNetNameBufferSize - 1] = '\0';
    }
    std::free(proposed);
  }
  return ShowNetNameDialog(buffer);
}

// A new attribute for the locator being placed, kept as the pending target.
void MakePendingAttribute(EntityRecord* record, std::uint32_t kind, const char* value) {
  AttributeLocatorPayload& l = LocatorOf(record);
  l.attributeId = NewAttributeId();
  Tower* attribute = InsertAttributeWithId(ActiveDesign(), kind, value, 0, l.attributeId);
  ReleasePendingTarget();
  ActiveWindowData->PendingTarget = attribute;
}

std::string AttributeValueText(const Tower* attribute) {
  std::string text;
  GetAttributeValueText(attribute, &text);
  return text;
}

void MarkDesignChangedAfter(Tower* stored) {
  if (stored) RecordDesignChange();
}

COLORREF PenColourOfClass(std::uint32_t colourClass) {
  const std::uint32_t c = NamedColourAt(colourClass).colour;
  return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

}  // namespace

int StartNewLocator(void* view, std::unique_ptr<EntityRecord>& record, pl3::Point cursor, std::uint16_t kind) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return 0;
  record = NewEntityRecord();
  const pl3::Point at = SnapForKind(kind, cursor);
  InitialiseEntityRecord(record.get(), Type_AttributeLocator, &w->PlacementTransform,
                         static_cast<std::uint8_t>(GetTypeColour(Type_AttributeLocator)));
  AttributeLocatorPayload& l = LocatorOf(record.get());
  l.x = at.x;
  l.y = at.y;
  l.textX = 0;
  l.textY = 0;
  l.kind = kind;
  l.style1 = 0;
  l.style2 = 0;
  l.portType = 0;
  l.markedEntity = 0;
  ApplyLocatorDefaults(&l);  // only the keeping kinds take them
  l.head.sizeFlags = kSizeByIndex;
  l.head.sizeIndex = GetCurrentSizeIndex(Type_AttributeLocator, kind);
  w->EditMode = kEditModePlacingLocator;
  if (kind == kLocatorNamedIOPort) MakePendingAttribute(record.get(), kLocatorNamedIOPort, "NULL");
  if (kind != kLocatorGraphicNetName) GhostInView(view, l);
  SetInsertionType(Type_AttributeLocator);
  SetSelectionAndOptionsMenus(LocatorMenuKind(kind));
  return 1;
}

void MoveNewLocator(void* view, EntityRecord* record, pl3::Point cursor) {
  if (!record) return;
  AttributeLocatorPayload& l = LocatorOf(record);
  const pl3::Point at = SnapForKind(l.kind, cursor);
  const AttributeLocatorPayload old = l;
  l.x = at.x;
  l.y = at.y;
  GhostInView(view, old);
  GhostInView(view, l);
}

void DragLocatorText(void* view, EntityRecord* record, pl3::Point cursor) {
  if (!record) return;
  AttributeLocatorPayload& l = LocatorOf(record);
  if (TruncatedDistance(cursor, {l.x, l.y}) > kLocatorTextDragReach) return;
  pl3::Point at = cursor;
  SnapXY(&at.x, &at.y, 0);
  pl3::Point oldView = {l.textX, l.textY};
  pl3::Point newView = at;
  pl3::WorldToView(oldView.x, oldView.y);
  pl3::WorldToView(newView.x, newView.y);
  const AttributeLocatorPayload old = l;
  l.textX = at.x;
  l.textY = at.y;
  if (oldView.x == newView.x && oldView.y == newView.y) return;
  GhostInView(view, old);
  GhostInView(view, l);
}

LocatorClickResult AcceptLocatorClick(void* view, EntityRecord* record, pl3::Point cursor) {
  CurrentWindowData* w = ActiveWindowData;
  if (!record || !w) return kLocatorClickStay;
  AttributeLocatorPayload& l = LocatorOf(record);
  const pl3::Point at = SnapForKind(l.kind, cursor);
  if (at.x != l.x || at.y != l.y) MoveNewLocator(view, record, at);
  switch (l.kind) {
    case kLocatorPinNumber:
    case kLocatorPinName:
      if (LocatorStandsAt(w->design, l.kind, l.x, l.y)) {
        MessageBeep(MB_ICONEXCLAMATION);
        return kLocatorClickStay;
      }
      w->EditMode = kEditModeLocatorText;
      return kLocatorClickStay;
    case kLocatorNetName: {
      char name[kNetNameBufferSize];
      if (!AskNetName(w->design, l, name)) return kLocatorClickStay;
      MakePendingAttribute(record, kLocatorNetName, name);
      w->EditMode = kEditModeLocatorText;
      return kLocatorClickStay;
    }
    case kLocatorNamedIOPort: {
      char name[kNetNameBufferSize];
      if (!AskNetName(w->design, l, name)) return kLocatorClickCancel;
      DeletePendingAttribute(l.attributeId);  // the "NULL" attribute made at the start
      MakePendingAttribute(record, kLocatorNamedIOPort, name);
      return kLocatorClickInsert;
    }
    case kLocatorDesignator:
    case kLocatorIOPort:
    case kLocatorValue:
    case kLocatorGraphicNetName:
    case kLocatorUserAttribute:
    case kLocatorDisplayNetName:
    case kLocatorDisplayGlobalNets:
      return kLocatorClickInsert;
    default:
      w->EditMode = kEditModeLocatorText;
      return kLocatorClickStay;
  }
}

void SetLocatorTarget(EntityRecord* record, const Tower* target) {
  if (!record) return;
  Entity* e = TowerEntity(target);
  LocatorOf(record).markedEntity = e ? NodeRefOf(e) : 0;
}

Tower* InsertLocatorWithUndo(const LocatorPayload& locator) {
  auto record = NewEntityRecord();
  InitialiseEntityRecord(record.get(), Type_AttributeLocator, &locator.head.transform, locator.head.layer);
  LocatorOf(record.get()) = locator;
  return InsertEntityWithUndo(record.get(), ActiveDesign());
}

namespace {

// Inserts the record under the active design with undo; 1 when stored.
int StoreWithUndo(EntityRecord* record, bool markChanged) {
  Tower* stored = InsertEntityWithUndo(record, ActiveDesign());
  if (markChanged) MarkDesignChangedAfter(stored);
  const int ok = stored ? 1 : 0;
  ReleaseTower(&stored);
  return ok;
}

void RememberPinTextDefaults(const AttributeLocatorPayload& l) {
  PinTextDefaults& d = l.kind == kLocatorPinNumber ? PinNumberTextDefaults : PinNameTextDefaults;
  d.x = static_cast<std::int32_t>(static_cast<std::uint32_t>(l.textX) - static_cast<std::uint32_t>(l.x));
  d.y = static_cast<std::int32_t>(static_cast<std::uint32_t>(l.textY) - static_cast<std::uint32_t>(l.y));
  d.justification = l.style1 | l.style2;
  d.rotation = l.head.transform;
}

void FitPortWhenAsked(EntityRecord* record) {
  if (IOPortOrientationOption) FitIOPortToWires(&LocatorOf(record), ActiveDesign());
}

}  // namespace

int InsertPinTextLocator(EntityRecord* record) {
  if (!record) return 0;
  RememberPinTextDefaults(LocatorOf(record));
  return StoreWithUndo(record, true);
}

int InsertNetNameLocator(EntityRecord* record) {
  if (!record) return 0;
  Tower* stored = InsertEntityWithUndo(record, ActiveDesign());
  ReleasePendingTarget();
  MarkDesignChangedAfter(stored);
  const int ok = stored ? 1 : 0;
  ReleaseTower(&stored);
  return ok;
}

int InsertMarkedChangeLocator(EntityRecord* record) { return record ? StoreWithUndo(record, true) : 0; }

int InsertIOPortLocator(EntityRecord* record) {
  if (!record) return 0;
  AttributeLocatorPayload& l = LocatorOf(record);
  l.attributeId = NewAttributeId();
  FitPortWhenAsked(record);
  Tower* stored = InsertEntityWithUndo(record, ActiveDesign());
  if (!stored) return 0;
  ReleaseTower(&stored);
  Tower* attribute = InsertAttributeWithId(ActiveDesign(), kLocatorIOPort, "DUMMY", 0, l.attributeId);
  if (attribute) {
    char* net = GetNetNameAtPoint(ActiveDesign(), l.x, l.y);
    const char* text = net ? net : "";
    DeleteChildEntities(attribute, Type_AttributeValue);
    Tower* value =
        InsertEntity(attribute, static_cast<std::uint32_t>(std::strlen(text) + 1), Type_AttributeValue, text);
    ReleaseTower(&value);
    std::free(net);
    ReleaseTower(&attribute);
  }
  RecordDesignChange();
  return 1;
}

int InsertNamedIOPortLocator(EntityRecord* record) {
  if (!record) return 0;
  FitPortWhenAsked(record);
  Tower* stored = InsertEntityWithUndo(record, ActiveDesign());
  ReleasePendingTarget();
  const int ok = stored ? 1 : 0;
  ReleaseTower(&stored);
  return ok;
}

int InsertDisplayGlobalNetsLocator(EntityRecord* record) {
  if (!record) return 0;
  Tower* stored = InsertEntityWithUndo(record, ActiveDesign());
  if (stored && PendingLocatorName) {
    Tower* name = InsertEntity(stored, static_cast<std::uint32_t>(std::strlen(PendingLocatorName) + 1),
                               Type_GlobalNetListName, PendingLocatorName);
    ReleaseTower(&name);
    FreePendingLocatorName();
  }
  MarkDesignChangedAfter(stored);
  const int ok = stored ? 1 : 0;
  ReleaseTower(&stored);
  return ok;
}

int InsertPlainLocator(EntityRecord* record) {
  if (!record) return 0;
  LocatorOf(record).attributeId = NewAttributeId();
  return StoreWithUndo(record, false);
}

int InsertGraphicNetNameLocator(EntityRecord* record) {
  if (!record) return 0;
  Tower* stored = InsertGraphicNetName(LocatorOf(record));
  const int ok = stored ? 1 : 0;
  ReleaseTower(&stored);
  return ok;
}

int InsertUserAttributeLocator(EntityRecord* record) {
  if (!record || !ActiveWindowData) return 0;
  CurrentWindowData* w = ActiveWindowData;
  const AttributeLocatorPayload& l = LocatorOf(record);
  Tower* stored = nullptr;
  if (w->editorKind == kEditorSchematic && w->PendingTarget) {
    stored = InsertUserLocatorOnSymbol(l, w->PendingTarget, PendingLocatorName);
    ReleasePendingTarget();
  } else {
    Tower* referenced = l.markedEntity ? ReferencedDesignAttribute(l.markedEntity) : nullptr;
    stored = InsertUserLocator(l, referenced, PendingLocatorName);
    ReleaseTower(&referenced);
  }
  FreePendingLocatorName();
  const int ok = stored ? 1 : 0;
  ReleaseTower(&stored);
  return ok;
}

int RunLocatorInsertHandler(EntityRecord* record) {
  if (!record) return 0;
  switch (LocatorOf(record).kind) {
    case kLocatorPinNumber:
    case kLocatorPinName:
      return InsertPinTextLocator(record);
    case kLocatorNetName:
      return InsertNetNameLocator(record);
    case kLocatorDesignator:
    case kLocatorValue:
    case kLocatorDisplayNetName:
      return InsertMarkedChangeLocator(record);
    case kLocatorIOPort:
      return InsertIOPortLocator(record);
    case kLocatorNamedIOPort:
      return InsertNamedIOPortLocator(record);
    case kLocatorDisplayGlobalNets:
      return InsertDisplayGlobalNetsLocator(record);
    case kLocatorGraphicNetName:
      return InsertGraphicNetNameLocator(record);
    case kLocatorUserAttribute:
      return InsertUserAttributeLocator(record);
    default:
      return InsertPlainLocator(record);
  }
}

void CancelLocatorPlacing(const EntityRecord* record) {
  if (!ActiveWindowData) return;
  const auto* l = record ? reinterpret_cast<const AttributeLocatorPayload*>(record->payload) : nullptr;
  if (l && (l->kind == kLocatorNetName || l->kind == kLocatorNamedIOPort)) {
    DeletePendingAttribute(l->attributeId);
    return;
  }
  ReleasePendingTarget();
}

int DeleteLocatorWithAttribute(Tower* locator) {
  Entity* e = TowerEntity(locator);
  const auto* l = e && e->typeCode == Type_AttributeLocator
                      ? reinterpret_cast<const AttributeLocatorPayload*>(
                            PayloadOfAtLeast(e, sizeof(AttributeLocatorPayload)))
                      : nullptr;
  if (!l) return 0;
  if (Tower* attribute = l->attributeId ? FindDesignAttributeById(l->attributeId) : nullptr) {
    RecordDeletionUndo(attribute);
    DeleteEntity(attribute);
    ReleaseTower(&attribute);
  }
  RecordDeletionUndo(locator);
  DeleteEntity(locator);
  return 1;
}

std::int32_t LocatorGhostRadius(std::uint16_t kind) {
  switch (kind) {
    case 6: case 9: case 10: case 14: case 15: case 16: case 17: return kGhostRadiusSmall;
    default: return kGhostRadiusLarge;
  }
}

GhostText GetLocatorGhostText(const AttributeLocatorPayload* locator) {
  GhostText g;
  const bool hasTextPoint = locator->textX != 0 || locator->textY != 0;
  const auto placed = [&](std::string text) {
    if (hasTextPoint) g = {GhostTextPlacement::Placed, std::move(text)};
  };
  switch (locator->kind) {
    case kLocatorPinNumber:
      placed("Pin");
      break;
    case kLocatorNetName: {
      Tower* attribute = locator->attributeId ? FindDesignAttributeById(locator->attributeId) : nullptr;
      placed(attribute ? AttributeValueText(attribute) : "Name");
      ReleaseTower(&attribute);
      break;
    }
    case kLocatorPinName: {
      Tower* pinName = FindPinAttributeAt(ActiveDesign(), locator->x, locator->y, kLocatorPinName);
      std::string text = pinName ? AttributeValueText(pinName) : "";
      ReleaseTower(&pinName);
      placed(text.empty() ? "Name" : text);
      break;
    }
    case kLocatorDesignator:
      g = {GhostTextPlacement::AtPoint, "Designator"};
      break;
    case kLocatorValue:
      g = {GhostTextPlacement::AtPoint, "Value"};
      break;
    case kLocatorDisplayNetName:
      g = {GhostTextPlacement::AtPoint, "Net Name"};
      break;
    case kLocatorIOPort:
    case kLocatorGraphicNetName:
    case kLocatorNamedIOPort:
      g.placement = GhostTextPlacement::Shape;
      break;
    case kLocatorUserAttribute: {
      g = {GhostTextPlacement::Placed, GetPlacingUserLocatorText(*locator)};
      break;
    }
    case kLocatorDisplayGlobalNets: {
      Tower* schematic = ActiveDesign() ? GetAncestorTower(ActiveDesign(), Type_Schematic) : nullptr;
      if (schematic && LastLevel(schematic).typeCode != Type_Schematic) ReleaseTower(&schematic);
      char* name = GetGlobalNetListName(schematic);
      ReleaseTower(&schematic);
      g = {GhostTextPlacement::Placed, name ? name : ""};
      std::free(name);
      break;
    }
    default: {
      const bool modeAllows = !ActiveWindowData || ActiveWindowData->EditMode != 39 ||
                              EditSelectionTestPasses();
      if (modeAllows) placed(GetLocatorKindName(locator->kind));
      break;
    }
  }
  return g;
}

LocatorTextSpec LocatorTextOf(const AttributeLocatorPayload* locator, const char* text) {
  LocatorTextSpec spec{};
  spec.text = text;
  spec.anchor = {locator->x, locator->y};
  spec.at = {locator->textX, locator->textY};
  spec.sizeByIndex = (locator->head.sizeFlags & kSizeByIndex) ? 1 : 0;
  spec.size = spec.sizeByIndex ? static_cast<std::int32_t>(locator->head.sizeIndex) : locator->textSize;
  spec.justification = AdjustJustificationForTransform(locator->head.transform, locator->style1) |
                       AdjustJustificationForTransform(locator->head.transform, locator->style2);
  spec.style = locator->word92;
  spec.rotation = locator->head.transform;
  return spec;
}

namespace {

// The text at the locator point of kinds 6, 10 and 16, as the text helpers take it.
PlacedText PlacedTextOf(const LocatorTextSpec& spec) {
  return PlacedText{spec.text, spec.anchor.x, spec.anchor.y, spec.justification & 48, spec.justification & 12,
                    spec.size, static_cast<std::uint32_t>(spec.sizeByIndex ? 1 : 0)};
}

// The shape ghost of kinds 9 and 15 (the IO port outline) and 13 (the net-name graphic).
void GhostLocatorShape(void* dc, const AttributeLocatorPayload& locator) {
  if (locator.kind != kLocatorGraphicNetName) return GhostIOPortLocator(dc, locator);
  Tower* schematic = ActiveDesign() ? GetAncestorTower(ActiveDesign(), Type_Schematic) : nullptr;
  Tower* symbol = FindGraphicNetNameSymbol(schematic, locator.markedEntity);
  if (symbol) GhostGraphicNetName(dc, locator, symbol);
  ReleaseTower(&symbol);
  ReleaseTower(&schematic);
}

}  // namespace

void GhostLocatorRecord(void* dc, const AttributeLocatorPayload* locator) {
  if (!dc || !locator) return;
  HDC hdc = static_cast<HDC>(dc);
  std::int32_t vx = locator->x, vy = locator->y;
  pl3::WorldToView(vx, vy);
  const std::int32_t r = pl3::ScaleToView(LocatorGhostRadius(locator->kind));
  const std::uint32_t colourClass =
      locator->kind == kLocatorGraphicNetName ? kNetNameGraphicColourClass : locator->head.layer;
  HPEN pen = CreatePen(PS_SOLID, 1, PenColourOfClass(colourClass));
  const int oldRop = SetROP2(hdc, R2_XORPEN);
  HPEN oldPen = SelectObject(hdc, pen);
  HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(HOLLOW_BRUSH));
  Ellipse(hdc, vx - r, vy - r, vx + r + 1, vy + r + 1);
  // The cross stays inside the circle and its arms do not meet twice at the
  // centre: under XOR a pixel drawn twice would vanish.
  MoveToEx(hdc, vx - r + 1, vy, nullptr);
  LineTo(hdc, vx + r, vy);
  MoveToEx(hdc, vx, vy - r + 1, nullptr);
  LineTo(hdc, vx, vy);
  MoveToEx(hdc, vx, vy + 1, nullptr);
  LineTo(hdc, vx, vy + r);
  SelectObject(hdc, oldBrush);
  SelectObject(hdc, oldPen);
  SetROP2(hdc, oldRop);
  DeleteObject(pen);

  CurrentWindowData* w = ActiveWindowData;
  if (!w || !(w->WalkFlags & kDrawLocatorText)) return;
  const GhostText g = GetLocatorGhostText(locator);
  const LocatorTextSpec spec = LocatorTextOf(locator, g.text.c_str());
  switch (g.placement) {
    case GhostTextPlacement::Placed:
      DrawPlacedString(dc, *locator, spec.text, spec.at);
      break;
    case GhostTextPlacement::AtPoint:
      DrawTextAt(dc, PlacedTextOf(spec));
      break;
    case GhostTextPlacement::Shape: {
      // The net-name graphic draws its own texts: locator texts are off meanwhile.
      const std::uint32_t saved = w->WalkFlags;
      if (locator->kind == kLocatorGraphicNetName) w->WalkFlags &= ~kDrawLocatorText;
      GhostLocatorShape(dc, *locator);
      w->WalkFlags = saved;
      break;
    }
    case GhostTextPlacement::None:
      break;
  }
}

void DrawAttributeLocator(const AttributeLocatorPayload* locator, const pl3::Transform* parent, int pass,
                          const Tower* stored) {
  if (!locator) return;
  // The walk publishes the entity it draws: a locator drawn by type alone
  // finds its owner and children there.
  const Tower* current = pl3::g_raster.currentEntity;
  if (!stored && current && TowerEntity(current) && TowerEntity(current)->typeCode == Type_AttributeLocator)
    stored = current;
  AttributeLocatorPayload copy = *locator;
  CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t saved = w ? w->WalkFlags : 0;
  const std::uint32_t savedFill = pl3::g_raster.fillValue;
  std::int32_t originX = 0;
  if (w && (w->WalkFlags & kDrawMirrored) && stored && ContainingSymbolOriginX(stored, &originX)) {
    const bool noTextPoint = copy.textX == 0 && copy.textY == 0;
    MirrorTextData(&copy, originX);
    if (noTextPoint) copy.textX = 0;  // (0, 0) means none: the mirror must not invent one
  }
  if (w) w->WalkFlags |= kDrawLocatorText;
  const pl3::Transform& placement = parent ? *parent : pl3::kIdentityTransform;
  if (IsHandledLocatorKind(copy.kind)) {
    DrawLocatorKind(nullptr, stored, copy, placement, static_cast<std::uint32_t>(pass));
  } else {
    // A plain kind: a filled half disc (a half-turn arc as wide as its
    // radius) at the locator point, and its name.
    pl3::ArcLayout disc{};
    disc.width = kPlainDiscRadius;
    disc.radius = kPlainDiscRadius / 2;
    disc.centreX = copy.x;
    disc.centreY = copy.y;
    disc.startX = kPlainDiscRadius / 2;
    disc.endX = -kPlainDiscRadius / 2;
    pl3::TransformAndDrawArc(&disc, &placement);
    DrawLocatorKindLabel(nullptr, copy, GetLocatorTextSize(copy));
  }
  pl3::g_raster.fillValue = savedFill;
  if (w) w->WalkFlags = saved;
}

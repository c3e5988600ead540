#include "objects/locator_kinds.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/transform.h"
#include "objects/attribute_locators.h"
#include "objects/attribute_services.h"
#include "objects/design_helpers.h"
#include "objects/design_walks.h"
#include "objects/designators.h"
#include "objects/drawing_seams.h"
#include "objects/io_ports.h"
#include "objects/locator_dispatch.h"
#include "objects/locator_shapes.h"
#include "objects/payload_access.h"
#include "objects/real_size.h"
#include "objects/type_codes.h"
#include "platform/gdi.h"
#include "store/seams.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeFonts = 5;  // ReturnRealSize's type for the Fonts list
constexpr std::uint8_t kLocatorDotClass = 22;  // the dot of a locator in the library editor
constexpr std::uint32_t kPlainLabelFill = 2;   // the fill value of a plain kind's label
constexpr std::uint32_t kWalkHidePinNumbers = 0x40000;  // walk flag: no pin-number texts in schematics

std::uint32_t EditorKind() { return ActiveWindowData ? ActiveWindowData->editorKind : 0; }

// A bounded copy of the newest child text of the code: up to its NUL or the
// end of its record.
bool ChildText(const Tower* t, std::uint16_t code, std::string* text) {
  Tower* child = t ? GetChildTower(t, code) : nullptr;
  Entity* e = child ? FindNextEntity(child) : nullptr;
  ReleaseTower(&child);
  if (!e) return false;
  const char* bytes = reinterpret_cast<const char*>(EntityPayload(e));
  text->assign(bytes, strnlen(bytes, e->payloadSize));
  return true;
}

// The value part of a user attribute's text ("name" NUL "value"), bounded by
// its record; the name alone goes to *name.
void SplitUserText(const Tower* attribute, std::string* name, std::string* value) {
  name->clear();
  value->clear();
  Tower* child = GetChildTower(attribute, Type_AttributeValue);
  Entity* e = child ? FindNextEntity(child) : nullptr;
  ReleaseTower(&child);
  if (!e) return;
  const char* bytes = reinterpret_cast<const char*>(EntityPayload(e));
  const std::size_t n = strnlen(bytes, e->payloadSize);
  name->assign(bytes, n);
  if (n + 1 < e->payloadSize) value->assign(bytes + n + 1, strnlen(bytes + n + 1, e->payloadSize - n - 1));
}

}  // namespace

// The entity the locator's stored reference (88) names, looked for among the
// attributes of the active design; never by trusting the stored address.
Tower* ReferencedDesignAttribute(std::uint32_t reference) {
  return FindChildByReference(ActiveWindowData ? ActiveWindowData->design : nullptr, Type_Attribute, reference);
}

bool IsTextKindWithSmallDot(std::uint32_t kind) {
  return kind == kLocatorDesignator || kind == kLocatorValue || kind == kLocatorUserAttribute ||
         kind == kLocatorDisplayNetName || kind == kLocatorDisplayGlobalNets;
}

namespace {

// The owning symbol's Transform (208), identity when it has none.
pl3::Transform OwnerTransform(const Tower* owner) {
  pl3::Transform t = pl3::kIdentityTransform;
  const std::uint8_t* bytes = ChildPayloadOfAtLeast(owner, kTypeSymbolTransform, sizeof t);
  if (bytes) std::memcpy(&t, bytes, sizeof t);
  return t;
}

bool IsMirroredSymbol(const Tower* owner) {
  const std::uint8_t* record = ChildPayloadOfAtLeast(owner, Type_SchematicSymbol, 4);
  return record && (ReadU32(record, 0) & 1);
}

// The locator point as the owning symbol places it: mirrored about the
// symbol first when the symbol is mirrored, then under its Transform.
pl3::Point PointUnderSymbol(const LocatorPayload& p, const Tower* owner) {
  std::int32_t x = p.x, y = p.y;
  if (IsMirroredSymbol(owner)) x = -x;
  const pl3::Transform t = OwnerTransform(owner);
  pl3::TransformSignedPoint(&t, x, y);
  return {x, y};
}

std::int32_t DotHalfSide(std::uint32_t kind) { return IsTextKindWithSmallDot(kind) ? kLocatorSmallDot : kLocatorLargeDot; }

pl3::Box SquareAround(pl3::Point at, std::int32_t half) { return {at.x - half, at.y - half, at.x + half, at.y + half}; }

// The measured text box, grown by the text size per unit; false when the text
// cannot be measured.
bool GrownTextBox(const LocatorText& text, pl3::Box* box) { return GetLocatorTextBox(text, box) != 0; }

// Set while the walker keeps the attribute texts of symbols hidden.
bool TextsSuppressed() { return (pl3::SuppressSymbolTextsFlag & 1) != 0; }

// A filled dot of the radius at a point in a colour class, under the
// placement: a circle record drawn by the drawing code.
void DrawDot(pl3::Point at, std::int32_t radius, std::uint8_t colourClass, const pl3::Transform& placement) {
  CirclePayload dot{};
  dot.head.layer = colourClass;
  dot.head.transform = pl3::kIdentityTransform;
  dot.size = radius;
  dot.centreX = at.x;
  dot.centreY = at.y;
  DrawEntityByType(&dot, Type_Circle, &placement, 0);
}

// The text point of the kinds that keep one (68/72); the locator point when none is set.
pl3::Point TextPointOf(const LocatorPayload& p) {
  if (p.textX == 0 && p.textY == 0) return {p.x, p.y};
  return {p.textX, p.textY};
}

// The inverse of a placement's orientation: its linear part transposed (the
// orientations of placed symbols are quarter turns and mirrors), no translation.
pl3::Transform InverseOrientation(const pl3::Transform& t) { return {t.a, t.c, t.b, t.d, 0, 0}; }

void StoreNameChild(const Tower* locator, const std::string& name) {
  Tower* child = InsertEntity(locator, static_cast<std::uint32_t>(name.size() + 1), Type_UserAttributeName, name.c_str());
  ReleaseTower(&child);
}

bool UsesTextPoint(std::uint32_t kind) {
  return kind == kLocatorPinNumber || kind == kLocatorNetName || kind == kLocatorPinName;
}

}  // namespace

LocatorPayload ReadLocatorPayload(const Tower* locator) {
  LocatorPayload p{};
  const std::uint8_t* bytes = locator ? PayloadOfAtLeast(TowerEntity(locator), sizeof p) : nullptr;
  if (bytes) std::memcpy(&p, bytes, sizeof p);
  return p;
}

Tower* LocatorOwner(const Tower* locator) {
  if (!locator || locator->lastLevel == 0) return nullptr;
  return DuplicateTowerToLevel(locator, static_cast<std::uint8_t>(locator->lastLevel - 1));
}

void InflateBox(pl3::Box* box, std::int32_t d) {
  box->xmin -= d;
  box->ymin -= d;
  box->xmax += d;
  box->ymax += d;
}

void UniteBox(pl3::Box* box, const pl3::Box& other) {
  if (other.xmin == -1 && other.ymin == -1 && other.xmax == 0 && other.ymax == 0) return;
  if (box->xmin == -1 && box->ymin == -1 && box->xmax == 0 && box->ymax == 0) {
    *box = other;
    return;
  }
  box->xmin = std::min(box->xmin, other.xmin);
  box->ymin = std::min(box->ymin, other.ymin);
  box->xmax = std::max(box->xmax, other.xmax);
  box->ymax = std::max(box->ymax, other.ymax);
}

std::int32_t GetLocatorTextSize(const LocatorPayload& locator) {
  if (locator.head.sizeFlags & kSizeByIndex) return ReturnRealSize(kTypeFonts, locator.head.sizeIndex, 0);
  return locator.textSize;
}

LocatorText MakeLocatorText(const LocatorPayload& locator, const std::string& text, pl3::Point at) {
  LocatorText t;
  t.text = text;
  t.x = at.x;
  t.y = at.y;
  t.size = GetLocatorTextSize(locator);
  t.sizeByIndex = (locator.head.sizeFlags & kSizeByIndex) ? 1 : 0;
  t.sizeIndex = locator.head.sizeIndex;
  t.style = locator.word92;
  t.colourClass = locator.head.layer;
  const pl3::Transform& r = locator.head.transform;
  t.justification = AdjustJustificationForTransform(r, locator.style1) | AdjustJustificationForTransform(r, locator.style2);
  GetReadableTextTransform(&t.rotation, r);
  return t;
}

bool CopyAttributeValue(const char* value, std::string* text) {
  if (!value) return false;
  *text = value;
  return true;
}

bool GetAttributeValueText(const Tower* attribute, std::string* text) {
  return attribute && ChildText(attribute, Type_AttributeValue, text);
}

std::string GetLocatorNameChild(const Tower* locator, std::uint16_t code) {
  std::string name;
  ChildText(locator, code, &name);
  return name;
}

std::string GetUserLocatorText(const Tower* referencedAttribute, int hasReference, const char* name,
                               const Tower* lookupItem) {
  const std::string given = name ? name : "";
  if (hasReference) {
    const std::uint8_t* record = referencedAttribute ? PayloadOfAtLeast(TowerEntity(referencedAttribute), 4) : nullptr;
    if (!record || ReadU32(record, 0) != kAttributeUser) return "??User??";
    std::string attributeName, value;
    SplitUserText(referencedAttribute, &attributeName, &value);
    if (value.empty()) return "??" + attributeName + "??";
    return value;
  }
  if (!lookupItem) return "??" + given + "??";
  char* text = GetUserAttributeText(lookupItem, given.c_str());
  if (!text) return "??" + given + "??";
  std::string result = text;
  std::free(text);
  return result;
}

namespace {

// The item a User locator's name is looked up on: the owning symbol, or the
// Schematic when the owner is a Page; in the library editor the owning item.
Tower* UserLookupItem(const Tower* locator) {
  Tower* owner = LocatorOwner(locator);
  if (owner && EditorKind() == kEditorSchematic && LastLevel(owner).typeCode == Type_Page) {
    Tower* schematic = GetAncestorTower(owner, Type_Schematic);
    ReleaseTower(&owner);
    return schematic;
  }
  return owner;
}

std::string UserTextOfPlaced(const Tower* locator, const LocatorPayload& p) {
  if (p.markedEntity) {
    Tower* attribute = ReferencedDesignAttribute(p.markedEntity);
    std::string text = GetUserLocatorText(attribute, 1, nullptr, nullptr);
    ReleaseTower(&attribute);
    return text;
  }
  Tower* item = UserLookupItem(locator);
  const std::string name = GetLocatorNameChild(locator, Type_UserAttributeName);
  std::string text = GetUserLocatorText(nullptr, 0, name.c_str(), item);
  ReleaseTower(&item);
  return text;
}

}  // namespace

std::string GetPlacingUserLocatorText(const LocatorPayload& p) {
  if (p.markedEntity) {
    Tower* attribute = ReferencedDesignAttribute(p.markedEntity);
    std::string text = GetUserLocatorText(attribute, 1, nullptr, nullptr);
    ReleaseTower(&attribute);
    return text;
  }
  const CurrentWindowData* w = ActiveWindowData;
  const char* name = PendingLocatorName ? PendingLocatorName : "";
  if (!w) return GetUserLocatorText(nullptr, 0, name, nullptr);
  if (w->PendingTarget) return GetUserLocatorText(nullptr, 0, name, w->PendingTarget);
  Tower* schematic = EditorKind() == kEditorSchematic && w->design ? GetAncestorTower(w->design, Type_Schematic) : nullptr;
  std::string text = GetUserLocatorText(nullptr, 0, name, schematic ? schematic : w->design);
  ReleaseTower(&schematic);
  return text;
}

namespace {

std::string ValueTextOf(const Tower* owner) {
  if (!owner) return "??VALUE??";
  char* text = GetUserAttributeText(owner, "VALUE");
  std::string result = text ? text : "??VALUE??";
  std::free(text);
  return result;
}

bool OwnerAttributeWithLocatorId(const Tower* locator, const LocatorPayload& p, std::string* text) {
  Tower* owner = LocatorOwner(locator);
  Tower* attribute = FindAttributeById(owner, p.attributeId);
  const bool found = GetAttributeValueText(attribute, text);
  ReleaseTower(&attribute);
  ReleaseTower(&owner);
  return found;
}

bool LibraryText(const Tower* locator, const LocatorPayload& p, std::string* text) {
  switch (p.kind) {
    case kLocatorPinNumber: *text = "Pin"; return true;
    case kLocatorPinName: {
      Tower* owner = LocatorOwner(locator);
      Tower* attribute = FindPinAttributeAt(owner, p.x, p.y, kAttributePinName);
      if (!GetAttributeValueText(attribute, text) || text->empty()) *text = "Name";
      ReleaseTower(&attribute);
      ReleaseTower(&owner);
      return true;
    }
    case kLocatorDesignator: *text = "Designator"; return true;
    case kLocatorValue: *text = "Value"; return true;
    case kLocatorDisplayNetName: *text = "Net Name"; return true;
    case kLocatorDisplayGlobalNets: {
      *text = GetLocatorNameChild(locator, Type_GlobalNetListName);
      if (text->empty()) *text = "Global Net Names";
      return true;
    }
    default: return false;
  }
}

bool SchematicText(const Tower* locator, const LocatorPayload& p, std::string* text) {
  Tower* owner = LocatorOwner(locator);
  bool shown = false;
  switch (p.kind) {
    case kLocatorPinNumber: shown = CopyAttributeValue(GetAttributeValue(owner, kAttributePinNumber), text); break;
    case kLocatorPinName: shown = CopyAttributeValue(GetAttributeValue(owner, kAttributePinName), text); break;
    case kLocatorDesignator: shown = CopyAttributeValue(GetAttributeValue(owner, kAttributeDesignator), text); break;
    case kLocatorValue: *text = ValueTextOf(owner); shown = true; break;
    case kLocatorDisplayGlobalNets: {
      const std::string name = GetLocatorNameChild(locator, Type_GlobalNetListName);
      *text = JoinLines(BuildGlobalNetLines(owner, name.c_str()));
      shown = true;
      break;
    }
    default: break;
  }
  ReleaseTower(&owner);
  return shown;
}

}  // namespace

bool GetLocatorKindText(const Tower* locator, std::string* text) {
  return GetLocatorKindTextOf(locator, ReadLocatorPayload(locator), text);
}

bool GetLocatorKindTextOf(const Tower* locator, const LocatorPayload& p, std::string* text) {
  text->clear();
  const std::uint32_t editor = EditorKind();
  if (editor != kEditorSchematicSymbol && editor != kEditorSchematic) return false;
  switch (p.kind) {
    case kLocatorNetName:
    case kLocatorIOPort:
    case kLocatorNamedIOPort: return OwnerAttributeWithLocatorId(locator, p, text);
    case kLocatorUserAttribute: *text = UserTextOfPlaced(locator, p); return true;
    case kLocatorGraphicNetName: {
      if (editor != kEditorSchematic) return false;
      Tower* attribute = FindDesignAttributeById(p.attributeId);
      const bool found = GetAttributeValueText(attribute, text);
      ReleaseTower(&attribute);
      return found;
    }
    default: break;
  }
  return editor == kEditorSchematicSymbol ? LibraryText(locator, p, text) : SchematicText(locator, p, text);
}

namespace {

// The text box of a text kind, grown, united with the square around its point.
int TextKindBox(const Tower* locator, const LocatorPayload& p, pl3::Box* box) {
  std::string text;
  const bool schematic = EditorKind() == kEditorSchematic;
  if (!GetLocatorKindText(locator, &text)) {
    if (schematic && p.kind == kLocatorDesignator) text = "Designator";
    else if (EditorKind() != kEditorSchematicSymbol && !schematic) return 0;
  }
  if (schematic && p.kind == kLocatorDesignator && text.empty()) text = "Designator";
  const pl3::Point at = UsesTextPoint(p.kind) ? TextPointOf(p) : pl3::Point{p.x, p.y};
  pl3::Box textBox;
  const LocatorText item = MakeLocatorText(p, text, at);
  if (schematic && p.kind == kLocatorDesignator) {
    // The symbol shows its designator as measured, without growth or dot.
    if (!MeasureLocatorText(item, &textBox)) return 0;
    *box = textBox;
    return 1;
  }
  *box = SquareAround({p.x, p.y}, DotHalfSide(p.kind));
  if (!text.empty() && GrownTextBox(item, &textBox)) UniteBox(box, textBox);
  return 1;
}

}  // namespace

int GetLocatorKindBox(const Tower* locator, pl3::Box* box) {
  const LocatorPayload p = ReadLocatorPayload(locator);
  if (!IsHandledLocatorKind(p.kind)) return 0;
  switch (p.kind) {
    case kLocatorIOPort:
    case kLocatorNamedIOPort: return GetIOPortBox(locator, box);
    case kLocatorGraphicNetName: return GetGraphicNetNameBox(locator, box);
    default: return TextKindBox(locator, p, box);
  }
}

int GetLocatorKindSelectionBox(const Tower* locator, pl3::Box* box) {
  const LocatorPayload p = ReadLocatorPayload(locator);
  if (EditorKind() != kEditorSchematic || !IsTextKindWithSmallDot(p.kind)) return GetLocatorKindBox(locator, box);
  std::string text;
  if (!GetLocatorKindText(locator, &text) || text.empty()) return 0;
  Tower* owner = LocatorOwner(locator);
  const pl3::Point at = p.kind == kLocatorDisplayNetName ? pl3::Point{p.x, p.y} : PointUnderSymbol(p, owner);
  ReleaseTower(&owner);
  return GrownTextBox(MakeLocatorText(p, text, at), box) ? 1 : 0;
}

int GetLocatorKindHandlePoint(const Tower* locator, DragStatus* status) {
  const LocatorPayload p = ReadLocatorPayload(locator);
  const std::uint16_t wholeMove = status->flag ? 7 : 0;
  status->x = p.x;
  status->y = p.y;
  status->grabCode = wholeMove;
  if (!IsHandledLocatorKind(p.kind)) return 0;
  const bool schematic = EditorKind() == kEditorSchematic;
  if (schematic && (p.kind == kLocatorDesignator || p.kind == kLocatorValue || p.kind == kLocatorUserAttribute ||
                    p.kind == kLocatorDisplayGlobalNets)) {
    Tower* owner = LocatorOwner(locator);
    const pl3::Point at = PointUnderSymbol(p, owner);
    ReleaseTower(&owner);
    status->x = at.x;
    status->y = at.y;
    return 1;
  }
  if (schematic && p.kind == kLocatorDisplayNetName) {
    Tower* parent = LocatorOwner(locator);
    pl3::Point at{};
    const int found = PlaceGraphicNetNameChild(parent, p, &at);
    ReleaseTower(&parent);
    if (!found) return 0;
    status->x = at.x;
    status->y = at.y;
    return 1;
  }
  if (UsesTextPoint(p.kind) && !status->flag) {
    std::string text;
    pl3::Box textBox;
    if (GetLocatorKindText(locator, &text) && GrownTextBox(MakeLocatorText(p, text, TextPointOf(p)), &textBox) &&
        IsPointInBox(textBox.xmin, textBox.ymin, textBox.xmax, textBox.ymax, status->cursor.x, status->cursor.y)) {
      const pl3::Point t = TextPointOf(p);
      status->x = t.x;
      status->y = t.y;
      status->grabCode = 11;
    }
  }
  return 1;
}

void DrawLocatorKind(void* dc, const Tower* locator, const LocatorPayload& p, const pl3::Transform& parent,
                     std::uint32_t pass) {
  const std::uint32_t editor = EditorKind();
  if (!IsHandledLocatorKind(p.kind) || (editor != kEditorSchematicSymbol && editor != kEditorSchematic)) return;
  if (p.kind == kLocatorIOPort || p.kind == kLocatorNamedIOPort) return DrawIOPortLocator(dc, locator, p, parent);
  if (p.kind == kLocatorGraphicNetName) return DrawGraphicNetName(dc, locator, p, pass);
  if (editor == kEditorSchematic && p.kind == kLocatorDisplayGlobalNets) {
    if (TextsSuppressed()) return;
    return DrawGlobalNetList(dc, locator, p, parent);
  }
  std::string text;
  if (!GetLocatorKindTextOf(locator, p, &text)) return;
  const bool schematic = editor == kEditorSchematic;
  const bool suppressible = p.kind == kLocatorPinNumber || p.kind == kLocatorPinName || p.kind == kLocatorDesignator ||
                            p.kind == kLocatorValue || p.kind == kLocatorUserAttribute;
  if (schematic && suppressible && TextsSuppressed()) return;
  if (schematic && p.kind == kLocatorPinNumber && ActiveWindowData && (ActiveWindowData->WalkFlags & kWalkHidePinNumbers))
    return;
  pl3::Point at = UsesTextPoint(p.kind) ? TextPointOf(p) : pl3::Point{p.x, p.y};
  LocatorPayload placed = p;
  if (schematic) {
    pl3::TransformSignedPoint(&parent, at.x, at.y);
    pl3::ComposeLinearTransform(&placed.head.transform, &parent);
  }
  DrawLocatorText(dc, MakeLocatorText(placed, text, at));
  if (schematic) return;
  // The library editor marks the locator point.
  std::int32_t radius = kLocatorSmallDot;
  if (p.kind == kLocatorValue || p.kind == kLocatorUserAttribute) radius = GetLocatorTextSize(p) * kValueDotPerSize;
  DrawDot({p.x, p.y}, radius, kLocatorDotClass, parent);
}

void GhostLocatorKindSelection(void* dc, const Tower* locator) {
  const LocatorPayload p = ReadLocatorPayload(locator);
  std::string text;
  if (EditorKind() != kEditorSchematic || !GetLocatorKindText(locator, &text) || text.empty()) return;
  Tower* owner = LocatorOwner(locator);
  const pl3::Point at = PointUnderSymbol(p, owner);
  ReleaseTower(&owner);
  const LocatorText item = MakeLocatorText(p, text, at);
  GhostLocatorText(dc, item);
  pl3::Box box;
  if (MeasureLocatorText(item, &box)) GhostBoxWithLeader(static_cast<HDC>(dc), box, at);
}

Tower* InsertUserLocator(const LocatorPayload& record, const Tower* referencedAttribute, const char* pendingName) {
  std::string name = pendingName ? pendingName : "";
  if (record.markedEntity) {
    if (!referencedAttribute) {
      ShowMessage(nullptr, "Locator is not associated with any attribute.", "Error Inserting Locator");
      return nullptr;
    }
    std::string value;
    SplitUserText(referencedAttribute, &name, &value);
  }
  Tower* stored = InsertLocatorWithUndo(record);
  if (!stored) return nullptr;
  StoreNameChild(stored, name);
  RecordDesignChange();
  return stored;
}

Tower* InsertUserLocatorOnSymbol(const LocatorPayload& record, const Tower* symbol, const char* pendingName) {
  if (!symbol || !TowerEntity(symbol)) return nullptr;
  const pl3::Transform placement = OwnerTransform(symbol);
  const pl3::Transform inverse = InverseOrientation(placement);
  LocatorPayload local = record;
  std::int32_t x = record.x - placement.tx, y = record.y - placement.ty;
  pl3::TransformVector(&inverse, x, y);
  local.x = x;
  local.y = y;
  pl3::ComposeLinearTransform(&local.head.transform, &inverse);
  local.head.transform.tx = 0;
  local.head.transform.ty = 0;
  RecordModificationUndo(symbol, "Insert symbol attribute locator");
  Tower* stored = InsertEntity(symbol, sizeof local, Type_AttributeLocator, &local);
  if (!stored) return nullptr;
  StoreNameChild(stored, pendingName ? pendingName : "");
  RecordDesignChange();
  UpdateDesignatorBoxes(symbol);
  UpdateAttributeLocatorBoxes(symbol);
  return stored;
}

namespace {

// The text item at the text point with the leader from the locator point to
// its grown box: XOR into the device context (ghost) or into the layer
// plane. The window's drawing flags are put back afterwards.
void DrawStringWithLeader(void* dc, const LocatorText& item, pl3::Point anchor, int ghost) {
  std::uint32_t* flags = ActiveWindowData ? &ActiveWindowData->WalkFlags : nullptr;
  const std::uint32_t saved = flags ? *flags : 0;
  pl3::Box box;
  const bool measured = GrownTextBox(item, &box);
  if (ghost) {
    GhostLocatorText(dc, item);
    if (measured) GhostLocatorLeader(dc, anchor.x, anchor.y, box);
  } else {
    DrawLocatorText(dc, item);
    if (measured) DrawLocatorLeader(dc, anchor.x, anchor.y, box);
  }
  if (flags) *flags = saved;
}

}  // namespace

void DrawPlacedString(void* dc, const LocatorPayload& locator, const char* text, pl3::Point textPoint) {
  LocatorText item = MakeLocatorText(locator, text ? text : "", textPoint);
  item.rotation.tx = textPoint.x;
  item.rotation.ty = textPoint.y;
  DrawStringWithLeader(dc, item, {locator.x, locator.y}, 1);
}

void DrawLocatorKindLabel(void* dc, const LocatorPayload& locator, std::int32_t defaultSize) {
  LocatorPayload plain = locator;
  plain.head.sizeFlags = static_cast<std::uint16_t>(plain.head.sizeFlags & ~kSizeByIndex);
  plain.textSize = defaultSize;
  const pl3::Point at = TextPointOf(locator);
  LocatorText item = MakeLocatorText(plain, GetLocatorKindName(locator.kind), at);
  item.rotation.tx = at.x;
  item.rotation.ty = at.y;
  CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t savedFill = pl3::g_raster.fillValue;
  const std::uint32_t savedFlags = w ? w->WalkFlags : 0;
  if (w) w->WalkFlags |= kDrawLocatorText;
  pl3::g_raster.fillValue = kPlainLabelFill;
  DrawStringWithLeader(dc, item, {locator.x, locator.y}, 0);
  pl3::g_raster.fillValue = savedFill;
  if (w) w->WalkFlags = savedFlags;
}

#include "edit/clipboard.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "edit/clipboard_seams.h"
#include "edit/edit_modes.h"
#include "edit/selection.h"
#include "edit/selection_engine_seams.h"
#include "edit/engine_seams.h"
#include "edit/item_boxes.h"
#include "edit/schematic_copy_seams.h"
#include "edit/window_data.h"
#include "objects/attribute_services.h"
#include "objects/design_walks.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/id_info.h"
#include "objects/io_ports.h"
#include "objects/locator_dispatch.h"
#include "objects/payload_access.h"
#include "objects/real_size.h"
#include "objects/size_table.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/user.h"
#include "store/tower.h"

// The program's scratch entity (defined with the fonts, whose header clashes
// with the type codes): made at start-up, deleted with all it holds at exit.
extern Tower* ProgramTower;

namespace {

constexpr std::uint16_t kTypeSchematicSymbolDefinition = 25;
constexpr std::uint16_t kTypeSchematicSymbol = 30;
constexpr std::uint16_t kTypePlacedSymbolPin = 33;
constexpr std::uint16_t kTypePlacedPinLink = 11002;
constexpr std::uint32_t kSymbolRecordDefinitionField = 4;  // u32 reference in the 32 record
constexpr std::uint16_t kCopyStateBits = kEntitySelected | kEntitySelectedPart | kEntityHighlighted;
constexpr const char* kCopyCaption = "Copy Selection";

bool IsCopyableLocatorKind(std::uint32_t kind) {
  switch (kind) {
    case kLocatorPinNumber: case kLocatorNetName: case kLocatorPinName: case kLocatorDesignator:
    case kLocatorIOPort: case kLocatorValue: case kLocatorGraphicNetName: case kLocatorUserAttribute:
    case kLocatorNamedIOPort:
      return true;
    default:
      return false;
  }
}

const Entity* ItemOf(const SelectionInfo* r) { return r ? TowerEntity(r->workingCopy) : nullptr; }

int IsCopyableEntity(const Entity* e) {
  return e && IsCopyableItem(e->typeCode, EntityPayload(const_cast<Entity*>(e)), e->payloadSize);
}

// A Tower on the parent of the entity a Tower stands on; null at the top.
Tower* ParentTower(const Tower* t) {
  if (!t || t->lastLevel == 0) return nullptr;
  return DuplicateTowerToLevel(t, static_cast<std::uint8_t>(t->lastLevel - 1));
}

// The Schematic (103) that holds a schematic page's definitions and
// attribute counter; the design itself when it is not under one.
Tower* SchematicOf(const Tower* design) {
  if (!TowerEntity(design)) return nullptr;
  if (TowerEntity(design)->typeCode == Type_Schematic) return DuplicateTower(design);
  Tower* up = GetAncestorTower(design, Type_Schematic);
  if (up && TowerEntity(up) && TowerEntity(up)->typeCode == Type_Schematic) return up;
  ReleaseTower(&up);
  return DuplicateTower(design);
}

std::uint16_t RootTypeOf(const Tower* design) {
  const Entity* e = TowerEntity(design);
  return e ? e->typeCode : 0;
}

// The first child of `code` under t whose link names the source reference.
Tower* FindLink(const Tower* t, std::uint16_t linkedType, std::uint32_t reference) {
  Tower* link = t ? GetChildTower(t, Type_ClipboardLink) : nullptr;
  while (link) {
    Entity* e = FindNextEntity(link);
    if (!e) break;
    const std::uint8_t* p = PayloadOfAtLeast(e, sizeof(ClipboardLinkRecord));
    if (p && ReadU16(p, 0) == linkedType && ReadU32(p, offsetof(ClipboardLinkRecord, sourceReference)) == reference) {
      LastLevel(link).flags = kLevelLast | kLevelPositioned;
      return link;
    }
  }
  ReleaseTower(&link);
  return nullptr;
}

Tower* InsertLink(const Tower* under, std::uint16_t linkedType, std::uint32_t reference) {
  const ClipboardLinkRecord record{linkedType, 0, 0, reference};
  return InsertEntity(under, sizeof record, Type_ClipboardLink, &record);
}

// The first entity child of t (the linked node's copy under a link), or null.
Tower* FirstChild(const Tower* t, std::uint16_t code) { return NewestChildTower(t, code); }

// Copies every child of `source` under `destination` except the codes given.
void CopyChildrenExcept(const Tower* destination, const Tower* source, std::uint16_t skipA, std::uint16_t skipB) {
  Tower* child = GetAllChildrenTower(source);
  while (child) {
    Entity* e = FindNextEntity(child);
    if (!e) break;
    if (e->typeCode == skipA || e->typeCode == skipB) continue;
    Tower* copy = CopyAndInsertEntity(destination, child, &pl3::kIdentityTransform);
    ReleaseTower(&copy);
  }
  ReleaseTower(&child);
}

// Stores a link around a copy of the schematic symbol definition, once per
// definition: inside the copy each pin sits in a link of its own keyed by the
// source pin's reference.
void LinkDefinition(const Tower* clip, const Tower* schematic, std::uint32_t reference) {
  if (!reference) return;
  Tower* existing = FindLink(clip, kTypeSchematicSymbolDefinition, reference);
  if (existing) {
    ReleaseTower(&existing);
    return;
  }
  Tower* definition = FindChildByReference(schematic, kTypeSchematicSymbolDefinition, reference);
  if (!definition) return;
  Tower* link = InsertLink(clip, kTypeSchematicSymbolDefinition, reference);
  Tower* copy = link ? InsertEmptyEntity(link, kTypeSchematicSymbolDefinition) : nullptr;
  if (copy) {
    CopyChildrenExcept(copy, definition, Type_SymbolPin, Type_SymbolPin);
    Tower* pin = GetChildTower(definition, Type_SymbolPin);
    while (pin) {
      Entity* e = FindNextEntity(pin);
      if (!e) break;
      Tower* pinLink = InsertLink(copy, Type_SymbolPin, NodeRefOf(e));
      Tower* pinCopy = pinLink ? CopyAndInsertEntity(pinLink, pin, &pl3::kIdentityTransform) : nullptr;
      ReleaseTower(&pinCopy);
      ReleaseTower(&pinLink);
    }
    ReleaseTower(&pin);
  }
  ReleaseTower(&copy);
  ReleaseTower(&link);
  ReleaseTower(&definition);
}

// Copies the attribute a locator shows (found under the locator's parent by
// its attribute id) into the clipboard copy.
void CopyLocatorAttribute(const Tower* clip, const Tower* locator, std::uint32_t attributeId) {
  Tower* parent = ParentTower(locator);
  Tower* attribute = parent ? FindAttributeById(parent, attributeId) : nullptr;
  Tower* copy = attribute ? CopyAndInsertEntity(clip, attribute, &pl3::kIdentityTransform) : nullptr;
  ReleaseTower(&copy);
  ReleaseTower(&attribute);
  ReleaseTower(&parent);
}

// What one record of the selection adds to the copy besides the item.
void CopyRecordExtras(const CurrentWindowData& w, const Tower* clip, const Tower* item) {
  Entity* e = TowerEntity(item);
  std::uint8_t* p = EntityPayload(e);
  if (e->typeCode == Type_Spiral && e->payloadSize >= sizeof(SpiralPayload)) {
    auto* spiral = reinterpret_cast<SpiralPayload*>(p);
    if (spiral->head.sizeFlags & kSizeByIndex)
      spiral->width = ReturnRealSizeIn(w.sizeTable, Type_Spiral, spiral->head.sizeIndex);
  } else if (e->typeCode == Type_AttributeLocator && e->payloadSize >= sizeof(LocatorPayload)) {
    auto* locator = reinterpret_cast<LocatorPayload*>(p);
    if (locator->kind == kLocatorGraphicNetName) {
      Tower* schematic = SchematicOf(w.design);
      LinkDefinition(clip, schematic, locator->markedEntity);
      ReleaseTower(&schematic);
    }
    if (locator->kind == kLocatorNetName || locator->kind == kLocatorNamedIOPort ||
        locator->kind == kLocatorGraphicNetName)
      CopyLocatorAttribute(clip, item, locator->attributeId);
    if (locator->head.sizeFlags & kSizeByIndex)
      locator->textSize = ReturnRealSizeIn(w.sizeTable, Type_Text, locator->head.sizeIndex);
  } else if (e->typeCode == kTypeSchematicSymbol) {
    const std::uint8_t* record = ChildPayloadOfAtLeast(item, Type_SchematicSymbol, 8);
    if (record) {
      Tower* schematic = SchematicOf(w.design);
      LinkDefinition(clip, schematic, ReadU32(record, kSymbolRecordDefinitionField));
      ReleaseTower(&schematic);
    }
  }
}

void StoreClipboardItem(const Tower* clip, const Tower* item) {
  Tower* copy = CopyAndInsertEntity(clip, item, &pl3::kIdentityTransform);
  if (!copy) return;
  if (TowerEntity(copy)->typeCode == kTypeSchematicSymbol) DetachCopiedSymbolPackage(copy);
  TowerEntity(copy)->flags &= static_cast<std::uint16_t>(~kCopyStateBits);
  ReleaseTower(&copy);
}

// Checks the selection before a copy: 1 to go on.
int CheckCopyableSelection(const SelectionInfo* list) {
  if (!list) {
    MessageBeep(0);  // an empty selection still stores an (empty) copy
    return 1;
  }
  if (!HasUncopyableSelection(list)) return 1;
  if (CountCopyableSelections(list) > 0) {
    const int answer = MessageBox(nullptr,
                                  "Only graphical primitives can be copied to the clipboard. Ignore other object(s) "
                                  "and continue?",
                                  kCopyCaption, MB_OKCANCEL | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    return answer == IDOK ? 1 : 0;
  }
  MessageBox(nullptr, "Only graphical primitives can be copied to the clipboard.", kCopyCaption,
             MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
  return 0;
}

// ---- Paste ----------------------------------------------------------------------------

struct PasteContext {
  CurrentWindowData& w;
  const Tower* clip;
  pl3::Point origin;
  std::unique_ptr<SizeTable> storedSizes;
};

// The definition in the destination Schematic with the stored definition's
// identity, or a copy of the stored one (pins out of their links) put there.
// `copied` tells which.
Tower* DestinationDefinition(const Tower* schematic, const Tower* stored, bool* copied) {
  *copied = false;
  const std::uint8_t* id = IdInfoOf(stored);
  Tower* candidate = id ? GetChildTower(schematic, kTypeSchematicSymbolDefinition) : nullptr;
  while (candidate) {
    if (!FindNextEntity(candidate)) break;
    if (SameIdInfo(IdInfoOf(candidate), id)) {
      LastLevel(candidate).flags = kLevelLast | kLevelPositioned;
      return candidate;
    }
  }
  ReleaseTower(&candidate);
  Tower* copy = InsertEmptyEntity(schematic, kTypeSchematicSymbolDefinition);
  if (!copy) return nullptr;
  CopyChildrenExcept(copy, stored, Type_ClipboardLink, Type_ClipboardLink);
  *copied = true;
  return copy;
}

// The pin (26) of a definition whose Xref record (270) holds the number.
Tower* PinWithXref(const Tower* definition, std::uint32_t xref) {
  Tower* pin = GetChildTower(definition, Type_SymbolPin);
  while (pin) {
    if (!FindNextEntity(pin)) break;
    const std::uint8_t* x = ChildPayloadOfAtLeast(pin, Type_Xref, 4);
    if (x && ReadU32(x, 0) == xref) {
      LastLevel(pin).flags = kLevelLast | kLevelPositioned;
      return pin;
    }
  }
  ReleaseTower(&pin);
  return nullptr;
}

// Every placed pin link (11002 under each 33) of a placed symbol.
template <typename Visit>
void ForEachPlacedPinLink(const Tower* symbol, Visit visit) {
  Tower* pin = GetChildTower(symbol, kTypePlacedSymbolPin);
  while (pin && FindNextEntity(pin)) {
    if (std::uint8_t* link = ChildPayloadOfAtLeast(pin, kTypePlacedPinLink, 8)) visit(link);
  }
  ReleaseTower(&pin);
}

// Points a pasted definition reference at a destination definition: the
// one with equal identity, or a copy of the stored one (`copied`). Returns
// the new reference, 0 when the stored definition is missing.
std::uint32_t PasteDefinition(const PasteContext& c, std::uint32_t reference, Tower** destination, bool* copied) {
  *copied = false;
  Tower* link = FindLink(c.clip, kTypeSchematicSymbolDefinition, reference);
  Tower* stored = link ? FirstChild(link, kTypeSchematicSymbolDefinition) : nullptr;
  Tower* schematic = stored ? SchematicOf(c.w.design) : nullptr;
  Tower* definition = schematic ? DestinationDefinition(schematic, stored, copied) : nullptr;
  if (definition && *copied) {
    // Each stored pin goes into the new definition once; its new node is
    // kept in the pin link's spare word until RepointPins has read it.
    Tower* pinLink = GetChildTower(stored, Type_ClipboardLink);
    while (pinLink) {
      Entity* e = FindNextEntity(pinLink);
      if (!e) break;
      const std::uint8_t* lp = PayloadOfAtLeast(e, sizeof(ClipboardLinkRecord));
      if (!lp || ReadU16(lp, 0) != Type_SymbolPin) continue;
      Tower* storedPin = FirstChild(pinLink, Type_SymbolPin);
      Tower* pinCopy = storedPin ? CopyAndInsertEntity(definition, storedPin, &pl3::kIdentityTransform) : nullptr;
      WriteU32(EntityPayload(e), offsetof(ClipboardLinkRecord, zero2), pinCopy ? NodeRefOf(TowerEntity(pinCopy)) : 0);
      ReleaseTower(&pinCopy);
      ReleaseTower(&storedPin);
    }
    ReleaseTower(&pinLink);
  }
  ReleaseTower(&schematic);
  ReleaseTower(&stored);
  ReleaseTower(&link);
  *destination = definition;
  return definition ? NodeRefOf(TowerEntity(definition)) : 0;
}

// Re-points the placed pins' links of a pasted symbol at the pins of its
// new definition: by Xref in a reused definition, by source reference in a
// copied one.
void RepointPins(const PasteContext& c, const Tower* symbol, std::uint32_t sourceReference, const Tower* definition,
                 bool copied) {
  if (!copied) {
    ForEachPlacedPinLink(symbol, [&](std::uint8_t* link) {
      Tower* pin = PinWithXref(definition, ReadU32(link, 4));
      WriteU32(link, 0, pin ? NodeRefOf(TowerEntity(pin)) : 0);
      ReleaseTower(&pin);
    });
    return;
  }
  Tower* link = FindLink(c.clip, kTypeSchematicSymbolDefinition, sourceReference);
  Tower* stored = link ? FirstChild(link, kTypeSchematicSymbolDefinition) : nullptr;
  ForEachPlacedPinLink(symbol, [&](std::uint8_t* placed) {
    Tower* pinLink = stored ? FindLink(stored, Type_SymbolPin, ReadU32(placed, 0)) : nullptr;
    const std::uint8_t* lp = pinLink ? TowerPayload(pinLink) : nullptr;
    WriteU32(placed, 0, lp ? ReadU32(lp, offsetof(ClipboardLinkRecord, zero2)) : 0);
    ReleaseTower(&pinLink);
  });
  // Clear the spare words again: the stored copy is read by later pastes.
  Tower* pinLink = stored ? GetChildTower(stored, Type_ClipboardLink) : nullptr;
  while (pinLink) {
    Entity* e = FindNextEntity(pinLink);
    if (!e) break;
    if (PayloadOfAtLeast(e, sizeof(ClipboardLinkRecord)))
      WriteU32(EntityPayload(e), offsetof(ClipboardLinkRecord, zero2), 0);
  }
  ReleaseTower(&pinLink);
  ReleaseTower(&stored);
  ReleaseTower(&link);
}

// The stored attribute a locator shows goes under the locator's new parent
// with a new id from the destination's counter.
void PasteLocatorAttribute(const PasteContext& c, const Tower* locatorTower, LocatorPayload* locator) {
  Tower* stored = GetChildTower(c.clip, Type_Attribute);
  bool found = false;
  while (stored && FindNextEntity(stored)) {
    const std::uint8_t* a = PayloadOfAtLeast(TowerEntity(stored), sizeof(AttributePayload));
    if (a && ReadU32(a, offsetof(AttributePayload, id)) == locator->attributeId) {
      LastLevel(stored).flags = kLevelLast | kLevelPositioned;
      found = true;
      break;
    }
  }
  if (found) {
    const std::uint32_t id = NewAttributeId();
    Tower* parent = ParentTower(locatorTower);
    Tower* copy = parent ? CopyAndInsertEntity(parent, stored, &pl3::kIdentityTransform) : nullptr;
    if (std::uint8_t* a = copy ? PayloadOfAtLeast(TowerEntity(copy), sizeof(AttributePayload)) : nullptr)
      WriteU32(a, offsetof(AttributePayload, id), id);
    locator->attributeId = id;
    ReleaseTower(&copy);
    ReleaseTower(&parent);
  }
  ReleaseTower(&stored);
}

void RemapItemSize(const PasteContext& c, Tower* item) {
  Entity* e = TowerEntity(item);
  RemapPastedSize(EntityPayload(e), e->payloadSize, e->typeCode, c.storedSizes.get(), c.w.sizeTable);
}

void PasteSymbolChildren(const PasteContext& c, const Tower* symbol) {
  Tower* locator = GetChildTower(symbol, Type_AttributeLocator);
  while (locator && FindNextEntity(locator)) RemapItemSize(c, locator);
  ReleaseTower(&locator);
}

bool SkippedByLayer(const CurrentWindowData& w, const Entity* e) {
  if (w.editorKind != kEditorPcb && w.editorKind != kEditorShape && w.editorKind != kEditorPcbSymbol) return false;
  const std::uint16_t t = e->typeCode;
  const bool layered = (t >= 1 && t <= 6) || (t >= 8 && t <= 10) || t == 20 || (t >= 28 && t <= 30) || t == 35 ||
                       (t >= 37 && t <= 39) || (t >= 41 && t <= 47) || t == 49;
  if (!layered || e->payloadSize < 1) return false;
  const std::uint8_t layer = EntityPayload(const_cast<Entity*>(e))[0];
  return (w.layerTable.layers[layer].flags & kLayerPresent) == 0;
}

bool SkippedCode(std::uint16_t t) {
  return t == Type_Attribute || t == Type_Origin || t == Type_FileName || (t >= Type_HoleSizes && t <= Type_CurrentSizes) ||
         t == 280 || t == 284 || t == Type_SizeTableRecord || t == Type_ClipboardLink;
}

// Pastes one stored child as a new primary selection record at the head of the list.
void PasteChild(HWND window, const PasteContext& c, const Tower* child, SelectionInfo** list) {
  const Entity* source = TowerEntity(child);
  if (SkippedCode(source->typeCode) || SkippedByLayer(c.w, source)) return;
  Tower* copy = CopyAndInsertEntity(c.w.design, child, &pl3::kIdentityTransform);
  if (!copy) return;
  SelectionInfo* record = NewSelectionInfo(list);
  if (!record) {
    DeleteEntity(copy);
    ReleaseTower(&copy);
    return;
  }
  record->workingCopy = copy;
  Entity* e = TowerEntity(copy);
  const pl3::Point handle = GetItemHandlePoint(window, copy);
  const pl3::Point at{c.w.Cursor.x + handle.x - c.origin.x, c.w.Cursor.y + handle.y - c.origin.y};
  if (e->typeCode == kTypeSchematicSymbol) {
    if (std::uint8_t* info = ChildPayloadOfAtLeast(copy, Type_SchematicSymbol, 8)) {
      const std::uint32_t reference = ReadU32(info, kSymbolRecordDefinitionField);
      Tower* definition = nullptr;
      bool copied = false;
      const std::uint32_t now = PasteDefinition(c, reference, &definition, &copied);
      if (now) {
        WriteU32(info, kSymbolRecordDefinitionField, now);
        RepointPins(c, copy, reference, definition, copied);
      }
      ReleaseTower(&definition);
    }
    PasteSymbolChildren(c, copy);
    record->flags |= kSelectionHasInstanceInfo;
    record->copyInstanceInfo = CopySymbolToInsertionAt(copy, at);
    record->originalInstanceInfo = nullptr;
  } else if (e->typeCode == Type_AttributeLocator && e->payloadSize >= sizeof(LocatorPayload)) {
    auto* locator = reinterpret_cast<LocatorPayload*>(EntityPayload(e));
    if (locator->kind == kLocatorGraphicNetName) {
      Tower* definition = nullptr;
      bool copied = false;
      const std::uint32_t now = PasteDefinition(c, locator->markedEntity, &definition, &copied);
      if (now) locator->markedEntity = now;
      ReleaseTower(&definition);
    }
    if (locator->kind == kLocatorNetName || locator->kind == kLocatorNamedIOPort ||
        locator->kind == kLocatorGraphicNetName)
      PasteLocatorAttribute(c, copy, locator);
  }
  RemapItemSize(c, copy);
  record->flags |= kSelectionPrimary;
  record->original = nullptr;
  record->grabbedPart = 0;
  record->grabPoint = at;
  record->currentPoint = at;
  e->flags |= kEntitySelected | kEntitySelectedPart;
}

bool SameSizeEntry(std::uint32_t kind, const SizeEntry& a, const SizeEntry& b) {
  if (std::strncmp(a.name, b.name, kSizeNameSize) != 0) return false;
  switch (kind) {
    case SizeKind_Lines: case SizeKind_Circles: case SizeKind_Holes:
      return a.unit == b.unit && a.value1 == b.value1;
    case SizeKind_Rectangles: case SizeKind_Vias:
      return a.unit == b.unit && a.value1 == b.value1 && a.value2 == b.value2;
    case SizeKind_Fonts:
      return a.value1 == b.value1;
    default:
      return false;  // dots are never matched
  }
}

bool TakesExplicitSizeOnPaste(std::uint16_t t) {
  switch (t) {
    case 1: case 2: case 3: case 5: case 6: case 7: case 10: case 19: case 20: case 28: case 29: case 35:
    case 37: case 38: case 39: case 46: case 47:
      return true;
    default:
      return false;
  }
}

}  // namespace

int IsCopyableItem(std::uint16_t type, const std::uint8_t* payload, std::uint32_t size) {
  if (type == Type_AttributeLocator)
    return payload && size >= offsetof(LocatorPayload, word50) && IsCopyableLocatorKind(ReadU16(payload, 48)) ? 1 : 0;
  const bool copyable = (type >= 1 && type <= 10) || type == 19 || (type >= 28 && type <= 30) || type == 35 ||
                        (type >= 37 && type <= 39) || (type >= 41 && type <= 47) || type == 49;
  return copyable ? 1 : 0;
}

int HasUncopyableSelection(const SelectionInfo* list) {
  if (!list) {
    MessageBeep(0);
    return 0;
  }
  for (const SelectionInfo* r = list; r; r = r->next)
    if ((r->flags & kSelectionPrimary) && !IsCopyableEntity(ItemOf(r))) return 1;
  return 0;
}

int CountCopyableSelections(const SelectionInfo* list) {
  int n = 0;
  for (const SelectionInfo* r = list; r; r = r->next) n += IsCopyableEntity(ItemOf(r));
  return n;
}

Tower* FindClipboardCopy() {
  if (!TowerEntity(ProgramTower)) return nullptr;
  return NewestChildTower(ProgramTower, Type_ClipboardCopy);
}

const char* ClipboardEditorName(std::uint16_t rootType) {
  switch (rootType) {
    case 25: return "the schematic symbol editor";
    case Type_PCB: return "the PCB editor";
    case Type_Page: return "the schematic editor";
    case Type_SymbolDefinition: return "the symbol editor";
    case Type_ShapeDefinition: return "the shape editor";
    case Type_PadStackDefinition: return "the pad stack editor";
    default: return "[NULL]";
  }
}

int CopySelectionToClipboard(HWND) {
  CurrentWindowData* state = ActiveWindowData;
  if (!state || !TowerEntity(ProgramTower)) return 0;
  CurrentWindowData& w = *state;
  if (!CheckCopyableSelection(w.SelectionList)) return 0;

  DeleteChildEntities(ProgramTower, Type_ClipboardCopy);
  const ClipboardCopyRecord head{0, RootTypeOf(w.design), 0};
  Tower* clip = InsertEntity(ProgramTower, sizeof head, Type_ClipboardCopy, &head);
  if (!clip) return 0;
  for (SelectionInfo* r = w.SelectionList; r; r = r->next) {
    const Entity* e = ItemOf(r);
    if (!IsCopyableEntity(e)) continue;
    CopyRecordExtras(w, clip, r->workingCopy);
    if (r->flags & kSelectionPrimary) StoreClipboardItem(clip, r->workingCopy);
  }
  const OriginRecord origin{w.BlockOrigin.x, w.BlockOrigin.y, 0};
  Tower* stored = InsertEntity(clip, sizeof origin, Type_Origin, &origin);
  ReleaseTower(&stored);
  const std::string sizes = w.sizeTable ? WriteSizeText(*w.sizeTable) : std::string();
  stored = InsertEntity(clip, static_cast<std::uint32_t>(sizes.size() + 1), Type_SizeTableRecord, sizes.c_str());
  ReleaseTower(&stored);
  ReleaseTower(&clip);
  ChangeMenu(1);
  return 1;
}

int CutSelectionToClipboard(HWND window) {
  const int copied = CopySelectionToClipboard(window);
  if (copied) {
    DeleteSelectionArray(window, 0);
    RecordDesignChange();
    ChangeMenu(1);
  }
  return copied;
}

void PasteFromClipboard(HWND window) {
  CurrentWindowData* state = ActiveWindowData;
  Tower* clip = FindClipboardCopy();
  if (!state || !clip || !state->design) {
    ReleaseTower(&clip);
    MessageBeep(0);
    return;
  }
  CurrentWindowData& w = *state;
  const std::uint16_t source = ReadU16(TowerPayload(clip), offsetof(ClipboardCopyRecord, rootType));
  const std::uint16_t destination = RootTypeOf(w.design);
  if (source != destination) {
    char text[160];
    std::snprintf(text, sizeof text, "You cannot copy from %s to %s.", ClipboardEditorName(source),
                  ClipboardEditorName(destination));
    MessageBox(nullptr, text, kCopyCaption, MB_OK | MB_ICONEXCLAMATION);
    ReleaseTower(&clip);
    return;
  }

  PasteContext c{w, clip, {0, 0}, nullptr};
  if (const std::uint8_t* o = ChildPayloadOfAtLeast(clip, Type_Origin, 8)) c.origin = {ReadI32(o, 0), ReadI32(o, 4)};
  {
    Tower* sizes = NewestChildTower(clip, Type_SizeTableRecord);
    if (sizes) {
      const Entity* e = TowerEntity(sizes);
      const char* text = reinterpret_cast<const char*>(EntityPayload(e));
      const void* end = std::memchr(text, 0, e->payloadSize);
      const std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : e->payloadSize;
      c.storedSizes = ParseSizeText(text, length);
    }
    ReleaseTower(&sizes);
  }

  Tower* child = GetAllChildrenTower(clip);
  while (child && FindNextEntity(child)) PasteChild(window, c, child, &w.SelectionList);
  ReleaseTower(&child);

  if (w.SelectionList) {
    w.EditMode = Mode_EditSelection;
    if (!w.OriginalBlockOrigin) {
      // Freed with std::free, as every owner of the field does.
      if (auto* kept = static_cast<pl3::Point*>(std::malloc(sizeof(pl3::Point)))) {
        *kept = c.origin;
        w.OriginalBlockOrigin = kept;
      }
      w.BlockOrigin = c.origin;
    }
  }
  ReleaseTower(&clip);
  CentreViewOnCursor(window);
  UpdateStatusBar(window);
  RedrawView(window);
}

int RemapPastedSize(std::uint8_t* payload, std::uint32_t size, std::uint16_t type, const SizeTable* source,
                    const SizeTable* destination) {
  if (!payload || size < sizeof(GraphicHead)) return 0;
  auto* head = reinterpret_cast<GraphicHead*>(payload);
  if ((head->sizeFlags & kSizeByIndex) == 0 || (head->sizeFlags & kSizeCustom) != 0) return 0;
  const bool holdsHoleFlags = size >= offsetof(pl3::HoleLayout, flags) + 1;
  const std::uint32_t kind = holdsHoleFlags ? GetEntitySizeKind(type, payload) : GetTypeSizeKind(type);
  if (kind == kNoSizeKind) return 0;
  if (source && destination && head->sizeIndex < (*source)[kind].count()) {
    const SizeEntry& wanted = (*source)[kind].entries[head->sizeIndex];
    const SizeList& list = (*destination)[kind];
    for (std::uint32_t i = 0; i < list.count(); ++i) {
      if (SameSizeEntry(kind, wanted, list.entries[i])) {
        head->sizeIndex = i;
        return 1;
      }
    }
  }
  if (TakesExplicitSizeOnPaste(type)) head->sizeFlags = static_cast<std::uint16_t>((head->sizeFlags & ~kSizeByIndex) | kSizeCustom);
  return 0;
}

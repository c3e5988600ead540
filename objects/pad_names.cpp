#include "objects/pad_names.h"

#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "edit/window_data.h"
#include "objects/attribute_services.h"
#include "objects/design_helpers.h"
#include "objects/frame_seams.h"
#include "objects/pad_stacks.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/symbol_seams.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"
#include "store/seams.h"
#include "store/tower.h"

pl3::Point PadLabelOffset = {-1828800, -1828800};

namespace {

constexpr std::uint32_t kPadNameMaxLength = 20;
constexpr std::uint8_t kEditModePlacingPadName = 32;
constexpr std::uint16_t kEntityStateSelected = 0x04;
constexpr COLORREF kPadNameColour = RGB(129, 0, 0);

void ResetPadNameGlobals() { PadLabelOffset = {-1828800, -1828800}; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetPadNameGlobals);

// A Tower on the newest Label Hier of the pad, or null.
Tower* LabelHierOf(const Tower* pad) { return NewestChildTower(pad, Type_LabelHier); }

const char* NameOf(const std::uint8_t* label, std::uint32_t size) {
  if (!label || size <= sizeof(PadLabelHead)) return nullptr;
  const char* name = reinterpret_cast<const char*>(label + sizeof(PadLabelHead));
  // A damaged record without its terminator has no name.
  return std::memchr(name, 0, size - sizeof(PadLabelHead)) ? name : nullptr;
}

// Calls visit(entity-Tower, name) for each pad under the parent.
template <typename Visit>
void ForEachPad(const Tower* parent, Visit visit) {
  Tower* pads = parent ? GetChildTower(parent, Type_PadStackInstanceHier) : nullptr;
  while (pads && FindNextEntity(pads)) {
    Tower* pad = DuplicateTower(pads);
    LastLevel(pad).flags = kLevelLast | kLevelPositioned;
    const char* name = GetPadLabelName(pad);
    const bool more = visit(pad, name);
    ReleaseTower(&pad);
    if (!more) break;
  }
  ReleaseTower(&pads);
}

Tower* ParentOf(const Tower* t) {
  if (!t || t->lastLevel < 1) return nullptr;
  Tower* parent = DuplicateTowerToLevel(t, static_cast<std::uint8_t>(t->lastLevel - 1));
  MarkTowerPathPositioned(parent);
  LastLevel(parent).flags = kLevelLast | kLevelPositioned;
  return parent;
}

char* HeapCopy(const char* text) {
  const std::size_t n = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(n));
  if (copy) std::memcpy(copy, text, n);
  return copy;
}

}  // namespace

// Length of the text without its trailing decimal digits.
std::size_t PrefixLength(const char* text) {
  std::size_t n = std::strlen(text);
  while (n > 0 && std::isdigit(static_cast<unsigned char>(text[n - 1]))) --n;
  return n;
}

// A run of decimal digits as a number, saturating instead of overflowing.
std::uint64_t ReadClamped(const char* digits, std::uint64_t limit) {
  std::uint64_t n = 0;
  for (const char* p = digits; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
    const std::uint64_t digit = static_cast<std::uint64_t>(*p - '0');
    if (n > (limit - digit) / 10) return limit;
    n = n * 10 + digit;
  }
  return n;
}

// ---- The Label --------------------------------------------------------------------

PadLabelHead* NewPadLabel(const char* name) {
  const std::size_t length = name ? std::strlen(name) : 0;
  auto* label = static_cast<PadLabelHead*>(std::calloc(1, sizeof(PadLabelHead) + length + 1));
  if (!label) return nullptr;
  // The fields a new text style gets, on the window's label layer.
  TextStyle style;
  InitTextStyle(&style);
  label->display = style.justification;
  label->flags = style.sizeFlags;
  label->sizeIndex = style.sizeIndex;
  label->layer = ActiveWindowData ? ActiveWindowData->LabelLayer : 0;
  label->font = style.font;
  label->transform = pl3::kIdentityTransform;
  label->transform.tx = PadLabelOffset.x;
  label->transform.ty = PadLabelOffset.y;
  label->last = 0;
  if (length) std::memcpy(reinterpret_cast<char*>(label + 1), name, length);
  return label;
}

void SetPadLabel(const Tower* pad, const char* name) {
  if (!TowerEntity(pad)) return;
  PadLabelHead* label = NewPadLabel(name);
  if (!label) return;
  const std::uint32_t size = static_cast<std::uint32_t>(sizeof(PadLabelHead) + std::strlen(name ? name : "") + 1);
  DeleteChildEntities(pad, Type_LabelHier);
  Tower* hier = InsertEmptyEntity(pad, Type_LabelHier);
  Tower* inserted = InsertEntity(hier, size, Type_Label, label);
  ReleaseTower(&inserted);
  ReleaseTower(&hier);
  std::free(label);
}

std::uint8_t* GetPadStackInstanceLabel(const Tower* pad) {
  Tower* hier = LabelHierOf(pad);
  std::uint8_t* label = ChildPayloadOfAtLeast(hier, Type_Label, sizeof(PadLabelHead));
  ReleaseTower(&hier);
  return label;
}

const char* GetPadLabelName(const Tower* pad) {
  Tower* hier = LabelHierOf(pad);
  Tower* label = hier ? GetChildTower(hier, Type_Label) : nullptr;
  Entity* e = label ? FindNextEntity(label) : nullptr;
  const char* name = e ? NameOf(EntityPayload(e), e->payloadSize) : nullptr;
  ReleaseTower(&label);
  ReleaseTower(&hier);
  return name;
}

void DeletePadLabel(const Tower* pad) {
  if (TowerEntity(pad)) DeleteChildEntities(pad, Type_LabelHier);
}

void DeleteSelectedPadLabels(const SelectionInfo* list) {
  for (const SelectionInfo* s = list; s; s = s->next) {
    const Entity* e = TowerEntity(s->original);
    if (e && e->typeCode == Type_PadStackInstanceHier) DeletePadLabel(s->original);
  }
}

// ---- Names in sequence ------------------------------------------------------------------

char* GetNextPinName(const Tower* parent, const char* base) {
  char* prefix = GetDesignatorPrefix(base ? base : "");
  if (!prefix) return nullptr;
  // Past the limit a number only needs to be known as too high.
  std::uint32_t candidate = 0;
  ForEachPad(parent, [&](const Tower*, const char* name) {
    if (!name) return true;
    const std::size_t own = PrefixLength(name);
    if (!pl3::EqualsNoCase(std::string_view(name, own), prefix)) return true;
    const auto n = static_cast<std::uint32_t>(ReadClamped(name + own, kPinNumberLimit));
    if (candidate <= n) candidate = n + 1;
    return true;
  });
  if (candidate >= kPinNumberLimit) {
    ShowMessage(nullptr, "Too high a Pin number", "GetNextPinName");
    candidate = kPinNumberFallback;
  }
  if (candidate == 0) candidate = 1;
  const std::size_t size = std::strlen(prefix) + 12;
  char* result = static_cast<char*>(std::malloc(size));
  if (result) std::snprintf(result, size, "%s%u", prefix, candidate);
  std::free(prefix);
  return result;
}

void AssignNextPinName(const Tower* pad) {
  const std::uint8_t* label = GetPadStackInstanceLabel(pad);
  if (label) {
    PadLabelOffset.x = ReadI32(label, 36);
    PadLabelOffset.y = ReadI32(label, 40);
  }
  const char* current = GetPadLabelName(pad);
  const std::string base = current ? current : "";
  Tower* parent = ParentOf(pad);
  char* next = GetNextPinName(parent, base.c_str());
  ReleaseTower(&parent);
  if (next) SetPadLabel(pad, next);
  std::free(next);
}

int IsPadNameDuplicate(const Tower* pad) {
  const char* own = GetPadLabelName(pad);
  if (!own) return 0;
  const std::string name = own;
  const Entity* self = TowerEntity(pad);
  Tower* parent = ParentOf(pad);
  int duplicate = 0;
  ForEachPad(parent, [&](const Tower* other, const char* otherName) {
    if (TowerEntity(other) != self && otherName && pl3::EqualsNoCase(otherName, name)) duplicate = 1;
    return !duplicate;
  });
  ReleaseTower(&parent);
  return duplicate;
}

int IncrementNameSuffix(char** name, int allowLetters) {
  if (!name || !*name || !**name) return 0;
  char* text = *name;
  const std::size_t length = std::strlen(text);
  const unsigned char c = static_cast<unsigned char>(text[length - 1]);
  if (std::isalpha(c)) {
    if (!allowLetters || c == 'z' || c == 'Z') return 0;
    text[length - 1] = static_cast<char>(c + 1);
    return 1;
  }
  if (!std::isdigit(c)) return 0;
  const std::size_t prefix = PrefixLength(text);
  // One below the largest value, so that adding one never wraps.
  const std::uint64_t n = ReadClamped(text + prefix, UINT64_MAX - 1);
  char digits[24];
  std::snprintf(digits, sizeof digits, "%" PRIu64, n + 1);
  const std::size_t newLength = prefix + std::strlen(digits);
  if (newLength > length) {
    char* grown = static_cast<char*>(std::malloc(newLength + 1));
    if (!grown) return 0;
    std::memcpy(grown, text, prefix);
    std::memcpy(grown + prefix, digits, std::strlen(digits) + 1);
    std::free(text);
    *name = grown;
  } else {
    std::memcpy(text + prefix, digits, std::strlen(digits) + 1);
  }
  return 1;
}

int DecrementNameSuffix(char* name) {
  if (!name || !*name) return 0;
  const std::size_t length = std::strlen(name);
  const unsigned char c = static_cast<unsigned char>(name[length - 1]);
  if (std::isalpha(c)) {
    if (c == 'a' || c == 'A') return 0;
    name[length - 1] = static_cast<char>(c - 1);
    return 1;
  }
  if (!std::isdigit(c)) return 0;
  const std::size_t prefix = PrefixLength(name);
  const std::uint64_t n = ReadClamped(name + prefix, UINT64_MAX);
  if (n == 0) return 0;
  // n - 1 never has more digits than the text held.
  std::snprintf(name + prefix, length - prefix + 1, "%" PRIu64, n - 1);
  return 1;
}

// ---- Naming a pad ---------------------------------------------------------------------

int EditPadName(const Tower* pad, PadLabelHead** label) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !label) return 0;
  ReleaseTower(&w->TemporaryEntity);
  w->TemporaryEntity = LabelHierOf(pad);
  if (const char* name = GetPadLabelName(pad)) {
    std::free(w->PadNameText);
    w->PadNameText = HeapCopy(name);
  }
  w->PadNameText = ShowEnterTextDlgEx("Edit Pad Name", "Enter Name", w->PadNameText, kPadNameMaxLength);
  if (EnterTextDialogResult && w->PadNameText && *w->PadNameText) {
    if (Entity* hier = TowerEntity(w->TemporaryEntity)) hier->flags |= kEntityStateSelected;
    *label = NewPadLabel(w->PadNameText);
    w->EditMode = kEditModePlacingPadName;
    return 1;
  }
  ReleaseTower(&w->TemporaryEntity);
  return 0;
}

void EndPadNaming() {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  FinishPinPlacement(w->TemporaryEntity);
  ReleaseTower(&w->TemporaryEntity);
  w->EditMode = 0;
}

int DrawPadLabel(void* dc, const Tower* label) {
  Entity* e = TowerEntity(label);
  if (!e || !e->payloadSize) return 0;
  const char* name = NameOf(EntityPayload(e), e->payloadSize);
  Tower* pad = GetEnclosingTower(label, Type_PadStackInstanceHier);
  pl3::Box box{};
  const bool boxed = name && pad && GetPadStackInstanceBox(pad, &box);
  ReleaseTower(&pad);
  if (!boxed) return 1;
  BoxToView(&box);
  NormaliseBox(&box);
  HDC hdc = static_cast<HDC>(dc);
  SIZE size{};
  if (!GetTextExtentPoint32(hdc, name, static_cast<int>(std::strlen(name)), &size)) return 1;
  const std::int64_t boxWidth = static_cast<std::int64_t>(box.xmax) - box.xmin;
  const std::int64_t boxHeight = static_cast<std::int64_t>(box.ymax) - box.ymin;
  if (size.cx >= boxWidth || size.cy >= boxHeight) return 1;
  const int oldMode = SetBkMode(hdc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(hdc, kPadNameColour);
  RECT rc{box.xmin, box.ymin, box.xmax, box.ymax};
  DrawText(hdc, name, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SetTextColor(hdc, oldColour);
  SetBkMode(hdc, oldMode);
  return 1;
}

void MoveLabelToMouse(PadLabelHead* label, pl3::Point mouse) {
  if (!label) return;
  std::int32_t x = mouse.x;
  std::int32_t y = mouse.y;
  if (WalkHandlers.snapXY) WalkHandlers.snapXY(&x, &y, 0);
  const std::int32_t zoom = ActiveWindowData && ActiveWindowData->Zoom ? static_cast<std::int32_t>(ActiveWindowData->Zoom) : 1;
  if (x / zoom != label->transform.tx / zoom || y / zoom != label->transform.ty / zoom) {
    label->transform.tx = x;
    label->transform.ty = y;
  }
}

// ---- Symbols by designator -----------------------------------------------------------------

namespace {

// The text payload of the newest child of the code, or null.
const char* ChildText(const Tower* t, std::uint16_t code) {
  Tower* child = GetChildTower(t, code);
  Entity* e = child ? FindNextEntity(child) : nullptr;
  ReleaseTower(&child);
  if (!e || !e->payloadSize) return nullptr;
  const char* text = reinterpret_cast<const char*>(EntityPayload(e));
  return std::memchr(text, 0, e->payloadSize) ? text : nullptr;
}

Tower* NetHierGroupOf(const Tower* design) { return NewestChildTower(design, Type_NetHierGroup); }

constexpr std::uint16_t kTypeImportedSymbolMapping = 283;
constexpr std::uint16_t kTypeImportedAttributes = 289;
constexpr std::uint16_t kTypeImportedAttribute = 290;
constexpr std::uint16_t kTypeImportedAttributeName = 291;
constexpr std::uint16_t kTypeImportedAttributeValue = 292;

}  // namespace

Tower* GetSymbol(HWND owner, const Tower* design, char* designator) {
  Tower* group = NetHierGroupOf(design);
  if (!group) {
    ShowMessage(owner, "Error - no nets have been imported", "Get Symbol");
    return nullptr;
  }
  Tower* symbols = GetChildTower(group, Type_ImportedSymbol);
  ReleaseTower(&group);
  Tower* result = nullptr;
  bool matched = false;
  while (!matched && symbols && FindNextEntity(symbols)) {
    LastLevel(symbols).flags |= kLevelPositioned;
    const char* stored = ChildText(symbols, Type_ImportedDesignator);
    if (!stored || !designator || !pl3::EqualsNoCase(stored, designator)) continue;
    matched = true;
    // Equal without regard to case, so the lengths agree.
    std::memcpy(designator, stored, std::strlen(stored));
    const std::uint8_t* mapping = ChildPayloadOfAtLeast(symbols, kTypeImportedSymbolMapping, 4);
    if (!mapping) {
      ShowMessage(owner, "Error - symbol has not been mapped", "Get Symbol");
    } else {
      result = ResolveReferenceUnder(design, ReadU32(mapping, 0));
    }
  }
  ReleaseTower(&symbols);
  if (!matched) ShowMessage(owner, "Error - could not find symbol", "Get Symbol");
  return result;
}

void SyncImportedSymbolAttributes(const Tower* instance) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !instance) return;
  Tower* group = NetHierGroupOf(w->design);
  Tower* designatorGroup = NewestChildTower(instance, Type_Designator);
  const char* designator = designatorGroup ? ChildText(designatorGroup, Type_DesignatorString) : nullptr;
  ReleaseTower(&designatorGroup);
  Tower* imported = group && designator ? FindImportedSymbol(group, designator) : nullptr;
  ReleaseTower(&group);
  Tower* lists = imported ? GetChildTower(imported, kTypeImportedAttributes) : nullptr;
  while (lists && FindNextEntity(lists)) {
    LastLevel(lists).flags |= kLevelPositioned;
    Tower* attributes = GetChildTower(lists, kTypeImportedAttribute);
    while (attributes && FindNextEntity(attributes)) {
      LastLevel(attributes).flags |= kLevelPositioned;
      const char* name = ChildText(attributes, kTypeImportedAttributeName);
      if (!name) continue;
      char* text = GetUserAttributeText(instance, name);
      const char* value = ChildText(attributes, kTypeImportedAttributeValue);
      if (text && !(value && pl3::EqualsNoCase(value, text))) {
        Tower* at = DuplicateTower(attributes);
        LastLevel(at).flags = kLevelLast | kLevelPositioned;
        DeleteChildEntities(at, kTypeImportedAttributeValue);
        Tower* inserted = InsertEntity(at, static_cast<std::uint32_t>(std::strlen(text) + 1),
                                       kTypeImportedAttributeValue, text);
        ReleaseTower(&inserted);
        ReleaseTower(&at);
      }
      std::free(text);
    }
    ReleaseTower(&attributes);
  }
  ReleaseTower(&lists);
  ReleaseTower(&imported);
}

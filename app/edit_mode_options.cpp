// Options of the edit modes that change one selected item, or the item being
// placed, in place: dimensioner units, schematic symbol flags, the kind of a
// keepout and a datum's fixed flag. Each erases the ghost of the selection and
// mode before the change and draws it again after.
#include "app/edit_mode_options.h"

#include <cstring>
#include <vector>

#include "app/core_utilities.h"
#include "draw/grids.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "objects/designators.h"
#include "objects/dimensioners.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/polygon_entry.h"
#include "objects/selection_menus.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/menus.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kEntityFixed = 0x1000;
constexpr std::uint16_t kTypeSchematicSymbolGroup = 30;

std::uint16_t TypeOf(const Tower* t) { return t ? LastLevel(t).typeCode : 0; }

// The selection's only primary record, or null.
SelectionInfo* OnlyPrimary(const CurrentWindowData& w) {
  if (CountSelections(w.SelectionList, 1) != 1) return nullptr;
  for (SelectionInfo* s = w.SelectionList; s; s = s->next)
    if (s->flags & 1) return s;
  return nullptr;
}

// The first primary record whose item (its working copy, else the item) has
// one of the types, or null.
SelectionInfo* FirstPrimaryOf(const CurrentWindowData& w, std::initializer_list<std::uint16_t> types) {
  for (SelectionInfo* s = w.SelectionList; s; s = s->next) {
    if (!(s->flags & 1)) continue;
    const std::uint16_t type = TypeOf(s->workingCopy ? s->workingCopy : s->original);
    for (std::uint16_t t : types)
      if (t == type) return s;
  }
  return nullptr;
}

template <typename T>
T* WorkingPayload(const SelectionInfo* s) {
  return s && s->workingCopy ? reinterpret_cast<T*>(PayloadOfAtLeast(TowerEntity(s->workingCopy), sizeof(T)))
                             : nullptr;
}

// Runs the change between two ghost draws of the window's selection and mode.
template <typename Change>
void BetweenGhosts(HWND child, CurrentWindowData& w, Change change) {
  GhostSelectionAndMode(child, w.PendingRecord);
  change();
  GhostSelectionAndMode(child, w.PendingRecord);
}

// ---- Cycle Units ----------------------------------------------------------------------

bool PlacingDimensioner(std::uint8_t mode) { return mode >= 75 && mode <= 78; }
bool PlacingAngleDimensioner(std::uint8_t mode) { return mode >= 79 && mode <= 82; }

// The dimensioner whose unit code the command steps, and its type; null when
// the mode has none.
DimensionerPayload* UnitTarget(CurrentWindowData& w, std::uint16_t* type) {
  const std::uint8_t mode = w.EditMode;
  if (mode == 39) {
    SelectionInfo* s = OnlyPrimary(w);
    *type = TypeOf(s ? (s->workingCopy ? s->workingCopy : s->original) : nullptr);
    if (*type != Type_Dimensioner && *type != Type_AngleDimensioner) return nullptr;
    return WorkingPayload<DimensionerPayload>(s);
  }
  if (!w.PendingRecord) return nullptr;
  const std::uint16_t pending = w.PendingRecord->header.recordType;
  if (PlacingDimensioner(mode) && pending == Type_Dimensioner) *type = Type_Dimensioner;
  else if (PlacingAngleDimensioner(mode) && pending == Type_AngleDimensioner) *type = Type_AngleDimensioner;
  else return nullptr;
  return &w.PendingRecord->as<DimensionerPayload>();
}

}  // namespace

std::uint32_t NextDimensionerUnit(std::uint16_t type, std::uint32_t unit) {
  if (type == Type_AngleDimensioner) return unit == 4 ? 5 : unit == 5 ? 4 : unit;
  return unit <= 3 ? (unit + 1) % 4 : unit;
}

int CycleDimensionerUnits(UINT, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  if (!w) return 0;
  std::uint16_t type = 0;
  DimensionerPayload* d = UnitTarget(*w, &type);
  if (!d) return 0;
  BetweenGhosts(child, *w, [&] { d->unit = NextDimensionerUnit(type, d->unit); });
  return 1;
}

// ---- Mirror Symbol and Toggle Pin Numbers ------------------------------------------------

int FlipSchematicSymbolFlag(UINT id, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  if (!w) return 0;
  SelectionInfo* s = FirstPrimaryOf(*w, {kTypeSchematicSymbolGroup});
  std::uint8_t* record = s && s->workingCopy ? ChildPayloadOfAtLeast(s->workingCopy, Type_SchematicSymbol, 4) : nullptr;
  if (!record) return 0;
  const std::uint32_t bit = id == 2354 ? 0x1 : 0x2;  // mirrored, pin numbers shown
  BetweenGhosts(child, *w, [&] { WriteU32(record, 0, ReadU32(record, 0) ^ bit); });
  return 1;
}

// ---- Keepout kinds ------------------------------------------------------------------------

namespace {

struct KeepoutKind {
  UINT id;
  std::uint16_t type;
};
constexpr KeepoutKind kKeepoutKinds[] = {{2649, Type_PolygonKeepout},
                                         {2652, Type_PolygonPlacementKeepout},
                                         {2653, Type_PolygonWiringKeepout},
                                         {2654, Type_PolygonViaKeepout}};

}  // namespace

int SetKeepoutKind(UINT id, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  if (!w || !w->design) return 0;
  std::uint16_t type = 0;
  for (const KeepoutKind& k : kKeepoutKinds)
    if (k.id == id) type = k.type;
  if (HMENU menu = GetMenu(FrameWindow))
    for (const KeepoutKind& k : kKeepoutKinds)
      CheckMenuItem(menu, k.id, MF_BYCOMMAND | (k.id == id ? MF_CHECKED : MF_UNCHECKED));
  SelectionInfo* s = FirstPrimaryOf(*w, {Type_PolygonKeepout, Type_PolygonPlacementKeepout, Type_PolygonWiringKeepout,
                                         Type_PolygonViaKeepout});
  const Entity* old = s && s->workingCopy ? TowerEntity(s->workingCopy) : nullptr;
  if (!type || !old) return 0;
  if (old->typeCode == type) return 1;
  // The payload is copied out first: the insertion may move the store's nodes.
  const std::uint8_t* payload = EntityPayload(old);
  const std::vector<std::uint8_t> bytes(payload, payload + old->payloadSize);
  Tower* copy = InsertEntity(w->design, static_cast<std::uint32_t>(bytes.size()), type, bytes.data());
  if (!copy) return 0;
  BetweenGhosts(child, *w, [&] {
    DeleteEntity(s->workingCopy);
    ReleaseTower(&s->workingCopy);
    s->workingCopy = copy;
  });
  return 1;
}

// ---- Datum Fixed ----------------------------------------------------------------------------

int ToggleDatumFixed(UINT, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  SelectionInfo* s = w ? OnlyPrimary(*w) : nullptr;
  const Tower* item = s ? (s->original ? s->original : s->workingCopy) : nullptr;
  if (TypeOf(item) != Type_Datum) return 0;
  Entity* datum = TowerEntity(item);
  const bool fixed = !(datum->flags & kEntityFixed);
  BetweenGhosts(child, *w, [&] {
    datum->flags ^= kEntityFixed;
    DatumPayload* copy = WorkingPayload<DatumPayload>(s);
    if (s->workingCopy && TowerEntity(s->workingCopy) != datum) TowerEntity(s->workingCopy)->flags ^= kEntityFixed;
    if (!copy) return;
    if (fixed) {
      pl3::Point at{copy->x, copy->y};
      SnapPoint(&at);
      copy->x = at.x;
      copy->y = at.y;
    } else if (const auto* original = s->original ? reinterpret_cast<const DatumPayload*>(
                                                         PayloadOfAtLeast(datum, sizeof(DatumPayload)))
                                                   : nullptr) {
      copy->x = original->x;
      copy->y = original->y;
    }
  });
  if (HMENU menu = GetMenu(FrameWindow)) CheckMenuItem(menu, 2391, MF_BYCOMMAND | (fixed ? MF_CHECKED : MF_UNCHECKED));
  return 1;
}

// ---- Toggle Add/Move Vertex and Move ------------------------------------------------------

namespace {

// The selection types whose points the vertex grabs edit: polygons, planes,
// keepouts and their kin.
bool IsPolygonLikeSelection(std::uint32_t type) {
  return type == 4 || type == 8 || type == 9 || (type >= 41 && type <= 45) || type == 49;
}

bool EditingSelection(const CurrentWindowData& w) { return w.EditMode == 39 || w.EditMode == 45; }

}  // namespace

int ToggleVertexGrab(UINT, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  if (!w || w->EditMode != 39) return 0;
  SelectionInfo* s = OnlyPrimary(*w);
  if (!s || !IsPolygonLikeSelection(GetSelectionType(w->SelectionList))) return 0;
  if (s->grabbedPart != kGrabVertexMove && s->grabbedPart != kGrabVertexAdd) return 0;
  // The two grabs ghost differently: the old one is erased, the new one drawn.
  BetweenGhosts(child, *w,
                [&] { s->grabbedPart = s->grabbedPart == kGrabVertexMove ? kGrabVertexAdd : kGrabVertexMove; });
  UpdateStatusBar(child);
  return 1;
}

int MoveWholeSelection(UINT, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  if (!w || !EditingSelection(*w) || !w->SelectionList) return 0;
  BetweenGhosts(child, *w, [&] { ResetSelectionGrab(w->SelectionList); });
  UpdateStatusBar(child);
  UpdateSelectionMenuForMode();
  SetEditCursor(3);
  return 1;
}

// ---- Text alignment and Mirror Text ---------------------------------------------------------

int CycleTextAlignment(UINT id, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  if (!w) return 0;
  std::int32_t changed = 0;
  BetweenGhosts(child, *w, [&] { changed = CycleEditedTextJustification(id == 444 ? 1 : 0); });
  return changed ? 1 : 0;
}

int MirrorTextOption(UINT, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  if (!w) return 0;
  const std::uint8_t mode = w->EditMode;
  if ((mode == 28 || mode == 29) && w->PendingRecord) {
    MirrorGhost(child, w->PendingRecord);
    return 1;
  }
  if (mode == 78 && w->PendingRecord && w->PendingRecord->header.recordType == Type_Dimensioner) {
    BetweenGhosts(child, *w, [&] { ReflectTransformInX(&w->PendingRecord->as<DimensionerPayload>().labelTransform); });
    return 1;
  }
  if (mode != 39) return 0;
  SelectionInfo* s = OnlyPrimary(*w);
  const std::uint16_t type = TypeOf(s ? s->workingCopy : nullptr);
  if (type == Type_Text) {
    auto* text = reinterpret_cast<TextPayload*>(PayloadOfAtLeast(TowerEntity(s->workingCopy), offsetof(TextPayload, text)));
    if (!text) return 0;
    BetweenGhosts(child, *w, [&] { ReflectTransformInX(&text->textTransform); });
    return 1;
  }
  if (type != Type_Dimensioner && type != Type_AngleDimensioner) return 0;
  DimensionerPayload* d = WorkingPayload<DimensionerPayload>(s);
  if (!d) return 0;
  BetweenGhosts(child, *w, [&] { ReflectTransformInX(&d->labelTransform); });
  return 1;
}

// ---- Dimensioner options --------------------------------------------------------------------

int ToggleSelectedDimensionerArrows(UINT, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  if (!w) return 0;
  DimensionerPayload* d = nullptr;
  if (w->EditMode == 39) {
    SelectionInfo* s = OnlyPrimary(*w);
    if (TypeOf(s ? s->workingCopy : nullptr) == Type_Dimensioner) d = WorkingPayload<DimensionerPayload>(s);
  } else if (PlacingDimensioner(w->EditMode) && w->PendingRecord &&
             w->PendingRecord->header.recordType == Type_Dimensioner) {
    d = &w->PendingRecord->as<DimensionerPayload>();
  }
  if (!d) return 0;
  ToggleDimensionerArrows(child, d);
  return 1;
}

int EditSelectedDimensionerLabel(UINT, HWND child) {
  CurrentWindowData* w = child ? ActiveWindowData : nullptr;
  SelectionInfo* s = w && w->EditMode == 39 ? OnlyPrimary(*w) : nullptr;
  const std::uint16_t type = TypeOf(s ? s->workingCopy : nullptr);
  if (type != Type_Dimensioner && type != Type_AngleDimensioner) return 0;
  // The label's text and unit change its size: the old ghost goes first.
  BetweenGhosts(child, *w, [&] {
    if (type == Type_Dimensioner) EditDimensionerLabel(s->workingCopy);
    else EditAngleDimensionerLabel(s->workingCopy);
  });
  return 1;
}

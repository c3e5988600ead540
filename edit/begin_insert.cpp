// The begin-insert handlers and the choice of handler by editor kind and
// insertion type.
#include <cstring>

#include "draw/ghosts.h"
#include "draw/grids.h"
#include "edit/edit_modes.h"
#include "edit/insertion.h"
#include "edit/insertion_seams.h"
#include "edit/window_data.h"
#include "objects/colours.h"
#include "objects/dimensioners.h"
#include "objects/editor_seams.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "objects/selection_menus.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/gdi.h"
#include "platform/menus.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

std::uint32_t ProgramOptionWord = 0;
pl3::Point ArcToolFirstPoint{};
pl3::Point ArcToolSecondPoint{};
std::int32_t ArcToolRadius = 0;

namespace {

void ResetInsertionGlobals() {
  ProgramOptionWord = 0;
  ArcToolFirstPoint = {};
  ArcToolSecondPoint = {};
  ArcToolRadius = 0;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetInsertionGlobals);

constexpr std::int32_t kCentroidSize = 585216;    // 16 thou
constexpr std::int32_t kThinLineWidth = 182880;   // 5 thou
constexpr std::int32_t kThinArcWidth = 109728;    // 3 thou
constexpr std::uint8_t kPlatedSlotLayer = 129;
constexpr std::uint8_t kNonPlatedSlotLayer = 130;
constexpr std::uint16_t kPolygonLayerKindCopper = LayerKind_Copper;

// Edit cursor kinds of the tools.
constexpr std::uint32_t kCursorLine = 7, kCursorArc = 1, kCursorCircle = 2, kCursorPolygon = 13,
                        kCursorRectangle = 14, kCursorHole = 6, kCursorCentroid = 23;

bool IsSchematicKind(std::uint32_t kind) { return kind == kEditorSchematicSymbol || kind == kEditorSchematic; }

bool LayerEnabled(const CurrentWindowData& w, std::uint32_t layer) {
  return (w.layerTable.layers[layer & 0xFF].flags & kLayerSelectable) != 0;
}

std::uint32_t DefaultSizeIndex(const CurrentWindowData& w, std::uint32_t kind) {
  return w.sizeTable ? (*w.sizeTable)[kind].defaultIndex : 0;
}

// A fresh record of the type on the layer, identity transforms, owned by the slot.
EntityRecord* NewPending(EntityRecord** slot, std::uint16_t type, std::uint8_t layer) {
  delete *slot;
  EntityRecord* r = NewEntityRecord().release();
  InitialiseEntityRecord(r, type, &pl3::kIdentityTransform, layer);
  *slot = r;
  return r;
}

void SetDefaultSize(EntityRecord* r, const CurrentWindowData& w, std::uint32_t sizeKind) {
  r->head().sizeFlags = kSizeByIndex;
  r->head().sizeIndex = DefaultSizeIndex(w, sizeKind);
  ResolveEntitySizes(r->payload, StoredCodeOfRecord(*r));
}

pl3::Point SnappedCursor(const InsertTarget& t, ButtonRecord* point) {
  SnapDragPoint(t.window, point);
  return point->Cursor;
}

// The mode, the cursor and the first ghost of a handler.
void EnterPlacingMode(const InsertTarget& t, CurrentWindowData& w, const EntityRecord* r, std::uint8_t mode,
                      std::uint32_t cursor) {
  w.EditMode = mode;
  w.SubMode = 0;
  SetEditCursor(cursor);
  if (t.dc) GhostEntity(t.dc, r, 0);
}

std::uint16_t LineInsertionType(std::uint8_t variant) {
  switch (variant) {
    case kStateThermalBreak: return Type_ThermalBreak;
    case kStateLinkedCut: return Type_LinkedCut;
    case kStateStarEarth: return Type_StarEarthTrack;
    case kStateBoardOutline: return Type_BoardOutlineLine;
    case kStatePlatedSlot: return Type_PlatedSlot;
    case kStateNonPlatedSlot: return Type_NonPlatedSlot;
    default: return Type_Track;
  }
}

// The line record at a point; shared by the line tool and the continued track.
EntityRecord* StartLine(const InsertTarget& t, CurrentWindowData& w, EntityRecord** slot, pl3::Point at,
                        std::uint8_t variant) {
  std::uint8_t layer = NewItemLayer(w, Type_Track);
  const bool copperVariant = variant == kStateThermalBreak || variant == kStateLinkedCut ||
                             variant == kStateStarEarth || variant == kStatePlatedSlot ||
                             variant == kStateNonPlatedSlot;
  if (copperVariant && !IsSchematicKind(w.editorKind))
    layer = EnabledLayerOfKind(w, w.RoutingLayer, LayerKind_Copper);
  if (variant == kStatePlatedSlot) layer = kPlatedSlotLayer;
  if (variant == kStateNonPlatedSlot) layer = kNonPlatedSlotLayer;
  EntityRecord* r = NewPending(slot, Type_Track, layer);
  r->header.state |= variant;
  r->header.headerLayer = 0;  // the bend flags of the ghost
  SetDefaultSize(r, w, SizeKind_Lines);
  auto& l = r->as<LinePayload>();
  l.x1 = l.x2 = at.x;
  l.y1 = l.y2 = at.y;
  w.RoutingLayer = layer;
  w.LastTrackLayer = layer;
  (void)t;
  return r;
}

void FillLayerTable(EntityRecord* r, std::uint16_t (*flag)(std::uint32_t)) {
  for (std::uint32_t layer = 0; layer < kLayerCount; ++layer) {
    const std::uint16_t v = flag(layer);
    std::memcpy(r->payload + kHoleLayerTableOffset + 2 * layer, &v, sizeof v);
  }
}

void ShowHoleChoice(bool nonPlated) {
  HMENU menu = FrameWindow ? GetMenu(FrameWindow) : nullptr;
  if (!menu) return;
  if (nonPlated) {
    ModifyMenu(menu, kPlatedHoleMenuId, MF_BYCOMMAND | MF_STRING | MF_UNCHECKED, kPlatedHoleMenuId,
               "Plated through");
    ModifyMenu(menu, kNonPlatedHoleMenuId, MF_BYCOMMAND | MF_STRING | MF_CHECKED, kNonPlatedHoleMenuId,
               "Non plated through\tH");
  } else {
    ModifyMenu(menu, kNonPlatedHoleMenuId, MF_BYCOMMAND | MF_STRING | MF_UNCHECKED, kNonPlatedHoleMenuId,
               "Non plated through");
    ModifyMenu(menu, kPlatedHoleMenuId, MF_BYCOMMAND | MF_STRING | MF_CHECKED, kPlatedHoleMenuId,
               "Plated through\tH");
  }
}

// Holes and vias: the drill span, the sizes and the per-layer table.
void StartHole(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point, bool via) {
  CurrentWindowData& w = *ActiveWindowData;
  EntityRecord* r = NewPending(slot, Type_Hole, w.TopLayer);
  auto& h = r->as<HolePayload>();
  h.hole.style = w.BottomLayer;
  r->head().sizeFlags = kSizeByIndex;
  r->head().sizeIndex = DefaultSizeIndex(w, via ? SizeKind_Vias : SizeKind_Holes);
  const pl3::Point at = SnappedCursor(t, point);
  h.hole.centreX = at.x;
  h.hole.centreY = at.y;
  if (via) {
    h.hole.flags = kHoleIsVia | kHoleQuartered;
    FillLayerTable(r, &ViaLayerFlag);
  } else {
    const bool nonPlated = (ProgramOptionWord & kOptionNonPlatedHoles) != 0;
    h.hole.flags = nonPlated ? 0 : kHoleQuartered;
    FillLayerTable(r, &HoleLayerFlag);
    ShowHoleChoice(nonPlated);
    h.hole.flags &= static_cast<std::uint8_t>(~kHoleIsVia);
  }
  ResolveEntitySizes(r->payload, Type_Hole);
  w.RoutingLayer = r->head().layer;
  w.InsertionTypeCode = Type_Hole;
  SetSelectionAndOptionsMenus(GetSelectionMenuKind(Type_Hole, nullptr));
  EnterPlacingMode(t, w, r, Mode_AddNewVia, kCursorHole);
}

bool DesignHas(const CurrentWindowData& w, std::uint16_t type) {
  Tower* child = w.design ? GetChildTower(w.design, type) : nullptr;
  const bool found = child != nullptr;
  ReleaseTower(&child);
  return found;
}

}  // namespace

std::uint16_t HoleLayerFlag(std::uint32_t layer) {
  return (layer == 0 || layer == 33 || layer == 36 || layer == 37) ? 0 : 1;
}

std::uint16_t ViaLayerFlag(std::uint32_t layer) {
  return (layer == 0 || (layer >= 33 && layer <= 72) || layer == 129 || layer == 130) ? 0 : 1;
}

std::uint8_t NewItemLayer(const CurrentWindowData& w, std::uint16_t type) {
  if (IsSchematicKind(w.editorKind)) return static_cast<std::uint8_t>(GetTypeColour(type));
  if (LayerEnabled(w, w.RoutingLayer)) return w.RoutingLayer;
  const std::uint8_t next = GetNextLayerOfKind(w.RoutingLayer, 0);
  if (next != w.RoutingLayer && LayerEnabled(w, next)) return next;
  for (std::uint32_t layer = 0; layer < kLayerCount; ++layer)
    if (LayerEnabled(w, layer)) return static_cast<std::uint8_t>(layer);
  return w.RoutingLayer;
}

std::uint8_t EnabledLayerOfKind(const CurrentWindowData& w, std::uint8_t layer, std::uint16_t kind) {
  const auto fits = [&](std::uint32_t l) {
    return LayerEnabled(w, l) && (kind == 0 || w.layerTable.layers[l & 0xFF].kind == kind);
  };
  for (std::uint32_t step = 0; step < kLayerCount; ++step) {
    const std::uint32_t l = (layer + step) % kLayerCount;
    if (fits(l)) return static_cast<std::uint8_t>(l);
  }
  return layer;
}

void BeginInsertLine(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point, std::uint8_t variant) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !point) return;
  const pl3::Point at = SnappedCursor(t, point);
  EntityRecord* r = StartLine(t, *w, slot, at, variant);
  SetInsertionType(LineInsertionType(variant));
  EnterPlacingMode(t, *w, r, Mode_AddNewTrack, kCursorLine);
}

void BeginInsertThermalBreak(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) {
  BeginInsertLine(t, s, p, kStateThermalBreak);
}
void BeginInsertLinkedCut(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) {
  BeginInsertLine(t, s, p, kStateLinkedCut);
}
void BeginInsertStarEarthTrack(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) {
  BeginInsertLine(t, s, p, kStateStarEarth);
}
void BeginInsertBoardOutlineLine(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) {
  BeginInsertLine(t, s, p, kStateBoardOutline);
}
void BeginInsertPlatedSlot(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) {
  BeginInsertLine(t, s, p, kStatePlatedSlot);
}
void BeginInsertNonPlatedSlot(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) {
  BeginInsertLine(t, s, p, kStateNonPlatedSlot);
}

void BeginInsertRoutedLine(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) {
  if (CurrentWindowData* w = ActiveWindowData) {
    w->StateFlags |= kStateRoutedLine;
    w->RoutingLayer = w->TopLayer;
  }
  BeginInsertLine(t, s, p, kLinePlain);
}

void BeginContinueTrack(const InsertTarget& t, EntityRecord** slot, pl3::Point at) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot) return;
  EntityRecord* r = StartLine(t, *w, slot, at, kLinePlain);
  SetInsertionType((w->StateFlags & kStateRoutedLine) ? Type_RoutedLine : Type_Track);
  EnterPlacingMode(t, *w, r, Mode_AddNewTrack, kCursorLine);
}

void BeginInsertRectangle(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !point) return;
  EntityRecord* r = NewPending(slot, Type_Rectangle, NewItemLayer(*w, Type_Rectangle));
  const pl3::Point at = SnappedCursor(t, point);
  auto& rect = r->as<RectanglePayload>().rect;
  rect.centreX = at.x;
  rect.centreY = at.y;
  SetDefaultSize(r, *w, SizeKind_Rectangles);
  w->RoutingLayer = r->head().layer;
  SetInsertionType(Type_Rectangle);
  EnterPlacingMode(t, *w, r, Mode_AddNewRectangle, kCursorRectangle);
}

void BeginInsertCircle(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !point) return;
  EntityRecord* r = NewPending(slot, Type_Circle, NewItemLayer(*w, Type_Circle));
  const pl3::Point at = SnappedCursor(t, point);
  auto& c = r->as<CirclePayload>();
  c.centreX = at.x;
  c.centreY = at.y;
  SetDefaultSize(r, *w, SizeKind_Circles);
  w->RoutingLayer = r->head().layer;
  SetInsertionType(Type_Circle);
  EnterPlacingMode(t, *w, r, Mode_AddNewCircle, kCursorCircle);
}

namespace {

EntityRecord* StartArc(const InsertTarget& t, CurrentWindowData& w, EntityRecord** slot, ButtonRecord* point,
                       std::uint8_t variant, pl3::Point* at) {
  EntityRecord* r = NewPending(slot, Type_Arc, NewItemLayer(w, Type_Arc));
  if (variant == kStateOutlineArc) r->header.state |= kStateOutlineArc;
  r->header.headerLayer = 0;
  *at = SnappedCursor(t, point);
  SetDefaultSize(r, w, SizeKind_Lines);
  w.RoutingLayer = r->head().layer;
  SetInsertionType(variant == kStateOutlineArc ? Type_BoardOutlineArc : Type_Arc);
  return r;
}

}  // namespace

void BeginInsertArcByCentre(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point, std::uint8_t variant) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !point) return;
  pl3::Point at{};
  EntityRecord* r = StartArc(t, *w, slot, point, variant, &at);
  auto& a = r->as<ArcPayload>();
  a.centreX = at.x;
  a.centreY = at.y;
  EnterPlacingMode(t, *w, r, Mode_SetArcRadius, kCursorArc);
}

void BeginInsertBoardOutlineArc(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) {
  BeginInsertArcByCentre(t, s, p, kStateOutlineArc);
}

void BeginInsertArcByEnds(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point, std::uint8_t variant) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !point) return;
  pl3::Point at{};
  EntityRecord* r = StartArc(t, *w, slot, point, variant, &at);
  auto& a = r->as<ArcPayload>();
  a.centreX = at.x;
  a.centreY = at.y;
  ArcToolFirstPoint = at;
  EnterPlacingMode(t, *w, r, Mode_SetArcEndPoint, kCursorArc);
}

void BeginInsertPolygon(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point, std::uint16_t layerKind) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !point) return;
  const std::uint8_t layer = IsSchematicKind(w->editorKind)
                                 ? static_cast<std::uint8_t>(GetTypeColour(Type_Polygon))
                                 : EnabledLayerOfKind(*w, w->RoutingLayer, layerKind);
  EntityRecord* r = NewPending(slot, Type_Polygon, layer);
  r->header.headerLayer = 0;
  const pl3::Point at = SnappedCursor(t, point);
  auto& p = r->as<PolygonHead>();
  p.count = 2;  // the first point and the live point that follows the cursor
  p.editIndex = 1;
  p.extra[0] = p.extra[1] = at;
  pl3::PolygonPoints(&p)[0] = pl3::PolygonPoints(&p)[1] = at;
  w->RoutingLayer = layer;
  SetInsertionType((r->header.state & kStatePlane) ? Type_Plane : Type_Polygon);
  EnterPlacingMode(t, *w, r, Mode_AddNewPolygon, kCursorPolygon);
}

namespace {

// A polygon of the copper kind with a state bit, set after its insertion type.
void BeginMarkedPolygon(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point, std::uint8_t state) {
  BeginInsertPolygon(t, slot, point, kPolygonLayerKindCopper);
  if (*slot) {
    GhostEntity(t.dc, *slot, 0);
    (*slot)->header.state |= state;
    GhostEntity(t.dc, *slot, 0);
  }
}

}  // namespace

void BeginInsertPlane(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) {
  BeginMarkedPolygon(t, s, p, kStatePlane);
}
void BeginInsertPlaneCutout(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) {
  BeginMarkedPolygon(t, s, p, kStatePlaneCutout);
}

void BeginInsertComponentOutline(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point,
                                 std::uint16_t type) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !point) return;
  std::int32_t height = 0;
  if (type == Type_ComponentPlacementOutline && DesignHas(*w, type)) {
    MessageBox(t.window, "A placement polygon already exists.", "Pelmora3", MB_OK);
    return;
  }
  if (type == Type_ComponentBodyOutline) {
    if (DesignHas(*w, type)) {
      MessageBox(t.window, "A body polygon already exists.", "Pelmora3", MB_OK);
      return;
    }
    if (RunBodyHeightDialog(t.window, &height) != 1) return;
  }
  BeginInsertPolygon(t, slot, point, kPolygonLayerKindCopper);
  EntityRecord* r = *slot;
  if (!r) return;
  GhostEntity(t.dc, r, 0);
  r->header.state |= kStateKeepout;
  r->header.recordType = type;
  r->as<PolygonHead>().head.reserved = static_cast<std::uint32_t>(height);
  if (type == Type_ComponentPlacementOutline || type == Type_ComponentBodyOutline) r->head().layer = 1;
  GhostEntity(t.dc, r, 0);
}

void BeginInsertText(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !point) return;
  EntityRecord* r = NewPending(slot, Type_Text, NewItemLayer(*w, Type_Text));
  auto& text = r->as<TextPayload>();
  std::memcpy(text.text, "abc", 4);
  text.textTransform = pl3::kIdentityTransform;
  const std::uint32_t font = w->CurrentFont;
  std::memcpy(text.bytes52, &font, sizeof font);
  text.justification = w->TextOption;
  r->head().sizeFlags = kSizeByIndex;
  r->head().sizeIndex = DefaultSizeIndex(*w, SizeKind_Fonts);
  ResolveEntitySizes(r->payload, Type_Text);
  w->RoutingLayer = r->head().layer;
  const INT_PTR result = RunStringDialogEx(t.window, &text);
  // The dialog writes at most the record's room; keep the string terminated.
  r->payload[kTextRoom - 1] = 0;
  if (result != 1) {
    delete *slot;
    *slot = nullptr;
    return;
  }
  text.justification = w->TextOption;
  const pl3::Point at = SnappedCursor(t, point);
  r->head().transform.tx = at.x;
  r->head().transform.ty = at.y;
  SetStringBox(&text);
  point->CursorOffset = {};
  w->EditMode = Mode_AddNewString;
  w->SubMode = 0;
  InvalidateRect(t.window, nullptr, FALSE);
  if (w->ViewFlags & kViewMirroredText) {
    pl3::Transform& m = text.textTransform;
    m.a = -m.a;
    m.b = -m.b;
  }
  SetInsertionType(Type_Text);
}

void BeginInsertHole(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point) {
  if (!ActiveWindowData || !slot || !point) return;
  StartHole(t, slot, point, false);
}

void BeginInsertVia(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point) {
  if (!ActiveWindowData || !slot || !point) return;
  StartHole(t, slot, point, true);
}

void BeginInsertCentroid(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !point) return;
  EntityRecord* r = NewPending(slot, Type_Centroid, 0);
  auto& c = r->as<CentroidPayload>();
  c.head.sizeFlags = 0;
  c.head.sizeIndex = static_cast<std::uint32_t>(kCentroidSize);
  c.position = SnappedCursor(t, point);
  c.direction = {};
  w->RoutingLayer = 0;
  SetInsertionType(Type_Centroid);
  EnterPlacingMode(t, *w, r, Mode_AddNewCentroid, kCursorCentroid);
}

void BeginInsertThinLine(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !point) return;
  EntityRecord* r = NewPending(slot, Type_ThinLine, 0);
  auto& l = r->as<ThinLinePayload>().line;
  l.width = kThinLineWidth;
  const pl3::Point at = SnappedCursor(t, point);
  l.x1 = l.x2 = at.x;
  l.y1 = l.y2 = at.y;
  w->RoutingLayer = 0;
  SetInsertionType(Type_ThinLine);
  EnterPlacingMode(t, *w, r, Mode_AddNewThinLine, kCursorLine);
}

void BeginInsertThinArc(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !point) return;
  EntityRecord* r = NewPending(slot, Type_ThinArc, 0);
  auto& a = r->as<ThinArcPayload>().arc;
  a.width = kThinArcWidth;
  const pl3::Point at = SnappedCursor(t, point);
  a.centreX = at.x;
  a.centreY = at.y;
  w->RoutingLayer = 0;
  SetInsertionType(Type_ThinArc);
  EnterPlacingMode(t, *w, r, Mode_AddNewThinArc, kCursorArc);
}

namespace {

using Handler = void (*)(const InsertTarget&, EntityRecord**, ButtonRecord*);

void LineHandler(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) { BeginInsertLine(t, s, p, kLinePlain); }
void ArcHandler(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) { BeginInsertArcByCentre(t, s, p, 0); }
void PolygonHandler(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) { BeginInsertPolygon(t, s, p, 0); }
void ArcByEndsHandler(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) { BeginInsertArcByEnds(t, s, p, 0); }
void OutlineArcByEndsHandler(const InsertTarget& t, EntityRecord** s, ButtonRecord* p) {
  BeginInsertArcByEnds(t, s, p, kStateOutlineArc);
}

// Kind bits of a row: which editor kinds have it.
constexpr std::uint32_t kPcb = kEditorPcb, kShape = kEditorShape, kSym = kEditorPcbSymbol,
                        kStack = kEditorPadStack, kSch = kEditorSchematicSymbol | kEditorSchematic;

struct InsertRow {
  std::uint8_t insertType;
  std::uint32_t kinds;
  Handler handler;
};

constexpr InsertRow kInsertRows[] = {
    {1, kPcb | kShape | kSym | kSch, &LineHandler},
    {2, kPcb | kShape | kSym | kSch, &ArcHandler},
    {3, kPcb | kShape | kSym | kSch, &BeginInsertCircle},
    {4, kPcb | kShape | kSym | kSch, &PolygonHandler},
    {5, kPcb | kSym | kSch, &BeginInsertText},
    {6, kPcb | kShape | kSym | kSch, &BeginInsertRectangle},
    {7, kPcb | kSym | kStack, &BeginInsertHole},
    {8, kPcb, &BeginInsertPlane},
    {9, kPcb, &BeginInsertPlaneCutout},
    {10, kPcb, &BeginInsertThermalBreak},
    {11, kPcb, &BeginInsertRoutedLine},
    {17, kPcb, &BeginInsertVia},
    {23, kShape, &BeginInsertThinLine},
    {24, kShape, &BeginInsertThinArc},
    {35, kPcb, &BeginInsertLinkedCut},
    {37, kPcb, &BeginInsertStarEarthTrack},
    {38, kPcb | kSym, &BeginInsertBoardOutlineArc},
    {39, kPcb | kSym, &BeginInsertBoardOutlineLine},
    {46, kPcb | kStack, &BeginInsertPlatedSlot},
    {47, kPcb | kSym, &BeginInsertNonPlatedSlot},
    {169, kPcb | kSym, &OutlineArcByEndsHandler},
    {170, kPcb | kShape | kSym | kSch, &ArcByEndsHandler},
};

bool IsOutlineRow(std::uint8_t type, std::uint32_t kind) {
  if (type == 41 || type == 42 || type == 43 || type == 49) return kind == kEditorPcb;
  if (type == 44 || type == 45) return kind == kEditorPcbSymbol;
  return false;
}

}  // namespace

int BeginGraphicInsertion(HWND window, ButtonRecord* button, EntityRecord** slot) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !button) return 0;
  const std::uint8_t type = w->InsertType;
  const std::uint32_t kind = w->editorKind;
  Handler handler = nullptr;
  for (const InsertRow& row : kInsertRows)
    if (row.insertType == type && (row.kinds & kind)) handler = row.handler;
  if (type < 11 || type > 15) w->StateFlags &= ~kStateRoutedLine;
  const bool outline = IsOutlineRow(type, kind);
  if (!handler && !outline) return 0;
  HDC dc = GetDC(window);
  const InsertTarget target{window, dc};
  if (outline)
    BeginInsertComponentOutline(target, slot, button, type);
  else
    handler(target, slot, button);
  ReleaseDC(window, dc);
  return 1;
}

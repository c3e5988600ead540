// Placing and drawing datums: the insert-datum tool (arming, the name
// prompt, the ghost that follows the cursor, the insertion), the drawing of a
// placed datum and its XOR ghost.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "geometry/view_mapping.h"
#include "objects/datums.h"
#include "objects/drawing_seams.h"
#include "objects/editor_seams.h"
#include "objects/entity_record.h"
#include "objects/locator_dispatch.h"
#include "objects/placing_tools.h"
#include "objects/size_table.h"
#include "objects/frame_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/gdi.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kDatumColour = 0x820000;  // the datum colour code, also its ghost colour
constexpr std::uint32_t kStateTemporaryDrawing = 0x4;
constexpr int kTextModeGhost = 0;
constexpr int kTextModeDraw = 1;

// The datum's name as a text at its place, by the datum's font size index.
PlacedText NameText(const DatumPayload* datum, const std::string& name) {
  const DatumNamePlace place = DatumNamePlacement(datum);
  return PlacedText{name.c_str(), place.at.x, place.at.y, 0, place.justification,
                    static_cast<std::int32_t>(datum->head.sizeIndex), 1};
}

// The datum's point and text height in view pixels.
DatumSymbol ViewArms(const DatumPayload* datum) {
  std::int32_t x = datum->x, y = datum->y;
  pl3::WorldToView(x, y);
  const std::int32_t h = pl3::ScaleToView(DatumTextHeight(datum));
  return DatumArms(x, y, h, IsUpperRightDatum(datum));
}

// Puts the fill value and the window's state word back.
struct DrawingStateGuard {
  std::uint32_t fill = pl3::g_raster.fillValue;
  CurrentWindowData* window = ActiveWindowData;
  std::uint32_t state = window ? window->StateFlags : 0;
  ~DrawingStateGuard() {
    pl3::g_raster.fillValue = fill;
    if (window) window->StateFlags = state;
  }
};

void GhostOnWindow(void* window, const DatumPayload* datum) {
  HWND view = static_cast<HWND>(window);
  HDC dc = view ? GetDC(view) : nullptr;
  GhostDatum(dc, datum);
  if (dc) ReleaseDC(view, dc);
}

}  // namespace

void DrawDatum(void* view, const DatumPayload* datum) {
  if (!datum) return;
  DrawingStateGuard guard;
  pl3::g_raster.fillValue = kDatumColour;
  const DatumSymbol arms = ViewArms(datum);
  for (int k = 0; k < 6; ++k) pl3::DrawViewLine(arms.from[k].x, arms.from[k].y, arms.to[k].x, arms.to[k].y);
  if (ActiveWindowData) ActiveWindowData->StateFlags |= kStateTemporaryDrawing;
  const std::string name = DatumName(datum);
  DrawTextAndGetBox(view, NameText(datum, name), kTextModeDraw, nullptr);
}

void GhostDatum(void* dc, const DatumPayload* datum) {
  if (!datum) return;
  DrawingStateGuard guard;
  SetXorPen(dc, 1, kDatumColour);
  const DatumSymbol arms = ViewArms(datum);
  for (int k = 0; k < 6; ++k) {
    MoveToEx(static_cast<HDC>(dc), arms.from[k].x, arms.from[k].y, nullptr);
    LineTo(static_cast<HDC>(dc), arms.to[k].x, arms.to[k].y);
  }
  const std::string name = DatumName(datum);
  DrawTextAndGetBox(dc, NameText(datum, name), kTextModeGhost, nullptr);
  RestoreXorPen(dc);
}

int SetInsertDatumMode() {
  if (!ArmPlacingTool(Type_Datum)) return 0;
  ActiveWindowData->ClickState = 0;
  return 1;
}

int StartNewDatum(void* window, EntityRecord** slot, pl3::Point cursor) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot) return 0;
  char* name = ShowEnterTextDlgEx("Start New Datum", "Enter new datum name", nullptr, 0);
  const std::unique_ptr<char, decltype(&std::free)> owned(name, &std::free);
  if (!EnterTextDialogResult || !name) return 0;
  // The record's name room: a longer name is cut.
  std::string cut(name, strnlen(name, kDatumNameRoom - 1));
  if (DatumNameExists(cut.c_str(), nullptr)) {
    MessageBox(static_cast<HWND>(window), "A datum of this name already exists.", "Start New Datum",
               MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  delete *slot;
  *slot = NewEntityRecord().release();
  InitialiseEntityRecord(*slot, Type_Datum, &pl3::kIdentityTransform, 0);
  auto& d = (*slot)->as<DatumPayload>();
  d.head.sizeFlags = kSizeByIndex;
  d.head.sizeIndex = w->sizeTable ? (*w->sizeTable)[SizeKind_Fonts].defaultIndex : 0;
  d.x = cursor.x;
  d.y = cursor.y;
  d.keyStroke = 0;
  std::memcpy(d.name, cut.c_str(), cut.size() + 1);
  w->EditMode = kModePlacingDatum;
  GhostOnWindow(window, &d);
  SetEditCursor(0);
  w->InsertionTypeCode = Type_Datum;
  return 1;
}

void MoveDatumGhost(void* dc, EntityRecord* record, pl3::Point cursor) {
  if (!record) return;
  auto& d = record->as<DatumPayload>();
  pl3::Point snapped = cursor;
  SnapXY(&snapped.x, &snapped.y, 0);
  if (snapped.x == d.x && snapped.y == d.y) return;
  GhostDatum(dc, &d);
  d.x = snapped.x;
  d.y = snapped.y;
  GhostDatum(dc, &d);
}

int InsertDatum(EntityRecord** slot) {
  CurrentWindowData* w = ActiveWindowData;
  if (!slot || !*slot) return 0;
  EntityRecord* record = *slot;
  *slot = nullptr;
  if (w && w->design) {
    Tower* t = InsertEntityWithUndo(record, w->design);
    ReleaseTower(&t);
  }
  if (w && w->PendingRecord == record) w->PendingRecord = nullptr;
  delete record;
  EndPlacingTool();
  return 1;
}

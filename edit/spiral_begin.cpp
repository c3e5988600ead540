// The spiral tool's start: a spiral record at the snapped cursor on the
// current layer (or the next enabled one), its width from the Lines list.
// In a file of its own, as tests of the key commands fake it.
#include "draw/grids.h"
#include "edit/edit_modes.h"
#include "edit/key_command_seams.h"
#include "edit/window_data.h"
#include "objects/editor_seams.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/selection_menus.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

constexpr std::uint32_t kCursorSpiral = 25;

bool LayerEnabled(const CurrentWindowData& w, std::uint32_t layer) {
  return (w.layerTable.layers[layer & 0xFF].flags & kLayerSelectable) != 0;
}

// The current layer when it is enabled; else the next enabled one, or the
// first enabled layer of the table when the ring gives the same layer back.
std::uint8_t SpiralLayer(const CurrentWindowData& w) {
  const std::uint8_t layer = w.CurrentLayer;
  if (LayerEnabled(w, layer)) return layer;
  const std::uint8_t next = GetNextLayerOfKind(layer, 0);
  if (next != layer) return next;
  for (std::uint32_t l = 0; l < kLayerCount; ++l)
    if (LayerEnabled(w, l)) return static_cast<std::uint8_t>(l);
  return layer;
}

}  // namespace

int BeginInsertSpiral(HWND window, EntityRecord** slot, ButtonRecord* cursor) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !cursor) return 0;
  SnapDragPoint(window, cursor);
  delete *slot;
  EntityRecord* r = NewEntityRecord().release();
  InitialiseEntityRecord(r, Type_Spiral, &pl3::kIdentityTransform, SpiralLayer(*w));
  *slot = r;
  auto& s = r->as<SpiralPayload>();
  s.head.sizeFlags = kSizeByIndex;
  s.head.sizeIndex = w->sizeTable ? (*w->sizeTable)[SizeKind_Lines].defaultIndex : 0;
  s.centre = cursor->Cursor;
  s.start = s.end = {0, 0};
  s.pitch = 0;
  s.mirrored = 0;
  w->EditMode = Mode_AddNewSpiral;
  SetEditCursor(kCursorSpiral);
  HDC dc = GetDC(window);
  DrawSpiral(dc, r);
  ReleaseDC(window, dc);
  SetInsertionType(Type_Spiral);
  return 1;
}


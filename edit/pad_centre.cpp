// GotoPadCentre (declared in edit/engine_seams.h): the cursor to the centre
// of the pad nearest to it, among the design's own pads and the pads of its
// placed symbols.
#include <cstdint>
#include <cstdlib>

#include "edit/engine_seams.h"
#include "edit/mouse_road.h"
#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/cursor_zoom.h"
#include "objects/pad_stacks.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

// Pads farther than this many view pixels from the cursor are not taken.
constexpr double kPadPickLimit = 1600;

struct NearestPad {
  double pixels = kPadPickLimit;
  pl3::Point centre{};
  bool found = false;
};

// The pad's distance from the cursor in view pixels: |dx| + |dy| less the
// pad's radius (half the smaller side of its box), 0 inside it. Only a
// strictly smaller distance replaces the one kept, so the first of equals stays.
void Measure(const Tower* pad, const pl3::Transform* placement, const CurrentWindowData& w, NearestPad* best) {
  pl3::Point centre{};
  if (!GetPadCentre(pad, &centre)) return;
  double radius = 0;
  pl3::Box box{};
  if (GetPadStackInstanceBox(pad, &box)) {
    const double width = static_cast<double>(box.xmax) - box.xmin, height = static_cast<double>(box.ymax) - box.ymin;
    radius = (width < height ? width : height) / 2;
    if (radius < 0) radius = 0;
  }
  if (placement) pl3::TransformPoint(placement, centre.x, centre.y);
  const double manhattan = std::abs(static_cast<double>(centre.x) - w.Cursor.x) +
                           std::abs(static_cast<double>(centre.y) - w.Cursor.y);
  double pixels = (manhattan - radius) / w.Zoom;
  if (pixels < 0) pixels = 0;
  if (pixels >= best->pixels) return;
  best->pixels = pixels;
  best->centre = centre;
  best->found = true;
}

void MeasurePadsOf(const Tower* owner, const pl3::Transform* placement, const CurrentWindowData& w,
                   NearestPad* best) {
  Tower* pads = GetChildTower(owner, Type_PadStackInstanceHier);
  while (pads && FindNextEntity(pads)) Measure(pads, placement, w, best);
  ReleaseTower(&pads);
}

}  // namespace

int GotoPadCentre(HWND window, ButtonRecord* button) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || w->Zoom == 0) return 0;
  NearestPad best;
  MeasurePadsOf(w->design, nullptr, *w, &best);
  Tower* symbols = GetChildTower(w->design, Type_SymbolInstance);
  while (symbols && FindNextEntity(symbols)) {
    Tower* definition = GetInstanceSymbolDef(symbols);
    if (!definition) continue;
    pl3::Transform placement;
    GetOwnTransform(&placement, symbols);
    MeasurePadsOf(definition, &placement, *w, &best);
    ReleaseTower(&definition);
  }
  ReleaseTower(&symbols);
  if (!best.found) return 0;
  MoveCursorToPoint(window, best.centre);
  DoMouseMove(window, button ? button : &w->Button, &w->PendingRecord, 1);
  return 1;
}

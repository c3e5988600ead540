#include "edit/centroids.h"

#include <cstdint>

#include "edit/drawn_item_accepts.h"
#include "edit/edit_modes.h"
#include "edit/insertion.h"
#include "edit/tool_commands.h"
#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/design_walks.h"
#include "objects/entity_record.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "objects/pad_stacks.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/responder.h"
#include "store/tower.h"

namespace {

constexpr const char* kCaption = "Auto Place Centroid";
// The flag of a centroid placed from the pads.
constexpr std::uint16_t kCentroidFromPads = 0x4000;

double Unsigned(std::int32_t v) { return static_cast<double>(static_cast<std::uint32_t>(v)); }

std::int32_t Truncated(double v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(v)));
}

bool HasCentroid(const Tower* design) {
  Tower* centroids = GetChildTower(design, Type_Centroid);
  const bool found = centroids && FindNextEntity(centroids);
  ReleaseTower(&centroids);
  return found;
}

}  // namespace

int CentroidFromPads(pl3::Point* centroid) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || !centroid) return 0;
  const pl3::Point origin = w->CoordinateOrigin;
  double sumX = 0, sumY = 0;
  std::uint32_t count = 0;
  Tower* pads = GetChildTower(w->design, Type_PadStackInstanceHier);
  while (pads && FindNextEntity(pads)) {
    pl3::Point centre{};
    if (!GetPadCentre(pads, &centre)) continue;
    sumX += Unsigned(centre.x) - Unsigned(origin.x);
    sumY += Unsigned(centre.y) - Unsigned(origin.y);
    ++count;
  }
  ReleaseTower(&pads);
  if (count == 0) {
    MessageBox(nullptr, "No pads have placed for this symbol - centroid position cannot be calculated.", kCaption,
               MB_OK);
    return 0;
  }
  *centroid = {Truncated(sumX / count + Unsigned(origin.x)), Truncated(sumY / count + Unsigned(origin.y))};
  return 1;
}

void AutoPlaceCentroid(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return;
  if (HasCentroid(w->design)) {
    MessageBox(nullptr, "A centroid has already been placed for this symbol.", kCaption, MB_OK);
    return;
  }
  pl3::Point position{};
  if (!CentroidFromPads(&position) || w->EditMode != Mode_Idle) return;
  SetCentroidTool();
  HDC dc = GetViewDC(window);
  BeginInsertCentroid({window, dc}, &w->PendingRecord, &w->Button);
  ReleaseViewDC(window, dc);
  if (!w->PendingRecord) return;
  auto& c = w->PendingRecord->as<CentroidPayload>();
  c.position = position;
  // Up: (0, -2 x size) turned by the centroid's own transform.
  std::int32_t dx = 0, dy = -2 * static_cast<std::int32_t>(c.head.sizeIndex);
  pl3::Transform turn = c.head.transform;
  turn.tx = turn.ty = 0;
  pl3::TransformPoint(&turn, dx, dy);
  c.direction = {dx, dy};
  AcceptCentroid(&w->PendingRecord);
  RecordDesignChange();
  RedrawView(window);
  Tower* centroids = GetChildTower(w->design, Type_Centroid);
  if (Entity* stored = centroids ? FindNextEntity(centroids) : nullptr) stored->flags |= kCentroidFromPads;
  ReleaseTower(&centroids);
}

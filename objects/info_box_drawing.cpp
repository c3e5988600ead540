// Info-box labels, their boxes and the drawing of a label with its leaders,
// into the display list or straight into a view.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "objects/display_list_seams.h"
#include "objects/entity_record.h"
#include "objects/info_boxes.h"
#include "objects/locator_dispatch.h"
#include "objects/locator_kinds.h"
#include "objects/payload_access.h"
#include "objects/real_size.h"
#include "objects/symbol_instances.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kSchematicMarkerFill = 25;
constexpr std::uint32_t kAllPlanes = 0xFFFF;
constexpr std::uint32_t kStateTemporaryDrawing = 0x4;
constexpr std::uint32_t kLabelFont = 3;
constexpr std::uint8_t kTextModeDraw = 1;
constexpr std::uint8_t kTextModeDisplayList = 9;

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

bool IsSchematicWindow(const CurrentWindowData* w) {
  return w && (w->editorKind == kEditorSchematic || w->editorKind == kEditorSchematicSymbol);
}

bool Meets(const pl3::Box& a, const pl3::Box& b) {
  return a.xmin <= b.xmax && b.xmin <= a.xmax && a.ymin <= b.ymax && b.ymin <= a.ymax;
}

// Puts the fill value, the window's state word and the marker word back.
struct DrawingStateGuard {
  std::uint32_t fill = pl3::g_raster.fillValue;
  std::uint32_t markers = MarkerDisplayFlags;
  CurrentWindowData* window = ActiveWindowData;
  std::uint32_t state = window ? window->StateFlags : 0;
  ~DrawingStateGuard() {
    pl3::g_raster.fillValue = fill;
    MarkerDisplayFlags = markers;
    if (window) window->StateFlags = state;
  }
};

}  // namespace

void PlaceInfoBoxLabel(const Tower* infoBox) {
  std::vector<pl3::Point> points(kInfoBoxPointRoom);
  const std::uint32_t n = GetInfoBoxPoints(infoBox, points.data(), kInfoBoxPointRoom);
  if (n == 0) return;
  double sx = 0, sy = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    sx += points[i].x;
    sy += points[i].y;
  }
  pl3::Transform at = pl3::kIdentityTransform;
  at.tx = static_cast<std::int32_t>(sx / n) + kInfoBoxLabelOffset;
  at.ty = static_cast<std::int32_t>(sy / n) + kInfoBoxLabelOffset;
  const std::string text = InfoBoxText(infoBox);
  std::unique_ptr<TextPayload, FreeDeleter> item(CreateTextItemEx(text.c_str(), kInfoBoxLabelSize, 0, &at, 0, kLabelFont));
  if (!item) return;
  // Stored at its own length, the string cut to the record's room.
  const std::uint32_t length = static_cast<std::uint32_t>(strnlen(item->text, kTextMaxBytes - 1));
  std::vector<std::uint8_t> record(TextStoredSize(length), 0);
  std::memcpy(record.data(), item.get(), offsetof(TextPayload, text) + length);
  DeleteChildEntities(infoBox, kInfoBoxLabelCode);
  Tower* stored = InsertEntity(infoBox, static_cast<std::uint32_t>(record.size()), kInfoBoxLabelCode, record.data());
  ReleaseTower(&stored);
  if (ActiveWindowData) PutEntityOnDisplayList(ActiveWindowData->Display, infoBox);
}

pl3::Point InfoBoxLeaderEnd(const pl3::Box& labelBox, std::int32_t x, std::int32_t y) {
  return LeaderTargetPoint(labelBox, x, y);
}

void DrawInfoBox(void* view, const Tower* infoBox, int toDisplayList) {
  TextPayload* label = InfoBoxLabel(infoBox);
  if (!label) return;
  DrawingStateGuard guard;
  CurrentWindowData* w = ActiveWindowData;
  pl3::g_raster.fillValue = IsSchematicWindow(w) ? kSchematicMarkerFill : kAllPlanes;
  if (w) w->StateFlags |= kStateTemporaryDrawing;
  if (!toDisplayList) MarkerDisplayFlags |= kMarkerDrawnIntoView;

  SetStringBox(label);
  RenderTextEntity(view, label, toDisplayList ? kTextModeDisplayList : kTextModeDraw, &pl3::kIdentityTransform);
  pl3::Box labelBox;
  GetInfoBoxLabelBox(label, &labelBox);

  std::vector<pl3::Point> points(kInfoBoxPointRoom);
  const std::uint32_t n = GetInfoBoxPoints(infoBox, points.data(), kInfoBoxPointRoom);
  auto leader = NewEntityRecord();
  InitialiseEntityRecord(leader.get(), Type_Track, &pl3::kIdentityTransform, label->head.layer);
  auto& line = leader->as<LinePayload>();
  line.width = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    const pl3::Point end = InfoBoxLeaderEnd(labelBox, points[i].x, points[i].y);
    line.x1 = points[i].x;
    line.y1 = points[i].y;
    line.x2 = end.x;
    line.y2 = end.y;
    if (toDisplayList) {
      AddTrackToDisplayList(&line, &pl3::kIdentityTransform, 0, infoBox, 0);
    } else {
      pl3::DrawWorldLine(line.x1, line.y1, line.x2, line.y2);
    }
  }
}

void DrawInfoBoxesInBox(const pl3::Box* viewBox, const Tower* container, int drawMode) {
  if (!viewBox || !container || (MarkerDisplayFlags & kMarkersHidden)) return;
  if (drawMode != 0 && drawMode != 24) return;
  Tower* all = GetChildTower(container, Type_InfoBoxHier);
  std::vector<Entity*> shown;
  while (all) {
    Entity* e = FindNextEntity(all);
    if (!e) break;
    if (!(e->flags & kEntitySelected)) shown.push_back(e);
  }
  ReleaseTower(&all);
  for (Entity* e : shown) {
    Tower* t = EntityToTower(container, e, -1);
    pl3::Box box;
    if (t && GetInfoBoxBox(t, &box) && Meets(box, *viewBox)) DrawInfoBox(nullptr, t, 1);
    ReleaseTower(&t);
  }
}

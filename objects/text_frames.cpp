#include "objects/text_frames.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/display_list_seams.h"
#include "objects/drawing_seams.h"
#include "objects/editor_input.h"
#include "objects/entity_record.h"
#include "objects/graphic_boxes.h"
#include "objects/graphic_records.h"
#include "objects/group_texts.h"
#include "objects/real_size.h"
#include "objects/symbol_instances.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

constexpr std::int32_t kFrameMarginPerSize = 18288;
constexpr std::uint8_t kDisplayListLayer = 255;

// Moves a low side out by the margin, compared unsigned: a side not above
// the margin stops at 0.
std::int32_t LowSide(std::int32_t v, std::uint32_t m) {
  const auto u = static_cast<std::uint32_t>(v);
  return u > m ? static_cast<std::int32_t>(u - m) : 0;
}
std::int32_t HighSide(std::int32_t v, std::uint32_t m) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v) + m);
}

}  // namespace

void DrawTextFrame(pl3::Box* box, void* view, TextPayload* text, std::int8_t widthFactor, std::int32_t dx,
                   std::int32_t dy, int mode) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!text || !w || w->TextDisplay == 0) {
    if (box) *box = {0, 0, 0, 0};
    return;
  }
  RenderTextEntity(view, text, static_cast<std::uint8_t>(mode), &pl3::kIdentityTransform);

  auto frame = NewEntityRecord();
  InitialiseEntityRecord(frame.get(), Type_Track, &pl3::kIdentityTransform, text->head.layer);
  auto& side = frame->as<LinePayload>();
  side.head.sizeFlags = 0;
  side.width = static_cast<std::int32_t>(widthFactor * static_cast<std::int64_t>(w->Zoom));

  if (text->head.sizeFlags & kSizeByIndex) text->size = ReturnRealSize(Type_Text, text->head.sizeIndex, 0);
  const auto m = static_cast<std::uint32_t>(text->size) * static_cast<std::uint32_t>(kFrameMarginPerSize);

  pl3::Box s;
  std::memcpy(&s, text->bytes52 + 4, sizeof s);
  GetRectangleBox(&s, &text->textTransform);
  const pl3::Box f{LowSide(s.xmin + dx, m), LowSide(s.ymin + dy, m), HighSide(s.xmax + dx, m),
                   HighSide(s.ymax + dy, m)};

  const pl3::Point ends[4][2] = {{{f.xmin, f.ymin}, {f.xmax, f.ymin}},
                                 {{f.xmax, f.ymax}, {f.xmax, f.ymin}},
                                 {{f.xmax, f.ymax}, {f.xmin, f.ymax}},
                                 {{f.xmin, f.ymin}, {f.xmin, f.ymax}}};
  if (mode == kTextFrameGhost || mode == kTextFrameDraw || mode == kTextFrameDisplayList) {
    for (const auto& e : ends) {
      side.x1 = e[0].x;
      side.y1 = e[0].y;
      side.x2 = e[1].x;
      side.y2 = e[1].y;
      if (mode == kTextFrameGhost) {
        GhostTrackData(view, &side, frame->header.headerLayer, &pl3::kIdentityTransform, Type_Track);
      } else if (mode == kTextFrameDraw) {
        TransformItemBox(frame.get());
      } else {
        side.head.layer = kDisplayListLayer;
        AddTrackToDisplayList(&side, &pl3::kIdentityTransform, 0, pl3::g_raster.currentEntity, 0);
      }
    }
  }
  if (box) *box = f;
}

namespace {

// The text's frame box under its group's transform, taken while the view
// flags show the other side for a mirrored group; *mirrored tells which.
int TextBoxUnderGroup(const Tower* textItem, const Tower* group, pl3::Box* box, bool* mirrored) {
  const Entity* text = TowerEntity(textItem);
  pl3::Transform transform;
  if (!box || !text || text->typeCode != Type_Text || !GetTextGroupTransform(group, &transform, mirrored)) return 0;
  CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t viewFlags = w ? w->ViewFlags : 0;
  if (w && *mirrored) w->ViewFlags ^= kViewOtherSide;
  // The box is taken on a copy: resolving its sizes leaves the stored text alone.
  std::vector<std::uint8_t> copy(EntityPayload(text), EntityPayload(text) + text->payloadSize);
  copy.resize(std::max<std::size_t>(copy.size(), offsetof(TextPayload, text)) + 1, 0);
  pl3::Box frameBox = pl3::kEmptyBox;
  GetGraphicBox(copy.data(), Type_Text, &frameBox);
  GetRectangleBox(&frameBox, &transform);
  *box = frameBox;
  if (w) w->ViewFlags = viewFlags;
  return 1;
}

}  // namespace

int GetTextBoxInGroup(const Tower* text, const Tower* group, pl3::Box* box) {
  bool mirrored = false;
  return TextBoxUnderGroup(text, group, box, &mirrored);
}

int GhostTextBoxInGroup(const SelectionInfo* item, pl3::Box* box) {
  const Tower* selected = item ? SelectionItem(*item) : nullptr;
  const Entity* text = TowerEntity(selected);
  Tower* group = text && text->typeCode == Type_Text ? GroupOfSelection(item) : nullptr;
  bool mirrored = false;
  const int found = group ? TextBoxUnderGroup(selected, group, box, &mirrored) : 0;
  ReleaseTower(&group);
  if (!found) return 0;
  CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t viewFlags = w ? w->ViewFlags : 0;
  if (w && mirrored) w->ViewFlags ^= kViewOtherSide;
  DrawBoxOutline(*box);
  if (w) w->ViewFlags = viewFlags;
  return 1;
}

// Texts drawn or measured at a point: temporary text items built by the
// application's builders, measured by the drawing code's string box and
// extent and drawn by its text renderer.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/graphic_records.h"
#include "objects/locator_dispatch.h"
#include "objects/locator_kinds.h"
#include "objects/real_size.h"
#include "objects/text_item_services.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kSizeKindFont = 5;
constexpr std::uint32_t kStateTemporaryDrawing = 0x4;
constexpr std::uint32_t kDesignFont = 3;

struct FreeTextItem {
  void operator()(TextPayload* item) const { std::free(item); }
};
using TextItem = std::unique_ptr<TextPayload, FreeTextItem>;

// What a temporary text item is built from.
struct ItemSpec {
  const char* text;
  bool byIndex;        // size is an index into the font sizes
  std::int32_t size;   // the index, or the explicit size
  std::uint8_t layer;  // the layer or colour class the text takes
  pl3::Transform transform;
  std::uint32_t justification;
  std::uint32_t font;
};

std::uint32_t WindowFont() { return ActiveWindowData ? ActiveWindowData->CurrentFont : kDesignFont; }

// A laid-out text item, or null when none could be built.
TextItem BuildTextItem(const ItemSpec& spec) {
  const char* string = spec.text ? spec.text : "";
  const auto justification = static_cast<std::uint16_t>(spec.justification);
  if (spec.byIndex)
    return TextItem(CreateTextItem(string, static_cast<std::uint32_t>(spec.size), spec.layer, &spec.transform,
                                   justification, spec.font));
  return TextItem(CreateTextItemEx(string, spec.size, spec.layer, &spec.transform, justification, spec.font));
}

// A text at a point: the identity moved to the point, the window's font.
ItemSpec SpecOf(const PlacedText& text, std::uint8_t layer) {
  pl3::Transform at = pl3::kIdentityTransform;
  at.tx = text.x;
  at.ty = text.y;
  return {text.text, (text.flags & 1) != 0, text.size, layer, at, text.vertical | text.horizontal, WindowFont()};
}

// A locator's text: its readable rotation moved to the point, its style word
// as the font word, its colour class as the layer.
ItemSpec SpecOf(const LocatorText& text) {
  pl3::Transform at = text.rotation;
  at.tx = text.x;
  at.ty = text.y;
  const bool byIndex = text.sizeByIndex != 0;
  return {text.text.c_str(), byIndex, byIndex ? static_cast<std::int32_t>(text.sizeIndex) : text.size,
          text.colourClass, at, text.justification, text.style};
}

// The size in font size units: an index is looked up in the font sizes.
std::int32_t RealTextSize(const ItemSpec& spec) {
  if (spec.byIndex) return ReturnRealSize(kSizeKindFont, static_cast<std::uint32_t>(spec.size), 0);
  return spec.size;
}

std::int32_t Clamp(std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); }

// The item's box grown on every side by `grow`; 0 without an item.
int GrownItemBox(const TextPayload* item, std::int64_t grow, pl3::Box* box) {
  pl3::Box measured;
  if (!GetTextItemBox(item, &measured)) return 0;
  *box = {Clamp(measured.xmin - grow), Clamp(measured.ymin - grow), Clamp(measured.xmax + grow),
          Clamp(measured.ymax + grow)};
  return 1;
}

int GrownBoxOf(const ItemSpec& spec, pl3::Box* box) {
  TextItem item = BuildTextItem(spec);
  return GrownItemBox(item.get(), std::int64_t{RealTextSize(spec)} * kTextBoxGrowthPerSize, box);
}

void Render(void* dc, const TextPayload* item, int mode) {
  if (item) RenderTextEntity(dc, item, static_cast<std::uint8_t>(mode), &pl3::kIdentityTransform);
}

int LocatorTextMode(std::uint32_t colourClass) {
  switch (colourClass) {
    case 24: return LocatorDebugDrawing ? 11 : 5;
    case 32: return 6;
    case 33: return 7;
    default: return 1;
  }
}

// Renders in the mode of the colour class, unmirrored and as temporary
// drawing; the window's flags come back afterwards.
void RenderLocatorItem(void* dc, const TextPayload* item, std::uint32_t colourClass) {
  CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t walkFlags = w ? w->WalkFlags : 0, stateFlags = w ? w->StateFlags : 0;
  if (w) {
    w->WalkFlags &= ~kWalkMirrorMode;
    w->StateFlags |= kStateTemporaryDrawing;
  }
  Render(dc, item, LocatorTextMode(colourClass));
  if (w) {
    w->WalkFlags = walkFlags;
    w->StateFlags = stateFlags;
  }
}

}  // namespace

int GetTextItemBox(const TextPayload* item, pl3::Box* box) {
  if (!item) return 0;
  // Without its font the item was not laid out (the layout said so).
  std::uint32_t number;
  std::memcpy(&number, item->bytes52, sizeof number);
  Tower* font = GetFontTower(number);
  if (!font) return 0;
  const pl3::Box s = GetWorldStringBox(item);
  const pl3::Point corners[4] = {{s.xmin, s.ymin}, {s.xmax, s.ymin}, {s.xmax, s.ymax}, {s.xmin, s.ymax}};
  std::int64_t xmin = INT64_MAX, ymin = INT64_MAX, xmax = INT64_MIN, ymax = INT64_MIN;
  for (pl3::Point p : corners) {
    pl3::TransformSignedPoint(&item->textTransform, p.x, p.y);
    xmin = std::min<std::int64_t>(xmin, p.x);
    ymin = std::min<std::int64_t>(ymin, p.y);
    xmax = std::max<std::int64_t>(xmax, p.x);
    ymax = std::max<std::int64_t>(ymax, p.y);
  }
  const std::uint64_t extent = GetTextExtent(item, font);
  ReleaseTower(&font);
  const auto dx = static_cast<std::int32_t>(static_cast<std::uint32_t>(extent));
  const auto dy = static_cast<std::int32_t>(static_cast<std::uint32_t>(extent >> 32));
  *box = {Clamp(xmin + dx), Clamp(ymin + dy), Clamp(xmax + dx), Clamp(ymax + dy)};
  return 1;
}

int GetTextBoxAt(const PlacedText& text, pl3::Box* box) { return GrownBoxOf(SpecOf(text, 0), box); }

void DrawTextAt(void* dc, const PlacedText& text) {
  TextItem item = BuildTextItem(SpecOf(text, 0));
  Render(dc, item.get(), 0);
}

void DrawLocatorTextAt(void* dc, const PlacedText& text, std::uint32_t colourClass) {
  TextItem item = BuildTextItem(SpecOf(text, static_cast<std::uint8_t>(colourClass)));
  RenderLocatorItem(dc, item.get(), colourClass);
}

void DrawTextAndGetBox(void* dc, const PlacedText& text, int mode, pl3::Box* box) {
  const ItemSpec spec = SpecOf(text, 0);
  TextItem item = BuildTextItem(spec);
  Render(dc, item.get(), mode);
  if (box) GrownItemBox(item.get(), std::int64_t{RealTextSize(spec)} * kTextBoxGrowthPerSize, box);
}

void DrawColouredTextAt(void* dc, const char* string, std::int32_t x, std::int32_t y, std::int32_t size,
                        std::uint32_t justification, const pl3::Transform& placement, std::uint8_t colour) {
  const PlacedText text{string, x, y, justification & 48, justification & 12, size, 0};
  TextItem item = BuildTextItem(SpecOf(text, colour));
  if (item) RenderTextEntity(dc, item.get(), 1, &placement);
}

int MeasureLocatorText(const LocatorText& text, pl3::Box* box) {
  TextItem item = BuildTextItem(SpecOf(text));
  return GetTextItemBox(item.get(), box);
}

int GetLocatorTextBox(const LocatorText& text, pl3::Box* box) {
  const ItemSpec spec = SpecOf(text);
  TextItem item = BuildTextItem(spec);
  return GrownItemBox(item.get(), std::int64_t{text.size} * kTextBoxGrowthPerSize, box);
}

void DrawLocatorText(void* dc, const LocatorText& text) {
  TextItem item = BuildTextItem(SpecOf(text));
  RenderLocatorItem(dc, item.get(), text.colourClass);
}

void GhostLocatorText(void* dc, const LocatorText& text) {
  TextItem item = BuildTextItem(SpecOf(text));
  Render(dc, item.get(), 0);
}


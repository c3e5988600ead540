// Texts drawn or measured at a point, the design font's line height, the
// leader from a locator to its text and the distance of a point from a box.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "edit/window_data.h"
#include "geometry/glyph_fonts.h"
#include "objects/drc_seams.h"
#include "objects/entity_record.h"
#include "objects/locator_dispatch.h"
#include "objects/locator_services.h"
#include "objects/payload_access.h"
#include "objects/real_size.h"
#include "platform/reset_hooks.h"
#include "store/seams.h"

int LocatorDebugDrawing = 0;

namespace {

void ResetLocatorDebugDrawing() { LocatorDebugDrawing = 0; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetLocatorDebugDrawing);

constexpr std::uint16_t kSizeKindFont = 5;
constexpr std::uint32_t kStateTemporaryDrawing = 0x4;
constexpr std::uint32_t kDesignFont = 3;
constexpr std::int64_t kFontCellMargin = 103680000;
constexpr std::uint32_t kLeaderClass = 24;
constexpr std::uint16_t kTypeTrack = 1;

struct FreeTextItem {
  void operator()(void* item) const { std::free(item); }
};
using TextItem = std::unique_ptr<void, FreeTextItem>;

std::uint32_t WindowFont() { return ActiveWindowData ? ActiveWindowData->CurrentFont : kDesignFont; }

// The text item of a placed text, under `transform` moved to the text's point.
TextItem BuildTextItem(const PlacedText& text, std::uint8_t layer, pl3::Transform transform) {
  const LocatorServices& s = LocatorServiceSlots;
  transform.tx = text.x;
  transform.ty = text.y;
  const auto justification = static_cast<std::uint16_t>(text.vertical | text.horizontal);
  const char* string = text.text ? text.text : "";
  if (text.flags & 1) {
    if (!s.createTextItem) return nullptr;
    return TextItem(
        s.createTextItem(string, static_cast<std::uint32_t>(text.size), layer, &transform, justification, WindowFont()));
  }
  if (!s.createTextItemEx) return nullptr;
  return TextItem(s.createTextItemEx(string, text.size, layer, &transform, justification, WindowFont()));
}

// The size in font size units: an index is looked up in the font sizes.
std::int32_t RealTextSize(const PlacedText& text) {
  if (text.flags & 1) return ReturnRealSize(kSizeKindFont, static_cast<std::uint32_t>(text.size), 0);
  return text.size;
}

int MeasuredBox(const void* item, const PlacedText& text, pl3::Box* box) {
  pl3::Box measured{-1, -1, 0, 0};
  if (!item || !LocatorServiceSlots.textItemBox || !LocatorServiceSlots.textItemBox(item, &measured)) return 0;
  const std::int64_t grow = std::int64_t{RealTextSize(text)} * kTextBoxGrowthPerSize;
  auto clamp = [](std::int64_t v) {
    return static_cast<std::int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
  };
  box->xmin = clamp(measured.xmin - grow);
  box->ymin = clamp(measured.ymin - grow);
  box->xmax = clamp(measured.xmax + grow);
  box->ymax = clamp(measured.ymax + grow);
  return 1;
}

void Render(void* view, const void* item, int mode) {
  if (item && LocatorServiceSlots.renderTextEntity)
    LocatorServiceSlots.renderTextEntity(view, item, mode, &pl3::kIdentityTransform);
}

int LocatorTextMode(std::uint32_t colourClass) {
  switch (colourClass) {
    case 24: return LocatorDebugDrawing ? 11 : 5;
    case 32: return 6;
    case 33: return 7;
    default: return 1;
  }
}

// The newest child entity of a code under an entity, without a Tower.
const Entity* NewestChildOf(const Entity* parent, std::uint16_t code) {
  for (const TypeGroup* g = parent ? NodeAt<TypeGroup>(parent->firstChild) : nullptr; g; g = NodeAt<TypeGroup>(g->next))
    if (g->typeCode == code) return NodeAt<Entity>(g->firstChild);
  return nullptr;
}

// Word `word` of the bounding box record of a character of a font.
bool CharacterBoxWord(const Entity* font, unsigned character, int word, std::int32_t* value) {
  const Entity* glyph = NewestChildOf(font, static_cast<std::uint16_t>(Type_Glyph + character));
  const Entity* box = NewestChildOf(glyph, Type_BoundingBox);
  if (!box || box->payloadSize < 16) return false;
  *value = ReadI32(EntityPayload(box), static_cast<std::uint32_t>(word) * 4);
  return true;
}

pl3::Box NormalisedBox(const pl3::Box& b) {
  return {std::min(b.xmin, b.xmax), std::min(b.ymin, b.ymax), std::max(b.xmin, b.xmax), std::max(b.ymin, b.ymax)};
}

void LeaderRecord(EntityRecord* record, std::int32_t x, std::int32_t y, const pl3::Box& box) {
  InitialiseEntityRecord(record, kTypeTrack, &pl3::kIdentityTransform, 0);
  auto& line = record->as<LinePayload>();
  const pl3::Point target = LeaderTargetPoint(NormalisedBox(box), x, y);
  line.width = 0;
  line.x1 = x;
  line.y1 = y;
  line.x2 = target.x;
  line.y2 = target.y;
}

}  // namespace

int GetTextBoxAt(const PlacedText& text, pl3::Box* box) {
  TextItem item = BuildTextItem(text, 0, pl3::kIdentityTransform);
  return MeasuredBox(item.get(), text, box);
}

void DrawTextAt(void* view, const PlacedText& text) {
  TextItem item = BuildTextItem(text, 0, pl3::kIdentityTransform);
  Render(view, item.get(), 0);
}

void DrawLocatorTextAt(void* view, const PlacedText& text, std::uint32_t colourClass) {
  TextItem item = BuildTextItem(text, static_cast<std::uint8_t>(colourClass), pl3::kIdentityTransform);
  CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t walkFlags = w ? w->WalkFlags : 0, stateFlags = w ? w->StateFlags : 0;
  if (w) {
    w->WalkFlags &= ~kWalkMirrorMode;
    w->StateFlags |= kStateTemporaryDrawing;
  }
  Render(view, item.get(), LocatorTextMode(colourClass));
  if (w) {
    w->WalkFlags = walkFlags;
    w->StateFlags = stateFlags;
  }
}

void DrawTextAndGetBox(void* view, const PlacedText& text, int mode, pl3::Box* box) {
  TextItem item = BuildTextItem(text, 0, pl3::kIdentityTransform);
  Render(view, item.get(), mode);
  if (box) MeasuredBox(item.get(), text, box);
}

void DrawColouredTextAt(void* view, const char* string, std::int32_t x, std::int32_t y, std::int32_t size,
                        std::uint32_t justification, const pl3::Transform& placement, std::uint8_t colour) {
  const PlacedText text{string, x, y, justification & 48, justification & 12, size, 0};
  TextItem item = BuildTextItem(text, colour, pl3::kIdentityTransform);
  if (item && LocatorServiceSlots.renderTextEntity) LocatorServiceSlots.renderTextEntity(view, item.get(), 1, &placement);
}

std::int32_t GetStringBoxHeight(std::int32_t size) {
  const Entity* font = FontRecordOf(kDesignFont);
  std::int32_t top = 0, bottom = 0;
  if (!font || !CharacterBoxWord(font, 'X', 3, &top) || !CharacterBoxWord(font, 'y', 1, &bottom)) {
    ShowMessage(nullptr, "Unable to get font tower", "SetStringBox");
    return 0;
  }
  // Each term is truncated on its own, as the layout code does.
  const std::int64_t upper = (std::int64_t{top} + kFontCellMargin) * size / (std::int64_t{1} << 24);
  const std::int64_t lower = (std::int64_t{bottom} - kFontCellMargin) * size / (std::int64_t{1} << 24);
  return static_cast<std::int32_t>(upper - lower);
}

std::int64_t GetStringBoxHeightScaled(std::int32_t size) { return std::int64_t{GetStringBoxHeight(size)} * 4096; }

void DrawLocatorLeader(void* view, std::int32_t x, std::int32_t y, const pl3::Box& box) {
  auto record = NewEntityRecord();
  LeaderRecord(record.get(), x, y, box);
  if (LocatorServiceSlots.drawEntityByType)
    LocatorServiceSlots.drawEntityByType(view, record.get(), &pl3::kIdentityTransform);
}

void GhostLocatorLeader(void* view, std::int32_t x, std::int32_t y, const pl3::Box& box) {
  auto record = NewEntityRecord();
  LeaderRecord(record.get(), x, y, box);
  if (LocatorServiceSlots.ghostEntityData) LocatorServiceSlots.ghostEntityData(view, record.get());
}

void DrawLineRecordAt(void* view, const EntityRecord* record) {
  if (!record) return;
  const auto* head = reinterpret_cast<const GraphicHead*>(record->payload);
  if (head->layer == kLeaderClass && LocatorDebugDrawing) return;
  if (LocatorServiceSlots.drawEntityByType)
    LocatorServiceSlots.drawEntityByType(view, record, &pl3::kIdentityTransform);
}

std::uint32_t GetDistanceToBox(const pl3::Box& box, std::int32_t x, std::int32_t y) {
  return PointToBoxDistance(x, y, 0, box.xmin, box.ymin, box.xmax, box.ymax);
}

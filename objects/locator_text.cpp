// The design font's line height, the leader from a locator to its text and
// the distance of a point from a box.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "geometry/glyph_fonts.h"
#include "objects/drawing_seams.h"
#include "objects/drc_seams.h"
#include "objects/editor_seams.h"
#include "objects/entity_record.h"
#include "objects/locator_dispatch.h"
#include "objects/payload_access.h"
#include "platform/reset_hooks.h"
#include "store/seams.h"

int LocatorDebugDrawing = 0;

namespace {

void ResetLocatorDebugDrawing() { LocatorDebugDrawing = 0; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetLocatorDebugDrawing);

constexpr std::uint32_t kDesignFont = 3;
constexpr std::int64_t kFontCellMargin = 103680000;
constexpr std::uint32_t kLeaderClass = 24;
constexpr std::uint16_t kTypeTrack = 1;

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

// A leader is a hairline track of the leader class.
void LeaderRecord(EntityRecord* record, std::int32_t x, std::int32_t y, const pl3::Box& box) {
  InitialiseEntityRecord(record, kTypeTrack, &pl3::kIdentityTransform, kLeaderClass);
  auto& line = record->as<LinePayload>();
  const pl3::Point target = LeaderTargetPoint(NormalisedBox(box), x, y);
  line.width = 0;
  line.x1 = x;
  line.y1 = y;
  line.x2 = target.x;
  line.y2 = target.y;
}

}  // namespace

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
  DrawLineRecordAt(view, record.get());
}

void GhostLocatorLeader(void* view, std::int32_t x, std::int32_t y, const pl3::Box& box) {
  auto record = NewEntityRecord();
  LeaderRecord(record.get(), x, y, box);
  GhostEntityData(view, kTypeTrack, record->payload, 0, &pl3::kIdentityTransform);
}

void DrawLineRecordAt(void* view, const EntityRecord* record) {
  if (!record) return;
  const auto* head = reinterpret_cast<const GraphicHead*>(record->payload);
  if (head->layer == kLeaderClass && LocatorDebugDrawing) return;
  DrawEntityByType(record->payload, record->header.recordType, &pl3::kIdentityTransform, 0);
}

std::uint32_t GetDistanceToBox(const pl3::Box& box, std::int32_t x, std::int32_t y) {
  return PointToBoxDistance(x, y, 0, box.xmin, box.ymin, box.xmax, box.ymax);
}

// Per-type copies, moves and grab points of design items: working copies of
// stored payloads, deep copies of stored entities into another place of the
// tower, the translate handlers, the grab-point handlers and the join test.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;
struct EntityRecord;

// A new heap copy of a stored payload of `storedSize` bytes, released with
// std::free: for graphic types an EntityRecord; for 111 and 116 the bare
// 44- or 36-byte record. Null for type 26, for a payload too short for its
// type, and for an unknown type (after "Internal Error - Unknown type").
void* CopyEntity(const void* payload, std::uint32_t storedSize, std::uint16_t type, const pl3::Transform* transform);
// CopyEntity of the entity a Tower stands on, under the Tower's design-space transform.
void* CopyEntityFromTower(const Tower* t);

// Copies the entity at the source Tower's last level, with its children
// where the type keeps them, under the destination's entity. Returns a new
// Tower on the copy (the caller releases it), or null.
Tower* CopyAndInsertEntity(const Tower* destination, const Tower* source, const pl3::Transform* transform);

// Part codes of a move.
constexpr std::uint16_t kPartWhole = 0;
constexpr std::uint16_t kPartFirstEnd = 1;
constexpr std::uint16_t kPartSecondEnd = 2;
constexpr std::uint16_t kPartRadius = 3;
constexpr std::uint16_t kPartPolygonPoint = 4;
constexpr std::uint16_t kPartPolygonPointAdd = 5;

// Moves the item, or the part of it, by (dx, dy). `payloadRoom` is what the
// payload buffer holds; nothing is moved past it.
void TranslateEntity(void* payload, std::uint32_t payloadRoom, std::uint16_t type, pl3::Point delta,
                     std::uint16_t part);

#pragma pack(push, 1)
struct GrabBlock {
  std::uint32_t firstWord;
  std::uint32_t secondWord;
  std::int32_t grabX, grabY;
  std::uint16_t editCode;
  std::int32_t cursorX, cursorY;  // view pixels, supplied by the caller
  std::uint8_t wholeItem;         // supplied by the caller
};
#pragma pack(pop)
static_assert(sizeof(GrabBlock) == 27);

// Edit codes a grab hands back.
constexpr std::uint16_t kEditWhole = 0;
constexpr std::uint16_t kEditFirstEnd = 1;
constexpr std::uint16_t kEditSecondEnd = 2;
constexpr std::uint16_t kEditRadius = 3;
constexpr std::uint16_t kEditPolygonPoint = 4;
constexpr std::uint16_t kEditCentroidDirection = 6;  // a centroid's direction is turned
constexpr std::uint16_t kEditWholeItemRequest = 7;

// True for the polygon kinds: 4, 8, 9, 41 to 45 and 49.
bool IsPolygonKind(std::uint16_t type);

// The edit codes of a spiral's handles.
constexpr std::uint16_t kEditSpiralCentre = 7;
constexpr std::uint16_t kEditSpiralEnd = 8;
constexpr std::uint16_t kEditSpiralStart = 9;
constexpr std::uint16_t kEditSpiralPitch = 10;
constexpr std::uint32_t kSpiralHandleBytes = 80;  // a spiral payload through its pitch

// Chooses the point by which the item is dragged; 1.
int GrabEntity(const Tower* item, GrabBlock* grab);
// The handle of a spiral nearest the cursor (view pixels in the grab block):
// the centre (kEditSpiralCentre), the start, the pitch point one pitch
// beyond the start, or the end, with that point; both flag words cleared.
// 1, or 0 for a missing or short spiral.
int GetSpiralHandle(const Tower* item, GrabBlock* grab);

// The design's next Xref number (its 225 record, created holding 1).
std::uint32_t NextXrefNumber(const Tower* design);
// 1 when items of the two types may be joined end to end.
int AreTypesCompatible(std::uint16_t a, std::uint16_t b);

// Moving single items to another layer or board side, and storing a working
// graphic record in the design.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;
struct EntityRecord;

// The mirror about the y axis that flips an item to the other board side.
inline constexpr pl3::Transform kMirrorTransform = {-pl3::kFixedOne, 0, 0, pl3::kFixedOne, 0, 0};

// 1 when exactly one of the two layers lies below its opposite-side layer in
// the active window's table (the layers lie on different sides); 0 for the
// same layer or without a window.
int LayersOnOppositeSides(std::uint8_t a, std::uint8_t b);

// Gives a stored item a new layer; 1 when its layer byte was set. A text
// crossing sides is mirrored; a symbol instance changes side instead (0).
int SetEntityLayer(Tower* item, std::uint8_t layer);
// Moves the item to newLayer only when it lies on oldLayer; the window's
// current layer becomes newLayer.
void ReplaceEntityLayer(Tower* item, std::uint8_t newLayer, std::uint8_t oldLayer);
// Sends the item being placed to the other side; 1 when something changed.
int FlipInsertionToOtherSide(Tower* item);
// The same for a bare working record through the next-layer ring; 1 when handled.
int FlipGraphicRecordSide(EntityRecord* record, std::uint16_t type);

// Inserts the record's payload under the tower with its stored code and
// length; with notify the new entity goes to the editing engine's change
// hook. The caller releases the returned Tower.
Tower* StoreGraphicRecord(const Tower* parent, const EntityRecord* record, int notify);
// The stored length of a working record's payload.
std::uint32_t StoredRecordLength(const EntityRecord& record);

// ---- Seams: the drawing code and the editing engine -------------------------------

// The bounding box of a graphic payload of a type under a transform.
void GetEntityDataBox(const void* payload, std::uint16_t type, pl3::Box* box, const pl3::Transform* transform);
// The engine's hook for an entity a command has just stored.
void NotifyEntityStored(const Tower* entity);

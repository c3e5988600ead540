// The walker's actions on placed items: drawing an entity by its type
// (actions 0, 24 and 27) or onto the display list (37), the descent into
// structural nodes, the drawing of a placed symbol and of an attribute
// display, and the nearest-pad, delete-graphics and move-layer actions.
// Every action takes the walker's arguments (objects/walker.h WalkHandler)
// and returns non-zero when it handled the entity.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// The pass of the box walk that is drawing (0 outside one) and its flag word:
// bit 3 leaves out a placed symbol's own graphics and texts; 0x200 and 0x400
// keep only the items of one board side on the copy list; 0x800 gives each
// copy its net. Set by the box walk around its passes.
extern std::uint8_t WalkDrawPass;
extern std::uint32_t WalkPassFlags;

std::int32_t DrawWalkedEntity(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                              std::uint8_t action, std::int32_t* result);
std::int32_t WalkContainerEntity(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                                 std::uint8_t action, std::int32_t* result);
// The draw action on a symbol instance: its designator and attribute
// displays, its definition's graphics, then its pads.
std::int32_t DrawSymbolInstance(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                                std::uint8_t action, std::int32_t* result);
// An attribute display (309): the attribute's value (its name outside PCB
// windows) as a text in the text mode of the action.
std::int32_t ProcessAttributeDisplay(const Tower* display, const pl3::Transform* transform, std::uint8_t action);

// The pad nearest to the window's cursor found so far by FindNearestPadAction.
struct NearestPad {
  double distance;         // (|dx| + |dy|) / zoom; starts at the largest double
  Tower* instance;         // owned; the placed symbol (PCB windows), or null
  std::uint32_t xref;      // the pad's Xref number
  std::uint32_t netIds[2];
};
extern NearestPad NearestPadResult;
// Forgets the pad found and sets the distance to the largest double.
void ResetNearestPad();
std::int32_t FindNearestPadAction(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                                  std::uint8_t action, std::int32_t* result);
std::int32_t DeleteGraphicsAction(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                                  std::uint8_t action, std::int32_t* result);
std::int32_t MoveLayerAction(const pl3::Transform* transform, Tower* entity, void* param, std::uint8_t mode,
                             std::uint8_t action, std::int32_t* result);

// Fills the walker's slots with the actions above (after the design
// objects' own registrations, whose pad walk it wraps).
void RegisterDrawWalkHandlers();

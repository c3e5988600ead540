// Placement transforms of items in symbols, shapes and pad stacks, and the
// look-ups from a placed symbol or shape to its definition.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// The item's own transform composed with the parent (own first); the parent
// unchanged for a code without a transform of its own.
pl3::Transform* GetTransform(pl3::Transform* result, const Tower* item, const pl3::Transform* parent);
// GetTransform with the identity as parent.
pl3::Transform* GetOwnTransform(pl3::Transform* result, const Tower* item);
// Adds the delta to tx and ty of the entity's Transform (208) child; returns
// that payload, or null when the entity has none.
pl3::Transform* OffsetTransform(const Tower* item, pl3::Point delta);
pl3::Transform* OffsetTransform(const Tower* item, std::int32_t dx, std::int32_t dy);

// A new Tower on the Symbol Definition that a SymbolInstanceInfo payload (8
// bytes: flags, reference) names, in the active window's design; null when
// it cannot be resolved. The caller releases it.
Tower* GetInfoSymbolDef(const std::uint8_t* symbolInstanceInfo);
// The same through an instance's 113; null when the instance has none.
Tower* GetInstanceSymbolDef(const Tower* instance);
// A new Tower on the Shape Definition named by a Shape's Shape Info (110),
// resolved along the Shape's own path; null without a 110.
Tower* GetShapeDefinitionTower(const Tower* shape);

// A new Tower standing on the entity a stored reference names, one level
// below `parent`; null when the reference is 0, the parent has no entity or
// the entity is not a child of that parent.
Tower* ResolveReferenceUnder(const Tower* parent, std::uint32_t reference);

// ---- Origins ------------------------------------------------------------------

// Deletes every Origin (112) of the entity and inserts one {x, y, flags 0}.
void SetTowerOrigin(const Tower* item, std::int32_t x, std::int32_t y);
// Adds the delta to the entity's Origin when flag is 0; any other flag leaves it.
void OffsetOrigin(const Tower* item, pl3::Point delta, std::uint16_t flag);
// A library editor's drag of its origin: one mouse step.
struct OriginDrag {
  pl3::Point grabOffset;    // where the origin was grabbed, relative to it
  pl3::Point currentPoint;  // the mouse's world point now
  pl3::Point previousPoint;
};
void DragOrigin(void* dc, const Tower* item, OriginDrag* mouse);
// The definition's Origin mapped by the instance's placement; false (x and y
// untouched) when the definition or its Origin is missing.
bool GetSymbolInstanceOrigin(const Tower* instance, std::int32_t* x, std::int32_t* y);

// ---- Options ------------------------------------------------------------------

std::uint32_t GetSymbolOptions(const Tower* definition);
// Bit 0 of the options of the instance's definition; 0 without a 113.
std::uint32_t GetInstanceDefinitionFlag(const Tower* instance);
int IsSurfaceMountSymbol(const Tower* instance);
// A new Tower cut at the nearest level (t's own included) whose code is
// `code`, standing on that entity; null when no level has it.
Tower* GetEnclosingTower(const Tower* t, std::uint16_t code);
// A new Tower cut at the nearest enclosing Symbol Instance (PCB editor) or
// Symbol Definition (other editors); null when there is none.
Tower* GetOwningSymbolTower(const Tower* item);

// ---- Boxes --------------------------------------------------------------------

// The editing engine's world box of any item (GetBox); 0, box untouched,
// when it has none.
int GetItemBox(const Tower* item, pl3::Box* box);
// The box of a box's four corners mapped through the transform.
void GetRectangleBox(pl3::Box* box, const pl3::Transform* t);
// The box of the definition a SymbolInstanceInfo names; 0 (box untouched) when it does not resolve.
int GetSymbolInstanceInfoBox(const std::uint8_t* symbolInstanceInfo, pl3::Box* box);
int GetShapeInstanceBox(const Tower* shape, pl3::Box* box);
int GetSymbolPinBox(const Tower* pin, pl3::Box* box);

// ---- Walking ------------------------------------------------------------------

// Walks the definition a 113 (or a schematic symbol 32) names with the
// action, designators and attributes hidden for the length of the walk.
std::int32_t ProcessFoundSymbolInstanceInfo(std::uint8_t action, const Tower* info, const pl3::Transform* transform,
                                            void* argument);

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

// XOR ghosts of items being placed, dragged or edited. Every ghost is drawn
// into the device context with R2_XORPEN, so drawing it again with the same
// inputs (record, transform, window flags, AngleAssist, bend byte, switches)
// erases it. GhostEntityData itself is declared in objects/editor_seams.h.
#pragma once
#include <cstdint>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"
#include "objects/editor_seams.h"

struct EntityRecord;
struct Tower;

// Arcs whose drawn radius reaches this many pixels are traced by the raster
// kernel instead of GDI's Arc; circles whose box sums reach the GDI limit
// are skipped.
inline constexpr std::int32_t kTracedArcRadius = 4001;
inline constexpr std::int64_t kGdiCoordinateLimit = 32767;
// Half the side of a pin's ghost square: 10 thou.
inline constexpr std::int32_t kPinGhostHalfSide = 365760;
// Edit mode of placing a new symbol.
inline constexpr std::uint8_t kModePlacingSymbol = 24;

// Ghosts one working record; a null record is reported and draws nothing.
void GhostEntity(void* dc, const EntityRecord* record, std::uint32_t flags);

// Wrappers over one record and the placement transform.
void GhostThinLineItem(void* dc, const EntityRecord* record, const pl3::Transform* transform);
void GhostThinArcItem(void* dc, const EntityRecord* record, const pl3::Transform* transform);
void GhostCircleItem(void* dc, const EntityRecord* record, const pl3::Transform* transform);
void GhostHoleItem(void* dc, const EntityRecord* record, const pl3::Transform* transform);
void GhostPolygonItem(void* dc, const EntityRecord* record, const pl3::Transform* transform);
void GhostFilledPolygonItem(void* dc, const EntityRecord* record);
void GhostRectangleItem(void* dc, const EntityRecord* record, const pl3::Transform* transform);
void GhostArcItem(void* dc, const EntityRecord* record);

// The track outline of a line-like payload of the given type, its legs split
// by the window's AngleAssist and the two bend bits.
void GhostTrackData(void* dc, const void* payload, std::uint32_t bendFlags, const pl3::Transform* transform,
                    std::uint16_t type);
// The arc outline of an arc payload (types 2 and 38).
void GhostArcData(void* dc, const pl3::ArcLayout& arc, std::uint32_t bendFlags, const pl3::Transform* transform,
                  std::uint16_t type);
// The outlines of single payloads under a placement transform.
void GhostCircleData(void* dc, const void* payload, const pl3::Transform* transform);
void GhostHoleData(void* dc, const void* payload, const pl3::Transform* transform);
// The polygon's edges; with an edited point (index below 255 and the count)
// one adjacent edge again in a second pen: to the previous point when the
// low byte of flags is non-zero, else to the next.
void GhostPolygonData(void* dc, const void* payload, std::uint32_t flags, const pl3::Transform* transform);
void GhostFilledPolygonData(void* dc, const void* payload, const pl3::Transform* transform);
void GhostRectangleData(void* dc, const void* payload, const pl3::Transform* transform);
void GhostThinLineData(void* dc, const void* payload, const pl3::Transform* transform);
void GhostThinArcData(void* dc, const void* payload, const pl3::Transform* transform);

// Ghosts every record of the active window's insertion array moved by
// (dx, dy) from the transform, then the ratsnest lines once.
void GhostInsertionArrayOffset(void* dc, const pl3::Transform* transform, std::int32_t dx, std::int32_t dy);

// The ghost of a ghost copy (a Temporary node whose children were copied
// with their placement applied): every child but its Transform (208) and
// Offset (246) moved by the node's Offset plus the offset.
void GhostCopiedItems(void* dc, const Tower* node, pl3::Point offset);

// The ghost of a placed symbol's contents: the instance's placement (its
// transform record 208 and offset record 246) added to the offset.
void GhostSymbolContents(void* dc, const Tower* instance, const Tower* definition, pl3::Point offset);

// Small routines every editor shares: the layer searches over the active
// window's layer table, the view origin that centres the design, and
// mechanical helpers over transforms, point lists, records and store nodes.
// GetNextLayerOfKind is declared in objects/editor_seams.h and
// GetCentredViewOrigin in objects/new_documents.h, where their callers
// below reach them.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"
#include "store/node_pool.h"

struct LayerTable;
struct Tower;
struct SelectionInfo;

// 1 when a primary record of the list is a text-like item: an attribute
// locator grabbed whole (part 0 or 7) of kind 1, 3, 4, 5, 8, 9, 13 or 15, or
// an item of type 26, 28, 29 or 30.
int SelectionHasTextLikeItems(const SelectionInfo* list);

// The first enabled layer (index order) of the kind (any kind for 0) of the
// active window's table; 0x100 + the default when there is none.
std::uint32_t FindFirstLayerOfKind(std::uint32_t defaultLayer, std::uint32_t kind);

// Sets words 1 to 100 of the walker's per-type table to the value
// (app/net_flag_table.cpp).
void FillTypeAttributeTable(std::uint16_t value);

void CopyTransform(pl3::Transform* destination, const pl3::Transform* source);

// The newest child of the entity with the type code, or null. The children's
// groups are kept in ascending code, so the walk stops at the first larger one.
Entity* FindChildByTag(const Entity* node, std::uint16_t tag);

// 1 when point `index` of a closed list lies on one line with its two
// neighbours (the ends wrap). Differences are taken as unsigned 32-bit values.
int IsCollinearPoint(const pl3::Point* points, std::uint32_t index, std::uint32_t count);

// Orders two records of four 32-bit words by the fourth word, then the
// first, second and third, as unsigned differences.
int CompareByFourKeys(const void* a, const void* b);

// A list of 8-byte entries behind a count byte: the entry at `index` is
// removed, the later ones moved down and the count lowered by 1.
void RemoveListEntry(std::uint8_t* count, std::uint8_t* entries, std::uint32_t index);

// Empties a layer table: its count word 0 and every record unused, with its
// plane bit (index mod 128) + 1.
void ClearLayerTable(LayerTable& table);

// Adds (dx, dy) to the point at the start of the entity's payload (an
// Origin record's x and y). A payload too short for a point is left alone.
void OffsetEntityOrigin(const Tower* entity, std::int32_t dx, std::int32_t dy);

// The head every name record keeps before its name (a pad Label's).
constexpr std::uint32_t kNamedRecordHeadSize = 56;
// Replaces *record, a 56-byte head followed by a NUL-terminated name, by a
// new heap record with the same head and `name`; the old one is freed. On an
// allocation failure *record stays as it was. Returns 1 when replaced.
int ReplaceRecordName(void** record, const char* name);

// Gives the active window the identity as its transform. The program's other
// fixed transforms (quarter turns, mirror, the 30-degree arrow heads) are
// compile-time constants and need no filling.
void ResetStandardTransforms();

// Blacks out, with the black stock brush, the parts of the window's client
// area right of and below the drawing's pixel extent (the surface of the
// state block kept in the window's user data).
void FillOutsideDrawing(HWND window, HDC dc);

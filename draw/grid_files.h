// Grid sets kept in towers and in grid files, and the program's default set
// as start-up loads it.
//
// A set is stored as one grid list record (1200) under a tower entity (a
// design keeps it under its Don't Reload Group): its flags (1202, 16-bit),
// the current grid (1213) and one record per entry (1201, payload the
// entry's index). The fields of a grid are children of its 1213 or 1201
// record, one record each, written in this order: flags 1202, unit 1203, key
// stroke 1204 (8-bit), kind 1205, then for a cartesian grid the x and y axes
// 1206 and 1207 (five 32-bit values each), for a polar grid the angle style
// 1210, angle value 1212 (double), the further polar word 1211 and the ring
// spacing 1209 (double). The set header's second word is not stored.
//
// The older grid-info record (235) is still read, never written: 16-bit flags
// and second word, the current grid, a 32-bit count and the entries, each
// grid {flags, unit, key stroke and three bytes of padding, x axis, y axis},
// all cartesian.
//
// Readers trust nothing: a field record shorter than its field fills only
// the bytes it holds, an entry whose index is out of range or repeated is
// left out, and the old record's count is held to the entries its payload
// holds. Values are kept as stored; the snaps and the grid drawing cope
// with steps that give no positions.
//
// A grid file ("*.GRD") is a tower file whose saved entity holds the 1200
// record (or a 235 record).
#pragma once
#include <cstddef>
#include <cstdint>

#include "objects/grid_sets.h"
#include "objects/type_codes.h"

struct Tower;

// Record codes.
constexpr std::uint16_t kGridListCode = 1200;
constexpr std::uint16_t kGridEntryCode = 1201;
constexpr std::uint16_t kGridFlagsCode = 1202;
constexpr std::uint16_t kGridUnitCode = 1203;
constexpr std::uint16_t kGridKeyCode = 1204;
constexpr std::uint16_t kGridKindCode = 1205;
constexpr std::uint16_t kGridXAxisCode = 1206;
constexpr std::uint16_t kGridYAxisCode = 1207;
constexpr std::uint16_t kGridRingSpacingCode = 1209;
constexpr std::uint16_t kGridAngleStyleCode = 1210;
constexpr std::uint16_t kGridPolarWordCode = 1211;
constexpr std::uint16_t kGridAngleValueCode = 1212;
constexpr std::uint16_t kGridCurrentCode = 1213;
constexpr std::uint16_t kGridInfoCode = Type_GridInfo;

// The old record's layout.
#pragma pack(push, 1)
struct OldGridEntry {
  std::uint32_t flags;
  std::uint32_t unit;
  std::uint8_t keyStroke;
  std::uint8_t padding[3];
  GridAxis x;
  GridAxis y;
};
struct OldGridInfoHeader {
  std::uint16_t flags;
  std::uint16_t secondWord;
  OldGridEntry current;
  std::uint32_t count;
};
#pragma pack(pop)
static_assert(sizeof(OldGridEntry) == 52);
static_assert(sizeof(OldGridInfoHeader) == 60);

// A new set (std::malloc'd) from the grid records under the tower's entity:
// from a 235 record when there is one, else from the 1200 record; null when
// the entity holds neither.
GridSet* ReadStoredGridSet(const Tower* t);
// The same, but a zero-filled set of no entries when there are no records.
GridSet* LoadGridSet(const Tower* t);
// Replaces every 235 and 1200 record under the tower's entity by a new 1200
// record holding the set; returns a new Tower on that record (the caller
// releases it), null for a null set.
Tower* SaveGridSet(const Tower* t, const GridSet* set);

// Writes the set as a grid file (under a scratch entity); 1 on success.
int SaveGridList(const char* path, const GridSet* set);
// Reads a grid file. On success DefaultGridSet and *set (when set is not
// null; it may be &DefaultGridSet) are each replaced by a set read from the
// file, the sets they held freed, and 1 returned. A file that cannot be read
// or holds no grid records returns 0 and changes neither set.
int LoadGridList(const char* path, GridSet** set);
// The same from a complete grid file image in memory.
int LoadGridListFromMemory(const void* image, std::size_t size, GridSet** set);

// Start-up: DefaultGridSet becomes the built-in set (the old one freed).
void CreateGridList();
// Start-up, after the store is started: loads the grids file into
// DefaultGridSet. When it cannot be read the built-in set is written to the
// path, an existing unreadable file first being set aside as
// "<path>.corrupt" (".corrupt.1", ...) so that it is not lost; a file that
// cannot be set aside is left alone and not written.
void LoadGridsFile(const char* path);
// Exit: frees DefaultGridSet.
void FreeGridList();

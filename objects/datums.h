// Datums (type 34): named reference points of a design, drawn as two arrows
// with the name beside them. The window's coordinate origin can be set to a
// datum, and the datum "MASTER" is every PCB design's home origin.
#pragma once
#include <cstdint>
#include <string>

#include "geometry/types.h"
#include "objects/graphic_records.h"

struct Tower;
struct TowerNode;
struct EntityRecord;
using Entity = TowerNode;

// Room for the name in a working record, the terminator included: longer
// names are cut to 2,047 bytes.
constexpr std::uint32_t kDatumNameRoom = kDatumRoom - 64;
static_assert(kDatumNameRoom == 2048);

inline constexpr char kMasterDatumName[] = "MASTER";
inline constexpr char kUpperRightDatumName[] = "UPPER_RIGHT";
// Where the "MASTER" datum of a design that lacks one is made: 7 and 11 inches.
constexpr std::int32_t kMasterDatumX = 256032000;
constexpr std::int32_t kMasterDatumY = 402336000;
// World units per point of the font size: the datum's text height.
constexpr std::int32_t kDatumUnitsPerPoint = 131072;

// The name of a datum payload, read within the name room.
std::string DatumName(const DatumPayload* datum);
// 65 + the length of the name; the twin reads a working record.
std::uint32_t GetDatumRecordSize(const DatumPayload* datum);
std::uint32_t GetDatumRecordSize(const EntityRecord& record);

// A key stroke as stored: a letter or digit upper-cased, anything else 0 (none).
std::uint8_t NormaliseDatumKeyStroke(int character);

// The datum's text height h: the real font size of its size index x 131,072.
std::int32_t DatumTextHeight(const DatumPayload* datum);

// The arms, the barbs and the name place of a datum at (x, y), in the frame
// the caller draws in (view pixels, y downward). Segment k runs from
// from[k] to to[k]: the vertical arm, the horizontal arm, then two barbs at
// each tip.
struct DatumSymbol {
  pl3::Point from[6];
  pl3::Point to[6];
};
DatumSymbol DatumArms(std::int32_t x, std::int32_t y, std::int32_t h, bool upperRight);
bool IsUpperRightDatum(const DatumPayload* datum);
// Where the name goes (world) and its justification: 8 right-justified left
// of the point, 4 left-justified right of it for "UPPER_RIGHT".
struct DatumNamePlace {
  pl3::Point at;
  std::uint32_t justification;
};
DatumNamePlace DatumNamePlacement(const DatumPayload* datum);

// The square x +- h, y +- h, united with the box of the name text.
void GetDatumBox(const DatumPayload* datum, pl3::Box* box);

// Moves the datum point by (dx, dy); the grab point is the datum point.
void TranslateDatum(DatumPayload* datum, std::int32_t dx, std::int32_t dy);
pl3::Point DatumGrabPoint(const DatumPayload* datum);

// The first datum under the design with exactly this name (case counts), or null.
const DatumPayload* FindDatumByName(const Tower* design, const char* name);
// 1 when a datum of the active window's design other than `exclude`, and not
// selected, has exactly this name.
int DatumNameExists(const char* name, const Entity* exclude);

// Builds a datum (size flags 0, key stroke 0) and stores it under the design;
// with `notify` the editing engine hears of it. Returns the new entity, or null.
Entity* CreateDatum(const Tower* design, const char* name, std::int32_t x, std::int32_t y, int notify);
// Makes the "MASTER" datum of a PCB design that has none. Returns 1 when made.
int EnsureMasterDatum(const Tower* design);

// The window's coordinate origin goes to the named datum ("Datum not found."
// when there is none); the second takes "MASTER".
void SetOriginToDatum(void* window, const char* name);
void ResetOriginToMaster(void* window);

// ---- Placing and drawing ----
// The edit mode of a datum being placed.
constexpr std::uint8_t kModePlacingDatum = 86;
// Arms the insert-datum tool when the active window is idle: the pending
// insertion type becomes 34 and the click state 0. 1 when armed.
int SetInsertDatumMode();
// The click of the armed tool: asks for the name ("Start New Datum"); a name
// in use is refused with "A datum of this name already exists.". Otherwise a
// working datum at the cursor goes into *slot, the mode becomes 86 and its
// ghost is drawn. 1 when placing began.
int StartNewDatum(void* window, EntityRecord** slot, pl3::Point cursor);
// Mode 86's mouse move: the ghost follows the cursor snapped to the grid,
// redrawn only when the snapped point moved.
void MoveDatumGhost(void* dc, EntityRecord* record, pl3::Point cursor);
// Mode 86's click: stores the datum with undo, frees the working record
// (*slot becomes null) and ends the tool. Returns 1.
int InsertDatum(EntityRecord** slot);
// Draws a placed datum into the view's raster plane (arms in the datum
// colour, then its name); the ghost draws the same in XOR on a device context.
void DrawDatum(void* view, const DatumPayload* datum);
void GhostDatum(void* dc, const DatumPayload* datum);

// The display item builders: one handler per DL code, which copies the
// entity's record and brings it into board coordinates, and one builder per
// item kind, which fills the item, its boxes and its colours and links it
// into its kind list. The dispatcher (AddEntityToDisplayList) sets up the
// build of one entity and calls the handler of its code.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "draw/display_list.h"
#include "geometry/graphic_layouts.h"
#include "geometry/types.h"

struct Tower;

// What the dispatcher has set up for one entity's handler.
struct DisplayBuild {
  DisplayList* list;
  const Tower* entity;    // the Tower every item of the entity copies
  const Tower* owner;     // the designator or attribute copy, or null
  std::uint32_t pathFlags;  // GetDisplayItemFlags of the entity's path
  std::uint8_t layer;     // L: the layer drawn on
  std::int32_t clearance; // CL: the plane clearance of L
  std::uint8_t action;
  const pl3::Transform* placement;
};
// The build in progress (null outside the dispatcher); the text renderer's
// display-list mode reaches the builders through it.
const DisplayBuild* CurrentDisplayBuild();
// Makes the build current for the length of a handler; the previous one
// comes back when the scope ends.
class DisplayBuildScope {
 public:
  explicit DisplayBuildScope(const DisplayBuild* build);
  ~DisplayBuildScope();
  DisplayBuildScope(const DisplayBuildScope&) = delete;
  DisplayBuildScope& operator=(const DisplayBuildScope&) = delete;

 private:
  const DisplayBuild* previous_;
};

// Runs `body` inside the build the dispatcher would set up for the entity
// with its record on the layer: for what reaches the list other than through
// a DL code (the texts of designator and attribute copies).
void RunDisplayBuild(const Tower* entity, std::uint8_t layer, const pl3::Transform* transform, std::uint8_t action,
                     void (*body)(void* context), void* context);

// A new item of `size` bytes (zeroed) with its head filled from the build:
// kind, layer, the path flags and copies of the entity and owner Towers.
DisplayItem* NewDisplayItemFor(const DisplayBuild& b, std::size_t size, std::uint16_t kind, std::uint8_t layer);
// A track record of the width from one point to the other, identity transform.
pl3::TrackLayout MakeTrackRecord(std::uint8_t layer, pl3::Point from, pl3::Point to, std::int32_t width);
// Grows a box to take in a point; the first point makes the box.
void ExtendItemBox(pl3::Box& box, pl3::Point p, bool first);
// The box grown by a clearance on every side, its low corner at least 0.
pl3::Box GrownItemBox(const pl3::Box& box, std::int32_t by);
// Links the item into the list the list code names (freed when that fails).
void StoreDisplayItem(const DisplayBuild& b, std::uint16_t listCode, DisplayItem* item);
// The list code of a text's item: markers first, then datums, else its own.
std::uint16_t TextItemListCode(const DisplayBuild& b, std::uint16_t kind);

// A working copy of a polygon record of `size` bytes: its points, as many
// as fit, and the triangles after them (bytes past the record zero); null
// for a record without a point. *copySize is the copy's size.
std::unique_ptr<std::uint8_t[]> CopyPolygonRecord(const void* record, std::uint32_t size, std::uint32_t* copySize);
// The polygon item (kind: the code for 4, 8, 9, 41 to 45 and 49, else 4; 4
// with the text-outline flag for a text's polygons) of a board-coordinate record.
void BuildPolygonItem(const DisplayBuild& b, const pl3::PolygonLayout* polygon, std::uint32_t size,
                      std::uint16_t code);

// ---- Handlers by DL code ---------------------------------------------------------------

// The line family (1, 10, 35, 37, 39, 46, 47) of a 68-byte line record.
void AddLineFamilyToDisplayList(const DisplayBuild& b, const void* record, std::uint16_t kind);
void AddArcToDisplayList(const DisplayBuild& b, const void* record, std::uint16_t kind);
void AddCircleToDisplayList(const DisplayBuild& b, const void* record);
// A polygon record of `size` bytes (its count byte checked against it).
void AddPolygonToDisplayList(const DisplayBuild& b, const void* record, std::uint32_t size, std::uint16_t code);
void AddTextToDisplayList(const DisplayBuild& b, const void* record, std::uint32_t size);
void AddRectangleToDisplayList(const DisplayBuild& b, const void* record);
// Holes, or vias when the record's via flag is set or the action is 25.
void AddHoleOrViaToDisplayList(const DisplayBuild& b, const void* record, std::uint32_t size);
void AddSpiralToDisplayList(const DisplayBuild& b, const void* record);
void AddDatumToDisplayList(const DisplayBuild& b, const void* record, std::uint32_t size);
void AddPreRouteToDisplayList(const DisplayBuild& b, const void* record);
void AddMarkerToDisplayList(const DisplayBuild& b);
// A marker (264): its label text and a leader from each of its points to the
// label's box; onto the display list with action 37, else into the view.
void DrawMarkerEntity(const Tower* marker, const pl3::Transform* placement, std::uint8_t action);
void AddSymbolInstanceToDisplayList(const DisplayBuild& b);

// ---- Builders used by the text renderer and the walk actions -------------------------------

// A glyph outline record (type 40, `size` bytes) under the glyph transform.
void AddGlyphToDisplayList(const std::uint8_t* outline, std::uint32_t size, const pl3::Transform* transform,
                           std::uint8_t layer);
// A glyph polygon (a polygon payload already in world units) of a text.
void AddGlyphPolygonToDisplayList(const void* polygon, std::uint32_t size);
// The label of a placed pad (117): its box, origin, side and texts.
void AddPinLabelToDisplayList(const Tower* padInstanceInfo, const pl3::Transform* transform);

// ---- Layer groups and span colours ----------------------------------------------------------

// The groups of the copper layers low..high that are in use and visible
// (with a single shown layer, that layer only), one per distinct plane
// clearance; a new array (free()) or null for none.
LayerGroup* BuildItemLayerGroups(std::uint8_t low, std::uint8_t high, std::uint32_t* count);
// The first and last layer of a hole record, ascending; a record without a
// second layer spans the copper layers 1 to 32.
void GetHoleLayerSpan(const pl3::HoleLayout& hole, std::uint8_t* low, std::uint8_t* high);
std::uint32_t GetLayerSpanColour(std::uint8_t low, std::uint8_t high, int withOuter);
std::uint32_t GetViaColour(std::uint8_t low, std::uint8_t high, std::uint32_t viaOptions, int withOuter);
std::uint32_t GetViaDrillColour(const HoleItemRecord& record, int withOuter);

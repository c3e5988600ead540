// The display list of a PCB window: drawable copies (display items) of the
// board's entities, resolved to real sizes and brought into board
// coordinates, each with its box, its clearance box and the colours it is
// painted in. Painting, picking, highlighting and the rule checker's binning
// walk these lists instead of the design tower; windows of other kinds draw
// from the tower and keep no list.
//
// Items live in nine kind lists, each newest first. Every item starts with
// the common head DisplayItem; the fields of its kind follow (LineItem,
// ArcItem ...). The records are in memory only; their layouts are fixed and
// checked here so that the per-kind views of one allocation agree.
#pragma once
#include <cstddef>
#include <cstdint>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"
#include "objects/display_list_seams.h"
#include "platform/win_types.h"

struct Tower;

// ---- Lists ----------------------------------------------------------------------------

enum DisplayListIndex : std::uint8_t {
  DisplayList_Holes = 0,      // list code 7: holes, vias and the drill of each via
  DisplayList_Planes = 1,     // 8
  DisplayList_Cutouts = 2,    // 9 and 35
  DisplayList_General = 3,    // every code not named here
  DisplayList_PinLabels = 4,  // 117
  DisplayList_Datums = 5,     // 34
  DisplayList_Markers = 6,    // 264
  DisplayList_PreRoutes = 7,  // 36
  DisplayList_Slots = 8,      // 46 and 47
};
constexpr int kDisplayListCount = 9;

struct DisplayItem;
struct DisplayNode {
  DisplayItem* item;
  DisplayNode* next;
};
struct DisplayList {
  DisplayNode* lists[kDisplayListCount];
};

// The kind list of a list code.
DisplayListIndex DisplayListOfCode(std::uint16_t listCode);

// ---- Items ----------------------------------------------------------------------------

// Item flags.
constexpr std::uint32_t kItemAllInnerLayers = 0x1;    // StateFlags bit 21 was set when built
constexpr std::uint32_t kItemInSymbol = 0x2;          // path holds 106, 105, 22, 21 or 163
constexpr std::uint32_t kItemNonPlated = 0x4;         // a hole without the plated flag
constexpr std::uint32_t kItemDatum = 0x8;
constexpr std::uint32_t kItemFixedColour = 0x10;      // path holds a marker; recolouring skips it
constexpr std::uint32_t kItemPinPart = 0x20;          // path holds a placed pad (117)
constexpr std::uint32_t kItemViaDrill = 0x40;         // the hole made for the drill of a via
constexpr std::uint32_t kItemTextOutline = 0x80;      // glyphs and polygons made from a text
constexpr std::uint32_t kItemPl2SymbolPart = 0x100;   // path holds 162 or 163
constexpr std::uint32_t kItemKeepout = 0x200;         // polygons of codes 41 to 45 and 49
constexpr std::uint32_t kItemClearanceAsWidth = 0x400;  // arcs: a group's clearance is the width

// The kind of a glyph outline item.
constexpr std::uint16_t kGlyphItemKind = 40;

// The colour of a highlighted item.
constexpr std::uint32_t kHighlightColour = 0x810000;

// The head every item starts with.
struct DisplayItem {
  std::uint16_t kind;          // mostly the entity's type code
  std::uint16_t spare2;
  pl3::Box box;                // world units
  pl3::Box clearanceBox;       // the box grown by the item's clearance, low corner at least 0
  std::uint32_t spare36;
  Tower* entity;               // owned copy of the Tower that reached the entity
  Tower* owner;                // owned copy of the designator or attribute copy, or null
  std::uint8_t layer;          // the layer drawn on
  std::uint8_t spare57[3];
  std::uint32_t flags;         // kItem... bits
  std::uint32_t checkClass;    // the rule checker's bin
  std::uint32_t work[2];       // 0 when built
  std::uint32_t spare76;
};
static_assert(offsetof(DisplayItem, box) == 4 && offsetof(DisplayItem, clearanceBox) == 20);
static_assert(offsetof(DisplayItem, entity) == 40 && offsetof(DisplayItem, owner) == 48);
static_assert(offsetof(DisplayItem, layer) == 56 && offsetof(DisplayItem, flags) == 60);
static_assert(offsetof(DisplayItem, checkClass) == 64 && offsetof(DisplayItem, work) == 68);
static_assert(sizeof(DisplayItem) == 80);

// One record per distinct plane clearance among the layers an item spans.
struct LayerGroup {
  std::int32_t clearance;
  std::uint32_t colourBits;
};
static_assert(sizeof(LayerGroup) == 8);

// Kinds 1, 10, 35, 37, 39, 46 and 47. End marks: each end followed by its
// two mark points (tracks and slots); layer groups: slots only.
struct LineItem {
  DisplayItem head;
  pl3::TrackLayout record;
  std::int32_t clearance;
  std::uint32_t savedColour;
  std::uint32_t currentColour;
  pl3::Point endMarks[6];
  LayerGroup* groups;
  std::uint32_t groupCount;
  std::uint32_t spare;
};
static_assert(offsetof(LineItem, record) == 80 && offsetof(LineItem, clearance) == 148);
static_assert(offsetof(LineItem, savedColour) == 152 && offsetof(LineItem, currentColour) == 156);
static_assert(offsetof(LineItem, endMarks) == 160 && offsetof(LineItem, groups) == 208);
static_assert(offsetof(LineItem, groupCount) == 216 && sizeof(LineItem) == 224);

// Kinds 2 and 38.
struct ArcItem {
  DisplayItem head;
  pl3::ArcLayout record;  // with its draw state prepared
  std::int32_t clearance;
  std::uint32_t savedColour;
  std::uint32_t currentColour;
};
static_assert(offsetof(ArcItem, record) == 80 && offsetof(ArcItem, clearance) == 196);
static_assert(offsetof(ArcItem, currentColour) == 204 && sizeof(ArcItem) == 208);

// Kind 3.
struct CircleItem {
  DisplayItem head;
  pl3::CircleLayout record;
  std::uint32_t savedColour;
  std::uint32_t currentColour;
  std::int32_t clearance;
};
static_assert(offsetof(CircleItem, savedColour) == 140 && offsetof(CircleItem, clearance) == 148);
static_assert(sizeof(CircleItem) == 152);

// Kind 6: the rotated rectangle as its centre and two half-diagonals; the
// corners are c + u, c + v, c - u and c - v.
struct RectangleItem {
  DisplayItem head;
  pl3::Point centre;
  pl3::Point u;
  pl3::Point v;
  std::int32_t clearance;
  std::uint32_t savedColour;
  std::uint32_t currentColour;
  std::uint32_t spare;
};
static_assert(offsetof(RectangleItem, centre) == 80 && offsetof(RectangleItem, clearance) == 104);
static_assert(offsetof(RectangleItem, currentColour) == 112 && sizeof(RectangleItem) == 120);

// Kinds 4, 8, 9, 41 to 45 and 49. The polygon record (recordSize bytes,
// its points and triangles) follows the item; PolygonItemRecord reaches it.
struct PolygonItem {
  DisplayItem head;
  std::uint32_t savedColour;
  std::uint32_t currentColour;
  std::int32_t clearance;
  std::uint32_t recordSize;
};
static_assert(offsetof(PolygonItem, savedColour) == 80 && offsetof(PolygonItem, recordSize) == 92);
static_assert(sizeof(PolygonItem) == 96);
inline pl3::PolygonLayout* PolygonItemRecord(PolygonItem* item) {
  return reinterpret_cast<pl3::PolygonLayout*>(reinterpret_cast<std::uint8_t*>(item) + sizeof(PolygonItem));
}
inline const pl3::PolygonLayout* PolygonItemRecord(const PolygonItem* item) {
  return reinterpret_cast<const pl3::PolygonLayout*>(reinterpret_cast<const std::uint8_t*>(item) +
                                                      sizeof(PolygonItem));
}

// Kind 40: a glyph outline. The item owns the copy of the outline record,
// whose points it has turned into board coordinates; points, triangles
// (three point indices each) and contours (first and last index) point into it.
struct GlyphItem {
  DisplayItem head;
  std::uint8_t* outline;
  std::uint32_t savedColour;
  std::uint32_t currentColour;
  std::int32_t clearance;
  std::uint32_t pointCount;
  pl3::Point* points;
  std::uint16_t* triangles;
  std::uint16_t* contours;
  std::uint32_t triangleCount;
  std::uint32_t contourCount;
};
static_assert(offsetof(GlyphItem, outline) == 80 && offsetof(GlyphItem, clearance) == 96);
static_assert(offsetof(GlyphItem, points) == 104 && offsetof(GlyphItem, contours) == 120);
static_assert(sizeof(GlyphItem) == 136);

// The part of a hole or via record the items keep: the kernel's layout and
// the two words after it. The via options (the low byte of the second word)
// choose the solder-resist openings.
struct HoleItemRecord {
  pl3::HoleLayout hole;
  std::uint32_t placedWord;
  std::uint32_t viaOptions;
};
static_assert(offsetof(HoleItemRecord, viaOptions) == 72 && sizeof(HoleItemRecord) == 76);
// Hole flags (byte 49).
constexpr std::uint8_t kHolePlated = 0x4;
constexpr std::uint8_t kHoleVia = 0x8;

// Kinds 7 and 17. Pair A: the layer span with its solder-resist layers;
// pair B: the same with the silkscreens.
struct HoleItem {
  DisplayItem head;
  HoleItemRecord record;
  std::uint32_t spare;
  LayerGroup* groups;
  std::uint32_t groupCount;
  std::uint32_t savedColourA;
  std::uint32_t currentColourA;
  std::uint32_t savedColourB;
  std::uint32_t currentColourB;
  std::uint32_t spare2;
};
static_assert(offsetof(HoleItem, record) == 80 && offsetof(HoleItem, groups) == 160);
static_assert(offsetof(HoleItem, savedColourA) == 172 && offsetof(HoleItem, currentColourB) == 184);
static_assert(sizeof(HoleItem) == 192);

// Kind 34. The datum record (recordSize bytes, its name NUL-terminated
// within them) follows the item.
struct DatumItem {
  DisplayItem head;
  std::int32_t textSize;
  std::uint32_t upperRight;  // 1 when the datum's name is "UPPER_RIGHT"
  std::int32_t x;
  std::int32_t y;
  std::uint32_t recordSize;
  std::uint32_t spare;
};
static_assert(offsetof(DatumItem, textSize) == 80 && offsetof(DatumItem, recordSize) == 96);
static_assert(sizeof(DatumItem) == 104);

// Kind 36: the pre-route's two ends (the last four words of its record).
struct PreRouteItem {
  DisplayItem head;
  pl3::Point from;
  pl3::Point to;
};
static_assert(offsetof(PreRouteItem, from) == 80 && sizeof(PreRouteItem) == 96);

// Kind 117: one pad's label. The texts are owned copies; the rectangles and
// text pointers are the layout of the paint in progress.
struct PinLabelItem {
  DisplayItem head;
  std::uint32_t pinWords[2];  // the pad's two net ids
  char* netName;              // the net's name, or null
  char* labelText;            // the pad's label text, or null
  std::uint32_t side;         // 1 top, 2 bottom, 4 through-hole
  pl3::Point origin;          // the label origin, world units
  std::uint32_t spare;
  RECT textRect[2];           // text A (net name) and text B (label)
  const char* text[2];
};
static_assert(offsetof(PinLabelItem, netName) == 88 && offsetof(PinLabelItem, side) == 104);
static_assert(offsetof(PinLabelItem, origin) == 108 && offsetof(PinLabelItem, textRect) == 120);
static_assert(offsetof(PinLabelItem, text) == 152 && sizeof(PinLabelItem) == 168);

template <typename T>
T* ItemAs(DisplayItem* item) {
  return reinterpret_cast<T*>(item);
}
template <typename T>
const T* ItemAs(const DisplayItem* item) {
  return reinterpret_cast<const T*>(item);
}

// The saved and current colour of a kind with one colour pair (pair A of
// holes and vias); false for kinds without colours.
bool ItemColourPair(DisplayItem* item, std::uint32_t** saved, std::uint32_t** current);

// ---- The build state --------------------------------------------------------------------

// The list and entity PutEntityOnDisplayList makes current around one call;
// the handlers and builders read them.
extern DisplayList* CurrentDisplayList;
extern const Tower* CurrentDisplayEntity;
// Set: RemoveFromDisplayList changes nothing.
extern std::uint8_t DisplayListHold;
// The placed pad (117) whose stack is being walked, and the earlier-generation
// symbol (163) being drawn: the items drawn from their definitions take these
// as their entity, since the definition's own path does not lead through them.
extern const Tower* DisplayPadInstance;
extern const Tower* DisplayPl2Symbol;

// ---- Operations ---------------------------------------------------------------------------

DisplayList* NewDisplayList();
// Frees every item with what it owns, then the list; null is ignored. Returns 0.
int FreeDisplayList(DisplayList* list);
void FreeDisplayNodes(DisplayNode* first);
void FreeDisplayItem(DisplayItem* item);

// Pushes a node for the list code at the head of its kind list; returns the
// node's item slot, where the builder stores its item.
DisplayItem** NewDisplayNode(DisplayList* list, std::uint16_t listCode);

// PutEntityOnDisplayList and RemoveFromDisplayList (objects/display_list_seams.h)
// take the list as the window block's `Display`. Put adds the entity's items:
// the entity's record, its code as the DL code, the window's walk transform
// and action 37, only while the active window is a PCB window. Remove frees
// the entity's items and returns the list, or null when the active window is
// no PCB window.
// The dispatcher: one drawable record of `size` bytes by its DL code, for
// the current list and entity. A code without a case shows
// "Unknown DL(%d), please notify Corvane." and adds nothing.
void AddEntityToDisplayList(const void* record, std::uint32_t size, std::uint16_t code,
                            const pl3::Transform* transform, std::uint8_t action);

// The path-derived flags of the Tower (the current entity when null).
std::uint32_t GetDisplayItemFlags(const Tower* t);
// 1 when a level of the path has code 106, or else 105.
int IsInsideSymbol(const Tower* t);
// 1 when a level of the path has the code.
int HasRecordType(const Tower* t, std::uint16_t code);
// The rule checker's class of a built item.
std::uint32_t GetCheckClass(const DisplayItem* item);

// A plane value as a display colour (COLORREF), through the window's colour tables.
std::uint32_t ColourToRGB(std::uint32_t planeValue);
// Exchanges the red and blue bytes.
std::uint32_t SwapRedBlue(std::uint32_t colour);

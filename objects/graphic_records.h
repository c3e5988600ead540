// The stored payload of every graphic entity (GraphicRecord) and the working
// copy of one graphic item that insertion, editing and copying build, change
// and store back (EntityRecord).
//
// The payload layouts are the file format: item data streams and tower files
// carry them byte for byte, little-endian, so every layout is packed and its
// size and field offsets are checked at compile time. Payloads in the store
// are only 4-byte aligned; the packed structs may be laid over them.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"

static_assert(std::endian::native == std::endian::little, "payload layouts are little-endian");

using pl3::Point;
using pl3::Transform;

// The layouts that the geometry kernel reads (the common head, track, arc,
// circle, polygon and the heads of holes and rectangles) are defined once, in
// geometry/graphic_layouts.h; the design objects build the full payloads on them.
using GraphicHead = pl3::GraphicLayoutHead;  // bytes 0 to 47: layer, size flags and index, net ids, transform
using LinePayload = pl3::TrackLayout;        // 1, 10, 11, 35, 37, 39, 46, 47
using ArcPayload = pl3::ArcLayout;           // 2, 38
using CirclePayload = pl3::CircleLayout;     // 3
using PolygonHead = pl3::PolygonLayout;      // 4, 8, 9, 41 to 45, 49: n points from 68, then n - 2 triangles

// Size flags of a graphic payload (u16 at offset 2).
constexpr std::uint16_t kSizeByIndex = pl3::kSizeIndexed;  // the size is an index into the window's SizeTable
constexpr std::uint16_t kSizeCustom = 0x0002;              // an explicit value that a size list change keeps

static_assert(sizeof(LinePayload) == 68);
static_assert(sizeof(ArcPayload) == 116);
static_assert(sizeof(CirclePayload) == 60);
static_assert(sizeof(PolygonHead) == 68);

#pragma pack(push, 1)

// Thin line, wire and bus: 23, 28, 29.
struct ThinLinePayload {
  LinePayload line;
  std::uint32_t word68;  // 68: carried unchanged
};
static_assert(sizeof(ThinLinePayload) == 72);

// Thin arc: 24.
struct ThinArcPayload {
  ArcPayload arc;
  std::uint32_t word116;  // 116: carried unchanged
};
static_assert(sizeof(ThinArcPayload) == 120);

constexpr std::uint32_t kPolygonMaxPoints = 255;
constexpr std::uint32_t PolygonStoredSize(std::uint32_t points) { return 62 + 11 * points; }
static_assert(PolygonStoredSize(3) == sizeof(PolygonHead) + 3 * 8 + 1 * 3);

// Text: 5. The text follows at 104, NUL-terminated.
struct TextPayload {
  GraphicHead head;
  std::int32_t size;            // 48: font size (Fonts list)
  std::uint8_t bytes52[20];     // 52
  std::uint32_t justification;  // 72: 4 left, 8 right, 16 top, 32 bottom
  Transform textTransform;      // 76 to 99: the text's own transform
  std::uint32_t word100;        // 100
  char text[1];                 // 104: at most 2,048 bytes with the terminator
};
static_assert(offsetof(TextPayload, justification) == 72);
static_assert(offsetof(TextPayload, textTransform) == 76);
static_assert(offsetof(TextPayload, text) == 104);
constexpr std::uint32_t kTextMaxBytes = 2048;
constexpr std::uint32_t TextStoredSize(std::uint32_t length) { return 105 + length; }

// Rectangle: 6.
struct RectanglePayload {
  pl3::RectangleLayout rect;  // corners at 48 to 79, centre at 80 and 84
  std::uint32_t draggedCorner;  // 88: the corner a corner drag moves, 0 to 3
};
static_assert(sizeof(RectanglePayload) == 92);
static_assert(offsetof(RectanglePayload, draggedCorner) == 88);

// Hole flags (byte 49 of a hole payload).
constexpr std::uint8_t kHoleQuartered = pl3::kHoleShortCross;  // the pad is drawn quartered by a cross
constexpr std::uint8_t kHoleIsVia = pl3::kHoleFromViaList;     // the sizes come from the Vias list

// Hole and via: 7 (a via is placed as a hole with kHoleIsVia).
struct HolePayload {
  pl3::HoleLayout hole;       // style 48, flags 49, sizes 52 and 56, centre 60 and 64
  std::uint32_t word68;       // 68: 1 when placed
  std::uint32_t word72;       // 72: 0 when placed
  std::uint8_t carried[528];  // 76 to 603: carried unchanged
};
static_assert(sizeof(HolePayload) == 604);
static_assert(offsetof(HolePayload, word68) == 68);
static_assert(offsetof(HolePayload, carried) == 76);

// Attribute locator: 20.
struct LocatorPayload {
  GraphicHead head;
  std::uint16_t kind;             // 48: LocatorKind
  std::uint16_t word50;           // 50
  std::uint32_t portType;         // 52: IO port ends (kinds 9 and 15)
  std::uint32_t attributeId;      // 56: the Attribute shown, 0 for none
  std::int32_t x, y;              // 60, 64: the anchor
  std::int32_t textX, textY;      // 68, 72: the text point; (0, 0) for none
  std::uint32_t style1, style2;   // 76: vertical justification (16, 32); 80: horizontal (4, 8)
  std::int32_t textSize;          // 84: explicit text size
  std::uint32_t markedEntity;     // 88: stored reference, re-pointed on load
  std::uint32_t word92;           // 92
};
static_assert(sizeof(LocatorPayload) == 96);
static_assert(offsetof(LocatorPayload, attributeId) == 56);
static_assert(offsetof(LocatorPayload, x) == 60);
static_assert(offsetof(LocatorPayload, textX) == 68);
static_assert(offsetof(LocatorPayload, style1) == 76);
static_assert(offsetof(LocatorPayload, textSize) == 84);
static_assert(offsetof(LocatorPayload, markedEntity) == 88);

// Dimensioners: 21 (angle), 22. Points are world coordinates: A and B the
// measured points (the arm ends of an angle dimensioner), C a point on the
// dimension line (the vertex).
constexpr std::uint32_t kDimensionerTextByIndex = 0x0001;   // bit 0 of the flags at 88
constexpr std::uint32_t kDimensionerArrowsOutside = 0x0001; // bit 0 of the options at 132
struct DimensionerPayload {
  GraphicHead head;
  Point a;                        // 48
  Point b;                        // 56
  Point c;                        // 64
  std::uint32_t reserved72;       // 72: 0
  std::uint32_t length;           // 76: measured length (dimensioners), 0 for angles
  std::uint32_t textSizeIndex;    // 80: label size, index into the font size list
  std::int32_t textSize;          // 84: explicit label size
  std::uint32_t flags;            // 88: kDimensionerTextByIndex
  Point labelPosition;            // 92
  std::uint16_t labelDisplay;     // 100: justification bits as for texts
  std::uint16_t word102;          // 102
  Transform labelTransform;       // 104
  std::uint32_t unit;             // 128: DimensionerUnit
  std::uint32_t options;          // 132: kDimensionerArrowsOutside
  std::uint32_t font;             // 136: label font number
  std::uint8_t bytes140[36];      // 140 to 175: 0
};
static_assert(sizeof(DimensionerPayload) == 176);
static_assert(offsetof(DimensionerPayload, a) == 48);
static_assert(offsetof(DimensionerPayload, b) == 56);
static_assert(offsetof(DimensionerPayload, c) == 64);
static_assert(offsetof(DimensionerPayload, length) == 76);
static_assert(offsetof(DimensionerPayload, textSizeIndex) == 80);
static_assert(offsetof(DimensionerPayload, flags) == 88);
static_assert(offsetof(DimensionerPayload, labelPosition) == 92);
static_assert(offsetof(DimensionerPayload, labelDisplay) == 100);
static_assert(offsetof(DimensionerPayload, labelTransform) == 104);
static_assert(offsetof(DimensionerPayload, unit) == 128);
static_assert(offsetof(DimensionerPayload, options) == 132);
static_assert(offsetof(DimensionerPayload, font) == 136);

// Datum: 34. The name follows at 64, NUL-terminated.
struct DatumPayload {
  GraphicHead head;
  std::uint32_t word48;      // 48: 0
  std::int32_t x, y;         // 52, 56
  std::uint8_t keyStroke;    // 60: upper-case letter or digit, 0 for none
  std::uint8_t bytes61[3];   // 61
  char name[1];              // 64
};
static_assert(offsetof(DatumPayload, x) == 52);
static_assert(offsetof(DatumPayload, keyStroke) == 60);
static_assert(offsetof(DatumPayload, name) == 64);
constexpr std::uint32_t DatumStoredSize(std::uint32_t nameLength) { return 65 + nameLength; }

// Centroid: 18.
struct CentroidPayload {
  GraphicHead head;
  pl3::Point position;   // 48
  pl3::Point direction;  // 56: the direction point relative to the position
};
static_assert(sizeof(CentroidPayload) == 64);
static_assert(offsetof(CentroidPayload, direction) == 56);

// Spiral: 19.
struct SpiralPayload {
  GraphicHead head;
  std::int32_t width;      // 48: the explicit width
  pl3::Point centre;       // 52
  pl3::Point start;        // 60
  pl3::Point end;          // 68
  std::int32_t pitch;      // 76: world units
  std::uint8_t mirrored;   // 80: 1 when mirrored about the vertical through the centre
  std::uint8_t bytes81[3];
};
static_assert(sizeof(SpiralPayload) == 84);
static_assert(offsetof(SpiralPayload, centre) == 52 && offsetof(SpiralPayload, pitch) == 76);
static_assert(offsetof(SpiralPayload, mirrored) == 80);

// Pin name text: 27, under a Symbol Pin (26); placed at the pin's Origin
// (112) plus its own position, measured as a text item (GetPinTextBox).
struct PinNameTextPayload {
  std::uint8_t layer;            // 0
  std::uint8_t byte1;
  std::uint16_t sizeFlags;       // 2: kSizeByIndex when `size` indexes the font sizes
  std::int32_t size;             // 4: the size index, or the explicit size
  std::uint32_t style;           // 8: the font number
  std::uint32_t justification;   // 12: as a text's (4 left, 8 right, 16 bottom, 32 top)
  std::int32_t rotation[4];      // 16: a, b, c, d of the text's transform; all 0 for none
  std::uint32_t word32;          // 32
  std::int32_t x, y;             // 36, 40: from the pin's origin
  std::uint8_t bytes44[12];      // 44
  char name[1];                  // 56: NUL-terminated
};
static_assert(offsetof(PinNameTextPayload, size) == 4 && offsetof(PinNameTextPayload, style) == 8);
static_assert(offsetof(PinNameTextPayload, rotation) == 16 && offsetof(PinNameTextPayload, x) == 36);
static_assert(offsetof(PinNameTextPayload, name) == 56);

#pragma pack(pop)

// Stored sizes of the fixed-size graphic payloads that have no layout of
// their own here: centroid 18, spiral 19, attribute 31, schematic symbol 32,
// pre-route 36; and where the pin name text 27 keeps its name (57 + length).
constexpr std::uint32_t kCentroidPayloadSize = sizeof(CentroidPayload);
constexpr std::uint32_t kSpiralPayloadSize = sizeof(SpiralPayload);
constexpr std::uint32_t kAttributePayloadSize = 16;
constexpr std::uint32_t kSchematicSymbolPayloadSize = 12;
constexpr std::uint32_t kPreRoutePayloadSize = 64;
constexpr std::uint32_t kPinNameOffset = offsetof(PinNameTextPayload, name);

// ---- The working record -------------------------------------------------------

// Payload room of a working record, by record type: the largest payload the
// type's stored codes can have.
constexpr std::uint32_t kLineRoom = 68;
constexpr std::uint32_t kThinLineRoom = 72;
constexpr std::uint32_t kArcRoom = 116;
constexpr std::uint32_t kThinArcRoom = 120;
constexpr std::uint32_t kCircleRoom = 60;
constexpr std::uint32_t kPolygonRoom = 2868;
constexpr std::uint32_t kTextRoom = 2152;
constexpr std::uint32_t kRectangleRoom = 96;
constexpr std::uint32_t kHoleRoom = 604;
constexpr std::uint32_t kLocatorRoom = 96;
constexpr std::uint32_t kDatumRoom = 2112;
constexpr std::uint32_t kLargestPayloadRoom = kPolygonRoom;

// A working polygon record holds its payload exactly as stored: the fill
// triangles follow right after its n points (pl3::PolygonTriangles), and the
// room fits 255 points with their 253 triangles.
static_assert(PolygonStoredSize(kPolygonMaxPoints) <= kPolygonRoom);

// State bits 2 to 7 of a working record: the stored kind when the stored code
// differs from the record type.
constexpr std::uint8_t kStateThermalBreak = 4;     // track record stored as 10
constexpr std::uint8_t kStateLinkedCut = 8;        // track record stored as 35
constexpr std::uint8_t kStateStarEarth = 16;       // track record stored as 37
constexpr std::uint8_t kStateBoardOutline = 32;    // track record stored as 39
constexpr std::uint8_t kStatePlatedSlot = 64;      // track record stored as 46
constexpr std::uint8_t kStateNonPlatedSlot = 128;  // track record stored as 47
constexpr std::uint8_t kStateOutlineArc = 4;       // arc record stored as 38
constexpr std::uint8_t kStatePlane = 4;            // polygon record stored as 8
constexpr std::uint8_t kStatePlaneCutout = 8;      // polygon record stored as 9
constexpr std::uint8_t kStateKeepout = 16;         // keepout and outline kinds 41 to 45, 49

struct EntityRecordHeader {
  std::uint16_t recordType;  // the graphic type code of the record
  std::uint8_t state;        // bits 2 to 7: the stored kind (see above); 0 after initialisation
  std::uint8_t headerLayer;  // the window's current layer at initialisation
  Transform transform;       // the placement transform while the record is placed or edited
};
static_assert(sizeof(EntityRecordHeader) == 28);
static_assert(offsetof(EntityRecordHeader, transform) == 4);

// One graphic item in hand. Every working record has room for the largest
// payload of any type, so a record can never be written past its end
// whichever type it is initialised as.
struct EntityRecord {
  EntityRecordHeader header;
  alignas(4) std::uint8_t payload[kLargestPayloadRoom];

  GraphicHead& head() { return *reinterpret_cast<GraphicHead*>(payload); }
  template <typename T>
  T& as() {
    return *reinterpret_cast<T*>(payload);
  }
};
static_assert(offsetof(EntityRecord, payload) == sizeof(EntityRecordHeader));

// The stored code of a working record, from its record type and state bits.
std::uint16_t StoredCodeOfRecord(const EntityRecord& record);
// The stored code of a line-like (track) record from its state bits alone:
// 32 board outline line, 8 linked cut, 16 star-earth track, 64 plated slot,
// 128 non-plated slot, 4 thermal break, tested in that order; else a track.
std::uint16_t EntityTypeFromFlags(const EntityRecord& record);

// A new zeroed working record (the caller owns it).
std::unique_ptr<EntityRecord> NewEntityRecord();

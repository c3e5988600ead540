// Insertion of single graphic items into the active window's design: the
// begin-insert handlers (each allocates the window's pending record at the
// cursor, fills it, sets the edit mode and draws the first ghost), the
// choice of handler by editor kind and insertion type, and the commits of
// one track segment and of one single-record item.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct ButtonRecord;
struct CurrentWindowData;
struct EntityRecord;

// ViewFlags bit: a track segment has been committed since the line tool began.
constexpr std::uint32_t kViewTrackCommitted = 0x10;
// ViewFlags bit: new text is mirrored.
constexpr std::uint32_t kViewMirroredText = 0x10000;
// StateFlags bit: the line being drawn is a routed line.
constexpr std::uint32_t kStateRoutedLine = 0x40;

// The program-wide option word; bit 0x4000 makes new holes non-plated.
extern std::uint32_t ProgramOptionWord;
constexpr std::uint32_t kOptionNonPlatedHoles = 0x4000;

// Frame menu ids of the two hole tools.
constexpr UINT kPlatedHoleMenuId = 2605;
constexpr UINT kNonPlatedHoleMenuId = 458;

// Where a begin-insert handler draws: the view and a device context on it
// that the caller holds for the whole insertion.
struct InsertTarget {
  HWND window;
  HDC dc;
};

// The layer byte of a new item of the type in the window (schematic kinds:
// the type's colour class; otherwise the routing layer when enabled, else
// the next enabled one, else the first enabled layer of the table).
std::uint8_t NewItemLayer(const CurrentWindowData& w, std::uint16_t type);
// The layer itself when it is enabled and of the kind (any kind for 0), else
// the next enabled layer of the kind after it; the layer when there is none.
std::uint8_t EnabledLayerOfKind(const CurrentWindowData& w, std::uint8_t layer, std::uint16_t kind);

// The per-layer flags that end a hole's payload (bytes 92 to 603, one 16-bit
// word per layer): table H for holes, table V for vias.
constexpr std::uint32_t kHoleLayerTableOffset = 92;
std::uint16_t HoleLayerFlag(std::uint32_t layer);
std::uint16_t ViaLayerFlag(std::uint32_t layer);

// Line variants (the header state byte of a line record).
constexpr std::uint8_t kLinePlain = 0;

// The begin-insert handlers. `point` is the cursor record; its Cursor is
// snapped by every handler but the text handler.
void BeginInsertLine(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point, std::uint8_t variant);
void BeginInsertThermalBreak(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertLinkedCut(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertStarEarthTrack(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertBoardOutlineLine(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertPlatedSlot(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertNonPlatedSlot(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertRoutedLine(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
// A new track from a given point (not snapped).
void BeginContinueTrack(const InsertTarget& t, EntityRecord** slot, pl3::Point at);
void BeginInsertRectangle(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertCircle(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertArcByCentre(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point, std::uint8_t variant);
void BeginInsertBoardOutlineArc(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertArcByEnds(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point, std::uint8_t variant);
void BeginInsertPolygon(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point, std::uint16_t layerKind);
void BeginInsertPlane(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertPlaneCutout(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertComponentOutline(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point,
                                 std::uint16_t type);
void BeginInsertText(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertHole(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertVia(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertCentroid(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertThinLine(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);
void BeginInsertThinArc(const InsertTarget& t, EntityRecord** slot, ButtonRecord* point);

// The first point of the two- and three-point arc tools.
extern pl3::Point ArcToolFirstPoint;
extern pl3::Point ArcToolSecondPoint;
extern std::int32_t ArcToolRadius;

// The graphic rows of the insertion table: runs the handler for the active
// window's kind and InsertType and returns 1, or 0 when the combination is
// not a graphic one (attribute locators, wires, pins and net edits belong
// to their own tools).
int BeginGraphicInsertion(HWND window, ButtonRecord* button, EntityRecord** slot);

// Commits one click of the track tool (modes 1 and 104). Returns the changed
// area as a malloc'd Box the caller redraws and frees, or null when nothing
// was committed.
pl3::Box* AcceptTrackSegment(EntityRecord** slot);
// Stores a line record with undo; 0 for a zero-length segment.
int InsertLineSegment(EntityRecord* record);

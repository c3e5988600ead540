// Dimensioners (22) and angle dimensioners (21): the measured length, the
// direction class, the label texts with their "@dim" templates, the handles
// a drag grabs and moves, the boxes, the label dialogs and commands, the
// insertion tools and the drawing. The payload layout is DimensionerPayload
// (objects/graphic_records.h).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/types.h"
#include "objects/graphic_records.h"

struct Tower;
struct DragStatus;

// Units of the label (payload word 128).
enum DimensionerUnit : std::uint32_t {
  kDimensionerThou = 0,
  kDimensionerInch = 1,
  kDimensionerMillimetre = 2,
  kDimensionerCentimetre = 3,
  kDimensionerDegrees = 4,
  kDimensionerRadians = 5,
};

// The child record under a dimensioner's entity that holds its label template.
constexpr std::uint16_t kDimensionerTemplateCode = 265;
// Templates are shorter than this; the dialogs refuse longer ones.
constexpr std::size_t kDimensionerTemplateLimit = 256;

// Drawing constants, world units.
constexpr std::int32_t kDimensionerLineWidth = 216000;
constexpr std::int32_t kDimensionerMarkerRadius = 365760;  // ghost end markers and label clearance
constexpr std::int32_t kDimensionerArrowLength = 2880000;
constexpr std::int32_t kDimensionerStubLength = 2194560;
constexpr std::int32_t kDimensionerLabelShift = 914400;

// Grab codes of a dimensioner drag.
constexpr std::uint16_t kDimensionerGrabAll = 0;
constexpr std::uint16_t kDimensionerGrabWhole = 7;
constexpr std::uint16_t kDimensionerGrabA = 12;
constexpr std::uint16_t kDimensionerGrabB = 13;
constexpr std::uint16_t kDimensionerGrabLine = 14;
constexpr std::uint16_t kDimensionerGrabLabel = 15;

// The two fixed 30-degree rotations that turn an arrow stroke into its head;
// set once at start-up (InitialiseArrowheadRotations) and never changed.
extern pl3::Transform ArrowheadRotations[2];
void InitialiseArrowheadRotations();

// 0 and 1: the dimension line runs along x (the x distance is measured);
// 2 and 3: along y.
int ClassifyDimensionerDirection(const DimensionerPayload* d);
// The measured length by the direction class, and storing it at word 76.
std::uint32_t MeasureDimensioner(const DimensionerPayload* d);
void UpdateDimensionerLength(DimensionerPayload* d);
// The angle in degrees (0 to 360) from arm B to arm A about the vertex C.
double AngleDimensionerDegrees(const DimensionerPayload* d);

// The value alone in a unit ("1000 thou", "1.00 inches", "25.400 mm",
// "2.5 cm"); empty for a unit that is not a length.
std::string FormatDimensionerValue(std::uint32_t length, std::uint32_t unit);
// An angle in unit 4 ("90\xB0") or 5 ("1.57 radians"); empty otherwise.
std::string FormatAngleValue(double degrees, std::uint32_t unit);
// Expands a label template: "@@" gives "@", "@dim" (any case) the value, "@"
// with another word is dropped with the word; the rest is copied.
std::string ExpandDimensionerTemplate(const char* text, const std::string& value);
// The label template under the entity (null when there is none or no entity),
// read within its record.
std::string GetDimensionerTemplate(const Tower* entity, bool* present);

// The label as a new heap string, freed by the caller with std::free.
char* FormatDimensionerLabel(const DimensionerPayload* d, const Tower* entity);
char* FormatAngleDimensionerLabel(const DimensionerPayload* d, const Tower* entity);
// The label text of either type.
char* FormatAnyDimensionerLabel(std::uint16_t type, const DimensionerPayload* d, const Tower* entity);

// The box of the label text at its position; a point box at the position
// when the text cannot be measured.
// The label as a heap text item at the label position (freed with
// std::free), or null when it cannot be built.
TextPayload* BuildDimensionerLabelItem(std::uint16_t type, const DimensionerPayload* d, const Tower* entity);
void GetDimensionerLabelBox(std::uint16_t type, const DimensionerPayload* d, const Tower* entity, pl3::Box* box);
void GetDimensionerBox(const DimensionerPayload* d, pl3::Box* box, const Tower* entity = nullptr);
void GetAngleDimensionerBox(const DimensionerPayload* d, pl3::Box* box, const Tower* entity = nullptr);

// The point B' on the ray from C through B at the distance |A - C| from C.
pl3::Point AngleDimensionerArmEnd(const DimensionerPayload* d);

// Which handle the cursor (status->cursor) grabs; fills the reference point
// and the grab code. Returns 1, or 0 without an entity.
int GetDimensionerDragStatus(const Tower* entity, DragStatus* status);
int GetAngleDimensionerDragStatus(const Tower* entity, DragStatus* status);

// Moves the grabbed part by the offset.
void MoveDimensionerHandles(DimensionerPayload* d, pl3::Point offset, std::uint16_t grab);
void MoveAngleDimensionerHandles(DimensionerPayload* d, pl3::Point offset, std::uint16_t grab);

// The label dialogs: 1032 for dimensioners, 1031 for angle dimensioners.
constexpr int kDimensionerLabelDialog = 1032;
constexpr int kAngleDimensionerLabelDialog = 1031;
constexpr int kDimensionerLabelEdit = 3110;
constexpr int kDimensionerMillimetreButton = 3111;
constexpr int kDimensionerCentimetreButton = 3112;
constexpr int kDimensionerThouButton = 3113;
constexpr int kDimensionerInchButton = 3114;
constexpr int kDimensionerDegreesButton = 3115;
constexpr int kDimensionerRadiansButton = 3116;

// What the dialogs show and return: the template (a heap string or null) and
// the unit. On OK both are replaced; the old template is freed.
struct DimensionerLabelValues {
  char* text = nullptr;
  std::uint32_t unit = 0;
};
// Runs the dialog; 1 on OK, 0 on Cancel or the close box.
int RunDimensionerLabelDialog(int dialogId, void* owner, DimensionerLabelValues* values);

// The label commands: take the template out, ask for a new one and, on OK,
// store it as the 265 record and the unit into the payload.
void EditDimensionerLabel(const Tower* entity);
void EditAngleDimensionerLabel(const Tower* entity);
// Flips the arrows-outside bit between two XOR constructions.
void ToggleDimensionerArrows(void* window, DimensionerPayload* d);

// ---- Insertion (edit modes 75 to 82) ----
constexpr std::uint8_t kModeDimensionerA = 75;
constexpr std::uint8_t kModeDimensionerB = 76;
constexpr std::uint8_t kModeDimensionerLine = 77;
constexpr std::uint8_t kModeDimensionerLabel = 78;
constexpr std::uint8_t kModeAngleArmA = 79;
constexpr std::uint8_t kModeAngleArmB = 80;
constexpr std::uint8_t kModeAngleVertex = 81;
constexpr std::uint8_t kModeAngleLabel = 82;
// The selection-menu kinds shown while each tool places.
constexpr std::uint32_t kDimensionerPrompt = 19;
constexpr std::uint32_t kAngleDimensionerPrompt = 20;
// The pick filter bit the snapping adds while it looks for an item.
constexpr std::uint32_t kDimensionerPickBit = 0x80;
// The window's grid override bit (WalkFlags).
constexpr std::uint32_t kGridOverride = 0x400;

// Arm the tools when the active window is idle; 1 when armed.
int SetInsertDimensionerMode();
int SetInsertAngleDimensionerMode();

// The snapping of a placed point, in world units.
void SnapDimensionerPoint(std::int32_t* x, std::int32_t* y);

// The first click: a fresh working record in *record (allocated with new),
// the mode set, the ghost drawn. 1 when begun.
int BeginInsertDimensioner(void* window, EntityRecord** record, pl3::Point cursor);
int BeginInsertAngleDimensioner(void* window, EntityRecord** record, pl3::Point cursor);
// The mouse move of the current mode: the point of the state follows the
// cursor (snapped) and the ghost is redrawn when it changed.
void MoveDimensionerInsertion(void* dc, EntityRecord* record, pl3::Point cursor);
// The click of the current mode. Returns 1 when the record was inserted
// (and freed; *record is then null), 0 otherwise.
int ClickDimensionerInsertion(void* window, EntityRecord** record);
// The final click of both tools: inserts the record into the active design
// and ends the tool. 1 when stored.
int FinishDimensionerInsertion(EntityRecord* record);

// ---- Drawing ----
// Draw pass to text style: 0 and 24 give 1, 10 gives 3, 17 gives 4, 37
// gives 9; -1 for passes that draw no label.
int DimensionerLabelStyle(int pass);
void DrawDimensioner(const DimensionerPayload* d, void* target, int pass, const Tower* entity = nullptr);
void DrawAngleDimensioner(const DimensionerPayload* d, void* target, int pass, const Tower* entity = nullptr);
// XOR construction of a record being placed, by its state.
void GhostDimensioner(void* dc, const DimensionerPayload* d, int state);
void GhostAngleDimensioner(void* dc, const DimensionerPayload* d, int state);
// The ghost of either type by the active window's edit mode.
void GhostDimensionerRecord(void* dc, const EntityRecord* record);

// One stroke of a dimensioner's construction, world units.
struct DimensionerSegment {
  pl3::Point from;
  pl3::Point to;
};
// The extension lines, the dimension line (broken around the label when
// asked and the label comes near it), the arrowheads and the outside stubs.
std::vector<DimensionerSegment> BuildDimensionerSegments(const DimensionerPayload* d, const Tower* entity,
                                                         bool breakAroundLabel);
// The two arms (A and B'), and the arrowheads at three quarters of |A - C|.
std::vector<DimensionerSegment> BuildAngleDimensionerSegments(const DimensionerPayload* d);

// Info boxes: the markers every check leaves in a design where it found
// something. An info box is a 264 entity under its container (a design or an
// item of type 25, 102, 104, 105, 109 or 115) holding its text (265), its
// kind (150), its marked points (159) and a label (267, a Text payload) with
// a leader from each point. The user steps through them with next and
// previous.
#pragma once
#include <cstdint>
#include <string>

#include "geometry/types.h"
#include "objects/graphic_records.h"

struct Tower;
struct TowerNode;
struct SelectionInfo;
using Entity = TowerNode;

// The label record under an info box: a Text payload of the info box text.
constexpr std::uint16_t kInfoBoxLabelCode = 267;

#pragma pack(push, 1)
// The point list (159): a fixed 2,048-byte record with room for 255 points.
struct InfoBoxPoints {
  std::uint32_t unused;
  std::uint32_t count;
  Point points[255];
};
#pragma pack(pop)
static_assert(sizeof(InfoBoxPoints) == 2048);
static_assert(offsetof(InfoBoxPoints, count) == 4);
static_assert(offsetof(InfoBoxPoints, points) == 8);
constexpr std::uint32_t kInfoBoxPointRoom = 255;

// How far the label stands from the mean of the points: 1/8 inch on each axis.
constexpr std::int32_t kInfoBoxLabelOffset = 4572000;
// The explicit text size of a label.
constexpr std::int32_t kInfoBoxLabelSize = 16;
// World units the label box grows by per unit of the label's text size.
constexpr std::int32_t kInfoBoxLabelMarginPerSize = 18288;

// MarkerDisplayFlags, the program's marker display word: bit 2 hides every
// info box; bit 1 is set while an info box is drawn straight into a view.
extern std::uint32_t MarkerDisplayFlags;
constexpr std::uint32_t kMarkersHidden = 0x4;
constexpr std::uint32_t kMarkerDrawnIntoView = 0x2;

// The kind filter of look-ups and removals: 0 takes every info box, an info
// box of kind 0 is taken by every filter, k takes kind k and -k every kind
// but k. Kinds are read as signed 8-bit numbers.
bool InfoBoxKindMatches(int filter, std::uint32_t kind);

// A new info box (264) with its text and kind under the container; returns
// its Tower (the caller releases it), or null without a container.
Tower* CreateInfoBox(const Tower* container, const char* text, std::uint32_t kind);
// Appends a point, making the list on the first one. A list already holding
// 255 points keeps them and the point is dropped.
void AddInfoBoxPoint(const Tower* infoBox, std::int32_t x, std::int32_t y);
void AddInfoBoxPosition(const Tower* infoBox, const pl3::Point* point);
// The centre of the box, each coordinate halved as an unsigned sum; a null
// box adds nothing.
void AddInfoBoxBoxCentre(const Tower* infoBox, const pl3::Box* box);
// The point list (159) of an info box, or null, and how many points its
// record has room for (never more than 255).
Entity* InfoBoxPointList(const Tower* infoBox);
std::uint32_t InfoBoxPointRoom(const Entity* list);
// The label payload (267) when its record holds the head and a terminated
// string, else null.
TextPayload* InfoBoxLabel(const Tower* infoBox);
// The points as stored, read within their record whatever its count says.
std::uint32_t GetInfoBoxPoints(const Tower* infoBox, pl3::Point* out, std::uint32_t room);

// Puts the label at the mean of the points plus 4,572,000 on both axes and
// the info box on the active window's display list. An info box without
// points gets no label.
void PlaceInfoBoxLabel(const Tower* infoBox);
// The text and the kind of an info box ("" and 0 when missing).
std::string InfoBoxText(const Tower* infoBox);
std::uint32_t InfoBoxKind(const Tower* infoBox);

// The first info box under the container (search order) that the filter
// takes and whose text is exactly `text`, or null; the caller releases it.
Tower* FindInfoBoxByText(const Tower* container, int filter, const char* text);
// 1 when the container has an info box, and either kind is 0 or an info box
// has that kind.
int HasInfoBoxOfKind(const Tower* container, std::uint32_t kind);

// Removes every info box under the container that the filter takes, ending
// an Edit Selection that holds one of them first; with `undisplay` each is
// taken off the display list and its area redrawn.
void RemoveInfoBoxes(const Tower* container, int filter, int undisplay);
// The removal the checks run before they report again: kinds 2, 5, 3, 1.
void RemoveCheckInfoBoxes(const Tower* container);

// The box round the label: the label's string box through its transform,
// moved by its text extent and grown by its size x 18,288. 0 without a label.
int GetInfoBoxLabelBox(const TextPayload* label, pl3::Box* box);
// The label's box before its margin (the string box through its transform,
// moved by its text extent) and the margin, its size x 18,288, of the info
// box's label. 0 without a label.
int GetInfoBoxLabelExtent(const Tower* infoBox, pl3::Box* box, std::int32_t* margin);
// Where a leader from (x, y) meets the label box: on each axis the nearest of
// the low edge, the centre and the high edge, the centre on a tie.
pl3::Point InfoBoxLeaderEnd(const pl3::Box& labelBox, std::int32_t x, std::int32_t y);
// The label box united with every point; 0 (box empty) when there is neither.
int GetInfoBoxBox(const Tower* infoBox, pl3::Box* box);

// Draws the label and the leaders: into the display list, or straight into
// the view's raster plane.
void DrawInfoBox(void* view, const Tower* infoBox, int toDisplayList);
// In draw modes 0 and 24, and unless markers are hidden: every info box under
// the container that is not selected and whose box meets the view box goes
// to the display list.
void DrawInfoBoxesInBox(const pl3::Box* viewBox, const Tower* container, int drawMode);

// The label Tower (on the 267, or on its info box) moved by (dx, dy); the
// points stay. The grab point is the label's position.
void TranslateInfoBox(const Tower* label, std::int32_t dx, std::int32_t dy);
pl3::Point InfoBoxGrabPoint(const TextPayload* label);

// Selects the info box: the insertion type becomes 11 when nothing was
// selected, the info box is marked, joins the selection as its primary item
// at the cursor, leaves the display list and the view is redrawn. 1 when
// selected.
int SelectInfoBox(const Tower* infoBox);
// 1 when a selected item's working copy is an info box (264) / a symbol pin (26).
int SelectionHasInfoBox(const SelectionInfo* list);
int SelectionHasSymbolPin(const SelectionInfo* list);

// Steps to the next or previous info box of the active window's design: the
// cursor goes to its label, the view is centred on it. Beeps when there is
// none, or it has no label. Returns 1 when it moved.
int GotoNextInfoBox(void* window);
int GotoPreviousInfoBox(void* window);
// The info box visited last (null when none).
const Entity* LastVisitedInfoBox();

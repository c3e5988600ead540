// Small geometric and bookkeeping routines of the design objects: boxes,
// line ends and joins, tower path validity, text styles, the drag tolerance,
// selection kinds and elapsed times.
#pragma once
#include <cstddef>
#include <cstdint>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"
#include "platform/kernel_base.h"
#include "platform/win_types.h"

struct Tower;
struct SelectionInfo;

// ---- Boxes (world units; the empty box is {-1, -1, 0, 0}) -------------------------
void SetEmptyBox(pl3::Box* box);
int IsBoxValid(const pl3::Box* box);
void OffsetBox(pl3::Box* box, std::int32_t dx, std::int32_t dy);
void NormaliseBox(pl3::Box* box);
// Both corners from world units to view pixels, signed.
void BoxToView(pl3::Box* box);
void DrawFocusRectangle(HDC dc, const pl3::Box* viewBox);
// The selection frame of a text in the view: a world box grown by two pixels
// on every side and a line from its middle to a world point, XOR-drawn with
// a dashed pen one pixel wide in RGB(192, 192, 0); drawn twice it erases itself.
void GhostBoxWithLeader(HDC dc, const pl3::Box& worldBox, pl3::Point worldPoint);
void DrawSelectionRectangle(HDC dc, const pl3::Box* box);

// 1 when every level of the Tower from firstLevel down still names a linked entity.
int IsTowerValid(const Tower* t, int firstLevel);
// The same test for many Towers over a design that does not change between
// them (one paint of the display list): a type group searched a second time
// is kept as a set of its entities, so each later test is a look-up rather
// than a walk of the group. Start from an empty cache for each such pass.
struct TowerValidityCache;
int IsTowerValidIn(const Tower* t, TowerValidityCache& cache);

// ---- Lines ------------------------------------------------------------------------
// Joins b onto a where they share an end; 1 when joined, else 0 with a unchanged.
int JoinLineEnds(pl3::TrackLayout* a, const pl3::TrackLayout* b);
// 1 when the two lines have the same direction (exact products).
int AreLinesParallel(const pl3::TrackLayout* a, const pl3::TrackLayout* b);
// The end of the line nearer to (x, y); the first on a tie.
pl3::Point GetNearerEndPoint(std::int32_t x, std::int32_t y, const pl3::TrackLayout* line);
// The nearer of the arc's start and end points after its draw state is refreshed; the start on a tie.
pl3::Point GetNearerArcEnd(std::int32_t x, std::int32_t y, pl3::ArcLayout* arc);
// The parameter of the foot of the perpendicular from P along the line (0 at
// the first point, 1 at the second); 0 when the two points coincide.
double ProjectionParameter(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t px,
                           std::int32_t py);

// A singly linked list of Towers (the joinable-track result, the temporary Towers).
struct TowerListNode {
  TowerListNode* next;
  Tower* tower;
};

// The context of walker action 28.
struct JoinContext {
  pl3::Point joinPoint;
  const pl3::TrackLayout* reference;
  TowerListNode* head;  // found tracks, newest first; the caller frees the nodes and their Towers
};
// Adds a duplicate of the candidate's Tower to the list when it can be joined
// to the reference at the join point.
void CollectJoinableTrack(const Tower* candidate, JoinContext* context);
// Frees the nodes of a list and releases their Towers.
void FreeTowerList(TowerListNode** head);

// ---- Drawing helpers ----------------------------------------------------------------
void DrawPolygonOutline(const pl3::PolygonLayout* polygon, const pl3::Transform* transform);
// Composes the text's own transform with the given one, keeping its position.
void RotateTextOrientation(const Tower* text, const pl3::Transform* transform);
std::int32_t DrawChildrenInView(void* view, const Tower* t, pl3::Box* box, std::uint8_t action);
void DrawSysColourText(HDC dc, const char* text, RECT* rect, int sysColourIndex);

// ---- Text styles ----------------------------------------------------------------------
// Steps the justification bits of one axis (0 horizontal, 1 vertical) and
// keeps the result as the default of the next text.
std::uint32_t CycleJustification(std::uint32_t style, int axis);
extern std::uint32_t DefaultJustification;

#pragma pack(push, 1)
struct TextStyle {
  std::uint16_t justification;
  std::uint16_t sizeFlags;
  std::uint32_t sizeIndex;
  std::uint8_t layer;
  std::uint8_t spare[3];
  std::uint32_t font;
  pl3::Transform transform;
  std::uint32_t last;
};
#pragma pack(pop)
static_assert(sizeof(TextStyle) == 44);
void InitTextStyle(TextStyle* style);
// A new style followed by a copy of the text (empty when null), released with free().
TextStyle* NewTextStyleWithText(const char* text);

// ---- Window state ----------------------------------------------------------------------
constexpr std::int32_t kDragTolerancePixels = 6;
int DragBoxExceedsTolerance();
int SelectionIsPadStacksOnly(const SelectionInfo* list);
int SelectionIsViasOnly();

// ---- Times and files ---------------------------------------------------------------------
SYSTEMTIME SubtractTime(const SYSTEMTIME& end, const SYSTEMTIME& start);
// "%.2u:%.2u:%.2u.%.3u" of the elapsed time.
void FormatTimeTaken(const SYSTEMTIME& elapsed, char* buffer, std::size_t size);
void ShowTimeTaken(HWND window, const SYSTEMTIME& elapsed);
// Formats and writes the whole text (without terminator); FALSE when the write fails.
BOOL WriteFileFormatted(HANDLE file, const char* format, ...) __attribute__((format(printf, 2, 3)));

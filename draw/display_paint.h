// Painting a PCB window's display list into the view's layer plane, the
// reduced paints of the 3D board image and of plane cutting, picking through
// the paint, rebuilding and recolouring the list, highlighting, and the
// list's box. Everything here acts only while the active window is a PCB
// window.
#pragma once
#include <cstdint>

#include "draw/display_list.h"
#include "geometry/types.h"

struct Tower;
struct TowerNode;

// The three repaint switches a partial paint consults (planes, datums,
// markers), set by whoever asks for such a paint.
extern std::uint8_t RepaintPlanes;
extern std::uint8_t RepaintDatums;
extern std::uint8_t RepaintMarkers;
// 1 while plane cutting fills the net's planes, 2 while it cuts them.
extern std::uint8_t PlaneCutStage;

// The current item of PaintDisplayList for the span callbacks: the item, the
// head of the list being walked and the node.
extern DisplayItem* PaintedItem;
extern DisplayNode* PaintedListHead;
extern DisplayNode* PaintedNode;

// 1 when the item box meets the box (unsigned, touching counts), or no box is given.
bool ItemMeetsBox(const pl3::Box* box, const pl3::Box& itemBox);
// 1 when either box is null or the boxes meet (touching edges count).
int BoxesOverlap(const pl3::Box* a, const pl3::Box* b);
int IsItemVisible(const DisplayItem* item, int clearancePass);

// The full paint of a world box (null: everything). A partial paint leaves
// out the segment-end marks, cutout outlines, drills and pin labels, and
// draws planes, datums and markers only as the repaint switches ask.
void RenderDisplayList(const pl3::Box* box, DisplayList* list, int partial);
// The plain paint of the items in a box, into whatever span target is current.
void PaintDisplayList(const pl3::Box* box, DisplayList* list);
void RenderBoardImage(const pl3::Box* box, DisplayList* list);
void RenderPlaneClearances(const pl3::Box* box, DisplayList* list, std::uint32_t netId);

// Builds a new list from the design, frees the old one and returns the new
// (null outside a PCB window).
DisplayList* RebuildDisplayList(const Tower* design, DisplayList* old);
void RecolourDisplayList(DisplayList* list);
std::uint32_t GetInnerLayersColour();

void HighlightDisplayItem(DisplayItem* item);
void HighlightEntityItems(DisplayList* list, const Tower* entity);
void HighlightItemsOfNode(DisplayList* list, const TowerNode* node);
void UnhighlightNetItems(DisplayList* list);

// The union of the item boxes (pin labels and datums left out), from
// {0xFFFFFFFF, 0xFFFFFFFF, 0, 0}.
void GetDisplayListBox(const DisplayList* list, pl3::Box* box);

// The design's nets flagged for display (0x10) drawn within the box; 0 when
// the design has no netlist.
int DrawFlaggedNets(const Tower* design, const pl3::Box* box);

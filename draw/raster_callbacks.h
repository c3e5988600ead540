// The drawing code's side of the raster kernel: the area pick that span
// target 4 feeds, the line pattern of patterned lines, and the drawing
// globals. The kernel reaches the callbacks through geometry/seams.h.
#pragma once
#include <cstdint>

#include "geometry/raster_state.h"
#include "geometry/seams.h"
#include "geometry/tower_ref.h"
#include "geometry/types.h"

namespace pl3 {

// Entity state bit: the entity is already on the pick list.
inline constexpr std::uint16_t kEntityPicked = 0x0080;

// One entity found by an area pick: an owned copy of the current entity's
// Tower and three words of the pick context.
struct PickListNode {
  TowerRef entity;
  std::uint32_t context[3];
  PickListNode* next;
};

// Starts an area pick over the view-pixel area with an empty pick list.
void BeginAreaPick(const Box& area, std::uint32_t context0, std::uint32_t context1, std::uint32_t context2);
// The pick list, newest first.
PickListNode* PickList();
// Clears the picked marks, releases the Towers and frees the list.
void FreePickList();

// Starts a patterned line: the two colours, the starting fill value and a zero counter.
void StartLinePattern(std::uint32_t first, std::uint32_t second, std::uint32_t startFill);

// Drawing globals. DisplayOptions and SurfaceMountPadFlag, which the entity
// walker reads and sets too, live with it in objects/walker.h; the marker
// display word MarkerDisplayFlags with the info boxes (objects/info_boxes.h).
// The current drawing colour is the raster kernel's fill value itself, not a
// copy kept in step with it: whatever sets one has set the other.
inline std::uint32_t& CurrentDrawColour = g_raster.fillValue;
extern std::uint32_t SuppressSymbolTextsFlag;

}  // namespace pl3

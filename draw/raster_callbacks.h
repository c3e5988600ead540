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
// Tower and the pick context of the paint that found it: the display item,
// the head of its kind list and its node (null outside a display-list paint,
// and after the list they name was rebuilt).
struct PickListNode {
  TowerRef entity;
  void* context[3];
  PickListNode* next;
};

// Starts an area pick over the view-pixel area with an empty pick list.
void BeginAreaPick(const Box& area);
// The context the next records take: the item being painted, its list head and node.
void SetAreaPickContext(void* item, void* listHead, void* node);
// Clears the context of every record: the items they name are gone.
void ForgetPickedItems();
// The pick list, newest first, and its length.
PickListNode* PickList();
std::uint32_t CountListNodes(const PickListNode* list);
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

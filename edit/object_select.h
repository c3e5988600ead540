// Turning a found object into the selection: the drag status of an item
// (which handle the cursor holds), the per-kind steps that put an item into
// the selection list, SelectObject by type, the Select click, the copy picks
// and the two ways of bringing a pad definition in as the selection; and the
// box-edge test of the walk.
#pragma once
#include <cstddef>
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct Tower;
struct ButtonRecord;
struct EntityRecord;

// The drag status of an item (heap, std::free by the caller).
struct DrawStatus {
  std::int32_t dx, dy;            // the move of the item's reference point
  std::int32_t x, y;              // the reference point, world units
  std::uint32_t grabCode;         // the part held (selection grabbedPart codes)
  std::int32_t cursorX, cursorY;  // the cursor in client pixels, then the reference point
  std::uint32_t flags;            // the caller's flags
};
static_assert(sizeof(DrawStatus) == 32);
static_assert(offsetof(DrawStatus, grabCode) == 16);
static_assert(offsetof(DrawStatus, flags) == 28);

// The drag status of the item for the window's cursor; positive flags ask
// for the whole item. Null (after "Internal Error - Unknown type") for a
// type without a handle, or an item that is not there.
DrawStatus* GetDrawStatus(HWND window, const Tower* item, std::int32_t flags);
// The part of GetDrawStatus that only reads: the reference point, the move
// and the grab code for the window's cursor, the window left as it is.
// false for an unknown type (*unknown set) or an item too short for its type.
bool FillDrawStatus(const Tower* item, std::int32_t flags, DrawStatus* status, bool* unknown);

// The program's selection option word and selection count: the Select
// click sets kSelectionByRectangle and clears the count while a dragged
// rectangle selects what it holds.
extern std::uint32_t SelectionOptionWord;
extern std::uint32_t SelectionCount;
constexpr std::uint32_t kSelectionByRectangle = 0x1;

// The per-kind steps of SelectObject: the node flagged selected, the item
// added to the selection list by its drag status, made the current and
// primary record. 1 when added, 0 when not.
int SelectGraphic(const Tower* item, std::int32_t flags);
int SelectSymbolInstance(const Tower* item, std::int32_t flags);
int SelectPl2Symbol(const Tower* item, std::int32_t flags);
int SelectPinItem(const Tower* item, std::int32_t flags);
int SelectPadStackInstance(const Tower* item, std::int32_t flags);
// The common step: add as a symbol (AddSymbolToSelection) or as a graphic.
int SelectItemAsSymbol(const Tower* item, std::int32_t flags);

// Makes the item the selection (or, already selected and without add,
// takes it out). 1 when the selection changed, 0 when nothing was done.
// Shares its name with the GDI call; the argument types tell them apart.
int SelectObject(const Tower* item, std::uint8_t add);

// The Select click in idle or Edit Selection: a dragged rectangle selects
// what it holds, else the object at the cursor is picked.
// (Declared for the mouse road in edit/engine_seams.h.)

// The pick purposes copy, and copy with increment (1) or decrement (0).
void CopyPickedItem(HWND window, const Tower* item);
void CopyPickedItemStep(HWND window, const Tower* item, int increment);

// Brings the pad stack (or one the user chooses, when null) in under the
// cursor as the selection; 1 when it is attached to the cursor.
int LoadAndInsertPadDefinition(HWND window, const Tower* padStack);
// The PCB-symbol editor's form: a chosen pad stack under the parent,
// selected, without the check, the offset and the pin naming.
int LoadPadDefinitionForEditor(HWND window, const Tower* parent);
// Arms the pad tool when idle, else forwards the click to it.
void BeginPadInsertionTool();

// A walk step: non-zero when the item's drawn form crosses an edge of the
// window's drag rectangle (DragStart to DragCurrent, world points).
std::int32_t ItemCrossesBoxEdge(const pl3::Transform* transform, Tower* item, void* param, std::uint8_t mode,
                                std::uint8_t action, std::int32_t* result);

// Picking with the mouse: the objects under a click are collected into the
// hit list, thinned to what the click's purpose may act on, and either acted
// on at once (one object) or offered in a choice menu (several); a drag
// rectangle selects everything it holds. PickObjectAtCursor is declared in
// edit/selection_engine_seams.h, where cancel and delete reach it.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct HitEntry;
struct Tower;

// What a pick is for (the purpose argument of PickObjectAtCursor).
enum PickPurpose : int {
  kPickSelect = 1,
  kPickDelete = 2,
  kPickCopy = 3,
  kPickCopyUp = 4,
  kPickCopyDown = 5,
  kPickSelectAlso = 6,  // acts as kPickSelect
};

// The purpose of an open choice menu, kept in the window's StateFlags until
// a line is chosen (none set: a plain select).
constexpr std::uint32_t kStatePickDelete = 0x800;
constexpr std::uint32_t kStatePickCopy = 0x1000;
constexpr std::uint32_t kStatePickCopyUp = 0x4000;
constexpr std::uint32_t kStatePickCopyDown = 0x8000;
constexpr std::uint32_t kStatePickSelect = 0x40000;
constexpr std::uint32_t kStatePickPurposes =
    kStatePickDelete | kStatePickCopy | kStatePickCopyUp | kStatePickCopyDown | kStatePickSelect;

// Half the side, in view pixels, of the square around a click whose objects
// are collected; the wider second search uses the pick aperture.
constexpr std::int32_t kPickHalfSide = 2;

// The hit list of the pick in progress (owned; null between picks).
extern HitEntry* CurrentHitList;

// The objects drawn within kPickHalfSide pixels of the client point, in the
// order they are drawn: from a PCB window's display list, elsewhere by the
// box search of the design. The caller frees the list.
HitEntry* CollectHitsAt(std::int32_t clientX, std::int32_t clientY);

// The hits a purpose may act on, as a new list (the given one is freed):
// a pin name or number locator of a schematic symbol stands for the symbol,
// fixed planes and earlier-generation symbols are left out, a fixed symbol
// is offered through its designator (when that option is on and the
// designator is shown) or not at all, and the same object is offered once.
// An edit pick (copy) also leaves out datums, centroids, pins,
// earlier-generation symbols and symbols that are not edited as parts; a
// copy with a step offers net name, graphical net name and named IO port
// locators only.
HitEntry* CountSelectableHits(HitEntry* list, int* count);
HitEntry* CountEditableHits(HitEntry* list, int* count);
HitEntry* CountNetLocatorHits(HitEntry* list, int* count);

// The choice menus of a pick (one line per hit of CurrentHitList, ids from
// 2050) for a select or delete, a copy, and a copy with a step; each acts on
// the chosen line through SelectHitByIndex.
void ShowPickChoiceMenu(HWND window);
void ShowEditChoiceMenu(HWND window);
void ShowNetLocatorChoiceMenu(HWND window);

// Acts on a hit by the purpose remembered in the window's StateFlags
// (cleared here): delete, copy, copy with a step, or select (added to the
// selection when there is one). The view is redrawn and the hit list freed.
void SelectHit(HWND window, const Tower* item);
// SelectHit on hit `index` of CurrentHitList; nothing for an index past it.
void SelectHitByIndex(HWND window, int index);

// Selects what the rectangle (client pixels, corners in any order) holds;
// with Ctrl held in a PCB window dialog 1134 first chooses the kinds and
// layers to take. 1 when something was selected.
int SelectItemsInRectangle(const RECT* rectangle);

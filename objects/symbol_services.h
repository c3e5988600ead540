// What the symbol, pad-stack and pad-name code asks of the editing engine,
// the drawing code and the library editors, which lie above objects/. Their
// owners fill the slots at start-up; an empty slot does nothing (a box stays
// as it was, a layer counts as enabled, a point is not snapped). Cleared
// before each test.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

struct SymbolServices {
  // The world box of any item (the engine's per-type box dispatch); 0 when it
  // has none.
  int (*getBox)(const Tower* item, pl3::Box* box) = nullptr;
  // XOR-draws the origin square of the entity the Tower stands on.
  void (*drawOriginSquare)(void* dc, const Tower* item) = nullptr;
  // Snaps a world point to 1/20 inch about the grid origin (the fine snap).
  void (*snapXYFine)(std::int32_t* x, std::int32_t* y) = nullptr;
  // True when the layer is enabled in the active window for the action.
  int (*isLayerEnabled)(std::uint8_t layer, std::uint8_t action) = nullptr;
  // The fill value the drawing code paints with (its current draw colour).
  std::uint32_t (*drawFillValue)() = nullptr;
  // A Tower on the pad-stack layer entry (111) of that layer in the design, or null.
  Tower* (*findPadStackLayer)(const Tower* design, std::uint8_t layer) = nullptr;
  // The pin-placement finisher of the library editors.
  void (*finishPinPlacement)(Tower* temporary) = nullptr;
  // The text-entry dialog: returns the text (a heap string; the initial one
  // is freed on OK) and sets *confirmed.
  char* (*enterText)(const char* caption, const char* prompt, char* initial, std::uint32_t maxLength,
                     int* confirmed) = nullptr;
  // Measures a text in the current device context (pixels); false when it cannot.
  bool (*measureText)(void* dc, const char* text, std::int32_t* width, std::int32_t* height) = nullptr;
  // Draws a text centred in a view-pixel box, in the colour, on a transparent background.
  void (*drawCentredText)(void* dc, const char* text, const pl3::Box& box, std::uint32_t colour) = nullptr;
  // Maps a world box to view pixels.
  void (*worldBoxToView)(pl3::Box* box) = nullptr;
  // The schematic side of imported netlists: the Imported Symbol (243) of a
  // designator under a Net Hier Group, and the text of an item's user
  // attribute (a heap string).
  Tower* (*findImportedSymbol)(const Tower* netHierGroup, const char* designator) = nullptr;
  char* (*getUserAttributeText)(const Tower* item, const char* name) = nullptr;
};

extern SymbolServices SymbolServiceSlots;

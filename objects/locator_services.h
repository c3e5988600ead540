// What the locator dispatch and its text helpers ask of the drawing code, the
// editing engine and the schematic side, which lie above objects/. Their
// owners fill the slots at start-up; an empty slot does nothing (no item is
// built, nothing is drawn, no id is given). Cleared before each test.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;
struct EntityRecord;

struct LocatorServices {
  // Text items. A new heap text item (freed by the caller with std::free),
  // laid out and measured: by size index, or by explicit size.
  void* (*createTextItem)(const char* text, std::uint32_t sizeIndex, std::uint8_t layer,
                          const pl3::Transform* transform, std::uint16_t justification,
                          std::uint32_t font) = nullptr;
  void* (*createTextItemEx)(const char* text, std::int32_t size, std::uint8_t layer, const pl3::Transform* transform,
                            std::uint16_t justification, std::uint32_t font) = nullptr;
  // The box of the item's string rectangle under its transform, moved by the
  // text extent; 0 when it cannot be measured.
  int (*textItemBox)(const void* item, pl3::Box* box) = nullptr;
  // Renders a text item in a mode (0 ghost, 1 and 5 draw, 6, 7 and 11 the
  // locator modes) under a transform.
  void (*renderTextEntity)(void* view, const void* item, int mode, const pl3::Transform* transform) = nullptr;

  // Draws a line record under a transform, or XOR-draws it as a ghost.
  void (*drawEntityByType)(void* view, const EntityRecord* record, const pl3::Transform* transform) = nullptr;
  void (*ghostEntityData)(void* view, const EntityRecord* record) = nullptr;

  // The end of an insertion: the cursor drawn at the view's point, the view's
  // device context released, the selection and options menus rebuilt for no
  // kind and the tool mode left.
  void (*drawCursor)(void* view) = nullptr;
  void (*releaseViewDC)(void* view) = nullptr;
  void (*setSelectionAndOptionsMenus)(std::uint32_t menuKind) = nullptr;
  void (*leaveToolMode)() = nullptr;

  // The option that keeps net-name locators up to date, and the update.
  int (*netNameUpdateOption)() = nullptr;
  void (*updateNetNameLocators)(const Tower* design) = nullptr;
};

extern LocatorServices LocatorServiceSlots;

// Text items: the heap text records (a Text payload, layout in
// objects/graphic_records.h, with its string after the head) through which
// designators, attribute copies, locators and dimensioner labels are measured
// and drawn. The builders belong to the application (app/text_items.cpp), the
// layout and rendering to the drawing code (draw/text_layout.cpp,
// draw/text_render.cpp), both above objects/.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct TextPayload;
struct Tower;

// A new heap text item (freed with free()) of the text with an index into the
// window's font size list, laid out by SetStringBox; null when it cannot be
// built. The text is cut to the 2,047 characters a text record holds.
TextPayload* CreateTextItem(const char* text, std::uint32_t sizeIndex, std::uint8_t layer,
                            const pl3::Transform* transform, std::uint16_t justification, std::uint32_t font);
// The same with an explicit size in place of the index.
TextPayload* CreateTextItemEx(const char* text, std::int32_t size, std::uint8_t layer,
                              const pl3::Transform* transform, std::uint16_t justification, std::uint32_t font);
// A new Tower on a font's entity (font 3 for a number without one); null when
// neither exists. The caller releases it.
Tower* GetFontTower(std::uint32_t font);
// Lays the item out: its string box (payload bytes 56 to 71) and extents.
void SetStringBox(TextPayload* item);
// The offset from the item's anchor to its drawing origin for its
// justification, turned by its transform: dx in the low half, dy in the high
// half. `font` is the item's font Tower, or null to look it up.
std::uint64_t GetTextExtent(const TextPayload* item, const Tower* font);
// The item's string box in world units, before its transform: the layout
// keeps its left and right in world units and its bottom and top in font
// units, which take the text's height here.
pl3::Box GetWorldStringBox(const TextPayload* item);
// Draws the item string by string in the text mode (0 ghost, 1 and 5 draw,
// 9 add to the display list, 3, 4, 6 and 7 the locator and pin-text modes).
void RenderTextEntity(void* dc, const TextPayload* item, std::uint8_t mode, const pl3::Transform* transform);

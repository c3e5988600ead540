// Per-type handlers of the items that live inside symbols: texts moved,
// mirrored and ghosted inside a text group (163), and the grab points of
// pins, pin names, texts and text groups.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;
struct SelectionInfo;
struct GrabBlock;

// A text group (163) holds a link record (164), a Transform (208), an Origin
// (112) and its texts (5).
constexpr std::uint16_t kTypeTextGroup = 163;
constexpr std::uint16_t kTypeTextGroupLink = 164;
// Byte 4 of the link: bit 1 set when the group is drawn mirrored.
constexpr std::uint32_t kTextGroupLinkFlagsOffset = 4;
constexpr std::uint8_t kTextGroupMirrored = 0x2;

// The text group that holds the selection's text (found from the item in the
// design, whose working copy may stand elsewhere), or null; the caller
// releases it.
Tower* GroupOfSelection(const SelectionInfo* item);
// The placement of a text group: its Transform (identity when missing) with
// its Origin added to the translation; *mirrored tells whether the link
// flags it mirrored. False when the Tower stands on no entity.
bool GetTextGroupPlacement(const Tower* group, pl3::Transform* placement, bool* mirrored);
// The transform a text of the group is drawn under: the placement, after the
// mirror in x for a mirrored group (*mirrored, when given, tells which).
bool GetTextGroupTransform(const Tower* group, pl3::Transform* transform, bool* mirrored = nullptr);

// Moves a text payload by the delta, kept inside the editable area.
void TranslateText(void* payload, pl3::Point delta);
// Moves the text of a selection that lies in a text group by a delta given in
// design space: the delta is turned into the group's own frame and added to
// the text's translation. Every part moves the whole text.
void TranslateTextInGroup(SelectionInfo* item, pl3::Point delta, std::uint16_t part);
// XOR-draws the selection's text under its group's transform; drawn twice it
// erases itself.
void GhostTextInGroup(void* view, SelectionInfo* item);
// Mirrors the selection's text within its group: the ghost is erased, the
// text's x scale negated and the ghost drawn again.
void MirrorTextInGroup(void* view, SelectionInfo* item);

// Grab points; each sets the block's point and edit code and returns 1, or 0
// when the record is missing or too short.
// Symbol Pin (26): its origin point, edit code 0.
int GrabSymbolPin(const Tower* pin, GrabBlock* grab);
// Pin name text (27): its position plus its pin's origin.
int GrabPinNameText(const Tower* name, GrabBlock* grab);
// Text (5): inside a text group its position mapped through the group (edit
// code 0); a free text its translation, with half its box width and height
// in the block's first two words.
int GrabText(const Tower* text, GrabBlock* grab);
// Text group (163): its Transform's translation plus its Origin.
int GrabTextGroup(const Tower* group, GrabBlock* grab);

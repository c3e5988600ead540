// A text item drawn with a rectangular frame of four thin tracks round its
// string box: as an XOR ghost, into the current target or into the display
// list. The string drawing of locators, the labels of info boxes and the
// display-list builder call it and keep the frame's box.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct TextPayload;
struct SelectionInfo;
struct Tower;

// Frame modes beside the text modes that are passed through.
constexpr int kTextFrameGhost = 0;
constexpr int kTextFrameDraw = 1;
constexpr int kTextFrameDisplayList = 9;

// Draws the text in `mode` and, in modes 0, 1 and 9, the four sides of its
// frame: the string box through the text's transform, moved by (dx, dy) and
// grown by the text size x 18,288 (the low sides stop at 0). The frame lines
// are the width factor times the window's zoom wide. *box receives the frame;
// all zeros, with nothing drawn, while the window hides texts. An indexed
// text size is replaced in the item by its real size.
void DrawTextFrame(pl3::Box* box, void* view, TextPayload* text, std::int8_t widthFactor, std::int32_t dx,
                   std::int32_t dy, int mode);

// The frame box of a text (5) of a text group (163) under the group's
// transform, as GhostTextBoxInGroup outlines it; 0 when the item is no text
// or the group stands on no entity.
int GetTextBoxInGroup(const Tower* text, const Tower* group, pl3::Box* box);
// The box twin of GhostTextInGroup: the outline of the selection's text box
// under its group's transform (a text group, 163), drawn while the view flags
// show the other side for a mirrored group; the flags word is put back. The
// box drawn goes to *box. Returns 1 when drawn, 0 without a text in a group.
int GhostTextBoxInGroup(const SelectionInfo* item, pl3::Box* box);

// The pad nearest to a point of the design (its result in the walk's
// NearestPadResult, draw/walk_actions.h) and the hover step of the
// pad-naming mode that highlights the pad under the mouse.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct ButtonRecord;
struct Tower;

// Where the nearest pad's distance starts, so that any pad is nearer.
constexpr double kNoNearestPad = 2147483647.0;

// Walks the placed symbols and pad stacks of the design within the pick box
// around the point for the pad nearest the window's cursor. 1 when one was
// found (NearestPadResult names it), else 0.
int FindNearestPad(std::int32_t x, std::int32_t y, const Tower* design, const pl3::Transform* transform);

// The design's pad-stack instance (141) whose pad-stack info carries the
// Xref number: a new Tower, or null.
Tower* FindPadInstanceByXref(const Tower* design, std::uint32_t xref);

// The hover step of the pad-naming mode: the pad nearest the mouse becomes
// the highlighted Selection; with none near, the "no" cursor is shown and
// the previous pad is let go.
void DoNamePins(HWND view, ButtonRecord* mouse);

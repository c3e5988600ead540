// What a pick hands its chosen object to: the selection (SelectObject) and the
// two copy picks (edit/object_select.h), and the program option that offers a
// fixed symbol's designator in its place (the frame's,
// app/pick_designator_option.cpp; tests link their own).
#pragma once
#include <cstdint>

#include "edit/object_select.h"
#include "platform/win_types.h"

struct Tower;

// 1 when a click on a fixed symbol picks its designator instead.
int PickDesignatorsOfFixedSymbols();

// What the design objects' command workers ask of the editing engine's
// selection: its common type, its size, its ghosts and the one-line
// description of an object. Defined by the engine; until it lands the program
// links the stand-ins of app/selection_seams_pending.cpp, and tests link
// recording fakes.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct SelectionInfo;
struct Tower;

// The type code the primary records of the list share: 65535 when there are
// none, 0xFFFFFFFF when their types differ.
std::uint32_t GetSelectionType(const SelectionInfo* list);
// The number of records of the list, or of its primary records only.
int CountSelections(const SelectionInfo* list, int primaryOnly);
// XOR-draws the ghosts of every record of the list at its working position.
void GhostSelectionArray(HDC dc, const SelectionInfo* list);
// A new one-line description of an object for menus and the status bar
// (malloc'd, freed by the caller), or null for a type without one.
char* DescribeObject(const Tower* item);

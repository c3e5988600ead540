// The ghost copies of a placed schematic symbol, which the selection and the
// clipboard of the editing engine build; they belong to the schematic editor
// (schematic/symbol_copies.cpp), which defines them.
#pragma once
#include "geometry/types.h"

struct Tower;
struct SelectionInfo;

// A Temporary copy of the schematic symbol for ghosting, placed at the point
// less the window's cursor offset; null ("Error retrieving transform")
// without a symbol or its Transform.
Tower* CopySymbolToInsertionAt(const Tower* symbol, pl3::Point point);
// The copy of a selected schematic symbol with its origin at 0 and, when the
// window has a block origin, an Offset of the selection's grab point from it.
Tower* CopySelectedSymbolToInsertion(const Tower* symbol, const SelectionInfo* selection);

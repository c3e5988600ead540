// The program's stand-ins for the editing engine's selection services
// (objects/selection_seams.h) until it lands: a selection has no common type
// and no records and no ghost is drawn. DescribeObject is the engine's own
// (edit/object_descriptions.cpp).
#include "objects/selection_seams.h"

std::uint32_t GetSelectionType(const SelectionInfo*) { return 65535; }
int CountSelections(const SelectionInfo*, int) { return 0; }
void GhostSelectionArray(HDC, const SelectionInfo*) {}

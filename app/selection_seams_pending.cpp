// The program's stand-ins for the editing engine's selection services
// (objects/selection_seams.h) until it lands: a selection has no common type
// and no records, no ghost is drawn and no object has a description.
#include "objects/selection_seams.h"

std::uint32_t GetSelectionType(const SelectionInfo*) { return 65535; }
int CountSelections(const SelectionInfo*, int) { return 0; }
void GhostSelectionArray(HDC, const SelectionInfo*) {}
char* DescribeObject(const Tower*) { return nullptr; }

// The typed-angle commands: Set Angle of a centroid marker (selected, or
// being placed) and Freehand Rotation of the selection or of the item being
// placed, with or without the "Mirrored" box.
#pragma once
#include "geometry/types.h"
#include "platform/win_types.h"

struct Tower;
struct CurrentWindowData;

// The words that hold an item's rotation: a text's own Transform, a
// rectangle's head, the Transform child (208) of a symbol instance (106) or
// an old-style symbol (163), the 116 of a pad (141); null for items whose
// geometry is stored as points.
pl3::Transform* ItemRotationWords(const Tower* item);
// The same for the item of the current edit mode: the insertion's placement
// Transform (24 to 27), the text being placed (28, 29), the locator being
// placed (33, 110), else a pending rectangle; null for anything else.
pl3::Transform* ModeItemRotationWords(CurrentWindowData& w);

void SetSelectedCentroidAngle(HWND view);
void SetPlacedCentroidAngle(HWND view);
void FreehandRotateSelection(HWND view, bool mirrorBox);
void FreehandRotateModeItem(HWND view, bool mirrorBox);

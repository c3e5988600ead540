// The thumbnail renderer of the editing engine: the items of a world box of a
// design drawn into an image 200 pixels square with the active window's state.
// Until it lands the program links app/thumbnail_seams_pending.cpp (no image).
#pragma once
#include "geometry/types.h"
#include "platform/win_types.h"

struct Tower;

// The image (the caller's to delete), or null when none was made.
HBITMAP RenderBoxThumbnail(const Tower* design, const pl3::Box* box);

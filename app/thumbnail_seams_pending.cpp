// The program's stand-in for the thumbnail renderer (objects/thumbnail_seams.h)
// until it lands: no image is made.
#include "objects/thumbnail_seams.h"

HBITMAP RenderBoxThumbnail(const Tower*, const pl3::Box*) { return nullptr; }

// Reading a dialog control's whole text, whatever its length:
// GetDlgItemTextAlloc, declared where the geometry kernel (which reads typed
// lengths through it) can see it.
#pragma once
#include "geometry/library_seams.h"

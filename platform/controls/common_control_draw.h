// Classic-look pieces the common controls draw with.
#pragma once
#include <string>

#include "platform/gdi.h"

namespace pl3::controls {

// A raised button face (sunken when pressed) filling r.
void DrawButtonFace(HDC dc, const RECT& r, bool pressed);
// A small triangle centred in r, pointing up or down.
void DrawSortMark(HDC dc, const RECT& r, bool up);
// Copies at most size-1 bytes of text into out and terminates it.
void CopyTextOut(const std::string& text, LPSTR out, int size);

}  // namespace pl3::controls

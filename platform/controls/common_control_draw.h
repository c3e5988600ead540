// Classic-look pieces the common controls draw with.
#pragma once
#include <string>

#include "platform/commctrl.h"
#include "platform/gdi.h"

namespace pl3::controls {

// A raised button face (sunken when pressed) filling r.
void DrawButtonFace(HDC dc, const RECT& r, bool pressed);
// A small triangle centred in r, pointing up or down.
void DrawSortMark(HDC dc, const RECT& r, bool up);
// A one-image list picturing a dragged item: its icon (image `image` of
// `icons`, when there is a list) then its label, centred, on the window colour.
HIMAGELIST MakeDragImage(HIMAGELIST icons, int image, HFONT font, const std::string& text, int labelWidth, int height);
// The width (or height) of a list's images; 0 without a list.
int ImageListSize(HIMAGELIST list, bool height);
// Image `index` of a list drawn as a disabled picture: its shape etched in
// the highlight colour, one pixel down and right, under the shadow colour.
void DrawImageDisabled(HDC dc, HIMAGELIST list, int index, int x, int y);
// Copies at most size-1 bytes of text into out and terminates it.
void CopyTextOut(const std::string& text, LPSTR out, int size);

}  // namespace pl3::controls

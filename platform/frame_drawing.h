// Drawing the system's frames and glyphs: 3-D edges, the standard frame
// controls (caption buttons, scroll arrows, menu marks, check boxes, radio
// buttons, push buttons) and images in a state (DrawState), all in the
// system colours.
#pragma once
#include "platform/gdi.h"

// DrawEdge: which edges, and how
constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
constexpr UINT BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr UINT BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_MIDDLE = 0x0800;   // fill the inside with the face colour
constexpr UINT BF_SOFT = 0x1000;     // the lighter colours outside
constexpr UINT BF_ADJUST = 0x2000;   // the rectangle shrinks by the edges drawn
constexpr UINT BF_FLAT = 0x4000;     // shadow outside, face inside
constexpr UINT BF_MONO = 0x8000;     // window frame outside, window inside

// DrawFrameControl: type, then the kind and the state in one word
constexpr UINT DFC_CAPTION = 1;
constexpr UINT DFC_MENU = 2;
constexpr UINT DFC_SCROLL = 3;
constexpr UINT DFC_BUTTON = 4;
constexpr UINT DFCS_CAPTIONCLOSE = 0x0000;
constexpr UINT DFCS_CAPTIONMIN = 0x0001;
constexpr UINT DFCS_CAPTIONMAX = 0x0002;
constexpr UINT DFCS_CAPTIONRESTORE = 0x0003;
constexpr UINT DFCS_CAPTIONHELP = 0x0004;
constexpr UINT DFCS_MENUARROW = 0x0000;
constexpr UINT DFCS_MENUCHECK = 0x0001;
constexpr UINT DFCS_MENUBULLET = 0x0002;
constexpr UINT DFCS_MENUARROWRIGHT = 0x0004;
constexpr UINT DFCS_SCROLLUP = 0x0000;
constexpr UINT DFCS_SCROLLDOWN = 0x0001;
constexpr UINT DFCS_SCROLLLEFT = 0x0002;
constexpr UINT DFCS_SCROLLRIGHT = 0x0003;
constexpr UINT DFCS_SCROLLCOMBOBOX = 0x0005;
constexpr UINT DFCS_SCROLLSIZEGRIP = 0x0008;
constexpr UINT DFCS_BUTTONCHECK = 0x0000;
constexpr UINT DFCS_BUTTONRADIO = 0x0004;
constexpr UINT DFCS_BUTTON3STATE = 0x0008;
constexpr UINT DFCS_BUTTONPUSH = 0x0010;
constexpr UINT DFCS_INACTIVE = 0x0100;
constexpr UINT DFCS_PUSHED = 0x0200;
constexpr UINT DFCS_CHECKED = 0x0400;
constexpr UINT DFCS_TRANSPARENT = 0x0800;
constexpr UINT DFCS_HOT = 0x1000;
constexpr UINT DFCS_ADJUSTRECT = 0x2000;
constexpr UINT DFCS_FLAT = 0x4000;
constexpr UINT DFCS_MONO = 0x8000;

// DrawState: what is drawn (low bits) and in which state
constexpr UINT DST_COMPLEX = 0x0000;
constexpr UINT DST_TEXT = 0x0001;
constexpr UINT DST_PREFIXTEXT = 0x0002;
constexpr UINT DST_ICON = 0x0003;
constexpr UINT DST_BITMAP = 0x0004;
constexpr UINT DSS_NORMAL = 0x0000;
constexpr UINT DSS_UNION = 0x0010;     // every other pixel, as a selection shows
constexpr UINT DSS_DISABLED = 0x0020;  // embossed: highlight below right, shadow on top
constexpr UINT DSS_MONO = 0x0080;      // every pixel of the image in the brush's colour
constexpr UINT DSS_HIDEPREFIX = 0x0200;
constexpr UINT DSS_RIGHT = 0x8000;

using DRAWSTATEPROC = BOOL (*)(HDC dc, LPARAM data, WPARAM dataSize, int cx, int cy);

// Draws the edges of a rectangle: lines of the outer then the inner border,
// one pixel each; top and left first, so the corners at top right and bottom
// left take the bottom and right colour.
BOOL DrawEdge(HDC dc, RECT* rc, UINT edge, UINT flags);
BOOL DrawFrameControl(HDC dc, RECT* rc, UINT type, UINT state);
// cx and cy 0 take the image's or text's own size. The image of DST_COMPLEX
// is drawn by `proc` into a context whose (0, 0) is (x, y).
BOOL DrawStateA(HDC dc, HBRUSH fore, DRAWSTATEPROC proc, LPARAM data, WPARAM dataSize, int x, int y, int cx, int cy,
                UINT flags);
#define DrawState DrawStateA

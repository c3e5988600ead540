// Drawing onto in-memory framebuffers: device contexts, pens, brushes, fonts,
// bitmaps, regions, palettes and the system colours and metrics, under the
// Windows names and numbers the program is written against.
//
// Every device context draws into a 32-bit PixelSurface (platform/surface.h):
// a window's framebuffer or a memory bitmap. Colours cross this interface as
// COLORREF (0x00BBGGRR) and are stored in surfaces as 0x00RRGGBB.
//
// Pixel rules, relied on by ghosts, the crosshair and drag rectangles:
//   - a line covers its first pixel and stops before its last;
//   - rectangles, ellipses and fills cover [left, right) x [top, bottom);
//   - one call never touches a pixel twice, so any shape drawn twice with
//     R2_XORPEN restores every pixel it covered.
//
// Text is drawn with FreeType from installed faces; glyph advances are whole
// pixels computed from font units, so measurements are the same on every run.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// ---------------------------------------------------------------------------
// Records

struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};
static_assert(sizeof(RGBQUAD) == 4);

struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;  // > 0: rows run bottom-up; < 0: top-down
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(offsetof(BITMAPINFOHEADER, biBitCount) == 14);
static_assert(offsetof(BITMAPINFOHEADER, biClrImportant) == 36);

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};
static_assert(sizeof(BITMAPINFO) == 44);

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
  WORD bfType;  // 'BM'
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14);
static_assert(offsetof(BITMAPFILEHEADER, bfOffBits) == 10);

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};
static_assert(sizeof(BITMAP) == 32);

struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
};

struct LOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;  // x is the width
  COLORREF lopnColor;
};
static_assert(sizeof(LOGPEN) == 16);

struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  std::uintptr_t lbHatch;
};

constexpr int LF_FACESIZE = 32;
struct LOGFONTA {
  LONG lfHeight;  // < 0: character height in pixels; > 0: cell height; 0: default
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
};
static_assert(sizeof(LOGFONTA) == 60);
static_assert(offsetof(LOGFONTA, lfFaceName) == 28);
using LOGFONT = LOGFONTA;

struct TEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
static_assert(sizeof(TEXTMETRICA) == 56);
using TEXTMETRIC = TEXTMETRICA;

struct PALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
};
constexpr BYTE PC_RESERVED = 0x01;
constexpr BYTE PC_EXPLICIT = 0x02;
constexpr BYTE PC_NOCOLLAPSE = 0x04;
struct LOGPALETTE {
  WORD palVersion;  // 0x300
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
};
static_assert(sizeof(LOGPALETTE) == 8);

struct RGNDATAHEADER {
  DWORD dwSize;  // sizeof(RGNDATAHEADER)
  DWORD iType;   // RDH_RECTANGLES
  DWORD nCount;  // rectangles that follow
  DWORD nRgnSize;
  RECT rcBound;
};
static_assert(sizeof(RGNDATAHEADER) == 32);
struct RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];  // nCount RECTs
};
constexpr DWORD RDH_RECTANGLES = 1;

// ---------------------------------------------------------------------------
// Constants

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int DEFAULT_PALETTE = 15;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;
constexpr int DC_BRUSH = 18;
constexpr int DC_PEN = 19;

// Object types (GetObjectType, GetCurrentObject).
constexpr DWORD OBJ_PEN = 1;
constexpr DWORD OBJ_BRUSH = 2;
constexpr DWORD OBJ_DC = 3;
constexpr DWORD OBJ_PAL = 5;
constexpr DWORD OBJ_FONT = 6;
constexpr DWORD OBJ_BITMAP = 7;
constexpr DWORD OBJ_REGION = 8;
constexpr DWORD OBJ_MEMDC = 10;

// Binary raster operations (SetROP2). The code minus one is the truth table:
// bit (pen * 2 + destination) of it is the result bit.
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Ternary raster operations (BitBlt, StretchBlt, PatBlt, StretchDIBits).
// Bits 16-23 are the truth table over pattern 0xF0, source 0xCC, destination 0xAA.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;
constexpr int PS_STYLE_MASK = 0x0000000F;

// Brush styles.
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;
constexpr UINT BS_HATCHED = 2;

// Hatch styles: lines every eight pixels from the brush origin.
constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;  // top left to bottom right
constexpr int HS_BDIAGONAL = 3;  // bottom left to top right
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;

// Background modes, fill modes, stretch modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

// Region combination and region kinds.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;
constexpr int ERROR = 0;
constexpr int RGN_ERROR = ERROR;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// Bitmaps.
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;
constexpr DWORD CBM_INIT = 4;

// Text alignment.
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;

// ExtTextOut options.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// DrawText formats.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

// Fonts.
constexpr int FW_DONTCARE = 0;
constexpr int FW_THIN = 100;
constexpr int FW_EXTRALIGHT = 200;
constexpr int FW_LIGHT = 300;
constexpr int FW_NORMAL = 400;
constexpr int FW_MEDIUM = 500;
constexpr int FW_SEMIBOLD = 600;
constexpr int FW_BOLD = 700;
constexpr int FW_EXTRABOLD = 800;
constexpr int FW_HEAVY = 900;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr BYTE OEM_CHARSET = 255;
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_STRING_PRECIS = 1;
constexpr BYTE OUT_CHARACTER_PRECIS = 2;
constexpr BYTE OUT_STROKE_PRECIS = 3;
constexpr BYTE OUT_TT_PRECIS = 4;
constexpr BYTE OUT_TT_ONLY_PRECIS = 7;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE CLIP_CHARACTER_PRECIS = 1;
constexpr BYTE CLIP_STROKE_PRECIS = 2;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE PROOF_QUALITY = 2;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE CLEARTYPE_QUALITY = 5;
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;
constexpr BYTE FF_SCRIPT = 0x40;
constexpr BYTE FF_DECORATIVE = 0x50;

// Device capabilities (GetDeviceCaps).
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int SIZEPALETTE = 104;
constexpr int RC_PALETTE = 0x0100;
constexpr int RC_BITBLT = 0x0001;
constexpr int RC_STRETCHBLT = 0x0800;
constexpr int RC_DI_BITMAP = 0x0080;

// System colours (GetSysColor).
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_DESKTOP = COLOR_BACKGROUND;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;
constexpr int COLOR_COUNT = 31;  // size of the system colour table

// System metrics (GetSystemMetrics).
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CXFIXEDFRAME = SM_CXDLGFRAME;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYFIXEDFRAME = SM_CYDLGFRAME;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_MOUSEPRESENT = 19;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_SWAPBUTTON = 23;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CXSIZEFRAME = SM_CXFRAME;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CYSIZEFRAME = SM_CYFRAME;
constexpr int SM_CXMINTRACK = 34;
constexpr int SM_CYMINTRACK = 35;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXICONSPACING = 38;
constexpr int SM_CYICONSPACING = 39;
constexpr int SM_MENUDROPALIGNMENT = 40;
constexpr int SM_CMOUSEBUTTONS = 43;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CYSMCAPTION = 51;
constexpr int SM_CXSMSIZE = 52;
constexpr int SM_CYSMSIZE = 53;
constexpr int SM_CXMENUSIZE = 54;
constexpr int SM_CYMENUSIZE = 55;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_CXMENUCHECK = 71;
constexpr int SM_CYMENUCHECK = 72;
constexpr int SM_MOUSEWHEELPRESENT = 75;
constexpr int SM_XVIRTUALSCREEN = 76;
constexpr int SM_YVIRTUALSCREEN = 77;
constexpr int SM_CXVIRTUALSCREEN = 78;
constexpr int SM_CYVIRTUALSCREEN = 79;
constexpr int SM_CMONITORS = 80;
constexpr int SM_CXFOCUSBORDER = 83;
constexpr int SM_CYFOCUSBORDER = 84;
constexpr int SM_COUNT = 100;  // size of the system metrics table

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr COLORREF PALETTEINDEX(WORD i) { return 0x01000000u | i; }
constexpr COLORREF PALETTERGB(BYTE r, BYTE g, BYTE b) { return 0x02000000u | RGB(r, g, b); }

// ---------------------------------------------------------------------------
// Rectangles (pure arithmetic on RECT; right and bottom are exclusive)

BOOL SetRect(RECT* rc, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* rc);
BOOL CopyRect(RECT* dst, const RECT* src);
BOOL IsRectEmpty(const RECT* rc);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* rc, POINT pt);
BOOL OffsetRect(RECT* rc, int dx, int dy);
BOOL InflateRect(RECT* rc, int dx, int dy);
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b);  // FALSE (and empty) when they do not meet
BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b);      // empty inputs are ignored
BOOL SubtractRect(RECT* dst, const RECT* a, const RECT* b);   // a less b when that is a rectangle

// ---------------------------------------------------------------------------
// Device contexts

HDC CreateCompatibleDC(HDC dc);  // a memory context holding a 1 x 1 bitmap
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);                // returns the saved level (>= 1), 0 on failure
BOOL RestoreDC(HDC dc, int saved);  // saved < 0: relative to the current level
int GetDeviceCaps(HDC dc, int index);

HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj);  // not regions: use SelectClipRgn
HPEN SelectObject(HDC dc, HPEN pen);
HBRUSH SelectObject(HDC dc, HBRUSH brush);
HFONT SelectObject(HDC dc, HFONT font);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);  // memory contexts only
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
BOOL DeleteObject(HGDIOBJ obj);  // stock objects are never deleted
BOOL DeleteObject(HPEN obj);
BOOL DeleteObject(HBRUSH obj);
BOOL DeleteObject(HFONT obj);
BOOL DeleteObject(HBITMAP obj);
BOOL DeleteObject(HRGN obj);
BOOL DeleteObject(HPALETTE obj);
HGDIOBJ GetStockObject(int index);
DWORD GetObjectType(HGDIOBJ obj);
int GetObjectA(HGDIOBJ obj, int size, void* out);  // LOGPEN, LOGBRUSH, LOGFONT, BITMAP, DIBSECTION
inline int GetObject(HGDIOBJ obj, int size, void* out) { return GetObjectA(obj, size, out); }
inline int GetObject(HBITMAP obj, int size, void* out) { return GetObjectA(reinterpret_cast<HGDIOBJ>(obj), size, out); }
inline int GetObject(HFONT obj, int size, void* out) { return GetObjectA(reinterpret_cast<HGDIOBJ>(obj), size, out); }
inline int GetObject(HPEN obj, int size, void* out) { return GetObjectA(reinterpret_cast<HGDIOBJ>(obj), size, out); }
inline int GetObject(HBRUSH obj, int size, void* out) { return GetObjectA(reinterpret_cast<HGDIOBJ>(obj), size, out); }

// Attributes.
int SetROP2(HDC dc, int rop2);  // returns the previous mode, 0 on failure
int GetROP2(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF colour);
COLORREF GetBkColor(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF GetTextColor(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
COLORREF SetDCBrushColor(HDC dc, COLORREF colour);
COLORREF SetDCPenColor(HDC dc, COLORREF colour);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old);

// Coordinates: device = logical - window origin + viewport origin (pixels only).
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC dc, POINT* out);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetWindowOrgEx(HDC dc, POINT* out);
BOOL LPtoDP(HDC dc, POINT* pts, int count);
BOOL DPtoLP(HDC dc, POINT* pts, int count);

// ---------------------------------------------------------------------------
// Pens and brushes

HPEN CreatePen(int style, int width, COLORREF colour);  // width 0 and 1 are one pixel
HPEN CreatePenIndirect(const LOGPEN* pen);
HBRUSH CreateSolidBrush(COLORREF colour);
// Hatch lines take the brush colour; between them the background colour shows
// in OPAQUE background mode, and the destination in TRANSPARENT mode.
HBRUSH CreateHatchBrush(int hatch, COLORREF colour);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);  // BS_SOLID, BS_NULL and BS_HATCHED

// ---------------------------------------------------------------------------
// Lines and shapes (the current pen outlines, the current brush fills)

BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
BOOL GetCurrentPositionEx(HDC dc, POINT* out);
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* pts, int count);
BOOL PolylineTo(HDC dc, const POINT* pts, int count);
BOOL Polygon(HDC dc, const POINT* pts, int count);
BOOL PolyPolygon(HDC dc, const POINT* pts, const INT* counts, int polygons);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
// Arcs run counter-clockwise (as seen on the screen) from the ray through the
// start point to the ray through the end point.
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Chord(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF colour);
COLORREF GetPixel(HDC dc, int x, int y);  // CLR_INVALID outside the clip

// These ignore the ROP2 mode, as they do on the platform the program was written for.
int FillRect(HDC dc, const RECT* rc, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rc, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rc);
BOOL DrawFocusRect(HDC dc, const RECT* rc);  // dotted XOR frame: drawing it twice removes it

// ---------------------------------------------------------------------------
// Regions (kept in device pixels) and clipping

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rc);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode);  // returns the region kind or ERROR
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* rc);
BOOL EqualRgn(HRGN a, HRGN b);
int GetRgnBox(HRGN rgn, RECT* out);
// With out null: the size needed. Else fills out and returns the size, or 0 when size is too small.
DWORD GetRegionData(HRGN rgn, DWORD size, RGNDATA* out);
BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
BOOL InvertRgn(HDC dc, HRGN rgn);

int SelectClipRgn(HDC dc, HRGN rgn);  // null removes the clip region; the region is copied
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
int GetClipRgn(HDC dc, HRGN out);  // 1 and a copy when there is a clip region, 0 when none
int GetClipBox(HDC dc, RECT* out);  // logical coordinates
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* rc);

// Moves the pixels of `scroll` (all of the context when null) by (dx, dy),
// limited to `clip`; the uncovered part goes to `update` and its box to `updateBox`.
BOOL ScrollDC(HDC dc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateBox);

// ---------------------------------------------------------------------------
// Bitmaps and block transfers

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);  // 32 bits per pixel, cleared to black
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage);
// Reads rows of a bitmap as a DIB (32 bits per pixel only); null bits fills in the header.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* out);
UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colours);

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                DWORD rop);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
// For bottom-up DIBs ySrc counts from the bottom row, as on the original platform.
int StretchDIBits(HDC dc, int x, int y, int width, int height, int xSrc, int ySrc, int wSrc, int hSrc,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);

// ---------------------------------------------------------------------------
// Palettes (surfaces are 32-bit: a palette only maps indexes to colours)

HPALETTE CreatePalette(const LOGPALETTE* palette);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC dc);  // number of entries that changed: always 0 here
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* out);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF colour);
// The screen's 256-entry system palette: the 20 static colours in slots 0 to
// 9 and 246 to 255, black between. Null `out` gives the size (256).
UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, PALETTEENTRY* out);
COLORREF GetNearestColor(HDC dc, COLORREF colour);

// ---------------------------------------------------------------------------
// Text

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR face);
HFONT CreateFontIndirectA(const LOGFONTA* font);
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rc, LPCSTR text, UINT count, const INT* dx);
// count -1: up to the NUL. Returns the text height (with DT_VCENTER/DT_BOTTOM the
// offset from rc->top to the bottom of the text), 0 on failure.
int DrawTextA(HDC dc, LPCSTR text, int count, RECT* rc, UINT format);
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, SIZE* out);
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* out);
int GetTextFaceA(HDC dc, int size, LPSTR out);

inline HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                        DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                        DWORD quality, DWORD pitchAndFamily, LPCSTR face) {
  return CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                     outPrecision, clipPrecision, quality, pitchAndFamily, face);
}
inline HFONT CreateFontIndirect(const LOGFONTA* font) { return CreateFontIndirectA(font); }
inline BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int count) { return TextOutA(dc, x, y, text, count); }
inline BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rc, LPCSTR text, UINT count, const INT* dx) {
  return ExtTextOutA(dc, x, y, options, rc, text, count, dx);
}
inline int DrawText(HDC dc, LPCSTR text, int count, RECT* rc, UINT format) {
  return DrawTextA(dc, text, count, rc, format);
}
inline BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int count, SIZE* out) {
  return GetTextExtentPoint32A(dc, text, count, out);
}
inline BOOL GetTextMetrics(HDC dc, TEXTMETRICA* out) { return GetTextMetricsA(dc, out); }

// Glyph outlines and exact widths, unhinted, in the font's own scale: a font
// created -2048 high on a 2048-unit face gives its design units.
struct FIXED {
  WORD fract;
  short value;
};
static_assert(sizeof(FIXED) == 4);
struct MAT2 {
  FIXED eM11;
  FIXED eM12;
  FIXED eM21;
  FIXED eM22;
};
struct POINTFX {
  FIXED x;
  FIXED y;
};
static_assert(sizeof(POINTFX) == 8);
struct GLYPHMETRICS {
  UINT gmBlackBoxX;
  UINT gmBlackBoxY;
  POINT gmptGlyphOrigin;
  short gmCellIncX;
  short gmCellIncY;
};
// One closed contour: cb bytes from this header, type TT_POLYGON_TYPE, then
// TTPOLYCURVE records up to cb. Coordinates are 16.16, y growing upwards.
struct TTPOLYGONHEADER {
  DWORD cb;
  DWORD dwType;
  POINTFX pfxStart;
};
static_assert(sizeof(TTPOLYGONHEADER) == 16);
// wType TT_PRIM_LINE, TT_PRIM_QSPLINE or TT_PRIM_CSPLINE and cpfx points.
struct TTPOLYCURVE {
  WORD wType;
  WORD cpfx;
  POINTFX apfx[1];
};
static_assert(sizeof(TTPOLYCURVE) == 12);
constexpr std::uint32_t kPolyCurveHeaderSize = 4;
struct ABCFLOAT {
  float abcfA;
  float abcfB;
  float abcfC;
};
constexpr UINT GGO_METRICS = 0;
constexpr UINT GGO_NATIVE = 2;
constexpr DWORD TT_POLYGON_TYPE = 24;
constexpr WORD TT_PRIM_LINE = 1;
constexpr WORD TT_PRIM_QSPLINE = 2;
constexpr WORD TT_PRIM_CSPLINE = 3;
constexpr DWORD GDI_ERROR = 0xFFFFFFFFu;
// GGO_NATIVE: with no buffer (or size 0) the size the outline needs, else the
// bytes written; 0 for a glyph without contours; GDI_ERROR for a bad device
// context, format or matrix pointer, or a buffer too small.
DWORD GetGlyphOutlineW(HDC dc, UINT ch, UINT format, GLYPHMETRICS* metrics, DWORD size, void* buffer,
                       const MAT2* matrix);
// A, B and C widths of the codes first..last, in logical units.
BOOL GetCharABCWidthsFloatA(HDC dc, UINT first, UINT last, ABCFLOAT* out);

// Font enumeration over the fixed catalogue of faces the text mapping knows
// (Arial, Courier New, Times New Roman, MS Sans Serif, ... in name order),
// all TrueType, all in ANSI_CHARSET. An empty face name gives one entry per
// family (its regular style); a face name gives each of its four styles.
// DEFAULT_CHARSET or ANSI_CHARSET asks for them; any other set finds none.
constexpr DWORD TRUETYPE_FONTTYPE = 0x0004;
constexpr int LF_FULLFACESIZE = 64;
struct ENUMLOGFONTEXA {
  LOGFONTA elfLogFont;
  BYTE elfFullName[LF_FULLFACESIZE];  // "Arial Bold"
  BYTE elfStyle[LF_FACESIZE];         // "Bold"
  BYTE elfScript[LF_FACESIZE];        // "Western"
};
static_assert(sizeof(ENUMLOGFONTEXA) == 188);
struct NEWTEXTMETRICA {
  TEXTMETRICA tm;  // the face at the default height
  DWORD ntmFlags;  // NTM_REGULAR, NTM_BOLD, NTM_ITALIC
  UINT ntmSizeEM;
  UINT ntmCellHeight;
  UINT ntmAvgWidth;
};
struct FONTSIGNATURE {
  DWORD fsUsb[4];
  DWORD fsCsb[2];
};
struct NEWTEXTMETRICEXA {
  NEWTEXTMETRICA ntmTm;
  FONTSIGNATURE ntmFontSig;
};
constexpr DWORD NTM_ITALIC = 0x00000001;
constexpr DWORD NTM_BOLD = 0x00000020;
constexpr DWORD NTM_REGULAR = 0x00000040;
// Called with an ENUMLOGFONTEXA and a NEWTEXTMETRICEXA; returning 0 stops.
using FONTENUMPROCA = int (*)(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD fontType, LPARAM param);
// The last value the procedure returned (1 when it was never called).
int EnumFontFamiliesExA(HDC dc, LOGFONTA* font, FONTENUMPROCA proc, LPARAM param, DWORD flags);
inline int EnumFontFamiliesEx(HDC dc, LOGFONTA* font, FONTENUMPROCA proc, LPARAM param, DWORD flags) {
  return EnumFontFamiliesExA(dc, font, proc, param, flags);
}

// ---------------------------------------------------------------------------
// System colours and metrics (one table each)

DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);  // a stock brush: never deleted
BOOL SetSysColors(int count, const INT* indexes, const COLORREF* colours);
int GetSystemMetrics(int index);

// ---------------------------------------------------------------------------
// Our own additions

namespace pl3 {

// The screen size reported by GetSystemMetrics and GetDeviceCaps; the window
// backend sets it from the display.
void SetScreenSize(int width, int height);

// Loads a PNG (or any image FreeImage reads) as a top-down 32-bit DIB section;
// null on failure.
HBITMAP LoadImageAsBitmap(const char* path);
// A top-down 32-bit DIB section holding a copy of width x height words.
HBITMAP CreateDibFromPixels(const std::uint32_t* pixels, int width, int height);
// Blends width x height premultiplied 0xAARRGGBB words onto the context at
// (x, y), as AlphaBlend with AC_SRC_ALPHA does.
BOOL BlendPremultipliedPixels(HDC dc, const std::uint32_t* pixels, int width, int height, int x, int y);

// The 32-bit pixels a memory bitmap or DIB section draws into (null for other
// formats or bad handles). Row 0 is the top row whatever the DIB's order.
const struct PixelSurface* GetBitmapSurface(HBITMAP bitmap);

// The drawing objects and device contexts alive now, stock objects left out:
// what a test compares before and after to find handles never deleted.
std::size_t LiveGdiObjectCount();

}  // namespace pl3

// ---------------------------------------------------------------------------
// Translucent blits

constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
  BYTE BlendOp;              // AC_SRC_OVER
  BYTE BlendFlags;           // 0
  BYTE SourceConstantAlpha;  // applied to every source pixel
  BYTE AlphaFormat;          // 0, or AC_SRC_ALPHA: 32-bit source with premultiplied alpha in the top byte
};
static_assert(sizeof(BLENDFUNCTION) == 4);

// Blends the source rectangle over the destination one (stretched to it by
// nearest pixel). With a constant alpha a every channel becomes
// (s * a + d * (255 - a)) / 255 rounded; with AC_SRC_ALPHA the source is
// premultiplied: d becomes s + d * (255 - sa) / 255 rounded, after s and sa
// were scaled by the constant alpha. Fails when the source rectangle leaves
// its bitmap or a size is negative.
BOOL AlphaBlend(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                BLENDFUNCTION blend);
#define GdiAlphaBlend AlphaBlend

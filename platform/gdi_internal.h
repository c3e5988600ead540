// Records behind the drawing handles, shared by the gdi_*.cpp files only.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/surface.h"

namespace pl3::gdi {

// ---------------------------------------------------------------------------
// Regions: rectangles in y-x bands (sorted by top, then left; rectangles of
// one band share top and bottom and do not touch; no two neighbouring bands
// with the same rectangles).

struct Interval {
  int x0;
  int x1;  // exclusive
};

struct Region {
  std::vector<RECT> rects;

  static Region FromRect(int left, int top, int right, int bottom);
  bool Empty() const { return rects.empty(); }
  RECT Box() const;
  int Kind() const;  // NULLREGION, SIMPLEREGION or COMPLEXREGION
  void Offset(int dx, int dy);
  bool Contains(int x, int y) const;
  bool Intersects(const RECT& rc) const;
};

enum class RegionOp { kAnd, kOr, kXor, kDiff };
Region CombineRegions(const Region& a, const Region& b, RegionOp op);

// Rows of pixel spans, the form every shape is first computed in. Normalize
// sorts them and merges overlaps so each pixel appears once.
struct Span {
  int y;
  int x0;
  int x1;  // exclusive
};
using SpanList = std::vector<Span>;
void NormalizeSpans(SpanList& spans);
SpanList SubtractSpans(const SpanList& a, const SpanList& b);  // both normalized
Region RegionFromSpans(SpanList spans);

// ---------------------------------------------------------------------------
// Objects

enum class Kind : std::uint32_t { kPen = 1, kBrush, kFont, kBitmap, kRegion, kPalette, kDc };

struct Object {
  Kind kind;
  bool stock = false;
  explicit Object(Kind k) : kind(k) {}
};

struct Pen : Object {
  Pen() : Object(Kind::kPen) {}
  int style = PS_SOLID;
  int width = 1;
  COLORREF colour = 0;
  bool dcPen = false;  // the DC_PEN stock pen: colour comes from the context
};

struct Brush : Object {
  Brush() : Object(Kind::kBrush) {}
  UINT style = BS_SOLID;
  COLORREF colour = 0;
  int hatch = HS_HORIZONTAL;  // BS_HATCHED
  bool dcBrush = false;
};

struct FontFace;  // gdi_text.cpp

struct Font : Object {
  Font() : Object(Kind::kFont) {}
  LOGFONTA lf{};
};

struct Bitmap : Object {
  Bitmap() : Object(Kind::kBitmap) {}
  int width = 0;
  int height = 0;
  int bitsPerPixel = 32;  // as reported; drawing needs 32 (surface.pixels non-null)
  bool isDib = false;
  bool topDown = true;
  int strideBytes = 0;
  std::vector<std::uint32_t> storage;  // every format, 4-byte aligned rows
  std::vector<RGBQUAD> colours;        // colour table of DIBs with <= 8 bits
  BITMAPINFOHEADER header{};
  PixelSurface surface;  // pixels null unless 32 bits per pixel
  struct Dc* selectedIn = nullptr;
  void* Bits() { return storage.data(); }
};

struct RegionObject : Object {
  RegionObject() : Object(Kind::kRegion) {}
  Region region;
};

struct Palette : Object {
  Palette() : Object(Kind::kPalette) {}
  std::vector<PALETTEENTRY> entries;
};

// Everything SaveDC keeps.
struct DcState {
  Pen* pen = nullptr;
  Brush* brush = nullptr;
  Font* font = nullptr;
  Bitmap* bitmap = nullptr;  // memory contexts
  Palette* palette = nullptr;
  int rop2 = R2_COPYPEN;
  int bkMode = OPAQUE;
  COLORREF bkColour = RGB(255, 255, 255);
  COLORREF textColour = RGB(0, 0, 0);
  int fillMode = ALTERNATE;
  UINT textAlign = TA_LEFT | TA_TOP;
  int stretchMode = BLACKONWHITE;
  POINT position{0, 0};
  POINT viewportOrg{0, 0};
  POINT windowOrg{0, 0};
  POINT brushOrg{0, 0};
  COLORREF dcBrushColour = RGB(255, 255, 255);
  COLORREF dcPenColour = RGB(0, 0, 0);
  std::optional<Region> clip;  // device pixels
};

struct Dc : Object {
  Dc() : Object(Kind::kDc) {}
  bool memory = false;
  PixelSurface* windowSurface = nullptr;  // surface contexts
  POINT origin{0, 0};                     // device (0, 0) in surface pixels
  RECT clipRect{0, 0, 0, 0};              // surface pixels (surface contexts)
  std::optional<Region> visible;          // surface pixels (surface contexts)
  DcState st;
  std::vector<DcState> saved;
  int stylePhase = 0;  // dash pattern position carried along one polyline
};

// Handle checks: null when the handle is not a live object of that kind.
Object* Lookup(const void* handle);
Dc* GetDc(HDC dc);
Pen* GetPen(HGDIOBJ h);
Brush* GetBrush(HGDIOBJ h);
Font* GetFont(HGDIOBJ h);
Bitmap* GetBitmapObject(HGDIOBJ h);
RegionObject* GetRegionObject(HRGN h);
Palette* GetPalette(HPALETTE h);
void Register(Object* obj);  // takes ownership
void Destroy(Object* obj);   // unregisters and frees by kind

template <class H>
H ToHandle(Object* o) {
  return reinterpret_cast<H>(o);
}
inline HGDIOBJ AsObj(const void* h) { return reinterpret_cast<HGDIOBJ>(const_cast<void*>(h)); }

Font* DefaultFont();  // SYSTEM_FONT
Bitmap* StockBitmap();

// ---------------------------------------------------------------------------
// Target access and painting

// The surface a context draws into, or null (bitmap of another format).
PixelSurface* TargetSurface(Dc& dc);
// The clip of everything drawn, in surface pixels (cached per call).
Region EffectiveClip(Dc& dc);
// Coordinates are held within +-2^27 (as on the platform the program was
// written for), so that no arithmetic on them overflows.
constexpr long long kCoordLimit = 1LL << 27;
inline LONG ClampCoord(long long v) { return static_cast<LONG>(std::clamp(v, -kCoordLimit, kCoordLimit)); }

// Logical to surface pixels.
inline POINT ToSurface(const Dc& dc, long long x, long long y) {
  return POINT{ClampCoord(x - dc.st.windowOrg.x + dc.st.viewportOrg.x + dc.origin.x),
               ClampCoord(y - dc.st.windowOrg.y + dc.st.viewportOrg.y + dc.origin.y)};
}
inline POINT SurfaceShift(const Dc& dc) { return ToSurface(dc, 0, 0); }
inline RECT ToSurfaceRect(const Dc& dc, const RECT& rc) {
  const POINT a = ToSurface(dc, rc.left, rc.top), b = ToSurface(dc, rc.right, rc.bottom);
  return RECT{a.x, a.y, b.x, b.y};
}

std::uint32_t ColourToPixel(const Dc& dc, COLORREF colour);
inline COLORREF PixelToColour(std::uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }
inline std::uint32_t RgbToPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Writes every span (surface pixels) through the clip with a binary raster op.
void PaintSpans(Dc& dc, const SpanList& spans, std::uint32_t pixel, int rop2);
// Fills a rectangle (surface pixels) through the clip with a ternary raster op
// whose pattern is `pattern` and which does not read a source.
void PatternRect(Dc& dc, RECT rc, std::uint32_t pattern, DWORD rop);
std::uint32_t Rop2Pixel(std::uint32_t dst, std::uint32_t pen, int rop2);
std::uint32_t Rop3Pixel(std::uint32_t pattern, std::uint32_t src, std::uint32_t dst, DWORD rop);

// Shapes as spans (surface pixels), limited to `bounds`.
// Polygons (one or more closed contours of x, y pairs) cover the pixels whose
// centres lie inside; ellipses likewise, inside the box's inscribed ellipse.
void AddPolygonSpans(SpanList& out, const double* xy, const int* counts, int contours, bool winding,
                     const RECT& bounds);
void AddEllipseSpans(SpanList& out, double left, double top, double right, double bottom, const RECT& bounds);

// DIB formats, shared by bitmaps and StretchDIBits.
bool DibFormatSupported(const BITMAPINFOHEADER& h);
int DibStrideBytes(int width, int bitsPerPixel);
// Colour table of a DIB as 0x00RRGGBB pixels (DIB_PAL_COLORS through the context's palette).
std::vector<std::uint32_t> DibPalette(const Dc* dc, const BITMAPINFO* info, UINT usage);
// Converts n pixels of one DIB row starting at x into 0x00RRGGBB.
void ConvertDibRow(const std::uint8_t* row, int bitsPerPixel, DWORD compression, const std::uint32_t* palette,
                   int paletteSize, int x, int n, std::uint32_t* out);

// Text: the active font's metrics for GetTextMetrics and the layout code.
bool FontMetrics(Dc& dc, TEXTMETRICA* out);

}  // namespace pl3::gdi

// Drawing handles: the object registry, stock objects, pens, brushes,
// palettes, device contexts with their attributes, coordinates and clipping,
// and the system colour and metric tables.
#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_set>
#include <utility>

#include "platform/gdi_internal.h"
#include "platform/reset_hooks.h"

namespace pl3::gdi {
namespace {

std::unordered_set<Object*>& Registry() {
  static std::unordered_set<Object*> registry;
  return registry;
}

std::vector<Dc*>& LiveDcs() {
  static std::vector<Dc*> dcs;
  return dcs;
}

template <class T>
T* As(const void* handle, Kind kind) {
  Object* o = Lookup(handle);
  return o && o->kind == kind ? static_cast<T*>(o) : nullptr;
}

template <class T>
T* MakeStock() {
  T* obj = new T;
  obj->stock = true;
  Register(obj);
  return obj;
}

Pen* StockPen(int style, COLORREF colour) {
  Pen* p = MakeStock<Pen>();
  p->style = style;
  p->colour = colour;
  return p;
}

Brush* StockBrush(UINT style, COLORREF colour) {
  Brush* b = MakeStock<Brush>();
  b->style = style;
  b->colour = colour;
  return b;
}

Font* StockFont(int height, int weight, BYTE pitch, const char* face) {
  Font* f = MakeStock<Font>();
  f->lf.lfHeight = height;
  f->lf.lfWeight = weight;
  f->lf.lfPitchAndFamily = pitch;
  std::strncpy(f->lf.lfFaceName, face, LF_FACESIZE - 1);
  return f;
}

Palette* StockPalette() {
  static const BYTE kColours[20][3] = {
      {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
      {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
      {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
      {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
  Palette* p = MakeStock<Palette>();
  for (const auto& c : kColours) p->entries.push_back(PALETTEENTRY{c[0], c[1], c[2], 0});
  return p;
}

// Stock objects live for the whole run.
struct StockObjects {
  std::array<Object*, DC_PEN + 1> byIndex{};
  Bitmap* bitmap = nullptr;

  StockObjects() {
    byIndex[WHITE_BRUSH] = StockBrush(BS_SOLID, RGB(255, 255, 255));
    byIndex[LTGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(192, 192, 192));
    byIndex[GRAY_BRUSH] = StockBrush(BS_SOLID, RGB(128, 128, 128));
    byIndex[DKGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(64, 64, 64));
    byIndex[BLACK_BRUSH] = StockBrush(BS_SOLID, RGB(0, 0, 0));
    byIndex[NULL_BRUSH] = StockBrush(BS_NULL, 0);
    byIndex[WHITE_PEN] = StockPen(PS_SOLID, RGB(255, 255, 255));
    byIndex[BLACK_PEN] = StockPen(PS_SOLID, RGB(0, 0, 0));
    byIndex[NULL_PEN] = StockPen(PS_NULL, 0);
    byIndex[OEM_FIXED_FONT] = StockFont(-13, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier New");
    byIndex[ANSI_FIXED_FONT] = StockFont(-13, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier New");
    byIndex[ANSI_VAR_FONT] = StockFont(-13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
    byIndex[SYSTEM_FONT] = StockFont(-13, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System");
    byIndex[DEVICE_DEFAULT_FONT] = StockFont(-13, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System");
    byIndex[DEFAULT_PALETTE] = StockPalette();
    byIndex[SYSTEM_FIXED_FONT] = StockFont(-13, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier New");
    byIndex[DEFAULT_GUI_FONT] = StockFont(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
    Brush* dcBrush = StockBrush(BS_SOLID, RGB(255, 255, 255));
    dcBrush->dcBrush = true;
    byIndex[DC_BRUSH] = dcBrush;
    Pen* dcPen = StockPen(PS_SOLID, 0);
    dcPen->dcPen = true;
    byIndex[DC_PEN] = dcPen;
    bitmap = MakeStock<Bitmap>();
    bitmap->width = bitmap->height = 1;
    bitmap->bitsPerPixel = 1;
    bitmap->strideBytes = 4;
    bitmap->storage.assign(1, 0);
    bitmap->surface = PixelSurface{bitmap->storage.data(), 1, 1, 1};
  }
};

StockObjects& Stock() {
  static StockObjects stock;
  return stock;
}

// ---------------------------------------------------------------------------
// System colours and metrics

constexpr COLORREF kDefaultSysColours[COLOR_COUNT] = {
    RGB(200, 200, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(153, 180, 209),  // COLOR_ACTIVECAPTION
    RGB(191, 205, 219),  // COLOR_INACTIVECAPTION
    RGB(240, 240, 240),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(100, 100, 100),  // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(0, 0, 0),        // COLOR_CAPTIONTEXT
    RGB(180, 180, 180),  // COLOR_ACTIVEBORDER
    RGB(244, 247, 252),  // COLOR_INACTIVEBORDER
    RGB(171, 171, 171),  // COLOR_APPWORKSPACE
    RGB(0, 120, 215),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(240, 240, 240),  // COLOR_BTNFACE
    RGB(160, 160, 160),  // COLOR_BTNSHADOW
    RGB(109, 109, 109),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(67, 78, 84),     // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(105, 105, 105),  // COLOR_3DDKSHADOW
    RGB(227, 227, 227),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(0, 0, 0),        // 25: unused
    RGB(0, 102, 204),    // COLOR_HOTLIGHT
    RGB(185, 209, 234),  // COLOR_GRADIENTACTIVECAPTION
    RGB(215, 228, 242),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(51, 153, 255),   // COLOR_MENUHILIGHT
    RGB(240, 240, 240),  // COLOR_MENUBAR
};

struct SystemTables {
  std::array<COLORREF, COLOR_COUNT> colours{};
  std::array<Brush*, COLOR_COUNT> brushes{};
  int screenWidth = 1920;
  int screenHeight = 1080;
};

SystemTables& System() {
  static SystemTables tables;
  return tables;
}

void ResetSystemTables() {
  SystemTables& s = System();
  std::copy(std::begin(kDefaultSysColours), std::end(kDefaultSysColours), s.colours.begin());
  for (int i = 0; i < COLOR_COUNT; ++i) {
    if (s.brushes[i]) s.brushes[i]->colour = s.colours[i];
  }
  s.screenWidth = 1920;
  s.screenHeight = 1080;
}

const bool kResetRegistered = [] {
  ResetSystemTables();
  return pl3::RegisterGlobalReset(&ResetSystemTables);
}();

int MetricValue(int index) {
  const SystemTables& s = System();
  switch (index) {
    case SM_CXSCREEN: case SM_CXVIRTUALSCREEN: case SM_CXFULLSCREEN: return s.screenWidth;
    case SM_CYSCREEN: case SM_CYVIRTUALSCREEN: return s.screenHeight;
    case SM_CYFULLSCREEN: return s.screenHeight - 23;
    case SM_CXMAXIMIZED: return s.screenWidth + 8;
    case SM_CYMAXIMIZED: return s.screenHeight + 8;
    case SM_XVIRTUALSCREEN: case SM_YVIRTUALSCREEN: return 0;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 17;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 23;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 20;
    case SM_MOUSEPRESENT: case SM_MOUSEWHEELPRESENT: case SM_CMONITORS: return 1;
    case SM_SWAPBUTTON: return 0;
    case SM_CXMIN: case SM_CXMINTRACK: return 136;
    case SM_CYMIN: case SM_CYMINTRACK: return 39;
    case SM_CXSIZE: return 36;
    case SM_CYSIZE: return 22;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXICONSPACING: case SM_CYICONSPACING: return 75;
    case SM_MENUDROPALIGNMENT: return 0;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 19;
    case SM_CXSMSIZE: return 19;
    case SM_CYSMSIZE: return 18;
    case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 19;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 15;
    case SM_CXFOCUSBORDER: case SM_CYFOCUSBORDER: return 1;
    default: return 0;
  }
}

bool References(const DcState& st, const Object* o) {
  return st.pen == o || st.brush == o || st.font == o || st.bitmap == o || st.palette == o;
}

bool InUse(const Object* o) {
  for (const Dc* dc : LiveDcs()) {
    if (References(dc->st, o)) return true;
    for (const DcState& s : dc->saved) {
      if (References(s, o)) return true;
    }
  }
  return false;
}

DcState DefaultState(bool memory) {
  StockObjects& stock = Stock();
  DcState st;
  st.pen = static_cast<Pen*>(stock.byIndex[BLACK_PEN]);
  st.brush = static_cast<Brush*>(stock.byIndex[WHITE_BRUSH]);
  st.font = static_cast<Font*>(stock.byIndex[SYSTEM_FONT]);
  st.palette = static_cast<Palette*>(stock.byIndex[DEFAULT_PALETTE]);
  st.bitmap = memory ? stock.bitmap : nullptr;
  return st;
}

Dc* NewDc(bool memory) {
  Dc* dc = new Dc;
  dc->memory = memory;
  dc->st = DefaultState(memory);
  Register(dc);
  LiveDcs().push_back(dc);
  return dc;
}

// Moves a bitmap's ownership along with the context's state.
void AdoptBitmap(Dc& dc, Bitmap* from, Bitmap* to) {
  if (from && !from->stock && from->selectedIn == &dc) from->selectedIn = nullptr;
  if (to && !to->stock) to->selectedIn = &dc;
}

RECT DeviceBounds(Dc& dc) {
  if (dc.memory) {
    Bitmap* b = dc.st.bitmap;
    return RECT{0, 0, b ? b->width : 0, b ? b->height : 0};
  }
  RECT rc = dc.clipRect;
  OffsetRect(&rc, -dc.origin.x, -dc.origin.y);
  return rc;
}

Region CurrentClipOrAll(Dc& dc) {
  if (dc.st.clip) return *dc.st.clip;
  RECT b = DeviceBounds(dc);
  return Region::FromRect(b.left, b.top, b.right, b.bottom);
}

// Logical rectangle to device pixels.
RECT ToDevice(const Dc& dc, int left, int top, int right, int bottom) {
  const long long dx = static_cast<long long>(dc.st.viewportOrg.x) - dc.st.windowOrg.x;
  const long long dy = static_cast<long long>(dc.st.viewportOrg.y) - dc.st.windowOrg.y;
  return RECT{ClampCoord(left + dx), ClampCoord(top + dy), ClampCoord(right + dx), ClampCoord(bottom + dy)};
}

int ClipResult(Dc& dc) { return EffectiveClip(dc).Kind(); }

BOOL SetPoint(POINT& field, int x, int y, POINT* old) {
  if (old) *old = field;
  field = POINT{x, y};
  return TRUE;
}

}  // namespace

// ---------------------------------------------------------------------------
// Registry

void Register(Object* obj) { Registry().insert(obj); }

void Destroy(Object* obj) {
  Registry().erase(obj);
  switch (obj->kind) {
    case Kind::kPen: delete static_cast<Pen*>(obj); break;
    case Kind::kBrush: delete static_cast<Brush*>(obj); break;
    case Kind::kFont: delete static_cast<Font*>(obj); break;
    case Kind::kBitmap: delete static_cast<Bitmap*>(obj); break;
    case Kind::kRegion: delete static_cast<RegionObject*>(obj); break;
    case Kind::kPalette: delete static_cast<Palette*>(obj); break;
    case Kind::kDc: {
      Dc* dc = static_cast<Dc*>(obj);
      AdoptBitmap(*dc, dc->st.bitmap, nullptr);
      std::erase(LiveDcs(), dc);
      delete dc;
      break;
    }
  }
}

Object* Lookup(const void* handle) {
  if (!handle) return nullptr;
  Stock();  // stock objects exist before any handle is checked
  auto& reg = Registry();
  auto it = reg.find(static_cast<Object*>(const_cast<void*>(handle)));
  return it == reg.end() ? nullptr : *it;
}

Dc* GetDc(HDC dc) { return As<Dc>(dc, Kind::kDc); }
Pen* GetPen(HGDIOBJ h) { return As<Pen>(h, Kind::kPen); }
Brush* GetBrush(HGDIOBJ h) { return As<Brush>(h, Kind::kBrush); }
Font* GetFont(HGDIOBJ h) { return As<Font>(h, Kind::kFont); }
Bitmap* GetBitmapObject(HGDIOBJ h) { return As<Bitmap>(h, Kind::kBitmap); }
RegionObject* GetRegionObject(HRGN h) { return As<RegionObject>(h, Kind::kRegion); }
Palette* GetPalette(HPALETTE h) { return As<Palette>(h, Kind::kPalette); }
Font* DefaultFont() { return static_cast<Font*>(Stock().byIndex[SYSTEM_FONT]); }
Bitmap* StockBitmap() { return Stock().bitmap; }

PixelSurface* TargetSurface(Dc& dc) {
  if (!dc.memory) {
    if (dc.windowSurface && dc.windowSurface->sync) dc.windowSurface->sync(*dc.windowSurface);
    return dc.windowSurface;
  }
  Bitmap* b = dc.st.bitmap;
  return b && b->surface.pixels ? &b->surface : nullptr;
}

Region EffectiveClip(Dc& dc) {
  PixelSurface* s = TargetSurface(dc);
  if (!s) return Region{};
  RECT bounds{0, 0, s->width, s->height};
  if (!dc.memory) IntersectRect(&bounds, &bounds, &dc.clipRect);
  Region clip = Region::FromRect(bounds.left, bounds.top, bounds.right, bounds.bottom);
  if (!dc.memory && dc.visible) clip = CombineRegions(clip, *dc.visible, RegionOp::kAnd);
  if (dc.st.clip) {
    Region own = *dc.st.clip;
    own.Offset(dc.origin.x, dc.origin.y);
    clip = CombineRegions(clip, own, RegionOp::kAnd);
  }
  return clip;
}

std::uint32_t ColourToPixel(const Dc& dc, COLORREF colour) {
  if ((colour >> 24) == 1) {
    const Palette* pal = dc.st.palette;
    const WORD index = colour & 0xFFFF;
    if (pal && index < pal->entries.size()) {
      const PALETTEENTRY& e = pal->entries[index];
      return (static_cast<std::uint32_t>(e.peRed) << 16) | (e.peGreen << 8) | e.peBlue;
    }
    return 0;
  }
  return RgbToPixel(colour & 0x00FFFFFF);
}

}  // namespace pl3::gdi

using namespace pl3::gdi;
using pl3::PixelSurface;

// ---------------------------------------------------------------------------
// Surface contexts

std::size_t pl3::LiveGdiObjectCount() {
  Stock();
  return static_cast<std::size_t>(
      std::count_if(Registry().begin(), Registry().end(), [](const Object* o) { return !o->stock; }));
}

HDC pl3::CreateSurfaceDC(PixelSurface* surface, POINT origin, RECT clip) {
  if (!surface) return nullptr;
  Dc* dc = NewDc(false);
  dc->windowSurface = surface;
  dc->origin = origin;
  dc->clipRect = clip;
  return ToHandle<HDC>(dc);
}

void pl3::RetargetSurfaceDC(HDC handle, POINT origin, RECT clip) {
  Dc* dc = GetDc(handle);
  if (!dc || dc->memory) return;
  dc->origin = origin;
  dc->clipRect = clip;
  dc->visible.reset();
}

void pl3::DeleteSurfaceDC(HDC handle) {
  if (Dc* dc = GetDc(handle)) Destroy(dc);
}

void pl3::SetSurfaceDCVisibleRegion(HDC handle, HRGN region) {
  Dc* dc = GetDc(handle);
  if (!dc || dc->memory) return;
  RegionObject* r = GetRegionObject(region);
  if (r) {
    dc->visible = r->region;
  } else {
    dc->visible.reset();
  }
}

void pl3::SetScreenSize(int width, int height) {
  if (width <= 0 || height <= 0) return;
  System().screenWidth = width;
  System().screenHeight = height;
}

// ---------------------------------------------------------------------------
// Contexts

HDC CreateCompatibleDC(HDC) { return ToHandle<HDC>(NewDc(true)); }

BOOL DeleteDC(HDC handle) {
  Dc* dc = GetDc(handle);
  if (!dc) return FALSE;
  Destroy(dc);
  return TRUE;
}

int SaveDC(HDC handle) {
  Dc* dc = GetDc(handle);
  if (!dc) return 0;
  dc->saved.push_back(dc->st);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int level) {
  Dc* dc = GetDc(handle);
  if (!dc) return FALSE;
  const int depth = static_cast<int>(dc->saved.size());
  if (level < 0) level = depth + 1 + level;
  if (level < 1 || level > depth) return FALSE;
  DcState st = dc->saved[level - 1];
  dc->saved.resize(level - 1);
  if (st.bitmap != dc->st.bitmap) {
    if (st.bitmap && !st.bitmap->stock && st.bitmap->selectedIn && st.bitmap->selectedIn != dc) return FALSE;
    AdoptBitmap(*dc, dc->st.bitmap, st.bitmap);
  }
  dc->st = std::move(st);
  return TRUE;
}

int GetDeviceCaps(HDC handle, int index) {
  if (!GetDc(handle)) return 0;
  const SystemTables& s = System();
  switch (index) {
    case HORZRES: return s.screenWidth;
    case VERTRES: return s.screenHeight;
    case HORZSIZE: return s.screenWidth * 254 / 960;
    case VERTSIZE: return s.screenHeight * 254 / 960;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case SIZEPALETTE: return 0;
    case LOGPIXELSX: case LOGPIXELSY: return 96;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP;
    default: return 0;
  }
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ obj) {
  Dc* dc = GetDc(handle);
  Object* o = Lookup(obj);
  if (!dc || !o) return nullptr;
  switch (o->kind) {
    case Kind::kPen: return AsObj(std::exchange(dc->st.pen, static_cast<Pen*>(o)));
    case Kind::kBrush: return AsObj(std::exchange(dc->st.brush, static_cast<Brush*>(o)));
    case Kind::kFont: return AsObj(std::exchange(dc->st.font, static_cast<Font*>(o)));
    case Kind::kBitmap: {
      Bitmap* b = static_cast<Bitmap*>(o);
      if (!dc->memory) return nullptr;
      if (b == dc->st.bitmap) return obj;
      if (!b->stock && b->selectedIn) return nullptr;  // a bitmap lives in one context at a time
      Bitmap* old = dc->st.bitmap;
      AdoptBitmap(*dc, old, b);
      dc->st.bitmap = b;
      return AsObj(old);
    }
    default: return nullptr;
  }
}

HPEN SelectObject(HDC dc, HPEN pen) { return reinterpret_cast<HPEN>(SelectObject(dc, AsObj(pen))); }
HBRUSH SelectObject(HDC dc, HBRUSH brush) { return reinterpret_cast<HBRUSH>(SelectObject(dc, AsObj(brush))); }
HFONT SelectObject(HDC dc, HFONT font) { return reinterpret_cast<HFONT>(SelectObject(dc, AsObj(font))); }
HBITMAP SelectObject(HDC dc, HBITMAP bitmap) { return reinterpret_cast<HBITMAP>(SelectObject(dc, AsObj(bitmap))); }

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
  Dc* dc = GetDc(handle);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return AsObj(dc->st.pen);
    case OBJ_BRUSH: return AsObj(dc->st.brush);
    case OBJ_FONT: return AsObj(dc->st.font);
    case OBJ_BITMAP: return AsObj(dc->st.bitmap);
    case OBJ_PAL: return AsObj(dc->st.palette);
    default: return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ obj) {
  Object* o = Lookup(obj);
  if (!o || o->kind == Kind::kDc) return FALSE;
  if (o->stock) return TRUE;
  if (InUse(o)) return FALSE;
  if (o->kind == Kind::kBitmap && static_cast<Bitmap*>(o)->selectedIn) return FALSE;
  Destroy(o);
  return TRUE;
}

BOOL DeleteObject(HPEN obj) { return DeleteObject(AsObj(obj)); }
BOOL DeleteObject(HBRUSH obj) { return DeleteObject(AsObj(obj)); }
BOOL DeleteObject(HFONT obj) { return DeleteObject(AsObj(obj)); }
BOOL DeleteObject(HBITMAP obj) { return DeleteObject(AsObj(obj)); }
BOOL DeleteObject(HRGN obj) { return DeleteObject(AsObj(obj)); }
BOOL DeleteObject(HPALETTE obj) { return DeleteObject(AsObj(obj)); }

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index > DC_PEN) return nullptr;
  return AsObj(Stock().byIndex[index]);
}

DWORD GetObjectType(HGDIOBJ obj) {
  Object* o = Lookup(obj);
  if (!o) return 0;
  switch (o->kind) {
    case Kind::kPen: return OBJ_PEN;
    case Kind::kBrush: return OBJ_BRUSH;
    case Kind::kFont: return OBJ_FONT;
    case Kind::kBitmap: return OBJ_BITMAP;
    case Kind::kRegion: return OBJ_REGION;
    case Kind::kPalette: return OBJ_PAL;
    case Kind::kDc: return static_cast<Dc*>(o)->memory ? OBJ_MEMDC : OBJ_DC;
  }
  return 0;
}

int GetObjectA(HGDIOBJ obj, int size, void* out) {
  Object* o = Lookup(obj);
  if (!o) return 0;
  auto copyOut = [&](const void* src, int n) {
    if (!out) return n;
    if (size < n) return 0;
    std::memcpy(out, src, n);
    return n;
  };
  switch (o->kind) {
    case Kind::kPen: {
      const Pen* p = static_cast<Pen*>(o);
      LOGPEN lp{static_cast<UINT>(p->style), POINT{p->width, 0}, p->colour};
      return copyOut(&lp, sizeof lp);
    }
    case Kind::kBrush: {
      const Brush* b = static_cast<Brush*>(o);
      LOGBRUSH lb{b->style, b->colour, b->style == BS_HATCHED ? static_cast<std::uintptr_t>(b->hatch) : 0};
      return copyOut(&lb, sizeof lb);
    }
    case Kind::kFont: return copyOut(&static_cast<Font*>(o)->lf, sizeof(LOGFONTA));
    case Kind::kBitmap: {
      Bitmap* b = static_cast<Bitmap*>(o);
      DIBSECTION ds{};
      ds.dsBm = BITMAP{0, b->width, b->height, b->strideBytes, 1, static_cast<WORD>(b->bitsPerPixel),
                       b->isDib ? b->Bits() : nullptr};
      ds.dsBmih = b->header;
      if (b->isDib && out && size >= static_cast<int>(sizeof(DIBSECTION))) return copyOut(&ds, sizeof ds);
      return copyOut(&ds.dsBm, sizeof(BITMAP));
    }
    case Kind::kPalette: {
      WORD n = static_cast<WORD>(static_cast<Palette*>(o)->entries.size());
      return copyOut(&n, sizeof n);
    }
    default: return 0;
  }
}

// ---------------------------------------------------------------------------
// Attributes

#define PL3_DC_OR(handle, fail) \
  Dc* dc = GetDc(handle);       \
  if (!dc) return fail

namespace {

// Attribute accessors: the previous (or current) value, `fail` for a bad context.
template <class T>
T Exchange(HDC handle, T DcState::*field, T value, T fail) {
  Dc* dc = GetDc(handle);
  return dc ? std::exchange(dc->st.*field, value) : fail;
}

template <class T>
T Read(HDC handle, T DcState::*field, T fail) {
  Dc* dc = GetDc(handle);
  return dc ? dc->st.*field : fail;
}

}  // namespace

int SetROP2(HDC dc, int rop2) {
  return rop2 < R2_BLACK || rop2 > R2_WHITE ? 0 : Exchange(dc, &DcState::rop2, rop2, 0);
}
int GetROP2(HDC dc) { return Read(dc, &DcState::rop2, 0); }
int SetBkMode(HDC dc, int mode) {
  return mode != TRANSPARENT && mode != OPAQUE ? 0 : Exchange(dc, &DcState::bkMode, mode, 0);
}
int GetBkMode(HDC dc) { return Read(dc, &DcState::bkMode, 0); }
COLORREF SetBkColor(HDC dc, COLORREF c) { return Exchange(dc, &DcState::bkColour, c, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return Read(dc, &DcState::bkColour, CLR_INVALID); }
COLORREF SetTextColor(HDC dc, COLORREF c) { return Exchange(dc, &DcState::textColour, c, CLR_INVALID); }
COLORREF GetTextColor(HDC dc) { return Read(dc, &DcState::textColour, CLR_INVALID); }
int SetPolyFillMode(HDC dc, int mode) {
  return mode != ALTERNATE && mode != WINDING ? 0 : Exchange(dc, &DcState::fillMode, mode, 0);
}
int GetPolyFillMode(HDC dc) { return Read(dc, &DcState::fillMode, 0); }
UINT SetTextAlign(HDC dc, UINT align) { return Exchange(dc, &DcState::textAlign, align, 0xFFFFFFFFu); }
UINT GetTextAlign(HDC dc) { return Read(dc, &DcState::textAlign, 0xFFFFFFFFu); }
int SetStretchBltMode(HDC dc, int mode) {
  return mode < BLACKONWHITE || mode > HALFTONE ? 0 : Exchange(dc, &DcState::stretchMode, mode, 0);
}
int GetStretchBltMode(HDC dc) { return Read(dc, &DcState::stretchMode, 0); }
COLORREF SetDCBrushColor(HDC dc, COLORREF c) { return Exchange(dc, &DcState::dcBrushColour, c, CLR_INVALID); }
COLORREF SetDCPenColor(HDC dc, COLORREF c) { return Exchange(dc, &DcState::dcPenColour, c, CLR_INVALID); }

// ---------------------------------------------------------------------------
// Coordinates

namespace {

BOOL ChangeOrigin(HDC handle, POINT DcState::*field, int x, int y, bool relative, POINT* old) {
  PL3_DC_OR(handle, FALSE);
  POINT& p = dc->st.*field;
  return SetPoint(p, relative ? p.x + x : x, relative ? p.y + y : y, old);
}

BOOL ReadOrigin(HDC handle, POINT DcState::*field, POINT* out) {
  PL3_DC_OR(handle, FALSE);
  if (!out) return FALSE;
  *out = dc->st.*field;
  return TRUE;
}

// Adds sign * (viewport origin - window origin) to each point.
BOOL ShiftPoints(HDC handle, POINT* pts, int count, int sign) {
  PL3_DC_OR(handle, FALSE);
  if (!pts || count < 0) return FALSE;
  for (int i = 0; i < count; ++i) {
    pts[i].x += sign * (dc->st.viewportOrg.x - dc->st.windowOrg.x);
    pts[i].y += sign * (dc->st.viewportOrg.y - dc->st.windowOrg.y);
  }
  return TRUE;
}

}  // namespace

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old) {
  return ChangeOrigin(dc, &DcState::viewportOrg, x, y, false, old);
}
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old) {
  return ChangeOrigin(dc, &DcState::viewportOrg, dx, dy, true, old);
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old) { return ChangeOrigin(dc, &DcState::windowOrg, x, y, false, old); }
BOOL GetViewportOrgEx(HDC dc, POINT* out) { return ReadOrigin(dc, &DcState::viewportOrg, out); }
BOOL GetWindowOrgEx(HDC dc, POINT* out) { return ReadOrigin(dc, &DcState::windowOrg, out); }
BOOL LPtoDP(HDC dc, POINT* pts, int count) { return ShiftPoints(dc, pts, count, 1); }
BOOL DPtoLP(HDC dc, POINT* pts, int count) { return ShiftPoints(dc, pts, count, -1); }
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old) {
  return ChangeOrigin(dc, &DcState::brushOrg, x, y, false, old);
}

// ---------------------------------------------------------------------------
// Pens and brushes

HPEN CreatePen(int style, int width, COLORREF colour) {
  const int kind = style & PS_STYLE_MASK;
  if (kind > PS_INSIDEFRAME) return nullptr;
  Pen* p = new Pen;
  p->style = kind;
  p->width = std::max(width, 0);
  p->colour = colour;
  Register(p);
  return ToHandle<HPEN>(p);
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) return nullptr;
  return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF colour) {
  Brush* b = new Brush;
  b->colour = colour;
  Register(b);
  return ToHandle<HBRUSH>(b);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF colour) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
  Brush* b = new Brush;
  b->style = BS_HATCHED;
  b->hatch = hatch;
  b->colour = colour;
  Register(b);
  return ToHandle<HBRUSH>(b);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  switch (brush->lbStyle) {
    case BS_NULL: return reinterpret_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_SOLID: return CreateSolidBrush(brush->lbColor);
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
    default: return nullptr;
  }
}

// ---------------------------------------------------------------------------
// Clipping

int SelectClipRgn(HDC handle, HRGN rgn) { return ExtSelectClipRgn(handle, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC handle, HRGN rgn, int mode) {
  PL3_DC_OR(handle, ERROR);
  RegionObject* r = GetRegionObject(rgn);
  if (!r) {
    if (mode != RGN_COPY) return ERROR;
    dc->st.clip.reset();
    return ClipResult(*dc);
  }
  if (mode == RGN_COPY) {
    dc->st.clip = r->region;
    return ClipResult(*dc);
  }
  RegionOp op;
  switch (mode) {
    case RGN_AND: op = RegionOp::kAnd; break;
    case RGN_OR: op = RegionOp::kOr; break;
    case RGN_XOR: op = RegionOp::kXor; break;
    case RGN_DIFF: op = RegionOp::kDiff; break;
    default: return ERROR;
  }
  dc->st.clip = CombineRegions(CurrentClipOrAll(*dc), r->region, op);
  return ClipResult(*dc);
}

int GetClipRgn(HDC handle, HRGN out) {
  PL3_DC_OR(handle, -1);
  RegionObject* r = GetRegionObject(out);
  if (!r) return -1;
  if (!dc->st.clip) return 0;
  r->region = *dc->st.clip;
  return 1;
}

int GetClipBox(HDC handle, RECT* out) {
  PL3_DC_OR(handle, ERROR);
  if (!out) return ERROR;
  Region clip = EffectiveClip(*dc);
  *out = clip.Box();
  const POINT shift = SurfaceShift(*dc);
  if (!clip.Empty()) OffsetRect(out, -shift.x, -shift.y);
  return clip.Kind();
}

namespace {

int CombineClipRect(HDC handle, int left, int top, int right, int bottom, RegionOp op) {
  PL3_DC_OR(handle, ERROR);
  const RECT d = ToDevice(*dc, left, top, right, bottom);
  dc->st.clip = CombineRegions(CurrentClipOrAll(*dc), Region::FromRect(d.left, d.top, d.right, d.bottom), op);
  return ClipResult(*dc);
}

}  // namespace

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
  return CombineClipRect(dc, left, top, right, bottom, RegionOp::kDiff);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
  return CombineClipRect(dc, left, top, right, bottom, RegionOp::kAnd);
}

int OffsetClipRgn(HDC handle, int dx, int dy) {
  PL3_DC_OR(handle, ERROR);
  if (dc->st.clip) dc->st.clip->Offset(dx, dy);
  return ClipResult(*dc);
}

BOOL PtVisible(HDC handle, int x, int y) {
  PL3_DC_OR(handle, FALSE);
  const POINT p = ToSurface(*dc, x, y);
  return EffectiveClip(*dc).Contains(p.x, p.y);
}

BOOL RectVisible(HDC handle, const RECT* rc) {
  PL3_DC_OR(handle, FALSE);
  if (!rc) return FALSE;
  return EffectiveClip(*dc).Intersects(ToSurfaceRect(*dc, *rc));
}

// ---------------------------------------------------------------------------
// Palettes

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (!palette || palette->palVersion != 0x300) return nullptr;
  Palette* p = new Palette;
  p->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  Register(p);
  return ToHandle<HPALETTE>(p);
}

HPALETTE SelectPalette(HDC handle, HPALETTE palette, BOOL) {
  PL3_DC_OR(handle, nullptr);
  Palette* p = GetPalette(palette);
  if (!p) return nullptr;
  return ToHandle<HPALETTE>(std::exchange(dc->st.palette, p));
}

UINT RealizePalette(HDC handle) {
  PL3_DC_OR(handle, 0xFFFFFFFF);
  return 0;
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* out) {
  Palette* p = GetPalette(palette);
  if (!p) return 0;
  const UINT size = static_cast<UINT>(p->entries.size());
  if (!out) return size;
  if (start >= size) return 0;
  const UINT n = std::min(count, size - start);
  std::copy_n(p->entries.begin() + start, n, out);
  return n;
}

UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
  Palette* p = GetPalette(palette);
  if (!p || !entries || p->stock) return 0;
  const UINT size = static_cast<UINT>(p->entries.size());
  if (start >= size) return 0;
  const UINT n = std::min(count, size - start);
  std::copy_n(entries, n, p->entries.begin() + start);
  return n;
}

UINT GetSystemPaletteEntries(HDC handle, UINT start, UINT count, PALETTEENTRY* out) {
  PL3_DC_OR(handle, 0);
  constexpr UINT kSize = 256;
  if (!out) return kSize;
  if (start >= kSize) return 0;
  const std::vector<PALETTEENTRY>& statics = GetPalette(reinterpret_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)))->entries;
  const UINT n = std::min(count, kSize - start);
  for (UINT i = 0; i < n; ++i) {
    const UINT slot = start + i;
    out[i] = slot < 10 ? statics[slot] : slot >= kSize - 10 ? statics[slot - (kSize - 20)] : PALETTEENTRY{0, 0, 0, 0};
  }
  return n;
}

UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF colour) {
  Palette* p = GetPalette(palette);
  if (!p || p->entries.empty()) return CLR_INVALID;
  UINT best = 0;
  int bestDist = 1 << 30;
  for (UINT i = 0; i < p->entries.size(); ++i) {
    const PALETTEENTRY& e = p->entries[i];
    const int dr = e.peRed - GetRValue(colour), dg = e.peGreen - GetGValue(colour), db = e.peBlue - GetBValue(colour);
    const int dist = dr * dr + dg * dg + db * db;
    if (dist < bestDist) {
      bestDist = dist;
      best = i;
    }
  }
  return best;
}

COLORREF GetNearestColor(HDC handle, COLORREF colour) {
  PL3_DC_OR(handle, CLR_INVALID);
  return PixelToColour(ColourToPixel(*dc, colour));
}

// ---------------------------------------------------------------------------
// System colours and metrics

DWORD GetSysColor(int index) {
  if (index < 0 || index >= COLOR_COUNT) return 0;
  return System().colours[index];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= COLOR_COUNT) return nullptr;
  SystemTables& s = System();
  if (!s.brushes[index]) s.brushes[index] = StockBrush(BS_SOLID, s.colours[index]);
  return ToHandle<HBRUSH>(s.brushes[index]);
}

BOOL SetSysColors(int count, const INT* indexes, const COLORREF* colours) {
  if (count < 0 || (count > 0 && (!indexes || !colours))) return FALSE;
  SystemTables& s = System();
  for (int i = 0; i < count; ++i) {
    if (indexes[i] < 0 || indexes[i] >= COLOR_COUNT) continue;
    s.colours[indexes[i]] = colours[i] & 0x00FFFFFF;
    if (s.brushes[indexes[i]]) s.brushes[indexes[i]]->colour = s.colours[indexes[i]];
  }
  return TRUE;
}

int GetSystemMetrics(int index) { return MetricValue(index); }

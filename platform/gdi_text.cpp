// Fonts and text through FreeType.
//
// Face names map to installed TrueType files. Metrics and advances come from
// the font's own tables in font units, scaled with integer arithmetic, and
// glyphs are rendered without hinting with fixed load flags: a string
// measures the same on every run and machine with the same font files.
// Byte strings are read as Windows-1252.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_ADVANCES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/code_page.h"
#include "platform/gdi_internal.h"
#include "platform/text_case.h"

namespace pl3::gdi {
namespace {

// ---------------------------------------------------------------------------
// Face files

enum class Family { kSans, kSerif, kMono, kDejaVuSans, kDejaVuSerif, kDejaVuMono };

struct FamilyFiles {
  const char* regular;
  const char* bold;
  const char* italic;
  const char* boldItalic;
};

const FamilyFiles& FilesOf(Family f) {
  static const FamilyFiles kFiles[] = {
      {"liberation/LiberationSans-Regular.ttf", "liberation/LiberationSans-Bold.ttf",
       "liberation/LiberationSans-Italic.ttf", "liberation/LiberationSans-BoldItalic.ttf"},
      {"liberation/LiberationSerif-Regular.ttf", "liberation/LiberationSerif-Bold.ttf",
       "liberation/LiberationSerif-Italic.ttf", "liberation/LiberationSerif-BoldItalic.ttf"},
      {"liberation/LiberationMono-Regular.ttf", "liberation/LiberationMono-Bold.ttf",
       "liberation/LiberationMono-Italic.ttf", "liberation/LiberationMono-BoldItalic.ttf"},
      {"dejavu/DejaVuSans.ttf", "dejavu/DejaVuSans-Bold.ttf", "dejavu/DejaVuSans-Oblique.ttf",
       "dejavu/DejaVuSans-BoldOblique.ttf"},
      {"dejavu/DejaVuSerif.ttf", "dejavu/DejaVuSerif-Bold.ttf", "dejavu/DejaVuSerif-Italic.ttf",
       "dejavu/DejaVuSerif-BoldItalic.ttf"},
      {"dejavu/DejaVuSansMono.ttf", "dejavu/DejaVuSansMono-Bold.ttf", "dejavu/DejaVuSansMono-Oblique.ttf",
       "dejavu/DejaVuSansMono-BoldOblique.ttf"},
  };
  return kFiles[static_cast<int>(f)];
}

Family FamilyOf(const LOGFONTA& lf) {
  static const std::map<std::string, Family> kNames = {
      {"arial", Family::kSans},
      {"ms sans serif", Family::kSans},
      {"microsoft sans serif", Family::kSans},
      {"ms shell dlg", Family::kSans},
      {"ms shell dlg 2", Family::kSans},
      {"tahoma", Family::kSans},
      {"segoe ui", Family::kSans},
      {"helvetica", Family::kSans},
      {"system", Family::kSans},
      {"liberation sans", Family::kSans},
      {"times new roman", Family::kSerif},
      {"times", Family::kSerif},
      {"ms serif", Family::kSerif},
      {"liberation serif", Family::kSerif},
      {"courier new", Family::kMono},
      {"courier", Family::kMono},
      {"fixedsys", Family::kMono},
      {"terminal", Family::kMono},
      {"lucida console", Family::kMono},
      {"consolas", Family::kMono},
      {"liberation mono", Family::kMono},
      {"dejavu sans", Family::kDejaVuSans},
      {"dejavu serif", Family::kDejaVuSerif},
      {"dejavu sans mono", Family::kDejaVuMono},
  };
  const std::string name = LowerCopy(std::string_view(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)));
  if (auto it = kNames.find(name); it != kNames.end()) return it->second;
  if ((lf.lfPitchAndFamily & 3) == FIXED_PITCH || (lf.lfPitchAndFamily & 0xF0) == FF_MODERN) return Family::kMono;
  if ((lf.lfPitchAndFamily & 0xF0) == FF_ROMAN) return Family::kSerif;
  return Family::kSans;
}

constexpr const char* kFontRoot = "/usr/share/fonts/truetype/";

// ---------------------------------------------------------------------------
// FreeType state: the library, open faces and rendered glyphs. Kept for the
// whole run; none of it changes what a call returns.

struct Glyph {
  int left = 0;  // from the pen position to the bitmap's left column
  int top = 0;   // from the baseline up to the bitmap's top row
  int width = 0;
  int rows = 0;
  std::vector<std::uint8_t> coverage;
};

struct FontSystem {
  FT_Library library = nullptr;
  std::map<std::string, FT_Face> faces;
  std::map<std::tuple<FT_Face, int, int, bool, FT_UInt>, Glyph> glyphs;

  FontSystem() {
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
  }

  FT_Face Open(const std::string& path) {
    if (!library) return nullptr;
    if (auto it = faces.find(path); it != faces.end()) return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) face = nullptr;
    faces[path] = face;
    return face;
  }
};

FontSystem& Fonts() {
  static FontSystem fonts;
  return fonts;
}

// A font resolved to a face and pixel sizes.
struct Sized {
  FT_Face face = nullptr;
  int ppemX = 0;
  int ppemY = 0;
  int upem = 2048;
  bool mono = false;
  TEXTMETRICA tm{};
  int underlineOffset = 1;  // below the baseline
  int underlineThickness = 1;
  int strikeOffset = 0;  // above the baseline
};

// Outline fonts are made 2048 high; nothing larger is asked for.
constexpr int kMaxPixelsPerEm = 4096;

int Scale(long units, int ppem, int upem) { return static_cast<int>((units * ppem + upem / 2) / upem); }
int ScaleUp(long units, int ppem, int upem) { return static_cast<int>((units * ppem + upem - 1) / upem); }

FT_Face OpenFaceFor(const LOGFONTA& lf) {
  const bool bold = lf.lfWeight >= FW_SEMIBOLD;
  const bool italic = lf.lfItalic != 0;
  for (Family f : {FamilyOf(lf), Family::kDejaVuSans}) {
    const FamilyFiles& files = FilesOf(f);
    const char* name = bold ? (italic ? files.boldItalic : files.bold) : (italic ? files.italic : files.regular);
    if (FT_Face face = Fonts().Open(std::string(kFontRoot) + name)) return face;
    if (FT_Face face = Fonts().Open(std::string(kFontRoot) + files.regular)) return face;
  }
  return nullptr;
}

bool Resolve(const LOGFONTA& lf, Sized& out) {
  static std::map<std::tuple<std::string, int, int, int, int, int>, Sized> cache;
  const auto key = std::make_tuple(LowerCopy(std::string_view(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE))),
                                   static_cast<int>(lf.lfHeight), static_cast<int>(lf.lfWidth),
                                   static_cast<int>(lf.lfWeight), lf.lfItalic * 4 + lf.lfUnderline * 2 + lf.lfStrikeOut,
                                   lf.lfQuality * 256 + lf.lfPitchAndFamily);
  if (auto it = cache.find(key); it != cache.end()) {
    out = it->second;
    return out.face != nullptr;
  }
  Sized s;
  s.face = OpenFaceFor(lf);
  if (s.face) {
    FT_Face face = s.face;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    s.upem = face->units_per_EM ? face->units_per_EM : 2048;
    const long winAscent = os2 ? os2->usWinAscent : face->ascender;
    const long winDescent = os2 ? os2->usWinDescent : -face->descender;
    const long cell = std::max(winAscent + winDescent, 1L);
    int ppem = 0;
    if (lf.lfHeight < 0) {
      ppem = -lf.lfHeight;
    } else {
      const int cellPx = lf.lfHeight > 0 ? lf.lfHeight : 16;
      ppem = static_cast<int>((static_cast<long>(cellPx) * s.upem + cell / 2) / cell);
    }
    s.ppemY = std::clamp(ppem, 1, kMaxPixelsPerEm);
    const long avgUnits = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : s.upem / 2;
    s.ppemX = lf.lfWidth > 0 ? std::clamp(static_cast<int>((lf.lfWidth * s.upem + avgUnits / 2) / avgUnits), 1, kMaxPixelsPerEm)
                             : s.ppemY;
    s.mono = lf.lfQuality == NONANTIALIASED_QUALITY;
    TEXTMETRICA& tm = s.tm;
    tm.tmAscent = ScaleUp(winAscent, s.ppemY, s.upem);
    tm.tmDescent = Scale(winDescent, s.ppemY, s.upem);
    if (lf.lfHeight > 0 && lf.lfHeight >= tm.tmAscent) tm.tmDescent = lf.lfHeight - tm.tmAscent;
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - s.ppemY);
    const long lineGap = hhea ? (hhea->Ascender - hhea->Descender + hhea->Line_Gap) - cell : 0;
    tm.tmExternalLeading = std::max(0, Scale(lineGap, s.ppemY, s.upem));
    tm.tmAveCharWidth = Scale(avgUnits, s.ppemX, s.upem);
    tm.tmMaxCharWidth = Scale(face->bbox.xMax - face->bbox.xMin, s.ppemX, s.upem);
    tm.tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = lf.lfItalic;
    tm.tmUnderlined = lf.lfUnderline;
    tm.tmStruckOut = lf.lfStrikeOut;
    // Bit 0 set means variable pitch; 2 and 4 mark a scalable TrueType face.
    tm.tmPitchAndFamily = static_cast<BYTE>((FT_IS_FIXED_WIDTH(face) ? 0 : 1) | 2 | 4 | (lf.lfPitchAndFamily & 0xF0));
    tm.tmCharSet = lf.lfCharSet;
    s.underlineOffset = std::max(1, Scale(-face->underline_position, s.ppemY, s.upem));
    s.underlineThickness = std::max(1, Scale(face->underline_thickness, s.ppemY, s.upem));
    s.strikeOffset = os2 ? Scale(os2->yStrikeoutPosition, s.ppemY, s.upem) : tm.tmAscent / 3;
  }
  cache[key] = s;
  out = s;
  return s.face != nullptr;
}

bool ResolveDc(const Dc& dc, Sized& out) {
  const Font* font = dc.st.font ? dc.st.font : DefaultFont();
  return Resolve(font->lf, out);
}

FT_ULong CodePoint(unsigned char c) { return AnsiToCodePoint(c); }

int Advance(const Sized& s, unsigned char c) {
  static std::map<std::tuple<FT_Face, unsigned char>, FT_Fixed> units;
  const auto key = std::make_tuple(s.face, c);
  auto it = units.find(key);
  if (it == units.end()) {
    FT_Fixed adv = 0;
    const FT_UInt index = FT_Get_Char_Index(s.face, CodePoint(c));
    if (FT_Get_Advance(s.face, index, FT_LOAD_NO_SCALE, &adv) != 0) adv = 0;
    it = units.emplace(key, adv).first;
  }
  return Scale(static_cast<long>(it->second), s.ppemX, s.upem);
}

const Glyph& GlyphOf(const Sized& s, unsigned char c) {
  const FT_UInt index = FT_Get_Char_Index(s.face, CodePoint(c));
  auto& cache = Fonts().glyphs;
  const auto key = std::make_tuple(s.face, s.ppemX, s.ppemY, s.mono, index);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  Glyph g;
  FT_Int32 flags = FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
  if (s.mono) flags |= FT_LOAD_TARGET_MONO;
  if (FT_Set_Pixel_Sizes(s.face, s.ppemX, s.ppemY) == 0 && FT_Load_Glyph(s.face, index, flags) == 0 &&
      FT_Render_Glyph(s.face->glyph, s.mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0) {
    const FT_GlyphSlot slot = s.face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.rows = static_cast<int>(bm.rows);
    g.coverage.resize(static_cast<std::size_t>(g.width) * g.rows);
    for (int y = 0; y < g.rows; ++y) {
      const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
      for (int x = 0; x < g.width; ++x) {
        const std::uint8_t v = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (((row[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0)
                                                                   : row[x];
        g.coverage[static_cast<std::size_t>(y) * g.width + x] = v;
      }
    }
  }
  return cache.emplace(key, std::move(g)).first->second;
}

// ---------------------------------------------------------------------------
// Measuring and drawing one run of text

std::vector<int> Advances(const Sized& s, std::string_view text, const INT* dx) {
  std::vector<int> out(text.size());
  // Caller-given advances are held to a sane range so that sums stay in int.
  for (std::size_t i = 0; i < text.size(); ++i) {
    out[i] = dx ? std::clamp<INT>(dx[i], -65536, 65536) : Advance(s, static_cast<unsigned char>(text[i]));
  }
  return out;
}

int Width(const Sized& s, std::string_view text) {
  int w = 0;
  for (char c : text) w += Advance(s, static_cast<unsigned char>(c));
  return w;
}

std::uint32_t Blend(std::uint32_t d, std::uint32_t t, unsigned a) {
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const unsigned dc = (d >> shift) & 0xFF, tc = (t >> shift) & 0xFF;
    out |= ((dc * (255 - a) + tc * a + 127) / 255) << shift;
  }
  return out;
}

void DrawGlyph(PixelSurface& surf, const Region& clip, const Glyph& g, int x, int baseline, std::uint32_t colour) {
  const RECT box{x + g.left, baseline - g.top, x + g.left + g.width, baseline - g.top + g.rows};
  for (const RECT& c : clip.rects) {
    RECT part;
    if (!IntersectRect(&part, &c, &box)) continue;
    for (int y = part.top; y < part.bottom; ++y) {
      std::uint32_t* row = surf.pixels + static_cast<std::ptrdiff_t>(y) * surf.stride;
      const std::uint8_t* cov = g.coverage.data() + static_cast<std::size_t>(y - box.top) * g.width - box.left;
      for (int px = part.left; px < part.right; ++px) {
        const unsigned a = cov[px];
        if (a == 255) {
          row[px] = colour;
        } else if (a) {
          row[px] = Blend(row[px], colour, a);
        }
      }
    }
  }
}

void FillSurfaceRect(PixelSurface& s, const Region& clip, RECT rc, std::uint32_t pixel) {
  for (const RECT& c : clip.rects) {
    RECT part;
    if (!IntersectRect(&part, &c, &rc)) continue;
    for (int y = part.top; y < part.bottom; ++y) {
      std::fill_n(s.pixels + static_cast<std::ptrdiff_t>(y) * s.stride + part.left, part.right - part.left, pixel);
    }
  }
}

struct RunOptions {
  const RECT* opaqueRect = nullptr;  // surface pixels: filled with the background first
  const RECT* clipRect = nullptr;    // surface pixels: text stays inside
  bool cellBackground = false;       // fill the text's cell (OPAQUE background mode)
  int prefixIndex = -1;              // character to underline
  const INT* dx = nullptr;
};

struct RunColours {
  std::uint32_t text;
  std::uint32_t background;
};

// Draws text with its cell's top-left corner at (x, top) of a surface.
void DrawRunOn(PixelSurface& surf, Region clip, const Sized& s, std::string_view text, int x, int top,
               const RunOptions& opt, RunColours colours) {
  if (opt.opaqueRect) FillSurfaceRect(surf, clip, *opt.opaqueRect, colours.background);
  if (opt.clipRect) {
    clip = CombineRegions(clip, Region::FromRect(opt.clipRect->left, opt.clipRect->top, opt.clipRect->right,
                                                 opt.clipRect->bottom),
                          RegionOp::kAnd);
  }
  const std::vector<int> adv = Advances(s, text, opt.dx);
  int width = 0;
  for (int a : adv) width += a;
  if (opt.cellBackground) FillSurfaceRect(surf, clip, RECT{x, top, x + width, top + s.tm.tmHeight}, colours.background);
  const std::uint32_t colour = colours.text;
  const int baseline = top + s.tm.tmAscent;
  int pen = x;
  for (std::size_t i = 0; i < text.size(); ++i) {
    DrawGlyph(surf, clip, GlyphOf(s, static_cast<unsigned char>(text[i])), pen, baseline, colour);
    if (static_cast<int>(i) == opt.prefixIndex) {
      const int uy = baseline + s.underlineOffset;
      FillSurfaceRect(surf, clip, RECT{pen, uy, pen + adv[i], uy + s.underlineThickness}, colour);
    }
    pen += adv[i];
  }
  if (s.tm.tmUnderlined) {
    const int uy = baseline + s.underlineOffset;
    FillSurfaceRect(surf, clip, RECT{x, uy, pen, uy + s.underlineThickness}, colour);
  }
  if (s.tm.tmStruckOut) {
    const int sy = baseline - s.strikeOffset;
    FillSurfaceRect(surf, clip, RECT{x, sy, pen, sy + s.underlineThickness}, colour);
  }
}

RunColours ColoursOf(const Dc& dc) {
  return RunColours{ColourToPixel(dc, dc.st.textColour), ColourToPixel(dc, dc.st.bkColour)};
}

void DrawRun(Dc& dc, const Sized& s, std::string_view text, int x, int top, const RunOptions& opt) {
  if (PixelSurface* surf = TargetSurface(dc)) DrawRunOn(*surf, EffectiveClip(dc), s, text, x, top, opt, ColoursOf(dc));
}

// ---------------------------------------------------------------------------
// Rotated text (lfEscapement, tenths of a degree counter-clockwise)
//
// The run is drawn upright into a scratch surface that first receives the
// pixels it will land on, then each destination pixel takes the scratch
// pixel under its centre turned back. Quarter turns use exact integer
// arithmetic, so they move upright pixels one for one.

struct Rotation {
  int tenths;  // 0 to 3599
  double c;
  double s;
  bool quarter;
  int ic;  // cos and sin of a quarter turn
  int is;
};

Rotation RotationOf(int escapement) {
  Rotation r{};
  r.tenths = ((escapement % 3600) + 3600) % 3600;
  const double radians = r.tenths * 3.14159265358979323846 / 1800.0;
  r.c = std::cos(radians);
  r.s = std::sin(radians);
  r.quarter = r.tenths % 900 == 0;
  static const int kCos[4] = {1, 0, -1, 0}, kSin[4] = {0, 1, 0, -1};
  r.ic = kCos[r.tenths / 900 % 4];
  r.is = kSin[r.tenths / 900 % 4];
  return r;
}

long long FloorHalf(long long twice) { return twice >= 0 ? twice / 2 : -((-twice + 1) / 2); }

// The upright pixel (relative to the reference point) whose area holds the
// centre of destination pixel (dx, dy), also relative to the reference.
POINT UprightPixel(const Rotation& r, int dx, int dy) {
  if (r.quarter) {
    const long long a2 = 2LL * dx + 1, b2 = 2LL * dy + 1;
    return POINT{static_cast<LONG>(FloorHalf(a2 * r.ic - b2 * r.is)),
                 static_cast<LONG>(FloorHalf(a2 * r.is + b2 * r.ic))};
  }
  const double a = dx + 0.5, b = dy + 0.5;
  return POINT{static_cast<LONG>(std::floor(a * r.c - b * r.s)), static_cast<LONG>(std::floor(a * r.s + b * r.c))};
}

// The destination box (relative to the reference) that an upright box turns into.
RECT TurnedBox(const Rotation& r, const RECT& box) {
  double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
  for (double u : {static_cast<double>(box.left), static_cast<double>(box.right)})
    for (double v : {static_cast<double>(box.top), static_cast<double>(box.bottom)}) {
      const double x = u * r.c + v * r.s, y = -u * r.s + v * r.c;
      minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  // A pixel more each way for other angles, whose pixel centres round either way.
  const LONG margin = r.quarter ? 0 : 1;
  return RECT{static_cast<LONG>(std::floor(minX + 1e-9)) - margin, static_cast<LONG>(std::floor(minY + 1e-9)) - margin,
              static_cast<LONG>(std::ceil(maxX - 1e-9)) + margin, static_cast<LONG>(std::ceil(maxY - 1e-9)) + margin};
}

// (left, top): the upright cell's corner relative to the reference point `ref` (surface pixels).
void DrawTurnedRun(Dc& dc, const Sized& s, std::string_view text, POINT ref, int left, int top, RunOptions opt,
                   int escapement) {
  PixelSurface* surf = TargetSurface(dc);
  if (!surf) return;
  const RunColours colours = ColoursOf(dc);
  Region clip = EffectiveClip(dc);
  // The rectangle options of ExtTextOut stay unturned.
  if (opt.opaqueRect) FillSurfaceRect(*surf, clip, *opt.opaqueRect, colours.background);
  if (opt.clipRect) {
    clip = CombineRegions(
        clip, Region::FromRect(opt.clipRect->left, opt.clipRect->top, opt.clipRect->right, opt.clipRect->bottom),
        RegionOp::kAnd);
  }
  opt.opaqueRect = opt.clipRect = nullptr;
  // The upright box: the cell and every glyph's ink.
  const std::vector<int> adv = Advances(s, text, opt.dx);
  int pen = left;
  RECT box{left, top, left, top + s.tm.tmHeight};
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Glyph& g = GlyphOf(s, static_cast<unsigned char>(text[i]));
    const int baseline = top + s.tm.tmAscent;
    box.left = std::min<LONG>(box.left, std::min(pen, pen + g.left));
    box.right = std::max<LONG>(box.right, std::max(pen + adv[i], pen + g.left + g.width));
    box.top = std::min<LONG>(box.top, baseline - g.top);
    box.bottom = std::max<LONG>(box.bottom, baseline - g.top + g.rows);
    pen += adv[i];
  }
  box.left = std::min<LONG>(box.left, pen);
  box.right = std::max<LONG>(box.right, pen);
  const int w = box.right - box.left, h = box.bottom - box.top;
  if (w <= 0 || h <= 0) return;
  std::vector<std::uint32_t> scratch(static_cast<std::size_t>(w) * h, colours.background);
  const Rotation r = RotationOf(escapement);
  RECT turned = TurnedBox(r, box);
  OffsetRect(&turned, ref.x, ref.y);
  RECT onSurface{0, 0, surf->width, surf->height};
  if (!IntersectRect(&turned, &turned, &onSurface)) return;
  auto scratchIndex = [&](int x, int y) -> std::ptrdiff_t {
    const POINT u = UprightPixel(r, x - ref.x, y - ref.y);
    if (u.x < box.left || u.x >= box.right || u.y < box.top || u.y >= box.bottom) return -1;
    return static_cast<std::ptrdiff_t>(u.y - box.top) * w + (u.x - box.left);
  };
  for (int y = turned.top; y < turned.bottom; ++y)
    for (int x = turned.left; x < turned.right; ++x)
      if (const std::ptrdiff_t i = scratchIndex(x, y); i >= 0)
        scratch[i] = surf->pixels[static_cast<std::ptrdiff_t>(y) * surf->stride + x];
  const std::vector<std::uint32_t> before = scratch;
  PixelSurface upright{scratch.data(), w, h, w};
  DrawRunOn(upright, Region::FromRect(0, 0, w, h), s, text, left - box.left, top - box.top, opt, colours);
  for (const RECT& c : clip.rects) {
    RECT part;
    if (!IntersectRect(&part, &c, &turned)) continue;
    for (int y = part.top; y < part.bottom; ++y)
      for (int x = part.left; x < part.right; ++x)
        if (const std::ptrdiff_t i = scratchIndex(x, y); i >= 0 && scratch[i] != before[i])
          surf->pixels[static_cast<std::ptrdiff_t>(y) * surf->stride + x] = scratch[i];
  }
}

std::string_view TextOf(LPCSTR text, int count) {
  if (!text) return {};
  return count < 0 ? std::string_view(text) : std::string_view(text, static_cast<std::size_t>(count));
}


// ---------------------------------------------------------------------------
// DrawText layout

struct Line {
  std::string text;
  int prefixIndex = -1;
};

// Removes '&' prefixes: "&&" is a literal '&', "&x" underlines x.
Line StripPrefix(std::string_view in, bool underline) {
  Line line;
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '&' && i + 1 < in.size()) {
      ++i;
      if (in[i] != '&' && underline) line.prefixIndex = static_cast<int>(line.text.size());
    } else if (in[i] == '&') {
      continue;
    }
    line.text.push_back(in[i]);
  }
  return line;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string cur;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(cur);
      cur.clear();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      cur.push_back(text[i]);
    }
  }
  lines.push_back(cur);
  return lines;
}

// Breaks a line at blanks so that each piece fits `width` where it can; a
// word wider than the box stays whole on its own line.
std::vector<std::string> WrapLine(const Sized& s, const std::string& line, int width) {
  std::vector<std::string> out;
  std::string current;
  std::size_t pos = 0;
  while (pos <= line.size()) {
    std::size_t end = line.find(' ', pos);
    if (end == std::string::npos) end = line.size();
    const std::string word = line.substr(pos, end - pos);
    pos = end + 1;
    if (word.empty() && end < line.size()) continue;
    const std::string candidate = current.empty() ? word : current + " " + word;
    if (current.empty() || Width(s, candidate) <= width) {
      current = candidate;
    } else {
      out.push_back(current);
      current = word;
    }
  }
  out.push_back(current);
  return out;
}

std::string TrimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// Shortens a line that is wider than `width`, ending it (or, for paths,
// breaking its middle) with "...". Word ellipsis cuts after a whole word
// while one fits.
std::string Ellipsize(const Sized& s, const std::string& line, int width, UINT format) {
  if (Width(s, line) <= width) return line;
  const std::string dots = "...";
  if (format & DT_PATH_ELLIPSIS) {
    const std::size_t sep = line.find_last_of("\\/");
    if (sep != std::string::npos && sep > 0) {
      const std::string tail = line.substr(sep);
      for (std::size_t keep = sep; keep-- > 0;) {
        const std::string candidate = line.substr(0, keep) + dots + tail;
        if (Width(s, candidate) <= width) return candidate;
      }
      return Ellipsize(s, dots + tail, width, DT_END_ELLIPSIS);
    }
  }
  if (format & DT_WORD_ELLIPSIS) {
    for (std::size_t cut = line.rfind(' '); cut != std::string::npos && cut > 0; cut = line.rfind(' ', cut - 1)) {
      const std::string head = TrimRight(line.substr(0, cut));
      if (!head.empty() && Width(s, head + dots) <= width) return head + dots;
    }
  }
  for (std::size_t keep = line.size(); keep-- > 0;) {
    const std::string head = TrimRight(line.substr(0, keep));
    if (Width(s, head + dots) <= width) return head + dots;
  }
  return dots;
}

// ---------------------------------------------------------------------------
// Native outlines: FreeType's contours in the TrueType record form

// Font units to 16.16 at the font's pixel size, rounded to nearest.
POINTFX ToFixed(const Sized& s, FT_Vector v, int ppemX, int ppemY) {
  auto fix = [&](long units, int ppem) {
    const long long scaled = static_cast<long long>(units) * ppem * 65536;
    const long long half = s.upem / 2;
    const long long value = scaled >= 0 ? (scaled + half) / s.upem : -((-scaled + half) / s.upem);
    FIXED f;
    f.fract = static_cast<WORD>(value & 0xFFFF);
    f.value = static_cast<short>(value >> 16);
    return f;
  };
  return {fix(v.x, ppemX), fix(v.y, ppemY)};
}

void Append(std::vector<std::uint8_t>& out, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out.insert(out.end(), bytes, bytes + size);
}

struct CurveBuilder {
  std::vector<std::uint8_t>& out;
  std::size_t curveAt = 0;
  WORD type = 0;
  WORD count = 0;

  void Point(WORD wanted, const POINTFX& p) {
    if (count == 0 || type != wanted) Start(wanted);
    Append(out, &p, sizeof p);
    ++count;
    std::memcpy(out.data() + curveAt + 2, &count, 2);
  }
  void Start(WORD wanted) {
    curveAt = out.size();
    type = wanted;
    count = 0;
    const WORD head[2] = {wanted, 0};
    Append(out, head, sizeof head);
  }
  void End() { count = 0; }
};

// One contour as a polygon header and its curve records. The polygon starts
// on an on-curve point; a run of on-curve points is a line record and a run
// of off-curve points with the on-curve point ending it a quadratic record.
// The closing line back to the start is implied; a closing curve is written.
void AppendContour(std::vector<std::uint8_t>& out, const Sized& s, const FT_Outline& o, int first, int last,
                   int ppemX, int ppemY) {
  const int n = last - first + 1;
  if (n < 2) return;
  auto on = [&](int k) { return (FT_CURVE_TAG(o.tags[first + k]) & FT_CURVE_TAG_ON) != 0; };
  auto cubic = [&](int k) { return FT_CURVE_TAG(o.tags[first + k]) == FT_CURVE_TAG_CUBIC; };
  auto at = [&](int k) { return o.points[first + k]; };
  int start = -1;
  for (int k = 0; k < n; ++k)
    if (on(k)) {
      start = k;
      break;
    }
  FT_Vector startPoint;
  int begin = 0;  // the first point after the start, in contour order
  if (start < 0) {
    // Every point off the curve: the start is the implied midpoint of the last and first.
    startPoint = {(at(n - 1).x + at(0).x) / 2, (at(n - 1).y + at(0).y) / 2};
    begin = 0;
  } else {
    startPoint = at(start);
    begin = start + 1;
  }
  const std::size_t headerAt = out.size();
  TTPOLYGONHEADER header{0, TT_POLYGON_TYPE, ToFixed(s, startPoint, ppemX, ppemY)};
  Append(out, &header, sizeof header);
  CurveBuilder curve{out};
  const int steps = start < 0 ? n : n - 1;
  for (int j = 0; j < steps; ++j) {
    const int k = (begin + j) % n;
    const WORD type = on(k) ? TT_PRIM_LINE : (cubic(k) ? TT_PRIM_CSPLINE : TT_PRIM_QSPLINE);
    const bool afterCurve = curve.count > 0 && curve.type != TT_PRIM_LINE;
    if (on(k) && afterCurve) {
      curve.Point(curve.type, ToFixed(s, at(k), ppemX, ppemY));  // the curve's end point
      curve.End();
      continue;
    }
    curve.Point(type, ToFixed(s, at(k), ppemX, ppemY));
  }
  // A curve still open ends at the start point.
  if (curve.count > 0 && curve.type != TT_PRIM_LINE) curve.Point(curve.type, header.pfxStart);
  const DWORD cb = static_cast<DWORD>(out.size() - headerAt);
  std::memcpy(out.data() + headerAt, &cb, sizeof cb);
}

// Loads the glyph of a code point unscaled and unhinted; null when the face has none to give.
const FT_Outline* LoadOutline(const Sized& s, FT_ULong codePoint) {
  const FT_UInt index = FT_Get_Char_Index(s.face, codePoint);
  if (FT_Load_Glyph(s.face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return nullptr;
  if (s.face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return nullptr;
  return &s.face->glyph->outline;
}

// The glyph's contours in record form; `loaded` tells whether the face gave
// the glyph at all (its slot then holds the glyph's metrics).
std::vector<std::uint8_t> NativeOutline(const Sized& s, FT_ULong codePoint, bool& loaded) {
  std::vector<std::uint8_t> out;
  const FT_Outline* o = LoadOutline(s, codePoint);
  loaded = o != nullptr;
  if (!o) return out;
  int first = 0;
  for (int c = 0; c < o->n_contours; ++c) {
    const int last = o->contours[c];
    AppendContour(out, s, *o, first, last, s.ppemX, s.ppemY);
    first = last + 1;
  }
  return out;
}

}  // namespace

bool FontMetrics(Dc& dc, TEXTMETRICA* out) {
  Sized s;
  if (!ResolveDc(dc, s)) return false;
  *out = s.tm;
  return true;
}

}  // namespace pl3::gdi

using namespace pl3::gdi;
using pl3::PixelSurface;

// ---------------------------------------------------------------------------
// Fonts

HFONT CreateFontIndirectA(const LOGFONTA* lf) {
  if (!lf) return nullptr;
  Font* f = new Font;
  f->lf = *lf;
  f->lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  Register(f);
  return ToHandle<HFONT>(f);
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR face) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic != 0);
  lf.lfUnderline = static_cast<BYTE>(underline != 0);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

// ---------------------------------------------------------------------------
// Glyph outlines and exact widths

DWORD GetGlyphOutlineW(HDC handle, UINT ch, UINT format, GLYPHMETRICS* metrics, DWORD size, void* buffer,
                       const MAT2* matrix) {
  Dc* dc = GetDc(handle);
  Sized s;
  if (!dc || format != GGO_NATIVE || !matrix || !ResolveDc(*dc, s)) return GDI_ERROR;
  bool loaded = false;
  const std::vector<std::uint8_t> outline = NativeOutline(s, ch, loaded);
  if (metrics) *metrics = GLYPHMETRICS{};
  if (metrics && loaded) {
    const FT_Glyph_Metrics& m = s.face->glyph->metrics;
    metrics->gmBlackBoxX = static_cast<UINT>(Scale(m.width, s.ppemX, s.upem));
    metrics->gmBlackBoxY = static_cast<UINT>(Scale(m.height, s.ppemY, s.upem));
    metrics->gmptGlyphOrigin = {Scale(m.horiBearingX, s.ppemX, s.upem), Scale(m.horiBearingY, s.ppemY, s.upem)};
    metrics->gmCellIncX = static_cast<short>(Scale(m.horiAdvance, s.ppemX, s.upem));
  }
  if (!buffer || size == 0) return static_cast<DWORD>(outline.size());
  if (size < outline.size()) return GDI_ERROR;
  if (!outline.empty()) std::memcpy(buffer, outline.data(), outline.size());
  return static_cast<DWORD>(outline.size());
}

BOOL GetCharABCWidthsFloatA(HDC handle, UINT first, UINT last, ABCFLOAT* out) {
  Dc* dc = GetDc(handle);
  Sized s;
  if (!dc || !out || last < first || last > 0xFF || !ResolveDc(*dc, s)) return FALSE;
  const float scale = static_cast<float>(s.ppemX) / static_cast<float>(s.upem);
  for (UINT c = first; c <= last; ++c) {
    ABCFLOAT& abc = out[c - first];
    abc = ABCFLOAT{};
    if (!LoadOutline(s, CodePoint(static_cast<unsigned char>(c)))) continue;
    const FT_Glyph_Metrics& m = s.face->glyph->metrics;
    abc.abcfA = static_cast<float>(m.horiBearingX) * scale;
    abc.abcfB = static_cast<float>(m.width) * scale;
    abc.abcfC = static_cast<float>(m.horiAdvance - m.horiBearingX - m.width) * scale;
  }
  return TRUE;
}

// ---------------------------------------------------------------------------
// Enumeration

namespace {

struct CatalogueFace {
  const char* name;
  BYTE pitchAndFamily;
};

// Faces the mapping above knows by name, in name order.
constexpr CatalogueFace kCatalogue[] = {
    {"Arial", VARIABLE_PITCH | FF_SWISS},           {"Courier New", FIXED_PITCH | FF_MODERN},
    {"DejaVu Sans", VARIABLE_PITCH | FF_SWISS},     {"DejaVu Sans Mono", FIXED_PITCH | FF_MODERN},
    {"DejaVu Serif", VARIABLE_PITCH | FF_ROMAN},    {"Liberation Mono", FIXED_PITCH | FF_MODERN},
    {"Liberation Sans", VARIABLE_PITCH | FF_SWISS}, {"Liberation Serif", VARIABLE_PITCH | FF_ROMAN},
    {"MS Sans Serif", VARIABLE_PITCH | FF_SWISS},   {"Tahoma", VARIABLE_PITCH | FF_SWISS},
    {"Times New Roman", VARIABLE_PITCH | FF_ROMAN},
};

void CopyName(BYTE* out, std::size_t size, const std::string& name) {
  std::memset(out, 0, size);
  std::memcpy(out, name.data(), std::min(name.size(), size - 1));
}

}  // namespace

int EnumFontFamiliesExA(HDC, LOGFONTA* font, FONTENUMPROCA proc, LPARAM param, DWORD) {
  if (!font || !proc) return 0;
  if (font->lfCharSet != DEFAULT_CHARSET && font->lfCharSet != ANSI_CHARSET) return 1;
  const std::string asked(font->lfFaceName, strnlen(font->lfFaceName, LF_FACESIZE));
  struct Style {
    const char* name;
    LONG weight;
    BYTE italic;
    DWORD flags;
  };
  static const Style kStyles[] = {{"Regular", FW_NORMAL, 0, NTM_REGULAR},
                                  {"Bold", FW_BOLD, 0, NTM_BOLD},
                                  {"Italic", FW_NORMAL, 1, NTM_ITALIC},
                                  {"Bold Italic", FW_BOLD, 1, NTM_BOLD | NTM_ITALIC}};
  int result = 1;
  for (const CatalogueFace& face : kCatalogue) {
    if (!asked.empty() && !pl3::EqualsNoCase(asked, face.name)) continue;
    for (const Style& style : kStyles) {
      ENUMLOGFONTEXA elf{};
      LOGFONTA& lf = elf.elfLogFont;
      lf.lfWeight = style.weight;
      lf.lfItalic = style.italic;
      lf.lfCharSet = ANSI_CHARSET;
      lf.lfOutPrecision = 3;  // OUT_STROKE_PRECIS, as TrueType faces report
      lf.lfClipPrecision = 2;
      lf.lfQuality = 1;
      lf.lfPitchAndFamily = face.pitchAndFamily;
      std::strncpy(lf.lfFaceName, face.name, LF_FACESIZE - 1);
      const std::string full = style.flags == NTM_REGULAR ? face.name : std::string(face.name) + " " + style.name;
      CopyName(elf.elfFullName, sizeof elf.elfFullName, full);
      CopyName(elf.elfStyle, sizeof elf.elfStyle, style.name);
      CopyName(elf.elfScript, sizeof elf.elfScript, "Western");
      NEWTEXTMETRICEXA ntm{};
      Sized sized;
      if (Resolve(lf, sized)) {
        ntm.ntmTm.tm = sized.tm;
        ntm.ntmTm.ntmSizeEM = static_cast<UINT>(sized.upem);
        ntm.ntmTm.ntmCellHeight = static_cast<UINT>(sized.tm.tmHeight);
        ntm.ntmTm.ntmAvgWidth = static_cast<UINT>(sized.tm.tmAveCharWidth);
      }
      ntm.ntmTm.tm.tmPitchAndFamily = static_cast<BYTE>((face.pitchAndFamily & FIXED_PITCH ? 0 : 1) | 2 | 4 |
                                                        (face.pitchAndFamily & 0xF0));
      ntm.ntmTm.ntmFlags = style.flags;
      ntm.ntmFontSig.fsCsb[0] = 1;  // Latin 1
      result = proc(&elf.elfLogFont, &ntm.ntmTm.tm, TRUETYPE_FONTTYPE, param);
      if (result == 0) return 0;
      if (asked.empty()) break;  // one entry per family
    }
  }
  return result;
}

BOOL GetTextMetricsA(HDC handle, TEXTMETRICA* out) {
  Dc* dc = GetDc(handle);
  if (!dc || !out) return FALSE;
  return FontMetrics(*dc, out);
}

int GetTextFaceA(HDC handle, int size, LPSTR out) {
  Dc* dc = GetDc(handle);
  if (!dc) return 0;
  const Font* f = dc->st.font ? dc->st.font : DefaultFont();
  const int len = static_cast<int>(strnlen(f->lf.lfFaceName, LF_FACESIZE));
  if (!out) return len + 1;
  if (size <= 0) return 0;
  const int n = std::min(len, size - 1);
  std::memcpy(out, f->lf.lfFaceName, n);
  out[n] = '\0';
  return n;
}

BOOL GetTextExtentPoint32A(HDC handle, LPCSTR text, int count, SIZE* out) {
  Dc* dc = GetDc(handle);
  Sized s;
  if (!dc || !out || (count > 0 && !text) || !ResolveDc(*dc, s)) return FALSE;
  out->cx = Width(s, TextOf(text, std::max(count, 0)));
  out->cy = s.tm.tmHeight;
  return TRUE;
}

// ---------------------------------------------------------------------------
// Text output

BOOL ExtTextOutA(HDC handle, int x, int y, UINT options, const RECT* rc, LPCSTR text, UINT count, const INT* dx) {
  Dc* dc = GetDc(handle);
  Sized s;
  if (!dc || (count > 0 && !text) || !ResolveDc(*dc, s)) return FALSE;
  if (!TargetSurface(*dc)) return FALSE;
  const std::string_view str = TextOf(text, static_cast<int>(count));
  int width = 0;
  for (int a : Advances(s, str, dx)) width += a;
  const UINT align = dc->st.textAlign;
  if (align & TA_UPDATECP) {
    x = dc->st.position.x;
    y = dc->st.position.y;
  }
  long long left = x;
  if ((align & TA_CENTER) == TA_CENTER) {
    left = static_cast<long long>(x) - width / 2;
  } else if (align & TA_RIGHT) {
    left = static_cast<long long>(x) - width;
  }
  long long top = y;
  if ((align & TA_BASELINE) == TA_BASELINE) {
    top = static_cast<long long>(y) - s.tm.tmAscent;
  } else if (align & TA_BOTTOM) {
    top = static_cast<long long>(y) - s.tm.tmHeight;
  }
  const Font* font = dc->st.font ? dc->st.font : DefaultFont();
  const int escapement = font->lf.lfEscapement % 3600;
  if (align & TA_UPDATECP) {
    if ((align & TA_CENTER) != TA_CENTER) {
      // The current position moves along the (turned) baseline.
      const long long along = (align & TA_RIGHT) ? -width : width;
      const Rotation r = RotationOf(escapement);
      dc->st.position.x = ClampCoord(x + std::llround(along * r.c));
      dc->st.position.y = ClampCoord(y - std::llround(along * r.s));
    }
  }
  RECT surfaceRc{};
  if (rc) surfaceRc = ToSurfaceRect(*dc, *rc);
  RunOptions opt;
  opt.opaqueRect = (rc && (options & ETO_OPAQUE)) ? &surfaceRc : nullptr;
  opt.clipRect = (rc && (options & ETO_CLIPPED)) ? &surfaceRc : nullptr;
  opt.cellBackground = dc->st.bkMode == OPAQUE;
  opt.dx = dx;
  if (escapement != 0) {
    const POINT ref = ToSurface(*dc, x, y);
    DrawTurnedRun(*dc, s, str, ref, static_cast<int>(left - x), static_cast<int>(top - y), opt, escapement);
    return TRUE;
  }
  const POINT p = ToSurface(*dc, left, top);
  DrawRun(*dc, s, str, p.x, p.y, opt);
  return TRUE;
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutA(dc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

int DrawTextA(HDC handle, LPCSTR text, int count, RECT* rc, UINT format) {
  Dc* dc = GetDc(handle);
  Sized s;
  if (!dc || !rc || !text || !ResolveDc(*dc, s)) return 0;
  const std::string_view str = TextOf(text, count);
  const int boxWidth = ClampCoord(static_cast<long long>(rc->right) - rc->left);
  const int lineHeight = s.tm.tmHeight + ((format & DT_EXTERNALLEADING) ? s.tm.tmExternalLeading : 0);
  const bool ellipsis = format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS);

  std::vector<std::string> raw;
  if (format & DT_SINGLELINE) {
    raw.emplace_back(str);
    for (char& c : raw.back()) {
      if (c == '\r' || c == '\n') c = ' ';
    }
  } else {
    raw = SplitLines(str);
  }
  std::vector<Line> lines;
  for (const std::string& r : raw) {
    std::string expanded;
    for (char c : r) {
      if (c == '\t' && (format & DT_EXPANDTABS)) {
        expanded += "        ";
      } else {
        expanded.push_back(c);
      }
    }
    const bool prefixes = !(format & DT_NOPREFIX);
    Line stripped = prefixes ? StripPrefix(expanded, !(format & DT_HIDEPREFIX)) : Line{expanded, -1};
    std::vector<std::string> pieces;
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) pieces = WrapLine(s, stripped.text, boxWidth);
    if (pieces.size() > 1) {
      for (std::string& piece : pieces) lines.push_back(Line{std::move(piece), -1});
    } else {
      lines.push_back(std::move(stripped));  // unbroken: keeps its mnemonic underline
    }
  }
  int widest = 0;
  for (Line& line : lines) {
    if (ellipsis) {
      const std::string shortened = Ellipsize(s, line.text, boxWidth, format);
      if (shortened != line.text) line = Line{shortened, -1};
    }
    widest = std::max(widest, Width(s, line.text));
  }
  const int total = lineHeight * static_cast<int>(lines.size());
  if (format & DT_CALCRECT) {
    rc->right = ClampCoord(static_cast<long long>(rc->left) + widest);
    rc->bottom = ClampCoord(static_cast<long long>(rc->top) + total);
    return total;
  }
  long long top = rc->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) {
      top = rc->top + (static_cast<long long>(rc->bottom) - rc->top - lineHeight) / 2;
    } else if (format & DT_BOTTOM) {
      top = static_cast<long long>(rc->bottom) - lineHeight;
    }
  }
  if (!TargetSurface(*dc)) return 0;
  const RECT clipRc = ToSurfaceRect(*dc, *rc);
  for (const Line& line : lines) {
    const int w = Width(s, line.text);
    long long left = rc->left;
    if (format & DT_CENTER) {
      left = rc->left + (static_cast<long long>(boxWidth) - w) / 2;
    } else if (format & DT_RIGHT) {
      left = static_cast<long long>(rc->right) - w;
    }
    RunOptions opt;
    opt.clipRect = (format & DT_NOCLIP) ? nullptr : &clipRc;
    opt.cellBackground = dc->st.bkMode == OPAQUE;
    opt.prefixIndex = line.prefixIndex;
    const POINT p = ToSurface(*dc, left, top);
    DrawRun(*dc, s, line.text, p.x, p.y, opt);
    top += lineHeight;
  }
  if (format & (DT_VCENTER | DT_BOTTOM)) return static_cast<int>(std::clamp(top - rc->top, -kCoordLimit, kCoordLimit));
  return total;
}

// DrawEdge, DrawFrameControl and DrawState over the drawing calls.
#include "platform/frame_drawing.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/resource_images.h"
#include "platform/surface.h"

namespace {

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  if (right <= left || bottom <= top) return;
  const RECT rc{left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
}

COLORREF Sys(int index) { return GetSysColor(index); }

struct EdgeColours {
  int topLeft;
  int bottomRight;
};

// The colours of one layer (outer or inner) of an edge; false when the
// layer is not drawn.
bool LayerColours(UINT edge, UINT flags, bool outer, EdgeColours& out) {
  const UINT raised = outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
  const UINT sunken = outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
  if (!(edge & (raised | sunken))) return false;
  const bool soft = flags & BF_SOFT;
  if (flags & BF_MONO) out = outer ? EdgeColours{COLOR_WINDOWFRAME, COLOR_WINDOWFRAME} : EdgeColours{COLOR_WINDOW, COLOR_WINDOW};
  else if (flags & BF_FLAT) out = outer ? EdgeColours{COLOR_BTNSHADOW, COLOR_BTNSHADOW} : EdgeColours{COLOR_BTNFACE, COLOR_BTNFACE};
  else if (edge & raised)
    out = outer ? EdgeColours{soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW}
                : EdgeColours{soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
  else
    out = outer ? EdgeColours{soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}
                : EdgeColours{soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
  return true;
}

void DrawLayer(HDC dc, RECT& r, UINT flags, const EdgeColours& c) {
  if (flags & BF_TOP) Fill(dc, r.left, r.top, r.right, r.top + 1, Sys(c.topLeft));
  if (flags & BF_LEFT) Fill(dc, r.left, r.top, r.left + 1, r.bottom, Sys(c.topLeft));
  if (flags & BF_BOTTOM) Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, Sys(c.bottomRight));
  if (flags & BF_RIGHT) Fill(dc, r.right - 1, r.top, r.right, r.bottom, Sys(c.bottomRight));
  if (flags & BF_TOP) ++r.top;
  if (flags & BF_LEFT) ++r.left;
  if (flags & BF_BOTTOM) --r.bottom;
  if (flags & BF_RIGHT) --r.right;
}

// A window's outline, its title bar `t` pixels thicker.
void WindowBox(HDC dc, int left, int top, int size, int t, COLORREF colour) {
  Fill(dc, left, top, left + size, top + t + 1, colour);
  Fill(dc, left, top, left + 1, top + size, colour);
  Fill(dc, left + size - 1, top, left + size, top + size, colour);
  Fill(dc, left, top + size - 1, left + size, top + size, colour);
}

enum class Glyph { kClose, kMinimise, kMaximise, kRestore, kHelp, kUp, kDown, kLeft, kRight, kCheck, kBullet, kGrip };

// A glyph centred in `r`, sized from its smaller side.
void DrawGlyph(HDC dc, const RECT& r, Glyph glyph, COLORREF colour) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int s = std::min(w, h);
  if (s <= 2) return;
  const int cx = r.left + w / 2, cy = r.top + h / 2;
  const int g = std::max(2, s * 5 / 8);        // glyph box
  const int gl = cx - g / 2, gt = cy - g / 2;  // its corner
  const int t = std::max(1, s / 8);            // stroke
  switch (glyph) {
    case Glyph::kClose:
      for (int i = 0; i < g; ++i) {
        Fill(dc, gl + i, gt + i, gl + i + t + 1, gt + i + 1, colour);
        Fill(dc, gl + g - 1 - i - t, gt + i, gl + g - i, gt + i + 1, colour);
      }
      return;
    case Glyph::kMinimise: Fill(dc, gl, gt + g - t - 1, gl + g - g / 4, gt + g - 1, colour); return;
    case Glyph::kMaximise: WindowBox(dc, gl, gt, g, t, colour); return;
    case Glyph::kRestore: {
      const int b = g * 2 / 3;
      WindowBox(dc, gl + g - b, gt, b, t, colour);
      Fill(dc, gl, gt + g - b, gl + b, gt + g, Sys(COLOR_BTNFACE));  // the front window hides the back one
      WindowBox(dc, gl, gt + g - b, b, t, colour);
      return;
    }
    case Glyph::kHelp: {
      // A question mark: the hook's top, its right side, the turn back to the
      // middle, the stem and the dot.
      const int l = gl + g / 4, r2 = gl + g * 3 / 4, stem = cx - t / 2;
      Fill(dc, l, gt, r2, gt + t, colour);
      Fill(dc, l, gt, l + t, gt + g / 5 + t, colour);
      Fill(dc, r2 - t, gt, r2, gt + g / 2, colour);
      Fill(dc, stem, gt + g / 2 - t, r2, gt + g / 2, colour);
      Fill(dc, stem, gt + g / 2 - t, stem + t, gt + g * 3 / 4, colour);
      Fill(dc, stem, gt + g - t, stem + t, gt + g, colour);
      return;
    }
    case Glyph::kUp: case Glyph::kDown: case Glyph::kLeft: case Glyph::kRight: {
      // Lines of 1, 3, 5 ... pixels from the tip: a crisp triangle at any size.
      const int rows = std::max(2, s / 4 + 1);
      for (int k = 0; k < rows; ++k) {
        const int at = k - rows / 2;  // from the tip's side across the centre
        if (glyph == Glyph::kUp) Fill(dc, cx - k, cy + at, cx + k + 1, cy + at + 1, colour);
        if (glyph == Glyph::kDown) Fill(dc, cx - k, cy - at, cx + k + 1, cy - at + 1, colour);
        if (glyph == Glyph::kLeft) Fill(dc, cx + at, cy - k, cx + at + 1, cy + k + 1, colour);
        if (glyph == Glyph::kRight) Fill(dc, cx - at, cy - k, cx - at + 1, cy + k + 1, colour);
      }
      return;
    }
    case Glyph::kCheck: {
      // A tick: down from the left third, then up to the right edge.
      const int low = gt + g - 1 - t, knee = gl + g / 3;
      for (int x = gl; x < gl + g; ++x) {
        const int y = x <= knee ? low - (knee - x) : low - (x - knee) * (g - t) / std::max(1, gl + g - 1 - knee);
        Fill(dc, x, y, x + 1, y + t + 1, colour);
      }
      return;
    }
    case Glyph::kBullet: {
      const int d = std::max(2, s / 3);
      HPEN pen = CreatePen(PS_SOLID, 1, colour);
      HBRUSH brush = CreateSolidBrush(colour);
      HPEN oldPen = SelectObject(dc, pen);
      HBRUSH oldBrush = SelectObject(dc, brush);
      Ellipse(dc, cx - d / 2, cy - d / 2, cx - d / 2 + d, cy - d / 2 + d);
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
      DeleteObject(pen);
      DeleteObject(brush);
      return;
    }
    case Glyph::kGrip:
      for (int k = 1; k <= 3; ++k) {
        const int off = k * s / 4;
        for (int i = 0; i < off; ++i) {
          Fill(dc, r.right - off + i, r.bottom - 1 - i, r.right - off + i + 1, r.bottom - i, Sys(COLOR_BTNSHADOW));
          Fill(dc, r.right - off + i + 1, r.bottom - 1 - i, r.right - off + i + 2, r.bottom - i, Sys(COLOR_BTNHIGHLIGHT));
        }
      }
      return;
  }
}

// A glyph in the text colour, or embossed when inactive.
void DrawButtonGlyph(HDC dc, RECT r, Glyph glyph, UINT state, COLORREF colour) {
  if (state & DFCS_PUSHED) OffsetRect(&r, 1, 1);
  if (state & DFCS_INACTIVE) {
    RECT lower = r;
    OffsetRect(&lower, 1, 1);
    DrawGlyph(dc, lower, glyph, Sys(COLOR_BTNHIGHLIGHT));
    DrawGlyph(dc, r, glyph, Sys(COLOR_BTNSHADOW));
    return;
  }
  DrawGlyph(dc, r, glyph, colour);
}

// A push button's frame and face; returns its inside.
RECT PushFrame(HDC dc, RECT r, UINT state) {
  UINT flags = BF_RECT | BF_MIDDLE | BF_SOFT;
  if (state & DFCS_FLAT) flags = BF_RECT | BF_MIDDLE | BF_FLAT;
  if (state & DFCS_MONO) flags = BF_RECT | BF_MIDDLE | BF_MONO;
  DrawEdge(dc, &r, (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED, flags | BF_ADJUST);
  return r;
}

RECT CentredSquare(const RECT& r) {
  const int s = std::min(r.right - r.left, r.bottom - r.top);
  const int l = r.left + (r.right - r.left - s) / 2, t = r.top + (r.bottom - r.top - s) / 2;
  return RECT{l, t, l + s, t + s};
}

BOOL DrawCheckOrRadio(HDC dc, const RECT& rc, UINT state) {
  RECT box = CentredSquare(rc);
  const bool off = state & (DFCS_INACTIVE | DFCS_PUSHED);
  const COLORREF face = Sys(off ? COLOR_BTNFACE : COLOR_WINDOW);
  const COLORREF mark = Sys((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
  if (state & DFCS_BUTTONRADIO) {
    HPEN pen = CreatePen(PS_SOLID, 1, Sys(COLOR_BTNSHADOW));
    HBRUSH brush = CreateSolidBrush(face);
    HPEN oldPen = SelectObject(dc, pen);
    HBRUSH oldBrush = SelectObject(dc, brush);
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    if (state & DFCS_CHECKED) DrawGlyph(dc, box, Glyph::kBullet, mark);
    return TRUE;
  }
  DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST | ((state & DFCS_FLAT) ? BF_FLAT : 0) | ((state & DFCS_MONO) ? BF_MONO : 0));
  const bool third = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
  Fill(dc, box.left, box.top, box.right, box.bottom, third ? Sys(COLOR_BTNFACE) : face);
  if (state & DFCS_CHECKED) DrawGlyph(dc, box, Glyph::kCheck, third ? Sys(COLOR_BTNSHADOW) : mark);
  return TRUE;
}

}  // namespace

BOOL DrawEdge(HDC dc, RECT* rc, UINT edge, UINT flags) {
  if (!dc || !rc) return FALSE;
  RECT r = *rc;
  EdgeColours c;
  if (LayerColours(edge, flags, true, c)) DrawLayer(dc, r, flags, c);
  if (LayerColours(edge, flags, false, c)) DrawLayer(dc, r, flags, c);
  if (flags & BF_MIDDLE) Fill(dc, r.left, r.top, r.right, r.bottom, Sys((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
  if (flags & BF_ADJUST) *rc = r;
  return TRUE;
}

BOOL DrawFrameControl(HDC dc, RECT* rc, UINT type, UINT state) {
  if (!dc || !rc) return FALSE;
  const UINT kind = state & 0xFF;
  const COLORREF text = Sys(COLOR_BTNTEXT);
  switch (type) {
    case DFC_BUTTON:
      if (kind & DFCS_BUTTONPUSH) {
        const RECT inside = PushFrame(dc, *rc, state);
        if (state & DFCS_ADJUSTRECT) *rc = inside;
        return TRUE;
      }
      return DrawCheckOrRadio(dc, *rc, state);
    case DFC_CAPTION: {
      static const Glyph kGlyphs[] = {Glyph::kClose, Glyph::kMinimise, Glyph::kMaximise, Glyph::kRestore, Glyph::kHelp};
      if (kind > DFCS_CAPTIONHELP) return FALSE;
      DrawButtonGlyph(dc, PushFrame(dc, *rc, state), kGlyphs[kind], state, text);
      return TRUE;
    }
    case DFC_SCROLL: {
      if (kind == DFCS_SCROLLSIZEGRIP) {
        if (!(state & DFCS_TRANSPARENT)) Fill(dc, rc->left, rc->top, rc->right, rc->bottom, Sys(COLOR_BTNFACE));
        DrawGlyph(dc, *rc, Glyph::kGrip, text);
        return TRUE;
      }
      static const Glyph kArrows[] = {Glyph::kUp, Glyph::kDown, Glyph::kLeft, Glyph::kRight, Glyph::kDown, Glyph::kDown};
      if (kind > DFCS_SCROLLCOMBOBOX) return FALSE;
      DrawButtonGlyph(dc, PushFrame(dc, *rc, state), kArrows[kind], state, text);
      return TRUE;
    }
    case DFC_MENU: {
      // Black marks on white, as the menu code uses them for masks.
      if (!(state & DFCS_TRANSPARENT)) Fill(dc, rc->left, rc->top, rc->right, rc->bottom, RGB(255, 255, 255));
      const Glyph glyph = kind == DFCS_MENUCHECK ? Glyph::kCheck
                          : kind == DFCS_MENUBULLET ? Glyph::kBullet
                          : Glyph::kRight;
      DrawGlyph(dc, *rc, glyph, RGB(0, 0, 0));
      return TRUE;
    }
    default: return FALSE;
  }
}

namespace {

// The image of DrawState drawn black (or in its colours) on white into a
// scratch bitmap, and which of its pixels are ink.
struct Scratch {
  int cx;
  int cy;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap;
  HBITMAP old;
  std::vector<bool> ink;
  Scratch(int w, int h) : cx(w), cy(h), bitmap(CreateCompatibleBitmap(dc, w, h)), old(SelectObject(dc, bitmap)) {
    Fill(dc, 0, 0, w, h, RGB(255, 255, 255));
  }
  ~Scratch() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  std::uint32_t At(int x, int y) const {
    const pl3::PixelSurface* s = pl3::GetBitmapSurface(bitmap);
    return s->pixels[static_cast<std::ptrdiff_t>(y) * s->stride + x] & 0xFFFFFF;
  }
  // Ink: pixels darker than the middle grey.
  void InkFromDarkness() {
    ink.assign(static_cast<std::size_t>(cx) * cy, false);
    for (int y = 0; y < cy; ++y)
      for (int x = 0; x < cx; ++x) {
        const std::uint32_t p = At(x, y);
        ink[static_cast<std::size_t>(y) * cx + x] = ((p >> 16 & 0xFF) * 299 + (p >> 8 & 0xFF) * 587 + (p & 0xFF) * 114) < 128000;
      }
  }
};

void PaintInk(HDC dc, const Scratch& s, int x, int y, COLORREF colour) {
  for (int py = 0; py < s.cy; ++py)
    for (int px = 0; px < s.cx; ++px)
      if (s.ink[static_cast<std::size_t>(py) * s.cx + px]) SetPixel(dc, x + px, y + py, colour);
}

}  // namespace

BOOL DrawStateA(HDC dc, HBRUSH fore, DRAWSTATEPROC proc, LPARAM data, WPARAM dataSize, int x, int y, int cx, int cy,
                UINT flags) {
  if (!dc) return FALSE;
  const UINT type = flags & 0xF;
  const char* text = reinterpret_cast<const char*>(data);
  const int length = type == DST_TEXT || type == DST_PREFIXTEXT
                         ? (dataSize ? static_cast<int>(dataSize) : (text ? static_cast<int>(std::strlen(text)) : 0))
                         : 0;
  UINT textFormat = DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOCLIP | (type == DST_TEXT ? DT_NOPREFIX : 0) |
                    ((flags & DSS_HIDEPREFIX) ? DT_HIDEPREFIX : 0);
  if (cx == 0 || cy == 0) {
    SIZE size{0, 0};
    if (type == DST_TEXT || type == DST_PREFIXTEXT) {
      RECT measure{0, 0, 0, 0};
      if (text) DrawTextA(dc, text, length, &measure, textFormat | DT_CALCRECT);
      size = SIZE{measure.right, measure.bottom};
    } else if (type == DST_ICON) {
      pl3::IconPixels p{};
      if (!pl3::GetIconPixels(reinterpret_cast<HICON>(data), &p)) return FALSE;
      size = SIZE{p.width, p.height};
    } else if (type == DST_BITMAP) {
      BITMAP bm{};
      if (!GetObjectA(reinterpret_cast<HGDIOBJ>(data), sizeof bm, &bm)) return FALSE;
      size = SIZE{bm.bmWidth, bm.bmHeight};
    } else {
      size = SIZE{static_cast<LONG>(LOWORD(dataSize)), static_cast<LONG>(HIWORD(dataSize))};
    }
    if (!cx) cx = size.cx;
    if (!cy) cy = size.cy;
  }
  if (cx <= 0 || cy <= 0) return TRUE;
  Scratch s(cx, cy);
  // The image drawn as it normally looks, first into the scratch bitmap.
  auto drawInto = [&](HDC target, int ox, int oy) -> bool {
    switch (type) {
      case DST_TEXT: case DST_PREFIXTEXT: {
        if (!text) return false;
        RECT r{ox, oy, ox + cx, oy + cy};
        if (flags & DSS_RIGHT) textFormat = (textFormat & ~DT_LEFT) | DT_RIGHT;
        const int mode = SetBkMode(target, TRANSPARENT);
        DrawTextA(target, text, length, &r, textFormat);
        SetBkMode(target, mode);
        return true;
      }
      case DST_ICON: return DrawIconEx(target, ox, oy, reinterpret_cast<HICON>(data), cx, cy, 0, nullptr, DI_NORMAL);
      case DST_BITMAP: {
        HDC source = CreateCompatibleDC(nullptr);
        HBITMAP old = SelectObject(source, reinterpret_cast<HBITMAP>(data));
        const BOOL ok = BitBlt(target, ox, oy, cx, cy, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        return ok;
      }
      default: {
        if (!proc) return false;
        POINT oldOrigin{};
        OffsetViewportOrgEx(target, ox, oy, &oldOrigin);
        const BOOL ok = proc(target, data, dataSize, cx, cy);
        SetViewportOrgEx(target, oldOrigin.x, oldOrigin.y, nullptr);
        return ok;
      }
    }
  };
  const UINT look = flags & (DSS_UNION | DSS_DISABLED | DSS_MONO);
  if (look == DSS_NORMAL) return drawInto(dc, x, y) ? TRUE : FALSE;
  HFONT font = reinterpret_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
  HFONT oldFont = SelectObject(s.dc, font);
  SetTextColor(s.dc, (look & (DSS_DISABLED | DSS_MONO)) ? RGB(0, 0, 0) : GetTextColor(dc));
  const bool drawn = drawInto(s.dc, 0, 0);
  SelectObject(s.dc, oldFont);
  if (!drawn) return FALSE;
  s.InkFromDarkness();
  if (look & DSS_DISABLED) {
    PaintInk(dc, s, x + 1, y + 1, Sys(COLOR_BTNHIGHLIGHT));
    PaintInk(dc, s, x, y, Sys(COLOR_BTNSHADOW));
  } else if (look & DSS_MONO) {
    LOGBRUSH lb{};
    const COLORREF colour =
        fore && GetObjectA(reinterpret_cast<HGDIOBJ>(fore), sizeof lb, &lb) ? lb.lbColor : GetTextColor(dc);
    PaintInk(dc, s, x, y, colour);
  } else {  // DSS_UNION: the image's own colours on every other pixel
    for (int py = 0; py < cy; ++py)
      for (int px = 0; px < cx; ++px)
        if (((px + py) & 1) == 0 && s.At(px, py) != 0xFFFFFF) {
          const std::uint32_t p = s.At(px, py);
          SetPixel(dc, x + px, y + py, RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF));
        }
  }
  return TRUE;
}

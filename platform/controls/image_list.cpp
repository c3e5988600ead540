// Image lists and the drag image that moves over the screen.
#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "platform/commctrl.h"
#include "platform/kernel_base.h"
#include "platform/reset_hooks.h"
#include "platform/resource_images.h"
#include "platform/surface.h"

namespace {

using Pixels = std::vector<std::uint32_t>;  // 0xAARRGGBB, straight alpha, top row first

struct ImageListRecord {
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
  COLORREF background = CLR_NONE;
  std::vector<Pixels> images;
};

struct DragState {
  bool active = false;
  Pixels image;
  int cx = 0;
  int cy = 0;
  POINT hotSpot{};
  HWND lock = nullptr;
  POINT origin{};  // the lock window's corner on the screen
  POINT at{};      // the pointer, relative to the origin
  bool shown = false;
  HBITMAP saved = nullptr;  // what lies under the image while shown
  POINT savedAt{};
};

struct ImageLists {
  std::map<std::uintptr_t, ImageListRecord> records;
  std::uintptr_t next = 0x1000;
  DragState drag;
};

ImageLists& Lists() {
  static ImageLists lists;
  return lists;
}

void HideDragImage();

const bool kRegistered = pl3::RegisterGlobalReset([] {
  HideDragImage();
  if (Lists().drag.saved) DeleteObject(Lists().drag.saved);
  Lists() = ImageLists{};
});

ImageListRecord* Find(HIMAGELIST list) {
  auto it = Lists().records.find(reinterpret_cast<std::uintptr_t>(list));
  if (it == Lists().records.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return &it->second;
}

bool ValidIndex(const ImageListRecord& r, int index) {
  return index >= 0 && index < static_cast<int>(r.images.size());
}

UINT Depth(const ImageListRecord& r) {
  const UINT d = r.flags & 0xFE;
  return d == ILC_COLOR || d == ILC_COLORDDB ? ILC_COLOR24 : d;
}

// The sixteen standard colours a 4-bit list keeps.
constexpr std::array<std::uint32_t, 16> kStandardColours = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

std::uint32_t NearestStandard(std::uint32_t rgb) {
  std::uint32_t best = 0;
  int bestDistance = 1 << 30;
  for (std::uint32_t c : kStandardColours) {
    int d = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const int delta = static_cast<int>((rgb >> shift) & 0xFF) - static_cast<int>((c >> shift) & 0xFF);
      d += delta * delta;
    }
    if (d < bestDistance) {
      bestDistance = d;
      best = c;
    }
  }
  return best;
}

// Takes an opaque colour to the list's depth.
std::uint32_t ToDepth(const ImageListRecord& r, std::uint32_t rgb) {
  switch (Depth(r)) {
    case ILC_COLOR4: return NearestStandard(rgb);
    case ILC_COLOR16: {
      std::uint32_t out = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t c = (rgb >> shift) & 0xF8;
        out |= (c | (c >> 5)) << shift;
      }
      return out;
    }
    default: return rgb;
  }
}

// The bitmap's pixels top row first (0xAARRGGBB as stored), with its size.
bool ReadBitmap(HBITMAP bitmap, Pixels& out, int& width, int& height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  if (!bitmap || !GetDIBits(nullptr, bitmap, 0, 0, nullptr, &info, DIB_RGB_COLORS)) return false;
  width = info.bmiHeader.biWidth;
  height = std::abs(info.bmiHeader.biHeight);
  info.bmiHeader.biHeight = -height;
  out.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  return GetDIBits(nullptr, bitmap, 0, static_cast<UINT>(height), out.data(), &info, DIB_RGB_COLORS) == height;
}

bool HasAlpha(const Pixels& p) {
  return std::any_of(p.begin(), p.end(), [](std::uint32_t v) { return (v >> 24) != 0; });
}

// Appends one image per strip of `colours`; `transparent(x, y)` tells the
// masked pixels. Returns the first new index.
template <typename Transparent>
int AddStrips(ImageListRecord& r, const Pixels& colours, int width, int height, Transparent transparent) {
  if (width < r.cx || height < r.cy) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  const bool keepAlpha = Depth(r) == ILC_COLOR32 && HasAlpha(colours);
  const int first = static_cast<int>(r.images.size());
  for (int left = 0; left + r.cx <= width; left += r.cx) {
    Pixels image(static_cast<std::size_t>(r.cx) * static_cast<std::size_t>(r.cy));
    for (int y = 0; y < r.cy; ++y)
      for (int x = 0; x < r.cx; ++x) {
        const std::uint32_t v = colours[static_cast<std::size_t>(y) * width + left + x];
        std::uint32_t out = ToDepth(r, v & 0xFFFFFF) | (keepAlpha ? v & 0xFF000000 : 0xFF000000);
        if ((r.flags & ILC_MASK) && transparent(left + x, y)) out = 0;
        image[static_cast<std::size_t>(y) * r.cx + x] = out;
      }
    r.images.push_back(std::move(image));
  }
  return first;
}

// The image with its alpha multiplied in, tinted for a blend style, with the
// background colour under it for ILD_NORMAL.
Pixels Prepared(const ImageListRecord& r, const Pixels& image, UINT style) {
  Pixels out(image.size());
  const std::uint32_t tint = [] {
    const COLORREF c = GetSysColor(COLOR_HIGHLIGHT);
    return static_cast<std::uint32_t>(GetRValue(c)) << 16 | static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
  }();
  const int tintShare = (style & ILD_BLEND50) ? 128 : (style & ILD_BLEND25) ? 64 : 0;
  const bool fill = !(style & ILD_TRANSPARENT) && r.background != CLR_NONE;
  const std::uint32_t back = static_cast<std::uint32_t>(GetRValue(r.background)) << 16 |
                             static_cast<std::uint32_t>(GetGValue(r.background)) << 8 | GetBValue(r.background);
  for (std::size_t i = 0; i < image.size(); ++i) {
    std::uint32_t v = image[i];
    int a = static_cast<int>(v >> 24);
    if (style & ILD_MASK) {
      out[i] = 0xFF000000 | (a ? 0 : 0xFFFFFF);
      continue;
    }
    std::uint32_t pixel = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      int c = static_cast<int>((v >> shift) & 0xFF);
      if (tintShare) c = (c * (256 - tintShare) + static_cast<int>((tint >> shift) & 0xFF) * tintShare) / 256;
      c = c * a / 255;
      if (fill) c += static_cast<int>((back >> shift) & 0xFF) * (255 - a) / 255;
      pixel |= static_cast<std::uint32_t>(c) << shift;
    }
    out[i] = pixel | (static_cast<std::uint32_t>(fill ? 255 : a) << 24);
  }
  return out;
}

BOOL BlendPixels(HDC dc, const Pixels& premultiplied, int cx, int cy, int x, int y) {
  return pl3::BlendPremultipliedPixels(dc, premultiplied.data(), cx, cy, x, y);
}

// ---- The drag image ----

RECT DragRect(const DragState& d) {
  const int left = d.origin.x + d.at.x - d.hotSpot.x, top = d.origin.y + d.at.y - d.hotSpot.y;
  return RECT{left, top, left + d.cx, top + d.cy};
}

void HideDragImage() {
  DragState& d = Lists().drag;
  if (!d.shown) return;
  d.shown = false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  auto old = SelectObject(memory, d.saved);
  BitBlt(screen, d.savedAt.x, d.savedAt.y, d.cx, d.cy, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

void ShowDragImage() {
  DragState& d = Lists().drag;
  if (d.shown || !d.active) return;
  const RECT at = DragRect(d);
  HDC screen = GetDC(nullptr);
  if (!d.saved) d.saved = CreateCompatibleBitmap(screen, d.cx, d.cy);
  HDC memory = CreateCompatibleDC(screen);
  auto old = SelectObject(memory, d.saved);
  BitBlt(memory, 0, 0, d.cx, d.cy, screen, at.left, at.top, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ImageListRecord plain{d.cx, d.cy, ILC_COLOR32, CLR_NONE, {}};
  BlendPixels(screen, Prepared(plain, d.image, ILD_TRANSPARENT), d.cx, d.cy, at.left, at.top);
  ReleaseDC(nullptr, screen);
  d.savedAt = POINT{at.left, at.top};
  d.shown = true;
}

POINT WindowOrigin(HWND lock) {
  RECT rc{};
  if (lock) GetWindowRect(lock, &rc);
  return POINT{rc.left, rc.top};
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
  if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096 || initial < 0 || grow < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ImageLists& lists = Lists();
  const std::uintptr_t handle = lists.next++;
  ImageListRecord& r = lists.records[handle];
  r.cx = cx;
  r.cy = cy;
  r.flags = flags;
  r.images.reserve(static_cast<std::size_t>(std::min(initial, 4096)));
  return reinterpret_cast<HIMAGELIST>(handle);
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  if (!Find(list)) return FALSE;
  Lists().records.erase(reinterpret_cast<std::uintptr_t>(list));
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
  ImageListRecord* r = Find(list);
  return r ? static_cast<int>(r->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
  ImageListRecord* r = Find(list);
  if (!r || !cx || !cy) return FALSE;
  *cx = r->cx;
  *cy = r->cy;
  return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
  ImageListRecord* r = Find(list);
  Pixels colours, maskBits;
  int w = 0, h = 0, mw = 0, mh = 0;
  if (!r || !ReadBitmap(image, colours, w, h)) return -1;
  const bool masked = mask && ReadBitmap(mask, maskBits, mw, mh);
  return AddStrips(*r, colours, w, h, [&](int x, int y) {
    return masked && x < mw && y < mh && (maskBits[static_cast<std::size_t>(y) * mw + x] & 0xFFFFFF) != 0;
  });
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF key) {
  ImageListRecord* r = Find(list);
  Pixels colours;
  int w = 0, h = 0;
  if (!r || !ReadBitmap(image, colours, w, h)) return -1;
  const std::uint32_t rgb = static_cast<std::uint32_t>(GetRValue(key)) << 16 |
                            static_cast<std::uint32_t>(GetGValue(key)) << 8 | GetBValue(key);
  return AddStrips(*r, colours, w, h, [&](int x, int y) {
    return (colours[static_cast<std::size_t>(y) * w + x] & 0xFFFFFF) == rgb;
  });
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
  ImageListRecord* r = Find(list);
  pl3::IconPixels source{};
  if (!r || (index != -1 && !ValidIndex(*r, index)) || !pl3::GetIconPixels(icon, &source)) {
    if (r) SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  Pixels image(static_cast<std::size_t>(r->cx) * static_cast<std::size_t>(r->cy));
  const bool keepAlpha = Depth(*r) == ILC_COLOR32;
  for (int y = 0; y < r->cy; ++y)
    for (int x = 0; x < r->cx; ++x) {
      const std::uint32_t v = source.pixels[static_cast<std::size_t>(y * source.height / r->cy) * source.width +
                                            static_cast<std::size_t>(x * source.width / r->cx)];
      const std::uint32_t a = v >> 24;
      // Below 32 bits an icon's half-transparent edge becomes all or nothing.
      const std::uint32_t alpha = keepAlpha ? a : (a >= 128 ? 255 : 0);
      image[static_cast<std::size_t>(y) * r->cx + x] = alpha ? (ToDepth(*r, v & 0xFFFFFF) | alpha << 24) : 0;
    }
  if (index == -1) {
    r->images.push_back(std::move(image));
    return static_cast<int>(r->images.size()) - 1;
  }
  r->images[static_cast<std::size_t>(index)] = std::move(image);
  return index;
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
  ImageListRecord* r = Find(list);
  if (!r) return FALSE;
  if (index == -1) {
    r->images.clear();
    return TRUE;
  }
  if (!ValidIndex(*r, index)) return FALSE;
  r->images.erase(r->images.begin() + index);
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF colour) {
  ImageListRecord* r = Find(list);
  if (!r) return CLR_NONE;
  return std::exchange(r->background, colour);
}

COLORREF ImageList_GetBkColor(HIMAGELIST list) {
  ImageListRecord* r = Find(list);
  return r ? r->background : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
  ImageListRecord* r = Find(list);
  if (!r || !ValidIndex(*r, index)) return FALSE;
  return BlendPixels(dc, Prepared(*r, r->images[static_cast<std::size_t>(index)], style), r->cx, r->cy, x, y);
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT) {
  ImageListRecord* r = Find(list);
  if (!r || !ValidIndex(*r, index)) return nullptr;
  return pl3::CreateIconFromPixels(r->images[static_cast<std::size_t>(index)].data(), r->cx, r->cy);
}

BOOL ImageList_BeginDrag(HIMAGELIST list, int index, int dxHotspot, int dyHotspot) {
  ImageListRecord* r = Find(list);
  if (!r || !ValidIndex(*r, index)) return FALSE;
  ImageList_EndDrag();
  DragState& d = Lists().drag;
  d.active = true;
  d.image = r->images[static_cast<std::size_t>(index)];
  d.cx = r->cx;
  d.cy = r->cy;
  d.hotSpot = POINT{dxHotspot, dyHotspot};
  return TRUE;
}

BOOL ImageList_DragEnter(HWND lock, int x, int y) {
  DragState& d = Lists().drag;
  if (!d.active || (lock && !IsWindow(lock))) return FALSE;
  HideDragImage();
  d.lock = lock;
  d.origin = WindowOrigin(lock);
  d.at = POINT{x, y};
  ShowDragImage();
  return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
  DragState& d = Lists().drag;
  if (!d.active) return FALSE;
  const bool shown = d.shown;
  HideDragImage();
  d.at = POINT{x, y};
  if (shown) ShowDragImage();
  return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL show) {
  if (!Lists().drag.active) return FALSE;
  if (show) ShowDragImage();
  else HideDragImage();
  return TRUE;
}

BOOL ImageList_DragLeave(HWND) {
  if (!Lists().drag.active) return FALSE;
  HideDragImage();
  return TRUE;
}

void ImageList_EndDrag() {
  HideDragImage();
  DragState& d = Lists().drag;
  if (d.saved) DeleteObject(d.saved);
  d = DragState{};
}

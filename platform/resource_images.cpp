// Icons, cursors and bitmaps from resources; DrawIconEx.
#include "platform/resource_images.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/kernel_base.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"

namespace {

struct IconRecord {
  int width = 0;
  int height = 0;
  POINT hot{0, 0};
  bool cursor = false;
  bool shared = false;
  std::vector<std::uint32_t> pixels;  // top-down 0xAARRGGBB, straight alpha
};

struct IconTable {
  std::map<std::uintptr_t, IconRecord> records;
  std::map<std::string, std::uintptr_t> shared;  // module, type, name and size of each shared load
  // Above every standard cursor number, so a handle never reads as a shape.
  std::uintptr_t next = 0x40000;
};

IconTable& Icons() {
  static IconTable table;
  return table;
}

[[maybe_unused]] const bool kResetRegistered = pl3::RegisterGlobalReset([] {
  const std::uintptr_t next = Icons().next;
  Icons() = IconTable{};
  Icons().next = next;
});

IconRecord* FindIcon(const void* handle) {
  auto it = Icons().records.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == Icons().records.end() ? nullptr : &it->second;
}

std::uintptr_t AddIcon(IconRecord record) {
  const std::uintptr_t h = Icons().next;
  Icons().next += 4;
  Icons().records.emplace(h, std::move(record));
  return h;
}

std::uint32_t ReadU32(const BYTE* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24); }
std::uint16_t ReadU16(const BYTE* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

struct Bytes {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

Bytes ResourceBytes(HMODULE module, LPCSTR name, LPCSTR type) {
  HRSRC found = FindResourceA(module, name, type);
  if (!found) return {};
  return Bytes{static_cast<const BYTE*>(LockResource(LoadResource(module, found))), SizeofResource(module, found)};
}

// Nearest-pixel scaling of top-down pixels.
std::vector<std::uint32_t> Scale(const std::vector<std::uint32_t>& from, int w, int h, int cx, int cy) {
  if (cx == w && cy == h) return from;
  std::vector<std::uint32_t> out(static_cast<std::size_t>(cx) * cy);
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x)
      out[static_cast<std::size_t>(y) * cx + x] =
          from[static_cast<std::size_t>((2LL * y + 1) * h / (2LL * cy)) * w + (2LL * x + 1) * w / (2LL * cx)];
  return out;
}

// A 32-bit DIB (header, then rows bottom row first) as top-down pixels; an
// icon image's header gives twice its height (the mask rows follow).
bool DecodeDib32(Bytes b, bool iconImage, IconRecord& out) {
  if (b.size < 40 || ReadU32(b.data) < 40) return false;
  const std::uint32_t headerSize = ReadU32(b.data);
  const auto width = static_cast<std::int32_t>(ReadU32(b.data + 4));
  const auto height = static_cast<std::int32_t>(ReadU32(b.data + 8)) / (iconImage ? 2 : 1);
  if (ReadU16(b.data + 14) != 32 || width < 1 || height < 1 || width > 1024 || height > 1024) return false;
  const std::size_t bytes = static_cast<std::size_t>(width) * height * 4;
  if (headerSize > b.size || b.size - headerSize < bytes) return false;
  out.width = width;
  out.height = height;
  out.pixels.resize(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    std::memcpy(&out.pixels[static_cast<std::size_t>(height - 1 - y) * width],
                b.data + headerSize + static_cast<std::size_t>(y) * width * 4, static_cast<std::size_t>(width) * 4);
  return true;
}

struct GroupChoice {
  unsigned id = 0;
  int width = 0;
  int height = 0;
};

// The group's entry of the asked size: exact, else the largest smaller one,
// else the smallest. Entries are 14 bytes after the six-byte header.
bool ChooseFromGroup(Bytes group, bool cursor, int cx, int cy, GroupChoice& out) {
  if (group.size < 6) return false;
  const unsigned count = ReadU16(group.data + 4);
  if (group.size < 6 + 14ull * count || count == 0) return false;
  std::vector<GroupChoice> all;
  for (unsigned i = 0; i < count; ++i) {
    const BYTE* e = group.data + 6 + 14 * i;
    GroupChoice c;
    if (cursor) {
      c = GroupChoice{ReadU16(e + 12), ReadU16(e), ReadU16(e + 2) / 2};
    } else {
      c = GroupChoice{ReadU16(e + 12), e[0] ? e[0] : 256, e[1] ? e[1] : 256};
    }
    if (c.width == cx && c.height == cy) {
      out = c;
      return true;
    }
    all.push_back(c);
  }
  const GroupChoice* best = nullptr;
  for (const GroupChoice& c : all)
    if (c.width <= cx && (!best || c.width > best->width)) best = &c;
  if (!best)
    for (const GroupChoice& c : all)
      if (!best || c.width < best->width) best = &c;
  out = *best;
  return true;
}

HANDLE LoadIconOrCursor(HMODULE module, LPCSTR name, bool cursor, int cx, int cy, UINT flags) {
  const Bytes group = ResourceBytes(module, name, cursor ? RT_GROUP_CURSOR : RT_GROUP_ICON);
  if (!group.data) return nullptr;  // FindResource set the error
  const int system = GetSystemMetrics(cursor ? SM_CXCURSOR : SM_CXICON);
  GroupChoice choice;
  if (!ChooseFromGroup(group, cursor, cx ? cx : system, cy ? cy : system, choice)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  Bytes image = ResourceBytes(module, MAKEINTRESOURCE(choice.id), cursor ? RT_CURSOR : RT_ICON);
  IconRecord record;
  record.cursor = cursor;
  if (image.data && cursor && image.size >= 4) {
    record.hot = POINT{ReadU16(image.data), ReadU16(image.data + 2)};
    image.data += 4;
    image.size -= 4;
  }
  if (!image.data || !DecodeDib32(image, true, record)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const bool sized = cx || cy || (flags & LR_DEFAULTSIZE);
  if (sized) {
    const int w = cx ? cx : system, h = cy ? cy : system;
    record.hot = POINT{static_cast<LONG>(record.hot.x * w / record.width), static_cast<LONG>(record.hot.y * h / record.height)};
    record.pixels = Scale(record.pixels, record.width, record.height, w, h);
    record.width = w;
    record.height = h;
  }
  record.shared = (flags & LR_SHARED) != 0;
  return reinterpret_cast<HANDLE>(AddIcon(std::move(record)));
}

HBITMAP MakeDib(const std::vector<std::uint32_t>& pixels, int w, int h) {
  return pl3::CreateDibFromPixels(pixels.data(), w, h);
}

// A packed DIB resource (header, 32-bit rows bottom row first) as a DIB section.
HBITMAP LoadBitmapResource(HMODULE module, LPCSTR name, int cx, int cy) {
  const Bytes b = ResourceBytes(module, name, RT_BITMAP);
  if (!b.data) return nullptr;
  IconRecord image;
  if (!DecodeDib32(b, false, image)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const int w = cx ? cx : image.width, h = cy ? cy : image.height;
  return MakeDib(Scale(image.pixels, image.width, image.height, w, h), w, h);
}

std::string SharedKey(HMODULE module, LPCSTR name, UINT type, int cx, int cy) {
  std::string key = std::to_string(reinterpret_cast<std::uintptr_t>(module)) + "/" + std::to_string(type) + "/" +
                    std::to_string(cx) + "x" + std::to_string(cy) + "/";
  if (IS_INTRESOURCE(name)) return key + "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
  return key + pl3::LowerCopy(name);
}

// The stock icons: a disc (a square for the application) in the icon's colour
// with a white mark in the middle, on transparent corners.
HICON StockIcon(unsigned id) {
  static const std::map<unsigned, std::uint32_t> kColours = {
      {32512, 0xFF3A6EA5}, {32513, 0xFFD03030}, {32514, 0xFF2A64C8}, {32515, 0xFFE8B020},
      {32516, 0xFF2A64C8}, {32517, 0xFF3A6EA5}, {32518, 0xFF2A64C8}};
  auto colour = kColours.find(id);
  if (colour == kColours.end()) return nullptr;
  const std::string key = "stock/" + std::to_string(id);
  auto found = Icons().shared.find(key);
  if (found != Icons().shared.end()) return reinterpret_cast<HICON>(found->second);
  IconRecord r;
  r.width = r.height = 32;
  r.shared = true;
  r.pixels.resize(32 * 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int dx = 2 * x - 31, dy = 2 * y - 31;
      const bool inside = id == 32512 || id == 32517 ? (x >= 2 && x < 30 && y >= 4 && y < 28) : dx * dx + dy * dy <= 30 * 30;
      const bool mark = x >= 14 && x < 18 && y >= 8 && y < 24 && !(y >= 19 && y < 21);
      r.pixels[y * 32 + x] = !inside ? 0 : mark ? 0xFFFFFFFF : colour->second;
    }
  const std::uintptr_t h = AddIcon(std::move(r));
  Icons().shared[key] = h;
  return reinterpret_cast<HICON>(h);
}

bool DestroyIconRecord(const void* handle) {
  IconRecord* r = FindIcon(handle);
  if (!r) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  if (!r->shared) Icons().records.erase(reinterpret_cast<std::uintptr_t>(handle));
  return true;
}

}  // namespace

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if (!name || cx < 0 || cy < 0 || type > IMAGE_CURSOR) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (type == IMAGE_BITMAP && (flags & LR_LOADFROMFILE)) {
    HBITMAP loaded = IS_INTRESOURCE(name) ? nullptr : pl3::LoadImageAsBitmap(name);
    if (!loaded) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return nullptr;
    }
    return loaded;
  }
  HMODULE module = pl3::ResolveModule(instance);
  if (type == IMAGE_BITMAP) return LoadBitmapResource(module, name, cx, cy);
  const bool shared = (flags & LR_SHARED) != 0;
  const std::string key = shared ? SharedKey(module, name, type, cx, cy) : std::string();
  if (shared) {
    auto it = Icons().shared.find(key);
    if (it != Icons().shared.end() && FindIcon(reinterpret_cast<void*>(it->second)))
      return reinterpret_cast<HANDLE>(it->second);
  }
  HANDLE made = LoadIconOrCursor(module, name, type == IMAGE_CURSOR, cx, cy, flags);
  if (made && shared) Icons().shared[key] = reinterpret_cast<std::uintptr_t>(made);
  return made;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (!instance && IS_INTRESOURCE(name)) {
    if (HICON stock = StockIcon(static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(name)))) return stock;
  }
  return static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) {
  return static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, 0));
}

HCURSOR pl3::LoadCursorResource(HINSTANCE instance, LPCSTR name) {
  return static_cast<HCURSOR>(LoadImageA(instance, name, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

BOOL DestroyIcon(HICON icon) { return DestroyIconRecord(icon) ? TRUE : FALSE; }
BOOL DestroyCursor(HCURSOR cursor) { return DestroyIconRecord(cursor) ? TRUE : FALSE; }

bool pl3::GetIconPixels(HICON icon, IconPixels* out) {
  const IconRecord* r = FindIcon(icon);
  if (!r || !out) return false;
  *out = IconPixels{r->width, r->height, r->hot, r->pixels.data()};
  return true;
}

HICON pl3::CreateIconFromPixels(const std::uint32_t* pixels, int width, int height) {
  if (!pixels || width <= 0 || height <= 0 || width > 4096 || height > 4096) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  IconRecord r;
  r.width = width;
  r.height = height;
  r.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  return reinterpret_cast<HICON>(AddIcon(std::move(r)));
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH flickerFree, UINT flags) {
  const IconRecord* r = FindIcon(icon);
  if (!r) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const int system = GetSystemMetrics(r->cursor ? SM_CXCURSOR : SM_CXICON);
  if (!cx) cx = (flags & DI_DEFAULTSIZE) ? system : r->width;
  if (!cy) cy = (flags & DI_DEFAULTSIZE) ? system : r->height;
  if (cx < 0 || cy < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (flickerFree) {
    const RECT rc{x, y, x + cx, y + cy};
    FillRect(dc, &rc, flickerFree);
  }
  // Premultiplied pixels of what the flags ask for, blended in one call.
  std::vector<std::uint32_t> pixels = Scale(r->pixels, r->width, r->height, cx, cy);
  for (std::uint32_t& p : pixels) {
    const std::uint32_t a = p >> 24;
    if ((flags & DI_NORMAL) == DI_IMAGE) p |= 0xFF000000;
    else if ((flags & DI_NORMAL) == DI_MASK) p = a ? 0xFF000000 : 0;
    else
      p = (a << 24) | (((p >> 16 & 0xFF) * a + 127) / 255 << 16) | (((p >> 8 & 0xFF) * a + 127) / 255 << 8) |
          ((p & 0xFF) * a + 127) / 255;
  }
  return pl3::BlendPremultipliedPixels(dc, pixels.data(), cx, cy, x, y);
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE); }

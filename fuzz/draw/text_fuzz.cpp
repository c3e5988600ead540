// Texts and fonts come from files: a text record and a font made of any
// bytes must measure (SetStringBox, GetTextExtent, GetTextEntityBox) and
// draw (RenderTextEntity, in the mode the first byte picks) without a crash
// and without reading past any record.
//
// Input: byte 0 picks the mode and the window kind; the next 104 bytes are
// the text record's fixed part; then a length byte and that many string
// bytes; the rest describes the font, as records of
//   character, child kind (bounding box, character info, metrics, polygon,
//   glyph outline, by the byte modulo 5), u16 length, payload bytes,
// each stored under the character's record (made on first use).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "draw/text_layout.h"
#include "draw/text_render.h"
#include "edit/window_data.h"
#include "geometry/glyph_fonts.h"
#include "geometry/raster_state.h"
#include "objects/graphic_records.h"
#include "platform/gdi.h"
#include "platform/responder.h"
#include "platform/surface.h"
#include "store/tower.h"

namespace {

constexpr int kSide = 64;
constexpr std::uint8_t kModes[] = {0, 1, 2, 5, 8, 9, 10, 11, 3, 7};
constexpr std::uint16_t kChildCodes[] = {Type_BoundingBox, Type_CharacterInfo, Type_CharacterAdvance, 4,
                                         Type_GlyphOutline};

struct Reader {
  const std::uint8_t* p;
  std::size_t left;
  bool Take(void* out, std::size_t n) {
    if (left < n) return false;
    if (n == 0) return true;
    std::memcpy(out, p, n);
    p += n;
    left -= n;
    return true;
  }
};

// The font: a Font entity whose character records hold the described
// children, font 3 (and 2, which modes 3 to 7 and 11 draw font 3 with).
Tower* BuildFont(Reader& in) {
  Tower* font = NewTower(0);
  LastLevel(font).typeCode = Type_Font;
  InsertAtLastLevel(font, 0);
  Tower* glyphs[256] = {};
  std::uint8_t head[4];
  std::vector<std::uint8_t> payload;
  while (in.Take(head, sizeof head)) {
    const std::uint16_t length = static_cast<std::uint16_t>(head[2] | head[3] << 8) % 4096;
    payload.assign(length, 0);
    in.Take(payload.data(), std::min<std::size_t>(length, in.left));
    Tower*& glyph = glyphs[head[0]];
    if (!glyph) glyph = InsertEmptyEntity(font, static_cast<std::uint16_t>(Type_Glyph + head[0]));
    Tower* child = InsertEntity(glyph, length, kChildCodes[head[1] % 5], payload.data());
    ReleaseTower(&child);
  }
  for (Tower*& g : glyphs) ReleaseTower(&g);
  SetFontRecord(3, TowerEntity(font));
  SetFontRecord(2, TowerEntity(font));
  return font;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!RootGroup()) InitTowerStore();
  pl3::ClearResponderRecords();
  Reader in{data, size};
  std::uint8_t pick = 0;
  std::uint8_t fixed[offsetof(TextPayload, text)] = {};
  std::uint8_t length = 0;
  if (!in.Take(&pick, 1) || !in.Take(fixed, sizeof fixed) || !in.Take(&length, 1)) return 0;
  // The text record as the store keeps it: the fixed part, the string, its NUL.
  std::vector<std::uint8_t> record(TextStoredSize(length), 0);
  std::memcpy(record.data(), fixed, sizeof fixed);
  in.Take(record.data() + sizeof fixed, std::min<std::size_t>(length, in.left));
  record.back() = 0;
  auto* text = reinterpret_cast<TextPayload*>(record.data());
  Tower* font = BuildFont(in);

  CurrentWindowData w((pick & 0x80) ? kEditorSchematic : kEditorPcb);
  std::vector<std::uint32_t> colours(65536, 0x404040);
  w.ColourTable = colours.data();
  w.Zoom = 1u + (pick & 0x70) * 100000u;
  for (auto& l : w.layerTable.layers) l.planeBit = 1;
  ActiveWindowData = &w;
  UpdateViewGlobals();
  std::vector<std::uint32_t> pixels(kSide * kSide), plane(kSide * kSide);
  pl3::ViewClip clip{0, 0, kSide - 1, kSide - 1, kSide, kSide};
  pl3::g_raster.clip = &clip;
  pl3::g_raster.plane = plane.data();
  pl3::g_raster.width = kSide;
  pl3::g_raster.height = kSide;
  pl3::PixelSurface surface{pixels.data(), kSide, kSide, kSide};
  HDC dc = pl3::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, kSide, kSide});

  SetStringBox(text);
  GetTextExtent(text, nullptr);
  pl3::Box box;
  GetTextEntityBox(text, &box);
  RenderTextEntity(dc, text, kModes[(pick & 0x0F) % sizeof kModes], &pl3::kIdentityTransform);

  FreeCollectedTextPolygons();
  pl3::DeleteSurfaceDC(dc);
  pl3::g_raster.clip = nullptr;
  pl3::g_raster.plane = nullptr;
  ActiveWindowData = nullptr;
  SetFontRecord(2, nullptr);
  SetFontRecord(3, nullptr);
  DeleteEntity(font);
  ReleaseTower(&font);
  return 0;
}

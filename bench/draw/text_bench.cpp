// Drawing 10,000 characters of text, 100 lines of 100, into the layer plane
// of a 1000 x 1700 view: RenderTextEntity with the converted outline font of
// "Arial" (filled glyph triangles through the raster kernel), against
// TextOut of the same lines through the platform's FreeType text in the same
// face at the same cell height (16 pixels), whole pixels both sides. The
// counter "x_textout" is how many times slower the plane text is.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench/draw/bench_view.h"
#include "draw/text_layout.h"
#include "draw/text_render.h"
#include "geometry/glyph_fonts.h"
#include "objects/graphic_records.h"
#include "store/node_pool.h"
#include "store/tower.h"

namespace {

constexpr int kLines = 100;
constexpr int kCellPixels = 16;
constexpr std::uint32_t kZoom = 1000;

std::string Line(int n) {
  static const char kText[] = "The quick brown fox jumps over the lazy dog 0123456789 ";
  std::string s;
  for (int i = 0; s.size() < 100; ++i) s += kText[(i + n) % (sizeof kText - 1)];
  return s;
}

// The cell height of the font in font units: the Character Info of 'A'.
std::uint32_t CellHeight(std::uint32_t font) {
  const Entity* f = FontRecordOf(font);
  for (const TypeGroup* g = f ? NodeAt<TypeGroup>(f->firstChild) : nullptr; g; g = NodeAt<TypeGroup>(g->next)) {
    if (g->typeCode != Type_Glyph + 'A') continue;
    const Entity* glyph = NodeAt<Entity>(g->firstChild);
    for (const TypeGroup* c = NodeAt<TypeGroup>(glyph->firstChild); c; c = NodeAt<TypeGroup>(c->next)) {
      if (c->typeCode != Type_CharacterInfo) continue;
      std::uint32_t height;
      std::memcpy(&height, EntityPayload(NodeAt<Entity>(c->firstChild)), sizeof height);
      return height;
    }
  }
  return 0;
}

void BM_RenderTextEntityAgainstTextOut(benchmark::State& state) {
  InitTowerStore();
  FontRecordsTower = NewTower(0);
  LastLevel(FontRecordsTower).typeCode = 305;
  InsertAtLastLevel(FontRecordsTower, 0);
  const std::uint32_t font = CreateTrueTypeFont("Arial", 0);
  const std::uint32_t cell = CellHeight(font);
  if (cell == 0) {
    state.SkipWithError("the outline font could not be made (is Liberation Sans installed?)");
    return;
  }
  drawbench::View v(1000, 1700, kZoom);
  v.w->layerTable.layers[1].flags = 0x3;

  // One text record per line, the height in font scale so that the cell is
  // 16 pixels: font units x height / 2^24 = world units, 1,000 to a pixel.
  std::vector<std::vector<std::uint8_t>> records;
  std::vector<std::string> lines;
  for (int i = 0; i < kLines; ++i) {
    lines.push_back(Line(i));
    std::vector<std::uint8_t> bytes(TextStoredSize(static_cast<std::uint32_t>(lines.back().size())), 0);
    auto* t = reinterpret_cast<TextPayload*>(bytes.data());
    t->head.layer = 1;
    t->size = static_cast<std::int32_t>(std::uint64_t{kCellPixels} * kZoom * (std::uint64_t{1} << 24) / cell);
    std::memcpy(t->bytes52, &font, sizeof font);
    t->justification = kTextLeft | kTextTop | kTextHeightScaled;
    t->textTransform = pl3::kIdentityTransform;
    t->textTransform.tx = 10 * kZoom;
    t->textTransform.ty = (10 + kCellPixels * i) * kZoom;
    std::memcpy(t->text, lines.back().c_str(), lines.back().size() + 1);
    SetStringBox(t);
    records.push_back(std::move(bytes));
  }
  const auto plane = [&] {
    for (auto& r : records) RenderTextEntity(nullptr, reinterpret_cast<TextPayload*>(r.data()), 1, nullptr);
  };
  for (auto _ : state) plane();

  HFONT face = CreateFontA(kCellPixels, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Arial");
  HFONT old = SelectObject(v.dc, face);
  SetBkMode(v.dc, TRANSPARENT);
  SetTextColor(v.dc, RGB(0, 0, 1));
  const auto textOut = [&] {
    for (int i = 0; i < kLines; ++i)
      TextOutA(v.dc, 10, 10 + kCellPixels * i, lines[static_cast<std::size_t>(i)].c_str(),
               static_cast<int>(lines[static_cast<std::size_t>(i)].size()));
  };
  const double ours = drawbench::SecondsPerCall(plane, 20);
  const double theirs = drawbench::SecondsPerCall(textOut, 20);
  SelectObject(v.dc, old);
  DeleteObject(face);
  state.counters["x_textout"] = ours / theirs;
  state.counters["characters"] = kLines * 100;
}
BENCHMARK(BM_RenderTextEntityAgainstTextOut)->Unit(benchmark::kMillisecond);

}  // namespace

// Converting an outline face on first use, while the user waits:
//   CreateTrueTypeFontVsDecompose   CreateTrueTypeFont of "Arial" (Liberation
//                                   Sans: 256 glyphs parsed, flattened,
//                                   tessellated and stored), against FreeType
//                                   loading and decomposing the same 256
//                                   outlines (FT_Outline_Decompose) from a
//                                   face opened once.
// Prints both in ms per face and their ratio (the aim is under 200 ms).
#include <benchmark/benchmark.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <chrono>
#include <cstdint>

#include "geometry/glyph_fonts.h"
#include "store/node_pool.h"
#include "store/tower.h"

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

constexpr const char* kFaceFile = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";

struct Consumed {
  long points = 0;
  long sum = 0;
};
int OnMove(const FT_Vector* to, void* user) {
  auto* c = static_cast<Consumed*>(user);
  c->sum += to->x + to->y;
  ++c->points;
  return 0;
}
int OnLine(const FT_Vector* to, void* user) { return OnMove(to, user); }
int OnConic(const FT_Vector* control, const FT_Vector* to, void* user) {
  OnMove(control, user);
  return OnMove(to, user);
}
int OnCubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  OnMove(c1, user);
  OnMove(c2, user);
  return OnMove(to, user);
}

Tower* TopLevel(std::uint16_t code) {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

void CreateTrueTypeFontVsDecompose(benchmark::State& state) {
  InitTowerStore();
  ProgramTower = TopLevel(211);
  FontRecordsTower = TopLevel(305);
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, kFaceFile, 0, &face) != 0) {
    state.SkipWithError("Liberation Sans is not installed (package fonts-liberation)");
    return;
  }
  const FT_Outline_Funcs funcs = {OnMove, OnLine, OnConic, OnCubic, 0, 0};
  Clock::duration convert{}, decompose{};
  Consumed consumed;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    benchmark::DoNotOptimize(CreateTrueTypeFont("Arial", 0));
    const auto t1 = Clock::now();
    for (FT_ULong code = 0; code < 256; ++code) {
      const FT_UInt index = FT_Get_Char_Index(face, code);
      if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0)
        FT_Outline_Decompose(&face->glyph->outline, &funcs, &consumed);
    }
    const auto t2 = Clock::now();
    convert += t1 - t0;
    decompose += t2 - t1;
    // The converted face goes again, untimed, so every round converts afresh.
    state.PauseTiming();
    DeleteChildEntities(FontRecordsTower, Type_Font);
    DeleteChildEntities(ProgramTower, Type_FontList);
    state.ResumeTiming();
  }
  benchmark::DoNotOptimize(consumed.sum);
  const double n = static_cast<double>(state.iterations());
  state.counters["convert_ms"] = Seconds(convert) * 1e3 / n;
  state.counters["decompose_ms"] = Seconds(decompose) * 1e3 / n;
  state.counters["convert_over_decompose"] = Seconds(convert) / Seconds(decompose);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  ReleaseTower(&ProgramTower);
  ReleaseTower(&FontRecordsTower);
  ReleaseTowerStore();
}
BENCHMARK(CreateTrueTypeFontVsDecompose)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

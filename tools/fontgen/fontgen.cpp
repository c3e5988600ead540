// Writes the two font images the program carries (data/builtin-font-1.p3t and
// data/builtin-font-2.p3t). Run by hand when the fonts are to change:
//
//   build/dev/tools/fontgen/pl3_fontgen <hershey .jhf file> <output folder>
//
// Image 1 is the outline face "Liberation Sans" converted by the program's own
// glyph conversion, each glyph's fill stored as polygons of its triangles.
// Image 2, the design font, is drawn from public-domain Hershey strokes (the
// Roman simplex set, one glyph per code from 32), each stroke segment a thin
// filled quadrilateral. Both are at the scale of converted outlines: an em is
// 576,000,000 units; y grows upwards from the baseline.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/glyph_fonts.h"
#include "geometry/graphic_layouts.h"
#include "geometry/types.h"
#include "platform/kernel_files.h"
#include "store/node_pool.h"
#include "store/tower.h"
#include "store/tower_file.h"

namespace {

constexpr std::uint16_t kTypePolygon = 4;
constexpr std::uint16_t kTypeDescription = 121;
constexpr std::uint16_t kTypeFontInfo = 301;
constexpr std::uint16_t kTypeTextMetric = 302;
constexpr std::uint32_t kCharacterRecordSize = 32;
constexpr int kFirstCode = 32;
constexpr int kLastCode = 253;
constexpr std::int32_t kEm = 576000000;

struct P {
  std::int32_t x;
  std::int32_t y;
};

struct Glyph {
  std::vector<std::vector<P>> polygons;  // each with count - 2 triangles
  std::vector<std::vector<std::uint8_t>> triangles;
  std::int32_t advance = 0;
};

void Insert(const Tower* parent, std::uint16_t code, const void* data, std::uint32_t size) {
  Tower* t = InsertEntity(parent, size, code, data);
  ReleaseTower(&t);
}

void InsertPolygon(const Tower* glyph, const std::vector<P>& points, const std::vector<std::uint8_t>& triangles) {
  std::vector<std::uint8_t> record(sizeof(pl3::PolygonLayout) + 8 * points.size() + triangles.size(), 0);
  pl3::PolygonLayout head{};
  head.head.transform = pl3::kIdentityTransform;
  head.count = static_cast<std::uint8_t>(points.size());
  std::memcpy(record.data(), &head, sizeof head);
  std::memcpy(record.data() + sizeof head, points.data(), 8 * points.size());
  std::memcpy(record.data() + sizeof head + 8 * points.size(), triangles.data(), triangles.size());
  Insert(glyph, kTypePolygon, record.data(), static_cast<std::uint32_t>(record.size()));
}

void InsertGlyph(const Tower* font, int code, const Glyph& g, std::int32_t cellHeight) {
  std::int32_t box[4] = {0, 0, g.advance, 0};
  bool first = true;
  for (const auto& polygon : g.polygons)
    for (const P& p : polygon) {
      box[1] = first ? p.y : std::min(box[1], p.y);
      box[3] = first ? p.y : std::max(box[3], p.y);
      first = false;
    }
  std::uint8_t record[kCharacterRecordSize] = {};
  std::memcpy(record, box, sizeof box);
  Tower* glyph = InsertEntity(font, sizeof record, static_cast<std::uint16_t>(Type_Glyph + code), record);
  for (std::size_t k = 0; k < g.polygons.size(); ++k) InsertPolygon(glyph, g.polygons[k], g.triangles[k]);
  Insert(glyph, Type_BoundingBox, box, sizeof box);
  const std::uint32_t info[2] = {static_cast<std::uint32_t>(cellHeight), 0};
  Insert(glyph, Type_CharacterInfo, info, sizeof info);
  ReleaseTower(&glyph);
}

Tower* NewFont(const Tower* parent, std::uint8_t variant, const char* face, const TEXTMETRICA& metrics) {
  Tower* font = InsertEmptyEntity(parent, Type_Font);
  char description[48] = "<Description>";
  Insert(font, kTypeDescription, description, sizeof description);
  std::uint8_t info[48] = {};
  info[4] = variant;
  std::strncpy(reinterpret_cast<char*>(info + 5), face, sizeof info - 6);
  Insert(font, kTypeFontInfo, info, sizeof info);
  std::uint8_t tm[80] = {};
  std::memcpy(tm, &metrics, sizeof metrics);
  Insert(font, kTypeTextMetric, tm, sizeof tm);
  return font;
}

// ---- The outline face ------------------------------------------------------------

// Groups a glyph's triangles into polygons that each hold count - 2 of them:
// a triangle joins a polygon when it shares an edge with it and brings one
// new point.
Glyph OutlineGlyph(const GlyphOutline& g) {
  Glyph out;
  out.advance = static_cast<std::int32_t>(
      static_cast<double>(g.widths.abcfA + g.widths.abcfB + g.widths.abcfC) * kWorldUnitsPerFontUnit);
  std::vector<bool> used(g.triangles.size(), false);
  auto world = [&](std::uint32_t i) {
    return P{g.points[i].x * kWorldUnitsPerFontUnit, g.points[i].y * kWorldUnitsPerFontUnit};
  };
  for (std::size_t seed = 0; seed < g.triangles.size(); ++seed) {
    if (used[seed]) continue;
    used[seed] = true;
    std::vector<std::uint32_t> indices(g.triangles[seed].corner, g.triangles[seed].corner + 3);
    std::vector<std::uint8_t> local = {0, 1, 2};
    for (bool grew = true; grew && indices.size() < 255;) {
      grew = false;
      for (std::size_t k = 0; k < g.triangles.size() && indices.size() < 255; ++k) {
        if (used[k]) continue;
        int known = 0;
        int fresh = -1;
        std::uint8_t at[3] = {};
        for (int j = 0; j < 3; ++j) {
          const auto it = std::find(indices.begin(), indices.end(), g.triangles[k].corner[j]);
          if (it == indices.end()) {
            fresh = j;
          } else {
            at[j] = static_cast<std::uint8_t>(it - indices.begin());
            ++known;
          }
        }
        if (known != 2) continue;
        at[fresh] = static_cast<std::uint8_t>(indices.size());
        indices.push_back(g.triangles[k].corner[fresh]);
        local.insert(local.end(), at, at + 3);
        used[k] = true;
        grew = true;
      }
    }
    std::vector<P> points;
    for (std::uint32_t i : indices) points.push_back(world(i));
    out.polygons.push_back(points);
    out.triangles.push_back(local);
  }
  return out;
}

bool WriteOutlineImage(const std::string& path) {
  HFONT font = CreateFont(kTrueTypeFontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Liberation Sans");
  Tower* root = InsertEmptyEntity(FontRecordsTower, Type_Font);  // a scratch parent
  TEXTMETRICA metrics{};
  Tower* face = nullptr;
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    const GlyphOutline g = BuildGlyphOutline(font, static_cast<unsigned>(code));
    if (!face) {
      metrics = g.metrics;
      face = NewFont(root, 6, "Liberation Sans", metrics);
    }
    // Codes 127 to 159 are control characters as UTF-16: the face has only its
    // missing-glyph box for them.
    if ((g.points.empty() && code != ' ') || (code >= 127 && code < 160)) continue;
    const auto cell = static_cast<std::int32_t>((metrics.tmAscent + metrics.tmDescent) * kWorldUnitsPerFontUnit);
    InsertGlyph(face, code, OutlineGlyph(g), cell);
  }
  DeleteObject(font);
  const int saved = SaveDOSFile(face, path.c_str());
  ReleaseTower(&face);
  ReleaseTower(&root);
  return saved != 0;
}

// ---- The stroke face ---------------------------------------------------------------

constexpr std::int32_t kHersheyUnit = kEm / 32;  // Roman simplex: 32 units to the em
constexpr std::int32_t kHersheyBaseline = 9;     // y of the baseline, growing downwards
constexpr std::int32_t kStrokeHalfWidth = kHersheyUnit / 2;

// The glyphs of a .jhf file in file order: each is a five-digit number, a
// three-digit count of coordinate pairs, then the pairs (the first is the
// left and right bearing); " R" lifts the pen. Long glyphs wrap onto further
// lines.
std::vector<std::string> ReadHershey(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> glyphs;
  std::string line;
  std::string pending;
  std::size_t want = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (pending.empty()) {
      if (line.size() < 8) continue;
      want = 8 + 2 * static_cast<std::size_t>(std::stoi(line.substr(5, 3)));
    }
    pending += line;
    if (pending.size() >= want) {
      glyphs.push_back(pending.substr(0, want));
      pending.clear();
    }
  }
  return glyphs;
}

void AddSegment(Glyph& g, P a, P b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length = std::max(1.0, std::sqrt(dx * dx + dy * dy));
  const auto nx = static_cast<std::int32_t>(-dy / length * kStrokeHalfWidth);
  const auto ny = static_cast<std::int32_t>(dx / length * kStrokeHalfWidth);
  // Ends pushed out by the half-width so joined segments overlap.
  const auto ex = static_cast<std::int32_t>(dx / length * kStrokeHalfWidth);
  const auto ey = static_cast<std::int32_t>(dy / length * kStrokeHalfWidth);
  g.polygons.push_back({{a.x - ex + nx, a.y - ey + ny},
                        {b.x + ex + nx, b.y + ey + ny},
                        {b.x + ex - nx, b.y + ey - ny},
                        {a.x - ex - nx, a.y - ey - ny}});
  g.triangles.push_back({0, 1, 2, 0, 2, 3});
}

Glyph StrokeGlyph(const std::string& text) {
  Glyph g;
  const int left = text[8] - 'R';
  const int right = text[9] - 'R';
  g.advance = (right - left) * kHersheyUnit;
  bool penDown = false;
  P last{};
  for (std::size_t k = 10; k + 1 < text.size(); k += 2) {
    if (text[k] == ' ' && text[k + 1] == 'R') {
      penDown = false;
      continue;
    }
    const P p{(text[k] - 'R' - left) * kHersheyUnit, (kHersheyBaseline - (text[k + 1] - 'R')) * kHersheyUnit};
    if (penDown) AddSegment(g, last, p);
    last = p;
    penDown = true;
  }
  return g;
}

bool WriteStrokeImage(const std::string& jhf, const std::string& path) {
  const std::vector<std::string> glyphs = ReadHershey(jhf);
  if (glyphs.size() < 95) return false;
  TEXTMETRICA metrics{};
  metrics.tmAscent = 21 * 64;  // in 2048ths of the em, as the outline face's
  metrics.tmDescent = 7 * 64;
  metrics.tmHeight = metrics.tmAscent + metrics.tmDescent;
  Tower* root = InsertEmptyEntity(FontRecordsTower, Type_Font);
  Tower* face = NewFont(root, 1, "Hershey Roman Simplex", metrics);
  for (int code = kFirstCode; code < kFirstCode + 95; ++code)
    InsertGlyph(face, code, StrokeGlyph(glyphs[static_cast<std::size_t>(code - kFirstCode)]), kEm);
  const int saved = SaveDOSFile(face, path.c_str());
  ReleaseTower(&face);
  ReleaseTower(&root);
  return saved != 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pl3_fontgen <rowmans.jhf> <output folder>\n");
    return 2;
  }
  InitTowerStore();
  Tower* top = NewTower(0);
  LastLevel(top).typeCode = 305;
  InsertAtLastLevel(top, 0);
  FontRecordsTower = top;
  const std::string folder = argv[2];
  const bool ok = WriteOutlineImage(folder + "/builtin-font-1.p3t") &&
                  WriteStrokeImage(argv[1], folder + "/builtin-font-2.p3t");
  ReleaseTower(&top);
  if (!ok) std::fprintf(stderr, "pl3_fontgen: could not write the images\n");
  return ok ? 0 : 1;
}

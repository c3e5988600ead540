// Outline fonts: TrueType faces converted once per run into font records of
// filled glyph outlines, the program's and each document's font lists, font
// numbers and names, and the re-mapping of a loaded document's numbers.
//
// Font numbers hold for one run. 0 to 3 are the built-in fonts (table
// entries 2 and 3; "Corvane Legacy Font" is 3); converted faces count up from 4.
//
// Stored records (payloads, little-endian):
//   326 font list > 327 entry > 303 name with NUL, 329 u32 number, 328 byte charset
//   300 font record > 303 name, 329 number, 400 + c glyph (c = 0..255) >
//     304 Character Info (u32 cell height, 4 reserved), 40 outline,
//     200 Bounding Box (four s32), 325 advance (s32 A, B, C, A + B + C)
//   40: 76-byte header (24 reserved, Transform at 24, u16 P at 48, u16 T at
//   50, u16 C at 52, s32 box at 56..71, 4 reserved), P points {s32 x, s32 y},
//   T triangles of three u16 indices, C contours {u16 first, u16 last}.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi.h"

struct Tower;
struct TowerNode;

constexpr std::uint16_t Type_GlyphOutline = 40;
constexpr std::uint16_t Type_BoundingBox = 200;
constexpr std::uint16_t Type_Font = 300;
constexpr std::uint16_t Type_FontName = 303;
constexpr std::uint16_t Type_CharacterInfo = 304;
constexpr std::uint16_t Type_CharacterAdvance = 325;
constexpr std::uint16_t Type_FontList = 326;
constexpr std::uint16_t Type_FontListEntry = 327;
constexpr std::uint16_t Type_FontCharset = 328;
constexpr std::uint16_t Type_FontNumber = 329;
constexpr std::uint16_t Type_Glyph = 400;  // 400 + code, to 655

constexpr std::uint32_t kLegacyFontNumber = 3;
constexpr const char* kLegacyFontName = "Corvane Legacy Font";
constexpr std::int32_t kWorldUnitsPerFontUnit = 281250;
constexpr int kTrueTypeFontHeight = -2048;
constexpr std::uint32_t kGlyphOutlineHeaderSize = 76;
constexpr std::int32_t kStrokeSpaceWidth = 184320000;
constexpr std::int32_t kStrokeGlyphGap = 14400000;

// The program's top-level tower (root 211), under which its font list hangs,
// and the tower of the loaded fonts' records (root 305).
extern Tower* ProgramTower;
extern Tower* FontRecordsTower;

struct GlyphPoint {
  std::int32_t x;
  std::int32_t y;
};
static_assert(sizeof(GlyphPoint) == 8);
struct GlyphContour {
  std::uint32_t first;
  std::uint32_t last;
};
struct GlyphTriangle {
  std::uint32_t corner[3];
};

// One converted glyph before it is stored, in font design units.
struct GlyphOutline {
  std::vector<GlyphContour> contours;
  std::vector<GlyphPoint> points;
  std::vector<GlyphTriangle> triangles;
  std::uint32_t nextCorner = 0;  // of the triangle being collected
  TEXTMETRICA metrics{};
  ABCFLOAT widths{};
};

// Reads a native outline buffer (polygon headers of curve records, 16.16
// values) into contours and points; quadratic pieces become two segments.
// Every header and record is checked against `size`: parsing stops at the
// first that does not fit, keeping the contours already closed. Returns 0
// when the buffer was damaged.
int ParseNativeOutline(const std::uint8_t* buffer, std::size_t size, GlyphOutline& out);
// Fills the outline's interior with triangles under the non-zero rule.
void TriangulateGlyphOutline(GlyphOutline& outline);
// The outline of one character (0..255) of a platform font, shifted to start
// at x = 0. A glyph the platform refuses has no points.
GlyphOutline BuildGlyphOutline(HFONT font, unsigned code);

std::uint32_t GlyphOutlineRecordSize(std::uint32_t points, std::uint32_t triangles, std::uint32_t contours);
// The three arrays of a stored outline record; each output may be null.
void GetGlyphOutlineArrays(std::uint8_t* record, GlyphPoint** points, std::uint16_t** triangles,
                           std::uint16_t** contours);

// Converts a face into a font record and an entry of the program's list;
// returns its new number.
std::uint32_t CreateTrueTypeFont(const char* name, std::uint8_t charset);
// The number of a face in a character set, converting it on first use and
// recording it in the document's list (a Page records in its Schematic).
std::uint32_t GetFontNumber(const Tower* document, const char* name, std::uint8_t charset);
// Copies the face name of a number, cut to fit `size` bytes with its NUL;
// built-in and unknown numbers name the legacy font.
void GetFontName(std::uint32_t number, char* buffer, std::size_t size);
// 1 and the number when the tower's font list has the name (any case) in
// that character set, else 0.
int FindFontInList(const Tower* t, const char* name, std::uint32_t* number, std::uint8_t charset);
// Re-maps every stored font number of a loaded document to this run's.
void RemapDocumentFonts(Tower* document);
struct FontNumberPair {
  std::uint32_t stored;
  std::uint32_t current;
};
void RemapDocumentFonts(const Tower* node, const std::vector<FontNumberPair>* map);
// Gives every glyph of every font record under the tower its advance record.
void SetStrokeFontAdvances(const Tower* fonts);

// The font-record table: the record entity of a font number, or null; and
// the entry the built-in fonts take.
TowerNode* FontRecordOf(std::uint32_t number);
void SetFontRecord(std::uint32_t number, TowerNode* font);

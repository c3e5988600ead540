#include "draw/text_layout.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "draw/text_arithmetic.h"
#include "draw/text_layout_seams.h"
#include "edit/window_data.h"
#include "geometry/glyph_fonts.h"
#include "geometry/transform.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/plane_clearances.h"

#include "platform/responder.h"
#include "store/seams.h"
#include "store/tower.h"

namespace {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
using HeapString = std::unique_ptr<char, FreeDeleter>;
using HeapBox = std::unique_ptr<std::int32_t, FreeDeleter>;


const Entity* NewestChildOf(const Entity* parent, std::uint16_t code) {
  for (const TypeGroup* g = parent ? NodeAt<TypeGroup>(parent->firstChild) : nullptr; g; g = NodeAt<TypeGroup>(g->next))
    if (g->typeCode == code) return NodeAt<Entity>(g->firstChild);
  return nullptr;
}

// The payload of a child record when it holds at least `size` bytes.
const std::uint8_t* ChildRecord(const Entity* parent, std::uint16_t code, std::uint32_t size) {
  const Entity* e = NewestChildOf(parent, code);
  return e && e->payloadSize >= size ? EntityPayload(e) : nullptr;
}

std::int32_t Word(const std::uint8_t* p, int index) {
  std::int32_t v;
  std::memcpy(&v, p + 4 * index, sizeof v);
  return v;
}

bool InSchematicWindow() {
  return ActiveWindowData &&
         (ActiveWindowData->editorKind == kEditorSchematic || ActiveWindowData->editorKind == kEditorSchematicSymbol);
}
const Tower* ActiveDesign() { return ActiveWindowData ? ActiveWindowData->design : nullptr; }

// The string of a text record, never read past its 2,048-byte field.
std::size_t TextLength(const TextPayload* text) { return strnlen(text->text, kTextMaxBytes - 1); }

HeapString CopyOfString(const TextPayload* text) {
  const std::size_t n = TextLength(text);
  char* copy = static_cast<char*>(std::malloc(n + 1));
  if (copy) {
    std::memcpy(copy, text->text, n);
    copy[n] = '\0';
  }
  return HeapString(copy);
}

// The string as measured and drawn: fields expanded in schematic windows.
HeapString MeasuredString(const TextPayload* text, bool schematic) {
  HeapString plain = CopyOfString(text);
  if (!schematic || !plain) return plain;
  return HeapString(ExpandTextFields(ActiveDesign(), plain.get()));
}

// A '~' followed somewhere later by a character other than '~'.
bool HasOverbar(const char* s) {
  const char* tilde = std::strchr(s, '~');
  if (!tilde) return false;
  for (const char* p = tilde + 1; *p; ++p)
    if (*p != '~') return true;
  return false;
}

// The height scale of a text: its height, or the height times 4,096 when the
// height is not yet in font scale.
std::int64_t HeightScale(const TextPayload* text) {
  const std::int64_t h = text->size;
  return (text->justification & kTextHeightScaled) ? h : h * 4096;
}

struct Measure {
  std::int64_t width = 0;
  std::int32_t start = 0;  // left bearing of the first character
  std::int32_t bottom = INT32_MAX;
  std::int32_t top = INT32_MIN;
};

void ReportCharacterBoxError() {
  MessageBox(nullptr, "Error retrieving character bounding box", "SetStringBox", MB_OK | MB_ICONEXCLAMATION);
}

// Measures the string in the font; false (with the message shown) when a
// character box could not be read.
bool MeasureString(const Tower* font, const char* s, bool schematic, Measure* m) {
  const Entity* fontEntity = TowerEntity(font);
  bool first = true;
  for (const char* p = s; *p; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (schematic && c == '~') continue;
    HeapBox box(GetCharacterBox(font, c));
    if (!box) {
      ReportCharacterBoxError();
      return false;
    }
    if (first && !schematic) {
      const Entity* glyph = NewestChildOf(fontEntity, static_cast<std::uint16_t>(Type_Glyph + c));
      if (const std::uint8_t* metrics = ChildRecord(glyph, Type_CharacterAdvance, 16)) m->start = Word(metrics, 0);
    }
    first = false;
    m->width += box.get()[2];
    m->bottom = std::min(m->bottom, box.get()[1]);
    m->top = std::max(m->top, box.get()[3]);
  }
  if (first) {
    m->bottom = 0;
    m->top = 0;
  }
  if (schematic && HasOverbar(s)) {
    m->bottom -= kOverbarGrowth;
    m->top += kOverbarGrowth;
  }
  return true;
}

// The string box of a text measured in its font; false when it cannot be
// measured (the reason shown).
bool ComputeStringBox(TextPayload* text, const Tower* font, pl3::Box* box) {
  const bool schematic = InSchematicWindow();
  HeapString s = MeasuredString(text, schematic);
  if (!s) return false;
  Measure m;
  if (!MeasureString(font, s.get(), schematic, &m)) return false;
  ResolveEntitySizes(text, 5);  // a Text
  box->xmin = pl3::ScaleByFixedFactor(m.start, std::int64_t{text->size} * 4096);
  box->xmax = pl3::ScaleByFixedFactor(m.width, HeightScale(text));
  box->ymin = m.bottom;
  box->ymax = m.top;
  return true;
}

OwnedTower FontOf(const TextPayload* text) {
  std::uint32_t number;
  std::memcpy(&number, text->bytes52, sizeof number);
  return OwnedTower(GetFontTower(number));
}


// The descender adjustment of GetTextExtent, in world units.
std::int32_t DescenderAdjustment(const TextPayload* text, const Tower* font) {
  HeapString s(ExpandTextFields(ActiveDesign(), CopyOfString(text).get()));
  if (!s) return 0;
  std::int64_t d = (InSchematicWindow() && std::strchr(s.get(), '~')) ? kOverbarGrowth : 0;
  const char* hit = std::strpbrk(s.get(), ",;@_gjpqy");
  if (hit) {
    HeapBox box(GetCharacterBox(font, static_cast<unsigned char>(*hit)));
    HeapBox x(GetCharacterBox(font, 'x'));
    if (!box || !x) {
      ReportCharacterBoxError();
      return 0;
    }
    d = std::int64_t{box.get()[3]} - x.get()[3];
  }
  return pl3::ScaleByFixedFactor(d, HeightScale(text));
}

std::int32_t ScaleByHeight(std::int64_t value, const TextPayload* text) {
  return pl3::ScaleByFixedFactor(value, HeightScale(text));
}

}  // namespace

pl3::Transform HeightScaledTransform(const TextPayload* text) {
  pl3::Transform t = text->textTransform;
  t.a = ScaleByHeight(t.a, text);
  t.b = ScaleByHeight(t.b, text);
  t.c = ScaleByHeight(t.c, text);
  t.d = ScaleByHeight(t.d, text);
  return t;
}

pl3::Box StoredStringBox(const TextPayload* text) {
  pl3::Box box;
  std::memcpy(&box, text->bytes52 + 4, sizeof box);
  return box;
}

Tower* GetFontTower(std::uint32_t font) {
  Entity* entity = FontRecordOf(font);
  if (!entity || entity->typeCode != Type_Font) entity = FontRecordOf(kFallbackFont);
  if (!entity || entity->typeCode != Type_Font) return nullptr;
  Tower* t = NewTower(0);
  if (!t) return nullptr;
  TowerLevel& level = t->levels[0];
  level.flags = kLevelLast | kLevelPositioned;
  level.typeCode = Type_Font;
  level.entity = NodeRefOf(entity);
  level.group = 0;
  return t;
}

std::int32_t* GetCharacterBox(const Tower* font, unsigned char character) {
  auto* box = static_cast<std::int32_t*>(std::calloc(4, sizeof(std::int32_t)));
  if (!box) return nullptr;
  const Entity* glyph = NewestChildOf(TowerEntity(font), static_cast<std::uint16_t>(Type_Glyph + character));
  if (!glyph) {
    // Left and bottom are zeroed too: callers take the minimum bottom.
    box[2] = kMissingGlyphSize;
    box[3] = kMissingGlyphSize;
    return box;
  }
  const std::uint8_t* metrics = ChildRecord(glyph, Type_CharacterAdvance, 16);
  if (!metrics && !NewestChildOf(glyph, Type_CharacterInfo)) {
    std::free(box);
    MessageBox(nullptr, "Failed to retrieve CharacterInfo", "GetCharacterBox", MB_OK);
    return nullptr;
  }
  if (const std::uint8_t* bounds = ChildRecord(glyph, Type_BoundingBox, 16)) std::memcpy(box, bounds, 16);
  if (metrics) {
    box[0] = 0;
    box[2] = Word(metrics, 3);
  }
  return box;
}

void SetStringBox(TextPayload* item) {
  if (!item) return;
  OwnedTower font = FontOf(item);
  if (!font) {
    ShowAndLogError(nullptr, "Unable to get font tower", "SetStringBox", 1);
    return;
  }
  pl3::Box box;
  if (ComputeStringBox(item, font.get(), &box)) std::memcpy(item->bytes52 + 4, &box, sizeof box);
}

std::uint64_t GetTextExtent(const TextPayload* item, const Tower* fontTower) {
  if (!item) return 0;
  OwnedTower owned;
  if (!fontTower) {
    owned = FontOf(item);
    fontTower = owned.get();
  }
  if (!fontTower) {
    ShowAndLogError(nullptr, "Unable to get font tower", "SetStringBox", 1);
    return 0;
  }
  const pl3::Box stored = StoredStringBox(item);
  // Measured on a copy of the head: the record itself keeps its box.
  const std::size_t size = offsetof(TextPayload, text) + TextLength(item) + 1;
  HeapString copyBytes(static_cast<char*>(std::malloc(size)));
  if (!copyBytes) return 0;
  std::memcpy(copyBytes.get(), item, size - 1);
  copyBytes.get()[size - 1] = '\0';
  auto* copy = reinterpret_cast<TextPayload*>(copyBytes.get());
  pl3::Box measured;
  if (!ComputeStringBox(copy, fontTower, &measured)) return 0;
  // The string box's top and bottom are font units (its left and right are
  // world units already): they take the text's height, so that the whole
  // offset is in world units.
  std::int64_t dy = -std::int64_t{ScaleByHeight(stored.ymax, copy)};
  const std::int64_t w = std::int64_t{stored.xmax} - stored.xmin;
  const std::int64_t h = ScaleByHeight(std::int64_t{measured.ymax} - measured.ymin, copy);
  const std::int64_t height = copy->size;
  const bool scaled = copy->justification & kTextHeightScaled;
  std::int64_t dx;
  if (copy->justification & kTextLeft) {
    dx = scaled ? -static_cast<std::int64_t>(static_cast<double>(height) / 4096 * 2.44140625) : -10000 * height;
  } else if (copy->justification & kTextRight) {
    dx = scaled ? -(height / 4096 * 5000 + w) : -(10000 * height / 2 + w);
  } else {
    dx = -(w / 2);
  }
  if (!(copy->justification & kTextTop)) dy += (copy->justification & kTextBottom) ? h : h / 2;
  dy += DescenderAdjustment(copy, fontTower);
  std::int32_t x = pl3::WrapToInt32(dx), y = pl3::WrapToInt32(dy);
  pl3::TransformVector(&copy->textTransform, x, y);
  return static_cast<std::uint32_t>(x) | (std::uint64_t{static_cast<std::uint32_t>(y)} << 32);
}

pl3::Box GetWorldStringBox(const TextPayload* item) {
  pl3::Box box = StoredStringBox(item);
  box.ymin = ScaleByHeight(box.ymin, item);
  box.ymax = ScaleByHeight(box.ymax, item);
  return box;
}

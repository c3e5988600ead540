// Recording stand-ins for the text items and the view services that the
// designator copies use. Text items are real records: the fake lays a text
// out as 100 units of width per character and 200 of height from the
// translation of its transform.
#include "designator_fakes.h"

#include <cstdlib>
#include <cstring>

#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/text_item_services.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace designatortest {

std::vector<BuiltText>& Built() {
  static std::vector<BuiltText> built;
  return built;
}
std::vector<RenderedText>& Rendered() {
  static std::vector<RenderedText> rendered;
  return rendered;
}
std::int32_t& SnapGrid() {
  static std::int32_t grid = 1;
  return grid;
}

namespace {
void ResetFakes() {
  Built().clear();
  Rendered().clear();
  SnapGrid() = 1;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetFakes);

TextPayload* NewItem(const char* text, bool indexed, std::int32_t size, std::uint8_t layer,
                     const pl3::Transform* t, std::uint16_t justification, std::uint32_t font) {
  const std::size_t length = std::strlen(text);
  auto* bytes = static_cast<std::uint8_t*>(std::calloc(104 + length + 1, 1));
  auto* item = reinterpret_cast<TextPayload*>(bytes);
  bytes[0] = layer;
  bytes[2] = indexed ? 1 : 0;
  if (indexed) std::memcpy(bytes + 4, &size, 4);
  else item->size = size;
  item->justification = justification;
  item->textTransform = *t;
  item->word100 = font;
  std::memcpy(bytes + 104, text, length + 1);
  Built().push_back({text, indexed, size, layer, *t, justification, font});
  return item;
}

}  // namespace

std::string TextOf(const TextPayload* item) { return reinterpret_cast<const char*>(item) + 104; }

}  // namespace designatortest

using namespace designatortest;

TextPayload* CreateTextItem(const char* text, std::uint32_t sizeIndex, std::uint8_t layer,
                            const pl3::Transform* transform, std::uint16_t justification, std::uint32_t font) {
  return NewItem(text, true, static_cast<std::int32_t>(sizeIndex), layer, transform, justification, font);
}
TextPayload* CreateTextItemEx(const char* text, std::int32_t size, std::uint8_t layer,
                              const pl3::Transform* transform, std::uint16_t justification, std::uint32_t font) {
  return NewItem(text, false, size, layer, transform, justification, font);
}
void SetStringBox(TextPayload* item) {
  const auto length = static_cast<std::int32_t>(TextOf(item).size());
  const pl3::Transform& t = item->textTransform;
  const pl3::Box box{t.tx, t.ty, t.tx + 100 * length, t.ty + 200};
  std::memcpy(reinterpret_cast<std::uint8_t*>(item) + 56, &box, sizeof box);
}
// The fake layout's string box is in world units already.
pl3::Box GetWorldStringBox(const TextPayload* item) {
  pl3::Box box;
  std::memcpy(&box, reinterpret_cast<const std::uint8_t*>(item) + 56, sizeof box);
  return box;
}
void GetTextEntityBox(const void* item, pl3::Box* box) {
  const auto* text = static_cast<const TextPayload*>(item);
  const auto length = static_cast<std::int32_t>(std::strlen(reinterpret_cast<const char*>(text) + 104));
  const pl3::Transform& t = text->textTransform;
  *box = {t.tx, t.ty, t.tx + 100 * length, t.ty + 200};
}
// Every font is there: a bare Tower stands for it.
Tower* GetFontTower(std::uint32_t) { return NewTower(0); }
std::uint64_t GetTextExtent(const TextPayload* item, const Tower*) {
  return (std::uint64_t{200} << 32) | (100 * TextOf(item).size());
}
void RenderTextEntity(void* dc, const TextPayload* item, std::uint8_t mode, const pl3::Transform*) {
  Rendered().push_back({TextOf(item), mode, item->textTransform, item->justification, dc});
}

// The grid snaps to multiples of SnapGrid().
void SnapXY(std::int32_t* x, std::int32_t* y, int) {
  const std::int32_t g = SnapGrid();
  *x = *x / g * g;
  *y = *y / g * g;
}
void SnapXYFine(std::int32_t*, std::int32_t*) {}
int IsItemAttachedToCursor() { return 0; }
void SetCursorToPoint(void*, pl3::Point) {}
void CentreViewOnPoint(void*, pl3::Point) {}
int UpdateStatusBar(void*) { return 0; }
void RedrawView(void*) {}
void RedrawViewRect(void*, const pl3::Box*, int) {}
void HandleRawMouseRecord(void*, const MouseRecord&) {}
void DoScroll(void*, std::uint32_t, std::uint32_t) {}

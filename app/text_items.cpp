// The text items through which designators, attribute copies, locators and
// dimensioner labels are measured and drawn: a heap Text payload with its
// string, laid out before it is handed back.
#include <cstdlib>
#include <cstring>

#include "objects/graphic_records.h"
#include "objects/text_item_services.h"

namespace {

// A Text payload of the string (cut to the longest text a record holds),
// measured; null when memory runs out.
TextPayload* NewTextItem(const char* text, bool byIndex, std::int32_t size, std::uint8_t layer,
                         const pl3::Transform* transform, std::uint16_t justification, std::uint32_t font) {
  const char* string = text ? text : "";
  const std::size_t length = strnlen(string, kTextMaxBytes - 1);
  auto* item = static_cast<TextPayload*>(std::calloc(1, TextStoredSize(static_cast<std::uint32_t>(length))));
  if (!item) return nullptr;
  item->head.layer = layer;
  item->head.transform = pl3::kIdentityTransform;
  if (byIndex) {
    item->head.sizeFlags = kSizeByIndex;
    item->head.sizeIndex = static_cast<std::uint32_t>(size);
  } else {
    item->size = size;
  }
  std::memcpy(item->bytes52, &font, sizeof font);
  item->justification = justification;
  item->textTransform = transform ? *transform : pl3::kIdentityTransform;
  item->word100 = static_cast<std::uint32_t>(length);
  std::memcpy(item->text, string, length);
  item->text[length] = '\0';
  SetStringBox(item);
  return item;
}

}  // namespace

TextPayload* CreateTextItem(const char* text, std::uint32_t sizeIndex, std::uint8_t layer,
                            const pl3::Transform* transform, std::uint16_t justification, std::uint32_t font) {
  return NewTextItem(text, true, static_cast<std::int32_t>(sizeIndex), layer, transform, justification, font);
}

TextPayload* CreateTextItemEx(const char* text, std::int32_t size, std::uint8_t layer,
                              const pl3::Transform* transform, std::uint16_t justification, std::uint32_t font) {
  return NewTextItem(text, false, size, layer, transform, justification, font);
}

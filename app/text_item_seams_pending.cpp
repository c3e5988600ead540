// The program's stand-ins for the text items of objects/text_item_services.h
// until the text-item builders and the text renderer land: no item is built,
// so nothing is measured or drawn.
#include "objects/text_item_services.h"

TextPayload* CreateTextItem(const char*, std::uint32_t, std::uint8_t, const pl3::Transform*, std::uint16_t,
                            std::uint32_t) {
  return nullptr;
}
TextPayload* CreateTextItemEx(const char*, std::int32_t, std::uint8_t, const pl3::Transform*, std::uint16_t,
                              std::uint32_t) {
  return nullptr;
}


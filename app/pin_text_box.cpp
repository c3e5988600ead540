// GetPinTextBox (edit/item_box_seams.h): the box of a pin's name text (27),
// measured as the text item the name would be drawn as, at the pin's origin
// plus the text's own position.
#include <cstdlib>
#include <cstring>

#include "draw/text_arithmetic.h"
#include "edit/item_box_seams.h"
#include "objects/graphic_records.h"
#include "objects/locator_dispatch.h"
#include "objects/payload_access.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypePinNameText = 27;

// The origin of the pin the text stands under; (0, 0) for a text outside a
// pin, as its grab point takes it.
pl3::Point PinOrigin(const Tower* pinText) {
  Tower* pin = GetAncestorTower(pinText, Type_SymbolPin);
  pl3::Point origin{0, 0};
  if (pin && LastLevel(pin).typeCode == Type_SymbolPin) {
    if (const std::uint8_t* o = ChildPayloadOfAtLeast(pin, Type_Origin, 8)) origin = {ReadI32(o, 0), ReadI32(o, 4)};
  }
  ReleaseTower(&pin);
  return origin;
}

pl3::Transform Placement(const PinNameTextPayload& head, pl3::Point origin) {
  pl3::Transform t = pl3::kIdentityTransform;
  const std::int32_t* r = head.rotation;
  if (r[0] || r[1] || r[2] || r[3]) t = {r[0], r[1], r[2], r[3], 0, 0};
  t.tx = pl3::WrapAdd(origin.x, head.x);
  t.ty = pl3::WrapAdd(origin.y, head.y);
  return t;
}

}  // namespace

int GetPinTextBox(const Tower* pinText, pl3::Box* box) {
  constexpr std::uint32_t kNameOffset = offsetof(PinNameTextPayload, name);
  const Entity* e = TowerEntity(pinText);
  if (!e || !box || e->typeCode != kTypePinNameText || e->payloadSize <= kNameOffset) return 0;
  const std::uint8_t* payload = EntityPayload(e);
  const char* name = reinterpret_cast<const char*>(payload + kNameOffset);
  if (!std::memchr(name, 0, e->payloadSize - kNameOffset)) return 0;  // a name without its NUL
  PinNameTextPayload head;
  std::memcpy(&head, payload, kNameOffset);
  const pl3::Transform at = Placement(head, PinOrigin(pinText));
  const auto justification = static_cast<std::uint16_t>(head.justification);
  TextPayload* item = (head.sizeFlags & kSizeByIndex)
                          ? CreateTextItem(name, static_cast<std::uint32_t>(head.size), head.layer, &at, justification,
                                           head.style)
                          : CreateTextItemEx(name, head.size, head.layer, &at, justification, head.style);
  const int result = GetTextItemBox(item, box);
  std::free(item);
  return result;
}

// Where the pins of a placed schematic symbol (30) stand on the page: each
// pin (26) of the symbol's definition at its Origin, mirrored about the
// definition's vertical axis when the symbol's link record says so, then
// placed by the symbol's Transform.
#include <cstring>

#include "edit/window_data.h"
#include "edit/schematic_pins.h"
#include "geometry/transform.h"
#include "objects/io_ports.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeSymbolDefinition = 25;
constexpr std::uint8_t kLinkMirrored = 0x1;          // first byte of the symbol's link record (32)
constexpr std::uint32_t kLinkDefinitionReference = 4;  // u32 reference to the definition (25)

// The Origin of the definition's pin `index` (from 0).
bool DefinitionPinOrigin(const Tower* definition, int index, pl3::Point* at) {
  Tower* pins = GetChildTower(definition, Type_SymbolPin);
  bool found = false;
  for (int i = 0; pins && FindNextEntity(pins); ++i) {
    if (i != index) continue;
    if (const std::uint8_t* origin = ChildPayloadOfAtLeast(pins, Type_Origin, 8)) {
      *at = {ReadI32(origin, 0), ReadI32(origin, 4)};
      found = true;
    }
    break;
  }
  ReleaseTower(&pins);
  return found;
}

}  // namespace

int GetSchematicSymbolPinPoint(const Tower* symbol, int index, pl3::Point* point) {
  const std::uint8_t* link = ChildPayloadOfAtLeast(symbol, Type_SchematicSymbol, 8);
  const Tower* design = ActiveWindowData ? ActiveWindowData->design : nullptr;
  if (index < 0 || !point || !link || !design) return 0;
  Tower* definition = FindChildByReference(design, kTypeSymbolDefinition, ReadU32(link, kLinkDefinitionReference));
  pl3::Point at{};
  const bool found = definition && DefinitionPinOrigin(definition, index, &at);
  ReleaseTower(&definition);
  if (!found) return 0;
  if (link[0] & kLinkMirrored) at.x = -at.x;
  pl3::Transform t{};
  if (const std::uint8_t* stored = ChildPayloadOfAtLeast(symbol, Type_Transform, sizeof t)) {
    std::memcpy(&t, stored, sizeof t);
    pl3::TransformSignedPoint(&t, at.x, at.y);
  }
  *point = at;
  return 1;
}

// FindPadStackLayer (objects/symbol_seams.h): the layer entry (111) of a pad
// stack for one layer. In a file of its own so that tests can fake it.
#include "objects/symbol_seams.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {
constexpr std::uint32_t kLayerByteOffset = 4;
}  // namespace

Tower* FindPadStackLayer(const Tower* padStack, std::uint8_t layer) {
  if (!padStack) return nullptr;
  Tower* entries = GetChildTower(padStack, Type_PadStackLayerInfo);
  while (entries) {
    const Entity* e = FindNextEntity(entries);
    if (!e) break;
    if (e->payloadSize > kLayerByteOffset && EntityPayload(e)[kLayerByteOffset] == layer) return entries;
  }
  ReleaseTower(&entries);
  return nullptr;
}

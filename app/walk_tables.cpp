#include "app/walk_tables.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "draw/display_list_seams.h"
#include "draw/walk_actions.h"
#include "edit/window_data.h"
#include "geometry/record_view.h"
#include "objects/net_ids.h"
#include "objects/walker.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace {

TransformedCopy* g_copies = nullptr;
std::uint32_t g_copyCount = 0;

// The store's reset takes the Towers; the copies are plain memory.
[[maybe_unused]] const bool g_registered = pl3::RegisterGlobalReset(&FreeTransformedCopies);

constexpr std::uint32_t kPassBottomOnly = 0x400;  // copies of items on the other side only
constexpr std::uint32_t kPassTopOnly = 0x200;     // copies of items on this side only
constexpr std::uint32_t kPassNetCodes = 0x800;

}  // namespace

void PushTransformedEntityCopy(const Tower* entity, const pl3::Transform* transform) {
  const Entity* e = TowerEntity(entity);
  if (!e) return;
  const bool otherSide = ActiveWindowData && (ActiveWindowData->ViewFlags & kViewOtherSide);
  if ((WalkPassFlags & kPassBottomOnly) && otherSide) return;
  if ((WalkPassFlags & kPassTopOnly) && !otherSide) return;
  auto* copy = static_cast<TransformedCopy*>(std::calloc(1, sizeof(TransformedCopy)));
  if (!copy) return;
  if (WalkPassFlags & kPassNetCodes) copy->netCode = GetEntityNetId(entity, kNetIdFirst);
  copy->typeCode = e->typeCode;
  // A record shorter than a hole's is copied as far as it goes.
  std::memcpy(copy->body, EntityPayload(e), std::min<std::uint32_t>(e->payloadSize, kTransformedCopyBody));
  if (transform && e->payloadSize >= sizeof(pl3::HoleLayout)) {
    pl3::TransformHoleSigned(reinterpret_cast<pl3::HoleLayout*>(copy->body), transform);
  }
  copy->next = g_copies;
  g_copies = copy;
  ++g_copyCount;
}

TransformedCopy* TransformedCopies() { return g_copies; }
std::uint32_t TransformedCopyCount() { return g_copyCount; }

void FreeTransformedCopies() {
  while (TransformedCopy* c = g_copies) {
    g_copies = c->next;
    std::free(c);
  }
  g_copyCount = 0;
}

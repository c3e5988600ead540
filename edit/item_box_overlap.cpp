// The walker's box test, apart from the item boxes so that a drawing walk
// needs only GetBox: a test that fakes the boxes then keeps its fake.
#include <cstdint>

#include "draw/display_list_seams.h"
#include "objects/dimensioner_seams.h"
#include "objects/symbol_instances.h"
#include "platform/responder.h"

int TestBoundingBox(const Tower* item, const pl3::Box* box, const pl3::Transform* transform) {
  if (!box) return 1;
  pl3::Box own{};
  if (!GetBox(item, &own)) {
    MessageBox(nullptr, "Error - NULL Box", "TestBoundingBox", MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  if (transform) GetRectangleBox(&own, transform);
  auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
  if (u(box->ymax) < u(own.ymin) || u(box->ymin) > u(own.ymax)) return 0;
  if (u(box->xmax) < u(own.xmin) || u(box->xmin) > u(own.xmax)) return 0;
  return 1;
}

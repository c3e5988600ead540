// The box of a text item, in a file of its own so that a test giving its own
// text boxes still links the text layout.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <vector>

#include "draw/text_arithmetic.h"
#include "draw/text_layout.h"
#include "draw/text_layout_seams.h"
#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/graphic_records.h"
#include "objects/plane_clearances.h"
#include "objects/text_item_services.h"

void GetTextEntityBox(const void* textPayload, pl3::Box* box) {
  if (!box) return;
  *box = pl3::Box{0, 0, 0, 0};
  const auto* source = static_cast<const TextPayload*>(textPayload);
  if (!source) return;
  // Worked on a copy: the stored record keeps its box.
  const std::size_t size = offsetof(TextPayload, text) + strnlen(source->text, kTextMaxBytes - 1) + 1;
  std::vector<std::uint8_t> bytes(size);
  std::memcpy(bytes.data(), source, size - 1);
  auto* text = reinterpret_cast<TextPayload*>(bytes.data());
  if (ActiveWindowData && ActiveWindowData->editorKind == kEditorSchematic) SetStringBox(text);
  // The string box takes the text's height before it is placed, as the
  // glyphs do when they are drawn.
  const pl3::Box s = GetWorldStringBox(text);
  const pl3::Point corners[4] = {{s.xmin, s.ymin}, {s.xmax, s.ymin}, {s.xmax, s.ymax}, {s.xmin, s.ymax}};
  pl3::Box out{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (pl3::Point p : corners) {
    pl3::TransformSignedPoint(&text->textTransform, p.x, p.y);
    out.xmin = std::min(out.xmin, p.x);
    out.ymin = std::min(out.ymin, p.y);
    out.xmax = std::max(out.xmax, p.x);
    out.ymax = std::max(out.ymax, p.y);
  }
  const std::uint64_t extent = GetTextExtent(text, nullptr);
  const auto dx = static_cast<std::int32_t>(static_cast<std::uint32_t>(extent));
  const auto dy = static_cast<std::int32_t>(static_cast<std::uint32_t>(extent >> 32));
  const std::int32_t clearance = GetPlaneClearance(ActiveWindowData ? ActiveWindowData->design : nullptr, text->head.layer);
  *box = pl3::Box{pl3::WrapAdd(out.xmin, std::int64_t{dx} - clearance), pl3::WrapAdd(out.ymin, std::int64_t{dy} - clearance),
                  pl3::WrapAdd(out.xmax, std::int64_t{dx} + clearance), pl3::WrapAdd(out.ymax, std::int64_t{dy} + clearance)};
}

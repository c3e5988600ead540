// What the fakes of designator_fakes.cpp record.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/types.h"

struct TextPayload;

namespace designatortest {

struct BuiltText {
  std::string text;
  bool indexed;          // built with a size index (else an explicit size)
  std::int32_t size;     // the index or the size
  std::uint8_t layer;
  pl3::Transform transform;
  std::uint16_t justification;
  std::uint32_t font;
};
struct RenderedText {
  std::string text;
  std::uint8_t mode;
  pl3::Transform transform;
  std::uint32_t justification;
  void* dc;
};

std::vector<BuiltText>& Built();
std::vector<RenderedText>& Rendered();
std::int32_t& SnapGrid();
std::string TextOf(const TextPayload* item);

}  // namespace designatortest

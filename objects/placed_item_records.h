// The stored records of placed composite items: a Symbol Instance's info
// (113), a placed pad stack's info (116), a pad-stack layer entry (111), a
// shape instance's link (110) and the ID Info (209) that identifies a
// library definition. References to other nodes are stored as 32-bit node
// references that the store re-points on load.
#pragma once
#include <cstddef>
#include <cstdint>

#include "geometry/types.h"

#pragma pack(push, 1)

// Symbol Instance Info (113).
struct SymbolInstanceInfo {
  std::uint32_t flags;       // kSymbolInstanceOtherSide
  std::uint32_t definition;  // the Symbol Definition (105) in the design
};
static_assert(sizeof(SymbolInstanceInfo) == 8);
static_assert(offsetof(SymbolInstanceInfo, definition) == 4);
constexpr std::uint32_t kSymbolInstanceOtherSide = 0x2;

// Pad-Stack Info (116).
struct PadStackInfoRecord {
  std::uint16_t flags;       // kPadStackOtherSide
  std::uint16_t spare;
  std::uint32_t xref;        // the design's Xref number of the pad
  std::uint32_t definition;  // the pad-stack definition (115)
  pl3::Transform transform;
};
static_assert(sizeof(PadStackInfoRecord) == 36);
static_assert(offsetof(PadStackInfoRecord, xref) == 4);
static_assert(offsetof(PadStackInfoRecord, definition) == 8);
static_assert(offsetof(PadStackInfoRecord, transform) == 12);
constexpr std::uint16_t kPadStackOtherSide = 0x1;

// Pad-Stack Layer Info (111): the shape a pad stack uses on one layer.
struct PadStackLayerRecord {
  std::uint32_t word;        // 1
  std::uint8_t layer;
  std::uint8_t padKind;      // kPadKindInner on the inner-layer entry (layer 2), else kPadKindPlain
  std::uint8_t flags;        // bit 1: the entry stands for every inner layer
  std::uint8_t spare;
  std::uint32_t shape;       // the shape definition (109)
  std::uint32_t words[2];
  pl3::Transform transform;
};
static_assert(sizeof(PadStackLayerRecord) == 44);
static_assert(offsetof(PadStackLayerRecord, layer) == 4);
static_assert(offsetof(PadStackLayerRecord, padKind) == 5);
static_assert(offsetof(PadStackLayerRecord, shape) == 8);
static_assert(offsetof(PadStackLayerRecord, transform) == 20);
constexpr std::uint8_t kPadKindPlain = 1;
constexpr std::uint8_t kPadKindInner = 3;

// Shape link (110) of a shape instance (107).
struct ShapeLinkRecord {
  std::uint32_t shape;       // the shape definition (109)
  std::uint16_t zero;
  std::uint8_t layer;
  std::uint8_t spare[9];
};
static_assert(sizeof(ShapeLinkRecord) == 16);
static_assert(offsetof(ShapeLinkRecord, layer) == 6);

#pragma pack(pop)

// ID Info (209): 52 bytes that identify a library definition.
constexpr std::uint16_t kTypeIdInfo = 209;
constexpr std::uint32_t kIdInfoSize = 52;

// 1 when the two ID Info records are equal byte for byte; 0 when they differ
// or either is null.
int SameIdInfo(const void* a, const void* b);

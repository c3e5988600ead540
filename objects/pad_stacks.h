// Pad stacks: their definitions (115) inside a symbol definition, the pads
// (141 with a 116) that place them, the per-placement records (117) of a
// placed symbol, their boxes, layer ranges and walks.
#pragma once
#include <cstddef>
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// A placed pad's record (117) under a Symbol Instance.
struct PadStackInstanceInfo {
  std::uint8_t flags;        // bit 2: the reference at 272 is set
  std::uint8_t reserved1;
  std::uint16_t reserved2;
  std::uint32_t xref;        // the Xref of the definition's pad (its 116)
  std::uint32_t netIds[2];   // the pad's net ids in this placement
  char text[256];
  std::uint32_t padReference;  // the definition's Pad Stack Instance Hier (141)
};
static_assert(sizeof(PadStackInstanceInfo) == 276);
static_assert(offsetof(PadStackInstanceInfo, xref) == 4);
static_assert(offsetof(PadStackInstanceInfo, netIds) == 8);
static_assert(offsetof(PadStackInstanceInfo, text) == 16);
static_assert(offsetof(PadStackInstanceInfo, padReference) == 272);

constexpr std::uint8_t kPadInstanceReferenceSet = 0x04;
constexpr std::uint8_t kPadLayerAllInner = 0x02;       // bit 1 of a 111's flags byte (6)
constexpr std::uint16_t kTypePadStackOptions = 30038;

// ---- Finding things ------------------------------------------------------------

// A new Tower on the Pad-Stack Definition a pad's 116 names (t on the 116 or
// its 141), inside the nearest enclosing Symbol Definition; null when there
// is none.
Tower* GetPadStackDef(const Tower* pad);
// A new Tower on what the reference at bytes 8-11 of a 111 or 116 names:
// under the record's parent when design is null, else under the design.
Tower* GetInfoTargetTower(const Tower* record, const Tower* design);
// The Pad Stack Instance Hier (141) of the enclosing instance's Symbol
// Definition whose Pad-Stack Info Xref equals the 117's; null when the
// instance has no 113 or no pad matches. The second form resolves the
// definition under the given Tower. The caller releases it.
Tower* FindDefinitionPadStackInstance(const Tower* padStackInstanceInfo);
Tower* FindDefinitionPadStackInstance(const Tower* padStackInstanceInfo, const Tower* design);
// Gives the instance one 117 for each pad of its definition that has none.
int AddPadStackInstanceInfos(const Tower* instance);
// The centre of a pad (141 or its 116): its pad stack's Origin mapped by the
// Pad-Stack Info transform; 0 when the stack or its Origin is missing.
int GetPadCentre(const Tower* pad, pl3::Point* centre);
// The design position of the first placed pad with the two net ids; 0 (x and y untouched) without one.
int GetPadPositionByNetIds(const std::uint32_t netIds[2], std::int32_t* x, std::int32_t* y);

// ---- Layer range ---------------------------------------------------------------

std::uint8_t GetPadLowestLayer(const Tower* pad);
std::uint8_t GetPadHighestLayer(const Tower* pad);
// Pad-stack layer codes that name the board's surfaces rather than one layer.
constexpr std::uint8_t kPadStackLayerTop = 1;
constexpr std::uint8_t kPadStackLayerBottom = 2;
constexpr std::uint8_t kPadStackLayerAll = 32;
// The copper layers a pad reaches: the lowest and highest of its pad-stack
// layers, each of the top, bottom and all codes taken as the given top and
// bottom copper layers. 0 (low and high untouched) for a pad without layers.
int GetPadStackLayerRange(const Tower* pad, std::uint8_t top, std::uint8_t bottom, std::uint8_t* low,
                          std::uint8_t* high);

// ---- Boxes and moves ------------------------------------------------------------

// The pad's definition box mapped through its 116; null (box untouched) without a definition.
pl3::Box* GetPadStackInstanceBox(const Tower* pad, pl3::Box* box);
// The box of the shape a layer entry names, mapped through the entry's transform.
int GetPadStackLayerBox(const Tower* layerEntry, pl3::Box* box);
// Adds the delta to the pad's 116 translation; returns that payload or null.
std::uint8_t* OffsetPadStackInfo(const Tower* pad, pl3::Point delta);

// ---- Walker handlers ---------------------------------------------------------------

// Each takes the walk's mode on to its nested walk, so that a hit-test walk
// (mode 1) publishes no entity of its own inside a pad.
std::int32_t ProcessFoundPadStackInfo(void* dc, const Tower* padInfo, const pl3::Transform* transform,
                                      std::uint8_t action, std::uint8_t mode = 0);
std::int32_t DrawPadStackLayer(void* dc, const Tower* layerEntry, const pl3::Transform* transform,
                               std::uint8_t action, std::uint8_t mode = 0);
std::int32_t ProcessFoundPadStackInstanceInfo(void* dc, const Tower* padInstanceInfo,
                                              const pl3::Transform* transform, std::uint8_t action);
// Fills the walker's slots for 113, 116, 111 and 117 with the handlers above.
void RegisterSymbolWalkHandlers();

// The net ids of the placed pad being walked.
extern std::uint32_t WalkNetIds[2];

// ---- Editing ----------------------------------------------------------------------

// Pad-stack editor: removes the shape (flag bit 1) and/or the layer entry
// (flag bit 0) of a layer.
int DeletePadStackLayerShape(std::uint8_t layer, std::uint8_t flags);
// 1 when another layer entry of the design, or one kept in its undo
// history, names the shape the entry names.
int IsShapeStillReferenced(const Tower* design, const Tower* layerEntry);

// Layer colours, layer masks and the per-type view options of immediate
// drawing: what CurrentColour (the raster kernel's fill value) becomes for an
// entity's layer, and which plane bits a span of layers covers.
#pragma once
#include <cstddef>
#include <cstdint>

#include "draw/draw_flags.h"

struct CurrentWindowData;

// Bits of a TypeDrawOptions word.
constexpr std::uint16_t kTypeDrawnByWalks = 0x01;
constexpr std::uint16_t kTypeDrawCut = 0x02;        // holes: cut the drill disc; 10, 11: cut or hollow; slots: cut
constexpr std::uint16_t kTypeDrawPad = 0x04;        // holes: the ring or inner fill; slots: the outline
constexpr std::uint16_t kTypeDrawClearance = 0x08;  // draw grown by the plane clearance, as a cut
constexpr std::uint16_t kTypeDrawCross = 0x40;      // holes: the cross; tracks (type 1): as outlines
constexpr std::uint16_t kTypeDrawOutlines = kTypeDrawCross;

constexpr std::size_t kTypeDrawOptionCount = 50;  // graphic type codes 0 to 49
// One view-option word per graphic type code.
extern std::uint16_t TypeDrawOptions[kTypeDrawOptionCount];
// The option word of a type; 0 for codes past the table.
std::uint16_t TypeDrawOptionsOf(std::uint16_t type);

// The raster kernel's two layer bytes: the layer of the entity being drawn
// (the first and the last for entities that span layers).
extern std::uint8_t RasterFirstLayer;
extern std::uint8_t RasterLastLayer;

// True for the schematic kinds, whose layer bytes are colour classes.
bool IsSchematicKind(std::uint32_t editorKind);
// The layer an entity of `layer` is drawn on in the window: OverrideLayer
// under the layer override, then its opposite-side layer when the view shows
// the other side (a layer without an opposite stays itself).
std::uint8_t EffectiveDrawLayer(const CurrentWindowData& window, std::uint8_t layer);
// True when the layer belongs to the window's document.
bool IsLayerUsed(const CurrentWindowData& window, std::uint8_t layer);

// Sets CurrentColour for an entity of the layer, unless single-colour mode
// is on: the layer byte itself in schematic kinds, else the plane bit of the
// effective layer. Does nothing without an active window.
void SetCurrentLayerColour(std::uint8_t layer);
// BackgroundIndex ORed with the plane bits of the used layers first..last.
// withSpecials is accepted for the callers that ask for the special layers.
std::uint32_t GetVisibleLayerMask(std::uint8_t first, std::uint8_t last, int withSpecials);
// ORs the layer's plane bit into mask when the layer is used.
void AddLayerToMask(std::uint32_t& mask, std::uint8_t layer);

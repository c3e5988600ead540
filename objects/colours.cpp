#include "objects/colours.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "edit/window_data.h"
#include "geometry/plane_bitmaps.h"
#include "geometry/raster_state.h"
#include "objects/type_codes.h"
#include "objects/editor_seams.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "store/node_pool.h"
#include "store/tower.h"

std::uint32_t* LayerColourMix = nullptr;
std::uint32_t* HighlightColours = nullptr;
NamedColourTable NamedColours = {};

const std::uint32_t kDefaultLayerColours[16] = {0xFF0000, 0x0000FF, 0x00FF00, 0xFFFF00, 0xFF00FF, 0x00FFFF,
                                                0x7A5891, 0x58917A, 0xFF1393, 0x1413BC, 0x780016, 0xFFD4AA,
                                                0x09A364, 0xF101E1, 0xF1DDE1, 0xF8E2AA};

const char* const ColourClassNames[8] = {"ALL_COLOURS",      "WIRE_COLOUR",    "BUS_COLOUR",    "ATTRIBUTE_COLOUR",
                                         "GRAPHIC_COLOUR",   "SYSTEM_COLOUR",  "UNUSED_COLOUR", "NULL"};

namespace {

constexpr std::uint32_t kMixEntries = 65536;
constexpr std::uint16_t kNamedColoursRecord = 20036;

struct DefaultNamedColour {
  const char* name;
  std::uint32_t colour;
  std::uint32_t colourClass;
};
const DefaultNamedColour kDefaultNamedColours[kNamedColourCount] = {
    {"Background Colour", 0x000000, 5},   {"Graphic Colour 1", 0xFFFFFF, 4},   {"Graphic Colour 2", 0x58D9FF, 4},
    {"Graphic Colour 3", 0xFF419F, 4},    {"Graphic Colour 4", 0x4DA8BF, 4},   {"Graphic Colour 5", 0x9B9B9B, 4},
    {"Attribute Colour 1", 0x808000, 3},  {"Attribute Colour 2", 0x00FF00, 3}, {"Attribute Colour 3", 0xFF00FF, 3},
    {"Attribute Colour 4", 0x808000, 3},  {"Attribute Colour 5", 0x3CFF28, 3}, {"Bus Colour 1", 0xFFFF00, 2},
    {"Bus Colour 2", 0x0000FF, 2},        {"Bus Colour 3", 0x800000, 2},       {"Bus Colour 4", 0x008000, 2},
    {"Bus Colour 5", 0x000080, 2},        {"Wire Colour 1", 0xFF0000, 1},      {"Wire Colour 2", 0x800080, 1},
    {"Wire Colour 3", 0xFFFF00, 1},       {"Wire Colour 4", 0x808080, 1},      {"Wire Colour 5", 0xFF8A00, 1},
    {"Grid Colour", 0xFFFF00, 5},         {"POA Colour", 0xFFFF00, 5},         {"Alignment Colour", 0xFF0000, 5},
    {"Connection Box Colour", 0xFF0000, 5}, {"Info Box Colour", 0xFFFFFF, 5},  {"Symbol Origin Colour", 0xFFFF00, 5},
    {"Spare Colour 6", 0xFF0000, 6},      {"Spare Colour 7", 0xFF0000, 6},     {"Chevron Colour", 0x000000, 5},
};

void ResetColours() {
  FreeLayerColourMixTable();
  FreeHighlightColours();
  NamedColours = {};
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetColours);

std::uint32_t Channel(std::uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

// The index kept in a class's range: shifted once, else the class's first.
std::uint8_t KeepInRange(std::uint8_t index, std::uint8_t low, int shift) {
  const auto in = [low](std::uint8_t v) { return v >= low && v < low + 5; };
  if (in(index)) return index;
  const auto shifted = static_cast<std::uint8_t>(index + shift);
  return in(shifted) ? shifted : low;
}

std::uint8_t NormaliseIndex(std::uint16_t type, std::uint8_t index) {
  switch (type) {
    case Type_Wire: return KeepInRange(index, 16, 15);
    case Type_Bus: return KeepInRange(index, 11, 5);
    case Type_AttributeLocator: return KeepInRange(index, 6, -5);
    case 1: case 2: case 3: case 4: case 5: case 6: return KeepInRange(index, 1, -15);
    default: return index;
  }
}

void NormaliseWord(std::uint32_t& word, std::uint16_t type) {
  word = NormaliseIndex(type, static_cast<std::uint8_t>(word));
}

void NormaliseNode(Entity* e) {
  std::uint8_t* payload = EntityPayload(e);
  if (e->typeCode == kDocumentColoursType && e->payloadSize >= sizeof(DocumentColours)) {
    auto& d = *reinterpret_cast<DocumentColours*>(payload);
    NormaliseWord(d.graphic, 1);
    NormaliseWord(d.locator, Type_AttributeLocator);
    NormaliseWord(d.wire, Type_Wire);
    NormaliseWord(d.bus, Type_Bus);
  } else if (e->payloadSize > 0) {
    payload[0] = NormaliseIndex(e->typeCode, payload[0]);
  }
  for (NodeRef g = e->firstChild; g; g = NodeAt<TowerNode>(g)->next)
    for (NodeRef c = NodeAt<TowerNode>(g)->firstChild; c; c = NodeAt<TowerNode>(c)->next)
      NormaliseNode(NodeAt<Entity>(c));
}

bool HasColourIndex(std::uint16_t type) {
  return (type >= 1 && type <= 6) || type == Type_AttributeLocator || type == Type_Wire || type == Type_Bus;
}

}  // namespace

void FillLayerColourMix(std::uint32_t* table, const std::uint32_t* colours16) {
  table[0] = 0;
  for (std::uint32_t mask = 1; mask < kMixEntries; ++mask) {
    const std::uint32_t n = static_cast<std::uint32_t>(std::popcount(mask));
    std::uint32_t red = 0, green = 0, blue = 0;
    for (int k = 0; k < 16; ++k) {
      if (!(mask & (1u << k))) continue;
      red += Channel(colours16[k], 16) / n;
      green += Channel(colours16[k], 8) / n;
      blue += Channel(colours16[k], 0) / n;
    }
    table[mask] = (red << 16) | (green << 8) | blue;
  }
  table[kMixEntries - 1] = 0xFFFFFF;
}

std::uint32_t* BuildLayerColourMix(const std::uint32_t* colours16) {
  auto* table = static_cast<std::uint32_t*>(std::malloc(kMixEntries * sizeof(std::uint32_t)));
  if (table) FillLayerColourMix(table, colours16);
  return table;
}

std::uint32_t* BuildDefaultLayerColourMix() { return BuildLayerColourMix(kDefaultLayerColours); }

void GetLayerColours(const std::uint32_t* table, std::uint32_t* colours16) {
  for (int k = 0; k < 16; ++k) colours16[k] = table[1u << k];
}

void FreeLayerColourMixTable() {
  std::free(LayerColourMix);
  LayerColourMix = nullptr;
}

int CountMaskLayers(std::uint32_t mask) { return std::popcount(mask & 0xFFFFu); }

void CreateHighlightColours() {
  FreeHighlightColours();
  HighlightColours = static_cast<std::uint32_t*>(std::calloc(kHighlightColourCount, sizeof(std::uint32_t)));
  if (!HighlightColours) return;
  const std::uint32_t first[5] = {0xFFFF00, 0xFFFFFF, 0x00FF00, 0x00FFFF, 0xFF0000};
  std::memcpy(HighlightColours, first, sizeof first);
  // The raster kernel colours every plane word with bit 23 (grid dots,
  // highlights, datum texts, outline dashes) from this table.
  pl3::g_raster.colourTable2 = HighlightColours;
}

void FreeHighlightColours() {
  if (pl3::g_raster.colourTable2 == HighlightColours) pl3::g_raster.colourTable2 = nullptr;
  std::free(HighlightColours);
  HighlightColours = nullptr;
}

const NamedColour& NamedColourAt(std::uint32_t planeWord) {
  const std::uint32_t index = planeWord & 0xFF;
  return NamedColours.entries[index < kNamedColourCount ? index : 0];
}

void SetDefaultNamedColours() {
  NamedColours = {};
  for (std::uint32_t i = 0; i < kNamedColourCount; ++i) {
    NamedColour& e = NamedColours.entries[i];
    e.colour = kDefaultNamedColours[i].colour;
    e.colourClass = kDefaultNamedColours[i].colourClass;
    std::strncpy(e.name, kDefaultNamedColours[i].name, kNamedColourNameSize - 1);
  }
}

int LoadNamedColours(const Tower* colourGroup) {
  if (!colourGroup) return 0;
  Tower* child = GetChildTower(colourGroup, kNamedColoursRecord);
  const Entity* record = child ? FindNextEntity(child) : nullptr;
  const bool whole = record && record->payloadSize >= sizeof(NamedColourTable);
  if (whole) {
    std::memcpy(&NamedColours, EntityPayload(record), sizeof NamedColours);
    for (NamedColour& e : NamedColours.entries) e.name[kNamedColourNameSize - 1] = 0;
    NamedColours.end = 0;
  }
  ReleaseTower(&child);
  return whole ? 1 : 0;
}

void SaveNamedColours(const Tower* colourGroup) {
  Tower* t = InsertEntity(colourGroup, sizeof NamedColours, kNamedColoursRecord, &NamedColours);
  ReleaseTower(&t);
}

void ReorderOldColourGroups() {
  for (int i = 0; i < 5; ++i) {
    std::swap(NamedColours.entries[1 + i], NamedColours.entries[16 + i]);
    std::swap(NamedColours.entries[6 + i], NamedColours.entries[11 + i]);
  }
}

std::uint32_t NextColourInClass(std::uint32_t index) {
  if (index >= kNamedColourCount) return 0;
  const std::uint32_t colourClass = NamedColours.entries[index].colourClass;
  if (index + 1 < kNamedColourCount && NamedColours.entries[index + 1].colourClass == colourClass) return index + 1;
  for (std::uint32_t i = 0; i < kNamedColourCount; ++i)
    if (NamedColours.entries[i].colourClass == colourClass) return i;
  return 0;
}

int CycleColourAt(const Tower* item) {
  Entity* e = TowerEntity(item);
  if (!e || !HasColourIndex(e->typeCode) || e->payloadSize == 0) return 0;
  std::uint8_t* payload = EntityPayload(e);
  payload[0] = static_cast<std::uint8_t>(NextColourInClass(payload[0]));
  return 1;
}

int CycleEntityColour(void* window, const SelectionInfo* selection) {
  if (!selection) return 0;
  const Tower* item = selection->workingCopy ? selection->workingCopy : selection->original;
  Entity* e = TowerEntity(item);
  if (!e || !HasColourIndex(e->typeCode) || e->payloadSize == 0) return 0;
  GhostEntityData(window, e->typeCode, EntityPayload(e), 0, &pl3::kIdentityTransform);
  CycleColourAt(item);
  GhostEntityData(window, e->typeCode, EntityPayload(e), 0, &pl3::kIdentityTransform);
  return 1;
}

namespace {

// The document colour record of the active window, made when missing; null
// outside schematic and schematic-symbol windows.
DocumentColours* ActiveDocumentColours() {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return nullptr;
  Tower* owner = nullptr;
  if (w->editorKind == kEditorSchematicSymbol)
    owner = DuplicateTower(w->design);
  else if (w->editorKind == kEditorSchematic)
    owner = GetAncestorTower(w->design, Type_Schematic);
  if (!owner) return nullptr;
  auto* record = static_cast<DocumentColours*>(GetEntityData(owner, kDocumentColoursType));
  if (!record) {
    const DocumentColours defaults{16, 11, 6, 1, {}};
    Tower* made = InsertEntity(owner, sizeof defaults, kDocumentColoursType, &defaults);
    record = reinterpret_cast<DocumentColours*>(TowerPayload(made));
    ReleaseTower(&made);
  }
  ReleaseTower(&owner);
  return record;
}

}  // namespace

std::uint32_t GetTypeColour(std::uint16_t type) {
  if (!HasColourIndex(type)) return 0;
  const DocumentColours* d = ActiveDocumentColours();
  if (!d) return 0;
  switch (type) {
    case Type_Wire: return d->wire;
    case Type_Bus: return d->bus;
    case Type_AttributeLocator: return d->locator;
    default: return d->graphic;
  }
}

void NormaliseColourIndices(const Tower* design) {
  if (Entity* e = TowerEntity(design)) NormaliseNode(e);
}

// The tables the raster kernel takes when a plane bitmap is attached.
namespace pl3 {
const std::uint32_t* CurrentLayerColourMix() { return LayerColourMix; }
const std::uint32_t* CurrentNamedColourTable() { return &NamedColours.entries[0].colour; }
}  // namespace pl3

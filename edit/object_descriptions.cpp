// The one-line description of a picked object (declared in
// objects/selection_seams.h), shown in the pick choice menus and the status
// bar. Kept in a file of its own so that tests can supply their own.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "objects/designators.h"
#include "objects/graphic_records.h"
#include "objects/item_layers.h"
#include "objects/selection_seams.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypePl2Symbol = 163;
constexpr std::uint16_t kTypeDesignatorData = 234;
constexpr std::uint16_t kTypeInfoBox = 264;

const char* LocatorKindName(const Entity* e) {
  if (e->payloadSize < offsetof(LocatorPayload, kind) + sizeof(std::uint16_t)) return "Attribute";
  std::uint16_t kind = 0;
  std::memcpy(&kind, EntityPayload(e) + offsetof(LocatorPayload, kind), sizeof kind);
  switch (kind) {
    case 1: return "Pin Number Locator";
    case 3: return "Net Name";
    case 4: return "Pin Name Locator";
    case 6: return "Designator Locator";
    case 9: return "IO Port";
    case 10: return "Value Locator";
    case 13: return "Graphical Net Name";
    case 15: return "Named IO Port";
    case 16: return "Net Name Locator";
    case 17: return "Global Net Locator";
    default: return "Attribute";
  }
}

bool IsViaHole(const Entity* e) {
  if (e->payloadSize < sizeof(pl3::HoleLayout)) return false;
  return (EntityPayload(e)[offsetof(pl3::HoleLayout, flags)] & kHoleIsVia) != 0;
}

// The kind name of an item; "Unknown" for a code without one.
const char* KindName(const Entity* e, std::uint32_t editorKind) {
  switch (e->typeCode) {
    case Type_Track: return editorKind == kEditorPcb ? "Track" : "Line";
    case Type_Arc: return "Arc";
    case Type_Circle: return "Circle";
    case Type_Polygon: return "Polygon";
    case Type_Text: return "Text";
    case Type_Rectangle: return "Rectangle";
    case Type_Hole: return IsViaHole(e) ? "Via" : "Hole";
    case Type_Plane: return "Plane";
    case Type_PlaneCutout: return "Plane Cutout";
    case Type_ThermalBreak: return "Thermal Break";
    case Type_Centroid: return "Centroid";
    case Type_Spiral: return "Spiral";
    case Type_AttributeLocator: return LocatorKindName(e);
    case Type_SymbolPin: return "Pin";
    case Type_Wire: return "Wire";
    case Type_Bus: return "Bus";
    case Type_SchematicSymbol: return "Schematic Symbol";
    case Type_Datum: return "Datum";
    case Type_LinkedCut: return "Linked Cut";
    case Type_StarEarthTrack: return "Star Earth Track";
    case Type_BoardOutlineArc: return "Arced Outline";
    case Type_BoardOutlineLine: return "Straight Outline";
    case Type_PolygonKeepout: return "Polygon Keepout";
    case Type_PolygonViaKeepout: return "Polygon Via Keepout";
    case Type_PolygonPlacementKeepout: return "Polygon Placement Keepout";
    case Type_ComponentPlacementOutline: return "Component Placement Outline";
    case Type_ComponentBodyOutline: return "Component Body Outline";
    case Type_PlatedSlot: return "Plated Slot";
    case Type_NonPlatedSlot: return "Non Plated Slot";
    case Type_PolygonWiringKeepout: return "Polygon Wiring Keepout";
    case Type_SymbolInstance: return "Symbol";
    case Type_PadStackLayerInfo: return "Shape";
    case Type_PadStackInfo:
    case Type_PadStackInstanceInfo:
    case Type_PadStackInstanceHier: return "Pad";
    case Type_Designator:
    case kTypeDesignatorData: return "Designator";
    case Type_LabelHier:
    case Type_Label: return "Label";
    case kTypePl2Symbol: return "PL2 Symbol";
    case kTypeInfoBox: return "Info Box";
    default: return "Unknown";
  }
}

// The codes described by their kind and their first layer's name.
bool DescribedWithLayer(std::uint16_t code) {
  switch (code) {
    case Type_Track: case Type_Arc: case Type_Circle: case Type_Polygon: case Type_Text: case Type_Rectangle:
    case Type_Plane: case Type_PlaneCutout: case Type_ThermalBreak: case Type_Spiral: case Type_LinkedCut:
    case Type_StarEarthTrack: case Type_BoardOutlineArc: case Type_BoardOutlineLine: case Type_PolygonKeepout:
    case Type_PolygonViaKeepout: case Type_PolygonPlacementKeepout: case Type_ComponentPlacementOutline:
    case Type_ComponentBodyOutline: case Type_PlatedSlot: case Type_NonPlatedSlot: case Type_PolygonWiringKeepout:
    case Type_PadStackInfo: case Type_PadStackInstanceInfo: case Type_PadStackInstanceHier:
    case Type_PadStackLayerInfo: case Type_Designator: case kTypeDesignatorData: case kTypePl2Symbol:
      return true;
    default:
      return false;
  }
}

const char* FirstLayerName(const Tower* item, const CurrentWindowData& w) {
  const int layer = GetFirstLayer(item, 0);
  if (layer < 0 || layer >= static_cast<int>(kLayerCount)) return "";
  return w.layerTable.layers[layer].name;
}

// The designator text of a placed symbol, "" when it has none.
const char* InstanceDesignator(const Tower* instance, Tower** group) {
  *group = GetChildTower(instance, Type_Designator);
  if (!*group || !FindNextEntity(*group)) return "";
  const char* text = GetDesignatorText(*group);
  return text ? text : "";
}

char* Format(const char* format, const char* a, const char* b = "", const char* c = "") {
  const int size = std::snprintf(nullptr, 0, format, a, b, c);
  char* text = static_cast<char*>(std::malloc(static_cast<std::size_t>(size) + 1));
  if (text) std::snprintf(text, static_cast<std::size_t>(size) + 1, format, a, b, c);
  return text;
}

}  // namespace

char* DescribeObject(const Tower* item) {
  const Entity* e = TowerEntity(item);
  const CurrentWindowData* w = ActiveWindowData;
  if (!e || !w) return nullptr;
  const char* kind = KindName(e, w->editorKind);
  // The schematic editors name every item by its kind alone.
  if (w->editorKind == kEditorSchematic || w->editorKind == kEditorSchematicSymbol) return Format("%s", kind);
  if (e->typeCode == Type_SymbolInstance) {
    if (GetInstanceDefinitionFlag(item) & 1) return Format("%s - %s", kind, FirstLayerName(item, *w));
    Tower* group = nullptr;
    char* text = Format("%s [%s] - %s", kind, InstanceDesignator(item, &group), FirstLayerName(item, *w));
    ReleaseTower(&group);
    return text;
  }
  if (DescribedWithLayer(e->typeCode)) return Format("%s - %s", kind, FirstLayerName(item, *w));
  switch (e->typeCode) {
    case Type_Label: case kTypeInfoBox: case Type_Hole: case Type_Centroid:
      return Format("%s", kind);
    default:
      // Elsewhere the schematic kinds (locators, pins, wires), datums and
      // unknown codes have no line of their own.
      return nullptr;
  }
}

#include "objects/io_ports.h"

#include <cmath>
#include <cstring>

#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "store/seams.h"

namespace {

constexpr std::uint16_t kTypeSchematicSymbolDefinition = 25;
constexpr std::uint16_t kTypeSchematicSymbolGroup = 30;
constexpr std::uint32_t kSymbolRecordDefinitionField = 4;  // u32 reference in the 32 record

// The definition a schematic symbol's record refers to: found among the
// design's definitions, never by trusting the stored address.
Tower* ReferencedDefinition(const Tower* symbolOrRecord) {
  const Entity* e = TowerEntity(symbolOrRecord);
  const std::uint8_t* record = nullptr;
  if (e->typeCode == Type_SchematicSymbol) record = PayloadOfAtLeast(const_cast<Entity*>(e), 8);
  else record = ChildPayloadOfAtLeast(symbolOrRecord, Type_SchematicSymbol, 8);
  const Tower* design = ActiveWindowData ? ActiveWindowData->design : nullptr;
  if (!record || !design) return nullptr;
  return FindChildByReference(design, kTypeSchematicSymbolDefinition, ReadU32(record, kSymbolRecordDefinitionField));
}

int SymbolCarries(const Tower* t, std::uint16_t marker) {
  const Entity* e = TowerEntity(t);
  if (!e) return 0;
  if (e->typeCode == kTypeSchematicSymbolDefinition) return GetEntityData(t, marker) ? 1 : 0;
  if (e->typeCode != kTypeSchematicSymbolGroup && e->typeCode != Type_SchematicSymbol) return 0;
  Tower* definition = ReferencedDefinition(t);
  const int carries = definition && GetEntityData(definition, marker) ? 1 : 0;
  ReleaseTower(&definition);
  return carries;
}

}  // namespace

Tower* FindChildByReference(const Tower* t, std::uint16_t code, std::uint32_t reference) {
  Tower* children = t && reference ? GetChildTower(t, code) : nullptr;
  while (children && FindNextEntity(children)) {
    if (NodeRefOf(TowerEntity(children)) == reference) {
      LastLevel(children).flags = kLevelLast | kLevelPositioned;
      return children;
    }
  }
  ReleaseTower(&children);
  return nullptr;
}

int IsSpecialFunctionSymbol(const Tower* t) { return SymbolCarries(t, kTypeSpecialFunctionMarker); }
int IsNetNameGraphicSymbol(const Tower* t) { return SymbolCarries(t, kTypeNetNameGraphicMarker); }

void RotateXYAboutOrigin(std::int32_t* x, std::int32_t* y, const pl3::Transform& t) {
  if (t.a == pl3::kFixedOne && t.b == 0 && t.c == 0 && t.d == pl3::kFixedOne) return;
  std::int32_t dx = *x - t.tx, dy = *y - t.ty;
  pl3::TransformVector(&t, dx, dy);
  *x = dx + t.tx;
  *y = dy + t.ty;
}

void CycleIOPortType(LocatorPayload* locator) { locator->portType = (locator->portType + 1) % 3; }

const pl3::Transform& IOPortRotationForAngle(int degrees) {
  if (degrees >= 45 && degrees <= 135) return pl3::R0;
  if (degrees >= 136 && degrees <= 224) return pl3::R90;
  if (degrees >= 225 && degrees <= 315) return pl3::R180;
  return pl3::R270;
}

int FitIOPortToWires(LocatorPayload* locator, const Tower* page) {
  int ends = 0;
  pl3::Point from{};
  for (std::uint16_t code : {std::uint16_t{Type_Wire}, std::uint16_t{Type_Bus}}) {
    Tower* wires = page ? GetChildTower(page, code) : nullptr;
    while (wires && FindNextEntity(wires)) {
      const std::uint8_t* w = PayloadOfAtLeast(TowerEntity(wires), sizeof(LinePayload));
      if (!w) continue;
      LinePayload line;
      std::memcpy(&line, w, sizeof line);
      if (line.x1 == locator->x && line.y1 == locator->y) {
        ++ends;
        from = {line.x2, line.y2};
      }
      if (line.x2 == locator->x && line.y2 == locator->y) {
        ++ends;
        from = {line.x1, line.y1};
      }
    }
    ReleaseTower(&wires);
  }
  if (ends != 1) return 0;
  const double dx = double(locator->x) - from.x, dy = double(locator->y) - from.y;
  int degrees = static_cast<int>(std::lround(std::atan2(dy, dx) * 180.0 / M_PI));
  if (degrees < 0) degrees += 360;
  if (degrees >= 360) degrees -= 360;
  locator->head.transform = IOPortRotationForAngle(degrees);
  return 1;
}

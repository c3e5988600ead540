// The marker tests of schematic symbols (declared in store/seams.h). Kept
// apart from the IO port code so that a program that fakes these tests can
// still link the port code.
#include "edit/window_data.h"
#include "objects/io_ports.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "store/seams.h"

namespace {

constexpr std::uint16_t kTypeSchematicSymbolDefinition = 25;
constexpr std::uint16_t kTypeSchematicSymbolGroup = 30;
constexpr std::uint32_t kSymbolRecordDefinitionField = 4;  // u32 reference in the 32 record

}  // namespace

Tower* ReferencedSymbolDefinition(const Tower* symbolOrRecord) {
  const Entity* e = TowerEntity(symbolOrRecord);
  if (!e) return nullptr;
  const std::uint8_t* record = nullptr;
  if (e->typeCode == Type_SchematicSymbol) record = PayloadOfAtLeast(const_cast<Entity*>(e), 8);
  else record = ChildPayloadOfAtLeast(symbolOrRecord, Type_SchematicSymbol, 8);
  const Tower* design = ActiveWindowData ? ActiveWindowData->design : nullptr;
  if (!record || !design) return nullptr;
  return FindChildByReference(design, kTypeSchematicSymbolDefinition, ReadU32(record, kSymbolRecordDefinitionField));
}

namespace {

int SymbolCarries(const Tower* t, std::uint16_t marker) {
  const Entity* e = TowerEntity(t);
  if (!e) return 0;
  if (e->typeCode == kTypeSchematicSymbolDefinition) return GetEntityData(t, marker) ? 1 : 0;
  if (e->typeCode != kTypeSchematicSymbolGroup && e->typeCode != Type_SchematicSymbol) return 0;
  Tower* definition = ReferencedSymbolDefinition(t);
  const int carries = definition && GetEntityData(definition, marker) ? 1 : 0;
  ReleaseTower(&definition);
  return carries;
}

}  // namespace

int IsSpecialFunctionSymbol(const Tower* t) { return SymbolCarries(t, kTypeSpecialFunctionMarker); }
int IsNetNameGraphicSymbol(const Tower* t) { return SymbolCarries(t, kTypeNetNameGraphicMarker); }

// Operations over whole sub-trees that several editors share: counting and
// flagging the nets of a design, removing entities left marked when a design
// was stored, and removing schematic symbol definitions that nothing uses.
#pragma once
#include <cstdint>

#include "store/tower.h"

// Type codes these operations read.
constexpr std::uint16_t kTypeSchematicSymbolDefinition = 25;
constexpr std::uint16_t kTypeSchematicSymbol = 30;
constexpr std::uint16_t kTypeSchematicSymbolInfo = 32;
constexpr std::uint16_t kTypePage = 104;
constexpr std::uint16_t kTypeNet = 119;
constexpr std::uint16_t kTypeNetInfo = 120;
constexpr std::uint16_t kTypeNetHierGroup = 130;
constexpr std::uint16_t kTypeSubNetHier = 269;

// Net Info flag: the net is chosen for the ratsnest display.
constexpr std::uint32_t kNetFlagRatsnest = 0x10;

Tower* GetAllNetsTower(const Tower* design);
std::uint32_t CountSubNets(const Tower* t, std::uint8_t onlyUnmarked);
int AreAllNetsFlagged(const Tower* design);
int ForEachFlaggedNet(const Tower* design, void* param);
void ToggleAllNetsFlag(const Tower* design);
void CheckItemsDeleted(const Tower* t);
void DeleteUnusedSchematicSymbolDefinitions(const Tower* design);

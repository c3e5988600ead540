// Net ids of entities: where each type keeps its two net ids, the look-up of
// a net by id in the document being edited, the source of new ids and the
// numbering of sub-nets.
#pragma once
#include <cstdint>

struct Tower;

// Bits of `which`.
constexpr std::uint32_t kNetIdFirst = 0x1;
constexpr std::uint32_t kNetIdSecond = 0x2;
constexpr std::uint32_t kNetIdPadWrite = 0x4;  // permits writing a Pad-Stack Instance Info's ids

// Reads (read != 0: the first id with kNetIdFirst, else the second) or
// writes the entity's net ids; 0 for a type without ids, a refused write or a
// Net asked for its second id.
std::uint32_t AccessEntityNetIds(const Tower* entity, std::uint32_t which, int read, std::uint32_t first,
                                 std::uint32_t second);
std::uint32_t GetEntityNetId(const Tower* entity, std::uint32_t which);
std::uint32_t SetEntityNetIds(const Tower* entity, std::uint32_t which, std::uint32_t first, std::uint32_t second);

// The active window's next net id, then increments it.
std::uint32_t NextNetId();
// A new Tower on the Net whose id is netId in the entity's container, or null.
Tower* GetNetTower(const Tower* entity, std::uint32_t netId);
Tower* GetEntityNetTower(const Tower* entity);
// A new numbered Sub Net Hier under the entity.
Tower* CreateSubNetHier(const Tower* entity);

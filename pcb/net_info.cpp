#include "pcb/net_info.h"

#include "objects/net_ids.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "store/seams.h"
#include "store/tower.h"

std::uint32_t* GetNetInfo(const Tower* net) {
  if (!TowerEntity(net)) return nullptr;
  if (std::uint8_t* info = ChildPayloadOfAtLeast(net, Type_NetInfo, 8)) {
    return reinterpret_cast<std::uint32_t*>(info);
  }
  const std::uint32_t record[2] = {NextNetId(), 0};
  Tower* created = InsertEntity(net, sizeof record, Type_NetInfo, record);
  std::uint32_t* payload = reinterpret_cast<std::uint32_t*>(TowerPayload(created));
  ReleaseTower(&created);
  return payload;
}

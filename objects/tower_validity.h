// The cache of IsTowerValidIn (objects/design_helpers.h): per type group,
// how often it was searched and, from the second search on, its entities.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "store/node_pool.h"

struct TowerValidityCache {
  struct Group {
    std::uint32_t searches = 0;
    std::unordered_set<NodeRef> entities;
  };
  std::unordered_map<NodeRef, Group> groups;
};

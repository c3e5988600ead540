#include "app/command_operations.h"

#include <string_view>

#include "edit/window_data.h"
#include "objects/indexed_sizes.h"
#include "objects/standard_sizes.h"

namespace {

std::uint32_t SetToCorvaneStandard(CurrentWindowData& window) {
  SetToStandardSizes(window.design);
  return 1;
}

std::uint32_t ConvertIndexedSizes(CurrentWindowData& window) {
  ConvertToIndexedSizes(window.design);
  return 1;
}

struct BuiltOperation {
  std::string_view name;
  std::uint32_t (*run)(CurrentWindowData& window);
};
constexpr BuiltOperation kBuiltOperations[] = {
    {"tools.settocorvanestandard", &SetToCorvaneStandard},
    {"tools.convertindexedsizes", &ConvertIndexedSizes},
};

}  // namespace

bool PerformBuiltOperation(const char* operation, HWND, std::uint32_t* result) {
  if (!operation) return false;
  for (const BuiltOperation& built : kBuiltOperations) {
    if (built.name != operation) continue;
    CurrentWindowData* window = ActiveWindowData;
    const std::uint32_t done = window && window->design ? built.run(*window) : 0;
    if (result) *result = done;
    return true;
  }
  return false;
}

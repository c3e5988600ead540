#include "app/command_operations.h"

#include <string_view>

#include "app/core_utilities.h"
#include "edit/cursor_keys.h"
#include "edit/window_data.h"
#include "objects/indexed_sizes.h"
#include "objects/standard_sizes.h"
#include "platform/user.h"
#include "platform/user_constants.h"

namespace {

std::uint32_t SetToCorvaneStandard(HWND, CurrentWindowData& window) {
  SetToStandardSizes(window.design);
  return 1;
}

std::uint32_t ConvertIndexedSizes(HWND, CurrentWindowData& window) {
  ConvertToIndexedSizes(window.design);
  return 1;
}

// The arrow keys step the window's cursor (virtual keys 37 to 40).
template <std::uint32_t Key>
std::uint32_t MoveCursor(HWND view, CurrentWindowData& window) {
  MoveCursorByKey(view, Key, &window.Button, &window.PendingRecord);
  return 1;
}

// Insert Via while a track is being added: the frame's Insert Via (2432)
// puts the via at the track's free end, or beeps when it places none.
std::uint32_t ViaAtTrackEnd(HWND, CurrentWindowData&) {
  constexpr UINT kInsertViaCommand = 2432;
  SendMessage(FrameWindow, WM_COMMAND, MAKEWPARAM(kInsertViaCommand, 0), 0);
  return 1;
}

struct BuiltOperation {
  std::string_view name;
  std::uint32_t (*run)(HWND view, CurrentWindowData& window);
};
constexpr BuiltOperation kBuiltOperations[] = {
    {"tools.settocorvanestandard", &SetToCorvaneStandard},
    {"tools.convertindexedsizes", &ConvertIndexedSizes},
    {"tools.movecursorleft", &MoveCursor<VK_LEFT>},
    {"tools.movecursorup", &MoveCursor<VK_UP>},
    {"tools.movecursorright", &MoveCursor<VK_RIGHT>},
    {"tools.movecursordown", &MoveCursor<VK_DOWN>},
    {"insert.via.trackend", &ViaAtTrackEnd},
};

}  // namespace

bool PerformBuiltOperation(const char* operation, HWND view, std::uint32_t* result) {
  if (!operation) return false;
  for (const BuiltOperation& built : kBuiltOperations) {
    if (built.name != operation) continue;
    CurrentWindowData* window = ActiveWindowData;
    const std::uint32_t done = window && window->design ? built.run(view, *window) : 0;
    if (result) *result = done;
    return true;
  }
  return false;
}

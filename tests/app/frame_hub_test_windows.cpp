#include "tests/app/frame_hub_test_windows.h"

#include "app/core_utilities.h"
#include "app/frame_command_hub.h"
#include "app/frame_menus.h"
#include "app/frame_window.h"
#include "platform/mdi.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "objects/window_state.h"
#include "store/filing_seams.h"
#include "store/node_pool.h"
#include "store/tower.h"
#include "tests/app/frame_hub_fakes.h"

namespace hubtest {

const char* const kChildClass = "HubTestChild";

namespace {

HWND g_refused = nullptr;

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      Forwarded().push_back({window, wParam, lParam});
      return 0;
    case WM_CLOSE:
      if (window == g_refused) return 0;
      DefMDIChildProcA(window, message, wParam, lParam);
      return 1;
    default:
      return DefMDIChildProcA(window, message, wParam, lParam);
  }
}

// The frame hands its commands to the hub as the program's frame does.
LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) return DoFrameCommand(window, wParam, lParam, nullptr) ? 1 : 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

// Classes are registered for each test: the test main clears them between tests.
void RegisterClasses() {
  WNDCLASSA child{};
  child.lpfnWndProc = &ChildProc;
  child.lpszClassName = kChildClass;
  RegisterClassA(&child);
  WNDCLASSA frame{};
  frame.lpfnWndProc = &FrameProc;
  frame.lpszClassName = "HubTestFrame";
  RegisterClassA(&frame);
}

}  // namespace

std::vector<ForwardedCommand>& Forwarded() {
  static std::vector<ForwardedCommand> forwarded;
  return forwarded;
}
void RefuseCloseOf(HWND child) { g_refused = child; }

void HubWindows::SetUp() {
  InitTowerStore();
  RegisterClasses();
  Forwarded().clear();
  g_refused = nullptr;
  pl3::ClearResponderRecords();
  frame = CreateWindowExA(0, "HubTestFrame", "Frame", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr, nullptr,
                          nullptr);
  ASSERT_NE(frame, nullptr);
  FrameWindow = frame;
  CLIENTCREATESTRUCT ccs{nullptr, 100};
  MDIClientWindow = CreateWindowExA(0, "mdiclient", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 800, 600, frame, nullptr,
                                    nullptr, &ccs);
  ASSERT_NE(MDIClientWindow, nullptr);
  design = NewTower(0);
  LastLevel(design).typeCode = 102;
  InsertAtLastLevel(design, 0);
  block = std::make_unique<CurrentWindowData>(kEditorPcb, design);
  ActiveWindowData = block.get();
  hubfakes::Recorded().childClass = kChildClass;
}

void HubWindows::TearDown() {
  if (block) {
    block->SelectionList = nullptr;
    FreeGridInfo(block->Grids);  // a tool's snap makes the window its own grids
    block->Grids = nullptr;
  }
  ActiveWindowData = nullptr;
  DestroyFrameMenus();
  DestroyWindow(frame);
  FrameWindow = nullptr;
  MDIClientWindow = nullptr;
  for (Tower*& item : items) ReleaseTower(&item);
  FreeTower(design);
}

HWND HubWindows::AddChild() {
  MDICREATESTRUCTA mcs{kChildClass, "Document", nullptr, 0, 0, 200, 100, 0, 0};
  auto child = reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  block->Window = child;
  return child;
}

HWND HubWindows::ActiveChild() const {
  return reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDIGETACTIVE, 0, 0));
}

void HubWindows::Select(std::initializer_list<std::uint16_t> types) { Select(std::vector<std::uint16_t>(types)); }

void HubWindows::Select(const std::vector<std::uint16_t>& types) {
  block->SelectionList = nullptr;
  SelectionInfo* last = nullptr;
  for (std::uint16_t type : types) {
    const std::uint32_t payload = 0;
    Tower* item = InsertEntity(design, sizeof payload, type, &payload);
    items.push_back(item);
    auto record = std::make_unique<SelectionInfo>();
    record->original = item;
    record->flags = kSelectionPrimary;
    record->prev = last;
    if (last)
      last->next = record.get();
    else
      block->SelectionList = record.get();
    last = record.get();
    records.push_back(std::move(record));
  }
}

}  // namespace hubtest

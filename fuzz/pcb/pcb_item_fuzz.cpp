// A PCB item's data stream opened end to end, headless: the stream is parsed
// under a project parent, a stream whose root is a PCB becomes the pending
// item of a new PCB window (its saved view read, its records checked, the
// display list built, the view painted), and the window is closed again.
// Short board records, lists past their payload, nameless datums and
// dangling earlier-generation records must neither crash nor be read past.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/consoles.h"
#include "app/core_utilities.h"
#include "app/frame_menus.h"
#include "app/open_requests.h"
#include "app/settings_block.h"
#include "edit/window_data.h"
#include "objects/new_documents.h"
#include "pcb/pcb_window.h"
#include "platform/mdi.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/document_filing.h"
#include "store/filing_seams.h"
#include "store/item_stream.h"
#include "store/node_pool.h"
#include "store/tower.h"

namespace {

HWND gFrame = nullptr;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

void StartOnce() {
  if (gFrame) return;
  InitTowerStore();
  Settings = ReadSettings();
  const std::uint32_t board[6] = {256032000, 256032000, 1463040000, 1463040000, 4, 1};
  for (int k = 0; k < 6; ++k) NewBoardDefaults[k] = board[k];
  WNDCLASSA wc{};
  wc.lpfnWndProc = &FrameProc;
  wc.lpszClassName = "PcbFuzzFrame";
  RegisterClassA(&wc);
  gFrame = CreateWindowExA(0, "PcbFuzzFrame", "", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr, nullptr,
                           nullptr);
  ShowWindow(gFrame, SW_SHOW);
  FrameWindow = gFrame;
  CLIENTCREATESTRUCT ccs{nullptr, 2455};
  MDIClientWindow = CreateWindowExA(0, "mdiclient", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 640, 480, gFrame, nullptr,
                                    nullptr, &ccs);
  RegisterConsoleClass(nullptr);
  DiagramConsoleWindow =
      CreateWindowExA(0, "CONSOLECLASS", "", WS_CHILD, 0, 0, 300, 100, gFrame, nullptr, nullptr, nullptr);
  RegisterPCBWindowClass(nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StartOnce();
  Tower* parent = NewTower(0);
  LastLevel(parent).typeCode = 800;
  InsertAtLastLevel(parent, 0);
  std::string error;
  Tower* design = ParseRecordStream(data, size, parent, &error);
  if (design && TowerEntity(design)->typeCode == kItemPcb) {
    PendingItemTower = design;
    OpenRequestFlags = kOpenTakePendingItem;
    HWND window = CreatePCBWindow(nullptr);
    OpenRequestFlags = 0;
    PendingItemTower = nullptr;
    if (window) {
      InvalidateRect(window, nullptr, FALSE);
      UpdateWindow(window);
      SendMessageA(MDIClientWindow, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
      design = nullptr;  // the window took it and deleted it
    }
  }
  if (design) {
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  DeleteEntity(parent);
  ReleaseTower(&parent);
  pl3::ClearResponderRecords();
  return 0;
}

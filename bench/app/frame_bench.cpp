// The frame's two busy paths against the same records or resources made
// bare: AddConsoleMessage of 10,000 lines into a shown pane (tower records,
// measuring, listing) against the same formatting, the same six records and
// a plain list box's add; ChangeMenu for a PCB window (every activation)
// against loading the same menu resources into a bar with no updaters and
// no owner-drawing. Each prints the ratio of the two.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/consoles.h"
#include "app/core_utilities.h"
#include "app/frame_menus.h"
#include "app/settings_block.h"
#include "app/owner_drawn_menus.h"
#include "app/pending_services.h"
#include "edit/window_data.h"
#include "platform/controls.h"
#include "platform/sync.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kLines = 10000;

struct Setup {
  Setup() {
    setenv("PL3_BACKEND", "headless", 1);
    InitTowerStore();
    Settings = ReadSettings();
    for (int k = 0; k < kConsoleKindSlots; ++k) Settings->ConsoleVisible[k] = Settings->ConsoleSaved[k] = 1;
    RegisterConsoleClass(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.lpszClassName = "BenchFrame";
    RegisterClassA(&wc);
    FrameWindow = CreateWindowExA(0, "BenchFrame", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                  nullptr, nullptr, nullptr);
  }
};
Setup& Once() {
  static Setup setup;
  return setup;
}

Tower* NewDesign() {
  Tower* design = NewTower(0);
  LastLevel(design).typeCode = 102;
  InsertAtLastLevel(design, 0);
  return design;
}

void Drop(Tower* design) {
  DeleteEntity(design);
  ReleaseTower(&design);
}

void ConsoleLines(benchmark::State& state) {
  Once();
  HWND console = CreateWindowExA(0, "CONSOLECLASS", "", WS_CHILD | WS_VISIBLE, 0, 0, 600, 300, FrameWindow, nullptr,
                                 nullptr, nullptr);
  Clock::duration full{}, bare{};
  for (auto _ : state) {
    {
      Tower* design = NewDesign();
      ConsolePane pane{};
      CreateConsolePane(console, 1, &pane, design);
      ShowWindow(pane.list, SW_SHOW);
      const auto start = Clock::now();
      for (int i = 0; i < kLines; ++i) AddConsoleMessage(&pane, 6, i, i, 0, 0x400, "Line %d of the check", i);
      full += Clock::now() - start;
      DestroyConsolePane(&pane);
      Drop(design);
    }
    {
      // The same records and listing, with nothing else.
      Tower* design = NewDesign();
      Tower* lines = InsertEmptyEntity(design, 21000);
      HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS, 0, 0, 600, 300, console,
                                  nullptr, nullptr, nullptr);
      const auto start = Clock::now();
      for (int i = 0; i < kLines; ++i) {
        char text[kConsoleTextLimit];
        std::snprintf(text, sizeof text, "Line %d of the check", i);
        SYSTEMTIME now{};
        GetLocalTime(&now);
        Tower* line = InsertEmptyEntity(lines, 21001);
        const std::uint32_t words[4] = {static_cast<std::uint32_t>(i), 6, 0x400, 0};
        FreeTower(InsertEntity(line, 4, 21002, &words[0]));
        FreeTower(InsertEntity(line, 4, 21004, &words[2]));
        FreeTower(InsertEntity(line, 4, 21003, &words[1]));
        FreeTower(InsertEntity(line, sizeof now, 21005, &now));
        const std::int32_t point[2] = {i, i};
        FreeTower(InsertEntity(line, sizeof point, 21006, point));
        FreeTower(InsertEntity(line, 4, 21007, &words[3]));
        FreeTower(InsertEntity(line, static_cast<std::uint32_t>(std::strlen(text) + 1), 21008, text));
        FreeTower(line);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
      }
      bare += Clock::now() - start;
      DestroyWindow(list);
      FreeTower(lines);
      Drop(design);
    }
  }
  DestroyWindow(console);
  const double ratio = std::chrono::duration<double>(full) / std::chrono::duration<double>(bare);
  state.counters["ratio"] = ratio;
  std::printf("AddConsoleMessage x%d: %.2f times the bare records and list\n", kLines, ratio);
}
BENCHMARK(ConsoleLines)->Unit(benchmark::kMillisecond)->Iterations(3);

void PcbMenu(benchmark::State& state) {
  Once();
  CurrentWindowData block(kEditorPcb, NewDesign());
  ActiveWindowData = &block;
  Clock::duration full{}, bare{};
  const char* const kPcbMenus[] = {"FILE_MENU",     "PCB_CONFIG_MENU", "EDIT_MENU",    "PCB_MENU",
                                   "PCB_INSERT_MENU", "PCB_TOOL_MENU", "PCB_SYMBOL_MENU", "PCB_PLANE_MENU",
                                   "PCB_DRC_MENU",  "PCB_NET_MENU",    "VIEW_MENU",    "WINDOW_MENU", "HELP_MENU"};
  for (auto _ : state) {
    for (int round = 0; round < 20; ++round) {
      auto start = Clock::now();
      ChangeMenu(1);
      full += Clock::now() - start;
      start = Clock::now();
      HMENU bar = CreateMenu();
      for (const char* name : kPcbMenus) AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(LoadMenuA(nullptr, name)), name);
      HMENU old = GetMenu(FrameWindow);
      SetMenu(FrameWindow, bar);
      DrawMenuBar(FrameWindow);
      bare += Clock::now() - start;
      SetMenu(FrameWindow, old);
      DestroyMenu(bar);
    }
  }
  DestroyFrameMenus();
  Drop(block.design);
  ActiveWindowData = nullptr;
  const double ratio = std::chrono::duration<double>(full) / std::chrono::duration<double>(bare);
  state.counters["ratio"] = ratio;
  std::printf("ChangeMenu for a PCB window: %.2f times loading the bare resources\n", ratio);
}
BENCHMARK(PcbMenu)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

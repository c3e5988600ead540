// A 10,000-item board (6,000 tracks, 2,000 vias, 2,000 circles) saved as a
// project item, then:
// - opened in a PCB window as the open command does it (the item loaded,
//   the window created from it with its display list, the first paint)
//   against loading the same item bare (FilingSystem_OpenAndLoad);
// - saved from its window (Save: view state, grid set, item stream and the
//   safe container write) against writing the same item stream into the
//   same container bare (NetFS_WriteFile).
// Counter vs_bare: the window road's time over the bare road's, both
// measured in the same iterations.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/consoles.h"
#include "app/core_utilities.h"
#include "app/open_requests.h"
#include "app/settings_block.h"
#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "objects/graphic_records.h"
#include "objects/new_documents.h"
#include "objects/type_codes.h"
#include "pcb/pcb_save.h"
#include "pcb/pcb_window.h"
#include "platform/dialog_hooks.h"
#include "platform/mdi.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/container_store.h"
#include "store/document_filing.h"
#include "store/filing_seams.h"
#include "store/item_stream.h"
#include "store/node_pool.h"
#include "store/tower.h"

namespace {

constexpr std::int32_t kInch = 36576000;
constexpr char kItem[] = "\\Bench?pcb";
constexpr char kItemData[] = "\\Bench?pcb\\data";

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

template <typename T>
void Put(const Tower* parent, std::uint16_t code, const T& payload) {
  Tower* t = InsertEntity(parent, sizeof payload, code, &payload);
  ReleaseTower(&t);
}

void FillBoard(const Tower* design) {
  const std::int32_t origin = 10 * kInch;
  for (int i = 0; i < 6000; ++i) {
    pl3::TrackLayout t{};
    t.head.layer = static_cast<std::uint8_t>(1 + i % 4);
    t.head.transform = pl3::kIdentityTransform;
    t.width = 200000;
    t.x1 = origin + (i % 100) * kInch / 10;
    t.y1 = origin + (i / 100) * kInch / 20;
    t.x2 = t.x1 + kInch / 20;
    t.y2 = t.y1 + kInch / 40;
    Put(design, Type_Track, t);
  }
  for (int i = 0; i < 2000; ++i) {
    HolePayload via{};
    via.hole.head.layer = 1;
    via.hole.head.spare = 4;
    via.hole.head.transform = pl3::kIdentityTransform;
    via.hole.flags = 0x4 | 0x8;
    via.hole.size1 = 300000;
    via.hole.size2 = 600000;
    via.hole.centreX = origin + (i % 50) * kInch / 5;
    via.hole.centreY = origin + (i / 50) * kInch / 10;
    Put(design, Type_Hole, via);
  }
  for (int i = 0; i < 2000; ++i) {
    pl3::CircleLayout c{};
    c.head.layer = static_cast<std::uint8_t>(1 + i % 4);
    c.head.transform = pl3::kIdentityTransform;
    c.size = 400000;
    c.centreX = origin + (i % 40) * kInch / 4;
    c.centreY = origin + (i / 40) * kInch / 4;
    Put(design, Type_Circle, c);
  }
}

struct Bench {
  std::string container;
  Tower* parent = nullptr;
};

// The frame, the MDI client and the saved board, made once.
Bench& TheBench() {
  static Bench* bench = [] {
    auto* b = new Bench;
    InitTowerStore();
    NetFS_Initialise();
    Settings = ReadSettings();
    const std::uint32_t board[6] = {256032000, 256032000, 1463040000, 1463040000, 4, 1};
    for (int k = 0; k < 6; ++k) NewBoardDefaults[k] = board[k];
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.lpszClassName = "PcbBenchFrame";
    RegisterClassA(&wc);
    FrameWindow = CreateWindowExA(0, "PcbBenchFrame", "", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 1024, nullptr, nullptr,
                                  nullptr, nullptr);
    ShowWindow(FrameWindow, SW_SHOW);
    CLIENTCREATESTRUCT ccs{nullptr, 2455};
    MDIClientWindow = CreateWindowExA(0, "mdiclient", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 1280, 1024, FrameWindow,
                                      nullptr, nullptr, &ccs);
    RegisterConsoleClass(nullptr);
    DiagramConsoleWindow =
        CreateWindowExA(0, "CONSOLECLASS", "", WS_CHILD, 0, 0, 300, 100, FrameWindow, nullptr, nullptr, nullptr);
    RegisterPCBWindowClass(nullptr);
    b->parent = NewTower(0);
    LastLevel(b->parent).typeCode = 800;
    InsertAtLastLevel(b->parent, 0);

    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "pl3_pcb_bench";
    std::filesystem::create_directories(dir);
    b->container = (dir / "Bench.p3p").string();
    std::filesystem::remove(b->container);
    OpenRequestFlags = kOpenNamedOrImport;  // an empty board, no dialog
    HWND window = CreatePCBWindow(nullptr);
    OpenRequestFlags = 0;
    FillBoard(PCBWindowData(window)->design);
    pl3::PushPathAnswer(b->container);
    pl3::SetDialogHook("EnterTextDlg", [](HWND dialog) {
      pl3::TypeDialogText(dialog, 72, "Bench");
      pl3::ClickDialogButton(dialog, IDOK);
    });
    if (!SavePCBWindowAs(window)) std::abort();
    pl3::ClearDialogHooks();
    SendMessageA(MDIClientWindow, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
    return b;
  }();
  return *bench;
}

void DeleteDesign(Tower* design) {
  DeleteEntity(design);
  ReleaseTower(&design);
}

void OpenBoardInWindow(benchmark::State& state) {
  Bench& b = TheBench();
  double window = 0, bare = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    Tower* design = FilingSystem_OpenAndLoad(b.container.c_str(), kItem, b.parent);
    PendingItemTower = design;
    OpenRequestFlags = kOpenTakePendingItem;
    HWND view = design ? CreatePCBWindow(nullptr) : nullptr;
    OpenRequestFlags = 0;
    PendingItemTower = nullptr;
    if (!view) {
      state.SkipWithError(design ? "no window for the board" : "the board does not load");
      break;
    }
    UpdateWindow(view);
    window += Seconds(start);
    benchmark::DoNotOptimize(PCBWindowData(view)->Display);
    SendMessageA(MDIClientWindow, WM_MDIDESTROY, reinterpret_cast<WPARAM>(view), 0);

    start = Clock::now();
    Tower* loaded = FilingSystem_OpenAndLoad(b.container.c_str(), kItem, b.parent);
    bare += Seconds(start);
    if (!loaded) {
      state.SkipWithError("the board does not load bare");
      break;
    }
    benchmark::DoNotOptimize(TowerEntity(loaded)->firstChild);
    DeleteDesign(loaded);
  }
  state.counters["vs_bare"] = window / bare;
}
BENCHMARK(OpenBoardInWindow)->Unit(benchmark::kMillisecond);

void SaveBoard(benchmark::State& state) {
  Bench& b = TheBench();
  // Opened for editing, as the frame's open command does.
  ContainerRecord* opened = FilingSystem_OpenContainer(b.container.c_str(), "Administrator", "");
  Tower* design = opened ? FilingSystem_OpenDocument(opened, kItem, b.parent) : nullptr;
  PendingItemTower = design;
  OpenRequestFlags = kOpenTakePendingItem;
  HWND view = design ? CreatePCBWindow(nullptr) : nullptr;
  OpenRequestFlags = 0;
  PendingItemTower = nullptr;
  CurrentWindowData* block = view ? PCBWindowData(view) : nullptr;
  int index = -1;
  ContainerRecord* record = block ? FindDocumentOpenFile(block->design, &index) : nullptr;
  if (!record) {
    state.SkipWithError("the board does not open for editing");
    return;
  }
  StoreViewState(*block);
  const std::vector<std::uint8_t> stream = WriteRecordStream(
      TowerEntity(block->design),
      {kRecordDocumentWindow, kRecordContainerRecord, kRecordModifiedNote, kRecordRecovered});
  double window = 0, bare = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    if (!SavePCBWindow(view)) state.SkipWithError("the save failed");
    window += Seconds(start);
    start = Clock::now();
    if (!NetFS_WriteFile(record->handle, kItemData, stream.data(), static_cast<std::uint32_t>(stream.size())))
      state.SkipWithError("the bare write failed");
    bare += Seconds(start);
  }
  state.counters["vs_bare"] = window / bare;
  SendMessageA(MDIClientWindow, WM_MDIDESTROY, reinterpret_cast<WPARAM>(view), 0);
}
BENCHMARK(SaveBoard)->Unit(benchmark::kMillisecond);

}  // namespace

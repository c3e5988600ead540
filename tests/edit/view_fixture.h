// An active PCB window with a hidden view over an empty design, its view
// showing the world around (1,000,000,000, 1,000,000,000) at 1,000 units a
// pixel, and the undo history's first step open.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "edit/undo_history.h"
#include "edit/window_data.h"
#include "engine_fakes.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "platform/user.h"
#include "tests/store/tower_test_support.h"

namespace viewtest {

constexpr std::int32_t C = 1'000'000'000;
// A track's end points, or a point and two zeros.
using Ends = std::array<std::int32_t, 4>;
inline Ends At(pl3::Point p) { return {p.x, p.y, 0, 0}; }

inline LinePayload Track(Ends e, std::uint8_t layer = 1, std::int32_t width = 5000) {
  LinePayload t{};
  t.head.layer = layer;
  t.head.transform = pl3::kIdentityTransform;
  t.head.netIds[0] = 9;
  t.width = width;
  t.x1 = e[0];
  t.y1 = e[1];
  t.x2 = e[2];
  t.y2 = e[3];
  return t;
}

class DesignView : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorPcb;
    window->Zoom = 1000;
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    for (int layer = 0; layer < 40; ++layer) window->layerTable.layers[layer].flags = 0x7;
    ActiveWindowData = window.get();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "DesignViewTest";
    RegisterClassA(&wc);
    view = CreateWindowExA(0, "DesignViewTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                           nullptr);
    window->Window = view;
    window->ViewOriginX = C / 1000 - 200;
    window->ViewOriginY = C / 1000 - 150;
    PickDistance = 40;
    window->UndoStep = NewUndoStepNumber();
    enginefakes::calls.clear();
  }
  void TearDown() override {
    delete window->PendingRecord;
    window->PendingRecord = nullptr;
    std::free(window->Grids);  // made on the first snap
    window->Grids = nullptr;
    DestroyWindow(view);
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  void Store(const LinePayload& t) {
    Tower* stored = InsertEntity(design, sizeof t, Type_Track, &t);
    ReleaseTower(&stored);
  }
  // The stored tracks' end points, sorted.
  std::vector<Ends> Tracks() {
    std::vector<Ends> found;
    for (NodeRef g = TowerEntity(design)->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
      if (NodeAt<TypeGroup>(g)->typeCode != Type_Track) continue;
      for (NodeRef e = NodeAt<TypeGroup>(g)->firstChild; e; e = NodeAt<Entity>(e)->next) {
        LinePayload t;
        std::memcpy(&t, EntityPayload(NodeAt<Entity>(e)), sizeof t);
        found.push_back({t.x1, t.y1, t.x2, t.y2});
      }
    }
    std::sort(found.begin(), found.end());
    return found;
  }
  void CursorAt(std::int32_t x, std::int32_t y) { window->Cursor = {x, y}; }

  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
  HWND view = nullptr;
};

}  // namespace viewtest

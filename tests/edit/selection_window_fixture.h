// The window the selection tests work in: an active PCB window whose view is
// a hidden window of its own (or a child of a given parent), over an empty
// design. The Towers a test keeps are released at the end; the selection
// records still in the list go with what they hold, the block origin with
// them, before the design itself is deleted.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "edit/selection.h"
#include "edit/window_data.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/store/tower_test_support.h"

namespace selectiontest {

class SelectionWindow : public testing::Test {
 protected:
  void SetUp() override { OpenWindow(nullptr); }
  void TearDown() override { CloseWindow(); }

  // The window data, the design and the view (a child of `parent` when one
  // is given, 400 x 300 pixels).
  void OpenWindow(HWND parent) {
    towertest::EnsureStoreStarted();
    w = std::make_unique<CurrentWindowData>();
    w->editorKind = kEditorPcb;
    design = towertest::NewTopLevelEntity(Type_PCB);
    w->design = design;
    ActiveWindowData = w.get();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "SelectionWindowView";
    RegisterClassA(&wc);
    view = CreateWindowExA(0, "SelectionWindowView", "", parent ? WS_CHILD : WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                           parent, nullptr, nullptr, nullptr);
    w->Window = view;
  }
  void CloseWindow() {
    while (w->SelectionList) RemoveSelectionInfo(&w->SelectionList, w->SelectionList);
    std::free(w->OriginalBlockOrigin);
    w->OriginalBlockOrigin = nullptr;
    for (Tower*& t : owned) ReleaseTower(&t);
    std::free(w->Grids);  // made on the first snap
    w->Grids = nullptr;
    if (IsWindow(view)) DestroyWindow(view);
    view = nullptr;
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  Tower* Own(Tower* t) {
    owned.push_back(t);
    return t;
  }

  std::unique_ptr<CurrentWindowData> w;
  Tower* design = nullptr;
  HWND view = nullptr;
  std::vector<Tower*> owned;
};

}  // namespace selectiontest

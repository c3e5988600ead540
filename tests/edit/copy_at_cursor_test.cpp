#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/selection_engine_seams.h"
#include "edit/window_data.h"
#include "objects/item_helper_seams.h"
#include "platform/user.h"

namespace {
std::vector<std::string> g_calls;
std::uint8_t g_assistAtPick = 99;
}  // namespace

// The selection engine, as its owner will answer: the picks are recorded
// with the angle assist in force at the time.
void CancelSelectionArray(HWND) {}
int DeleteSelectionArray(HWND) { return 0; }
int DeleteSelection(HWND) { return 0; }
int PickObjectAtCursor(HWND, ButtonRecord*, int action) {
  g_calls.push_back("pick " + std::to_string(action));
  g_assistAtPick = ActiveWindowData->AngleAssist;
  return 0;
}

namespace {

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_COMMAND) g_calls.push_back("command " + std::to_string(LOWORD(w)));
  return DefWindowProcA(hwnd, message, w, l);
}

class CopyAtCursorTest : public testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = "CopyAtCursorFrame";
    RegisterClassA(&wc);
    FrameWindow = CreateWindowA("CopyAtCursorFrame", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(FrameWindow);
    FrameWindow = nullptr;
    ActiveWindowData = nullptr;
  }
};

TEST_F(CopyAtCursorTest, PicksWhenIdleCopiesTheSelectionWhileEditingAndSkipsOtherKinds) {
  struct Case {
    std::uint32_t kind;
    std::uint8_t mode;
    const char* call;  // null: nothing happens
  };
  const Case cases[] = {
      {kEditorPcb, Mode_Idle, "pick 3"},
      {kEditorSchematic, Mode_Idle, "pick 3"},
      {kEditorShape, Mode_EditSelection, "command 429"},
      {kEditorPcbSymbol, Mode_AddNewPad, "command 429"},
      {kEditorSchematicSymbol, Mode_AddNewTrack, nullptr},
      {kEditorPadStack, Mode_Idle, nullptr},
      {kEditorPackage, Mode_Idle, nullptr},
  };
  for (const Case& c : cases) {
    g_calls.clear();
    auto w = std::make_unique<CurrentWindowData>(c.kind);
    w->EditMode = c.mode;
    w->AngleAssist = 2;
    ActiveWindowData = w.get();
    CopyAtCursor(nullptr, &w->Button);
    if (c.call) {
      EXPECT_EQ(g_calls, std::vector<std::string>{c.call}) << c.kind << "/" << int{c.mode};
      EXPECT_EQ(w->ClickState, 3u);
    } else {
      EXPECT_TRUE(g_calls.empty()) << c.kind << "/" << int{c.mode};
    }
    EXPECT_EQ(w->AngleAssist, 2) << "restored";
  }
  EXPECT_EQ(g_assistAtPick, 0) << "the pick runs without angle assist";
}

}  // namespace

// The selection end to end in a board window: mouse messages reach the
// window procedure and the mouse road, the real picking, selection, move,
// accept and undo act behind them. A click and a dragged rectangle select,
// the mouse moves the selection, a click accepts it, and Undo and Redo give
// back the design exactly as it was before and after the move.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "draw/display_paint.h"
#include "draw/walk_actions.h"
#include "edit/insertion_array.h"
#include "edit/edit_modes.h"
#include "edit/selection.h"
#include "edit/undo_history.h"
#include "edit/window_data.h"
#include "geometry/view_mapping.h"
#include "geometry/record_view.h"
#include "objects/graphic_records.h"
#include "objects/item_helpers.h"
#include "objects/pad_stacks.h"
#include "objects/real_size.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/user.h"
#include "store/node_pool.h"
#include "store/tower.h"
#include "tests/pcb/pcb_window_fixture.h"

namespace {

constexpr std::int32_t kBoardMiddle = 256032000 + 128016000;  // inside a new 7-inch board

class SelectionRoad : public pcbtest::PcbWindowTest {
 protected:
  void SetUp() override {
    PcbWindowTest::SetUp();
    // The walks the program registers at start: drawing builds the display
    // list the clicks are picked from.
    RegisterSymbolWalkHandlers();
    RegisterItemHelperWalkHandlers();
    RegisterDrawWalkHandlers();
    RegisterInsertionWalkHandlers();
    pl3::SetRealSizeResolver(&ReturnRealSize);
    window = NewBoard("2");
    ASSERT_NE(window, nullptr);
    b = Block(window);
    ASSERT_NE(b, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    ASSERT_GT(client.right, 200);
    ASSERT_GT(client.bottom, 150);
    // One step of the test is one grid step, shown ten pixels wide: the
    // cursor snaps to the grid as under the user's hand.
    std::int32_t x = kBoardMiddle, y = kBoardMiddle;
    SnapXY(&x, &y, 1);
    base = {x, y};
    for (std::int32_t probe = 1; probe < (1 << 28) && !step; probe *= 2) {
      std::int32_t px = base.x + probe, py = base.y;
      SnapXY(&px, &py, 1);
      step = px - base.x;
    }
    ASSERT_GT(step, 0);
    b->Zoom = static_cast<std::uint32_t>(std::max(1, step / 10));
    b->ViewOriginX = base.x / static_cast<std::int32_t>(b->Zoom) - client.right / 4;
    b->ViewOriginY = base.y / static_cast<std::int32_t>(b->Zoom) - client.bottom / 4;
    // The mouse's world point follows its pixel from here on.
    b->MousePixel = {0, 0};
    b->MouseWorld = {b->ViewOriginX * static_cast<std::int32_t>(b->Zoom),
                     b->ViewOriginY * static_cast<std::int32_t>(b->Zoom)};
    UpdateViewGlobals();
    // A click in idle selects once a selection click has been made; on a
    // fresh board it would begin the line tool's insertion.
    b->ClickState = 1;
    // The board has the focus in an active frame, as under the user's hand.
    pl3::PumpMessages();
    SetActiveWindow(frame);
    SetFocus(window);
    ASSERT_EQ(GetFocus(), ActiveChild());
  }

  // A track of the current layer from (x1, y1) to (x2, y2), in pixel steps
  // from the base point, put on the display list as the window shows it.
  void StoreTrack(int x1, int y1, int x2, int y2) {
    LinePayload line{};
    line.head.layer = 1;
    line.head.transform = pl3::kIdentityTransform;
    line.x1 = base.x + x1 * step, line.y1 = base.y + y1 * step;
    line.x2 = base.x + x2 * step, line.y2 = base.y + y2 * step;
    line.width = step / 4;
    Tower* t = InsertEntity(b->design, sizeof line, Type_Track, &line);
    ReleaseTower(&t);
    b->Display = RebuildDisplayList(b->design, static_cast<DisplayList*>(b->Display));
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
  }
  // The payload bytes of every track, in a fixed order.
  std::vector<std::string> Tracks() {
    std::vector<std::string> out;
    for (NodeRef g = TowerEntity(b->design)->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
      if (NodeAt<TypeGroup>(g)->typeCode != Type_Track) continue;
      for (NodeRef e = NodeAt<TypeGroup>(g)->firstChild; e; e = NodeAt<Entity>(e)->next) {
        const Entity* ent = NodeAt<Entity>(e);
        EXPECT_EQ(ent->flags & (kEntitySelected | kEntityWorkingCopy), 0) << "no selection marks left behind";
        out.emplace_back(reinterpret_cast<const char*>(EntityPayload(ent)), sizeof(LinePayload));
      }
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  LPARAM Pixel(int x, int y) {
    std::int32_t px = base.x + x * step, py = base.y + y * step;
    pl3::WorldToView(px, py);
    return MAKELPARAM(px, py);
  }
  void MouseTo(int x, int y) { SendMessageA(window, WM_MOUSEMOVE, 0, Pixel(x, y)); }
  void Press(int x, int y) {
    MouseTo(x, y);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Pixel(x, y));
  }
  void Release(int x, int y) {
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, Pixel(x, y));
    SendMessageA(window, WM_LBUTTONUP, 0, Pixel(x, y));
  }
  void Click(int x, int y) {
    Press(x, y);
    Release(x, y);
  }
  int Selected() const {
    int n = 0;
    for (const SelectionInfo* s = b->SelectionList; s; s = s->next) ++n;
    return n;
  }

  HWND window = nullptr;
  CurrentWindowData* b = nullptr;
  pl3::Point base{};
  std::int32_t step = 0;
};

TEST_F(SelectionRoad, AClickSelectsTheMouseMovesAClickAcceptsAndUndoRedoRestoreThePayloads) {
  StoreTrack(0, 0, 20, 0);
  StoreTrack(0, 6, 20, 6);  // left alone
  const std::vector<std::string> before = Tracks();

  Click(10, 0);  // on the first track
  ASSERT_EQ(Selected(), 1) << "the click picked the track under it";
  EXPECT_EQ(b->EditMode, Mode_EditSelection);
  MouseTo(10, 3);
  Click(10, 3);  // put it down where it now is
  EXPECT_EQ(b->SelectionList, nullptr);
  EXPECT_EQ(b->EditMode, Mode_Idle);
  const std::vector<std::string> after = Tracks();
  ASSERT_EQ(after.size(), 2u) << "no copy left behind, none lost";
  EXPECT_NE(after, before) << "the picked track moved";
  EXPECT_NE(std::find(after.begin(), after.end(), before[0]) == after.end(),
            std::find(after.begin(), after.end(), before[1]) == after.end())
      << "one track moved, the other kept its payload";

  UndoLastStep();
  EXPECT_EQ(Tracks(), before) << "Undo gives back the same items with the same payloads";
  RedoNextStep();
  EXPECT_EQ(Tracks(), after);
}

TEST_F(SelectionRoad, ADraggedRectangleSelectsWhatItHoldsAndTheMoveIsOneUndoStep) {
  StoreTrack(0, 0, 20, 0);
  StoreTrack(0, 2, 20, 2);
  StoreTrack(0, 9, 20, 9);  // outside the rectangle
  const std::vector<std::string> before = Tracks();

  Press(-1, -1);
  MouseTo(21, 3);
  Release(21, 3);
  ASSERT_EQ(Selected(), 2) << "the two tracks inside the rectangle";
  ASSERT_EQ(b->EditMode, Mode_EditSelection);

  MouseTo(10, 5);  // the selection follows the mouse
  Click(10, 5);
  EXPECT_EQ(b->SelectionList, nullptr);
  const std::vector<std::string> after = Tracks();
  ASSERT_EQ(after.size(), 3u);
  int kept = 0;
  for (const std::string& t : before) kept += std::find(after.begin(), after.end(), t) != after.end();
  EXPECT_EQ(kept, 1) << "the two selected tracks moved, the one outside stayed";

  UndoLastStep();
  EXPECT_EQ(Tracks(), before) << "one Undo takes the whole move back";
  RedoNextStep();
  EXPECT_EQ(Tracks(), after);
}

}  // namespace

// The toolbar: buttons refused until the record size is given, clicks and
// their WM_COMMAND (check buttons and groups toggling first, disabled ones
// silent, a press dragged off cancelled), drop-downs on the arrow part or the
// whole button, the
// hot button, custom draw stages with each button's state, rows that wrap,
// bad ids and indexes, and its picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/user.h"
#include "tests/platform/controls/test_window.h"
#include "tests/platform/golden_png.h"

namespace {

enum : int { kOpen = 101, kGrid = 102, kTop = 103, kBottom = 104, kOff = 105, kLayers = 106, kPlace = 107 };

struct Heard {
  UINT message;  // WM_COMMAND, or WM_NOTIFY with the code below
  UINT code;
  int id;
  bool operator==(const Heard&) const = default;
};
std::vector<Heard> g_heard;
struct Drawn {
  DWORD stage;
  DWORD_PTR item;
  UINT state;
};
std::vector<Drawn> g_drawn;
LRESULT g_preAnswer = CDRF_DODEFAULT;
LRESULT g_itemAnswer = CDRF_DODEFAULT;
RECT g_dropRect{};

LRESULT CALLBACK ParentProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COMMAND) {
    g_heard.push_back({m, HIWORD(w), LOWORD(w)});
    return 0;
  }
  if (m == WM_NOTIFY) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(l);
    if (hdr->code == NM_CUSTOMDRAW) {
      const auto* cd = reinterpret_cast<const NMCUSTOMDRAW*>(l);
      g_drawn.push_back({cd->dwDrawStage, cd->dwItemSpec, cd->uItemState});
      if (cd->dwDrawStage == CDDS_PREPAINT) return g_preAnswer;
      if (cd->dwDrawStage == CDDS_ITEMPREPAINT) {
        if (g_itemAnswer & CDRF_SKIPDEFAULT) FillRect(cd->hdc, &cd->rc, GetSysColorBrush(COLOR_HIGHLIGHT));
        return g_itemAnswer;
      }
      return 0;
    }
    if (hdr->code == TBN_GETINFOTIP) {
      auto* tip = reinterpret_cast<NMTBGETINFOTIPA*>(l);
      g_heard.push_back({m, hdr->code, tip->iItem});
      if (tip->iItem == kOpen) snprintf(tip->pszText, static_cast<size_t>(tip->cchTextMax), "Open a design");
      return 0;
    }
    if (hdr->code == TBN_DROPDOWN) {
      const auto* tb = reinterpret_cast<const NMTOOLBARA*>(l);
      g_heard.push_back({m, hdr->code, tb->iItem});
      g_dropRect = tb->rcButton;
    }
    return 0;
  }
  return DefWindowProcA(hwnd, m, w, l);
}

TBBUTTON Btn(int id, BYTE style, const char* text, BYTE state = TBSTATE_ENABLED) {
  TBBUTTON b{};
  b.iBitmap = -1;
  b.idCommand = id;
  b.fsState = state;
  b.fsStyle = style;
  b.iString = reinterpret_cast<INT_PTR>(text);
  return b;
}

class ToolbarTest : public testing::Test {
 protected:
  void SetUp() override {
    g_heard.clear(), g_drawn.clear();
    g_preAnswer = g_itemAnswer = CDRF_DODEFAULT;
    parent = pl3test::MakeParentWindow("ToolbarParent", ParentProc, 480, 120);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override { DestroyWindow(parent); }
  HWND MakeBar(DWORD style, DWORD exStyle = 0) {
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAME, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(9), nullptr, nullptr);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, exStyle);
    const TBBUTTON buttons[] = {
        Btn(kOpen, BTNS_BUTTON, "Open"),          Btn(0, BTNS_SEP, nullptr),
        Btn(kGrid, BTNS_CHECK, "Grid"),           Btn(kTop, BTNS_CHECKGROUP, "Top", TBSTATE_ENABLED | TBSTATE_CHECKED),
        Btn(kBottom, BTNS_CHECKGROUP, "Bottom"),  Btn(kOff, BTNS_BUTTON, "Off", 0),
        Btn(kLayers, BTNS_DROPDOWN, "Layers"),    Btn(kPlace, BTNS_DROPDOWN, "Place"),
    };
    EXPECT_TRUE(SendMessageA(bar, TB_ADDBUTTONS, std::size(buttons), reinterpret_cast<LPARAM>(buttons)));
    return bar;
  }
  RECT ItemRect(HWND bar, int id) {
    RECT r{};
    const auto index = static_cast<WPARAM>(SendMessageA(bar, TB_COMMANDTOINDEX, id, 0));
    EXPECT_TRUE(SendMessageA(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r))) << id;
    return r;
  }
  HWND parent = nullptr;
};

TEST_F(ToolbarTest, ButtonsNeedTheRecordSizeFirst) {
  HWND bar = CreateWindowExA(0, TOOLBARCLASSNAME, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr, nullptr,
                             nullptr);
  const TBBUTTON one[] = {Btn(kOpen, BTNS_BUTTON, "Open")};
  EXPECT_FALSE(SendMessageA(bar, TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(one)));
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON) - 8, 0);
  EXPECT_FALSE(SendMessageA(bar, TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(one)));
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  EXPECT_FALSE(SendMessageA(bar, TB_ADDBUTTONS, 1, 0));
  EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 0);
  EXPECT_TRUE(SendMessageA(bar, TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(one)));
  EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 1);
  // Along the parent's top at its full width.
  RECT wr, pc;
  GetWindowRect(bar, &wr);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&wr), 2);
  GetClientRect(parent, &pc);
  EXPECT_EQ(wr.top, 0);
  EXPECT_EQ(wr.right - wr.left, pc.right);
}

TEST_F(ToolbarTest, ClicksSendCommandsAfterCheckingAndDropDownsTellTheirRectangle) {
  HWND bar = MakeBar(TBSTYLE_FLAT, TBSTYLE_EX_DRAWDDARROWS);
  const RECT place = ItemRect(bar, kPlace);
  struct Step {
    int id;
    int dx;  // from the button's left edge; -1 for its middle
  } const steps[] = {{kOpen, -1}, {kGrid, -1}, {kGrid, -1}, {kBottom, -1}, {kOff, -1},
                     {kLayers, -1}, {kPlace, 4}, {kPlace, static_cast<int>(place.right - place.left) - 4}};
  for (const Step& s : steps) {
    RECT r = ItemRect(bar, s.id);
    POINT p{s.dx < 0 ? (r.left + r.right) / 2 : r.left + s.dx, (r.top + r.bottom) / 2};
    pl3test::ClickAt(bar, p);
  }
  const std::vector<Heard> expected = {
      {WM_COMMAND, BN_CLICKED, kOpen},   {WM_COMMAND, BN_CLICKED, kGrid},  {WM_COMMAND, BN_CLICKED, kGrid},
      {WM_COMMAND, BN_CLICKED, kBottom}, {WM_COMMAND, BN_CLICKED, kLayers}, {WM_COMMAND, BN_CLICKED, kPlace},
      {WM_NOTIFY, TBN_DROPDOWN, kPlace},
  };
  EXPECT_EQ(g_heard, expected);
  EXPECT_EQ(g_dropRect.left, place.left);
  EXPECT_EQ(g_dropRect.right, place.right);
  EXPECT_FALSE(SendMessageA(bar, TB_ISBUTTONCHECKED, kGrid, 0));  // checked, then cleared
  EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONCHECKED, kBottom, 0));
  EXPECT_FALSE(SendMessageA(bar, TB_ISBUTTONCHECKED, kTop, 0));  // its group lets one stay checked

  // A press dragged off the button and released sends nothing.
  g_heard.clear();
  const RECT open = ItemRect(bar, kOpen);
  POINT in{(open.left + open.right) / 2, (open.top + open.bottom) / 2};
  POINT out{in.x, in.y + 200};
  ClientToScreen(bar, &in);
  ClientToScreen(bar, &out);
  pl3::InjectMouseMove(in);
  pl3::InjectMouseButton(pl3::MouseButton::Left, true, in);
  pl3::InjectMouseMove(out);
  pl3::InjectMouseButton(pl3::MouseButton::Left, false, out);
  pl3::PumpMessages();
  EXPECT_TRUE(g_heard.empty());

  // Without the arrow parts a drop-down button drops down wherever it is pressed.
  DestroyWindow(bar);
  bar = MakeBar(TBSTYLE_FLAT);
  const RECT layers = ItemRect(bar, kLayers);
  pl3test::ClickAt(bar, POINT{layers.left + 3, layers.top + 3});
  const std::vector<Heard> dropped = {{WM_NOTIFY, TBN_DROPDOWN, kLayers}};
  EXPECT_EQ(g_heard, dropped);
}

TEST_F(ToolbarTest, TheHotButtonFollowsThePointerOverEnabledButtons) {
  HWND bar = MakeBar(TBSTYLE_FLAT);
  auto moveTo = [&](POINT client) {
    ClientToScreen(bar, &client);
    pl3::InjectMouseMove(client);
    pl3::PumpMessages();
  };
  const RECT grid = ItemRect(bar, kGrid), off = ItemRect(bar, kOff);
  moveTo(POINT{(grid.left + grid.right) / 2, (grid.top + grid.bottom) / 2});
  EXPECT_EQ(SendMessageA(bar, TB_GETHOTITEM, 0, 0), SendMessageA(bar, TB_COMMANDTOINDEX, kGrid, 0));
  moveTo(POINT{(off.left + off.right) / 2, (off.top + off.bottom) / 2});
  EXPECT_EQ(SendMessageA(bar, TB_GETHOTITEM, 0, 0), -1);  // disabled: never hot
  moveTo(POINT{(grid.left + grid.right) / 2, (grid.top + grid.bottom) / 2});
  POINT away{300, 300};
  ClientToScreen(parent, &away);
  pl3::InjectMouseMove(away);
  pl3::PumpMessages();
  EXPECT_EQ(SendMessageA(bar, TB_GETHOTITEM, 0, 0), -1);
}

// A bar with tooltips asks for a button's tip when the pointer comes to it,
// and its tooltip shows that tip after the delay; a button without a tip
// shows none.
TEST_F(ToolbarTest, HoverTipsComeFromTheParent) {
  HWND bar = MakeBar(TBSTYLE_FLAT | TBSTYLE_TOOLTIPS);
  auto tooltip = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
  ASSERT_NE(tooltip, nullptr);
  auto rest = [&](int id) {
    const RECT r = ItemRect(bar, id);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(bar, &p);
    pl3::InjectMouseMove(p);
    pl3::PumpMessages();
    pl3::AdvanceTestClock(600);
    pl3::PumpMessages();
  };
  rest(kOpen);
  ASSERT_TRUE(IsWindowVisible(tooltip));
  char text[32] = "";
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = bar;
  ti.uId = reinterpret_cast<UINT_PTR>(bar);
  ti.lpszText = text;
  SendMessageA(tooltip, TTM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, "Open a design");
  rest(kGrid);
  EXPECT_FALSE(IsWindowVisible(tooltip));
  const std::vector<Heard> asked = {{WM_NOTIFY, TBN_GETINFOTIP, kOpen}, {WM_NOTIFY, TBN_GETINFOTIP, kGrid}};
  EXPECT_EQ(g_heard, asked);
  DestroyWindow(bar);
  EXPECT_FALSE(IsWindow(tooltip));  // the bar's own tooltip goes with it
}

TEST_F(ToolbarTest, CustomDrawAsksForEveryButtonWithItsState) {
  HWND bar = MakeBar(TBSTYLE_FLAT);
  SendMessageA(bar, TB_SETHOTITEM, SendMessageA(bar, TB_COMMANDTOINDEX, kOpen, 0), 0);
  g_preAnswer = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
  g_itemAnswer = CDRF_SKIPDEFAULT;
  g_drawn.clear();
  InvalidateRect(bar, nullptr, TRUE);
  UpdateWindow(bar);
  ASSERT_EQ(g_drawn.size(), 2u + 7u);  // separators are not asked about
  EXPECT_EQ(g_drawn.front().stage, CDDS_PREPAINT);
  EXPECT_EQ(g_drawn.back().stage, CDDS_POSTPAINT);
  struct Want {
    int id;
    UINT state;
  } const wants[] = {{kOpen, CDIS_HOT}, {kGrid, 0},          {kTop, CDIS_CHECKED},       {kBottom, 0},
                     {kOff, CDIS_DISABLED}, {kLayers, 0}, {kPlace, 0}};
  for (size_t i = 0; i < std::size(wants); ++i) {
    EXPECT_EQ(g_drawn[i + 1].stage, CDDS_ITEMPREPAINT);
    EXPECT_EQ(g_drawn[i + 1].item, static_cast<DWORD_PTR>(wants[i].id));
    EXPECT_EQ(g_drawn[i + 1].state, wants[i].state) << wants[i].id;
  }
  // Without CDRF_NOTIFYITEMDRAW only the whole bar is asked about.
  g_preAnswer = CDRF_DODEFAULT;
  g_drawn.clear();
  InvalidateRect(bar, nullptr, TRUE);
  UpdateWindow(bar);
  ASSERT_EQ(g_drawn.size(), 1u);
  EXPECT_EQ(g_drawn[0].stage, CDDS_PREPAINT);
}

TEST_F(ToolbarTest, StatesByIdAndBadIdsOrIndexes) {
  HWND bar = MakeBar(0);
  EXPECT_EQ(SendMessageA(bar, TB_GETSTATE, kTop, 0), TBSTATE_ENABLED | TBSTATE_CHECKED);
  EXPECT_TRUE(SendMessageA(bar, TB_SETSTATE, kOff, TBSTATE_ENABLED));
  EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONENABLED, kOff, 0));
  EXPECT_EQ(SendMessageA(bar, TB_GETSTATE, 999, 0), -1);
  EXPECT_FALSE(SendMessageA(bar, TB_SETSTATE, 999, TBSTATE_ENABLED));
  EXPECT_FALSE(SendMessageA(bar, TB_CHECKBUTTON, 999, TRUE));
  RECT r;
  EXPECT_FALSE(SendMessageA(bar, TB_GETITEMRECT, 8, reinterpret_cast<LPARAM>(&r)));
  TBBUTTONINFOA info{};
  info.cbSize = sizeof info - 4;
  info.dwMask = TBIF_TEXT;
  info.pszText = const_cast<char*>("Grid 2");
  EXPECT_FALSE(SendMessageA(bar, TB_SETBUTTONINFO, kGrid, reinterpret_cast<LPARAM>(&info)));
  info.cbSize = sizeof info;
  EXPECT_FALSE(SendMessageA(bar, TB_SETBUTTONINFO, 999, reinterpret_cast<LPARAM>(&info)));
  info.dwMask = TBIF_SIZE;
  info.cx = 90;
  EXPECT_TRUE(SendMessageA(bar, TB_SETBUTTONINFO, kGrid, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(ItemRect(bar, kGrid).right - ItemRect(bar, kGrid).left, 90);

  // A hidden button takes no room: the next one moves up to its place.
  const RECT grid = ItemRect(bar, kGrid);
  ASSERT_TRUE(SendMessageA(bar, TB_HIDEBUTTON, kGrid, TRUE));
  EXPECT_EQ(ItemRect(bar, kTop).left, grid.left);
}

TEST_F(ToolbarTest, AWrapableBarWrapsIntoRowsAndGrows) {
  HWND bar = MakeBar(TBSTYLE_WRAPABLE);
  RECT before;
  GetWindowRect(bar, &before);
  EXPECT_EQ(SendMessageA(bar, TB_GETROWS, 0, 0), 1);
  SetWindowPos(parent, nullptr, 0, 0, 150, 200, SWP_NOMOVE | SWP_NOZORDER);
  SendMessageA(bar, TB_AUTOSIZE, 0, 0);
  EXPECT_GT(SendMessageA(bar, TB_GETROWS, 0, 0), 1);
  RECT after;
  GetWindowRect(bar, &after);
  EXPECT_GT(after.bottom - after.top, before.bottom - before.top);
  const RECT place = ItemRect(bar, kPlace);
  EXPECT_LE(place.right, 150);
}

// Buttons show their list's image, centred; a disabled one shows its
// shape etched in the shadow and highlight colours instead; no image, or
// one past the list, leaves the face bare.
TEST_F(ToolbarTest, ButtonsShowTheirImagesAndDisabledOnesGreyed) {
  HWND bar = CreateWindowExA(0, TOOLBARCLASSNAME, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(9), nullptr, nullptr);
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELONG(16, 16));
  HIMAGELIST images = pl3test::SolidImages(16, {0xFF0000, 0x0000FF});
  EXPECT_EQ(SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images)), 0);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(bar, TB_GETIMAGELIST, 0, 0)), images);
  struct Case {
    int id;
    int image;
    BYTE state;
    std::uint32_t centre;  // 0xRRGGBB, or 0 for the bar's face
    bool etched;
  };
  const std::uint32_t shadow = pl3test::AsPixel(GetSysColor(COLOR_3DSHADOW));
  const Case cases[] = {
      {kOpen, 0, TBSTATE_ENABLED, 0xFF0000, false},
      {kGrid, 1, TBSTATE_ENABLED, 0x0000FF, false},
      {kTop, 1, 0, shadow, true},
      {kBottom, -1, TBSTATE_ENABLED, 0, false},
      {kOff, 7, TBSTATE_ENABLED, 0, false},
      {kLayers, 7, 0, 0, false},
  };
  for (const Case& c : cases) {
    TBBUTTON b = Btn(c.id, BTNS_BUTTON, nullptr, c.state);
    b.iBitmap = c.image;
    ASSERT_TRUE(SendMessageA(bar, TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&b)));
  }
  UpdateWindow(parent);
  const std::uint32_t face = pl3test::AsPixel(GetSysColor(COLOR_BTNFACE));
  const std::uint32_t light = pl3test::AsPixel(GetSysColor(COLOR_3DHILIGHT));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const RECT r = ItemRect(bar, c.id);
    EXPECT_EQ(pl3test::ShownAt(bar, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}),
              c.centre ? c.centre : face);
    int lit = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) lit += pl3test::ShownAt(bar, POINT{x, y}) == light;
    EXPECT_EQ(lit, c.etched ? 31 : 0) << "the highlight shows only along the etched shape's lower right";
  }
  SendMessageA(bar, TB_SETIMAGELIST, 0, 0);
  ImageList_Destroy(images);
}

TEST_F(ToolbarTest, MatchesItsPicture) {
  HWND raised = MakeBar(0, TBSTYLE_EX_DRAWDDARROWS);
  HWND flat = MakeBar(TBSTYLE_FLAT | CCS_NOPARENTALIGN | CCS_NODIVIDER, TBSTYLE_EX_DRAWDDARROWS);
  SetWindowPos(flat, nullptr, 0, 60, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
  SendMessageA(flat, TB_AUTOSIZE, 0, 0);
  SendMessageA(flat, TB_SETHOTITEM, 0, 0);
  SendMessageA(raised, TB_PRESSBUTTON, kOpen, TRUE);
  pl3test::ExpectWindowMatchesGolden(parent, "toolbar.png");
}

}  // namespace

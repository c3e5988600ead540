// The tree view: what each message does to the items and which
// notifications reach the parent, in order.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/resource_images.h"
#include "platform/scroll.h"
#include "platform/user.h"
#include "tests/platform/controls/test_window.h"
#include "tests/platform/golden_window.h"

namespace {

// What the parent heard, one line per notification: the code's name and the
// text of the item it concerns.
std::vector<std::string> g_log;
std::function<LRESULT(const NMHDR*)> g_answer;  // the parent's answer, 0 when unset
HWND g_tree = nullptr;

std::string TextOf(HTREEITEM item) {
  if (!item) return "-";
  char buffer[64] = "";
  TVITEM it{};
  it.mask = TVIF_TEXT;
  it.hItem = item;
  it.pszText = buffer;
  it.cchTextMax = sizeof buffer;
  return TreeView_GetItem(g_tree, &it) ? buffer : "?";
}

std::string Describe(const NMHDR* hdr) {
  const auto* tv = reinterpret_cast<const NMTREEVIEW*>(hdr);
  const auto* di = reinterpret_cast<const NMTVDISPINFO*>(hdr);
  // Only the NMTREEVIEW codes read the action.
  auto action = [tv] { return " a" + std::to_string(tv->action); };
  switch (hdr->code) {
    case TVN_SELCHANGING: return "selchanging " + TextOf(tv->itemOld.hItem) + ">" + TextOf(tv->itemNew.hItem) + action();
    case TVN_SELCHANGED: return "selchanged " + TextOf(tv->itemOld.hItem) + ">" + TextOf(tv->itemNew.hItem) + action();
    case TVN_ITEMEXPANDING: return "expanding " + TextOf(tv->itemNew.hItem) + action();
    case TVN_ITEMEXPANDED: return "expanded " + TextOf(tv->itemNew.hItem) + action();
    case TVN_DELETEITEM: return "delete " + TextOf(tv->itemOld.hItem);
    case TVN_BEGINDRAG:
      return "begindrag " + TextOf(tv->itemNew.hItem) + " " + std::to_string(tv->ptDrag.x) + "," +
             std::to_string(tv->ptDrag.y);
    case TVN_BEGINLABELEDIT: return "beginedit " + std::string(di->item.pszText ? di->item.pszText : "(null)");
    case TVN_ENDLABELEDIT: return "endedit " + std::string(di->item.pszText ? di->item.pszText : "(null)");
    case TVN_KEYDOWN: return "keydown " + std::to_string(reinterpret_cast<const NMTVKEYDOWN*>(hdr)->wVKey);
    case TVN_GETDISPINFO: return "dispinfo";
    case TVN_GETINFOTIP: return "infotip " + TextOf(reinterpret_cast<const NMTVGETINFOTIP*>(hdr)->hItem);
    case NM_SETFOCUS: return "setfocus";
    case NM_KILLFOCUS: return "killfocus";
    case NM_CLICK: return "click";
    case NM_DBLCLK: return "dblclk";
    case NM_RCLICK: return "rclick";
    case NM_RETURN: return "return";
    default: return "code " + std::to_string(static_cast<int>(hdr->code));
  }
}

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CONTEXTMENU) {
    g_log.push_back(reinterpret_cast<HWND>(wp) == g_tree ? "contextmenu from tree" : "contextmenu");
    return 0;
  }
  if (msg == WM_NOTIFY) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    if (hdr->code != TVN_GETDISPINFO) g_log.push_back(Describe(hdr));
    return g_answer ? g_answer(hdr) : 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

class TreeViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    g_answer = nullptr;
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = "TreeParent";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    parent = CreateWindowExA(0, "TreeParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 220, 200, nullptr, nullptr, nullptr,
                             nullptr);
    tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEW, "Tree View",
                           WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS |
                               TVS_SHOWSELALWAYS,
                           0, 0, 220, 200, parent, reinterpret_cast<HMENU>(5), nullptr, nullptr);
    g_tree = tree;
  }
  void TearDown() override {
    g_answer = nullptr;
    DestroyWindow(parent);
  }

  HTREEITEM Add(HTREEITEM under, const char* text, HTREEITEM after = TVI_LAST, LPARAM param = 0) {
    TVINSERTSTRUCT is{};
    is.hParent = under;
    is.hInsertAfter = after;
    is.item.mask = TVIF_TEXT | TVIF_PARAM;
    is.item.pszText = const_cast<LPSTR>(text);
    is.item.lParam = param;
    return TreeView_InsertItem(tree, &is);
  }
  std::vector<std::string> Children(HTREEITEM under) {
    std::vector<std::string> out;
    for (HTREEITEM c = TreeView_GetChild(tree, under); c; c = TreeView_GetNextSibling(tree, c)) out.push_back(TextOf(c));
    return out;
  }
  RECT ItemRect(HTREEITEM item, bool labelOnly) {
    RECT rc{};
    std::memcpy(&rc, &item, sizeof item);
    EXPECT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, labelOnly, reinterpret_cast<LPARAM>(&rc)));
    return rc;
  }
  UINT StateOf(HTREEITEM item) {
    TVITEM it{};
    it.mask = TVIF_STATE;
    it.hItem = item;
    it.stateMask = 0xFFFF;
    TreeView_GetItem(tree, &it);
    return it.state;
  }

  HWND parent = nullptr;
  HWND tree = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(TreeViewTest, InsertionPlacesFirstLastAfterAndSortedIgnoringCase) {
  HTREEITEM root = Add(TVI_ROOT, "root");
  Add(root, "b", TVI_SORT);
  Add(root, "D", TVI_SORT);
  Add(root, "a", TVI_SORT);
  HTREEITEM c = Add(root, "C", TVI_SORT);
  Add(root, "last", TVI_LAST);
  Add(root, "first", TVI_FIRST);
  Add(root, "after C", c);
  EXPECT_EQ(Children(root), (std::vector<std::string>{"first", "a", "b", "C", "after C", "D", "last"}));
  EXPECT_EQ(TreeView_GetCount(tree), 8u);
  // A null parent is the root too; an unknown parent or "after" item is refused.
  EXPECT_NE(Add(nullptr, "second root"), nullptr);
  EXPECT_EQ(Add(reinterpret_cast<HTREEITEM>(std::uintptr_t{0x1234}), "x"), nullptr);
  HTREEITEM other = Add(TVI_ROOT, "elsewhere");
  EXPECT_EQ(Add(root, "x", other), nullptr);
  EXPECT_EQ(SendMessageA(tree, TVM_INSERTITEM, 0, 0), 0);
}

TEST_F(TreeViewTest, GetItemCutsTextToTheBufferAndRefusesStaleHandles) {
  HTREEITEM item = Add(TVI_ROOT, "Schematics", TVI_LAST, 77);
  char small[4] = {'x', 'x', 'x', 'x'};
  TVITEM it{};
  it.mask = TVIF_TEXT | TVIF_PARAM;
  it.hItem = item;
  it.pszText = small;
  it.cchTextMax = sizeof small;
  ASSERT_TRUE(TreeView_GetItem(tree, &it));
  EXPECT_STREQ(small, "Sch");
  EXPECT_EQ(it.lParam, 77);
  it.cchTextMax = 0;
  EXPECT_FALSE(TreeView_GetItem(tree, &it));

  // Another tree's handle, and a deleted one, name nothing here.
  HWND other = CreateWindowExA(0, WC_TREEVIEW, "", WS_CHILD, 0, 0, 50, 50, parent, nullptr, nullptr, nullptr);
  EXPECT_FALSE(SendMessageA(other, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
  ASSERT_TRUE(TreeView_DeleteItem(tree, item));
  it.cchTextMax = sizeof small;
  EXPECT_FALSE(TreeView_GetItem(tree, &it));
  EXPECT_FALSE(TreeView_SetItem(tree, &it));
  EXPECT_FALSE(TreeView_DeleteItem(tree, item));
  EXPECT_FALSE(TreeView_SelectItem(tree, item));
  EXPECT_FALSE(TreeView_Expand(tree, item, TVE_EXPAND));
  EXPECT_EQ(TreeView_GetNextItem(tree, item, TVGN_NEXT), nullptr);
  EXPECT_EQ(TreeView_EditLabel(tree, item), nullptr);
  EXPECT_EQ(TreeView_CreateDragImage(tree, item), nullptr);
}

TEST_F(TreeViewTest, CallbackTextIsAskedOfTheParent) {
  TVINSERTSTRUCT is{};
  is.hParent = TVI_ROOT;
  is.hInsertAfter = TVI_LAST;
  is.item.mask = TVIF_TEXT;
  is.item.pszText = LPSTR_TEXTCALLBACK;
  HTREEITEM item = TreeView_InsertItem(tree, &is);
  int asked = 0;
  g_answer = [&](const NMHDR* hdr) -> LRESULT {
    if (hdr->code == TVN_GETDISPINFO) {
      auto* di = reinterpret_cast<NMTVDISPINFO*>(const_cast<NMHDR*>(hdr));
      EXPECT_TRUE(di->item.mask & TVIF_TEXT);
      std::strncpy(di->item.pszText, "from parent", static_cast<std::size_t>(di->item.cchTextMax));
      ++asked;
    }
    return 0;
  };
  EXPECT_EQ(TextOf(item), "from parent");
  EXPECT_EQ(asked, 1);
}

TEST_F(TreeViewTest, SelectionNotifiesChangingThenChangedAndMayBeRefused) {
  HTREEITEM a = Add(TVI_ROOT, "a");
  HTREEITEM b = Add(TVI_ROOT, "b");
  HTREEITEM inner = Add(b, "inner");
  ASSERT_TRUE(TreeView_SelectItem(tree, a));
  EXPECT_EQ(g_log, (Log{"selchanging ->a a0", "selchanged ->a a0"}));
  EXPECT_EQ(StateOf(a) & TVIS_SELECTED, TVIS_SELECTED);

  // Selecting an item inside a collapsed parent expands the parent.
  g_log.clear();
  ASSERT_TRUE(TreeView_SelectItem(tree, inner));
  EXPECT_EQ(g_log, (Log{"selchanging a>inner a0", "expanding b a2", "expanded b a2", "selchanged a>inner a0"}));
  EXPECT_EQ(StateOf(a) & TVIS_SELECTED, 0u);
  EXPECT_TRUE(StateOf(b) & TVIS_EXPANDED);

  // The parent refuses the change: nothing moves.
  g_log.clear();
  g_answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == TVN_SELCHANGING; };
  EXPECT_FALSE(TreeView_SelectItem(tree, a));
  EXPECT_EQ(g_log, (Log{"selchanging inner>a a0"}));
  EXPECT_EQ(TreeView_GetSelection(tree), inner);

  // The drop highlight is separate and silent.
  g_log.clear();
  ASSERT_TRUE(TreeView_SelectDropTarget(tree, a));
  EXPECT_TRUE(g_log.empty());
  EXPECT_EQ(TreeView_GetNextItem(tree, nullptr, TVGN_DROPHILITE), a);
  EXPECT_TRUE(StateOf(a) & TVIS_DROPHILITED);
  ASSERT_TRUE(TreeView_SelectDropTarget(tree, nullptr));
  EXPECT_EQ(StateOf(a) & TVIS_DROPHILITED, 0u);
}

TEST_F(TreeViewTest, ExpansionRefusalCollapseAndLazyChildren) {
  HTREEITEM folder = Add(TVI_ROOT, "folder");
  HTREEITEM child = Add(folder, "child");
  HTREEITEM leaf = Add(TVI_ROOT, "leaf");

  // Nothing to expand: refused without a word.
  EXPECT_FALSE(TreeView_Expand(tree, leaf, TVE_EXPAND));
  EXPECT_TRUE(g_log.empty());

  g_answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == TVN_ITEMEXPANDING; };
  EXPECT_FALSE(TreeView_Expand(tree, folder, TVE_EXPAND));
  EXPECT_EQ(g_log, (Log{"expanding folder a2"}));
  EXPECT_EQ(StateOf(folder) & TVIS_EXPANDED, 0u);
  g_answer = nullptr;

  // Collapsing a parent of the selection moves the selection up to it.
  ASSERT_TRUE(TreeView_SelectItem(tree, child));
  g_log.clear();
  ASSERT_TRUE(TreeView_Expand(tree, folder, TVE_TOGGLE));
  EXPECT_EQ(g_log, (Log{"expanding folder a1", "selchanging child>folder a0", "selchanged child>folder a0",
                        "expanded folder a1"}));

  // An item that says it has children is filled when it first opens.
  TVINSERTSTRUCT is{};
  is.hParent = TVI_ROOT;
  is.hInsertAfter = TVI_LAST;
  is.item.mask = TVIF_TEXT | TVIF_CHILDREN;
  is.item.pszText = const_cast<LPSTR>("lazy");
  is.item.cChildren = 1;
  HTREEITEM lazy = TreeView_InsertItem(tree, &is);
  g_answer = [&](const NMHDR* hdr) -> LRESULT {
    if (hdr->code == TVN_ITEMEXPANDING) Add(lazy, "filled");
    return 0;
  };
  ASSERT_TRUE(TreeView_Expand(tree, lazy, TVE_EXPAND));
  EXPECT_EQ(Children(lazy), (std::vector<std::string>{"filled"}));
  EXPECT_EQ(TreeView_GetNextItem(tree, lazy, TVGN_NEXTVISIBLE), TreeView_GetChild(tree, lazy));
  EXPECT_TRUE(StateOf(lazy) & TVIS_EXPANDEDONCE);
  g_answer = nullptr;

  // Collapse-reset drops the children again.
  g_log.clear();
  ASSERT_TRUE(TreeView_Expand(tree, lazy, TVE_COLLAPSE | TVE_COLLAPSERESET));
  EXPECT_EQ(g_log, (Log{"expanding lazy a1", "delete filled", "expanded lazy a1"}));
  EXPECT_EQ(TreeView_GetChild(tree, lazy), nullptr);
  EXPECT_EQ(StateOf(lazy) & (TVIS_EXPANDED | TVIS_EXPANDEDONCE), 0u);
}

TEST_F(TreeViewTest, DeletingASubtreeNotifiesEachItemOnceAndMovesTheSelection) {
  HTREEITEM a = Add(TVI_ROOT, "a");
  HTREEITEM a1 = Add(a, "a1");
  Add(a1, "a1x");
  Add(a1, "a1y");
  Add(a, "a2");
  HTREEITEM b = Add(TVI_ROOT, "b");
  ASSERT_TRUE(TreeView_SelectItem(tree, a1));
  g_log.clear();
  ASSERT_TRUE(TreeView_DeleteItem(tree, a));
  EXPECT_EQ(g_log, (Log{"delete a", "delete a1", "delete a1x", "delete a1y", "delete a2", "selchanging ->b a0",
                        "selchanged ->b a0"}));
  EXPECT_EQ(TreeView_GetCount(tree), 1u);
  EXPECT_EQ(TreeView_GetRoot(tree), b);
  EXPECT_EQ(TreeView_GetSelection(tree), b);

  // Deleting everything leaves no selection.
  Add(b, "b1");
  g_log.clear();
  ASSERT_TRUE(TreeView_DeleteAllItems(tree));
  EXPECT_EQ(g_log, (Log{"delete b", "delete b1"}));
  EXPECT_EQ(TreeView_GetCount(tree), 0u);
  EXPECT_EQ(TreeView_GetSelection(tree), nullptr);
}

TEST_F(TreeViewTest, AParentDeletingTheTreeInANotificationIsHarmless) {
  HTREEITEM a = Add(TVI_ROOT, "a");
  Add(a, "a1");
  g_answer = [&](const NMHDR* hdr) -> LRESULT {
    if (hdr->code == TVN_ITEMEXPANDING) DestroyWindow(tree);
    return 0;
  };
  EXPECT_FALSE(TreeView_Expand(tree, a, TVE_EXPAND));
  EXPECT_FALSE(IsWindow(tree));
  EXPECT_EQ(g_log, (Log{"expanding a a2", "delete a", "delete a1"}));
}

// Label edits: Enter accepts (the parent's TRUE keeps the text), Escape cancels
// (no text), a parent answering FALSE keeps the old text, and a refused
// start opens no edit.
TEST_F(TreeViewTest, LabelEditsAcceptedRejectedAndCancelled) {
  HTREEITEM item = Add(TVI_ROOT, "old");
  struct Case {
    UINT key;
    LRESULT answer;
    const char* logged;
    const char* after;
  } cases[] = {
      {VK_RETURN, TRUE, "endedit new name", "new name"},
      {VK_RETURN, FALSE, "endedit new name", "old"},
      {VK_ESCAPE, TRUE, "endedit (null)", "old"},
  };
  for (const Case& c : cases) {
    TVITEM reset{};
    reset.mask = TVIF_TEXT;
    reset.hItem = item;
    reset.pszText = const_cast<LPSTR>("old");
    TreeView_SetItem(tree, &reset);
    g_log.clear();
    g_answer = [&](const NMHDR* hdr) -> LRESULT { return hdr->code == TVN_ENDLABELEDIT ? c.answer : 0; };
    HWND edit = TreeView_EditLabel(tree, item);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0)), edit);
    SetWindowTextA(edit, "new name");
    SendMessageA(edit, WM_KEYDOWN, c.key, 0);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(GetFocus(), tree);
    ASSERT_GE(g_log.size(), 2u);
    EXPECT_EQ(g_log[0], "beginedit old");
    EXPECT_EQ(std::count(g_log.begin(), g_log.end(), std::string(c.logged)), 1) << ::testing::PrintToString(g_log);
    EXPECT_EQ(TextOf(item), c.after);
  }
  g_answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == TVN_BEGINLABELEDIT; };
  EXPECT_EQ(TreeView_EditLabel(tree, item), nullptr);
  EXPECT_EQ(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0), 0);
}

TEST_F(TreeViewTest, KeysMoveTheSelectionAndOpenAndCloseFolders) {
  HTREEITEM a = Add(TVI_ROOT, "a");
  Add(a, "a1");
  HTREEITEM b = Add(TVI_ROOT, "b");
  ASSERT_TRUE(TreeView_SelectItem(tree, a));
  g_log.clear();
  SendMessageA(tree, WM_KEYDOWN, VK_RIGHT, 0);  // opens a
  SendMessageA(tree, WM_KEYDOWN, VK_RIGHT, 0);  // into a1
  SendMessageA(tree, WM_KEYDOWN, VK_DOWN, 0);   // b
  SendMessageA(tree, WM_KEYDOWN, VK_DOWN, 0);   // stays on b
  EXPECT_EQ(g_log, (Log{"keydown 39", "expanding a a2", "expanded a a2", "keydown 39", "selchanging a>a1 a2",
                        "selchanged a>a1 a2", "keydown 40", "selchanging a1>b a2", "selchanged a1>b a2",
                        "keydown 40"}));
  EXPECT_EQ(TreeView_GetSelection(tree), b);
  g_log.clear();
  SendMessageA(tree, WM_KEYDOWN, VK_HOME, 0);
  SendMessageA(tree, WM_KEYDOWN, VK_LEFT, 0);  // closes a
  EXPECT_EQ(g_log, (Log{"keydown 36", "selchanging b>a a2", "selchanged b>a a2", "keydown 37", "expanding a a1",
                        "expanded a a1"}));
  // F2 edits the label of a tree with TVS_EDITLABELS.
  SendMessageA(tree, WM_KEYDOWN, VK_F2, 0);
  EXPECT_NE(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0), 0);
}

TEST_F(TreeViewTest, TypedLettersFindTheNextItemByItsLabel) {
  for (const char* text : {"alpha", "apple", "beta", "Bravo"}) Add(TVI_ROOT, text);
  struct Step {
    int pauseMs;  // before the letters
    const char* letters;
    const char* selected;
  } steps[] = {
      {0, "b", "beta"},
      {0, "b", "Bravo"},    // the same letter again steps on
      {1500, "a", "alpha"},  // after a pause a new search, wrapping round
      {0, "p", "apple"},     // "ap"
      {0, "p", "apple"},     // "app" stays
      {1500, "z", "apple"},  // nothing starts with it: a beep, no change
  };
  const int beeps = pl3::BeepCount();
  for (const Step& step : steps) {
    pl3::AdvanceTestClock(static_cast<std::uint32_t>(step.pauseMs));
    for (const char* c = step.letters; *c; ++c) SendMessageA(tree, WM_CHAR, static_cast<unsigned char>(*c), 0);
    EXPECT_EQ(TextOf(TreeView_GetSelection(tree)), step.selected) << step.letters << " after " << step.pauseMs;
  }
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
}

// A resting pointer asks for the item's tip after the hover time; the
// parent's text (the label when it leaves the buffer, none when it empties
// it) shows in a pop-up that goes when the pointer moves off the item.
TEST_F(TreeViewTest, InfoTipsAskTheParentAfterTheHoverTime) {
  SetWindowLongPtrA(tree, GWL_STYLE, GetWindowLongPtrA(tree, GWL_STYLE) | TVS_INFOTIP);
  HTREEITEM alpha = Add(TVI_ROOT, "alpha");
  HTREEITEM beta = Add(TVI_ROOT, "beta");
  auto tipText = [&]() -> std::string {
    HWND tip = FindWindowA(TOOLTIPS_CLASS, nullptr);
    if (!tip || !IsWindowVisible(tip)) return "(none)";
    char text[64] = "";
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = tree;
    ti.uId = reinterpret_cast<UINT_PTR>(ti.hwnd);
    ti.lpszText = text;
    SendMessageA(tip, TTM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(&ti));
    return text;
  };
  auto moveTo = [&](POINT p) {
    ClientToScreen(tree, &p);
    pl3::InjectMouseMove(p);
    pl3::PumpMessages();
  };
  auto rest = [&](HTREEITEM item) {
    const RECT label = ItemRect(item, true);
    moveTo(POINT{label.left + 2, (label.top + label.bottom) / 2});
  };
  struct Case {
    const char* answer;  // null: the buffer left as given
    const char* shown;
  } cases[] = {{"the first letter", "the first letter"}, {nullptr, "alpha"}, {"", "(none)"}};
  for (const Case& c : cases) {
    g_log.clear();
    g_answer = [&](const NMHDR* hdr) -> LRESULT {
      if (hdr->code == TVN_GETINFOTIP && c.answer) {
        auto* tip = reinterpret_cast<NMTVGETINFOTIP*>(const_cast<NMHDR*>(hdr));
        std::snprintf(tip->pszText, static_cast<std::size_t>(tip->cchTextMax), "%s", c.answer);
      }
      return 0;
    };
    rest(alpha);
    pl3::AdvanceTestClock(300);
    pl3::PumpMessages();
    EXPECT_TRUE(g_log.empty()) << "asked before the hover time";
    pl3::AdvanceTestClock(200);
    pl3::PumpMessages();
    EXPECT_EQ(g_log, (Log{"infotip alpha"}));
    EXPECT_EQ(tipText(), c.shown);
    moveTo(POINT{5, 150});  // below every item
    EXPECT_EQ(tipText(), "(none)");
  }
  // Moving to another item starts its own wait; without TVS_INFOTIP nothing is asked.
  g_answer = nullptr;
  g_log.clear();
  rest(alpha);
  pl3::AdvanceTestClock(300);
  rest(beta);
  pl3::AdvanceTestClock(300);
  pl3::PumpMessages();
  EXPECT_TRUE(g_log.empty());
  pl3::AdvanceTestClock(200);
  pl3::PumpMessages();
  EXPECT_EQ(g_log, (Log{"infotip beta"}));
  SetWindowLongPtrA(tree, GWL_STYLE, GetWindowLongPtrA(tree, GWL_STYLE) & ~static_cast<LONG_PTR>(TVS_INFOTIP));
  moveTo(POINT{5, 150});
  g_log.clear();
  rest(alpha);
  pl3::AdvanceTestClock(1000);
  pl3::PumpMessages();
  EXPECT_TRUE(g_log.empty());
}

TEST_F(TreeViewTest, HitTestAndMouseButtonsClicksAndDrags) {
  HTREEITEM a = Add(TVI_ROOT, "alpha");
  HTREEITEM a1 = Add(a, "a1");
  Add(TVI_ROOT, "beta");
  const RECT label = ItemRect(a, true);
  const RECT row = ItemRect(a, false);
  EXPECT_EQ(row.left, 0);
  EXPECT_GT(label.left, 0);
  EXPECT_GT(label.right, label.left);

  TVHITTESTINFO hit{{label.left + 2, (label.top + label.bottom) / 2}, 0, nullptr};
  EXPECT_EQ(TreeView_HitTest(tree, &hit), a);
  EXPECT_EQ(hit.flags, TVHT_ONITEMLABEL);
  hit.pt.x = label.right + 5;
  EXPECT_EQ(TreeView_HitTest(tree, &hit), a);
  EXPECT_EQ(hit.flags, TVHT_ONITEMRIGHT);
  hit.pt = POINT{5, 150};
  EXPECT_EQ(TreeView_HitTest(tree, &hit), nullptr);
  EXPECT_EQ(hit.flags, TVHT_NOWHERE);
  hit.pt = POINT{-3, 5};
  EXPECT_EQ(TreeView_HitTest(tree, &hit), nullptr);
  EXPECT_EQ(hit.flags, TVHT_TOLEFT);

  // The button opens the folder; a press on the label selects by mouse, and
  // moving beyond the drag distance with the button held starts a drag.
  const int mid = (label.top + label.bottom) / 2;
  int buttonX = 0;
  for (int x = 0; x < label.left; ++x) {
    TVHITTESTINFO probe{{x, mid}, 0, nullptr};
    TreeView_HitTest(tree, &probe);
    if (probe.flags == TVHT_ONITEMBUTTON) {
      buttonX = x;
      break;
    }
  }
  ASSERT_GT(buttonX, 0) << "no button left of the label";
  g_log.clear();
  SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(buttonX, mid));
  EXPECT_EQ(g_log, (Log{"setfocus", "expanding alpha a2", "expanded alpha a2"}));
  EXPECT_EQ(TreeView_GetNextItem(tree, a, TVGN_NEXTVISIBLE), a1);

  g_log.clear();
  SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(label.left + 3, mid));
  SendMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(label.left + 4, mid));
  SendMessageA(tree, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(label.left + 30, mid + 20));
  SendMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(label.left + 30, mid + 20));
  EXPECT_EQ(g_log, (Log{"selchanging ->alpha a1", "selchanged ->alpha a1",
                        "begindrag alpha " + std::to_string(label.left + 3) + "," + std::to_string(mid)}));

  // A click without moving; a double click toggles unless the parent takes
  // it; the right button reports its click.
  g_log.clear();
  SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(label.left + 3, mid));
  SendMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(label.left + 3, mid));
  SendMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(label.left + 3, mid));
  SendMessageA(tree, WM_RBUTTONUP, 0, MAKELPARAM(label.left + 3, mid));
  EXPECT_EQ(g_log, (Log{"click", "dblclk", "expanding alpha a1", "expanded alpha a1", "rclick",
                        "contextmenu from tree"}));
  // A parent that takes the double or right click gets nothing more.
  g_log.clear();
  g_answer = [](const NMHDR* hdr) -> LRESULT { return hdr->code == NM_DBLCLK || hdr->code == NM_RCLICK; };
  SendMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(label.left + 3, mid));
  SendMessageA(tree, WM_RBUTTONUP, 0, MAKELPARAM(label.left + 3, mid));
  EXPECT_EQ(g_log, (Log{"dblclk", "rclick"}));
}

// The vertical bar counts the rows that show: items under a closed item
// do not count until it opens, and scrolling moves the first row shown.
TEST_F(TreeViewTest, TheVerticalBarCountsTheRowsThatShow) {
  HTREEITEM first = Add(TVI_ROOT, "row 0");
  for (int i = 1; i < 30; ++i) Add(TVI_ROOT, ("row " + std::to_string(i)).c_str());
  for (int i = 0; i < 5; ++i) Add(first, "hidden");
  ASSERT_TRUE(GetWindowLongPtrA(tree, GWL_STYLE) & WS_VSCROLL);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(tree, SB_VERT, &si);
  EXPECT_EQ(si.nMax, 29);
  EXPECT_EQ(static_cast<int>(si.nPage), static_cast<int>(SendMessageA(tree, TVM_GETVISIBLECOUNT, 0, 0)));
  TreeView_Expand(tree, first, TVE_EXPAND);
  GetScrollInfo(tree, SB_VERT, &si);
  EXPECT_EQ(si.nMax, 34);
  SendMessageA(tree, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(TreeView_GetNextItem(tree, nullptr, TVGN_FIRSTVISIBLE), TreeView_GetChild(tree, first));
  SendMessageA(tree, WM_VSCROLL, SB_BOTTOM, 0);
  GetScrollInfo(tree, SB_VERT, &si);
  EXPECT_EQ(si.nPos, 35 - static_cast<int>(si.nPage));
}

// A label wider than the tree shows the horizontal bar; its codes move
// every item's place, and the last position shows the label's right end.
TEST_F(TreeViewTest, AWideLabelScrollsSideways) {
  HTREEITEM item = Add(TVI_ROOT, "short");
  EXPECT_FALSE(GetWindowLongPtrA(tree, GWL_STYLE) & WS_HSCROLL) << "everything fits";
  HTREEITEM wide = Add(item, "a label far wider than the whole tree is, so that it overflows");
  TreeView_Expand(tree, item, TVE_EXPAND);
  ASSERT_TRUE(GetWindowLongPtrA(tree, GWL_STYLE) & WS_HSCROLL);
  RECT client;
  GetClientRect(tree, &client);
  const RECT before = ItemRect(wide, true);
  ASSERT_GT(before.right, client.right);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(tree, SB_HORZ, &si);
  EXPECT_EQ(si.nMax + 1, before.right);
  EXPECT_EQ(static_cast<int>(si.nPage), client.right);

  SendMessageA(tree, WM_HSCROLL, SB_LINEDOWN, 0);
  const RECT moved = ItemRect(wide, true);
  EXPECT_EQ(moved.left, before.left - 8);
  TVHITTESTINFO hit{{moved.left + 1, (moved.top + moved.bottom) / 2}, 0, nullptr};
  EXPECT_EQ(TreeView_HitTest(tree, &hit), wide);
  EXPECT_EQ(hit.flags, TVHT_ONITEMLABEL);
  SendMessageA(tree, WM_HSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(ItemRect(wide, true).right, client.right);
  SendMessageA(tree, WM_HSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(ItemRect(wide, true).right, client.right + 8);
  // Once the wide label goes away the bar goes and the view returns to the left.
  TreeView_DeleteItem(tree, wide);
  EXPECT_FALSE(GetWindowLongPtrA(tree, GWL_STYLE) & WS_HSCROLL);
  EXPECT_EQ(ItemRect(item, true).left, before.left - 19);
}

TEST_F(TreeViewTest, DragImageHoldsTheItemsIconAndLabel) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
  const std::vector<std::uint32_t> red(16 * 16, 0xFFFF0000);
  HICON icon = pl3::CreateIconFromPixels(red.data(), 16, 16);
  ImageList_AddIcon(images, icon);
  DestroyIcon(icon);
  TreeView_SetImageList(tree, images, TVSIL_NORMAL);
  HTREEITEM item = Add(TVI_ROOT, "dragged");
  HIMAGELIST drag = TreeView_CreateDragImage(tree, item);
  ASSERT_NE(drag, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(drag), 1);
  const pl3test::DrawnImage drawn = pl3test::DrawImage(drag, 0);
  const RECT label = ItemRect(item, true);
  EXPECT_EQ(drawn.cx, 16 + 3 + label.right - label.left);
  EXPECT_EQ(drawn.cy, label.bottom - label.top);
  ASSERT_FALSE(drawn.pixels.empty());
  // Drawn on white: the icon's red at the left, text pixels in the label.
  EXPECT_EQ(drawn.At(8, drawn.cy / 2), RGB(255, 0, 0));
  EXPECT_EQ(drawn.At(drawn.cx - 1, 0), RGB(255, 255, 255)) << "the label's background stays opaque";
  const int inked = drawn.CountUnlike(19, RGB(255, 255, 255));
  EXPECT_GT(inked, 10);
  EXPECT_LT(inked, (drawn.cx - 19) * drawn.cy / 2);
  ImageList_Destroy(drag);
  ImageList_Destroy(images);
}

TEST_F(TreeViewTest, TreeMatchesItsPicture) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1);
  std::vector<std::uint32_t> folder(16 * 16, 0), page(16 * 16, 0);
  for (int y = 3; y < 14; ++y)
    for (int x = 1; x < 15; ++x) folder[y * 16 + x] = 0xFFE8C040;
  for (int y = 1; y < 15; ++y)
    for (int x = 3; x < 13; ++x) page[y * 16 + x] = (x == 3 || x == 12 || y == 1 || y == 14) ? 0xFF404040 : 0xFFFFFFFF;
  for (const auto* pixels : {&folder, &page}) {
    HICON icon = pl3::CreateIconFromPixels(pixels->data(), 16, 16);
    ImageList_AddIcon(images, icon);
    DestroyIcon(icon);
  }
  TreeView_SetImageList(tree, images, TVSIL_NORMAL);
  auto add = [&](HTREEITEM under, const char* text, int image) {
    TVINSERTSTRUCT is{};
    is.hParent = under;
    is.hInsertAfter = TVI_LAST;
    is.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    is.item.pszText = const_cast<LPSTR>(text);
    is.item.iImage = is.item.iSelectedImage = image;
    return TreeView_InsertItem(tree, &is);
  };
  HTREEITEM project = add(TVI_ROOT, "board.p3p", 0);
  HTREEITEM sheets = add(project, "Sheets", 0);
  add(sheets, "main", 1);
  HTREEITEM power = add(sheets, "power", 1);
  add(project, "Library", 0);
  add(add(TVI_ROOT, "parts.p3l", 0), "hidden", 1);
  TreeView_SelectItem(tree, power);
  SetFocus(tree);
  RECT all;
  GetClientRect(parent, &all);
  UpdateWindow(parent);
  pl3::test::ExpectMatchesGolden(parent, all, "tree_view.png");
  ImageList_Destroy(images);
}

}  // namespace

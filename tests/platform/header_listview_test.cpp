// The header and the list view: the notifications each user action causes,
// in order; owner data asking only for the rows shown; label edits; bad
// indexes and short buffers; the report view's picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/resource_images.h"
#include "platform/scroll.h"
#include "platform/surface.h"
#include "platform/user.h"
#include "tests/platform/controls/test_window.h"
#include "tests/platform/golden_window.h"

namespace {

struct Note {
  UINT code;
  int item;  // iItem of the record, or -1
  int sub;   // iSubItem, or the header's new width / order
  UINT newState;
  UINT oldState;
  std::string text;
  bool nullText;
  HWND from;
};

std::vector<Note> g_notes;
std::map<UINT, LRESULT> g_answers;     // what the parent answers per notification code
std::function<void(NMHDR*)> g_onNote;  // runs before the answer
int g_drawn = 0;
std::vector<UINT> g_drawnRows;

// An owner-data parent: "R<row>C<column>", and image 1 for any item.
void FillDisplayText(NMLVDISPINFO* di) {
  if (di->item.mask & LVIF_IMAGE) di->item.iImage = 1;
  if (!(di->item.mask & LVIF_TEXT) || !di->item.pszText) return;
  std::string s = "R" + std::to_string(di->item.iItem) + "C" + std::to_string(di->item.iSubItem);
  std::snprintf(di->item.pszText, static_cast<size_t>(di->item.cchTextMax), "%s", s.c_str());
}

LRESULT CALLBACK ParentProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(l);
    Note n{hdr->code, -1, -1, 0, 0, "", false, hdr->hwndFrom};
    const UINT code = hdr->code;
    if (code >= HDN_ENDDRAG && code <= HDN_ITEMCHANGING) {
      auto* nm = reinterpret_cast<NMHEADER*>(l);
      n.item = nm->iItem;
      if (nm->pitem && (nm->pitem->mask & HDI_WIDTH)) n.sub = nm->pitem->cxy;
      if (nm->pitem && (nm->pitem->mask & HDI_ORDER)) n.sub = nm->pitem->iOrder;
    } else if (code == LVN_GETDISPINFO || code == LVN_BEGINLABELEDIT || code == LVN_ENDLABELEDIT) {
      auto* di = reinterpret_cast<NMLVDISPINFO*>(l);
      n.item = di->item.iItem;
      n.sub = di->item.iSubItem;
      n.nullText = di->item.pszText == nullptr;
      if (code == LVN_GETDISPINFO)
        FillDisplayText(di);
      else if (di->item.pszText)
        n.text = di->item.pszText;
    } else if (code == LVN_ODCACHEHINT) {
      auto* hint = reinterpret_cast<NMLVCACHEHINT*>(l);
      n.item = hint->iFrom;
      n.sub = hint->iTo;
    } else if (code == LVN_KEYDOWN) {
      n.sub = reinterpret_cast<NMLVKEYDOWN*>(l)->wVKey;
    } else if (code == NM_DBLCLK || code == NM_CLICK || code == NM_RCLICK) {
      n.item = reinterpret_cast<NMITEMACTIVATE*>(l)->iItem;
    } else if (code >= LVN_KEYDOWN && code <= LVN_ITEMCHANGING) {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(l);
      n.item = nm->iItem;
      n.sub = nm->iSubItem;
      n.newState = nm->uNewState;
      n.oldState = nm->uOldState;
    }
    g_notes.push_back(n);
    if (g_onNote) g_onNote(hdr);
    auto answer = g_answers.find(code);
    return answer == g_answers.end() ? 0 : answer->second;
  }
  if (m == WM_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    ++g_drawn;
    g_drawnRows.push_back(dis->itemID);
    return TRUE;
  }
  return DefWindowProcA(hwnd, m, w, l);
}

// The notifications heard, without the display questions and focus notes.
std::vector<UINT> Codes(bool withDisplay = false) {
  std::vector<UINT> out;
  for (const Note& n : g_notes)
    if (withDisplay || (n.code != LVN_GETDISPINFO && n.code != LVN_ODCACHEHINT && n.code != NM_SETFOCUS &&
                        n.code != NM_KILLFOCUS))
      out.push_back(n.code);
  return out;
}

POINT ScreenPoint(HWND hwnd, POINT client) {
  ClientToScreen(hwnd, &client);
  return client;
}
void Press(HWND hwnd, POINT p) {
  pl3::InjectMouseMove(ScreenPoint(hwnd, p));
  pl3::InjectMouseButton(pl3::MouseButton::Left, true, ScreenPoint(hwnd, p));
  pl3::PumpMessages();
}
void MoveTo(HWND hwnd, POINT p) {
  pl3::InjectMouseMove(ScreenPoint(hwnd, p));
  pl3::PumpMessages();
}
void Release(HWND hwnd, POINT p) {
  pl3::InjectMouseButton(pl3::MouseButton::Left, false, ScreenPoint(hwnd, p));
  pl3::PumpMessages();
}

class CommonControlTest : public testing::Test {
 protected:
  void SetUp() override {
    g_notes.clear();
    g_answers.clear();
    g_onNote = nullptr;
    g_drawn = 0;
    g_drawnRows.clear();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ParentProc;
    wc.lpszClassName = "ControlParent";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ASSERT_TRUE(RegisterClassA(&wc));
    parent = CreateWindowExA(0, "ControlParent", "Parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 420, 320, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override { g_onNote = nullptr; }

  HWND MakeHeader(DWORD style) {
    HWND h = CreateWindowExA(0, WC_HEADER, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 300, 24, parent,
                             reinterpret_cast<HMENU>(7), nullptr, nullptr);
    const char* names[] = {"Reference", "Value", "Footprint"};
    for (int i = 0; i < 3; ++i) {
      HDITEM hi{};
      hi.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
      hi.pszText = const_cast<char*>(names[i]);
      hi.cxy = 80;
      hi.fmt = HDF_STRING;
      EXPECT_EQ(SendMessageA(h, HDM_INSERTITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&hi)), i);
    }
    pl3::PumpMessages();
    g_notes.clear();
    return h;
  }

  HWND MakeList(DWORD style, int columns = 2, int x = 10, int y = 10, int cx = 300, int cy = 200) {
    HWND lv = CreateWindowExA(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, parent,
                              reinterpret_cast<HMENU>(9), nullptr, nullptr);
    EXPECT_NE(lv, nullptr);
    const char* names[] = {"Name", "Value", "Layer"};
    for (int i = 0; i < columns; ++i) {
      LVCOLUMN c{};
      c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
      c.pszText = const_cast<char*>(names[i]);
      c.cx = 100;
      c.iSubItem = i;
      EXPECT_EQ(SendMessageA(lv, LVM_INSERTCOLUMN, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c)), i);
    }
    return lv;
  }

  static void AddItems(HWND lv, const std::vector<std::string>& labels) {
    for (const std::string& s : labels) {
      LVITEM it{};
      it.mask = LVIF_TEXT;
      it.iItem = 1 << 20;
      it.pszText = const_cast<char*>(s.c_str());
      SendMessageA(lv, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&it));
    }
  }

  static RECT ItemRect(HWND lv, int i, int code = LVIR_BOUNDS) {
    RECT r{code, 0, 0, 0};
    EXPECT_TRUE(SendMessageA(lv, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)));
    return r;
  }
  static POINT Centre(RECT r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  static UINT State(HWND lv, int i) {
    return static_cast<UINT>(SendMessageA(lv, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED | LVIS_FOCUSED));
  }
  static std::string Text(HWND lv, int i, int sub = 0) {
    char buffer[64] = {};
    LVITEM it{};
    it.iSubItem = sub;
    it.pszText = buffer;
    it.cchTextMax = sizeof buffer;
    SendMessageA(lv, LVM_GETITEMTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
    return buffer;
  }
  static int HeaderWidth(HWND h, int i) {
    HDITEM hi{};
    hi.mask = HDI_WIDTH;
    SendMessageA(h, HDM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&hi));
    return hi.cxy;
  }

  HWND parent = nullptr;
};

using pl3test::ShownAt;
using pl3test::SolidImages;

using pl3test::AsPixel;

constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kYellow = 0xFFFF00;

// ---- Header ------------------------------------------------------------------------------------

TEST_F(CommonControlTest, HeaderDividerDragNotifiesInOrder) {
  struct Case {
    const char* name;
    DWORD style;
    UINT refused;  // a notification the parent answers non-zero
    std::vector<UINT> codes;
    int finalWidth;
  };
  const Case cases[] = {
      {"outline drag", 0, 0,
       {HDN_BEGINTRACK, HDN_TRACK, HDN_TRACK, HDN_ENDTRACK, HDN_ITEMCHANGING, HDN_ITEMCHANGED}, 120},
      {"full drag", HDS_FULLDRAG, 0,
       {HDN_BEGINTRACK, HDN_TRACK, HDN_ITEMCHANGING, HDN_ITEMCHANGED, HDN_TRACK, HDN_ITEMCHANGING, HDN_ITEMCHANGED,
        HDN_ENDTRACK},
       120},
      {"track refused", 0, HDN_BEGINTRACK, {HDN_BEGINTRACK}, 80},
      {"change refused", 0, HDN_ITEMCHANGING,
       {HDN_BEGINTRACK, HDN_TRACK, HDN_TRACK, HDN_ENDTRACK, HDN_ITEMCHANGING}, 80},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND h = MakeHeader(c.style);
    if (c.refused) g_answers[c.refused] = TRUE;
    Press(h, POINT{80, 10});  // the divider between the first and second item
    MoveTo(h, POINT{100, 10});
    MoveTo(h, POINT{120, 10});
    Release(h, POINT{120, 10});
    std::vector<UINT> got;
    for (const Note& n : g_notes) got.push_back(n.code);
    EXPECT_EQ(got, c.codes);
    for (const Note& n : g_notes) EXPECT_EQ(n.item, 0);
    if (c.codes.size() > 2) {
      EXPECT_EQ(g_notes[1].sub, 100);  // the first HDN_TRACK carries the width under the pointer
    }
    EXPECT_EQ(HeaderWidth(h, 0), c.finalWidth);
    RECT second{};
    SendMessageA(h, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(second.left, c.finalWidth);
    DestroyWindow(h);
    g_answers.clear();
  }
}

TEST_F(CommonControlTest, HeaderButtonClickAndItemDrag) {
  HWND h = MakeHeader(HDS_BUTTONS);
  // A click on the second item; a press that leaves the item before release clicks nothing.
  Press(h, POINT{120, 10});
  Release(h, POINT{121, 10});
  Press(h, POINT{40, 10});
  MoveTo(h, POINT{40, 40});
  Release(h, POINT{40, 40});
  ASSERT_EQ(g_notes.size(), 1u);
  EXPECT_EQ(g_notes[0].code, HDN_ITEMCLICK);
  EXPECT_EQ(g_notes[0].item, 1);
  DestroyWindow(h);

  // With HDS_DRAGDROP the first item dragged past the third moves to the end.
  h = MakeHeader(HDS_BUTTONS | HDS_DRAGDROP);
  Press(h, POINT{40, 10});
  MoveTo(h, POINT{60, 10});
  MoveTo(h, POINT{220, 10});
  Release(h, POINT{220, 10});
  std::vector<UINT> got;
  for (const Note& n : g_notes) got.push_back(n.code);
  EXPECT_EQ(got, (std::vector<UINT>{HDN_BEGINDRAG, HDN_ENDDRAG}));
  ASSERT_EQ(g_notes.size(), 2u);
  EXPECT_EQ(g_notes[1].sub, 2);
  int order[3] = {};
  ASSERT_TRUE(SendMessageA(h, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(order)));
  EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{1, 2, 0}));
  RECT first{};
  SendMessageA(h, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_EQ(first.left, 160);

  // A refused end leaves the order alone.
  g_answers[HDN_ENDDRAG] = TRUE;
  Press(h, POINT{10, 10});
  MoveTo(h, POINT{200, 10});
  Release(h, POINT{200, 10});
  SendMessageA(h, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
  EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{1, 2, 0}));
}

TEST_F(CommonControlTest, HeaderRefusesBadInput) {
  HWND h = MakeHeader(0);
  char small[4] = {'x', 'x', 'x', 'x'};
  HDITEM hi{};
  hi.mask = HDI_TEXT;
  hi.pszText = small;
  hi.cchTextMax = sizeof small;
  ASSERT_TRUE(SendMessageA(h, HDM_GETITEM, 0, reinterpret_cast<LPARAM>(&hi)));
  EXPECT_STREQ(small, "Ref");  // cut and terminated
  EXPECT_FALSE(SendMessageA(h, HDM_GETITEM, 3, reinterpret_cast<LPARAM>(&hi)));
  EXPECT_FALSE(SendMessageA(h, HDM_GETITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&hi)));
  EXPECT_FALSE(SendMessageA(h, HDM_GETITEM, 0, 0));
  EXPECT_FALSE(SendMessageA(h, HDM_SETITEM, 5, reinterpret_cast<LPARAM>(&hi)));
  EXPECT_FALSE(SendMessageA(h, HDM_DELETEITEM, 3, 0));
  EXPECT_EQ(SendMessageA(h, HDM_INSERTITEM, 0, 0), -1);

  const int repeated[3] = {0, 0, 1};
  const int shortOrder[2] = {1, 0};
  const int outside[3] = {0, 1, 3};
  EXPECT_FALSE(SendMessageA(h, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(repeated)));
  EXPECT_FALSE(SendMessageA(h, HDM_SETORDERARRAY, 2, reinterpret_cast<LPARAM>(shortOrder)));
  EXPECT_FALSE(SendMessageA(h, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(outside)));
  const int reversed[3] = {2, 1, 0};
  EXPECT_TRUE(SendMessageA(h, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(reversed)));
  EXPECT_EQ(SendMessageA(h, HDM_ORDERTOINDEX, 0, 0), 2);
  HDHITTESTINFO hit{{10, 10}, 0, 0};
  EXPECT_EQ(SendMessageA(h, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
  EXPECT_EQ(hit.flags, HHT_ONHEADER);

  // HDM_LAYOUT takes the header's row off the top of the rectangle.
  RECT rc{0, 0, 300, 200};
  WINDOWPOS pos{};
  HDLAYOUT layout{&rc, &pos};
  ASSERT_TRUE(SendMessageA(h, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)));
  EXPECT_GT(pos.cy, 10);
  EXPECT_EQ(rc.top, pos.cy);
  EXPECT_EQ(pos.cx, 300);
}

// A bitmap (HDF_BITMAP) or an image of the header's list (HDF_IMAGE) sits
// left of the text or, with HDF_BITMAP_ON_RIGHT, right of it; an image the
// list lacks, or no list, draws nothing.
TEST_F(CommonControlTest, HeaderPictureSitsLeftOrRightOfTheText) {
  HWND h = MakeHeader(0);
  HDC screen = GetDC(h);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP red = CreateCompatibleBitmap(screen, 8, 8);
  ReleaseDC(h, screen);
  HBITMAP old = SelectObject(mem, red);
  HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, 8, 8};
  FillRect(mem, &all, brush);
  SelectObject(mem, old);
  DeleteObject(brush);
  DeleteDC(mem);
  HIMAGELIST images = SolidImages(8, {kBlue, kRed});
  struct Case {
    const char* name;
    int fmt;
    int image;
    bool withList;
    bool left, right;  // red shown at the text area's left / right end
  };
  const Case cases[] = {
      {"bitmap left", HDF_BITMAP, 0, false, true, false},
      {"bitmap right", HDF_BITMAP | HDF_BITMAP_ON_RIGHT, 0, false, false, true},
      {"image left", HDF_IMAGE, 1, true, true, false},
      {"image right", HDF_IMAGE | HDF_BITMAP_ON_RIGHT, 1, true, false, true},
      {"image past the list", HDF_IMAGE, 2, true, false, false},
      {"image without a list", HDF_IMAGE, 1, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SendMessageA(h, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(c.withList ? images : nullptr));
    HDITEM hi{};
    hi.mask = HDI_FORMAT | (c.fmt & HDF_BITMAP ? HDI_BITMAP : HDI_IMAGE);
    hi.fmt = HDF_STRING | c.fmt;
    hi.hbm = red;
    hi.iImage = c.image;
    ASSERT_TRUE(SendMessageA(h, HDM_SETITEM, 1, reinterpret_cast<LPARAM>(&hi)));
    UpdateWindow(h);
    // The second item spans 80..160; its text area keeps 6 pixels each side.
    EXPECT_EQ(ShownAt(h, POINT{80 + 6 + 3, 12}) == kRed, c.left);
    EXPECT_EQ(ShownAt(h, POINT{160 - 6 - 3, 12}) == kRed, c.right);
  }
  ImageList_Destroy(images);
  DeleteObject(red);
}

// ---- List view -----------------------------------------------------------------------------------

TEST_F(CommonControlTest, OwnerDataAsksOnlyForTheRowsShown) {
  HWND lv = MakeList(LVS_REPORT | LVS_OWNERDATA, 2);
  ASSERT_TRUE(SendMessageA(lv, LVM_SETITEMCOUNT, 1000000, 0));
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0), 1000000);
  g_notes.clear();
  UpdateWindow(lv);
  const int perPage = static_cast<int>(SendMessageA(lv, LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_GT(perPage, 3);

  auto check = [&](int first) {
    int hints = 0, asked = 0;
    int lo = 1 << 30, hi = -1;
    for (const Note& n : g_notes) {
      if (n.code == LVN_ODCACHEHINT) {
        ++hints;
        EXPECT_EQ(n.item, first);
        EXPECT_LE(n.sub, first + perPage);  // the rows shown, a partly shown last one too
        EXPECT_GE(n.sub, first + perPage - 1);
      }
      if (n.code == LVN_GETDISPINFO) {
        ++asked;
        lo = std::min(lo, n.item);
        hi = std::max(hi, n.item);
      }
    }
    EXPECT_EQ(hints, 1);
    EXPECT_EQ(lo, first);
    EXPECT_LE(hi, first + perPage);
    EXPECT_LE(asked, 2 * (perPage + 1));  // one question per cell shown
    EXPECT_GE(asked, 2 * perPage);
  };
  check(0);
  // Page down three times from the keyboard: the focus moves and the view follows.
  SetFocus(lv);
  g_notes.clear();
  pl3::InjectKeyStroke(VK_END);
  pl3::PumpMessages();
  g_notes.clear();
  InvalidateRect(lv, nullptr, TRUE);
  UpdateWindow(lv);
  int top = static_cast<int>(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0));
  EXPECT_EQ(top, 1000000 - perPage);
  check(top);
  EXPECT_EQ(Text(lv, 999999, 1), "R999999C1");
  EXPECT_EQ(State(lv, 999999), LVIS_SELECTED | LVIS_FOCUSED);
}

TEST_F(CommonControlTest, OwnerDataSelectionKeepsRangesAndNotifiesOnceForAll) {
  HWND lv = MakeList(LVS_REPORT | LVS_OWNERDATA, 1);
  SendMessageA(lv, LVM_SETITEMCOUNT, 5000000, 0);
  LVITEM all{};
  all.stateMask = LVIS_SELECTED;
  all.state = LVIS_SELECTED;
  g_notes.clear();
  ASSERT_TRUE(SendMessageA(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all)));
  ASSERT_EQ(Codes(), (std::vector<UINT>{LVN_ITEMCHANGED}));
  EXPECT_EQ(g_notes[0].item, -1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 5000000);
  LVITEM one{};
  one.stateMask = LVIS_SELECTED;
  SendMessageA(lv, LVM_SETITEMSTATE, 10, reinterpret_cast<LPARAM>(&one));
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 4999999);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, 9, LVNI_SELECTED), 11);
  // The parent drops row 5: the rows after it move up with their selection.
  SendMessageA(lv, LVM_DELETEITEM, 5, 0);
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0), 4999999);
  EXPECT_EQ(State(lv, 9), 0u);
  EXPECT_EQ(State(lv, 10), LVIS_SELECTED);
  // A smaller count forgets what lay beyond it.
  SendMessageA(lv, LVM_SETITEMCOUNT, 100, 0);
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 99);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, 98, LVNI_SELECTED), 99);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, 99, LVNI_SELECTED), -1);
}

TEST_F(CommonControlTest, SelectionByMouseAndKeysNotifiesInOrder) {
  HWND lv = MakeList(LVS_REPORT | LVS_SHOWSELALWAYS, 1);
  AddItems(lv, {"C1", "C2", "R1", "R2", "U1"});
  g_notes.clear();
  pl3::InjectClick(lv, Centre(ItemRect(lv, 2, LVIR_LABEL)));
  pl3::PumpMessages();
  EXPECT_EQ(Codes(), (std::vector<UINT>{LVN_ITEMCHANGING, LVN_ITEMCHANGED, LVN_ITEMCHANGING, LVN_ITEMCHANGED, NM_CLICK}));
  EXPECT_EQ(g_notes.back().item, 2);
  EXPECT_EQ(State(lv, 2), LVIS_SELECTED | LVIS_FOCUSED);

  // Down: the key is told first, then item 2 loses the selection and the focus, item 3 gains both.
  g_notes.clear();
  pl3::InjectKeyStroke(VK_DOWN);
  pl3::PumpMessages();
  std::vector<std::pair<UINT, int>> got;
  for (const Note& n : g_notes)
    if (n.code == LVN_ITEMCHANGED || n.code == LVN_KEYDOWN) got.emplace_back(n.code, n.item);
  EXPECT_EQ(got, (std::vector<std::pair<UINT, int>>{
                     {LVN_KEYDOWN, -1}, {LVN_ITEMCHANGED, 2}, {LVN_ITEMCHANGED, 3}, {LVN_ITEMCHANGED, 2},
                     {LVN_ITEMCHANGED, 3}}));
  EXPECT_EQ(State(lv, 2), 0u);
  EXPECT_EQ(State(lv, 3), LVIS_SELECTED | LVIS_FOCUSED);

  // Shift+Home selects from the anchor up to the top.
  pl3::InjectKeyStroke(VK_HOME, true);
  pl3::PumpMessages();
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 0);

  // A refused change leaves the item as it was.
  g_answers[LVN_ITEMCHANGING] = TRUE;
  g_notes.clear();
  pl3::InjectClick(lv, Centre(ItemRect(lv, 4, LVIR_LABEL)));
  pl3::PumpMessages();
  EXPECT_EQ(State(lv, 4), 0u);
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 4);
  for (const Note& n : g_notes) EXPECT_NE(n.code, LVN_ITEMCHANGED);

  // A double click names the row under the pointer; nowhere is -1.
  g_answers.clear();
  g_notes.clear();
  POINT on = ScreenPoint(lv, Centre(ItemRect(lv, 1, LVIR_LABEL)));
  for (int k = 0; k < 2; ++k) {
    pl3::InjectMouseButton(pl3::MouseButton::Left, true, on);
    pl3::InjectMouseButton(pl3::MouseButton::Left, false, on);
  }
  pl3::PumpMessages();
  std::vector<int> dbl;
  for (const Note& n : g_notes)
    if (n.code == NM_DBLCLK) dbl.push_back(n.item);
  EXPECT_EQ(dbl, (std::vector<int>{1}));
}

TEST_F(CommonControlTest, SingleSelectionAndCutState) {
  HWND lv = MakeList(LVS_REPORT | LVS_SINGLESEL, 1);
  AddItems(lv, {"a", "b", "c"});
  LVITEM sel{};
  sel.stateMask = LVIS_SELECTED;
  sel.state = LVIS_SELECTED;
  SendMessageA(lv, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&sel));
  SendMessageA(lv, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&sel));
  EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
  LVITEM cut{};
  cut.stateMask = LVIS_CUT;
  cut.state = LVIS_CUT;
  SendMessageA(lv, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&cut));
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMSTATE, 1, LVIS_CUT), static_cast<LRESULT>(LVIS_CUT));
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_CUT), 1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, 0, LVNI_BELOW), 1);
  EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, 0, LVNI_ABOVE), -1);
}

TEST_F(CommonControlTest, LabelEditsAcceptedCancelledAndRefused) {
  HWND lv = MakeList(LVS_REPORT | LVS_EDITLABELS, 1);
  AddItems(lv, {"R1", "R2"});
  struct Case {
    const char* name;
    int endKey;        // VK_RETURN or VK_ESCAPE
    LRESULT keep;      // the parent's answer to LVN_ENDLABELEDIT
    bool nullText;     // the end notification carries no text (cancelled)
    const char* after;
  };
  const Case cases[] = {
      {"accepted", VK_RETURN, TRUE, false, "R1x"},
      {"rejected by the parent", VK_RETURN, FALSE, false, "R1"},
      {"cancelled", VK_ESCAPE, TRUE, true, "R1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LVITEM reset{};
    reset.pszText = const_cast<char*>("R1");
    SendMessageA(lv, LVM_SETITEMTEXT, 0, reinterpret_cast<LPARAM>(&reset));
    g_answers[LVN_ENDLABELEDIT] = c.keep;
    g_notes.clear();
    auto edit = reinterpret_cast<HWND>(SendMessageA(lv, LVM_EDITLABEL, 0, 0));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetFocus(), edit);
    pl3::InjectKeyStroke(VK_END);
    pl3::InjectTypedText("x");
    pl3::InjectKeyStroke(c.endKey);
    pl3::PumpMessages();
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(GetFocus(), lv);
    EXPECT_EQ(Codes(), (std::vector<UINT>{LVN_BEGINLABELEDIT, LVN_ENDLABELEDIT}));
    auto end = std::find_if(g_notes.begin(), g_notes.end(), [](const Note& n) { return n.code == LVN_ENDLABELEDIT; });
    ASSERT_NE(end, g_notes.end());
    EXPECT_EQ(end->nullText, c.nullText);
    if (!c.nullText) {
      EXPECT_EQ(end->text, "R1x");
    }
    EXPECT_EQ(Text(lv, 0), c.after);
  }
  // The parent may refuse to start; an index out of range starts nothing.
  g_answers[LVN_BEGINLABELEDIT] = TRUE;
  EXPECT_EQ(SendMessageA(lv, LVM_EDITLABEL, 1, 0), 0);
  g_answers.clear();
  EXPECT_EQ(SendMessageA(lv, LVM_EDITLABEL, 7, 0), 0);
  // F2 edits the focused item.
  LVITEM focus{};
  focus.stateMask = focus.state = LVIS_FOCUSED;
  SendMessageA(lv, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&focus));
  SetFocus(lv);
  pl3::InjectKeyStroke(VK_F2);
  pl3::PumpMessages();
  auto edit = reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETEDITCONTROL, 0, 0));
  ASSERT_NE(edit, nullptr);
  char text[16] = {};
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "R2");
}

TEST_F(CommonControlTest, ListRefusesBadIndexesAndCutsLongTexts) {
  HWND lv = MakeList(LVS_REPORT, 2);
  AddItems(lv, {"Resistor R100"});
  LVITEM sub{};
  sub.iSubItem = 1;
  sub.pszText = const_cast<char*>("10k");
  ASSERT_TRUE(SendMessageA(lv, LVM_SETITEMTEXT, 0, reinterpret_cast<LPARAM>(&sub)));
  EXPECT_EQ(Text(lv, 0, 1), "10k");

  char small[5];
  std::memset(small, 'x', sizeof small);
  LVITEM get{};
  get.mask = LVIF_TEXT;
  get.pszText = small;
  get.cchTextMax = sizeof small;
  ASSERT_TRUE(SendMessageA(lv, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&get)));
  EXPECT_STREQ(small, "Resi");

  LVITEM bad{};
  bad.mask = LVIF_TEXT;
  bad.iItem = 3;
  bad.pszText = small;
  bad.cchTextMax = sizeof small;
  EXPECT_FALSE(SendMessageA(lv, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&bad)));
  EXPECT_FALSE(SendMessageA(lv, LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&bad)));
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMTEXT, 5, reinterpret_cast<LPARAM>(&get)), 0);
  EXPECT_FALSE(SendMessageA(lv, LVM_DELETEITEM, 1, 0));
  EXPECT_FALSE(SendMessageA(lv, LVM_DELETEITEM, static_cast<WPARAM>(-1), 0));
  EXPECT_FALSE(SendMessageA(lv, LVM_ENSUREVISIBLE, 4, 0));
  LVITEM state{};
  state.stateMask = state.state = LVIS_SELECTED;
  EXPECT_FALSE(SendMessageA(lv, LVM_SETITEMSTATE, 9, reinterpret_cast<LPARAM>(&state)));
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMSTATE, 9, LVIS_SELECTED), 0);
  RECT r{LVIR_BOUNDS, 0, 0, 0};
  EXPECT_FALSE(SendMessageA(lv, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
  r.left = 17;  // no such part
  EXPECT_FALSE(SendMessageA(lv, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)));
  LVCOLUMN col{};
  col.mask = LVCF_WIDTH;
  EXPECT_FALSE(SendMessageA(lv, LVM_GETCOLUMN, 2, reinterpret_cast<LPARAM>(&col)));
  EXPECT_EQ(SendMessageA(lv, LVM_INSERTCOLUMN, 0, 0), -1);
  EXPECT_EQ(SendMessageA(lv, LVM_INSERTITEM, 0, 0), -1);
  const int badOrder[2] = {1, 1};
  EXPECT_FALSE(SendMessageA(lv, LVM_SETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(badOrder)));
  EXPECT_EQ(SendMessageA(lv, LVM_SETIMAGELIST, 5, 0), 0);
}

TEST_F(CommonControlTest, CallbackTextsSortingAndDeletion) {
  HWND lv = MakeList(LVS_REPORT | LVS_SORTASCENDING, 2);
  AddItems(lv, {"U3", "c2", "C10", "R1"});
  std::vector<std::string> labels;
  for (int i = 0; i < 4; ++i) labels.push_back(Text(lv, i));
  EXPECT_EQ(labels, (std::vector<std::string>{"C10", "c2", "R1", "U3"}));  // without regard to case

  LVITEM sub{};
  sub.iSubItem = 1;
  sub.pszText = LPSTR_TEXTCALLBACK;
  SendMessageA(lv, LVM_SETITEMTEXT, 2, reinterpret_cast<LPARAM>(&sub));
  g_notes.clear();
  EXPECT_EQ(Text(lv, 2, 1), "R2C1");  // asked of the parent
  ASSERT_EQ(Codes(true), (std::vector<UINT>{LVN_GETDISPINFO}));

  g_notes.clear();
  ASSERT_TRUE(SendMessageA(lv, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(Codes(), (std::vector<UINT>{LVN_DELETEALLITEMS, LVN_DELETEITEM, LVN_DELETEITEM, LVN_DELETEITEM,
                                        LVN_DELETEITEM}));
  EXPECT_EQ(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0), 0);
  // Answering TRUE to LVN_DELETEALLITEMS spares the one-by-one notes.
  AddItems(lv, {"a", "b"});
  g_answers[LVN_DELETEALLITEMS] = TRUE;
  g_notes.clear();
  SendMessageA(lv, LVM_DELETEALLITEMS, 0, 0);
  EXPECT_EQ(Codes(), (std::vector<UINT>{LVN_DELETEALLITEMS}));
}

TEST_F(CommonControlTest, ColumnsFollowTheirHeader) {
  HWND lv = MakeList(LVS_REPORT | LVS_SHOWSELALWAYS, 3);
  SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP,
               LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
  AddItems(lv, {"R1"});
  auto header = reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  // A click on the second column's header: the list's parent hears both the header and the column.
  g_notes.clear();
  RECT second{};
  SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  pl3::InjectClick(header, Centre(second));
  pl3::PumpMessages();
  EXPECT_EQ(Codes(), (std::vector<UINT>{HDN_ITEMCLICK, LVN_COLUMNCLICK}));
  ASSERT_EQ(g_notes.size(), 2u);
  EXPECT_EQ(g_notes[0].from, header);
  EXPECT_EQ(g_notes[1].from, lv);
  EXPECT_EQ(g_notes[1].sub, 1);

  // Dragging the first divider widens column 0 and the row.
  Press(header, POINT{100, 5});
  MoveTo(header, POINT{140, 5});
  Release(header, POINT{140, 5});
  EXPECT_EQ(SendMessageA(lv, LVM_GETCOLUMNWIDTH, 0, 0), 140);
  EXPECT_EQ(ItemRect(lv, 0).right - ItemRect(lv, 0).left, 340);

  // Order: the third column first.
  const int order[3] = {2, 0, 1};
  ASSERT_TRUE(SendMessageA(lv, LVM_SETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(order)));
  int back[3] = {};
  SendMessageA(lv, LVM_GETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(back));
  EXPECT_EQ(std::vector<int>(back, back + 3), (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(ItemRect(lv, 0, LVIR_LABEL).left, 100);

  // A full-row list answers a hit far right of the label.
  LVHITTESTINFO hit{{330, Centre(ItemRect(lv, 0)).y}, 0, -1, 0};
  EXPECT_EQ(SendMessageA(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 0);
  EXPECT_NE(hit.flags & LVHT_ONITEM, 0u);
}

TEST_F(CommonControlTest, ColumnsMoveByHeaderDragOnlyWhenAllowed) {
  for (bool allowed : {false, true}) {
    SCOPED_TRACE(allowed);
    HWND lv = MakeList(LVS_REPORT, 3);
    if (allowed) SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, LVS_EX_HEADERDRAGDROP);
    AddItems(lv, {"R1"});
    auto header = reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETHEADER, 0, 0));
    g_notes.clear();
    Press(header, POINT{50, 5});  // the first column, dragged past the last
    MoveTo(header, POINT{80, 5});
    MoveTo(header, POINT{290, 5});
    Release(header, POINT{290, 5});
    int order[3] = {};
    SendMessageA(lv, LVM_GETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
    EXPECT_EQ(std::vector<int>(order, order + 3), allowed ? (std::vector<int>{1, 2, 0}) : (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(ItemRect(lv, 0, LVIR_LABEL).left, allowed ? 200 : 0);
    EXPECT_EQ(Codes(), allowed ? (std::vector<UINT>{HDN_BEGINDRAG, HDN_ENDDRAG}) : std::vector<UINT>{});
    DestroyWindow(lv);
  }
}

TEST_F(CommonControlTest, OwnerDrawnRowsAreDrawnOnePerVisibleRow) {
  HWND lv = MakeList(LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_OWNERDATA, 1);
  SendMessageA(lv, LVM_SETITEMCOUNT, 100000, 0);
  g_drawn = 0;
  UpdateWindow(lv);
  int perPage = static_cast<int>(SendMessageA(lv, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_GE(g_drawn, perPage);
  EXPECT_LE(g_drawn, perPage + 1);
  ASSERT_FALSE(g_drawnRows.empty());
  EXPECT_EQ(g_drawnRows.front(), 0u);
  SendMessageA(lv, WM_VSCROLL, SB_PAGEDOWN, 0);
  g_drawnRows.clear();
  UpdateWindow(lv);
  ASSERT_FALSE(g_drawnRows.empty());
  EXPECT_EQ(g_drawnRows.front(), static_cast<UINT>(perPage));
}

TEST_F(CommonControlTest, OtherViewsLayItemsOut) {
  struct Case {
    DWORD view;
  };
  for (const Case& c : {Case{LVS_LIST}, Case{LVS_SMALLICON}, Case{LVS_ICON}}) {
    SCOPED_TRACE(c.view);
    HWND lv = MakeList(c.view, 0, 10, 10, 300, 160);
    std::vector<std::string> labels;
    for (int i = 0; i < 30; ++i) labels.push_back("Item " + std::to_string(i));
    AddItems(lv, labels);
    RECT a = ItemRect(lv, 0), b = ItemRect(lv, 1);
    if (c.view == LVS_LIST)
      EXPECT_EQ(b.top, a.bottom);  // down a column
    else
      EXPECT_EQ(b.left, a.right);  // along a row
    RECT client;
    GetClientRect(lv, &client);
    int perLine = c.view == LVS_LIST ? client.bottom / (a.bottom - a.top) : client.right / (a.right - a.left);
    LRESULT right = SendMessageA(lv, LVM_GETNEXTITEM, 0, LVNI_TORIGHT);
    EXPECT_EQ(right, c.view == LVS_LIST ? perLine : 1);
    LVHITTESTINFO hit{Centre(ItemRect(lv, 1, LVIR_LABEL)), 0, -1, 0};
    EXPECT_EQ(SendMessageA(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_TRUE(SendMessageA(lv, LVM_ENSUREVISIBLE, 29, 0));
    RECT last = ItemRect(lv, 29);
    EXPECT_LE(last.right, client.right);
    EXPECT_LE(last.bottom, client.bottom);
    EXPECT_GE(last.top, 0);
    EXPECT_EQ(SendMessageA(lv, LVM_ARRANGE, LVA_DEFAULT, 0), c.view == LVS_LIST ? FALSE : TRUE);
    DestroyWindow(lv);
  }
}

TEST_F(CommonControlTest, DragFromAnItemBeginsADrag) {
  HWND lv = MakeList(LVS_REPORT, 1);
  AddItems(lv, {"a", "b"});
  POINT at = Centre(ItemRect(lv, 1, LVIR_LABEL));
  Press(lv, at);
  g_notes.clear();
  MoveTo(lv, POINT{at.x + 1, at.y + 1});  // a twitch is not a drag
  MoveTo(lv, POINT{at.x + 20, at.y + 20});
  Release(lv, POINT{at.x + 20, at.y + 20});
  EXPECT_EQ(Codes(), (std::vector<UINT>{LVN_BEGINDRAG}));
  EXPECT_EQ(g_notes[0].item, 1);
}

// Each view draws its own list's image for each item: the small list in
// report, list and small-icon views, the normal one in icon view; a callback
// image comes from the parent; an index past the list draws nothing.
TEST_F(CommonControlTest, ItemIconsComeFromTheViewsImageList) {
  HIMAGELIST small = SolidImages(16, {kRed, kBlue});
  HIMAGELIST large = SolidImages(32, {kGreen, kYellow});
  struct Case {
    DWORD view;
    std::uint32_t first, second;
  };
  for (const Case& c : {Case{LVS_REPORT, kRed, kBlue}, Case{LVS_LIST, kRed, kBlue}, Case{LVS_SMALLICON, kRed, kBlue},
                        Case{LVS_ICON, kGreen, kYellow}}) {
    SCOPED_TRACE(c.view);
    HWND lv = MakeList(c.view | LVS_SHAREIMAGELISTS, c.view == LVS_REPORT ? 1 : 0);
    SendMessageA(lv, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageA(lv, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
    const int images[] = {0, 1, I_IMAGECALLBACK, 7};
    for (int image : images) {
      LVITEM it{};
      it.mask = LVIF_TEXT | LVIF_IMAGE;
      it.iItem = 1 << 20;
      it.pszText = const_cast<char*>("item");
      it.iImage = image;
      SendMessageA(lv, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&it));
    }
    UpdateWindow(lv);
    const std::uint32_t expected[] = {c.first, c.second, c.second, AsPixel(GetSysColor(COLOR_WINDOW))};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ShownAt(lv, Centre(ItemRect(lv, i, LVIR_ICON))), expected[i]) << i;
    DestroyWindow(lv);
  }
  ImageList_Destroy(small);
  ImageList_Destroy(large);
}

// LVM_CREATEDRAGIMAGE pictures the item's icon then its label, and says
// where the picture's corner sits in the list.
TEST_F(CommonControlTest, DragImageHoldsTheItemsIconAndLabel) {
  HIMAGELIST small = SolidImages(16, {kRed, kBlue});
  HWND lv = MakeList(LVS_REPORT | LVS_SHAREIMAGELISTS, 1);
  AddItems(lv, {"first", "dragged"});
  EXPECT_EQ(SendMessageA(lv, LVM_CREATEDRAGIMAGE, 5, 0), 0) << "no such item";
  for (bool withIcons : {false, true}) {
    SCOPED_TRACE(withIcons);
    SendMessageA(lv, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(withIcons ? small : nullptr));
    LVITEM it{};
    it.mask = LVIF_IMAGE;
    it.iItem = 1;
    it.iImage = 1;
    ASSERT_TRUE(SendMessageA(lv, LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&it)));
    POINT corner{-1, -1};
    auto drag = reinterpret_cast<HIMAGELIST>(SendMessageA(lv, LVM_CREATEDRAGIMAGE, 1, reinterpret_cast<LPARAM>(&corner)));
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(drag), 1);
    const RECT part = ItemRect(lv, 1, withIcons ? LVIR_ICON : LVIR_LABEL);
    EXPECT_EQ(corner.x, part.left);
    EXPECT_EQ(corner.y, part.top);
    const pl3test::DrawnImage drawn = pl3test::DrawImage(drag, 0);
    const int textLeft = withIcons ? 19 : 0;
    EXPECT_GT(drawn.cx, textLeft + 20);
    EXPECT_LT(drawn.cx, textLeft + 80) << "the label's text, not the column's width";
    EXPECT_GE(drawn.cy, withIcons ? 16 : 8);
    ASSERT_FALSE(drawn.pixels.empty());
    if (withIcons) {
      EXPECT_EQ(drawn.At(8, drawn.cy / 2), RGB(0, 0, 255));
    }
    // The label's text marks some pixels; the rest stays the window's colour.
    EXPECT_EQ(drawn.At(drawn.cx - 1, 0), GetSysColor(COLOR_WINDOW));
    const int inked = drawn.CountUnlike(textLeft, GetSysColor(COLOR_WINDOW));
    EXPECT_GT(inked, 10);
    EXPECT_LT(inked, (drawn.cx - textLeft) * drawn.cy / 2);
    ImageList_Destroy(drag);
  }
  ImageList_Destroy(small);
}

TEST_F(CommonControlTest, ReportWithHeaderAndSelectionLooksClassic) {
  HWND lv = MakeList(LVS_REPORT | LVS_SHOWSELALWAYS, 2, 10, 10, 240, 120);
  SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  AddItems(lv, {"C1", "R1", "R2", "U1"});
  for (int i = 0; i < 4; ++i) {
    LVITEM sub{};
    sub.iSubItem = 1;
    std::string value = std::to_string((i + 1) * 10) + "k";
    sub.pszText = value.data();
    SendMessageA(lv, LVM_SETITEMTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&sub));
  }
  LVITEM sel{};
  sel.stateMask = sel.state = LVIS_SELECTED;
  SendMessageA(lv, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&sel));
  LVITEM cut{};
  cut.stateMask = cut.state = LVIS_CUT;
  SendMessageA(lv, LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&cut));
  HDITEM sort{};
  sort.mask = HDI_FORMAT;
  sort.fmt = HDF_STRING | HDF_SORTUP;
  SendMessageA(reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETHEADER, 0, 0)), HDM_SETITEM, 0,
               reinterpret_cast<LPARAM>(&sort));
  UpdateWindow(parent);
  RECT client;
  GetClientRect(lv, &client);
  pl3::test::ExpectMatchesGolden(lv, client, "report_list.png");
}

}  // namespace

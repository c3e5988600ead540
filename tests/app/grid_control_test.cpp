#include "app/grid_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "draw/ui_colours.h"
#include "edit/window_data.h"
#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/user_constants.h"
#include "tests/app/grid_seam_fakes.h"
#include "tests/draw/grid_test_entries.h"

namespace {

using gridtest::Cartesian;
using gridtest::MakeSet;

GridEntry WithY(GridEntry e, std::uint32_t num, std::uint32_t den) {
  e.y.numerator = num;
  e.y.denominator = den;
  return e;
}

GridEntry Polar() { return gridtest::Polar(kGridUnitMm, 2, kAngleEveryFraction, 10); }

// ---- The order of grids ------------------------------------------------------------

TEST(CompareGridEntries, ColumnsCompareThreeWaysByTheirChains) {
  const GridEntry halfMm = Cartesian(kGridUnitMm, 1, 2), oneMm = Cartesian(kGridUnitMm, 1, 1);
  const GridEntry oneCm = Cartesian(kGridUnitCm, 1, 1), tenMm = Cartesian(kGridUnitMm, 10, 1);
  const GridEntry tallMm = WithY(oneMm, 3, 1);
  struct Case {
    const char* what;
    GridEntry a, b;
    int column;
    int expected;
  };
  const Case cases[] = {
      {"smaller x first", halfMm, oneMm, GridColumn_X, -1},
      {"equal x: by y", oneMm, tallMm, GridColumn_X, -1},
      {"equal sizes: by the unit's size", oneCm, tenMm, GridColumn_X, 1},
      {"the same grid", oneMm, oneMm, GridColumn_X, 0},
      {"y first", WithY(halfMm, 5, 1), tallMm, GridColumn_Y, 1},
      {"unit first", Cartesian(kGridUnitThou, 1000, 1), Cartesian(kGridUnitMm, 1, 100), GridColumn_Unit, -1},
      {"key first", Cartesian(kGridUnitCm, 1, 1, 'A'), Cartesian(kGridUnitThou, 1, 1, 'B'), GridColumn_Key, -1},
      {"equal keys: by unit", Cartesian(kGridUnitCm, 1, 1, 'A'), Cartesian(kGridUnitThou, 1, 1, 'A'), GridColumn_Key, 1},
      {"type has no order", halfMm, Polar(), GridColumn_Type, 0},
      {"no divisor sizes as nothing", Cartesian(kGridUnitMm, 5, 0), Cartesian(kGridUnitMm, 0, 1), GridColumn_X, 0},
      {"polar grids have no axes", Polar(), halfMm, GridColumn_X, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CompareGridEntries(c.a, 0, c.b, 1, c.column, 0), c.expected);
    EXPECT_EQ(CompareGridEntries(c.b, 1, c.a, 0, c.column, 0), -c.expected) << "antisymmetric";
    EXPECT_EQ(CompareGridEntries(c.a, 0, c.b, 1, c.column, 1), -c.expected) << "descending reverses";
  }
  EXPECT_EQ(CompareGridEntries(oneMm, 4, oneMm, 2, GridColumn_Position, 0), 1);
  EXPECT_EQ(CompareGridEntries(oneMm, 4, oneMm, 2, GridColumn_Position, 1), -1);
  EXPECT_EQ(CompareGridEntries(oneMm, 2, oneMm, 2, GridColumn_Position, 0), 0);
}

TEST(SortGridIndexes, EqualKeysKeepTheirOrderAndASecondSortReversesDistinctOnes) {
  // X sizes 2, 1, 2, 3, 1 mm at places 0..4.
  GridSet* set = MakeSet({Cartesian(kGridUnitMm, 2, 1), Cartesian(kGridUnitMm, 1, 1), Cartesian(kGridUnitMm, 2, 1),
                          Cartesian(kGridUnitMm, 3, 1), Cartesian(kGridUnitMm, 1, 1)},
                         0);
  std::vector<std::uint32_t> rows = {0, 1, 2, 3, 4};
  SortGridIndexes(set, rows, GridColumn_X, 0);
  EXPECT_EQ(rows, (std::vector<std::uint32_t>{1, 4, 0, 2, 3}));
  SortGridIndexes(set, rows, GridColumn_X, 1);
  EXPECT_EQ(rows, (std::vector<std::uint32_t>{3, 0, 2, 1, 4}));
  SortGridIndexes(set, rows, GridColumn_Type, 1);
  EXPECT_EQ(rows, (std::vector<std::uint32_t>{3, 0, 2, 1, 4})) << "no order: nothing moves";
  SortGridIndexes(set, rows, GridColumn_Position, 0);
  EXPECT_EQ(rows, (std::vector<std::uint32_t>{0, 1, 2, 3, 4}));
  std::free(set);
}

// Draws both arrows of the header's image list on white: the key colour
// is masked out, the ascending arrow's tip is at the top and it widens to a
// base that spans the bottom row, the descending one the other way up.
void ExpectArrows(HIMAGELIST arrows, int width, int height) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HBITMAP old = SelectObject(dc, bitmap);
  const COLORREF white = RGB(255, 255, 255);
  for (const int image : {0, 1}) {
    SCOPED_TRACE(image == 0 ? "ascending" : "descending");
    RECT all{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(white);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ASSERT_TRUE(ImageList_Draw(arrows, image, dc, 0, 0, ILD_TRANSPARENT));
    std::vector<int> widths;  // of the inked rows, top first
    int tip = -1, base = -1;
    for (int y = 0; y < height; ++y) {
      int ink = 0;
      for (int x = 0; x < width; ++x) ink += GetPixel(dc, x, y) != white;
      if (!ink) continue;
      widths.push_back(ink);
      if (tip < 0) tip = y;
      base = y;
    }
    ASSERT_GE(widths.size(), 3u);
    EXPECT_EQ(base - tip + 1, static_cast<int>(widths.size())) << "one shape, no gaps";
    if (image == 1) {
      std::reverse(widths.begin(), widths.end());
      std::swap(tip, base);
    }
    for (std::size_t r = 1; r < widths.size(); ++r) EXPECT_GT(widths[r], widths[r - 1]) << "widens toward the base";
    EXPECT_LE(widths.front(), 2);
    EXPECT_EQ(GetPixel(dc, 0, tip), white) << "the key colour is transparent";
    EXPECT_EQ(GetPixel(dc, width - 1, tip), white);
    EXPECT_NE(GetPixel(dc, width / 2, tip), white) << "the tip";
    EXPECT_NE(GetPixel(dc, 0, base), white) << "the base spans the width";
    EXPECT_NE(GetPixel(dc, width - 1, base), white);
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

// ---- The control ---------------------------------------------------------------------

std::vector<WPARAM> gEscapes;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kGridControlEscape) gEscapes.push_back(wParam);
  return DefWindowProc(window, message, wParam, lParam);
}

class GridControl : public testing::Test {
 protected:
  HWND parent = nullptr;
  HWND control = nullptr;
  CurrentWindowData window{kEditorPcb};
  void SetUp() override {
    gEscapes.clear();
    ASSERT_NE(RegisterGridControl(nullptr), 0);
    WNDCLASS wc{};
    wc.lpfnWndProc = &ParentProc;
    wc.lpszClassName = "GridControlTestParent";
    RegisterClass(&wc);
    parent = CreateWindowEx(0, "GridControlTestParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                            nullptr, nullptr, nullptr);
    control = CreateWindowEx(0, kGridControlClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, parent, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(control, nullptr);
    // Places 0..3: 1/2 mm, 5 thou, 1 mm (current), a polar grid.
    window.Grids = MakeSet({Cartesian(kGridUnitMm, 1, 2, 'H'), Cartesian(kGridUnitThou, 5, 1), Cartesian(kGridUnitMm, 1, 1),
                            Polar()},
                           2);
    ActiveWindowData = &window;
  }
  void TearDown() override {
    DestroyWindow(parent);
    ActiveWindowData = nullptr;
    std::free(window.Grids);
    ThemeActive = 0;
  }
  GridSet& Set() { return *static_cast<GridSet*>(window.Grids); }
  HWND List() { return GetDlgItem(control, kGridControlListId); }
  HWND Header() { return reinterpret_cast<HWND>(SendMessage(List(), LVM_GETHEADER, 0, 0)); }
  void Rebuild(CurrentWindowData* w) { SendMessage(control, kGridControlRebuild, 0, reinterpret_cast<LPARAM>(w)); }
  std::string Cell(int row, int column) {
    char text[64] = {};
    LVITEM item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessage(List(), LVM_GETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
  }
  std::vector<std::string> Places() {
    std::vector<std::string> places;
    const int n = static_cast<int>(SendMessage(List(), LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < n; ++r) places.push_back(Cell(r, GridColumn_Position));
    return places;
  }
  void Notify(UINT code, int item, int subItem = 0) {
    NMITEMACTIVATE note{};
    note.hdr = {List(), static_cast<UINT_PTR>(kGridControlListId), code};
    note.iItem = item;
    note.iSubItem = subItem;
    SendMessage(control, WM_NOTIFY, kGridControlListId, reinterpret_cast<LPARAM>(&note));
  }
  void ClickColumn(int column) { Notify(LVN_COLUMNCLICK, -1, column); }
  HDITEM HeaderItem(int column) {
    HDITEM item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    SendMessage(Header(), HDM_GETITEM, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    return item;
  }
};

TEST_F(GridControl, ShowsTheGridsOfEditorWindowsOnly) {
  EXPECT_EQ(List(), nullptr) << "empty until it is told of a window";
  Rebuild(&window);
  ASSERT_NE(List(), nullptr);
  EXPECT_EQ(SendMessage(List(), LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessage(Header(), HDM_GETITEMCOUNT, 0, 0), kGridColumnCount);
  EXPECT_EQ(Cell(0, GridColumn_X), "0.5");
  EXPECT_EQ(Cell(0, GridColumn_Unit), "mm");
  EXPECT_EQ(Cell(0, GridColumn_Key), "H");
  EXPECT_EQ(Cell(3, GridColumn_Type), "Polar");
  EXPECT_EQ(Places(), (std::vector<std::string>{"1", "2", "3", "4"})) << "sorted by position at first";
  // The list fills the control less a one-pixel frame, and takes its focus.
  RECT r{};
  GetWindowRect(List(), &r);
  POINT corner{r.left, r.top};
  ScreenToClient(control, &corner);
  EXPECT_EQ(corner.x, 1);
  EXPECT_EQ(corner.y, 1);
  EXPECT_EQ(r.right - r.left, 298);
  EXPECT_EQ(r.bottom - r.top, 198);
  SetFocus(control);
  EXPECT_EQ(GetFocus(), List());

  CurrentWindowData package{kEditorPackage};
  Rebuild(&package);
  EXPECT_EQ(List(), nullptr);
  Rebuild(&window);
  Rebuild(nullptr);
  EXPECT_EQ(List(), nullptr);
}

TEST_F(GridControl, AColumnClickSortsAndASecondClickReverses) {
  Rebuild(&window);
  int cx = 0, cy = 0;
  HIMAGELIST arrows = reinterpret_cast<HIMAGELIST>(SendMessage(Header(), HDM_GETIMAGELIST, 0, 0));
  ASSERT_NE(arrows, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(arrows), 2);
  ImageList_GetIconSize(arrows, &cx, &cy);
  EXPECT_EQ(cx, 8);
  EXPECT_EQ(cy, 7);
  ExpectArrows(arrows, 8, 7);
  EXPECT_NE(HeaderItem(GridColumn_Position).fmt & HDF_IMAGE, 0);
  EXPECT_NE(HeaderItem(GridColumn_Position).fmt & HDF_BITMAP_ON_RIGHT, 0);

  ClickColumn(GridColumn_X);  // 0 (polar), 5 thou, 1/2 mm, 1 mm
  EXPECT_EQ(Places(), (std::vector<std::string>{"4", "2", "1", "3"}));
  EXPECT_NE(HeaderItem(GridColumn_X).fmt & HDF_IMAGE, 0);
  EXPECT_EQ(HeaderItem(GridColumn_X).iImage, 0) << "ascending";
  EXPECT_EQ(HeaderItem(GridColumn_Position).fmt & HDF_IMAGE, 0) << "text only";
  ClickColumn(GridColumn_X);
  EXPECT_EQ(Places(), (std::vector<std::string>{"3", "1", "2", "4"}));
  EXPECT_EQ(HeaderItem(GridColumn_X).iImage, 1) << "descending";
  ClickColumn(GridColumn_Key);  // a new column starts ascending
  EXPECT_EQ(Places().back(), "1");
  EXPECT_EQ(+Set().count, 4u);
  EXPECT_EQ(+GridSetEntry(&Set(), 0)->keyStroke, 'H') << "the set keeps its order";
}

TEST_F(GridControl, ADoubleClickMakesTheRowsGridCurrent) {
  Rebuild(&window);
  ClickColumn(GridColumn_X);
  Notify(NM_DBLCLK, 2);  // the third row in X order: 1/2 mm, place 0
  EXPECT_EQ(std::memcmp(&Set().current, GridSetEntry(&Set(), 0), sizeof(GridEntry)), 0);
  EXPECT_EQ(gridfakes::Calls(), (std::vector<std::string>{"redraw", "pane 1 1030"}));
  EXPECT_EQ(gridfakes::PaneCalls().back().wParam, reinterpret_cast<WPARAM>(&window));
  gridfakes::Calls().clear();
  Notify(NM_DBLCLK, -1);
  Notify(NM_DBLCLK, 99);
  EXPECT_TRUE(gridfakes::Calls().empty()) << "no row, nothing done";
}

TEST_F(GridControl, EscapeGoesToTheParentAndCtrlASelectsEveryRow) {
  Rebuild(&window);
  NMLVKEYDOWN key{};
  key.hdr = {List(), static_cast<UINT_PTR>(kGridControlListId), LVN_KEYDOWN};
  key.wVKey = VK_ESCAPE;
  SendMessage(control, WM_NOTIFY, kGridControlListId, reinterpret_cast<LPARAM>(&key));
  SendMessage(control, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(gEscapes, (std::vector<WPARAM>{27, 27}));
  SetFocus(List());
  pl3::InjectKeyStroke('A', false, true);
  pl3::PumpMessages();
  EXPECT_EQ(SendMessage(List(), LVM_GETSELECTEDCOUNT, 0, 0), 4);
}

// The pixels of a row drawn by DrawGridRow into a 300 x 20 bitmap.
struct RowPicture {
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * 300 + x)]; }
  int Count(COLORREF colour) const {
    int n = 0;
    for (COLORREF p : pixels) n += p == colour;
    return n;
  }
  // The pixels the text changed: neither of the fills.
  int Ink(COLORREF fill, COLORREF tint) const {
    return static_cast<int>(pixels.size()) - Count(fill) - (tint == fill ? 0 : Count(tint));
  }
};

RowPicture DrawRow(HWND list, const GridEntry& entry, bool current, UINT state) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, 20);
  HBITMAP old = SelectObject(dc, bitmap);
  HFONT normal = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HFONT bold = CreateBoldFont(normal);
  static const int cells[] = {0, 1, 2, 3, 4, 5};
  const GridRowLook look{normal, bold, GridColumn_X, cells, kGridColumnCount};
  DRAWITEMSTRUCT item{ODT_LISTVIEW, 1, 0, ODA_DRAWENTIRE, state, list, dc, RECT{0, 0, 300, 20}, 0};
  DrawGridRow(item, look, entry, 0, current);
  RowPicture picture;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 300; ++x) picture.pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteObject(bold);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return picture;
}

TEST_F(GridControl, RowsShowTheSelectionTheCurrentGridAndWithStylesTheSortColumn) {
  ResetUIColours();
  Rebuild(&window);
  const GridEntry& row = *GridSetEntry(&Set(), 0);
  const COLORREF white = GetSysColor(COLOR_WINDOW);
  const RowPicture plain = DrawRow(List(), row, false, 0);
  const RowPicture bold = DrawRow(List(), row, true, 0);
  const RowPicture selected = DrawRow(List(), row, false, ODS_SELECTED);
  EXPECT_EQ(plain.At(2, 2), white) << "no tint without visual styles";
  EXPECT_GT(plain.Ink(white, white), 20);
  EXPECT_GT(bold.Ink(white, white), plain.Ink(white, white)) << "the current grid in bold";
  EXPECT_EQ(selected.At(2, 2), GetUIColour(18)) << "selected rows on slot 18";
  EXPECT_GT(selected.Count(GetUIColour(18)), 5000);

  // With visual styles the sort column's cells are tinted, except on the selected row.
  ThemeActive = 1;
  ResetUIColours();
  const RowPicture themed = DrawRow(List(), row, false, 0);
  EXPECT_EQ(themed.At(2, 2), GetUIColour(19));
  EXPECT_EQ(themed.At(44, 18), GetUIColour(19));
  EXPECT_EQ(themed.At(46, 2), white) << "the X column is 45 pixels wide";
  const RowPicture themedSelected = DrawRow(List(), row, false, ODS_SELECTED);
  EXPECT_EQ(themedSelected.At(2, 2), GetUIColour(18));
  // Headers dragged about: the row draws its cells in the list's new order,
  // here Position (45 pixels) before X.
  const int order[kGridColumnCount] = {GridColumn_Position, GridColumn_X, GridColumn_Y,
                                       GridColumn_Unit,     GridColumn_Type, GridColumn_Key};
  SendMessage(List(), LVM_SETCOLUMNORDERARRAY, kGridColumnCount, reinterpret_cast<LPARAM>(order));
  const RowPicture dragged = DrawRow(List(), row, false, 0);
  EXPECT_EQ(dragged.At(2, 2), white);
  EXPECT_EQ(dragged.At(47, 2), GetUIColour(19));
  EXPECT_EQ(dragged.At(88, 18), GetUIColour(19));
  // A control made with visual styles takes the small arrows.
  DestroyWindow(control);
  control = CreateWindowEx(0, kGridControlClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, parent, nullptr, nullptr,
                           nullptr);
  Rebuild(&window);
  int cx = 0, cy = 0;
  HIMAGELIST arrows = reinterpret_cast<HIMAGELIST>(SendMessage(Header(), HDM_GETIMAGELIST, 0, 0));
  EXPECT_EQ(ImageList_GetImageCount(arrows), 2);
  ImageList_GetIconSize(arrows, &cx, &cy);
  EXPECT_EQ(cx, 9);
  EXPECT_EQ(cy, 5);
  ExpectArrows(arrows, 9, 5);
  ResetUIColours();
}

}  // namespace

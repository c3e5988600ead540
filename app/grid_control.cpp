#include "app/grid_control.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

#include "draw/ui_colours.h"
#include "edit/status_seams.h"
#include "edit/window_data.h"
#include "objects/view_seams.h"
#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/user_constants.h"

namespace {

constexpr UINT kGridControlStyle = CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNCLIENT;
constexpr COLORREF kArrowKeyColour = 0xC0C0C0;
constexpr int kSelectedRowSlot = 18;
constexpr int kSortColumnSlot = 19;

constexpr GridColumnHead kColumnHeads[kGridColumnCount] = {{"X", 45},    {"Y", 45},   {"Unit", 35},
                                                      {"Type", 35}, {"Key", 35}, {"Position", 45}};
constexpr int kEveryCell[kGridColumnCount] = {GridColumn_X,    GridColumn_Y,   GridColumn_Unit,
                                              GridColumn_Type, GridColumn_Key, GridColumn_Position};

// The sort arrows, ascending (image 0, pointing up) and descending: a grey
// triangle on the key colour. Smaller ones go with visual styles.
struct ArrowSize {
  int width, height;
};
constexpr ArrowSize kThemedArrows{9, 5};
constexpr ArrowSize kClassicArrows{8, 7};
constexpr std::uint32_t kArrowInk = 0x404040;

struct GridControlState {
  int columnOrder[kGridColumnCount] = {0, 1, 2, 3, 4, 5};
  int sortColumn = GridColumn_Position;
  int descending = 0;
  int rowHeight = 0;
  HIMAGELIST arrows = nullptr;
  HFONT normal = nullptr;
  HFONT bold = nullptr;
  HWND list = nullptr;
  CurrentWindowData* window = nullptr;
  std::vector<std::uint32_t> indexes;
};

GridControlState* StateOf(HWND control) {
  return reinterpret_cast<GridControlState*>(GetWindowLongPtr(control, GWLP_USERDATA));
}

const GridSet* SetOf(const GridControlState& st) {
  return st.window ? static_cast<const GridSet*>(st.window->Grids) : nullptr;
}

// Entry `row` of the list in its sorted order, or null past the set's end.
const GridEntry* RowEntry(const GridControlState& st, int row, std::uint32_t* place) {
  const GridSet* set = SetOf(st);
  if (!set || row < 0 || static_cast<std::size_t>(row) >= st.indexes.size()) return nullptr;
  const std::uint32_t index = st.indexes[static_cast<std::size_t>(row)];
  if (index >= set->count) return nullptr;
  *place = index;
  return GridSetEntry(set, index);
}

double AxisSize(const GridAxis& axis, std::uint32_t unit) {
  if (axis.denominator == 0) return 0;
  return static_cast<double>(axis.numerator) / axis.denominator * GridUnitSize(unit);
}

template <typename T>
int ThreeWay(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// The comparison chain of a column: the first key that differs decides.
int CompareAscending(const GridEntry& a, std::uint32_t aPlace, const GridEntry& b, std::uint32_t bPlace, int column) {
  const double ax = AxisSize(a.x, a.unit), bx = AxisSize(b.x, b.unit);
  const double ay = AxisSize(a.y, a.unit), by = AxisSize(b.y, b.unit);
  const std::uint32_t au = GridUnitSize(a.unit), bu = GridUnitSize(b.unit);
  const auto chain = [](std::initializer_list<int> keys) {
    for (const int k : keys)
      if (k) return k;
    return 0;
  };
  switch (column) {
    case GridColumn_X: return chain({ThreeWay(ax, bx), ThreeWay(ay, by), ThreeWay(au, bu)});
    case GridColumn_Y: return chain({ThreeWay(ay, by), ThreeWay(ax, bx), ThreeWay(au, bu)});
    case GridColumn_Unit: return chain({ThreeWay(au, bu), ThreeWay(ay, by), ThreeWay(ax, bx)});
    case GridColumn_Key:
      return chain({ThreeWay(a.keyStroke, b.keyStroke), ThreeWay(au, bu), ThreeWay(ay, by), ThreeWay(ax, bx)});
    case GridColumn_Position: return ThreeWay(aPlace, bPlace);
    default: return 0;
  }
}

// ---- The sort arrows and the header ---------------------------------------------------

// A triangle whose rows grow by two pixels from a tip of one pixel (two when
// the width is even) to a base as wide as the bitmap, centred upright.
HBITMAP DrawSortArrow(ArrowSize size, bool up) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size.width * size.height), kArrowKeyColour);
  const int rows = std::min(size.height, (size.width + 1) / 2);
  const int top = (size.height - rows) / 2;
  for (int r = 0; r < rows; ++r) {
    const int fromBase = rows - 1 - r;  // rows above the base, 0 at the base
    const int y = top + (up ? r : fromBase);
    for (int x = fromBase; x < size.width - fromBase; ++x)
      pixels[static_cast<std::size_t>(y * size.width + x)] = kArrowInk;
  }
  return CreateBitmap(size.width, size.height, 1, 32, pixels.data());
}

HIMAGELIST MakeSortArrows() {
  const ArrowSize size = ThemeActive ? kThemedArrows : kClassicArrows;
  HIMAGELIST list = ImageList_Create(size.width, size.height, ILC_COLOR24 | ILC_MASK, 2, 0);
  if (!list) return nullptr;
  for (const bool up : {true, false}) {
    if (HBITMAP bitmap = DrawSortArrow(size, up)) {
      ImageList_AddMasked(list, bitmap, kArrowKeyColour);
      DeleteObject(bitmap);
    }
  }
  return list;
}

// The sort column's header shows its arrow on the right, the others text only.
void ShowSortArrow(const GridControlState& st) {
  HWND header = reinterpret_cast<HWND>(SendMessage(st.list, LVM_GETHEADER, 0, 0));
  for (int c = 0; c < kGridColumnCount; ++c) {
    HDITEM item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt = HDF_STRING | HDF_LEFT;
    if (c == st.sortColumn) item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
    item.iImage = st.descending ? 1 : 0;
    SendMessage(header, HDM_SETITEM, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&item));
  }
}

void SortRows(GridControlState& st) {
  SortGridIndexes(SetOf(st), st.indexes, st.sortColumn, st.descending);
  ShowSortArrow(st);
  InvalidateRect(st.list, nullptr, TRUE);
}

// ---- Building the list ------------------------------------------------------------------

// The editors with grids: PCB, shape, PCB symbol, pad stack, schematic
// symbol and schematic windows (one bit each).
constexpr std::uint32_t kGridEditorKinds =
    kEditorPcb | kEditorShape | kEditorPcbSymbol | kEditorPadStack | kEditorSchematicSymbol | kEditorSchematic;

bool ShowsGrids(const CurrentWindowData* window) {
  return window && std::has_single_bit(window->editorKind) && (window->editorKind & kGridEditorKinds) != 0;
}

void PlaceList(HWND control, const GridControlState& st) {
  if (!st.list) return;
  RECT client{};
  GetClientRect(control, &client);
  MoveWindow(st.list, 1, 1, std::max(0, static_cast<int>(client.right) - 2), std::max(0, static_cast<int>(client.bottom) - 2),
             TRUE);
}

HWND CreateGridList(HWND control, const GridControlState& st) {
  HWND list = CreateWindowEx(0, WC_LISTVIEW, "",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED |
                                 LVS_SHOWSELALWAYS,
                             0, 0, 0, 0, control, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kGridControlListId)),
                             nullptr, nullptr);
  if (!list) return nullptr;
  SendMessage(list, WM_SETFONT, reinterpret_cast<WPARAM>(st.normal), FALSE);
  SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
  HWND header = reinterpret_cast<HWND>(SendMessage(list, LVM_GETHEADER, 0, 0));
  SendMessage(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(st.arrows));
  AddGridColumns(list, kColumnHeads, kGridColumnCount);
  SendMessage(list, LVM_SETCOLUMNORDERARRAY, kGridColumnCount, reinterpret_cast<LPARAM>(st.columnOrder));
  return list;
}

void Rebuild(HWND control, GridControlState& st, CurrentWindowData* window) {
  SendMessage(control, WM_SETREDRAW, FALSE, 0);
  if (st.list) DestroyWindow(st.list);
  st.list = nullptr;
  st.indexes.clear();
  st.window = ShowsGrids(window) ? window : nullptr;
  if (st.window) {
    // A window that has no set yet gets the default one to show.
    const GridSet* set = WindowGridSet(*st.window);
    st.list = CreateGridList(control, st);
    const std::uint32_t count = set ? set->count : 0;
    for (std::uint32_t i = 0; i < count; ++i) st.indexes.push_back(i);
    if (st.list) {
      SendMessage(st.list, LVM_SETITEMCOUNT, count, 0);
      SortRows(st);
      PlaceList(control, st);
    }
  }
  SendMessage(control, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control, nullptr, TRUE);
}

// ---- What the list tells ----------------------------------------------------------------

void MakeRowCurrent(GridControlState& st, int row) {
  std::uint32_t place = 0;
  const GridEntry* entry = RowEntry(st, row, &place);
  if (!entry) return;
  auto* set = static_cast<GridSet*>(st.window->Grids);
  std::memmove(&set->current, entry, sizeof(GridEntry));
  InvalidateRect(st.list, nullptr, TRUE);
  RedrawView(st.window->Window);
  Docking_SendToPaneClient(Pane_Info, kPaneRefreshMessage, reinterpret_cast<WPARAM>(st.window), 0);
}

void OnListKey(HWND control, GridControlState& st, WORD key) {
  if (key == VK_ESCAPE) {
    SendMessage(GetParent(control), kGridControlEscape, VK_ESCAPE, 0);
  } else if (key == 'A' && (GetKeyState(VK_CONTROL) & 0x8000)) {
    LVITEM all{};
    all.stateMask = LVIS_SELECTED;
    all.state = LVIS_SELECTED;
    SendMessage(st.list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
  }
}

LRESULT OnNotify(HWND control, GridControlState& st, const NMHDR& note) {
  if (note.hwndFrom != st.list) return 0;
  switch (note.code) {
    case LVN_ODCACHEHINT:
      // The user may have dragged the columns about since the last rows.
      SendMessage(st.list, LVM_GETCOLUMNORDERARRAY, kGridColumnCount, reinterpret_cast<LPARAM>(st.columnOrder));
      return 0;
    case LVN_GETDISPINFO: {
      auto& info = const_cast<NMLVDISPINFO&>(reinterpret_cast<const NMLVDISPINFO&>(note));
      std::uint32_t place = 0;
      if (const GridEntry* entry = RowEntry(st, info.item.iItem, &place))
        FillGridCellInfo(info, *entry, place, info.item.iSubItem);
      return 0;
    }
    case LVN_COLUMNCLICK: {
      const int column = reinterpret_cast<const NMLISTVIEW&>(note).iSubItem;
      if (column < 0 || column >= kGridColumnCount) return 0;
      st.descending = column == st.sortColumn ? !st.descending : 0;
      st.sortColumn = column;
      SortRows(st);
      return 0;
    }
    case NM_DBLCLK:
      MakeRowCurrent(st, reinterpret_cast<const NMITEMACTIVATE&>(note).iItem);
      return 0;
    case LVN_KEYDOWN:
      OnListKey(control, st, reinterpret_cast<const NMLVKEYDOWN&>(note).wVKey);
      return 0;
    default:
      return 0;
  }
}

void OnDrawItem(const GridControlState& st, const DRAWITEMSTRUCT& item) {
  if (item.hwndItem != st.list) return;
  std::uint32_t place = 0;
  const GridEntry* entry = RowEntry(st, static_cast<int>(item.itemID), &place);
  if (!entry) return;
  const GridRowLook look{st.normal, st.bold, st.sortColumn, kEveryCell, kGridColumnCount};
  DrawGridRow(item, look, *entry, place, IsCurrentGrid(SetOf(st), *entry));
}

GridControlState* CreateState(HWND control) {
  auto* st = new GridControlState();
  st->normal = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  st->bold = CreateBoldFont(st->normal);
  st->arrows = MakeSortArrows();
  HDC dc = GetDC(control);
  HFONT old = SelectObject(dc, st->normal);
  SIZE x{};
  GetTextExtentPoint32(dc, "X", 1, &x);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  st->rowHeight = x.cy;
  return st;
}

void DestroyState(HWND control) {
  GridControlState* st = StateOf(control);
  if (!st) return;
  SetWindowLongPtr(control, GWLP_USERDATA, 0);
  if (st->arrows) ImageList_Destroy(st->arrows);
  if (st->bold) DeleteObject(st->bold);
  delete st;
}

LRESULT CALLBACK GridControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    SetWindowLongPtr(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(CreateState(control)));
    return 0;
  }
  GridControlState* st = StateOf(control);
  if (!st) return DefWindowProc(control, message, wParam, lParam);
  switch (message) {
    case kGridControlRebuild:
      Rebuild(control, *st, reinterpret_cast<CurrentWindowData*>(lParam));
      return 0;
    case kGridControlRepaint:
      if (st->list) InvalidateRect(st->list, nullptr, TRUE);
      return 0;
    case WM_NOTIFY:
      return OnNotify(control, *st, *reinterpret_cast<const NMHDR*>(lParam));
    case WM_DRAWITEM:
      OnDrawItem(*st, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(st->rowHeight);
      return TRUE;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) SendMessage(GetParent(control), kGridControlEscape, VK_ESCAPE, 0);
      return 0;
    case WM_SETFOCUS:
      if (st->list) SetFocus(st->list);
      return 0;
    case WM_SIZE:
      PlaceList(control, *st);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(control, &ps);
      RECT client{};
      GetClientRect(control, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
      EndPaint(control, &ps);
      return 0;
    }
    case WM_DESTROY:
      DestroyState(control);
      return 0;
    default:
      return DefWindowProc(control, message, wParam, lParam);
  }
}

// A cell's rectangle within the row, column by column in display order.
void DrawCells(const DRAWITEMSTRUCT& item, const GridRowLook& look, const GridEntry& entry, std::uint32_t place,
               bool selected) {
  int order[kGridColumnCount] = {};
  const int count = std::min(look.columnCount, kGridColumnCount);
  if (!SendMessage(item.hwndItem, LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order)))
    for (int c = 0; c < count; ++c) order[c] = c;
  int x = item.rcItem.left;
  for (int at = 0; at < count; ++at) {
    const int column = order[at];
    if (column < 0 || column >= count) continue;
    const int width = static_cast<int>(SendMessage(item.hwndItem, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    RECT cell{x, item.rcItem.top, x + width, item.rcItem.bottom};
    x += width;
    const int shows = look.cells[column];
    if (!selected && ThemeActive && shows == look.sortColumn) {
      HBRUSH tint = GetUIColourBrush(kSortColumnSlot);
      FillRect(item.hDC, &cell, tint ? tint : GetSysColorBrush(COLOR_WINDOW));
    }
    char text[kGridTextSize];
    GridCellText(text, entry, place, shows);
    RECT inside{cell.left + 4, cell.top, cell.right - 2, cell.bottom};
    DrawText(item.hDC, text, -1, &inside, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
}

}  // namespace

ATOM RegisterGridControl(HINSTANCE instance) {
  InitCommonControls();  // the list view the control makes
  WNDCLASS wc{};
  wc.style = kGridControlStyle;
  wc.lpfnWndProc = &GridControlProc;
  wc.cbWndExtra = 4;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;
  wc.lpszClassName = kGridControlClass;
  return RegisterClass(&wc);
}

int CompareGridEntries(const GridEntry& a, std::uint32_t aPlace, const GridEntry& b, std::uint32_t bPlace, int column,
                       int descending) {
  const int order = CompareAscending(a, aPlace, b, bPlace, column);
  return descending ? -order : order;
}

void SortGridIndexes(const GridSet* set, std::vector<std::uint32_t>& indexes, int column, int descending) {
  if (!set) return;
  std::stable_sort(indexes.begin(), indexes.end(), [&](std::uint32_t a, std::uint32_t b) {
    if (a >= set->count || b >= set->count) return false;
    return CompareGridEntries(*GridSetEntry(set, a), a, *GridSetEntry(set, b), b, column, descending) < 0;
  });
}

void GridCellText(char* text, const GridEntry& entry, std::uint32_t place, int column) {
  switch (column) {
    case GridColumn_X: FormatGridStep(text, 0, &entry); break;
    case GridColumn_Y: FormatGridStep(text, 1, &entry); break;
    case GridColumn_Unit: GetGridUnitName(text, &entry); break;
    case GridColumn_Type: std::snprintf(text, kGridTextSize, "%s", entry.kind == kGridCartesian ? "Cartesian" : "Polar"); break;
    case GridColumn_Key: std::snprintf(text, kGridTextSize, "%c", static_cast<char>(entry.keyStroke)); break;
    case GridColumn_Position: std::snprintf(text, kGridTextSize, "%d", static_cast<int>(place + 1)); break;
    default: text[0] = '\0'; break;
  }
}

void AddGridColumns(HWND list, const GridColumnHead* heads, int count) {
  for (int c = 0; c < count; ++c) {
    LVCOLUMN column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = heads[c].width;
    column.pszText = const_cast<char*>(heads[c].title);
    column.iSubItem = c;
    SendMessage(list, LVM_INSERTCOLUMN, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
  }
}

void FillGridCellInfo(NMLVDISPINFO& info, const GridEntry& entry, std::uint32_t place, int column) {
  if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
  char text[kGridTextSize];
  GridCellText(text, entry, place, column);
  std::snprintf(info.item.pszText, static_cast<std::size_t>(info.item.cchTextMax), "%s", text);
}

void DrawGridRow(const DRAWITEMSTRUCT& item, const GridRowLook& look, const GridEntry& entry, std::uint32_t place,
                 bool current) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  HDC dc = item.hDC;
  RECT row = item.rcItem;
  if (selected) {
    HBRUSH fill = GetUIColourBrush(kSelectedRowSlot);
    FillRect(dc, &row, fill ? fill : GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(ThemeActive ? COLOR_WINDOWTEXT : COLOR_HIGHLIGHTTEXT));
  } else {
    FillRect(dc, &row, GetSysColorBrush(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  }
  SetBkMode(dc, TRANSPARENT);
  HFONT oldFont = SelectObject(dc, current && look.bold ? look.bold : look.normal);
  DrawCells(item, look, entry, place, selected);
  SelectObject(dc, oldFont);
  if (item.itemState & ODS_FOCUS) {
    if (ThemeActive)
      FrameRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
    else
      DrawFocusRect(dc, &row);
  }
}

bool IsCurrentGrid(const GridSet* set, const GridEntry& entry) {
  return set && std::memcmp(&set->current, &entry, sizeof(GridEntry)) == 0;
}

HFONT CreateBoldFont(HFONT font) {
  LOGFONT lf{};
  if (!GetObject(font, sizeof lf, &lf)) return nullptr;
  lf.lfWeight = 700;
  return CreateFontIndirect(&lf);
}

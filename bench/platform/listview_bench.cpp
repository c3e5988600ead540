// An owner-data report list 1080 pixels high: set the count, paint, then page
// down 100 times (each page painted), against a plain loop that formats and
// draws the same visible cells into a context of the same size. Run at
// 100,000 and at 1,000 rows: the cost per page shown must not grow with the
// count. "x_plain" is the list's time over the plain loop's; "us_per_page"
// the list's time per page painted.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/scroll.h"
#include "platform/user.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 1080;
constexpr int kColumns = 3;
constexpr int kColumnWidth = 200;
constexpr int kPages = 100;

long long g_cellsAsked = 0;

void FormatCell(char* out, int size, int row, int column) { std::snprintf(out, static_cast<size_t>(size), "Row %d col %d", row, column); }

LRESULT CALLBACK BenchParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFO) {
    auto* di = reinterpret_cast<NMLVDISPINFO*>(lParam);
    if (di->item.mask & LVIF_TEXT) FormatCell(di->item.pszText, di->item.cchTextMax, di->item.iItem, di->item.iSubItem);
    ++g_cellsAsked;
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

struct ListWindow {
  HWND parent = nullptr;
  HWND list = nullptr;
  ListWindow() {
    setenv("PL3_BACKEND", "headless", 0);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &BenchParentProc;
    wc.lpszClassName = "BenchListParent";
    RegisterClassA(&wc);
    parent = CreateWindowExA(0, "BenchListParent", "bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                             nullptr, nullptr, nullptr);
    list = CreateWindowExA(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0, kWidth, kHeight,
                           parent, nullptr, nullptr, nullptr);
    for (int c = 0; c < kColumns; ++c) {
      char name[16];
      std::snprintf(name, sizeof name, "Column %d", c);
      LVCOLUMN col{};
      col.mask = LVCF_TEXT | LVCF_WIDTH;
      col.pszText = name;
      col.cx = kColumnWidth;
      SendMessageA(list, LVM_INSERTCOLUMN, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
    }
  }
  ~ListWindow() { DestroyWindow(parent); }
};

// Sets the count, paints, pages down; returns the pages painted.
int RunList(const ListWindow& w, int rows) {
  SendMessageA(w.list, LVM_SETITEMCOUNT, 0, 0);
  SendMessageA(w.list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
  UpdateWindow(w.list);
  int pages = 1;
  for (int i = 0; i < kPages; ++i) {
    int before = static_cast<int>(SendMessageA(w.list, LVM_GETTOPINDEX, 0, 0));
    SendMessageA(w.list, WM_VSCROLL, SB_PAGEDOWN, 0);
    if (SendMessageA(w.list, LVM_GETTOPINDEX, 0, 0) != before) ++pages;
    UpdateWindow(w.list);
  }
  return pages;
}

// The same cells drawn by hand: the rows one page shows, for each page the list showed.
void RunPlain(HDC dc, int rows, int rowHeight, int top, int perPage) {
  const RECT all{0, 0, kWidth, kHeight};
  HBRUSH white = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  int lastTop = std::max(0, rows - perPage);
  int shownTop = -1;
  for (int page = 0; page <= kPages; ++page) {
    int t = std::min(page * perPage, lastTop);
    if (t == shownTop) continue;
    shownTop = t;
    FillRect(dc, &all, white);
    for (int r = t; r < std::min(rows, t + perPage + 1); ++r)
      for (int c = 0; c < kColumns; ++c) {
        char text[64];
        FormatCell(text, sizeof text, r, c);
        RECT cell{c * kColumnWidth + 4, top + (r - t) * rowHeight, (c + 1) * kColumnWidth - 4, top + (r - t + 1) * rowHeight};
        DrawTextA(dc, text, -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
      }
  }
}

template <class Fn>
double Seconds(Fn fn) {
  const auto start = std::chrono::steady_clock::now();
  fn();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_OwnerDataReportPaging(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  ListWindow w;
  RECT first{LVIR_BOUNDS, 0, 0, 0};
  SendMessageA(w.list, LVM_SETITEMCOUNT, 1, 0);
  SendMessageA(w.list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  const int rowHeight = first.bottom - first.top;
  const int headerHeight = first.top;
  const int perPage = static_cast<int>(SendMessageA(w.list, LVM_GETCOUNTPERPAGE, 0, 0));

  HDC screen = GetDC(w.list);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
  HBITMAP old = SelectObject(dc, bitmap);
  SelectObject(dc, reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  SetBkMode(dc, TRANSPARENT);
  ReleaseDC(w.list, screen);

  double listSeconds = 0, plainSeconds = 0;
  int pages = 0;
  long long asked = 0;
  for (auto _ : state) {
    g_cellsAsked = 0;
    listSeconds += Seconds([&] { pages = RunList(w, rows); });
    asked = g_cellsAsked;
    plainSeconds += Seconds([&] { RunPlain(dc, rows, rowHeight, headerHeight, perPage); });
    benchmark::DoNotOptimize(asked);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["x_plain"] = listSeconds / plainSeconds;
  state.counters["us_per_page"] = listSeconds / n / pages * 1e6;
  state.counters["cells_asked"] = static_cast<double>(asked);
  std::printf("owner data %d rows: %d pages, %.3f ms per page, plain %.3f ms per page, ratio %.2f\n", rows, pages,
              listSeconds / n / pages * 1e3, plainSeconds / n / pages * 1e3, listSeconds / plainSeconds);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}
BENCHMARK(BM_OwnerDataReportPaging)->Arg(100000)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

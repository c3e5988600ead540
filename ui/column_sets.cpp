#include "ui/column_sets.h"

#include <cstdlib>

#include "platform/commctrl.h"
#include "platform/user.h"

namespace {

// Inserts title at index with width; the index the header gave it, or -1.
int InsertTitle(HWND header, int index, const char* title, int width) {
  HDITEM item{};
  item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
  item.pszText = const_cast<char*>(title);
  item.cxy = width;
  item.fmt = HDF_STRING;
  return static_cast<int>(SendMessageA(header, HDM_INSERTITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

}  // namespace

ColumnWidthEntry* InsertProportionalColumns(HWND dialog, int headerId, int totalWidth, int count,
                                            const char* const* titles, const float* fractions) {
  HWND header = GetDlgItem(dialog, headerId);
  if (!header || count <= 0) return nullptr;
  auto* layout = static_cast<ColumnWidthEntry*>(std::calloc(static_cast<std::size_t>(count), sizeof(ColumnWidthEntry)));
  if (!layout) return nullptr;
  int index = 0;
  for (int k = 0; k < count; ++k) {
    const int width = static_cast<int>(static_cast<float>(totalWidth) * fractions[k]);
    const int got = InsertTitle(header, index, titles[k], width);
    if (got >= 0) index = got;
    layout[count - 1 - k] = {static_cast<std::uint32_t>(count - 1 - k), width};
  }
  return layout;
}

bool RestoreHeaderColumns(HWND dialog, int headerId, int count, const char* const* titles,
                          const ColumnWidthEntry* layout) {
  HWND header = GetDlgItem(dialog, headerId);
  if (!header || !layout || count <= 0) return false;
  for (int i = 0; i < count; ++i)
    if (layout[i].width < 1 || layout[i].width > kMaxColumnWidth) return false;
  int index = 0;
  for (int k = 0; k < count; ++k) {
    const int got = InsertTitle(header, index, titles[k], layout[count - 1 - k].width);
    if (got >= 0) index = got;
  }
  return true;
}

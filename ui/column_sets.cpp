#include "ui/column_sets.h"

#include <cstdlib>
#include <utility>

#include "app/dialog_header.h"
#include "platform/commctrl.h"
#include "platform/reset_hooks.h"
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

namespace {

// The column set of a size list, and the list kind whose slot remembers it.
struct SizeListColumns {
  int listKind;
  int count;
  const char* const* titles;
  const float* fractions;
};

const char* const kWidthTitles[] = {"Key", "Active", "Unit", "Width", "Name"};
const char* const kDiameterTitles[] = {"Key", "Active", "Unit", "Diameter", "Name"};
const float kFiveFractions[] = {1.0f, 0.2f, 0.2f, 0.2f, 0.3f};
const char* const kFontTitles[] = {"Key", "Active", "Size", "Name"};
const float kFontFractions[] = {1.0f, 0.2f, 0.2f, 0.5f};
const char* const kRectangleTitles[] = {"Key", "Active", "Unit", "Length", "Width", "Name"};
const char* const kViaTitles[] = {"Key", "Active", "Unit", "Inner", "Outer", "Name"};
const float kSixFractions[] = {1.0f, 0.15f, 0.15f, 0.15f, 0.15f, 0.3f};

const SizeListColumns* SizeListColumnsOf(int objectType) {
  static const SizeListColumns kLines{1, 5, kWidthTitles, kFiveFractions};
  static const SizeListColumns kCircles{3, 5, kDiameterTitles, kFiveFractions};
  static const SizeListColumns kFonts{5, 4, kFontTitles, kFontFractions};
  static const SizeListColumns kRectangles{6, 6, kRectangleTitles, kSixFractions};
  static const SizeListColumns kHoles{7, 5, kDiameterTitles, kFiveFractions};
  static const SizeListColumns kVias{17, 6, kViaTitles, kSixFractions};
  switch (objectType) {
    case 1: case 2: case 10: case 28: case 29: case 35: case 37: case 38: case 39: return &kLines;
    case 3: return &kCircles;
    case 5: return &kFonts;
    case 6: return &kRectangles;
    case 7: case 46: case 47: return &kHoles;
    case 17: return &kVias;
    default: return nullptr;
  }
}

// Slots of the kinds the registry keeps no widths for.
constexpr int kFirstSeriesKind = 30001;
constexpr int kLastSeriesKind = 30014;
ColumnWidthEntry* gSmallKindSlots[18] = {};
ColumnWidthEntry* gDRCSchemeSlot = nullptr;
ColumnWidthEntry* gSeriesSlots[kLastSeriesKind - kFirstSeriesKind + 1] = {};

void ResetColumnLayouts() {
  // The registry's sets belong to app/ and are reset there.
  for (ColumnWidthEntry*& slot : gSmallKindSlots) std::free(std::exchange(slot, nullptr));
  std::free(std::exchange(gDRCSchemeSlot, nullptr));
  for (ColumnWidthEntry*& slot : gSeriesSlots) std::free(std::exchange(slot, nullptr));
}
const bool gResetRegistered = pl3::RegisterGlobalReset(&ResetColumnLayouts);

}  // namespace

ColumnWidthEntry** ColumnLayoutSlot(int listKind) {
  if (ColumnWidthEntry** shared = ColumnWidthSet(listKind)) return shared;
  if (listKind >= 1 && listKind <= 17) return &gSmallKindSlots[listKind];
  if (listKind == 275) return &gDRCSchemeSlot;
  if (listKind >= kFirstSeriesKind && listKind <= kLastSeriesKind) return &gSeriesSlots[listKind - kFirstSeriesKind];
  return nullptr;
}

bool SetUpListColumns(HWND dialog, int listId, int headerId, int listKind, int count, const char* const* titles,
                      const float* fractions) {
  ColumnWidthEntry** slot = ColumnLayoutSlot(listKind);
  if (!slot || !CreateDialogHeader(dialog, listId, headerId)) return false;
  if (*slot && RestoreHeaderColumns(dialog, headerId, count, titles, *slot)) return true;
  RECT list{};
  GetWindowRect(GetDlgItem(dialog, listId), &list);
  std::free(*slot);
  *slot = InsertProportionalColumns(dialog, headerId, list.right - list.left, count, titles, fractions);
  return *slot != nullptr;
}

bool SetUpSizeListColumns(HWND dialog, int listId, int headerId, int objectType) {
  const SizeListColumns* set = SizeListColumnsOf(objectType);
  return set && SetUpListColumns(dialog, listId, headerId, set->listKind, set->count, set->titles, set->fractions);
}

void FreeColumnLayout(int listKind) {
  if (ColumnWidthEntry** slot = ColumnLayoutSlot(listKind)) std::free(std::exchange(*slot, nullptr));
}

void FreeAllColumnLayouts() {
  const int kinds[] = {17, 1, 3, 7, 6, 5, 30001, 30002, 30004, 30003, 275, 30005, 30006, 30010};
  for (int kind : kinds) FreeColumnLayout(kind);
  for (int kind = kFirstSeriesKind; kind <= kLastSeriesKind; ++kind) FreeColumnLayout(kind);
  for (int kind = 1; kind <= 17; ++kind) FreeColumnLayout(kind);
}

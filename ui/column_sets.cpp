#include "ui/column_sets.h"

#include <cstdlib>
#include <utility>

#include "app/dialog_header.h"
#include "platform/commctrl.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"

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
  return SetUpHeaderColumns(dialog, listId, headerId, ColumnLayoutSlot(listKind), count, titles, fractions);
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

#include "app/recent_projects.h"

#include <cstdio>
#include <cstring>

#include "app/core_utilities.h"
#include "app/owner_drawn_menus.h"
#include "app/registry_values.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/system_info.h"
#include "store/document_filing.h"

namespace {

char gEntries[kRecentEntries][kRecentEntrySize];

void ResetRecent() { ClearMRUList(); }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetRecent);

int EntryCount() {
  int n = 0;
  while (n < kRecentEntries && gEntries[n][0]) ++n;
  return n;
}

// The image of an item type by its name after the "?".
std::uint32_t ImageOfType(const char* type) {
  switch (ItemTypeCodeFromName(type)) {
    case 25: return 1041;
    case 102: return 162;
    case 103: return 1044;
    case 105: return 164;
    case 109: return 163;
    case 115: return 1021;
    case 11006: return 1043;
    default: return 0;
  }
}

void InsertOwnerDrawn(HMENU popup, UINT id, OwnerDrawnMenuRecord* record, UINT type) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
  info.fType = type | MFT_OWNERDRAW;
  info.fState = MFS_ENABLED;
  info.wID = id;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(record);
  record->info = info;
  if (!InsertMenuItemA(popup, kExitId, FALSE, &info)) FreeOwnerDrawnItem(record);
}

}  // namespace

const char* RecentEntry(int index) { return index >= 0 && index < kRecentEntries ? gEntries[index] : ""; }

void ClearMRUList() { std::memset(gEntries, 0, sizeof gEntries); }

void LoadMRUList(HKEY initialisation) {
  int next = 0;
  for (int n = 1; n <= kRecentEntries; ++n) {
    char name[32], value[1024];
    std::snprintf(name, sizeof name, "MRUProject%d", n);
    if (!ReadRegistryText(initialisation, name, value, sizeof value)) continue;
    if (!std::strchr(value, '?')) continue;
    std::snprintf(gEntries[next++], kRecentEntrySize, "%s", value);
  }
}

void SaveMRUList() {
  HKEY key = nullptr;
  if (CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                               nullptr, &key, nullptr) != static_cast<LONG>(ERROR_SUCCESS))
    return;
  for (int n = 0; n < kRecentEntries && gEntries[n][0]; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "MRUProject%d", n + 1);
    WriteRegistryTextWithNul(key, name, gEntries[n]);
  }
  RegCloseKey(key);
}

bool AddToMRUList(const char* folder, const char* fileName, const char* itemType) {
  char text[kRecentEntrySize];
  const int length = itemType ? std::snprintf(text, sizeof text, "%s%s?%s", folder ? folder : "", fileName ? fileName : "",
                                              itemType)
                              : std::snprintf(text, sizeof text, "%s%s", folder ? folder : "", fileName ? fileName : "");
  // A text cut to the entry would name another item: it is not kept.
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof text) return false;
  const int count = EntryCount();
  int found = -1;
  for (int i = 0; i < count; ++i)
    if (std::strcmp(gEntries[i], text) == 0) found = i;
  const int last = found >= 0 ? found : (count < kRecentEntries ? count : kRecentEntries - 1);
  for (int i = last; i > 0; --i) std::memcpy(gEntries[i], gEntries[i - 1], kRecentEntrySize);
  std::memcpy(gEntries[0], text, static_cast<std::size_t>(length) + 1);
  return true;
}

void BuildMRUMenu(HMENU filePopup) {
  HFONT measureFont = CreateMenuFont();
  HDC dc = CreateMeasuringDC();
  auto old = SelectObject(dc, measureFont);
  int inserted = 0;
  for (int n = 0; n < kRecentEntries && gEntries[n][0]; ++n) {
    char path[kRecentEntrySize];
    std::memcpy(path, gEntries[n], kRecentEntrySize);
    path[kRecentEntrySize - 1] = '\0';
    char* question = std::strchr(path, '?');
    const char* type = "";
    if (question) {
      *question = '\0';
      type = gEntries[n] + (question - path) + 1;
    }
    char compact[64];
    PathCompactPathExA(compact, path, 50, 0);
    char text[96];
    std::snprintf(text, sizeof text, "&%d %s", n + 1, compact);
    OwnerDrawnMenuRecord* record = NewOwnerDrawnRecord(text, ImageOfType(type), static_cast<std::uint32_t>(n + 1));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    record->width = size.cx;
    record->height = size.cy;
    InsertOwnerDrawn(filePopup, kRecentFirstId + static_cast<UINT>(n), record, MFT_STRING);
    ++inserted;
  }
  if (inserted > 0) InsertOwnerDrawn(filePopup, 0, NewOwnerDrawnRecord("X", 0, 0), MFT_SEPARATOR);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(measureFont);
}

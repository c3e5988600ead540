// The explorer's list: what each directory entry is, how it sorts, the texts
// of its columns and the filling of the list view.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "geometry/natural_order.h"
#include "library/file_explorer.h"
#include "platform/commctrl.h"
#include "platform/kernel_base.h"
#include "platform/text_case.h"
#include "platform/user.h"
#include "store/container_store.h"
#include "store/document_filing.h"

namespace {

// The size word of an item whose "data" size has not been fetched yet.
constexpr std::uint32_t kSizeUnknown = 0xFFFFFFFFu;
// reserved0 bit: the item's "data" time has not been fetched yet.
constexpr std::uint32_t kTimeUnfetched = 1;

struct ItemKind {
  const char* type;
  int icon;
  const char* caption;
};

// Types of items with their icon index in both image lists.
constexpr ItemKind kItemKinds[] = {
    {"pcbsymbol", 0, "PCB Symbol"},
    {"pcb", 1, "PCB"},
    {"shape", 2, "Shape"},
    {"padstack", 3, "Padstack"},
    {"schematicsymbol", 6, "Schematic Symbol"},
    {"schematic", 7, "Schematic"},
    {"package", 8, "Schematic Package"},
    {"functiontable", 9, "Function Table"},
    {"macroblock", 10, "Macro Block"},
};
constexpr int kFolderIcon = 4;

const ItemKind* KindOf(std::string_view type) {
  for (const ItemKind& k : kItemKinds)
    if (pl3::EqualsNoCase(type, k.type)) return &k;
  return nullptr;
}

std::string NamePart(const DirectoryEntry& entry) {
  std::string name, type;
  SplitNameAndType(EntryName(entry), &name, &type);
  return name;
}

std::string TypePart(const DirectoryEntry& entry) {
  std::string name, type;
  SplitNameAndType(EntryName(entry), &name, &type);
  return type;
}

bool IsFolderEntry(const DirectoryEntry& entry) { return (entry.flags & 1) != 0; }

// A total order agreeing with the natural order where it decides.
int NaturalThreeWay(std::string_view a, std::string_view b) {
  if (pl3::NaturalOrderLess(a, b)) return -1;
  if (pl3::NaturalOrderLess(b, a)) return 1;
  return 0;
}

FILETIME TimeOf(const NetfsTime& t) {
  SYSTEMTIME st{t.year, t.month, t.dayOfWeek, t.day, t.hour, t.minute, t.second, t.milliseconds};
  FILETIME ft{};
  if (!SystemTimeToFileTime(&st, &ft)) ft = FILETIME{};
  return ft;
}

std::string DataPath(const ExplorerState& state, const DirectoryEntry& entry) {
  return state.folder + std::string(EntryName(entry)) + "\\data";
}

NetFSHandle* HandleOf(const ExplorerState& state) {
  return state.request && state.request->container ? state.request->container->handle : nullptr;
}

bool Listed(const DirectoryEntry& entry) { return !pl3::EqualsNoCase(TypePart(entry), "system"); }

}  // namespace

bool IsExplorerItem(const DirectoryEntry& entry) { return IsFolderEntry(entry) && KindOf(TypePart(entry)); }

bool ExplorerTypePasses(const char* typeFilter, std::string_view type) {
  if (!typeFilter || !*typeFilter) return true;
  std::string_view filter(typeFilter);
  std::size_t start = 0;
  while (start <= filter.size()) {
    std::size_t end = filter.find(':', start);
    if (end == std::string_view::npos) end = filter.size();
    if (end > start && pl3::EqualsNoCase(filter.substr(start, end - start), type)) return true;
    start = end + 1;
  }
  return false;
}

std::string FormatFileSize(std::uint64_t size) {
  char text[64];
  constexpr std::uint64_t kKilo = 1024, kMega = kKilo * 1024, kGiga = kMega * 1024;
  auto scaled = [&](std::uint64_t unit, const char* suffix) {
    const std::uint64_t whole = size / unit;
    if (whole < 10) std::snprintf(text, sizeof text, "%.2lf%s", static_cast<double>(size) / unit, suffix);
    else if (whole >= 100) std::snprintf(text, sizeof text, "%d%s", static_cast<int>(whole), suffix);
    else std::snprintf(text, sizeof text, "%.1lf%s", static_cast<double>(size) / unit, suffix);
  };
  if (size < kKilo) std::snprintf(text, sizeof text, "%d bytes", static_cast<int>(size));
  else if (size < kMega) scaled(kKilo, "KB");
  else if (size < kGiga) scaled(kMega, "MB");
  else  // whole gigabytes, then the first decimal of the rest
    std::snprintf(text, sizeof text, "%d.%dGB", static_cast<int>(size / kGiga),
                  static_cast<int>((size % kGiga) * 10 / kGiga));
  return text;
}

int ExplorerIconIndex(const DirectoryEntry& entry) {
  if (!IsFolderEntry(entry)) return kFolderIcon;
  const ItemKind* kind = KindOf(TypePart(entry));
  return kind ? kind->icon : kFolderIcon;
}

std::string ExplorerTypeText(const DirectoryEntry& entry) {
  const std::string type = TypePart(entry);
  if (!IsFolderEntry(entry)) return pl3::EqualsNoCase(type, "dosfile") ? "User File" : "Unknown!";
  const ItemKind* kind = KindOf(type);
  return kind ? kind->caption : "File Folder";
}

int CompareExplorerEntries(const DirectoryEntry& a, const DirectoryEntry& b, int column) {
  int order = 0;
  switch (column) {
    case kSortType: order = NaturalThreeWay(ExplorerTypeText(a), ExplorerTypeText(b)); break;
    case kSortSize: order = a.size < b.size ? -1 : (a.size > b.size ? 1 : 0); break;
    case kSortModified: {
      const FILETIME ta = TimeOf(a.modified), tb = TimeOf(b.modified);
      order = CompareFileTime(&ta, &tb);
      break;
    }
    default: break;
  }
  return order ? order : NaturalThreeWay(NamePart(a), NamePart(b));
}

std::string FormatExplorerTime(const NetfsTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%02u/%02u/%04u %02u:%02u", t.day, t.month, t.year, t.hour, t.minute);
  return text;
}

std::string ExplorerCellText(ExplorerState* state, DirectoryEntry& entry, int column) {
  switch (column) {
    case 0: return NamePart(entry);
    case 1: {
      if (!IsFolderEntry(entry)) return FormatFileSize(entry.size);
      if (!IsExplorerItem(entry)) return "";
      if (entry.size == kSizeUnknown) {
        NetFSHandle* handle = HandleOf(*state);
        entry.size = handle ? NetFS_GetFileSize(handle, DataPath(*state, entry).c_str()) : 0;
      }
      return FormatFileSize(entry.size);
    }
    case 2: return ExplorerTypeText(entry);
    case 3: {
      if (IsExplorerItem(entry) && (entry.reserved0 & kTimeUnfetched)) {
        entry.reserved0 &= ~kTimeUnfetched;
        if (NetFSHandle* handle = HandleOf(*state))
          if (auto data = NetFS_GetEntry(handle, DataPath(*state, entry).c_str())) entry.modified = data->modified;
      }
      return FormatExplorerTime(entry.modified);
    }
    default: return "";
  }
}

namespace {

void RememberSelection(ExplorerState* state) {
  state->selectedBefore.clear();
  const HWND list = state->list;
  for (int i = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)); i >= 0;
       i = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) {
    LVITEM item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    if (SendMessageA(list, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)) && item.lParam)
      state->selectedBefore.emplace_back(EntryName(*reinterpret_cast<const DirectoryEntry*>(item.lParam)));
  }
}

void ReadListing(ExplorerState* state) {
  state->listing.clear();
  NetFSHandle* handle = HandleOf(*state);
  if (!handle) return;
  auto listing = NetFS_ListDirectory(handle, state->folder.c_str());
  if (!listing || listing->content.size() < 4) return;  // a folder that cannot be listed shows nothing
  std::uint32_t count = 0;
  std::memcpy(&count, listing->content.data(), 4);
  const std::size_t fits = (listing->content.size() - 4) / sizeof(DirectoryEntry);
  count = static_cast<std::uint32_t>(std::min<std::size_t>(count, fits));
  for (std::uint32_t i = 0; i < count; ++i) {
    DirectoryEntry entry{};
    std::memcpy(&entry, listing->content.data() + 4 + i * sizeof(DirectoryEntry), sizeof entry);
    entry.name[sizeof entry.name - 1] = '\0';
    if (IsExplorerItem(entry)) {
      entry.size = kSizeUnknown;
      entry.reserved0 |= kTimeUnfetched;
    }
    state->listing.push_back(entry);
  }
}

void UpdateUpButton(ExplorerState* state) {
  const HWND toolRow = state->request ? state->request->toolRow : nullptr;
  if (!toolRow) return;
  const bool top = CountPathComponents(state->folder) <= 1;
  EnableWindow(GetDlgItem(toolRow, kExplorerUpId), !top || ExplorerMode != 0);
}

}  // namespace

void AppendExplorerItem(ExplorerState* state, DirectoryEntry* entry, bool selected) {
  LVITEM item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  item.iItem = static_cast<int>(SendMessageA(state->list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = LPSTR_TEXTCALLBACK;
  item.iImage = ExplorerIconIndex(*entry);
  item.lParam = reinterpret_cast<LPARAM>(entry);
  item.stateMask = LVIS_CUT | LVIS_SELECTED;
  const bool chosen = IsExplorerItem(*entry) || !IsFolderEntry(*entry);
  const char* filter = state->request ? state->request->typeFilter : nullptr;
  if (chosen && !ExplorerTypePasses(filter, TypePart(*entry))) item.state |= LVIS_CUT;
  if (selected) item.state |= LVIS_SELECTED;
  const int index = static_cast<int>(SendMessageA(state->list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
  if (index < 0) return;
  for (int column = 1; column <= 3; ++column) {
    LVITEM cell{};
    cell.iSubItem = column;
    cell.pszText = LPSTR_TEXTCALLBACK;
    SendMessageA(state->list, LVM_SETITEMTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
  }
}

void RefreshExplorerList(ExplorerState* state, bool reread) {
  if (!state || !state->list) return;
  RememberSelection(state);
  SendMessageA(state->list, LVM_DELETEALLITEMS, 0, 0);
  if (reread) ReadListing(state);
  UpdateUpButton(state);
  std::vector<DirectoryEntry*> order;
  for (DirectoryEntry& e : state->listing)
    if (Listed(e) && e.name[0]) order.push_back(&e);
  const int column = state->sortColumn;
  const bool descending = state->sortDescending != 0;
  std::stable_sort(order.begin(), order.end(), [&](const DirectoryEntry* a, const DirectoryEntry* b) {
    return descending ? CompareExplorerEntries(*b, *a, column) < 0 : CompareExplorerEntries(*a, *b, column) < 0;
  });
  for (DirectoryEntry* e : order) {
    const std::string name(EntryName(*e));
    const bool selected = std::any_of(state->selectedBefore.begin(), state->selectedBefore.end(),
                                      [&](const std::string& s) { return pl3::EqualsNoCase(s, name); });
    AppendExplorerItem(state, e, selected);
  }
}

// The resource tables of loaded modules and the look-ups over them.
#include "platform/resources.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/kernel_base.h"
#include "platform/text_case.h"

namespace {

struct Table {
  HMODULE module;
  std::span<const ResourceEntry> entries;
};

std::vector<Table>& Tables() {
  static std::vector<Table> tables;
  return tables;
}

// Resources made for registered dialog templates, kept so that an HRSRC
// stays valid; one per template.
std::deque<ResourceEntry>& DialogEntries() {
  static std::deque<ResourceEntry> entries;
  return entries;
}

bool IsNumber(LPCSTR p) { return IS_INTRESOURCE(p); }
unsigned NumberOf(LPCSTR p) { return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(p)); }

// "#123" asks for the number 123.
LPCSTR Canonical(LPCSTR p) {
  if (!p || IsNumber(p) || p[0] != '#') return p;
  char* end = nullptr;
  unsigned long n = std::strtoul(p + 1, &end, 10);
  if (end == p + 1 || *end || n > 0xFFFF) return p;
  return MAKEINTRESOURCE(n);
}

bool SameId(LPCSTR a, LPCSTR b) {
  if (IsNumber(a) || IsNumber(b)) return IsNumber(a) && IsNumber(b) && NumberOf(a) == NumberOf(b);
  return pl3::EqualsNoCase(a, b);
}

// Names before numbers; names in case-free order, numbers ascending.
bool IdLess(LPCSTR a, LPCSTR b) {
  if (IsNumber(a) != IsNumber(b)) return !IsNumber(a);
  if (IsNumber(a)) return NumberOf(a) < NumberOf(b);
  return pl3::CompareNoCase(a, b) < 0;
}

const ResourceEntry* DialogEntry(const DialogTemplate* tpl, LPCSTR name) {
  for (const ResourceEntry& e : DialogEntries())
    if (e.data == reinterpret_cast<const BYTE*>(tpl) && e.name == name) return &e;  // never read: may be stale
  DialogEntries().push_back(ResourceEntry{RT_DIALOG, name, reinterpret_cast<const BYTE*>(tpl), sizeof(DialogTemplate)});
  return &DialogEntries().back();
}

// Every resource of one type in a module, the dialog templates included.
std::vector<const ResourceEntry*> EntriesOfType(HMODULE module, LPCSTR type) {
  std::vector<const ResourceEntry*> out;
  for (const Table& t : Tables())
    if (t.module == module)
      for (const ResourceEntry& e : t.entries)
        if (SameId(e.type, type)) out.push_back(&e);
  if (IsNumber(type) && NumberOf(type) == NumberOf(RT_DIALOG)) {
    // A later registration of the same name replaces an earlier one.
    const auto& all = pl3::RegisteredDialogTemplates();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
      const DialogTemplate* tpl = *it;
      if (pl3::ModuleOfAddress(tpl) != module) continue;
      for (LPCSTR name : {tpl->name, tpl->id ? MAKEINTRESOURCE(tpl->id) : nullptr}) {
        if (!name) continue;
        bool shadowed = std::any_of(out.begin(), out.end(), [&](const ResourceEntry* e) { return SameId(e->name, name); });
        if (!shadowed) out.push_back(DialogEntry(tpl, name));
      }
    }
  }
  return out;
}

}  // namespace

HMODULE pl3::ModuleOfAddress(const void* address) {
  Dl_info info{};
  link_map* map = nullptr;
  if (!dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) || !map) return nullptr;
  return reinterpret_cast<HMODULE>(map);
}

HMODULE pl3::ResolveModule(HMODULE module) { return module ? module : GetModuleHandleA(nullptr); }

HMODULE GetModuleHandleA(LPCSTR name) {
  void* handle = dlopen(name, RTLD_LAZY | RTLD_NOLOAD);
  if (!handle) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  link_map* map = nullptr;
  dlinfo(handle, RTLD_DI_LINKMAP, &map);
  dlclose(handle);  // the module stays loaded: NOLOAD only counted one more use
  return reinterpret_cast<HMODULE>(map);
}

pl3::ResourceRegistration::ResourceRegistration(std::span<const ResourceEntry> entries) : entries_(entries) {
  Tables().push_back(Table{ModuleOfAddress(entries.data()), entries});
}

pl3::ResourceRegistration::~ResourceRegistration() {
  auto& tables = Tables();
  tables.erase(std::remove_if(tables.begin(), tables.end(),
                              [&](const Table& t) { return t.entries.data() == entries_.data(); }),
               tables.end());
}

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  if (!name || !type) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  name = Canonical(name);
  const auto entries = EntriesOfType(pl3::ResolveModule(module), Canonical(type));
  for (const ResourceEntry* e : entries)
    if (SameId(e->name, name)) return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(e));
  SetLastError(entries.empty() ? ERROR_RESOURCE_TYPE_NOT_FOUND : ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
  if (!resource) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  return const_cast<BYTE*>(reinterpret_cast<const ResourceEntry*>(resource)->data);
}

LPVOID LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
  if (!resource) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return reinterpret_cast<const ResourceEntry*>(resource)->size;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

BOOL EnumResourceNamesA(HMODULE module, LPCSTR type, ENUMRESNAMEPROCA proc, LONG_PTR param) {
  if (!type || !proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto entries = EntriesOfType(pl3::ResolveModule(module), Canonical(type));
  if (entries.empty()) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const ResourceEntry* a, const ResourceEntry* b) { return IdLess(a->name, b->name); });
  for (const ResourceEntry* e : entries)
    if (!proc(module, type, const_cast<LPSTR>(e->name), param)) break;
  return TRUE;
}

#include "platform/dynlib.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

#include "platform/kernel_base.h"
#include "platform/kernel_files.h"
#include "platform/text_case.h"

namespace pl3::controls {
void RegisterRichEditClass();
}  // namespace pl3::controls

namespace {

thread_local std::string lastError;

// The loaded libraries: the name asked for (for the reasons of failed symbol
// look-ups) and how often each is loaded, as the host counts it too.
struct Library {
  std::string name;
  int loads = 0;
  bool builtIn = false;
};
struct Loaded {
  std::mutex lock;
  std::map<void*, Library> names;
};

Loaded& Libraries() {
  static Loaded loaded;
  return loaded;
}

std::string DlError() {
  const char* reason = dlerror();
  return reason ? reason : "unknown reason";
}

void* Open(const std::string& name) {
  std::string host = name.find_first_of("\\/") == std::string::npos ? name : pl3::HostPath(name);
  return dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// Modules the platform provides itself: loading one registers its window
// classes; it has no symbols and nothing to close.
struct BuiltInModule {
  const char* name;
  void (*registerClasses)();
  char handle;  // its address is the module handle
};
BuiltInModule& RichEditModule() {
  static BuiltInModule module{"riched20.dll", &pl3::controls::RegisterRichEditClass, 0};
  return module;
}

BuiltInModule* FindBuiltIn(const std::string& asked) {
  const size_t slash = asked.find_last_of("\\/");
  const std::string base = slash == std::string::npos ? asked : asked.substr(slash + 1);
  BuiltInModule& richEdit = RichEditModule();
  return pl3::EqualsNoCase(base, richEdit.name) ? &richEdit : nullptr;
}

bool EndsWithDll(const std::string& name) {
  return name.size() >= 4 && pl3::EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".dll");
}

}  // namespace

HMODULE LoadLibrary(LPCSTR name) {
  if (!name || !*name) {
    lastError = "cannot load library: no name given";
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string asked = name;
  if (BuiltInModule* module = FindBuiltIn(asked)) {
    module->registerClasses();
    std::lock_guard<std::mutex> guard(Libraries().lock);
    Library& entry = Libraries().names[&module->handle];
    if (entry.loads++ == 0) entry.name = module->name, entry.builtIn = true;
    lastError.clear();
    return reinterpret_cast<HMODULE>(&module->handle);
  }
  void* handle = Open(asked);
  std::string reason;
  if (!handle) {
    reason = DlError();
    if (EndsWithDll(asked)) {
      handle = Open(asked.substr(0, asked.size() - 4) + ".so");
      if (!handle) DlError();  // keep the first reason, which names the file asked for
    }
  }
  if (!handle) {
    lastError = "cannot load library " + asked + ": " + reason;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  {
    std::lock_guard<std::mutex> guard(Libraries().lock);
    Library& entry = Libraries().names[handle];
    if (entry.loads++ == 0) entry.name = asked;
  }
  lastError.clear();
  SetLastError(ERROR_SUCCESS);
  return reinterpret_cast<HMODULE>(handle);
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  std::string library;
  {
    std::lock_guard<std::mutex> guard(Libraries().lock);
    auto it = Libraries().names.find(module);
    if (it != Libraries().names.end()) library = it->second.name;
    if (it != Libraries().names.end() && it->second.builtIn) {
      lastError = std::string("symbol ") + (name ? name : "(none)") + " not found in " + library + ": a built-in module";
      SetLastError(ERROR_PROC_NOT_FOUND);
      return nullptr;
    }
  }
  if (!module || library.empty() || !name) {
    lastError = std::string("symbol ") + (name ? name : "(none)") + " not found: not a loaded library";
    SetLastError(module ? ERROR_INVALID_HANDLE : ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  dlerror();
  void* symbol = dlsym(module, name);
  if (!symbol) {
    lastError = std::string("symbol ") + name + " not found in " + library + ": " + DlError();
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  lastError.clear();
  return reinterpret_cast<FARPROC>(symbol);
}

BOOL FreeLibrary(HMODULE module) {
  {
    std::lock_guard<std::mutex> guard(Libraries().lock);
    auto it = Libraries().names.find(module);
    if (!module || it == Libraries().names.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    const bool builtIn = it->second.builtIn;
    if (--it->second.loads == 0) Libraries().names.erase(it);
    if (builtIn) return TRUE;
  }
  return dlclose(module) == 0 ? TRUE : FALSE;
}

namespace pl3 {
const std::string& LastDynlibError() { return lastError; }
}  // namespace pl3

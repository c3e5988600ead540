#include "platform/registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/kernel_files.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"

namespace pl3 {
namespace {

// ---- The tree -----------------------------------------------------------------

struct RegValue {
  std::string name;  // as created
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

struct RegKey {
  std::string name;  // as created
  std::map<std::string, RegKey> subkeys;   // by folded name: case-insensitive order
  std::map<std::string, RegValue> values;  // likewise
  FILETIME lastWrite{};
};

constexpr int kRootCount = 3;  // classes, user, machine

struct RegistryState {
  std::recursive_mutex lock;
  std::optional<RegKey> roots[kRootCount];
  // Open keys: root index and folded path. A slot whose root is -1 is free.
  struct OpenKey {
    int root = -1;
    std::vector<std::string> path;
  };
  std::vector<OpenKey> open;
  int writeFault = 0;
  void (*valueObserver)(const char* valueName) = nullptr;
};

RegistryState& State() {
  static RegistryState state;
  return state;
}

void ResetRegistry() {
  RegistryState& s = State();
  std::lock_guard<std::recursive_mutex> guard(s.lock);
  for (auto& root : s.roots) root.reset();
  s.open.clear();
  s.writeFault = 0;
  s.valueObserver = nullptr;
}
const bool registered = RegisterGlobalReset(&ResetRegistry);

FILETIME Now() {
  auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch());
  return FileTimeFromUnixNanos(ns.count());
}

// Splits "A\B\\C" into its non-empty components.
std::vector<std::string> SplitKeyPath(const char* path) {
  std::vector<std::string> parts;
  if (!path) return parts;
  std::string_view p(path);
  std::size_t i = 0;
  while (i <= p.size()) {
    std::size_t end = p.find('\\', i);
    if (end == std::string_view::npos) end = p.size();
    if (end > i) parts.emplace_back(p.substr(i, end - i));
    i = end + 1;
  }
  return parts;
}

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// ---- Files ---------------------------------------------------------------------

const char* const kRootFiles[kRootCount] = {"registry-classes.xml", "registry-user.xml", "registry-machine.xml"};
constexpr int kMachineRoot = 2;

struct TypeName {
  DWORD type;
  const char* name;
};
const TypeName kTypeNames[] = {{REG_NONE, "REG_NONE"},     {REG_SZ, "REG_SZ"},         {REG_EXPAND_SZ, "REG_EXPAND_SZ"},
                               {REG_BINARY, "REG_BINARY"}, {REG_DWORD, "REG_DWORD"},   {REG_MULTI_SZ, "REG_MULTI_SZ"},
                               {REG_QWORD, "REG_QWORD"}};

std::string TypeToText(DWORD type) {
  for (const TypeName& t : kTypeNames)
    if (t.type == type) return t.name;
  return std::to_string(type);
}

bool TypeFromText(const char* text, DWORD& type) {
  for (const TypeName& t : kTypeNames)
    if (std::strcmp(t.name, text) == 0) return type = t.type, true;
  char* end = nullptr;
  unsigned long v = std::strtoul(text, &end, 0);
  if (!*text || *end) return false;
  type = static_cast<DWORD>(v);
  return true;
}

std::string Hex(const std::vector<BYTE>& data) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (BYTE b : data) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

bool FromHex(std::string_view text, std::vector<BYTE>& out) {
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (text.size() % 2) return false;
  out.clear();
  for (std::size_t i = 0; i < text.size(); i += 2) {
    int hi = nibble(text[i]), lo = nibble(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<BYTE>(hi * 16 + lo));
  }
  return true;
}

// The text of a string value: its bytes before the first NUL.
std::string TextOf(const RegValue& v) {
  std::string s(v.data.begin(), v.data.end());
  std::size_t nul = s.find('\0');
  return nul == std::string::npos ? s : s.substr(0, nul);
}

bool PlainText(const std::string& s) {
  for (unsigned char c : s)
    if (c < 0x20 || c == 0x7F) return false;
  return true;
}

void SaveKey(const RegKey& key, pugi::xml_node node) {
  for (const auto& [folded, value] : key.values) {
    pugi::xml_node v = node.append_child("value");
    v.append_attribute("name") = value.name.c_str();
    v.append_attribute("type") = TypeToText(value.type).c_str();
    std::uint64_t number = 0;
    if (value.type == REG_DWORD && value.data.size() == 4) {
      std::memcpy(&number, value.data.data(), 4);
      v.append_attribute("data") = std::to_string(number).c_str();
    } else if (value.type == REG_QWORD && value.data.size() == 8) {
      std::memcpy(&number, value.data.data(), 8);
      v.append_attribute("data") = std::to_string(number).c_str();
    } else if (IsTextType(value.type) && PlainText(TextOf(value))) {
      v.append_attribute("data") = TextOf(value).c_str();
    } else {
      v.append_attribute("data") = Hex(value.data).c_str();
      v.append_attribute("encoding") = "hex";
    }
  }
  for (const auto& [folded, sub] : key.subkeys) {
    pugi::xml_node k = node.append_child("key");
    k.append_attribute("name") = sub.name.c_str();
    SaveKey(sub, k);
  }
}

// Program form of a host folder, without a trailing separator.
std::string ProgramFolder(std::string host) {
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  return ProgramPath(host);
}

std::string ExpandDefaults(std::string text) {
  const char* home = std::getenv("HOME");
  const std::pair<const char*, std::string> names[] = {
      {"%HOME%", ProgramFolder(home && *home ? home : "/tmp")},
      {"%DATA%", ProgramFolder(DataFolder())},
      {"%CONFIG%", ProgramFolder(ConfigFolder())}};
  for (const auto& [name, value] : names) {
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size()))
      text.replace(at, std::strlen(name), value);
  }
  return text;
}

// Keys nest at most this deep below a root. Loading, saving, copying and
// freeing a key all recurse once per level, so a bound keeps a hostile or
// damaged file from exhausting the stack; a file that nests deeper is refused.
constexpr std::size_t kMaxKeyDepth = 512;

bool LoadKey(pugi::xml_node node, RegKey& key, bool expand, std::size_t depth = 0) {
  for (pugi::xml_node child : node.children()) {
    if (std::strcmp(child.name(), "value") == 0) {
      RegValue v;
      v.name = child.attribute("name").as_string();
      if (!TypeFromText(child.attribute("type").as_string("REG_SZ"), v.type)) return false;
      std::string data = child.attribute("data").as_string();
      if (std::strcmp(child.attribute("encoding").as_string(), "hex") == 0) {
        if (!FromHex(data, v.data)) return false;
      } else if (v.type == REG_DWORD || v.type == REG_QWORD) {
        char* end = nullptr;
        errno = 0;
        unsigned long long number = std::strtoull(data.c_str(), &end, 0);
        if (data.empty() || *end || errno) return false;
        std::size_t width = v.type == REG_DWORD ? 4 : 8;
        if (width == 4 && number > 0xFFFFFFFFull) return false;
        v.data.resize(width);
        std::memcpy(v.data.data(), &number, width);
      } else {
        if (expand && IsTextType(v.type)) data = ExpandDefaults(data);
        v.data.assign(data.begin(), data.end());
        if (IsTextType(v.type)) v.data.push_back(0);
      }
      std::string folded = LowerCopy(v.name);
      key.values[folded] = std::move(v);
    } else if (std::strcmp(child.name(), "key") == 0) {
      std::string name = child.attribute("name").as_string();
      if (name.empty() || name.find('\\') != std::string::npos || depth >= kMaxKeyDepth) return false;
      RegKey& sub = key.subkeys[LowerCopy(name)];
      sub.name = name;
      if (!LoadKey(child, sub, expand, depth + 1)) return false;
    }
  }
  return true;
}

bool ParseDocument(const pugi::xml_document& doc, RegKey& root, bool expand) {
  pugi::xml_node top = doc.child("registry");
  if (!top) return false;
  root = RegKey{};
  return LoadKey(top, root, expand);
}

bool ParseFile(const std::string& path, RegKey& root, bool expand) {
  pugi::xml_document doc;
  return doc.load_file(path.c_str()) && ParseDocument(doc, root, expand);
}

bool FsyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fsync(fd) == 0;
  close(fd);
  return ok;
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

// Writes the root's file atomically: temporary file, flush, rename, flush the
// folder. False when any step fails; the previous file is then untouched.
bool SaveRoot(int root, const RegKey& tree) {
  pugi::xml_document doc;
  pugi::xml_node top = doc.append_child("registry");
  top.append_attribute("version") = 1;
  SaveKey(tree, top);
  std::ostringstream out;
  doc.save(out, "  ");
  const std::string bytes = out.str();

  const std::string folder = ConfigFolder();
  const std::string file = folder + "/" + kRootFiles[root];
  const std::string temp = file + ".tmp";
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  int fault = State().writeFault;
  State().writeFault = 0;
  if (fault == 1) {  // as if the process stopped halfway through the write
    WriteAll(fd, bytes.substr(0, bytes.size() / 2));
    close(fd);
    return false;
  }
  bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (!ok || fault == 2) {
    if (!ok) unlink(temp.c_str());
    return false;
  }
  if (rename(temp.c_str(), file.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  FsyncFolder(folder);
  return true;
}

// Moves an unreadable file to "<file>.corrupt", or to "<file>.corrupt.N" with
// the first free N when an earlier copy is there: no copy is ever replaced.
void SetAsideCorrupt(const std::string& file) {
  struct stat st;
  for (int n = 0; n < 1000; ++n) {
    const std::string aside = file + ".corrupt" + (n ? "." + std::to_string(n) : std::string());
    if (lstat(aside.c_str(), &st) == 0) continue;
    // link() never replaces an existing name; rename() is the fallback where
    // the folder's file system has no hard links.
    bool moved = false;
    if (link(file.c_str(), aside.c_str()) == 0) {
      unlink(file.c_str());
      moved = true;
    } else if (errno == EEXIST) {
      continue;
    } else {
      moved = rename(file.c_str(), aside.c_str()) == 0;
    }
    if (!moved) break;
    std::fprintf(stderr, "registry: %s cannot be read; kept as %s\n", file.c_str(), aside.c_str());
    return;
  }
  std::fprintf(stderr, "registry: %s cannot be read and cannot be set aside; it is ignored\n", file.c_str());
}

RegKey& LoadRoot(int root) {
  RegistryState& s = State();
  if (s.roots[root]) return *s.roots[root];
  s.roots[root].emplace();
  RegKey& tree = *s.roots[root];
  const std::string file = ConfigFolder() + "/" + kRootFiles[root];
  struct stat st;
  if (stat(file.c_str(), &st) == 0) {
    if (ParseFile(file, tree, false)) return tree;
    // Keep the unreadable file for the user; the root starts as if it had
    // never been written.
    tree = RegKey{};
    SetAsideCorrupt(file);
  }
  if (root == kMachineRoot) {
    const std::string defaults = DataFolder() + "/registry-defaults.xml";
    if (!ParseFile(defaults, tree, true)) tree = RegKey{};
  }
  return tree;
}

// ---- Handles --------------------------------------------------------------------

int RootIndex(HKEY key) {
  if (key == HKEY_CLASSES_ROOT) return 0;
  if (key == HKEY_CURRENT_USER) return 1;
  if (key == HKEY_LOCAL_MACHINE) return 2;
  return -1;
}

// Handle values of opened keys: small multiples of 16, never null.
HKEY HandleOfSlot(std::size_t slot) { return reinterpret_cast<HKEY>((slot + 1) * 16); }

// The root and folded path a handle names. False for an unknown handle.
bool Resolve(HKEY key, int& root, std::vector<std::string>& path) {
  root = RootIndex(key);
  path.clear();
  if (root >= 0) return true;
  auto value = reinterpret_cast<std::uintptr_t>(key);
  if (value == 0 || value % 16 != 0) return false;
  std::size_t slot = value / 16 - 1;
  RegistryState& s = State();
  if (slot >= s.open.size() || s.open[slot].root < 0) return false;
  root = s.open[slot].root;
  path = s.open[slot].path;
  return true;
}

RegKey* Walk(RegKey& from, const std::vector<std::string>& path) {
  RegKey* k = &from;
  for (const std::string& part : path) {
    auto it = k->subkeys.find(part);
    if (it == k->subkeys.end()) return nullptr;
    k = &it->second;
  }
  return k;
}

HKEY NewKeyHandle(int root, std::vector<std::string> path) {
  RegistryState& s = State();
  for (std::size_t i = 0; i < s.open.size(); ++i) {
    if (s.open[i].root < 0) {
      s.open[i] = {root, std::move(path)};
      return HandleOfSlot(i);
    }
  }
  s.open.push_back({root, std::move(path)});
  return HandleOfSlot(s.open.size() - 1);
}

// The key a handle names, loaded. Sets `status` when there is none.
RegKey* KeyOf(HKEY key, int& root, std::vector<std::string>& path, LSTATUS& status) {
  if (!Resolve(key, root, path)) {
    status = static_cast<LSTATUS>(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  RegKey* k = Walk(LoadRoot(root), path);
  if (!k) status = static_cast<LSTATUS>(ERROR_KEY_DELETED);
  return k;
}

// Writes the root after a change. On failure the change is dropped by
// reloading the root from its file, which still holds the previous state.
LSTATUS Commit(int root) {
  RegistryState& s = State();
  if (SaveRoot(root, *s.roots[root])) return static_cast<LSTATUS>(ERROR_SUCCESS);
  s.roots[root].reset();
  return static_cast<LSTATUS>(ERROR_REGISTRY_IO_FAILED);
}

void Touch(RegKey& key) { key.lastWrite = Now(); }

// Holds the registry's lock and the key a handle names, for one call.
struct KeyAccess {
  std::lock_guard<std::recursive_mutex> guard;
  int root = -1;
  std::vector<std::string> path;
  LSTATUS status = 0;
  RegKey* key = nullptr;
  explicit KeyAccess(HKEY handle) : guard(State().lock) { key = KeyOf(handle, root, path, status); }
};

LSTATUS Status(DWORD code) { return static_cast<LSTATUS>(code); }

// Copies `text` with its NUL into a buffer of *length characters (NUL
// included). On return *length is the text's length without the NUL.
LSTATUS CopyName(const std::string& text, LPSTR buffer, LPDWORD length) {
  if (!length) return Status(ERROR_INVALID_PARAMETER);
  if (!buffer || text.size() + 1 > *length) {
    *length = static_cast<DWORD>(text.size());
    return Status(ERROR_MORE_DATA);
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  *length = static_cast<DWORD>(text.size());
  return Status(ERROR_SUCCESS);
}

LSTATUS CopyData(const RegValue& v, LPDWORD type, LPBYTE data, LPDWORD size) {
  if (type) *type = v.type;
  if (!size) return Status(data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS);
  DWORD needed = static_cast<DWORD>(v.data.size());
  if (data && needed > *size) {
    *size = needed;
    return Status(ERROR_MORE_DATA);
  }
  if (data && needed) std::memcpy(data, v.data.data(), needed);
  *size = needed;
  return Status(ERROR_SUCCESS);
}

}  // namespace

std::string RegistryFile(HKEY root) {
  int index = RootIndex(root);
  return index < 0 ? std::string() : ConfigFolder() + "/" + kRootFiles[index];
}

bool ParseRegistryText(const std::string& text) {
  pugi::xml_document doc;
  RegKey root;
  return doc.load_buffer(text.data(), text.size()) && ParseDocument(doc, root, false);
}

void SetRegistryWriteFaultForTests(int stage) {
  std::lock_guard<std::recursive_mutex> guard(State().lock);
  State().writeFault = stage;
}

void SetRegistryValueObserverForTests(void (*observer)(const char* valueName)) {
  std::lock_guard<std::recursive_mutex> guard(State().lock);
  State().valueObserver = observer;
}

}  // namespace pl3

using namespace pl3;

LSTATUS RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
  if (!result) return Status(ERROR_INVALID_PARAMETER);
  *result = nullptr;
  KeyAccess access(key);
  if (!access.key) return access.status;
  std::vector<std::string> path = access.path;
  for (const std::string& part : SplitKeyPath(subKey)) path.push_back(LowerCopy(part));
  if (!Walk(LoadRoot(access.root), path)) return Status(ERROR_FILE_NOT_FOUND);
  *result = NewKeyHandle(access.root, std::move(path));
  return Status(ERROR_SUCCESS);
}

LSTATUS RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY result,
                       LPDWORD disposition) {
  if (!result) return Status(ERROR_INVALID_PARAMETER);
  *result = nullptr;
  KeyAccess access(key);
  if (!access.key) return access.status;
  RegKey* k = access.key;
  bool created = false;
  const std::vector<std::string> parts = SplitKeyPath(subKey);
  if (access.path.size() + parts.size() > kMaxKeyDepth) return Status(ERROR_BADKEY);
  for (const std::string& part : parts) {
    std::string folded = LowerCopy(part);
    auto it = k->subkeys.find(folded);
    if (it == k->subkeys.end()) {
      RegKey fresh;
      fresh.name = part;
      Touch(fresh);
      it = k->subkeys.emplace(folded, std::move(fresh)).first;
      created = true;
    }
    k = &it->second;
    access.path.push_back(folded);
  }
  if (created) {
    LSTATUS saved = Commit(access.root);
    if (saved != Status(ERROR_SUCCESS)) return saved;
  }
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *result = NewKeyHandle(access.root, std::move(access.path));
  return Status(ERROR_SUCCESS);
}

LSTATUS RegCloseKey(HKEY key) {
  std::lock_guard<std::recursive_mutex> guard(State().lock);
  if (RootIndex(key) >= 0) return Status(ERROR_SUCCESS);
  int root;
  std::vector<std::string> path;
  if (!Resolve(key, root, path)) return Status(ERROR_INVALID_HANDLE);
  State().open[reinterpret_cast<std::uintptr_t>(key) / 16 - 1] = {};
  return Status(ERROR_SUCCESS);
}

LSTATUS RegFlushKey(HKEY key) {
  std::lock_guard<std::recursive_mutex> guard(State().lock);
  int root;
  std::vector<std::string> path;
  return Resolve(key, root, path) ? Status(ERROR_SUCCESS) : Status(ERROR_INVALID_HANDLE);
}

LSTATUS RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
  KeyAccess access(key);
  if (!access.key) return access.status;
  RegKey* k = access.key;
  auto it = k->values.find(LowerCopy(valueName ? valueName : ""));
  if (it == k->values.end()) return Status(ERROR_FILE_NOT_FOUND);
  return CopyData(it->second, type, data, dataSize);
}

LSTATUS RegSetValueEx(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD dataSize) {
  if (!data && dataSize) return Status(ERROR_INVALID_PARAMETER);
  if ((type == REG_DWORD && dataSize != 4) || (type == REG_QWORD && dataSize != 8))
    return Status(ERROR_INVALID_PARAMETER);
  KeyAccess access(key);
  if (!access.key) return access.status;
  RegKey* k = access.key;
  RegValue v;
  v.name = valueName ? valueName : "";
  v.type = type;
  if (data) v.data.assign(data, data + dataSize);
  if (IsTextType(type)) {  // kept as text with one NUL, however the caller counted
    std::string text = data ? std::string(reinterpret_cast<const char*>(data), dataSize) : std::string();
    text = text.substr(0, text.find('\0'));
    v.data.assign(text.begin(), text.end());
    v.data.push_back(0);
  }
  std::string folded = LowerCopy(v.name);
  auto existing = k->values.find(folded);
  if (existing != k->values.end()) v.name = existing->second.name;  // the name keeps its first case
  const std::string written = v.name;
  k->values[folded] = std::move(v);
  Touch(*k);
  const LSTATUS status = Commit(access.root);
  if (status == ERROR_SUCCESS && State().valueObserver) State().valueObserver(written.c_str());
  return status;
}

LSTATUS RegDeleteValue(HKEY key, LPCSTR valueName) {
  KeyAccess access(key);
  if (!access.key) return access.status;
  RegKey* k = access.key;
  if (k->values.erase(LowerCopy(valueName ? valueName : "")) == 0) return Status(ERROR_FILE_NOT_FOUND);
  Touch(*k);
  return Commit(access.root);
}

namespace {
LSTATUS DeleteSubkey(HKEY key, LPCSTR subKey, bool wholeTree) {
  KeyAccess access(key);
  if (!access.key) return access.status;
  RegKey* k = access.key;
  std::vector<std::string> parts;
  for (const std::string& part : SplitKeyPath(subKey)) parts.push_back(LowerCopy(part));
  if (parts.empty()) {
    if (!wholeTree) return Status(ERROR_ACCESS_DENIED);  // a key cannot delete itself here
    k->subkeys.clear();
    k->values.clear();
    Touch(*k);
    return Commit(access.root);
  }
  std::string last = parts.back();
  parts.pop_back();
  RegKey* parent = Walk(*k, parts);
  auto it = parent ? parent->subkeys.find(last) : decltype(k->subkeys.end()){};
  if (!parent || it == parent->subkeys.end()) return Status(ERROR_FILE_NOT_FOUND);
  if (!wholeTree && !it->second.subkeys.empty()) return Status(ERROR_ACCESS_DENIED);
  parent->subkeys.erase(it);
  Touch(*parent);
  return Commit(access.root);
}

// Levels of keys below `key` (0 without subkeys).
std::size_t KeyDepth(const RegKey& key) {
  std::size_t depth = 0;
  for (const auto& [folded, sub] : key.subkeys) depth = std::max(depth, 1 + KeyDepth(sub));
  return depth;
}

void MergeInto(const RegKey& from, RegKey& to) {
  for (const auto& [folded, value] : from.values) to.values[folded] = value;
  for (const auto& [folded, sub] : from.subkeys) {
    RegKey& target = to.subkeys[folded];
    if (target.name.empty()) target.name = sub.name;
    MergeInto(sub, target);
  }
  Touch(to);
}
}  // namespace

LSTATUS RegDeleteKey(HKEY key, LPCSTR subKey) {
  if (!subKey || !*subKey) return Status(ERROR_BADKEY);
  return DeleteSubkey(key, subKey, false);
}

LSTATUS RegDeleteTree(HKEY key, LPCSTR subKey) { return DeleteSubkey(key, subKey, true); }

LSTATUS RegCopyTree(HKEY source, LPCSTR subKey, HKEY destination) {
  KeyAccess access(source);
  if (!access.key) return access.status;
  RegKey* from = access.key;
  std::vector<std::string> parts;
  for (const std::string& part : SplitKeyPath(subKey)) parts.push_back(LowerCopy(part));
  from = Walk(*from, parts);
  if (!from) return Status(ERROR_FILE_NOT_FOUND);
  RegKey copy = *from;  // the destination may lie inside the source
  int toRoot;
  std::vector<std::string> toPath;
  LSTATUS status = 0;
  RegKey* to = KeyOf(destination, toRoot, toPath, status);
  if (!to) return status;
  if (toPath.size() + KeyDepth(copy) > kMaxKeyDepth) return Status(ERROR_BADKEY);
  MergeInto(copy, *to);
  return Commit(toRoot);
}

LSTATUS RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD, LPSTR keyClass,
                     LPDWORD classLength, PFILETIME lastWriteTime) {
  KeyAccess access(key);
  if (!access.key) return access.status;
  RegKey* k = access.key;
  if (index >= k->subkeys.size()) return Status(ERROR_NO_MORE_ITEMS);
  auto it = std::next(k->subkeys.begin(), index);
  LSTATUS copied = CopyName(it->second.name, name, nameLength);
  if (copied != Status(ERROR_SUCCESS)) return copied;
  if (keyClass && classLength && *classLength) keyClass[0] = '\0';
  if (classLength) *classLength = 0;
  if (lastWriteTime) *lastWriteTime = it->second.lastWrite;
  return Status(ERROR_SUCCESS);
}

LSTATUS RegEnumValue(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameLength, LPDWORD, LPDWORD type,
                     LPBYTE data, LPDWORD dataSize) {
  KeyAccess access(key);
  if (!access.key) return access.status;
  RegKey* k = access.key;
  if (index >= k->values.size()) return Status(ERROR_NO_MORE_ITEMS);
  const RegValue& v = std::next(k->values.begin(), index)->second;
  LSTATUS copied = CopyName(v.name, valueName, valueNameLength);
  if (copied != Status(ERROR_SUCCESS)) return copied;
  return CopyData(v, type, data, dataSize);
}

LSTATUS RegQueryInfoKey(HKEY key, LPSTR keyClass, LPDWORD classLength, LPDWORD, LPDWORD subKeys,
                        LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
                        LPDWORD maxValueLength, LPDWORD securityDescriptor, PFILETIME lastWriteTime) {
  KeyAccess access(key);
  if (!access.key) return access.status;
  RegKey* k = access.key;
  DWORD longestKey = 0, longestName = 0, longestData = 0;
  for (const auto& [folded, sub] : k->subkeys) longestKey = std::max<DWORD>(longestKey, static_cast<DWORD>(sub.name.size()));
  for (const auto& [folded, v] : k->values) {
    longestName = std::max<DWORD>(longestName, static_cast<DWORD>(v.name.size()));
    longestData = std::max<DWORD>(longestData, static_cast<DWORD>(v.data.size()));
  }
  if (keyClass && classLength && *classLength) keyClass[0] = '\0';
  if (classLength) *classLength = 0;
  if (subKeys) *subKeys = static_cast<DWORD>(k->subkeys.size());
  if (maxSubKeyLength) *maxSubKeyLength = longestKey;
  if (maxClassLength) *maxClassLength = 0;
  if (values) *values = static_cast<DWORD>(k->values.size());
  if (maxValueNameLength) *maxValueNameLength = longestName;
  if (maxValueLength) *maxValueLength = longestData;
  if (securityDescriptor) *securityDescriptor = 0;
  if (lastWriteTime) *lastWriteTime = k->lastWrite;
  return Status(ERROR_SUCCESS);
}

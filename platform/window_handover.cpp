#include "platform/window_handover.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <map>

#include "platform/kernel_files.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"
#include "platform/user.h"
#include "platform/user_internal.h"

namespace pl3::handover {
namespace {

constexpr int kServeTimeoutMs = 2000;
constexpr int kReplyTimeoutMs = 120000;

// The published classes: upper-cased name -> listening socket.
std::map<std::string, int> gListeners;
// Remote handles name a class by index.
std::vector<std::string> gRemoteClasses;
bool gServing = false;

std::string Upper(const char* text) {
  std::string s = text ? text : "";
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

sockaddr_un Address(const std::string& name, socklen_t* length) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::size_t n = std::min(name.size(), sizeof address.sun_path);
  std::memcpy(address.sun_path, name.data(), n);
  *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + n);
  return address;
}

bool ReadFully(int fd, void* buffer, std::size_t size, int timeoutMs) {
  auto* p = static_cast<std::uint8_t*>(buffer);
  while (size > 0) {
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, timeoutMs) <= 0) return false;
    const ssize_t n = read(fd, p, size);
    if (n <= 0) return false;
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteFully(int fd, const void* buffer, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(buffer);
  while (size > 0) {
    const ssize_t n = send(fd, p, size, MSG_NOSIGNAL);
    if (n <= 0) return false;
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The main window of the class in this process, with the title when one is given.
HWND LocalWindow(const std::string& upperClass, const char* title) {
  for (HWND h : user::S().topLevels) {
    user::WindowRecord* w = user::Find(h);
    if (!w || w->owner || (w->style & (WS_CHILD | WS_POPUP))) continue;
    char name[256] = "";
    GetClassNameA(h, name, sizeof name);
    if (Upper(name) != upperClass) continue;
    if (title && *title) {
      char text[512] = "";
      GetWindowTextA(h, text, sizeof text);
      if (std::strcmp(text, title) != 0) continue;
    }
    return h;
  }
  return nullptr;
}

// Listens for every class that has a main window, and for no other.
void Publish() {
  std::map<std::string, bool> wanted;
  for (HWND h : user::S().topLevels) {
    user::WindowRecord* w = user::Find(h);
    if (!w || w->owner || (w->style & (WS_CHILD | WS_POPUP))) continue;
    char name[256] = "";
    GetClassNameA(h, name, sizeof name);
    if (*name) wanted[Upper(name)] = true;
  }
  for (auto it = gListeners.begin(); it != gListeners.end();) {
    if (wanted.count(it->first)) {
      ++it;
      continue;
    }
    if (it->second >= 0) close(it->second);
    it = gListeners.erase(it);
  }
  for (const auto& [name, on] : wanted) {
    if (gListeners.count(name)) continue;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    socklen_t length = 0;
    const sockaddr_un address = Address(SocketName(name.c_str()), &length);
    if (fd >= 0 && (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 || listen(fd, 4) != 0)) {
      // Another process has the name: this one's windows stay private.
      close(fd);
      fd = -1;
    }
    gListeners[name] = fd;
  }
}

void Serve(const std::string& upperClass, int connection) {
  ucred peer{};
  socklen_t size = sizeof peer;
  if (getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != getuid()) return;
  std::uint8_t header[sizeof(RequestHeader)];
  if (!ReadFully(connection, header, sizeof header, kServeTimeoutMs)) return;
  RequestHeader h{};
  std::memcpy(&h, header, sizeof h);
  if (h.magic != kRequestMagic || h.length > kPayloadLimit) return;
  std::vector<std::uint8_t> bytes(sizeof header + h.length);
  std::memcpy(bytes.data(), header, sizeof header);
  if (h.length && !ReadFully(connection, bytes.data() + sizeof header, h.length, kServeTimeoutMs)) return;
  Request request;
  if (!ParseRequest(bytes.data(), bytes.size(), &request)) return;
  std::int64_t result = 0;
  switch (request.kind) {
    case kFind: {
      const std::string title(request.payload.begin(), request.payload.end());
      result = LocalWindow(upperClass, title.c_str()) ? 1 : 0;
      break;
    }
    case kCopyData:
      if (HWND target = LocalWindow(upperClass, nullptr)) {
        COPYDATASTRUCT data{static_cast<ULONG_PTR>(request.data), static_cast<DWORD>(request.payload.size()),
                            request.payload.empty() ? nullptr : request.payload.data()};
        result = SendMessageA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
      }
      break;
    case kRaise:
      if (HWND target = LocalWindow(upperClass, nullptr)) result = SetForegroundWindow(target) ? 1 : 0;
      break;
    default:
      break;
  }
  WriteFully(connection, &result, sizeof result);
}

// Connects to another process's class, sends one request and reads the answer.
bool Ask(const std::string& upperClass, std::uint32_t kind, std::uint64_t data, const void* payload,
         std::uint32_t length, std::int64_t* result) {
  if (length > kPayloadLimit) return false;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  socklen_t size = 0;
  const sockaddr_un address = Address(SocketName(upperClass.c_str()), &size);
  bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), size) == 0;
  RequestHeader h{kRequestMagic, kind, data, length, 0};
  ok = ok && WriteFully(fd, &h, sizeof h) && (length == 0 || WriteFully(fd, payload, length));
  std::int64_t answer = 0;
  ok = ok && ReadFully(fd, &answer, sizeof answer, kReplyTimeoutMs);
  close(fd);
  if (ok && result) *result = answer;
  return ok;
}

std::string* RemoteClass(HWND hwnd) {
  const auto value = reinterpret_cast<std::uintptr_t>(hwnd);
  if ((value & 3) != 2) return nullptr;
  const std::size_t index = value >> 2;
  return index < gRemoteClasses.size() ? &gRemoteClasses[index] : nullptr;
}

void ResetHandover() { Reset(); }
const bool gRegistered = RegisterGlobalReset(&ResetHandover);

}  // namespace

bool ParseRequest(const std::uint8_t* bytes, std::size_t size, Request* out) {
  if (!bytes || !out || size < sizeof(RequestHeader)) return false;
  RequestHeader h{};
  std::memcpy(&h, bytes, sizeof h);
  if (h.magic != kRequestMagic || h.length > kPayloadLimit || size - sizeof h != h.length) return false;
  if (h.kind != kFind && h.kind != kCopyData && h.kind != kRaise) return false;
  if (h.kind == kRaise && h.length != 0) return false;
  out->kind = h.kind;
  out->data = h.data;
  out->payload.assign(bytes + sizeof h, bytes + size);
  return true;
}

std::string SocketName(const char* className) {
  // FNV-1a of the configuration folder keeps separate configurations apart.
  std::uint64_t digest = 1469598103934665603ull;
  for (unsigned char c : ConfigFolder()) digest = (digest ^ c) * 1099511628211ull;
  char name[200];
  std::snprintf(name, sizeof name, "pelmora3/%u/%016llx/%s", static_cast<unsigned>(getuid()),
                static_cast<unsigned long long>(digest), Upper(className).c_str());
  return std::string(1, '\0') + name;
}

void Poll() {
  if (gServing) return;  // a request being served may pump messages
  gServing = true;
  Publish();
  for (auto& [name, fd] : gListeners) {
    if (fd < 0) continue;
    for (;;) {
      const int connection = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (connection < 0) break;
      const std::string upperClass = name;
      Serve(upperClass, connection);
      close(connection);
    }
  }
  gServing = false;
}

HWND FindRemote(const char* className, const char* windowName) {
  if (!className || reinterpret_cast<std::uintptr_t>(className) < 0x10000) return nullptr;
  const std::string upper = Upper(className);
  // This process's own name never answers for another.
  if (auto it = gListeners.find(upper); it != gListeners.end() && it->second >= 0) return nullptr;
  const std::string title = windowName ? windowName : "";
  std::int64_t found = 0;
  if (!Ask(upper, kFind, 0, title.data(), static_cast<std::uint32_t>(title.size()), &found) || !found) return nullptr;
  for (std::size_t i = 0; i < gRemoteClasses.size(); ++i)
    if (gRemoteClasses[i] == upper) return reinterpret_cast<HWND>((i << 2) | 2);
  gRemoteClasses.push_back(upper);
  return reinterpret_cast<HWND>(((gRemoteClasses.size() - 1) << 2) | 2);
}

bool IsRemote(HWND hwnd) { return RemoteClass(hwnd) != nullptr; }

LRESULT SendRemote(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  std::string* upper = RemoteClass(hwnd);
  if (!upper || message != WM_COPYDATA || !lParam) return 0;
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (data->cbData > kPayloadLimit || (data->cbData && !data->lpData)) return 0;
  std::int64_t result = 0;
  Ask(*upper, kCopyData, data->dwData, data->lpData, data->cbData, &result);
  return static_cast<LRESULT>(result);
}

bool RaiseRemote(HWND hwnd) {
  std::string* upper = RemoteClass(hwnd);
  std::int64_t result = 0;
  return upper && Ask(*upper, kRaise, 0, nullptr, 0, &result) && result;
}

void Reset() {
  for (auto& [name, fd] : gListeners)
    if (fd >= 0) close(fd);
  gListeners.clear();
  gRemoteClasses.clear();
  gServing = false;
}

}  // namespace pl3::handover

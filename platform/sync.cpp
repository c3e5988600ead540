#include "platform/sync.h"

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "platform/reset_hooks.h"

namespace {

struct SyncObject {
  std::mutex lock;
  std::condition_variable changed;
  bool isMutex = false;
  // Mutex
  std::thread::id owner;
  unsigned recursion = 0;
  // Event
  bool manualReset = false;
  bool signalled = false;
};

using pl3::HandleKind;

struct NameSpace {
  std::mutex lock;
  std::map<std::string, std::weak_ptr<SyncObject>> names;
};

NameSpace& Names() {
  static NameSpace names;
  return names;
}

void ResetNames() {
  std::lock_guard<std::mutex> guard(Names().lock);
  Names().names.clear();
}
const bool registered = pl3::RegisterGlobalReset(&ResetNames);

// Creates or opens the named object of a kind. `created` tells which.
std::shared_ptr<SyncObject> CreateNamed(LPCSTR name, bool isMutex, bool& created) {
  created = true;
  if (!name || !*name) {
    auto object = std::make_shared<SyncObject>();
    object->isMutex = isMutex;
    return object;
  }
  std::lock_guard<std::mutex> guard(Names().lock);
  std::weak_ptr<SyncObject>& slot = Names().names[name];
  if (auto existing = slot.lock()) {
    created = false;
    if (existing->isMutex != isMutex) return nullptr;
    return existing;
  }
  auto object = std::make_shared<SyncObject>();
  object->isMutex = isMutex;
  slot = object;
  return object;
}

std::shared_ptr<SyncObject> FindNamed(LPCSTR name, bool isMutex) {
  if (!name || !*name) return nullptr;
  std::lock_guard<std::mutex> guard(Names().lock);
  auto it = Names().names.find(name);
  if (it == Names().names.end()) return nullptr;
  auto object = it->second.lock();
  if (!object || object->isMutex != isMutex) return nullptr;
  return object;
}

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return nullptr;
}

std::shared_ptr<SyncObject> EventOf(HANDLE handle) {
  return pl3::KernelObject<SyncObject>(handle, HandleKind::Event);
}

// Takes the object for the calling thread if it can. Called with its lock held.
bool TryAcquire(SyncObject& o) {
  if (o.isMutex) {
    if (o.recursion == 0) {
      o.owner = std::this_thread::get_id();
      o.recursion = 1;
      return true;
    }
    if (o.owner == std::this_thread::get_id()) {
      ++o.recursion;
      return true;
    }
    return false;
  }
  if (!o.signalled) return false;
  if (!o.manualReset) o.signalled = false;
  return true;
}

void FillSystemTime(const std::tm& parts, long milliseconds, LPSYSTEMTIME t) {
  t->wYear = static_cast<WORD>(parts.tm_year + 1900);
  t->wMonth = static_cast<WORD>(parts.tm_mon + 1);
  t->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
  t->wDay = static_cast<WORD>(parts.tm_mday);
  t->wHour = static_cast<WORD>(parts.tm_hour);
  t->wMinute = static_cast<WORD>(parts.tm_min);
  t->wSecond = static_cast<WORD>(parts.tm_sec > 59 ? 59 : parts.tm_sec);
  t->wMilliseconds = static_cast<WORD>(milliseconds);
}

void SystemTimeNow(LPSYSTEMTIME t, bool local) {
  if (!t) return;
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm parts{};
  if (local) localtime_r(&now.tv_sec, &parts);
  else gmtime_r(&now.tv_sec, &parts);
  FillSystemTime(parts, now.tv_nsec / 1000000, t);
}

}  // namespace

HANDLE CreateMutex(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCSTR name) {
  bool created = false;
  auto object = CreateNamed(name, true, created);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (initialOwner && created) {  // opening an existing mutex never takes it
    std::lock_guard<std::mutex> guard(object->lock);
    TryAcquire(*object);
  }
  HANDLE handle = pl3::NewKernelHandle(HandleKind::Mutex, object);
  SetLastError(created ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
  return handle;
}

HANDLE OpenMutex(DWORD, BOOL, LPCSTR name) {
  auto object = FindNamed(name, true);
  if (!object) return Fail(name && *name ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_PARAMETER);
  return pl3::NewKernelHandle(HandleKind::Mutex, object);
}

BOOL ReleaseMutex(HANDLE mutex) {
  auto object = pl3::KernelObject<SyncObject>(mutex, HandleKind::Mutex);
  if (!object) return FALSE;
  std::lock_guard<std::mutex> guard(object->lock);
  if (object->recursion == 0 || object->owner != std::this_thread::get_id()) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  if (--object->recursion == 0) {
    object->owner = std::thread::id();
    object->changed.notify_one();
  }
  return TRUE;
}

HANDLE CreateEvent(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR name) {
  bool created = false;
  auto object = CreateNamed(name, false, created);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (created) {
    std::lock_guard<std::mutex> guard(object->lock);
    object->manualReset = manualReset != FALSE;
    object->signalled = initialState != FALSE;
  }
  HANDLE handle = pl3::NewKernelHandle(HandleKind::Event, object);
  SetLastError(created ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
  return handle;
}

HANDLE OpenEvent(DWORD, BOOL, LPCSTR name) {
  auto object = FindNamed(name, false);
  if (!object) return Fail(name && *name ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_PARAMETER);
  return pl3::NewKernelHandle(HandleKind::Event, object);
}

BOOL SetEvent(HANDLE event) {
  auto object = EventOf(event);
  if (!object) return FALSE;
  std::lock_guard<std::mutex> guard(object->lock);
  object->signalled = true;
  if (object->manualReset) object->changed.notify_all();
  else object->changed.notify_one();
  return TRUE;
}

BOOL ResetEvent(HANDLE event) {
  auto object = EventOf(event);
  if (!object) return FALSE;
  std::lock_guard<std::mutex> guard(object->lock);
  object->signalled = false;
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  auto object = pl3::KernelObject<SyncObject>(handle, HandleKind::Mutex);
  if (!object) object = EventOf(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  std::unique_lock<std::mutex> guard(object->lock);
  auto ready = [&] { return TryAcquire(*object); };
  if (milliseconds == INFINITE) {
    object->changed.wait(guard, ready);
    return WAIT_OBJECT_0;
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  return object->changed.wait_until(guard, deadline, ready) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

void Sleep(DWORD milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

ULONGLONG GetTickCount64() {
  return static_cast<ULONGLONG>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

DWORD GetTickCount() { return static_cast<DWORD>(GetTickCount64() & 0xFFFFFFFFu); }

void GetLocalTime(LPSYSTEMTIME time) { SystemTimeNow(time, true); }
void GetSystemTime(LPSYSTEMTIME time) { SystemTimeNow(time, false); }

void GetSystemTimeAsFileTime(LPFILETIME time) {
  if (!time) return;
  auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch());
  *time = pl3::FileTimeFromUnixNanos(ns.count());
}

#include "platform/kernel_base.h"

#include <cstdint>
#include <ctime>
#include <mutex>
#include <vector>

#include "platform/reset_hooks.h"

namespace {

thread_local DWORD lastError = 0;

// Seconds from 1601-01-01 to 1970-01-01.
constexpr long long kEpochDifferenceSeconds = 11644473600LL;
constexpr long long kTicksPerSecond = 10000000LL;

unsigned long long Ticks(const FILETIME& t) {
  return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

FILETIME FromTicks(unsigned long long ticks) {
  return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

// ---- Handle table -------------------------------------------------------------

struct HandleEntry {
  pl3::HandleKind kind;
  std::shared_ptr<void> object;  // null: free slot
};

struct HandleTable {
  std::mutex lock;
  std::vector<HandleEntry> entries;
  std::vector<std::size_t> freeSlots;
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

// Handle values are small multiples of 4, never null and never -1.
HANDLE HandleOfSlot(std::size_t slot) { return reinterpret_cast<HANDLE>((slot + 1) * 4); }

bool SlotOfHandle(HANDLE handle, std::size_t& slot) {
  auto value = reinterpret_cast<std::uintptr_t>(handle);
  if (value == 0 || value % 4 != 0) return false;
  slot = value / 4 - 1;
  return slot < Table().entries.size() && Table().entries[slot].object != nullptr;
}

void ResetHandleTable() {
  std::vector<HandleEntry> old;
  {
    std::lock_guard<std::mutex> guard(Table().lock);
    old.swap(Table().entries);
    Table().freeSlots.clear();
  }
  // Objects are released outside the lock: their clean-up may use the table.
}
const bool registered = pl3::RegisterGlobalReset(&ResetHandleTable);

}  // namespace

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD error) { lastError = error; }

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::uint64_t magnitude = product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
  const std::uint64_t divisor =
      denominator < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(denominator)) : static_cast<std::uint64_t>(denominator);
  const std::uint64_t q = (magnitude + divisor / 2) / divisor;
  if (q > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return -1;
  return negative ? static_cast<int>(-static_cast<std::int64_t>(q)) : static_cast<int>(q);
}

LONG CompareFileTime(const FILETIME* a, const FILETIME* b) {
  unsigned long long x = Ticks(*a), y = Ticks(*b);
  return x < y ? -1 : (x > y ? 1 : 0);
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME st) {
  if (!fileTime || !st) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  unsigned long long ticks = Ticks(*fileTime);
  if (ticks >= 0x8000000000000000ULL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  long long seconds = static_cast<long long>(ticks / kTicksPerSecond) - kEpochDifferenceSeconds;
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm parts{};
  if (!gmtime_r(&t, &parts)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  st->wYear = static_cast<WORD>(parts.tm_year + 1900);
  st->wMonth = static_cast<WORD>(parts.tm_mon + 1);
  st->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
  st->wDay = static_cast<WORD>(parts.tm_mday);
  st->wHour = static_cast<WORD>(parts.tm_hour);
  st->wMinute = static_cast<WORD>(parts.tm_min);
  st->wSecond = static_cast<WORD>(parts.tm_sec);
  st->wMilliseconds = static_cast<WORD>((ticks % kTicksPerSecond) / 10000);
  return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* st, LPFILETIME fileTime) {
  if (!st || !fileTime || st->wMonth < 1 || st->wMonth > 12 || st->wDay < 1 || st->wDay > 31 || st->wHour > 23 ||
      st->wMinute > 59 || st->wSecond > 59 || st->wMilliseconds > 999 || st->wYear < 1601) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::tm parts{};
  parts.tm_year = st->wYear - 1900;
  parts.tm_mon = st->wMonth - 1;
  parts.tm_mday = st->wDay;
  parts.tm_hour = st->wHour;
  parts.tm_min = st->wMinute;
  parts.tm_sec = st->wSecond;
  long long seconds = static_cast<long long>(timegm(&parts));
  unsigned long long ticks = static_cast<unsigned long long>(seconds + kEpochDifferenceSeconds) * kTicksPerSecond +
                             static_cast<unsigned long long>(st->wMilliseconds) * 10000ULL;
  *fileTime = FromTicks(ticks);
  return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
  for (pl3::HandleKind kind :
       {pl3::HandleKind::File, pl3::HandleKind::Find, pl3::HandleKind::Mutex, pl3::HandleKind::Event}) {
    if (pl3::CloseKernelHandle(handle, kind)) {
      SetLastError(ERROR_SUCCESS);
      return TRUE;
    }
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

namespace pl3 {

FILETIME FileTimeFromUnixNanos(long long nanos) {
  long long ticks = nanos / 100 + kEpochDifferenceSeconds * kTicksPerSecond;
  return FromTicks(ticks < 0 ? 0 : static_cast<unsigned long long>(ticks));
}

long long UnixNanosFromFileTime(const FILETIME& time) {
  return (static_cast<long long>(Ticks(time)) - kEpochDifferenceSeconds * kTicksPerSecond) * 100;
}

HANDLE NewKernelHandle(HandleKind kind, std::shared_ptr<void> object) {
  HandleTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  std::size_t slot;
  if (!t.freeSlots.empty()) {
    slot = t.freeSlots.back();
    t.freeSlots.pop_back();
    t.entries[slot] = HandleEntry{kind, std::move(object)};
  } else {
    slot = t.entries.size();
    t.entries.push_back(HandleEntry{kind, std::move(object)});
  }
  return HandleOfSlot(slot);
}

std::shared_ptr<void> KernelHandleObject(HANDLE handle, HandleKind kind) {
  HandleTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  std::size_t slot;
  if (!SlotOfHandle(handle, slot) || t.entries[slot].kind != kind) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return t.entries[slot].object;
}

bool CloseKernelHandle(HANDLE handle, HandleKind kind) {
  std::shared_ptr<void> released;
  {
    HandleTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    std::size_t slot;
    if (!SlotOfHandle(handle, slot) || t.entries[slot].kind != kind) {
      ::SetLastError(ERROR_INVALID_HANDLE);
      return false;
    }
    released.swap(t.entries[slot].object);
    t.freeSlots.push_back(slot);
  }
  return true;  // `released` is dropped here, outside the lock
}

std::size_t OpenKernelHandleCount() {
  HandleTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  return t.entries.size() - t.freeSlots.size();
}

}  // namespace pl3

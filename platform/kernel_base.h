// The kernel's common ground: the last-error value with the error numbers the
// program meets, the time records, and the one handle table behind every
// kernel handle (files, find searches, mutexes, events), closed by CloseHandle.
#pragma once
#include <memory>

#include "platform/win_types.h"

// ---- Error numbers ----------------------------------------------------------
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD NO_ERROR = 0;
constexpr DWORD ERROR_INVALID_FUNCTION = 1;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_INVALID_DATA = 13;
constexpr DWORD ERROR_OUTOFMEMORY = 14;
constexpr DWORD ERROR_NOT_SAME_DEVICE = 17;
constexpr DWORD ERROR_NO_MORE_FILES = 18;
constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_READ_FAULT = 30;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_HANDLE_EOF = 38;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_CANNOT_MAKE = 82;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
constexpr DWORD ERROR_NEGATIVE_SEEK = 131;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
constexpr DWORD ERROR_BAD_PATHNAME = 161;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
constexpr DWORD ERROR_DIRECTORY = 267;
constexpr DWORD ERROR_NOT_OWNER = 288;
constexpr DWORD ERROR_BADDB = 1009;
constexpr DWORD ERROR_BADKEY = 1010;
constexpr DWORD ERROR_CANTOPEN = 1011;
constexpr DWORD ERROR_CANTREAD = 1012;
constexpr DWORD ERROR_CANTWRITE = 1013;
constexpr DWORD ERROR_REGISTRY_IO_FAILED = 1016;
constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr DWORD ERROR_KEY_DELETED = 1018;

// The calling thread's last error.
DWORD GetLastError();
void SetLastError(DWORD error);

// number * numerator / denominator with a 64-bit product, rounded to the
// nearest integer (halves away from zero); -1 when the denominator is 0 or
// the result does not fit in 32 bits.
int MulDiv(int number, int numerator, int denominator);

// ---- Time records -------------------------------------------------------------

// 100-nanosecond intervals since 1 January 1601 (UTC), in two halves.
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
using LPFILETIME = FILETIME*;

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;      // 1 to 12
  WORD wDayOfWeek;  // 0 Sunday to 6 Saturday
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
using LPSYSTEMTIME = SYSTEMTIME*;

// -1, 0 or 1 as the first time is earlier, equal or later.
LONG CompareFileTime(const FILETIME* a, const FILETIME* b);
BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);
BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// Closes any kernel handle: a file, a find search, a mutex or an event.
BOOL CloseHandle(HANDLE handle);

namespace pl3 {

// FILETIME <-> nanoseconds since 1970 (the host's clock).
FILETIME FileTimeFromUnixNanos(long long nanos);
long long UnixNanosFromFileTime(const FILETIME& time);

// The handle table. Each handle owns a shared reference to its object; the
// object lives until the last handle to it is closed (and any waiter that
// took its own reference is done).
enum class HandleKind { File = 1, Find, Mutex, Event };

HANDLE NewKernelHandle(HandleKind kind, std::shared_ptr<void> object);
// The object of a handle of that kind, or null (with ERROR_INVALID_HANDLE set).
std::shared_ptr<void> KernelHandleObject(HANDLE handle, HandleKind kind);
template <typename T>
std::shared_ptr<T> KernelObject(HANDLE handle, HandleKind kind) {
  return std::static_pointer_cast<T>(KernelHandleObject(handle, kind));
}
// Removes a handle of that kind; false (ERROR_INVALID_HANDLE) when there is none.
bool CloseKernelHandle(HANDLE handle, HandleKind kind);
std::size_t OpenKernelHandleCount();

}  // namespace pl3

// Synchronisation objects and time, within one process.
//
// Mutexes are recursive and owned by a thread: the owner may wait on its own
// mutex again and must release it as often. Events are manual-reset (stay
// signalled until reset) or auto-reset (a satisfied wait resets them).
// Named objects share one name space: creating an object of an existing name
// opens that object (GetLastError() is then ERROR_ALREADY_EXISTS); a name in
// use by the other kind fails with ERROR_INVALID_HANDLE. An object lives until
// its last handle is closed with CloseHandle.
#pragma once
#include "platform/kernel_base.h"
#include "platform/win_types.h"

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
constexpr DWORD WAIT_ABANDONED = 0x00000080;
constexpr DWORD WAIT_TIMEOUT = 0x00000102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// Access rights of OpenMutex and OpenEvent (accepted, not enforced).
constexpr DWORD SYNCHRONIZE = 0x00100000;
constexpr DWORD MUTEX_ALL_ACCESS = 0x001F0001;
constexpr DWORD EVENT_MODIFY_STATE = 0x0002;
constexpr DWORD EVENT_ALL_ACCESS = 0x001F0003;

HANDLE CreateMutex(LPSECURITY_ATTRIBUTES security, BOOL initialOwner, LPCSTR name);
HANDLE OpenMutex(DWORD access, BOOL inheritHandle, LPCSTR name);
// Fails with ERROR_NOT_OWNER when the calling thread does not own the mutex.
BOOL ReleaseMutex(HANDLE mutex);

HANDLE CreateEvent(LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL initialState, LPCSTR name);
HANDLE OpenEvent(DWORD access, BOOL inheritHandle, LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// WAIT_OBJECT_0 when the object was acquired (mutex) or signalled (event),
// WAIT_TIMEOUT when `milliseconds` passed first (INFINITE waits for ever),
// WAIT_FAILED for a handle that is neither.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

void Sleep(DWORD milliseconds);
// Milliseconds since an arbitrary start, wrapping at 2^32.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
void GetLocalTime(LPSYSTEMTIME time);
void GetSystemTime(LPSYSTEMTIME time);
void GetSystemTimeAsFileTime(LPFILETIME time);

// Small services the whole program uses: the fatal error handler of the design
// store, the standard message boxes, the registry key routines under the
// program's key, heap-string routines, a formatted-string builder, a
// file-existence test and page allocation.
//
// Heap strings: every string these routines return is a new allocation made
// with malloc, NUL-terminated, that the caller releases with free().
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/registry.h"
#include "platform/win_types.h"
#include "store/seams.h"  // Error, ShowMessage, ShowAndLogError, VirtualAllocBlock, VirtualFreeBlock

// ---- Fatal errors -------------------------------------------------------------

// Set to 1 by the design store's internal error entry just before it calls
// Error(); 0 otherwise (set at start-up).
extern std::uint8_t FatalErrorFlag;

// The frame window, owner of the program's message boxes; null until the
// frame exists.
extern HWND FrameWindow;
// The frame's status bar and its height at creation; null and 0 before it exists.
extern HWND StatusBarWindow;
extern int StatusBarHeight;

// The texts of the fatal error numbers are the store's TowerErrorText
// (store/node_pool.h).

// How Error() brings the frame down. The frame installs its own function;
// until then (or with null) there is none and Error() ends the process itself.
// The function returns non-zero when the frame was destroyed.
using FrameDestroyFn = BOOL (*)(HWND frame);
void SetFrameDestroyer(FrameDestroyFn destroy);

// Error(number) is declared in store/seams.h. It shows "Possible incorrect
// call to Error()" first when FatalErrorFlag is 0, then the numbered message,
// both captioned "Internal Error Handler"; destroys the frame window ("Unable
// to terminate application." when that fails) and ends the process with exit
// status 1 without running exit handlers: nothing is trusted after a store
// error.

// ---- Device contexts and windows ---------------------------------------------------

// GetDC and ReleaseDC with a count of the contexts held, for bookkeeping only:
// GetViewDC raises it, ReleaseViewDC lowers it before releasing.
extern std::uint32_t ViewDCCount;
HDC GetViewDC(HWND window);
int ReleaseViewDC(HWND window, HDC dc);

// A new heap string of the window's text.
char* GetWindowTextCopy(HWND window);

// 1 when no update request (message 1029, WM_USER+5) waits in the window's
// queue; the queue is looked at without removing anything.
int NoPendingUpdate(HWND window);

// ---- Message boxes -------------------------------------------------------------

// ShowMessage(owner, text, caption) is declared in store/seams.h: a
// system-modal box with the exclamation icon (flags 0x1030). ShowMessageEx
// takes the caller's flags and returns the button pressed.
int ShowMessageEx(HWND owner, const char* text, const char* caption, UINT flags);

// ---- The program's registry key ------------------------------------------------

// "SOFTWARE\Corvane\Pelmora3", the same under every root key.
extern const char* const ProgramRegistryKey;

// Opens the program key under `root`, or the subkey below it when `subkey` is
// not null. Returns the registry status unchanged (ERROR_SUCCESS when opened).
LONG OpenProgramRegistryKey(HKEY root, const char* subkey, DWORD options, REGSAM access, PHKEY key);
LONG CreateProgramRegistryKey(HKEY root, const char* subkey, DWORD reserved, LPSTR keyClass, DWORD options,
                              REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition);

// The "ShowInitialiseWindow" DWORD under "Initialisation" in the user's
// branch. Load gives 1 (show) when the key or the value cannot be read.
void SaveShowInitialiseWindowValue(DWORD show);
int LoadShowInitialiseWindow();

// ---- Strings ------------------------------------------------------------------

char* DuplicateString(const char* text);                    // null stays null
char* ConcatNewString(const char* first, const char* second);  // "%s%s"
char* CopyLeft(const char* text, std::size_t length);       // first `length` bytes; null stays null
// GetDesignatorPrefix(text), the text without its trailing digits, is declared in store/seams.h.
// First case-insensitive occurrence of `pattern` in `text`, or null (also
// when the pattern is longer than the text).
char* FindSubstring(const char* text, const char* pattern);
// Replaces every case-insensitive occurrence of `oldText` by `newText` in
// place. The two must have the same length; otherwise a box says so and
// nothing changes. The search goes on after each replaced text.
void replacesubstring(char* text, const char* oldText, const char* newText);
// printf into a new heap string of whatever length the result needs.
char* FormatNewString(const char* format, ...) __attribute__((format(printf, 1, 2)));

// ---- Files and memory -----------------------------------------------------------

// Points just after the last backslash of the path, or at the whole path when
// it has none.
const char* FileNamePart(const char* path);
// FileExists, the existence test, lives with the path helpers in store/.
// Moves the elements after `index` down one place when index < count - 1;
// the caller lowers the count.
void RemoveArrayElement(void* array, std::size_t elementSize, std::size_t index, std::size_t count);
// Committed, zeroed, read-write pages outside the node arena, or null when
// refused.
void* AllocatePages(std::size_t size);
void FreePages(void* block);

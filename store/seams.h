// What the store calls in the application frame, which lies above it. These
// functions are declared here and defined by app/ (the program's frame and its
// services); the store never includes an app/ header.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// The fatal error handler: shows the numbered store error and ends the program.
[[noreturn]] void Error(std::uint16_t number);
// Set to 1 by the store just before it calls Error(), so that the handler
// knows the call came through the store's error path.
extern std::uint8_t FatalErrorFlag;

// A system-modal message box with the exclamation icon.
void ShowMessage(HWND owner, const char* text, const char* caption);

// A new heap copy of the text without its trailing decimal digits ("R12"
// gives "R"); null when out of memory. The caller frees it.
char* GetDesignatorPrefix(const char* text);

// Shows the text when the severity's bit is set in the global error mask and
// appends it to "PL3_Err.log" when the mask has bits 31 and 0 set.
void ShowAndLogError(HWND owner, const char* text, const char* caption, std::uint32_t severity);

// Commits a block of memory for the node pool inside the node arena (its nodes
// are named by 32-bit offsets), or returns null when refused.
void* VirtualAllocBlock(std::uint32_t size);
void VirtualFreeBlock(void* block);

struct Tower;

// ---- Design objects ----------------------------------------------------------

// The display name of a type code.
const char* GetTypeName(std::uint16_t code);

// 1 when a schematic symbol definition (or a schematic symbol, through the
// definition its record refers to) carries the special-function marker,
// respectively the net-name graphic marker; 0 otherwise.
int IsSpecialFunctionSymbol(const Tower* t);
int IsNetNameGraphicSymbol(const Tower* t);

// Marks entry `index` of size list `list` (0 Lines, 1 Circles, 2 Rectangles,
// 3 Holes, 4 Vias, 5 Fonts, 6 Dots) of the active window's size table as in
// use (bit 1 of its flags) and, when makeDefault is set, makes it the list's
// default. Returns false when the window or the entry does not exist.
bool MarkActiveSizeEntry(std::uint32_t list, std::uint32_t index, bool makeDefault);

// ---- PCB editor ----------------------------------------------------------------

// The payload {u32 net id, u32 flags} of the net's Net Info record, created
// with a fresh net id and flags 0 when missing.
std::uint32_t* GetNetInfo(const Tower* net);
// The per-net ratsnest operation.
void ComputeNetRatsnest(const Tower* net, void* param);

// ---- Schematic editor ------------------------------------------------------------

// Stores a size index into the current-size record of the active window's
// design, in the word read for that type code and locator kind.
void SetCurrentSizeIndex(std::uint16_t code, std::uint32_t index, std::uint16_t locatorKind);

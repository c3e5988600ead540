// What the store calls in the application frame, which lies above it. These
// functions are declared here and defined by app/ (the program's frame and its
// services); the store never includes an app/ header.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// The fatal error handler: shows the numbered store error and ends the program.
[[noreturn]] void Error(std::uint16_t number);

// A system-modal message box with the exclamation icon.
void ShowMessage(HWND owner, const char* text, const char* caption);

// Shows the text when the severity's bit is set in the global error mask and
// appends it to "PL3_Err.log" when the mask has bits 31 and 0 set.
void ShowAndLogError(HWND owner, const char* text, const char* caption, std::uint32_t severity);

// Commits a block of memory for the node pool, or returns null when refused.
void* VirtualAllocBlock(std::uint32_t size);
void VirtualFreeBlock(void* block);

// Bounded reads of the texts kept under attribute records, shared by the
// attribute look-ups and the user-attribute texts.
#pragma once
#include <cstdint>

struct Tower;

// The payload of the newest child of the code under t and its size; null when absent.
const char* NewestChildBytes(const Tower* t, std::uint16_t code, std::uint32_t* size);
// A heap copy of a stored text of `size` bytes, ending at its first NUL or at
// the end of the record, whichever comes first.
char* CopyStoredText(const char* text, std::uint32_t size);

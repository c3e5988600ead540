// The recently-used list: the last four items opened from containers, shown
// in the "&File" pop-up above "E&xit", read from "MRUProject1".."4" under
// "Initialisation" at start and written back at exit.
#pragma once
#include <cstddef>

#include "platform/menus.h"
#include "platform/registry.h"

constexpr int kRecentEntries = 4;
constexpr std::size_t kRecentEntrySize = 4096;
constexpr UINT kRecentFirstId = 4008;  // entry n is 4007 + n
constexpr UINT kExitId = 283;

// Entry n (0 to 3), "" when empty; an empty entry ends the list.
const char* RecentEntry(int index);
void ClearMRUList();
void LoadMRUList(HKEY initialisation);
void SaveMRUList();
// Puts "%s%s?%s" (or "%s%s" without a type) at the front; a text that does
// not fit an entry is refused. False when refused.
bool AddToMRUList(const char* folder, const char* fileName, const char* itemType);
void BuildMRUMenu(HMENU filePopup);

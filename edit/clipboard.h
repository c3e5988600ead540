// The program's own clipboard: Copy, Cut and Paste of selected items between
// windows of one editor kind. The copy lives under the program's scratch
// entity (ProgramTower, made at start-up and deleted at exit with all it
// holds) as one Clipboard Copy record (1103) holding deep copies of the
// selected items, the block origin (112), the source window's size table
// (288), the attributes the copied locators show (31) and, for schematic
// items, Clipboard Link records (1104) around the symbol definitions and
// their pins.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/win_types.h"

struct SelectionInfo;
struct SizeTable;
struct Tower;

constexpr std::uint16_t Type_ClipboardCopy = 1103;
constexpr std::uint16_t Type_ClipboardLink = 1104;

#pragma pack(push, 1)
// The Clipboard Copy record: the type code of the source design's root.
struct ClipboardCopyRecord {
  std::uint32_t zero;
  std::uint16_t rootType;
  std::uint16_t zero2;
};
// A Clipboard Link: a deep copy of the linked node hangs under it; the source
// reference is only a key matched inside the stored copy, never followed into
// the source design (which may be closed by the time of a paste).
struct ClipboardLinkRecord {
  std::uint16_t linkedType;
  std::uint16_t zero;
  std::uint32_t zero2;
  std::uint32_t sourceReference;
};
#pragma pack(pop)
static_assert(sizeof(ClipboardCopyRecord) == 8);
static_assert(offsetof(ClipboardCopyRecord, rootType) == 4);
static_assert(sizeof(ClipboardLinkRecord) == 12);
static_assert(offsetof(ClipboardLinkRecord, sourceReference) == 8);

// 1 when an item of the type (with its payload, for a locator's kind) may be
// copied to the clipboard: types 1 to 10, 19, 28 to 30, 35, 37 to 39, 41 to
// 47 and 49, and attribute locators of kinds 1, 3, 4, 6, 9, 10, 13, 14, 15.
int IsCopyableItem(std::uint16_t type, const std::uint8_t* payload, std::uint32_t size);
// 1 when some primary record's item is not copyable; an empty list beeps and gives 0.
int HasUncopyableSelection(const SelectionInfo* list);
// The records, primary or not, whose items are copyable.
int CountCopyableSelections(const SelectionInfo* list);

// Prepares the copy of a schematic symbol (30) as an independent item: its
// package reference is kept as its package-name attribute and it is
// unpackaged. The copy's gate records still name the gates in use of the
// original's package instance, so they are dropped first: unpackaging the
// copy must not take the original's gates with it.
void DetachCopiedSymbolPackage(const Tower* copy);

// Copy, Cut and Paste of the active window's selection. Copy and Cut return
// 1 when a copy was stored, 0 when the user or a rule stopped it.
int CopySelectionToClipboard(HWND window);
int CutSelectionToClipboard(HWND window);
void PasteFromClipboard(HWND window);

// A new Tower on the clipboard copy, or null when there is none.
Tower* FindClipboardCopy();
// The editor named by a design root's type code ("the PCB editor" ...), "[NULL]" for others.
const char* ClipboardEditorName(std::uint16_t rootType);

// Re-maps a pasted item's indexed size from the source table to the
// destination's: an entry of the same name (and unit and values, by kind) in
// the destination gives the new index; without one the item keeps its own
// explicit size. Returns 1 when the index was re-mapped.
int RemapPastedSize(std::uint8_t* payload, std::uint32_t size, std::uint16_t type, const SizeTable* source,
                    const SizeTable* destination);

// The check of the item edited in a library editor and the Completion Info
// (212, objects/item_helpers.h) that records its result under the item.
#pragma once
#include <cstdint>

struct Tower;

// Runs the check of the item's kind (schematic symbol 25, PCB symbol 105,
// shape 109, pad stack 115; any other kind gives 0), first cancelling the
// active window's operation when asked. Returns the failure bits.
std::uint32_t PerformLibraryItemDRC(const Tower* item, int cancelFirst);
// Replaces the item's Completion Infos by one holding its type, the failure
// bits of a new check and the check settings' two masks. A new Tower on the
// record (the caller releases it), or null when the item is gone.
Tower* RecordCompletionInfo(const Tower* item, int cancelFirst);

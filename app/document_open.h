// Opening documents from the frame: the File Open dialog, the recently-used
// entries and the open commands 280 (PCB item), 282 (schematic item) and 464
// (library item) that create the editor window of an item, the import of
// earlier-generation boards (4012, 2411, 2014) and the new documents.
#pragma once
#include <cstddef>
#include <cstdint>

#include "app/open_requests.h"
#include "platform/win_types.h"

struct Tower;

// The pending container file and item ("name?type"); null when none.
extern const char* PendingContainerPath;
extern const char* PendingItemPath;

// The file buffer of the open dialog: longer paths are refused.
constexpr std::size_t kOpenPathSize = 2048;

// The last container per item kind and the last path of the general dialog.
enum LastContainerKind { kLastPcbOrSchematic, kLastPcbSymbol, kLastShape, kLastPadStack, kLastOther, kLastKinds };
const char* LastContainerPath(int kind);
const char* LastGeneralOpenPath();

// The File Open dialog: starts at the path (the last general path, else the
// project folder, when null) with the filter index (1 to 5), and opens what
// is chosen by its extension.
void DoFileOpen(HWND frame, const char* initialPath, DWORD filterIndex);

// How a document command ends in the hub: ReturnWindow answers the window
// made (280 and 282), which `made` receives.
enum class DocumentEnding { NotMine, Forward, Return0, ReturnWindow };
// The hub's cases for new and opened documents.
DocumentEnding RunDocumentCommand(HWND frame, HWND child, UINT id, HINSTANCE instance, HWND* made);

// The open command of an item type code (280, 282 or 464), 0 for none.
UINT OpenCommandOfType(std::uint16_t typeCode);

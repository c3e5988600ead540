// What the explorer's files share between them; not for use elsewhere.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "library/file_explorer.h"
#include "platform/user.h"

struct NetFSHandle;

// Shows a message with the caption "Pelmora3" and the exclamation icon.
void ExplorerWarn(HWND owner, const char* text);
NetFSHandle* ExplorerHandle(const ExplorerState* state);

// The list item's entry (its item data), or null.
DirectoryEntry* ExplorerEntryAt(const ExplorerState* state, int index);
int ExplorerSelectedCount(const ExplorerState* state);
void AppendExplorerItem(ExplorerState* state, DirectoryEntry* entry, bool selected);

// The tool row's Open or Save button, Up, entering a folder, the view menu,
// column clicks, renaming (end of label editing; TRUE keeps the text) and
// deleting the selection.
void ExplorerOpenOrSave(ExplorerState* state);
void ExplorerGoUp(ExplorerState* state);
void ExplorerEnterFolder(ExplorerState* state, const DirectoryEntry& entry);
void ExplorerShowViewMenu(ExplorerState* state);
void ExplorerSetView(ExplorerState* state, int command);
void ExplorerColumnClick(ExplorerState* state, int column);
bool ExplorerRenameEntry(ExplorerState* state, int index, const char* newName);
void ExplorerDeleteSelection(ExplorerState* state);
// Ends the explorer with a result code (the window is destroyed).
void ExplorerFinish(ExplorerState* state, std::uint32_t result);

// The description panel.
void PaintExplorerPanel(ExplorerState* state, HDC dc);
// The payload of the first record of an item's stream ("description",
// "bitmap", "completioninfo", "linkfile") when it has the code; else empty.
std::vector<std::uint8_t> ReadExplorerItemRecord(const ExplorerState* state, const DirectoryEntry& entry,
                                                 const char* stream, std::uint16_t code);
// A PCB's or schematic's check state from its "completioninfo": 1 passed, 0
// failed, -1 none recorded (or another kind of item).
int ExplorerCheckState(const ExplorerState* state, const DirectoryEntry& entry);

// Window placement under "Initialisation", "ExplorerWindowPlacement".
void SaveExplorerPlacement(HWND window);
bool RestoreExplorerPlacement(HWND window);
// Parses the eleven numbers; false when they are not all there or the window
// would stand off the virtual screen. A minimised show command becomes 3.
bool ParseExplorerPlacement(const char* text, WINDOWPLACEMENT* placement);

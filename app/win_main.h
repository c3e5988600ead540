// The program's start-up and shutdown: WinMain builds everything in a fixed
// order, hands a document to an instance already running, runs the message
// loop, and releases everything after it in a fixed order.
#pragma once
#include "platform/system_info.h"
#include "platform/win_types.h"

struct DockingPane;

// The exit code: the final quit message's wParam after a run, 0 after a
// hand-over or a failed start, -1 when the registry settings are missing.
int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
// Called once the frame and its panes stand, before the message loop (the
// program prints its start line and takes Ctrl+C there).
extern void (*FrameReadyHook)(HWND frame);

// A heap copy with every double quote removed; null stays null.
char* StripQuotes(const char* text);
// Copies a key and everything below it; the copy stops at the first failure,
// reported by a box ("Error").
void CopyRegistryKey(HKEY sourceRoot, const char* subkey, HKEY destinationRoot);
// The install paths, the "Auto Backups" folder and the two shell file types.
void RegisterShellFileTypes();
// The 0-based position of an icon group among the program's icon groups.
int GetIconGroupIndex(unsigned id);
// The command-line document kind by its extension: 1 project, 2 library, 3 update file, 0 other.
int CommandLineDocumentKind(const char* path);

// Application globals of start-up.
extern char* CommandLineCopy;
extern OSVERSIONINFOEX OSVersionInfo;
extern HMODULE RichEditModule;
extern HFONT SansSerifFont;
extern HWND SplashWindow;
extern HWND ProjectWindow;
extern void* SpiceAttributes;
// The nine docking panes, by pane id (0 to 10; 7 and 9 unused).
extern DockingPane* FramePanes[11];

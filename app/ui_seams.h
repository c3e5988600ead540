// What the frame asks of the docking panes and controls (ui/), which lie
// above app/: declared here, defined there. The tab strip and the frame's
// status bar are built (ui/tab_strip.cpp, ui/frame_status_bar.cpp); the
// docking framework, the toolbars, the project window and the panes' own
// controls are not yet, and the program links the stand-ins of
// app/docking_seams_pending.cpp until they are.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// ---- Tab strip ------------------------------------------------------------------------------
// A windowless row of tabs that its owner draws into its own window and
// hit-tests with its own mouse coordinates: the document tab bar along the
// top of the MDI client (style 1) and the docking tab groups (style 2).

struct TabStripTab {
  RECT rect;            // written by drawing, read by hit-testing
  char* text;           // owned heap copy
  HICON icon;           // not owned, may be null
  void* key;            // the owner's object (a document window or a pane)
  TabStripTab* next;
  TabStripTab* previous;
};

struct TabStrip {
  TabStripTab* first;
  TabStripTab* current;
  HFONT regularFont;    // "Tahoma", height -11
  HFONT boldFont;       // the same, weight 700
  std::uint32_t style;  // 1 tabs hang below a top line; 2 tabs stand on it
  std::uint32_t count;
};

TabStrip* TabStrip_Create(std::uint32_t style);
// Appends a tab (the text is copied); the current tab stays.
TabStripTab* TabStrip_AddTab(TabStrip* strip, const char* text, void* key);
// Unlinks and frees the tab; the caller picks a new current tab when needed.
void TabStrip_RemoveTab(TabStrip* strip, TabStripTab* tab);
int TabStrip_IndexOf(const TabStrip* strip, const TabStripTab* tab);
TabStripTab* TabStrip_TabAt(const TabStrip* strip, int index);
void TabStrip_SetIcon(TabStripTab* tab, HICON icon);
TabStripTab* TabStrip_HitTest(const TabStrip* strip, int x, int y);
TabStripTab* TabStrip_FindByKey(const TabStrip* strip, const void* key);
// Draws the strip into the rectangle and stores each tab's rectangle.
void TabStrip_Draw(HDC dc, TabStrip* strip, const RECT* rect);
void TabStrip_Destroy(TabStrip* strip);

// ---- Frame status bar ------------------------------------------------------------------------

// Creates the frame's status bar (id 5827, hidden, empty) and keeps it in
// StatusBarWindow with its height in StatusBarHeight; null when it cannot.
HWND CreateFrameStatusBar(HWND frame);

// ---- Docking framework --------------------------------------------------------------------------
// Panes are opaque here: the frame only creates, arranges and lays them out.

struct DockingPane;

void Docking_RegisterClasses();
void Docking_CreateChannelBars(HWND host);
DockingPane* Docking_CreateDocumentArea(HWND host, HWND mdiClient);
DockingPane* Docking_CreateGenericPane(HWND host, std::uint32_t paneId, const char* caption, HWND client);
DockingPane* Docking_CreateTabbedPane(HWND host);
void Docking_AddToTabGroup(DockingPane* group, DockingPane* pane);
DockingPane* Docking_CreateSplitter(HWND host, std::uint32_t side, std::uint32_t size, DockingPane* first,
                                    DockingPane* second, int markDocked);
// The root of the arrangement (the outermost splitter), null before one is built.
void Docking_SetRoot(DockingPane* root);
// 0 when the file is missing or unreadable.
int Docking_LoadLayout(const char* path);
void Docking_SaveLayout(const char* path);
void Docking_InitLayout(const RECT* rect);
void Docking_SetDockArea(const RECT* rect);
void Docking_EnableFloatingPanes(BOOL enable);
void Docking_ShowFloatingPanes(int showCommand);
void Docking_DeactivatePane(DockingPane* pane);
void Docking_CloseAutoHideWindow(DockingPane* exceptPane);
void Docking_Shutdown();
// The rectangle the layout gave a pane (host client coordinates); false when
// it is not placed.
bool Docking_PaneRect(const DockingPane* pane, RECT* out);

// ---- Command bars and toolbars ------------------------------------------------------------------

// The four command-bar docks (sides 1 left, 2 right, 4 top, 8 bottom) take
// their places in the rectangle and shrink it.
void CommandBars_LayOut(HWND frame, RECT* rect);
HWND CommandBars_CreateTooltip(HWND frame);
void CreateToolbars(HWND frame);
// Every toolbar button's enabled state for the active window's kind (0: no document).
void UpdateToolbarStates(std::uint32_t kind);
void Toolbars_ActivateApp(BOOL active);
// The toolbar layout records for "Toolbars.CFG": a heap array of `count`
// 20-byte records, or null while no toolbar exists (nothing is written).
void* GetToolbarLayoutRecords(std::uint32_t* count);
void FreeToolbars();
// The toolbar context menu at a screen point.
void ShowToolbarContextMenu(HWND owner, POINT screen);

// ---- Project window and panes --------------------------------------------------------------------

HWND CreateProjectWindow();
// Empties the project tree (delete from the root).
void ClearProjectTree();
// Loads a workspace file into the project tree.
void LoadWorkspace(const char* path);
// Adds an opened container to the project tree.
void AddContainerToProjectTree(void* container);
// Saves the list-view column layouts at exit.
void SaveListViewColumnLayouts();

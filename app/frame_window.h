// The frame window "PCB_EDITOR": its window procedure, creation and closing
// order, placement across runs, the document tab bar on the MDI client, the
// "&Window" list, the "Windows" dialog (1217), the children's close and
// recolour callback, and the editors' tracking tooltip.
#pragma once
#include <cstdint>

#include "platform/user.h"

struct Tower;
struct DockingPane;
struct TabStrip;

constexpr char kFrameClassName[] = "PCB_EDITOR";
constexpr char kFrameTitle[] = "Pelmora 3";
constexpr UINT kOpenContainerMessage = 1028;  // WM_USER + 4: wParam a container path
constexpr ULONG_PTR kHandOverCode = 1028;
constexpr DWORD kHandOverLimit = 32 * 1024;    // a longer hand-over block is ignored
constexpr int kFirstMdiChild = 100;
constexpr UINT kFirstWindowListId = 2555;
constexpr UINT kWindowListMoreId = 2565;

// The zoom limits made at creation: the largest, eleven steps halving from
// it, and the smallest (S / 2048), S = 4294967295.0 / the larger side of the
// virtual screen.
extern std::uint32_t ZoomLimitLargest;
extern std::uint32_t ZoomLimitSteps[11];
extern std::uint32_t ZoomLimitSmallest;
// The program instance.
extern HINSTANCE ProgramInstance;
// The root of the docking arrangement, null before the panes are made.
extern DockingPane* DockingRoot;

ATOM RegisterFrameClass(HINSTANCE instance);
HWND CreateFrameWindow(HINSTANCE instance, HMENU menu);
LRESULT CALLBACK FrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// "DefaultWindowPlacement" under "Initialisation": 0 on success or the registry error.
LONG SaveWindowPlacement();
// 1 when a saved placement was applied (all eleven numbers read and the
// normal rectangle meeting the desktop).
int RestoreWindowPlacement();

// "Toolbars.CFG": a u32 count and the 20-byte records, replaced whole; a
// file that cannot be written is left as it was. True when written.
bool WriteToolbarLayoutFile(const char* path, const void* records, std::uint32_t count);

// The document tab bar, kept as the MDI client's property "TabData".
void AddMDITab(HWND client, HWND documentWindow, const Tower* design);
void RemoveMDITab(HWND client, HWND documentWindow);
void SelectMDITab(HWND client);
// The caption of a design's tab: stored location text, File Name, Name, or "New %s".
void FormTabCaption(const Tower* design, char* out, std::size_t size);
// The tab list of the MDI client, or null.
TabStrip* MDITabStrip(HWND client);
LRESULT CALLBACK MDIClientTabProc(HWND client, UINT message, WPARAM wParam, LPARAM lParam);
// Subclasses the client and attaches a new tab list.
void AttachTabBar(HWND client);

void BuildWindowMenuList();
INT_PTR CALLBACK WindowListDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CALLBACK CloseOrRecolourChildProc(HWND child, LPARAM action);
HWND CreateTrackingTooltip(HWND owner);
// The frame's user record: four words 0, 250, 1, 2.
void InitFrameUserData(HWND frame);

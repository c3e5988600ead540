// Multiple-document windows: the "mdiclient" window class that holds the
// document windows (MDI children) of a frame, and the default procedures of
// the frame and of the children.
//
// The client numbers its children from CLIENTCREATESTRUCT::idFirstChild
// without gaps: when one goes, the child with the highest id takes its id.
// Both children of an activation change hear WM_MDIACTIVATE with wParam the
// child losing activation and lParam the one gaining it. While the active
// child is maximised, every child activated is maximised too, and the
// frame's bar carries the child's system menu first and its Minimize,
// Restore and Close buttons last (WM_COMMAND SC_ ids that DefFrameProc hands
// to the child as WM_SYSCOMMAND). The client's window menu is not used.
#pragma once
#include "platform/user.h"

struct CLIENTCREATESTRUCT {
  HANDLE hWindowMenu;
  UINT idFirstChild;
};

struct MDICREATESTRUCTA {
  LPCSTR szClass;
  LPCSTR szTitle;
  HANDLE hOwner;
  int x;
  int y;
  int cx;
  int cy;
  DWORD style;
  LPARAM lParam;
};
using MDICREATESTRUCT = MDICREATESTRUCTA;

constexpr WPARAM MDITILE_VERTICAL = 0x0000;
constexpr WPARAM MDITILE_HORIZONTAL = 0x0001;
constexpr WPARAM MDITILE_SKIPDISABLED = 0x0002;
constexpr DWORD MDIS_ALLCHILDSTYLES = 0x0001;

// The frame's default procedure: WM_COMMAND gives 0 (commands are not
// forwarded to the active child) except the SC_ buttons of a maximised
// child; WM_SIZE fits the client to the frame's client area.
LRESULT DefFrameProcA(HWND frame, HWND client, UINT message, WPARAM wParam, LPARAM lParam);
// The children's default procedure: closing, maximising, restoring and
// window switching go through the client.
LRESULT DefMDIChildProcA(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
// Ctrl+Tab and Ctrl+F6 (with Shift: backwards) become WM_SYSCOMMAND
// SC_NEXTWINDOW (SC_PREVWINDOW) and Ctrl+F4 SC_CLOSE, sent to the active
// child with the key as lParam; TRUE when the key was used so (the caller
// then does not dispatch it).
BOOL TranslateMDISysAccel(HWND client, MSG* msg);
#define DefFrameProc DefFrameProcA
#define DefMDIChildProc DefMDIChildProcA

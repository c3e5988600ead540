// The responder: the one road by which message boxes and the common dialogs
// (open, save, folder, colour) reach the user.
//
// Two backends answer it. The headless backend, the default and what tests
// use, records every box and dialog and answers it from a script of answers,
// or with the documented default answer when nothing is scripted. The window
// backend installs its own functions with the Set...Backend setters below;
// boxes and dialogs are recorded whichever backend answers them.
//
// Default answers of the headless backend (the answer that changes nothing):
//   message box  IDOK for MB_OK, IDCANCEL when the box has a Cancel button
//                (MB_OKCANCEL, MB_YESNOCANCEL, MB_RETRYCANCEL,
//                MB_CANCELTRYCONTINUE), IDNO for MB_YESNO, IDABORT for
//                MB_ABORTRETRYIGNORE;
//   open, save   cancelled (FALSE, CommDlgExtendedError() 0);
//   folder       cancelled (null);
//   colour       cancelled (FALSE).
#pragma once
#include <string>
#include <vector>

#include "platform/win_types.h"

// ---- Message boxes -------------------------------------------------------

// Buttons (low 4 bits of the type).
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_CANCELTRYCONTINUE = 0x00000006;
constexpr UINT MB_TYPEMASK = 0x0000000F;
// Icons.
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0;
// Default button.
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFMASK = 0x00000F00;
// Modality and extras.
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;

// Results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDTRYAGAIN = 10;
constexpr int IDCONTINUE = 11;

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// ---- Open and save dialogs ----------------------------------------------

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAME {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;  // pairs of "description\0pattern\0", ended by "\0"
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPSTR lpstrFile;  // in: initial name; out: the chosen path
  DWORD nMaxFile;   // size of lpstrFile in bytes
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;     // out: offset of the file name in lpstrFile
  WORD nFileExtension;  // out: offset of the extension, 0 when none
  LPCSTR lpstrDefExt;   // appended (after a dot) when the chosen name has no extension
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
};
using LPOPENFILENAME = OPENFILENAME*;

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
constexpr DWORD OFN_NOVALIDATE = 0x00000100;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
constexpr DWORD OFN_NOREADONLYRETURN = 0x00008000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

// Extended error of the last open, save or colour dialog: 0 for a cancel.
constexpr DWORD CDERR_STRUCTSIZE = 0x0001;  // lStructSize is not the record's size
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;
DWORD CommDlgExtendedError();

// The open and save dialogs take the record's full size or the older, shorter
// size that programs written for it still pass (the fields they read are the same).
constexpr DWORD OPENFILENAME_SIZE_VERSION_400 = 76;
bool OpenFileNameSizeOk(DWORD size);

BOOL GetOpenFileName(LPOPENFILENAME ofn);
BOOL GetSaveFileName(LPOPENFILENAME ofn);

// ---- Folder dialog ----------------------------------------------------------

// An item identifier list names one folder; ours holds its program path.
// Free it with CoTaskMemFree.
struct ITEMIDLIST;
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;

using BFFCALLBACK = int (*)(HWND, UINT, LPARAM, LPARAM);

struct BROWSEINFO {
  HWND hwndOwner;
  PCIDLIST_ABSOLUTE pidlRoot;
  LPSTR pszDisplayName;  // out: the chosen folder's own name (MAX_PATH bytes)
  LPCSTR lpszTitle;
  UINT ulFlags;
  BFFCALLBACK lpfn;
  LPARAM lParam;
  int iImage;
};
using LPBROWSEINFO = BROWSEINFO*;

constexpr UINT BIF_RETURNONLYFSDIRS = 0x00000001;
constexpr UINT BIF_EDITBOX = 0x00000010;
constexpr UINT BIF_NEWDIALOGSTYLE = 0x00000040;

PIDLIST_ABSOLUTE SHBrowseForFolder(LPBROWSEINFO info);
// Copies the folder's path (MAX_PATH bytes at most) into `path`.
BOOL SHGetPathFromIDList(PCIDLIST_ABSOLUTE list, LPSTR path);
void* CoTaskMemAlloc(SIZE_T size);
void CoTaskMemFree(void* block);

// ---- Colour dialog ----------------------------------------------------------

using LPCCHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct CHOOSECOLOR {
  DWORD lStructSize;
  HWND hwndOwner;
  HWND hInstance;
  COLORREF rgbResult;  // in: initial colour with CC_RGBINIT; out: the choice
  COLORREF* lpCustColors;  // 16 custom colours
  DWORD Flags;
  LPARAM lCustData;
  LPCCHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
};
using LPCHOOSECOLOR = CHOOSECOLOR*;

constexpr DWORD CC_RGBINIT = 0x00000001;
constexpr DWORD CC_FULLOPEN = 0x00000002;
constexpr DWORD CC_PREVENTFULLOPEN = 0x00000004;
constexpr DWORD CC_ANYCOLOR = 0x00000100;

BOOL ChooseColor(LPCHOOSECOLOR cc);

namespace pl3 {

// ---- Backends ---------------------------------------------------------------

// Each backend receives the call as the program made it. A null setter
// argument puts the headless backend back.
using MessageBoxBackend = int (*)(HWND, const char*, const char*, UINT);
using FileDialogBackend = BOOL (*)(LPOPENFILENAME, bool save);
using FolderDialogBackend = PIDLIST_ABSOLUTE (*)(LPBROWSEINFO);
using ColourDialogBackend = BOOL (*)(LPCHOOSECOLOR);

void SetMessageBoxBackend(MessageBoxBackend backend);
// The answer of a box closed without a choice, the one that changes nothing:
// OK, No for Yes/No, Abort for Abort/Retry/Ignore, else Cancel.
int UnansweredMessageBoxResult(UINT type);
void SetFileDialogBackend(FileDialogBackend backend);
void SetFolderDialogBackend(FolderDialogBackend backend);
void SetColourDialogBackend(ColourDialogBackend backend);

// Makes an item identifier list of a program path, for folder backends.
PIDLIST_ABSOLUTE MakeFolderIdList(const std::string& path);

// ---- The record ---------------------------------------------------------------

enum class ResponderKind { MessageBox, OpenFile, SaveFile, BrowseFolder, ChooseColour };

struct ResponderRecord {
  ResponderKind kind;
  HWND owner;
  std::string text;     // box text; file dialogs: the filter with "|" for each NUL;
                        // folder dialog: its title
  std::string caption;  // box caption; file dialogs: title; others: ""
  UINT flags;           // box type or the dialog's Flags / ulFlags
  std::string initial;  // file dialogs: initial directory, then "|" and initial name
  bool scripted;        // answered from the script (false: backend or default)
  int result;           // box: button id; dialogs: 1 chosen, 0 cancelled
  std::string answer;   // dialogs: chosen path, or colour as "#RRGGBB"
};

// Everything shown since the last clear, oldest first.
const std::vector<ResponderRecord>& ResponderRecords();
void ClearResponderRecords();

// ---- The script of the headless backend ---------------------------------------

// Answers are taken oldest first by the next box or dialog. A button answer
// suits a message box, a path a file or folder dialog, a colour the colour
// dialog, and a cancel any of them (IDCANCEL for a box). An answer of the
// wrong kind is dropped, written to stderr and the default is used instead.
void PushButtonAnswer(int buttonId);
void PushPathAnswer(const std::string& path);
void PushColourAnswer(COLORREF colour);
void PushCancelAnswer();
std::size_t PendingAnswerCount();

// When on, the headless backend also prints every box to stderr as
// "<caption>: <text>" (death tests match on it).
void SetResponderEcho(bool on);

}  // namespace pl3

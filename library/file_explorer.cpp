// The explorer window, its tool row, its message loop and the two front ends
// that open a container and run it.
#include "library/file_explorer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "library/explorer_internal.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/kernel_files.h"
#include "platform/reset_hooks.h"
#include "platform/resource_images.h"
#include "platform/resources.h"
#include "platform/responder.h"
#include "platform/shell_info.h"
#include "platform/text_case.h"
#include "platform/user.h"
#include "store/container_store.h"
#include "store/document_filing.h"
#include "store/file_dialogs.h"

// Zero keeps Up in a container's top folder disabled; the item choosers set it
// for the length of their call.
int ExplorerMode = 1;

namespace {

constexpr const char* kExplorerClass = "Pelmora3FileExplorer";
constexpr int kPanelWidth = 200;
constexpr int kPanelMinimumWindow = 250;

ExplorerIdleHook& IdleHook() {
  static ExplorerIdleHook hook;
  return hook;
}
void ResetExplorerGlobals() {
  IdleHook() = nullptr;
  ExplorerMode = 1;
}
const bool kResetRegistered = pl3::RegisterGlobalReset(&ResetExplorerGlobals);

// ---- Templates ----------------------------------------------------------------------

const DialogControl kLogOnControls[] = {
    {"STATIC", -1, "User name:", 7, 9, 50, 10, SS_LEFT},
    {"EDIT", kLogOnUserId, "", 60, 7, 120, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"STATIC", -1, "Password:", 7, 27, 50, 10, SS_LEFT},
    {"EDIT", kLogOnPasswordId, "", 60, 25, 120, 12, ES_AUTOHSCROLL | ES_PASSWORD | WS_BORDER | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 40, 46, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 100, 46, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kLogOnTemplate{nullptr, kLogOnDialogId, "Log On To File", 0, 0, 190, 68,
                                    DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kLogOnControls};

const DialogControl kToolRowControls[] = {
    {"BUTTON", kExplorerUpId, "Up", 2, 2, 24, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kExplorerNewFolderId, "New", 28, 2, 24, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kExplorerViewId, "View", 54, 2, 24, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"STATIC", -1, "File name:", 84, 5, 36, 10, SS_LEFT},
    {"EDIT", kExplorerNameId, "", 122, 3, 110, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", kExplorerOkId, "Open", 236, 2, 40, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kToolRowTemplate{nullptr, kExplorerToolRowId, "", 0, 0, 280, 18, WS_CHILD | DS_CONTROL,
                                      kToolRowControls};

const bool kTemplatesRegistered =
    pl3::RegisterDialogTemplate(&kLogOnTemplate) && pl3::RegisterDialogTemplate(&kToolRowTemplate);

// ---- The log-on dialog ------------------------------------------------------------------

struct LogOnFields {
  char user[kLogOnFieldChars + 1] = {};
  char password[kLogOnFieldChars + 1] = {};
};

INT_PTR CALLBACK LogOnProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* fields = reinterpret_cast<LogOnFields*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      fields = reinterpret_cast<LogOnFields*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      SendDlgItemMessageA(dialog, kLogOnUserId, EM_LIMITTEXT, kLogOnFieldChars, 0);
      SendDlgItemMessageA(dialog, kLogOnPasswordId, EM_LIMITTEXT, kLogOnFieldChars, 0);
      SetDlgItemTextA(dialog, kLogOnUserId, fields->user);
      SetFocus(GetDlgItem(dialog, fields->user[0] ? kLogOnPasswordId : kLogOnUserId));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && fields) {
        GetDlgItemTextA(dialog, kLogOnUserId, fields->user, sizeof fields->user);
        GetDlgItemTextA(dialog, kLogOnPasswordId, fields->password, sizeof fields->password);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

// ---- The tool row -----------------------------------------------------------------------

ExplorerState* StateOfToolRow(HWND toolRow) { return ExplorerStateOf(GetParent(toolRow)); }

// The Tab order of the explorer: the list, the name box (save modes), the
// Open or Save button, the view button, and back to the list.
HWND TabNeighbour(ExplorerState* state, HWND from, bool backwards) {
  const HWND row = state->request->toolRow;
  const HWND name = GetDlgItem(row, kExplorerNameId);
  const HWND ok = GetDlgItem(row, kExplorerOkId);
  const HWND view = GetDlgItem(row, kExplorerViewId);
  const bool saving = state->request->mode != kExplorerOpen;
  std::vector<HWND> ring{state->list};
  if (saving) ring.push_back(name);
  ring.push_back(ok);
  ring.push_back(view);
  for (std::size_t i = 0; i < ring.size(); ++i) {
    if (ring[i] != from) continue;
    return ring[(i + (backwards ? ring.size() - 1 : 1)) % ring.size()];
  }
  return state->list;
}

LRESULT CALLBACK TabSubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropA(control, "ExplorerTabProc"));
  if (message == WM_GETDLGCODE)
    return CallWindowProcA(previous, control, message, wParam, lParam) | DLGC_WANTTAB;
  if (message == WM_KEYDOWN && wParam == VK_TAB) {
    if (ExplorerState* state = StateOfToolRow(GetParent(control)))
      SetFocus(TabNeighbour(state, control, GetKeyState(VK_SHIFT) < 0));
    return 0;
  }
  if (message == WM_CHAR && wParam == '\t') return 0;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(control, "ExplorerTabProc");
  }
  return CallWindowProcA(previous, control, message, wParam, lParam);
}

void SubclassForTab(HWND control) {
  if (!control) return;
  const LONG_PTR previous = SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TabSubclassProc));
  SetPropA(control, "ExplorerTabProc", reinterpret_cast<HANDLE>(previous));
}

INT_PTR CALLBACK ToolRowProc(HWND row, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return FALSE;
    case WM_COMMAND:
      // The buttons act in the explorer window.
      if (HIWORD(wParam) == BN_CLICKED) {
        SendMessageA(GetParent(row), WM_COMMAND, wParam, lParam);
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

void SetButtonBitmap(HWND row, int id, int bitmap) {
  HBITMAP image = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(bitmap));
  if (!image) return;  // the caption stays
  HWND button = GetDlgItem(row, id);
  SetWindowLongPtrA(button, GWL_STYLE, GetWindowLongPtrA(button, GWL_STYLE) | BS_BITMAP);
  SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
}

HWND CreateToolRow(ExplorerState* state) {
  const HWND row = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(kExplorerToolRowId), state->window,
                                      &ToolRowProc, 0);
  if (!row) return nullptr;
  state->request->toolRow = row;
  SetButtonBitmap(row, kExplorerUpId, 167);
  SetButtonBitmap(row, kExplorerNewFolderId, 174);
  SetButtonBitmap(row, kExplorerViewId, 1162);
  SetDlgItemTextA(row, kExplorerOkId, state->request->okCaption);
  if (state->request->mode == kExplorerOpen) EnableWindow(GetDlgItem(row, kExplorerNameId), FALSE);
  for (int id : {kExplorerNameId, kExplorerViewId, kExplorerOkId}) SubclassForTab(GetDlgItem(row, id));
  RECT r{};
  GetWindowRect(row, &r);
  state->toolRowHeight = r.bottom - r.top;
  ShowWindow(row, SW_SHOW);
  return row;
}

// ---- Image lists ---------------------------------------------------------------------------

// Icons by index: 0 to 3 and 6 to 10 the item types, 4 and 5 the closed and
// open folders.
constexpr int kIconResources[] = {164, 162, 163, 1021, -1, -2, 1041, 1044, 1043, 1042, 1179};

HIMAGELIST MakeImageList(int size) {
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 11, 1);
  if (!list) return nullptr;
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  for (int resource : kIconResources) {
    HICON icon = nullptr;
    bool own = false;
    if (resource < 0) {
      SHFILEINFOA info{};
      const UINT flags = SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | (size == 16 ? SHGFI_SMALLICON : SHGFI_LARGEICON) |
                         (resource == -2 ? SHGFI_OPENICON : 0);
      if (SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, flags)) icon = info.hIcon;
      own = icon != nullptr;
    } else {
      icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCE(resource), IMAGE_ICON, size, size, 0));
      own = icon != nullptr;
    }
    if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);  // keeps the indexes in step
    ImageList_AddIcon(list, icon);
    if (own) DestroyIcon(icon);
  }
  return list;
}

// ---- The window --------------------------------------------------------------------------

void Layout(ExplorerState* state) {
  RECT client{};
  GetClientRect(state->window, &client);
  const int width = client.right - client.left;
  const int panel = width >= kPanelMinimumWindow ? kPanelWidth : 0;
  state->panel = RECT{0, 0, panel, client.bottom};
  const int rowHeight = state->toolRowHeight;
  if (state->request->toolRow)
    MoveWindow(state->request->toolRow, panel, 0, width - panel, rowHeight, TRUE);
  if (state->list) MoveWindow(state->list, panel, rowHeight, width - panel, client.bottom - rowHeight, TRUE);
  InvalidateRect(state->window, &state->panel, TRUE);
}

void AddColumn(HWND list, int index, const char* text, int width) {
  LVCOLUMN column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
  column.fmt = LVCFMT_LEFT;
  column.cx = width;
  column.pszText = const_cast<char*>(text);
  column.iSubItem = index;
  SendMessageA(list, LVM_INSERTCOLUMN, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

bool OnCreate(HWND window, const CREATESTRUCTA* create) {
  auto* request = static_cast<ExplorerRequest*>(create->lpCreateParams);
  if (!request) return false;
  auto* state = new ExplorerState;
  state->request = request;
  state->window = window;
  state->folder = request->startFolder && *request->startFolder ? request->startFolder : "\\";
  if (state->folder.back() != '\\') state->folder += '\\';
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  CreateToolRow(state);
  state->list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEW, "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_EDITLABELS | LVS_SHOWSELALWAYS,
                                0, 0, 10, 10, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kExplorerListId)),
                                GetModuleHandleA(nullptr), nullptr);
  if (!state->list) return false;
  state->smallImages = MakeImageList(16);
  state->largeImages = MakeImageList(32);
  SendMessageA(state->list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(state->smallImages));
  SendMessageA(state->list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(state->largeImages));
  AddColumn(state->list, 0, "Name", 300);
  AddColumn(state->list, 1, "Size", 100);
  AddColumn(state->list, 2, "Type", 100);
  AddColumn(state->list, 3, "Modified", 100);
  const ContainerRecord* container = request->container;
  char title[kExplorerPathSize + 32];
  std::snprintf(title, sizeof title, "Exploring %s",
                container && container->handle ? container->handle->fullPath.c_str() : "");
  SetWindowTextA(window, title);
  Layout(state);
  RefreshExplorerList(state, true);
  SetFocus(state->list);
  return true;
}

void OnDestroy(HWND window) {
  ExplorerState* state = ExplorerStateOf(window);
  SaveExplorerPlacement(window);
  if (!state) return;
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (state->list) DestroyWindow(state->list);
  if (state->request->toolRow && IsWindow(state->request->toolRow)) DestroyWindow(state->request->toolRow);
  state->request->toolRow = nullptr;
  if (state->smallImages) ImageList_Destroy(state->smallImages);
  if (state->largeImages) ImageList_Destroy(state->largeImages);
  state->request->done = 1;
  delete state;
}

void OnListKey(ExplorerState* state, WORD key) {
  switch (key) {
    case VK_BACK:
      if (CountPathComponents(state->folder) > 1) ExplorerGoUp(state);
      return;
    case VK_TAB: SetFocus(TabNeighbour(state, state->list, GetKeyState(VK_SHIFT) < 0)); return;
    case VK_RETURN: ExplorerOpenOrSave(state); return;
    case VK_DELETE: ExplorerDeleteSelection(state); return;
    case VK_F5: RefreshExplorerList(state, true); return;
    default: return;
  }
}

void OnDisplayInfo(ExplorerState* state, NMLVDISPINFO* info) {
  if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
  auto* entry = reinterpret_cast<DirectoryEntry*>(info->item.lParam);
  if (!entry) entry = ExplorerEntryAt(state, info->item.iItem);
  if (!entry) return;
  const std::string text = ExplorerCellText(state, *entry, info->item.iSubItem);
  std::snprintf(info->item.pszText, static_cast<std::size_t>(info->item.cchTextMax), "%s", text.c_str());
}

LRESULT OnNotify(ExplorerState* state, NMHDR* header) {
  if (!state || header->hwndFrom != state->list) return 0;
  switch (header->code) {
    case LVN_GETDISPINFO: OnDisplayInfo(state, reinterpret_cast<NMLVDISPINFO*>(header)); return 0;
    case LVN_KEYDOWN: OnListKey(state, reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey); return 0;
    case NM_DBLCLK: {
      const int index = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
      const DirectoryEntry* entry = ExplorerEntryAt(state, index);
      if (!entry) return 0;
      if ((entry->flags & 1) && !IsExplorerItem(*entry)) ExplorerEnterFolder(state, *entry);
      else ExplorerOpenOrSave(state);
      return 0;
    }
    case LVN_COLUMNCLICK: ExplorerColumnClick(state, reinterpret_cast<NMLISTVIEW*>(header)->iSubItem); return 0;
    case LVN_ITEMCHANGED: InvalidateRect(state->window, &state->panel, TRUE); return 0;
    case LVN_BEGINLABELEDIT: return FALSE;
    case LVN_ENDLABELEDIT: {
      auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
      if (!info->item.pszText) return FALSE;
      ExplorerRenameEntry(state, info->item.iItem, info->item.pszText);
      return FALSE;  // the texts come from the entry, renamed or not
    }
    default: return 0;
  }
}

void OnCommand(ExplorerState* state, int id) {
  if (!state) return;
  switch (id) {
    case kExplorerUpId: ExplorerGoUp(state); return;
    case kExplorerNewFolderId: CreateExplorerFolder(state); return;
    case kExplorerViewId: ExplorerShowViewMenu(state); return;
    case kExplorerOkId:
    case IDOK:  // Enter in the name box
      ExplorerOpenOrSave(state);
      return;
    case kExplorerViewLargeIcons:
    case kExplorerViewDetails:
    case kExplorerViewSmallIcons:
    case kExplorerViewList: ExplorerSetView(state, id); return;
    default: return;
  }
}

LRESULT CALLBACK ExplorerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam)) ? 0 : -1;
    case WM_SIZE:
      if (ExplorerState* state = ExplorerStateOf(window)) Layout(state);
      return 0;
    case WM_SETFOCUS:
      if (ExplorerState* state = ExplorerStateOf(window); state && state->list) SetFocus(state->list);
      return 0;
    case WM_NOTIFY: return OnNotify(ExplorerStateOf(window), reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND: OnCommand(ExplorerStateOf(window), LOWORD(wParam)); return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      if (ExplorerState* state = ExplorerStateOf(window)) PaintExplorerPanel(state, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_DESTROY: OnDestroy(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

// Runs the explorer's messages until it is done. Without a display, the
// test's hook acts when the queue runs dry; a window left open afterwards is
// closed.
void RunExplorerLoop(HWND window, ExplorerRequest* request) {
  bool hookCalled = false;
  while (!request->done && IsWindow(window)) {
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (request->toolRow && IsDialogMessageA(request->toolRow, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    if (pl3::HasRealDisplay()) {
      WaitMessage();
      continue;
    }
    if (!hookCalled && IdleHook()) {
      hookCalled = true;
      IdleHook()(window);
      continue;
    }
    if (!hookCalled) std::fprintf(stderr, "file explorer left open on the headless backend: closing it\n");
    DestroyWindow(window);
  }
}

}  // namespace

void ExplorerWarn(HWND owner, const char* text) { MessageBox(owner, text, "Pelmora3", MB_ICONEXCLAMATION); }

NetFSHandle* ExplorerHandle(const ExplorerState* state) {
  return state && state->request && state->request->container ? state->request->container->handle : nullptr;
}

ExplorerState* ExplorerStateOf(HWND explorer) {
  return explorer ? reinterpret_cast<ExplorerState*>(GetWindowLongPtrA(explorer, GWLP_USERDATA)) : nullptr;
}

void SetExplorerIdleHook(ExplorerIdleHook hook) { IdleHook() = std::move(hook); }

char* RunFileExplorer(HWND owner, ContainerRecord* container, int mode, const char* startFolder,
                      const char* typeFilter, std::uint32_t* result) {
  (void)kTemplatesRegistered;
  (void)kResetRegistered;
  auto* path = static_cast<char*>(std::calloc(kExplorerPathSize, 1));
  ExplorerRequest request;
  request.startFolder = startFolder;
  request.resultPath = path;
  request.typeFilter = typeFilter;
  request.okCaption = mode == static_cast<int>(kExplorerOpen) ? "Open" : "Save";
  request.container = container;
  request.mode = static_cast<std::uint32_t>(mode);
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &ExplorerWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCE(162));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kExplorerClass;
  RegisterClassA(&wc);
  const HWND window = CreateWindowExA(0, kExplorerClass, "Pelmora File Explorer", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, &request);
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  const bool frameWasEnabled = FrameWindow && FrameWindow != owner && IsWindowEnabled(FrameWindow);
  if (window) {
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    if (frameWasEnabled) EnableWindow(FrameWindow, FALSE);
    if (!RestoreExplorerPlacement(window)) ShowWindow(window, SW_SHOWNORMAL);
    if (ExplorerState* state = ExplorerStateOf(window)) SetFocus(state->list);
    RunExplorerLoop(window, &request);
  }
  if (ownerWasEnabled && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (frameWasEnabled && IsWindow(FrameWindow)) EnableWindow(FrameWindow, TRUE);
  if (window && IsWindow(window)) DestroyWindow(window);
  UnregisterClassA(kExplorerClass, instance);
  if (result) *result = request.result;
  return path;
}

namespace {

char* CopyText(const char* text) {
  const std::size_t length = text ? std::strlen(text) : 0;
  auto* copy = static_cast<char*>(std::malloc(length + 1));
  if (copy) {
    if (length) std::memcpy(copy, text, length);
    copy[length] = '\0';
  }
  return copy;
}

// Asks for a user name and password; false on Cancel.
bool AskLogOn(HWND owner, LogOnFields* fields) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(kLogOnDialogId), owner, &LogOnProc,
                         reinterpret_cast<LPARAM>(fields)) == IDOK;
}

}  // namespace

ExplorerResult* ExploreContainerFile(HWND owner, const char* containerPath, int mode, const char* startFolder,
                                     const char* typeFilter, const char* user, const char* password) {
  auto* result = new ExplorerResult{CopyText(containerPath), nullptr, kExplorerCancelled};
  // A record that was open before belongs to whoever opened it and stays.
  const std::vector<ContainerRecord*> before = FilingContainerRecords();
  ContainerRecord* record = FilingSystem_OpenContainer(containerPath, user ? user : "", password ? password : "");
  std::uint32_t error = NetFS_GetLastError();
  LogOnFields fields;
  std::snprintf(fields.user, sizeof fields.user, "%s", user ? user : "");
  int failures = 0;
  for (;;) {
    if (error == kNetfsOk && !record) error = kNetfsNotAContainer;
    switch (error) {
      case kNetfsOk: {
        std::uint32_t code = kExplorerCancelled;
        char* path = RunFileExplorer(owner, record, mode, startFolder, typeFilter, &code);
        CloseIfOpenedHere(record, before);
        result->status = code;
        if (code == kExplorerChosen) result->itemPath = path;
        else std::free(path);
        return result;
      }
      case kNetfsWrongPassword:
      case kNetfsUnknownUser:
        if (failures++ > 0)
          ExplorerWarn(owner,
                       "The system could not log you onto the file, check your username and password are correct.");
        if (!record || !record->handle || !AskLogOn(owner, &fields)) {
          if (record) CloseIfOpenedHere(record, before);
          return result;
        }
        NetFS_Login(record->handle, fields.user, fields.password);
        error = NetFS_GetLastError();
        continue;
      case kNetfsNoReply: ExplorerWarn(owner, "Unable to contact server, try again later"); break;
      case kNetfsNotAContainer: ExplorerWarn(owner, "Unable to open file"); break;
      default: ExplorerWarn(owner, "An unknown error occurred while trying to open the file, try again later"); break;
    }
    if (record) CloseIfOpenedHere(record, before);
    return result;
  }
}

// The store's call: the explorer in the given mode over the whole container.
ExplorerResult* ExploreContainerFile(HWND owner, const char* containerPath, int mode, const char* startPath, int,
                                     const char* user, const char* password) {
  return ExploreContainerFile(owner, containerPath, mode, startPath, static_cast<const char*>(nullptr), user,
                              password);
}

void FreeExplorerResult(ExplorerResult* result) {
  if (!result) return;
  std::free(result->containerPath);
  std::free(result->itemPath);
  delete result;
}

namespace {

// Filter lists of the open dialog, by mode.
constexpr char kLibraryFilter[] = "PL3 Libraries (*.P3L)\0*.P3L\0";
constexpr char kProjectFilter[] = "PL3 Projects (*.P3P)\0*.P3P\0";
constexpr char kAllFilter[] = "PL3 Files (*.P3P, *.P3L)\0*.P3P;*.P3L\0";

std::string FiltersFor(int mode) {
  auto add = [](std::string& to, const char* pair, std::size_t size) { to.append(pair, size - 1); };
  std::string filters;
  if (mode == static_cast<int>(kExplorerSaveLibrary)) {
    add(filters, kLibraryFilter, sizeof kLibraryFilter);
    add(filters, kProjectFilter, sizeof kProjectFilter);
    add(filters, kAllFilter, sizeof kAllFilter);
  } else if (mode == static_cast<int>(kExplorerSaveProject)) {
    add(filters, kProjectFilter, sizeof kProjectFilter);
  } else {
    add(filters, kAllFilter, sizeof kAllFilter);
    add(filters, kProjectFilter, sizeof kProjectFilter);
    add(filters, kLibraryFilter, sizeof kLibraryFilter);
  }
  filters.push_back('\0');
  return filters;
}

bool EndsWithExtension(const char* path, const char* extension) {
  const std::size_t n = std::strlen(path), m = std::strlen(extension);
  return n >= m && pl3::EqualsNoCase(std::string_view(path + n - m, m), extension);
}

bool HasExtension(const char* path) {
  const char* slash = std::strrchr(path, '\\');
  const char* name = slash ? slash + 1 : path;
  return std::strchr(name, '.') != nullptr;
}

HWND ActiveDocumentWindow(HWND owner) {
  if (MDIClientWindow)
    if (HWND active = reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDIGETACTIVE, 0, 0))) return active;
  return owner;
}

}  // namespace

ExplorerResult* BrowseContainerFile(HWND owner, int mode, const char* typeFilter, char* path) {
  char fallback[kExplorerPathSize] = {};
  if (!path) path = fallback;
  const std::string filters = FiltersFor(mode);
  for (;;) {
    char file[kDialogPathChars] = {};
    std::string folder;
    const DWORD attributes = path[0] ? GetFileAttributes(path) : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      folder = path;
    } else if (path[0]) {
      const char* slash = std::strrchr(path, '\\');
      if (slash) folder.assign(path, static_cast<std::size_t>(slash - path));
      const char* name = slash ? slash + 1 : path;
      const std::size_t length = std::min(std::strlen(name), sizeof file - 1);
      std::memcpy(file, name, length);
    }
    OPENFILENAME ofn{};
    ofn.lStructSize = kOpenFileNameSize;
    ofn.hwndOwner = ActiveDocumentWindow(owner);
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = OFN_EXPLORER | kOfnShareAware | OFN_HIDEREADONLY;
    if (!GetOpenFileName(&ofn)) return nullptr;
    if (mode == static_cast<int>(kExplorerSaveProject) && EndsWithExtension(file, ".p3l")) {
      ExplorerWarn(owner, "You cannot save this object to a library, please select a project");
      std::snprintf(path, kExplorerPathSize, "%s", file);
      continue;
    }
    std::string chosen = file;
    if (!HasExtension(file)) chosen += mode == static_cast<int>(kExplorerSaveProject) ? ".p3p" : ".p3l";
    std::snprintf(path, kExplorerPathSize, "%s", chosen.c_str());
    ExplorerResult* result =
        ExploreContainerFile(owner, chosen.c_str(), mode, "\\", typeFilter, "Administrator", "");
    if (result && result->status == kExplorerBackToFiles) {
      FreeExplorerResult(result);
      continue;
    }
    if (!result || result->status != kExplorerChosen) {
      FreeExplorerResult(result);
      return nullptr;
    }
    return result;
  }
}

// The store's call: the item choosers open items in mode 1.
ExplorerResult* BrowseContainerFile(HWND parent, int mode, int, const char* filter, const char*, const char*,
                                    const char* startPath) {
  // A start the buffer cannot hold whole is not cut: the dialog starts at its default.
  char path[kExplorerPathSize] = {};
  if (startPath && std::strlen(startPath) < sizeof path) std::snprintf(path, sizeof path, "%s", startPath);
  return BrowseContainerFile(parent, mode, filter, path);
}

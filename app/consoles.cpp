#include "app/consoles.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/about_box.h"
#include "app/application_globals.h"
#include "app/core_utilities.h"
#include "app/settings_block.h"
#include "edit/window_data.h"
#include "objects/cursor_zoom.h"
#include "objects/design_walks.h"
#include "objects/view_seams.h"
#include "app/console_action_seams.h"
#include "store/document_titles.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/responder.h"
#include "platform/scroll.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/resource_images.h"
#include "platform/sync.h"
#include "platform/user.h"
#include "store/tower.h"

HWND SystemConsoleWindow = nullptr;
HWND DiagramConsoleWindow = nullptr;
ConsolePane ProgramLog{};
HFONT ConsoleFont = nullptr;

namespace {

constexpr int kUserMessageDialog = 1202;
constexpr int kUserMessageEdit = 1000;
constexpr COLORREF kEvenRowColour = RGB(232, 232, 208);

// What a console window keeps in its user data.
struct ConsoleWindowRecord {
  ConsolePane* shown;
  HWND window;
};

ATOM gConsoleClass = 0;
ConsolePane* gShownDiagramPane = nullptr;
WNDPROC gListProc = nullptr;

const char* const kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

void ResetConsoles() {
  SystemConsoleWindow = DiagramConsoleWindow = nullptr;
  ProgramLog = ConsolePane{};
  ConsoleFont = nullptr;
  gConsoleClass = 0;
  gShownDiagramPane = nullptr;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetConsoles);

HFONT CurrentConsoleFont() {
  return ConsoleFont ? ConsoleFont : reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The payload of the newest child of that code under the entity, with its
// stored size; null when there is none.
const std::uint8_t* ChildPayload(Entity* parent, std::uint16_t code, std::uint32_t* size) {
  if (!parent) return nullptr;
  for (TypeGroup* g = NodeAt<TypeGroup>(parent->firstChild); g; g = NodeAt<TypeGroup>(g->next)) {
    if (g->typeCode != code) continue;
    Entity* e = NodeAt<Entity>(g->firstChild);
    if (!e) return nullptr;
    *size = e->payloadSize;
    return EntityPayload(e);
  }
  return nullptr;
}

// Copies a field into `out` as far as the stored payload holds it; the rest stays zero.
bool ReadField(Entity* line, std::uint16_t code, void* out, std::size_t size) {
  std::uint32_t stored = 0;
  const std::uint8_t* p = ChildPayload(line, code, &stored);
  std::memset(out, 0, size);
  if (!p) return false;
  std::memcpy(out, p, std::min<std::size_t>(size, stored));
  return true;
}

void Insert(const Tower* line, std::uint16_t code, const void* data, std::uint32_t size) {
  FreeTower(InsertEntity(line, size, code, data));
}

std::uint8_t VisibleFlag(std::uint32_t kind) {
  if (!Settings) return 1;
  return kind < static_cast<std::uint32_t>(kConsoleKindSlots) ? Settings->ConsoleVisible[kind] : 1;
}

bool SavedFlag(std::uint32_t kind) {
  if (!Settings) return true;
  return kind < static_cast<std::uint32_t>(kConsoleKindSlots) ? Settings->ConsoleSaved[kind] != 0 : true;
}

bool PaneShowsKind(const ConsolePane& pane, std::uint32_t kind) {
  return kind < static_cast<std::uint32_t>(kConsoleVisibleKinds) ? pane.visible[kind] != 0 : true;
}

// Measures the shown text and widens the pane's horizontal extent.
void MeasureLine(ConsolePane* pane, ConsoleLine* record) {
  char shown[kConsoleTextLimit + 128];
  FormatConsoleLineText(*record, shown, sizeof shown);
  HDC dc = GetDC(pane->list);
  auto old = SelectObject(dc, CurrentConsoleFont());
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, shown, -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(pane->list, dc);
  record->textRect = r;
  pane->extent = std::max<std::int32_t>(pane->extent, (r.right - r.left) + 20);
  SendMessageA(pane->list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pane->extent), 0);
}

// Lists the record; the selection follows it only while the caret sits on
// the last line (or the list was empty).
void ListLine(ConsolePane* pane, ConsoleLine* record) {
  if (!pane->list) return;
  const LRESULT caret = SendMessageA(pane->list, LB_GETCURSEL, 0, 0);
  const LRESULT count = SendMessageA(pane->list, LB_GETCOUNT, 0, 0);
  const LRESULT index = SendMessageA(pane->list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record));
  if (index < 0) return;
  if (count == 0 || caret == count - 1) {
    SendMessageA(pane->list, LB_SETSEL, FALSE, -1);
    SendMessageA(pane->list, LB_SETSEL, TRUE, index);
    SendMessageA(pane->list, LB_SETCARETINDEX, static_cast<WPARAM>(index), 0);
  }
}

// The 21013 record of a line node, made afresh.
ConsoleLine* NewLineRecord(const Tower* line, const ConsoleLine& values) {
  DeleteChildEntities(line, Type_ConsoleLineRecord);
  Tower* node = InsertEntity(line, sizeof(ConsoleLine), Type_ConsoleLineRecord, &values);
  auto* record = node ? reinterpret_cast<ConsoleLine*>(TowerPayload(node)) : nullptr;
  FreeTower(node);
  return record;
}

LRESULT CALLBACK ConsoleListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEWHEEL) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(list, SB_VERT, &info);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    const int page = std::max(1, static_cast<int>(info.nPage) / 2);
    const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)) - notches * page;
    top = std::clamp(top, 0, std::max(0, static_cast<int>(count) - 1));
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return 0;
  }
  return CallWindowProcA(gListProc, list, message, wParam, lParam);
}

void ReleaseLineHandle(ConsoleLine* record) {
  Tower* handle = record->line;
  record->line = nullptr;
  ReleaseTower(&handle);
}

ConsoleWindowRecord* RecordOf(HWND window) {
  return reinterpret_cast<ConsoleWindowRecord*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void DeleteSelectedLines(HWND list) {
  const LRESULT selected = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
  if (selected <= 0) return;
  if (MessageBox(list, "Are you sure you want to delete these items?", "Pelmora3", MB_YESNO | MB_ICONQUESTION) !=
      IDYES)
    return;
  std::vector<int> indices(static_cast<std::size_t>(selected));
  SendMessageA(list, LB_GETSELITEMS, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(indices.data()));
  for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
    auto* record = reinterpret_cast<ConsoleLine*>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(*it), 0));
    // The list lets go of the record (and its handle) first; the line's
    // nodes, the record among them, go after.
    Tower* line = record && record != reinterpret_cast<ConsoleLine*>(LB_ERR) && record->line
                      ? DuplicateTower(record->line) : nullptr;
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(*it), 0);
    if (line) {
      DeleteEntity(line);
      FreeTower(line);
    }
  }
}

// The text OK took from the dialog (heap), for the one dialog open at a time.
char* gEditedText = nullptr;

INT_PTR CALLBACK UserMessageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* record = reinterpret_cast<ConsoleLine*>(lParam);
      HWND edit = GetDlgItem(dialog, kUserMessageEdit);
      SetWindowTextA(edit, record && record->text ? record->text : "");
      SendMessageA(edit, EM_SETSEL, 0, -1);
      SetFocus(edit);
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        HWND edit = GetDlgItem(dialog, kUserMessageEdit);
        const int length = GetWindowTextLengthA(edit);
        std::free(gEditedText);
        gEditedText = static_cast<char*>(std::calloc(static_cast<std::size_t>(length) + 1, 1));
        GetWindowTextA(edit, gEditedText, length + 1);
      }
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// OK of the User Console Message dialog: the stored text is replaced too, so
// the edit survives a save.
void EditUserMessage(HWND consoleWindow, ConsolePane* pane, ConsoleLine* record) {
  std::free(gEditedText);
  gEditedText = nullptr;
  const INT_PTR result = DialogBoxParamA(nullptr, MAKEINTRESOURCE(kUserMessageDialog), consoleWindow,
                                         &UserMessageDlgProc, reinterpret_cast<LPARAM>(record));
  char* text = gEditedText;
  gEditedText = nullptr;
  if (result != IDOK || !text) {
    std::free(text);
    return;
  }
  if (record->line) {
    DeleteChildEntities(record->line, Type_ConsoleLineText);
    Tower* stored = InsertEntity(record->line, static_cast<std::uint32_t>(std::strlen(text) + 1), Type_ConsoleLineText,
                                 text);
    record->text = stored ? reinterpret_cast<const char*>(TowerPayload(stored)) : record->text;
    FreeTower(stored);
    std::free(text);
  } else {
    std::free(record->spare);
    record->spare = text;
    record->text = text;
  }
  MeasureLine(pane, record);
  InvalidateRect(pane->list, nullptr, TRUE);
  if (pane == gShownDiagramPane) RecordDesignChange();
}

// Marks every entity of the tree whose identity is among the ids.
void MarkEntities(Entity* parent, const std::vector<std::uint32_t>& ids, int depth) {
  if (!parent || depth > 64) return;
  for (TypeGroup* g = NodeAt<TypeGroup>(parent->firstChild); g; g = NodeAt<TypeGroup>(g->next))
    for (Entity* e = NodeAt<Entity>(g->firstChild); e; e = NodeAt<Entity>(e->next)) {
      if (std::find(ids.begin(), ids.end(), NodeRefOf(e)) != ids.end()) e->flags |= kEntityHighlighted;
      MarkEntities(e, ids, depth + 1);
    }
}

// Marks the active design's entities that the line refers to.
bool MarkReferencedObjects(const ConsoleLine& record) {
  if (!record.line || !ActiveWindowData || !ActiveWindowData->design) return false;
  std::vector<std::uint32_t> ids;
  Tower* refs = GetChildTower(record.line, Type_ConsoleLineReference);
  while (refs && FindNextEntity(refs)) {
    std::uint32_t id = 0;
    if (ReadField(TowerEntity(refs), Type_ConsoleReferenceId, &id, sizeof id)) ids.push_back(id);
  }
  FreeTower(refs);
  if (ids.empty()) return false;
  MarkEntities(TowerEntity(ActiveWindowData->design), ids, 0);
  RedrawView(ActiveWindowData->Window);
  return true;
}

void OnLineDoubleClick(HWND consoleWindow, ConsolePane* pane) {
  if (!pane || !pane->list) return;
  const LRESULT caret = SendMessageA(pane->list, LB_GETCARETINDEX, 0, 0);
  if (caret < 0) return;
  auto* record = reinterpret_cast<ConsoleLine*>(SendMessageA(pane->list, LB_GETITEMDATA, static_cast<WPARAM>(caret), 0));
  if (!record || record == reinterpret_cast<ConsoleLine*>(LB_ERR)) return;
  if (record->kind == kConsoleUser) {
    EditUserMessage(consoleWindow, pane, record);
    return;
  }
  const bool marked = MarkReferencedObjects(*record);
  if ((record->flags & kConsoleHasPage) && ActiveWindowData) ShowSchematicPage(ActiveWindowData, record->page);
  if ((record->flags & kConsoleHasPoint) && ActiveWindowData) {
    MoveCursorToPoint(ActiveWindowData->Window, pl3::Point{record->x, record->y});
    RedrawView(ActiveWindowData->Window);
    SetFocus(static_cast<HWND>(ActiveWindowData->Window));
  } else if (!marked) {
    MessageBeep(MB_ICONEXCLAMATION);
  }
}

void DrawLine(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  const auto* record = reinterpret_cast<const ConsoleLine*>(item.itemData);
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT) : ((item.itemID & 1) ? RGB(255, 255, 255) : kEvenRowColour);
  HBRUSH brush = CreateSolidBrush(back);
  FillRect(dc, &item.rcItem, brush);
  DeleteObject(brush);
  if (!record) return;
  LPCSTR icon = nullptr;
  switch (record->flags & kConsoleIconMask) {
    case kConsoleIconError: icon = IDI_HAND; break;
    case kConsoleIconWarning: icon = IDI_EXCLAMATION; break;
    case kConsoleIconQuestion: icon = IDI_QUESTION; break;
    default: break;
  }
  const int height = item.rcItem.bottom - item.rcItem.top;
  if (icon)
    DrawIconEx(dc, item.rcItem.left + 2, item.rcItem.top + (height - 16) / 2, LoadIcon(nullptr, icon), 16, 16, 0,
               nullptr, DI_NORMAL);
  char shown[kConsoleTextLimit + 128];
  FormatConsoleLineText(*record, shown, sizeof shown);
  auto old = SelectObject(dc, CurrentConsoleFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT text = item.rcItem;
  text.left += 20;
  DrawTextA(dc, shown, -1, &text, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, old);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

}  // namespace

void FormatConsoleTimeStamp(const SYSTEMTIME& t, char* out, std::size_t size) {
  const char* day = t.wDayOfWeek < 7 ? kDayNames[t.wDayOfWeek] : "";
  const char* month = t.wMonth >= 1 && t.wMonth <= 12 ? kMonthNames[t.wMonth - 1] : "";
  std::snprintf(out, size, "%s %d %s %d %.2d:%.2d:%.2d", day, t.wDay, month, t.wYear, t.wHour, t.wMinute, t.wSecond);
}

void FormatConsoleLineText(const ConsoleLine& line, char* out, std::size_t size) {
  const char* text = line.text ? line.text : "";
  if (!(line.flags & kConsoleStamped)) {
    std::snprintf(out, size, "%s", text);
    return;
  }
  char stamp[128];
  FormatConsoleTimeStamp(line.time, stamp, sizeof stamp);
  std::snprintf(out, size, "%s (%s)", text, stamp);
}

ATOM RegisterConsoleClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNCLIENT;
  wc.lpfnWndProc = &ConsoleWndProc;
  wc.cbWndExtra = 4;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(COLOR_3DFACE + 1));
  wc.lpszClassName = "CONSOLECLASS";
  gConsoleClass = RegisterClassA(&wc);
  return gConsoleClass;
}

void CreateConsolePane(HWND consoleWindow, std::uint32_t owner, ConsolePane* pane, Tower* tower) {
  if (!pane) return;
  *pane = ConsolePane{};
  // Keyboard input too, so that Escape, Delete and Ctrl+A reach the console.
  pane->list = CreateWindowExA(0, "LISTBOX", "",
                               WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                                   LBS_OWNERDRAWVARIABLE | LBS_EXTENDEDSEL | LBS_WANTKEYBOARDINPUT,
                               0, 0, 1, 1, consoleWindow, nullptr, nullptr, nullptr);
  if (pane->list) {
    WNDPROC old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(pane->list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ConsoleListProc)));
    if (old != &ConsoleListProc) gListProc = old;
  }
  pane->owner = owner;
  pane->extent = 0;
  for (int k = 0; k < kConsoleVisibleKinds; ++k) pane->visible[k] = VisibleFlag(static_cast<std::uint32_t>(k));
  if (!tower) return;
  pane->lines = OpenChildTower(tower, Type_ConsoleLines);
  if (!pane->lines) {
    pane->lines = InsertEmptyEntity(tower, Type_ConsoleLines);
    const std::uint32_t one = 1;
    if (pane->lines) Insert(pane->lines, Type_ConsoleNextNumber, &one, sizeof one);
  }
}

ConsoleLine* AddConsoleMessage(ConsolePane* pane, std::uint32_t kind, std::int32_t x, std::int32_t y,
                               std::int32_t page, std::uint32_t flags, const char* format, ...) {
  if (!pane) return nullptr;
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char text[kConsoleTextLimit];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format ? format : "", args);
  va_end(args);
  const auto textSize = static_cast<std::uint32_t>(std::strlen(text) + 1);

  ConsoleLine values{};
  values.kind = kind;
  values.flags = flags;
  values.time = now;
  values.x = x;
  values.y = y;
  values.page = page;
  ConsoleLine* record = nullptr;
  if (pane->lines) {
    Tower* line = InsertEmptyEntity(pane->lines, Type_ConsoleLine);
    if (!line) return nullptr;
    auto* next = static_cast<std::uint32_t*>(GetEntityData(pane->lines, Type_ConsoleNextNumber));
    std::uint32_t number = 1;
    if (next) std::memcpy(&number, next, sizeof number);
    Insert(line, Type_ConsoleLineNumber, &number, sizeof number);
    if (next) {
      const std::uint32_t after = number + 1;
      std::memcpy(next, &after, sizeof after);
    }
    values.line = line;
    record = NewLineRecord(line, values);
    Insert(line, Type_ConsoleLineFlags, &flags, sizeof flags);
    Insert(line, Type_ConsoleLineKind, &kind, sizeof kind);
    Insert(line, Type_ConsoleLineTime, &now, sizeof now);
    const std::int32_t point[2] = {x, y};
    Insert(line, Type_ConsoleLinePoint, point, sizeof point);
    Insert(line, Type_ConsoleLinePage, &page, sizeof page);
    Tower* stored = InsertEntity(line, textSize, Type_ConsoleLineText, text);
    if (record) record->text = stored ? reinterpret_cast<const char*>(TowerPayload(stored)) : "";
    FreeTower(stored);
    if (!record) return nullptr;
  } else {
    record = static_cast<ConsoleLine*>(std::malloc(sizeof(ConsoleLine)));
    *record = values;
    char* copy = static_cast<char*>(std::malloc(textSize));
    std::memcpy(copy, text, textSize);
    record->spare = copy;
    record->text = copy;
  }
  if (pane->list) MeasureLine(pane, record);
  if (PaneShowsKind(*pane, kind)) {
    ListLine(pane, record);
  } else if (!pane->lines) {
    // Nothing keeps a hidden line of a pane without lines.
    std::free(record->spare);
    std::free(record);
    return nullptr;
  }
  return record;
}

void AttachConsoleMessageData(ConsolePane* pane, ConsoleLine* line, const Tower* object) {
  if (!pane || !pane->lines || !line || !line->line || !object) return;
  Entity* entity = TowerEntity(object);
  if (!entity) return;
  Tower* reference = InsertEmptyEntity(line->line, Type_ConsoleLineReference);
  if (!reference) return;
  const std::uint32_t id = NodeRefOf(entity);
  Insert(reference, Type_ConsoleReferenceId, &id, sizeof id);
  std::uint8_t head[28] = {};
  std::memcpy(head, EntityPayload(entity), std::min<std::uint32_t>(sizeof head, entity->payloadSize));
  Insert(reference, Type_ConsoleReferenceHead, head, sizeof head);
  FreeTower(reference);
}

void LoadConsolePane(ConsolePane* pane, Tower* tower) {
  if (!pane) return;
  if (!pane->lines && tower) pane->lines = OpenChildTower(tower, Type_ConsoleLines);
  if (!pane->lines) return;
  struct Found {
    std::uint32_t number;
    Tower* line;
  };
  std::vector<Found> found;
  Tower* walk = GetChildTower(pane->lines, Type_ConsoleLine);
  while (walk && FindNextEntity(walk)) {
    std::uint32_t number = 0;
    // A line without its number cannot be placed: it is left alone.
    if (!ReadField(TowerEntity(walk), Type_ConsoleLineNumber, &number, sizeof number)) continue;
    found.push_back({number, DuplicateTower(walk)});
  }
  FreeTower(walk);
  std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.number < b.number; });
  std::uint32_t largest = 0;
  for (const Found& f : found) largest = std::max(largest, f.number);
  DeleteChildEntities(pane->lines, Type_ConsoleNextNumber);
  const std::uint32_t next = largest + 1;
  Insert(pane->lines, Type_ConsoleNextNumber, &next, sizeof next);

  for (Found& f : found) {
    Entity* line = TowerEntity(f.line);
    ConsoleLine values{};
    ReadField(line, Type_ConsoleLineKind, &values.kind, sizeof values.kind);
    if (!SavedFlag(values.kind)) {
      DeleteEntity(f.line);
      FreeTower(f.line);
      continue;
    }
    ReadField(line, Type_ConsoleLineFlags, &values.flags, sizeof values.flags);
    ReadField(line, Type_ConsoleLineTime, &values.time, sizeof values.time);
    std::int32_t point[2] = {};
    ReadField(line, Type_ConsoleLinePoint, point, sizeof point);
    values.x = point[0];
    values.y = point[1];
    ReadField(line, Type_ConsoleLinePage, &values.page, sizeof values.page);
    std::uint32_t textSize = 0;
    const auto* text = reinterpret_cast<const char*>(ChildPayload(line, Type_ConsoleLineText, &textSize));
    // A text that does not end within its node is not shown.
    if (!text || !std::memchr(text, 0, textSize)) {
      FreeTower(f.line);
      continue;
    }
    values.line = f.line;
    ConsoleLine* record = NewLineRecord(f.line, values);
    if (!record) {
      FreeTower(f.line);
      continue;
    }
    // Re-read: making the record node may not move the text, but the pointer
    // is taken from the tree as it now stands.
    record->text = reinterpret_cast<const char*>(ChildPayload(line, Type_ConsoleLineText, &textSize));
    if (pane->list) MeasureLine(pane, record);
    if (PaneShowsKind(*pane, values.kind) && pane->list)
      ListLine(pane, record);
    else
      ReleaseLineHandle(record);
  }
}

ConsolePane* ShownConsolePane() { return gShownDiagramPane; }

void ShowConsolePane(ConsolePane* pane) {
  if (gShownDiagramPane && gShownDiagramPane != pane && gShownDiagramPane->list)
    ShowWindow(gShownDiagramPane->list, SW_HIDE);
  gShownDiagramPane = pane;
  if (DiagramConsoleWindow) {
    if (ConsoleWindowRecord* r = RecordOf(DiagramConsoleWindow)) r->shown = pane;
    RECT client{};
    GetClientRect(DiagramConsoleWindow, &client);
    SendMessageA(DiagramConsoleWindow, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
  }
  if (pane && pane->list) ShowWindow(pane->list, SW_SHOW);
  if (FrameWindow) {
    RECT client{};
    GetClientRect(FrameWindow, &client);
    SendMessageA(FrameWindow, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
  }
}

void DestroyConsolePane(ConsolePane* pane) {
  if (!pane) return;
  if (pane->list) DestroyWindow(pane->list);
  pane->list = nullptr;
  ReleaseTower(&pane->lines);
  // The last document's pane goes with it; no other pane is left shown on a freed one.
  if (CountDocumentWindows() == 1 || gShownDiagramPane == pane) gShownDiagramPane = nullptr;
}

void LogDocumentStart(DocumentStart how) {
  if (!ActiveWindowData || !ActiveWindowData->Console) return;
  auto* pane = static_cast<ConsolePane*>(ActiveWindowData->Console);
  const char* text = how == DocumentStart::Created    ? "Diagram started."
                     : how == DocumentStart::Imported ? "Pelmora diagram imported."
                                                      : "Diagram opened.";
  AddConsoleMessage(pane, kConsoleGeneral, 0, 0, 0, kConsoleStamped, "%s", text);
  if (!pane->list) return;
  const LRESULT count = SendMessageA(pane->list, LB_GETCOUNT, 0, 0);
  if (count <= 0) return;
  SendMessageA(pane->list, LB_SETTOPINDEX, static_cast<WPARAM>(count - 1), 0);
  SendMessageA(pane->list, LB_SETSEL, FALSE, count - 1);
}

void CreateConsoles() {
  ConsoleFont = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  SystemConsoleWindow = CreateWindowExA(0, "CONSOLECLASS", "", style, 0, 0, 1, 1, FrameWindow, nullptr, nullptr, nullptr);
  DiagramConsoleWindow = CreateWindowExA(0, "CONSOLECLASS", "", style, 0, 0, 1, 1, FrameWindow, nullptr, nullptr, nullptr);
  for (HWND w : {SystemConsoleWindow, DiagramConsoleWindow}) {
    if (!w) continue;
    auto* record = new ConsoleWindowRecord{nullptr, w};
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  }
  CreateConsolePane(SystemConsoleWindow, 0, &ProgramLog, ProgramTower);
  ProgramLogPane = &ProgramLog;
  if (SystemConsoleWindow) RecordOf(SystemConsoleWindow)->shown = &ProgramLog;
  AddConsoleMessage(&ProgramLog, kConsoleGeneral, 0, 0, 0, 0, "Pelmora3 started %.1d.%.2d.%.4d (Built on %s)",
                    kProgramVersion[0], kProgramVersion[1], kProgramVersion[2], GetBuildDateText());
  if (SystemConsoleWindow) ShowWindow(SystemConsoleWindow, SW_SHOW);
  if (DiagramConsoleWindow) ShowWindow(DiagramConsoleWindow, SW_SHOW);
  if (ProgramLog.list) {
    ShowWindow(ProgramLog.list, SW_SHOW);
    BringWindowToTop(ProgramLog.list);
  }
}

void DestroyProgramLog() {
  if (ProgramLog.list) DestroyWindow(ProgramLog.list);
  ProgramLog.list = nullptr;
  ReleaseTower(&ProgramLog.lines);
}

LRESULT CALLBACK ConsoleWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ConsoleWindowRecord* record = RecordOf(window);
  switch (message) {
    case WM_SIZE:
      if (record && record->shown && record->shown->list)
        MoveWindow(record->shown->list, 1, 1, LOWORD(lParam) - 2, HIWORD(lParam) - 4, TRUE);
      return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_PRINT: {
      PAINTSTRUCT ps{};
      HDC dc = message == WM_PAINT ? BeginPaint(window, &ps) : reinterpret_cast<HDC>(wParam);
      RECT client{};
      GetClientRect(window, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
      RECT frame{client.left, client.top, client.right - 1, client.bottom - 3};
      HBRUSH shadow = GetSysColorBrush(COLOR_3DSHADOW);
      FrameRect(dc, &frame, shadow);
      if (message == WM_PAINT) EndPaint(window, &ps);
      return 0;
    }
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      const auto* line = reinterpret_cast<const ConsoleLine*>(mi->itemData);
      if (!line) return FALSE;
      int height = (line->textRect.bottom - line->textRect.top) + 4;
      if (height < 16) height = 20;
      mi->itemHeight = static_cast<UINT>(height);
      mi->itemWidth = static_cast<UINT>(line->textRect.right - line->textRect.left);
      return TRUE;
    }
    case WM_DRAWITEM:
      DrawLine(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DELETEITEM: {
      auto* line = reinterpret_cast<ConsoleLine*>(reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->itemData);
      if (!line) return TRUE;
      std::free(line->spare);
      line->spare = nullptr;
      if (line->line) ReleaseLineHandle(line);
      else std::free(line);  // a heap line of a pane without lines
      return TRUE;
    }
    case WM_VKEYTOITEM: {
      HWND list = reinterpret_cast<HWND>(lParam);
      switch (LOWORD(wParam)) {
        case VK_ESCAPE:
          SendMessageA(GetParent(window), WM_USER + 4, VK_ESCAPE, 0);
          return -2;
        case VK_DELETE:
          DeleteSelectedLines(list);
          return -2;
        case 'A':
          if (GetKeyState(VK_CONTROL) < 0) {
            SendMessageA(list, LB_SETSEL, TRUE, -1);
            return -2;
          }
          return -1;
        default:
          return -1;
      }
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == LBN_DBLCLK && record) {
        ConsolePane* pane = record->shown;
        if (pane && reinterpret_cast<HWND>(lParam) == pane->list) OnLineDoubleClick(window, pane);
      }
      return 0;
    case WM_NCDESTROY:
      delete record;
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      return DefWindowProcA(window, message, wParam, lParam);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

namespace {
const DialogControl kUserMessageControls[] = {
    {"EDIT", kUserMessageEdit, "", 7, 7, 226, 60, WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL},
    {"BUTTON", IDOK, "OK", 122, 74, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 183, 74, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kUserMessageDialogTemplate{
    nullptr, kUserMessageDialog, "User Console Message", 0, 0, 240, 95,
    DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kUserMessageControls};
const bool gDialogRegistered = pl3::RegisterDialogTemplate(&kUserMessageDialogTemplate);
}  // namespace

#include "ui/goto_datum_dialog.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/datum_dialogs.h"
#include "app/dialog_header.h"
#include "edit/mouse_road.h"
#include "edit/window_data.h"
#include "objects/cursor_zoom.h"
#include "objects/datums.h"
#include "objects/display_list_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/user.h"
#include "store/tower.h"
#include "ui/column_sets.h"
#include "ui/list_rows.h"

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kListStyle =
    LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;

const DialogControl kGotoDatumControls[] = {
    {"LISTBOX", kGotoDatumListId, "", 7, 7, 180, 110, kListStyle},
    {"BUTTON", kGotoDatumEditButtonId, "Edit Datum", 7, 124, 55, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 75, 124, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 137, 124, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kGotoDatumDlg{nullptr, kGotoDatumDialogId, " Goto Datum", 0, 0, 194, 145, kDialogStyle,
                                   kGotoDatumControls};
const bool kGotoDatumRegistered = pl3::RegisterDialogTemplate(&kGotoDatumDlg);

// The header shows its titles in reverse: "Name", then "Key Stroke".
const char* const kColumnTitles[] = {"Key Stroke", "Name"};
const float kColumnFractions[] = {0.3f, 0.7f};
constexpr int kColumnCount = 2;
constexpr int kRowHeight = 16;

struct GotoDatumState {
  std::uint32_t flags;
  const Tower* design;
  Tower* chosen = nullptr;
};

GotoDatumState* StateOf(HWND dialog) {
  return reinterpret_cast<GotoDatumState*>(GetWindowLongPtr(dialog, DWLP_USER));
}

HWND List(HWND dialog) { return GetDlgItem(dialog, kGotoDatumListId); }
int RowCount(HWND dialog) { return static_cast<int>(SendMessage(List(dialog), LB_GETCOUNT, 0, 0)); }
Tower* RowTower(HWND dialog, int row) {
  return reinterpret_cast<Tower*>(SendMessage(List(dialog), LB_GETITEMDATA, static_cast<WPARAM>(row), 0));
}
DatumPayload* RowDatum(HWND dialog, int row) {
  return reinterpret_cast<DatumPayload*>(TowerPayload(RowTower(dialog, row)));
}

void NothingSelected(HWND dialog) {
  MessageBox(dialog, "Nothing is selected", "Select Size", MB_OK | MB_ICONEXCLAMATION);
}

// One entry per datum of the design, in search order, each with its own Tower.
void FillList(HWND dialog, const Tower* design) {
  Tower* datums = design ? GetChildTower(design, Type_Datum) : nullptr;
  while (datums) {
    Entity* e = FindNextEntity(datums);
    if (!e) break;
    Tower* t = EntityToTower(design, e, -1);
    if (t) SendMessage(List(dialog), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  }
  ReleaseTower(&datums);
}

void ReleaseRows(HWND dialog) {
  for (int row = 0; row < RowCount(dialog); ++row) {
    Tower* t = RowTower(dialog, row);
    ReleaseTower(&t);
    SendMessage(List(dialog), LB_SETITEMDATA, static_cast<WPARAM>(row), 0);
  }
}

void SetUpColumns(HWND dialog) {
  if (!CreateDialogHeader(dialog, kGotoDatumListId, kGotoDatumHeaderId)) return;
  RECT list{};
  GetWindowRect(List(dialog), &list);
  std::free(InsertProportionalColumns(dialog, kGotoDatumHeaderId, list.right - list.left, kColumnCount,
                                      kColumnTitles, kColumnFractions));
}

void DrawRow(HWND dialog, const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  auto* datum = reinterpret_cast<DatumPayload*>(TowerPayload(reinterpret_cast<Tower*>(item.itemData)));
  if (!datum) return;
  // A stored key stroke that is not a letter or digit counts as none from now on.
  if (datum->keyStroke && !std::isalnum(datum->keyStroke)) datum->keyStroke = 0;
  BeginListRow(item);
  char key[8] = "none";
  if (datum->keyStroke) std::snprintf(key, sizeof key, "'%c'", datum->keyStroke);
  const std::string name = DatumName(datum);
  const char* cells[kColumnCount] = {name.c_str(), key};
  RECT cell = item.rcItem;
  for (int column = 0; column < kColumnCount; ++column) {
    cell.right = cell.left + HeaderColumnWidth(dialog, kGotoDatumHeaderId, column, kColumnCount, item.rcItem);
    DrawListCell(item.hDC, cell, cells[column]);
    cell.left = cell.right;
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

void Accept(HWND dialog, GotoDatumState& state) {
  const auto row = static_cast<int>(SendMessage(List(dialog), LB_GETCURSEL, 0, 0));
  if (row < 0) {
    NothingSelected(dialog);
    return;
  }
  state.chosen = RowTower(dialog, row);
  SendMessage(List(dialog), LB_SETITEMDATA, static_cast<WPARAM>(row), 0);  // handed to the caller
  EndDialog(dialog, 1);
}

// A typed character: the first datum with that key stroke (letters as capitals).
LRESULT KeyToRow(HWND dialog, GotoDatumState& state, int typed) {
  const int key = std::toupper(typed & 0xFF);
  for (int row = 0; key && row < RowCount(dialog); ++row) {
    const DatumPayload* datum = RowDatum(dialog, row);
    if (!datum || datum->keyStroke != key) continue;
    SendMessage(List(dialog), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    if (state.flags & kGotoDatumKeyChooses) {
      Accept(dialog, state);
      return -2;
    }
    return row;
  }
  return -1;
}

// Renames and re-keys the selected datum through "Edit Datum": the old
// entity goes, a new one with the edited payload takes its place.
void EditSelected(HWND dialog, GotoDatumState& state) {
  const auto row = static_cast<int>(SendMessage(List(dialog), LB_GETCURSEL, 0, 0));
  Tower* old = row >= 0 ? RowTower(dialog, row) : nullptr;
  const DatumPayload* datum = reinterpret_cast<const DatumPayload*>(TowerPayload(old));
  if (!datum) {
    NothingSelected(dialog);
    return;
  }
  std::vector<std::uint8_t> copy(kDatumRoom, 0);
  const Entity* e = TowerEntity(old);
  std::memcpy(copy.data(), datum, std::min<std::size_t>(e->payloadSize, copy.size() - 1));
  auto* edited = reinterpret_cast<DatumPayload*>(copy.data());
  if (!RunEditDatumDialog(dialog, edited)) return;
  const std::string name = DatumName(edited);
  if (DatumNameExists(name.c_str(), e)) {
    MessageBox(dialog, "A datum of this name already exists.", "Edit Datum", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  void* display = ActiveWindowData ? ActiveWindowData->Display : nullptr;
  RemoveFromDisplayList(display, old);
  DeleteEntity(old);
  ReleaseTower(&old);
  Tower* fresh = InsertEntity(state.design, GetDatumRecordSize(edited), Type_Datum, edited);
  PutEntityOnDisplayList(display, fresh);
  SendMessage(List(dialog), LB_SETITEMDATA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(fresh));
  InvalidateRect(List(dialog), nullptr, TRUE);
  if (ActiveWindowData) RedrawView(ActiveWindowData->Window);
}

INT_PTR CALLBACK GotoDatumDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* state = reinterpret_cast<GotoDatumState*>(lParam);
    SetWindowLongPtr(dialog, DWLP_USER, lParam);
    SetUpColumns(dialog);
    FillList(dialog, state->design);
    SetFocus(List(dialog));
    return FALSE;
  }
  GotoDatumState* state = StateOf(dialog);
  if (!state) return FALSE;
  switch (message) {
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kRowHeight;
      return TRUE;
    case WM_DRAWITEM:
      DrawRow(dialog, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CHARTOITEM:
      return KeyToRow(dialog, *state, LOWORD(wParam));
    case WM_NOTIFY: {
      // A divider dragged: the rows follow the header.
      const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
      if (hdr && hdr->idFrom == static_cast<UINT_PTR>(kGotoDatumHeaderId)) InvalidateRect(List(dialog), nullptr, TRUE);
      return FALSE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kGotoDatumEditButtonId:
          EditSelected(dialog, *state);
          return TRUE;
        case IDOK:
          Accept(dialog, *state);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_DESTROY:
      ReleaseRows(dialog);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int RunGotoDatumDialog(HWND owner, std::uint32_t flags, Tower** chosen) {
  (void)kGotoDatumRegistered;
  const CurrentWindowData* w = ActiveWindowData;
  GotoDatumState state{flags, w ? w->design : nullptr};
  const INT_PTR r = DialogBoxParam(nullptr, MAKEINTRESOURCE(kGotoDatumDialogId), owner, &GotoDatumDlgProc,
                                   reinterpret_cast<LPARAM>(&state));
  if (r != 1 || !state.chosen) {
    ReleaseTower(&state.chosen);
    return 0;
  }
  if (chosen) {
    *chosen = state.chosen;
  } else {
    ReleaseTower(&state.chosen);
  }
  return 1;
}

void ShowGotoDatumDialog(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  Tower* chosen = nullptr;
  if (!w || !RunGotoDatumDialog(window, kGotoDatumKeyChooses, &chosen)) return;
  const auto* datum = reinterpret_cast<const DatumPayload*>(TowerPayload(chosen));
  RedrawView(window);
  if (datum) MoveCursorToPoint(window, {datum->x, datum->y});
  DoMouseMove(window, &w->Button, &w->PendingRecord, 1);
  UpdateStatusBar(window);
  ReleaseTower(&chosen);
}

#include "app/attribute_dialogs.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/cell_box_seams.h"
#include "app/core_utilities.h"
#include "app/library_seams.h"
#include "app/start_values.h"
#include "app/type_ahead.h"
#include "edit/window_data.h"
#include "objects/attribute_names.h"
#include "objects/attribute_services.h"
#include "objects/locator_kinds.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/responder.h"
#include "platform/text_case.h"
#include "store/document_titles.h"
#include "store/file_dialogs.h"
#include "store/filing_settings.h"
#include "store/tower.h"

namespace {

char* HeapCopy(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

std::string DialogText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  const int length = control ? GetWindowTextLength(control) : 0;
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  if (length > 0) GetDlgItemText(dialog, id, text.data(), length + 1);
  text.resize(std::strlen(text.c_str()));
  return text;
}

// ---- Edit Attributes -----------------------------------------------------------------------

const DialogControl kEditAttributesControls[] = {
    {"CELLBOX", kAttributeGrid, "", 7, 7, 260, 140, WS_BORDER | WS_TABSTOP},
    {"BUTTON", kNewAttributeButton, "New Attribute", 7, 154, 60, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kDeleteAttributeButton, "Delete Attribute", 72, 154, 60, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kApplyAttributesButton, "Apply", 137, 154, 40, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kAttributesOk, "OK", 182, 154, 40, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kAttributesCancel, "Cancel", 227, 154, 40, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kEditAttributesDlg{nullptr, kEditAttributesDialogId, "Edit Attributes", 0, 0, 274, 175,
                                        DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kEditAttributesControls};

constexpr std::uint32_t kRowNew = 0x2;  // created at the next apply
constexpr int kNameColumn = 0;
constexpr int kValueColumn = 1;

// What a grid row stands for. The grid keeps the row's number in this
// dialog's table (plus one) as the row's value.
struct AttributeRow {
  Tower* attribute = nullptr;  // the Attribute the row shows, null until applied
  std::uint32_t flags = 0;
  std::uint32_t kind = kAttributeUser;
};

struct EditAttributesState {
  EditAttributesBlock* block = nullptr;
  HWND grid = nullptr;
  std::vector<AttributeRow> rows;
};

EditAttributesState* StateOf(HWND dialog) {
  return reinterpret_cast<EditAttributesState*>(GetWindowLongPtr(dialog, DWLP_USER));
}

int RowCount(HWND grid) { return grid ? static_cast<int>(CellBoxGetSize(grid) >> 16) : 0; }

AttributeRow* RowOf(EditAttributesState& state, int row) {
  const std::uint32_t data = CellBoxGetRowData(state.grid, row);
  return data >= 1 && data <= state.rows.size() ? &state.rows[data - 1] : nullptr;
}

std::string CellText(HWND grid, int column, int row) {
  const char* text = CellBoxGetCellText(grid, column, row);
  return text ? text : "";
}

// "value" shows as "Value".
std::string ShownName(const char* name) {
  std::string shown = name ? name : "";
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const auto c = static_cast<unsigned char>(shown[i]);
    if (c < 128) shown[i] = static_cast<char>(i == 0 ? std::toupper(c) : std::tolower(c));
  }
  return shown;
}

bool HasButtonCell(const std::string& name) {
  return pl3::EqualsNoCase(name, "footprint") || pl3::EqualsNoCase(name, "default_package") ||
         pl3::EqualsNoCase(name, "3dmodel");
}

int AddRow(EditAttributesState& state, const char* name, const char* value, Tower* attribute, std::uint32_t flags) {
  const int row = CellBoxAddRow(state.grid);
  state.rows.push_back({attribute, flags, kAttributeUser});
  CellBoxSetRowData(state.grid, row, static_cast<std::uint32_t>(state.rows.size()));
  CellBoxSetCellText(state.grid, kNameColumn, row, ShownName(name).c_str());
  CellBoxSetCellText(state.grid, kValueColumn, row, value ? value : "");
  if (HasButtonCell(name ? name : "")) CellBoxSetCellType(state.grid, kValueColumn, row, kCellText | kCellButton);
  return row;
}

// The name and value of a user attribute, read within its value record.
void ReadUserAttribute(const Tower* attribute, std::string* name, std::string* value) {
  Tower* text = GetChildTower(attribute, Type_AttributeValue);
  Entity* e = text ? FindNextEntity(text) : nullptr;
  const char* storedName = "";
  const char* storedValue = "";
  if (e) SplitNameValuePair(reinterpret_cast<const char*>(EntityPayload(e)), e->payloadSize, &storedName, &storedValue);
  if (name) *name = storedName;
  if (value) *value = storedValue;
  ReleaseTower(&text);
}

// Rows that show an attribute about to be deleted no longer stand on it.
void ForgetAttribute(EditAttributesState& state, const Entity* attribute) {
  for (AttributeRow& row : state.rows)
    if (row.attribute && TowerEntity(row.attribute) == attribute) ReleaseTower(&row.attribute);
}

bool IsUserAttribute(const Tower* attribute) {
  const std::uint8_t* p = PayloadOfAtLeast(TowerEntity(attribute), sizeof(AttributePayload));
  return p && reinterpret_cast<const AttributePayload*>(p)->kind == kAttributeUser;
}

void SetUpColumns(EditAttributesState& state) {
  ColumnWidthEntry** set = ColumnWidthSet(kAttributeColumnSet);
  if (set && !*set) {
    RECT grid{};
    GetClientRect(state.grid, &grid);
    static const float kHalves[2] = {0.5f, 0.5f};
    *set = ScaleColumnWidths(2, kHalves, grid.right - grid.left);
  }
  const ColumnWidthEntry* widths = set ? *set : nullptr;
  CellBoxAddColumn(state.grid, {kNameColumn, widths ? widths[0].width : 100, kCellFixed, kCellFixed, "Name"});
  CellBoxAddColumn(state.grid, {kValueColumn, widths ? widths[1].width : 100, kCellText, kCellText, "Value"});
}

void SaveColumns(const EditAttributesState& state) {
  ColumnWidthEntry** set = ColumnWidthSet(kAttributeColumnSet);
  if (!set || !*set || !state.grid) return;
  for (int column = 0; column < 2; ++column) {
    CellBoxColumnWidth width{column, (*set)[column].width};
    CellBoxGetColumnWidth(state.grid, &width);
    if (width.width > 0) (*set)[column] = {static_cast<std::uint32_t>(column), width.width};
  }
  SaveColumnWidths(kAttributeColumnSet);
}

void FillRows(EditAttributesState& state) {
  Tower* attributes = GetChildTower(state.block->item, Type_Attribute);
  while (attributes && FindNextEntity(attributes)) {
    if (!IsUserAttribute(attributes)) continue;
    std::string name, value;
    ReadUserAttribute(attributes, &name, &value);
    AddRow(state, name.c_str(), value.c_str(), DuplicateTower(attributes), 0);
  }
  ReleaseTower(&attributes);
}

void EnableApply(HWND dialog, bool enable) { EnableWindow(GetDlgItem(dialog, kApplyAttributesButton), enable); }

void NewAttribute(HWND dialog, EditAttributesState& state) {
  AttributeNameList* names = CollectUserAttributeNames(state.block->item);
  NewAttributeBlock block{names, nullptr, nullptr};
  if (ShowEnterNewAttributeDialog(dialog, &block) == 1 && block.name) {
    AddRow(state, block.name, block.value, nullptr, kRowNew);
    EnableApply(dialog, true);
  }
  std::free(block.name);
  std::free(block.value);
  FreeNameList(names);
  InvalidateRect(state.grid, nullptr, TRUE);
}

void DeleteAttribute(HWND dialog, EditAttributesState& state) {
  CellBoxEndEdit(state.grid);
  const int current = CellBoxGetCurrentCell(state.grid);
  if (current < 0) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  const int row = current >> 16;
  if (AttributeRow* data = RowOf(state, row)) {
    ReleaseTower(&data->attribute);
    *data = AttributeRow{nullptr, 0, 0};
  }
  CellBoxDeleteRow(state.grid, row);
  EnableApply(dialog, true);
}

void Apply(HWND dialog, EditAttributesState& state) {
  CellBoxEndEdit(state.grid);
  if (ApplyAttributeRows(dialog, state.block->item)) state.block->changed = 1;
  EnableApply(dialog, false);
}

// The 3D model folder (the "3DModelPath" setting, handed to the file
// dialogs at start-up) with a backslash.
std::string ModelFolder() { return DialogStartFolders().modelPath3D + "\\"; }

std::optional<std::string> ChooseModel(HWND dialog) {
  const std::string folder = ModelFolder();
  SetupOpenFileName(dialog, "AC3D Model (*.ac)\0*.ac\0", "AC", folder.c_str());
  SharedOpenFileName.lpstrTitle = "Select A Model";
  const std::optional<std::string> path = ShowOpenFileDialog(dialog, nullptr);
  if (!path) return std::nullopt;
  return GetRelativePath(folder.c_str(), path->c_str());  // none for a file outside the folder
}

std::optional<std::string> ChooseLibraryItem(HWND dialog, const char* type) {
  StoreItemChoice* choice = ChooseStoreItem(dialog, type, 1, 1);
  if (!choice) return std::nullopt;
  const std::optional<std::string> relative =
      GetRelativePath(DialogStartFolders().libraryPath.c_str(), choice->containerPath.c_str());
  std::string text = (relative ? *relative : choice->containerPath) + choice->name;
  FreeStoreItemChoice(choice);
  return text;
}

void ButtonCell(HWND dialog, EditAttributesState& state, int row) {
  const std::string name = CellText(state.grid, kNameColumn, row);
  std::optional<std::string> text;
  EnableWindow(dialog, FALSE);
  if (pl3::EqualsNoCase(name, "3dmodel")) text = ChooseModel(dialog);
  else if (pl3::EqualsNoCase(name, "footprint")) text = ChooseLibraryItem(dialog, "pcbsymbol");
  else if (pl3::EqualsNoCase(name, "default_package")) text = ChooseLibraryItem(dialog, "package");
  else MessageBeep(0);
  EnableWindow(dialog, TRUE);
  if (!text) return;
  CellBoxSetCellText(state.grid, kValueColumn, row, text->c_str());
  EnableApply(dialog, true);
}

void Close(HWND dialog, EditAttributesState& state, INT_PTR result) {
  SaveColumns(state);
  EndDialog(dialog, result);
}

void OnCommand(HWND dialog, EditAttributesState& state, int id) {
  switch (id) {
    case kNewAttributeButton: NewAttribute(dialog, state); break;
    case kDeleteAttributeButton: DeleteAttribute(dialog, state); break;
    case kApplyAttributesButton: Apply(dialog, state); break;
    case kAttributesOk:
    case IDOK:
      Apply(dialog, state);
      Close(dialog, state, 1);
      break;
    case kAttributesCancel:
    case IDCANCEL:
      SendMessageA(dialog, WM_CLOSE, 0, 0);
      break;
    default: break;
  }
}

// ---- Enter New Attribute ---------------------------------------------------------------------

const DialogControl kNewAttributeControls[] = {
    {"STATIC", -1, "Name", 7, 9, 30, 8, SS_LEFT},
    {"COMBOBOX", kNewAttributeName, "", 40, 7, 140, 80, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP},
    {"STATIC", -1, "Value", 7, 27, 30, 8, SS_LEFT},
    {"EDIT", kNewAttributeValue, "", 40, 25, 140, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 45, 46, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 105, 46, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kNewAttributeDlg{nullptr, kEnterNewAttributeDialogId, "Enter New Attribute", 0, 0, 188, 67,
                                      DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kNewAttributeControls};

NewAttributeBlock* NewBlockOf(HWND dialog) {
  return reinterpret_cast<NewAttributeBlock*>(GetWindowLongPtr(dialog, DWLP_USER));
}

// The characters the completion has beyond the typed text.
std::string CompletionRest(HWND dialog) {
  const NewAttributeBlock* block = NewBlockOf(dialog);
  const char* name = block ? FindCompletionName(dialog, block->names) : nullptr;
  if (!name) return {};
  const std::size_t typed = DialogText(dialog, kNewAttributeName).size();
  return std::strlen(name) > typed ? std::string(name + typed) : std::string();
}

void AcceptNewAttribute(HWND dialog) {
  NewAttributeBlock* block = NewBlockOf(dialog);
  const std::string name = DialogText(dialog, kNewAttributeName);
  if (name.empty()) {
    ShowMessageEx(dialog, "Error - you cannot enter an empty attribute name", "Add new attribute",
                  MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (block) {
    const std::string value = DialogText(dialog, kNewAttributeValue);
    block->name = HeapCopy(name);
    block->value = value.empty() ? nullptr : HeapCopy(value);
  }
  EndDialog(dialog, 1);
}

// ---- Enter Text ---------------------------------------------------------------------------------

const DialogControl kEnterTextControls[] = {
    {"STATIC", kEnterTextPrompt, "", 7, 7, 180, 10, SS_LEFT},
    {"EDIT", kEnterTextField, "", 7, 20, 180, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 17, 40, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kEnterTextAll, "All", 72, 40, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 127, 40, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kAskTextDlg{nullptr, kEnterTextDialogId, "Enter Text", 0, 0, 194, 62,
                                 DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kEnterTextControls};

struct AskTextBlock {
  const char* caption;
  const char* prompt;
  const char* initial;
  char* answer;
};

INT_PTR CALLBACK AskTextDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* block = reinterpret_cast<AskTextBlock*>(GetWindowLongPtr(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      block = reinterpret_cast<AskTextBlock*>(lParam);
      SetWindowLongPtr(dialog, DWLP_USER, lParam);
      if (!block) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (block->caption) SetWindowText(dialog, block->caption);
      SetDlgItemText(dialog, kEnterTextPrompt, block->prompt ? block->prompt : "");
      SetDlgItemText(dialog, kEnterTextField, block->initial ? block->initial : "");
      SendDlgItemMessage(dialog, kEnterTextField, EM_SETSEL, 0, -1);
      SetFocus(GetDlgItem(dialog, kEnterTextField));
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          if (block) block->answer = HeapCopy(DialogText(dialog, kEnterTextField));
          EndDialog(dialog, 1);
          return TRUE;
        case kEnterTextAll:
          if (block) block->answer = HeapCopy(std::string());
          EndDialog(dialog, 1);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

const bool kRegistered = pl3::RegisterDialogTemplate(&kEditAttributesDlg) &&
                         pl3::RegisterDialogTemplate(&kNewAttributeDlg) && pl3::RegisterDialogTemplate(&kAskTextDlg);

}  // namespace

INT_PTR CALLBACK EditAttributesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  EditAttributesState* state = StateOf(dialog);
  switch (message) {
    case WM_INITDIALOG: {
      auto* block = reinterpret_cast<EditAttributesBlock*>(lParam);
      if (!block) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      state = new EditAttributesState{block, GetDlgItem(dialog, kAttributeGrid), {}};
      SetWindowLongPtr(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
      SetWindowText(dialog, block->caption);
      CellBoxInitialise(state->grid, 0);
      SetUpColumns(*state);
      FillRows(*state);
      EnableApply(dialog, false);
      SetFocus(state->grid);
      return FALSE;
    }
    case WM_NOTIFY: {
      const auto* note = reinterpret_cast<const NMCELLBOX*>(lParam);
      if (!state || !note || static_cast<int>(note->hdr.idFrom) != kAttributeGrid) return FALSE;
      if (note->hdr.code == kCellChanged) EnableApply(dialog, true);
      if (note->hdr.code == kCellButtonClicked) ButtonCell(dialog, *state, note->row);
      return TRUE;
    }
    case WM_COMMAND:
      if (!state) return FALSE;
      OnCommand(dialog, *state, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      if (state) Close(dialog, *state, 0);
      else EndDialog(dialog, 0);
      return TRUE;
    case WM_DESTROY:
      if (state) {
        for (AttributeRow& row : state->rows) ReleaseTower(&row.attribute);
        delete state;
        SetWindowLongPtr(dialog, DWLP_USER, 0);
      }
      return FALSE;
    default:
      return FALSE;
  }
}

int ApplyAttributeRows(HWND dialog, const Tower* item) {
  EditAttributesState* state = StateOf(dialog);
  if (!state || !item) return 0;
  int changed = 0;
  // Each deletion starts the search over the item's attributes again. Every
  // pass removes an attribute or gives one its row's value, so the passes are
  // bounded; the bound only guards against names that clash.
  std::size_t passes = 0;
  for (bool again = true; again && passes++ < 4 * (state->rows.size() + 1) + 64;) {
    again = false;
    Tower* attributes = GetChildTower(item, Type_Attribute);
    while (attributes && FindNextEntity(attributes)) {
      if (!IsUserAttribute(attributes)) continue;
      const Entity* attribute = TowerEntity(attributes);
      int shownIn = -1;
      for (int row = 0; row < RowCount(state->grid) && shownIn < 0; ++row) {
        const AttributeRow* data = RowOf(*state, row);
        if (data && data->attribute && TowerEntity(data->attribute) == attribute) shownIn = row;
      }
      std::string name, value;
      ReadUserAttribute(attributes, &name, &value);
      const std::string shown = shownIn < 0 ? std::string() : CellText(state->grid, kValueColumn, shownIn);
      if (shownIn >= 0 && shown == value) continue;
      ForgetAttribute(*state, attribute);
      DeleteEntity(attributes);
      if (shownIn >= 0) RowOf(*state, shownIn)->attribute = SetUserAttribute(item, name.c_str(), shown.c_str());
      changed = 1;
      again = true;
      break;
    }
    ReleaseTower(&attributes);
  }
  for (int row = 0; row < RowCount(state->grid); ++row) {
    AttributeRow* data = RowOf(*state, row);
    if (!data || !(data->flags & kRowNew)) continue;
    data->flags &= ~kRowNew;
    ReleaseTower(&data->attribute);
    data->attribute = SetUserAttribute(item, CellText(state->grid, kNameColumn, row).c_str(),
                                       CellText(state->grid, kValueColumn, row).c_str());
    changed = 1;
  }
  return changed;
}

std::uint32_t ShowEditAttributesDialog(HWND owner, const Tower* item, const char* caption) {
  (void)kRegistered;
  EditAttributesBlock block{};
  std::strncpy(block.caption, caption ? caption : "", sizeof block.caption - 1);
  block.item = item;
  const INT_PTR result = DialogBoxParam(nullptr, MAKEINTRESOURCE(kEditAttributesDialogId), owner,
                                        &EditAttributesDlgProc, reinterpret_cast<LPARAM>(&block));
  return result < 0 ? 0 : block.changed;
}

const char* FindCompletionName(HWND dialog, const AttributeNameList* list) {
  const std::string typed = DialogText(dialog, kNewAttributeName);
  for (const AttributeNameList* node = list; node; node = node->next)
    if (MatchesTypedPrefix(typed.c_str(), node->name)) return node->name;
  return nullptr;
}

INT_PTR CALLBACK EnterNewAttributeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* block = reinterpret_cast<const NewAttributeBlock*>(lParam);
      SetWindowLongPtr(dialog, DWLP_USER, lParam);
      SubclassTypeAheadBox(dialog, kNewAttributeName);
      for (const AttributeNameList* node = block ? block->names : nullptr; node; node = node->next)
        SendDlgItemMessage(dialog, kNewAttributeName, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(node->name));
      SetFocus(GetDlgItem(dialog, kNewAttributeName));
      return FALSE;
    }
    case kTypeAheadHasCompletion: {
      const NewAttributeBlock* block = NewBlockOf(dialog);
      SetWindowLongPtr(dialog, DWLP_MSGRESULT, block && FindCompletionName(dialog, block->names) ? 1 : 0);
      return TRUE;
    }
    case kTypeAheadCompletionLength:
      SetWindowLongPtr(dialog, DWLP_MSGRESULT, static_cast<LONG_PTR>(CompletionRest(dialog).size()));
      return TRUE;
    case kTypeAheadCopyCompletion: {
      auto* buffer = reinterpret_cast<char*>(lParam);
      const std::string rest = CompletionRest(dialog);
      if (buffer && wParam > 0) {
        const std::size_t n = std::min(rest.size(), static_cast<std::size_t>(wParam - 1));
        std::memcpy(buffer, rest.data(), n);
        buffer[n] = '\0';
      }
      SetWindowLongPtr(dialog, DWLP_MSGRESULT, rest.empty() ? 0 : 1);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          AcceptNewAttribute(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

INT_PTR ShowEnterNewAttributeDialog(HWND owner, NewAttributeBlock* block) {
  (void)kRegistered;
  return DialogBoxParam(nullptr, MAKEINTRESOURCE(kEnterNewAttributeDialogId), owner, &EnterNewAttributeDlgProc,
                        reinterpret_cast<LPARAM>(block));
}

char* AskText(const char* caption, const char* prompt, char* initial) {
  (void)kRegistered;
  AskTextBlock block{caption, prompt, initial, nullptr};
  HWND owner = ActiveWindowData && ActiveWindowData->Window ? static_cast<HWND>(ActiveWindowData->Window) : FrameWindow;
  const INT_PTR result =
      DialogBoxParam(nullptr, MAKEINTRESOURCE(kEnterTextDialogId), owner, &AskTextDlgProc, reinterpret_cast<LPARAM>(&block));
  if (result == 1 && block.answer) return block.answer;
  std::free(block.answer);
  return initial;
}

#include "schematic/graphic_net_name_dialog.h"

#include <cstring>
#include <string>

#include "app/core_utilities.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/real_size.h"
#include "objects/type_codes.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/document_titles.h"
#include "store/seams.h"
#include "store/tower.h"

GraphicSymbolChooser GraphicNetNameChooser = &ChooseAndOpenStoreItem;

namespace {

constexpr int kDialogId = 1035;
constexpr int kNetNameEdit = 3109;
constexpr int kBrowseButton = 474;
constexpr int kLibraryText = 3129;
constexpr int kFileNameText = 3130;
constexpr std::uint16_t kTypeFonts = 5;
constexpr std::uint32_t kTextSizeOffset = 48;     // a text record's explicit size
constexpr std::uint32_t kLocatorSizeOffset = 84;  // a locator's explicit text size

const DialogControl kControls[] = {
    {"STATIC", -1, "Net Name", 7, 9, 50, 10, SS_LEFT},
    {"EDIT", kNetNameEdit, "", 60, 7, 130, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", kBrowseButton, "Browse...", 196, 6, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
    {"STATIC", -1, "Library", 7, 28, 50, 10, SS_LEFT},
    {"STATIC", kLibraryText, "", 60, 28, 186, 10, SS_LEFT},
    {"STATIC", -1, "File Name", 7, 42, 50, 10, SS_LEFT},
    {"STATIC", kFileNameText, "", 60, 42, 186, 10, SS_LEFT},
    {"BUTTON", IDOK, "OK", 70, 60, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 130, 60, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kDialog{nullptr, kDialogId, "Graphical Net Name", 0, 0, 253, 82,
                             DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kDialog);

// The dialog is modal: one run at a time.
struct DialogRun {
  const Tower* schematic = nullptr;
  GraphicNetNameChoice* choice = nullptr;
  Tower* loaded = nullptr;  // the symbol kept by the last accepted "Browse..."
};
DialogRun g_run;

const bool kResetRegistered = pl3::RegisterGlobalReset([] {
  GraphicNetNameChooser = &ChooseAndOpenStoreItem;
  g_run = DialogRun{};
});

void Refuse(HWND dialog, const char* text) { ShowMessageEx(dialog, text, "Error", MB_OK | MB_ICONEXCLAMATION); }

// A bounded copy of the newest child text of the code; empty when missing.
std::string ChildText(const Tower* t, std::uint16_t code) {
  Tower* child = GetChildTower(t, code);
  Entity* e = child ? FindNextEntity(child) : nullptr;
  ReleaseTower(&child);
  if (!e) return {};
  const char* bytes = reinterpret_cast<const char*>(EntityPayload(e));
  return std::string(bytes, strnlen(bytes, e->payloadSize));
}

// Deletes the records of the code anywhere under t.
void DeleteRecordsBelow(const Tower* t, std::uint16_t code) {
  DeleteChildEntities(t, code);
  Tower* children = GetAllChildrenTower(t);
  while (children && FindNextEntity(children)) DeleteRecordsBelow(children, code);
  ReleaseTower(&children);
}

// Writes the real size of each indexed text and locator into its explicit
// size and clears its size-from-table flag.
void FreezeSizes(const Tower* symbol) {
  struct Sized { std::uint16_t type; std::uint32_t offset; };
  for (Sized s : {Sized{Type_Text, kTextSizeOffset}, Sized{Type_AttributeLocator, kLocatorSizeOffset}}) {
    Tower* items = GetChildTower(symbol, s.type);
    while (items && FindNextEntity(items)) {
      std::uint8_t* p = PayloadOfAtLeast(TowerEntity(items), s.offset + 4);
      if (!p || !(ReadU16(p, 2) & kSizeByIndex)) continue;
      WriteI32(p, s.offset, ReturnRealSize(kTypeFonts, ReadU32(p, 4), 0));
      WriteU16(p, 2, static_cast<std::uint16_t>(ReadU16(p, 2) & ~kSizeByIndex));
    }
    ReleaseTower(&items);
  }
}

// The item's own name: the item path's last part.
std::string ItemName(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void RemoveLoaded(Tower** symbol) {
  if (!*symbol) return;
  DeleteEntity(*symbol);
  ReleaseTower(symbol);
}

void Browse(HWND dialog) {
  StoreItemChoice* chosen = GraphicNetNameChooser(dialog, "schematicsymbol", 1, g_run.schematic);
  if (!chosen) return;
  Tower* symbol = chosen->document;
  chosen->document = nullptr;
  const std::string name = ItemName(chosen->name);
  FreeStoreItemChoice(chosen);
  if (!symbol) return;
  if (!AcceptNetNameGraphicSymbol(dialog, symbol)) {
    RemoveLoaded(&symbol);
    return;
  }
  if (GetWindowTextLength(GetDlgItem(dialog, kNetNameEdit)) == 0) SetDlgItemText(dialog, kNetNameEdit, name.c_str());
  SetDlgItemText(dialog, kFileNameText, ChildText(symbol, kTypeSymbolFileName).c_str());
  SetDlgItemText(dialog, kLibraryText, ChildText(symbol, kTypeSymbolLibraryName).c_str());
  RemoveLoaded(&g_run.loaded);  // a symbol chosen before is replaced
  g_run.loaded = symbol;
}

void Accept(HWND dialog) {
  if (GetWindowTextLength(GetDlgItem(dialog, kNetNameEdit)) == 0) {
    Refuse(dialog, "You must enter a net name");
    return;
  }
  if (!g_run.loaded) {
    Refuse(dialog, "You must load a symbol");
    return;
  }
  GetDlgItemText(dialog, kNetNameEdit, g_run.choice->netName, kGraphicNetNameBufferSize);
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK GraphicNetNameDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    SetDlgItemText(dialog, kNetNameEdit, g_run.choice->netName);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case kBrowseButton: Browse(dialog); return TRUE;
    case IDOK: Accept(dialog); return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

int AcceptNetNameGraphicSymbol(HWND owner, const Tower* symbol) {
  if (!symbol || !IsNetNameGraphicSymbol(symbol)) {
    ShowMessage(owner, "The symbol you have selected is of an invalid type. Please select a net name graphic symbol",
                "Error loading net name graphic symbol");
    return 0;
  }
  DeleteRecordsBelow(symbol, kTypeDontReloadGroup);
  FreezeSizes(symbol);
  return 1;
}

int ShowGraphicNetNameDialog(HWND owner, const Tower* schematic, GraphicNetNameChoice* choice) {
  (void)kRegistered;
  (void)kResetRegistered;
  g_run = DialogRun{schematic, choice, nullptr};
  choice->netName[kGraphicNetNameBufferSize - 1] = '\0';
  const INT_PTR result = DialogBoxParam(nullptr, MAKEINTRESOURCE(kDialogId), owner, &GraphicNetNameDlgProc, 0);
  if (result != 1) {
    RemoveLoaded(&g_run.loaded);
    g_run = DialogRun{};
    return 0;
  }
  choice->symbol = g_run.loaded;
  g_run = DialogRun{};
  return 1;
}

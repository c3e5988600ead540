#include "edit/pad_naming.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <numbers>
#include <string>

#include "edit/window_data.h"
#include "objects/editor_input.h"
#include "objects/pad_names.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"

PadNamingBlock PadNaming;

namespace {

using pl3::NameToken;

constexpr double kTwoPi = 2 * std::numbers::pi;

void ResetPadNaming() { PadNaming = PadNamingBlock{}; }
const bool g_resetRegistered = pl3::RegisterGlobalReset(&ResetPadNaming);

// ---- Checking the names ------------------------------------------------------------

// False when a run of digits of the name is beyond 32 bits (the token
// splitter would hold it at the largest value instead).
bool NumbersFit(const std::string& name) {
  std::uint64_t value = 0;
  bool inDigits = false;
  for (const char c : name) {
    if (c >= '0' && c <= '9') {
      value = (inDigits ? value * 10 : 0) + static_cast<std::uint64_t>(c - '0');
      if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) return false;
      inDigits = true;
    } else {
      inDigits = false;
    }
  }
  return true;
}

constexpr char kNumberTooLarge[] = "A number in a pad name may not be larger than 2147483647";

// Counts the changes between the two names; the last change found sets the
// block's progression. Null when the names agree in form, else the message.
const char* CountChanges(PadNamingBlock& block, int* changes) {
  const std::vector<NameToken>& a = block.firstName;
  const std::vector<NameToken>& b = block.secondName;
  if (a.size() != b.size()) return "Different number of fields.";
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].kind != b[i].kind) return "Incompatible fields";
    if (a[i].kind == NameToken::Number) {
      if (a[i].number == b[i].number) continue;
      ++*changes;
      block.step = a[i].number > b[i].number ? a[i].number - b[i].number : b[i].number - a[i].number;
      block.changingField = static_cast<int>(i);
      continue;
    }
    if (a[i].text.size() != b[i].text.size()) return "String fields must be the same length";
    for (std::size_t k = 0; k < a[i].text.size(); ++k) {
      const int first = static_cast<std::int8_t>(a[i].text[k]);
      const int second = static_cast<std::int8_t>(b[i].text[k]);
      if (first == second) continue;
      ++*changes;
      block.step = std::abs(second - first);
      block.changingField = static_cast<int>(i);
      block.changingCharacter = static_cast<int>(k);
    }
  }
  return nullptr;
}

// ---- Sorting --------------------------------------------------------------------

double DirectionAngle(double dx, double dy) {
  if (dx == 0) return dy < 0 ? 3 * std::numbers::pi / 2 : std::numbers::pi / 2;
  const double angle = std::atan(dy / dx);
  return dx < 0 ? angle + std::numbers::pi : angle;
}

void SetCircularAngles(std::vector<PadSortRecord>& pads, pl3::Point cursor) {
  double sumX = 0, sumY = 0;
  for (const PadSortRecord& p : pads) {
    sumX += static_cast<double>(static_cast<std::uint32_t>(p.x));
    sumY += static_cast<double>(static_cast<std::uint32_t>(p.y));
  }
  const double n = static_cast<double>(pads.size());
  const auto cx = static_cast<std::int32_t>(static_cast<std::uint32_t>(sumX / n));
  const auto cy = static_cast<std::int32_t>(static_cast<std::uint32_t>(sumY / n));
  const double reference = DirectionAngle(static_cast<double>(cursor.x) - cx, static_cast<double>(cursor.y) - cy);
  for (PadSortRecord& p : pads) {
    double angle = DirectionAngle(static_cast<double>(p.x) - cx, static_cast<double>(p.y) - cy) - reference;
    if (angle < 0) angle += kTwoPi;
    p.angle = angle;
  }
}

double AnticlockwiseKey(double angle) {
  double key = kTwoPi - angle;
  while (key >= kTwoPi) key -= kTwoPi;
  while (key < 0) key += kTwoPi;
  return key;
}

// -1, 0 or 1 for a primary and a secondary key, each ascending or descending.
int CompareKey(std::int32_t a, std::int32_t b, bool descending) {
  if (a == b) return 0;
  return (a < b) != descending ? -1 : 1;
}

bool OrderedBefore(const PadSortRecord& p, const PadSortRecord& q, int order) {
  int c = 0;
  switch (order) {
    case kOrderClockwise: return p.angle < q.angle;
    case kOrderAnticlockwise: return AnticlockwiseKey(p.angle) < AnticlockwiseKey(q.angle);
    case kOrderRowsDown: c = CompareKey(p.y, q.y, false); if (!c) c = CompareKey(p.x, q.x, false); break;
    case kOrderRowsUp: c = CompareKey(p.y, q.y, true); if (!c) c = CompareKey(p.x, q.x, false); break;
    case kOrderRowsDownLeft: c = CompareKey(p.y, q.y, false); if (!c) c = CompareKey(p.x, q.x, true); break;
    case kOrderRowsUpLeft: c = CompareKey(p.y, q.y, true); if (!c) c = CompareKey(p.x, q.x, true); break;
    case kOrderColumnsRight: c = CompareKey(p.x, q.x, false); if (!c) c = CompareKey(p.y, q.y, false); break;
    case kOrderColumnsLeft: c = CompareKey(p.x, q.x, true); if (!c) c = CompareKey(p.y, q.y, false); break;
    case kOrderColumnsUpRight: c = CompareKey(p.x, q.x, false); if (!c) c = CompareKey(p.y, q.y, true); break;
    case kOrderColumnsUpLeft: c = CompareKey(p.x, q.x, true); if (!c) c = CompareKey(p.y, q.y, true); break;
    default: return false;
  }
  return c < 0;
}

// ---- Naming ---------------------------------------------------------------------

std::string BuildName(const std::vector<NameToken>& tokens) {
  std::string name;
  for (const NameToken& t : tokens) name += t.kind == NameToken::Number ? std::to_string(t.number) : t.text;
  return name;
}

// Moves the changing field on by the step; false when it cannot (a number
// beyond 32 bits, or a character that would become NUL).
bool AdvanceName(PadNamingBlock& block) {
  if (block.changingField < 0 || static_cast<std::size_t>(block.changingField) >= block.firstName.size())
    return true;
  NameToken& token = block.firstName[static_cast<std::size_t>(block.changingField)];
  if (token.kind == NameToken::Number) {
    const std::int64_t next = static_cast<std::int64_t>(token.number) + block.step;
    if (next > std::numeric_limits<std::int32_t>::max()) return false;
    token.number = static_cast<std::int32_t>(next);
    return true;
  }
  if (static_cast<std::size_t>(block.changingCharacter) >= token.text.size()) return true;
  char& c = token.text[static_cast<std::size_t>(block.changingCharacter)];
  const auto next = static_cast<char>(static_cast<std::uint8_t>(static_cast<std::uint8_t>(c) + block.step));
  if (next == '\0') return false;
  c = next;
  return true;
}

const SelectionInfo* FindPadRecord(const SelectionInfo* list, const Tower* item) {
  for (const SelectionInfo* s = list; s; s = s->next)
    if (SelectionItem(*s) == item) return s;
  return nullptr;
}

// ---- The dialog ---------------------------------------------------------------------

constexpr DWORD kRadio = BS_AUTORADIOBUTTON;
const DialogControl kNamePadsControls[] = {
    {"STATIC", -1, "First name:", 7, 9, 50, 10, SS_LEFT},
    {"EDIT", kFirstPadNameEdit, "", 60, 7, 120, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"STATIC", -1, "Second name:", 7, 25, 50, 10, SS_LEFT},
    {"EDIT", kSecondPadNameEdit, "", 60, 23, 120, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", kOrderClockwise, "Clockwise", 7, 42, 170, 10, kRadio | WS_GROUP | WS_TABSTOP},
    {"BUTTON", kOrderAnticlockwise, "Anticlockwise", 7, 53, 170, 10, kRadio},
    {"BUTTON", kOrderRowsDown, "Left to right, top to bottom", 7, 64, 170, 10, kRadio},
    {"BUTTON", kOrderRowsUp, "Left to right, bottom to top", 7, 75, 170, 10, kRadio},
    {"BUTTON", kOrderRowsDownLeft, "Right to left, top to bottom", 7, 86, 170, 10, kRadio},
    {"BUTTON", kOrderRowsUpLeft, "Right to left, bottom to top", 7, 97, 170, 10, kRadio},
    {"BUTTON", kOrderColumnsRight, "Top to bottom, left to right", 7, 108, 170, 10, kRadio},
    {"BUTTON", kOrderColumnsLeft, "Top to bottom, right to left", 7, 119, 170, 10, kRadio},
    {"BUTTON", kOrderColumnsUpRight, "Bottom to top, left to right", 7, 130, 170, 10, kRadio},
    {"BUTTON", kOrderColumnsUpLeft, "Bottom to top, right to left", 7, 141, 170, 10, kRadio},
    {"BUTTON", IDOK, "OK", 40, 158, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
    {"BUTTON", IDCANCEL, "Cancel", 100, 158, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kNamePadsDlg{nullptr, kNamePadsDialog, "Name Pads", 0, 0, 190, 180,
                                  DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kNamePadsControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kNamePadsDlg);

void ShowNamingMessage(HWND owner, const char* text) { MessageBox(owner, text, "Pelmora3", MB_OK); }

struct PadSpread {
  int count = 0;
  bool oneX = true;
  bool oneY = true;
};

PadSpread SpreadOf(const SelectionInfo* list) {
  PadSpread s;
  pl3::Point first{};
  for (const SelectionInfo* r = list; r; r = r->next) {
    if (ItemTypeCode(SelectionItem(*r)) != Type_PadStackInstanceHier) continue;
    if (s.count++ == 0) first = r->currentPoint;
    s.oneX = s.oneX && r->currentPoint.x == first.x;
    s.oneY = s.oneY && r->currentPoint.y == first.y;
  }
  return s;
}

void StartNamePads(HWND dialog, PadNamingBlock& block) {
  SendDlgItemMessage(dialog, kFirstPadNameEdit, EM_LIMITTEXT, kPadNameMaxLength, 0);
  SendDlgItemMessage(dialog, kSecondPadNameEdit, EM_LIMITTEXT, kPadNameMaxLength, 0);
  const PadSpread spread = SpreadOf(block.selection);
  if (spread.count > 1) {
    if (spread.oneX || spread.oneY) {
      EnableWindow(GetDlgItem(dialog, kOrderClockwise), FALSE);
      EnableWindow(GetDlgItem(dialog, kOrderAnticlockwise), FALSE);
    }
    CheckRadioButton(dialog, kOrderClockwise, kOrderColumnsUpLeft, kOrderRowsDown);
  } else {
    EnableWindow(GetDlgItem(dialog, kSecondPadNameEdit), FALSE);
    for (int id = kOrderClockwise; id <= kOrderColumnsUpLeft; ++id) EnableWindow(GetDlgItem(dialog, id), FALSE);
  }
  SetFocus(GetDlgItem(dialog, kFirstPadNameEdit));
}

std::string FieldText(HWND dialog, int id) {
  char text[kPadNameMaxLength + 1] = {};
  GetDlgItemText(dialog, id, text, sizeof text);
  return text;
}

void AcceptNamePads(HWND dialog, PadNamingBlock& block) {
  block.order = 0;
  for (int id = kOrderClockwise; id <= kOrderColumnsUpLeft && !block.order; ++id)
    if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) block.order = id;
  const std::string first = FieldText(dialog, kFirstPadNameEdit);
  const bool secondEnabled = IsWindowEnabled(GetDlgItem(dialog, kSecondPadNameEdit));
  const std::string second = secondEnabled ? FieldText(dialog, kSecondPadNameEdit) : std::string();
  HWND focus = GetFocus();
  if (const char* message = CheckPadNames(first.c_str(), secondEnabled ? second.c_str() : nullptr, &block)) {
    ShowNamingMessage(dialog, message);
    if (first.empty() || (secondEnabled && second.empty())) SetFocus(focus);
    return;
  }
  EndDialog(dialog, 1);
}

}  // namespace

const char* CheckPadNames(const char* first, const char* second, PadNamingBlock* block) {
  block->firstName.clear();
  block->secondName.clear();
  block->step = 0;
  block->changingField = 0;
  block->changingCharacter = 0;
  const std::string a = first ? std::string(first).substr(0, kPadNameMaxLength) : std::string();
  if (a.empty()) return "You must have at least one character in the first field";
  if (!NumbersFit(a)) return kNumberTooLarge;
  if (second) {
    const std::string b = std::string(second).substr(0, kPadNameMaxLength);
    if (b.empty()) return "You must have at least one character in the second field";
    if (!NumbersFit(b)) return kNumberTooLarge;
    block->firstName = pl3::SplitNameTokens(a);
    block->secondName = pl3::SplitNameTokens(b);
    int changes = 0;
    const char* message = CountChanges(*block, &changes);
    if (!message && changes == 0) message = "Fields are the same!";
    if (!message && changes > 1) message = "Only one field may change";
    if (message) {
      block->firstName.clear();
      block->secondName.clear();
      return message;
    }
    return nullptr;
  }
  block->firstName = pl3::SplitNameTokens(a);
  return nullptr;
}

std::vector<PadSortRecord> SortPadsForNaming(const SelectionInfo* list, int order) {
  std::vector<PadSortRecord> pads;
  for (const SelectionInfo* s = list; s; s = s->next) {
    const Tower* item = SelectionItem(*s);
    if (ItemTypeCode(item) != Type_PadStackInstanceHier) continue;
    pads.push_back({0, item, s->currentPoint.x, s->currentPoint.y, 0.0});
  }
  if (pads.empty()) return pads;
  if (order == kOrderClockwise || order == kOrderAnticlockwise) {
    const pl3::Point cursor = ActiveWindowData ? ActiveWindowData->Cursor : pl3::Point{};
    SetCircularAngles(pads, cursor);
  }
  std::stable_sort(pads.begin(), pads.end(),
                   [order](const PadSortRecord& p, const PadSortRecord& q) { return OrderedBefore(p, q, order); });
  return pads;
}

int NameSortedPins(const std::vector<PadSortRecord>& pads, const SelectionInfo* list, PadNamingBlock* block) {
  for (std::size_t i = 0; i < pads.size(); ++i) {
    if (!FindPadRecord(list, pads[i].item)) {
      MessageBox(nullptr, "Internal Error - unable to locate pad in selection", "NameSortedPins", MB_OK);
      return 0;
    }
    if (i > 0 && !AdvanceName(*block)) {
      char text[160];
      std::snprintf(text, sizeof text,
                    "Naming stopped after %zu pads: the next name would step beyond the numbers or "
                    "characters a name can hold.",
                    i);
      ShowNamingMessage(nullptr, text);
      return 0;
    }
    SetPadLabel(pads[i].item, BuildName(block->firstName).c_str());
  }
  return 1;
}

INT_PTR CALLBACK NamePadsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* block = reinterpret_cast<PadNamingBlock*>(GetWindowLongPtr(dialog, GWLP_USERDATA));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtr(dialog, GWLP_USERDATA, lParam);
      StartNamePads(dialog, *reinterpret_cast<PadNamingBlock*>(lParam));
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          if (block) AcceptNamePads(dialog, *block);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

int NameSelectedPads(HWND view) {
  (void)kRegistered;
  (void)g_resetRegistered;
  PadNaming = PadNamingBlock{};
  const SelectionInfo* list = ActiveWindowData ? ActiveWindowData->SelectionList : nullptr;
  PadNaming.selection = list;
  const INT_PTR result = DialogBoxParam(nullptr, MAKEINTRESOURCE(kNamePadsDialog), view, &NamePadsDlgProc,
                                        reinterpret_cast<LPARAM>(&PadNaming));
  if (result == 1) {
    const std::vector<PadSortRecord> pads = SortPadsForNaming(list, PadNaming.order);
    NameSortedPins(pads, list, &PadNaming);
    RedrawView(view);
  }
  PadNaming.firstName.clear();
  PadNaming.secondName.clear();
  return 1;
}

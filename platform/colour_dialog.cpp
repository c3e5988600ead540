// The colour dialog of our own template: 48 basic colours, 16 custom colours
// (written back on OK) and the mixer (red, green and blue boxes, a sample,
// "Add to Custom Colors") shown at once with CC_FULLOPEN or by its button.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/common_dialogs.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"

namespace pl3 {

namespace {

constexpr int kCellWidth = 14, kCellHeight = 11, kCellStepX = 18, kCellStepY = 14;
constexpr int kMixerIds[] = {kColourDialogSample, kColourDialogRed, kColourDialogGreen, kColourDialogBlue,
                             kColourDialogAdd, 1311, 1312, 1313};

// Eight hues in six rows: light tints, full, two darker shades, a dark
// shade, then greys from black to white.
std::array<COLORREF, 48> MakeBasicColours() {
  const int hues[8][3] = {{255, 0, 0},   {255, 128, 0}, {255, 255, 0}, {0, 192, 0},
                          {0, 192, 192}, {0, 0, 255},   {128, 0, 192}, {255, 0, 255}};
  std::array<COLORREF, 48> out{};
  for (int c = 0; c < 8; ++c) {
    auto mix = [&](int k, int num, int den, int toward) {
      return static_cast<BYTE>((hues[c][k] * num + toward * (den - num)) / den);
    };
    out[static_cast<size_t>(c)] = RGB(mix(0, 1, 2, 255), mix(1, 1, 2, 255), mix(2, 1, 2, 255));
    out[static_cast<size_t>(8 + c)] = RGB(hues[c][0], hues[c][1], hues[c][2]);
    out[static_cast<size_t>(16 + c)] = RGB(mix(0, 3, 4, 0), mix(1, 3, 4, 0), mix(2, 3, 4, 0));
    out[static_cast<size_t>(24 + c)] = RGB(mix(0, 1, 2, 0), mix(1, 1, 2, 0), mix(2, 1, 2, 0));
    out[static_cast<size_t>(32 + c)] = RGB(mix(0, 1, 4, 0), mix(1, 1, 4, 0), mix(2, 1, 4, 0));
    auto grey = static_cast<BYTE>(c * 255 / 7);
    out[static_cast<size_t>(40 + c)] = RGB(grey, grey, grey);
  }
  return out;
}

std::vector<DialogControl> MakeControls() {
  std::vector<DialogControl> out;
  out.push_back({"STATIC", 1090, "&Basic colors:", 4, 4, 140, 9, SS_LEFT});
  for (int i = 0; i < 48; ++i)
    out.push_back({"BUTTON", kColourDialogBasic + i, "", static_cast<short>(4 + (i % 8) * kCellStepX),
                   static_cast<short>(14 + (i / 8) * kCellStepY), kCellWidth, kCellHeight,
                   BS_OWNERDRAW | (i == 0 ? WS_TABSTOP | WS_GROUP : 0u)});
  out.push_back({"STATIC", 1091, "&Custom colors:", 4, 100, 140, 9, SS_LEFT});
  for (int i = 0; i < 16; ++i)
    out.push_back({"BUTTON", kColourDialogCustom + i, "", static_cast<short>(4 + (i % 8) * kCellStepX),
                   static_cast<short>(110 + (i / 8) * kCellStepY), kCellWidth, kCellHeight,
                   BS_OWNERDRAW | (i == 0 ? WS_TABSTOP | WS_GROUP : 0u)});
  out.push_back({"BUTTON", kColourDialogDefine, "&Define Custom Colors >>", 4, 142, 140, 14, BS_PUSHBUTTON | WS_TABSTOP});
  out.push_back({"BUTTON", IDOK, "OK", 4, 162, 44, 14, BS_DEFPUSHBUTTON | WS_TABSTOP});
  out.push_back({"BUTTON", IDCANCEL, "Cancel", 52, 162, 44, 14, BS_PUSHBUTTON | WS_TABSTOP});
  out.push_back({"STATIC", kColourDialogSample, "", 156, 14, 70, 40, SS_OWNERDRAW});
  out.push_back({"STATIC", 1311, "&Red:", 156, 62, 30, 9, SS_LEFT});
  out.push_back({"EDIT", kColourDialogRed, "", 190, 60, 36, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP});
  out.push_back({"STATIC", 1312, "&Green:", 156, 78, 30, 9, SS_LEFT});
  out.push_back({"EDIT", kColourDialogGreen, "", 190, 76, 36, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP});
  out.push_back({"STATIC", 1313, "Bl&ue:", 156, 94, 30, 9, SS_LEFT});
  out.push_back({"EDIT", kColourDialogBlue, "", 190, 92, 36, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP});
  out.push_back({"BUTTON", kColourDialogAdd, "&Add to Custom Colors", 156, 142, 90, 14, BS_PUSHBUTTON | WS_TABSTOP});
  return out;
}

const std::array<COLORREF, 48>& BasicColours() {
  static const std::array<COLORREF, 48> colours = MakeBasicColours();
  return colours;
}

const DialogTemplate& ColourTemplate() {
  static const std::vector<DialogControl> controls = MakeControls();
  static const DialogTemplate tpl{"ColourDialog", 0, "Color", 0, 0, 252, 182,
                                  DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, controls};
  return tpl;
}

struct ColourDialogState {
  LPCHOOSECOLOR cc;
  COLORREF current = 0;
  std::array<COLORREF, 16> custom{};
  int customSlot = 0;  // where "Add to Custom Colors" puts the colour
  int chosenCell = -1;  // the cell id framed as chosen
  bool settingEdits = false;
};

ColourDialogState* StateOf(HWND dialog) {
  return reinterpret_cast<ColourDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void ShowMixer(HWND dialog, bool show) {
  for (int id : kMixerIds) ShowWindow(GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE);
  if (show) EnableWindow(GetDlgItem(dialog, kColourDialogDefine), FALSE);
}

void ShowCurrent(HWND dialog, ColourDialogState& st) {
  st.settingEdits = true;
  SetDlgItemInt(dialog, kColourDialogRed, GetRValue(st.current), FALSE);
  SetDlgItemInt(dialog, kColourDialogGreen, GetGValue(st.current), FALSE);
  SetDlgItemInt(dialog, kColourDialogBlue, GetBValue(st.current), FALSE);
  st.settingEdits = false;
  InvalidateRect(GetDlgItem(dialog, kColourDialogSample), nullptr, TRUE);
}

void Choose(HWND dialog, ColourDialogState& st, int cell, COLORREF colour) {
  int old = st.chosenCell;
  st.chosenCell = cell;
  st.current = colour;
  if (old >= 0) InvalidateRect(GetDlgItem(dialog, old), nullptr, TRUE);
  if (cell >= 0) InvalidateRect(GetDlgItem(dialog, cell), nullptr, TRUE);
  ShowCurrent(dialog, st);
}

void OnInit(HWND dialog, ColourDialogState& st) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&st));
  std::copy(st.cc->lpCustColors, st.cc->lpCustColors + 16, st.custom.begin());
  COLORREF start = (st.cc->Flags & CC_RGBINIT) ? (st.cc->rgbResult & 0xFFFFFF) : 0;
  const auto& basic = BasicColours();
  auto at = std::find(basic.begin(), basic.end(), start);
  Choose(dialog, st, at == basic.end() ? -1 : kColourDialogBasic + static_cast<int>(at - basic.begin()), start);
  bool full = (st.cc->Flags & CC_FULLOPEN) && !(st.cc->Flags & CC_PREVENTFULLOPEN);
  ShowMixer(dialog, full);
  if (st.cc->Flags & CC_PREVENTFULLOPEN) EnableWindow(GetDlgItem(dialog, kColourDialogDefine), FALSE);
}

void OnEditChange(HWND dialog, ColourDialogState& st) {
  if (st.settingEdits) return;
  auto channel = [&](int id) {
    BOOL ok = FALSE;
    UINT v = GetDlgItemInt(dialog, id, &ok, FALSE);
    return static_cast<BYTE>(ok ? std::min(v, 255u) : 0u);
  };
  st.current = RGB(channel(kColourDialogRed), channel(kColourDialogGreen), channel(kColourDialogBlue));
  InvalidateRect(GetDlgItem(dialog, kColourDialogSample), nullptr, TRUE);
}

void DrawCell(HWND dialog, const ColourDialogState& st, const DRAWITEMSTRUCT& dis) {
  COLORREF colour = st.current;
  int id = static_cast<int>(dis.CtlID);
  if (id >= kColourDialogBasic && id < kColourDialogBasic + 48)
    colour = BasicColours()[static_cast<size_t>(id - kColourDialogBasic)];
  else if (id >= kColourDialogCustom && id < kColourDialogCustom + 16)
    colour = st.custom[static_cast<size_t>(id - kColourDialogCustom)];
  RECT r = dis.rcItem;
  FillRect(dis.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  bool chosen = id == st.chosenCell;
  if (chosen) FrameRect(dis.hDC, &r, GetSysColorBrush(COLOR_WINDOWTEXT));
  InflateRect(&r, -2, -2);
  FrameRect(dis.hDC, &r, GetSysColorBrush(COLOR_3DSHADOW));
  InflateRect(&r, -1, -1);
  HBRUSH fill = CreateSolidBrush(colour);
  FillRect(dis.hDC, &r, fill);
  DeleteObject(fill);
  if ((dis.itemState & ODS_FOCUS) && id != kColourDialogSample) {
    RECT focus = dis.rcItem;
    DrawFocusRect(dis.hDC, &focus);
  }
}

INT_PTR CALLBACK ColourDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInit(dialog, *reinterpret_cast<ColourDialogState*>(lParam));
    return TRUE;
  }
  ColourDialogState* st = StateOf(dialog);
  if (!st) return FALSE;
  switch (message) {
    case WM_DRAWITEM: DrawCell(dialog, *st, *reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (id >= kColourDialogBasic && id < kColourDialogBasic + 48) {
        Choose(dialog, *st, id, BasicColours()[static_cast<size_t>(id - kColourDialogBasic)]);
        return TRUE;
      }
      if (id >= kColourDialogCustom && id < kColourDialogCustom + 16) {
        st->customSlot = id - kColourDialogCustom;
        Choose(dialog, *st, id, st->custom[static_cast<size_t>(st->customSlot)]);
        return TRUE;
      }
      switch (id) {
        case kColourDialogRed:
        case kColourDialogGreen:
        case kColourDialogBlue:
          if (HIWORD(wParam) == EN_CHANGE) OnEditChange(dialog, *st);
          return TRUE;
        case kColourDialogDefine:
          if (!(st->cc->Flags & CC_PREVENTFULLOPEN)) ShowMixer(dialog, true);
          return TRUE;
        case kColourDialogAdd:
          st->custom[static_cast<size_t>(st->customSlot)] = st->current;
          InvalidateRect(GetDlgItem(dialog, kColourDialogCustom + st->customSlot), nullptr, TRUE);
          st->customSlot = (st->customSlot + 1) % 16;
          return TRUE;
        case IDOK:
          st->cc->rgbResult = st->current;
          std::copy(st->custom.begin(), st->custom.end(), st->cc->lpCustColors);
          EndDialog(dialog, TRUE);
          return TRUE;
        case IDCANCEL: EndDialog(dialog, FALSE); return TRUE;
        default: return FALSE;
      }
    }
    default: return FALSE;
  }
}

}  // namespace

COLORREF BasicColour(int index) {
  return index >= 0 && index < 48 ? BasicColours()[static_cast<size_t>(index)] : 0;
}

BOOL ShowColourDialog(LPCHOOSECOLOR cc) {
  // The custom colours are part of the record: without them there is nothing to show or keep.
  if (!cc || cc->lStructSize != sizeof(CHOOSECOLOR) || !cc->lpCustColors) return FALSE;
  ColourDialogState st{cc};
  return DialogBoxIndirectParamA(nullptr, &ColourTemplate(), cc->hwndOwner, &ColourDialogProc,
                                 reinterpret_cast<LPARAM>(&st)) == TRUE;
}

}  // namespace pl3

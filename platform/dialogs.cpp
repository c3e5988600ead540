// Dialogs: the dialog class "#32770" with its default handling, modal and
// modeless creation from templates, the dialog manager's keys, and the item
// helpers.
#include "platform/dialogs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>

#include "platform/backend.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/gdi.h"
#include "platform/resources.h"
#include "platform/text_case.h"
#include "platform/user_internal.h"

namespace pl3::user {

namespace {

struct DialogState : WindowState {
  ~DialogState() override {
    if (font) DeleteObject(font);
  }
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;
  int defId = 0;
  HWND savedFocus = nullptr;
  HFONT font = nullptr;
  SIZE baseUnits{6, 13};
  std::string templateName;
  int templateId = 0;
  int idleStage = 0;
};

DialogState* StateOf(HWND dialog) {
  WindowRecord* w = Find(dialog);
  return w ? dynamic_cast<DialogState*>(w->state.get()) : nullptr;
}

std::unordered_map<std::string, const DialogTemplate*>& Templates() {
  static std::unordered_map<std::string, const DialogTemplate*> templates;
  return templates;
}

std::string TemplateKey(LPCSTR nameOrId) {
  if (IS_INTRESOURCE(nameOrId)) return IntResourceName(nameOrId);
  return LowerCopy(nameOrId);
}

LRESULT Code(HWND control, const MSG* msg) {
  return Send(control, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

bool TabStop(HWND h) {
  WindowRecord* w = Find(h);
  return w && (w->style & WS_TABSTOP) && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED);
}

void SelectAllIfEdit(HWND control) {
  if (Code(control, nullptr) & DLGC_HASSETSEL) Send(control, EM_SETSEL, 0, -1);
}

// The button Enter presses: the focused push button, else the default id.
void PressDefault(HWND dialog) {
  HWND focus = GetFocus();
  int id = 0;
  HWND button = nullptr;
  if (focus && IsChild(dialog, focus) && (Code(focus, nullptr) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    button = focus;
    id = GetDlgCtrlID(focus);
  } else {
    LRESULT def = Send(dialog, DM_GETDEFID, 0, 0);
    id = HIWORD(static_cast<DWORD_PTR>(def)) == DC_HASDEFID ? LOWORD(static_cast<DWORD_PTR>(def)) : IDOK;
    button = GetDlgItem(dialog, id);
  }
  if (button && !IsWindowEnabled(button)) {
    MessageBeep(0);
    return;
  }
  Send(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void FocusFirst(HWND dialog) {
  DialogState* st = StateOf(dialog);
  HWND target = (st && st->savedFocus && IsChild(dialog, st->savedFocus)) ? st->savedFocus
                                                                          : GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (target) {
    SetFocus(target);
    SelectAllIfEdit(target);
  }
}

bool ReturnsValueDirectly(UINT message) {
  switch (message) {
    case WM_COMPAREITEM: case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_INITDIALOG: case 0x0037 /* query drag icon */:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
      return true;
    default: return false;
  }
}

LRESULT CALLBACK DialogClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(hwnd, DWLP_DLGPROC));
  if (proc) {
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 0);
    INT_PTR r = proc(hwnd, message, wParam, lParam);
    if (r) {
      if (ReturnsValueDirectly(message)) return r;
      return Find(hwnd) ? GetWindowLongPtrA(hwnd, DWLP_MSGRESULT) : 0;
    }
    if (!Find(hwnd)) return 0;
  }
  return DefDlgProcA(hwnd, message, wParam, lParam);
}

SIZE MeasureBaseUnits(HFONT font) {
  SIZE units{6, 13};
  HDC dc = GetDC(nullptr);
  if (!dc) return units;
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(font));
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE ext{};
  TEXTMETRICA tm{};
  if (GetTextExtentPoint32A(dc, kAlphabet, 52, &ext) && GetTextMetricsA(dc, &tm) && ext.cx > 0 && tm.tmHeight > 0)
    units = SIZE{(ext.cx / 26 + 1) / 2, tm.tmHeight};
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return units;
}

RECT ToPixels(SIZE base, int x, int y, int cx, int cy) {
  int px = x * base.cx / 4, py = y * base.cy / 8;
  return RECT{px, py, px + cx * base.cx / 4, py + cy * base.cy / 8};
}

HWND CreateFromTemplate(const DialogTemplate* tpl, HWND parent, DLGPROC proc, LPARAM param, bool modal) {
  if (!tpl) return nullptr;
  HFONT font = CreateFontA(-(tpl->fontPoints * 96 + 36) / 72, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                           DEFAULT_QUALITY, 0, tpl->fontFace ? tpl->fontFace : "MS Sans Serif");
  SIZE base = font ? MeasureBaseUnits(font) : SIZE{6, 13};
  DWORD style = tpl->style;
  bool child = (style & WS_CHILD) != 0;
  if (!child) style |= WS_POPUP;
  RECT client = ToPixels(base, tpl->x, tpl->y, tpl->cx, tpl->cy);
  RECT frame{0, 0, client.right - client.left, client.bottom - client.top};
  AdjustWindowRectEx(&frame, style, FALSE, tpl->exStyle);
  int w = frame.right - frame.left, h = frame.bottom - frame.top;
  int x = client.left, y = client.top;
  if (!child) {
    RECT around = pl3::ScreenRect();
    HWND owner = TopLevelOf(parent);
    if (owner && (tpl->style & DS_CENTER)) GetWindowRect(owner, &around);
    if ((tpl->style & DS_CENTER) || !owner) {
      x = around.left + (around.right - around.left - w) / 2;
      y = around.top + (around.bottom - around.top - h) / 2;
    } else {
      POINT o{0, 0};
      ClientToScreen(owner, &o);
      x += o.x;
      y += o.y;
    }
    // Wholly on screen where it fits, its caption first where it does not.
    RECT screen = pl3::ScreenRect();
    x = std::max(std::min(x, static_cast<int>(screen.right) - w), static_cast<int>(screen.left));
    y = std::max(std::min(y, static_cast<int>(screen.bottom) - h), static_cast<int>(screen.top));
  }
  HWND dlg = CreateWindowExA(tpl->exStyle, WC_DIALOG, tpl->caption ? tpl->caption : "", style & ~WS_VISIBLE, x, y, w,
                             h, parent, nullptr, nullptr, nullptr);
  if (!dlg) {
    if (font) DeleteObject(font);
    return nullptr;
  }
  auto st = std::make_unique<DialogState>();
  st->modal = modal;
  st->font = font;
  st->baseUnits = base;
  st->templateName = tpl->name ? tpl->name : "";
  st->templateId = tpl->id;
  DialogState* state = st.get();
  Find(dlg)->state = std::move(st);
  SetWindowLongPtrA(dlg, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  for (const DialogControl& c : tpl->controls) {
    RECT r = ToPixels(base, c.x, c.y, c.cx, c.cy);
    HWND ctl = CreateWindowExA(c.exStyle, c.className, c.text ? c.text : "", c.style | WS_CHILD | WS_VISIBLE, r.left,
                               r.top, r.right - r.left, r.bottom - r.top, dlg,
                               reinterpret_cast<HMENU>(static_cast<std::intptr_t>(c.id)), nullptr, nullptr);
    if (!ctl) {
      std::fprintf(stderr, "dialog \"%s\": control %d of class \"%s\" could not be created\n",
                   tpl->name ? tpl->name : (tpl->caption ? tpl->caption : ""), c.id, c.className);
      DestroyWindow(dlg);
      return nullptr;
    }
    if (font) Send(ctl, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const bool isButton = c.className && EqualsNoCase(c.className, "button");
    if (isButton && (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && !state->defId)
      state->defId = c.id;
  }
  if (!Find(dlg)) return nullptr;
  if (font) Send(dlg, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  HWND first = GetNextDlgTabItem(dlg, nullptr, FALSE);
  LRESULT r = Send(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
  if (!Find(dlg)) return nullptr;
  if (r && first && IsWindow(first)) {
    if (DialogState* s2 = StateOf(dlg)) s2->savedFocus = first;
    if (tpl->style & WS_VISIBLE) SetFocus(first);
  } else if (!r) {
    if (DialogState* s2 = StateOf(dlg); s2 && GetFocus() && IsChild(dlg, GetFocus())) s2->savedFocus = GetFocus();
  }
  if ((tpl->style & WS_VISIBLE) && Find(dlg)) ShowWindow(dlg, SW_SHOW);
  return Find(dlg) ? dlg : nullptr;
}

struct ModalContext {
  HWND dialog;
  DialogHook hook;
};

bool ModalDone(void* p) {
  auto* ctx = static_cast<ModalContext*>(p);
  DialogState* st = StateOf(ctx->dialog);
  return !st || st->ended;
}

// Headless: nobody will press a key, so the hook acts first; a dialog left
// open afterwards (and with no timer to wait for) is cancelled.
void HeadlessIdle(void* p) {
  auto* ctx = static_cast<ModalContext*>(p);
  DialogState* st = StateOf(ctx->dialog);
  if (!st) return;
  int stage = st->idleStage++;
  if (stage == 0) {
    if (ctx->hook) ctx->hook(ctx->dialog);
    return;
  }
  if (AnyTimerPending() && stage < 50) {
    S().testClock = std::max(S().testClock, NextTimerDue());
    return;
  }
  std::string label = st->templateName.empty() ? std::to_string(st->templateId) : st->templateName;
  if (stage < 52 && st->idleStage < 52) {
    std::fprintf(stderr, "dialog \"%s\" left open on the headless backend: cancelling it\n", label.c_str());
    st->idleStage = 52;
    Send(ctx->dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
         reinterpret_cast<LPARAM>(GetDlgItem(ctx->dialog, IDCANCEL)));
    return;
  }
  std::fprintf(stderr, "dialog \"%s\" refused to close on the headless backend: ending it with -1\n", label.c_str());
  EndDialog(ctx->dialog, -1);
}

void RealIdle(void* p) {
  auto* ctx = static_cast<ModalContext*>(p);
  DialogState* st = StateOf(ctx->dialog);
  if (st && st->idleStage++ == 0 && ctx->hook) {
    ctx->hook(ctx->dialog);
    return;
  }
  // Nothing to do until the user acts or a timer is due: sleep, never spin.
  WaitMessage();
}

INT_PTR RunModal(const DialogTemplate* tpl, HWND parent, DLGPROC proc, LPARAM param) {
  if (!tpl) return -1;
  DialogTemplate hidden = *tpl;
  hidden.style &= ~WS_VISIBLE;
  HWND owner = TopLevelOf(parent);
  HWND dlg = CreateFromTemplate(&hidden, owner, proc, param, true);
  if (!dlg) return -1;
  bool disabledOwner = false;
  if (owner && IsWindowEnabled(owner)) {
    EnableWindow(owner, FALSE);
    disabledOwner = true;
  }
  ModalContext ctx{dlg, FindDialogHook(tpl->name, tpl->id, tpl->caption)};
  if (!ModalDone(&ctx)) {
    ShowWindow(dlg, SW_SHOW);
    FocusFirst(dlg);
    RunModalLoop(dlg, &ModalDone, &ctx, backend::Active().realDisplay ? &RealIdle : &HeadlessIdle);
  }
  DialogState* st = StateOf(dlg);
  INT_PTR result = st && st->ended ? st->result : -1;
  if (disabledOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (IsWindow(dlg)) {
    if (owner && IsWindow(owner)) SetActiveWindow(owner);
    DestroyWindow(dlg);
  }
  return result;
}

}  // namespace

void RegisterDialogClass() {
  AddSystemClass(WC_DIALOG, CS_DBLCLKS | CS_SAVEBITS, &DialogClassProc, DLGWINDOWEXTRA, LoadCursorA(nullptr, IDC_ARROW),
                 nullptr);
}

}  // namespace pl3::user

using namespace pl3::user;

std::vector<const DialogTemplate*>& pl3::RegisteredDialogTemplates() {
  static std::vector<const DialogTemplate*> all;
  return all;
}

bool pl3::RegisterDialogTemplate(const DialogTemplate* tpl) {
  if (!tpl) return false;
  RegisteredDialogTemplates().push_back(tpl);
  if (tpl->name) Templates()[TemplateKey(tpl->name)] = tpl;
  if (tpl->id) Templates()[TemplateKey(MAKEINTRESOURCE(tpl->id))] = tpl;
  return true;
}

const DialogTemplate* pl3::FindDialogTemplate(LPCSTR nameOrId) {
  if (!nameOrId) return nullptr;
  auto it = Templates().find(TemplateKey(nameOrId));
  if (it == Templates().end()) return nullptr;
  // A template of a library since unloaded went with it.
  return ModuleOfAddress(it->second) ? it->second : nullptr;
}

static void ReportMissingTemplate(LPCSTR name) {
  if (IS_INTRESOURCE(name))
    std::fprintf(stderr, "no dialog template %u\n", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(name)));
  else
    std::fprintf(stderr, "no dialog template \"%s\"\n", name ? name : "(null)");
}

// The module's own template first (a plug-in passes its handle, null is the
// program), then the last one registered under the name by any module.
static const DialogTemplate* FindTemplateFor(HINSTANCE instance, LPCSTR name) {
  HMODULE module = instance;
  if (HRSRC found = FindResourceA(module, name, RT_DIALOG))
    return static_cast<const DialogTemplate*>(LockResource(LoadResource(module, found)));
  return pl3::FindDialogTemplate(name);
}

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param) {
  const DialogTemplate* tpl = FindTemplateFor(instance, templateName);
  if (!tpl) {
    ReportMissingTemplate(templateName);
    return -1;
  }
  return RunModal(tpl, parent, proc, param);
}

INT_PTR DialogBoxIndirectParamA(HINSTANCE, const DialogTemplate* tpl, HWND parent, DLGPROC proc, LPARAM param) {
  return RunModal(tpl, parent, proc, param);
}

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param) {
  const DialogTemplate* tpl = FindTemplateFor(instance, templateName);
  if (!tpl) {
    ReportMissingTemplate(templateName);
    return nullptr;
  }
  return CreateFromTemplate(tpl, parent, proc, param, false);
}

HWND CreateDialogIndirectParamA(HINSTANCE, const DialogTemplate* tpl, HWND parent, DLGPROC proc, LPARAM param) {
  return CreateFromTemplate(tpl, parent, proc, param, false);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  DialogState* st = StateOf(dialog);
  if (!st) return FALSE;
  st->ended = true;
  st->result = result;
  // A modal dialog disappears at once; its loop ends before the next message.
  ShowWindow(dialog, SW_HIDE);
  return TRUE;
}

LRESULT DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogState* st = StateOf(dialog);
  switch (message) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(dialog, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_3DFACE));
      return 1;
    }
    case WM_CLOSE:
      Send(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (st && f && IsChild(dialog, f)) st->savedFocus = f;
      } else {
        FocusFirst(dialog);
      }
      return 0;
    case WM_SETFOCUS: FocusFirst(dialog); return 0;
    case WM_NEXTDLGCTL: {
      HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
      if (target) {
        SetFocus(target);
        SelectAllIfEdit(target);
      }
      return 0;
    }
    case DM_GETDEFID:
      return (st && st->defId) ? static_cast<LRESULT>(MAKELONG(static_cast<WORD>(st->defId), DC_HASDEFID)) : 0;
    case DM_SETDEFID:
      if (st) {
        if (HWND old = GetDlgItem(dialog, st->defId)) Send(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        st->defId = static_cast<int>(wParam);
        if (HWND now = GetDlgItem(dialog, st->defId)) Send(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
      }
      return TRUE;
    case WM_GETFONT: return st ? reinterpret_cast<LRESULT>(st->font) : 0;
    case WM_SETFONT:
      return 0;
    default: return DefWindowProcA(dialog, message, wParam, lParam);
  }
}

BOOL IsDialogMessageA(HWND dialog, MSG* msg) {
  if (!msg || !IsWindow(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  switch (msg->message) {
    case WM_KEYDOWN: {
      LRESULT code = Code(msg->hwnd, msg);
      if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) break;
      switch (msg->wParam) {
        case VK_TAB:
          if (code & DLGC_WANTTAB) break;
          {
            bool back = GetKeyState(VK_SHIFT) < 0;
            HWND next = GetNextDlgTabItem(dialog, GetFocus(), back);
            if (next) {
              SetFocus(next);
              SelectAllIfEdit(next);
            }
          }
          return TRUE;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
          if (code & DLGC_WANTARROWS) break;
          {
            bool back = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
            HWND next = GetNextDlgGroupItem(dialog, GetFocus(), back);
            if (next && next != GetFocus()) {
              SetFocus(next);
              if (Code(next, nullptr) & DLGC_RADIOBUTTON) Send(next, BM_CLICK, 0, 0);
            }
          }
          return TRUE;
        case VK_RETURN: PressDefault(dialog); return TRUE;
        case VK_ESCAPE:
          Send(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
          return TRUE;
        default: break;
      }
      break;
    }
    case WM_CHAR: {
      LRESULT code = Code(msg->hwnd, msg);
      if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) break;
      if (msg->wParam == '\t' && !(code & DLGC_WANTTAB)) return TRUE;
      if (msg->wParam == '\r' || msg->wParam == 27) return TRUE;
      break;
    }
    default: break;
  }
  TranslateMessage(msg);
  DispatchMessageA(msg);
  return TRUE;
}

// ---- Item helpers ------------------------------------------------------------------

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND c = GetDlgItem(dialog, id);
  return c ? SetWindowTextA(c, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
  if (buffer && size > 0) buffer[0] = '\0';
  HWND c = GetDlgItem(dialog, id);
  return c ? static_cast<UINT>(GetWindowTextA(c, buffer, size)) : 0;
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char text[32];
  if (isSigned)
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  else
    std::snprintf(text, sizeof text, "%u", value);
  return SetDlgItemTextA(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  char text[64];
  if (!GetDlgItem(dialog, id)) return 0;
  GetDlgItemTextA(dialog, id, text, sizeof text);
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  char* end = nullptr;
  long long v = std::strtoll(p, &end, 10);
  if (end == p) return 0;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end) return 0;
  if (isSigned ? (v < INT32_MIN || v > INT32_MAX) : (v < 0 || v > UINT32_MAX)) return 0;
  if (translated) *translated = TRUE;
  return static_cast<UINT>(v);
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND c = GetDlgItem(dialog, id);
  return c ? SendMessageA(c, message, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND c = GetDlgItem(dialog, id);
  if (!c) return FALSE;
  SendMessageA(c, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND c = GetDlgItem(dialog, id);
  return c ? static_cast<UINT>(SendMessageA(c, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
  for (int id = firstId; id <= lastId; ++id)
    if (HWND c = GetDlgItem(dialog, id)) SendMessageA(c, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
  return TRUE;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  WindowRecord* d = Find(dialog);
  if (!d) return nullptr;
  std::vector<HWND> kids = d->children;
  if (kids.empty()) return nullptr;
  int n = static_cast<int>(kids.size());
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (kids[static_cast<size_t>(i)] == control) start = i;
  if (start < 0) {
    // No current control: the first (or last) tab stop.
    for (int k = 0; k < n; ++k) {
      HWND h = kids[static_cast<size_t>(previous ? n - 1 - k : k)];
      if (TabStop(h)) return h;
    }
    return nullptr;
  }
  for (int k = 1; k <= n; ++k) {
    int i = ((previous ? start - k : start + k) % n + n) % n;
    if (TabStop(kids[static_cast<size_t>(i)])) return kids[static_cast<size_t>(i)];
  }
  return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  WindowRecord* d = Find(dialog);
  if (!d || d->children.empty()) return nullptr;
  std::vector<HWND>& kids = d->children;
  int n = static_cast<int>(kids.size());
  int at = 0;
  for (int i = 0; i < n; ++i)
    if (kids[static_cast<size_t>(i)] == control) at = i;
  // The group runs from a WS_GROUP control to the one before the next WS_GROUP.
  int first = at;
  while (first > 0 && !(Find(kids[static_cast<size_t>(first)])->style & WS_GROUP)) --first;
  int last = at;
  while (last + 1 < n && !(Find(kids[static_cast<size_t>(last + 1)])->style & WS_GROUP)) ++last;
  int size = last - first + 1;
  for (int k = 1; k <= size; ++k) {
    int i = first + (((at - first) + (previous ? -k : k)) % size + size) % size;
    WindowRecord* w = Find(kids[static_cast<size_t>(i)]);
    if (w && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED)) return w->handle;
  }
  return control;
}

BOOL MapDialogRect(HWND dialog, RECT* rect) {
  DialogState* st = StateOf(dialog);
  if (!st || !rect) return FALSE;
  SIZE b = st->baseUnits;
  *rect = RECT{rect->left * b.cx / 4, rect->top * b.cy / 8, rect->right * b.cx / 4, rect->bottom * b.cy / 8};
  return TRUE;
}

LONG GetDialogBaseUnits() { return MAKELONG(8, 16); }

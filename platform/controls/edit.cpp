// The EDIT control: single-line and multi-line text with a selection, the
// caret, keyboard editing, a text limit, read-only fields, number-only
// fields, and EN_CHANGE/EN_UPDATE/EN_SETFOCUS/EN_KILLFOCUS/EN_MAXTEXT.
// Lines of a multi-line field are separated by "\r\n".
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/controls/control_common.h"
#include "platform/scroll.h"
#include "platform/text_case.h"

namespace pl3::controls {

namespace {

struct EditState : user::WindowState {
  std::string text;
  int anchor = 0;  // selection: anchor and caret, in characters
  int caret = 0;
  size_t limit = 30000;
  bool modified = false;
  bool focused = false;
  bool tracking = false;
  int scrollX = 0;     // single-line: first pixel shown
  int firstLine = 0;   // multi-line: first line shown
  bool scrollBar = false;  // multi-line made with WS_VSCROLL: the bar shows while lines overflow
  char password = 0;
  HFONT font = nullptr;
  std::string undoText;
  bool canUndo = false;
};

EditState* StateOf(HWND hwnd) {
  user::WindowRecord* w = user::Find(hwnd);
  return w ? dynamic_cast<EditState*>(w->state.get()) : nullptr;
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }
bool Multi(HWND hwnd) { return StyleOf(hwnd) & ES_MULTILINE; }

// Line starts of the text (multi-line), each line ending before "\r\n".
std::vector<int> LineStarts(const std::string& t) {
  std::vector<int> starts{0};
  for (size_t i = 0; i + 1 < t.size(); ++i)
    if (t[i] == '\r' && t[i + 1] == '\n') starts.push_back(static_cast<int>(i + 2));
  return starts;
}

int LineOf(const std::vector<int>& starts, int pos) {
  int line = 0;
  for (size_t i = 0; i < starts.size(); ++i)
    if (starts[i] <= pos) line = static_cast<int>(i);
  return line;
}

int LineEnd(const std::string& t, const std::vector<int>& starts, int line) {
  if (line + 1 < static_cast<int>(starts.size())) return starts[static_cast<size_t>(line + 1)] - 2;
  return static_cast<int>(t.size());
}

std::string Shown(const EditState& st, int from, int to) {
  std::string s = st.text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
  if (st.password) std::fill(s.begin(), s.end(), st.password);
  return s;
}

int TextWidth(HDC dc, const std::string& s) {
  SIZE ext{};
  if (!s.empty()) GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &ext);
  return ext.cx;
}

HDC MeasureDC(HWND hwnd) {
  HDC dc = GetDC(hwnd);
  if (dc) SelectObject(dc, ControlFont(hwnd));
  return dc;
}

int LineHeight(HWND hwnd) { return FontHeight(hwnd); }

POINT CaretPoint(HWND hwnd, EditState& st, HDC dc) {
  std::vector<int> starts = LineStarts(st.text);
  int line = Multi(hwnd) ? LineOf(starts, st.caret) : 0;
  int start = Multi(hwnd) ? starts[static_cast<size_t>(line)] : 0;
  int x = TextWidth(dc, Shown(st, start, st.caret));
  int h = LineHeight(hwnd);
  if (Multi(hwnd)) return POINT{x + 1, (line - st.firstLine) * h};
  return POINT{x - st.scrollX + 1, 0};
}

int VisibleLines(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return std::max(1, static_cast<int>(rc.bottom - rc.top) / std::max(1, LineHeight(hwnd)));
}

// The vertical bar of a multi-line field: a position per line, a page of
// the lines that fit.
void SyncScrollBar(HWND hwnd, const EditState& st) {
  if (!st.scrollBar) return;
  int lines = static_cast<int>(LineStarts(st.text).size());
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, lines - 1),
                static_cast<UINT>(VisibleLines(hwnd)), st.firstLine, 0};
  SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void KeepCaretVisible(HWND hwnd, EditState& st) {
  HDC dc = MeasureDC(hwnd);
  if (!dc) return;
  RECT rc;
  GetClientRect(hwnd, &rc);
  if (Multi(hwnd)) {
    int visible = VisibleLines(hwnd);
    int line = LineOf(LineStarts(st.text), st.caret);
    if (line < st.firstLine) st.firstLine = line;
    if (line >= st.firstLine + visible) st.firstLine = line - visible + 1;
    SyncScrollBar(hwnd, st);
  } else {
    int x = TextWidth(dc, Shown(st, 0, st.caret));
    int width = rc.right - rc.left - 2;
    if (x - st.scrollX > width) st.scrollX = x - width;
    if (x < st.scrollX) st.scrollX = x;
    if (st.scrollX < 0) st.scrollX = 0;
  }
  if (st.focused) {
    POINT p = CaretPoint(hwnd, st, dc);
    SetCaretPos(p.x, p.y);
  }
  ReleaseDC(hwnd, dc);
}

int IndexFromPoint(HWND hwnd, EditState& st, POINT pt) {
  HDC dc = MeasureDC(hwnd);
  if (!dc) return 0;
  std::vector<int> starts = LineStarts(st.text);
  int line = 0;
  if (Multi(hwnd)) {
    int h = std::max(1, LineHeight(hwnd));
    line = std::clamp(st.firstLine + pt.y / h, 0, static_cast<int>(starts.size()) - 1);
  }
  int start = Multi(hwnd) ? starts[static_cast<size_t>(line)] : 0;
  int end = Multi(hwnd) ? LineEnd(st.text, starts, line) : static_cast<int>(st.text.size());
  int x = pt.x + (Multi(hwnd) ? 0 : st.scrollX);
  int best = start;
  for (int i = start; i <= end; ++i) {
    int w = TextWidth(dc, Shown(st, start, i));
    int next = i < end ? TextWidth(dc, Shown(st, start, i + 1)) : w;
    best = i;
    if (x < (w + next) / 2) break;
  }
  ReleaseDC(hwnd, dc);
  return best;
}

void Changed(HWND hwnd, EditState& st) {
  st.modified = true;
  KeepCaretVisible(hwnd, st);
  InvalidateRect(hwnd, nullptr, TRUE);
  Notify(hwnd, EN_UPDATE);
  if (IsWindow(hwnd)) Notify(hwnd, EN_CHANGE);
}

// Replaces the selection with `insert`, honouring the limit and the style's
// case and digit rules. Returns false when nothing could be inserted.
bool ReplaceSelection(HWND hwnd, EditState& st, std::string insert, bool notify) {
  DWORD style = StyleOf(hwnd);
  if (style & ES_UPPERCASE) insert = UpperCopy(insert);
  if (style & ES_LOWERCASE) insert = LowerCopy(insert);
  if (!(style & ES_MULTILINE)) {
    // A single-line field keeps only the first line.
    size_t cut = insert.find_first_of("\r\n");
    if (cut != std::string::npos) insert.resize(cut);
  }
  int a = std::min(st.anchor, st.caret), b = std::max(st.anchor, st.caret);
  size_t room = st.limit > st.text.size() - static_cast<size_t>(b - a) ? st.limit - (st.text.size() - static_cast<size_t>(b - a)) : 0;
  bool clipped = insert.size() > room;
  if (clipped) insert.resize(room);
  if (insert.empty() && a == b) {
    if (clipped) Notify(hwnd, EN_MAXTEXT);
    return false;
  }
  st.undoText = st.text;
  st.canUndo = true;
  st.text.replace(static_cast<size_t>(a), static_cast<size_t>(b - a), insert);
  st.anchor = st.caret = a + static_cast<int>(insert.size());
  if (notify) Changed(hwnd, st);
  if (clipped && IsWindow(hwnd)) Notify(hwnd, EN_MAXTEXT);
  return true;
}

void SetSelection(HWND hwnd, EditState& st, int anchor, int caret) {
  int n = static_cast<int>(st.text.size());
  st.anchor = std::clamp(anchor, 0, n);
  st.caret = std::clamp(caret, 0, n);
  KeepCaretVisible(hwnd, st);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Paint(HWND hwnd, HDC dc) {
  EditState* st = StateOf(hwnd);
  if (!st) return;
  bool readOnly = StyleOf(hwnd) & ES_READONLY;
  HBRUSH brush = PrepareDC(hwnd, dc, (readOnly || !IsWindowEnabled(hwnd)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillRect(dc, &rc, brush);
  SetBkMode(dc, TRANSPARENT);
  if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  int h = LineHeight(hwnd);
  std::vector<int> starts = Multi(hwnd) ? LineStarts(st->text) : std::vector<int>{0};
  int a = std::min(st->anchor, st->caret), b = std::max(st->anchor, st->caret);
  bool showSel = st->focused || (StyleOf(hwnd) & ES_NOHIDESEL);
  for (size_t i = static_cast<size_t>(Multi(hwnd) ? st->firstLine : 0); i < starts.size(); ++i) {
    int y = (static_cast<int>(i) - (Multi(hwnd) ? st->firstLine : 0)) * h;
    if (y >= rc.bottom) break;
    int start = starts[i];
    int end = Multi(hwnd) ? LineEnd(st->text, starts, static_cast<int>(i)) : static_cast<int>(st->text.size());
    int x0 = 1 - (Multi(hwnd) ? 0 : st->scrollX);
    std::string line = Shown(*st, start, end);
    TextOutA(dc, x0, y, line.c_str(), static_cast<int>(line.size()));
    int s = std::max(a, start), e = std::min(b, end);
    if (showSel && s < e) {
      RECT sel{x0 + TextWidth(dc, Shown(*st, start, s)), y, x0 + TextWidth(dc, Shown(*st, start, e)), y + h};
      InvertRect(dc, &sel);
    }
  }
}

// The clipboard: the selection goes out as CF_TEXT; a password field never
// gives its text away.
void CopySelection(HWND hwnd, const EditState& st) {
  int a = std::min(st.anchor, st.caret), b = std::max(st.anchor, st.caret);
  if (st.password || a == b) return;
  std::string text = st.text.substr(static_cast<size_t>(a), static_cast<size_t>(b - a));
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!block) return;
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  if (!OpenClipboard(hwnd)) {
    GlobalFree(block);
    return;
  }
  EmptyClipboard();
  if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
  CloseClipboard();
}

void CutSelection(HWND hwnd, EditState& st) {
  if ((StyleOf(hwnd) & ES_READONLY) || st.password || st.anchor == st.caret) return;
  CopySelection(hwnd, st);
  ReplaceSelection(hwnd, st, "", true);
}

void Paste(HWND hwnd, EditState& st) {
  if ((StyleOf(hwnd) & ES_READONLY) || !OpenClipboard(hwnd)) return;
  std::string text;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(block))) {
      text.assign(bytes, strnlen(bytes, GlobalSize(block)));
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  if (!text.empty()) ReplaceSelection(hwnd, st, text, true);
}

void MoveCaret(HWND hwnd, EditState& st, int to, bool extend) {
  SetSelection(hwnd, st, extend ? st.anchor : to, to);
}

void KeyDown(HWND hwnd, EditState& st, WPARAM vk) {
  bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  bool readOnly = StyleOf(hwnd) & ES_READONLY;
  int n = static_cast<int>(st.text.size());
  std::vector<int> starts = LineStarts(st.text);
  int line = Multi(hwnd) ? LineOf(starts, st.caret) : 0;
  switch (vk) {
    case VK_LEFT: {
      int to = st.caret;
      if (!shift && st.anchor != st.caret) to = std::min(st.anchor, st.caret);
      else if (to > 0) to -= (to >= 2 && st.text[static_cast<size_t>(to - 1)] == '\n' && st.text[static_cast<size_t>(to - 2)] == '\r') ? 2 : 1;
      MoveCaret(hwnd, st, to, shift);
      break;
    }
    case VK_RIGHT: {
      int to = st.caret;
      if (!shift && st.anchor != st.caret) to = std::max(st.anchor, st.caret);
      else if (to < n) to += (st.text[static_cast<size_t>(to)] == '\r' && to + 1 < n && st.text[static_cast<size_t>(to + 1)] == '\n') ? 2 : 1;
      MoveCaret(hwnd, st, to, shift);
      break;
    }
    case VK_HOME: MoveCaret(hwnd, st, ctrl || !Multi(hwnd) ? 0 : starts[static_cast<size_t>(line)], shift); break;
    case VK_END: MoveCaret(hwnd, st, ctrl || !Multi(hwnd) ? n : LineEnd(st.text, starts, line), shift); break;
    case VK_UP:
    case VK_DOWN:
      if (Multi(hwnd)) {
        int target = line + (vk == VK_UP ? -1 : 1);
        if (target >= 0 && target < static_cast<int>(starts.size())) {
          int col = st.caret - starts[static_cast<size_t>(line)];
          int to = std::min(starts[static_cast<size_t>(target)] + col, LineEnd(st.text, starts, target));
          MoveCaret(hwnd, st, to, shift);
        }
      }
      break;
    case VK_INSERT:
      if (ctrl) CopySelection(hwnd, st);
      else if (shift) Paste(hwnd, st);
      break;
    case VK_DELETE:
      if (shift) {
        CutSelection(hwnd, st);
        break;
      }
      if (readOnly) break;
      if (st.anchor == st.caret && st.caret < n) {
        st.anchor = st.caret + ((st.text[static_cast<size_t>(st.caret)] == '\r' && st.caret + 1 < n) ? 2 : 1);
      }
      ReplaceSelection(hwnd, st, "", true);
      break;
    default: break;
  }
}

void Char(HWND hwnd, EditState& st, WPARAM ch) {
  DWORD style = StyleOf(hwnd);
  switch (ch) {
    case 1:  // Ctrl+A
      SetSelection(hwnd, st, 0, static_cast<int>(st.text.size()));
      return;
    case 3: CopySelection(hwnd, st); return;  // Ctrl+C
    case 22: Paste(hwnd, st); return;         // Ctrl+V
    case 24: CutSelection(hwnd, st); return;  // Ctrl+X
    default: break;
  }
  if (style & ES_READONLY) return;
  if (ch == '\b') {
    if (st.anchor == st.caret && st.caret > 0) {
      int back = (st.caret >= 2 && st.text[static_cast<size_t>(st.caret - 1)] == '\n') ? 2 : 1;
      st.anchor = st.caret - back;
    }
    ReplaceSelection(hwnd, st, "", true);
    return;
  }
  if (ch == '\r') {
    if ((style & ES_MULTILINE)) ReplaceSelection(hwnd, st, "\r\n", true);
    return;
  }
  if (ch < 32 || ch > 255) return;
  if ((style & ES_NUMBER) && !std::isdigit(static_cast<int>(ch))) {
    MessageBeep(0);
    return;
  }
  ReplaceSelection(hwnd, st, std::string(1, static_cast<char>(ch)), true);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  EditState* st = StateOf(hwnd);
  switch (message) {
    case WM_NCCREATE: {
      if (user::WindowRecord* w = user::Find(hwnd)) {
        auto s = std::make_unique<EditState>();
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) s->text = cs->lpszName;
        if (cs && (cs->style & ES_PASSWORD)) s->password = '*';
        s->scrollBar = cs && (cs->style & ES_MULTILINE) && (cs->style & WS_VSCROLL);
        w->state = std::move(s);
      }
      return TRUE;
    }
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
      if (st) SyncScrollBar(hwnd, *st);
      return 0;
    case EM_GETFIRSTVISIBLELINE: return st && Multi(hwnd) ? st->firstLine : 0;
    case WM_VSCROLL: {
      if (!st || !Multi(hwnd)) return 0;
      int lines = static_cast<int>(LineStarts(st->text).size()), page = VisibleLines(hwnd);
      int to = st->firstLine;
      switch (LOWORD(wParam)) {
        case SB_LINEUP: --to; break;
        case SB_LINEDOWN: ++to; break;
        case SB_PAGEUP: to -= page; break;
        case SB_PAGEDOWN: to += page; break;
        case SB_TOP: to = 0; break;
        case SB_BOTTOM: to = lines; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
          GetScrollInfo(hwnd, SB_VERT, &si);
          to = si.nTrackPos;
          break;
        }
        default: return 0;
      }
      to = std::clamp(to, 0, std::max(0, lines - page));
      if (to != st->firstLine) {
        st->firstLine = to;
        SyncScrollBar(hwnd, *st);
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    }
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      if (Multi(hwnd)) code |= DLGC_WANTALLKEYS;
      auto* msg = reinterpret_cast<MSG*>(lParam);
      if (Multi(hwnd) && msg && msg->message == WM_KEYDOWN &&
          (msg->wParam == VK_ESCAPE || msg->wParam == VK_TAB || (msg->wParam == VK_RETURN && !(StyleOf(hwnd) & ES_WANTRETURN))))
        code &= ~DLGC_WANTALLKEYS;
      return code;
    }
    case WM_SETTEXT:
      if (!st) return FALSE;
      st->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      if (!Multi(hwnd)) {
        size_t cut = st->text.find_first_of("\r\n");
        if (cut != std::string::npos) st->text.resize(cut);
      }
      st->anchor = st->caret = 0;
      st->scrollX = 0;
      st->firstLine = 0;
      st->modified = false;
      st->canUndo = false;
      KeepCaretVisible(hwnd, *st);
      InvalidateRect(hwnd, nullptr, TRUE);
      Notify(hwnd, EN_UPDATE);
      if (IsWindow(hwnd)) Notify(hwnd, EN_CHANGE);
      return TRUE;
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<LPSTR>(lParam);
      if (!st || !buf || wParam == 0) return 0;
      size_t n = std::min(st->text.size(), static_cast<size_t>(wParam) - 1);
      std::memcpy(buf, st->text.data(), n);
      buf[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return st ? static_cast<LRESULT>(st->text.size()) : 0;
    case WM_SETFONT:
      if (st) st->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return st ? reinterpret_cast<LRESULT>(st->font) : 0;
    case WM_SETFOCUS:
      if (!st) return 0;
      st->focused = true;
      CreateCaret(hwnd, nullptr, 1, LineHeight(hwnd));
      KeepCaretVisible(hwnd, *st);
      ShowCaret(hwnd);
      InvalidateRect(hwnd, nullptr, TRUE);
      Notify(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (!st) return 0;
      st->focused = false;
      DestroyCaret();
      InvalidateRect(hwnd, nullptr, TRUE);
      Notify(hwnd, EN_KILLFOCUS);
      return 0;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_LBUTTONDOWN:
      if (!st) return 0;
      SetFocus(hwnd);
      if (!IsWindow(hwnd)) return 0;
      {
        int i = IndexFromPoint(hwnd, *st, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        SetSelection(hwnd, *st, (wParam & MK_SHIFT) ? st->anchor : i, i);
      }
      st->tracking = true;
      SetCapture(hwnd);
      return 0;
    case WM_MOUSEMOVE:
      if (st && st->tracking)
        SetSelection(hwnd, *st, st->anchor, IndexFromPoint(hwnd, *st, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
      return 0;
    case WM_LBUTTONUP:
      if (st && st->tracking) {
        st->tracking = false;
        ReleaseCapture();
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      if (st) SetSelection(hwnd, *st, 0, static_cast<int>(st->text.size()));
      return 0;
    case WM_KEYDOWN:
      if (st) KeyDown(hwnd, *st, wParam);
      return 0;
    case WM_CHAR:
      if (st) Char(hwnd, *st, wParam);
      return 0;
    case EM_GETSEL: {
      if (!st) return 0;
      int a = std::min(st->anchor, st->caret), b = std::max(st->anchor, st->caret);
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(a);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(b);
      return MAKELONG(static_cast<WORD>(a), static_cast<WORD>(b));
    }
    case EM_SETSEL: {
      if (!st) return 0;
      int n = static_cast<int>(st->text.size());
      auto a = static_cast<int>(static_cast<std::intptr_t>(wParam)), b = static_cast<int>(lParam);
      if (a < 0) {
        SetSelection(hwnd, *st, st->caret, st->caret);  // -1 removes the selection
        return 0;
      }
      if (b < 0 || b > n) b = n;
      SetSelection(hwnd, *st, a, b);
      return 0;
    }
    case EM_REPLACESEL:
      if (st) ReplaceSelection(hwnd, *st, lParam ? reinterpret_cast<LPCSTR>(lParam) : "", true);
      return 0;
    case EM_GETMODIFY: return st && st->modified;
    case EM_SETMODIFY:
      if (st) st->modified = wParam != 0;
      return 0;
    case EM_LIMITTEXT:
      if (st) st->limit = wParam ? static_cast<size_t>(wParam) : 0x7FFFFFFE;
      return 0;
    case EM_GETLIMITTEXT: return st ? static_cast<LRESULT>(st->limit) : 0;
    case EM_SETREADONLY: {
      DWORD style = StyleOf(hwnd);
      SetWindowLongPtrA(hwnd, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~ES_READONLY));
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case EM_SETPASSWORDCHAR:
      if (st) st->password = static_cast<char>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case EM_GETLINECOUNT: return st ? static_cast<LRESULT>(Multi(hwnd) ? LineStarts(st->text).size() : 1) : 1;
    case EM_LINEINDEX: {
      if (!st) return -1;
      std::vector<int> starts = LineStarts(st->text);
      auto line = static_cast<int>(static_cast<std::intptr_t>(wParam));
      if (line < 0) line = LineOf(starts, st->caret);
      return line < static_cast<int>(starts.size()) ? starts[static_cast<size_t>(line)] : -1;
    }
    case EM_LINEFROMCHAR: {
      if (!st) return 0;
      auto pos = static_cast<int>(static_cast<std::intptr_t>(wParam));
      return LineOf(LineStarts(st->text), pos < 0 ? st->caret : pos);
    }
    case EM_LINELENGTH: {
      if (!st) return 0;
      std::vector<int> starts = LineStarts(st->text);
      auto pos = static_cast<int>(static_cast<std::intptr_t>(wParam));
      int line = LineOf(starts, pos < 0 ? st->caret : pos);
      return LineEnd(st->text, starts, line) - starts[static_cast<size_t>(line)];
    }
    case EM_GETLINE: {
      if (!st || !lParam) return 0;
      std::vector<int> starts = LineStarts(st->text);
      auto line = static_cast<int>(wParam);
      if (line < 0 || line >= static_cast<int>(starts.size())) return 0;
      auto* buf = reinterpret_cast<char*>(lParam);
      WORD room;
      std::memcpy(&room, buf, sizeof room);  // the first word holds the buffer size
      int start = starts[static_cast<size_t>(line)];
      int len = std::min<int>(LineEnd(st->text, starts, line) - start, room);
      std::memcpy(buf, st->text.data() + start, static_cast<size_t>(len));
      return len;
    }
    case EM_SCROLLCARET:
      if (st) KeepCaretVisible(hwnd, *st);
      return TRUE;
    case EM_CANUNDO: return st && st->canUndo;
    case EM_UNDO:
    case WM_UNDO:
      if (st && st->canUndo) {
        std::swap(st->text, st->undoText);
        st->anchor = st->caret = static_cast<int>(st->text.size());
        Changed(hwnd, *st);
      }
      return TRUE;
    case EM_EMPTYUNDOBUFFER:
      if (st) st->canUndo = false;
      return 0;
    case WM_CLEAR:
      if (st && !(StyleOf(hwnd) & ES_READONLY)) ReplaceSelection(hwnd, *st, "", true);
      return 0;
    case WM_COPY:
      if (st) CopySelection(hwnd, *st);
      return 0;
    case WM_CUT:
      if (st) CutSelection(hwnd, *st);
      return 0;
    case WM_PASTE:
      if (st) Paste(hwnd, *st);
      return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterEditClass() {
  user::AddSystemClass(WC_EDIT, CS_DBLCLKS | CS_PARENTDC, &EditProc, 0, LoadCursorA(nullptr, IDC_IBEAM), nullptr);
}

}  // namespace pl3::controls

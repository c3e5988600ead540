// The clipboard: the block the program handed over, mirrored to the desktop's
// clipboard when there is one. The desktop's text wins when another program
// changed it since we last wrote it.
#include "platform/user_clipboard.h"

#include <cstring>
#include <string>

#include "platform/backend.h"
#include "platform/code_page.h"
#include "platform/kernel_base.h"
#include "platform/reset_hooks.h"
#include "platform/user_internal.h"

namespace {

struct Clipboard {
  bool open = false;
  HWND openedBy = nullptr;
  HGLOBAL text = nullptr;
  std::string desktopText;  // UTF-8, what the desktop held when `text` was last matched to it
};

Clipboard& Board() {
  static Clipboard board;
  return board;
}

void DropText(Clipboard& c) {
  if (c.text) GlobalFree(c.text);
  c.text = nullptr;
}

void ResetClipboard() {
  DropText(Board());
  Board() = Clipboard{};
}

const bool kResetRegistered = pl3::RegisterGlobalReset(&ResetClipboard);

bool RequireOpen() {
  if (Board().open) return true;
  SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
  return false;
}

// The text of a block: up to its first NUL or its end.
std::string BlockText(HGLOBAL block) {
  SIZE_T size = GlobalSize(block);
  const char* bytes = static_cast<const char*>(GlobalLock(block));
  if (!bytes) return {};
  std::string text(bytes, strnlen(bytes, size));
  GlobalUnlock(block);
  return text;
}

HGLOBAL NewTextBlock(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!block) return nullptr;
  char* bytes = static_cast<char*>(GlobalLock(block));
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
}

// The program's text as the desktop wants it, and back.
std::string ToDesktop(const std::string& ansi) {
  std::string lf;
  for (std::size_t i = 0; i < ansi.size(); ++i)
    if (!(ansi[i] == '\r' && i + 1 < ansi.size() && ansi[i + 1] == '\n')) lf.push_back(ansi[i]);
  return pl3::AnsiToUtf8(lf);
}

std::string FromDesktop(const std::string& utf8) {
  std::string ansi = pl3::Utf8ToAnsi(utf8), crlf;
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    if (ansi[i] == '\n' && (i == 0 || ansi[i - 1] != '\r')) crlf.push_back('\r');
    crlf.push_back(ansi[i]);
  }
  return crlf;
}

// Brings the clipboard up to date with the desktop's.
void FollowDesktop(Clipboard& c) {
  const pl3::backend::HostServices* host = pl3::backend::Host();
  if (!host) return;
  if (!host->hasClipboardText()) {
    DropText(c);
    c.desktopText.clear();
    return;
  }
  std::string now = host->clipboardText();
  if (c.text && now == c.desktopText) return;
  DropText(c);
  c.text = NewTextBlock(FromDesktop(now));
  c.desktopText = now;
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  Clipboard& c = Board();
  if (owner && !IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // A window destroyed while it held the clipboard open holds it no more.
  if (c.open && c.openedBy != owner && (!c.openedBy || IsWindow(c.openedBy))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  c.open = true;
  c.openedBy = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  if (!RequireOpen()) return FALSE;
  Board().open = false;
  Board().openedBy = nullptr;
  return TRUE;
}

BOOL EmptyClipboard() {
  if (!RequireOpen()) return FALSE;
  Clipboard& c = Board();
  DropText(c);
  c.desktopText.clear();
  if (const pl3::backend::HostServices* host = pl3::backend::Host()) host->setClipboardText("");
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  if (!RequireOpen()) return nullptr;
  if (format != CF_TEXT || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!GlobalLock(data)) return nullptr;  // not a live block (the lock set the error)
  GlobalUnlock(data);
  Clipboard& c = Board();
  if (c.text != data) DropText(c);
  c.text = data;
  if (const pl3::backend::HostServices* host = pl3::backend::Host()) {
    c.desktopText = ToDesktop(BlockText(data));
    host->setClipboardText(c.desktopText.c_str());
  }
  return data;
}

HANDLE GetClipboardData(UINT format) {
  if (!RequireOpen()) return nullptr;
  if (format != CF_TEXT) return nullptr;
  Clipboard& c = Board();
  FollowDesktop(c);
  return c.text;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  if (format != CF_TEXT) return FALSE;
  if (const pl3::backend::HostServices* host = pl3::backend::Host()) return host->hasClipboardText() ? TRUE : FALSE;
  return Board().text ? TRUE : FALSE;
}

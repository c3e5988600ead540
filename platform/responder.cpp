#include "platform/responder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>

#include "platform/common_dialogs.h"
#include "platform/reset_hooks.h"

namespace pl3 {
namespace {

enum class AnswerKind { Button, Path, Colour, Cancel };

struct Answer {
  AnswerKind kind;
  int button;
  std::string path;
  COLORREF colour;
};

struct ResponderState {
  std::mutex lock;
  std::deque<Answer> script;
  std::vector<ResponderRecord> records;
  bool echo = false;
  DWORD lastDialogError = 0;
  MessageBoxBackend boxBackend = nullptr;
  FileDialogBackend fileBackend = nullptr;
  FolderDialogBackend folderBackend = nullptr;
  ColourDialogBackend colourBackend = nullptr;
};

ResponderState& State() {
  static ResponderState state;
  return state;
}

void ResetResponder() {
  ResponderState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  s.script.clear();
  s.records.clear();
  s.echo = false;
  s.lastDialogError = 0;
  s.boxBackend = nullptr;
  s.fileBackend = nullptr;
  s.folderBackend = nullptr;
  s.colourBackend = nullptr;
}
const bool registered = RegisterGlobalReset(&ResetResponder);

const char* Text(const char* s) { return s ? s : ""; }

const char* AnswerKindName(AnswerKind kind) {
  switch (kind) {
    case AnswerKind::Button: return "button";
    case AnswerKind::Path: return "path";
    case AnswerKind::Colour: return "colour";
    case AnswerKind::Cancel: return "cancel";
  }
  return "?";
}

// Takes the next scripted answer if it suits `accepted` (Cancel always
// does). Returns false when there is none or it does not suit.
bool TakeAnswer(AnswerKind accepted, Answer& out) {
  ResponderState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  if (s.script.empty()) return false;
  Answer a = s.script.front();
  s.script.pop_front();
  if (a.kind != accepted && a.kind != AnswerKind::Cancel) {
    std::fprintf(stderr, "responder: a scripted %s answer was given to a dialog that takes a %s; using the default\n",
                 AnswerKindName(a.kind), AnswerKindName(accepted));
    return false;
  }
  out = std::move(a);
  return true;
}

void Record(ResponderRecord record) {
  ResponderState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  if (s.echo && record.kind == ResponderKind::MessageBox)
    std::fprintf(stderr, "%s: %s\n", record.caption.c_str(), record.text.c_str());
  s.records.push_back(std::move(record));
}

template <typename T>
T Backend(T ResponderState::*member) {
  ResponderState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  return s.*member;
}

// The filter's NUL-separated pairs as one line with "|" between the parts.
std::string FilterText(const char* filter) {
  std::string out;
  if (!filter) return out;
  while (*filter) {
    if (!out.empty()) out += '|';
    out += filter;
    filter += std::strlen(filter) + 1;
  }
  return out;
}

BOOL RunFileDialog(LPOPENFILENAME ofn, bool save) {
  ResponderRecord record{save ? ResponderKind::SaveFile : ResponderKind::OpenFile,
                         ofn ? ofn->hwndOwner : nullptr,
                         ofn ? FilterText(ofn->lpstrFilter) : std::string(),
                         ofn ? Text(ofn->lpstrTitle) : "",
                         ofn ? ofn->Flags : 0,
                         ofn ? std::string(Text(ofn->lpstrInitialDir)) + "|" +
                                   (ofn->lpstrFile ? std::string(ofn->lpstrFile) : std::string())
                             : std::string(),
                         false, 0, ""};
  State().lastDialogError = 0;
  BOOL result = FALSE;
  // A record of another size is refused before any dialog shows (or any
  // scripted answer is taken).
  if (ofn && !OpenFileNameSizeOk(ofn->lStructSize)) {
    State().lastDialogError = CDERR_STRUCTSIZE;
  } else if (ofn) {
    if (FileDialogBackend backend = Backend(&ResponderState::fileBackend)) {
      result = backend(ofn, save);
    } else {
      Answer a;
      if (TakeAnswer(AnswerKind::Path, a)) {
        record.scripted = true;
        if (a.kind == AnswerKind::Path) {
          if (StoreChosenFile(ofn, a.path)) {
            result = TRUE;
          } else {
            State().lastDialogError = FNERR_BUFFERTOOSMALL;
          }
        }
      }
    }
    if (result) record.answer = ofn->lpstrFile;
  }
  record.result = result;
  Record(std::move(record));
  return result;
}

// The folder's own name: the last component of the path.
std::string LastComponent(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && (p.back() == '\\' || p.back() == '/')) p.pop_back();
  std::size_t slash = p.find_last_of("\\/");
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

}  // namespace

std::string WithDefaultExtension(std::string path, const char* defExt) {
  std::size_t nameStart = path.find_last_of("\\/");
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  if (path.find('.', nameStart) == std::string::npos && defExt && *defExt) {
    path += '.';
    path += defExt;
  }
  return path;
}

bool StoreChosenFile(LPOPENFILENAME ofn, std::string path) {
  path = WithDefaultExtension(std::move(path), ofn->lpstrDefExt);
  std::size_t nameStart = path.find_last_of("\\/");
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  if (!ofn->lpstrFile || path.size() + 1 > ofn->nMaxFile) {
    // The first two bytes tell the needed size, as the dialog does.
    if (ofn->lpstrFile && ofn->nMaxFile >= 2) {
      ofn->lpstrFile[0] = static_cast<char>((path.size() + 1) & 0xFF);
      ofn->lpstrFile[1] = static_cast<char>(((path.size() + 1) >> 8) & 0xFF);
    }
    return false;
  }
  std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
  ofn->nFileOffset = static_cast<WORD>(nameStart);
  std::size_t lastDot = path.rfind('.');
  ofn->nFileExtension = static_cast<WORD>(lastDot != std::string::npos && lastDot >= nameStart ? lastDot + 1 : 0);
  if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
    std::string title = path.substr(nameStart);
    std::size_t n = std::min<std::size_t>(title.size(), ofn->nMaxFileTitle - 1);
    std::memcpy(ofn->lpstrFileTitle, title.data(), n);
    ofn->lpstrFileTitle[n] = '\0';
  }
  return true;
}

void SetCommonDialogError(DWORD error) { State().lastDialogError = error; }

int UnansweredMessageBoxResult(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDCANCEL;  // every other box has a Cancel button
  }
}

void SetMessageBoxBackend(MessageBoxBackend backend) {
  std::lock_guard<std::mutex> guard(State().lock);
  State().boxBackend = backend;
}
void SetFileDialogBackend(FileDialogBackend backend) {
  std::lock_guard<std::mutex> guard(State().lock);
  State().fileBackend = backend;
}
void SetFolderDialogBackend(FolderDialogBackend backend) {
  std::lock_guard<std::mutex> guard(State().lock);
  State().folderBackend = backend;
}
void SetColourDialogBackend(ColourDialogBackend backend) {
  std::lock_guard<std::mutex> guard(State().lock);
  State().colourBackend = backend;
}

PIDLIST_ABSOLUTE MakeFolderIdList(const std::string& path) {
  char* copy = static_cast<char*>(CoTaskMemAlloc(path.size() + 1));
  if (!copy) return nullptr;
  std::memcpy(copy, path.c_str(), path.size() + 1);
  return reinterpret_cast<PIDLIST_ABSOLUTE>(copy);
}

const std::vector<ResponderRecord>& ResponderRecords() { return State().records; }

void ClearResponderRecords() {
  std::lock_guard<std::mutex> guard(State().lock);
  State().records.clear();
}

void PushButtonAnswer(int buttonId) {
  std::lock_guard<std::mutex> guard(State().lock);
  State().script.push_back({AnswerKind::Button, buttonId, "", 0});
}
void PushPathAnswer(const std::string& path) {
  std::lock_guard<std::mutex> guard(State().lock);
  State().script.push_back({AnswerKind::Path, 0, path, 0});
}
void PushColourAnswer(COLORREF colour) {
  std::lock_guard<std::mutex> guard(State().lock);
  State().script.push_back({AnswerKind::Colour, 0, "", colour});
}
void PushCancelAnswer() {
  std::lock_guard<std::mutex> guard(State().lock);
  State().script.push_back({AnswerKind::Cancel, 0, "", 0});
}
std::size_t PendingAnswerCount() {
  std::lock_guard<std::mutex> guard(State().lock);
  return State().script.size();
}

void SetResponderEcho(bool on) {
  std::lock_guard<std::mutex> guard(State().lock);
  State().echo = on;
}

}  // namespace pl3

using namespace pl3;

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  ResponderRecord record{ResponderKind::MessageBox, owner, Text(text), Text(caption), type, "", false, 0, ""};
  int result;
  if (MessageBoxBackend backend = Backend(&ResponderState::boxBackend)) {
    result = backend(owner, text, caption, type);
  } else {
    Answer a;
    if (TakeAnswer(AnswerKind::Button, a)) {
      record.scripted = true;
      result = a.kind == AnswerKind::Cancel ? IDCANCEL : a.button;
    } else {
      result = UnansweredMessageBoxResult(type);
    }
  }
  record.result = result;
  Record(std::move(record));
  return result;
}

DWORD CommDlgExtendedError() { return State().lastDialogError; }

bool OpenFileNameSizeOk(DWORD size) { return size == sizeof(OPENFILENAME) || size == OPENFILENAME_SIZE_VERSION_400; }

BOOL GetOpenFileName(LPOPENFILENAME ofn) { return RunFileDialog(ofn, false); }
BOOL GetSaveFileName(LPOPENFILENAME ofn) { return RunFileDialog(ofn, true); }

PIDLIST_ABSOLUTE SHBrowseForFolder(LPBROWSEINFO info) {
  ResponderRecord record{ResponderKind::BrowseFolder, info ? info->hwndOwner : nullptr,
                         info ? Text(info->lpszTitle) : "", "", info ? info->ulFlags : 0, "", false, 0, ""};
  PIDLIST_ABSOLUTE list = nullptr;
  if (info) {
    if (FolderDialogBackend backend = Backend(&ResponderState::folderBackend)) {
      list = backend(info);
    } else {
      Answer a;
      if (TakeAnswer(AnswerKind::Path, a)) {
        record.scripted = true;
        if (a.kind == AnswerKind::Path) list = MakeFolderIdList(a.path);
      }
    }
    if (list) {
      record.answer = reinterpret_cast<const char*>(list);
      if (info->pszDisplayName) {
        std::string name = LastComponent(record.answer);
        std::size_t n = std::min<std::size_t>(name.size(), MAX_PATH - 1);
        std::memcpy(info->pszDisplayName, name.data(), n);
        info->pszDisplayName[n] = '\0';
      }
    }
  }
  record.result = list ? 1 : 0;
  Record(std::move(record));
  return list;
}

BOOL SHGetPathFromIDList(PCIDLIST_ABSOLUTE list, LPSTR path) {
  if (!list || !path) return FALSE;
  const char* text = reinterpret_cast<const char*>(list);
  std::size_t n = std::strlen(text);
  if (n >= MAX_PATH) {
    path[0] = '\0';
    return FALSE;
  }
  std::memcpy(path, text, n + 1);
  return TRUE;
}

void* CoTaskMemAlloc(SIZE_T size) { return std::malloc(size ? size : 1); }
void CoTaskMemFree(void* block) { std::free(block); }

BOOL ChooseColor(LPCHOOSECOLOR cc) {
  ResponderRecord record{ResponderKind::ChooseColour, cc ? cc->hwndOwner : nullptr, "", "", cc ? cc->Flags : 0,
                         "", false, 0, ""};
  State().lastDialogError = 0;
  BOOL result = FALSE;
  if (cc && cc->lStructSize != sizeof(CHOOSECOLOR)) {
    State().lastDialogError = CDERR_STRUCTSIZE;
  } else if (cc) {
    if (ColourDialogBackend backend = Backend(&ResponderState::colourBackend)) {
      result = backend(cc);
    } else {
      Answer a;
      if (TakeAnswer(AnswerKind::Colour, a)) {
        record.scripted = true;
        if (a.kind == AnswerKind::Colour) {
          cc->rgbResult = a.colour;
          result = TRUE;
        }
      }
    }
    if (result) {
      char text[8];
      std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(cc->rgbResult), GetGValue(cc->rgbResult),
                    GetBValue(cc->rgbResult));
      record.answer = text;
    }
  }
  record.result = result;
  Record(std::move(record));
  return result;
}

#include "app/about_box.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/core_utilities.h"
#include "app/settings_block.h"
#include "app/startup_seams.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/system_info.h"
#include "platform/resource_images.h"
#include "platform/user.h"
#include "store/node_pool.h"

namespace {

constexpr int kVersionText = 3087;
constexpr int kSpareText1 = 3088;
constexpr int kDateText = 3089;
constexpr int kSpareText2 = 3090;
constexpr int kScrollArea = 3096;
constexpr int kMaxCreditLines = 255;
constexpr int kMaxScrollLines = 10;

// The credits. "PLUGINDATA" stands for the plug-in list, "RANDOM" and
// "ENDRANDOM" enclose lines shown in a new order each time, "ENDOFTEXT" ends.
const char* const kCredits[] = {
    "Pelmora 3",
    "",
    "Printed circuit boards and schematics",
    "",
    "Written by",
    "RANDOM",
    "The Pelmora design team",
    "The Pelmora test team",
    "The Pelmora library team",
    "ENDRANDOM",
    "",
    "PLUGINDATA",
    "This software uses the following libraries:",
    "",
    "zlib, (C) Jean-loup Gailly and Mark Adler",
    "Lua 5.1, (C) Lua.org, PUC-Rio",
    "FreeType, (C) The FreeType Project",
    "pugixml, (C) Arseny Kapoulkine",
    "SDL2, (C) Sam Lantinga",
    "libcurl, (C) Daniel Stenberg",
    "MariaDB Connector/C, (C) MariaDB Corporation",
    "Mesa OSMesa, (C) the Mesa authors",
    "ngspice, (C) the ngspice authors",
    "Clipper, (C) Angus Johnson",
    "libuuid, (C) Theodore Ts'o",
    "",
    "This software is based in part on the work of",
    "the Independent JPEG Group.",
    "",
    "This software uses the FreeImage open source",
    "image library. See http://freeimage.sourceforge.net",
    "for details. FreeImage is used under the FIPL,",
    "version 1.0.",
    "",
    "ENDOFTEXT",
};

struct ScrollLine {
  int top;
  int height;
  char text[256];
};

struct DialogState {
  char version[64];
  char buildDate[64];
  char spare1[4];
  char spare2[4];
  RECT rects[5];  // 3087, 3089, 3096, 3088, 3090
  char credits[kMaxCreditLines][255];
  int creditCount;
  ScrollLine lines[kMaxScrollLines];
  int lineCount;
  int nextCredit;
  int endReached;
};

constexpr int kTextIds[5] = {kVersionText, kDateText, kScrollArea, kSpareText1, kSpareText2};

DialogState* StateOf(HWND dialog) { return reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

HFONT MakeArial8(HWND dialog) {
  HDC dc = GetDC(dialog);
  const int height = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(dialog, dc);
  return CreateFontA(height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
}

// Makes the state, the two texts, and takes the five text controls' places.
DialogState* StartDialog(HWND dialog) {
  auto* st = static_cast<DialogState*>(std::calloc(1, sizeof(DialogState)));
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(st));
  FormatProgramVersion(st->version, sizeof st->version);
  std::snprintf(st->buildDate, sizeof st->buildDate, "(%s)", GetBuildDateText());
  for (int i = 0; i < 5; ++i) {
    HWND control = GetDlgItem(dialog, kTextIds[i]);
    if (!control) continue;
    GetWindowRect(control, &st->rects[i]);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&st->rects[i]), 2);
    DestroyWindow(control);
  }
  return st;
}

void PaintVersionLines(HDC dc, DialogState* st) {
  DrawTextA(dc, st->version, -1, &st->rects[0], DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  DrawTextA(dc, st->buildDate, -1, &st->rects[1], DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

int TextHeight(HWND dialog, const char* text) {
  if (!*text) return 10;
  HDC dc = GetDC(dialog);
  HFONT font = MakeArial8(dialog);
  auto old = SelectObject(dc, font);
  RECT r{0, 0, 1000, 0};
  DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(dialog, dc);
  return r.bottom - r.top;
}

void FreeState(HWND dialog) {
  std::free(StateOf(dialog));
  SetWindowLongPtrA(dialog, DWLP_USER, 0);
}

void AddCredit(char lines[][255], int capacity, int* count, const char* text) {
  if (*count >= capacity) return;
  std::snprintf(lines[*count], 255, "%s", text);
  ++*count;
}

}  // namespace

void FormatProgramVersion(char* out, std::size_t size) {
  std::snprintf(out, size, "%.1d.%.2d.%.4d%s", kProgramVersion[0], kProgramVersion[1], kProgramVersion[2],
                TowerAllocatorInUse() ? "" : "[MALLOC]");
}

const char* GetBuildDateText() { return __DATE__; }

int BuildCreditLines(char lines[][255], int capacity) {
  int count = 0;
  const int table = static_cast<int>(sizeof kCredits / sizeof kCredits[0]);
  for (int i = 0; i < table; ++i) {
    const char* line = kCredits[i];
    if (std::strcmp(line, "ENDOFTEXT") == 0) break;
    if (std::strcmp(line, "PLUGINDATA") == 0) {
      AddCredit(lines, capacity, &count, "Pelmora3 is using the following plugins...");
      AddCredit(lines, capacity, &count, "");
      for (std::uint32_t p = 0; p < LoadedPluginCount(); ++p) {
        PluginCredit credit{};
        if (!GetLoadedPluginCredit(p, &credit) || (credit.kind != 1 && credit.kind != 2)) continue;
        char text[255];
        std::snprintf(text, sizeof text, "%s - Version %.2f", credit.description ? credit.description : "",
                      credit.version * 0.01);
        AddCredit(lines, capacity, &count, text);
        std::snprintf(text, sizeof text, "%s", credit.copyright ? credit.copyright : "");
        AddCredit(lines, capacity, &count, text);
        AddCredit(lines, capacity, &count, "");
      }
      continue;
    }
    if (std::strcmp(line, "RANDOM") == 0) {
      int n = 0;
      while (i + 1 + n < table && std::strcmp(kCredits[i + 1 + n], "ENDRANDOM") != 0) ++n;
      int order[kMaxCreditLines];
      n = n > kMaxCreditLines ? kMaxCreditLines : n;
      for (int k = 0; k < n; ++k) order[k] = k;
      for (int swap = 0; n > 0 && swap < 1001; ++swap) {
        const int a = std::rand() % n, b = std::rand() % n;
        const int t = order[a];
        order[a] = order[b];
        order[b] = t;
      }
      for (int k = 0; k < n; ++k) AddCredit(lines, capacity, &count, kCredits[i + 1 + order[k]]);
      i += n + 1;  // on "ENDRANDOM"
      continue;
    }
    AddCredit(lines, capacity, &count, line);
  }
  AddCredit(lines, capacity, &count, "ENDOFTEXT");
  return count;
}

INT_PTR CALLBACK SplashDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      StartDialog(dialog);
      return TRUE;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(dialog, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(dialog, &ps);
      if (DialogState* st = StateOf(dialog)) {
        HFONT font = MakeArial8(dialog);
        auto old = SelectObject(dc, font);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, "Please wait, starting Pelmora3...", -1, &st->rects[2], DT_LEFT | DT_TOP | DT_WORDBREAK);
        PaintVersionLines(dc, st);
        SelectObject(dc, old);
        DeleteObject(font);
      }
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_TIMER:
      if (wParam == kAboutTimer) {
        KillTimer(dialog, kAboutTimer);
        DestroyWindow(dialog);
      }
      return TRUE;
    case WM_DESTROY:
      FreeState(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      DialogState* st = StartDialog(dialog);
      st->creditCount = BuildCreditLines(st->credits, kMaxCreditLines);
      st->lineCount = 0;
      st->nextCredit = 0;
      SetTimer(dialog, kAboutTimer, kCreditTickMs, nullptr);
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(dialog, &ps);
      if (DialogState* st = StateOf(dialog)) {
        HFONT font = MakeArial8(dialog);
        auto old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        PaintVersionLines(dc, st);
        const RECT& area = st->rects[2];
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        for (int i = 0; i < st->lineCount; ++i) {
          RECT r{area.left, st->lines[i].top, area.right, st->lines[i].top + st->lines[i].height};
          DrawTextA(dc, st->lines[i].text, -1, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        }
        RestoreDC(dc, saved);
        SelectObject(dc, old);
        DeleteObject(font);
      }
      EndPaint(dialog, &ps);
      return TRUE;
    }
    case WM_TIMER: {
      DialogState* st = StateOf(dialog);
      if (wParam != kAboutTimer || !st) return TRUE;
      // A line is dropped once it has left the scrolling area: kept until
      // it passed the client's top, the lines above the area would fill the
      // ten places and the credits would stall with gaps.
      const RECT& area = st->rects[2];
      int kept = 0;
      for (int i = 0; i < st->lineCount; ++i) {
        ScrollLine line = st->lines[i];
        --line.top;
        if (line.top + line.height < area.top) continue;
        st->lines[kept++] = line;
      }
      st->lineCount = kept;
      if (kept == 0) st->endReached = 0;
      const bool room = kept == 0 || st->lines[kept - 1].top + st->lines[kept - 1].height < area.bottom;
      if (room && !st->endReached && kept < kMaxScrollLines) {
        ScrollLine& line = st->lines[kept];
        const char* text = st->nextCredit < st->creditCount ? st->credits[st->nextCredit] : "ENDOFTEXT";
        if (std::strcmp(text, "ENDOFTEXT") == 0) {
          line.text[0] = '\0';
          st->nextCredit = 0;
          st->endReached = 1;
        } else {
          std::memcpy(line.text, text, std::min(std::strlen(text) + 1, sizeof line.text - 1));
          line.text[sizeof line.text - 1] = '\0';
          ++st->nextCredit;
        }
        line.top = area.bottom;
        line.height = TextHeight(dialog, line.text);
        st->lineCount = kept + 1;
      }
      InvalidateRect(dialog, nullptr, TRUE);
      return TRUE;
    }
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      EndDialog(dialog, 0);
      return TRUE;
    case WM_DESTROY:
      KillTimer(dialog, kAboutTimer);
      FreeState(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}

HWND ShowHelp() {
  char path[2200];
  std::snprintf(path, sizeof path, "%s\\Pelmora3.chm::/introduction.html",
                Settings && Settings->InstallPath ? Settings->InstallPath : "");
  return HtmlHelpA(GetDesktopWindow(), path, HH_DISPLAY_TOPIC, 0);
}

char* FormatDateTime(const SYSTEMTIME* time) {
  static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  static const char* const kMonths[] = {"January", "Feburary", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
  auto* text = static_cast<char*>(std::calloc(256, 1));
  if (!time) return text;
  const char* day = time->wDayOfWeek < 7 ? kDays[time->wDayOfWeek] : "Undefined";
  const char* month = time->wMonth >= 1 && time->wMonth <= 12 ? kMonths[time->wMonth - 1] : "Undefined";
  std::snprintf(text, 256, "%u:%02u on %s, %u %s %u", time->wHour, time->wMinute, day, time->wDay, month,
                time->wYear);
  return text;
}

namespace {
const DialogControl kAboutControls[] = {
    {"STATIC", -1, "", 8, 8, 32, 32, SS_ICON},
    {"STATIC", -1, "", 180, 8, 32, 32, SS_ICON},
    {"STATIC", -1, "", 94, 8, 32, 32, SS_ICON},
    {"STATIC", kVersionText, "", 8, 46, 204, 10, SS_CENTER},
    {"STATIC", kDateText, "", 8, 58, 204, 10, SS_CENTER},
    {"STATIC", kSpareText1, "", 8, 70, 204, 10, SS_CENTER},
    {"STATIC", kSpareText2, "", 8, 82, 204, 10, SS_CENTER},
    {"STATIC", kScrollArea, "", 8, 96, 204, 80, SS_LEFT},
};
const DialogTemplate kAboutTemplate{"ABOUTDLG", 0, "About Pelmora 3", 0, 0, 220, 184,
                                    DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, kAboutControls};
const bool gAboutRegistered = pl3::RegisterDialogTemplate(&kAboutTemplate);
}  // namespace

// The dialog "ABOUTDLG" as the splash screen of start-up and as the about
// box with its scrolling credits; the build date and version texts; help;
// and the date formatter of the information dialogs.
#pragma once
#include <cstddef>

#include "platform/kernel_base.h"
#include "platform/user.h"

// Version 3, 0, 1, shown as "%.1d.%.2d.%.4d".
inline constexpr int kProgramVersion[3] = {3, 0, 1};
// "3.00.0001", with "[MALLOC]" appended when the tower store does not run on
// its own pool.
void FormatProgramVersion(char* out, std::size_t size);
// The build date, "Mmm dd yyyy".
const char* GetBuildDateText();

// The splash: a modeless ABOUTDLG that timer 1 ends.
INT_PTR CALLBACK SplashDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The about box: modal, credits scrolling 1 pixel per 100 ms timer tick.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
constexpr UINT_PTR kAboutTimer = 1;
constexpr UINT kCreditTickMs = 100;
constexpr UINT kSplashMs = 1000;

// The credit lines as the about box builds them on opening: the plug-in list
// in place of "PLUGINDATA", the "RANDOM" block shuffled by 1001 swaps, ending
// with "ENDOFTEXT". Each line is at most 254 characters, at most 255 lines.
int BuildCreditLines(char lines[][255], int capacity);

// Opens "%s\Pelmora3.chm::/introduction.html" of the install folder; HTML Help's result.
HWND ShowHelp();

// "%u:%02u on %s, %u %s %u": a new 256-byte heap string (free()); a day or
// month outside the tables reads "Undefined".
char* FormatDateTime(const SYSTEMTIME* time);

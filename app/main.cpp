// The program's entry: the window backend first, then WinMain with the
// command line after the program's name.
#include <cstdio>

#include "app/win_main.h"
#include "platform/kernel_files.h"
#include "platform/leak_suppressions.h"
#include "platform/user.h"
#include "ui/column_sets.h"

namespace {

const char* gBackend = "";

// The start line that says which backend runs; Ctrl+C and kill close the
// frame from here on.
void FrameReady(HWND frame) {
  pl3::CloseWindowOnSignals(frame);
  std::printf("Pelmora 3 (%s)\n", gBackend);
  std::fflush(stdout);
}

// The command line without the program's name (quoted or not).
const char* ArgumentsOf(const char* line) {
  if (*line == '"') {
    ++line;
    while (*line && *line != '"') ++line;
    if (*line) ++line;
  } else {
    while (*line && *line != ' ') ++line;
  }
  while (*line == ' ') ++line;
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  pl3::SetProgramArguments(argc, argv);
  const char* backend = pl3::StartWindowBackend();
  if (!backend) {
    std::fputs(pl3::WindowBackendError(), stderr);
    return 2;
  }
  gBackend = backend;
  FrameReadyHook = &FrameReady;
  const int exitCode = WinMain(nullptr, nullptr, const_cast<char*>(ArgumentsOf(GetCommandLine())), SW_SHOWDEFAULT);
  FreeAllColumnLayouts();
  return exitCode;
}

// The program's stand-in for the log panes until the consoles land: the
// line is formatted and written to standard error, and nothing is stored.
#include <cstdarg>
#include <cstdio>

#include "objects/console_seams.h"

ConsoleLine* AddConsoleMessage(ConsolePane*, std::uint32_t kind, std::int32_t, std::int32_t, std::int32_t,
                               std::uint32_t, const char* format, ...) {
  char text[8176];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  std::fprintf(stderr, "console (%u): %s\n", kind, text);
  return nullptr;
}

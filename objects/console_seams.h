// The program's one entry point for log lines: every subsystem writes to a
// document's log pane (the state block's `Console`) or to the program log
// through it. The consoles live in app/; they define it.
#pragma once
#include <cstdint>

struct ConsolePane;
struct ConsoleLine;

// Formats the text (printf rules), stamps it with the local time, stores the
// line under the pane's log node in the document's tower and lists it while
// its kind is visible. Kinds: 1 design rule check, 2 earlier-generation
// import, 3 net import, 4 Gerber export, 5 net export, 6 general, 7 NC
// export, 9 user. x and y are the line's position (0, 0 for none), page its
// schematic page. Returns the line's record, or null when none was stored.
ConsoleLine* AddConsoleMessage(ConsolePane* pane, std::uint32_t kind, std::int32_t x, std::int32_t y,
                               std::int32_t page, std::uint32_t flags, const char* format, ...)
    __attribute__((format(printf, 7, 8)));

// The program log's pane, for lines that belong to no document: set when the
// consoles are made, null before (the line is then dropped).
extern ConsolePane* ProgramLogPane;

// Consoles and logs: the log panes (owner-drawn list boxes of time-stamped
// lines), the lines kept in a document's tower (records 21000 to 21013), the
// two console windows "System Console" and "Diagram Console" (class
// "CONSOLECLASS"), the program log with its start banner, and the "User
// Console Message" dialog (1202). AddConsoleMessage, the one entry point for
// log lines, is declared in objects/console_seams.h.
#pragma once
#include <cstddef>
#include <cstdint>

#include "objects/console_seams.h"
#include "platform/kernel_base.h"
#include "platform/user.h"

struct Tower;

// Tower records of a pane's lines.
constexpr std::uint16_t Type_ConsoleLines = 21000;       // a pane's lines
constexpr std::uint16_t Type_ConsoleLine = 21001;        // one line
constexpr std::uint16_t Type_ConsoleLineNumber = 21002;  // u32
constexpr std::uint16_t Type_ConsoleLineKind = 21003;    // u32
constexpr std::uint16_t Type_ConsoleLineFlags = 21004;   // u32
constexpr std::uint16_t Type_ConsoleLineTime = 21005;    // SYSTEMTIME
constexpr std::uint16_t Type_ConsoleLinePoint = 21006;   // two s32: x, y
constexpr std::uint16_t Type_ConsoleLinePage = 21007;    // u32
constexpr std::uint16_t Type_ConsoleLineText = 21008;    // text with its NUL
constexpr std::uint16_t Type_ConsoleLineReference = 21009;
constexpr std::uint16_t Type_ConsoleReferenceId = 21010;    // u32 node identity
constexpr std::uint16_t Type_ConsoleReferenceHead = 21011;  // the object's first 28 bytes
constexpr std::uint16_t Type_ConsoleNextNumber = 21012;     // u32
constexpr std::uint16_t Type_ConsoleLineRecord = 21013;     // ConsoleLine, rebuilt at each load

// Line flags: the low four bits choose the icon.
constexpr std::uint32_t kConsoleIconMask = 0xF;
constexpr std::uint32_t kConsoleIconError = 1;
constexpr std::uint32_t kConsoleIconWarning = 2;
constexpr std::uint32_t kConsoleIconQuestion = 8;
constexpr std::uint32_t kConsoleHasPoint = 0x100;
constexpr std::uint32_t kConsoleHasPage = 0x200;
constexpr std::uint32_t kConsoleStamped = 0x400;

// The console message kinds.
constexpr std::uint32_t kConsoleDRC = 1;
constexpr std::uint32_t kConsoleImport = 2;
constexpr std::uint32_t kConsoleNetImport = 3;
constexpr std::uint32_t kConsoleGerber = 4;
constexpr std::uint32_t kConsoleNetExport = 5;
constexpr std::uint32_t kConsoleGeneral = 6;
constexpr std::uint32_t kConsoleNCExport = 7;
constexpr std::uint32_t kConsoleUser = 9;
constexpr int kConsoleVisibleKinds = 10;

// The longest formatted text, its NUL included; longer texts are cut.
constexpr std::size_t kConsoleTextLimit = 8176;

struct ConsolePane {
  HWND list;                 // the LISTBOX child that shows the lines
  std::uint32_t reserved;
  std::int32_t extent;       // widest line so far, pixels (the list's horizontal extent)
  std::uint32_t owner;       // given at creation; 0 for the program log
  Tower* lines;              // the 21000 node, or null when the pane keeps no lines
  std::uint8_t visible[kConsoleVisibleKinds];  // ConsoleVisible of kinds 0 to 9 at creation
};

// A line as the list box holds it (its item data): kept in the line's 21013
// node, or on the heap for a pane without lines. Node payloads are 4-byte
// aligned, so the record is too.
#pragma pack(push, 4)
struct ConsoleLine {
  Tower* line;               // the 21001 node; null for a heap line
  std::uint32_t kind;
  std::uint32_t flags;
  SYSTEMTIME time;
  const char* text;          // the stored 21008 text (the heap copy for a heap line)
  RECT textRect;             // measured with the console font
  std::int32_t x, y, page;
  void* spare;               // freed when the item is deleted
  std::uint32_t spareWord;
};
#pragma pack(pop)
static_assert(alignof(ConsoleLine) == 4);

// The two console windows and the program log.
extern HWND SystemConsoleWindow;
extern HWND DiagramConsoleWindow;
extern ConsolePane ProgramLog;
extern HFONT ConsoleFont;

ATOM RegisterConsoleClass(HINSTANCE instance);
void CreateConsolePane(HWND consoleWindow, std::uint32_t owner, ConsolePane* pane, Tower* tower);
// Adds a 21009 reference to the line: the object's identity and its first 28 bytes.
void AttachConsoleMessageData(ConsolePane* pane, ConsoleLine* line, const Tower* object);
// Refills a document's pane from the tower: lines in number order, those
// whose kind is not saved dropped from the tower; the next number follows
// the largest kept.
void LoadConsolePane(ConsolePane* pane, Tower* tower);
void ShowConsolePane(ConsolePane* pane);
void DestroyConsolePane(ConsolePane* pane);
// The pane the Diagram Console shows, or null.
ConsolePane* ShownConsolePane();
// The first line of the active document's pane.
enum class DocumentStart { Created, Imported, Opened };
void LogDocumentStart(DocumentStart how);
// The console windows, the program log in the System Console and its banner.
void CreateConsoles();
void DestroyProgramLog();
LRESULT CALLBACK ConsoleWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The shown text of a line: the text, or "%s (%s)" with the time stamp when
// it is stamped. Written into `out` (cut to its size).
void FormatConsoleLineText(const ConsoleLine& line, char* out, std::size_t size);
// "%s %d %s %d %.2d:%.2d:%.2d": weekday, day, month, year and time.
void FormatConsoleTimeStamp(const SYSTEMTIME& time, char* out, std::size_t size);

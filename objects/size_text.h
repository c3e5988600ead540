// The size text: the text of size files (".p3s") and of a design's stored
// size record (288). Plain 8-bit text, lines ended by CR LF:
//
//   [Lines]
//   "0.200"<tab><tab>"mm"<tab>""<tab>"D"<tab>"Thin Line"
//
// A line whose first non-blank character is '[' starts a section; the name
// between the brackets selects the first of "lines", "circles", "rectangles",
// "holes", "vias", "fonts", "dots" that begins with it, without regard to
// case. Any other non-blank line is an entry: fields in double quotes, what
// stands between them is ignored. Fields by section:
//   Lines, Circles, Holes   value, unit, key, flag, name
//   Rectangles, Vias        first value, second value, unit, key, flag, name
//   Fonts                   point size, key, flag, name
//   Dots                    value, unit, name ("Connection Box" or "Connected Dot")
// Units "thou", "inch", "mm", "cm" (any case; anything else is thou). Values
// are stored times the unit factor, halved for every list but Rectangles and
// Fonts, truncated toward zero. Flag "D" makes the entry on and the list's
// default (a later "D" wins), "Y" makes it on, anything else leaves it off.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "objects/size_table.h"

// An entry line that was skipped, for callers that want to tell the user.
struct SizeTextProblem {
  std::uint32_t lineNumber;  // 1-based, counting every line of the text
  std::string reason;
};

// A new table with the two dots, filled from the text. A section name that
// matches no list shows "Unknown Section!" (caption "Pelmora3") and selects
// Lines, as does a '[' without ']'. Ill-formed entry lines are skipped
// without a message: an odd number of quotes, the wrong number of fields, a
// value that is no number or whose stored value does not fit 32 bits, a dots
// line naming neither dot. Each skipped line is added to `problems` when given.
std::unique_ptr<SizeTable> ParseSizeText(const char* text, std::size_t length,
                                         std::vector<SizeTextProblem>* problems = nullptr);

// Reads one entry line of a list's section (not Dots) and appends the entry
// to the table's list, as the text's reader does; false when the line is
// skipped.
bool AppendSizeEntryLine(SizeTable& table, std::uint32_t kind, const std::string& line);

// Appends one list's section: nothing for an empty list; otherwise "[Name]",
// one line per entry and an empty line.
void WriteSizeSection(std::string& text, const SizeTable& table, std::uint32_t kind);
// All seven sections in kind order (without a terminating NUL).
std::string WriteSizeText(const SizeTable& table);

// The built-in text of an editor kind, or null for a kind without sizes.
const char* DefaultSizeText(std::uint32_t editorKind);

// The lists an editor kind needs that the table lacks (an empty list counts
// as missing), in kind order.
std::vector<std::uint32_t> MissingSizeSections(const SizeTable& table, std::uint32_t editorKind);
// "Size file is not valid for this editor, file is missing the following: "
// followed by the missing list names separated by ", " and ", using internal
// default sizes instead."
std::string MissingSizeSectionsMessage(const std::vector<std::uint32_t>& missing);

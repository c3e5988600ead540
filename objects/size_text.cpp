#include "objects/size_text.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "edit/window_data.h"
#include "objects/layer_table.h"
#include "platform/responder.h"
#include "platform/text_case.h"
#include "store/text_reader.h"

namespace {

constexpr const char* kSectionWords[kSizeKindCount] = {"lines", "circles", "rectangles", "holes",
                                                       "vias",  "fonts",   "dots"};
// Unit factors in world units (1 inch = 36,576,000), by unit index.
constexpr double kUnitFactors[4] = {36576.0, 36576000.0, 1440000.0, 14400000.0};
constexpr const char* kUnitWords[4] = {"thou", "inch", "mm", "cm"};
// The unit names the writer uses.
constexpr const char* kUnitNames[4] = {"Thou", "Inch", "mm", "cm"};

constexpr std::size_t kFieldCounts[kSizeKindCount] = {5, 5, 6, 5, 6, 4, 3};

bool IsBlankLine(const std::string& line) {
  for (char c : line)
    if (c != ' ' && c != '\t' && c != '\v' && c != '\f') return false;
  return true;
}

// The kind a section name selects, or kNoSizeKind. The name selects the
// first list word that begins with it; a name longer than a word never
// matches that word.
std::uint32_t SectionKind(std::string_view name) {
  for (std::uint32_t k = 0; k < kSizeKindCount; ++k) {
    const std::string_view word = kSectionWords[k];
    if (name.size() <= word.size() && pl3::EqualsNoCase(name, word.substr(0, name.size()))) return k;
  }
  return kNoSizeKind;
}

std::uint8_t UnitOfField(const std::string& field) {
  for (std::uint8_t u = 0; u < 4; ++u)
    if (pl3::EqualsNoCase(field, kUnitWords[u])) return u;
  return 0;  // anything else counts as thou
}

// The quoted fields of an entry line; false when the quotes do not pair up.
bool SplitQuotedFields(const std::string& line, std::vector<std::string>& fields) {
  fields.clear();
  bool inside = false;
  std::string field;
  for (char c : line) {
    if (c == '"') {
      if (inside) fields.push_back(field);
      field.clear();
      inside = !inside;
    } else if (inside) {
      field.push_back(c);
    }
  }
  return !inside;
}

// A value field read as the C library reads a decimal number (leading blanks,
// then as much of a number as there is). False when there is no number at all
// or it is not finite: such a line would otherwise store a silent 0.
bool ReadNumber(const std::string& field, double& value) {
  const char* start = field.c_str();
  char* end = nullptr;
  value = std::strtod(start, &end);
  return end != start && std::isfinite(value);
}

// A point size: a decimal integer as the C library reads one (leading blanks,
// a sign, digits up to the first other character, so "16.5" is 16 and "1e2"
// is 1). False when there are no digits or the number does not fit 32 bits.
bool ReadPointSize(const std::string& field, std::int32_t& value) {
  const char* start = field.c_str();
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(start, &end, 10);
  if (end == start || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}

// value, scaled by the factor and halved when asked, truncated toward zero;
// false when the result does not fit a 32-bit size.
bool StoredValue(double value, double factor, bool halve, std::int32_t& stored) {
  double scaled = value * factor;
  if (halve) scaled = scaled / 2.0;
  const double truncated = std::trunc(scaled);
  if (!(truncated >= -2147483648.0 && truncated <= 2147483647.0)) return false;
  stored = static_cast<std::int32_t>(truncated);
  return true;
}

struct EntryReader {
  SizeTable& table;
  std::vector<SizeTextProblem>* problems;
  std::uint32_t lineNumber = 0;

  void Skip(const char* reason) {
    if (problems) problems->push_back({lineNumber, reason});
  }

  // Key, flag and name: the last three fields of every list but Dots.
  void AppendEntry(std::uint32_t kind, SizeEntry entry, const std::vector<std::string>& fields) {
    const std::size_t n = fields.size();
    const std::string& key = fields[n - 3];
    const std::string& flag = fields[n - 2];
    SizeList& list = table[kind];
    entry.index = list.count();
    entry.key = key.empty() ? 0 : static_cast<std::uint8_t>(key[0]);
    // The whole field decides: "D" and "Y" only, anything else is off.
    entry.flags = (flag == "D" || flag == "Y") ? kSizeEntryOn : 0;
    if (flag == "D") list.defaultIndex = entry.index;
    SetSizeEntryName(entry, fields[n - 1].c_str());
    list.entries.push_back(entry);
  }

  void Read(std::uint32_t kind, const std::string& line) {
    std::vector<std::string> fields;
    if (!SplitQuotedFields(line, fields)) return Skip("odd number of quotes");
    if (fields.size() != kFieldCounts[kind]) return Skip("wrong number of fields");
    SizeEntry entry{};
    double v1 = 0, v2 = 0;
    switch (kind) {
      case SizeKind_Lines:
      case SizeKind_Circles:
      case SizeKind_Holes: {
        if (!ReadNumber(fields[0], v1)) return Skip("value is not a number");
        entry.unit = UnitOfField(fields[1]);
        if (!StoredValue(v1, kUnitFactors[entry.unit], true, entry.value1)) return Skip("value out of range");
        return AppendEntry(kind, entry, fields);
      }
      case SizeKind_Rectangles:
      case SizeKind_Vias: {
        if (!ReadNumber(fields[0], v1) || !ReadNumber(fields[1], v2)) return Skip("value is not a number");
        entry.unit = UnitOfField(fields[2]);
        const bool halve = kind == SizeKind_Vias;
        if (!StoredValue(v1, kUnitFactors[entry.unit], halve, entry.value1) ||
            !StoredValue(v2, kUnitFactors[entry.unit], halve, entry.value2))
          return Skip("value out of range");
        return AppendEntry(kind, entry, fields);
      }
      case SizeKind_Fonts: {
        if (!ReadPointSize(fields[0], entry.value1)) return Skip("point size is not a whole number in range");
        entry.unit = kSizeUnitNone;
        return AppendEntry(kind, entry, fields);
      }
      case SizeKind_Dots: {
        SizeList& dots = table[SizeKind_Dots];
        SizeEntry* dot = nullptr;
        if (pl3::EqualsNoCase(fields[2], "Connection Box")) dot = &dots.entries[0];
        if (pl3::EqualsNoCase(fields[2], "Connected Dot")) dot = &dots.entries[1];
        if (!dot) return Skip("not a dot name");
        if (!ReadNumber(fields[0], v1)) return Skip("value is not a number");
        const std::uint8_t unit = UnitOfField(fields[1]);
        std::int32_t value = 0;
        if (!StoredValue(v1, kUnitFactors[unit], true, value)) return Skip("value out of range");
        dot->value1 = value;
        dot->unit = unit;
        return;
      }
      default:
        return;
    }
  }
};

void ShowUnknownSection() { MessageBox(nullptr, "Unknown Section!", "Pelmora3", MB_OK | MB_ICONEXCLAMATION); }

// ---- Writing ------------------------------------------------------------------

double FactorOfUnit(std::uint8_t unit) { return unit < 4 ? kUnitFactors[unit] : kUnitFactors[0]; }
const char* NameOfUnit(std::uint8_t unit) { return unit < 4 ? kUnitNames[unit] : kUnitNames[0]; }

// A quoted field may hold neither a quote nor a line end: they would break
// the line when it is read back.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"')
      out += '\'';
    else if (c == '\r' || c == '\n')
      out += ' ';
    else
      out += c;
  }
  out += '"';
  return out;
}

std::string Decimal3(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3f", value);
  if (std::strcmp(buffer, "-0.000") == 0) return "0.000";  // a tiny negative value reads back as 0
  return buffer;
}

// The value as the user typed it: doubled back where the list keeps halves,
// in the entry's unit.
double TypedValue(std::int32_t stored, std::uint8_t unit, bool doubled) {
  const double v = doubled ? 2.0 * static_cast<double>(stored) : static_cast<double>(stored);
  return v / FactorOfUnit(unit);
}

std::string KeyField(std::uint8_t key) {
  if (key == 0 || key == '"' || key == '\r' || key == '\n') return Quoted("");
  return Quoted(std::string(1, static_cast<char>(key)));
}

}  // namespace

bool AppendSizeEntryLine(SizeTable& table, std::uint32_t kind, const std::string& line) {
  if (kind >= kSizeKindCount || kind == SizeKind_Dots) return false;
  const std::uint32_t before = table[kind].count();
  EntryReader{table, nullptr}.Read(kind, line);
  return table[kind].count() > before;
}

std::unique_ptr<SizeTable> ParseSizeText(const char* text, std::size_t length,
                                         std::vector<SizeTextProblem>* problems) {
  std::unique_ptr<SizeTable> table = NewSizeTable();
  TextReaderPtr reader = OpenTextReaderFromMemory(text, length);
  if (!reader) return table;
  EntryReader entries{*table, problems};
  std::uint32_t kind = SizeKind_Lines;  // lines before the first section belong to Lines
  // Empty lines are kept only to count lines for the problem list.
  while (ReadTextLine(*reader, true)) {
    ++entries.lineNumber;
    const std::string& line = reader->line;
    if (IsBlankLine(line)) continue;
    const std::size_t first = line.find_first_not_of(" \t\v\f");
    if (line[first] == '[') {
      const std::size_t close = line.find(']', first + 1);
      kind = close == std::string::npos ? kNoSizeKind
                                        : SectionKind(std::string_view(line).substr(first + 1, close - first - 1));
      if (kind == kNoSizeKind) {
        ShowUnknownSection();
        kind = SizeKind_Lines;
      }
      continue;
    }
    entries.Read(kind, line);
  }
  return table;
}

void WriteSizeSection(std::string& text, const SizeTable& table, std::uint32_t kind) {
  const SizeList& list = table[kind];
  if (list.entries.empty()) return;
  text += '[';
  text += SizeKindNames[kind];
  text += "]\r\n";
  for (std::uint32_t i = 0; i < list.count(); ++i) {
    const SizeEntry& e = list.entries[i];
    switch (kind) {
      case SizeKind_Rectangles:
      case SizeKind_Vias: {
        const bool doubled = kind == SizeKind_Vias;
        text += Quoted(Decimal3(TypedValue(e.value1, e.unit, doubled))) + "\t";
        text += Quoted(Decimal3(TypedValue(e.value2, e.unit, doubled))) + "\t";
        text += Quoted(NameOfUnit(e.unit)) + "\t";
        break;
      }
      case SizeKind_Fonts:
        text += Quoted(std::to_string(e.value1)) + "\t\t\t";
        break;
      default:
        text += Quoted(Decimal3(TypedValue(e.value1, e.unit, true))) + "\t\t";
        text += Quoted(NameOfUnit(e.unit)) + "\t";
        break;
    }
    if (kind != SizeKind_Dots) {
      text += KeyField(e.key) + "\t";
      const char* flag = i == list.defaultIndex ? "D" : (e.flags & kSizeEntryOn) ? "Y" : "N";
      text += Quoted(flag) + "\t";
    }
    text += Quoted(e.name) + "\r\n";
  }
  text += "\r\n";
}

std::string WriteSizeText(const SizeTable& table) {
  std::string text;
  text.reserve(65535);
  for (std::uint32_t kind = 0; kind < kSizeKindCount; ++kind) WriteSizeSection(text, table, kind);
  return text;
}

std::vector<std::uint32_t> MissingSizeSections(const SizeTable& table, std::uint32_t editorKind) {
  std::vector<std::uint32_t> needed;
  switch (editorKind) {
    case kEditorPcb:
      needed = {SizeKind_Lines, SizeKind_Circles, SizeKind_Rectangles, SizeKind_Holes,
                SizeKind_Vias,  SizeKind_Fonts,   SizeKind_Dots};
      break;
    case kEditorShape:
      needed = {SizeKind_Lines, SizeKind_Circles, SizeKind_Rectangles, SizeKind_Dots};
      break;
    case kEditorPcbSymbol:
      needed = {SizeKind_Lines, SizeKind_Circles, SizeKind_Rectangles, SizeKind_Holes, SizeKind_Fonts, SizeKind_Dots};
      break;
    case kEditorPadStack:
      needed = {SizeKind_Holes};
      break;
    case kEditorSchematicSymbol:
    case kEditorSchematic:
      needed = {SizeKind_Lines, SizeKind_Circles, SizeKind_Rectangles, SizeKind_Fonts, SizeKind_Dots};
      break;
    default:
      break;
  }
  std::vector<std::uint32_t> missing;
  for (std::uint32_t kind : needed)
    if (table[kind].entries.empty()) missing.push_back(kind);
  return missing;
}

std::string MissingSizeSectionsMessage(const std::vector<std::uint32_t>& missing) {
  std::string text = "Size file is not valid for this editor, file is missing the following: ";
  for (std::size_t i = 0; i < missing.size(); ++i) {
    if (i) text += ", ";
    text += SizeKindNames[missing[i]];
  }
  text += ", using internal default sizes instead.";
  return text;
}

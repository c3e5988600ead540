#include "geometry/length_units.h"

#include <charconv>
#include <cstdio>

#include "platform/text_case.h"

namespace pl3 {

const char* const LengthUnitWords[LengthUnitCount] = {"thou", "inch", "mm", "cm"};

namespace {

// The white space of the C library: blank, tab, line feed, vertical tab,
// form feed and carriage return.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos;
}

// The longest run of digits and full stops from pos. Empty when the run is
// not a number: no digits, a second full stop, or a full stop with no digit
// after it in the run.
std::string_view TakeNumberRun(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  bool seenStop = false;
  bool digitAfterStop = false;
  while (pos < text.size() && (IsDigit(text[pos]) || text[pos] == '.')) {
    if (text[pos] == '.') {
      if (seenStop) return {};
      seenStop = true;
    } else if (seenStop) {
      digitAfterStop = true;
    }
    ++pos;
  }
  if (pos == start || (seenStop && !digitAfterStop)) return {};
  return text.substr(start, pos - start);
}

}  // namespace

bool ParseLengthWithUnits(std::string_view text, double& value, std::uint32_t& unit) {
  std::size_t pos = SkipBlanks(text, 0);
  const std::string_view number = TakeNumberRun(text, pos);
  if (number.empty()) return false;
  pos = SkipBlanks(text, pos);
  if (pos == text.size()) return false;  // the unit is mandatory
  const std::size_t wordStart = pos;
  while (pos < text.size() && !IsBlank(text[pos])) ++pos;
  const std::string_view word = text.substr(wordStart, pos - wordStart);
  for (std::uint32_t u = 0; u < LengthUnitCount; ++u) {
    if (!EqualsNoCase(word, LengthUnitWords[u])) continue;
    double parsed = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size()) return false;
    value = parsed;
    unit = u;
    return true;
  }
  return false;
}

std::string FormatLengthWithUnits(const LengthValue& length) {
  char buffer[64];
  if (length.unit < LengthUnitCount)
    std::snprintf(buffer, sizeof buffer, "%g %s", length.value, LengthUnitWords[length.unit]);
  else
    std::snprintf(buffer, sizeof buffer, "%g", length.value);
  return buffer;
}

double LengthToWorldUnits(const LengthValue& length) {
  if (length.unit >= LengthUnitCount) return 0.0;
  return length.value * static_cast<double>(WorldUnitsPerUnit[length.unit]);
}

double LengthToMillimetres(const LengthValue& length) {
  if (length.unit >= LengthUnitCount) return 0.0;
  return length.value * MillimetresPerUnit[length.unit];
}

}  // namespace pl3

#include "platform/code_page.h"

#include <array>

namespace pl3 {

namespace {
// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

char32_t AnsiToCodePoint(unsigned char c) { return (c >= 0x80 && c < 0xA0) ? kHigh[c - 0x80] : c; }

std::optional<unsigned char> CodePointToAnsi(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  for (std::size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == cp) return static_cast<unsigned char>(0x80 + i);
  return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacementCharacter;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) AppendUtf8(out, AnsiToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  int length = 0;
  char32_t cp = 0;
  char32_t least = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, least = 0x10000;
  } else {
    ++pos;
    return kReplacementCharacter;
  }
  if (pos + length > text.size()) {
    ++pos;
    return kReplacementCharacter;
  }
  for (int i = 1; i < length; ++i) {
    const auto c = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuation(c)) {
      ++pos;
      return kReplacementCharacter;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  // Overlong forms, surrogates and values past the last plane are malformed.
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kReplacementCharacter;
  }
  pos += length;
  return cp;
}

std::string Utf8ToAnsi(std::string_view utf8, char replacement, bool* exact) {
  std::string out;
  out.reserve(utf8.size());
  if (exact) *exact = true;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t cp = DecodeUtf8(utf8, pos);
    const auto byte = cp == kReplacementCharacter ? std::nullopt : CodePointToAnsi(cp);
    if (byte) {
      out += static_cast<char>(*byte);
    } else {
      out += replacement;
      if (exact) *exact = false;
    }
  }
  return out;
}

}  // namespace pl3

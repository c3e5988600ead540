// Case-free text helpers for names, paths, keys and file types.
//
// Folding is ASCII only: 'A'..'Z' become 'a'..'z' and every other byte stays
// as it is, so Windows-1252 and UTF-8 text is never altered and the result
// does not depend on the locale.
#pragma once
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace pl3 {

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string LowerCopy(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

// A null text gives the empty string.
inline std::string LowerCopy(const char* text) { return text ? LowerCopy(std::string_view(text)) : std::string(); }

inline std::string UpperCopy(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// -1, 0 or 1 as `a` sorts before, with or after `b`: folded bytes compare as
// unsigned, and a text sorts before a longer one that it begins.
inline int CompareNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(AsciiLower(a[i])), y = static_cast<unsigned char>(AsciiLower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace pl3

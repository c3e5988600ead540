// The program's code page, Windows-1252, and its meeting points with UTF-8.
//
// Every narrow string inside the program (titles, texts, names, file names)
// is Windows-1252. The host speaks UTF-8: SDL text input, the desktop
// clipboard, XML files and host file names convert at that edge, here.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pl3 {

// The Unicode code point of one Windows-1252 byte. The five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control
// of the same number, so every byte survives a round trip.
char32_t AnsiToCodePoint(unsigned char c);

// The Windows-1252 byte of a code point, or nothing when the code page has no
// character for it.
std::optional<unsigned char> CodePointToAnsi(char32_t cp);

// Windows-1252 text as UTF-8. Never fails.
std::string AnsiToUtf8(std::string_view ansi);

// UTF-8 text as Windows-1252. A character the code page cannot hold, or a
// malformed sequence, becomes `replacement` and clears *exact when given.
std::string Utf8ToAnsi(std::string_view utf8, char replacement = '?', bool* exact = nullptr);

// Decodes one UTF-8 character at text[pos], advancing pos past it. A
// malformed or cut sequence gives U+FFFD and advances one byte.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

// Appends the UTF-8 form of a code point (U+FFFD for one out of range).
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace pl3

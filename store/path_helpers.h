// Helpers on the program's file paths ("\home\ann\Boards\a.p3p", "C:\a.p3s"):
// the extension and the file-name part.
#pragma once
#include <optional>
#include <string>
#include <string_view>

// The index of the point that starts the file name's extension, scanning back
// from the last character; -1 when a backslash comes first, for an empty
// path, or when only index 0 is a point (a leading point starts no extension).
int FindExtensionDot(std::string_view path);

// The path up to its extension's point (the whole path when it has none), a
// point and the new extension (given without point).
std::string ReplaceExtension(std::string_view path, std::string_view extension);

// The part after the last backslash or colon, or the whole path when it has
// neither.
std::string GetFileNamePart(std::string_view path);
// The part after the last backslash or colon; none when the path has neither
// or is a single character.
std::optional<std::string> GetFileNamePartOrNull(std::string_view path);

// 1 when the file system finds the path (a wildcard pattern counts when
// anything matches), else 0. The search handle is closed at once.
int FileExists(const char* path);

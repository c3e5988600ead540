// Replacing a file so that a crash or power loss at any moment leaves either
// its old content or the new one, never a mix: the new bytes go to a temporary
// file in the same folder, are flushed to disk, and the temporary file is
// renamed over the original, the folder flushed after. Every file the program
// saves for the user goes through here.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win_types.h"

// Writes the new content into the open temporary file; false on failure.
using SafeFileWriter = std::function<bool(HANDLE file)>;

// False with an error text on failure, and GetLastError() the system's
// reason (ERROR_ACCESS_DENIED for a read-only folder or file, ERROR_DISK_FULL
// ...); the original is then untouched and the temporary file removed. `beforeReplace` runs once the new bytes are on disk,
// right before the rename: whoever holds the original open closes it there.
bool WriteFileSafely(const std::string& path, const SafeFileWriter& write, std::string* error,
                     const std::function<void()>& beforeReplace = {});
bool WriteBytesSafely(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error,
                      const std::function<void()>& beforeReplace = {});

// The temporary file that WriteFileSafely writes before the rename.
std::string SavingPathBeside(const std::string& path);

// Moves a file that cannot be read out of the way before it is written
// afresh, so that the user's bytes are kept: to "<path>.corrupt", or
// "<path>.corrupt.1", ".corrupt.2" ... when earlier copies are there (none is
// ever replaced). Returns the name it now has, or an empty text when it
// could not be moved (the caller must then leave the file alone).
std::string SetFileAside(const std::string& path);

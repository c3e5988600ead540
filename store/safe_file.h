// Replacing a file so that a crash or power loss at any moment leaves either
// its old content or the new one, never a mix: the new bytes go to a temporary
// file in the same folder, are flushed to disk, and the temporary file is
// renamed over the original, the folder flushed after.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// False with an error text on failure; the original is then untouched and the
// temporary file removed. `beforeReplace` runs once the new bytes are on disk,
// right before the rename: whoever holds the original open closes it there.
bool NetfsWriteFileSafely(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error,
                          const std::function<void()>& beforeReplace = {});
// The temporary file that NetfsWriteFileSafely writes before the rename.
std::string NetfsSavingPath(const std::string& path);

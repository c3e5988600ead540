// Replacing a file so that a crash or power loss at any moment leaves either
// its old content or the new one, never a mix: the new bytes go to a temporary
// file in the same folder, are flushed to disk, and the temporary file is
// renamed over the original, the folder flushed after.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// False with an error text on failure; the original is then untouched and the
// temporary file removed.
bool NetfsWriteFileSafely(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error);
// The temporary file that NetfsWriteFileSafely writes before the rename.
std::string NetfsSavingPath(const std::string& path);

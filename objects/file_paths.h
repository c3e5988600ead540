// Finding the container file a path in an attribute text runs into: the part
// of the path that names an existing file, and the item path after it
// ("C:\Libs\Parts.p3l\pcbsymbol\R0805" gives "C:\Libs\Parts.p3l" and
// "\pcbsymbol\R0805").
#pragma once
#include <cstdint>

// Kinds of a found path.
constexpr std::uint32_t kFoundRelativePath = 1;  // made absolute with the project folder
constexpr std::uint32_t kFoundDrivePath = 2;     // began with a drive letter and a colon

// Owned by the caller; freed with FreeFoundFilePath.
struct FoundFilePath {
  std::uint32_t kind;
  char* path;  // the file's path, without a trailing backslash (heap)
  char* rest;  // the text from the backslash after the file name on (heap)
};

// The longest path looked at, its terminator included.
constexpr std::uint32_t kFoundPathBufferSize = 2000;

// Skips leading blanks and tabs, then reads the path a character at a time;
// at each backslash the path so far is looked up, and the first that names an
// existing file (not a folder) gives the result. A path that does not start
// with a drive ("X:") is taken below the project folder. Null for an empty
// text, a path starting with a backslash, a colon anywhere but second, a text
// that ends before a file is found, and a path longer than the buffer.
FoundFilePath* FindFilePathInText(const char* text);
// Frees the rest, the path and the record; null is ignored.
void FreeFoundFilePath(FoundFilePath* found);

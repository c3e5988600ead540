// A whole-file text reader that hands out one line at a time. Size files,
// DXF files, import settings, attribute tables and earlier-generation files
// are read through it. The file is read with one call and lines are cut from
// memory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/win_types.h"

struct TextReader {
  HANDLE file = nullptr;  // held open (unshared) until the reader is closed; none for a memory reader
  std::string line;       // the current line, without its line end
  bool hasLine = false;   // false before the first line
  std::string data;       // the whole file
  std::uint32_t size = 0;
  std::uint32_t position = 0;

  TextReader() = default;
  TextReader(const TextReader&) = delete;
  TextReader& operator=(const TextReader&) = delete;
  ~TextReader();
};

using TextReaderPtr = std::unique_ptr<TextReader>;

// Opens an existing file for reading, unshared, and reads it whole; null when
// it cannot be opened or read (the caller reports it).
TextReaderPtr OpenTextReader(const char* path);
// A reader over a copy of the block.
TextReaderPtr OpenTextReaderFromMemory(const void* block, std::size_t size);

// Makes the next line the current line and returns true, or returns false at
// the end of the data. A line ends at a carriage return or line feed; zero
// bytes are skipped. With keepEmptyLines false every run of line ends counts
// as one, so blank lines never come out. With keepEmptyLines true a line ends
// right after its first line feed (carriage returns before it belong to the
// same end), and each further line feed yields an empty line. Lines are not
// cut: a line longer than any buffer comes out whole.
bool ReadTextLine(TextReader& reader, bool keepEmptyLines);

// Closes the file and frees everything; null is ignored. (Destroying the
// reader does the same.)
void CloseTextReader(TextReaderPtr& reader);

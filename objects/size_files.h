// Size tables read from and written to size files (".p3s") and a design's
// stored size record (288), and the size table an editor window starts with.
#pragma once
#include <cstdint>
#include <memory>

#include "objects/size_table.h"

struct Tower;

// Reads the whole file (shared for reading) and parses it; none when the file
// cannot be opened.
std::unique_ptr<SizeTable> LoadSizeFile(const char* path);
// Writes the size text and its terminating NUL to a file created or
// replaced. 1 when written, 0 when the file cannot be created or written.
int SaveSizeFile(const SizeTable& table, const char* path);

// Parses the newest size record (288) under the design; none when it has none.
std::unique_ptr<SizeTable> LoadStoredSizeTable(const Tower* design);
// Inserts the size text, with its NUL, as a new size record under the tower.
void StoreSizeTable(const Tower* design, const SizeTable& table);

// The size table of a new editor window of a kind: none when the kind has no
// size file set (sizeFilePath null); the built-in text when the file cannot be
// opened (silently) or lacks a list the kind needs ("Size file is not valid
// for this editor, ..." captioned "Pelmora3").
std::unique_ptr<SizeTable> LoadSizeTableForEditor(std::uint32_t editorKind, const char* sizeFilePath);

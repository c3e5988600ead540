// The user's key bindings file "accelerators.txt": one line per command name,
// "name=" then the key codes as "0x%.4x" joined by ",", each line ended by LF.
#pragma once

struct CommandTable;

// Applies the file to the live table. A missing file changes nothing; a file
// that exists first unbinds every command, then binds what its lines name
// (the last line for a name wins). Bad lines are ignored without a message.
// The menu index is freed: the caller rebuilds it.
void ReadAcceleratorsFile(const char* path);
// Writes every command name of the table once, in case-free name order, with
// the keys of the name's first record. The file is replaced whole or not at
// all; a failure keeps the previous file and is not reported.
void WriteAcceleratorsFile(const CommandTable* table, const char* path);

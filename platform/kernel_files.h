// Files and folders, in the vocabulary the program is written against.
//
// Paths. The program's own paths keep backslashes and carry a drive: drive C:
// is the host's root, so "C:\home\ann\Boards\a.p3p" names the host's
// "/home/ann/Boards/a.p3p". Every function here turns them into host paths with
// pl3::HostPath at the file-system boundary: "\" and "/" both separate, any
// drive prefix is dropped (so "\home\ann\a.p3p" and "D:\home\ann\a.p3p" open
// the same file), and a component that does not exist in the exact case is
// looked up without regard to case, folder by folder, so files named with
// other case rules still open. Paths handed back to the program (current and
// temporary folder, temporary file names) are in program form, with the
// drive; found names are in program form too.
//
// Names. The program's paths are Windows-1252, the host's UTF-8; each side
// converts at this boundary. A host name the code page cannot hold is handed
// out with '?' for the characters it lacks (and "~2"... to keep two such
// names of a folder apart), and that name opens the host file again.
//
// Sharing. Files opened through CreateFile honour each other's share modes
// within the process: an open that the share mode of an earlier open does not
// allow fails with ERROR_SHARING_VIOLATION, and so does deleting or renaming a
// file held open without FILE_SHARE_DELETE.
//
// Read-only. FILE_ATTRIBUTE_READONLY is the absence of the owner's write
// permission. Opening such a file for writing, or deleting it, fails with
// ERROR_ACCESS_DENIED even where the host would allow it (as root).
#pragma once
#include <string>
#include <string_view>

#include "platform/kernel_base.h"
#include "platform/win_types.h"

// Access rights.
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD GENERIC_EXECUTE = 0x20000000;
constexpr DWORD GENERIC_ALL = 0x10000000;
// Share modes.
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD FILE_SHARE_DELETE = 0x00000004;
// Creation dispositions.
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
// Attributes and flags.
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD FILE_ATTRIBUTE_TEMPORARY = 0x00000100;
constexpr DWORD FILE_FLAG_WRITE_THROUGH = 0x80000000;
constexpr DWORD FILE_FLAG_RANDOM_ACCESS = 0x10000000;
constexpr DWORD FILE_FLAG_SEQUENTIAL_SCAN = 0x08000000;
constexpr DWORD FILE_FLAG_DELETE_ON_CLOSE = 0x04000000;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
// Seeking.
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
// MoveFileEx.
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001;
constexpr DWORD MOVEFILE_COPY_ALLOWED = 0x00000002;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x00000008;

// Asynchronous I/O is not offered; the parameter is kept for the calls' shape
// and must be null.
struct OVERLAPPED;
using LPOVERLAPPED = OVERLAPPED*;

struct WIN32_FIND_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
};
using LPWIN32_FIND_DATA = WIN32_FIND_DATA*;

HANDLE CreateFile(LPCSTR name, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security, DWORD creation,
                  DWORD flagsAndAttributes, HANDLE templateFile);
// At the end of the file ReadFile succeeds with fewer bytes (0 at the end).
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, DWORD* read, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, DWORD* written, LPOVERLAPPED overlapped);
// With `distanceHigh` null the distance is a signed 32-bit value; otherwise the
// two form a signed 64-bit distance and *distanceHigh receives the new high half.
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method);
BOOL SetEndOfFile(HANDLE file);
DWORD GetFileSize(HANDLE file, DWORD* sizeHigh);
BOOL FlushFileBuffers(HANDLE file);
// The creation time reported is the last-write time (the host keeps none);
// setting it is accepted and ignored.
BOOL GetFileTime(HANDLE file, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite);
BOOL SetFileTime(HANDLE file, const FILETIME* creation, const FILETIME* lastAccess, const FILETIME* lastWrite);

DWORD GetFileAttributes(LPCSTR name);
BOOL SetFileAttributes(LPCSTR name, DWORD attributes);
BOOL CopyFile(LPCSTR existing, LPCSTR newName, BOOL failIfExists);
BOOL DeleteFile(LPCSTR name);
BOOL MoveFile(LPCSTR existing, LPCSTR newName);
BOOL MoveFileEx(LPCSTR existing, LPCSTR newName, DWORD flags);
BOOL CreateDirectory(LPCSTR name, LPSECURITY_ATTRIBUTES security);
BOOL RemoveDirectory(LPCSTR name);
DWORD GetCurrentDirectory(DWORD bufferLength, LPSTR buffer);
BOOL SetCurrentDirectory(LPCSTR name);

// The temporary folder ($TMPDIR, else /tmp) in program form with a trailing
// backslash. Returns the length without the NUL, or the size needed with the
// NUL when the buffer is too small.
DWORD GetTempPath(DWORD bufferLength, LPSTR buffer);
// "<path>\<up to 3 prefix characters><hex number>.tmp" into a MAX_PATH buffer.
// With unique 0 it picks a number whose file does not exist yet and creates
// the file empty; otherwise it only forms the name. Returns the number, 0 on
// failure.
UINT GetTempFileName(LPCSTR path, LPCSTR prefix, UINT unique, LPSTR tempFileName);

// Searches one folder for names matching the last component of `pattern`
// ("*" any run, "?" one character, without regard to case; "*.*" matches
// every name). Names come in case-insensitive order; "." and ".." are left out.
HANDLE FindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATA data);
BOOL FindNextFile(HANDLE search, LPWIN32_FIND_DATA data);
BOOL FindClose(HANDLE search);

namespace pl3 {

// The host path of a program path (see above). The components that exist are
// spelled as on disk; the rest are kept as given.
std::string HostPath(std::string_view programPath);
// A host path in program form: "/" becomes "\", names become Windows-1252,
// and an absolute path gains drive "C:" (the host's root), so
// "/home/ann/a.p3p" is "C:\home\ann\a.p3p".
std::string ProgramPath(std::string_view hostPath);
// Matches a name against a wildcard pattern as FindFirstFile does.
bool WildcardMatch(std::string_view pattern, std::string_view name);
// The program's configuration folder on the host, $XDG_CONFIG_HOME/pelmora3
// (default ~/.config/pelmora3), created when missing.
std::string ConfigFolder();
// The folder of the files the program ships (registry defaults and others):
// $PL3_DATA_DIR when set, else "data" beside the executable or
// "../share/pelmora3" above it, else the source tree's data folder. No
// trailing separator.
std::string DataFolder();
// Maps an errno value to the matching error number.
DWORD ErrorFromErrno(int error);
// Keeps the program's arguments for GetCommandLine; main calls it first.
void SetProgramArguments(int argc, const char* const* argv);

}  // namespace pl3

// The command line as the program reads it: the program's name and its
// arguments, separated by blanks. An argument that is an absolute host path
// ("/home/ann/a.p3p") is in program form ("C:\home\ann\a.p3p"), and one that
// holds a blank or is empty stands in double quotes. Empty before
// pl3::SetProgramArguments.
LPCSTR GetCommandLine();

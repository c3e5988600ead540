#include "platform/kernel_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <tuple>
#include <vector>

#include "platform/code_page.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"

namespace pl3 {
namespace {

// ---- Path helpers -------------------------------------------------------------

bool LessNoCase(const std::string& a, const std::string& b) {
  const int order = CompareNoCase(a, b);
  return order != 0 ? order < 0 : a < b;  // names that differ only in case: a fixed order all the same
}

bool Exists(const std::string& hostPath) {
  struct stat st;
  return lstat(hostPath.c_str(), &st) == 0;
}

bool IsFolder(const std::string& hostPath) {
  struct stat st;
  return stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The entry of `folder` whose name equals `name` without regard to case (only
// folders when `folderOnly`); of several, the first in byte order. Empty when
// there is none.
std::string FindNoCase(const std::string& folder, std::string_view name, bool folderOnly) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return {};
  std::string best;
  while (dirent* entry = readdir(dir)) {
    std::string_view candidate(entry->d_name);
    if (!EqualsNoCase(candidate, name) || (!best.empty() && candidate >= best)) continue;
    if (folderOnly && !IsFolder(folder + std::string(candidate))) continue;
    best = candidate;
  }
  closedir(dir);
  return best;
}

// The name on disk of component `name` in `folder` (which is empty or ends
// with '/'): the exact name when it exists, else another case of it. A
// component with more of the path below it must be a folder, so a file of
// that name in another case does not hide the folder. Empty when missing.
std::string ResolveComponent(const std::string& folder, std::string_view name, bool folderNeeded) {
  const std::string exact = folder + std::string(name);
  const bool exactExists = Exists(exact);
  if (exactExists && (!folderNeeded || IsFolder(exact))) return std::string(name);
  std::string found = FindNoCase(folder, name, folderNeeded);
  if (!found.empty()) return found;
  return exactExists ? std::string(name) : std::string();
}

// Splits a program path at its last separator: folder part (possibly empty)
// and last component.
void SplitLast(std::string_view path, std::string& folder, std::string& name) {
  std::size_t sep = path.find_last_of("\\/");
  if (sep == std::string_view::npos) {
    folder.clear();
    name = path;
  } else {
    folder = path.substr(0, sep + 1);
    name = path.substr(sep + 1);
  }
}

bool Fail(DWORD error) {
  ::SetLastError(error);
  return false;
}

// ---- Host names the code page cannot hold ---------------------------------------
//
// Host names are UTF-8, the program's are Windows-1252. A host name with a
// character the code page lacks (or bytes that are no UTF-8) is handed to the
// program with '?' for each such character, and "~2", "~3"... before the
// extension when another name of the folder already got that form. The
// folder (by device and inode) and both names are remembered, so the name
// handed out opens the host file again.

using NameKey = std::tuple<dev_t, ino_t, std::string>;

struct HandedOutNames {
  std::mutex lock;
  std::map<NameKey, std::string> hostOf;     // folder and name handed out -> host name
  std::map<NameKey, std::string> programOf;  // folder and host name -> name handed out
};

HandedOutNames& Handed() {
  static HandedOutNames* const names = new HandedOutNames;
  return *names;
}

void ResetHandedOutNames() {
  HandedOutNames& h = Handed();
  std::lock_guard<std::mutex> guard(h.lock);
  h.hostOf.clear();
  h.programOf.clear();
}

const bool kNamesResetRegistered = RegisterGlobalReset(&ResetHandedOutNames);

bool FolderId(const std::string& hostFolder, struct stat& st) {
  return stat(hostFolder.empty() ? "." : hostFolder.c_str(), &st) == 0;
}

// The program's name for the host entry `hostName` of `hostFolder`.
std::string ProgramName(const std::string& hostFolder, const std::string& hostName) {
  bool exact = true;
  std::string narrow = Utf8ToAnsi(hostName, '?', &exact);
  struct stat st;
  if (exact || !FolderId(hostFolder, st)) return narrow;
  HandedOutNames& h = Handed();
  std::lock_guard<std::mutex> guard(h.lock);
  auto known = h.programOf.find(NameKey{st.st_dev, st.st_ino, hostName});
  if (known != h.programOf.end()) return known->second;
  std::size_t dot = narrow.rfind('.');
  if (dot == 0 || dot == std::string::npos) dot = narrow.size();
  std::string name = narrow;
  for (int n = 2; h.hostOf.count(NameKey{st.st_dev, st.st_ino, name}); ++n)
    name = narrow.substr(0, dot) + "~" + std::to_string(n) + narrow.substr(dot);
  h.hostOf[NameKey{st.st_dev, st.st_ino, name}] = hostName;
  h.programOf[NameKey{st.st_dev, st.st_ino, hostName}] = name;
  return name;
}

// The host name handed out as `programName` in `hostFolder`; empty when none.
std::string HandedOutHostName(const std::string& hostFolder, std::string_view programName) {
  struct stat st;
  if (!FolderId(hostFolder, st)) return {};
  HandedOutNames& h = Handed();
  std::lock_guard<std::mutex> guard(h.lock);
  auto it = h.hostOf.find(NameKey{st.st_dev, st.st_ino, std::string(programName)});
  return it == h.hostOf.end() ? std::string() : it->second;
}

// ENOENT for a path whose folder is missing is "path not found".
DWORD MissingError(const std::string& hostPath) {
  std::string parent = std::filesystem::path(hostPath).parent_path().string();
  if (!parent.empty() && !Exists(parent)) return ERROR_PATH_NOT_FOUND;
  return ERROR_FILE_NOT_FOUND;
}

DWORD ErrorForPath(int error, const std::string& hostPath) {
  return error == ENOENT ? MissingError(hostPath) : ErrorFromErrno(error);
}

// ---- Open files and their share modes -------------------------------------------

struct OpenFile;

struct ShareTable {
  std::mutex lock;
  std::vector<OpenFile*> open;
};

// Never destroyed: files still open at exit are closed by the handle table's
// destructor, which may run after this function's statics would have gone.
ShareTable& Shares() {
  static ShareTable* const table = new ShareTable;
  return *table;
}

struct OpenFile {
  int fd = -1;
  DWORD access = 0;
  DWORD share = 0;
  dev_t device = 0;
  ino_t inode = 0;
  std::string hostPath;
  bool deleteOnClose = false;

  OpenFile() = default;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    {
      std::lock_guard<std::mutex> guard(Shares().lock);
      auto& v = Shares().open;
      v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    if (deleteOnClose) unlink(hostPath.c_str());
    if (fd >= 0) close(fd);
  }
};

bool Reads(DWORD access) { return (access & (GENERIC_READ | GENERIC_ALL)) != 0; }
bool Writes(DWORD access) { return (access & (GENERIC_WRITE | GENERIC_ALL)) != 0; }

bool SharingAllows(const OpenFile& held, DWORD access, DWORD share) {
  if (Reads(access) && !(held.share & FILE_SHARE_READ)) return false;
  if (Writes(access) && !(held.share & FILE_SHARE_WRITE)) return false;
  if (Reads(held.access) && !(share & FILE_SHARE_READ)) return false;
  if (Writes(held.access) && !(share & FILE_SHARE_WRITE)) return false;
  return true;
}

// True when every open of the file shares what `shareBit` names with others.
bool HoldersShare(const struct stat& st, DWORD shareBit) {
  std::lock_guard<std::mutex> guard(Shares().lock);
  for (const OpenFile* f : Shares().open)
    if (f->device == st.st_dev && f->inode == st.st_ino && !(f->share & shareBit)) return false;
  return true;
}

// True when every open of the file allows it to be deleted or renamed.
bool DeleteAllowed(const struct stat& st) { return HoldersShare(st, FILE_SHARE_DELETE); }

bool ReadOnly(const struct stat& st) { return !S_ISDIR(st.st_mode) && !(st.st_mode & S_IWUSR); }

std::shared_ptr<OpenFile> FileOf(HANDLE handle) { return KernelObject<OpenFile>(handle, HandleKind::File); }

FILETIME TimeOf(const struct timespec& ts) {
  return FileTimeFromUnixNanos(static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec);
}

struct timespec TimespecOf(const FILETIME* t) {
  struct timespec ts;
  if (!t) {
    ts.tv_sec = 0;
    ts.tv_nsec = UTIME_OMIT;
    return ts;
  }
  long long nanos = UnixNanosFromFileTime(*t);
  long long seconds = nanos / 1000000000LL;
  long long rest = nanos % 1000000000LL;
  if (rest < 0) {
    rest += 1000000000LL;
    --seconds;
  }
  ts.tv_sec = static_cast<time_t>(seconds);
  ts.tv_nsec = static_cast<long>(rest);
  return ts;
}

DWORD AttributesOf(const std::string& name, const struct stat& st) {
  DWORD attributes = 0;
  if (S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if (ReadOnly(st)) attributes |= FILE_ATTRIBUTE_READONLY;
  if (!name.empty() && name[0] == '.' && name != "." && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  if (!S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_ARCHIVE;
  return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

std::string LastHostComponent(const std::string& hostPath) {
  return std::filesystem::path(hostPath).filename().string();
}

// ---- Find searches --------------------------------------------------------------

struct FindSearch {
  std::string folder;               // host folder
  std::vector<std::string> names;   // matches in order
  std::size_t next = 0;
};

// Fills `data` with the next match that still exists. False when none is left.
bool NextFound(FindSearch& search, LPWIN32_FIND_DATA data) {
  while (search.next < search.names.size()) {
    const std::string& name = search.names[search.next++];
    std::string full = search.folder.empty() ? name : search.folder + "/" + name;
    struct stat st;
    if (stat(full.c_str(), &st) != 0 && lstat(full.c_str(), &st) != 0) continue;
    std::memset(data, 0, sizeof *data);
    data->dwFileAttributes = AttributesOf(name, st);
    data->ftCreationTime = TimeOf(st.st_mtim);
    data->ftLastAccessTime = TimeOf(st.st_atim);
    data->ftLastWriteTime = TimeOf(st.st_mtim);
    unsigned long long size = S_ISDIR(st.st_mode) ? 0 : static_cast<unsigned long long>(st.st_size);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    std::string programName = ProgramName(search.folder, name);
    std::size_t n = std::min<std::size_t>(programName.size(), MAX_PATH - 1);
    std::memcpy(data->cFileName, programName.data(), n);
    return true;
  }
  return false;
}

// ---- Copy -----------------------------------------------------------------------

bool CopyContents(const std::string& from, const std::string& to, const struct stat& st) {
  int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return Fail(ErrorForPath(errno, from));
  int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (out < 0) {
    int e = errno;
    close(in);
    return Fail(ErrorForPath(e, to));
  }
  std::vector<char> buffer(1 << 16);
  bool ok = true;
  int error = 0;
  for (;;) {
    ssize_t got = read(in, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (got < 0) ok = false, error = errno;
      break;
    }
    for (ssize_t done = 0; done < got;) {
      ssize_t put = write(out, buffer.data() + done, static_cast<std::size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) {
        ok = false;
        error = errno;
        break;
      }
      done += put;
    }
    if (!ok) break;
  }
  // The copy keeps the original's last-write time and read-only attribute.
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  if (ok) futimens(out, times);
  if (ok) fchmod(out, st.st_mode & 07777);
  close(in);
  if (close(out) != 0 && ok) ok = false, error = errno;
  if (!ok) {
    unlink(to.c_str());
    return Fail(ErrorFromErrno(error));
  }
  return true;
}

}  // namespace

std::string HostPath(std::string_view programPath) {
  std::string_view p = programPath;
  if (p.size() >= 2 && p[1] == ':' && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')))
    p.remove_prefix(2);
  if (p.empty()) return programPath.empty() ? std::string() : std::string(".");
  const bool absolute = p[0] == '\\' || p[0] == '/';
  const bool trailing = p.back() == '\\' || p.back() == '/';

  // "." and ".." are taken lexically, as the program's own paths mean them:
  // "A\Missing\..\B" names A\B whether or not Missing exists.
  std::string result = absolute ? "/" : "";
  std::vector<std::size_t> kept;  // where each component kept in `result` starts
  std::size_t missingFrom = std::string::npos;  // first kept component not on disk
  std::size_t i = 0;
  while (i < p.size()) {
    std::size_t end = p.find_first_of("\\/", i);
    if (end == std::string_view::npos) end = p.size();
    std::string_view component = p.substr(i, end - i);
    i = end + 1;
    if (component.empty() || component == ".") continue;
    const bool climbs = component == "..";
    if (climbs && !kept.empty() && result.compare(kept.back(), std::string::npos, "..") != 0) {
      result.resize(kept.back());
      kept.pop_back();
      if (missingFrom != std::string::npos && missingFrom >= kept.size()) missingFrom = std::string::npos;
      continue;
    }
    if (climbs && absolute) continue;  // above the root is the root
    if (!result.empty() && result.back() != '/') result += '/';
    kept.push_back(result.size());
    std::string name(component);
    if (!climbs) name = AnsiToUtf8(component);
    if (!climbs && missingFrom == std::string::npos) {
      const bool folderNeeded = p.find_first_not_of("\\/", std::min(end, p.size())) != std::string_view::npos;
      std::string onDisk = ResolveComponent(result, name, folderNeeded);
      if (onDisk.empty()) onDisk = HandedOutHostName(result, component);
      if (onDisk.empty()) {
        missingFrom = kept.size() - 1;  // nothing below a missing folder can exist
      } else {
        name = onDisk;
      }
    }
    result += name;
  }
  if (!trailing && result.size() > 1 && result.back() == '/') result.pop_back();
  if (result.empty()) result = ".";
  if (trailing && result.back() != '/') result += '/';
  return result;
}

std::string ProgramPath(std::string_view hostPath) {
  // The program recognises an absolute path by its drive, so the host's root
  // is drive C:. A relative path stays relative.
  std::string out = !hostPath.empty() && hostPath[0] == '/' ? "C:" : "";
  std::string folder;
  std::size_t i = 0;
  while (i <= hostPath.size()) {
    std::size_t end = std::min(hostPath.find('/', i), hostPath.size());
    std::string component(hostPath.substr(i, end - i));
    out += component.empty() ? component : ProgramName(folder, component);
    folder += component;
    if (end < hostPath.size()) {
      out += '\\';
      folder += '/';
    }
    i = end + 1;
  }
  return out;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string ConfigFolder() {
  std::string base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : "/tmp") + "/.config";
  }
  std::string folder = base + "/pelmora3";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

std::string DataFolder() {
  const char* env = std::getenv("PL3_DATA_DIR");
  if (env && *env) return env;
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    for (const auto& candidate : {exe.parent_path() / "data", exe.parent_path().parent_path() / "share/pelmora3"}) {
      if (std::filesystem::exists(candidate / "registry-defaults.xml", error)) return candidate.string();
    }
  }
  return PL3_SOURCE_DATA_DIR;
}

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EBUSY: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EIO: return ERROR_GEN_FAILURE;
    default: return ERROR_GEN_FAILURE;
  }
}

namespace {
std::string gCommandLine;
void ForgetCommandLine() { gCommandLine.clear(); }
const bool gCommandLineResetRegistered = RegisterGlobalReset(&ForgetCommandLine);
}  // namespace

void SetProgramArguments(int argc, const char* const* argv) {
  gCommandLine.clear();
  for (int i = 0; i < argc; ++i) {
    // Arguments come in UTF-8; the program reads Windows-1252.
    const char* given = argv[i] ? argv[i] : "";
    const std::string word = given[0] == '/' ? ProgramPath(given) : Utf8ToAnsi(given);
    if (i) gCommandLine += ' ';
    const bool quoted = word.empty() || word.find_first_of(" \t") != std::string::npos;
    if (quoted) gCommandLine += '"';
    gCommandLine += word;
    if (quoted) gCommandLine += '"';
  }
}

}  // namespace pl3

using namespace pl3;

HANDLE CreateFile(LPCSTR name, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES, DWORD creation,
                  DWORD flagsAndAttributes, HANDLE) {
  if (!name || !*name || creation < CREATE_NEW || creation > TRUNCATE_EXISTING ||
      (creation == TRUNCATE_EXISTING && !Writes(access))) {
    SetLastError(name && *name ? ERROR_INVALID_PARAMETER : ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  const std::string host = HostPath(name);
  struct stat before;
  const bool existed = stat(host.c_str(), &before) == 0;
  if (existed && S_ISDIR(before.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  if (existed && creation == CREATE_NEW) {
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
  }
  if (!existed && (creation == OPEN_EXISTING || creation == TRUNCATE_EXISTING)) {
    SetLastError(MissingError(host));
    return INVALID_HANDLE_VALUE;
  }
  const bool truncate = existed && (creation == CREATE_ALWAYS || creation == TRUNCATE_EXISTING);
  if (existed && ReadOnly(before) && (Writes(access) || truncate)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }

  int flags = O_CLOEXEC;
  if (Reads(access) && Writes(access)) flags |= O_RDWR;
  else if (Writes(access) || truncate) flags |= O_WRONLY;
  else flags |= O_RDONLY;
  if (!existed) flags |= O_CREAT | O_EXCL;
  mode_t mode = (flagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  if ((flags & O_ACCMODE) == O_RDONLY && !existed) flags = (flags & ~O_ACCMODE) | O_RDWR;  // a new file, no access asked
  int fd = open(host.c_str(), flags, mode);
  if (fd < 0) {
    SetLastError(ErrorForPath(errno, host));
    return INVALID_HANDLE_VALUE;
  }
  auto file = std::make_shared<OpenFile>();
  file->fd = fd;
  file->access = access;
  file->share = shareMode;
  file->hostPath = host;
  file->deleteOnClose = (flagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) != 0;
  struct stat st;
  fstat(fd, &st);
  file->device = st.st_dev;
  file->inode = st.st_ino;
  {
    std::lock_guard<std::mutex> guard(Shares().lock);
    for (const OpenFile* held : Shares().open) {
      if (held->device == st.st_dev && held->inode == st.st_ino && !SharingAllows(*held, access, shareMode)) {
        file->deleteOnClose = false;
        if (!existed) file->deleteOnClose = true;  // do not leave a file we just made
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;  // `file` closes the descriptor
      }
    }
    Shares().open.push_back(file.get());
  }
  if (truncate && ftruncate(fd, 0) != 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle = NewKernelHandle(HandleKind::File, file);
  // Like the original calls: opening over an existing file says so.
  SetLastError(existed && (creation == CREATE_ALWAYS || creation == OPEN_ALWAYS) ? ERROR_ALREADY_EXISTS
                                                                                  : ERROR_SUCCESS);
  return handle;
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD toRead, DWORD* read, LPOVERLAPPED overlapped) {
  if (read) *read = 0;
  auto file = FileOf(handle);
  if (!file) return FALSE;
  if (overlapped || (!buffer && toRead)) return Fail(ERROR_INVALID_PARAMETER);
  if (!Reads(file->access)) return Fail(ERROR_ACCESS_DENIED);
  DWORD done = 0;
  while (done < toRead) {
    ssize_t got = ::read(file->fd, static_cast<char*>(buffer) + done, toRead - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      if (read) *read = done;
      return Fail(ErrorFromErrno(errno));
    }
    if (got == 0) break;
    done += static_cast<DWORD>(got);
  }
  if (read) *read = done;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD toWrite, DWORD* written, LPOVERLAPPED overlapped) {
  if (written) *written = 0;
  auto file = FileOf(handle);
  if (!file) return FALSE;
  if (overlapped || (!buffer && toWrite)) return Fail(ERROR_INVALID_PARAMETER);
  if (!Writes(file->access)) return Fail(ERROR_ACCESS_DENIED);
  DWORD done = 0;
  while (done < toWrite) {
    ssize_t put = ::write(file->fd, static_cast<const char*>(buffer) + done, toWrite - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) {
      if (written) *written = done;
      return Fail(ErrorFromErrno(errno));
    }
    done += static_cast<DWORD>(put);
  }
  if (written) *written = done;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD method) {
  auto file = FileOf(handle);
  if (!file) return INVALID_SET_FILE_POINTER;
  long long offset = distanceHigh ? static_cast<long long>((static_cast<unsigned long long>(
                                                                static_cast<DWORD>(*distanceHigh))
                                                            << 32) |
                                                           static_cast<DWORD>(distance))
                                  : static_cast<long long>(distance);
  int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
  if (whence < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  off_t current = lseek(file->fd, 0, SEEK_CUR);
  off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? current : lseek(file->fd, 0, SEEK_END);
  lseek(file->fd, current, SEEK_SET);
  if (base + offset < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  off_t result = lseek(file->fd, static_cast<off_t>(base + offset), SEEK_SET);
  if (result < 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<unsigned long long>(result) >> 32);
  SetLastError(ERROR_SUCCESS);  // a low half of 0xFFFFFFFF is then not an error
  return static_cast<DWORD>(static_cast<unsigned long long>(result) & 0xFFFFFFFFu);
}

BOOL SetEndOfFile(HANDLE handle) {
  auto file = FileOf(handle);
  if (!file) return FALSE;
  if (!Writes(file->access)) return Fail(ERROR_ACCESS_DENIED);
  off_t at = lseek(file->fd, 0, SEEK_CUR);
  if (at < 0 || ftruncate(file->fd, at) != 0) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

DWORD GetFileSize(HANDLE handle, DWORD* sizeHigh) {
  auto file = FileOf(handle);
  if (!file) return INVALID_FILE_SIZE;
  struct stat st;
  if (fstat(file->fd, &st) != 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_FILE_SIZE;
  }
  auto size = static_cast<unsigned long long>(st.st_size);
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size & 0xFFFFFFFFu);
}

BOOL FlushFileBuffers(HANDLE handle) {
  auto file = FileOf(handle);
  if (!file) return FALSE;
  if (fsync(file->fd) != 0) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

BOOL GetFileTime(HANDLE handle, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite) {
  auto file = FileOf(handle);
  if (!file) return FALSE;
  struct stat st;
  if (fstat(file->fd, &st) != 0) return Fail(ErrorFromErrno(errno));
  if (creation) *creation = TimeOf(st.st_mtim);
  if (lastAccess) *lastAccess = TimeOf(st.st_atim);
  if (lastWrite) *lastWrite = TimeOf(st.st_mtim);
  return TRUE;
}

BOOL SetFileTime(HANDLE handle, const FILETIME*, const FILETIME* lastAccess, const FILETIME* lastWrite) {
  auto file = FileOf(handle);
  if (!file) return FALSE;
  if (!Writes(file->access)) return Fail(ERROR_ACCESS_DENIED);
  struct timespec times[2] = {TimespecOf(lastAccess), TimespecOf(lastWrite)};
  if (futimens(file->fd, times) != 0) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

DWORD GetFileAttributes(LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  std::string host = HostPath(name);
  struct stat st;
  if (stat(host.c_str(), &st) != 0) {
    SetLastError(ErrorForPath(errno, host));
    return INVALID_FILE_ATTRIBUTES;
  }
  return AttributesOf(LastHostComponent(host), st);
}

BOOL SetFileAttributes(LPCSTR name, DWORD attributes) {
  if (!name || !*name) return Fail(ERROR_PATH_NOT_FOUND);
  std::string host = HostPath(name);
  struct stat st;
  if (stat(host.c_str(), &st) != 0) return Fail(ErrorForPath(errno, host));
  if (S_ISDIR(st.st_mode)) return TRUE;  // folders carry no read-only attribute here
  mode_t mode = st.st_mode & 07777;
  mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH))
                                                : (mode | S_IWUSR);
  if (chmod(host.c_str(), mode) != 0) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

BOOL CopyFile(LPCSTR existing, LPCSTR newName, BOOL failIfExists) {
  if (!existing || !newName) return Fail(ERROR_INVALID_PARAMETER);
  std::string from = HostPath(existing), to = HostPath(newName);
  struct stat src, dst;
  if (stat(from.c_str(), &src) != 0) return Fail(ErrorForPath(errno, from));
  if (S_ISDIR(src.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (!HoldersShare(src, FILE_SHARE_READ)) return Fail(ERROR_SHARING_VIOLATION);
  if (stat(to.c_str(), &dst) == 0) {
    if (failIfExists) return Fail(ERROR_FILE_EXISTS);
    if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) return Fail(ERROR_SHARING_VIOLATION);
    if (S_ISDIR(dst.st_mode) || ReadOnly(dst)) return Fail(ERROR_ACCESS_DENIED);
    if (!HoldersShare(dst, FILE_SHARE_WRITE)) return Fail(ERROR_SHARING_VIOLATION);
  }
  return CopyContents(from, to, src) ? TRUE : FALSE;
}

BOOL DeleteFile(LPCSTR name) {
  if (!name || !*name) return Fail(ERROR_PATH_NOT_FOUND);
  std::string host = HostPath(name);
  struct stat st;
  if (lstat(host.c_str(), &st) != 0) return Fail(ErrorForPath(errno, host));
  if (S_ISDIR(st.st_mode) || (S_ISREG(st.st_mode) && ReadOnly(st))) return Fail(ERROR_ACCESS_DENIED);
  if (!DeleteAllowed(st)) return Fail(ERROR_SHARING_VIOLATION);
  if (unlink(host.c_str()) != 0) return Fail(ErrorForPath(errno, host));
  return TRUE;
}

BOOL MoveFile(LPCSTR existing, LPCSTR newName) { return MoveFileEx(existing, newName, MOVEFILE_COPY_ALLOWED); }

BOOL MoveFileEx(LPCSTR existing, LPCSTR newName, DWORD flags) {
  if (!existing || !newName || !*existing || !*newName) return Fail(ERROR_INVALID_PARAMETER);
  std::string from = HostPath(existing), to = HostPath(newName);
  struct stat src, dst;
  if (lstat(from.c_str(), &src) != 0) return Fail(ErrorForPath(errno, from));
  if (!DeleteAllowed(src)) return Fail(ERROR_SHARING_VIOLATION);
  if (lstat(to.c_str(), &dst) == 0) {
    if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) {
      // The same file under another case: rename to the case asked for.
      std::string folder, name;
      SplitLast(newName, folder, name);
      std::string target = std::filesystem::path(to).parent_path().string() + "/" + name;
      if (rename(from.c_str(), target.c_str()) != 0) return Fail(ErrorFromErrno(errno));
      return TRUE;
    }
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) return Fail(ERROR_ALREADY_EXISTS);
    if (S_ISDIR(dst.st_mode) || ReadOnly(dst)) return Fail(ERROR_ACCESS_DENIED);
    if (!DeleteAllowed(dst)) return Fail(ERROR_SHARING_VIOLATION);
  }
  if (rename(from.c_str(), to.c_str()) == 0) {
    if (flags & MOVEFILE_WRITE_THROUGH) {
      int dir = open(std::filesystem::path(to).parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (dir >= 0) {
        fsync(dir);
        close(dir);
      }
    }
    return TRUE;
  }
  if (errno != EXDEV) return Fail(ErrorForPath(errno, to));
  if (!(flags & MOVEFILE_COPY_ALLOWED) || S_ISDIR(src.st_mode)) return Fail(ERROR_NOT_SAME_DEVICE);
  if (!CopyContents(from, to, src)) return FALSE;
  if (unlink(from.c_str()) != 0) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

BOOL CreateDirectory(LPCSTR name, LPSECURITY_ATTRIBUTES) {
  if (!name || !*name) return Fail(ERROR_PATH_NOT_FOUND);
  std::string host = HostPath(name);
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  if (mkdir(host.c_str(), 0777) != 0) {
    if (errno == EEXIST) return Fail(ERROR_ALREADY_EXISTS);
    return Fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
  }
  return TRUE;
}

BOOL RemoveDirectory(LPCSTR name) {
  if (!name || !*name) return Fail(ERROR_PATH_NOT_FOUND);
  std::string host = HostPath(name);
  struct stat st;
  if (lstat(host.c_str(), &st) != 0) return Fail(ErrorForPath(errno, host));
  if (!S_ISDIR(st.st_mode)) return Fail(ERROR_DIRECTORY);
  if (rmdir(host.c_str()) != 0) return Fail(ErrorFromErrno(errno));
  return TRUE;
}

namespace {
DWORD CopyOut(const std::string& text, DWORD bufferLength, LPSTR buffer) {
  if (!buffer || text.size() + 1 > bufferLength) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}
}  // namespace

DWORD GetCurrentDirectory(DWORD bufferLength, LPSTR buffer) {
  std::error_code error;
  std::string current = std::filesystem::current_path(error).string();
  if (error) {
    SetLastError(ErrorFromErrno(error.value()));
    return 0;
  }
  return CopyOut(ProgramPath(current), bufferLength, buffer);
}

BOOL SetCurrentDirectory(LPCSTR name) {
  if (!name || !*name) return Fail(ERROR_PATH_NOT_FOUND);
  std::string host = HostPath(name);
  if (chdir(host.c_str()) != 0) return Fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
  return TRUE;
}

DWORD GetTempPath(DWORD bufferLength, LPSTR buffer) {
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = tmp && tmp[0] == '/' ? tmp : "/tmp";
  if (folder.back() != '/') folder += '/';
  return CopyOut(ProgramPath(folder), bufferLength, buffer);
}

UINT GetTempFileName(LPCSTR path, LPCSTR prefix, UINT unique, LPSTR tempFileName) {
  if (!path || !tempFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string base = path;
  if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
  std::string pre = prefix ? std::string(prefix).substr(0, 3) : std::string();
  auto form = [&](UINT number) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", number & 0xFFFFu);
    return base + pre + hex + ".tmp";
  };
  auto store = [&](const std::string& name) {
    if (name.size() + 1 > MAX_PATH) return false;
    std::memcpy(tempFileName, name.c_str(), name.size() + 1);
    return true;
  };
  if (unique != 0) {
    if (!store(form(unique))) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return 0;
    }
    return unique & 0xFFFFu;
  }
  UINT start = static_cast<UINT>(getpid() ^ static_cast<UINT>(time(nullptr))) & 0xFFFFu;
  for (UINT i = 0; i < 0x10000u; ++i) {
    UINT number = (start + i) & 0xFFFFu;
    if (number == 0) continue;
    std::string name = form(number);
    if (name.size() + 1 > MAX_PATH) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return 0;
    }
    std::string host = HostPath(name);
    int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      close(fd);
      store(name);
      return number;
    }
    if (errno != EEXIST) {
      SetLastError(ErrorForPath(errno, host));
      return 0;
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}

HANDLE FindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATA data) {
  if (!pattern || !*pattern || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::string folder, spec;
  SplitLast(pattern, folder, spec);
  if (spec.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_shared<FindSearch>();
  search->folder = folder.empty() ? std::string() : HostPath(folder);
  while (search->folder.size() > 1 && search->folder.back() == '/') search->folder.pop_back();
  DIR* dir = opendir(search->folder.empty() ? "." : search->folder.c_str());
  if (!dir) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (WildcardMatch(spec, ProgramName(search->folder, name))) search->names.push_back(std::move(name));
  }
  closedir(dir);
  std::sort(search->names.begin(), search->names.end(), LessNoCase);
  if (!NextFound(*search, data)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle = NewKernelHandle(HandleKind::Find, search);
  SetLastError(ERROR_SUCCESS);
  return handle;
}

BOOL FindNextFile(HANDLE handle, LPWIN32_FIND_DATA data) {
  auto search = KernelObject<FindSearch>(handle, HandleKind::Find);
  if (!search) return FALSE;
  if (!data) return Fail(ERROR_INVALID_PARAMETER);
  if (!NextFound(*search, data)) return Fail(ERROR_NO_MORE_FILES);
  return TRUE;
}

BOOL FindClose(HANDLE handle) { return CloseKernelHandle(handle, HandleKind::Find) ? TRUE : FALSE; }

LPCSTR GetCommandLine() { return pl3::gCommandLine.c_str(); }

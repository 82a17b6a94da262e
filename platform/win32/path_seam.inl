// The seam's calls that take a path, written once for the two ways a
// Windows program names files. The file that includes this defines
// SystemName(path), which turns the seam's 8-bit path into what the
// system calls take: the ANSI text itself for the ...A calls (ansi/), or
// UTF-16 for the ...W calls (wide/, whose UTF-8 paths may hold names the
// ANSI code page cannot). Each ...T overload below is one system call in
// its two spellings. A program links one of the two seams, never both.
#include <io.h>
#include <windows.h>

#include "platform/os.h"

namespace platform {
namespace {

inline HANDLE CreateFileT(const char* p, DWORD access, DWORD share, DWORD disposition) {
  return CreateFileA(p, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}
inline HANDLE CreateFileT(const wchar_t* p, DWORD access, DWORD share, DWORD disposition) {
  return CreateFileW(p, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}
inline DWORD GetFileAttributesT(const char* p) { return GetFileAttributesA(p); }
inline DWORD GetFileAttributesT(const wchar_t* p) { return GetFileAttributesW(p); }
inline BOOL SetFileAttributesT(const char* p, DWORD a) { return SetFileAttributesA(p, a); }
inline BOOL SetFileAttributesT(const wchar_t* p, DWORD a) { return SetFileAttributesW(p, a); }
inline BOOL GetFileAttributesExT(const char* p, WIN32_FILE_ATTRIBUTE_DATA* d) {
  return GetFileAttributesExA(p, GetFileExInfoStandard, d);
}
inline BOOL GetFileAttributesExT(const wchar_t* p, WIN32_FILE_ATTRIBUTE_DATA* d) {
  return GetFileAttributesExW(p, GetFileExInfoStandard, d);
}
inline int AccessT(const char* p) { return _access(p, 0); }
inline int AccessT(const wchar_t* p) { return _waccess(p, 0); }
// The attributes of what a directory search finds for p, as FindFirstFile
// sees it (a trailing "\." and the like included).
inline bool FindAttributesT(const char* p, DWORD* attributes) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(p, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  *attributes = found.dwFileAttributes;
  return true;
}
inline bool FindAttributesT(const wchar_t* p, DWORD* attributes) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(p, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  *attributes = found.dwFileAttributes;
  return true;
}
inline BOOL CreateDirectoryT(const char* p) { return CreateDirectoryA(p, nullptr); }
inline BOOL CreateDirectoryT(const wchar_t* p) { return CreateDirectoryW(p, nullptr); }
inline BOOL DeleteFileT(const char* p) { return DeleteFileA(p); }
inline BOOL DeleteFileT(const wchar_t* p) { return DeleteFileW(p); }
inline BOOL MoveFileExT(const char* from, const char* to, DWORD flags) { return MoveFileExA(from, to, flags); }
inline BOOL MoveFileExT(const wchar_t* from, const wchar_t* to, DWORD flags) { return MoveFileExW(from, to, flags); }

OsFile FromHandle(HANDLE handle) {
  OsFile file;
  if (handle != INVALID_HANDLE_VALUE) file.raw = handle;
  return file;
}

}  // namespace

OsFile OsOpenRead(const char* path) {
  return FromHandle(CreateFileT(SystemName(path), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
}

OsFile OsCreateWrite(const char* path) { return FromHandle(CreateFileT(SystemName(path), GENERIC_WRITE, 0, CREATE_ALWAYS)); }

OsFile OsCreateNew(const char* path) {
  return FromHandle(CreateFileT(SystemName(path), GENERIC_WRITE, FILE_SHARE_DELETE, CREATE_NEW));
}

bool OsSetAttributes(const char* path, uint32_t attributes) {
  return SetFileAttributesT(SystemName(path), attributes) != 0;
}

bool OsGetFileTimes(const char* path, FileTimes* times, uint32_t* attributes) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExT(SystemName(path), &data)) return false;
  auto value = [](const FILETIME& ft) { return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; };
  times->creation = value(data.ftCreationTime);
  times->last_access = value(data.ftLastAccessTime);
  times->last_write = value(data.ftLastWriteTime);
  *attributes = data.dwFileAttributes;
  return true;
}

bool OsPathExists(const char* path) { return AccessT(SystemName(path)) == 0; }

bool OsIsFolder(const char* path) {
  DWORD attributes = 0;
  return FindAttributesT(SystemName(path), &attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool OsCreateFolder(const char* path) { return CreateDirectoryT(SystemName(path)) != 0; }
bool OsDeleteFile(const char* path) { return DeleteFileT(SystemName(path)) != 0; }

bool OsRenameFile(const char* from_path, const char* to_path, bool replace) {
  const auto from = SystemName(from_path);
  const auto to = SystemName(to_path);
  if (!replace) return MoveFileExT(from, to, 0) != 0;
  // A read-only file refuses to be replaced: the mark goes first, and comes
  // back when the move fails.
  const DWORD attributes = GetFileAttributesT(to);
  const bool read_only = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
  if (read_only) SetFileAttributesT(to, attributes & ~FILE_ATTRIBUTE_READONLY);
  if (MoveFileExT(from, to, MOVEFILE_REPLACE_EXISTING)) return true;
  const DWORD error = GetLastError();
  if (read_only) SetFileAttributesT(to, attributes);
  SetLastError(error);
  return false;
}

}  // namespace platform

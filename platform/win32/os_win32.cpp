// Win32 implementation of the system seam: file handles and movable
// global memory, ANSI entry points throughout.
#include <io.h>
#include <windows.h>
#include <cstring>

#include "platform/os.h"

namespace platform {
namespace {
HANDLE Handle(OsFile file) { return static_cast<HANDLE>(file.raw); }
OsFile FromHandle(HANDLE handle) {
  OsFile file;
  if (handle != INVALID_HANDLE_VALUE) file.raw = handle;
  return file;
}
}  // namespace

OsFile OsOpenRead(const char* path) {
  return FromHandle(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

OsFile OsCreateWrite(const char* path) {
  return FromHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

OsFile OsCreateNew(const char* path) {
  return FromHandle(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

void OsClose(OsFile& file) {
  if (file.raw) CloseHandle(Handle(file));
  file.raw = nullptr;
}

uint32_t OsRead(OsFile file, void* buffer, uint32_t count) {
  DWORD done = 0;
  if (!ReadFile(Handle(file), buffer, count, &done, nullptr)) return 0;
  return done;
}

uint32_t OsWrite(OsFile file, const void* buffer, uint32_t count) {
  DWORD done = 0;
  if (!WriteFile(Handle(file), buffer, count, &done, nullptr)) return 0;
  return done;
}

bool OsSeek(OsFile file, uint64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(Handle(file), to, nullptr, FILE_BEGIN) != 0;
}

bool OsSize(OsFile file, uint64_t* size) {
  LARGE_INTEGER value;
  if (!GetFileSizeEx(Handle(file), &value)) return false;
  *size = static_cast<uint64_t>(value.QuadPart);
  return true;
}

bool OsSetFileTimes(OsFile file, const FileTimes& times) {
  auto to_filetime = [](uint64_t value) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(value);
    ft.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return ft;
  };
  FILETIME creation = to_filetime(times.creation);
  FILETIME access = to_filetime(times.last_access);
  FILETIME write = to_filetime(times.last_write);
  return SetFileTime(Handle(file), &creation, &access, &write) != 0;
}

bool OsSetAttributes(const char* path, uint32_t attributes) {
  return SetFileAttributesA(path, attributes) != 0;
}

bool OsGetFileTimes(const char* path, FileTimes* times, uint32_t* attributes) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
  auto value = [](const FILETIME& ft) { return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; };
  times->creation = value(data.ftCreationTime);
  times->last_access = value(data.ftLastAccessTime);
  times->last_write = value(data.ftLastWriteTime);
  *attributes = data.dwFileAttributes;
  return true;
}

bool OsPathExists(const char* path) { return _access(path, 0) == 0; }

bool OsIsFolder(const char* path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool OsCreateFolder(const char* path) { return CreateDirectoryA(path, nullptr) != 0; }
bool OsDeleteFile(const char* path) { return DeleteFileA(path) != 0; }

bool OsRenameFile(const char* from, const char* to, bool replace) {
  if (!replace) return MoveFileExA(from, to, 0) != 0;
  // A read-only file refuses to be replaced: the mark goes first, and comes
  // back when the move fails.
  const DWORD attributes = GetFileAttributesA(to);
  const bool read_only = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
  if (read_only) SetFileAttributesA(to, attributes & ~FILE_ATTRIBUTE_READONLY);
  if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING)) return true;
  const DWORD error = GetLastError();
  if (read_only) SetFileAttributesA(to, attributes);
  SetLastError(error);
  return false;
}

void OsErrorText(char* text, int capacity) {
  const DWORD error = GetLastError();
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                static_cast<DWORD>(capacity), nullptr);
  while (length > 0 && strchr(" .\r\n", text[length - 1])) --length;
  if (length == 0) {
    // No snprintf: the decoder links this file, and snprintf would bring
    // MinGW's whole printf into it.
    char number[16];
    _ultoa(error, number, 10);
    lstrcpynA(text, "system error ", capacity);
    const int used = lstrlenA(text);
    lstrcpynA(text + used, number, capacity - used);
  } else {
    text[length] = '\0';
  }
}

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }
uint32_t OsPathCodePage() { return GetACP(); }

MemoryHandle MemAllocZeroed(size_t size) {
  MemoryHandle handle;
  handle.raw = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  return handle;
}

size_t MemSize(MemoryHandle handle) { return GlobalSize(static_cast<HGLOBAL>(handle.raw)); }
void* MemLock(MemoryHandle handle) { return GlobalLock(static_cast<HGLOBAL>(handle.raw)); }
void MemUnlock(MemoryHandle handle) { GlobalUnlock(static_cast<HGLOBAL>(handle.raw)); }
void MemFree(MemoryHandle handle) { GlobalFree(static_cast<HGLOBAL>(handle.raw)); }

void Pause(uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace platform

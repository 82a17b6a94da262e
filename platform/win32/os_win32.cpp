// Win32 implementation of the system seam: open file handles and movable
// global memory. The calls that take a path or give a text are the
// program's choice: ansi/ (the ...A calls, texts in the ANSI code page) or
// wide/ (the ...W calls, texts in UTF-8), both from path_seam.inl.
#include <windows.h>
#include <cstring>

#include "platform/os.h"

namespace platform {
namespace {
HANDLE Handle(OsFile file) { return static_cast<HANDLE>(file.raw); }
}  // namespace

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

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

MemoryHandle MemAllocZeroed(size_t size) {
  MemoryHandle handle;
  handle.raw = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  return handle;
}

size_t MemSize(MemoryHandle handle) { return GlobalSize(static_cast<HGLOBAL>(handle.raw)); }
void* MemLock(MemoryHandle handle) { return GlobalLock(static_cast<HGLOBAL>(handle.raw)); }
void MemUnlock(MemoryHandle handle) { GlobalUnlock(static_cast<HGLOBAL>(handle.raw)); }
void MemFree(MemoryHandle handle) { GlobalFree(static_cast<HGLOBAL>(handle.raw)); }

void WaitForMemory(uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace platform

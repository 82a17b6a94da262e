// Win32 implementation of the system seam: file handles and movable
// global memory, ANSI entry points throughout.
#include <windows.h>

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

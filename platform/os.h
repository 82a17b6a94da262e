// The seam between the portable core and the operating system.
//
// The archive logic needs only these: whole files opened for reading or
// writing, growable zero-filled memory for block buffers, and a pause.
// Each platform folder (posix/, win32/) implements this header; nothing
// else in the core includes a system header.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// An open file as the system sees it. Invalid when `raw` is null.
struct OsFile {
  void* raw = nullptr;
};

OsFile OsOpenRead(const char* path);    // existing file only, read sharing
OsFile OsCreateWrite(const char* path); // replaces an existing file
void OsClose(OsFile& file);
// Bytes transferred, 0 at the end of the file or on failure.
uint32_t OsRead(OsFile file, void* buffer, uint32_t count);
uint32_t OsWrite(OsFile file, const void* buffer, uint32_t count);
bool OsSeek(OsFile file, uint64_t offset);
bool OsSize(OsFile file, uint64_t* size);

// File times are FILETIME values: 100-ns intervals since 1601-01-01 UTC.
struct FileTimes {
  uint64_t creation = 0;
  uint64_t last_access = 0;
  uint64_t last_write = 0;
};
bool OsSetFileTimes(OsFile file, const FileTimes& times);  // on the open file
// Windows attribute bits; where the system has no such bits, read-only
// becomes a cleared write permission and the rest is ignored.
bool OsSetAttributes(const char* path, uint32_t attributes);

// Folders, as the destination of output files needs them.
bool OsPathExists(const char* path);
// True when a directory search finds the path and it is a folder.
bool OsIsFolder(const char* path);
bool OsCreateFolder(const char* path);
bool OsDeleteFile(const char* path);
// Windows paths take a drive part and both slashes as separators; other
// systems only the slash.
bool IsPathSeparator(char c);
constexpr bool kWindowsPaths =
#ifdef _WIN32
    true;
#else
    false;
#endif
constexpr char kPathSeparator = kWindowsPaths ? '\\' : '/';

// Movable, zero-filled memory (the Win32 global heap on Windows).
struct MemoryHandle {
  void* raw = nullptr;
};

MemoryHandle MemAllocZeroed(size_t size);  // raw null on failure
size_t MemSize(MemoryHandle handle);       // actual size of the block
void* MemLock(MemoryHandle handle);
void MemUnlock(MemoryHandle handle);
void MemFree(MemoryHandle handle);

void Pause(uint32_t milliseconds);

}  // namespace platform

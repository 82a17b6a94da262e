// The seam between the portable core and the operating system.
//
// The archive logic needs only these: whole files opened for reading or
// writing, growable zero-filled memory and a wait when it is short, new
// files renamed into place, and the system's reasons for failures.
// Each platform folder (posix/, win32/, web/) implements this header;
// nothing else in the core includes a system header.
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
// A file that did not exist, for writing; it can be deleted while open, so
// that an interrupted program can remove it from another thread.
OsFile OsCreateNew(const char* path);
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
// The times and attributes a file has now, in the same terms (POSIX: the
// last write time stands in for the creation time).
bool OsGetFileTimes(const char* path, FileTimes* times, uint32_t* attributes);

// Folders, as the destination of output files needs them.
bool OsPathExists(const char* path);
// True when a directory search finds the path and it is a folder.
bool OsIsFolder(const char* path);
bool OsCreateFolder(const char* path);
bool OsDeleteFile(const char* path);
// Moves a file within its file system in one step. With replace an existing
// `to` (read-only too) is replaced; without, the move fails when `to` exists.
bool OsRenameFile(const char* from, const char* to, bool replace);
// The system's words for the last failure of a call above, without a final
// full stop ("No such file or directory").
void OsErrorText(char* text, int capacity);
// Windows paths take a drive part and both slashes as separators; other
// systems only the slash.
bool IsPathSeparator(char c);
// The code page of the path texts given to the calls above: on Windows the
// ANSI code page of the system (the ANSI calls read paths in it), UTF-8
// where paths are UTF-8.
uint32_t OsPathCodePage();
constexpr bool kWindowsPaths =
#ifdef _WIN32
    true;
#else
    false;
#endif
constexpr char kPathSeparator = kWindowsPaths ? '\\' : '/';
// The longest path the calls above take, terminator included: the ANSI
// calls' MAX_PATH on Windows, PATH_MAX elsewhere.
constexpr int kPathCapacity = kWindowsPaths ? 260 : 4096;
// The most bytes one file or folder name may have; 0 where the path's
// limit is the only one (a Windows name fits in MAX_PATH anyway).
constexpr int kNameMaxBytes = kWindowsPaths ? 0 : 255;

// Movable, zero-filled memory (the Win32 global heap on Windows).
struct MemoryHandle {
  void* raw = nullptr;
};

MemoryHandle MemAllocZeroed(size_t size);  // raw null on failure
size_t MemSize(MemoryHandle handle);       // actual size of the block
void* MemLock(MemoryHandle handle);
void MemUnlock(MemoryHandle handle);
void MemFree(MemoryHandle handle);

// Memory was short: waits that long for other programs to free some
// before the caller asks again. Where no other program can free memory
// for this one, the call that asked ends with an out-of-memory verdict.
void WaitForMemory(uint32_t milliseconds);

}  // namespace platform

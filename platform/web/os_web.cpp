// Browser implementation of the system seam (WebAssembly in a Web Worker).
//
// The only file the core reads is the archive the user chose: a File that
// the worker registered under a name. Each read takes one slice of it
// (Blob.slice, read synchronously, which a worker may do), so the archive
// is never copied whole into memory. The page writes the output itself,
// through the decode sink, so the seam writes, renames and makes nothing.
// Memory is the C heap; a failed allocation cannot be waited out here.
#include <emscripten.h>
#include <malloc.h>
#include <cstdlib>
#include <cstring>

#include "platform/os.h"

namespace platform {
namespace {

// Returns a file number above 0 for a registered name, else 0.
EM_JS(int, WebOpenRead, (const char* path), {
  return Module.kelvarinFiles.open(UTF8ToString(path));
});
EM_JS(void, WebClose, (int file), { Module.kelvarinFiles.close(file); });
EM_JS(uint32_t, WebRead, (int file, unsigned char* buffer, uint32_t count), {
  return Module.kelvarinFiles.read(file, HEAPU8.subarray(buffer, buffer + count));
});
// Offsets beyond 2^53 cannot name a byte of a Blob; doubles carry the rest.
EM_JS(bool, WebSeek, (int file, double offset), { return Module.kelvarinFiles.seek(file, offset); });
EM_JS(double, WebSize, (int file), { return Module.kelvarinFiles.size(file); });
// Ends the whole call into the module with the out-of-memory verdict.
EM_JS(void, WebOutOfMemory, (), { throw new Error("kelvarin: out of memory"); });

int Number(OsFile file) { return static_cast<int>(reinterpret_cast<intptr_t>(file.raw)); }

}  // namespace

OsFile OsOpenRead(const char* path) {
  OsFile file;
  file.raw = reinterpret_cast<void*>(static_cast<intptr_t>(WebOpenRead(path)));
  return file;
}

OsFile OsCreateWrite(const char*) { return OsFile{}; }
OsFile OsCreateNew(const char*) { return OsFile{}; }

void OsClose(OsFile& file) {
  if (file.raw) WebClose(Number(file));
  file.raw = nullptr;
}

uint32_t OsRead(OsFile file, void* buffer, uint32_t count) {
  return file.raw ? WebRead(Number(file), static_cast<unsigned char*>(buffer), count) : 0;
}

uint32_t OsWrite(OsFile, const void*, uint32_t) { return 0; }

bool OsSeek(OsFile file, uint64_t offset) {
  return file.raw && WebSeek(Number(file), static_cast<double>(offset));
}

bool OsSize(OsFile file, uint64_t* size) {
  if (!file.raw) return false;
  *size = static_cast<uint64_t>(WebSize(Number(file)));
  return true;
}

bool OsSetFileTimes(OsFile, const FileTimes&) { return false; }
bool OsSetAttributes(const char*, uint32_t) { return false; }
bool OsGetFileTimes(const char*, FileTimes*, uint32_t*) { return false; }
bool OsPathExists(const char*) { return false; }
bool OsIsFolder(const char*) { return false; }
bool OsCreateFolder(const char*) { return false; }
bool OsDeleteFile(const char*) { return false; }
bool OsRenameFile(const char*, const char*, bool) { return false; }

void OsErrorText(char* text, int capacity) {
  if (capacity > 0) strncpy(text, "not possible in a browser", static_cast<size_t>(capacity - 1))[capacity - 1] = '\0';
}

bool IsPathSeparator(char c) { return c == '/'; }
// The page spells every stored name in UTF-8 before the walk checks it.
uint32_t OsPathCodePage() { return 65001; }

// The block buffer asks for its actual size: the C heap knows it.
MemoryHandle MemAllocZeroed(size_t size) { return MemoryHandle{calloc(1, size)}; }
size_t MemSize(MemoryHandle handle) { return handle.raw ? malloc_usable_size(handle.raw) : 0; }
void* MemLock(MemoryHandle handle) { return handle.raw; }
void MemUnlock(MemoryHandle) {}
void MemFree(MemoryHandle handle) { free(handle.raw); }

// No other program frees memory for the page's worker while it waits: a
// wait would end in the same shortage, so the call ends with a verdict.
void WaitForMemory(uint32_t) { WebOutOfMemory(); }

}  // namespace platform

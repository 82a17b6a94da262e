// The memory routine method of self-deletion, for the 9x family: there a
// program's file can be deleted once its image is unloaded, and heap
// memory is executable, so a copy of the routine in the heap does it.
// (On NT, heap memory is not executable under DEP; NT takes the batch.)
// Only i686 code exists for the routine: other builds never call it (see
// kHasMemoryRoutine) and define nothing here.
#include <windows.h>
#include <cstddef>
#include <cstring>

#include "win32/deletion_routine.h"
#include "win32/self_deletion.h"

namespace win32 {

#if defined(__i386__)

namespace {

// What the routine reads, at the offsets its code uses.
struct DeletionBlock {
  HMODULE module;
  FARPROC free_library;
  FARPROC delete_file;
  char path[kBlockPathCapacity];
  FARPROC exit_process;
  DWORD exit_code;
};
static_assert(offsetof(DeletionBlock, module) == kBlockModule);
static_assert(offsetof(DeletionBlock, free_library) == kBlockFreeLibrary);
static_assert(offsetof(DeletionBlock, delete_file) == kBlockDeleteFile);
static_assert(offsetof(DeletionBlock, path) == kBlockPath);
static_assert(offsetof(DeletionBlock, exit_process) == kBlockExitProcess);
static_assert(offsetof(DeletionBlock, exit_code) == kBlockExitCode);
static_assert(sizeof(DeletionBlock) == kBlockSize);

using DeletionRoutine = void(WINAPI*)(DeletionBlock*);

}  // namespace

void DeleteByMemoryRoutine() {
  HMODULE kernel = GetModuleHandleA("KERNEL32");
  void* code = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, kDeletionRoutineSize);
  if (!code) return;
  memcpy(code, kDeletionRoutine, kDeletionRoutineSize);

  DeletionBlock block = {};
  block.module = GetModuleHandleA(nullptr);
  block.free_library = GetProcAddress(kernel, "FreeLibrary");
  block.delete_file = GetProcAddress(kernel, "DeleteFileA");
  GetModuleFileNameA(block.module, block.path, sizeof block.path);
  block.exit_process = GetProcAddress(kernel, "ExitProcess");
  block.exit_code = 0;
  // Does not return: the routine ends the process.
  reinterpret_cast<DeletionRoutine>(code)(&block);
}

#endif

}  // namespace win32

// The memory routine method of self-deletion, for the 9x family: there a
// program's file can be deleted once its image is unloaded, and heap
// memory is executable, so a copy of the routine in the heap does it.
// (On NT, heap memory is not executable under DEP; NT takes the batch.)
#include <windows.h>
#include <cstddef>
#include <cstring>

#include "shell/deletion_routine.h"
#include "win32/self_deletion.h"

namespace win32 {

#if defined(__i386__)

namespace {

// What the routine reads, at the offsets its code uses.
struct DeletionBlock {
  HMODULE module;
  FARPROC free_library;
  FARPROC delete_file;
  char path[shell::kBlockPathCapacity];
  FARPROC exit_process;
  DWORD exit_code;
};
static_assert(offsetof(DeletionBlock, module) == shell::kBlockModule);
static_assert(offsetof(DeletionBlock, free_library) == shell::kBlockFreeLibrary);
static_assert(offsetof(DeletionBlock, delete_file) == shell::kBlockDeleteFile);
static_assert(offsetof(DeletionBlock, path) == shell::kBlockPath);
static_assert(offsetof(DeletionBlock, exit_process) == shell::kBlockExitProcess);
static_assert(offsetof(DeletionBlock, exit_code) == shell::kBlockExitCode);
static_assert(sizeof(DeletionBlock) == shell::kBlockSize);

using DeletionRoutine = void(WINAPI*)(DeletionBlock*);

}  // namespace

void DeleteByMemoryRoutine() {
  HMODULE kernel = GetModuleHandleA("KERNEL32");
  void* code = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, shell::kDeletionRoutineSize);
  if (!code) return;
  memcpy(code, shell::kDeletionRoutine, shell::kDeletionRoutineSize);

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

#else

// Only i686 code exists for the routine; DeleteSelf never calls this in
// other builds.
void DeleteByMemoryRoutine() { DeleteByBatch(); }

#endif

}  // namespace win32

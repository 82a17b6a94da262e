// The i686 machine code that deletes the running program's file on
// platforms where a batch file cannot do it (the non-NT family). It runs
// from a heap copy, because its first step unmaps the program's image:
//
//   FreeLibrary(block->module);
//   DeleteFileA(block->path);
//   ExitProcess(block->exit_code);
//
// Its only argument is the address of a deletion block; it reaches every
// function through that block, so the code is position-independent and
// touches nothing of the image it unloads.
#pragma once

namespace win32 {

// Offsets inside the deletion block: 32-bit little-endian fields around
// a 260-byte path.
constexpr unsigned kBlockModule = 0;
constexpr unsigned kBlockFreeLibrary = 4;
constexpr unsigned kBlockDeleteFile = 8;
constexpr unsigned kBlockPath = 12;
constexpr unsigned kBlockPathCapacity = 260;
constexpr unsigned kBlockExitProcess = kBlockPath + kBlockPathCapacity;  // 272
constexpr unsigned kBlockExitCode = kBlockExitProcess + 4;               // 276
constexpr unsigned kBlockSize = kBlockExitCode + 4;                      // 280

constexpr unsigned kDeletionRoutineSize = 48;
constexpr unsigned kDeletionRoutineCodeLength = 33;

// A __stdcall routine of one argument; int3 fills it up to 48 bytes.
inline constexpr unsigned char kDeletionRoutine[kDeletionRoutineSize] = {
    0x53,                                // push ebx
    0x8B, 0x5C, 0x24, 0x08,              // mov  ebx, [esp+8]      the block
    0xFF, 0x33,                          // push dword [ebx]       module
    0xFF, 0x53, kBlockFreeLibrary,       // call [ebx+4]           FreeLibrary
    0x8D, 0x43, kBlockPath,              // lea  eax, [ebx+12]     path
    0x50,                                // push eax
    0xFF, 0x53, kBlockDeleteFile,        // call [ebx+8]           DeleteFileA
    0xFF, 0xB3, kBlockExitCode & 0xFF, kBlockExitCode >> 8, 0x00, 0x00,        // push dword [ebx+276]
    0xFF, 0x93, kBlockExitProcess & 0xFF, kBlockExitProcess >> 8, 0x00, 0x00,  // call [ebx+272]
    0x5B,                                // pop  ebx               not reached: ExitProcess
    0xC2, 0x04, 0x00,                    // ret  4                 does not return
    0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC};

}  // namespace win32

// Finds the first entry header of a self-decoding archive: the first
// 256-byte block of the file that begins with the entry marker and NUL.
#pragma once

#include <cstdint>

namespace archive {

constexpr uint32_t kScanBlockSize = 256;

// The header's offset (a multiple of 256), or -1 when the file cannot be
// opened or holds no such block.
int32_t LocateFirstEntry(const char* path);

}  // namespace archive

#include "archive/locate_scan.h"

#include "archive/markers.h"
#include "platform/input_file.h"

namespace archive {

int32_t LocateFirstEntry(const char* path) {
  platform::InputFile file;
  if (!file.Open(path)) return -1;
  unsigned char block[kScanBlockSize];
  uint64_t offset = 0;
  for (;;) {
    uint32_t n = file.Read(block, kScanBlockSize);
    if (n == 0) return -1;
    if (StartsWithEntryMarker(block, n)) {
      // An offset past the signed 32-bit range cannot be an entry offset.
      return offset <= INT32_MAX ? static_cast<int32_t>(offset) : -1;
    }
    offset += n;
    if (offset > INT32_MAX) return -1;
  }
}

}  // namespace archive

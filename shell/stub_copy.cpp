#include "shell/stub_copy.h"

#include "archive/lane_checksum.h"
#include "archive/markers.h"
#include "platform/os.h"

namespace shell {
namespace {

constexpr unsigned kBlockSize = 256;
constexpr unsigned kStoredChecksumOffset = 239;  // 16 bytes, lane 0 first

}  // namespace

bool IsCheckBlock(const unsigned char* block, unsigned length) {
  return archive::StartsWithCheckMarker(block, length);
}

StubCopy CopyStub(const char* archive_path, const char* copy_path) {
  platform::OsFile archive = platform::OsOpenRead(archive_path);
  if (!archive.raw) return StubCopy::kOpenFailed;
  platform::OsFile copy = platform::OsCreateWrite(copy_path);
  if (!copy.raw) {
    platform::OsClose(archive);
    return StubCopy::kCreateFailed;
  }
  archive::LaneChecksum sum{}, stored{};
  bool found = false;
  unsigned char block[kBlockSize];
  for (;;) {
    const uint32_t got = platform::OsRead(archive, block, kBlockSize);
    if (got < kBlockSize) break;
    if (IsCheckBlock(block, got)) {
      for (unsigned i = 0; i < stored.size(); ++i) stored[i] = block[kStoredChecksumOffset + i];
      found = true;
      break;
    }
    archive::AddLaneRows(sum, block, kBlockSize);
    if (platform::OsWrite(copy, block, got) != got) {
      platform::OsClose(copy);
      platform::OsClose(archive);
      return StubCopy::kWriteFailed;
    }
  }
  platform::OsClose(copy);
  platform::OsClose(archive);
  if (!found) {
    platform::OsDeleteFile(copy_path);
    return StubCopy::kNoCheckBlock;
  }
  return sum == stored ? StubCopy::kChecksumMatches : StubCopy::kChecksumDiffers;
}

}  // namespace shell

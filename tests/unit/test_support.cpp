#include "test_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "codec/decompressor.h"

namespace testing_support {

TempDir::TempDir() {
  char pattern[] = "/tmp/kelvarin-test-XXXXXX";
  const char* made = mkdtemp(pattern);
  EXPECT_NE(made, nullptr);
  path_ = made ? made : "/tmp";
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

encoder::Bytes PatternBytes(size_t length, unsigned seed) {
  encoder::Bytes out(length);
  unsigned x = seed * 2654435761u + 12345;
  for (auto& b : out) {
    x = x * 1103515245u + 12345u;
    b = static_cast<unsigned char>(x >> 16);
  }
  return out;
}

void WriteFileBytes(const std::string& path, const encoder::Bytes& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
  fclose(f);
}

DecompressResult Decompress(const encoder::Bytes& block) {
  archive::BlockBuffer buffer;
  archive::AllocateBlockBuffer(buffer, static_cast<uint32_t>(block.size()));
  if (!block.empty()) memcpy(buffer.data, block.data(), block.size());
  const void* given = buffer.handle.raw;
  DecompressResult out;
  out.result = codec::DecompressBlock(buffer);
  out.bytes.assign(buffer.data, buffer.data + buffer.length);
  // The buffer given is still ours when it came back untouched, whatever
  // its length; a new one holds memory only when its length is not 0.
  if (buffer.handle.raw == given || buffer.length != 0) archive::ReleaseBlockBuffer(buffer);
  return out;
}

}  // namespace testing_support

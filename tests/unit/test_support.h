// Helpers shared by the unit tests: a temporary folder that cleans up
// after itself, and small archives written into it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "encoder/archive_writer.h"

namespace testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Stored bytes of the given length with a recognisable pattern.
encoder::Bytes PatternBytes(size_t length, unsigned seed = 1);
void WriteFileBytes(const std::string& path, const encoder::Bytes& bytes);

// Runs the decompressor on a Block buffer holding a copy of block and
// returns what the buffer holds afterwards (its length bytes).
struct DecompressResult {
  int result = 0;
  encoder::Bytes bytes;
};
DecompressResult Decompress(const encoder::Bytes& block);

}  // namespace testing_support

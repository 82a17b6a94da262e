// Helpers shared by the unit tests: a temporary folder that cleans up
// after itself, archives written into it and decoded, and Shift-JIS texts.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "archive/file_record.h"
#include "archive/shared_state.h"
#include "decode/decode_walk.h"
#include "encoder/archive_writer.h"
#include "encoder/sample_data.h"

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

// Still used by the decode walk tests; the other tests take
// encoder::RandomBytes directly.
inline encoder::Bytes PatternBytes(size_t length, unsigned seed = 1) { return encoder::RandomBytes(length, seed); }
void WriteFileBytes(const std::string& path, const encoder::Bytes& bytes);

// The archive written to `dir` as archive.exe, with its first entry
// located (the test fails when there is none).
archive::SharedState ArchiveState(const TempDir& dir, const encoder::Bytes& archive);

// Decodes a whole archive with the decode walk into memory: every finished
// output file by the path the walk chose (a folder "/out" for relative
// names, the stored name for plain ones), with its record.
struct DecodedFile {
  std::string path;
  archive::FileRecord record;
  encoder::Bytes bytes;
};
struct DecodedArchive {
  int result = 0;
  std::vector<DecodedFile> files;
  std::vector<decode::DecodeFailure> failures;
};
DecodedArchive DecodeInMemory(const TempDir& dir, const encoder::Bytes& archive, const std::string& password);

// Readable text (UTF-8) as the program holds it: Shift-JIS bytes, converted
// by the C library so that the expected bytes are not written by hand.
std::string ToShiftJis(const std::string& utf8);

}  // namespace testing_support

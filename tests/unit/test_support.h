// Helpers shared by the unit tests: a temporary folder that cleans up
// after itself, archives written into it and decoded, and Shift-JIS texts.
#pragma once

#include <gtest/gtest.h>
#include <string>

#include "archive/shared_state.h"
#include "encoder/archive_writer.h"
#include "encoder/sample_data.h"
#include "tests/support/recording_sink.h"

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

void WriteFileBytes(const std::string& path, const encoder::Bytes& bytes);

// The archive written to `dir` as archive.exe, with its first entry
// located (the test fails when there is none).
archive::SharedState ArchiveState(const TempDir& dir, const encoder::Bytes& archive);

// Writes the archive to `dir` and decodes it with the decode walk into
// the sink; returns the walk's result.
int DecodeWalk(const TempDir& dir, const encoder::Bytes& archive, const std::string& password,
               test_support::RecordingSink& sink);

// Readable text (UTF-8) as the program holds it: Shift-JIS bytes, converted
// by the C library so that the expected bytes are not written by hand.
std::string ToShiftJis(const std::string& utf8);

}  // namespace testing_support

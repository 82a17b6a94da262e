// An output file that appears under its real name only when it is whole.
// It is written under a temporary name in the same folder
// (".kelvarin-PID-N.tmp") and renamed into place at the end, so that a
// failed or interrupted run leaves no half-written file and never loses the
// file it would have replaced. An interrupt deletes the temporary file.
#pragma once

#include <cstdint>
#include <string>

#include "archive/file_record.h"
#include "platform/file.h"

namespace cli {

class StagedFile {
 public:
  StagedFile() = default;
  ~StagedFile() { Abandon(); }
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Makes the temporary file for path; false with the system's reason.
  bool Create(const std::string& path, std::string* reason);
  // Bytes written; fewer on failure, and then the system's reason.
  uint32_t Write(const unsigned char* bytes, uint32_t count, std::string* reason);
  // The record's times, then the rename into place (over an existing file
  // only with replace), then its attributes. On failure the temporary file
  // is gone and reason says why.
  bool Commit(const archive::FileRecord& record, bool replace, std::string* reason);
  // Closes and deletes the temporary file, if there is one.
  void Abandon();

 private:
  platform::File file_;
  std::string path_;
  std::string temp_path_;
};

}  // namespace cli

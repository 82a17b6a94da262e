// An output file that appears under its real name only when it is whole.
// It is written under a temporary name in the same folder
// (".kelvarin-PID-N.tmp") and renamed into place at the end, so that a
// failed or interrupted run leaves no half-written file and never loses the
// file it would have replaced. A signal that ends the program deletes the
// temporary file. Every step goes through the held folder, never through
// a link that may stand in it.
#pragma once

#include <cstdint>
#include <string>

#include "archive/file_record.h"
#include "platform/file.h"
#include "platform/folder.h"

namespace cli {

class StagedFile {
 public:
  StagedFile() = default;
  ~StagedFile() { Abandon(); }
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Makes the temporary file for name in folder, whose path folder_path
  // is; false with the system's reason.
  bool Create(platform::Folder folder, const std::string& folder_path, const std::string& name, std::string* reason);
  // Bytes written; fewer on failure, and then the system's reason.
  uint32_t Write(const unsigned char* bytes, uint32_t count, std::string* reason);
  // The record's times (with a record), then the rename into place (over
  // an existing file, or link, only with replace), then the record's
  // attributes. On failure the temporary file is gone and reason says why.
  bool Commit(const archive::FileRecord* record, bool replace, std::string* reason);
  // Closes and deletes the temporary file, if there is one.
  void Abandon();

 private:
  platform::Folder folder_;
  platform::File file_;
  std::string name_;
  std::string temp_name_;
};

}  // namespace cli

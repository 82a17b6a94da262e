// An output file that appears under its real name only when it is whole.
// It is written under a temporary name in the same folder
// (".kelvarin-PID-N.tmp") and renamed into place at the end, so that a
// failed or interrupted run leaves no half-written file and never loses the
// file it would have replaced. A signal that ends the program deletes the
// temporary file. Every step goes through the held folder, never through
// a link that may stand in it, and the file's times and attributes go on
// it through its own descriptor before the rename: after the rename
// nothing is done by name, so that no file put in its place meanwhile (a
// hard link to another, say) is changed.
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

  // Makes the temporary file for name in folder; false with the system's
  // reason.
  bool Create(platform::Folder folder, const std::string& name, std::string* reason);
  // Bytes written; fewer on failure, and then the system's reason.
  uint32_t Write(const unsigned char* bytes, uint32_t count, std::string* reason);
  // The record's times and attributes (with a record) on the open file,
  // then the rename into place (over an existing file, or link, only with
  // replace). On failure the temporary file is gone and reason says why.
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

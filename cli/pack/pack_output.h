// The archive `pack` writes, as it is written: staged under a temporary
// name beside its target and renamed into place only when complete, so
// that a failure (a full disk, a file that cannot be read, a signal)
// leaves any archive of that name as it was.
#pragma once

#include <cstdint>
#include <string>

#include "cli/sinks/staged_file.h"
#include "encoder/archive_writer.h"

namespace cli {

class PackOutput : public encoder::ArchiveSink {
 public:
  // Makes the temporary file beside path; false with the system's reason.
  bool Create(const std::string& path, std::string* reason);
  bool Append(const encoder::Bytes& bytes) override;
  // Why the last Append failed.
  const std::string& reason() const { return reason_; }
  // Into place: over an existing file only with replace.
  bool Commit(bool replace, std::string* reason) { return file_.Commit(nullptr, replace, reason); }
  uint64_t size() const { return size_; }

 private:
  StagedFile file_;
  uint64_t size_ = 0;
  std::string reason_;
};

}  // namespace cli

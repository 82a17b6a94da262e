// The bytes of a file that `pack` stores, read as the encoder asks for
// them, a block at a time, with progress counted as they come; and
// whether the file stayed as it was while it was read.
#pragma once

#include <cstddef>

#include "cli/texts/progress_line.h"
#include "encoder/entry_encoder.h"
#include "platform/file.h"
#include "platform/file_state.h"

namespace cli {

class FileContent : public encoder::ContentSource {
 public:
  FileContent(platform::File file, ProgressLine& progress) : file_(std::move(file)), progress_(progress) {}
  size_t Read(unsigned char* out, size_t count) override;
  // True when the file is as it was when it was looked at (its size and
  // its modification and change times, as archivers compare them) and
  // nothing follows what was read. A file rewritten in place at the same
  // size while it was read fails this, though every read went well.
  bool Unchanged(const platform::FileStamp& looked_at);

 private:
  platform::File file_;
  ProgressLine& progress_;
};

}  // namespace cli

// The bytes of a file that `pack` stores, read as the encoder asks for
// them, a block at a time, with progress counted as they come.
#pragma once

#include <cstddef>

#include "cli/progress_line.h"
#include "encoder/entry_encoder.h"
#include "platform/file.h"

namespace cli {

class FileContent : public encoder::ContentSource {
 public:
  FileContent(platform::File file, ProgressLine& progress) : file_(std::move(file)), progress_(progress) {}
  size_t Read(unsigned char* out, size_t count) override;
  // True when nothing follows what was read: the file did not grow.
  bool AtEnd();

 private:
  platform::File file_;
  ProgressLine& progress_;
};

}  // namespace cli

// The state that one process shares between its walks over the archive
// and its dialogs: what the command line named, where the first entry
// stands, and what the last entry header read said.
#pragma once

#include <cstdint>

#include "base/paths.h"

namespace archive {

constexpr int kCaptionCapacity = 260;  // caption buffer, terminator included
constexpr uint32_t kSupportedVersion = 301;

struct SharedState {
  char archive_path[base::kPathCapacity] = {};
  int32_t entry_offset = -1;  // first entry header, or -1 when no archive
  char caption[kCaptionCapacity] = {};
  bool open_after_decode = false;
  bool password_saving = false;
  bool show_encoder_information = false;
  int8_t suicide_mode = 0;
  uint32_t version = 0;
  uint32_t reserved_word = 0;
};

}  // namespace archive

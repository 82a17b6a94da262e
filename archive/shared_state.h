// The state that one process shares between its walks over the archive
// and its dialogs: what the command line named, where the first entry
// stands, and what the last entry header read said.
#pragma once

#include <cstdint>

#include "platform/os.h"

namespace archive {

constexpr int kCaptionCapacity = 260;  // caption buffer, terminator included
// The one format version this program reads, and the encoder writes.
constexpr uint32_t kSupportedVersion = 301;

// The option flag bits of an entry header.
enum EntryFlag : unsigned char {
  kOpenAfterDecode = 1,
  kPasswordSaving = 2,
  kShowEncoderInformation = 4,
};

// What one entry header says. A type of its own, so that a header can be
// read ahead of the walk and handed over whole.
struct EntryHeader {
  char caption[kCaptionCapacity] = {};
  bool open_after_decode = false;
  bool password_saving = false;
  bool show_encoder_information = false;
  int8_t suicide_mode = 0;
  uint32_t version = 0;
  uint32_t reserved_word = 0;
};

// The header fields are those of the last entry header read.
struct SharedState : EntryHeader {
  char archive_path[platform::kPathCapacity] = {};
  int32_t entry_offset = -1;  // first entry header, or -1 when no archive
};

}  // namespace archive

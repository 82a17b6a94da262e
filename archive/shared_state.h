// The state that one process shares between its walks over the archive
// and its dialogs: what the command line named, where the first entry
// stands, and what the last entry header read said.
#pragma once

#include <cstdint>

namespace archive {

constexpr int kPathCapacity = 260;     // path buffers, terminator included
constexpr int kCaptionCapacity = 260;  // caption buffer, terminator included
constexpr uint32_t kSupportedVersion = 301;

struct SharedState {
  char archive_path[kPathCapacity] = {};
  int32_t entry_offset = -1;  // first entry header, or -1 when no archive
  char caption[kCaptionCapacity] = {};
  bool open_after_decode = false;
  bool password_saving = false;
  bool show_encoder_information = false;
  int8_t suicide_mode = 0;
  uint32_t version = 0;
  uint32_t reserved_word = 0;
};

// Copies text into a fixed buffer, cutting it to fit.
void CopyText(char* dest, int capacity, const char* text);
// Appends text to the NUL-terminated text in dest, cutting it to fit.
void AppendText(char* dest, int capacity, const char* text);

}  // namespace archive

#include "archive/entry_header.h"

#include "archive/markers.h"
#include "base/little_endian.h"

namespace archive {

int32_t ReadEntryHeader(platform::InputFile& file, SharedState& state) {
  const uint64_t start = file.Position();
  unsigned char fixed[kEntryHeaderFixedSize];
  if (file.Read(fixed, sizeof fixed) < sizeof fixed) return kHeaderShortRead;
  if (!StartsWithEntryMarker(fixed, sizeof fixed)) {
    file.Seek(start);
    return kNoHeaderHere;
  }

  char caption[kCaptionCapacity];
  int count = 0;
  for (;;) {
    unsigned char c;
    if (file.Read(&c, 1) != 1) return kHeaderShortRead;
    caption[count++] = static_cast<char>(c);
    if (c == 0) break;
    if (count == kCaptionCapacity) {
      file.Seek(start);
      return kNoHeaderHere;
    }
  }

  state.open_after_decode = (fixed[16] & 1) != 0;
  state.password_saving = (fixed[16] & 2) != 0;
  state.show_encoder_information = (fixed[16] & 4) != 0;
  state.suicide_mode = static_cast<int8_t>(fixed[17]);
  state.version = base::ReadLe32(fixed + 18);
  state.reserved_word = base::ReadLe32(fixed + 22);
  for (int i = 0; i < count; ++i) state.caption[i] = caption[i];
  return static_cast<int32_t>(kEntryHeaderFixedSize) + count;
}

void CopyHeaderFields(const SharedState& from, SharedState& to) {
  to.open_after_decode = from.open_after_decode;
  to.password_saving = from.password_saving;
  to.show_encoder_information = from.show_encoder_information;
  to.suicide_mode = from.suicide_mode;
  to.version = from.version;
  to.reserved_word = from.reserved_word;
  int i = 0;
  do {
    to.caption[i] = from.caption[i];
  } while (from.caption[i++] != 0 && i < kCaptionCapacity);
}

}  // namespace archive

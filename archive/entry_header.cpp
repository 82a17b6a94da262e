#include "archive/entry_header.h"

#include "archive/markers.h"
#include "base/little_endian.h"

namespace archive {

int32_t ReadEntryHeader(platform::InputFile& file, EntryHeader& header) {
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

  header.open_after_decode = (fixed[16] & kOpenAfterDecode) != 0;
  header.password_saving = (fixed[16] & kPasswordSaving) != 0;
  header.show_encoder_information = (fixed[16] & kShowEncoderInformation) != 0;
  header.suicide_mode = static_cast<int8_t>(fixed[17]);
  header.version = base::ReadLe32(fixed + 18);
  header.reserved_word = base::ReadLe32(fixed + 22);
  for (int i = 0; i < count; ++i) header.caption[i] = caption[i];
  return static_cast<int32_t>(kEntryHeaderFixedSize) + count;
}

}  // namespace archive

// The entry header: a marker, the option flags, the suicide mode, the
// format version and the caption that titles the dialog and messages.
//
//   0  13  "\ENCODE\DATA\"      16  1  flags (bit 0 open after decode,
//  13   1  NUL                           bit 1 password saving,
//  14   2  fill, ignored                  bit 2 show encoder information)
//  17   1  suicide mode, signed     18  4  version
//  22   4  reserved word            26  n+1 caption and its NUL
#pragma once

#include <cstdint>

#include "archive/shared_state.h"
#include "platform/input_file.h"

namespace archive {

constexpr uint32_t kEntryHeaderFixedSize = 26;
constexpr int32_t kHeaderShortRead = -1;  // fewer than 26 bytes were there
constexpr int32_t kNoHeaderHere = -2;     // position unchanged

// Reads an entry header at the file's position. Returns its length
// (26 + caption bytes with the NUL) and replaces the fields of `header`;
// or one of the two negative results above. A caption cut by the end of
// the file gives kHeaderShortRead; one without a NUL within the caption
// buffer is no header (kNoHeaderHere). Neither changes `header`.
int32_t ReadEntryHeader(platform::InputFile& file, EntryHeader& header);

}  // namespace archive

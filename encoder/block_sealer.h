// Turns file bytes into the stored bytes of data blocks: the plain block
// (marker byte, the file record in an entry's first block, file bytes),
// compressed or not, then enciphered.
#pragma once

#include <cstddef>
#include "archive/file_record.h"
#include "encoder/bytes.h"
#include "encoder/key_string.h"

namespace encoder {

enum class BlockForm {
  kSmallest,    // compressed when that is shorter, else stored
  kCompressed,
  kStored,      // as it is; the caller keeps it from starting with the signature
};

Bytes FirstPlainBlock(unsigned char marker, const archive::FileRecord& record, const unsigned char* file_bytes,
                      size_t count);
Bytes LaterPlainBlock(unsigned char marker, const unsigned char* file_bytes, size_t count);

// The stored bytes of a data block holding this plain block.
Bytes SealBlock(const Bytes& plain, BlockForm form, const KeyString& key);

}  // namespace encoder

// The dictionary decompressor. A deciphered block that begins with the
// compression signature 71 0A 09 0D holds its plain length at offset 4
// and a stream of literals and dictionary codes from offset 8.
#pragma once

#include "archive/block_buffer.h"

namespace codec {

constexpr unsigned char kCompressionSignature[4] = {0x71, 0x0A, 0x09, 0x0D};

// Replaces the block (its length is the Block buffer's length) by the
// decoded bytes and returns 1; returns 1 without touching a block that
// lacks the signature, and 0 when a call is already running. The decoded
// block is a new Block buffer: the old memory is released and the three
// fields of the new one are handed to the caller's record.
int DecompressBlock(archive::BlockBuffer& block);

}  // namespace codec

// The decompressor of the decode walk: one decoder for the process.
#pragma once

#include "archive/block_buffer.h"
#include "codec/decoder.h"

namespace codec {

// Replaces the block (its length is the Block buffer's length) by the
// decoded bytes and returns 1; returns 1 without touching a block that
// lacks the signature, and 0 when a call is already running. The decoded
// block is a new Block buffer: the old memory is released and the three
// fields of the new one are handed to the caller's record.
int DecompressBlock(archive::BlockBuffer& block);

}  // namespace codec

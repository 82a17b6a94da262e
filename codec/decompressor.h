// The decompressor of the decode walk: one decoder for the process.
#pragma once

#include "archive/block_buffer.h"
#include "codec/decoder.h"

namespace codec {

// Replaces the block (its length is the Block buffer's length) by the
// decoded bytes, in a new Block buffer; leaves a block that lacks the
// signature untouched. The walk runs on one thread and never calls this
// from within itself, so the one decoder is never shared.
StreamCheck DecompressBlock(archive::BlockBuffer& block);
// Decoder::DecodeStart with the same decoder, on the same thread.
StreamCheck DecodeBlockStart(const unsigned char* data, uint32_t readable, uint32_t wanted,
                             archive::BlockBuffer& output, uint32_t* stated);

}  // namespace codec

// The reference model of the codec: the dictionary and the decode loop as
// plainly as they can be written, with standard containers and no care
// for speed, for checking the codec's decoder against.
//
// Codes 0 to 255 are the bytes themselves; each code from 256 up is a
// phrase of 2 to 128 bytes, its parent's phrase plus one last byte. The
// codes from 256 up also stand in a use order from oldest to newest; once
// all 4096 are made, the oldest one is recycled.
#pragma once

#include "encoder/bytes.h"

namespace reference {

using encoder::Bytes;

// What DecompressBlock leaves in a Block buffer that held `block`: the
// decoded bytes for a block with the compression signature, else the block.
Bytes Decompress(const Bytes& block);

}  // namespace reference

#include "codec/decompressor.h"

namespace codec {
namespace {

// In static storage: the decoder's tables need no allocation and take no
// room in the program file.
Decoder decoder;

}  // namespace

void DecompressBlock(archive::BlockBuffer& block) { decoder.Decompress(block); }

}  // namespace codec

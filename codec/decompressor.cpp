#include "codec/decompressor.h"

namespace codec {
namespace {

// In static storage: the decoder's tables need no allocation and take no
// room in the program file.
Decoder decoder;

}  // namespace

StreamCheck DecompressBlock(archive::BlockBuffer& block) { return decoder.Decompress(block); }

StreamCheck DecodeBlockStart(const unsigned char* data, uint32_t readable, uint32_t wanted,
                             archive::BlockBuffer& output, uint32_t* stated) {
  return decoder.DecodeStart(data, readable, wanted, output, stated);
}

}  // namespace codec

#include "codec/decompressor.h"

namespace codec {
namespace {

// In static storage: the decoder's tables need no allocation and take no
// room in the program file.
Decoder decoder;

}  // namespace

StreamCheck DecompressBlock(archive::BlockBuffer& block) { return decoder.Decompress(block); }

}  // namespace codec

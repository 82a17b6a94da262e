#include "codec/decompressor.h"

#include "codec/decompressor_testing.h"

namespace codec {
namespace {

// In static storage: the decoder's tables need no allocation and take no
// room in the program file.
Decoder decoder;
bool busy_flag;

}  // namespace

int DecompressBlock(archive::BlockBuffer& block) {
  if (busy_flag) return 0;
  busy_flag = true;
  decoder.Decompress(block);
  busy_flag = false;
  return 1;
}

namespace testing_hooks {

void SetDecompressorBusy(bool busy) { busy_flag = busy; }

}  // namespace testing_hooks

}  // namespace codec

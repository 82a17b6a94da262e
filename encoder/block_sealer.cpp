#include "encoder/block_sealer.h"

#include "codec/block_cipher.h"
#include "encoder/compressor.h"

namespace encoder {

Bytes FirstPlainBlock(unsigned char marker, const archive::FileRecord& record, const unsigned char* file_bytes,
                      size_t count) {
  Bytes plain(1 + archive::kFileRecordSize);
  plain[0] = marker;
  archive::SerializeFileRecord(record, plain.data() + 1);
  plain.insert(plain.end(), file_bytes, file_bytes + count);
  return plain;
}

Bytes LaterPlainBlock(unsigned char marker, const unsigned char* file_bytes, size_t count) {
  Bytes plain(1, marker);
  plain.insert(plain.end(), file_bytes, file_bytes + count);
  return plain;
}

Bytes SealBlock(const Bytes& plain, BlockForm form, const KeyString& key) {
  Bytes block;
  if (form == BlockForm::kStored) {
    block = plain;
  } else {
    block = CompressBlock(plain);
    if (form == BlockForm::kSmallest && block.size() >= plain.size()) block = plain;
  }
  codec::EncipherBlock(block.data(), static_cast<uint32_t>(block.size()), key.get());
  return block;
}

}  // namespace encoder

#include "decode/block_source.h"

#include "archive/data_block.h"
#include "archive/entry_header.h"
#include "codec/block_cipher.h"
#include "codec/decompressor.h"

namespace decode {

Boundary FindEntryHeader(platform::InputFile& file, archive::EntryHeader& fields, Skipped* skipped) {
  const uint64_t start = file.Position();
  int32_t header = archive::ReadEntryHeader(file, fields);
  *skipped = Skipped{};
  if (header != archive::kNoHeaderHere) return header == archive::kHeaderShortRead ? Boundary::kEnd : Boundary::kEntry;
  for (;;) {
    unsigned char byte;
    if (file.Read(&byte, 1) != 1) break;
    if (byte != '\\') continue;
    file.Seek(file.Position() - 1);
    header = archive::ReadEntryHeader(file, fields);
    if (header != archive::kNoHeaderHere) break;
    file.Seek(file.Position() + 1);
  }
  // The scan stopped at a header (now read), or at the end of the file.
  const uint64_t end = file.Position() - static_cast<uint32_t>(header > 0 ? header : 0);
  *skipped = Skipped{start, end - start};
  if (header == archive::kNoHeaderHere) return Boundary::kNoHeader;
  return header == archive::kHeaderShortRead ? Boundary::kEnd : Boundary::kEntry;
}

BlockStatus ReadCheckedBlock(platform::InputFile& file, archive::BlockBuffer& block) {
  archive::DataBlockResult read = archive::ReadDataBlock(file, block);
  if (read.status == archive::BlockRead::kReadFailure) return BlockStatus::kReadFailure;
  if (read.status == archive::BlockRead::kChecksumMismatch) return BlockStatus::kCooked;
  // Every block holds at least its marker byte and one more: a shorter one
  // is damage.
  if (read.length < 2) return BlockStatus::kReadFailure;
  block.Resize(read.length);  // within what GrowFor made room for
  return BlockStatus::kOk;
}

bool SequentialBlockSource::Open(const char* path, uint64_t offset, const char* key) {
  key_ = key;
  if (!file_.Open(path)) return false;
  file_.Seek(offset);
  return true;
}

BlockStatus SequentialBlockSource::ReadBlock(archive::BlockBuffer& block) {
  BlockStatus status = ReadCheckedBlock(file_, block);
  if (status != BlockStatus::kOk) return status;
  codec::DecipherBlock(block.data(), block.length(), key_);
  return codec::DecompressBlock(block) == codec::StreamCheck::kBroken ? BlockStatus::kBrokenStream : status;
}

}  // namespace decode

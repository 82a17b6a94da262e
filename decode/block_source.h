// Where the decode walk gets its entry headers and data blocks from.
//
// The walk asks in archive order, each question at the position where the
// previous answer ended. A source may work ahead (guess where entries end,
// decode blocks on other threads) as long as every answer is the one that
// reading at that position would give. The sequential source is what the
// Win32 program uses; parallel/ adds one that decodes on every core.
#pragma once

#include <cstdint>

#include "archive/block_buffer.h"
#include "archive/shared_state.h"
#include "platform/input_file.h"

namespace decode {

enum class Boundary { kEntry, kEnd, kNoHeader };
// kBrokenStream: read, checked and decoded, but the block's compressed
// stream did not hold up (codec::StreamCheck); its bytes are what came out.
enum class BlockStatus { kOk, kReadFailure, kCooked, kBrokenStream };
// Bytes passed over to find an entry header; count 0 when it stood there.
struct Skipped {
  uint64_t offset = 0;
  uint64_t count = 0;
};

class BlockSource {
 public:
  virtual ~BlockSource() = default;
  // Opens the archive and stands at offset. The key deciphers every block;
  // it stays valid until Close.
  virtual bool Open(const char* path, uint64_t offset, const char* key) = 0;
  virtual void Close() = 0;
  // At an entry boundary: see FindEntryHeader.
  virtual Boundary FindEntry(archive::EntryHeader& header, Skipped* skipped) = 0;
  // The data block here, read, checked, deciphered and decompressed. The
  // source may swap in memory of its own for the block's.
  virtual BlockStatus ReadBlock(archive::BlockBuffer& block) = 0;
};

// The steps every source takes, at the file's position.
//
// The next entry header, found by a scan over backslashes when it does not
// stand right here; replaces `fields`. kEnd: fewer than
// 26 bytes were left; kNoHeader: the end of the file came during the scan.
// skipped says what the scan passed over.
Boundary FindEntryHeader(platform::InputFile& file, archive::EntryHeader& fields, Skipped* skipped);
// Reads the data block here and checks it; on kOk the block's length is
// its stored length and its bytes are still enciphered.
BlockStatus ReadCheckedBlock(platform::InputFile& file, archive::BlockBuffer& block);

// Reads everything on the calling thread, with the process's decoder.
class SequentialBlockSource final : public BlockSource {
 public:
  bool Open(const char* path, uint64_t offset, const char* key) override;
  void Close() override { file_.Close(); }
  Boundary FindEntry(archive::EntryHeader& header, Skipped* skipped) override {
    return FindEntryHeader(file_, header, skipped);
  }
  BlockStatus ReadBlock(archive::BlockBuffer& block) override;

 private:
  platform::InputFile file_;
  const char* key_ = nullptr;
};

}  // namespace decode

// A block source that reads ahead and deciphers and decompresses the
// blocks on several threads, for the command-line tool.
//
// The walk's thread reads and checks pieces (entry headers and data
// blocks) in archive order and hands the blocks to the workers, which it
// joins while it waits for the block the walk asks for. Where an
// entry ends depends on decoded sizes, so the reader guesses: an entry
// header standing right after a block (or the end of the archive) means
// the entry ended there. Every piece remembers where it began and what it
// was read as; when the walk asks for anything but the next piece, the
// guess was wrong, and the pieces are dropped and reading starts again
// where the walk stands. Every answer is thus the sequential source's; a
// wrong guess only wastes work. At most kPiecesPerThread pieces per thread
// and about kBytesInFlight stored bytes are read ahead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "decode/block_source.h"
#include "parallel/block_workers.h"

namespace parallel {

class ParallelBlockSource : public decode::BlockSource {
 public:
  static constexpr unsigned kPiecesPerThread = 8;
  static constexpr uint64_t kBytesInFlight = 1 << 20;

  // Decodes on `threads` threads (at least 2), the walk's among them.
  explicit ParallelBlockSource(unsigned threads);
  ~ParallelBlockSource() override;

  bool Open(const char* path, uint64_t offset, const char* key) override;
  void Close() override;
  decode::Boundary FindEntry(archive::EntryHeader& header, decode::Skipped* skipped) override;
  decode::BlockStatus ReadBlock(archive::BlockBuffer& block) override;

 private:
  enum class Kind { kHeader, kBlock };
  struct Piece {
    Kind kind = Kind::kBlock;
    uint64_t start = 0;
    uint64_t end = 0;
    decode::Boundary boundary = decode::Boundary::kEnd;  // a header's
    decode::Skipped skipped;                              // a header's
    archive::EntryHeader header;                          // its fields, when kEntry
    decode::BlockStatus status = decode::BlockStatus::kOk;  // a block's
    BlockWorkers::Job job;
  };

  Piece& Next(Kind kind);
  void Pop();
  void ReadAhead();
  bool HeaderFollows();
  void Drop();

  BlockWorkers workers_;
  std::vector<Piece> ring_;
  size_t head_ = 0;
  size_t count_ = 0;
  uint64_t bytes_in_flight_ = 0;
  platform::InputFile file_;  // its position is where reading ahead goes on
  const char* key_ = nullptr;
  uint64_t position_ = 0;  // where the walk stands
  Kind next_kind_ = Kind::kHeader;
  bool reading_ = false;  // false once a piece was read that ends every walk
};

// The parallel source for more than one thread; the sequential one, with
// the process's decoder, for one.
std::unique_ptr<decode::BlockSource> MakeBlockSource(unsigned threads);
// One thread per core; 1 when the count is unknown.
unsigned DefaultThreadCount();
constexpr unsigned kMaxThreads = 256;
// A whole number from 1 to kMaxThreads.
bool ParseThreadCount(const char* text, unsigned* threads);

}  // namespace parallel

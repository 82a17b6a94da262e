#include "parallel/parallel_block_source.h"

#include <cstdlib>
#include <thread>
#include <utility>

#include "archive/entry_header.h"

namespace parallel {

// The reading thread decodes too, while it waits.
ParallelBlockSource::ParallelBlockSource(unsigned threads)
    : workers_(threads - 1), ring_(static_cast<size_t>(threads) * kPiecesPerThread) {}

ParallelBlockSource::~ParallelBlockSource() { Close(); }

bool ParallelBlockSource::Open(const char* path, uint64_t offset, const char* key) {
  key_ = key;
  position_ = offset;
  reading_ = false;  // the first question starts reading
  return file_.Open(path);
}

void ParallelBlockSource::Close() {
  Drop();
  for (Piece& piece : ring_) piece.job.block.Release();
  file_.Close();
}

decode::Boundary ParallelBlockSource::FindEntry(archive::EntryHeader& header, decode::Skipped* skipped) {
  Piece& piece = Next(Kind::kHeader);
  const decode::Boundary boundary = piece.boundary;
  *skipped = piece.skipped;
  if (boundary == decode::Boundary::kEntry) header = piece.header;
  Pop();
  return boundary;
}

decode::BlockStatus ParallelBlockSource::ReadBlock(archive::BlockBuffer& block) {
  Piece& piece = Next(Kind::kBlock);
  decode::BlockStatus status = piece.status;
  if (status == decode::BlockStatus::kOk) {
    workers_.Wait(piece.job);
    if (piece.job.broken_stream) status = decode::BlockStatus::kBrokenStream;
  }
  // The walk's previous block is done with; its memory is read into next.
  std::swap(block, piece.job.block);
  Pop();
  return status;
}

// The piece at the walk's position, read as asked, with reading ahead
// topped up behind it.
ParallelBlockSource::Piece& ParallelBlockSource::Next(Kind kind) {
  if (count_ == 0 || ring_[head_].kind != kind || ring_[head_].start != position_) {
    Drop();
    file_.Seek(position_);
    next_kind_ = kind;
    reading_ = true;
  }
  ReadAhead();
  Piece& piece = ring_[head_];
  position_ = piece.end;
  return piece;
}

void ParallelBlockSource::Pop() {
  Piece& piece = ring_[head_];
  if (piece.kind == Kind::kBlock && piece.status == decode::BlockStatus::kOk) {
    bytes_in_flight_ -= piece.end - piece.start;
  }
  head_ = (head_ + 1) % ring_.size();
  --count_;
}

void ParallelBlockSource::ReadAhead() {
  while (reading_ && count_ < ring_.size() && bytes_in_flight_ < kBytesInFlight) {
    Piece& piece = ring_[(head_ + count_) % ring_.size()];
    ++count_;
    piece.kind = next_kind_;
    piece.start = file_.Position();
    if (piece.kind == Kind::kHeader) {
      piece.boundary = decode::FindEntryHeader(file_, piece.header, &piece.skipped);
      piece.end = file_.Position();
      reading_ = piece.boundary != decode::Boundary::kEnd;
      next_kind_ = Kind::kBlock;
      continue;
    }
    piece.status = decode::ReadCheckedBlock(file_, piece.job.block);
    piece.end = file_.Position();
    // Every walk stops at a block that failed.
    reading_ = piece.status == decode::BlockStatus::kOk;
    if (!reading_) continue;
    piece.job.key = key_;
    workers_.Start(piece.job);
    bytes_in_flight_ += piece.end - piece.start;
    next_kind_ = HeaderFollows() ? Kind::kHeader : Kind::kBlock;
  }
}

// A data block begins with its checksum, never with the entry marker,
// unless an archive is made to mislead: then the walk sets us right.
bool ParallelBlockSource::HeaderFollows() {
  const uint64_t here = file_.Position();
  archive::EntryHeader header;
  const int32_t length = archive::ReadEntryHeader(file_, header);
  file_.Seek(here);
  return length != archive::kNoHeaderHere;
}

// Forgets every piece read ahead, once the workers are done with them.
void ParallelBlockSource::Drop() {
  for (; count_ > 0; --count_, head_ = (head_ + 1) % ring_.size()) {
    Piece& piece = ring_[head_];
    if (piece.kind == Kind::kBlock && piece.status == decode::BlockStatus::kOk) workers_.Wait(piece.job);
  }
  head_ = 0;
  bytes_in_flight_ = 0;
}

std::unique_ptr<decode::BlockSource> MakeBlockSource(unsigned threads) {
  if (threads <= 1) return std::make_unique<decode::SequentialBlockSource>();
  return std::make_unique<ParallelBlockSource>(threads);
}

unsigned DefaultThreadCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : cores;
}

bool ParseThreadCount(const char* text, unsigned* threads) {
  char* end = nullptr;
  const long value = strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > static_cast<long>(kMaxThreads)) return false;
  *threads = static_cast<unsigned>(value);
  return true;
}

}  // namespace parallel

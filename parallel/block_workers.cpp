#include "parallel/block_workers.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "codec/block_cipher.h"
#include "codec/decoder.h"
#include "parallel/parallel_block_source.h"

namespace parallel {
namespace {

// The zero-filled storage a decoder needs, from calloc: pages of its
// tables that a run never touches take no memory, as with a static one.
// Freed with free(). Without one a thread cannot work, and the tool has
// nothing better to do than stop, as it would on any other failed new.
codec::Decoder* NewDecoder() {
  void* storage = calloc(1, sizeof(codec::Decoder));
  if (!storage) {
    fputs("kelvarin: out of memory for a decoding thread\n", stderr);
    abort();
  }
  return new (storage) codec::Decoder;
}

}  // namespace

BlockWorkers::BlockWorkers(unsigned threads) {
  for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
}

BlockWorkers::~BlockWorkers() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  job_ready_.notify_all();
  for (std::thread& thread : threads_) thread.join();
  free(waiter_decoder_);
}

void BlockWorkers::Start(Job& job) {
  {
    std::lock_guard lock(mutex_);
    job.done = false;
    queue_.push_back(&job);
  }
  job_ready_.notify_one();
}

void BlockWorkers::Wait(Job& job) {
  std::unique_lock lock(mutex_);
  while (!job.done) {
    if (queue_.empty()) {
      job_done_.wait(lock);
    } else {
      DecodeFront(lock, waiter_decoder_);
    }
  }
}

void BlockWorkers::Work() {
  codec::Decoder* decoder = nullptr;
  std::unique_lock lock(mutex_);
  for (;;) {
    job_ready_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) break;
    DecodeFront(lock, decoder);
    // Only the thread that started the jobs waits for them.
    job_done_.notify_one();
  }
  free(decoder);
}

void BlockWorkers::DecodeFront(std::unique_lock<std::mutex>& lock, codec::Decoder*& decoder) {
  Job& job = *queue_.front();
  queue_.pop_front();
  lock.unlock();
  if (!decoder) decoder = NewDecoder();
  codec::DecipherBlock(job.block.data(), job.block.length(), job.key);
  job.broken_stream = decoder->Decompress(job.block) == codec::StreamCheck::kBroken;
  lock.lock();
  job.done = true;
}

// The reading thread decodes too, while it waits.
std::unique_ptr<decode::BlockSource> MakeBlockSource(unsigned threads) {
  if (threads <= 1) return std::make_unique<decode::SequentialBlockSource>();
  return std::make_unique<ParallelBlockSource>(std::make_unique<BlockWorkers>(threads - 1), threads);
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

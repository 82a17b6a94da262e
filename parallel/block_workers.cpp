#include "parallel/block_workers.h"

#include <cstdlib>
#include <memory>
#include <new>

#include "codec/block_cipher.h"
#include "codec/decoder.h"

namespace parallel {
namespace {

struct FreeDecoder {
  void operator()(codec::Decoder* decoder) const { free(decoder); }
};

// The zero-filled storage a decoder needs, from calloc: pages of its
// tables that a run never touches take no memory, as with a static one.
std::unique_ptr<codec::Decoder, FreeDecoder> NewDecoder() {
  void* storage = calloc(1, sizeof(codec::Decoder));
  if (!storage) throw std::bad_alloc();
  return std::unique_ptr<codec::Decoder, FreeDecoder>(new (storage) codec::Decoder);
}

}  // namespace

BlockWorkers::BlockWorkers(unsigned count) {
  for (unsigned i = 0; i < count; ++i) threads_.emplace_back([this] { Work(); });
}

BlockWorkers::~BlockWorkers() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  job_ready_.notify_all();
  for (std::thread& thread : threads_) thread.join();
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
  job_done_.wait(lock, [&] { return job.done; });
}

void BlockWorkers::Work() {
  std::unique_ptr<codec::Decoder, FreeDecoder> decoder;
  std::unique_lock lock(mutex_);
  for (;;) {
    job_ready_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;
    Job& job = *queue_.front();
    queue_.pop_front();
    lock.unlock();
    if (!decoder) decoder = NewDecoder();
    codec::DecipherBlock(job.block.data, job.block.length, job.key);
    decoder->Decompress(job.block);
    lock.lock();
    job.done = true;
    // Only the reading thread waits for jobs.
    job_done_.notify_one();
  }
}

}  // namespace parallel

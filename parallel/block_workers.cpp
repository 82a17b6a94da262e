#include "parallel/block_workers.h"

#include <memory>

#include "codec/block_cipher.h"
#include "codec/decoder.h"

namespace parallel {

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
  std::unique_ptr<codec::Decoder> decoder;
  std::unique_lock lock(mutex_);
  for (;;) {
    job_ready_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;
    Job& job = *queue_.front();
    queue_.pop_front();
    lock.unlock();
    if (!decoder) decoder.reset(new codec::Decoder());  // value-initialised: zero tables
    codec::DecipherBlock(job.block.data, job.block.length, job.key);
    decoder->Decompress(job.block);
    lock.lock();
    job.done = true;
    // Only the reading thread waits for jobs.
    job_done_.notify_one();
  }
}

}  // namespace parallel

// Threads that decipher and decompress data blocks, each with a decoder
// of its own (at most 2 MiB, made at its first job). Jobs are taken in
// the order they are handed in. The thread that waits for a job takes
// queued jobs itself meanwhile, so that it never idles while others work:
// with one thread per core besides it, it is one of them.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "archive/block_buffer.h"

namespace codec {
class Decoder;
}

namespace parallel {

class BlockWorkers {
 public:
  struct Job {
    archive::BlockBuffer block;  // the stored bytes in, the decoded bytes out
    const char* key = nullptr;
    bool broken_stream = false;  // the decoded block's stream did not hold up
    bool done = true;  // guarded by the workers' mutex
  };

  explicit BlockWorkers(unsigned threads);
  // Finishes the jobs handed in, then ends the threads.
  ~BlockWorkers();
  BlockWorkers(const BlockWorkers&) = delete;
  BlockWorkers& operator=(const BlockWorkers&) = delete;

  // The job belongs to the workers until Wait returns: neither move nor
  // touch it. Only one thread starts and waits for jobs.
  void Start(Job& job);
  void Wait(Job& job);

 private:
  void Work();
  // Decodes the job at the front of the queue; the lock is released
  // meanwhile. The decoder is made when the thread first needs it.
  void DecodeFront(std::unique_lock<std::mutex>& lock, codec::Decoder*& decoder);

  std::mutex mutex_;
  std::condition_variable job_ready_;
  std::condition_variable job_done_;
  std::deque<Job*> queue_;
  bool stopping_ = false;
  codec::Decoder* waiter_decoder_ = nullptr;
  std::vector<std::thread> threads_;
};

}  // namespace parallel

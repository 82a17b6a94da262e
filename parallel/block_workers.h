// Threads that decipher and decompress data blocks, each with a decoder
// of its own (at most 2 MiB, made at its first job). Jobs are taken in
// the order they are handed in.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "archive/block_buffer.h"

namespace parallel {

class BlockWorkers {
 public:
  struct Job {
    archive::BlockBuffer block;  // the stored bytes in, the decoded bytes out
    const char* key = nullptr;
    bool done = true;  // guarded by the workers' mutex
  };

  explicit BlockWorkers(unsigned count);
  // Finishes the jobs handed in, then ends the threads.
  ~BlockWorkers();
  BlockWorkers(const BlockWorkers&) = delete;
  BlockWorkers& operator=(const BlockWorkers&) = delete;

  // The job belongs to a worker until Wait returns: neither move nor
  // touch it.
  void Start(Job& job);
  void Wait(Job& job);

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable job_ready_;
  std::condition_variable job_done_;
  std::deque<Job*> queue_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace parallel

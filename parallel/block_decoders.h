// Whoever deciphers and decompresses the blocks that the parallel source
// reads ahead: threads in the command-line tool (BlockWorkers), a pool of
// Web Workers on the browser page. Jobs are started and waited for by one
// thread only, the walk's, which may decode jobs itself while it waits.
#pragma once

#include "archive/block_buffer.h"

namespace parallel {

class BlockDecoders {
 public:
  struct Job {
    archive::BlockBuffer block;  // the stored bytes in, the decoded bytes out
    const char* key = nullptr;
    bool broken_stream = false;  // the decoded block's stream did not hold up
    bool done = true;  // false from Start until the decoded bytes are in block
  };

  virtual ~BlockDecoders() = default;
  // The job belongs to the decoders until Wait returns: neither move nor
  // touch it.
  virtual void Start(Job& job) = 0;
  virtual void Wait(Job& job) = 0;
};

}  // namespace parallel

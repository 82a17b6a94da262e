// The block decoders of the page: a pool of Web Workers, each running a
// module of its own (web/block_pool.js), fed from the walk's worker. A
// job's stored bytes are copied to a pool worker and its decoded bytes
// copied back. While the walk waits for a job, it decodes the jobs that
// no pool worker has taken yet, as the tool's reading thread does; jobs
// too large to be worth copying stay with it.
#pragma once

#include <cstdint>

#include "parallel/block_decoders.h"

namespace web {

class PoolDecoders final : public parallel::BlockDecoders {
 public:
  // Stored blocks above this many bytes are decoded by the walk's worker:
  // two more copies of them would cost more memory than the time gained.
  static constexpr uint32_t kLargestHandedOver = 16u << 20;
  // Read ahead for the pool: batches of about 1 MiB of stored bytes for
  // each worker, and the next ones ready while those are out; no more
  // pieces than keep a pool of small blocks busy, since highly compressed
  // blocks decode to 16 MiB each.
  static constexpr unsigned kPiecesPerThread = 64;
  static constexpr uint64_t kBytesInFlight = 8u << 20;

  void Start(Job& job) override;
  void Wait(Job& job) override;
};

// In a pool worker: deciphers and decompresses one stored block, held in
// a buffer of the module's own.
unsigned char* BlockForDecoding(uint32_t length);
// The decoded length; the bytes are at BlockForDecoding's pointer then
// (DecodedBlock).
uint32_t DecodeHeldBlock(const char* key);
const unsigned char* DecodedBlock();
// Whether that block's stream did not hold up (a wrong password's sign).
bool HeldBlockBroken();

}  // namespace web

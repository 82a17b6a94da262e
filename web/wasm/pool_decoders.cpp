#include "web/wasm/pool_decoders.h"

#include <emscripten.h>

#include <cstring>

#include "codec/block_cipher.h"
#include "codec/decompressor.h"

namespace web {
namespace {

using Job = parallel::BlockDecoders::Job;

// `Module.kelvarinPool` is the walk's worker's pool (web/block_pool.js).
// Jobs are named by their address, which stays put while they run.
EM_JS(void, JsPoolStart, (Job* job, const unsigned char* bytes, uint32_t length, const char* key,
                          uint32_t key_length, int hand_over), {
  Module.kelvarinPool.start(job, hand_over ? HEAPU8.slice(bytes, bytes + length) : null,
                            HEAPU8.slice(key, key + key_length));
});
// The oldest job that no pool worker took (and forgets it), or 0. The
// stored length of a job handed over, whose bytes are then copied back
// by JsPoolReclaim.
EM_JS(Job*, JsPoolTakeQueued, (), { return Module.kelvarinPool.takeQueued(); });
EM_JS(double, JsPoolReclaimedLength, (), { return Module.kelvarinPool.reclaimedLength(); });
EM_JS(void, JsPoolReclaim, (unsigned char* target), { Module.kelvarinPool.reclaim(HEAPU8, target); });
// The decoded length of a job that came back, or -1; whether its stream
// did not hold up.
EM_JS(double, JsPoolResult, (Job* job), { return Module.kelvarinPool.resultLength(job); });
EM_JS(int, JsPoolBroken, (Job* job), { return Module.kelvarinPool.broken(job) ? 1 : 0; });
// Whether the pool has had no turn of the event loop for too long.
EM_JS(int, JsPoolShouldYield, (), { return Module.kelvarinPool.shouldYield() ? 1 : 0; });
// Results come in and batches go out only while the module yields.
EM_ASYNC_JS(void, JsPoolYield, (), { await Module.kelvarinPool.yieldToPool(); });
// Copies the decoded bytes into target and forgets the job.
EM_JS(void, JsPoolTake, (Job* job, unsigned char* target), { Module.kelvarinPool.take(job, HEAPU8, target); });

void DecodeHere(Job& job) {
  if (!job.block.HoldsMemory()) {
    job.block.Allocate(static_cast<uint32_t>(JsPoolReclaimedLength()));
    JsPoolReclaim(job.block.data());
  }
  codec::DecipherBlock(job.block.data(), job.block.length(), job.key);
  job.broken_stream = codec::DecompressBlock(job.block) == codec::StreamCheck::kBroken;
  job.done = true;
}

void TakeResult(Job& job, uint32_t length) {
  job.broken_stream = JsPoolBroken(&job) == 1;
  job.block.Allocate(length);
  JsPoolTake(&job, job.block.data());
  job.done = true;
}

archive::BlockBuffer held;  // a pool worker's block
bool held_broken = false;   // its stream did not hold up

}  // namespace

// A job handed over leaves its memory free: the read-ahead keeps many
// pieces, and each would otherwise hold on to the largest block it held
// (a pool of 16 MiB blocks filled the module's memory).
void PoolDecoders::Start(Job& job) {
  job.done = false;
  const bool hand_over = job.block.length() <= kLargestHandedOver;
  JsPoolStart(&job, job.block.data(), job.block.length(), job.key, static_cast<uint32_t>(strlen(job.key)),
              hand_over ? 1 : 0);
  if (hand_over) job.block.Release();
}

void PoolDecoders::Wait(Job& job) {
  while (!job.done) {
    const double length = JsPoolResult(&job);
    if (length >= 0) {
      TakeResult(job, static_cast<uint32_t>(length));
    } else if (JsPoolShouldYield()) {
      JsPoolYield();
    } else if (Job* queued = JsPoolTakeQueued()) {
      DecodeHere(*queued);
    } else {
      JsPoolYield();
    }
  }
}

unsigned char* BlockForDecoding(uint32_t length) {
  held.Allocate(length);
  return held.data();
}

uint32_t DecodeHeldBlock(const char* key) {
  codec::DecipherBlock(held.data(), held.length(), key);
  held_broken = codec::DecompressBlock(held) == codec::StreamCheck::kBroken;
  return held.length();
}

bool HeldBlockBroken() { return held_broken; }

const unsigned char* DecodedBlock() { return held.data(); }

}  // namespace web

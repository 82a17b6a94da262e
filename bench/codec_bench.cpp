// Throughput of the two decode steps every data block goes through:
// DecipherBlock on the stored bytes, DecompressBlock on the result
// (measured in decoded bytes).
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "archive/block_buffer.h"
#include "codec/block_cipher.h"
#include "codec/decompressor.h"
#include "encoder/compressor.h"
#include "encoder/sample_data.h"

namespace {

enum Content { kText = 0, kRandom = 1 };

std::vector<unsigned char> Sample(int64_t content, size_t length) {
  return content == kText ? encoder::TextLikeBytes(length, 7) : encoder::RandomBytes(length, 7);
}

void BM_DecipherBlock(benchmark::State& state) {
  std::vector<unsigned char> block = Sample(state.range(1), static_cast<size_t>(state.range(0)));
  block[0] = 0x71;  // the last pass of a compressed block: 120 rows
  char* key = codec::BuildKeyString("correct horse", 13);
  for (auto _ : state) {
    codec::DecipherBlock(block.data(), static_cast<uint32_t>(block.size()), key);
    benchmark::ClobberMemory();
  }
  free(key);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_DecipherBlock)->ArgsProduct({{8192, 16384}, {kText, kRandom}});

void BM_DecompressBlock(benchmark::State& state) {
  const std::vector<unsigned char> plain = Sample(state.range(1), static_cast<size_t>(state.range(0)));
  const std::vector<unsigned char> compressed = encoder::CompressBlock(plain);
  archive::BlockBuffer block;
  for (auto _ : state) {
    state.PauseTiming();
    archive::AllocateBlockBuffer(block, static_cast<uint32_t>(compressed.size()));
    memcpy(block.data, compressed.data(), compressed.size());
    state.ResumeTiming();
    codec::DecompressBlock(block);
    benchmark::DoNotOptimize(block.data);
    state.PauseTiming();
    if (block.length != plain.size() || memcmp(block.data, plain.data(), plain.size()) != 0) {
      state.SkipWithError("decoded bytes differ");
    }
    archive::ReleaseBlockBuffer(block);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
  state.counters["ratio"] = static_cast<double>(compressed.size()) / static_cast<double>(plain.size());
}
BENCHMARK(BM_DecompressBlock)->ArgsProduct({{8192, 16384}, {kText, kRandom}});

}  // namespace

// Throughput of the two decode steps every data block goes through:
// DecipherBlock on the stored bytes, DecompressBlock on the result
// (measured in decoded bytes, over distinct real blocks).
//
// Instructions per decoded byte: run one iteration under callgrind,
// counting inside DecompressBlock only, and divide the total that
// callgrind_annotate gives by 32 blocks times the block size:
//   valgrind --tool=callgrind --toggle-collect='codec::DecompressBlock*' build/native/benchmarks
//     --benchmark_filter=BM_DecompressBlock/16384/0 --benchmark_min_time=0.01
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "archive/block_buffer.h"
#include "codec/block_cipher.h"
#include "codec/decompressor.h"
#include "encoder/compressor.h"
#include "tests/support/sample_data.h"

namespace {

enum Content { kText = 0, kBinary = 1, kRandom = 2 };

std::vector<unsigned char> Sample(int64_t content, size_t length, unsigned seed = 7) {
  switch (content) {
    case kText:
      return test_support::TextLikeBytes(length, seed);
    case kBinary:
      return test_support::BinaryLikeBytes(length, seed);
    default:
      return test_support::RandomBytes(length, seed);
  }
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

// Decoding one block over and over lets the branch predictor learn it, so
// each iteration decodes a set of distinct blocks of one kind and size.
constexpr unsigned kDistinctBlocks = 32;

struct BlockSet {
  std::vector<std::vector<unsigned char>> plain;
  std::vector<std::vector<unsigned char>> compressed;
};

const BlockSet& DistinctBlocks(int64_t content, size_t length) {
  static std::map<std::pair<int64_t, size_t>, BlockSet> sets;
  BlockSet& set = sets[{content, length}];
  for (unsigned seed = 100; set.plain.size() < kDistinctBlocks; ++seed) {
    set.plain.push_back(Sample(content, length, seed));
    set.compressed.push_back(encoder::CompressBlock(set.plain.back()));
  }
  return set;
}

void BM_DecompressBlock(benchmark::State& state) {
  const size_t length = static_cast<size_t>(state.range(0));
  const BlockSet& set = DistinctBlocks(state.range(1), length);
  archive::BlockBuffer blocks[kDistinctBlocks];
  size_t compressed_bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (unsigned i = 0; i < kDistinctBlocks; ++i) {
      blocks[i].Allocate(static_cast<uint32_t>(set.compressed[i].size()));
      memcpy(blocks[i].data(), set.compressed[i].data(), set.compressed[i].size());
    }
    state.ResumeTiming();
    for (archive::BlockBuffer& block : blocks) codec::DecompressBlock(block);
    state.PauseTiming();
    compressed_bytes = 0;
    for (unsigned i = 0; i < kDistinctBlocks; ++i) {
      if (blocks[i].length() != length || memcmp(blocks[i].data(), set.plain[i].data(), length) != 0) {
        state.SkipWithError("decoded bytes differ");
      }
      compressed_bytes += set.compressed[i].size();
      blocks[i].Release();
    }
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDistinctBlocks * length));
  state.counters["ratio"] = static_cast<double>(compressed_bytes) / static_cast<double>(kDistinctBlocks * length);
}
BENCHMARK(BM_DecompressBlock)->ArgsProduct({{8192, 16384}, {kText, kBinary, kRandom}});

}  // namespace

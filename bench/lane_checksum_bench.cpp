// Throughput of the lane checksum over data blocks of typical sizes.
#include <benchmark/benchmark.h>

#include "archive/lane_checksum.h"
#include "tests/support/sample_data.h"

namespace {

void BM_LaneChecksum(benchmark::State& state) {
  const auto data = test_support::RandomBytes(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    archive::LaneChecksum sum = archive::ComputeLaneChecksum(data.data(), data.size());
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_LaneChecksum)->Arg(8192)->Arg(16384)->Arg(1 << 20);

}  // namespace

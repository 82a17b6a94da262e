// Deterministic sample contents for tests and benchmarks: English-like
// text, random bytes and long runs, reproducible from a seed.
#pragma once

#include <cstddef>
#include <vector>

namespace encoder {

std::vector<unsigned char> TextLikeBytes(size_t length, unsigned seed = 1);
std::vector<unsigned char> RandomBytes(size_t length, unsigned seed = 1);
// Runs of one byte, each run between 1 and max_run bytes long.
std::vector<unsigned char> RunBytes(size_t length, size_t max_run, unsigned seed = 1);

}  // namespace encoder

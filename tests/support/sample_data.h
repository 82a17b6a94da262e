// Deterministic sample contents for tests and benchmarks: English-like
// text, binary-like records, random bytes and long runs, reproducible from
// a seed; and a stub for archives that are only read, never run.
#pragma once

#include <cstddef>
#include <vector>

#include "encoder/bytes.h"

namespace test_support {

std::vector<unsigned char> TextLikeBytes(size_t length, unsigned seed = 1);
// Machine-code-like and table-like bytes: a few recurring opcode patterns,
// small little-endian numbers with their zero bytes, and random operands.
std::vector<unsigned char> BinaryLikeBytes(size_t length, unsigned seed = 1);
std::vector<unsigned char> RandomBytes(size_t length, unsigned seed = 1);
// Runs of one byte, each run between 1 and max_run bytes long.
std::vector<unsigned char> RunBytes(size_t length, size_t max_run, unsigned seed = 1);

// "MZ" and a pattern, `size` bytes in all; from 68 bytes on, the
// pointer to a "PE\0\0" signature, as a Windows program has.
encoder::Bytes SampleStub(size_t size = 512);

}  // namespace test_support

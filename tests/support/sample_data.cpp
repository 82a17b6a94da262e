#include "tests/support/sample_data.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace test_support {
namespace {

class Lcg {
 public:
  explicit Lcg(unsigned seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
  uint32_t Next() {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state_ >> 33);
  }

 private:
  uint64_t state_;
};

constexpr std::string_view kWords[] = {
    "the",    "of",     "and",     "to",      "a",        "in",      "is",     "that",   "for",
    "it",     "as",     "was",     "with",    "be",       "by",      "on",     "not",    "he",
    "this",   "are",    "or",      "his",     "from",     "at",      "which",  "but",    "have",
    "an",     "had",    "they",    "you",     "were",     "their",   "one",    "all",    "we",
    "archive", "block", "decoder", "password", "dictionary", "phrase", "entry", "folder", "window",
    "message", "format", "length", "checksum", "version",  "record",  "output", "stream", "symbol"};

}  // namespace

std::vector<unsigned char> TextLikeBytes(size_t length, unsigned seed) {
  std::vector<unsigned char> out;
  out.reserve(length + 16);
  Lcg random(seed);
  size_t words_in_sentence = 0;
  while (out.size() < length) {
    std::string_view word = kWords[random.Next() % (sizeof kWords / sizeof kWords[0])];
    out.insert(out.end(), word.begin(), word.end());
    if (++words_in_sentence > 4 + random.Next() % 12) {
      out.push_back('.');
      out.push_back(random.Next() % 4 == 0 ? '\n' : ' ');
      words_in_sentence = 0;
    } else {
      out.push_back(random.Next() % 16 == 0 ? ',' : ' ');
    }
  }
  out.resize(length);
  return out;
}

std::vector<unsigned char> BinaryLikeBytes(size_t length, unsigned seed) {
  static constexpr unsigned char kOpcodes[][3] = {{0x8B, 0x45, 0xF8}, {0x89, 0x45, 0xFC}, {0x83, 0xC4, 0x10},
                                                  {0xFF, 0x15, 0x00}, {0x85, 0xC0, 0x74}, {0x55, 0x8B, 0xEC}};
  std::vector<unsigned char> out;
  out.reserve(length + 8);
  Lcg random(seed);
  while (out.size() < length) {
    const uint32_t pick = random.Next();
    switch (pick % 4) {
      case 0:
      case 1: {
        const unsigned char* op = kOpcodes[(pick >> 8) % (sizeof kOpcodes / sizeof kOpcodes[0])];
        out.insert(out.end(), op, op + 3);
        break;
      }
      case 2: {  // a small number, as tables and relocations hold them
        const uint32_t value = random.Next() % 4096;
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
        break;
      }
      default:
        out.push_back(static_cast<unsigned char>(random.Next()));
    }
  }
  out.resize(length);
  return out;
}

std::vector<unsigned char> RandomBytes(size_t length, unsigned seed) {
  std::vector<unsigned char> out(length);
  Lcg random(seed);
  for (auto& byte : out) byte = static_cast<unsigned char>(random.Next());
  return out;
}

std::vector<unsigned char> RunBytes(size_t length, size_t max_run, unsigned seed) {
  std::vector<unsigned char> out;
  out.reserve(length);
  Lcg random(seed);
  while (out.size() < length) {
    const size_t run = 1 + random.Next() % max_run;
    out.insert(out.end(), run, static_cast<unsigned char>(random.Next()));
  }
  out.resize(length);
  return out;
}

encoder::Bytes SampleStub(size_t size) {
  encoder::Bytes stub(size);
  stub[0] = 'M';
  if (size > 1) stub[1] = 'Z';
  for (size_t i = 2; i < size; ++i) stub[i] = static_cast<unsigned char>(i * 7 + 3);
  // Where there is room, the DOS header points at "PE\0\0" at 0x40.
  constexpr size_t kPe = 0x40;
  if (size >= kPe + 4) {
    const unsigned char header[] = {kPe, 0, 0, 0, 'P', 'E', 0, 0};
    std::copy(header, header + sizeof header, stub.begin() + 0x3C);
  }
  return stub;
}

}  // namespace test_support

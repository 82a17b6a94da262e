#include "encoder/sample_data.h"

#include <cstdint>
#include <string_view>

namespace encoder {
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

}  // namespace encoder

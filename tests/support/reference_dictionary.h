// The reference model of the dictionary: the plain implementation that
// the codec's fast one must match step for step, kept for the tests.
// 4096 codes in fixed tables with 16-bit links. Codes 0 to 255 are the
// bytes themselves; each code from 256 up is a phrase of 2 to 128 bytes,
// its parent's phrase plus one last byte. The codes from 256 up also form
// a use order from `oldest` to `newest`; when every code is taken the
// oldest one is recycled.
//
// Both sides call the same three steps for every symbol: ApplyWidthCheck
// before it, ExpandCode on it (which moves its chain to the newest end of
// the use order) and AddCodes after it.
#pragma once

#include <cstdint>

#include "codec/code_space.h"

namespace reference {

using codec::kCodeCount;
using codec::kFirstPhraseCode;
using codec::kMaxPhraseLength;
using codec::kNoCode;

// One code: its phrase (parent and last byte) and its links. Each step
// of the decoder touches several fields of the same code.
struct CodeEntry {
  uint16_t parent;
  uint16_t newer;           // use order, towards `newest`
  uint16_t older;           // use order, towards `oldest`
  uint16_t next_in_bucket;  // the child index's chain
  unsigned char last_byte;
};

// The children of every code, found by (parent, last byte). A parent never
// has two children with the same last byte (a child is made only where the
// search found none), so this index answers exactly what a walk along the
// parent's children would. Buckets carry the generation of the reset that
// last wrote them, so a reset empties them all without touching them.
constexpr uint32_t kChildBuckets = 4096;
struct ChildBucket {
  uint16_t first;
  uint16_t generation;
};

struct Dictionary {
  CodeEntry code[kCodeCount];
  ChildBucket bucket[kChildBuckets];
  uint16_t generation;  // 0 until the first reset
  uint16_t oldest;
  uint16_t newest;
  uint16_t next_free_code;
  uint16_t code_width;
  uint16_t code_capacity;
};

inline uint32_t ChildBucketOf(uint16_t parent, unsigned char byte) {
  return ((uint32_t{parent} << 8 | byte) * 2654435761u) >> 20;
}

// Resets the byte codes, the scalars and the child index; codes from 256
// up are written in full whenever they are made, so they need no reset.
// The dictionary must start zero-filled (static storage, or value-
// initialised) so that no bucket claims a generation yet.
void ResetDictionary(Dictionary& dictionary);

// Before every symbol: widens the codes by one bit once the codes made
// since the reset fill the current capacity.
inline void ApplyWidthCheck(Dictionary& dictionary) {
  if (dictionary.next_free_code - kFirstPhraseCode >= dictionary.code_capacity) {
    dictionary.code_capacity = static_cast<uint16_t>(dictionary.code_capacity * 2);
    ++dictionary.code_width;
  }
}

// True when the code exists and fits the current code width.
inline bool IsSendable(const Dictionary& dictionary, uint16_t code) {
  return code < kFirstPhraseCode ||
         (code < dictionary.next_free_code && code - kFirstPhraseCode < dictionary.code_capacity);
}

// Writes the phrase of `code` (which must be below `next_free_code`) into
// the bytes just before phrase_end and returns its length. Every code of
// its chain from 256 up moves to the newest end of the use order, the code
// itself the oldest of them.
uint32_t ExpandCode(Dictionary& dictionary, uint16_t code, unsigned char* phrase_end);

// The child of `parent` whose last byte is `byte`, or kNoCode.
inline uint16_t FindChild(const Dictionary& dictionary, uint16_t parent, unsigned char byte) {
  const ChildBucket bucket = dictionary.bucket[ChildBucketOf(parent, byte)];
  uint16_t child = bucket.generation == dictionary.generation ? bucket.first : kNoCode;
  while (child != kNoCode && (dictionary.code[child].parent != parent || dictionary.code[child].last_byte != byte)) {
    child = dictionary.code[child].next_in_bucket;
  }
  return child;
}

// After every symbol: teaches the dictionary the previous phrase (code
// `previous`, `previous_length` bytes) extended by each prefix of the
// current phrase, up to 128 bytes, shortest first. Nothing when previous
// is kNoCode.
void AddCodes(Dictionary& dictionary, uint16_t previous, uint32_t previous_length, const unsigned char* phrase,
              uint32_t length);

}  // namespace reference

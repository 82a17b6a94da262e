#include "tests/support/reference_dictionary.h"

namespace reference {
namespace {

// Takes x out of the use order. x is never the newest code here, so it
// always has a newer neighbour; the oldest code has no older one.
inline void Unlink(Dictionary& d, uint16_t x, uint16_t& oldest) {
  const uint16_t newer = d.code[x].newer;
  const uint16_t older = d.code[x].older;
  d.code[newer].older = older;
  if (x == oldest) {
    oldest = newer;
  } else {
    d.code[older].newer = newer;
  }
}

inline void AppendNewest(Dictionary& d, uint16_t x, uint16_t& newest) {
  d.code[newest].newer = x;
  d.code[x].older = newest;
  d.code[x].newer = kNoCode;
  newest = x;
}

// Reuses the oldest code: out of the use order and out of the child
// index. It has no children of its own, since every code stands older
// than its parent.
uint16_t Recycle(Dictionary& d) {
  const uint16_t x = d.oldest;
  Unlink(d, x, d.oldest);
  ChildBucket& bucket = d.bucket[ChildBucketOf(d.code[x].parent, d.code[x].last_byte)];
  if (bucket.first == x) {
    bucket.first = d.code[x].next_in_bucket;
  } else {
    uint16_t before = bucket.first;
    while (d.code[before].next_in_bucket != x) before = d.code[before].next_in_bucket;
    d.code[before].next_in_bucket = d.code[x].next_in_bucket;
  }
  return x;
}

void AttachChild(Dictionary& d, uint16_t parent, uint16_t x, unsigned char byte) {
  ChildBucket& bucket = d.bucket[ChildBucketOf(parent, byte)];
  d.code[x].parent = parent;
  d.code[x].last_byte = byte;
  d.code[x].next_in_bucket = bucket.generation == d.generation ? bucket.first : kNoCode;
  bucket.first = x;
  bucket.generation = d.generation;
}

// A child of a byte code goes to the newest end; a child of a longer
// phrase goes just older than its parent, which keeps every code older
// than its parent.
void PlaceInUseOrder(Dictionary& d, uint16_t parent, uint16_t x) {
  if (parent < kFirstPhraseCode) {
    if (d.newest == kNoCode) {
      d.code[x].older = kNoCode;
      d.code[x].newer = kNoCode;
      d.oldest = d.newest = x;
    } else {
      AppendNewest(d, x, d.newest);
    }
    return;
  }
  const uint16_t older = d.code[parent].older;
  d.code[x].older = older;
  d.code[x].newer = parent;
  d.code[parent].older = x;
  if (older == kNoCode) {
    d.oldest = x;
  } else {
    d.code[older].newer = x;
  }
}

}  // namespace

void ResetDictionary(Dictionary& d) {
  for (uint32_t i = 0; i < kFirstPhraseCode; ++i) {
    d.code[i].last_byte = static_cast<unsigned char>(i);
    d.code[i].parent = kNoCode;
  }
  // A new generation empties every bucket; once in 65535 resets the
  // generations run out and the buckets are cleared for real.
  if (++d.generation == 0) {
    for (ChildBucket& bucket : d.bucket) bucket.generation = 0;
    d.generation = 1;
  }
  d.oldest = kNoCode;
  d.newest = kNoCode;
  d.next_free_code = kFirstPhraseCode;
  d.code_width = 1;
  d.code_capacity = 2;
}

uint32_t ExpandCode(Dictionary& d, uint16_t code, unsigned char* phrase_end) {
  unsigned char* out = phrase_end;
  uint16_t at = code;
  if (at >= kFirstPhraseCode) {
    uint16_t oldest = d.oldest;
    uint16_t newest = d.newest;
    // Only the code itself can already be the newest: after it moves,
    // each parent on the way is older than the code moved before it.
    if (at != newest) {
      Unlink(d, at, oldest);
      AppendNewest(d, at, newest);
    }
    *--out = d.code[at].last_byte;
    at = d.code[at].parent;
    while (at >= kFirstPhraseCode) {
      Unlink(d, at, oldest);
      AppendNewest(d, at, newest);
      *--out = d.code[at].last_byte;
      at = d.code[at].parent;
    }
    d.oldest = oldest;
    d.newest = newest;
  }
  *--out = static_cast<unsigned char>(at);  // a byte code's phrase is itself
  return static_cast<uint32_t>(phrase_end - out);
}

void AddCodes(Dictionary& d, uint16_t previous, uint32_t previous_length, const unsigned char* phrase,
              uint32_t length) {
  if (previous == kNoCode) return;
  const uint32_t room = kMaxPhraseLength - previous_length;
  const uint32_t end = length < room ? length : room;
  uint16_t at = previous;
  uint32_t i = 0;
  // Walk down the phrases that exist already...
  for (; i < end; ++i) {
    const uint16_t child = FindChild(d, at, phrase[i]);
    if (child == kNoCode) break;
    at = child;
  }
  // ...then make the rest: a code just made has no children to search.
  for (; i < end; ++i) {
    uint16_t x;
    if (d.next_free_code < kCodeCount) {
      x = d.next_free_code++;
    } else {
      if (d.oldest == at) return;
      x = Recycle(d);
    }
    AttachChild(d, at, x, phrase[i]);
    PlaceInUseOrder(d, at, x);
    at = x;
  }
}

}  // namespace reference

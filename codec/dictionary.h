// The dictionary that the decompressor and the compressor keep in step.
// Codes 0 to 255 are the bytes themselves; each code from 256 up is a
// phrase of 2 to 128 bytes, its parent's phrase plus one last byte. The
// codes from 256 up also form a use order from oldest to newest; when
// every code is taken the oldest one is recycled.
//
// Both sides call the same three steps for every symbol: ApplyWidthCheck
// before it, ExpandCode on it (which moves its chain to the newest end of
// the use order) and AddCodes after it.
//
// Laid out for speed: 8-byte entries (32 KiB in all) that know their
// phrase length, a circular use order closed by a sentinel entry, and a
// direct table of children indexed by parent and byte. The table is only
// ever written, when a child is made; a slot is believed when the code it
// holds is in use and still has that parent and byte. That is exact, since
// a parent never has two children with the same byte: a live child is the
// last code written to its slot. Any slot value passes or fails that check
// safely, so the table needs no clearing between blocks.
#pragma once

#include <cstdint>

#include "codec/code_space.h"

namespace codec {

class Dictionary {
 public:
  // Starts a block: only the byte codes. Keep the dictionary in zero-filled
  // storage (static, or value-initialised) so that no table slot is read
  // before it is first written.
  void Reset();

  // Before every symbol: widens the codes by one bit once the codes made
  // since the reset fill the current capacity.
  void ApplyWidthCheck() {
    if (next_free_code_ - kFirstPhraseCode >= code_capacity_) {
      code_capacity_ *= 2;
      ++code_width_;
    }
  }
  uint32_t code_width() const { return code_width_; }
  uint32_t next_free_code() const { return next_free_code_; }

  // True when the code exists and fits the current code width.
  bool IsSendable(uint32_t code) const {
    return code < kFirstPhraseCode || (code < next_free_code_ && code - kFirstPhraseCode < code_capacity_);
  }

  // The phrase length of a code below next_free_code().
  uint32_t PhraseLength(uint32_t code) const { return entry_[code].length; }

  // The child of `parent` (a code below next_free_code()) whose last byte
  // is `byte`, or kNoCode.
  uint32_t FindChild(uint32_t parent, unsigned char byte) const {
    const uint32_t child = child_[ChildSlot(parent, byte)];
    if (child - kFirstPhraseCode >= next_free_code_ - kFirstPhraseCode) return kNoCode;
    const Entry& entry = entry_[child];
    return entry.parent == parent && entry.last_byte == byte ? child : kNoCode;
  }

  // Writes the phrase of `code` (below next_free_code()) to phrase[0] to
  // phrase[PhraseLength(code) - 1]. Every code of its chain from 256 up
  // moves to the newest end of the use order, the code itself the oldest
  // of them.
  void ExpandCode(uint32_t code, unsigned char* phrase) {
    unsigned char* at = phrase + entry_[code].length;
    if (code < kFirstPhraseCode) {
      phrase[0] = static_cast<unsigned char>(code);
      return;
    }
    // Each code of the chain leaves the use order and is linked to its
    // neighbours in the chain; the chain then goes in at the newest end.
    uint32_t child = code;
    uint32_t link = code;
    do {
      Entry& entry = entry_[link];
      *--at = entry.last_byte;
      entry_[entry.newer].older = entry.older;
      entry_[entry.older].newer = entry.newer;
      const uint32_t parent = entry.parent;
      entry.newer = static_cast<uint16_t>(parent);
      entry.older = static_cast<uint16_t>(child);
      child = link;
      link = parent;
    } while (link >= kFirstPhraseCode);
    *--at = static_cast<unsigned char>(link);
    const uint32_t newest = entry_[kSentinel].older;
    entry_[code].older = static_cast<uint16_t>(newest);
    entry_[newest].newer = static_cast<uint16_t>(code);
    entry_[child].newer = kSentinel;
    entry_[kSentinel].older = static_cast<uint16_t>(child);
  }

  // After every symbol: teaches the dictionary the previous phrase (code
  // `previous`, `previous_length` bytes) extended by each prefix of the
  // current phrase, up to 128 bytes, shortest first. Nothing when previous
  // is kNoCode.
  void AddCodes(uint32_t previous, uint32_t previous_length, const unsigned char* phrase, uint32_t length) {
    if (previous == kNoCode) return;
    const uint32_t room = kMaxPhraseLength - previous_length;
    const uint32_t end = length < room ? length : room;
    uint32_t at = previous;
    uint32_t i = 0;
    // Walk down the phrases that exist already, then make the rest: a code
    // just made has no children to search.
    for (; i < end; ++i) {
      const uint32_t child = FindChild(at, phrase[i]);
      if (child == kNoCode) break;
      at = child;
    }
    if (i < end) MakeRun(at, previous_length + i, phrase + i, end - i);
  }

  // For the tests: the phrases and the use order as they stand.
  uint32_t Oldest() const { return entry_[kSentinel].newer; }                // kNoCode when empty
  uint32_t Newer(uint32_t code) const { return entry_[code].newer; }         // kNoCode past the newest

 private:
  // Closes the use order into a ring: its newer link is the oldest code,
  // its older link the newest.
  static constexpr uint32_t kSentinel = kNoCode;

  struct Entry {
    uint16_t parent;
    unsigned char last_byte;
    unsigned char length;  // of the phrase, 1 to 128
    uint16_t newer;        // use order, towards the newest
    uint16_t older;        // use order, towards the oldest
  };

  // Makes `count` codes: `at` (a phrase of at_length bytes) extended by
  // each of the bytes in turn.
  void MakeRun(uint32_t at, uint32_t at_length, const unsigned char* bytes, uint32_t count) {
    if (count == 1) {
      MakeCode(at, at_length, bytes[0]);
    } else if (next_free_code_ == kCodeCount) {
      MakeRecycledRun(at, at_length, bytes, count);
    } else {
      MakeFreshRun(at, at_length, bytes, count);
    }
  }
  // The table is laid out by byte, then parent: the bytes a block uses
  // seldom span all 256, so its slots in use stay closer together.
  static uint32_t ChildSlot(uint32_t parent, unsigned char byte) { return uint32_t{byte} << 12 | parent; }

  void MakeCode(uint32_t at, uint32_t at_length, unsigned char byte);
  void MakeFreshRun(uint32_t at, uint32_t at_length, const unsigned char* bytes, uint32_t count);
  void MakeRecycledRun(uint32_t at, uint32_t at_length, const unsigned char* bytes, uint32_t count);
  void LinkRun(uint32_t anchor, uint32_t first, uint32_t last);
  void WriteEntry(uint32_t code, uint32_t parent, unsigned char byte, uint32_t length, uint32_t newer, uint32_t older);
  // An entry's fields in one word, laid out as the entry is on
  // little-endian hosts.
  static constexpr uint64_t EntryWord(uint32_t parent, uint32_t byte, uint32_t length, uint32_t newer, uint32_t older) {
    return parent | byte << 16 | length << 24 | uint64_t{newer} << 32 | uint64_t{older} << 48;
  }
  void StoreEntry(uint32_t code, uint64_t word);

  Entry entry_[kCodeCount + 1];
  uint16_t child_[kCodeCount << 8];
  uint32_t next_free_code_;
  uint32_t code_width_;
  uint32_t code_capacity_;
};

}  // namespace codec

#include "codec/dictionary.h"

#include <bit>
#include <cstring>

namespace codec {

void Dictionary::Reset() {
  for (uint32_t i = 0; i < kFirstPhraseCode; ++i) {
    entry_[i] = Entry{kNoCode, static_cast<unsigned char>(i), 1, kNoCode, kNoCode};
  }
  entry_[kSentinel] = Entry{kNoCode, 0, 0, kSentinel, kSentinel};
  next_free_code_ = kFirstPhraseCode;
  code_width_ = 1;
  code_capacity_ = 2;
}

// On little-endian hosts the word is the entry's bytes: one store, which
// compilers do not always make of the five fields on their own.
inline void Dictionary::StoreEntry(uint32_t code, uint64_t word) {
  if constexpr (std::endian::native == std::endian::little && sizeof(Entry) == 8) {
    memcpy(&entry_[code], &word, sizeof word);
  } else {
    entry_[code] = Entry{static_cast<uint16_t>(word), static_cast<unsigned char>(word >> 16),
                         static_cast<unsigned char>(word >> 24), static_cast<uint16_t>(word >> 32),
                         static_cast<uint16_t>(word >> 48)};
  }
}

// A code's whole entry, and its slot in the child table. Always inline: a
// call per code made costs more than the body, even where size counts.
[[gnu::always_inline]] inline void Dictionary::WriteEntry(uint32_t code, uint32_t parent, unsigned char byte, uint32_t length,
                                   uint32_t newer, uint32_t older) {
  StoreEntry(code, EntryWord(parent, byte, length, newer, older));
  child_[ChildSlot(parent, byte)] = static_cast<uint16_t>(code);
}

// Each code made is the child of the one before, so it belongs just older
// than it: the codes made after a phrase form one run, just older than the
// code extended first (the anchor), or at the newest end when that is a
// byte. Each entry is written once, with the run's links, and the run is
// linked in at the end.

// A run of one code, the common case (after every literal, for one), made
// with fewer steps.
void Dictionary::MakeCode(uint32_t at, uint32_t at_length, unsigned char byte) {
  const uint32_t anchor = at >= kFirstPhraseCode ? at : kSentinel;
  uint32_t code = next_free_code_;
  if (code < kCodeCount) {
    ++next_free_code_;
  } else {
    code = entry_[kSentinel].newer;
    if (code == anchor) return;
    const uint32_t next = entry_[code].newer;
    entry_[kSentinel].newer = static_cast<uint16_t>(next);
    entry_[next].older = kSentinel;
  }
  const uint32_t older = entry_[anchor].older;
  WriteEntry(code, at, byte, at_length + 1, anchor, older);
  entry_[older].newer = static_cast<uint16_t>(code);
  entry_[anchor].older = static_cast<uint16_t>(code);
}

void Dictionary::MakeFreshRun(uint32_t at, uint32_t at_length, const unsigned char* bytes, uint32_t count) {
  const uint32_t anchor = at >= kFirstPhraseCode ? at : kSentinel;
  const uint32_t available = kCodeCount - next_free_code_;
  const uint32_t fresh = count < available ? count : available;
  const uint32_t first = next_free_code_;
  WriteEntry(first, at, bytes[0], at_length + 1, anchor, first + 1);
  // From the second code on, parent, length and both links each grow by
  // one from code to code: only the byte is new.
  uint64_t word = EntryWord(first, 0, at_length + 2, first, first + 2);
  for (uint32_t i = 1; i < fresh; ++i, word += EntryWord(1, 0, 1, 1, 1)) {
    StoreEntry(first + i, word | EntryWord(0, bytes[i], 0, 0, 0));
    child_[ChildSlot(first + i - 1, bytes[i])] = static_cast<uint16_t>(first + i);
  }
  const uint32_t last = first + fresh - 1;
  next_free_code_ += fresh;
  LinkRun(anchor, first, last);
  // Fresh codes ran out: the rest extend the last one made, from the
  // oldest codes, as a run of their own just older than it.
  if (fresh < count) MakeRecycledRun(last, at_length + fresh, bytes + fresh, count - fresh);
}

// The oldest codes are taken in use order; taking stops where that walk
// reaches the anchor, which is when the oldest code would be the one to
// extend. The codes taken leave the oldest end all at once.
void Dictionary::MakeRecycledRun(uint32_t at, uint32_t at_length, const unsigned char* bytes, uint32_t count) {
  const uint32_t anchor = at >= kFirstPhraseCode ? at : kSentinel;
  const uint32_t first = entry_[kSentinel].newer;
  if (first == anchor) return;
  uint32_t code = first;
  uint32_t next = entry_[code].newer;
  WriteEntry(code, at, bytes[0], at_length + 1, anchor, next);
  for (uint32_t i = 1; i < count && next != anchor; ++i) {
    const uint32_t parent = code;
    code = next;
    next = entry_[code].newer;
    WriteEntry(code, parent, bytes[i], at_length + i + 1, parent, next);
  }
  entry_[kSentinel].newer = static_cast<uint16_t>(next);  // the first code not taken
  entry_[next].older = kSentinel;
  LinkRun(anchor, first, code);
}

// Puts the run from `first` (newest) to `last` (oldest), linked among
// itself, just older than the anchor.
void Dictionary::LinkRun(uint32_t anchor, uint32_t first, uint32_t last) {
  const uint32_t older = entry_[anchor].older;
  entry_[last].older = static_cast<uint16_t>(older);
  entry_[older].newer = static_cast<uint16_t>(last);
  entry_[anchor].older = static_cast<uint16_t>(first);
}

}  // namespace codec

#include "codec/dictionary.h"

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

// Each code made is the child of the one before, so it belongs just older
// than it: the codes made form one run, just older than `at` (at the newest
// end when `at` is a byte). Fresh codes come first, then the oldest ones in
// use order; making stops when that walk reaches the run's place, which is
// when the oldest code would be the one being extended. Each entry is
// written once, and the run is linked in at the end.
void Dictionary::MakeRun(uint32_t at, uint32_t at_length, const unsigned char* bytes, uint32_t count) {
  const uint32_t anchor = at >= kFirstPhraseCode ? at : kSentinel;
  const uint32_t first = next_free_code_ < kCodeCount ? next_free_code_ : entry_[kSentinel].newer;
  const unsigned char* const end = bytes + count;
  uint32_t parent = at;
  uint32_t newer = anchor;
  uint32_t length = at_length;
  auto attach = [&](uint32_t code, uint32_t older) {
    const unsigned char byte = *bytes++;
    entry_[code] = Entry{static_cast<uint16_t>(parent), byte, static_cast<unsigned char>(++length),
                         static_cast<uint16_t>(newer), static_cast<uint16_t>(older)};
    child_[parent << 8 | byte] = static_cast<uint16_t>(code);
    parent = newer = code;
  };
  // The older link written with each code is the next code's, should one
  // follow; the last code's is set when the run is linked in.
  while (bytes != end && next_free_code_ < kCodeCount) {
    attach(next_free_code_, next_free_code_ + 1);
    ++next_free_code_;
  }
  uint32_t oldest = entry_[kSentinel].newer;
  if (bytes != end && parent != at) entry_[parent].older = static_cast<uint16_t>(oldest);
  while (bytes != end && oldest != anchor) {
    const uint32_t code = oldest;
    oldest = entry_[code].newer;
    attach(code, oldest);
  }
  if (parent == at) return;  // the oldest code was the one to extend

  // The recycled codes leave the oldest end...
  entry_[kSentinel].newer = static_cast<uint16_t>(oldest);
  entry_[oldest].older = kSentinel;
  // ...and the run goes in just older than the anchor.
  const uint32_t older = entry_[anchor].older;
  entry_[parent].older = static_cast<uint16_t>(older);
  entry_[older].newer = static_cast<uint16_t>(parent);
  entry_[anchor].older = static_cast<uint16_t>(first);
}

}  // namespace codec

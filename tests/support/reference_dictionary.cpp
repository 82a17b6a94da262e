#include "tests/support/reference_dictionary.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <list>

#include "codec/decoder.h"

namespace reference {
namespace {

using codec::kCodeCount;
using codec::kFirstPhraseCode;
using codec::kMaxPhraseLength;
using codec::kNoCode;

class Dictionary {
 public:
  Dictionary() {
    for (uint32_t byte = 0; byte < kFirstPhraseCode; ++byte) {
      codes_.push_back({kNoCode, static_cast<unsigned char>(byte), order_.end()});
    }
  }

  // Before every symbol: one bit more once the codes made fill the width.
  void ApplyWidthCheck() {
    if (codes_.size() - kFirstPhraseCode >= capacity_) {
      capacity_ *= 2;
      ++width_;
    }
  }
  uint32_t code_width() const { return width_; }

  // One symbol: appends its phrase to `out`, moves the code and its parents
  // from 256 up to the newest end (the code the oldest of them) and teaches
  // the previous phrase extended by each prefix of this one, up to 128
  // bytes. Symbol 4096 is the empty phrase: nothing to extend next. False,
  // with nothing done, for a code not made yet.
  bool Decode(uint32_t symbol, Bytes& out) {
    if (symbol == kNoCode) {
      previous_ = kNoCode;
      return true;
    }
    if (symbol >= codes_.size()) return false;
    Bytes phrase;
    uint32_t code = symbol;
    for (; code >= kFirstPhraseCode; code = codes_[code].parent) {
      phrase.push_back(codes_[code].last_byte);
      order_.splice(order_.end(), order_, codes_[code].in_order);
    }
    phrase.push_back(static_cast<unsigned char>(code));
    std::reverse(phrase.begin(), phrase.end());
    if (previous_ != kNoCode) Extend(phrase);
    previous_ = symbol;
    previous_length_ = phrase.size();
    out.insert(out.end(), phrase.begin(), phrase.end());
    return true;
  }

 private:
  struct Code {
    uint32_t parent;
    unsigned char last_byte;
    std::list<uint32_t>::iterator in_order;
  };

  void Extend(const Bytes& phrase) {
    uint32_t at = previous_;
    for (size_t i = 0; i < phrase.size() && previous_length_ + i < kMaxPhraseLength; ++i) {
      const uint32_t key = at << 8 | phrase[i];
      if (children_[key] != 0) {
        at = children_[key];
        continue;
      }
      uint32_t code = static_cast<uint32_t>(codes_.size());
      if (code < kCodeCount) {
        codes_.push_back({});
      } else {
        // The oldest code, which has no children: each code stands older
        // than its parent. Nothing more is made once it is the one extended.
        code = order_.front();
        if (code == at) return;
        order_.pop_front();
        children_[codes_[code].parent << 8 | codes_[code].last_byte] = 0;
      }
      children_[key] = static_cast<uint16_t>(code);
      // A child of a byte goes to the newest end, a child of a phrase just
      // older than its parent.
      const auto place = at < kFirstPhraseCode ? order_.end() : codes_[at].in_order;
      codes_[code] = {at, phrase[i], order_.insert(place, code)};
      at = code;
    }
  }

  std::vector<Code> codes_;
  // By parent << 8 | last byte; 0 (never a child) for none.
  std::vector<uint16_t> children_ = std::vector<uint16_t>(kCodeCount << 8);
  std::list<uint32_t> order_;  // oldest first
  uint32_t width_ = 1;
  uint32_t capacity_ = 2;
  uint32_t previous_ = kNoCode;
  size_t previous_length_ = 0;
};

}  // namespace

Bytes Decompress(const Bytes& block) {
  if (block.size() < 4 || !std::equal(block.begin(), block.begin() + 4, codec::kCompressionSignature)) return block;
  uint64_t stated = 0;  // a block too short to state a length decodes to nothing
  for (size_t i = 7; block.size() >= 8 && i >= 4; --i) stated = stated << 8 | block[i];
  size_t bit = 64;  // the stream, with 1-bits past the block's end
  auto take = [&](uint32_t count) {
    uint32_t value = 0;
    for (; count > 0; --count, ++bit) {
      value = value << 1 | (bit / 8 < block.size() ? block[bit / 8] >> (7 - bit % 8) & 1 : 1);
    }
    return value;
  };
  Dictionary dictionary;
  Bytes out;
  while (out.size() < stated) {
    dictionary.ApplyWidthCheck();
    const uint32_t symbol = take(1) == 0 ? take(8) : take(dictionary.code_width()) + kFirstPhraseCode;
    if (!dictionary.Decode(symbol, out)) break;
  }
  return out;
}

}  // namespace reference

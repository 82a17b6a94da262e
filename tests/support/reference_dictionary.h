// The reference model of the codec: the dictionary and the decode loop as
// plainly as they can be written, with standard containers and no care
// for speed, for checking the codec's decoder against.
//
// Codes 0 to 255 are the bytes themselves; each code from 256 up is a
// phrase of 2 to 128 bytes, its parent's phrase plus one last byte. The
// codes from 256 up also stand in a use order from oldest to newest; once
// all 4096 are made, the oldest one is recycled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <vector>

#include "codec/code_space.h"

namespace reference {

using Bytes = std::vector<unsigned char>;
using codec::kCodeCount;
using codec::kFirstPhraseCode;
using codec::kMaxPhraseLength;
using codec::kNoCode;

class Dictionary {
 public:
  Dictionary();

  // Before every symbol: one bit more once the codes made fill the width.
  void ApplyWidthCheck();
  uint32_t code_width() const { return width_; }
  uint32_t next_free_code() const { return static_cast<uint32_t>(codes_.size()); }

  // One symbol: appends its phrase to `out`, moves the code and its parents
  // from 256 up to the newest end (the code the oldest of them) and teaches
  // the previous phrase extended by each prefix of this one, up to 128
  // bytes. Symbol 4096 is the empty phrase: nothing to extend next. False,
  // with nothing done, for a code not made yet.
  bool Decode(uint32_t symbol, Bytes& out);

 private:
  struct Code {
    uint32_t parent;
    unsigned char last_byte;
    std::list<uint32_t>::iterator in_order;
  };
  void Extend(const Bytes& phrase);

  std::vector<Code> codes_;
  // By parent << 8 | last byte; 0 (never a child) for none.
  std::vector<uint16_t> children_ = std::vector<uint16_t>(kCodeCount << 8);
  std::list<uint32_t> order_;  // oldest first
  uint32_t width_ = 1;
  uint32_t capacity_ = 2;
  uint32_t previous_ = kNoCode;
  size_t previous_length_ = 0;
};

// What DecompressBlock leaves in a Block buffer that held `block`: the
// decoded bytes for a block with the compression signature, else the block.
Bytes Decompress(const Bytes& block);

}  // namespace reference

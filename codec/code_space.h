// The codes both sides of the dictionary coder use: 0 to 255 stand for the
// bytes themselves, 256 to 4095 for phrases of 2 to 128 bytes.
#pragma once

#include <cstdint>

namespace codec {

constexpr uint32_t kCodeCount = 4096;
constexpr uint16_t kNoCode = 4096;  // "none": no such code
constexpr uint16_t kFirstPhraseCode = 256;
constexpr uint32_t kMaxPhraseLength = 128;

}  // namespace codec

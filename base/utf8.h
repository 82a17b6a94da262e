// The one rule for well-formed UTF-8: what a sequence is, and whether a
// whole text is made of them. Overlong forms, surrogates (U+D800-U+DFFF),
// values above U+10FFFF and cut sequences are no UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace base {

// The bytes (1 to 4) of the well-formed sequence at text, of which
// `available` bytes may be read; 0 when none starts there. *code, when
// given, receives the character's value.
size_t Utf8SequenceLength(const unsigned char* text, size_t available, uint32_t* code = nullptr);

bool IsUtf8(const std::string& text);
bool IsAscii(const std::string& text);

}  // namespace base

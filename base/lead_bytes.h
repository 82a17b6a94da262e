// Which bytes of a Windows code page begin a double-byte character.
//
// Names and paths are 8-bit texts in the code page of the system that
// wrote them. In the double-byte code pages the second byte of many
// characters is 0x5C, the byte of the backslash: in Shift-JIS (932) ソ is
// 83 5C and 表 is 95 5C. Whoever walks such a text byte by byte must take
// a lead byte and the byte after it as one character, as the C runtime's
// path splitter does under its multibyte code page.
#pragma once

#include <cstddef>
#include <cstdint>

namespace base {

constexpr uint32_t kCodePageShiftJis = 932;
constexpr uint32_t kCodePageWestern = 1252;  // Windows' Latin-1

class LeadBytes {
 public:
  // No lead bytes: single-byte code pages, and UTF-8, whose multi-byte
  // characters never hold a byte below 0x80.
  constexpr LeadBytes() = default;
  // The lead bytes Windows gives the code page: 932, 936, 949, 950 and 1361
  // have them, every other code page has none.
  static LeadBytes OfCodePage(uint32_t code_page);

  bool IsLead(unsigned char byte) const { return (bits_[byte >> 5] >> (byte & 31)) & 1u; }
  bool Any() const;
  // Bytes of the character at text: 2 for a lead byte with a byte other
  // than the terminator behind it, else 1 (a lead byte at the end stands
  // alone, and nothing past the terminator is read).
  size_t CharLength(const char* text) const {
    return IsLead(static_cast<unsigned char>(text[0])) && text[1] != '\0' ? 2 : 1;
  }

 private:
  void Add(unsigned char first, unsigned char last);
  uint32_t bits_[8] = {};
};

}  // namespace base

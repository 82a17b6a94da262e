// What a stored name's bytes are, read in one code page: each character
// sorted into a kind that says how likely a real file name is to hold it.
// The chooser of a name's code page weighs these kinds; it needs no
// conversion, so it runs alike in the tool, on Windows and in the browser.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/lead_bytes.h"

namespace decode {

enum class Glyph : uint8_t {
  kEnd,      // no more characters
  kInvalid,  // bytes that are no character of the code page: the reading is out
  kAsciiLetter,
  kAsciiDigit,
  kAsciiOther,  // space, punctuation, the folder separator
  // Windows-1252
  kLatinLetter,      // À-ÿ but × and ÷
  kLatinRareLetter,  // Š Œ Ž š œ ž Ÿ, between the symbols of 0x80-0x9F
  kLatinSymbol,      // € ‚ ƒ „ … † and the others from 0x80 to 0xBF, × ÷
  // Shift-JIS as Windows has it (932)
  kHalfWidthKana,   // single bytes 0xA1-0xDF
  kKana,            // hiragana, katakana, ー and the kana marks
  kKanji1,          // level-1 kanji: the common ones
  kKanji2,          // level-2 kanji: the rare ones
  kPunctuation,     // the first row: 、。・（）「」 and the like
  kFullWidthAlnum,  // ０-９, Ａ-Ｚ, ａ-ｚ
  kRareSymbol,      // the second row, Greek, Cyrillic, box drawing
  kNecSpecial,      // ① Ⅰ ㈱ and the other characters of the NEC row
  kVendorKanji,     // the NEC-selected and IBM extension kanji
  kUserDefined,     // the user-defined area (private use)
  // UTF-8: one multi-byte sequence each
  kUtf8Latin,       // a letter of Latin-1 or Latin Extended-A (U+00C0-U+017F)
  kUtf8Japanese,    // kana, kanji, CJK punctuation, full- and half-width forms
  kUtf8Punctuation, // U+00A0-U+00BF, punctuation and common symbols (’ – € ™ ½ → ★ ♪)
  kUtf8Other,       // any other script or symbol
  kUtf8Unlikely,    // C1 controls, private use, specials
};

// Reads a stored text one character at a time in code page 932, 1252 or
// 65001 (UTF-8).
class GlyphReader {
 public:
  GlyphReader(uint32_t code_page, const std::string& text);
  Glyph Next();

 private:
  Glyph NextShiftJis();
  Glyph NextWestern();
  Glyph NextUtf8();

  uint32_t code_page_;
  base::LeadBytes lead_;
  const unsigned char* text_;
  size_t size_;
  size_t at_ = 0;
};

bool IsAscii(Glyph glyph);

}  // namespace decode

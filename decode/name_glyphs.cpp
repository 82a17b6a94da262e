#include "decode/name_glyphs.h"

#include "base/utf8.h"
#include "platform/text_codes.h"

namespace decode {
namespace {

// The double-byte characters that code page 932 assigns, as its converters
// (Windows', glibc's, the browsers') read them, by kind. A pair outside
// every range, or with a second byte outside 0x40-0x7E and 0x80-0xFC, is
// no character.
struct ShiftJisRange {
  uint16_t first;
  uint16_t last;
  Glyph glyph;
};
constexpr ShiftJisRange kShiftJisRanges[] = {
    {0x8140, 0x8151, Glyph::kPunctuation},
    {0x8152, 0x815B, Glyph::kKana},  // ヽヾゝゞ〃仝々〆〇ー
    {0x815C, 0x819E, Glyph::kPunctuation},
    {0x819F, 0x81AC, Glyph::kRareSymbol},
    {0x81B8, 0x81BF, Glyph::kRareSymbol},
    {0x81C8, 0x81CE, Glyph::kRareSymbol},
    {0x81DA, 0x81E8, Glyph::kRareSymbol},
    {0x81F0, 0x81F7, Glyph::kRareSymbol},
    {0x81FC, 0x81FC, Glyph::kRareSymbol},
    {0x824F, 0x8258, Glyph::kFullWidthAlnum},
    {0x8260, 0x8279, Glyph::kFullWidthAlnum},
    {0x8281, 0x829A, Glyph::kFullWidthAlnum},
    {0x829F, 0x82F1, Glyph::kKana},
    {0x8340, 0x8396, Glyph::kKana},
    {0x839F, 0x83B6, Glyph::kRareSymbol},
    {0x83BF, 0x83D6, Glyph::kRareSymbol},
    {0x8440, 0x8460, Glyph::kRareSymbol},
    {0x8470, 0x8491, Glyph::kRareSymbol},
    {0x849F, 0x84BE, Glyph::kRareSymbol},
    {0x8740, 0x875D, Glyph::kNecSpecial},
    {0x875F, 0x8775, Glyph::kNecSpecial},
    {0x877E, 0x877E, Glyph::kNecSpecial},
    {0x8780, 0x879C, Glyph::kNecSpecial},
    {0x889F, 0x9872, Glyph::kKanji1},
    {0x989F, 0xEAA4, Glyph::kKanji2},
    {0xED40, 0xEEEC, Glyph::kVendorKanji},
    {0xEEEF, 0xEEFC, Glyph::kVendorKanji},
    {0xF040, 0xF9FC, Glyph::kUserDefined},
    {0xFA40, 0xFC4B, Glyph::kVendorKanji},
};

Glyph ShiftJisPair(unsigned char lead, unsigned char trail) {
  if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return Glyph::kInvalid;
  const uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
  for (const ShiftJisRange& range : kShiftJisRanges)
    if (code >= range.first && code <= range.last) return range.glyph;
  return Glyph::kInvalid;
}

Glyph AsciiGlyph(unsigned char byte) {
  if ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z') return Glyph::kAsciiLetter;
  if (byte >= '0' && byte <= '9') return Glyph::kAsciiDigit;
  return Glyph::kAsciiOther;
}

Glyph Utf8Glyph(uint32_t code) {
  if (code < 0xA0 || (code >= 0xE000 && code <= 0xF8FF) || code >= 0xFFF0) return Glyph::kUtf8Unlikely;
  // Punctuation, currency, letterlike and number forms, arrows, shapes, ★ ♪.
  if (code < 0xC0 || (code >= 0x2000 && code <= 0x21FF) || (code >= 0x25A0 && code <= 0x27BF))
    return Glyph::kUtf8Punctuation;
  if (code <= 0x17F && code != 0xD7 && code != 0xF7) return Glyph::kUtf8Latin;
  if ((code >= 0x3000 && code <= 0x30FF) || (code >= 0x4E00 && code <= 0x9FFF) ||
      (code >= 0xFF00 && code <= 0xFFEF))
    return Glyph::kUtf8Japanese;
  return Glyph::kUtf8Other;
}

}  // namespace

GlyphReader::GlyphReader(uint32_t code_page, const std::string& text)
    : code_page_(code_page),
      lead_(base::LeadBytes::OfCodePage(code_page)),
      text_(reinterpret_cast<const unsigned char*>(text.data())),
      size_(text.size()) {}

Glyph GlyphReader::Next() {
  if (at_ >= size_) return Glyph::kEnd;
  if (text_[at_] < 0x80) return AsciiGlyph(text_[at_++]);
  if (code_page_ == base::kCodePageShiftJis) return NextShiftJis();
  if (code_page_ == base::kCodePageWestern) return NextWestern();
  if (code_page_ == platform::kUtf8CodePage) return NextUtf8();
  return Glyph::kInvalid;
}

Glyph GlyphReader::NextShiftJis() {
  const unsigned char byte = text_[at_++];
  if (byte >= 0xA1 && byte <= 0xDF) return Glyph::kHalfWidthKana;
  if (!lead_.IsLead(byte) || at_ >= size_) return Glyph::kInvalid;
  return ShiftJisPair(byte, text_[at_++]);
}

Glyph GlyphReader::NextWestern() {
  const unsigned char byte = text_[at_++];
  switch (byte) {
    case 0x81: case 0x8D: case 0x8F: case 0x90: case 0x9D:
      return Glyph::kInvalid;  // the five bytes Windows-1252 leaves undefined
    case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C: case 0x9E: case 0x9F:
      return Glyph::kLatinRareLetter;
    case 0xD7: case 0xF7:
      return Glyph::kLatinSymbol;
    default:
      return byte >= 0xC0 ? Glyph::kLatinLetter : Glyph::kLatinSymbol;
  }
}

Glyph GlyphReader::NextUtf8() {
  uint32_t code = 0;
  const size_t length = base::Utf8SequenceLength(text_ + at_, size_ - at_, &code);
  if (length == 0) return Glyph::kInvalid;
  at_ += length;
  return Utf8Glyph(code);
}

bool IsAscii(Glyph glyph) {
  return glyph == Glyph::kAsciiLetter || glyph == Glyph::kAsciiDigit || glyph == Glyph::kAsciiOther;
}

}  // namespace decode

#include "decode/name_code_page.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "base/lead_bytes.h"
#include "base/utf8.h"
#include "decode/name_glyphs.h"
#include "platform/text_codes.h"

namespace decode {
namespace {

// Readings nearer than this are reported as close.
constexpr int64_t kCloseMargin = 6;

bool IsBeyondAscii(Glyph glyph) { return glyph >= Glyph::kLatinLetter; }
bool IsCommonDoubleByte(Glyph glyph) {
  return glyph >= Glyph::kKana && glyph <= Glyph::kFullWidthAlnum && glyph != Glyph::kKanji2;
}
bool IsUtf8Sequence(Glyph glyph) { return glyph >= Glyph::kUtf8Latin; }

// The neighbours of a character, as the weights ask about them.
struct Beside {
  Glyph before, after;
  bool Either(bool (*test)(Glyph)) const { return test(before) || test(after); }
  bool Either(Glyph glyph) const { return before == glyph || after == glyph; }
  bool Both(bool (*test)(Glyph)) const { return test(before) && test(after); }
};

// Real Western names put an accented letter among letters and a symbol
// alone; Windows-1252 misreadings of other code pages give runs of
// symbols and accented letters without a plain letter by them.
int WesternWeight(Glyph glyph, const Beside& beside) {
  const bool by_ascii_letter = beside.Either(Glyph::kAsciiLetter);
  switch (glyph) {
    case Glyph::kLatinLetter: return by_ascii_letter ? 5 : beside.Either(Glyph::kLatinLetter) ? 1 : 0;
    case Glyph::kLatinRareLetter: return by_ascii_letter ? 2 : -2;
    default:  // a symbol
      if (beside.Both(IsBeyondAscii)) return -6;
      if (beside.Either(Glyph::kLatinSymbol) || beside.Either(Glyph::kLatinRareLetter)) return -4;
      if (beside.Either(Glyph::kLatinLetter)) return -1;
      return by_ascii_letter ? 3 : 1;
  }
}

// Japanese names run their kana and kanji together and their half-width
// katakana too; Shift-JIS misreadings of Western names give a lone rare
// kanji, vendor or user-defined character, from an accented letter and
// the ASCII letter after it, a lone common kanji from ’ or – and the
// letter after it, and lone half-width characters from capitals.
int ShiftJisWeight(Glyph glyph, const Beside& beside) {
  if (glyph == Glyph::kHalfWidthKana) {
    if (beside.Either(Glyph::kAsciiLetter)) return -1;
    if (beside.before == Glyph::kHalfWidthKana && beside.after == Glyph::kHalfWidthKana) return 5;
    return beside.Either(Glyph::kHalfWidthKana) ? 3 : -3;
  }
  int weight = beside.Either(IsCommonDoubleByte) ? 4 : beside.Either(Glyph::kKanji2) ? 2 : -2;
  if (beside.before == Glyph::kAsciiLetter) {
    const bool rare = glyph == Glyph::kKanji2 || glyph >= Glyph::kVendorKanji;
    weight -= (rare ? 6 : 2) + (beside.after == Glyph::kAsciiLetter ? 4 : 0);
  }
  switch (glyph) {
    case Glyph::kKana: return weight + 6;
    case Glyph::kKanji1: return weight + 5;
    case Glyph::kKanji2: return weight + 1;
    case Glyph::kPunctuation: return weight + 2;
    case Glyph::kFullWidthAlnum: return weight + 2;
    case Glyph::kRareSymbol: return weight - 2;
    case Glyph::kNecSpecial: return weight;
    case Glyph::kVendorKanji: return weight - 4;
    default: return weight - 10;  // user-defined
  }
}

// Any well-formed multi-byte sequence is a sign of UTF-8, the more so as
// it gives a letter among letters of its own script; other code pages
// make such sequences only by chance, mixing scripts.
int Utf8Weight(Glyph glyph, const Beside& beside) {
  const bool by_other_kind = (IsUtf8Sequence(beside.before) && beside.before != glyph) ||
                             (IsUtf8Sequence(beside.after) && beside.after != glyph);
  switch (glyph) {
    case Glyph::kUtf8Latin: return beside.Either(Glyph::kAsciiLetter) ? 12 : 7;
    case Glyph::kUtf8Japanese: return by_other_kind ? 8 : 16;
    case Glyph::kUtf8Punctuation: return 10;
    case Glyph::kUtf8Other:
      if (by_other_kind || beside.Either(Glyph::kAsciiLetter)) return 0;
      return beside.Either(Glyph::kUtf8Other) ? 8 : 2;
    default: return -12;  // unlikely
  }
}

// What one character says for the reading that made it, beside its
// neighbours; ASCII is alike in every reading and says nothing.
int GlyphWeight(Glyph before, Glyph glyph, Glyph after) {
  const Beside beside{before, after};
  if (IsAscii(glyph)) return 0;
  if (glyph <= Glyph::kLatinSymbol) return WesternWeight(glyph, beside);
  if (glyph <= Glyph::kUserDefined) return ShiftJisWeight(glyph, beside);
  return Utf8Weight(glyph, beside);
}

// The weight of a text in a code page; none when it is no text of it.
std::optional<int64_t> Weigh(uint32_t code_page, const std::string& text) {
  GlyphReader reader(code_page, text);
  Glyph before = Glyph::kEnd;
  Glyph glyph = reader.Next();
  int64_t weight = 0;
  while (glyph != Glyph::kEnd) {
    const Glyph after = reader.Next();
    if (glyph == Glyph::kInvalid || after == Glyph::kInvalid) return std::nullopt;
    weight += GlyphWeight(before, glyph, after);
    before = glyph;
    glyph = after;
  }
  return weight;
}

struct Candidate {
  uint32_t code_page;
  int unread = 0;  // texts that are no text of the code page
  int64_t weight = 0;
};

// Fewer texts it cannot read first, then the greater weight; stable, so
// that ties keep the order of preference.
bool ReadsBetter(const Candidate& one, const Candidate& other) {
  return one.unread != other.unread ? one.unread < other.unread : one.weight > other.weight;
}

}  // namespace

NameReading ChooseNameCodePage(const std::vector<std::string>& stored_texts) {
  // In order of preference when weights tie: the code pages of Windows
  // first, which wrote most archives.
  Candidate candidates[] = {{base::kCodePageWestern}, {base::kCodePageShiftJis}, {platform::kUtf8CodePage}};
  bool any_beyond_ascii = false;
  for (const std::string& text : stored_texts) {
    if (base::IsAscii(text)) continue;
    any_beyond_ascii = true;
    for (Candidate& candidate : candidates) {
      const std::optional<int64_t> weight = Weigh(candidate.code_page, text);
      candidate.unread += !weight;
      candidate.weight += weight.value_or(0);
    }
  }
  NameReading reading;
  if (!any_beyond_ascii) return reading;
  std::stable_sort(std::begin(candidates), std::end(candidates), ReadsBetter);
  const Candidate& best = candidates[0];
  const Candidate& second = candidates[1];
  reading.code_page = best.code_page;
  if (best.unread == 0 && second.unread == 0) {
    reading.runner_up = second.code_page;
    reading.close = best.weight - second.weight < kCloseMargin;
  }
  return reading;
}

}  // namespace decode

// The codec's dictionary: "abcabcabcabc" symbol by symbol, and recycling
// that stops at the code being extended. Against the reference model it is
// checked through the decoder, over real and damaged blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "codec/dictionary.h"
#include "encoder/sample_data.h"

namespace {

using codec::Dictionary;
using codec::kFirstPhraseCode;
using codec::kNoCode;

// Garbage is written over every byte first: nothing may depend on what the
// dictionary held before its reset.
std::unique_ptr<Dictionary> FreshDictionary() {
  auto d = std::make_unique<Dictionary>();
  memset(static_cast<void*>(d.get()), 0xA5, sizeof(Dictionary));
  d->Reset();
  return d;
}

// The phrase of a code, read along its parents without moving anything.
std::string Phrase(const Dictionary& d, uint32_t code) {
  std::string phrase;
  for (; code >= kFirstPhraseCode; code = d.Parent(code)) phrase.insert(phrase.begin(), static_cast<char>(d.LastByte(code)));
  return static_cast<char>(code) + phrase;
}

std::vector<uint32_t> UseOrder(const Dictionary& d) {
  std::vector<uint32_t> order;
  for (uint32_t c = d.Oldest(); c != kNoCode && order.size() <= codec::kCodeCount; c = d.Newer(c)) order.push_back(c);
  return order;
}

// Symbols as the decoder expands them; 4096 is the empty phrase.
struct Session {
  Session() : d(FreshDictionary()) {}
  std::string Symbol(uint32_t code) {
    if (code == kNoCode) {
      previous = kNoCode;
      return "";
    }
    unsigned char buffer[codec::kMaxPhraseLength];
    const uint32_t length = d->PhraseLength(code);
    d->ExpandCode(code, buffer);
    d->AddCodes(previous, previous_length, buffer, length);
    previous = code;
    previous_length = length;
    return std::string(reinterpret_cast<char*>(buffer), length);
  }
  std::unique_ptr<Dictionary> d;
  uint32_t previous = kNoCode;
  uint32_t previous_length = 0;
};

TEST(Dictionary, FollowsAbcRepeatedSymbolBySymbol) {
  Session s;
  std::vector<uint32_t> widths;
  for (uint32_t code : {97u, 98u, 99u, 256u, 259u, 259u, 99u}) {  // a b c 256 259 259 c
    s.d->ApplyWidthCheck();
    widths.push_back(s.d->code_width());
    EXPECT_EQ(s.Symbol(code), Phrase(*s.d, code));
  }
  EXPECT_EQ(widths, (std::vector<uint32_t>{1, 1, 1, 2, 3, 3, 4}));  // grew just before the first code
  std::vector<std::string> phrases;
  for (uint32_t code = kFirstPhraseCode; code < s.d->next_free_code(); ++code) phrases.push_back(Phrase(*s.d, code));
  // The last "c" adds nothing: "cab" + "c" is there.
  EXPECT_EQ(phrases, (std::vector<std::string>{"ab", "bc", "ca", "cab", "abc", "abca", "abcab", "cabc", "cabca",
                                               "cabcab"}));
  // Children of a phrase stand just older than it; "abcab" moves its chain
  // 262 -> 261 -> 260 -> 256 to the newest end.
  s.Symbol(262);
  const std::vector<uint32_t> order = UseOrder(*s.d);
  ASSERT_EQ(order.size(), 10u);
  EXPECT_EQ(std::vector<uint32_t>(order.end() - 4, order.end()), (std::vector<uint32_t>{262, 261, 260, 256}));
}

TEST(Dictionary, RecyclingStopsWhenTheOldestCodeIsTheOneBeingExtended) {
  Session s;
  for (unsigned char byte : encoder::RandomBytes(5000, 9)) s.Symbol(byte);
  ASSERT_EQ(s.d->next_free_code(), codec::kCodeCount);

  // Extending the oldest code itself adds nothing at all. (Recycling as
  // such is the decoder's differential test's.)
  const uint32_t target = s.d->Oldest();
  const std::vector<uint32_t> order = UseOrder(*s.d);
  s.d->AddCodes(target, s.d->PhraseLength(target), reinterpret_cast<const unsigned char*>("\x07"), 1);
  EXPECT_EQ(UseOrder(*s.d), order);
  EXPECT_EQ(s.d->FindChild(target, 0x07), kNoCode);
}

}  // namespace

// The codec's dictionary: "abcabcabcabc" symbol by symbol, the 128-byte
// limit, recycling, and, fed the same symbols as the reference model, the
// same phrases and use order, whatever its child table held before.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "codec/dictionary.h"
#include "encoder/sample_data.h"
#include "tests/support/reference_dictionary.h"

namespace {

using codec::Dictionary;
using codec::kFirstPhraseCode;
using codec::kNoCode;

// `fill` is written over every byte first: nothing may depend on what the
// dictionary held before its reset.
std::unique_ptr<Dictionary> FreshDictionary(int fill = 0xA5) {
  auto d = std::make_unique<Dictionary>();
  memset(static_cast<void*>(d.get()), fill, sizeof(Dictionary));
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
  explicit Session(int fill = 0xA5) : d(FreshDictionary(fill)) {}
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

TEST(Dictionary, AddsNoCodeLongerThan128Bytes) {
  auto d = FreshDictionary();
  d->AddCodes('q', 126, reinterpret_cast<const unsigned char*>("abcd"), 4);
  EXPECT_EQ(d->next_free_code(), 258u);  // 127 and 128 bytes only
  EXPECT_EQ(d->PhraseLength(257), 128u);
  d->AddCodes(257, 128, reinterpret_cast<const unsigned char*>("x"), 1);
  EXPECT_EQ(d->next_free_code(), 258u);
}

TEST(Dictionary, RecyclingStopsWhenTheOldestCodeIsTheOneBeingExtended) {
  Session s;
  for (unsigned char byte : encoder::RandomBytes(5000, 9)) s.Symbol(byte);
  ASSERT_EQ(s.d->next_free_code(), codec::kCodeCount);

  // Extending the oldest code itself adds nothing at all. (Recycling as
  // such is the lockstep test's.)
  const uint32_t target = s.d->Oldest();
  const std::vector<uint32_t> order = UseOrder(*s.d);
  s.d->AddCodes(target, s.d->PhraseLength(target), reinterpret_cast<const unsigned char*>("\x07"), 1);
  EXPECT_EQ(UseOrder(*s.d), order);
  EXPECT_EQ(s.d->FindChild(target, 0x07), kNoCode);
}

// Any sendable code, now and then the empty phrase, and runs of one byte:
// deep chains, 128-byte phrases, and runs of new codes that meet the
// oldest end. Stale child slots, or any bytes at all, must never be taken
// for a child.
TEST(Dictionary, MatchesTheReferenceWhateverItsTableHeld) {
  for (int fill : {0x00, 0x0F, 0xA5}) {
    std::mt19937 random(17 + fill);
    Session fast(fill);
    reference::Dictionary model;
    auto expect_same_state = [&] {
      ASSERT_EQ(fast.d->next_free_code(), model.next_free_code());
      for (uint32_t c = kFirstPhraseCode; c < model.next_free_code(); ++c) {
        ASSERT_EQ(fast.d->Parent(c), model.Parent(c)) << c;
        ASSERT_EQ(fast.d->LastByte(c), model.LastByte(c)) << c;
      }
      ASSERT_EQ(UseOrder(*fast.d), model.UseOrder());
    };
    for (int step = 0; step < 30000; ++step) {
      fast.d->ApplyWidthCheck();
      model.ApplyWidthCheck();
      ASSERT_EQ(fast.d->code_width(), model.code_width());
      uint32_t code = random() % (model.next_free_code() + 1);
      ASSERT_EQ(fast.d->IsSendable(code), model.IsSendable(code)) << code;
      const uint32_t kind = random() % 64;
      if (kind == 0) {
        code = kNoCode;
      } else if (kind < 8) {
        code = 'z';  // a run of one byte grows phrases up to 128 bytes
      } else {
        while (!model.IsSendable(code)) code = random() % (model.next_free_code() + 1);
      }
      reference::Bytes expected;
      model.Decode(code, expected);
      ASSERT_EQ(fast.Symbol(code), std::string(expected.begin(), expected.end())) << "fill " << fill << " step " << step;
      if (step % 997 == 0) {
        ASSERT_NO_FATAL_FAILURE(expect_same_state()) << step;
      }
    }
    ASSERT_NO_FATAL_FAILURE(expect_same_state());
  }
}

}  // namespace

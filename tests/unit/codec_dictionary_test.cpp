// The codec's dictionary: "abcabcabcabc" symbol by symbol, the
// 128-byte limit, recycling and the width catching up, and, fed the same
// symbols as the reference model, the same phrases and use order after
// every step, whatever its child table held before.
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
  phrase.insert(phrase.begin(), static_cast<char>(code));
  return phrase;
}

std::vector<uint32_t> UseOrder(const Dictionary& d) {
  std::vector<uint32_t> order;
  for (uint32_t c = d.Oldest(); c != kNoCode && order.size() <= codec::kCodeCount; c = d.Newer(c)) order.push_back(c);
  return order;
}

std::vector<uint32_t> UseOrder(const reference::Dictionary& d) {
  std::vector<uint32_t> order;
  for (uint16_t c = d.oldest; c != kNoCode && order.size() <= codec::kCodeCount; c = d.code[c].newer) order.push_back(c);
  return order;
}

// One symbol as both sides handle it; returns the phrase.
std::string Symbol(Dictionary& d, uint32_t code, uint32_t& previous, uint32_t& previous_length) {
  unsigned char buffer[codec::kMaxPhraseLength];
  const uint32_t length = d.PhraseLength(code);
  d.ExpandCode(code, buffer);
  d.AddCodes(previous, previous_length, buffer, length);
  previous = code;
  previous_length = length;
  return std::string(reinterpret_cast<char*>(buffer), length);
}

struct Session {
  std::unique_ptr<Dictionary> d = FreshDictionary();
  uint32_t previous = kNoCode;
  uint32_t previous_length = 0;
  std::string Symbol(uint32_t code) { return ::Symbol(*d, code, previous, previous_length); }
};

// The codec's dictionary and the reference model side by side.
class Lockstep {
 public:
  explicit Lockstep(int fill) : fast_(FreshDictionary(fill)) { reference::ResetDictionary(*model_); }

  const Dictionary& fast() const { return *fast_; }

  // Width check, expansion and additions on both; false when they differ.
  bool Symbol(uint32_t code) {
    fast_->ApplyWidthCheck();
    reference::ApplyWidthCheck(*model_);
    if (fast_->code_width() != model_->code_width) return false;
    if (code == kNoCode) {  // the empty phrase
      previous_ = kNoCode;
      previous_length_ = 0;
      return true;
    }
    unsigned char expected[codec::kMaxPhraseLength];
    const uint32_t length = reference::ExpandCode(*model_, static_cast<uint16_t>(code), expected + sizeof expected);
    reference::AddCodes(*model_, static_cast<uint16_t>(previous_), previous_length_, expected + sizeof expected - length,
                        length);
    const std::string phrase = ::Symbol(*fast_, code, previous_, previous_length_);
    return phrase == std::string(reinterpret_cast<char*>(expected + sizeof expected - length), length);
  }

  // Every phrase, the use order and the children found.
  void ExpectSameState() const {
    ASSERT_EQ(fast_->next_free_code(), model_->next_free_code);
    for (uint32_t c = kFirstPhraseCode; c < fast_->next_free_code(); ++c) {
      ASSERT_EQ(fast_->Parent(c), model_->code[c].parent) << c;
      ASSERT_EQ(fast_->LastByte(c), model_->code[c].last_byte) << c;
      ASSERT_EQ(fast_->PhraseLength(c), Phrase(*fast_, c).size()) << c;
      ASSERT_EQ(fast_->FindChild(fast_->Parent(c), fast_->LastByte(c)), c);
    }
    ASSERT_EQ(UseOrder(*fast_), UseOrder(*model_));
  }

  // A random sendable code, by the fast dictionary's own view.
  uint32_t AnySendableCode(std::mt19937& random) const {
    for (;;) {
      const uint32_t code = random() % (fast_->next_free_code() + 1);
      if (fast_->IsSendable(code) != reference::IsSendable(*model_, static_cast<uint16_t>(code))) return kNoCode + 1;
      if (fast_->IsSendable(code)) return code;
    }
  }

 private:
  std::unique_ptr<Dictionary> fast_;
  std::unique_ptr<reference::Dictionary> model_ = std::make_unique<reference::Dictionary>();
  uint32_t previous_ = kNoCode;
  uint32_t previous_length_ = 0;
};

TEST(Dictionary, FollowsAbcRepeatedSymbolBySymbol) {
  Session s;
  auto width_before = [&] {
    s.d->ApplyWidthCheck();
    return s.d->code_width();
  };
  EXPECT_EQ(width_before(), 1u);
  EXPECT_EQ(s.Symbol('a'), "a");
  EXPECT_EQ(width_before(), 1u);
  EXPECT_EQ(s.Symbol('b'), "b");
  EXPECT_EQ(width_before(), 1u);
  EXPECT_EQ(s.Symbol('c'), "c");
  EXPECT_EQ(s.d->next_free_code(), 258u);
  EXPECT_EQ(Phrase(*s.d, 256), "ab");
  EXPECT_EQ(Phrase(*s.d, 257), "bc");

  EXPECT_EQ(width_before(), 2u);  // grew just before the first code
  EXPECT_EQ(s.Symbol(256), "ab");
  EXPECT_EQ(Phrase(*s.d, 258), "ca");
  EXPECT_EQ(Phrase(*s.d, 259), "cab");

  EXPECT_EQ(width_before(), 3u);
  EXPECT_EQ(s.Symbol(259), "cab");
  EXPECT_EQ(Phrase(*s.d, 260), "abc");
  EXPECT_EQ(Phrase(*s.d, 261), "abca");
  EXPECT_EQ(Phrase(*s.d, 262), "abcab");

  EXPECT_EQ(width_before(), 3u);
  EXPECT_EQ(s.Symbol(259), "cab");
  EXPECT_EQ(Phrase(*s.d, 263), "cabc");
  EXPECT_EQ(Phrase(*s.d, 264), "cabca");
  EXPECT_EQ(Phrase(*s.d, 265), "cabcab");

  EXPECT_EQ(width_before(), 4u);
  EXPECT_EQ(s.Symbol('c'), "c");  // 263 = cab + c exists: nothing added
  EXPECT_EQ(s.d->next_free_code(), 266u);

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

  // Extending another code reuses the oldest one, which its old parent no
  // longer finds.
  const uint32_t oldest = s.d->Oldest();
  const uint32_t old_parent = s.d->Parent(oldest);
  const unsigned char old_byte = s.d->LastByte(oldest);
  uint32_t extended = s.d->FindChild('Q', 0x01);
  if (extended == kNoCode) extended = 'Q';
  s.d->AddCodes('Q', 1, reinterpret_cast<const unsigned char*>("\x01\x02"), 2);
  EXPECT_EQ(s.d->Parent(oldest), extended);
  EXPECT_EQ(s.d->FindChild(old_parent, old_byte), kNoCode);

  // Extending the oldest code itself adds nothing at all.
  const uint32_t target = s.d->Oldest();
  const std::vector<uint32_t> order = UseOrder(*s.d);
  s.d->AddCodes(target, s.d->PhraseLength(target), reinterpret_cast<const unsigned char*>("\x07"), 1);
  EXPECT_EQ(UseOrder(*s.d), order);
  EXPECT_EQ(s.d->FindChild(target, 0x07), kNoCode);
}

TEST(Dictionary, WidthCatchesUpOneBitPerSymbol) {
  auto d = FreshDictionary();
  unsigned char phrase[40];
  memset(phrase, 'm', sizeof phrase);
  d->AddCodes('a', 1, phrase, 40);  // 40 codes at once
  ASSERT_EQ(d->next_free_code(), 296u);
  EXPECT_FALSE(d->IsSendable(295));
  std::vector<uint32_t> widths;
  for (int i = 0; i < 7; ++i) {
    d->ApplyWidthCheck();
    widths.push_back(d->code_width());
  }
  EXPECT_EQ(widths, (std::vector<uint32_t>{2, 3, 4, 5, 6, 6, 6}));
  EXPECT_TRUE(d->IsSendable(295));
  EXPECT_FALSE(d->IsSendable(296));
}

// Greedy symbols over text fill all codes early and recycle for long; the
// stale child slots of an earlier block, or any bytes at all, must never
// be taken for a child.
TEST(Dictionary, MatchesTheReferenceOverTextWhateverItsTableHeld) {
  for (int fill : {0x00, 0x01, 0x05, 0x0F, 0xA5}) {
    Lockstep both(fill);
    const auto text = encoder::TextLikeBytes(60000, 5 + fill);
    for (size_t position = 0, symbols = 0; position < text.size(); ++symbols) {
      uint32_t node = text[position], best = node;
      for (size_t k = 1; position + k < text.size() && k < codec::kMaxPhraseLength; ++k) {
        node = both.fast().FindChild(node, text[position + k]);
        if (node == kNoCode) break;
        if (both.fast().IsSendable(node)) best = node;
      }
      ASSERT_TRUE(both.Symbol(best)) << "fill " << fill << " symbol " << symbols;
      position += both.fast().PhraseLength(best);
      if (symbols % 499 == 0) {
        ASSERT_NO_FATAL_FAILURE(both.ExpectSameState()) << symbols;
      }
    }
    EXPECT_EQ(both.fast().code_width(), 12u);
    ASSERT_NO_FATAL_FAILURE(both.ExpectSameState());
  }
}

// Any sendable code, now and then the empty phrase, and long runs: deep
// chains, 128-byte phrases, and runs of new codes that meet the oldest end.
TEST(Dictionary, MatchesTheReferenceOverRandomCodesAndRuns) {
  std::mt19937 random(17);
  Lockstep both(0x0F);
  for (int step = 0; step < 40000; ++step) {
    uint32_t code;
    const uint32_t kind = random() % 64;
    if (kind == 0) {
      code = kNoCode;
    } else if (kind < 8) {
      code = 'z';  // a run of one byte grows phrases up to 128 bytes
    } else {
      code = both.AnySendableCode(random);
      ASSERT_NE(code, kNoCode + 1) << "sendable differs at step " << step;
    }
    ASSERT_TRUE(both.Symbol(code)) << "step " << step;
    if (step % 997 == 0) {
      ASSERT_NO_FATAL_FAILURE(both.ExpectSameState()) << step;
    }
  }
  ASSERT_NO_FATAL_FAILURE(both.ExpectSameState());
}

}  // namespace

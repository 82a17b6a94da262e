// The shared dictionary: the worked example symbol by symbol, its
// invariants under many symbols, the 128-byte limit, recycling and the
// width catching up.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "codec/dictionary.h"
#include "encoder/sample_data.h"

namespace {

using codec::Dictionary;
using codec::kNoCode;

std::unique_ptr<Dictionary> FreshDictionary() {
  auto d = std::make_unique<Dictionary>();
  memset(d->code, 0xA5, sizeof d->code);  // nothing may rely on unwritten entries
  codec::ResetDictionary(*d);
  return d;
}

// The phrase of a code, read on a copy so that the use order stays put.
std::string Phrase(const Dictionary& d, uint16_t code) {
  auto copy = std::make_unique<Dictionary>(d);
  unsigned char buffer[codec::kMaxPhraseLength];
  uint32_t length = codec::ExpandCode(*copy, code, buffer + sizeof buffer);
  return std::string(reinterpret_cast<char*>(buffer + sizeof buffer - length), length);
}

// One symbol as both sides handle it; returns the phrase.
struct Session {
  std::unique_ptr<Dictionary> d = FreshDictionary();
  uint16_t previous = kNoCode;
  uint32_t previous_length = 0;

  std::string Symbol(uint16_t code) {
    unsigned char buffer[codec::kMaxPhraseLength];
    uint32_t length = codec::ExpandCode(*d, code, buffer + sizeof buffer);
    codec::AddCodes(*d, previous, previous_length, buffer + sizeof buffer - length, length);
    previous = code;
    previous_length = length;
    return std::string(reinterpret_cast<char*>(buffer + sizeof buffer - length), length);
  }
};

// Every code from 256 up stands once in the use order, older than its
// parent, and in its parent's child list; byte codes are never in it.
void ExpectConsistent(const Dictionary& d) {
  std::set<uint16_t> seen;
  uint16_t previous = kNoCode;
  std::vector<uint32_t> rank(codec::kCodeCount, 0);
  uint32_t position = 0;
  for (uint16_t c = d.oldest; c != kNoCode; c = d.code[c].newer) {
    ASSERT_GE(c, codec::kFirstPhraseCode);
    ASSERT_LT(c, d.next_free_code);
    ASSERT_TRUE(seen.insert(c).second);
    ASSERT_EQ(d.code[c].older, previous);
    rank[c] = ++position;
    previous = c;
  }
  ASSERT_EQ(previous, d.newest);
  ASSERT_EQ(seen.size(), d.next_free_code - codec::kFirstPhraseCode);
  for (uint16_t c : seen) {
    const uint16_t parent = d.code[c].parent;
    if (parent >= codec::kFirstPhraseCode) {
      ASSERT_LT(rank[c], rank[parent]) << c;
    }
    ASSERT_EQ(codec::FindChild(d, parent, d.code[c].last_byte), c);
    ASSERT_LE(Phrase(d, c).size(), codec::kMaxPhraseLength);
  }
}

TEST(Dictionary, FollowsTheWorkedExampleSymbolBySymbol) {
  Session s;
  auto width_before = [&] {
    codec::ApplyWidthCheck(*s.d);
    return s.d->code_width;
  };
  EXPECT_EQ(width_before(), 1);
  EXPECT_EQ(s.Symbol('a'), "a");
  EXPECT_EQ(width_before(), 1);
  EXPECT_EQ(s.Symbol('b'), "b");
  EXPECT_EQ(width_before(), 1);
  EXPECT_EQ(s.Symbol('c'), "c");
  EXPECT_EQ(s.d->next_free_code, 258);
  EXPECT_EQ(Phrase(*s.d, 256), "ab");
  EXPECT_EQ(Phrase(*s.d, 257), "bc");

  EXPECT_EQ(width_before(), 2);  // grew just before the first code
  EXPECT_EQ(s.Symbol(256), "ab");
  EXPECT_EQ(Phrase(*s.d, 258), "ca");
  EXPECT_EQ(Phrase(*s.d, 259), "cab");

  EXPECT_EQ(width_before(), 3);
  EXPECT_EQ(s.Symbol(259), "cab");
  EXPECT_EQ(Phrase(*s.d, 260), "abc");
  EXPECT_EQ(Phrase(*s.d, 261), "abca");
  EXPECT_EQ(Phrase(*s.d, 262), "abcab");

  EXPECT_EQ(width_before(), 3);
  EXPECT_EQ(s.Symbol(259), "cab");
  EXPECT_EQ(Phrase(*s.d, 263), "cabc");
  EXPECT_EQ(Phrase(*s.d, 264), "cabca");
  EXPECT_EQ(Phrase(*s.d, 265), "cabcab");

  EXPECT_EQ(width_before(), 4);
  EXPECT_EQ(s.Symbol('c'), "c");  // 263 = cab + c exists: nothing added
  EXPECT_EQ(s.d->next_free_code, 266);
  ExpectConsistent(*s.d);
}

TEST(Dictionary, ExpansionMovesTheChainToTheNewestEnd) {
  Session s;
  for (uint16_t code : std::vector<uint16_t>{'a', 'b', 'c', 256, 259, 259, 'c'}) s.Symbol(code);
  s.Symbol(262);  // abcab: chain 262 -> 261 -> 260 -> 256
  std::vector<uint16_t> newest_first;
  for (uint16_t c = s.d->newest; newest_first.size() < 4; c = s.d->code[c].older) newest_first.push_back(c);
  EXPECT_EQ(newest_first, (std::vector<uint16_t>{256, 260, 261, 262}));
  ExpectConsistent(*s.d);
}

TEST(Dictionary, StaysConsistentThroughFillingAndRecyclingAllCodes) {
  // Greedy symbols over text reach 4096 codes early and recycle for long.
  Session s;
  const auto text = encoder::TextLikeBytes(120000, 5);
  size_t position = 0, recycled_rounds = 0;
  while (position < text.size()) {
    codec::ApplyWidthCheck(*s.d);
    uint16_t node = text[position], best = node;
    for (size_t k = 1; position + k < text.size(); ++k) {
      node = codec::FindChild(*s.d, node, text[position + k]);
      if (node == kNoCode) break;
      if (codec::IsSendable(*s.d, node)) best = node;
    }
    const std::string phrase = s.Symbol(best);
    ASSERT_EQ(phrase, std::string(text.begin() + position, text.begin() + position + phrase.size()));
    position += phrase.size();
    if (s.d->next_free_code == codec::kCodeCount) ++recycled_rounds;
    if (position % 97 == 0) ExpectConsistent(*s.d);
  }
  EXPECT_GT(recycled_rounds, 1000u);
  EXPECT_EQ(s.d->code_width, 12);
  ExpectConsistent(*s.d);
}

TEST(Dictionary, AddsNoCodeLongerThan128Bytes) {
  auto d = FreshDictionary();
  codec::AddCodes(*d, 'q', 126, reinterpret_cast<const unsigned char*>("abcd"), 4);
  EXPECT_EQ(d->next_free_code, 258);  // 127 and 128 bytes only
  codec::AddCodes(*d, 257, 128, reinterpret_cast<const unsigned char*>("x"), 1);
  EXPECT_EQ(d->next_free_code, 258);
}

TEST(Dictionary, RecyclingStopsWhenTheOldestCodeIsTheOneBeingExtended) {
  Session s;
  const auto random = encoder::RandomBytes(5000, 9);
  for (unsigned char byte : random) s.Symbol(byte);
  ASSERT_EQ(s.d->next_free_code, codec::kCodeCount);

  // Extending another code reuses the oldest one and takes it out of its
  // parent's child list.
  const uint16_t oldest = s.d->oldest;
  const uint16_t old_parent = s.d->code[oldest].parent;
  const unsigned char old_byte = s.d->code[oldest].last_byte;
  uint16_t extended = codec::FindChild(*s.d, 'Q', 0x01);
  if (extended == kNoCode) extended = 'Q';
  codec::AddCodes(*s.d, 'Q', 1, reinterpret_cast<const unsigned char*>("\x01\x02"), 2);
  EXPECT_EQ(s.d->code[oldest].parent, extended);
  EXPECT_EQ(codec::FindChild(*s.d, old_parent, old_byte), kNoCode);
  ExpectConsistent(*s.d);

  // Extending the oldest code itself adds nothing at all.
  const uint16_t target = s.d->oldest;
  auto before = std::make_unique<Dictionary>(*s.d);
  codec::AddCodes(*s.d, target, static_cast<uint32_t>(Phrase(*s.d, target).size()),
                  reinterpret_cast<const unsigned char*>("\x07"), 1);
  EXPECT_EQ(memcmp(before.get(), s.d.get(), sizeof(Dictionary)), 0);
}

TEST(Dictionary, WidthCatchesUpOneBitPerSymbol) {
  auto d = FreshDictionary();
  unsigned char phrase[40];
  memset(phrase, 'm', sizeof phrase);
  codec::AddCodes(*d, 'a', 1, phrase, 40);  // 40 codes at once
  ASSERT_EQ(d->next_free_code, 296);
  EXPECT_FALSE(codec::IsSendable(*d, 295));
  std::vector<int> widths;
  for (int i = 0; i < 7; ++i) {
    codec::ApplyWidthCheck(*d);
    widths.push_back(d->code_width);
  }
  EXPECT_EQ(widths, (std::vector<int>{2, 3, 4, 5, 6, 6, 6}));
  EXPECT_TRUE(codec::IsSendable(*d, 295));
  EXPECT_FALSE(codec::IsSendable(*d, 296));
}

}  // namespace

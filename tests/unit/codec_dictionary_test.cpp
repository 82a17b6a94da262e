// The codec's dictionary: its use order holds every phrase code once, and
// recycling stops where the oldest code is the one being extended.
// Everything else it does is checked through the decoder, against the
// reference model, over real and damaged blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "codec/dictionary.h"
#include "tests/support/sample_data.h"

namespace {

using codec::Dictionary;
using codec::kNoCode;

std::vector<uint32_t> UseOrder(const Dictionary& d) {
  std::vector<uint32_t> order;
  for (uint32_t c = d.Oldest(); c != kNoCode && order.size() <= codec::kCodeCount; c = d.Newer(c)) order.push_back(c);
  return order;
}

TEST(Dictionary, RecyclingStopsWhenTheOldestCodeIsTheOneBeingExtended) {
  // Garbage is written over every byte first: nothing may depend on what
  // the dictionary held before its reset.
  auto d = std::make_unique<Dictionary>();
  memset(static_cast<void*>(d.get()), 0xA5, sizeof(Dictionary));
  d->Reset();
  // Random bytes, each a literal as the decoder takes it, take every code.
  uint32_t previous = kNoCode;
  for (unsigned char byte : test_support::RandomBytes(5000, 9)) {
    d->ExpandCode(byte, &byte);
    d->AddCodes(previous, 1, &byte, 1);
    previous = byte;
  }
  ASSERT_EQ(d->next_free_code(), codec::kCodeCount);
  // The use order is a ring through every phrase code, each once.
  std::vector<uint32_t> codes = UseOrder(*d);
  std::sort(codes.begin(), codes.end());
  ASSERT_EQ(codes.size(), codec::kCodeCount - codec::kFirstPhraseCode);
  for (uint32_t i = 0; i < codes.size(); ++i) ASSERT_EQ(codes[i], codec::kFirstPhraseCode + i);

  // Extending the oldest code itself adds nothing at all. (Recycling as
  // such is the decoder's differential test's.)
  const uint32_t target = d->Oldest();
  const std::vector<uint32_t> order = UseOrder(*d);
  d->AddCodes(target, d->PhraseLength(target), reinterpret_cast<const unsigned char*>("\x07"), 1);
  EXPECT_EQ(UseOrder(*d), order);
  EXPECT_EQ(d->FindChild(target, 0x07), kNoCode);
}

}  // namespace

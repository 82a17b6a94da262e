// The one UTF-8 rule: what it accepts is what every reader of names takes
// for UTF-8, so each way a byte run can fail to be UTF-8 is tried here.
#include <gtest/gtest.h>

#include "base/utf8.h"

namespace {

size_t LengthOf(const char* bytes, size_t available, uint32_t* code = nullptr) {
  return base::Utf8SequenceLength(reinterpret_cast<const unsigned char*>(bytes), available, code);
}

TEST(Utf8, WellFormedSequencesGiveTheirLengthAndValue) {
  uint32_t code = 0;
  EXPECT_EQ(LengthOf("A", 1, &code), 1u);
  EXPECT_EQ(code, 0x41u);
  EXPECT_EQ(LengthOf("\xc3\xa9", 2, &code), 2u);
  EXPECT_EQ(code, 0xE9u);
  EXPECT_EQ(LengthOf("\xe6\x97\xa5", 3, &code), 3u);
  EXPECT_EQ(code, 0x65E5u);
  EXPECT_EQ(LengthOf("\xf4\x8f\xbf\xbf", 4, &code), 4u);
  EXPECT_EQ(code, 0x10FFFFu);
}

TEST(Utf8, RefusesWhatIsNoCharacter) {
  EXPECT_EQ(LengthOf("\xc0\xaf", 2), 0u) << "overlong slash";
  EXPECT_EQ(LengthOf("\xe0\x80\xaf", 3), 0u) << "overlong in three bytes";
  EXPECT_EQ(LengthOf("\xed\xa0\x80", 3), 0u) << "surrogate";
  EXPECT_EQ(LengthOf("\xf4\x90\x80\x80", 4), 0u) << "above U+10FFFF";
  EXPECT_EQ(LengthOf("\xe6\x97", 2), 0u) << "cut by the end of what may be read";
  EXPECT_EQ(LengthOf("\xe6\x41\xa5", 3), 0u) << "a byte that does not continue";
  EXPECT_EQ(LengthOf("\x80", 1), 0u) << "a lone continuation byte";
  EXPECT_EQ(LengthOf("", 0), 0u);
}

TEST(Utf8, WholeTexts) {
  EXPECT_TRUE(base::IsUtf8("fa\xc3\xa7" "ade.txt"));
  EXPECT_FALSE(base::IsUtf8("fa\xe7" "ade.txt")) << "the same name in CP1252";
  EXPECT_TRUE(base::IsAscii("plain.txt"));
  EXPECT_FALSE(base::IsAscii("fa\xc3\xa7" "ade.txt"));
}

}  // namespace

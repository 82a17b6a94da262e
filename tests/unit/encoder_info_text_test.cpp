// The encoder information text: serial, date, the try line and the whole
// text in both languages, as the dialog puts it into its text control.
#include <gtest/gtest.h>
#include <cstring>
#include <string>

#include "test_support.h"
#include "ui/encoder_info_text.h"

namespace {

using test_support::ToShiftJis;
using ui::Language;
using ui::LocalTime;

// Friday, 1 June 2001, 09:30:00.
constexpr LocalTime kJuneFirst2001{2001, 6, 1, 5, 9, 30, 0};

std::string When(const LocalTime& time) {
  char out[ui::kTimeTextCapacity];
  memset(out, 'x', sizeof out);
  ui::FormatTimeText(time, out);
  EXPECT_EQ(strlen(out), 24u) << out;
  return out;
}

std::string Tries(uint32_t count, Language language = Language::kEnglish) {
  char out[64];
  ui::FormatTryText(count, language, out, sizeof out);
  return out;
}

std::string InfoText(const ui::EncoderInfo& info, Language language) {
  char out[ui::kInfoTextCapacity];
  ui::BuildEncoderInfoText(info, language, out, sizeof out);
  return out;
}

TEST(EncoderInfoText, SerialIsEightUpperCaseHexDigits) {
  for (const auto& [serial, text] : {std::pair{0x0012ABCDu, "0012ABCD"}, std::pair{0xF0000001u, "F0000001"}}) {
    char out[ui::kSerialTextCapacity];
    ui::FormatSerialText(serial, out);
    EXPECT_STREQ(out, text);
  }
}

TEST(EncoderInfoText, TimeHasFixedWidthFieldsAndEnglishNames) {
  EXPECT_EQ(When(kJuneFirst2001), "Fri Jun 01 09:30:00 2001");
  EXPECT_EQ(When({1970, 1, 2, 5, 3, 4, 5}), "Fri Jan 02 03:04:05 1970");
  const char* days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  for (int weekday = 0; weekday < 7; ++weekday) {
    EXPECT_EQ(When({2001, 6, 10, weekday, 0, 0, 0}).substr(0, 4), std::string(days[weekday]) + " ");
  }
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int month = 1; month <= 12; ++month) {
    EXPECT_EQ(When({2001, month, 10, 0, 0, 0, 0}).substr(3, 5), " " + std::string(months[month - 1]) + " ");
  }
  // A broken clock still gives 24 characters.
  EXPECT_EQ(When({2001, 13, 10, 7, 0, 0, 0}), "??? ??? 10 00:00:00 2001");
}

TEST(EncoderInfoText, StoredCountStopsAtTheTop) {
  EXPECT_EQ(ui::NextDecodeCount(0xFFFFFFFE), 0xFFFFFFFFu);
  EXPECT_EQ(ui::NextDecodeCount(0xFFFFFFFF), 0xFFFFFFFFu) << "a wrap would read as a first decode";
}

TEST(EncoderInfoText, WholeTextCarriesNameDateAndTriesInEitherLanguage) {
  const std::string name = ToShiftJis("経理部");
  const struct {
    ui::EncoderInfo info;
    Language language;
    const char* expected;  // UTF-8
  } cases[] = {
      {{"0012ABCD", "Office PC", false, &kJuneFirst2001, 2}, Language::kEnglish,
       "Encoded by\r\n--0012ABCD--\r\nOffice PC.\r\n\r\nFri Jun 01 09:30:00 2001\r\n"
       "Created at above date.\r\n\r\n3th try to decode."},
      // This computer stands for the name; a time without a date shows the
      // placeholder; no name leaves the line bare.
      {{"0012ABCD", "Office PC", true, nullptr, 0}, Language::kEnglish,
       "Encoded by\r\n--0012ABCD--\r\nthis computer.\r\n\r\n(unknown date)\r\n"
       "Created at above date.\r\n\r\n1st try to decode."},
      {{"0012ABCD", "", false, nullptr, 0}, Language::kJapanese,
       "この暗号ファイルは\r\n--0012ABCD--\r\n\r\nによって\r\n\r\n（日時不明）\r\n"
       "に作成されました．\r\n\r\nこのIDの暗号解除は\r\n初めてです．"},
      {{"0012ABCD", name.c_str(), false, &kJuneFirst2001, 2}, Language::kJapanese,
       "この暗号ファイルは\r\n--0012ABCD--\r\n経理部\r\nによって\r\n\r\n"
       "Fri Jun 01 09:30:00 2001\r\nに作成されました．\r\n\r\n3 回目の暗号解除です."},
      {{"0012ABCD", name.c_str(), true, &kJuneFirst2001, 0}, Language::kJapanese,
       "この暗号ファイルは\r\n--0012ABCD--\r\nこのコンピューター\r\nによって\r\n\r\n"
       "Fri Jun 01 09:30:00 2001\r\nに作成されました．\r\n\r\nこのIDの暗号解除は\r\n初めてです．"},
  };
  for (const auto& c : cases) EXPECT_EQ(InfoText(c.info, c.language), ToShiftJis(c.expected)) << c.expected;
}

TEST(EncoderInfoText, LongestNameFitsAndSmallBuffersAreNeverOverrun) {
  const std::string longest(ui::kEncoderNameCapacity - 1, '\x82');  // 127 bytes of lead-byte noise
  const ui::EncoderInfo info{"0012ABCD", longest.c_str(), false, &kJuneFirst2001, 0xFFFFFFFF};
  for (Language language : {Language::kEnglish, Language::kJapanese}) {
    const std::string whole = InfoText(info, language);
    EXPECT_NE(whole.find(longest), std::string::npos);
    const std::string last = Tries(0xFFFFFFFF, language);
    EXPECT_EQ(whole.substr(whole.size() - last.size()), last) << "the text ends with its whole try line";
  }

  char small[40];
  memset(small, '#', sizeof small);
  ui::BuildEncoderInfoText(info, Language::kEnglish, small, 30);
  EXPECT_EQ(std::string(small), std::string("Encoded by\r\n--0012ABCD--\r\n\x82\x82\x82", 29));
  EXPECT_EQ(small[30], '#');

  char tries[8];
  memset(tries, '#', sizeof tries);
  ui::FormatTryText(0xFFFFFFFF, Language::kEnglish, tries, 6);
  EXPECT_STREQ(tries, "42949");
  EXPECT_EQ(tries[6], '#');
}

}  // namespace

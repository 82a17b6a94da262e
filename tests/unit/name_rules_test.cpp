// The names an archive may ask for, and the reason given for each that
// it may not: names that leave the folder, and names Windows would refuse
// or make under another name.
#include <gtest/gtest.h>

#include "base/lead_bytes.h"
#include "decode/name_rules.h"

namespace {

using decode::NameFault;
using decode::PathStyle;

const base::LeadBytes kShiftJis = base::LeadBytes::OfCodePage(932);
const base::LeadBytes kWestern = base::LeadBytes::OfCodePage(1252);
const base::LeadBytes kUtf8 = base::LeadBytes::OfCodePage(65001);

// Shift-JIS names whose characters end in 0x5C: ソ (83 5C), 表 (95 5C).
#define SO "\x83\x5C"
#define HYO "\x95\x5C"

NameFault Relative(const char* name, const base::LeadBytes& lead = kWestern) {
  return decode::RelativeNameFault(name, lead, PathStyle::kWindows);
}

TEST(SafeNames, RelativeNamesStayBelowTheFolderAndPlainNamesAreOneComponent) {
  for (const char* name : {"\\a.txt", "\\docs\\sub\\a.txt", "\\docs/a.txt", "\\..a\\b..c\\.x", "\\a\\.b",
                           "\\CONSOLE\\COM0.txt\\LPT10", "\\ lead space"}) {
    EXPECT_TRUE(decode::IsSafeRelativeName(name, kWestern, PathStyle::kWindows)) << name;
  }
  const std::pair<const char*, NameFault> refused[] = {
      {"a.txt", NameFault::kNotRelative},
      {"\\..\\a.txt", NameFault::kDotComponent},       {"\\docs\\..\\..\\a.txt", NameFault::kDotComponent},
      {"\\docs\\..", NameFault::kDotComponent},        {"/../a.txt", NameFault::kDotComponent},
      {"\\docs/../a.txt", NameFault::kDotComponent},   {"\\a\\.\\b.txt", NameFault::kDotComponent},
      {"\\.", NameFault::kDotComponent},
      {"\\C:\\a.txt", NameFault::kColon},              {"\\a.txt:stream", NameFault::kColon},
      {"\\\\server\\share\\a.txt", NameFault::kEmptyComponent}, {"//server/share/a.txt", NameFault::kEmptyComponent},
      {"\\docs\\\\a.txt", NameFault::kEmptyComponent}, {"\\docs\\", NameFault::kEmptyComponent},
      {"\\", NameFault::kEmptyComponent},
      {"\\a\x1b[2Jb.txt", NameFault::kControlCharacter}, {"\\a\rb", NameFault::kControlCharacter},
      {"\\a\nb", NameFault::kControlCharacter},        {"\\a\x7f", NameFault::kControlCharacter},
      {"\\a\x01", NameFault::kControlCharacter},
  };
  for (const auto& [name, fault] : refused) {
    EXPECT_EQ(Relative(name), fault) << name;
    EXPECT_EQ(decode::RelativeNameFault(name, kWestern, PathStyle::kPosix), fault) << name << " (POSIX too)";
  }
  for (const char* name : {"a.txt", "..a"}) EXPECT_TRUE(decode::IsSafePlainName(name, kWestern)) << name;
  EXPECT_EQ(decode::PlainNameFault("", kWestern), NameFault::kEmptyComponent);
  EXPECT_EQ(decode::PlainNameFault("..", kWestern), NameFault::kDotComponent);
  EXPECT_EQ(decode::PlainNameFault("C:a", kWestern), NameFault::kColon);
  EXPECT_EQ(decode::PlainNameFault("a\tb", kWestern), NameFault::kControlCharacter);
  for (const char* name : {"a\\b", "a/b", "..\\..\\evil.txt", "\\a"}) {
    EXPECT_EQ(decode::PlainNameFault(name, kWestern), NameFault::kSeparator) << name << ": a separator, first";
  }
}

TEST(SafeNames, DeviceNamesAreRefusedInWindowsStyleOnly) {
  for (const char* name : {"\\CON", "\\docs\\nul.txt", "\\aux.tar.gz\\x", "\\Com1", "\\LPT9.log", "\\PRN .txt",
                           "\\CONIN$", "\\conout$.txt", "\\COM\xB9", "\\lpt\xB2.txt", "\\COM\xB3"}) {
    EXPECT_EQ(Relative(name), NameFault::kDeviceName) << name;
    EXPECT_TRUE(decode::IsSafeRelativeName(name, kWestern, PathStyle::kPosix)) << name;
  }
  EXPECT_EQ(decode::PlainNameFault("con", kWestern, PathStyle::kWindows), NameFault::kDeviceName);
  EXPECT_TRUE(decode::IsSafePlainName("con", kWestern, PathStyle::kPosix));
  // ¹ as UTF-8, as kelvarin.exe spells names.
  EXPECT_EQ(Relative("\\LPT\xC2\xB9.txt", kUtf8), NameFault::kDeviceName);
  // Not devices: another digit after a superscript, a word that begins
  // like one, and a Shift-JIS half-width katakana (ｹ is B9 there).
  for (const char* name : {"\\COM\xB9" "1", "\\CONINX", "\\CONIN$X", "\\COM10"}) {
    EXPECT_EQ(Relative(name), NameFault::kNone) << name;
  }
  EXPECT_EQ(Relative("\\COM\xB9", kShiftJis), NameFault::kNone);
  EXPECT_EQ(Relative("\\COM\xC2\xB9", kShiftJis), NameFault::kNone) << "ﾂｹ, no UTF-8 there";
}

// Windows drops a final dot or space of every component, so "a." would
// be made as "a", and "<", ">", '"', "|", "?", "*" it cannot make at all.
TEST(SafeNames, TrailingDotsAndSpacesAndReservedCharactersAreRefusedInWindowsStyle) {
  for (const char* name : {"\\f.", "\\dir.\\f", "\\f ", "\\dir \\f", "\\...", "\\b..\\x"}) {
    EXPECT_EQ(Relative(name), NameFault::kTrailingDotOrSpace) << name;
    EXPECT_TRUE(decode::IsSafeRelativeName(name, kWestern, PathStyle::kPosix)) << name;
  }
  for (const char* name : {"\\a<b", "\\a>b", "\\a\"b", "\\a|b", "\\a?b", "\\a*b", "\\dir?\\f"}) {
    EXPECT_EQ(Relative(name), NameFault::kReservedCharacter) << name;
    EXPECT_TRUE(decode::IsSafeRelativeName(name, kWestern, PathStyle::kPosix)) << name;
  }
  // In Shift-JIS 0x7C is also a trail byte: 乖 (81 7C) is no bar.
  EXPECT_EQ(Relative("\\\x81\x7C.txt", kShiftJis), NameFault::kNone);
  EXPECT_EQ(Relative("\\\x81\x7C.txt", kWestern), NameFault::kReservedCharacter);
}

// Read as Shift-JIS, a trail byte 0x5C is part of its character: 能力.txt
// (能 is 94 5C) is one plain name, and \ソフト\表.txt has two components.
TEST(SafeNames, ATrailByteIsNeverASeparator) {
  const char* plain = "\x94\x5C\x97\xCD.txt";
  EXPECT_TRUE(decode::IsSafePlainName(plain, kShiftJis));
  EXPECT_FALSE(decode::IsSafePlainName(plain, kWestern));
  const char* nested = "\\" SO "\x83\x74\x83\x67\\" HYO ".txt";
  EXPECT_TRUE(decode::IsSafeRelativeName(nested, kShiftJis));
  EXPECT_TRUE(decode::IsSafeRelativeName("\\" HYO, kShiftJis));
  EXPECT_FALSE(decode::IsSafeRelativeName("\\" HYO, kWestern)) << "byte by byte its last component is empty";
  // The same bytes are "\ソ..\x" to a Shift-JIS system, which reads and
  // writes them so, and "\x83\..\x" byte by byte.
  EXPECT_TRUE(decode::IsSafeRelativeName("\\" SO "..\\x", kShiftJis));
  EXPECT_FALSE(decode::IsSafeRelativeName("\\" SO "..\\x", kWestern));
}

}  // namespace

// Parent paths, folder creation and the names an archive may ask for.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <string>

#include "base/lead_bytes.h"
#include "decode/destination_paths.h"
#include "test_support.h"

namespace {

using decode::PathStyle;

const base::LeadBytes kShiftJis = base::LeadBytes::OfCodePage(932);
const base::LeadBytes kWestern = base::LeadBytes::OfCodePage(1252);

// Shift-JIS names whose characters end in 0x5C: ソ (83 5C), 表 (95 5C).
#define SO "\x83\x5C"
#define HYO "\x95\x5C"

TEST(ParentPath, WindowsRuleKeepsDriveAndDirectoryAndDropsOneBackslashPosixKeepsTheRoot) {
  const struct {
    const char* path;
    PathStyle style;
    const base::LeadBytes& lead;
    const char* parent;
  } cases[] = {
      {"C:\\out\\sub\\file.txt", PathStyle::kWindows, kWestern, "C:\\out\\sub"},
      {"C:\\out", PathStyle::kWindows, kWestern, "C:"},
      {"C:file.txt", PathStyle::kWindows, kWestern, "C:"},
      {"C:", PathStyle::kWindows, kWestern, "C:"},  // its own parent: the recursion must stop here
      {"C:/out/file", PathStyle::kWindows, kWestern, "C:/out/"},  // only a backslash is dropped
      {"out\\\\file", PathStyle::kWindows, kWestern, "out\\"},
      {"file", PathStyle::kWindows, kWestern, ""},
      {"", PathStyle::kWindows, kWestern, ""},
      // A trail byte 0x5C ends no folder, also at the end of a component.
      {"C:\\out\\" SO "\x83\x74\x83\x67\\" HYO ".txt", PathStyle::kWindows, kShiftJis, "C:\\out\\" SO "\x83\x74\x83\x67"},
      {"C:\\out\\" HYO "\\a.txt", PathStyle::kWindows, kShiftJis, "C:\\out\\" HYO},
      {"C:\\out\\" HYO, PathStyle::kWindows, kShiftJis, "C:\\out"},
      {"C:\\out\\" HYO, PathStyle::kWindows, kWestern, "C:\\out\\\x95"},  // read byte by byte
      {"/tmp/a/b.txt", PathStyle::kPosix, kWestern, "/tmp/a"},
      {"/b.txt", PathStyle::kPosix, kWestern, "/"},
      {"a\\b.txt", PathStyle::kPosix, kWestern, ""},
  };
  for (const auto& c : cases) {
    char out[260];
    EXPECT_TRUE(decode::ParentPath(c.path, out, sizeof out, c.style, c.lead));
    EXPECT_STREQ(out, c.parent) << c.path;
  }
}

class Folders : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) { return dir_.path() + "/" + relative; }
  bool IsDirectory(const std::string& relative) {
    struct stat st;
    return stat(Path(relative).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  testing_support::TempDir dir_;
};

TEST_F(Folders, MissingLevelsAreCreatedTopDownAndAnExistingFolderIsEnough) {
  EXPECT_EQ(decode::EnsureParentFolder(Path("file.txt").c_str()), 1);
  EXPECT_EQ(decode::EnsureParentFolder(Path("a/b/file.txt").c_str()), 1);
  EXPECT_TRUE(IsDirectory("a/b"));
  EXPECT_EQ(decode::CreateFolderPath(Path("a").c_str()), 0) << "exists at creation time";
  EXPECT_EQ(decode::CreateFolderPath(""), 0);
}

TEST_F(Folders, FileInPlaceOfAFolderFailsAndCreatesNothingBelowIt) {
  testing_support::WriteFileBytes(Path("a"), {1, 2, 3});
  EXPECT_EQ(decode::EnsureParentFolder(Path("a/file.txt").c_str()), 0);
  EXPECT_EQ(decode::EnsureParentFolder(Path("a/b/c/file.txt").c_str()), 0);
  EXPECT_FALSE(IsDirectory("a/b"));
  EXPECT_EQ(decode::IsFolder(Path("a").c_str()), 0);
}

TEST(SafeNames, RelativeNamesStayBelowTheFolderAndPlainNamesAreOneComponent) {
  for (const char* name : {"\\a.txt", "\\docs\\sub\\a.txt", "\\docs/a.txt", "\\..a\\b..\\...\\.x", "\\a\\.b",
                           "\\CONSOLE\\COM0.txt\\LPT10"}) {
    EXPECT_TRUE(decode::IsSafeRelativeName(name, kWestern, PathStyle::kWindows)) << name;
  }
  for (const char* name : {"a.txt",                 // no leading separator
                           "\\..\\a.txt", "\\docs\\..\\..\\a.txt", "\\docs\\..", "/../a.txt", "\\docs/../a.txt",
                           "\\a\\.\\b.txt", "\\.",    // a "." component
                           "\\C:\\a.txt", "\\a.txt:stream",  // drive, stream
                           "\\\\server\\share\\a.txt", "//server/share/a.txt",
                           "\\docs\\\\a.txt", "\\docs\\", "\\",  // empty components
                           "\\a\x1b[2Jb.txt", "\\a\rb", "\\a\nb", "\\a\x7f", "\\a\x01"}) {  // control characters
    EXPECT_FALSE(decode::IsSafeRelativeName(name, kWestern, PathStyle::kWindows)) << name;
  }
  for (const char* name : {"a.txt", "..a"}) EXPECT_TRUE(decode::IsSafePlainName(name, kWestern)) << name;
  for (const char* name : {"", ".", "..", "a\\b", "a/b", "C:a", "a\tb"}) {
    EXPECT_FALSE(decode::IsSafePlainName(name, kWestern)) << name;
  }
}

TEST(SafeNames, DeviceNamesAreRefusedInWindowsStyleOnly) {
  for (const char* name : {"\\CON", "\\docs\\nul.txt", "\\aux.tar.gz\\x", "\\Com1", "\\LPT9.log", "\\PRN .txt"}) {
    EXPECT_FALSE(decode::IsSafeRelativeName(name, kWestern, PathStyle::kWindows)) << name;
    EXPECT_TRUE(decode::IsSafeRelativeName(name, kWestern, PathStyle::kPosix)) << name;
  }
  EXPECT_FALSE(decode::IsSafePlainName("con", kWestern, PathStyle::kWindows));
  EXPECT_TRUE(decode::IsSafePlainName("con", kWestern, PathStyle::kPosix));
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

TEST(SafeNames, JoinMakesSeparatorsNativeButNeverATrailByteAndRefusesOverlongPaths) {
  char out[260];
  ASSERT_TRUE(decode::JoinBelowFolder("/out", "\\docs/a.txt", out, sizeof out, kWestern));
  EXPECT_STREQ(out, "/out/docs/a.txt");
  ASSERT_TRUE(decode::JoinBelowFolder("/out", "\\" HYO "\\x", out, sizeof out, kShiftJis));
  EXPECT_EQ(std::string(out), std::string("/out/" HYO "/x"));
  std::string long_name = "\\" + std::string(255, 'n');
  EXPECT_FALSE(decode::JoinBelowFolder("/out", long_name.c_str(), out, sizeof out, kWestern));
}

}  // namespace

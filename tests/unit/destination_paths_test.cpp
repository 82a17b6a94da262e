// Parent paths, folder creation and the names an archive may ask for.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <string>

#include "decode/destination_paths.h"
#include "test_support.h"

namespace {

using decode::PathStyle;

TEST(ParentPath, WindowsRuleKeepsDriveAndDirectoryAndDropsOneBackslashPosixKeepsTheRoot) {
  const struct {
    const char* path;
    PathStyle style;
    const char* parent;
  } cases[] = {
      {"C:\\out\\sub\\file.txt", PathStyle::kWindows, "C:\\out\\sub"},
      {"C:\\out", PathStyle::kWindows, "C:"},
      {"C:file.txt", PathStyle::kWindows, "C:"},
      {"C:", PathStyle::kWindows, "C:"},  // its own parent: the recursion must stop here
      {"C:/out/file", PathStyle::kWindows, "C:/out/"},  // only a backslash is dropped
      {"out\\\\file", PathStyle::kWindows, "out\\"},
      {"file", PathStyle::kWindows, ""},
      {"", PathStyle::kWindows, ""},
      {"/tmp/a/b.txt", PathStyle::kPosix, "/tmp/a"},
      {"/b.txt", PathStyle::kPosix, "/"},
      {"a\\b.txt", PathStyle::kPosix, ""},
  };
  for (const auto& c : cases) {
    char out[260];
    EXPECT_TRUE(decode::ParentPath(c.path, out, sizeof out, c.style));
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
  for (const char* name : {"\\a.txt", "\\docs\\sub\\a.txt", "\\docs/a.txt", "\\..a\\b..\\...\\.x"}) {
    EXPECT_TRUE(decode::IsSafeRelativeName(name)) << name;
  }
  for (const char* name : {"a.txt",                 // no leading separator
                           "\\..\\a.txt", "\\docs\\..\\..\\a.txt", "\\docs\\..", "/../a.txt", "\\docs/../a.txt",
                           "\\C:\\a.txt", "\\a.txt:stream",  // drive, stream
                           "\\\\server\\share\\a.txt", "//server/share/a.txt",
                           "\\docs\\\\a.txt", "\\docs\\", "\\"}) {  // empty components
    EXPECT_FALSE(decode::IsSafeRelativeName(name)) << name;
  }
  for (const char* name : {"a.txt", "..a"}) EXPECT_TRUE(decode::IsSafePlainName(name)) << name;
  for (const char* name : {"", ".", "..", "a\\b", "a/b", "C:a"}) EXPECT_FALSE(decode::IsSafePlainName(name)) << name;
}

TEST(SafeNames, JoinMakesSeparatorsNativeAndRefusesOverlongPaths) {
  char out[260];
  ASSERT_TRUE(decode::JoinBelowFolder("/out", "\\docs/a.txt", out, sizeof out));
  EXPECT_STREQ(out, "/out/docs/a.txt");
  std::string long_name = "\\" + std::string(255, 'n');
  EXPECT_FALSE(decode::JoinBelowFolder("/out", long_name.c_str(), out, sizeof out));
}

}  // namespace

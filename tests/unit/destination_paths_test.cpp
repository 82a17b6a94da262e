// Parent paths, folder creation and the names an archive may ask for.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cstring>
#include <string>

#include "decode/destination_paths.h"
#include "test_support.h"

namespace {

using decode::PathStyle;

std::string Parent(const char* path, PathStyle style = PathStyle::kWindows) {
  char out[260];
  EXPECT_TRUE(decode::ParentPath(path, out, sizeof out, style));
  return out;
}

TEST(ParentPath, WindowsRuleKeepsDriveAndDirectoryAndDropsOneBackslash) {
  EXPECT_EQ(Parent("C:\\out\\sub\\file.txt"), "C:\\out\\sub");
  EXPECT_EQ(Parent("C:\\out"), "C:");
  EXPECT_EQ(Parent("C:file.txt"), "C:");
  EXPECT_EQ(Parent("C:"), "C:");  // its own parent: the recursion must stop here
  EXPECT_EQ(Parent("C:/out/file"), "C:/out/");  // only a backslash is dropped
  EXPECT_EQ(Parent("out\\\\file"), "out\\");
  EXPECT_EQ(Parent("file"), "");
  EXPECT_EQ(Parent(""), "");
}

TEST(ParentPath, PosixRuleKeepsTheRoot) {
  EXPECT_EQ(Parent("/tmp/a/b.txt", PathStyle::kPosix), "/tmp/a");
  EXPECT_EQ(Parent("/b.txt", PathStyle::kPosix), "/");
  EXPECT_EQ(Parent("a\\b.txt", PathStyle::kPosix), "");
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

TEST_F(Folders, ExistingFolderIsEnoughAndCreatesNothing) {
  EXPECT_EQ(decode::EnsureParentFolder(Path("file.txt").c_str()), 1);
  EXPECT_EQ(decode::IsFolder(dir_.path().c_str()), 1);
}

TEST_F(Folders, MissingLevelsAreCreatedTopDown) {
  EXPECT_EQ(decode::EnsureParentFolder(Path("a/b/file.txt").c_str()), 1);
  EXPECT_TRUE(IsDirectory("a"));
  EXPECT_TRUE(IsDirectory("a/b"));
}

TEST_F(Folders, FileInPlaceOfAFolderFailsAndCreatesNothingBelowIt) {
  testing_support::WriteFileBytes(Path("a"), {1, 2, 3});
  EXPECT_EQ(decode::EnsureParentFolder(Path("a/file.txt").c_str()), 0);
  EXPECT_EQ(decode::EnsureParentFolder(Path("a/b/c/file.txt").c_str()), 0);
  EXPECT_FALSE(IsDirectory("a/b"));
  EXPECT_EQ(decode::IsFolder(Path("a").c_str()), 0);
}

TEST_F(Folders, FolderThatExistsAtCreationTimeFails) {
  ASSERT_EQ(mkdir(Path("x").c_str(), 0777), 0);
  EXPECT_EQ(decode::CreateFolderPath(Path("x").c_str()), 0);
  EXPECT_EQ(decode::CreateFolderPath(""), 0);
}

TEST(SafeNames, RelativeNamesStayBelowTheFolder) {
  EXPECT_TRUE(decode::IsSafeRelativeName("\\a.txt"));
  EXPECT_TRUE(decode::IsSafeRelativeName("\\docs\\sub\\a.txt"));
  EXPECT_TRUE(decode::IsSafeRelativeName("\\docs/a.txt"));
  EXPECT_TRUE(decode::IsSafeRelativeName("\\..a\\b..\\...\\.x"));

  EXPECT_FALSE(decode::IsSafeRelativeName("a.txt")) << "no leading separator";
  EXPECT_FALSE(decode::IsSafeRelativeName("\\..\\a.txt"));
  EXPECT_FALSE(decode::IsSafeRelativeName("\\docs\\..\\..\\a.txt"));
  EXPECT_FALSE(decode::IsSafeRelativeName("\\docs\\.."));
  EXPECT_FALSE(decode::IsSafeRelativeName("/../a.txt")) << "forward slashes count too";
  EXPECT_FALSE(decode::IsSafeRelativeName("\\docs/../a.txt"));
  EXPECT_FALSE(decode::IsSafeRelativeName("\\C:\\a.txt")) << "drive";
  EXPECT_FALSE(decode::IsSafeRelativeName("\\a.txt:stream")) << "colon";
  EXPECT_FALSE(decode::IsSafeRelativeName("\\\\server\\share\\a.txt")) << "UNC";
  EXPECT_FALSE(decode::IsSafeRelativeName("//server/share/a.txt"));
  EXPECT_FALSE(decode::IsSafeRelativeName("\\docs\\\\a.txt")) << "empty component";
  EXPECT_FALSE(decode::IsSafeRelativeName("\\docs\\")) << "empty last component";
  EXPECT_FALSE(decode::IsSafeRelativeName("\\"));
}

TEST(SafeNames, PlainNamesAreOneComponent) {
  EXPECT_TRUE(decode::IsSafePlainName("a.txt"));
  EXPECT_TRUE(decode::IsSafePlainName("..a"));
  EXPECT_FALSE(decode::IsSafePlainName(""));
  EXPECT_FALSE(decode::IsSafePlainName("."));
  EXPECT_FALSE(decode::IsSafePlainName(".."));
  EXPECT_FALSE(decode::IsSafePlainName("a\\b"));
  EXPECT_FALSE(decode::IsSafePlainName("a/b"));
  EXPECT_FALSE(decode::IsSafePlainName("C:a"));
}

TEST(SafeNames, JoinMakesSeparatorsNativeAndRefusesOverlongPaths) {
  char out[260];
  ASSERT_TRUE(decode::JoinBelowFolder("/out", "\\docs/a.txt", out, sizeof out));
  EXPECT_STREQ(out, "/out/docs/a.txt");
  std::string long_name = "\\" + std::string(255, 'n');
  EXPECT_FALSE(decode::JoinBelowFolder("/out", long_name.c_str(), out, sizeof out));
}

}  // namespace

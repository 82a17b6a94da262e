// Parent paths, folder creation and joining a stored name below a folder.
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
  test_support::TempDir dir_;
};

TEST_F(Folders, MissingLevelsAreCreatedTopDownAndAnExistingFolderIsEnough) {
  EXPECT_EQ(decode::EnsureParentFolder(Path("file.txt").c_str()), 1);
  EXPECT_EQ(decode::EnsureParentFolder(Path("a/b/file.txt").c_str()), 1);
  EXPECT_TRUE(IsDirectory("a/b"));
  EXPECT_EQ(decode::CreateFolderPath(Path("a").c_str()), 0) << "exists at creation time";
  EXPECT_EQ(decode::CreateFolderPath(""), 0);
}

TEST_F(Folders, FileInPlaceOfAFolderFailsAndCreatesNothingBelowIt) {
  test_support::WriteFileBytes(Path("a"), {1, 2, 3});
  EXPECT_EQ(decode::EnsureParentFolder(Path("a/file.txt").c_str()), 0);
  EXPECT_EQ(decode::EnsureParentFolder(Path("a/b/c/file.txt").c_str()), 0);
  EXPECT_FALSE(IsDirectory("a/b"));
  EXPECT_EQ(decode::IsFolder(Path("a").c_str()), 0);
}

TEST(JoinBelowFolder, MakesSeparatorsNativeButNeverATrailByteAndRefusesOverlongPaths) {
  char out[260];
  ASSERT_TRUE(decode::JoinBelowFolder("/out", "\\docs/a.txt", out, sizeof out, kWestern));
  EXPECT_STREQ(out, "/out/docs/a.txt");
  ASSERT_TRUE(decode::JoinBelowFolder("/out", "\\" HYO "\\x", out, sizeof out, kShiftJis));
  EXPECT_EQ(std::string(out), std::string("/out/" HYO "/x"));
  std::string long_name = "\\" + std::string(255, 'n');
  EXPECT_FALSE(decode::JoinBelowFolder("/out", long_name.c_str(), out, sizeof out, kWestern));
}

}  // namespace

// extract and symbolic links in the output folder: nothing is ever
// written through one. A link where a folder is needed is named and its
// entries left out while the others go on (status 3); a link at a file's
// name is replaced, not followed; the output folder itself may be a link.
#include <gtest/gtest.h>
#include <unistd.h>
#include <filesystem>
#include <string>

#include "cli_tool_fixture.h"

namespace {

namespace fs = std::filesystem;
using test_support::CliTool;
using encoder::Bytes;
using test_support::MakeEntry;
using Links = CliTool;

const std::string kExtract = "extract a.exe --output out --password-file password.txt";
const Bytes kBytes = {'n', 'e', 'w'}, kOld = {'o', 'l', 'd'};

TEST_F(Links, ALinkWhereAFolderIsNeededIsNamedAndNothingIsWrittenThroughIt) {
  WriteArchive("a.exe", {MakeEntry("\\data\\x.txt", kBytes), MakeEntry("\\gone\\y.txt", kBytes),
                         MakeEntry("\\ok\\z.txt", kBytes)});
  fs::create_directories(dir_.File("out"));
  fs::create_directories(dir_.File("outside"));
  fs::create_directory_symlink(dir_.File("outside"), dir_.File("out/data"));
  fs::create_directory_symlink(dir_.File("outside/missing"), dir_.File("out/gone"));  // dangling
  std::string said;
  EXPECT_EQ(Run(kExtract, &said), 3) << said;
  EXPECT_NE(said.find("out/data: is a symbolic link where a folder is needed"), std::string::npos) << said;
  EXPECT_NE(said.find("out/gone: is a symbolic link where a folder is needed"), std::string::npos) << said;
  EXPECT_TRUE(fs::is_empty(dir_.File("outside"))) << "nothing written, no folder made through a link";
  EXPECT_EQ(Read("out/ok/z.txt"), kBytes) << "the other entries go on";
  EXPECT_TRUE(fs::is_symlink(dir_.File("out/data")));
}

TEST_F(Links, ALinkAtAFilesNameIsReplacedNeverFollowed) {
  WriteArchive("a.exe", {MakeEntry("x.txt", kBytes), MakeEntry("\\d\\y.txt", kBytes)});
  fs::create_directories(dir_.File("out/d"));
  Write("outside/target.txt", kOld);
  fs::create_symlink(dir_.File("outside/target.txt"), dir_.File("out/x.txt"));
  fs::create_symlink(dir_.File("outside/missing.txt"), dir_.File("out/d/y.txt"));  // dangling
  std::string said;
  EXPECT_EQ(Run(kExtract, &said), 3) << "a link is an existing name: kept without --overwrite";
  EXPECT_NE(said.find("out/x.txt: exists"), std::string::npos) << said;
  EXPECT_NE(said.find("out/d/y.txt: exists"), std::string::npos) << said;
  EXPECT_EQ(Read("outside/target.txt"), kOld);
  EXPECT_FALSE(fs::exists(dir_.File("outside/missing.txt")));

  EXPECT_EQ(Run(kExtract + " --overwrite", &said), 0) << said;
  EXPECT_FALSE(fs::is_symlink(dir_.File("out/x.txt")));
  EXPECT_EQ(Read("out/x.txt"), kBytes);
  EXPECT_EQ(Read("out/d/y.txt"), kBytes);
  EXPECT_EQ(Read("outside/target.txt"), kOld) << "the link's target is untouched";
  EXPECT_FALSE(fs::exists(dir_.File("outside/missing.txt")));
}

TEST_F(Links, TheOutputFolderMayBeALinkTheUserNamed) {
  WriteArchive("a.exe", {MakeEntry("\\sub\\x.txt", kBytes)});
  fs::create_directories(dir_.File("real"));
  fs::create_directory_symlink(dir_.File("real"), dir_.File("out"));
  EXPECT_EQ(Run(kExtract), 0);
  EXPECT_EQ(Read("real/sub/x.txt"), kBytes);
}

// The folder is swapped for a link while the first entry is being written
// into it: that entry lands in the folder that was opened, which moved,
// and the next entry meets the link and is refused.
TEST_F(Links, ALinkPutInPlaceDuringTheRunIsNotFollowed) {
  const Bytes big = test_support::RandomBytes(100000, 3);
  WriteArchive("a.exe", {MakeEntry("\\sub\\big.bin", big), MakeEntry("\\sub\\later.txt", kBytes)}, {4000});
  fs::create_directories(dir_.File("outside"));
  std::string status, said;
  Shell(StartStopped(kExtract + " --quiet") + "mv out/sub out/moved && ln -s '" + dir_.File("outside") +
            "' out/sub; kill -CONT $pid; wait $pid; echo $?",
        &status, &said);
  EXPECT_EQ(status, "3\n") << said;
  EXPECT_NE(said.find("out/sub: is a symbolic link where a folder is needed"), std::string::npos) << said;
  EXPECT_EQ(Read("out/moved/big.bin"), big);
  EXPECT_TRUE(fs::is_empty(dir_.File("outside")));
}

}  // namespace

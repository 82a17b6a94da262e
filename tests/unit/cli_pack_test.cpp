// `pack` as it writes: an archive appears only when complete, an old one
// survives any failure and is replaced only with --overwrite, the output
// is never one of the inputs, empty files are stored, and a file too large
// for the format is refused from its size.
#include <gtest/gtest.h>
#include <filesystem>
#include <string>

#include "cli_tool_fixture.h"

namespace {

namespace fs = std::filesystem;
using cli_testing::CliTool;
using encoder::Bytes;
using PackWriting = CliTool;

const std::string kPack = "pack --stub stub.exe --password-file password.txt ";

TEST_F(PackWriting, AnExistingArchiveIsReplacedOnlyWithOverwriteAndSurvivesAFullDisk) {
  Write("a.txt", {'a'});
  Write("big.bin", testing_support::RandomBytes(2 << 20, 1));
  ASSERT_EQ(Run(kPack + "--output a.exe a.txt"), 0);
  const Bytes old_archive = Read("a.exe");
  std::string said;
  EXPECT_EQ(Run(kPack + "--output a.exe big.bin", &said), 3);
  EXPECT_NE(said.find("a.exe: exists; not replaced (--overwrite replaces it)"), std::string::npos) << said;
  EXPECT_EQ(Read("a.exe"), old_archive);

  // A disk that takes 100 KiB at most: writes past it fail with EFBIG.
  EXPECT_EQ(Shell("ulimit -f 200; trap '' XFSZ; '" KELVARIN_CLI "' " + kPack + "--overwrite --output a.exe big.bin",
                  &said),
            3);
  EXPECT_NE(said.find("a.exe: cannot write the archive: File too large"), std::string::npos) << said;
  EXPECT_EQ(Read("a.exe"), old_archive) << "the old archive as it was";
  EXPECT_TRUE(TemporaryFiles().empty());

  EXPECT_EQ(Run(kPack + "--overwrite --output a.exe big.bin"), 0);
  EXPECT_EQ(Run("extract a.exe --output out --password-file password.txt"), 0);
  EXPECT_EQ(Read("out/big.bin"), Read("big.bin"));
}

TEST_F(PackWriting, TheOutputMayNotBeAnInputNorTheStub) {
  Write("a.txt", {'a'});
  Write("in/b.txt", {'b'});
  std::string said;
  for (const char* arguments : {"--output a.txt a.txt", "--overwrite --output ./a.txt a.txt",
                                "--overwrite --relative --output in/b.txt in", "--overwrite --output stub.exe a.txt"}) {
    EXPECT_EQ(Run(kPack + arguments, &said), 2) << arguments << ": " << said;
  }
  EXPECT_EQ(Read("a.txt"), Bytes{'a'});
  EXPECT_EQ(Read("in/b.txt"), Bytes{'b'});
  EXPECT_EQ(Read("stub.exe"), testing_support::SampleStub(512));
}

TEST_F(PackWriting, EmptyFilesAreStoredAndComeBackEmpty) {
  Write("in/empty.txt", {});
  Write("in/z.txt", {'z'});
  Write("in/zz-empty.txt", {});
  ASSERT_EQ(Run(kPack + "--relative --output a.exe in"), 0);
  EXPECT_EQ(Run("check a.exe"), 0);
  ASSERT_EQ(Run("extract a.exe --output out --password-file password.txt"), 0);
  EXPECT_TRUE(fs::is_regular_file(dir_.File("out/in/empty.txt")));
  EXPECT_EQ(fs::file_size(dir_.File("out/in/empty.txt")), 0u);
  EXPECT_EQ(Read("out/in/z.txt"), Bytes{'z'});
  EXPECT_EQ(fs::file_size(dir_.File("out/in/zz-empty.txt")), 0u) << "an empty last entry";
}

// A sparse file: 4 GiB on paper, nothing on disk. It is refused before a
// byte of it is read; the archive is not even begun.
TEST_F(PackWriting, AFileOverFourGibibytesIsRefusedFromItsSize) {
  Write("a.txt", {'a'});
  fs::resize_file(dir_.File("a.txt"), uint64_t{1} << 32);
  std::string said;
  EXPECT_EQ(Run(kPack + "--output a.exe a.txt", &said), 1);
  EXPECT_NE(said.find("a.txt: is 4294967296 bytes; an entry holds at most 4294967295 (4 GiB - 1)"), std::string::npos)
      << said;
  EXPECT_FALSE(fs::exists(dir_.File("a.exe")));
  EXPECT_TRUE(TemporaryFiles().empty());
}

// On a terminal a long pack shows how far it is; --quiet keeps it still.
TEST_F(PackWriting, ShowsProgressOnATerminalUnlessQuiet) {
  Write("big.bin", testing_support::RandomBytes(5 << 20, 2));
  const std::string pack = "script -qec \"'" KELVARIN_CLI "' " + kPack + "--overwrite --output a.exe big.bin";
  std::string printed;
  ASSERT_EQ(Shell(pack + "\" /dev/null", &printed), 0) << printed;
  EXPECT_NE(printed.find("Packing... 100 %"), std::string::npos) << printed;
  ASSERT_EQ(Shell(pack + " --quiet\" /dev/null", &printed), 0) << printed;
  EXPECT_EQ(printed, "");
}

}  // namespace

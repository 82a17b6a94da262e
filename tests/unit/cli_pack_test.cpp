// `pack` as it writes: an archive appears only when complete, an old one
// survives any failure and is replaced only with --overwrite, the output
// is never one of the inputs nor anything but a file, the stub is one the
// decoder can stand behind, empty files are stored, and a file too large
// for the format is refused from its size.
#include <gtest/gtest.h>
#include <filesystem>
#include <string>

#include "archive/markers.h"
#include "cli_tool_fixture.h"

namespace {

namespace fs = std::filesystem;
using test_support::CliTool;
using encoder::Bytes;
using PackWriting = CliTool;

const std::string kPack = "pack --stub stub.exe --password-file password.txt ";

TEST_F(PackWriting, AnExistingArchiveIsReplacedOnlyWithOverwriteAndSurvivesAFullDisk) {
  Write("a.txt", {'a'});
  Write("big.bin", test_support::RandomBytes(2 << 20, 1));
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
  EXPECT_EQ(Read("stub.exe"), test_support::SampleStub(512));
}

// Any bytes used to be taken: the archive then was no program, or its
// decoder found a check block or an entry inside its own stub.
TEST_F(PackWriting, TheStubMustBeAWindowsProgramWithNoBlockThatBeginsWithAMarker) {
  Write("a.txt", {'a'});
  Write("text.txt", Bytes(600, 't'));
  Bytes check_inside = test_support::SampleStub(1024), entry_inside = check_inside, marker_off_block = check_inside;
  archive::BuildCheckMarker(reinterpret_cast<char*>(check_inside.data() + 512));
  archive::BuildEntryMarker(reinterpret_cast<char*>(entry_inside.data() + 768));
  archive::BuildEntryMarker(reinterpret_cast<char*>(marker_off_block.data() + 700));
  Write("check.exe", check_inside);
  Write("entry.exe", entry_inside);
  Write("off.exe", marker_off_block);
  const std::pair<const char*, std::string> refused[] = {
      {"text.txt", "text.txt: is not a Windows program (no MZ and PE headers), so the archive would not be one"},
      {"check.exe", "check.exe: holds a block that begins with the check block's marker at offset 512, where the "
                    "decoder would take the archive to begin"},
      {"entry.exe", "entry.exe: holds a block that begins with an entry header's marker at offset 768, where the "
                    "decoder would take the archive to begin"},
  };
  for (const auto& [stub, message] : refused) {
    std::string said;
    EXPECT_EQ(Run(std::string("pack --password-file password.txt --output a.exe a.txt --stub ") + stub, &said), 1);
    EXPECT_EQ(said, "kelvarin: " + message + "\n");
    EXPECT_FALSE(fs::exists(dir_.File("a.exe")));
  }
  // Within a block a marker is only bytes: the decoder reads none there.
  ASSERT_EQ(Run("pack --password-file password.txt --output a.exe a.txt --stub off.exe"), 0);
  EXPECT_EQ(Run("extract a.exe --output out --password-file password.txt"), 0);
  EXPECT_EQ(Read("out/a.txt"), Bytes{'a'});
}

// A folder, a device or a FIFO at the output's name cannot be replaced by
// the archive, --overwrite or not (as root, --output /dev/null used to
// replace the device); a link there is replaced, not followed.
TEST_F(PackWriting, TheOutputIsAFileOrNothing) {
  Write("a.txt", {'a'});
  Write("folder/b.txt", {'b'});
  std::string said;
  EXPECT_EQ(Run(kPack + "--overwrite --output folder a.txt", &said), 3);
  EXPECT_EQ(said, "kelvarin: folder: is a folder; the archive needs a file's name\n");
  // (A FIFO stands for a device here: a pack at fault must not replace a real one.)
  ASSERT_EQ(Shell("mkfifo fifo.exe"), 0);
  EXPECT_EQ(Run(kPack + "--overwrite --output fifo.exe a.txt", &said), 3);
  EXPECT_EQ(said, "kelvarin: fifo.exe: is a FIFO (named pipe), not a regular file; pack replaces only files\n");
  ASSERT_EQ(Shell("ln -s b.txt folder/link.exe"), 0);
  EXPECT_EQ(Run(kPack + "--output folder/link.exe a.txt", &said), 3);
  EXPECT_EQ(said, "kelvarin: folder/link.exe: exists; not replaced (--overwrite replaces it)\n");
  EXPECT_EQ(Run(kPack + "--overwrite --quiet --output folder/link.exe a.txt", &said), 0) << said;
  EXPECT_FALSE(fs::is_symlink(dir_.File("folder/link.exe")));
  EXPECT_EQ(Read("folder/b.txt"), Bytes{'b'});
  EXPECT_TRUE(TemporaryFiles().empty());
}

// An output folder that is not there is named with the system's reason,
// before anything is staged.
TEST_F(PackWriting, AnOutputInAFolderThatIsNotThereIsRefusedWithItsReason) {
  Write("a.txt", {'a'});
  std::string said;
  EXPECT_EQ(Run(kPack + "--output missing/a.exe a.txt", &said), 3);
  EXPECT_EQ(said, "kelvarin: missing/a.exe: cannot write the archive: No such file or directory\n");
  EXPECT_FALSE(fs::exists(dir_.File("missing")));
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

// The file is rewritten in place, at its size, after pack has read its
// first block (stop_at_call.c stops it there): every read goes well, but
// the archive would hold old and new bytes. Used to exit 0.
TEST_F(PackWriting, AFileRewrittenWhileItIsReadFailsAndWritesNothing) {
  Write("big.bin", test_support::RandomBytes(200000, 5));
  ASSERT_EQ(Shell("touch -d 2001-01-01 big.bin"), 0) << "a rewrite now cannot keep its time";
  std::string status, said;
  Shell(StartStopped(kPack + "--output a.exe big.bin", "read:big.bin") +
            "dd if=/dev/urandom of=big.bin bs=1000 count=200 conv=notrunc status=none; kill -CONT $pid; wait $pid; "
            "echo $?",
        &status, &said);
  EXPECT_EQ(status, "1\n") << said;
  EXPECT_EQ(said, "kelvarin: big.bin: changed while it was read; nothing was packed (run pack again when it is still)\n");
  EXPECT_EQ(fs::file_size(dir_.File("big.bin")), 200000u);
  EXPECT_FALSE(fs::exists(dir_.File("a.exe")));
  EXPECT_TRUE(TemporaryFiles().empty());
}

// On a terminal a long pack shows how far it is; --quiet keeps it still.
TEST_F(PackWriting, ShowsProgressOnATerminalUnlessQuiet) {
  Write("big.bin", test_support::RandomBytes(5 << 20, 2));
  const std::string pack = "script -qec \"'" KELVARIN_CLI "' " + kPack + "--overwrite --output a.exe big.bin";
  std::string printed;
  ASSERT_EQ(Shell(pack + "\" /dev/null", &printed), 0) << printed;
  EXPECT_NE(printed.find("Packing... 100 %"), std::string::npos) << printed;
  // Cleared once, when done: a second clearing would wipe what follows.
  const std::string clearing = "\r                    \r";
  const size_t cleared = printed.find(clearing);
  EXPECT_NE(cleared, std::string::npos) << printed;
  EXPECT_EQ(printed.find(clearing, cleared + 1), std::string::npos) << printed;
  ASSERT_EQ(Shell(pack + " --quiet\" /dev/null", &printed), 0) << printed;
  EXPECT_EQ(printed, "");
  // Extract shows the program's own "Decoding..." line the same way.
  const std::string extract = "script -qec \"'" KELVARIN_CLI "' extract a.exe --output out --overwrite --password-file "
                              "password.txt";
  ASSERT_EQ(Shell(extract + "\" /dev/null", &printed), 0) << printed;
  EXPECT_NE(printed.find("Decoding... 100 %"), std::string::npos) << printed;
  ASSERT_EQ(Shell(extract + " --quiet\" /dev/null", &printed), 0) << printed;
  EXPECT_EQ(printed, "");
}

}  // namespace

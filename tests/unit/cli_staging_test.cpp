// What becomes of extract's staged file when the run is stopped from
// outside while the file is open: every signal that ends the program
// removes it, from the folder that holds it even when that folder was
// moved, and a file that appears under its name meanwhile is replaced
// only with --overwrite; after the rename into place nothing is done by
// name. The program is stopped at its first write into the staged file,
// or right after the rename (stop_at_call.c), so nothing here depends on
// timing. And how it is made: past names an earlier process left, or
// with the system's reason why not.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <filesystem>
#include <string>

#include "cli/sinks/staged_file.h"
#include "cli_tool_fixture.h"
#include "platform/console.h"

namespace {

using test_support::CliTool;
namespace fs = std::filesystem;
using encoder::Bytes;
using test_support::MakeEntry;
using StagedFiles = CliTool;

const std::string kExtract = "extract a.exe --output out --password-file password.txt";

TEST_F(StagedFiles, EverySignalThatEndsTheProgramRemovesThem) {
  WriteArchive("a.exe", {MakeEntry("a.bin", test_support::RandomBytes(100000, 1))}, {4000});
  const std::pair<const char*, int> signals[] = {
      {"INT", SIGINT},   {"TERM", SIGTERM}, {"HUP", SIGHUP},   {"QUIT", SIGQUIT},
      {"PIPE", SIGPIPE}, {"ALRM", SIGALRM}, {"USR1", SIGUSR1}, {"XFSZ", SIGXFSZ}};
  for (const auto& [name, number] : signals) {
    fs::remove_all(dir_.File("out"));
    std::string seen, status;
    // The signal waits while the program is stopped and comes first when it goes on.
    Shell("ulimit -c 0; " + StartStopped(kExtract) + "ls out/.kelvarin-* | wc -l; kill -" + name + " $pid; kill -CONT $pid; wait $pid; echo $?",
          &status, &seen);
    EXPECT_EQ(status, "1\n" + std::to_string(128 + number) + "\n") << name << ": stopped with its staged file, then "
                                                                    << "ended as the signal ends it; said: " << seen;
    EXPECT_TRUE(TemporaryFiles().empty()) << name;
    EXPECT_FALSE(fs::exists(dir_.File("out/a.bin"))) << name;
  }
}

// The handler used to unlink by path: through a link put where the moved
// folder was, it removed the wrong file and left the staged one.
TEST_F(StagedFiles, ASignalRemovesTheStagedFileFromTheHeldFolderEvenWhenItWasMoved) {
  WriteArchive("a.exe", {MakeEntry("a.bin", test_support::RandomBytes(100000, 3))}, {4000});
  std::string status, said;
  Shell(StartStopped(kExtract) +
            "staged=$(basename out/.kelvarin-*); mv out moved; mkdir elsewhere; echo keep >elsewhere/$staged; "
            "ln -s elsewhere out; kill -TERM $pid; kill -CONT $pid; wait $pid; echo $?; ls -A moved; "
            "cat elsewhere/$staged",
        &status, &said);
  EXPECT_EQ(status, std::to_string(128 + SIGTERM) + "\nkeep\n") << "nothing left in moved/, elsewhere/ untouched; "
                                                                 << said;
}

// A hard link to another file put at the name right after the rename
// used to receive the read-only mark (the entries here carry it).
TEST_F(StagedFiles, TheReadOnlyMarkNeverReachesAFileLinkedInAfterTheRename) {
  WriteArchive("a.exe", {MakeEntry("a.txt", {'n', 'e', 'w'})});
  Write("outside.txt", {'o'});
  chmod(dir_.File("outside.txt").c_str(), 0644);
  std::string status, said;
  Shell(StartStopped(kExtract + " --quiet", "rename:a.txt") +
            "stat -c %a out/a.txt; rm out/a.txt; ln outside.txt out/a.txt; kill -CONT $pid; wait $pid; echo $?",
        &status, &said);
  EXPECT_EQ(status, "444\n0\n") << "read-only when it came into place; " << said;
  struct stat info;
  ASSERT_EQ(stat(dir_.File("outside.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(StagedFiles, AFileThatAppearsMeanwhileIsReplacedOnlyWithOverwrite) {
  const Bytes bytes = test_support::RandomBytes(100000, 2), late = {'l', 'a', 't', 'e'};
  WriteArchive("a.exe", {MakeEntry("a.bin", bytes)}, {4000});
  std::string status, said;
  Shell(StartStopped(kExtract) + "printf late >out/a.bin; kill -CONT $pid; wait $pid; echo $?", &status, &said);
  EXPECT_EQ(status, "3\n") << said;
  EXPECT_NE(said.find("out/a.bin: cannot put in place: File exists"), std::string::npos) << said;
  EXPECT_EQ(Read("out/a.bin"), late) << "not told to replace";

  fs::remove(dir_.File("out/a.bin"));
  Shell(StartStopped(kExtract + " --overwrite --quiet") + "printf late >out/a.bin; kill -CONT $pid; wait $pid; echo $?",
        &status, &said);
  EXPECT_EQ(status, "0\n") << said;
  EXPECT_EQ(Read("out/a.bin"), bytes) << "told to replace, whenever the file came";
  EXPECT_TRUE(TemporaryFiles().empty());
}

// A disk that fills during the write: the run ends with status 3 and the
// reason, the staged file goes, and the file it would replace stays.
TEST_F(StagedFiles, AFullDiskKeepsTheOldFileAndLeavesNoStagedFile) {
  WriteArchive("a.exe", {MakeEntry("a.bin", test_support::RandomBytes(300000, 4))}, {4000});
  Write("out/a.bin", {'o', 'l', 'd'});
  std::string said;
  EXPECT_EQ(Shell("ulimit -f 200; trap '' XFSZ; '" KELVARIN_CLI "' " + kExtract + " --overwrite", &said), 3);
  EXPECT_NE(said.find("cannot write: File too large"), std::string::npos) << said;
  EXPECT_EQ(Read("out/a.bin"), (Bytes{'o', 'l', 'd'}));
  EXPECT_TRUE(TemporaryFiles().empty());
}

// A process of the same number may have left its staged files behind.
TEST(StagedFileNames, ANameAnEarlierProcessLeftIsPassedOver) {
  test_support::TempDir dir;
  const std::string left = ".kelvarin-" + std::to_string(platform::ProcessId()) + "-1.tmp";
  test_support::WriteFileBytes(dir.File(left), {'o', 'l', 'd'});
  cli::StagedFile staged;
  std::string reason;
  ASSERT_TRUE(staged.Create(platform::Folder::Open(dir.path().c_str()), "a.txt", &reason)) << reason;
  const unsigned char bytes[] = {'n', 'e', 'w'};
  ASSERT_EQ(staged.Write(bytes, 3, &reason), 3u) << reason;
  ASSERT_TRUE(staged.Commit(nullptr, false, &reason)) << reason;
  EXPECT_EQ(encoder::ReadWholeFile(dir.File("a.txt")), (Bytes{'n', 'e', 'w'}));
  EXPECT_EQ(encoder::ReadWholeFile(dir.File(left)), (Bytes{'o', 'l', 'd'})) << "not the staged file's to touch";
}

TEST_F(StagedFiles, AFolderThatRefusesTheFileSaysWhy) {
  WriteArchive("a.exe", {MakeEntry("a.bin", {'a'})});
  fs::create_directory(dir_.File("out"));
  chmod(dir_.File("out").c_str(), 0555);
  std::string said;
  EXPECT_EQ(Shell(AsPlainUser() + "'" KELVARIN_CLI "' " + kExtract, &said), 3);
  EXPECT_NE(said.find("out/a.bin: cannot create: Permission denied"), std::string::npos) << said;
}

}  // namespace

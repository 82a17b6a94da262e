// `--password-file` as scripts use it: a regular file, standard input, a
// descriptor or a named pipe, each giving its first line only, with
// either line end; and the passwords no command takes.
#include <gtest/gtest.h>
#include <string>

#include "cli_tool_fixture.h"

namespace {

using test_support::CliTool;
using test_support::MakeEntry;
using PasswordFile = CliTool;
using encoder::Bytes;

TEST_F(PasswordFile, IsReadFromFilesPipesAndDescriptorsUpToTheFirstLineEnd) {
  WriteArchive("a.exe", {MakeEntry("a.txt", {'a'})});
  Write("crlf.txt", {'p', 'w', '-', '1', '2', '3', '4', '\r', '\n', 'x'});
  const char* ways[] = {
      "list a.exe --password-file password.txt",
      "list a.exe --password-file crlf.txt",
      "printf 'pw-1234\\nsecond line' | " KELVARIN_CLI " list a.exe --password-file -",
      "printf 'pw-1234\\r' | " KELVARIN_CLI " list a.exe --password-file /dev/stdin",
      KELVARIN_CLI " list a.exe --password-file /dev/fd/3 3<crlf.txt",
      // A writer that keeps its end open: only the first line is waited for.
      "mkfifo fifo; sh -c \"printf 'pw-1234\\n'; exec sleep 30\" >fifo & writer=$!; " KELVARIN_CLI
      " list a.exe --password-file fifo; status=$?; kill $writer; exit $status",
  };
  for (const char* way : ways) {
    std::string printed;
    const std::string command = std::string(way).rfind("list", 0) == 0 ? "'" KELVARIN_CLI "' " + std::string(way) : way;
    EXPECT_EQ(Shell(command, &printed), 0) << way << ": " << printed;
    EXPECT_NE(printed.find("a.txt"), std::string::npos) << way << ": " << printed;
  }
  std::string printed;
  EXPECT_EQ(Shell("printf 'wrong\\npw-1234\\n' | " KELVARIN_CLI " list a.exe --password-file -", &printed), 1)
      << "the second line does not count";
  EXPECT_EQ(Run("list a.exe --password-file .", &printed), 2);
  EXPECT_NE(printed.find("cannot read the password file: Is a directory"), std::string::npos) << printed;
  EXPECT_EQ(Run("list a.exe --password-file missing.txt", &printed), 2);
  EXPECT_NE(printed.find("missing.txt: cannot read the password file: No such file"), std::string::npos) << printed;
}

// The line used to be cut at 4096 bytes without a word, so that pack
// sealed with less than the file held.
TEST_F(PasswordFile, ALineLongerThanTheLimitIsRefusedAndTheLimitItselfWorks) {
  Write("a.txt", {'a'});
  Write("4096.txt", Bytes(4096, 'p'));
  Write("4097.txt", Bytes(4097, 'p'));
  const std::string pack = "pack --stub stub.exe --output a.exe a.txt --password-file ";
  ASSERT_EQ(Run(pack + "4096.txt"), 0);
  EXPECT_EQ(Run("list a.exe --password '" + std::string(4096, 'p') + "'"), 0);
  for (const std::string command : {pack + "4097.txt --overwrite", std::string("list a.exe --password-file 4097.txt"),
                                    std::string("extract a.exe --output out --password-file 4097.txt")}) {
    std::string said;
    EXPECT_EQ(Run(command, &said), 2) << command;
    EXPECT_EQ(said, "kelvarin: 4097.txt: the password is longer than 4096 bytes\n") << command;
  }
}

// What Notepad writes first was taken as part of the password.
TEST_F(PasswordFile, AByteOrderMarkInFrontIsNotPartOfThePassword) {
  Write("a.txt", {'a'});
  const std::string marked = "\xEF\xBB\xBFpw-1234\r\n";
  Write("marked.txt", Bytes(marked.begin(), marked.end()));
  ASSERT_EQ(Run("pack --stub stub.exe --output a.exe a.txt --password-file marked.txt"), 0);
  EXPECT_EQ(Run("list a.exe --password pw-1234"), 0);
  EXPECT_EQ(Run("extract a.exe --output out --password-file marked.txt"), 0);
  EXPECT_EQ(Read("out/a.txt"), Bytes{'a'});
}

// They used to be tried, and called a wrong password.
TEST_F(PasswordFile, AnEmptyPasswordIsAUsageErrorForEveryCommand) {
  WriteArchive("a.exe", {MakeEntry("a.txt", {'a'})});
  Write("empty.txt", {});
  Write("newline.txt", {'\n'});
  Write("marked.txt", {0xEF, 0xBB, 0xBF, '\r', '\n'});
  const std::pair<std::string, std::string> ways[] = {
      {"--password-file empty.txt", "empty.txt"},
      {"--password-file newline.txt", "newline.txt"},
      {"--password-file marked.txt", "marked.txt"},
      {"--password ''", "--password"},
  };
  for (const auto& [option, subject] : ways) {
    for (const std::string command : {"list a.exe ", "extract a.exe --output out ",
                                      "pack --stub stub.exe --output b.exe stub.exe "}) {
      std::string said;
      EXPECT_EQ(Run(command + option, &said), 2) << command << option;
      EXPECT_EQ(said, "kelvarin: " + subject + ": the password is empty\n") << command << option;
    }
  }
}

}  // namespace

// `--password-file` as scripts use it: a regular file, standard input, a
// descriptor or a named pipe, each giving its first line only, with
// either line end.
#include <gtest/gtest.h>
#include <string>

#include "cli_tool_fixture.h"

namespace {

using cli_testing::CliTool;
using test_support::MakeEntry;
using PasswordFile = CliTool;

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

}  // namespace

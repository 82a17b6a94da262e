// What is not a regular file is refused where a file is wanted, with what
// it is, and never waited on: check and list of a FIFO, a device, a
// folder or a loop of links; pack's stub likewise; and a path longer
// than the system takes.
#include <gtest/gtest.h>
#include <string>

#include "cli_tool_fixture.h"

namespace {

using test_support::CliTool;

class NotAFile : public CliTool {
 protected:
  void SetUp() override {
    CliTool::SetUp();
    ASSERT_EQ(Shell("mkfifo fifo && mkdir folder && ln -s loop loop"), 0);
  }
};

// Each command runs under a deadline: opening a FIFO used to wait for a
// writer that never comes (124 is timeout's status).
const std::pair<const char*, const char*> kNotFiles[] = {
    {"fifo", "is a FIFO (named pipe), not a regular file"},
    {"/dev/null", "is a device, not a regular file"},
    {"folder", "is a folder, not a regular file"},
    {"loop", "is a loop of symbolic links, not a regular file"},
};

TEST_F(NotAFile, CheckAndListSayWhatItIs) {
  for (const auto& [path, words] : kNotFiles) {
    for (const std::string command : {"check ", "list --password-file password.txt "}) {
      std::string said;
      EXPECT_EQ(Shell("timeout 20 '" KELVARIN_CLI "' " + command + path + " </dev/null", &said), 1) << command << path;
      EXPECT_EQ(said, "kelvarin: " + std::string(path) + ": " + words + "\n") << command << path;
    }
  }
}

TEST_F(NotAFile, PackRefusesSuchAStub) {
  Write("a.txt", {'a'});
  for (const auto& [path, words] : kNotFiles) {
    std::string said;
    EXPECT_EQ(Shell("timeout 20 '" KELVARIN_CLI "' pack --stub " + std::string(path) +
                        " --password-file password.txt --output a.exe a.txt </dev/null",
                    &said),
              1)
        << path;
    EXPECT_NE(said.find(std::string(path) + ": " + words), std::string::npos) << said;
  }
}

// Said as it is, not cut to fit and then looked for under another name.
TEST_F(NotAFile, APathLongerThanTheSystemTakesIsNamedSo) {
  const std::string path = "x/" + std::string(4100, 'a') + ".exe";
  for (const std::string command : {"check ", "list --password-file password.txt "}) {
    std::string said;
    EXPECT_EQ(Run(command + path, &said), 1) << command;
    EXPECT_EQ(said, "kelvarin: " + path + ": the path is longer than 4095 characters\n") << command;
  }
}

}  // namespace

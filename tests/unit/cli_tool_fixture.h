// What the tests of `kelvarin` run as a program share: a temporary folder
// to run it in, without a terminal, and archives and files written there.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/sample_data.h"
#include "test_support.h"
#include "tests/support/entries.h"

namespace test_support {

namespace fs = std::filesystem;
using encoder::Bytes;

const std::string kPassword = "pw-1234";

class CliTool : public ::testing::Test {
 protected:
  // Runs the tool in the temporary folder with no terminal to ask on.
  int Run(const std::string& arguments, std::string* output = nullptr, std::string* errors = nullptr) {
    return Shell("'" KELVARIN_CLI "' " + arguments + " </dev/null", output, errors);
  }
  // Runs a shell command there; without `errors` stderr goes to `output` too.
  int Shell(const std::string& command, std::string* output = nullptr, std::string* errors = nullptr) {
    const std::string out = dir_.File("stdout.txt"), err = dir_.File("stderr.txt");
    const std::string redirection = " >'" + out + "' " + (errors ? "2>'" + err + "'" : "2>&1");
    const int status = std::system(("cd '" + dir_.path() + "' && { " + command + "; }" + redirection).c_str());
    auto take = [](const std::string& path, std::string* text) {
      const Bytes bytes = encoder::ReadWholeFile(path);
      if (text) text->assign(bytes.begin(), bytes.end());
      fs::remove(path);
    };
    take(out, output);
    if (errors) take(err, errors);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Write(const std::string& name, const Bytes& bytes) {
    fs::create_directories(fs::path(dir_.File(name)).parent_path());
    test_support::WriteFileBytes(dir_.File(name), bytes);
  }
  Bytes Read(const std::string& name) { return encoder::ReadWholeFile(dir_.File(name)); }
  // Writes an archive of the entries; returns its bytes.
  Bytes WriteArchive(const std::string& name, const std::vector<encoder::Entry>& entries,
                     const encoder::EntryOptions& options = {}) {
    const encoder::ArchiveWriter writer = test_support::ArchiveOf(test_support::SampleStub(512), entries, kPassword, options);
    EXPECT_TRUE(writer.WriteTo(dir_.File(name)));
    return writer.bytes();
  }
  // Temporary files of extract anywhere below the folder.
  std::vector<std::string> TemporaryFiles() {
    std::vector<std::string> found;
    std::error_code ec;
    for (const auto& item : fs::recursive_directory_iterator(dir_.path(), ec)) {
      if (item.path().filename().string().rfind(".kelvarin-", 0) == 0) found.push_back(item.path().string());
    }
    return found;
  }
  // A shell snippet that starts kelvarin with these arguments in the
  // background, with every signal at its default action, and waits (30 s
  // at most) until it has stopped where `stop` says (stop_at_call.c; by
  // default at its first write into a staged file); $pid is its number.
  // The caller lets it go on with SIGCONT.
  static std::string StartStopped(const std::string& arguments, const std::string& stop = "") {
    return "env --default-signal ASAN_OPTIONS=verify_asan_link_order=0 " +
           (stop.empty() ? std::string() : "KELVARIN_STOP='" + stop + "' ") + "LD_PRELOAD='" KELVARIN_STOPPER
           "' '" KELVARIN_CLI "' " + arguments + " </dev/null & pid=$!; for i in $(seq 3000); do "
           "grep -q '^State:.*T' /proc/$pid/status 2>/dev/null && break; sleep 0.01; done; ";
  }
  // A prefix that runs a command as a user whom permissions bind: root
  // loses its power to pass them by (tests run as root here).
  static std::string AsPlainUser() {
    return geteuid() == 0 ? "setpriv --bounding-set=-dac_override,-dac_read_search " : "";
  }
  void SetUp() override {
    Write("stub.exe", test_support::SampleStub(512));
    Write("password.txt", Bytes(kPassword.begin(), kPassword.end()));
  }
  test_support::TempDir dir_;
};

}  // namespace test_support

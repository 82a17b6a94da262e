// `kelvarin extract` and `kelvarin list` run as programs on archives that
// `kelvarin pack` made: files, folders, times and permissions come back,
// and names that would leave the output folder are refused.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/bounded_text.h"
#include "encoder/entry_encoder.h"
#include "encoder/sample_data.h"
#include "test_support.h"

namespace {

using encoder::Bytes;

class ExtractCommand : public ::testing::Test {
 protected:
  int Run(const std::string& arguments, std::string* output = nullptr) {
    const std::string capture = dir_.File("output.txt");
    const std::string command =
        "cd '" + dir_.path() + "' && '" KELVARIN_CLI "' " + arguments + " >'" + capture + "' 2>&1";
    const int status = std::system(command.c_str());
    if (output) {
      Bytes bytes = encoder::ReadWholeFile(capture);
      output->assign(bytes.begin(), bytes.end());
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Write(const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(std::filesystem::path(dir_.File(name)).parent_path());
    testing_support::WriteFileBytes(dir_.File(name), bytes);
  }
  Bytes Read(const std::string& name) { return encoder::ReadWholeFile(dir_.File(name)); }
  void SetUp() override {
    Write("stub.exe", encoder::SampleStub(512));
    Write("password.txt", {'p', 'w', '-', '1', '2', '3', '4', '\n'});
  }
  testing_support::TempDir dir_;
};

TEST_F(ExtractCommand, RelativeAndPlainNamesComeBackWithTimesAndReadOnly) {
  const Bytes text = encoder::TextLikeBytes(300000, 3), one = {'x'};
  Write("in/docs/deep/text.txt", text);
  Write("in/one.bin", one);
  chmod(dir_.File("in/one.bin").c_str(), 0444);
  struct timespec times[2] = {{1000000000, 0}, {1200000000, 0}};
  utimensat(AT_FDCWD, dir_.File("in/docs/deep/text.txt").c_str(), times, 0);
  ASSERT_EQ(Run("pack --stub stub.exe --output rel.exe --password-file password.txt --relative --block-size 4000 in"), 0);
  ASSERT_EQ(Run("pack --stub stub.exe --output plain.exe --password-file password.txt in/one.bin"), 0);

  std::filesystem::create_directory(dir_.File("out"));
  std::string printed;
  ASSERT_EQ(Run("extract rel.exe --output out --password-file password.txt --threads 3", &printed), 0) << printed;
  // Times first: reading the file back would touch its access time.
  struct stat info;
  ASSERT_EQ(stat(dir_.File("out/in/docs/deep/text.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mtim.tv_sec, 1200000000);
  EXPECT_EQ(info.st_atim.tv_sec, 1000000000);
  EXPECT_EQ(Read("out/in/docs/deep/text.txt"), text);
  EXPECT_EQ(Read("out/in/one.bin"), one);
  ASSERT_EQ(stat(dir_.File("out/in/one.bin").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0222, 0u) << "read-only comes back as a cleared write bit";

  ASSERT_EQ(Run("extract plain.exe --output out --password-file password.txt"), 0);
  EXPECT_EQ(Read("out/one.bin"), one);

  ASSERT_EQ(Run("list rel.exe --password-file password.txt", &printed), 0);
  EXPECT_NE(printed.find("\\in\\docs\\deep\\text.txt"), std::string::npos) << printed;
  EXPECT_NE(printed.find("300000"), std::string::npos) << printed;
}

TEST_F(ExtractCommand, FailuresAreReportedInTheProgramsWordsWithExitStatusOne) {
  Write("a.txt", {'a', 'b', 'c'});
  ASSERT_EQ(Run("pack --stub stub.exe --output a.exe --password-file password.txt a.txt"), 0);
  std::filesystem::create_directory(dir_.File("out"));
  Write("wrong.txt", {'n', 'o', 'p', 'e', '\n'});
  std::string printed;
  EXPECT_EQ(Run("extract a.exe --output out --password-file wrong.txt", &printed), 1);
  EXPECT_NE(printed.find("Wrong password"), std::string::npos) << printed;
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out/a.txt")));

  EXPECT_EQ(Run("extract stub.exe --output out --password-file password.txt", &printed), 1);
  EXPECT_NE(printed.find("This is not Kelvarin file."), std::string::npos) << printed;
  EXPECT_EQ(Run("extract a.exe --password-file password.txt"), 2) << "no output folder";
  EXPECT_EQ(Run("list"), 2);
  for (const char* count : {"0", "257", "2x", ""}) {
    EXPECT_EQ(Run(std::string("list a.exe --password-file password.txt --threads '") + count + "'"), 2) << count;
  }
}

TEST_F(ExtractCommand, NamesThatWouldLeaveTheOutputFolderAreRefused) {
  for (const char* name : {"\\..\\escaped.txt", "..", "sub/escaped.txt", "C:escaped.txt"}) {
    encoder::ArchiveWriter writer(encoder::SampleStub(512));
    encoder::Entry entry;
    base::CopyText(entry.record.output_name, archive::kOutputNameCapacity, name);
    entry.contents = {'b', 'a', 'd'};
    ASSERT_EQ(encoder::AddEntry(writer, entry, "pw-1234"), encoder::EncodeError::kNone);
    ASSERT_TRUE(writer.WriteTo(dir_.File("evil.exe")));
    std::filesystem::remove_all(dir_.File("out"));
    std::filesystem::create_directory(dir_.File("out"));
    std::string printed;
    EXPECT_EQ(Run("extract evil.exe --output out --password-file password.txt", &printed), 1) << name;
    EXPECT_NE(printed.find("Could not open for write"), std::string::npos) << name << ": " << printed;
    EXPECT_TRUE(std::filesystem::is_empty(dir_.File("out"))) << name;
    EXPECT_FALSE(std::filesystem::exists(dir_.File("escaped.txt"))) << name;
  }
}

}  // namespace

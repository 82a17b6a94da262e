// `kelvarin pack` run as a program: its archives pass `kelvarin check` and
// decode back to the packed files, names, times and attributes; installed,
// it finds its stub without --stub.
#include <gtest/gtest.h>
#include <algorithm>
#include <sys/stat.h>
#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "encoder/archive_writer.h"
#include "encoder/sample_data.h"
#include "test_support.h"

namespace {

using encoder::Bytes;

class PackCommand : public ::testing::Test {
 protected:
  // Runs the tool, or another program, in the temporary folder; returns its
  // exit code, and what it printed on stdout in output.
  int Run(const std::string& arguments, const std::string& program = "'" KELVARIN_CLI "'",
          std::string* output = nullptr) {
    const std::string capture = dir_.File("stdout.txt");
    const std::string command =
        "cd '" + dir_.path() + "' && " + program + " " + arguments + " >'" + capture + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    const Bytes printed = encoder::ReadWholeFile(capture);
    if (output) output->assign(printed.begin(), printed.end());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Write(const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(std::filesystem::path(dir_.File(name)).parent_path());
    testing_support::WriteFileBytes(dir_.File(name), bytes);
  }
  bool Exists(const std::string& name) { return std::filesystem::exists(dir_.File(name)); }

  void SetUp() override {
    Write("stub.exe", encoder::SampleStub(700));
    Write("password.txt", {'s', 'e', 'c', 'r', 'e', 't', '!', '\r', '\n', 'x'});
  }

  testing_support::TempDir dir_;
};

TEST_F(PackCommand, MakesArchivesThatCheckCleanAndDecodeBack) {
  const Bytes text = encoder::TextLikeBytes(40000, 1), small = {'h', 'i', '\n'}, random = encoder::RandomBytes(3000, 2);
  Write("docs/b.txt", text);
  Write("docs/a/small.txt", small);
  Write("random.bin", random);
  chmod(dir_.File("random.bin").c_str(), 0444);
  struct stat info;
  ASSERT_EQ(stat(dir_.File("docs/b.txt").c_str(), &info), 0);

  ASSERT_EQ(Run("pack --stub stub.exe --output out.exe --password-file password.txt --relative --block-size 5000 "
                "--caption Greetings --flags 4 --suicide 1 --serial 1234ABCD --time 1600000000 docs random.bin"),
            0);
  EXPECT_EQ(Run("check out.exe"), 0);
  const Bytes archive = encoder::ReadWholeFile(dir_.File("out.exe"));
  EXPECT_TRUE(testing_support::ChecksClean(dir_, archive));

  auto decoded = testing_support::DecodeInMemory(dir_, archive, "secret!");
  EXPECT_EQ(decoded.result, 1);
  ASSERT_EQ(decoded.files.size(), 3u);
  EXPECT_EQ(decoded.files[0].path, "/out/docs/a/small.txt");  // a folder's files sorted
  EXPECT_EQ(decoded.files[0].bytes, small);
  EXPECT_EQ(decoded.files[1].path, "/out/docs/b.txt");
  EXPECT_EQ(decoded.files[1].bytes, text);
  EXPECT_EQ(decoded.files[2].path, "/out/random.bin");
  EXPECT_EQ(decoded.files[2].bytes, random);

  const archive::FileRecord& record = decoded.files[1].record;
  EXPECT_EQ(record.encoder_serial, 0x1234ABCDu);
  EXPECT_EQ(record.encoding_time, 1600000000u);
  EXPECT_EQ(record.attributes, 0x20u);
  EXPECT_EQ(decoded.files[2].record.attributes, 0x01u);  // not writable
  const uint64_t written = 116444736000000000ull + info.st_mtim.tv_sec * 10000000ull + info.st_mtim.tv_nsec / 100;
  EXPECT_EQ(record.last_write_time, written);
  EXPECT_EQ(record.creation_time, written);
  EXPECT_STREQ(record.output_name, "\\docs\\b.txt");
}

TEST_F(PackCommand, StoresBaseNamesWithoutRelative) {
  Write("deep/er/file.dat", Bytes(100, 'q'));
  ASSERT_EQ(Run("pack --stub stub.exe --output out.exe --password 'pass word' deep/er/file.dat"), 0);
  auto decoded = testing_support::DecodeInMemory(dir_, encoder::ReadWholeFile(dir_.File("out.exe")), "pass word");
  ASSERT_EQ(decoded.files.size(), 1u);
  EXPECT_STREQ(decoded.files[0].record.output_name, "file.dat");
}

TEST_F(PackCommand, RefusesWhatItCannotPackFaithfully) {
  Write("a.txt", Bytes(10, 'a'));
  Write("empty.txt", {});
  Write("folder/b.txt", Bytes(10, 'b'));
  EXPECT_EQ(Run("pack --stub stub.exe --output o.exe --password abc a.txt"), 1);        // too short
  EXPECT_EQ(Run("pack --stub stub.exe --output o.exe --password \"$(printf '\\202bcd')\" a.txt"), 1);  // undefined pass
  EXPECT_EQ(Run("pack --stub stub.exe --output o.exe --password abcd folder"), 1);       // folder, no --relative
  EXPECT_EQ(Run("pack --stub stub.exe --output o.exe --password abcd --relative /etc/hostname"), 1);
  EXPECT_EQ(Run("pack --stub stub.exe --output o.exe --password abcd empty.txt"), 1);
  EXPECT_EQ(Run("pack --stub missing.exe --output o.exe --password abcd a.txt"), 1);
  EXPECT_FALSE(Exists("o.exe"));
  EXPECT_EQ(Run("pack --output o.exe --password abcd a.txt"), 2);
  EXPECT_EQ(Run("pack --stub stub.exe --output o.exe --block-size 1 --password abcd a.txt"), 2);
  EXPECT_EQ(Run("pack --stub stub.exe --output o.exe --suicide 200 --password abcd a.txt"), 2);
  EXPECT_EQ(Run("pack --help"), 0);
}

TEST_F(PackCommand, InstallsWithItsManualPageAndStubAndPacksWithThatStub) {
  const Bytes stub = encoder::SampleStub(300);
  Write("installed-stub.exe", stub);
  Write("a.txt", Bytes(10, 'a'));
  const std::string stub_variable = "KELVARIN_STUB='" + dir_.File("installed-stub.exe") + "' ";
  ASSERT_EQ(Run("--install '" KELVARIN_BUILD_DIR "' --prefix prefix", stub_variable + "cmake"), 0);
  const Bytes manual = encoder::ReadWholeFile(dir_.File("prefix/share/man/man1/kelvarin.1"));
  EXPECT_EQ(std::string(manual.begin(), manual.begin() + std::min<size_t>(manual.size(), 14)), ".TH KELVARIN 1");
  ASSERT_EQ(Run("pack --output o.exe --password abcd a.txt", "prefix/bin/kelvarin"), 0) << "no --stub";
  const Bytes archive = encoder::ReadWholeFile(dir_.File("o.exe"));
  EXPECT_TRUE(archive.size() > stub.size() && std::equal(stub.begin(), stub.end(), archive.begin()));

  ASSERT_EQ(Run("-G DEB --config '" KELVARIN_BUILD_DIR "/CPackConfig.cmake' -B deb", stub_variable + "cpack"), 0);
  std::string listing;
  ASSERT_EQ(Run("-c deb/kelvarin_*.deb", "dpkg", &listing), 0);
  for (const char* path : {"./usr/bin/kelvarin\n", "./usr/share/man/man1/kelvarin.1\n",
                           "./usr/share/kelvarin/decoder.exe\n"}) {
    EXPECT_NE(listing.find(path), std::string::npos) << path << listing;
  }
  EXPECT_NE(Run("--install '" KELVARIN_BUILD_DIR "' --prefix other", "KELVARIN_STUB=missing.exe cmake"), 0)
      << "no stub, no install";
}

}  // namespace

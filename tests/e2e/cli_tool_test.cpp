// kelvarin.exe, the command-line tool for Windows, run as a script would
// run it: an archive made by the encoder is extracted with its folders,
// attributes and times; an existing file is kept unless --overwrite says
// otherwise, and the exit status tells which happened.
#include <gtest/gtest.h>
#include <windows.h>

#include "e2e_support.h"
#include "tests/support/entries.h"

namespace {

using encoder::Bytes;

encoder::Entry EntryOf(const char* name, Bytes contents, uint32_t attributes, uint64_t last_write_time) {
  encoder::Entry entry = test_support::MakeEntry(name, std::move(contents));
  entry.record.attributes = attributes;
  entry.record.last_write_time = last_write_time;
  return entry;
}

class CliTool : public ::testing::Test {
 protected:
  // Runs kelvarin.exe without a console, as a scheduled script would:
  // nobody can be asked. Returns its exit status, or -1 when it hung.
  int Run(const std::string& arguments) {
    e2e::Process tool(e2e::Quoted(e2e::WindowsPath(KELVARIN_CLI_EXE)) + " " + arguments, folder_.path(),
                      DETACHED_PROCESS);
    DWORD status = 0;
    return tool.WaitForExit(60000, &status) ? static_cast<int>(status) : -1;
  }
  e2e::TempFolder folder_;
};

TEST_F(CliTool, ExtractsWhatTheEncoderPackedAndReplacesOnlyWithOverwrite) {
  const std::vector<encoder::Entry> entries = {
      EntryOf("\\docs\\deep\\text.txt", test_support::TextLikeBytes(200000, 5), FILE_ATTRIBUTE_ARCHIVE,
              0x01D5000055556666ull),
      EntryOf("one.bin", {'x'}, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, 0x0190000011112222ull)};
  ASSERT_TRUE(test_support::ArchiveOf(test_support::SampleStub(), entries, "pw-1234").WriteTo(folder_.File("a.exe")));
  const std::string extract = "extract a.exe --output out\\new --password pw-1234";

  ASSERT_EQ(Run(extract), 0);
  const std::string paths[] = {folder_.File("out\\new\\docs\\deep\\text.txt"), folder_.File("out\\new\\one.bin")};
  for (size_t i = 0; i < entries.size(); ++i) e2e::ExpectFileAsRecorded(paths[i], entries[i]);

  SetFileAttributesA(paths[0].c_str(), FILE_ATTRIBUTE_NORMAL);
  const Bytes changed = {'c', 'h', 'a', 'n', 'g', 'e', 'd'};
  ASSERT_TRUE(e2e::WriteBytes(paths[0], changed));
  EXPECT_EQ(Run(extract), 3) << "existing files, nobody to ask";
  EXPECT_EQ(encoder::ReadWholeFile(paths[0]), changed);
  EXPECT_EQ(Run(extract + " --overwrite"), 0);
  EXPECT_EQ(encoder::ReadWholeFile(paths[0]), entries[0].contents);
  EXPECT_EQ(encoder::ReadWholeFile(paths[1]), entries[1].contents) << "read-only, replaced all the same";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(folder_.File("out\\new\\.kelvarin-*").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file was left: " << found.cFileName;
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

// A directory link below the output folder is met as a reparse point and
// never entered: its entry is reported (status 3), the others go on. (A
// link Wine shows, a Unix symbolic link, is refused the same way; Wine
// cannot make one from here.)
TEST_F(CliTool, NothingIsWrittenThroughALinkBelowTheOutputFolder) {
  const std::vector<encoder::Entry> entries = {test_support::MakeEntry("\\data\\x.txt", {'x'}),
                                               test_support::MakeEntry("\\y.txt", {'y'})};
  ASSERT_TRUE(test_support::ArchiveOf(test_support::SampleStub(), entries, "pw-1234").WriteTo(folder_.File("a.exe")));
  ASSERT_TRUE(CreateDirectoryA(folder_.File("out").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(folder_.File("outside").c_str(), nullptr));
  // Wine answers yes and makes nothing; Windows makes the link (for an
  // administrator or in developer mode).
  const DWORD made = CreateSymbolicLinkA(folder_.File("out\\data").c_str(), folder_.File("outside").c_str(),
                                         SYMBOLIC_LINK_FLAG_DIRECTORY)
                         ? GetFileAttributesA(folder_.File("out\\data").c_str())
                         : INVALID_FILE_ATTRIBUTES;
  if (made == INVALID_FILE_ATTRIBUTES || !(made & FILE_ATTRIBUTE_REPARSE_POINT)) {
    GTEST_SKIP() << "this system makes no directory links";
  }
  EXPECT_EQ(Run("extract a.exe --output out --password pw-1234"), 3);
  EXPECT_EQ(encoder::ReadWholeFile(folder_.File("out\\y.txt")), Bytes{'y'});
  EXPECT_FALSE(e2e::FileExists(folder_.File("outside\\x.txt")));
}

}  // namespace

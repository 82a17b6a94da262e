// Copying the stub out of an archive: the blocks before the check block,
// the verdict of their checksum, and the copy's name.
#include <gtest/gtest.h>
#include <unistd.h>
#include <cstring>
#include <optional>
#include <string>

#include "archive/markers.h"
#include "encoder/archive_writer.h"
#include "shell/stub_copy.h"
#include "shell/temp_names.h"
#include "test_support.h"

namespace {

using encoder::Bytes;
using shell::StubCopy;

constexpr size_t kStubSize = 3 * 256;

Bytes Head(const Bytes& bytes, size_t length) { return Bytes(bytes.begin(), bytes.begin() + length); }

TEST(StubCopy, CopiesTheBlocksBeforeTheCheckBlockAndSaysWhetherTheirChecksumHolds) {
  encoder::ArchiveWriter writer(test_support::RandomBytes(kStubSize, 1));
  writer.AddEntryHeader({});
  writer.AddDataBlock(test_support::RandomBytes(600, 3));
  const Bytes archive = writer.bytes();
  Bytes stub_changed = archive, last_check_byte_changed = archive;
  stub_changed[300] ^= 0x01;
  last_check_byte_changed[kStubSize + 255] ^= 0xFF;  // not part of the checksum
  const struct {
    const char* what;
    Bytes file;
    StubCopy verdict;
    std::optional<Bytes> copy;  // none: no copy is left
  } cases[] = {
      {"a whole archive", archive, StubCopy::kChecksumMatches, Head(archive, kStubSize)},
      {"a changed stub byte", stub_changed, StubCopy::kChecksumDiffers, Head(stub_changed, kStubSize)},
      {"the check block's last byte changed", last_check_byte_changed, StubCopy::kChecksumMatches,
       Head(archive, kStubSize)},
      {"no check block", Head(archive, kStubSize), StubCopy::kNoCheckBlock, {}},
      {"a check block cut short", Head(archive, kStubSize + 255), StubCopy::kNoCheckBlock, {}},
      {"an empty file", {}, StubCopy::kNoCheckBlock, {}},
  };
  test_support::TempDir dir;
  const std::string copy = dir.File("DEC1A2B.exe");
  for (const auto& c : cases) {
    test_support::WriteFileBytes(dir.File("archive.exe"), c.file);
    EXPECT_EQ(shell::CopyStub(dir.File("archive.exe").c_str(), copy.c_str()), c.verdict) << c.what;
    EXPECT_EQ(access(copy.c_str(), F_OK) == 0, c.copy.has_value()) << c.what;
    if (c.copy) {
      EXPECT_EQ(encoder::ReadWholeFile(copy), *c.copy) << c.what;
    }
    unlink(copy.c_str());
  }
}

TEST(StubCopy, OpenCreateAndWriteFailuresAreReportedAndWriteNothing) {
  test_support::TempDir dir;
  const std::string archive = dir.File("archive.exe"), copy = dir.File("DEC1A2B.exe");
  EXPECT_EQ(shell::CopyStub(archive.c_str(), copy.c_str()), StubCopy::kOpenFailed);
  EXPECT_NE(access(copy.c_str(), F_OK), 0);
  encoder::ArchiveWriter writer(test_support::RandomBytes(kStubSize, 1));
  ASSERT_TRUE(writer.WriteTo(archive));
  EXPECT_EQ(shell::CopyStub(archive.c_str(), dir.File("no folder/copy.exe").c_str()), StubCopy::kCreateFailed);
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full to make writes fail";
  EXPECT_EQ(shell::CopyStub(archive.c_str(), "/dev/full"), StubCopy::kWriteFailed);
}

TEST(CheckBlock, RecognisedOnlyByTheWholeMarkerAndItsNul) {
  unsigned char block[256] = {};
  archive::BuildCheckMarker(reinterpret_cast<char*>(block));
  EXPECT_TRUE(shell::IsCheckBlock(block, sizeof block));
  block[255] = 'x';  // bytes after the NUL do not matter
  EXPECT_TRUE(shell::IsCheckBlock(block, sizeof block));

  block[archive::kCheckMarkerLength] = '\\';
  EXPECT_FALSE(shell::IsCheckBlock(block, sizeof block)) << "text goes on after the marker";
  block[archive::kCheckMarkerLength] = '\0';
  block[1] = 's';
  EXPECT_FALSE(shell::IsCheckBlock(block, sizeof block)) << "the comparison is case-sensitive";
  block[1] = 'S';
  block[archive::kCheckMarkerLength - 1] = '\0';
  EXPECT_FALSE(shell::IsCheckBlock(block, sizeof block)) << "a shorter text is not the marker";
}

// Only the part from the last dot after the first character is replaced,
// and never past the buffer; the result says whether the whole extension
// went in.
TEST(TempNames, OnlyThePartFromTheLastDotIsReplacedAndNeverPastTheBuffer) {
  const struct {
    std::string name;
    const char* extension;
    std::string expected;
    bool whole;
  } cases[] = {
      {"C:\\Temp\\DEC1A2B.tmp", ".exe", "C:\\Temp\\DEC1A2B.exe", true},
      {"C:\\my.folder\\Del3.tmp", ".exe", "C:\\my.folder\\Del3.exe", true},
      {"C:\\Temp\\DEC1.a.b", ".exe", "C:\\Temp\\DEC1.a.exe", true},
      {"DEC1.", ".exe", "DEC1.exe", true},
      {"a.tmp", ".exe", "a.exe", true},  // the second character is looked at
      {"C:\\Temp\\Del4.tmp", ".bat", "C:\\Temp\\Del4.bat", true},
      {"C:\\Temp\\DEC1A2B", ".bat", "C:\\Temp\\DEC1A2B", false},
      {".tmp", ".exe", ".tmp", false},  // the first character is never looked at
      {"", ".exe", "", false},
      {std::string(256, 'a') + ".t", ".exe", std::string(256, 'a') + ".ex", false},  // cut at 260
  };
  for (const auto& c : cases) {
    char buffer[300] = {};
    strcpy(buffer, c.name.c_str());
    EXPECT_EQ(shell::ReplaceExtension(buffer, 260, c.extension), c.whole) << c.name;
    EXPECT_EQ(buffer, c.expected) << c.name;
  }
}

}  // namespace

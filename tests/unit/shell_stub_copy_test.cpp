#include <gtest/gtest.h>
#include <unistd.h>
#include <cstring>

#include "archive/markers.h"
#include "encoder/archive_writer.h"
#include "shell/stub_copy.h"
#include "test_support.h"

namespace {

using encoder::Bytes;
using shell::CopyStub;
using shell::StubCopy;
using testing_support::PatternBytes;

constexpr size_t kStubSize = 3 * 256;

class StubCopyTest : public ::testing::Test {
 protected:
  StubCopy Run(const Bytes& archive) {
    testing_support::WriteFileBytes(archive_, archive);
    return CopyStub(archive_.c_str(), copy_.c_str());
  }
  bool CopyExists() const { return access(copy_.c_str(), F_OK) == 0; }
  Bytes Copied() const { return encoder::ReadWholeFile(copy_); }

  testing_support::TempDir dir_;
  std::string archive_ = dir_.File("archive.exe");
  std::string copy_ = dir_.File("DEC1A2B.exe");
};

Bytes Archive(const Bytes& stub) {
  encoder::ArchiveWriter writer(stub);
  writer.AddEntryHeader({});
  writer.AddDataBlock(PatternBytes(600, 3));
  return writer.bytes();
}

Bytes Head(const Bytes& bytes, size_t length) { return Bytes(bytes.begin(), bytes.begin() + length); }

TEST_F(StubCopyTest, CopiesExactlyTheBlocksBeforeTheCheckBlock) {
  const Bytes stub = PatternBytes(kStubSize, 1);
  EXPECT_EQ(Run(Archive(stub)), StubCopy::kChecksumMatches);
  EXPECT_EQ(Copied(), stub);
}

TEST_F(StubCopyTest, ChangedStubByteIsReportedButStillCopied) {
  Bytes archive = Archive(PatternBytes(kStubSize, 1));
  archive[300] ^= 0x01;
  EXPECT_EQ(Run(archive), StubCopy::kChecksumDiffers);
  EXPECT_EQ(Copied(), Head(archive, kStubSize));
}

TEST_F(StubCopyTest, LastByteOfTheCheckBlockIsNotPartOfTheChecksum) {
  Bytes archive = Archive(PatternBytes(kStubSize, 1));
  archive[kStubSize + 255] ^= 0xFF;
  EXPECT_EQ(Run(archive), StubCopy::kChecksumMatches);
}

TEST_F(StubCopyTest, FileWithoutCheckBlockLeavesNoCopy) {
  EXPECT_EQ(Run(PatternBytes(kStubSize, 1)), StubCopy::kNoCheckBlock);
  EXPECT_FALSE(CopyExists());
  EXPECT_EQ(Run(Bytes()), StubCopy::kNoCheckBlock);
  EXPECT_FALSE(CopyExists());
}

TEST_F(StubCopyTest, CheckBlockCutShortAtTheEndOfTheFileIsNotFound) {
  Bytes archive = Head(Archive(PatternBytes(kStubSize, 1)), kStubSize + 255);
  EXPECT_EQ(Run(archive), StubCopy::kNoCheckBlock);
  EXPECT_FALSE(CopyExists());
}

TEST_F(StubCopyTest, OpenAndCreateFailuresWriteNothing) {
  EXPECT_EQ(CopyStub(dir_.File("missing.exe").c_str(), copy_.c_str()), StubCopy::kOpenFailed);
  EXPECT_FALSE(CopyExists());
  testing_support::WriteFileBytes(archive_, Archive(PatternBytes(kStubSize, 1)));
  EXPECT_EQ(CopyStub(archive_.c_str(), dir_.File("no folder/copy.exe").c_str()), StubCopy::kCreateFailed);
}

TEST_F(StubCopyTest, FailedWriteIsReported) {
  testing_support::WriteFileBytes(archive_, Archive(PatternBytes(kStubSize, 1)));
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full to make writes fail";
  EXPECT_EQ(CopyStub(archive_.c_str(), "/dev/full"), StubCopy::kWriteFailed);
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

}  // namespace

// Entry headers, data blocks and the locate scan, read from real files.
#include <gtest/gtest.h>
#include <cstring>

#include "archive/data_block.h"
#include "archive/entry_header.h"
#include "archive/locate_scan.h"
#include "encoder/archive_writer.h"
#include "test_support.h"

namespace {

using encoder::Bytes;
using testing_support::PatternBytes;
using testing_support::TempDir;
using testing_support::WriteFileBytes;

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class FileFixture : public ::testing::Test {
 protected:
  void Open(const Bytes& bytes) {
    WriteFileBytes(dir_.File("f"), bytes);
    ASSERT_TRUE(file_.Open(dir_.File("f").c_str()));
  }
  TempDir dir_;
  platform::InputFile file_;
  archive::SharedState state_;
};

using EntryHeader = FileFixture;

TEST_F(EntryHeader, ReadsEveryFieldAndEndsAtTheFirstBlock) {
  encoder::EntryHeaderFields fields;
  fields.fill[0] = 0x77;
  fields.flags = 0xF8 | 5;  // bits 3..7 are ignored
  fields.suicide_mode = -3;
  fields.version = 302;
  fields.reserved_word = 98864;
  fields.caption = "Holiday photos";
  Open(Concat(encoder::EntryHeaderBytes(fields), {0xAB}));

  EXPECT_EQ(archive::ReadEntryHeader(file_, state_), 26 + 15);
  EXPECT_TRUE(state_.open_after_decode);
  EXPECT_FALSE(state_.password_saving);
  EXPECT_TRUE(state_.show_encoder_information);
  EXPECT_EQ(state_.suicide_mode, -3);
  EXPECT_EQ(state_.version, 302u);
  EXPECT_EQ(state_.reserved_word, 98864u);
  EXPECT_STREQ(state_.caption, "Holiday photos");
  EXPECT_EQ(file_.Position(), 41u);
}

TEST_F(EntryHeader, EmptyCaptionGivesTwentySevenBytes) {
  strcpy(state_.caption, "old");
  Open(encoder::EntryHeaderBytes({}));
  EXPECT_EQ(archive::ReadEntryHeader(file_, state_), 27);
  EXPECT_STREQ(state_.caption, "");
}

TEST_F(EntryHeader, MarkerWithoutItsNulIsNoHeaderAndThePositionStays) {
  Bytes header = encoder::EntryHeaderBytes({});
  header[13] = 'X';
  Open(Concat(Bytes(5, 0), header));
  ASSERT_TRUE(file_.Seek(5));
  EXPECT_EQ(archive::ReadEntryHeader(file_, state_), archive::kNoHeaderHere);
  EXPECT_EQ(file_.Position(), 5u);
}

TEST_F(EntryHeader, FewerThanTwentySixBytesIsAShortReadAtTheEnd) {
  Bytes header = encoder::EntryHeaderBytes({});
  header.resize(25);
  Open(header);
  EXPECT_EQ(archive::ReadEntryHeader(file_, state_), archive::kHeaderShortRead);
  EXPECT_EQ(file_.Position(), 25u);
}

TEST_F(EntryHeader, CaptionsThatDoNotEndWellNeverOverrunTheBuffer) {
  strcpy(state_.caption, "kept");
  encoder::EntryHeaderFields fields;
  fields.version = 999;
  fields.caption = std::string(259, 'c');  // the longest that fits
  Open(encoder::EntryHeaderBytes(fields));
  EXPECT_EQ(archive::ReadEntryHeader(file_, state_), 26 + 260);
  EXPECT_EQ(strlen(state_.caption), 259u);

  // No NUL within 260 bytes: not a header; state and position unchanged.
  archive::SharedState fresh;
  fields.caption = std::string(300, 'c');
  Open(encoder::EntryHeaderBytes(fields));
  EXPECT_EQ(archive::ReadEntryHeader(file_, fresh), archive::kNoHeaderHere);
  EXPECT_EQ(file_.Position(), 0u);
  EXPECT_EQ(fresh.version, 0u);

  // The end of the file inside the caption: a short read.
  Bytes cut = encoder::EntryHeaderBytes(fields);
  cut.resize(40);
  Open(cut);
  EXPECT_EQ(archive::ReadEntryHeader(file_, fresh), archive::kHeaderShortRead);
  EXPECT_EQ(fresh.version, 0u);
}

using DataBlock = FileFixture;

TEST_F(DataBlock, GoodBlockLandsInTheBufferAndCountsEveryByte) {
  Bytes stored = PatternBytes(100);
  Open(encoder::DataBlockBytes(stored));
  archive::BlockBuffer buffer;
  archive::DataBlockResult result = archive::ReadDataBlock(file_, buffer);
  EXPECT_EQ(result.status, archive::BlockRead::kOk);
  EXPECT_EQ(result.length, 100u);
  EXPECT_EQ(result.consumed, 120u);
  EXPECT_EQ(memcmp(buffer.data, stored.data(), 100), 0);
  archive::ReleaseBlockBuffer(buffer);
}

TEST_F(DataBlock, BufferGrowsToTwiceTheLengthOnlyWhenTooShort) {
  Bytes file = Concat(Concat(encoder::DataBlockBytes(PatternBytes(100)), encoder::DataBlockBytes(PatternBytes(150))),
                      encoder::DataBlockBytes(PatternBytes(250)));
  Open(file);
  archive::BlockBuffer buffer;
  archive::ReadDataBlock(file_, buffer);
  EXPECT_EQ(buffer.length, 200u);
  const void* first = buffer.handle.raw;
  archive::ReadDataBlock(file_, buffer);
  EXPECT_EQ(buffer.length, 200u);
  EXPECT_EQ(buffer.handle.raw, first);
  EXPECT_EQ(archive::ReadDataBlock(file_, buffer).status, archive::BlockRead::kOk);
  EXPECT_EQ(buffer.length, 500u);
  archive::ReleaseBlockBuffer(buffer);
}

TEST_F(DataBlock, ChangesOutsideTheWholeRowsGoUnnoticed) {
  Bytes stored = PatternBytes(31);
  Bytes block = encoder::DataBlockBytes(stored);
  block[20 + 30] ^= 0xFF;  // last of the 15 tail bytes
  Open(block);
  archive::BlockBuffer buffer;
  EXPECT_EQ(archive::ReadDataBlock(file_, buffer).status, archive::BlockRead::kOk);
  archive::ReleaseBlockBuffer(buffer);

  block[20 + 3] ^= 0xFF;  // inside the whole row
  Open(block);
  EXPECT_EQ(archive::ReadDataBlock(file_, buffer).status, archive::BlockRead::kChecksumMismatch);
  archive::ReleaseBlockBuffer(buffer);
}

TEST_F(DataBlock, ShortFieldsAreReadFailures) {
  Bytes block = encoder::DataBlockBytes(PatternBytes(40));
  for (size_t cut : {0u, 10u, 16u, 19u, 20u, 59u}) {
    Open(Bytes(block.begin(), block.begin() + static_cast<long>(cut)));
    archive::BlockBuffer buffer;
    archive::DataBlockResult result = archive::ReadDataBlock(file_, buffer);
    EXPECT_EQ(result.status, archive::BlockRead::kReadFailure) << cut;
    EXPECT_EQ(result.consumed, cut);
    if (buffer.length) archive::ReleaseBlockBuffer(buffer);
  }
}

TEST_F(DataBlock, LengthsTheFileCannotHoldAreRefusedBeforeAllocating) {
  for (uint32_t length : {41u, 0x7FFFFE00u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
    encoder::DataBlockOptions options;
    options.override_length = true;
    options.length = length;
    Open(encoder::DataBlockBytes(PatternBytes(40), options));
    archive::BlockBuffer buffer;
    EXPECT_EQ(archive::ReadDataBlock(file_, buffer).status, archive::BlockRead::kReadFailure) << length;
    EXPECT_EQ(buffer.length, 0u) << "no memory was asked for";
  }
}

TEST(LocateScan, FindsTheFirstEntryOnA256ByteBoundary) {
  TempDir dir;
  encoder::ArchiveWriter writer(encoder::SampleStub(700));  // padded to 768
  writer.AddEntryHeader({});
  writer.AddDataBlock(PatternBytes(50));
  ASSERT_TRUE(writer.WriteTo(dir.File("a.exe")));
  EXPECT_EQ(archive::LocateFirstEntry(dir.File("a.exe").c_str()), 768 + 256);

  // A marker that is not at a block start is not found.
  Bytes shifted = Concat(Bytes(10, 0), encoder::EntryHeaderBytes({}));
  WriteFileBytes(dir.File("b"), shifted);
  EXPECT_EQ(archive::LocateFirstEntry(dir.File("b").c_str()), -1);

  // A short last block that holds the marker and its NUL still counts.
  Bytes marker_only = encoder::EntryHeaderBytes({});
  marker_only.resize(14);
  WriteFileBytes(dir.File("c"), Concat(Bytes(256, 1), marker_only));
  EXPECT_EQ(archive::LocateFirstEntry(dir.File("c").c_str()), 256);

  EXPECT_EQ(archive::LocateFirstEntry(dir.File("missing").c_str()), -1);
  EXPECT_EQ(archive::LocateFirstEntry(""), -1);
  EXPECT_EQ(archive::LocateFirstEntry(dir.path().c_str()), -1) << "a folder is no archive";
}

}  // namespace

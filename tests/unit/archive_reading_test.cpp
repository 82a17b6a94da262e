// Block buffers and lane checksums, and entry headers, data blocks and the
// locate scan read from real files.
#include <gtest/gtest.h>
#include <cstring>
#include <utility>

#include "archive/data_block.h"
#include "archive/entry_header.h"
#include "archive/lane_checksum.h"
#include "archive/locate_scan.h"
#include "base/little_endian.h"
#include "encoder/archive_writer.h"
#include "platform/os.h"
#include "test_support.h"

namespace {

using encoder::Bytes;
using test_support::RandomBytes;
using test_support::TempDir;
using test_support::WriteFileBytes;

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A data block of the stored bytes whose length field says `length`.
Bytes DataBlockStating(const Bytes& stored, uint32_t length) {
  Bytes block = encoder::DataBlockBytes(stored);
  base::WriteLe32(block.data() + 16, length);
  return block;
}

TEST(BlockBuffer, KeepsItsSlackZeroedAndItsContentsWhenItGrows) {
  archive::BlockBuffer buffer;
  buffer.Allocate(10);
  ASSERT_GE(buffer.Capacity(), 10u + archive::kBlockBufferSlack);
  EXPECT_EQ(Bytes(buffer.data(), buffer.data() + 10 + archive::kBlockBufferSlack), Bytes(10 + archive::kBlockBufferSlack));
  memcpy(buffer.data(), "0123456789", 10);
  const unsigned char* first = buffer.data();
  buffer.Resize(500);  // fits inside the slack
  EXPECT_EQ(buffer.data(), first);
  EXPECT_EQ(buffer.length(), 500u);
  buffer.Resize(10);  // only the first `length` bytes move on growth
  buffer.Resize(5000);
  EXPECT_NE(buffer.data(), first);
  EXPECT_EQ(buffer.length(), 5000u);
  EXPECT_EQ(Bytes(buffer.data(), buffer.data() + 11), (Bytes{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 0}));
  buffer.Release();
  EXPECT_EQ(buffer.length(), 0u);
  EXPECT_FALSE(buffer.HoldsMemory());

  buffer.Allocate(0);  // still holds memory
  EXPECT_TRUE(buffer.HoldsMemory());
  EXPECT_GE(buffer.Capacity(), 256u + archive::kBlockBufferSlack);

  archive::BlockBuffer empty;  // no memory yet: any size is growth
  empty.Resize(1);
  ASSERT_TRUE(empty.HoldsMemory());
  EXPECT_GE(empty.Capacity(), 1u + archive::kBlockBufferSlack);
  EXPECT_EQ(empty.data()[0], 0);
}

// One owner at a time: a move hands the memory over whole and leaves the
// source empty, so that the memory is freed exactly once (the sanitizer
// build sees a leak or a double free).
TEST(BlockBuffer, HandsItsMemoryOverOnAMove) {
  archive::BlockBuffer source;
  source.Allocate(300);
  source.data()[0] = 'x';
  const unsigned char* memory = source.data();
  archive::BlockBuffer target(std::move(source));
  EXPECT_FALSE(source.HoldsMemory());
  EXPECT_EQ(source.length(), 0u);
  EXPECT_TRUE(target.HoldsMemory()) << "the new owner frees it";
  EXPECT_EQ(target.data(), memory);
  EXPECT_EQ(target.length(), 300u);

  archive::BlockBuffer other;
  other.Allocate(20);
  other = std::move(target);  // frees what `other` held
  EXPECT_TRUE(other.HoldsMemory());
  EXPECT_EQ(other.data(), memory);
  EXPECT_EQ(other.data()[0], 'x');
  EXPECT_FALSE(target.HoldsMemory());
  archive::BlockBuffer& same = other;
  other = std::move(same);
  EXPECT_EQ(other.data(), memory) << "a move onto itself keeps the memory";
}

// Sixteen lanes, each the byte sum modulo 256 of its column over the whole
// rows; a tail shorter than a row counts for nothing.
TEST(LaneChecksum, MatchesBytewiseSumsOverWholeRowsForManyLengths) {
  for (size_t length : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 255u, 256u, 4111u, 70000u}) {
    const Bytes bytes = RandomBytes(length, static_cast<unsigned>(length));
    archive::LaneChecksum expected{};
    for (size_t i = 0; i < length / 16 * 16; ++i) expected[i % 16] = static_cast<unsigned char>(expected[i % 16] + bytes[i]);
    EXPECT_EQ(archive::ComputeLaneChecksum(bytes.data(), bytes.size()), expected) << length;
  }
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
  // Flag bits 3 to 7 are ignored.
  Open(Concat(encoder::EntryHeaderBytes({{0x77, 0}, 0xF8 | 5, -3, 302, 98864, "Holiday photos"}), {0xAB}));

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

// A caption needs its NUL within 260 bytes; a header that is not whole is
// a short read at the end of the file, and no header anywhere else, with
// the position back at its start. Neither changes the state.
TEST_F(EntryHeader, CaptionsAndHeadersThatDoNotEndWellChangeNothing) {
  auto header = [](size_t caption_length, size_t keep = SIZE_MAX) {
    encoder::EntryHeaderFields fields;
    fields.version = 999;
    fields.caption.assign(caption_length, 'c');
    Bytes bytes = encoder::EntryHeaderBytes(fields);
    bytes.resize(std::min(keep, bytes.size()));
    return bytes;
  };
  Bytes no_marker_nul = header(0);
  no_marker_nul[13] = 'X';
  const struct {
    const char* what;
    Bytes bytes;
    int32_t result;
    uint64_t position;
  } cases[] = {
      {"empty caption", header(0), 27, 5 + 27},
      {"longest caption", header(259), 26 + 260, 5 + 26 + 260},
      {"260 caption bytes before the NUL", header(260), archive::kNoHeaderHere, 5},
      {"no NUL in 300 bytes", header(300), archive::kNoHeaderHere, 5},
      {"the marker without its NUL", no_marker_nul, archive::kNoHeaderHere, 5},
      {"the end of the file inside the caption", header(300, 40), archive::kHeaderShortRead, 5 + 40},
      {"fewer than 26 bytes", header(0, 25), archive::kHeaderShortRead, 5 + 25},
  };
  for (const auto& c : cases) {
    archive::SharedState state;
    strcpy(state.caption, "kept");
    Open(Concat(Bytes(5, 0), c.bytes));
    ASSERT_TRUE(file_.Seek(5));
    EXPECT_EQ(archive::ReadEntryHeader(file_, state), c.result) << c.what;
    EXPECT_EQ(file_.Position(), c.position) << c.what;
    const bool read = c.result > 0;
    EXPECT_EQ(state.version, read ? 999u : 0u) << c.what;
    EXPECT_EQ(strlen(state.caption), read ? static_cast<size_t>(c.result - 27) : 4u) << c.what;
  }
}

using DataBlock = FileFixture;

TEST_F(DataBlock, LandsInABufferThatGrowsToTwiceTheLengthOnlyWhenTooShort) {
  const Bytes last = RandomBytes(250);
  Open(Concat(Concat(encoder::DataBlockBytes(RandomBytes(100)), encoder::DataBlockBytes(RandomBytes(150))),
              encoder::DataBlockBytes(last)));
  archive::BlockBuffer buffer;
  archive::ReadDataBlock(file_, buffer);
  EXPECT_EQ(buffer.length(), 200u);
  const unsigned char* first = buffer.data();
  archive::ReadDataBlock(file_, buffer);
  EXPECT_EQ(buffer.length(), 200u);
  EXPECT_EQ(buffer.data(), first);
  const archive::DataBlockResult result = archive::ReadDataBlock(file_, buffer);
  EXPECT_EQ(result.status, archive::BlockRead::kOk);
  EXPECT_EQ(result.length, 250u);
  EXPECT_EQ(result.consumed, 270u);
  EXPECT_EQ(buffer.length(), 500u);
  EXPECT_EQ(Bytes(buffer.data(), buffer.data() + 250), last);
}

TEST_F(DataBlock, ShortFieldsAndLengthsTheFileCannotHoldAreReadFailures) {
  const Bytes block = encoder::DataBlockBytes(RandomBytes(40));
  for (size_t cut : {0u, 10u, 16u, 19u, 20u, 59u}) {
    Open(Bytes(block.begin(), block.begin() + static_cast<long>(cut)));
    archive::BlockBuffer buffer;
    archive::DataBlockResult result = archive::ReadDataBlock(file_, buffer);
    EXPECT_EQ(result.status, archive::BlockRead::kReadFailure) << cut;
    EXPECT_EQ(result.consumed, cut);
  }
  for (uint32_t length : {41u, 0x7FFFFE00u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
    Open(DataBlockStating(RandomBytes(40), length));
    archive::BlockBuffer buffer;
    EXPECT_EQ(archive::ReadDataBlock(file_, buffer).status, archive::BlockRead::kReadFailure) << length;
    EXPECT_FALSE(buffer.HoldsMemory()) << "no memory was asked for";
  }
}

TEST(LocateScan, FindsTheFirstEntryOnA256ByteBoundary) {
  TempDir dir;
  encoder::ArchiveWriter writer(test_support::SampleStub(700));  // padded to 768
  writer.AddEntryHeader({});
  writer.AddDataBlock(RandomBytes(50));
  ASSERT_TRUE(writer.WriteTo(dir.File("a.exe")));
  EXPECT_EQ(archive::LocateFirstEntry(dir.File("a.exe").c_str()), 768 + 256);

  // A marker that is not at a block start is not found.
  WriteFileBytes(dir.File("b"), Concat(Bytes(10, 0), encoder::EntryHeaderBytes({})));
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

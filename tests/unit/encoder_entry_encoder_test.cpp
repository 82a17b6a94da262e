// The reference encoder's entries: block plans, stored and compressed
// blocks, the file record's bytes, and refusals. Every field read back by
// the decode walk is the decode walk test's.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <numeric>
#include <string>

#include "base/little_endian.h"
#include "codec/block_cipher.h"
#include "codec/decoder.h"
#include "encoder/entry_encoder.h"
#include "decode/decode_walk.h"
#include "test_support.h"
#include "tests/support/entries.h"
#include "tests/support/sample_data.h"
#include "tests/support/recording_sink.h"

namespace {

using encoder::Bytes;
using test_support::MakeEntry;

const std::string kPassword = "open sesame";

TEST(PlanBlocks, SplitsIntoBlockSizesWithAFirstFileByteAndNoTinyLastBlock) {
  for (uint32_t block_size : {2u, 3u, 6u, 305u, 306u, 307u, 400u, 4096u}) {
    for (size_t file_size = 1; file_size < 2000; file_size += 1 + file_size / 7) {
      const auto plan = encoder::PlanBlocks(file_size, block_size);
      ASSERT_FALSE(plan.empty());
      EXPECT_EQ(std::accumulate(plan.begin(), plan.end(), size_t{0}), file_size);
      EXPECT_GE(plan[0], 1u);
      if (plan.size() > 1) {
        EXPECT_GE(plan.back(), 5u) << block_size << " " << file_size;
      }
      for (size_t i = 1; i + 1 < plan.size(); ++i) EXPECT_EQ(plan[i], block_size - 1);
    }
  }
  EXPECT_EQ(encoder::PlanBlocks(1000, 400), (std::vector<size_t>{95, 399, 399, 107}));
  EXPECT_EQ(encoder::PlanBlocks(498, 400), (std::vector<size_t>{95, 403}));  // 4 would trail
  EXPECT_EQ(encoder::PlanBlocks(0, 400), (std::vector<size_t>{0})) << "an empty file: the record alone";
}

// A file record as an encoder writes it, byte for byte, both ways.
TEST(FileRecord, ReadsAndWritesTheBytesAnEncoderWrites) {
  const unsigned char head[] = {
      0x30, 0x01, 0x00, 0x00,                          // record size 304
      0x39, 0x30, 0x00, 0x00,                          // file size 12345
      0x21, 0x00, 0x00, 0x00,                          // attributes: read-only, archive
      0x00, 0x40, 0x6D, 0x25, 0xEB, 0x53, 0xBF, 0x01,  // creation 2000-01-01 00:00 UTC
      0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01,  // last access
      0xF1, 0xE2, 0xD3, 0xC4, 0xB5, 0xA6, 0x97, 0x08,  // last write
      'd', 'i', 'r', '\\', 'n', 'a', 'm', 'e', '.', 't', 'x', 't'};
  const unsigned char tail[] = {0x42, 0xEE, 0xFF, 0xC0, 0x00, 0xF1, 0x53, 0x65};  // serial, encoded at
  Bytes fixed(archive::kFileRecordSize, 0);  // the name's unused bytes are NULs
  std::copy(std::begin(head), std::end(head), fixed.begin());
  std::copy(std::begin(tail), std::end(tail), fixed.begin() + 296);

  const archive::FileRecord record = archive::ParseFileRecord(fixed.data());
  EXPECT_EQ(record.record_size, 304u);
  EXPECT_EQ(record.file_size, 12345u);
  EXPECT_EQ(record.attributes, 0x21u);
  EXPECT_EQ(record.creation_time, 0x01BF53EB256D4000u);
  EXPECT_EQ(record.last_access_time, 0x0102030405060708u);
  EXPECT_EQ(record.last_write_time, 0x0897A6B5C4D3E2F1u);
  EXPECT_STREQ(record.output_name, "dir\\name.txt");
  EXPECT_EQ(record.encoder_serial, 0xC0FFEE42u);
  EXPECT_EQ(record.encoding_time, 1700000000u);

  Bytes written(archive::kFileRecordSize, 0xAA);
  archive::SerializeFileRecord(record, written.data());
  EXPECT_EQ(written, fixed);

  // A name that fills its 260 bytes without a NUL is cut by one when read.
  std::fill(fixed.begin() + 36, fixed.begin() + 296, 'n');
  EXPECT_EQ(strlen(archive::ParseFileRecord(fixed.data()).output_name), 259u);
}

TEST(EntryEncoder, StoresBlocksThatCompressionWouldGrowAndCompressesTheRest) {
  encoder::Entry entry = MakeEntry("mixed", test_support::TextLikeBytes(3000, 4));
  const Bytes random = test_support::RandomBytes(3000, 5);
  entry.contents.insert(entry.contents.end(), random.begin(), random.end());
  encoder::ArchiveWriter writer(test_support::SampleStub());
  ASSERT_EQ(encoder::AddEntry(writer, entry, kPassword, {1500, 0x42, encoder::BlockForm::kSmallest}),
            encoder::EncodeError::kNone);
  // Each data block: a checksum of 16 bytes, a length of 4, the stored bytes.
  const Bytes& all = writer.bytes();
  const encoder::KeyString key(kPassword);
  std::vector<bool> compressed;
  for (size_t at = writer.stub_size() + 256 + 27 + entry.header.caption.size(); at + 20 <= all.size();) {
    Bytes block(all.begin() + at + 20, all.begin() + at + 20 + base::ReadLe32(all.data() + at + 16));
    at += 20 + block.size();
    codec::DecipherBlock(block.data(), static_cast<uint32_t>(block.size()), key.get());
    compressed.push_back(memcmp(block.data(), codec::kCompressionSignature, 4) == 0);
    if (!compressed.back()) {
      EXPECT_EQ(block[0], 0x42);
    }
  }
  // Text, text, then a block that is mostly random bytes, then random.
  EXPECT_EQ(compressed, (std::vector<bool>{true, true, false, false, false}));
}

TEST(EntryEncoder, RefusesWhatTheDecoderCouldNotReadBack) {
  encoder::ArchiveWriter writer(test_support::SampleStub());
  const size_t empty_size = writer.bytes().size();
  const encoder::Entry good = MakeEntry("a", Bytes(10, 'a'));
  encoder::Entry long_caption = good;
  long_caption.header.caption.assign(260, 'c');
  const struct {
    encoder::Entry entry;
    std::string password;
    encoder::EntryOptions options;
    encoder::EncodeError error;
  } cases[] = {
      {good, "abc", {}, encoder::EncodeError::kPassword},
      {good, "\x82" "bcd", {}, encoder::EncodeError::kPassword},
      {good, std::string("ab\0cd", 5), {}, encoder::EncodeError::kPassword},
      {good, kPassword, {1, 0, encoder::BlockForm::kSmallest}, encoder::EncodeError::kBlockSize},
      {good, kPassword, {100, 0x71, encoder::BlockForm::kStored}, encoder::EncodeError::kMarkerByte},
      {long_caption, kPassword, {}, encoder::EncodeError::kCaptionTooLong},
  };
  for (const auto& c : cases) EXPECT_EQ(encoder::AddEntry(writer, c.entry, c.password, c.options), c.error);
  EXPECT_EQ(writer.bytes().size(), empty_size);
  EXPECT_EQ(encoder::AddEntry(writer, good, "\x82\xa0\x82\xa2"), encoder::EncodeError::kNone);
}

// An empty file is one block holding the record alone; the walk completes
// it after that block and goes on with the next entry.
TEST(EntryEncoder, AnEmptyFileIsStoredAndDecodesToAnEmptyFile) {
  const std::vector<encoder::Entry> entries = {MakeEntry("empty", {}), MakeEntry("after", {'x', 'y'}),
                                               MakeEntry("last-empty", {})};
  test_support::TempDir dir;
  archive::SharedState state =
      test_support::ArchiveState(dir, test_support::ArchiveOf(test_support::SampleStub(), entries, kPassword).bytes());
  test_support::RecordingSink sink;
  ASSERT_EQ(decode::DecodeWalk(state, kPassword.data(), static_cast<uint32_t>(kPassword.size()), sink), 1);
  EXPECT_EQ(sink.finished, (std::vector<std::string>{"empty", "after", "last-empty"}));
  EXPECT_EQ(sink.files["empty"], Bytes{});
  EXPECT_EQ(sink.files["after"], (Bytes{'x', 'y'}));
  EXPECT_EQ(sink.records["last-empty"].file_size, 0u);
  EXPECT_TRUE(sink.failures.empty());
}

// A source that ends early and a sink that fails are reported, not
// written over: the caller learns which side failed.
TEST(EntryEncoder, AShortSourceAndAFailingSinkAreReported) {
  class Short : public encoder::ContentSource {
    size_t Read(unsigned char* out, size_t count) override {
      const size_t n = std::min<size_t>(count, left_);
      std::fill_n(out, n, 'a');
      left_ -= n;
      return n;
    }
    size_t left_ = 5000;
  } short_content;
  encoder::ArchiveWriter writer(test_support::SampleStub());
  EXPECT_EQ(encoder::EncodeEntry({}, {}, 6000, short_content, writer, kPassword, {1000}),
            encoder::EncodeError::kContentShort);

  class Refusing : public encoder::ArchiveSink {
   public:
    bool Append(const Bytes&) override { return ++pieces_ < 3; }
    int pieces_ = 0;
  } refusing;
  class Memory : public encoder::ContentSource {
   public:
    size_t Read(unsigned char* out, size_t count) override {
      std::fill_n(out, count, 'b');
      return count;
    }
  } endless;
  EXPECT_EQ(encoder::EncodeEntry({}, {}, 6000, endless, refusing, kPassword, {1000}),
            encoder::EncodeError::kOutputFailed);
  EXPECT_EQ(refusing.pieces_, 3) << "stopped at the first refusal";
  EXPECT_EQ(encoder::EncodeEntry({}, {}, uint64_t{UINT32_MAX} + 1, endless, refusing, kPassword),
            encoder::EncodeError::kFileTooLarge) << "refused from the size, before anything is read";
  EXPECT_EQ(refusing.pieces_, 3);
}

}  // namespace

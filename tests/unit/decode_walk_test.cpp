// The decode walk over whole archives, with a sink that keeps the output
// in memory and records what a user would have been asked and told.
#include <gtest/gtest.h>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "archive/locate_scan.h"
#include "base/bounded_text.h"
#include "base/little_endian.h"
#include "base/paths.h"
#include "codec/block_cipher.h"
#include "decode/decode_walk.h"
#include "encoder/block_sealer.h"
#include "encoder/entry_encoder.h"
#include "encoder/key_string.h"
#include "test_support.h"
#include "tests/support/entries.h"
#include "tests/support/recording_sink.h"

namespace {

using decode::Choice;
using decode::DecodeFailure;
using encoder::Bytes;
using test_support::RecordingSink;
using testing_support::PatternBytes;

const std::string kPassword = "correct horse";

encoder::Entry MakeEntry(const std::string& name, Bytes contents, unsigned char flags = 0) {
  return test_support::MakeEntry(name, std::move(contents), "caption of " + name, flags);
}

void Add(encoder::ArchiveWriter& writer, const encoder::Entry& entry, const encoder::EntryOptions& options = {}) {
  ASSERT_EQ(encoder::AddEntry(writer, entry, kPassword, options), encoder::EncodeError::kNone);
}

class DecodeWalk : public ::testing::Test {
 protected:
  int Run(const Bytes& bytes, const std::string& password = kPassword) {
    testing_support::WriteFileBytes(dir_.File("a.exe"), bytes);
    base::CopyText(state_.archive_path, base::kPathCapacity, dir_.File("a.exe").c_str());
    state_.entry_offset = archive::LocateFirstEntry(state_.archive_path);
    EXPECT_NE(state_.entry_offset, -1);
    return decode::DecodeWalk(state_, password.data(), static_cast<uint32_t>(password.size()), sink_);
  }
  testing_support::TempDir dir_;
  archive::SharedState state_;
  RecordingSink sink_;
};

TEST_F(DecodeWalk, EntriesOfEverySizeComeBackWithTheirRecords) {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  encoder::EntryOptions options;
  options.block_size = 1000;
  const size_t first_block_bytes = 1000 - 305;
  const std::vector<std::pair<std::string, size_t>> entries = {
      {"one.bin", 1}, {"\\docs\\exact.txt", first_block_bytes}, {"\\docs\\sub\\more.txt", first_block_bytes + 1},
      {"big.dat", 3'000'000}};
  unsigned seed = 0;
  for (const auto& [name, size] : entries) Add(writer, MakeEntry(name, PatternBytes(size, ++seed)), options);

  EXPECT_EQ(Run(writer.bytes()), 1);
  EXPECT_TRUE(sink_.failures.empty());
  EXPECT_TRUE(sink_.skipped.empty());
  EXPECT_EQ(sink_.folder_questions, 1) << "one folder for the whole run";
  EXPECT_EQ(sink_.save_questions, (std::vector<std::string>{"one.bin", "big.dat"}));
  EXPECT_EQ(sink_.prepared, (std::vector<std::string>{"/out/docs/exact.txt", "/out/docs/sub/more.txt"}));
  seed = 0;
  for (const auto& [name, size] : entries) {
    std::string path = name[0] == '\\' ? "/out" + std::string(name) : name;
    for (char& c : path)
      if (c == '\\') c = '/';
    EXPECT_EQ(sink_.files[path], PatternBytes(size, ++seed)) << path;
    EXPECT_EQ(sink_.records[path].attributes, test_support::kAttributes);
    EXPECT_EQ(sink_.records[path].last_write_time, test_support::kLastWriteTime);
  }
  EXPECT_EQ(sink_.finished.size(), entries.size());
  EXPECT_EQ(sink_.run_ends, std::vector<bool>{true});
  EXPECT_EQ(sink_.progress.back(), 100);
  EXPECT_STREQ(state_.caption, "caption of big.dat") << "each header replaces the caption";
}

TEST_F(DecodeWalk, EncoderInformationOnlyBeforeTheFirstFolderChoice) {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  Add(writer, MakeEntry("plain.txt", PatternBytes(10), encoder::kShowEncoderInformation));
  Add(writer, MakeEntry("\\a.txt", PatternBytes(10), encoder::kShowEncoderInformation));
  Add(writer, MakeEntry("\\b.txt", PatternBytes(10), encoder::kShowEncoderInformation));
  Add(writer, MakeEntry("later.txt", PatternBytes(10), encoder::kShowEncoderInformation));
  EXPECT_EQ(Run(writer.bytes()), 1);
  EXPECT_EQ(sink_.shown_info, (std::vector<std::string>{"plain.txt", "\\a.txt"}));
}

TEST_F(DecodeWalk, FewerThanTwentySixBytesAtTheEntryOffsetIsAnEmptySuccess) {
  Bytes bytes = encoder::SampleStub(256);
  Bytes header = encoder::EntryHeaderBytes({});
  bytes.insert(bytes.end(), header.begin(), header.begin() + 20);
  EXPECT_EQ(Run(bytes), 1);
  EXPECT_TRUE(sink_.files.empty());
  EXPECT_TRUE(sink_.failures.empty());
}

TEST_F(DecodeWalk, JunkBetweenEntriesIsSkippedUpToTheNextHeader) {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  Add(writer, MakeEntry("a.txt", PatternBytes(500, 1)));
  const uint64_t junk_offset = writer.bytes().size();
  Bytes junk = {'x', '\\', 'y', '\\', '\\'};
  Bytes near_miss = encoder::EntryHeaderBytes({});
  near_miss[13] = '!';  // a marker whose NUL is missing
  junk.insert(junk.end(), near_miss.begin(), near_miss.end());
  writer.AddRaw(junk);
  Add(writer, MakeEntry("b.txt", PatternBytes(500, 2)));
  EXPECT_EQ(Run(writer.bytes()), 1);
  EXPECT_EQ(sink_.files["b.txt"], PatternBytes(500, 2));
  EXPECT_EQ(sink_.skipped, (std::vector<std::pair<uint64_t, uint64_t>>{{junk_offset, junk.size()}}));
}

TEST_F(DecodeWalk, JunkAfterTheLastEntryIsAReadFailureAndEarlierFilesStay) {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  Add(writer, MakeEntry("a.txt", PatternBytes(500)));
  const uint64_t junk_offset = writer.bytes().size();
  writer.AddRaw(Bytes(40, 'j'));
  EXPECT_EQ(Run(writer.bytes()), 0);
  EXPECT_EQ(sink_.skipped, (std::vector<std::pair<uint64_t, uint64_t>>{{junk_offset, 40}}));
  EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kReadFailed});
  EXPECT_EQ(sink_.finished, std::vector<std::string>{"a.txt"});
  EXPECT_EQ(sink_.run_ends, std::vector<bool>{false});
}

// Builds one entry block by block from plain blocks, for records the
// encoder would not write.
void AddHandMadeEntry(encoder::ArchiveWriter& writer, const archive::FileRecord& record,
                      const std::vector<Bytes>& file_pieces, const std::string& password = kPassword) {
  encoder::EntryHeaderFields header;
  header.caption = "hand made";
  writer.AddEntryHeader(header);
  encoder::KeyString key(password);
  for (size_t i = 0; i < file_pieces.size(); ++i) {
    const Bytes& piece = file_pieces[i];
    Bytes plain = i == 0 ? encoder::FirstPlainBlock(0, record, piece.data(), piece.size())
                         : encoder::LaterPlainBlock(0, piece.data(), piece.size());
    writer.AddDataBlock(encoder::SealBlock(plain, encoder::BlockForm::kSmallest, key));
  }
}

archive::FileRecord Record(const char* name, uint32_t file_size) {
  archive::FileRecord record;
  record.record_size = archive::kFileRecordSize;
  record.file_size = file_size;
  base::CopyText(record.output_name, archive::kOutputNameCapacity, name);
  return record;
}

TEST_F(DecodeWalk, TheBlockThatCompletesAnEntryIsWrittenWhole) {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  AddHandMadeEntry(writer, Record("long.bin", 15), {PatternBytes(10, 1), PatternBytes(10, 2)});
  Add(writer, MakeEntry("next.bin", PatternBytes(30, 3)));
  EXPECT_EQ(Run(writer.bytes()), 1);
  Bytes expected = PatternBytes(10, 1);
  Bytes second = PatternBytes(10, 2);
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(sink_.files["long.bin"], expected);
  EXPECT_EQ(sink_.files["next.bin"], PatternBytes(30, 3));
}

TEST_F(DecodeWalk, WrongPasswordIsCaughtByTheRecordSize) {
  // Also for a small file whose first block, compressed, is shorter than
  // a record: deciphered with the wrong key it stays that short.
  for (const Bytes& contents : {PatternBytes(2000), Bytes(100, 'x')}) {
    encoder::ArchiveWriter writer(encoder::SampleStub());
    Add(writer, MakeEntry("a.txt", contents));
    sink_ = RecordingSink();
    EXPECT_EQ(Run(writer.bytes(), "incorrect horse"), 0);
    EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kWrongPassword});
    EXPECT_TRUE(sink_.files.empty());
  }
}

TEST_F(DecodeWalk, RecordSizesOtherThan304AreWrongPasswords) {
  for (uint32_t size : {303u, 305u}) {
    encoder::ArchiveWriter writer(encoder::SampleStub());
    archive::FileRecord record = Record("a.txt", 5);
    record.record_size = size;
    AddHandMadeEntry(writer, record, {PatternBytes(5)});
    sink_ = RecordingSink();
    EXPECT_EQ(Run(writer.bytes()), 0);
    EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kWrongPassword}) << size;
  }
}

// A wrong password passes when the bytes it deciphers differently miss
// the record size and file size. Passwords that differ from the right one
// only beyond their fourth byte change just some key XOR positions; the
// search finds a file size and such a password whose changes all land
// elsewhere.
TEST_F(DecodeWalk, WrongPasswordThatYields304GoesUndetected) {
  encoder::KeyString right_key(kPassword);
  Bytes sealed, contents;
  std::string wrong;
  for (uint32_t size = 1; size < 4000 && wrong.empty(); size += 7) {
    const archive::FileRecord record = Record("a.txt", size);
    contents = PatternBytes(size);
    const Bytes plain = encoder::FirstPlainBlock(0, record, contents.data(), contents.size());
    sealed = encoder::SealBlock(plain, encoder::BlockForm::kStored, right_key);
    for (size_t i = 4; i < kPassword.size() && wrong.empty(); ++i) {
      std::string candidate = kPassword;
      candidate[i] = static_cast<char>(candidate[i] ^ 0x20);
      Bytes trial = sealed;
      encoder::KeyString key(candidate);
      codec::DecipherBlock(trial.data(), static_cast<uint32_t>(trial.size()), key.get());
      if (memcmp(trial.data() + 1, plain.data() + 1, 8) == 0 && trial != plain) wrong = candidate;
    }
  }
  ASSERT_FALSE(wrong.empty()) << "no password differing beyond its fourth byte leaves the sizes alone";

  encoder::ArchiveWriter writer(encoder::SampleStub());
  writer.AddEntryHeader({});
  writer.AddDataBlock(sealed);
  EXPECT_EQ(Run(writer.bytes(), wrong), 1);
  EXPECT_TRUE(sink_.failures.empty());
  ASSERT_EQ(sink_.finished.size(), 1u);
  EXPECT_NE(sink_.files[sink_.finished[0]], contents) << "the output is garbage";
}

TEST_F(DecodeWalk, ChecksumFailureMidwayKeepsTheFinishedFilesAndThePartOne) {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  encoder::EntryOptions options;
  options.block_size = 500;
  Add(writer, MakeEntry("done.txt", PatternBytes(300, 1)), options);
  Add(writer, MakeEntry("part.txt", PatternBytes(3000, 2)), options);
  Bytes bytes = writer.bytes();
  bytes[bytes.size() - 100] ^= 0x10;  // inside the last block's whole rows
  EXPECT_EQ(Run(bytes), 0);
  EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kCooked});
  EXPECT_EQ(sink_.finished, std::vector<std::string>{"done.txt"});
  EXPECT_EQ(sink_.abandoned, std::vector<std::string>{"part.txt"});
  EXPECT_FALSE(sink_.files["part.txt"].empty());
}

TEST_F(DecodeWalk, NamesThatWouldLeaveTheFolderAreNeverWritten) {
  for (const char* name : {"\\..\\escape.txt", "\\docs\\..\\..\\x", "\\C:\\x", "\\\\server\\share\\x", "\\docs/../x",
                           "\\docs\\\\x"}) {
    encoder::ArchiveWriter writer(encoder::SampleStub());
    Add(writer, MakeEntry(name, PatternBytes(50)));
    sink_ = RecordingSink();
    EXPECT_EQ(Run(writer.bytes()), 0) << name;
    EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kOpenForWrite}) << name;
    EXPECT_TRUE(sink_.prepared.empty()) << name;
    EXPECT_TRUE(sink_.files.empty()) << name;
  }
}

TEST_F(DecodeWalk, FirstBlockWithoutAFileByteCannotBeWrittenUnlessTheFileIsEmpty) {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  AddHandMadeEntry(writer, Record("short.txt", 5), {Bytes{}, PatternBytes(5)});
  EXPECT_EQ(Run(writer.bytes()), 0);
  EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kWriteFailed});
  EXPECT_TRUE(sink_.files.empty()) << "refused before a destination was asked for";

  // A record cut short by the end of its block is never completed from slack.
  encoder::ArchiveWriter cut(encoder::SampleStub());
  cut.AddEntryHeader({});
  Bytes plain = encoder::FirstPlainBlock(0, Record("cut.txt", 5), nullptr, 0);
  plain.resize(100);
  cut.AddDataBlock(encoder::SealBlock(plain, encoder::BlockForm::kStored, encoder::KeyString(kPassword)));
  sink_ = RecordingSink();
  EXPECT_EQ(Run(cut.bytes()), 0);
  EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kWriteFailed});

  encoder::ArchiveWriter empty(encoder::SampleStub());
  AddHandMadeEntry(empty, Record("empty.txt", 0), {Bytes{}});
  Add(empty, MakeEntry("after.txt", PatternBytes(40)));
  sink_ = RecordingSink();
  EXPECT_EQ(Run(empty.bytes()), 1);
  EXPECT_TRUE(sink_.files["empty.txt"].empty());
  EXPECT_EQ(sink_.finished, (std::vector<std::string>{"empty.txt", "after.txt"}));
}

TEST_F(DecodeWalk, ACancelledDestinationEndsTheRunSilently) {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  Add(writer, MakeEntry("\\a.txt", PatternBytes(50)));
  sink_.folder_choice = Choice::kCancelled;
  EXPECT_EQ(Run(writer.bytes()), 0);
  sink_.folder_choice = Choice::kChosen;
  sink_.folder_answer = "";  // an empty folder counts as cancelled
  EXPECT_EQ(Run(writer.bytes()), 0);
  sink_.folder_answer = "/out";
  sink_.prepare_result = false;  // a parent folder cannot be made
  EXPECT_EQ(Run(writer.bytes()), 0);
  EXPECT_TRUE(sink_.failures.empty());
  EXPECT_TRUE(sink_.files.empty());

  encoder::ArchiveWriter plain(encoder::SampleStub());
  Add(plain, MakeEntry("a.txt", PatternBytes(50)));
  sink_.save_choice = Choice::kCancelled;
  EXPECT_EQ(Run(plain.bytes()), 0);
  EXPECT_TRUE(sink_.failures.empty());
  sink_.save_choice = Choice::kRefused;
  EXPECT_EQ(Run(plain.bytes()), 0);
  EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kOpenForWrite});
  sink_.save_choice = Choice::kChosen;
  sink_.create_result = false;
  EXPECT_EQ(Run(plain.bytes()), 0);
  EXPECT_EQ(sink_.failures.back(), DecodeFailure::kOpenForWrite);
}

TEST_F(DecodeWalk, BlocksShorterThanTwoBytesAreDamage) {
  for (size_t length : {0u, 1u}) {
    encoder::ArchiveWriter writer(encoder::SampleStub());
    AddHandMadeEntry(writer, Record("a.txt", 100), {PatternBytes(10)});
    writer.AddDataBlock(Bytes(length, 0));  // the entry's second block
    sink_ = RecordingSink();
    EXPECT_EQ(Run(writer.bytes()), 0) << length;
    EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kReadFailed}) << length;
  }
}

TEST_F(DecodeWalk, MissingArchiveCannotBeOpened) {
  base::CopyText(state_.archive_path, base::kPathCapacity, "/nonexistent/a.exe");
  state_.entry_offset = 1024;
  EXPECT_EQ(decode::DecodeWalk(state_, "abcd", 4, sink_), 0);
  EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kOpenArchive});
  EXPECT_EQ(sink_.run_ends, std::vector<bool>{false});
}

}  // namespace

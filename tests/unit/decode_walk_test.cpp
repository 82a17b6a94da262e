// The decode walk over whole archives, with a sink that keeps the output
// in memory and records what a user would have been asked and told.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "base/bounded_text.h"
#include "platform/os.h"
#include "codec/block_cipher.h"
#include "decode/decode_walk.h"
#include "encoder/block_sealer.h"
#include "encoder/compressor.h"
#include "encoder/entry_encoder.h"
#include "encoder/key_string.h"
#include "test_support.h"
#include "tests/support/entries.h"
#include "tests/support/recording_sink.h"

namespace {

using decode::Choice;
using decode::DecodeFailure;
using encoder::Bytes;
using test_support::RandomBytes;
using test_support::RecordingSink;

const std::string kPassword = "correct horse";

encoder::Entry MakeEntry(const std::string& name, Bytes contents, unsigned char flags = 0) {
  encoder::Entry entry = test_support::MakeEntry(name, std::move(contents), "caption of " + name, flags);
  entry.record.encoder_serial = 0xC0FFEE42;
  entry.record.encoding_time = 1700000000;
  return entry;
}

void Add(encoder::ArchiveWriter& writer, const encoder::Entry& entry, const encoder::EntryOptions& options = {}) {
  ASSERT_EQ(encoder::AddEntry(writer, entry, kPassword, options), encoder::EncodeError::kNone);
}

encoder::ArchiveWriter Archive(const std::vector<encoder::Entry>& entries, const encoder::EntryOptions& options = {}) {
  return test_support::ArchiveOf(test_support::SampleStub(), entries, kPassword, options);
}

Bytes OneEntry(const std::string& name, Bytes contents) {
  return Archive({MakeEntry(name, std::move(contents))}).bytes();
}

class DecodeWalk : public ::testing::Test {
 protected:
  int Run(const Bytes& bytes, const std::string& password = kPassword) {
    state_ = test_support::ArchiveState(dir_, bytes);
    return decode::DecodeWalk(state_, password.data(), static_cast<uint32_t>(password.size()), sink_);
  }
  test_support::TempDir dir_;
  archive::SharedState state_;
  RecordingSink sink_;
};

// Sizes around the first block's room, every block form and marker byte,
// and a file of thousands of blocks.
TEST_F(DecodeWalk, EntriesOfEverySizeAndFormComeBackWithEveryRecordField) {
  const size_t first_block_bytes = 1000 - 305;
  const struct {
    std::string name, path;
    Bytes contents;
    encoder::EntryOptions options;
  } entries[] = {
      {"one.bin", "one.bin", {'x'}, {}},
      {"\\docs\\exact.txt", "/out/docs/exact.txt", RandomBytes(first_block_bytes, 1), {1000}},
      {"\\docs\\sub\\more.txt", "/out/docs/sub/more.txt", RandomBytes(first_block_bytes + 1, 2), {1000, 0xFF}},
      {"\\text.txt", "/out/text.txt", test_support::TextLikeBytes(50000, 3), {1000, 0x5A, encoder::BlockForm::kCompressed}},
      {"runs.bin", "runs.bin", test_support::RunBytes(9000, 300, 4), {7, 0x70, encoder::BlockForm::kStored}},
      {"big.dat", "big.dat", RandomBytes(3'000'000, 5), {1000}},
  };
  encoder::ArchiveWriter writer(test_support::SampleStub());
  for (const auto& e : entries) Add(writer, MakeEntry(e.name, e.contents), e.options);

  EXPECT_EQ(Run(writer.bytes()), 1);
  EXPECT_TRUE(sink_.failures.empty());
  EXPECT_TRUE(sink_.skipped.empty());
  EXPECT_EQ(sink_.folder_questions, 1) << "one folder for the whole run";
  EXPECT_EQ(sink_.save_questions, (std::vector<std::string>{"one.bin", "runs.bin", "big.dat"}));
  EXPECT_EQ(sink_.prepared,
            (std::vector<std::string>{"/out/docs/exact.txt", "/out/docs/sub/more.txt", "/out/text.txt"}));
  auto fields = [](const archive::FileRecord& r) {
    return std::tuple(r.record_size, r.file_size, r.attributes, r.creation_time, r.last_access_time, r.last_write_time,
                      std::string(r.output_name), r.encoder_serial, r.encoding_time);
  };
  std::vector<std::string> paths;
  for (const auto& e : entries) {
    paths.push_back(e.path);
    archive::FileRecord expected = MakeEntry(e.name, {}).record;
    expected.record_size = archive::kFileRecordSize;
    expected.file_size = static_cast<uint32_t>(e.contents.size());
    EXPECT_EQ(fields(sink_.records[e.path]), fields(expected)) << e.path;
    EXPECT_EQ(sink_.files[e.path], e.contents) << e.path;
  }
  EXPECT_EQ(sink_.finished, paths);
  EXPECT_EQ(sink_.completed, paths) << "each entry said complete once its file is finished";
  EXPECT_TRUE(sink_.protocol_kept);
  EXPECT_EQ(sink_.run_ends, std::vector<bool>{true});
  EXPECT_EQ(sink_.progress.back(), 100);
  EXPECT_STREQ(state_.caption, "caption of big.dat") << "each header replaces the caption";
}

TEST_F(DecodeWalk, EncoderInformationOnlyBeforeTheFirstFolderChoice) {
  auto shown = [](const char* name) { return MakeEntry(name, RandomBytes(10), archive::kShowEncoderInformation); };
  EXPECT_EQ(Run(Archive({shown("plain.txt"), shown("\\a.txt"), shown("\\b.txt"), shown("later.txt")}).bytes()), 1);
  EXPECT_EQ(sink_.shown_info, (std::vector<std::string>{"plain.txt", "\\a.txt"}));
}

// Junk between entries is skipped up to the next header; junk after the
// last one is a read failure, and the files before it stay.
TEST_F(DecodeWalk, JunkIsSkippedBetweenEntriesAndAReadFailureAfterTheLast) {
  encoder::ArchiveWriter writer = Archive({MakeEntry("a.txt", RandomBytes(500, 1))});
  const uint64_t junk_offset = writer.bytes().size();
  Bytes junk = {'x', '\\', 'y', '\\', '\\'};
  Bytes near_miss = encoder::EntryHeaderBytes({});
  near_miss[13] = '!';  // a marker whose NUL is missing
  junk.insert(junk.end(), near_miss.begin(), near_miss.end());
  writer.AddRaw(junk);
  Add(writer, MakeEntry("b.txt", RandomBytes(500, 2)));
  const uint64_t tail_offset = writer.bytes().size();
  writer.AddRaw(Bytes(40, 'j'));
  EXPECT_EQ(Run(writer.bytes()), 0);
  EXPECT_EQ(sink_.files["b.txt"], RandomBytes(500, 2));
  EXPECT_EQ(sink_.skipped, (std::vector<std::pair<uint64_t, uint64_t>>{{junk_offset, junk.size()}, {tail_offset, 40}}));
  EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kReadFailed});
  EXPECT_EQ(sink_.finished, (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(sink_.run_ends, std::vector<bool>{false});
}

// Builds one entry block by block from plain blocks, for records the
// encoder would not write.
void AddHandMadeEntry(encoder::ArchiveWriter& writer, const archive::FileRecord& record,
                      const std::vector<Bytes>& file_pieces) {
  encoder::EntryHeaderFields header;
  header.caption = "hand made";
  writer.AddEntryHeader(header);
  encoder::KeyString key(kPassword);
  for (size_t i = 0; i < file_pieces.size(); ++i) {
    const Bytes& piece = file_pieces[i];
    Bytes plain = i == 0 ? encoder::FirstPlainBlock(0, record, piece.data(), piece.size())
                         : encoder::LaterPlainBlock(0, piece.data(), piece.size());
    writer.AddDataBlock(encoder::SealBlock(plain, encoder::BlockForm::kSmallest, key));
  }
}

archive::FileRecord Record(const char* name, uint32_t file_size, uint32_t record_size = archive::kFileRecordSize) {
  archive::FileRecord record;
  record.record_size = record_size;
  record.file_size = file_size;
  base::CopyText(record.output_name, archive::kOutputNameCapacity, name);
  return record;
}

// The block that completes an entry is written whole; an empty file
// needs no byte in its first block.
TEST_F(DecodeWalk, HandMadeEntriesEndWithTheBlockThatCompletesThem) {
  encoder::ArchiveWriter writer(test_support::SampleStub());
  AddHandMadeEntry(writer, Record("long.bin", 15), {RandomBytes(10, 1), RandomBytes(10, 2)});
  AddHandMadeEntry(writer, Record("empty.txt", 0), {Bytes{}});
  Add(writer, MakeEntry("next.bin", RandomBytes(30, 3)));
  EXPECT_EQ(Run(writer.bytes()), 1);
  Bytes expected = RandomBytes(10, 1);
  Bytes second = RandomBytes(10, 2);
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(sink_.files["long.bin"], expected);
  EXPECT_TRUE(sink_.files["empty.txt"].empty());
  EXPECT_EQ(sink_.files["next.bin"], RandomBytes(30, 3));
  EXPECT_EQ(sink_.finished, (std::vector<std::string>{"long.bin", "empty.txt", "next.bin"}));
}

// Each of these ends the run at once with one failure and nothing prepared;
// only damage after an output was opened has made one, and let it go.
TEST_F(DecodeWalk, EachFaultEndsTheRunWithItsFailure) {
  auto hand_made = [](const archive::FileRecord& record, const std::vector<Bytes>& pieces) {
    encoder::ArchiveWriter writer(test_support::SampleStub());
    AddHandMadeEntry(writer, record, pieces);
    return writer;
  };
  // A record cut short by the end of its block is never completed from slack.
  encoder::ArchiveWriter cut(test_support::SampleStub());
  cut.AddEntryHeader({});
  Bytes plain = encoder::FirstPlainBlock(0, Record("cut.txt", 5), nullptr, 0);
  plain.resize(100);
  cut.AddDataBlock(encoder::SealBlock(plain, encoder::BlockForm::kStored, encoder::KeyString(kPassword)));
  // The checksum of a later block fails after a first file was finished.
  Bytes cooked =
      Archive({MakeEntry("done.txt", RandomBytes(300, 1)), MakeEntry("part.txt", RandomBytes(3000, 2))}, {500}).bytes();
  cooked[cooked.size() - 100] ^= 0x10;  // inside the last block's whole rows
  struct Case {
    std::string what;
    Bytes archive;
    DecodeFailure failure;
    bool output_opened = false;
    std::string password = kPassword;
  };
  std::vector<Case> cases = {
      {"a wrong password", OneEntry("a.txt", RandomBytes(2000)), DecodeFailure::kWrongPassword, false, "incorrect horse"},
      // Compressed, its first block is shorter than a record and stays so.
      {"a wrong password, small file", OneEntry("a.txt", Bytes(100, 'x')), DecodeFailure::kWrongPassword, false,
       "incorrect horse"},
      {"record size 303", hand_made(Record("a.txt", 5, 303), {RandomBytes(5)}).bytes(), DecodeFailure::kWrongPassword},
      {"record size 305", hand_made(Record("a.txt", 5, 305), {RandomBytes(5)}).bytes(), DecodeFailure::kWrongPassword},
      {"a first block without a file byte", hand_made(Record("short.txt", 5), {Bytes{}, RandomBytes(5)}).bytes(),
       DecodeFailure::kBlockTooShort},
      {"a record cut short", cut.bytes(), DecodeFailure::kBlockTooShort},
      {"a checksum failure midway", cooked, DecodeFailure::kCooked, true},
  };
  for (const char* name : {"\\..\\escape.txt", "\\docs\\..\\..\\x", "\\C:\\x", "\\\\server\\share\\x",
                           "\\docs/../x", "\\docs\\\\x"}) {
    cases.push_back({name, OneEntry(name, RandomBytes(50)), DecodeFailure::kOpenForWrite});
  }
  // A block shorter than two bytes, followed by the one that would complete
  // the file, so that taking the short one as empty would finish it.
  for (size_t length : {0u, 1u}) {
    encoder::ArchiveWriter writer = hand_made(Record("a.txt", 100), {RandomBytes(10)});
    writer.AddDataBlock(Bytes(length, 0));
    const Bytes rest = RandomBytes(90);
    writer.AddDataBlock(encoder::SealBlock(encoder::LaterPlainBlock(0, rest.data(), rest.size()),
                                           encoder::BlockForm::kStored, encoder::KeyString(kPassword)));
    cases.push_back({"a block of " + std::to_string(length), writer.bytes(), DecodeFailure::kReadFailed, true});
  }
  for (const Case& c : cases) {
    sink_ = RecordingSink();
    EXPECT_EQ(Run(c.archive, c.password), 0) << c.what;
    EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{c.failure}) << c.what;
    EXPECT_TRUE(sink_.prepared.empty()) << c.what;
    EXPECT_EQ(sink_.files.empty(), !c.output_opened) << c.what;
    EXPECT_EQ(sink_.abandoned.size(), c.output_opened ? 1u : 0u) << c.what;
    EXPECT_EQ(sink_.run_ends, std::vector<bool>{false}) << c.what;
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
    contents = RandomBytes(size);
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

  encoder::ArchiveWriter writer(test_support::SampleStub());
  writer.AddEntryHeader({});
  writer.AddDataBlock(sealed);
  EXPECT_EQ(Run(writer.bytes(), wrong), 1);
  EXPECT_TRUE(sink_.failures.empty());
  ASSERT_EQ(sink_.finished.size(), 1u);
  EXPECT_NE(sink_.files[sink_.finished[0]], contents) << "the output is garbage";
}

TEST_F(DecodeWalk, ACancelledDestinationEndsTheRunSilently) {
  const Bytes relative = OneEntry("\\a.txt", RandomBytes(50)), plain = OneEntry("a.txt", RandomBytes(50));
  sink_.folder_choice = Choice::kCancelled;
  EXPECT_EQ(Run(relative), 0);
  sink_.folder_choice = Choice::kChosen;
  sink_.folder_answer = "";  // an empty folder counts as cancelled
  EXPECT_EQ(Run(relative), 0);
  sink_.folder_answer = "/out";
  sink_.prepare_result = false;  // a parent folder cannot be made
  EXPECT_EQ(Run(relative), 0);
  EXPECT_TRUE(sink_.failures.empty());
  EXPECT_TRUE(sink_.files.empty());

  sink_.save_choice = Choice::kCancelled;
  EXPECT_EQ(Run(plain), 0);
  EXPECT_TRUE(sink_.failures.empty());
  sink_.save_choice = Choice::kRefused;
  EXPECT_EQ(Run(plain), 0);
  EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kOpenForWrite});
  sink_.save_choice = Choice::kChosen;
  sink_.create_result = false;
  EXPECT_EQ(Run(plain), 0);
  EXPECT_EQ(sink_.failures.back(), DecodeFailure::kOpenForWrite);
}

TEST_F(DecodeWalk, MissingArchiveCannotBeOpened) {
  base::CopyText(state_.archive_path, platform::kPathCapacity, "/nonexistent/a.exe");
  state_.entry_offset = 1024;
  EXPECT_EQ(decode::DecodeWalk(state_, "abcd", 4, sink_), 0);
  EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kOpenArchive});
  EXPECT_EQ(sink_.run_ends, std::vector<bool>{false});
}

}  // namespace

namespace {

// The readers' rules: an entry whose name cannot be used is said and
// passed over, its blocks read and checked, and the entries after it are
// decoded; the program's rules end the run there.
TEST_F(DecodeWalk, UnderTheReadersRulesABadEntryIsPassedOverAndTheOthersGoOn) {
  const std::string too_long = "\\" + std::string(256, 'n');  // one name over 255 bytes
  const Bytes archive = Archive({MakeEntry("\\a.txt", RandomBytes(3000, 1)),
                                 MakeEntry("\\..\\evil.txt", RandomBytes(3000, 2)),
                                 MakeEntry("\\b.txt", RandomBytes(50, 3)),
                                 MakeEntry("sub/plain.txt", RandomBytes(50, 4)),
                                 MakeEntry("\\caf\xe9.txt", RandomBytes(50, 5)),
                                 test_support::MakeEntry(too_long, RandomBytes(50, 6), "long"),
                                 MakeEntry("c.txt", RandomBytes(70, 7))}, {1000})
                            .bytes();
  sink_.rules = decode::WalkRules::kReader;
  sink_.spelling_code_page = 932;  // 0xE9 leads a character, which "." cannot end
  state_ = test_support::ArchiveState(dir_, archive);
  decode::SequentialBlockSource source;
  EXPECT_EQ(decode::DecodeWalk(state_, kPassword.data(), static_cast<uint32_t>(kPassword.size()), sink_, source), 1);
  EXPECT_TRUE(sink_.failures.empty());
  EXPECT_TRUE(sink_.protocol_kept);
  EXPECT_EQ(sink_.finished, (std::vector<std::string>{"/out/a.txt", "/out/b.txt", "c.txt"}));
  EXPECT_EQ(sink_.files["/out/b.txt"], RandomBytes(50, 3));
  EXPECT_EQ(sink_.files["c.txt"], RandomBytes(70, 7));
  using decode::NameProblem;
  const std::vector<std::pair<std::string, NameProblem>> refused = {
      {"\\..\\evil.txt", NameProblem::kUnsafe}, {"sub/plain.txt", NameProblem::kUnsafe},
      {"\\caf\xe9.txt", NameProblem::kUnspellable}, {too_long, NameProblem::kTooLong}};
  EXPECT_EQ(sink_.refused, refused);
  EXPECT_EQ(sink_.refused_ends.size(), refused.size());
  EXPECT_EQ(sink_.completed, sink_.finished) << "an entry passed over is never complete";

  sink_ = RecordingSink();
  EXPECT_EQ(Run(archive), 0) << "the program's rules";
  EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kOpenForWrite});
  EXPECT_EQ(sink_.finished, std::vector<std::string>{"/out/a.txt"});
}

// A compressed block sealed whole, whose stream was cut: its checksum
// holds, so only the stream tells. The readers stop there; the program
// writes what came out.
TEST_F(DecodeWalk, UnderTheReadersRulesABrokenStreamEndsTheRun) {
  const Bytes contents = test_support::TextLikeBytes(3000, 8);
  encoder::ArchiveWriter writer(test_support::SampleStub());
  writer.AddEntryHeader({});
  const encoder::KeyString key(kPassword);
  const Bytes first(contents.begin(), contents.begin() + 1000);
  writer.AddDataBlock(encoder::SealBlock(encoder::FirstPlainBlock(0, Record("t.txt", 3000), first.data(), first.size()),
                                         encoder::BlockForm::kCompressed, key));
  Bytes cut = encoder::CompressBlock(encoder::LaterPlainBlock(0, contents.data() + 1000, 2000));
  cut.resize(cut.size() - 3);
  codec::EncipherBlock(cut.data(), static_cast<uint32_t>(cut.size()), key.get());
  writer.AddDataBlock(cut);

  sink_.rules = decode::WalkRules::kReader;
  state_ = test_support::ArchiveState(dir_, writer.bytes());
  decode::SequentialBlockSource source;
  EXPECT_EQ(decode::DecodeWalk(state_, kPassword.data(), static_cast<uint32_t>(kPassword.size()), sink_, source), 0);
  EXPECT_EQ(sink_.failures, std::vector<DecodeFailure>{DecodeFailure::kBrokenStream});
  EXPECT_EQ(sink_.abandoned.size(), 1u);
  EXPECT_TRUE(sink_.finished.empty());

  sink_ = RecordingSink();
  Run(writer.bytes());
  EXPECT_TRUE(std::find(sink_.failures.begin(), sink_.failures.end(), DecodeFailure::kBrokenStream) ==
              sink_.failures.end())
      << "the program never says so";
}

}  // namespace

// The check walk over whole archives, with a reporter that records what a
// user would have seen.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "archive/check_walk.h"
#include "archive/locate_scan.h"
#include "base/bounded_text.h"
#include "base/paths.h"
#include "encoder/archive_writer.h"
#include "test_support.h"
#include "ui/check_messages.h"

namespace {

using archive::CheckProblem;
using encoder::Bytes;
using testing_support::PatternBytes;

class RecordingReporter : public archive::CheckReporter {
 public:
  void Begin() override { events.push_back("begin"); }
  void OnEntryHeader(const archive::SharedState& s) override { events.push_back(std::string("header ") + s.caption); }
  void OnProgress(int percent) override { percents.push_back(percent); }
  void OnProblem(CheckProblem p, const archive::SharedState& s) override {
    problems.push_back(p);
    titles.push_back(s.caption);
    events.push_back("problem");
  }
  void End() override { events.push_back("end"); }
  void OnNoProblem(const archive::SharedState& s) override {
    titles.push_back(s.caption);
    events.push_back("no problem");
  }
  std::vector<std::string> events, titles;
  std::vector<int> percents;
  std::vector<CheckProblem> problems;
};

encoder::EntryHeaderFields Header(const std::string& caption, uint32_t version = 301) {
  encoder::EntryHeaderFields fields;
  fields.caption = caption;
  fields.version = version;
  return fields;
}

class CheckWalk : public ::testing::Test {
 protected:
  int Run(const encoder::ArchiveWriter& writer) { return Run(writer.bytes()); }
  int Run(const Bytes& bytes) {
    testing_support::WriteFileBytes(dir_.File("a.exe"), bytes);
    base::CopyText(state_.archive_path, base::kPathCapacity, dir_.File("a.exe").c_str());
    state_.entry_offset = archive::LocateFirstEntry(state_.archive_path);
    EXPECT_NE(state_.entry_offset, -1);
    return archive::CheckWalk(state_, reporter_);
  }
  testing_support::TempDir dir_;
  archive::SharedState state_;
  RecordingReporter reporter_;
};

encoder::ArchiveWriter TwoEntries() {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  writer.AddEntryHeader(Header("first"));
  writer.AddDataBlock(PatternBytes(1000, 1));
  writer.AddDataBlock(PatternBytes(333, 2));
  writer.AddEntryHeader(Header("second"));
  writer.AddDataBlock(PatternBytes(64, 3));
  return writer;
}

TEST_F(CheckWalk, GoodArchiveWithSeveralEntriesPassesUnderTheLastCaption) {
  EXPECT_EQ(Run(TwoEntries()), 1);
  EXPECT_EQ(reporter_.events,
            (std::vector<std::string>{"begin", "header first", "header second", "end", "no problem"}));
  EXPECT_EQ(reporter_.titles, std::vector<std::string>{"second"});
  EXPECT_EQ(reporter_.percents.back(), 100);
}

TEST_F(CheckWalk, TrailingBytesFailTheHeaderProbe) {
  for (size_t extra : {1u, 25u}) {
    encoder::ArchiveWriter writer = TwoEntries();
    writer.AddRaw(Bytes(extra, 0x41));
    RecordingReporter fresh;
    reporter_ = fresh;
    EXPECT_EQ(Run(writer), 0) << extra;
    EXPECT_EQ(reporter_.problems, std::vector<CheckProblem>{CheckProblem::kHeaderShort}) << extra;
  }
}

TEST_F(CheckWalk, LastBlockShorterThanTwentySixBytesFailsTheProbeAtItsOwnPosition) {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  writer.AddEntryHeader(Header("x"));
  writer.AddDataBlock(PatternBytes(64));
  writer.AddDataBlock(PatternBytes(5));  // 25 bytes in all: the probe before it runs short
  EXPECT_EQ(Run(writer), 0);
  EXPECT_EQ(reporter_.problems, std::vector<CheckProblem>{CheckProblem::kHeaderShort});
}

TEST_F(CheckWalk, HeaderFollowedByTheEndOfTheFileIsAShortBlock) {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  writer.AddEntryHeader(Header("x"));
  EXPECT_EQ(Run(writer), 0);
  EXPECT_EQ(reporter_.problems, std::vector<CheckProblem>{CheckProblem::kBlockShort});
}

TEST_F(CheckWalk, ChangedByteInWholeRowsIsCaughtButTailChangesPass) {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  writer.AddEntryHeader(Header("x"));
  writer.AddDataBlock(PatternBytes(40));  // rows cover 32 bytes
  Bytes bytes = writer.bytes();
  Bytes tail_changed = bytes;
  tail_changed[bytes.size() - 1] ^= 1;
  EXPECT_EQ(Run(tail_changed), 1);

  Bytes row_changed = bytes;
  row_changed[bytes.size() - 40 + 31] ^= 1;
  reporter_ = RecordingReporter();
  EXPECT_EQ(Run(row_changed), 0);
  EXPECT_EQ(reporter_.problems, std::vector<CheckProblem>{CheckProblem::kCooked});
}

TEST_F(CheckWalk, BlocksAcrossPiecesAndTheReadAheadBufferAreSummedWhole) {
  // Summed in place in pieces of 64 KiB of a 256 KiB read-ahead buffer.
  encoder::ArchiveWriter writer(encoder::SampleStub());
  writer.AddEntryHeader(Header("x"));
  std::vector<size_t> last_row_bytes;
  unsigned seed = 0;
  for (size_t size : {100000u, 65536u + 15, 300000u, 17u, 200000u}) {
    writer.AddDataBlock(PatternBytes(size, ++seed));
    last_row_bytes.push_back(writer.bytes().size() - size % 16 - 1);
  }
  EXPECT_EQ(Run(writer), 1);
  for (size_t at : last_row_bytes) {
    Bytes changed = writer.bytes();
    changed[at] ^= 0x40;
    reporter_ = RecordingReporter();
    EXPECT_EQ(Run(changed), 0) << at;
    EXPECT_EQ(reporter_.problems, std::vector<CheckProblem>{CheckProblem::kCooked}) << at;
  }
}

TEST_F(CheckWalk, OtherVersionStopsAtItsHeaderAfterTheFirstEntryWasVerified) {
  for (uint32_t version : {300u, 302u}) {
    encoder::ArchiveWriter writer(encoder::SampleStub());
    writer.AddEntryHeader(Header("first"));
    writer.AddDataBlock(PatternBytes(100));
    writer.AddEntryHeader(Header("newer", version));
    writer.AddDataBlock(PatternBytes(100));
    reporter_ = RecordingReporter();
    EXPECT_EQ(Run(writer), 0);
    EXPECT_EQ(reporter_.problems, std::vector<CheckProblem>{CheckProblem::kNewerVersion});
    EXPECT_EQ(reporter_.titles, std::vector<std::string>{"newer"});
  }
}

TEST_F(CheckWalk, BytesBetweenEntriesAreReadAsADataBlock) {
  encoder::ArchiveWriter writer(encoder::SampleStub());
  writer.AddEntryHeader(Header("x"));
  writer.AddDataBlock(PatternBytes(100));
  writer.AddRaw(encoder::DataBlockBytes(PatternBytes(30)));  // a well-formed stray block passes
  writer.AddEntryHeader(Header("y"));
  writer.AddDataBlock(PatternBytes(100));
  EXPECT_EQ(Run(writer), 1);

  writer.AddRaw(Bytes(30, 0x5C));  // junk: its 16 + 4 bytes read as checksum and length
  reporter_ = RecordingReporter();
  EXPECT_EQ(Run(writer), 0);
  EXPECT_EQ(reporter_.problems, std::vector<CheckProblem>{CheckProblem::kBlockShort});
}

TEST_F(CheckWalk, MissingArchiveIsReportedAsOpenFailureUnderTheFixedCaption) {
  strcpy(state_.archive_path, "/nonexistent/a.exe");
  state_.entry_offset = 1024;
  EXPECT_EQ(archive::CheckWalk(state_, reporter_), 0);
  EXPECT_EQ(reporter_.problems, std::vector<CheckProblem>{CheckProblem::kOpenFailed});
  EXPECT_EQ(reporter_.titles, std::vector<std::string>{"Kelvarin"});
  EXPECT_EQ(reporter_.events.back(), "end");
}

TEST_F(CheckWalk, ProgressOfTheSevenBlockExampleStartsAt44) {
  encoder::ArchiveWriter writer(encoder::SampleStub(53248));
  encoder::EntryHeaderFields fields = Header(std::string(24, 'c'));
  fields.fill[0] = 0x77;
  fields.suicide_mode = 0;
  fields.reserved_word = 98864;
  writer.AddEntryHeader(fields);
  unsigned seed = 0;
  for (size_t length : {9259u, 10432u, 14462u, 13269u, 13073u, 13509u, 15023u})
    writer.AddDataBlock(PatternBytes(length, ++seed));
  ASSERT_EQ(writer.bytes().size(), 142722u);
  EXPECT_EQ(Run(writer), 1);
  EXPECT_EQ(reporter_.percents.front(), 44);
  EXPECT_EQ(reporter_.percents.back(), 100);
  for (size_t i = 1; i < reporter_.percents.size(); ++i) EXPECT_GT(reporter_.percents[i], reporter_.percents[i - 1]);
}

TEST(ProgressPercent, DoesNotWrapForLargeArchives) {
  EXPECT_EQ(archive::ProgressPercent(62834, 142722), 44);
  EXPECT_EQ(archive::ProgressPercent(42949673, 42949673), 100);
  EXPECT_EQ(archive::ProgressPercent(4000000000u, 4294967295u), 93);
  EXPECT_EQ(archive::ProgressPercent(3000000000000ull, 6000000000000ull), 50);
}

TEST(CheckMessages, PathStandsInFrontOfEveryMessageButTheHeaderProbe) {
  using ui::Language;
  EXPECT_STREQ(ui::CheckProblemMessage(CheckProblem::kCooked, "C:\\a.exe", Language::kEnglish).text,
            "C:\\a.exe\n\nAnyone cooked this file.");
  EXPECT_STREQ(ui::CheckProblemMessage(CheckProblem::kHeaderShort, "C:\\a.exe", Language::kEnglish).text,
            "Could not read file.");
  EXPECT_STREQ(ui::CheckProblemMessage(CheckProblem::kBlockShort, "C:\\a.exe", Language::kEnglish).text,
            "C:\\a.exe\n\nCould not read file.");
  EXPECT_STREQ(ui::CheckNoProblemMessage("C:\\a.exe", Language::kEnglish).text, "C:\\a.exe\n\nNo problem at fle.");
}

}  // namespace

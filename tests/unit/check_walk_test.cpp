// The check walk over whole archives, with a reporter that records what a
// user would have seen (test_support.h).
#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "archive/check_walk.h"
#include "encoder/archive_writer.h"
#include "test_support.h"
#include "ui/check_messages.h"

namespace {

using archive::CheckProblem;
using encoder::Bytes;
using test_support::RandomBytes;

// One entry "first" with a block of 100 bytes.
encoder::ArchiveWriter OneEntry() {
  encoder::ArchiveWriter writer(test_support::SampleStub());
  writer.AddEntryHeader({.caption = "first"});
  writer.AddDataBlock(RandomBytes(100, 1));
  return writer;
}

class CheckWalk : public ::testing::Test {
 protected:
  int Run(const Bytes& bytes) {
    reporter_ = test_support::RecordingReporter();
    state_ = test_support::ArchiveState(dir_, bytes);
    return archive::CheckWalk(state_, reporter_);
  }
  test_support::TempDir dir_;
  archive::SharedState state_;
  test_support::RecordingReporter reporter_;
};

TEST_F(CheckWalk, GoodArchiveWithSeveralEntriesPassesUnderTheLastCaption) {
  encoder::ArchiveWriter writer = OneEntry();
  writer.AddDataBlock(RandomBytes(1000, 2));
  writer.AddEntryHeader({.caption = "second"});
  writer.AddDataBlock(RandomBytes(64, 3));
  EXPECT_EQ(Run(writer.bytes()), 1);
  EXPECT_EQ(reporter_.events,
            (std::vector<std::string>{"begin", "header first", "header second", "end", "no problem"}));
  EXPECT_EQ(reporter_.titles, std::vector<std::string>{"second"});
  // Progress counts from the start of the file, block by block.
  const uint64_t first_block_end = writer.stub_size() + 256 + 26 + 6 + 20 + 100;
  ASSERT_FALSE(reporter_.percents.empty());
  EXPECT_EQ(reporter_.percents.front(), archive::ProgressPercent(first_block_end, writer.bytes().size()));
  EXPECT_EQ(reporter_.percents.back(), 100);
  for (size_t i = 1; i < reporter_.percents.size(); ++i) EXPECT_GT(reporter_.percents[i], reporter_.percents[i - 1]);
}

TEST_F(CheckWalk, EachDamageIsReportedUnderTheCaptionOfItsEntry) {
  const size_t last = OneEntry().bytes().size() - 1;
  const struct {
    const char* what;
    std::function<void(encoder::ArchiveWriter&)> change;
    std::optional<CheckProblem> problem;
    std::string title = "first";
  } cases[] = {
      {"one trailing byte", [](auto& w) { w.AddRaw({0x41}); }, CheckProblem::kHeaderShort},
      {"25 trailing bytes", [](auto& w) { w.AddRaw(Bytes(25, 0x41)); }, CheckProblem::kHeaderShort},
      // 25 bytes in all: the header probe before it runs short.
      {"a last block of 5 bytes", [](auto& w) { w.AddDataBlock(RandomBytes(5)); }, CheckProblem::kHeaderShort},
      {"a header at the end", [](auto& w) { w.AddEntryHeader({.caption = "second"}); }, CheckProblem::kBlockShort,
       "second"},
      {"a newer version", [](auto& w) { w.AddEntryHeader({.version = 302, .caption = "newer"}); },
       CheckProblem::kNewerVersion, "newer"},
      {"an older version", [](auto& w) { w.AddEntryHeader({.version = 300, .caption = "older"}); },
       CheckProblem::kNewerVersion, "older"},
      {"a well-formed stray block", [](auto& w) { w.AddRaw(encoder::DataBlockBytes(RandomBytes(30))); }, {}},
      // Junk is read as a data block: its 16 + 4 bytes as checksum and length.
      {"junk", [](auto& w) { w.AddRaw(Bytes(30, 0x5C)); }, CheckProblem::kBlockShort},
  };
  for (const auto& c : cases) {
    encoder::ArchiveWriter writer = OneEntry();
    c.change(writer);
    EXPECT_EQ(Run(writer.bytes()), c.problem ? 0 : 1) << c.what;
    EXPECT_EQ(reporter_.problems, c.problem ? std::vector{*c.problem} : std::vector<CheckProblem>{}) << c.what;
    EXPECT_EQ(reporter_.titles, std::vector<std::string>{c.problem ? c.title : "first"}) << c.what;
  }
  // The whole rows of a block are summed, its last 100 % 16 bytes are not.
  Bytes bytes = OneEntry().bytes();
  bytes[last] ^= 1;
  EXPECT_EQ(Run(bytes), 1);
  bytes[last - 4] ^= 1;
  EXPECT_EQ(Run(bytes), 0);
  EXPECT_EQ(reporter_.problems, std::vector<CheckProblem>{CheckProblem::kCooked});
}

TEST_F(CheckWalk, BlocksAcrossPiecesOfTheReadAheadBufferAreSummedWhole) {
  // Summed in place, in pieces of 64 KiB of a 256 KiB read-ahead buffer.
  encoder::ArchiveWriter writer(test_support::SampleStub());
  writer.AddEntryHeader({.caption = "x"});
  std::vector<size_t> last_row_bytes;
  unsigned seed = 0;
  for (size_t size : {100000u, 65536u + 15, 300000u, 17u, 200000u}) {
    writer.AddDataBlock(RandomBytes(size, ++seed));
    last_row_bytes.push_back(writer.bytes().size() - size % 16 - 1);
  }
  EXPECT_EQ(Run(writer.bytes()), 1);
  for (size_t at : last_row_bytes) {
    Bytes changed = writer.bytes();
    changed[at] ^= 0x40;
    EXPECT_EQ(Run(changed), 0) << at;
    EXPECT_EQ(reporter_.problems, std::vector<CheckProblem>{CheckProblem::kCooked}) << at;
  }
}

TEST_F(CheckWalk, MissingArchiveIsReportedAsOpenFailureUnderTheFixedCaption) {
  strcpy(state_.archive_path, "/nonexistent/a.exe");
  state_.entry_offset = 1024;
  EXPECT_EQ(archive::CheckWalk(state_, reporter_), 0);
  EXPECT_EQ(reporter_.problems, std::vector<CheckProblem>{CheckProblem::kOpenFailed});
  EXPECT_EQ(reporter_.titles, std::vector<std::string>{"Kelvarin"});
  EXPECT_EQ(reporter_.events.back(), "end");
}

TEST(ProgressPercent, DoesNotWrapForLargeArchives) {
  EXPECT_EQ(archive::ProgressPercent(62834, 142722), 44);
  EXPECT_EQ(archive::ProgressPercent(42949673, 42949673), 100);
  EXPECT_EQ(archive::ProgressPercent(4000000000u, 4294967295u), 93);
  EXPECT_EQ(archive::ProgressPercent(3000000000000ull, 6000000000000ull), 50);
}

TEST(CheckMessages, PathStandsInFrontOfEveryMessageButTheHeaderProbe) {
  using ui::Language;
  EXPECT_STREQ(ui::CheckProblemMessage(CheckProblem::kHeaderShort, "C:\\a.exe", Language::kEnglish).text,
               "Could not read file.");
  EXPECT_STREQ(ui::CheckProblemMessage(CheckProblem::kBlockShort, "C:\\a.exe", Language::kEnglish).text,
               "C:\\a.exe\n\nCould not read file.");
  EXPECT_STREQ(ui::CheckNoProblemMessage("C:\\a.exe", Language::kEnglish).text, "C:\\a.exe\n\nNo problem at fle.");
}

}  // namespace

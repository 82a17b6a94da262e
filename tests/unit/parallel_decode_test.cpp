// The parallel block source against the sequential one: over intact,
// damaged and cut archives, and junk where entries end, a sink is asked and
// told exactly the same and gets the same bytes, so nothing is written past
// the block where the sequential run stops. Random archives, and blocks
// that mislead the read-ahead, are the differential fuzz target's.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "archive/check_block.h"
#include "archive/locate_scan.h"
#include "base/bounded_text.h"
#include "decode/decode_walk.h"
#include "encoder/entry_encoder.h"
#include "parallel/parallel_block_source.h"
#include "test_support.h"
#include "tests/support/entries.h"
#include "tests/support/recording_sink.h"

namespace {

using encoder::Bytes;
using test_support::RecordingSink;

const std::string kPassword = "correct horse";

class ParallelDecode : public ::testing::Test {
 protected:
  // Decodes the bytes with the sequential source and with parallel ones of
  // two and three workers, each reused from run to run; every parallel run
  // must match the sequential one. Returns the sequential result.
  int ExpectSameRuns(const Bytes& bytes, const std::string& what, const std::string& password = kPassword) {
    test_support::WriteFileBytes(path_, bytes);
    RecordingSink expected;
    archive::SharedState expected_state;
    decode::SequentialBlockSource sequential;
    const int result = Decode(password, expected, expected_state, sequential);
    for (parallel::ParallelBlockSource* source : {&two_, &three_}) {
      RecordingSink sink;
      archive::SharedState state;
      EXPECT_EQ(Decode(password, sink, state, *source), result) << what;
      EXPECT_EQ(test_support::Transcript(sink), test_support::Transcript(expected)) << what;
      EXPECT_TRUE(sink.files == expected.files) << what;
      EXPECT_STREQ(state.caption, expected_state.caption) << what;
      EXPECT_EQ(state.show_encoder_information, expected_state.show_encoder_information) << what;
    }
    return result;
  }

  int Decode(const std::string& password, RecordingSink& sink, archive::SharedState& state,
             decode::BlockSource& source) {
    base::CopyText(state.archive_path, platform::kPathCapacity, path_.c_str());
    state.entry_offset = archive::LocateFirstEntry(state.archive_path);
    return decode::DecodeWalk(state, password.data(), static_cast<uint32_t>(password.size()), sink, source);
  }

  test_support::TempDir dir_;
  const std::string path_ = dir_.File("a.exe");
  parallel::ParallelBlockSource two_{2};
  parallel::ParallelBlockSource three_{3};
};

// An archive and where each of its entries ends.
struct Layout {
  encoder::ArchiveWriter writer{test_support::SampleStub()};
  std::vector<size_t> entry_ends;
  void Add(const encoder::Entry& entry, uint32_t block_size) {
    encoder::EntryOptions options;
    options.block_size = block_size;
    ASSERT_EQ(encoder::AddEntry(writer, entry, kPassword, options), encoder::EncodeError::kNone);
    entry_ends.push_back(writer.bytes().size());
  }
};

encoder::Entry MakeEntry(const std::string& name, Bytes contents, unsigned char flags = 0) {
  return test_support::MakeEntry(name, std::move(contents), "caption of " + name, flags);
}

// Several entries of many small blocks each, compressed and stored, so
// that reading ahead runs across entry ends.
Layout MixedArchive() {
  Layout layout;
  layout.Add(MakeEntry("\\docs\\text.txt", test_support::TextLikeBytes(6000, 1), archive::kShowEncoderInformation), 500);
  layout.Add(MakeEntry("one.bin", {'x'}), 500);
  layout.Add(MakeEntry("binary.bin", test_support::BinaryLikeBytes(4000, 2)), 700);
  layout.Add(MakeEntry("\\random.bin", test_support::RandomBytes(3000, 3)), 400);
  layout.Add(MakeEntry("\\docs\\last.txt", test_support::TextLikeBytes(2500, 4)), 600);
  return layout;
}

TEST_F(ParallelDecode, IntactDamagedAndCutArchivesDecodeTheSameWay) {
  const Layout layout = MixedArchive();
  const Bytes& intact = layout.writer.bytes();
  EXPECT_EQ(ExpectSameRuns(intact, "intact"), 1);
  EXPECT_EQ(ExpectSameRuns(intact, "wrong password", "incorrect horse"), 0);

  const size_t first_entry = layout.writer.stub_size() + archive::kCheckBlockSize;
  for (size_t at = first_entry; at < intact.size(); at += 37) {
    Bytes flipped = intact;
    flipped[at] ^= static_cast<unsigned char>(1 << (at % 8));
    ExpectSameRuns(flipped, "bit flipped at " + std::to_string(at));
  }
  for (size_t length = first_entry; length < intact.size(); length += 83) {
    ExpectSameRuns(Bytes(intact.begin(), intact.begin() + length), "cut at " + std::to_string(length));
  }
  // Junk where an entry ends: skipped by the header scan between entries,
  // a read failure after the last.
  for (const Bytes& junk : {Bytes{'x', '\\', 'y', '\\', '\\'}, Bytes(40, 'j')}) {
    for (size_t end : layout.entry_ends) {
      Bytes bytes = intact;
      bytes.insert(bytes.begin() + static_cast<ptrdiff_t>(end), junk.begin(), junk.end());
      ExpectSameRuns(bytes, "junk after the entry ending at " + std::to_string(end));
    }
  }
}

}  // namespace

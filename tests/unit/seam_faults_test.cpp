// What the core does when the system fails it: memory that is short for a
// while, a disk that takes only part of a write, a drive that stops
// delivering in the middle of a data block.
#include <gtest/gtest.h>

#include "archive/block_buffer.h"
#include "archive/check_walk.h"
#include "decode/decode_walk.h"
#include "decode/disk_output.h"
#include "platform/fault_injection.h"
#include "test_support.h"
#include "tests/support/entries.h"
#include "tests/support/recording_sink.h"

namespace {

using platform::faults::Call;

const std::string kPassword = "faulty seam";

class SeamFaults : public ::testing::Test {
 protected:
  // One entry of 10000 bytes stored in blocks of 4000: the third holds 2306
  // file bytes.
  void SetUp() override {
    archive_ = test_support::ArchiveOf(test_support::SampleStub(), {test_support::MakeEntry("out.bin", test_support::RandomBytes(10000))},
                                       kPassword, {4000, 0, encoder::BlockForm::kStored})
                   .bytes();
    state_ = test_support::ArchiveState(dir_, archive_);
  }
  void TearDown() override { platform::faults::Clear(); }
  int Decode() { return decode::DecodeWalk(state_, kPassword.data(), kPassword.size(), sink_); }

  test_support::TempDir dir_;
  encoder::Bytes archive_;
  archive::SharedState state_;
  test_support::RecordingSink sink_;
};

TEST_F(SeamFaults, MemoryThatIsShortForAWhileIsWaitedFor) {
  platform::faults::Inject(Call::kAllocate, 0, 2);
  archive::BlockBuffer buffer;
  buffer.Allocate(5000);
  EXPECT_EQ(platform::faults::Failed(Call::kAllocate), 2u) << "both failures were met, then the third try held";
  ASSERT_NE(buffer.data(), nullptr);
  EXPECT_GE(buffer.Capacity(), 5000u + archive::kBlockBufferSlack);
}

// The disk output reports a write the disk took only part of, and the
// decode walk takes it for a failure and lets the output go.
TEST_F(SeamFaults, ShortWriteIsAWriteFailureAndTheOutputIsLetGo) {
  decode::DiskOutput output;
  ASSERT_TRUE(output.Create(dir_.File("out.bin").c_str()));
  platform::faults::Inject(Call::kWrite, 1, 1, 100);
  EXPECT_EQ(output.Write(archive_.data(), 5000), 5000u);
  EXPECT_EQ(output.Write(archive_.data(), 5000), 100u);
  output.Abandon();

  sink_.output_limit = 5000;  // the second block's write comes up short
  EXPECT_EQ(Decode(), 0);
  EXPECT_EQ(sink_.failures, std::vector<decode::DecodeFailure>{decode::DecodeFailure::kWriteFailed});
  EXPECT_EQ(sink_.abandoned, std::vector<std::string>{"out.bin"});
}

TEST_F(SeamFaults, DriveThatStopsInsideABlockIsAReadFailure) {
  // The walks read from the first entry on. All but the last 3000 bytes
  // arrive, then nothing more: the cut falls inside the second block.
  const uint32_t delivered = static_cast<uint32_t>(archive_.size() - state_.entry_offset - 3000);
  platform::faults::Inject(Call::kRead, 0, UINT32_MAX, delivered);
  EXPECT_EQ(Decode(), 0);
  EXPECT_EQ(sink_.failures, std::vector<decode::DecodeFailure>{decode::DecodeFailure::kReadFailed});
  EXPECT_EQ(sink_.abandoned, std::vector<std::string>{"out.bin"});

  platform::faults::Clear();
  platform::faults::Inject(Call::kRead, 0, UINT32_MAX, delivered);
  test_support::RecordingReporter reporter;
  EXPECT_EQ(archive::CheckWalk(state_, reporter), 0);
  EXPECT_EQ(reporter.problems, std::vector<archive::CheckProblem>{archive::CheckProblem::kBlockShort});
}

}  // namespace

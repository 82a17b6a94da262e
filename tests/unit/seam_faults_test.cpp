// What the core does when the system fails it: memory that is short for a
// while, a disk that takes only part of a write, a drive that stops
// delivering in the middle of a data block.
#include <gtest/gtest.h>

#include "archive/block_buffer.h"
#include "archive/check_walk.h"
#include "base/bounded_text.h"
#include "base/paths.h"
#include "decode/decode_walk.h"
#include "decode/disk_output.h"
#include "platform/fault_injection.h"
#include "test_support.h"
#include "tests/support/entries.h"

namespace {

using platform::faults::Call;

const std::string kPassword = "faulty seam";

// Writes the entries to real files in a folder, as both front ends do.
class DiskSink : public decode::DecodeSink {
 public:
  explicit DiskSink(const std::string& folder) : folder_(folder) {}
  decode::Choice ChooseFolder(char* folder) override {
    base::CopyText(folder, base::kPathCapacity, folder_.c_str());
    return decode::Choice::kChosen;
  }
  decode::Choice ChooseSavePath(char* path) override {
    base::CopyText(path, base::kPathCapacity, (folder_ + "/" + path).c_str());
    return decode::Choice::kChosen;
  }
  bool CreateOutput(const char* path) override { return output_.Create(path); }
  uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) override { return output_.Write(bytes, count); }
  void FinishOutput(const char* path, const archive::FileRecord& record) override { output_.Finish(path, record); }
  void AbandonOutput() override {
    output_.Abandon();
    ++abandoned;
  }
  void OnFailure(decode::DecodeFailure failure, const archive::SharedState&) override { failures.push_back(failure); }

  std::vector<decode::DecodeFailure> failures;
  int abandoned = 0;

 private:
  std::string folder_;
  decode::DiskOutput output_;
};

class SeamFaults : public ::testing::Test {
 protected:
  // An archive of one entry of 10000 bytes, stored in blocks of 4000.
  void SetUp() override {
    archive_ = test_support::ArchiveOf(encoder::RandomBytes(512, 9),
                                       {test_support::MakeEntry("out.bin", encoder::RandomBytes(10000, 3))}, kPassword,
                                       {4000, 0, encoder::BlockForm::kStored})
                   .bytes();
    state_ = testing_support::ArchiveState(dir_, archive_);
  }
  void TearDown() override { platform::faults::Clear(); }
  int Decode(DiskSink& sink) { return decode::DecodeWalk(state_, kPassword.data(), kPassword.size(), sink); }

  testing_support::TempDir dir_;
  encoder::Bytes archive_;
  archive::SharedState state_;
};

TEST_F(SeamFaults, MemoryThatIsShortForAWhileIsWaitedFor) {
  platform::faults::Inject(Call::kAllocate, 0, 2);
  archive::BlockBuffer buffer;
  EXPECT_EQ(archive::AllocateBlockBuffer(buffer, 5000), 1);
  EXPECT_EQ(platform::faults::Failed(Call::kAllocate), 2u) << "both failures were met, then the third try held";
  ASSERT_NE(buffer.data, nullptr);
  EXPECT_GE(platform::MemSize(buffer.handle), 5000u + archive::kBlockBufferSlack);
  archive::ReleaseBlockBuffer(buffer);
}

TEST_F(SeamFaults, ShortWriteIsAWriteFailureAndTheOutputIsLetGo) {
  DiskSink sink(dir_.path());
  platform::faults::Inject(Call::kWrite, 1, 1, 100);  // the second block's write takes 100 bytes
  EXPECT_EQ(Decode(sink), 0);
  EXPECT_EQ(sink.failures, std::vector<decode::DecodeFailure>{decode::DecodeFailure::kWriteFailed});
  EXPECT_EQ(sink.abandoned, 1);
  EXPECT_EQ(platform::faults::Failed(Call::kWrite), 1u);
}

TEST_F(SeamFaults, DriveThatStopsInsideABlockIsAReadFailure) {
  // The walks read from the first entry on. All but the last 3000 bytes
  // arrive, then nothing more: the cut falls inside the second of the
  // three data blocks (the third holds 2306 file bytes).
  const uint32_t delivered = static_cast<uint32_t>(archive_.size() - state_.entry_offset - 3000);
  platform::faults::Inject(Call::kRead, 0, UINT32_MAX, delivered);
  DiskSink sink(dir_.path());
  EXPECT_EQ(Decode(sink), 0);
  EXPECT_EQ(sink.failures, std::vector<decode::DecodeFailure>{decode::DecodeFailure::kReadFailed});
  EXPECT_EQ(sink.abandoned, 1);

  platform::faults::Clear();
  platform::faults::Inject(Call::kRead, 0, UINT32_MAX, delivered);
  struct : archive::CheckReporter {
    void OnProblem(archive::CheckProblem problem, const archive::SharedState&) override { problems.push_back(problem); }
    void OnNoProblem(const archive::SharedState&) override {}
    std::vector<archive::CheckProblem> problems;
  } reporter;
  EXPECT_EQ(archive::CheckWalk(state_, reporter), 0);
  EXPECT_EQ(reporter.problems, std::vector<archive::CheckProblem>{archive::CheckProblem::kBlockShort});
}

}  // namespace

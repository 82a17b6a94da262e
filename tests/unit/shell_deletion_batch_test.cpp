#include <gtest/gtest.h>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "shell/deletion_batch.h"

namespace {

const std::string kProgram = "C:\\Documents and Settings\\me\\Local Settings\\Temp\\Del1F.exe";

std::string Batch(const std::string& program, const std::string& batch = shell::kDeletionBatchPath,
                  int capacity = shell::kDeletionBatchCapacity) {
  char out[shell::kDeletionBatchCapacity + 1] = {};
  const int length = shell::FormatDeletionBatch(out, capacity, program.c_str(), batch.c_str());
  EXPECT_EQ(static_cast<size_t>(length), length ? std::string(out).size() : 0);
  return length ? std::string(out, length) : std::string();
}

TEST(DeletionBatch, FourLinesThatRetryUntilTheProgramIsGoneThenDeleteThemselves) {
  EXPECT_EQ(Batch(kProgram),
            ":Repeat\r\n"
            "del \"C:\\Documents and Settings\\me\\Local Settings\\Temp\\Del1F.exe\"\r\n"
            "if exist \"C:\\Documents and Settings\\me\\Local Settings\\Temp\\Del1F.exe\" goto Repeat\r\n"
            "del \"\\delus.bat\"\r\n");
}

TEST(DeletionBatch, PercentInAPathIsNotExpandedIntoAnotherName) {
  EXPECT_EQ(Batch("C:\\Users\\50%off\\%TEMP%\\Del2.exe", "C:\\Users\\50%off\\Del3.bat"),
            ":Repeat\r\n"
            "del \"C:\\Users\\50%%off\\%%TEMP%%\\Del2.exe\"\r\n"
            "if exist \"C:\\Users\\50%%off\\%%TEMP%%\\Del2.exe\" goto Repeat\r\n"
            "del \"C:\\Users\\50%%off\\Del3.bat\"\r\n");
}

TEST(DeletionBatch, LongestPathsFitAndATextThatWouldBeCutIsRefused) {
  const std::string longest(259, '%');
  EXPECT_FALSE(Batch(longest, longest).empty());
  const std::string path = "C:\\Temp\\Del3.exe";
  const int exact = static_cast<int>(Batch(path).size()) + 1;
  EXPECT_FALSE(Batch(path, shell::kDeletionBatchPath, exact).empty());
  EXPECT_TRUE(Batch(path, shell::kDeletionBatchPath, exact - 1).empty()) << "a cut path could name another file";
}

// A file system in memory whose creations and starts can be made to fail.
class FakeBatchSystem : public shell::BatchSystem {
 public:
  bool CreateNew(const char* path, const char* text, int length) override {
    if (files.count(path) || unwritable.count(path)) return false;
    files[path] = std::string(text, length);
    return true;
  }
  bool Start(const char* path) override {
    if (unstartable.count(path) || !files.count(path)) return false;
    started.push_back(path);
    return true;
  }
  void Delete(const char* path) override { files.erase(path); }
  bool TemporaryBatchName(char* name) override {
    if (names.empty()) return false;
    strcpy(name, names.front().c_str());
    names.erase(names.begin());
    return true;
  }

  std::map<std::string, std::string> files;
  std::set<std::string> unwritable, unstartable;
  std::vector<std::string> names = {"C:\\Temp\\Del7.bat", "C:\\Temp\\Del8.bat"};
  std::vector<std::string> started;
};

TEST(DeletionBatchStart, TheRootBatchComesFirst) {
  FakeBatchSystem system;
  EXPECT_TRUE(shell::StartDeletionBatch(system, kProgram.c_str()));
  EXPECT_EQ(system.started, std::vector<std::string>{"\\delus.bat"});
  EXPECT_EQ(system.files["\\delus.bat"], Batch(kProgram));
  EXPECT_EQ(system.names.size(), 2u) << "no temporary name was drawn";
}

TEST(DeletionBatchStart, ABatchOfAnotherChainIsNeverReplaced) {
  FakeBatchSystem system;
  system.files["\\delus.bat"] = "another chain's batch";
  EXPECT_TRUE(shell::StartDeletionBatch(system, kProgram.c_str()));
  EXPECT_EQ(system.files["\\delus.bat"], "another chain's batch");
  EXPECT_EQ(system.started, std::vector<std::string>{"C:\\Temp\\Del7.bat"});
  EXPECT_EQ(system.files["C:\\Temp\\Del7.bat"], Batch(kProgram, "C:\\Temp\\Del7.bat"))
      << "the last line deletes the batch's own path";
}

TEST(DeletionBatchStart, AnUnwritableRootOrABatchThatWillNotStartFallsBackAndLeavesNothing) {
  FakeBatchSystem unwritable;
  unwritable.unwritable.insert("\\delus.bat");
  EXPECT_TRUE(shell::StartDeletionBatch(unwritable, kProgram.c_str()));
  EXPECT_EQ(unwritable.started, std::vector<std::string>{"C:\\Temp\\Del7.bat"});

  FakeBatchSystem unstartable;
  unstartable.unstartable.insert("\\delus.bat");
  EXPECT_TRUE(shell::StartDeletionBatch(unstartable, kProgram.c_str()));
  EXPECT_EQ(unstartable.started, std::vector<std::string>{"C:\\Temp\\Del7.bat"});
  EXPECT_EQ(unstartable.files.count("\\delus.bat"), 0u) << "the unstarted root batch is deleted";
}

TEST(DeletionBatchStart, ATakenTemporaryNameIsFollowedByAnother) {
  FakeBatchSystem system;
  system.files["\\delus.bat"] = "another chain's batch";
  system.files["C:\\Temp\\Del7.bat"] = "a third chain's batch";
  EXPECT_TRUE(shell::StartDeletionBatch(system, kProgram.c_str()));
  EXPECT_EQ(system.started, std::vector<std::string>{"C:\\Temp\\Del8.bat"});
  EXPECT_EQ(system.files["C:\\Temp\\Del7.bat"], "a third chain's batch");
}

TEST(DeletionBatchStart, WhenNothingCanStartNoBatchFileStays) {
  FakeBatchSystem system;
  system.unstartable = {"\\delus.bat", "C:\\Temp\\Del7.bat", "C:\\Temp\\Del8.bat"};
  EXPECT_FALSE(shell::StartDeletionBatch(system, kProgram.c_str()));
  EXPECT_TRUE(system.files.empty());
  EXPECT_TRUE(system.started.empty());
}

}  // namespace

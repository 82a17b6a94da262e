// The batch file that deletes the clean-up program, and where it is
// written and started.
#include <gtest/gtest.h>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "shell/deletion_batch.h"

namespace {

const std::string kProgram = "C:\\Documents and Settings\\me\\Local Settings\\Temp\\Del1F.exe";
const std::string kRoot = shell::kDeletionBatchPath;

std::string Batch(const std::string& program, const std::string& batch = kRoot,
                  int capacity = shell::kDeletionBatchCapacity) {
  char out[shell::kDeletionBatchCapacity + 1] = {};
  const int length = shell::FormatDeletionBatch(out, capacity, program.c_str(), batch.c_str());
  EXPECT_EQ(static_cast<size_t>(length), length ? std::string(out).size() : 0);
  return length ? std::string(out, length) : std::string();
}

// '%' is doubled, so that a path is never expanded into another name.
TEST(DeletionBatch, FourLinesThatRetryUntilTheProgramIsGoneThenDeleteThemselves) {
  EXPECT_EQ(Batch(kProgram),
            ":Repeat\r\n"
            "del \"C:\\Documents and Settings\\me\\Local Settings\\Temp\\Del1F.exe\"\r\n"
            "if exist \"C:\\Documents and Settings\\me\\Local Settings\\Temp\\Del1F.exe\" goto Repeat\r\n"
            "del \"\\delus.bat\"\r\n");
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
  EXPECT_FALSE(Batch(path, kRoot, exact).empty());
  EXPECT_TRUE(Batch(path, kRoot, exact - 1).empty()) << "a cut path could name another file";
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

// The root batch comes first. A batch of another chain is never replaced;
// an unwritable root, a batch that will not start or a taken name is
// followed by the next temporary name; no batch that did not start stays.
TEST(DeletionBatchStart, FallsBackToTemporaryNamesAndLeavesOnlyTheBatchThatRuns) {
  using Files = std::map<std::string, std::string>;
  const std::string del7 = "C:\\Temp\\Del7.bat", del8 = "C:\\Temp\\Del8.bat";
  const Files other = {{kRoot, "another chain's batch"}};
  const Files two_others = {{kRoot, "another chain's batch"}, {del7, "a third chain's batch"}};
  const struct {
    const char* what;
    Files before;
    std::set<std::string> unwritable, unstartable;
    std::vector<std::string> started;
    Files after;
  } cases[] = {
      {"a free root", {}, {}, {}, {kRoot}, {{kRoot, Batch(kProgram)}}},
      {"another chain's root", other, {}, {}, {del7}, {{kRoot, other.at(kRoot)}, {del7, Batch(kProgram, del7)}}},
      {"an unwritable root", {}, {kRoot}, {}, {del7}, {{del7, Batch(kProgram, del7)}}},
      {"a root that will not start", {}, {}, {kRoot}, {del7}, {{del7, Batch(kProgram, del7)}}},
      {"a taken name", two_others, {}, {}, {del8}, {{kRoot, other.at(kRoot)}, {del7, two_others.at(del7)},
                                                    {del8, Batch(kProgram, del8)}}},
      {"nothing starts", {}, {}, {kRoot, del7, del8}, {}, {}},
  };
  for (const auto& c : cases) {
    FakeBatchSystem system;
    system.files = c.before;
    system.unwritable = c.unwritable;
    system.unstartable = c.unstartable;
    EXPECT_EQ(shell::StartDeletionBatch(system, kProgram.c_str()), !c.started.empty()) << c.what;
    EXPECT_EQ(system.started, c.started) << c.what;
    EXPECT_EQ(system.files, c.after) << c.what;
  }
}

}  // namespace

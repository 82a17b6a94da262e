#include <gtest/gtest.h>

#include <string>

#include "shell/deletion_batch.h"

namespace {

std::string Batch(const std::string& path, int capacity = shell::kDeletionBatchCapacity) {
  char out[shell::kDeletionBatchCapacity + 1] = {};
  const int length = shell::FormatDeletionBatch(out, capacity, path.c_str());
  EXPECT_EQ(static_cast<size_t>(length), length ? std::string(out).size() : 0);
  return length ? std::string(out, length) : std::string();
}

TEST(DeletionBatch, FourLinesThatRetryUntilTheProgramIsGoneThenDeleteThemselves) {
  EXPECT_EQ(Batch("C:\\Documents and Settings\\me\\Local Settings\\Temp\\Del1F.exe"),
            ":Repeat\r\n"
            "del \"C:\\Documents and Settings\\me\\Local Settings\\Temp\\Del1F.exe\"\r\n"
            "if exist \"C:\\Documents and Settings\\me\\Local Settings\\Temp\\Del1F.exe\" goto Repeat\r\n"
            "del \"\\delus.bat\"\r\n");
}

TEST(DeletionBatch, PercentInThePathIsNotExpandedIntoAnotherName) {
  EXPECT_EQ(Batch("C:\\Users\\50%off\\%TEMP%\\Del2.exe"),
            ":Repeat\r\n"
            "del \"C:\\Users\\50%%off\\%%TEMP%%\\Del2.exe\"\r\n"
            "if exist \"C:\\Users\\50%%off\\%%TEMP%%\\Del2.exe\" goto Repeat\r\n"
            "del \"\\delus.bat\"\r\n");
}

TEST(DeletionBatch, LongestPathFitsAndATextThatWouldBeCutIsRefused) {
  const std::string longest(259, '%');
  EXPECT_FALSE(Batch(longest).empty());
  const std::string path = "C:\\Temp\\Del3.exe";
  const int exact = static_cast<int>(Batch(path).size()) + 1;
  EXPECT_FALSE(Batch(path, exact).empty());
  EXPECT_TRUE(Batch(path, exact - 1).empty()) << "a cut path could name another file";
}

}  // namespace

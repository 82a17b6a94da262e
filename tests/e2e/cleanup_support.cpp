#include "cleanup_support.h"

#include "e2e_support.h"

namespace e2e {

::testing::AssertionResult CleanUpFinished(const std::string& folder, bool root_batch_too) {
  return Checked(window_driver::CleanUpFinished(folder, root_batch_too));
}

void ProgramTest::TearDown() {
  const ::testing::AssertionResult finished = CleanUpFinished();
  EXPECT_TRUE(finished);
  if (finished) return;
  for (const std::string& file : ChainFiles(TemporaryFolder(), true)) DeleteFileA(file.c_str());
}

void TemporaryFolderOverride::Point(const std::string& folder) {
  SetEnvironmentVariableA("TMP", folder.c_str());
  SetEnvironmentVariableA("TEMP", folder.c_str());
}

}  // namespace e2e

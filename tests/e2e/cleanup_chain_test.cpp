// The clean-up chain started directly: after the check form the program
// that ran it is deleted, and the clean-up form deletes the file it is
// given and then itself through the batch file.
#include <gtest/gtest.h>

#include <cstdio>

#include "cleanup_support.h"
#include "e2e_support.h"

namespace {

using e2e::Quoted;

class CleanupChain : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(e2e::CleanUpFinished()) << "temporary programs left by an earlier test";
    ASSERT_TRUE(CreateDirectoryA(blank_folder_.c_str(), nullptr));
  }
  std::string Program(const std::string& name) {
    const std::string path = blank_folder_ + "\\" + name;
    EXPECT_TRUE(CopyFileA(e2e::DecoderPath().c_str(), path.c_str(), FALSE));
    return path;
  }
  std::string Victim() {
    const std::string path = blank_folder_ + "\\victim file.txt";
    FILE* out = fopen(path.c_str(), "wb");
    EXPECT_NE(out, nullptr);
    if (out) fclose(out);
    return path;
  }

  e2e::TempFolder folder_;
  std::string blank_folder_ = folder_.File("folder with blanks");
  std::string temp_ = e2e::TemporaryFolder();
  std::string root_ = e2e::DriveRoot(folder_.path());
};

TEST_F(CleanupChain, CheckFormProgramIsDeletedAfterItEnds) {
  encoder::ArchiveWriter writer(e2e::DecoderBytes());
  writer.AddEntryHeader({});
  writer.AddDataBlock(encoder::Bytes(500, 0x41));
  const std::string archive = blank_folder_ + "\\checked archive.exe";
  ASSERT_TRUE(writer.WriteTo(archive));
  const std::string program = Program("decoder copy.exe");

  e2e::Process process(Quoted(program) + " " + Quoted(":::/" + archive), folder_.path());
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(process.id());
  ASSERT_NE(box.window, nullptr);
  EXPECT_TRUE(e2e::FileExists(program)) << "not before the check form has ended";
  e2e::ClickButton(box.window, IDOK);
  EXPECT_TRUE(process.WaitForExit(20000));
  EXPECT_TRUE(e2e::WaitForDeletion(program));
  EXPECT_GE(e2e::WaitForCleanUp(temp_, root_), 0);
  EXPECT_TRUE(e2e::FileExists(archive));
}

TEST_F(CleanupChain, HandleThatNamesNoProcessDeletesAtOnceThenItself) {
  // No number converts to 0; -1 and -2 would be this process and thread,
  // on which a wait never ends.
  for (const char* handle : {"not-a-number", "-1", "-2"}) {
    const std::string victim = Victim();
    const std::string program = Program(std::string("Del clean-up ") + handle + ".exe");
    e2e::Process process(Quoted(program) + " " + handle + " " + Quoted(":::" + victim), folder_.path());
    EXPECT_TRUE(e2e::WaitForDeletion(victim, 5000)) << handle << ": no wait before the deletion";
    DWORD exit_code = 1;
    EXPECT_TRUE(process.WaitForExit(20000, &exit_code)) << handle;
    EXPECT_EQ(exit_code, 0u);
    EXPECT_TRUE(e2e::WaitForDeletion(program)) << handle << ": the batch file deletes the program";
    EXPECT_TRUE(e2e::WaitForDeletion(root_ + "delus.bat")) << handle << ": and then itself";
  }
}

TEST_F(CleanupChain, WaitsForTheProcessBehindTheHandle) {
  // A decoder copy started with no arguments stands in for the process
  // that starts the clean-up copy: it holds its message box open and, in
  // that form, starts no clean-up chain of its own.
  const std::string victim = Victim();
  e2e::Process holder(Quoted(Program("holder.exe")), folder_.path());
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(holder.id());
  ASSERT_NE(box.window, nullptr);

  HANDLE handle = OpenProcess(SYNCHRONIZE, TRUE, holder.id());
  ASSERT_NE(handle, nullptr);
  const std::string program = Program("Del waiting.exe");
  char line[1024];
  snprintf(line, sizeof line, "\"%s\" %d \":::%s\"", program.c_str(),
           static_cast<int>(reinterpret_cast<intptr_t>(handle)), victim.c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessA(nullptr, line, nullptr, nullptr, TRUE, 0, nullptr, folder_.path().c_str(), &startup, &info));
  CloseHandle(handle);
  CloseHandle(info.hThread);

  Sleep(1500);
  EXPECT_TRUE(e2e::FileExists(victim)) << "nothing is deleted while the process runs";
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  e2e::ClickButton(box.window, IDOK);
  EXPECT_TRUE(e2e::WaitForDeletion(victim));
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 20000), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(info.hProcess);
  EXPECT_TRUE(e2e::WaitForDeletion(program));
  EXPECT_GE(e2e::WaitForCleanUp(temp_, root_), 0);
}

}  // namespace

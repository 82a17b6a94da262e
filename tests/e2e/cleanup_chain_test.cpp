// The clean-up chain: after the check or dialog form the program that ran
// it is deleted, and the clean-up form deletes the file it is given and
// then itself through a batch file, which deletes itself too. Chains that
// run at the same time, or a drive root that takes no batch file, leave
// nothing behind either.
#include "decoder_session.h"

namespace {

using e2e::Quoted;

class CleanupChain : public e2e::DecoderSession {
 protected:
  std::string Victim() {
    const std::string path = folder_.File("victim file.txt");
    EXPECT_TRUE(e2e::WriteBytes(path, {}));
    return path;
  }
  std::string Archive(const std::string& caption) {
    encoder::ArchiveWriter writer(e2e::DecoderBytes());
    writer.AddEntryHeader({.caption = caption});
    writer.AddDataBlock(encoder::Bytes(500, 0x41));
    const std::string path = folder_.File(caption + ".exe");
    EXPECT_TRUE(writer.WriteTo(path));
    return path;
  }
  // Starts the clean-up form of a decoder copy: it is to wait for the
  // process behind `handle` (inherited when asked), then delete the
  // victim. Gives the copy's path.
  std::string StartCleanupForm(const std::string& handle, const std::string& victim, bool inherit_handles = false) {
    const std::string program = e2e::FreshCopyOfDecoder(folder_);
    process_ = std::make_unique<e2e::Process>(Quoted(program) + " " + handle + " " + Quoted(":::" + victim),
                                              folder_.path(), 0, inherit_handles);
    return program;
  }
  // Runs the check form of a decoder copy on an archive and answers its
  // message box; the copy is deleted, only after it has ended.
  void RunCheckForm() {
    const std::string program = e2e::FreshCopyOfDecoder(folder_);
    process_ = std::make_unique<e2e::Process>(Quoted(program) + " " + Quoted(":::/" + Archive("checked archive")),
                                              folder_.path());
    e2e::MessageBoxContent box = NextMessage();
    EXPECT_TRUE(e2e::FileExists(program)) << "not before the check form has ended";
    Dismiss(box);
    ExpectExitZero();
    EXPECT_TRUE(e2e::WaitForDeletion(program));
  }
  std::string root_batch_ = e2e::DriveRoot(folder_.path()) + "delus.bat";
};

TEST_F(CleanupChain, HandleThatNamesNoProcessDeletesAtOnceThenItself) {
  // No number converts to 0; -1 and -2 would be this process and thread,
  // on which a wait never ends.
  for (const char* handle : {"not-a-number", "-1", "-2"}) {
    const std::string victim = Victim();
    const std::string program = StartCleanupForm(handle, victim);
    EXPECT_TRUE(e2e::WaitForDeletion(victim, 5000)) << handle << ": no wait before the deletion";
    ExpectExitZero();
    EXPECT_TRUE(e2e::WaitForDeletion(program)) << handle << ": the batch file deletes the program";
    EXPECT_TRUE(e2e::WaitForDeletion(root_batch_)) << handle << ": and then itself";
  }
}

TEST_F(CleanupChain, WaitsForTheProcessBehindTheHandle) {
  // A decoder copy started with no arguments stands in for the process
  // that starts the clean-up copy: it holds its message box open and, in
  // that form, starts no clean-up chain of its own.
  const std::string victim = Victim();
  e2e::Process holder(Quoted(e2e::FreshCopyOfDecoder(folder_)), folder_.path());
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(holder.id());
  ASSERT_NE(box.window, nullptr);

  HANDLE handle = OpenProcess(SYNCHRONIZE, TRUE, holder.id());
  ASSERT_NE(handle, nullptr);
  const std::string program = StartCleanupForm(std::to_string(reinterpret_cast<intptr_t>(handle)), victim, true);
  CloseHandle(handle);

  // Nothing may happen while the holder runs: watch for a while.
  EXPECT_FALSE(e2e::PollUntil([&] { return !e2e::FileExists(victim); }, 1500)) << "deleted while the process runs";
  EXPECT_FALSE(process_->WaitForExit(0));
  e2e::ClickButton(box.window, IDOK);
  EXPECT_TRUE(e2e::WaitForDeletion(victim));
  ExpectExitZero();
  EXPECT_TRUE(e2e::WaitForDeletion(program));
}

TEST_F(CleanupChain, ChainsThatOverlapLeaveNothingBehind) {
  // Two dialogs closed at the same moment: their clean-up chains run side
  // by side, each with a batch file of its own.
  const std::string first = Archive("first archive");
  const std::string second = Archive("second archive");
  for (int round = 1; round <= 3; ++round) {
    e2e::Process one(Quoted(e2e::FreshCopyOfDecoder(folder_)) + " " + Quoted(":::" + first), folder_.path());
    e2e::Process two(Quoted(e2e::FreshCopyOfDecoder(folder_)) + " " + Quoted(":::" + second), folder_.path());
    HWND dialog_one = e2e::WaitForDialog(one.id(), "first archive");
    HWND dialog_two = e2e::WaitForDialog(two.id(), "second archive");
    ASSERT_NE(dialog_one, nullptr);
    ASSERT_NE(dialog_two, nullptr);
    e2e::ClickButton(dialog_one, IDCANCEL);
    e2e::ClickButton(dialog_two, IDCANCEL);
    EXPECT_TRUE(one.WaitForExit(20000));
    EXPECT_TRUE(two.WaitForExit(20000));
    EXPECT_TRUE(e2e::CleanUpFinished()) << "round " << round;
  }
}

// The check form's program is deleted through the root's batch file or,
// when that cannot be made, through one in the temporary folder.
TEST_F(CleanupChain, RootBatchFileThatCannotBeMadeIsNeverReplacedAndNothingStays) {
  // Another chain's batch file stands there: it is left alone.
  const std::string text = "rem another chain's batch file\r\n";
  ASSERT_TRUE(e2e::WriteBytes(root_batch_, encoder::Bytes(text.begin(), text.end())));
  RunCheckForm();
  EXPECT_TRUE(e2e::CleanUpFinished(e2e::TemporaryFolder(), false));
  EXPECT_EQ(encoder::ReadWholeFile(root_batch_), encoder::Bytes(text.begin(), text.end()));
  ASSERT_TRUE(DeleteFileA(root_batch_.c_str()));

  // A folder stands there: the file cannot be made, as in a root that a
  // standard user may not write.
  ASSERT_TRUE(CreateDirectoryA(root_batch_.c_str(), nullptr));
  RunCheckForm();
  EXPECT_TRUE(e2e::CleanUpFinished(e2e::TemporaryFolder(), false));
  EXPECT_TRUE(GetFileAttributesA(root_batch_.c_str()) & FILE_ATTRIBUTE_DIRECTORY) << "the folder is left alone";
  ASSERT_TRUE(RemoveDirectoryA(root_batch_.c_str()));
}

}  // namespace

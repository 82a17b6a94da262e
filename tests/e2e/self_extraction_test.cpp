// The archive started as the user starts it, with no arguments: the stub
// copied out to a decoder copy in the temporary folder, the password
// dialog shown by that copy, and afterwards no temporary program and no
// batch file left behind.
#include "decoder_session.h"
#include "win32/resource_ids.h"

namespace {

using e2e::Expected;
using e2e::Quoted;
using encoder::Bytes;
using ui::TextId;

class SelfExtraction : public e2e::DecoderSession {
 protected:
  // Writes an archive with one entry; `edit` may change its bytes.
  void Write(int8_t suicide_mode = 2, void (*edit)(Bytes&, size_t stub_size) = nullptr) {
    const encoder::ArchiveWriter writer = test_support::ArchiveOf(
        e2e::DecoderBytes(), {test_support::MakeEntry("notes.txt", kContents, kCaption, 0, suicide_mode)}, kPassword);
    written_ = writer.bytes();
    if (edit) edit(written_, writer.stub_size());
    stub_ = Bytes(written_.begin(), written_.begin() + static_cast<long>(writer.stub_size()));
    WriteArchive(written_);
  }
  // Starts the archive with an empty command line and waits for the
  // decoder copy's dialog; checks that the copy holds exactly the stub.
  HWND StartArchive() {
    Start();
    return WaitForCopysDialog();
  }
  void Start() { process_ = std::make_unique<e2e::Process>(Quoted(archive_), folder_.path()); }
  HWND WaitForCopysDialog() {
    dialog_ = e2e::WaitForDialog(0, kCaption, 30000);
    if (!dialog_) return nullptr;
    copy_id_ = e2e::ProcessOf(dialog_);
    EXPECT_TRUE(process_->WaitForExit(20000)) << "the archive's process ends after the start";
    const std::vector<std::string> copies = e2e::TemporaryPrograms(temp_);
    EXPECT_EQ(copies.size(), 1u);
    if (copies.size() == 1) {
      EXPECT_EQ(copies[0].substr(temp_.size() + 1, 3), "DEC");
      EXPECT_TRUE(encoder::ReadWholeFile(copies[0]) == stub_) << "the decoder copy holds exactly the stub";
    }
    return dialog_;
  }
  // After the dialog has been told to close: it goes, and within a
  // deadline so do the decoder copy, the clean-up copy and the batch file.
  void ExpectCleanUp() {
    ASSERT_TRUE(e2e::WaitForWindowGone(dialog_));
    EXPECT_TRUE(e2e::CleanUpFinished(temp_));
    EXPECT_TRUE(e2e::WaitForProcessEnd(copy_id_));
  }
  void ExpectArchiveUntouched() { EXPECT_TRUE(encoder::ReadWholeFile(archive_) == written_); }

  const Bytes kContents = encoder::TextLikeBytes(3000);
  std::string temp_ = e2e::TemporaryFolder();
  Bytes stub_, written_;
  DWORD copy_id_ = 0;
};

TEST_F(SelfExtraction, DecodeThroughTheCopyWithSuicideThenNeitherArchiveNorTemporaryFilesAreLeft) {
  Write(0);
  ASSERT_NE(StartArchive(), nullptr);
  ASSERT_TRUE(e2e::IsChecked(dialog_, IDC_SUICIDE));
  TypeAndOk();
  const std::string target = folder_.File("notes.txt");
  ASSERT_TRUE(e2e::AnswerSaveAs(copy_id_, kCaption, dialog_, target));
  ExpectCleanUp();
  EXPECT_TRUE(encoder::ReadWholeFile(target) == kContents);
  EXPECT_FALSE(e2e::FileExists(archive_));
}

TEST_F(SelfExtraction, WrongPasswordThenCancelCleansUpAndLeavesTheArchive) {
  Write(0);
  ASSERT_NE(StartArchive(), nullptr);
  TypeAndOk("not the password");
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(copy_id_);
  EXPECT_EQ(box.text, Expected(TextId::kWrongPassword));
  Dismiss(box);
  ASSERT_TRUE(e2e::WaitForTitle(dialog_, kCaption));
  e2e::ClickButton(dialog_, IDCANCEL);
  ExpectCleanUp();
  ExpectArchiveUntouched();
}

TEST_F(SelfExtraction, ChangedStubWarnsOnceAndTheDialogStillComes) {
  Write(2, [](Bytes& bytes, size_t stub_size) { bytes[stub_size / 2] ^= 0x20; });
  Start();
  e2e::MessageBoxContent warning = e2e::WaitForMessageBox(process_->id());
  EXPECT_EQ(warning.title, Expected(TextId::kWarningTitle));
  EXPECT_EQ(warning.text, Expected(TextId::kTamperWarning));
  EXPECT_TRUE(warning.has_icon);
  ASSERT_NE(warning.window, nullptr);
  EXPECT_EQ(GetWindow(warning.window, GW_OWNER), nullptr);
  Dismiss(warning);
  // A second warning would hold the archive's process, which must end
  // before the dialog counts as shown.
  ASSERT_NE(WaitForCopysDialog(), nullptr);
  e2e::ClickButton(dialog_, IDCANCEL);
  ExpectCleanUp();
}

TEST_F(SelfExtraction, FileWithoutCheckBlockCannotTakeOutData) {
  // The decoder itself, started with no arguments, carries no check block.
  const std::string program = StartDecoder("");
  e2e::MessageBoxContent box = NextMessage();
  EXPECT_EQ(box.title, "");
  EXPECT_EQ(box.text, Expected(TextId::kTakeOutFailed));
  EXPECT_TRUE(box.has_icon);
  EXPECT_TRUE(e2e::TemporaryPrograms(temp_).empty()) << "the copy is deleted before the message";
  Dismiss(box);
  ExpectExitZero();
  EXPECT_TRUE(e2e::FileExists(program)) << "the extraction form deletes nothing of its own";
}

TEST_F(SelfExtraction, BlanksInTheArchivePathAndTheTemporaryFolder) {
  const std::string blank_folder = folder_.File("with blanks");
  ASSERT_TRUE(CreateDirectoryA(blank_folder.c_str(), nullptr));
  archive_ = blank_folder + "\\my archive.exe";
  const std::string blank_temp = folder_.File("temp with blanks");
  ASSERT_TRUE(CreateDirectoryA(blank_temp.c_str(), nullptr));
  Write();
  {
    e2e::TemporaryFolderOverride override(blank_temp);
    temp_ = e2e::TemporaryFolder();
    ASSERT_EQ(temp_, blank_temp);
    Start();
  }
  ASSERT_NE(WaitForCopysDialog(), nullptr);
  e2e::ClickButton(dialog_, IDCANCEL);
  ExpectCleanUp();
  ExpectArchiveUntouched();
}

}  // namespace

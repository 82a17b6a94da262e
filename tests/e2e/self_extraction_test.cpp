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
  // Starts the archive with an empty command line.
  void Start() { process_ = std::make_unique<e2e::Process>(Quoted(archive_), folder_.path()); }
  // Waits for the decoder copy's dialog; checks that the archive's
  // process has ended and that the copy holds exactly the stub.
  HWND WaitForCopysDialog() {
    dialog_ = e2e::WaitForDialog(0, kCaption, 30000);
    if (!dialog_) return nullptr;
    EXPECT_TRUE(process_->WaitForExit(20000)) << "the archive's process ends after the start";
    const std::vector<std::string> copies = e2e::TemporaryPrograms(temp_);
    EXPECT_EQ(copies.size(), 1u);
    if (copies.size() == 1) {
      EXPECT_EQ(copies[0].substr(temp_.size() + 1, 3), "DEC");
      EXPECT_TRUE(encoder::ReadWholeFile(copies[0]) == stub_) << "the decoder copy holds exactly the stub";
    }
    return dialog_;
  }
  // After the dialog has been told to close: it goes, and so do the
  // decoder copy, the clean-up copy and the batch file.
  // (The clean-up copy deletes the decoder copy only once it has ended.)
  void ExpectCleanUp() {
    ASSERT_TRUE(e2e::WaitForWindowGone(dialog_));
    EXPECT_TRUE(e2e::CleanUpFinished(temp_));
  }

  const Bytes kContents = test_support::TextLikeBytes(3000);
  std::string temp_ = e2e::TemporaryFolder();
  Bytes stub_, written_;
};

// Suicide set by the archive deletes it after the run that succeeds, not
// after the one that failed.
TEST_F(SelfExtraction, DecodeThroughTheCopyWithSuicideThenNeitherArchiveNorTemporaryFilesAreLeft) {
  Write(0);
  Start();
  ASSERT_NE(WaitForCopysDialog(), nullptr);
  TypeAndOk("not the password");
  ExpectWrongPassword();
  EXPECT_TRUE(e2e::FileExists(archive_));
  EXPECT_TRUE(e2e::IsChecked(dialog_, IDC_SUICIDE));
  EXPECT_FALSE(e2e::IsEnabled(dialog_, IDC_SUICIDE)) << "mode 0 stays disabled after a failed run";
  TypeAndOk();
  const std::string target = folder_.File("notes.txt");
  ASSERT_TRUE(SaveAs(target));
  ExpectCleanUp();
  EXPECT_TRUE(encoder::ReadWholeFile(target) == kContents);
  EXPECT_FALSE(e2e::FileExists(archive_));
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

// A changed stub only warns, once: a second warning would hold the
// archive's process, which must end before the dialog counts as shown.
// Suicide checked, the dialog cancelled: the archive stays.
TEST_F(SelfExtraction, ChangedStubWarnsOnceAndBlanksInTheArchivePathAndTemporaryFolderHold) {
  const std::string blank_folder = folder_.File("with blanks");
  ASSERT_TRUE(CreateDirectoryA(blank_folder.c_str(), nullptr));
  archive_ = blank_folder + "\\my archive.exe";
  const std::string blank_temp = folder_.File("temp with blanks");
  ASSERT_TRUE(CreateDirectoryA(blank_temp.c_str(), nullptr));
  Write(0, [](Bytes& bytes, size_t stub_size) { bytes[stub_size / 2] ^= 0x20; });
  {
    e2e::TemporaryFolderOverride override(blank_temp);
    temp_ = e2e::TemporaryFolder();
    ASSERT_EQ(temp_, blank_temp);
    Start();
  }
  e2e::MessageBoxContent warning = NextMessage();
  EXPECT_EQ(warning.title, Expected(TextId::kWarningTitle));
  EXPECT_EQ(warning.text, Expected(TextId::kTamperWarning));
  EXPECT_TRUE(warning.has_icon);
  ASSERT_NE(warning.window, nullptr);
  EXPECT_EQ(GetWindow(warning.window, GW_OWNER), nullptr);
  Dismiss(warning);
  ASSERT_NE(WaitForCopysDialog(), nullptr);
  e2e::ClickButton(dialog_, IDCANCEL);
  ExpectCleanUp();
  EXPECT_TRUE(encoder::ReadWholeFile(archive_) == written_);
}

}  // namespace

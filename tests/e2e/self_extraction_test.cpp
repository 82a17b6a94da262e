// The archive started as the user starts it, with no arguments: the stub
// copied out to a decoder copy in the temporary folder, the password
// dialog shown by that copy, and afterwards no temporary program and no
// batch file left behind.
#include <gtest/gtest.h>
#include <cstdio>

#include "base/bounded_text.h"
#include "cleanup_support.h"
#include "dialog_answers.h"
#include "e2e_support.h"
#include "encoder/entry_encoder.h"
#include "win32/resource_ids.h"

namespace {

using e2e::Expected;
using e2e::Quoted;
using encoder::Bytes;
using ui::TextId;

const std::string kPassword = "open sesame";
const std::string kCaption = "Self-extraction test";

encoder::Entry Entry(int8_t suicide_mode) {
  encoder::Entry entry;
  entry.header.caption = kCaption;
  entry.header.suicide_mode = suicide_mode;
  base::CopyText(entry.record.output_name, archive::kOutputNameCapacity, "notes.txt");
  entry.record.attributes = FILE_ATTRIBUTE_ARCHIVE;
  for (int i = 0; i < 3000; ++i) entry.contents.push_back(static_cast<unsigned char>("notes "[i % 6]));
  return entry;
}

class SelfExtraction : public e2e::ProgramTest {
 protected:
  // Writes an archive with one entry; `edit` may change its bytes.
  void WriteArchive(int8_t suicide_mode = 2, void (*edit)(Bytes&, size_t stub_size) = nullptr) {
    encoder::ArchiveWriter writer(e2e::DecoderBytes());
    ASSERT_EQ(encoder::AddEntry(writer, Entry(suicide_mode), kPassword, {}), encoder::EncodeError::kNone);
    Bytes bytes = writer.bytes();
    if (edit) edit(bytes, writer.stub_size());
    stub_ = Bytes(bytes.begin(), bytes.begin() + writer.stub_size());
    written_ = bytes;
    FILE* out = fopen(archive_.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), out);
    fclose(out);
  }
  // Starts the archive with an empty command line.
  void StartArchive() { archive_process_ = std::make_unique<e2e::Process>(Quoted(archive_), folder_.path()); }
  // The decoder copy's dialog; checks that the copy is the stub.
  HWND WaitForPasswordDialog() {
    dialog_ = e2e::WaitForDialog(0, kCaption, 30000);
    if (!dialog_) return nullptr;
    copy_id_ = e2e::ProcessOf(dialog_);
    EXPECT_TRUE(archive_process_->WaitForExit(20000)) << "the archive's process ends after the start";
    const std::vector<std::string> copies = e2e::TemporaryPrograms(temp_);
    EXPECT_EQ(copies.size(), 1u);
    if (copies.size() == 1) {
      EXPECT_EQ(copies[0].substr(temp_.size() + 1, 3), "DEC");
      EXPECT_TRUE(encoder::ReadWholeFile(copies[0]) == stub_) << "the decoder copy holds exactly the stub";
    }
    return dialog_;
  }
  void TypeAndOk(const std::string& password) {
    SetDlgItemTextA(dialog_, IDC_PASSWORD_EDIT, password.c_str());
    e2e::ClickButton(dialog_, IDOK);
  }
  // After the dialog has been told to close: it goes, and within a
  // deadline so do the decoder copy, the clean-up copy and the batch file.
  void ExpectCleanUp() {
    ASSERT_TRUE(e2e::WaitForWindowGone(dialog_));
    const DWORD start = GetTickCount();
    const std::vector<std::string> left = e2e::WaitForCleanUp(temp_, root_);
    EXPECT_TRUE(left.empty()) << "still there: " << left[0];
    const int milliseconds = static_cast<int>(GetTickCount() - start);
    RecordProperty("cleanup_ms", milliseconds);
    printf("clean-up after the dialog closed: %d ms\n", milliseconds);
    EXPECT_TRUE(e2e::WaitForProcessEnd(copy_id_));
  }
  void ExpectArchiveUntouched() { EXPECT_TRUE(encoder::ReadWholeFile(archive_) == written_); }

  e2e::TempFolder folder_;
  std::string archive_ = folder_.File("archive.exe");
  std::string temp_ = e2e::TemporaryFolder();
  std::string root_ = e2e::DriveRoot(folder_.path());
  Bytes stub_, written_;
  std::unique_ptr<e2e::Process> archive_process_;
  HWND dialog_ = nullptr;
  DWORD copy_id_ = 0;
};

TEST_F(SelfExtraction, DecodeThroughTheCopyThenNothingTemporaryIsLeft) {
  WriteArchive();
  StartArchive();
  ASSERT_NE(WaitForPasswordDialog(), nullptr);
  TypeAndOk(kPassword);
  const std::string target = folder_.File("notes.txt");
  ASSERT_TRUE(e2e::AnswerSaveAs(copy_id_, kCaption, dialog_, target));
  ExpectCleanUp();
  EXPECT_TRUE(encoder::ReadWholeFile(target) == Entry(2).contents);
  ExpectArchiveUntouched();
}

TEST_F(SelfExtraction, SuccessfulDecodeWithSuicideDeletesTheArchiveToo) {
  WriteArchive(0);
  StartArchive();
  ASSERT_NE(WaitForPasswordDialog(), nullptr);
  ASSERT_TRUE(e2e::IsChecked(dialog_, IDC_SUICIDE));
  TypeAndOk(kPassword);
  ASSERT_TRUE(e2e::AnswerSaveAs(copy_id_, kCaption, dialog_, folder_.File("notes.txt")));
  ExpectCleanUp();
  EXPECT_FALSE(e2e::FileExists(archive_));
}

TEST_F(SelfExtraction, CancelAtTheDialogCleansUp) {
  WriteArchive();
  StartArchive();
  ASSERT_NE(WaitForPasswordDialog(), nullptr);
  e2e::ClickButton(dialog_, IDCANCEL);
  ExpectCleanUp();
  ExpectArchiveUntouched();
}

TEST_F(SelfExtraction, WrongPasswordThenCancelCleansUp) {
  WriteArchive(0);
  StartArchive();
  ASSERT_NE(WaitForPasswordDialog(), nullptr);
  TypeAndOk("not the password");
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(copy_id_);
  EXPECT_EQ(box.text, Expected(TextId::kWrongPassword));
  e2e::ClickButton(box.window, IDOK);
  ASSERT_TRUE(e2e::WaitForTitle(dialog_, kCaption));
  e2e::ClickButton(dialog_, IDCANCEL);
  ExpectCleanUp();
  ExpectArchiveUntouched();
}

TEST_F(SelfExtraction, ChangedStubWarnsOnceAndTheDialogStillComes) {
  WriteArchive(2, [](Bytes& bytes, size_t stub_size) { bytes[stub_size / 2] ^= 0x20; });
  StartArchive();
  e2e::MessageBoxContent warning = e2e::WaitForMessageBox(archive_process_->id());
  EXPECT_EQ(warning.title, Expected(TextId::kWarningTitle));
  EXPECT_EQ(warning.text, Expected(TextId::kTamperWarning));
  EXPECT_TRUE(warning.has_icon);
  ASSERT_NE(warning.window, nullptr);
  EXPECT_EQ(GetWindow(warning.window, GW_OWNER), nullptr);
  e2e::ClickButton(warning.window, IDOK);

  // A second warning would hold the archive's process, which must end
  // before the dialog counts as shown.
  ASSERT_NE(WaitForPasswordDialog(), nullptr);
  e2e::ClickButton(dialog_, IDCANCEL);
  ExpectCleanUp();
}

TEST_F(SelfExtraction, FileWithoutCheckBlockCannotTakeOutData) {
  // The decoder itself, started with no arguments, carries no check block.
  const std::string program = e2e::FreshCopyOfDecoder(folder_);
  e2e::Process process(Quoted(program), folder_.path());
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(process.id());
  EXPECT_EQ(box.title, "");
  EXPECT_EQ(box.text, Expected(TextId::kTakeOutFailed));
  EXPECT_TRUE(box.has_icon);
  EXPECT_TRUE(e2e::TemporaryPrograms(temp_).empty()) << "the copy is deleted before the message";
  e2e::ClickButton(box.window, IDOK);
  EXPECT_TRUE(process.WaitForExit(20000));
  EXPECT_TRUE(e2e::FileExists(program)) << "the extraction form deletes nothing of its own";
}

TEST_F(SelfExtraction, BlanksInTheArchivePathAndTheTemporaryFolder) {
  const std::string blank_folder = folder_.File("with blanks");
  ASSERT_TRUE(CreateDirectoryA(blank_folder.c_str(), nullptr));
  archive_ = blank_folder + "\\my archive.exe";
  const std::string blank_temp = folder_.File("temp with blanks");
  ASSERT_TRUE(CreateDirectoryA(blank_temp.c_str(), nullptr));
  WriteArchive();
  {
    e2e::TemporaryFolderOverride override(blank_temp);
    temp_ = e2e::TemporaryFolder();
    ASSERT_EQ(temp_, blank_temp);
    StartArchive();
  }
  ASSERT_NE(WaitForPasswordDialog(), nullptr);
  e2e::ClickButton(dialog_, IDCANCEL);
  ExpectCleanUp();
  ExpectArchiveUntouched();
}

}  // namespace

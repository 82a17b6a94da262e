#include "decoder_session.h"

#include <gtest/gtest.h>

#include "win32/resource_ids.h"
#include "win32/settings_key.h"

namespace e2e {
namespace {

// The vendor's key goes whole, with the program's key below it.
void ClearSettings() {
  const std::string settings = SettingsKey();
  RegDeleteTreeA(HKEY_CURRENT_USER, settings.substr(0, settings.rfind('\\')).c_str());
}

}  // namespace

std::string SettingsKey() { return std::string(win32::kSoftwareKey) + "\\" + win32::kSettingsBelowSoftware; }

void DecoderSession::SetUp() { ClearSettings(); }

void DecoderSession::TearDown() {
  ClearSettings();
  ProgramTest::TearDown();
}

void DecoderSession::WriteArchive(const std::vector<encoder::Entry>& entries, const encoder::EntryOptions& options) {
  WriteArchive(test_support::ArchiveOf(DecoderBytes(), entries, kPassword, options));
}

void DecoderSession::WriteArchive(const encoder::ArchiveWriter& writer) { WriteArchive(writer.bytes()); }

void DecoderSession::WriteArchive(const encoder::Bytes& bytes) { ASSERT_TRUE(WriteBytes(archive_, bytes)) << archive_; }

std::string DecoderSession::StartDecoder(const std::string& arguments, const std::string& folder) {
  const std::string program = e2e::FreshCopyOfDecoder(folder_);
  dialog_ = nullptr;
  process_ = std::make_unique<Process>(Quoted(program) + " " + arguments, folder.empty() ? folder_.path() : folder);
  return program;
}

HWND DecoderSession::OpenDialog(const std::string& folder, const std::string& caption) {
  StartDecoder(Quoted(":::" + archive_), folder);
  dialog_ = WaitForDialog(process_->id(), caption);
  return dialog_;
}

void DecoderSession::TypeAndOk(const std::string& password) {
  SetDlgItemTextA(dialog_, IDC_PASSWORD_EDIT, password.c_str());
  ClickButton(dialog_, IDOK);
}

void DecoderSession::Dismiss(const MessageBoxContent& box) {
  ASSERT_NE(box.window, nullptr);
  ClickButton(box.window, IDOK);
  EXPECT_TRUE(WaitForWindowGone(box.window)) << "the message box stays";
}

void DecoderSession::ExpectExitZero() {
  DWORD exit_code = 1;
  EXPECT_TRUE(process_->WaitForExit(20000, &exit_code)) << "the program ends";
  EXPECT_EQ(exit_code, 0u);
}

void DecoderSession::ExpectBackAtInput(const std::string& caption) {
  // The dialog restores its controls one by one: wait for all of them.
  auto title = [&] { return WindowText(dialog_) == caption; };
  auto buttons = [&] { return IsShown(dialog_, IDOK) && IsShown(dialog_, IDCANCEL); };
  auto edit = [&] { return IsEnabled(dialog_, IDC_PASSWORD_EDIT); };
  auto prompt = [&] { return ControlText(dialog_, IDC_PROMPT) == Expected(ui::TextId::kPasswordPrompt); };
  PollUntil([&] { return title() && buttons() && edit() && prompt(); }, 20000);
  EXPECT_TRUE(title()) << WindowText(dialog_);
  EXPECT_TRUE(buttons());
  EXPECT_TRUE(edit());
  EXPECT_TRUE(prompt()) << ControlText(dialog_, IDC_PROMPT);
}

void DecoderSession::ExpectWrongPassword(const std::string& screenshot) {
  MessageBoxContent box = NextMessage();
  EXPECT_EQ(box.title, kCaption);
  EXPECT_EQ(box.text, Expected(ui::TextId::kWrongPassword));
  EXPECT_TRUE(box.has_icon);
  if (!screenshot.empty()) Screenshot(dialog_, screenshot);
  Dismiss(box);
  ExpectBackAtInput();
}

::testing::AssertionResult DecoderSession::SaveAs(const std::string& path) {
  return AnswerSaveAs(ProcessOf(dialog_), kCaption, dialog_, path);
}

::testing::AssertionResult DecoderSession::ChooseFolder(const std::string& folder) {
  return AnswerFolderBrowser(ProcessOf(dialog_), folder);
}

}  // namespace e2e

// The fixture of every end-to-end test that runs the program: an archive
// written into a fresh folder, a copy of decoder.exe started on it in one
// of its forms, the password dialog found and driven, the program's
// registry key cleared before and after, and, after the test, the wait
// for the clean-up chains it started.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cleanup_support.h"
#include "e2e_support.h"
#include "tests/support/entries.h"

namespace e2e {

// The program's settings key, below HKEY_CURRENT_USER.
std::string SettingsKey();

class DecoderSession : public ProgramTest {
 public:
  static constexpr char kPassword[] = "pass word 42";
  static constexpr char kCaption[] = "Test archive";

 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes archive_: the entries encoded with kPassword, or what a writer
  // holds (for archives the encoder would not make).
  void WriteArchive(const std::vector<encoder::Entry>& entries, const encoder::EntryOptions& options = {});
  void WriteArchive(const encoder::ArchiveWriter& writer);
  void WriteArchive(const encoder::Bytes& bytes);

  // Starts a fresh copy of decoder.exe with the arguments (written as they
  // stand) in the folder (folder_ when empty), with no dialog yet; gives
  // the copy's path.
  std::string StartDecoder(const std::string& arguments, const std::string& folder = "");
  // The dialog form on archive_; waits for the password dialog.
  HWND OpenDialog(const std::string& folder = "", const std::string& caption = kCaption);
  void TypeAndOk(const std::string& password = kPassword);
  // The message box the program shows next (the dialog's process, once
  // there is a dialog); null window when none came.
  MessageBoxContent NextMessage() { return WaitForMessageBox(dialog_ ? ProcessOf(dialog_) : process_->id()); }
  // Clicks OK on a message box and checks that it went.
  void Dismiss(const MessageBoxContent& box);
  // Waits for the program to end with exit code 0.
  void ExpectExitZero();
  // The dialog is back at input: title, prompt and controls restored.
  void ExpectBackAtInput(const std::string& caption = kCaption);
  // The wrong-password message, saved with the dialog as `screenshot`
  // when asked; then back at input.
  void ExpectWrongPassword(const std::string& screenshot = "");
  // Answers the Save-As dialog and the folder browser of a decode (an
  // empty path or folder cancels).
  ::testing::AssertionResult SaveAs(const std::string& path);
  ::testing::AssertionResult ChooseFolder(const std::string& folder);

  TempFolder folder_;
  std::string archive_ = folder_.File("test archive.exe");
  std::unique_ptr<Process> process_;
  HWND dialog_ = nullptr;
};

}  // namespace e2e

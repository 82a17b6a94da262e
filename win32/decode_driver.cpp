#include "win32/decode_driver.h"

#include <commdlg.h>
#include <cstdlib>

#include "base/paths.h"
#include "decode/decode_walk.h"
#include "decode/disk_output.h"
#include "decode/failure_messages.h"
#include "win32/busy_messages.h"
#include "win32/encoder_info_dialog.h"
#include "win32/folder_browser.h"
#include "win32/language.h"
#include "win32/resource_ids.h"
#include "win32/saved_password.h"
#include "win32/shell_start.h"

namespace win32 {
namespace {

class DialogSink : public decode::DecodeSink {
 public:
  DialogSink(HWND dialog, const archive::SharedState& state, HCURSOR wait, HCURSOR previous)
      : dialog_(dialog), state_(state), wait_cursor_(wait), previous_cursor_(previous) {}

  void OnOutputName(const archive::FileRecord& record) override {
    SetDlgItemTextA(dialog_, IDC_PROMPT, record.output_name);
  }

  void ShowEncoderInformation(const archive::FileRecord& record) override {
    ShowEncoderInformationDialog(dialog_, record);
  }

  decode::Choice ChooseFolder(char* folder) override {
    GetCurrentDirectoryA(base::kPathCapacity, folder);
    return BrowseForFolder(dialog_, state_.caption, folder) ? decode::Choice::kChosen : decode::Choice::kCancelled;
  }

  decode::Choice ChooseSavePath(char* path) override {
    SetCursor(previous_cursor_);
    OPENFILENAMEA save{};
    save.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    save.hwndOwner = dialog_;
    save.lpstrFilter = "All files (*.*)\0*.*\0";
    save.nFilterIndex = 0;
    save.lpstrFile = path;
    save.nMaxFile = base::kPathCapacity;
    save.lpstrTitle = state_.caption;
    save.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES;
    if (!GetSaveFileNameA(&save)) return decode::Choice::kCancelled;
    UpdateWindow(dialog_);
    SetCursor(wait_cursor_);
    return decode::Choice::kChosen;
  }

  bool CreateOutput(const char* path) override { return output_.Create(path); }
  uint32_t WriteOutput(const unsigned char* bytes, uint32_t count) override { return output_.Write(bytes, count); }
  void FinishOutput(const char* path, const archive::FileRecord& record) override { output_.Finish(path, record); }
  void AbandonOutput() override { output_.Abandon(); }

  void OnProgress(int percent) override {
    char title[64];
    wsprintfA(title, ui::Text(ui::TextId::kDecodingProgress, ui::Language::kEnglish), percent);
    SetWindowTextA(dialog_, title);
  }

  void BetweenBlocks() override { beat_.BetweenSteps(); }

  void OnEntryComplete(const archive::SharedState& state, const char* path) override {
    if (state.password_saving) RememberPassword();
    if (state.open_after_decode) StartThroughShell(path, nullptr);
  }

  void OnFailure(decode::DecodeFailure failure, const archive::SharedState& state) override {
    ui::Language language = CurrentLanguage();
    MessageBoxA(dialog_, decode::FailureText(failure, language), decode::FailureTitle(failure, state, language),
                MB_OK | MB_ICONERROR);
  }

  void OnRunEnd(bool success) override {
    if (success && IsDlgButtonChecked(dialog_, IDC_SUICIDE)) DeleteFileA(state_.archive_path);
  }

 private:
  void RememberPassword() {
    if (!IsDlgButtonChecked(dialog_, IDC_SAVE_PASSWORD)) {
      DeleteSavedPassword();
      return;
    }
    static char text[kSavedPasswordMax + 1];
    int length = GetDlgItemTextA(dialog_, IDC_PASSWORD_EDIT, text, kSavedPasswordMax);
    StoreSavedPassword(text, length);
  }

  HWND dialog_;
  const archive::SharedState& state_;
  HCURSOR wait_cursor_;
  HCURSOR previous_cursor_;
  decode::DiskOutput output_;
  MessageBeat beat_;
};

}  // namespace

int DecodeArchive(HWND dialog, archive::SharedState& state) {
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  HCURSOR previous = SetCursor(wait);
  HWND edit = GetDlgItem(dialog, IDC_PASSWORD_EDIT);
  const int capacity = GetWindowTextLengthA(edit) + 64;
  char* password = static_cast<char*>(malloc(static_cast<size_t>(capacity)));
  int result = 0;
  {
    DialogSink sink(dialog, state, wait, previous);
    if (password) {
      int length = GetWindowTextA(edit, password, capacity);
      result = decode::DecodeWalk(state, password, static_cast<uint32_t>(length), sink);
    } else {
      sink.OnFailure(decode::DecodeFailure::kNoKey, state);
    }
  }
  SetCursor(previous);
  free(password);
  return result;
}

}  // namespace win32

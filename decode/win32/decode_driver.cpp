#include "decode/win32/decode_driver.h"

#include <shlobj.h>

#include <cstdlib>

#include "decode/decode_walk.h"
#include "decode/disk_output.h"
#include "shell/win32/shell_start.h"
#include "ui/decode_messages.h"
#include "ui/resource_ids.h"
#include "ui/win32/encoder_info_dialog.h"
#include "ui/win32/language.h"
#include "ui/win32/saved_password.h"

namespace decode {
namespace {

class DialogSink : public DecodeSink {
 public:
  DialogSink(HWND dialog, const archive::SharedState& state, HCURSOR wait, HCURSOR previous)
      : dialog_(dialog), state_(state), wait_cursor_(wait), previous_cursor_(previous) {}

  void OnOutputName(const archive::FileRecord& record) override {
    SetDlgItemTextA(dialog_, IDC_PROMPT, record.output_name);
  }

  void ShowEncoderInformation(const archive::FileRecord& record) override {
    ui::ShowEncoderInformationDialog(dialog_, record);
  }

  Choice ChooseFolder(char* folder) override {
    GetCurrentDirectoryA(archive::kPathCapacity, folder);
    BROWSEINFOA browse{};
    browse.hwndOwner = dialog_;
    browse.pidlRoot = nullptr;
    browse.pszDisplayName = folder;
    browse.lpszTitle = state_.caption;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = BrowseFolderCallback;
    browse.lParam = reinterpret_cast<LPARAM>(folder);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (!chosen) return Choice::kCancelled;
    if (!SHGetPathFromIDListA(chosen, folder)) folder[0] = '\0';
    CoTaskMemFree(chosen);
    return Choice::kChosen;
  }

  Choice ChooseSavePath(char* path) override {
    SetCursor(previous_cursor_);
    OPENFILENAMEA save{};
    save.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    save.hwndOwner = dialog_;
    save.lpstrFilter = "All files (*.*)\0*.*\0";
    save.nFilterIndex = 0;
    save.lpstrFile = path;
    save.nMaxFile = archive::kPathCapacity;
    save.lpstrTitle = state_.caption;
    save.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES;
    if (!GetSaveFileNameA(&save)) return Choice::kCancelled;
    UpdateWindow(dialog_);
    SetCursor(wait_cursor_);
    return Choice::kChosen;
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

  void OnEntryComplete(const archive::SharedState& state, const char* path) override {
    if (state.password_saving) RememberPassword();
    if (state.open_after_decode) shell::StartThroughShell(path, nullptr);
  }

  void OnFailure(DecodeFailure failure, const archive::SharedState& state) override {
    ui::Language language = ui::CurrentLanguage();
    MessageBoxA(dialog_, ui::DecodeFailureText(failure, language), ui::DecodeFailureTitle(failure, state, language),
                MB_OK | MB_ICONERROR);
  }

  void OnRunEnd(bool success) override {
    if (success && IsDlgButtonChecked(dialog_, IDC_SUICIDE)) DeleteFileA(state_.archive_path);
  }

 private:
  void RememberPassword() {
    if (!IsDlgButtonChecked(dialog_, IDC_SAVE_PASSWORD)) {
      ui::DeleteSavedPassword();
      return;
    }
    static char text[ui::kSavedPasswordMax + 1];
    int length = GetDlgItemTextA(dialog_, IDC_PASSWORD_EDIT, text, ui::kSavedPasswordMax);
    ui::StoreSavedPassword(text, length);
  }

  HWND dialog_;
  const archive::SharedState& state_;
  HCURSOR wait_cursor_;
  HCURSOR previous_cursor_;
  DiskOutput output_;
};

}  // namespace

int CALLBACK BrowseFolderCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message != BFFM_INITIALIZED) return 0;
  SendMessageA(browser, BFFM_SETSELECTIONA, 1, data);
  return 1;
}

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
      result = DecodeWalk(state, password, static_cast<uint32_t>(length), sink);
    } else {
      sink.OnFailure(DecodeFailure::kNoKey, state);
    }
  }
  SetCursor(previous);
  free(password);
  return result;
}

}  // namespace decode

#include "win32/password_dialog.h"

#include <shellapi.h>

#include "archive/check_walk.h"
#include "archive/entry_header.h"
#include "archive/locate_scan.h"
#include "base/paths.h"
#include "platform/input_file.h"
#include "win32/busy_messages.h"
#include "win32/check_reporter.h"
#include "win32/decode_driver.h"
#include "win32/language.h"
#include "win32/resource_ids.h"
#include "win32/saved_password.h"

namespace win32 {
namespace {

archive::SharedState* g_state;

// What OK saves to put back when the dialog returns to input, and whether
// the work it started still runs.
struct SavedInput {
  char title[base::kPathCapacity];
  char prompt[base::kPathCapacity];
  bool save_box_was_disabled;
  bool suicide_box_was_disabled;
  bool working;
} g_saved;

// The archive is normally open at once (the locate scan just read it);
// another program may hold it briefly, so a few tries over about 5 s.
constexpr int kOpenAttempts = 50;

void MoveControl(HWND dialog, int id, POINT top_left) {
  HWND control = GetDlgItem(dialog, id);
  RECT rect;
  GetWindowRect(control, &rect);
  MoveWindow(control, top_left.x, top_left.y, rect.right - rect.left, rect.bottom - rect.top, FALSE);
}

POINT ClientTopLeft(HWND dialog, int id) {
  RECT rect;
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  POINT p{rect.left, rect.top};
  ScreenToClient(dialog, &p);
  return p;
}

// Without password saving: the Suicide box takes the Save Password box's
// place, the buttons move up as far and the dialog shrinks by as much.
void LayOutWithoutSavePassword(HWND dialog) {
  RECT save, suicide;
  GetWindowRect(GetDlgItem(dialog, IDC_SAVE_PASSWORD), &save);
  GetWindowRect(GetDlgItem(dialog, IDC_SUICIDE), &suicide);
  const int d = suicide.top - save.top;
  POINT corner{save.left, save.top};
  ScreenToClient(dialog, &corner);
  MoveControl(dialog, IDC_SUICIDE, corner);
  const int buttons[] = {IDOK, IDCANCEL};
  for (int id : buttons) {
    POINT p = ClientTopLeft(dialog, id);
    p.y -= d;
    MoveControl(dialog, id, p);
  }
  RECT window;
  GetWindowRect(dialog, &window);
  MoveWindow(dialog, window.left, window.top, window.right - window.left, window.bottom - window.top - d, FALSE);
  ShowWindow(GetDlgItem(dialog, IDC_SAVE_PASSWORD), SW_HIDE);
}

void ApplySuicideMode(HWND dialog, int8_t mode) {
  HWND box = GetDlgItem(dialog, IDC_SUICIDE);
  switch (mode) {
    case 0:
      CheckDlgButton(dialog, IDC_SUICIDE, BST_CHECKED);
      EnableWindow(box, FALSE);
      break;
    case 1: CheckDlgButton(dialog, IDC_SUICIDE, BST_CHECKED); break;
    case 2: CheckDlgButton(dialog, IDC_SUICIDE, BST_UNCHECKED); break;
    default: break;
  }
}

void BringToForeground(HWND dialog) {
  DWORD foreground_thread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  DWORD own_thread = GetCurrentThreadId();
  AttachThreadInput(own_thread, foreground_thread, TRUE);
  SetForegroundWindow(dialog);
  AttachThreadInput(own_thread, foreground_thread, FALSE);
  ShowWindow(dialog, SW_SHOW);
}

bool Initialise(HWND dialog) {
  archive::SharedState& state = *g_state;
  if (CurrentLanguage() != ui::Language::kJapanese) {
    SetDlgItemTextA(dialog, IDC_PROMPT, ui::Text(ui::TextId::kPasswordPrompt, ui::Language::kEnglish));
    SetDlgItemTextA(dialog, IDC_SUICIDE, ui::Text(ui::TextId::kSuicide, ui::Language::kEnglish));
    SetDlgItemTextA(dialog, IDC_SAVE_PASSWORD, ui::Text(ui::TextId::kSavePassword, ui::Language::kEnglish));
  }

  HICON small_icon = nullptr;
  if (ExtractIconExA(state.archive_path, 0, nullptr, &small_icon, 1) > 0 && small_icon) {
    SetClassLongPtrA(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(small_icon));
  }

  RECT desktop, window;
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(dialog, &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  MoveWindow(dialog, (desktop.right - width) / 2, (desktop.bottom - height) / 2, width, height, FALSE);

  state.entry_offset = archive::LocateFirstEntry(state.archive_path);
  if (state.entry_offset == -1) {
    MessageBoxA(dialog, LocalText(ui::TextId::kNotArchive), state.archive_path, MB_OK | MB_ICONERROR);
    return false;
  }

  platform::InputFile archive;
  for (int attempt = 0; !archive.Open(state.archive_path); ++attempt) {
    if (attempt + 1 == kOpenAttempts) {
      MessageBoxA(dialog, LocalText(ui::TextId::kDecodeOpenFailed), state.archive_path, MB_OK | MB_ICONERROR);
      return false;
    }
    Sleep(100);
  }
  archive.Seek(static_cast<uint64_t>(state.entry_offset));
  archive::ReadEntryHeader(archive, state);
  SetWindowTextA(dialog, state.caption);

  if (!state.password_saving) {
    LayOutWithoutSavePassword(dialog);
  } else {
    static char saved[kSavedPasswordMax + 1];
    if (LoadSavedPassword(saved)) {
      CheckDlgButton(dialog, IDC_SAVE_PASSWORD, BST_CHECKED);
      SetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, saved);
    }
  }
  ApplySuicideMode(dialog, state.suicide_mode);
  archive.Close();

  if (state.version != archive::kSupportedVersion) {
    MessageBoxA(dialog, LocalText(ui::TextId::kNewerVersion), ui::Text(ui::TextId::kFixedTitle, ui::Language::kEnglish),
                MB_OK | MB_ICONERROR);
    return false;
  }
  BringToForeground(dialog);
  return true;
}

void ShowButtons(HWND dialog, int show) {
  ShowWindow(GetDlgItem(dialog, IDOK), show);
  ShowWindow(GetDlgItem(dialog, IDCANCEL), show);
}

void OnOk(HWND dialog) {
  ShowButtons(dialog, SW_HIDE);
  EnableWindow(GetDlgItem(dialog, IDC_PASSWORD_EDIT), FALSE);
  g_saved.save_box_was_disabled = EnableWindow(GetDlgItem(dialog, IDC_SAVE_PASSWORD), FALSE) != 0;
  g_saved.suicide_box_was_disabled = EnableWindow(GetDlgItem(dialog, IDC_SUICIDE), FALSE) != 0;
  GetWindowTextA(dialog, g_saved.title, sizeof g_saved.title);
  GetDlgItemTextA(dialog, IDC_PROMPT, g_saved.prompt, sizeof g_saved.prompt);

  bool end;
  g_saved.working = true;
  if (GetWindowTextLengthA(GetDlgItem(dialog, IDC_PASSWORD_EDIT)) < 4) {
    WindowCheckReporter reporter(dialog);
    end = archive::CheckWalk(*g_state, reporter) == 0;
  } else {
    end = DecodeArchive(dialog, *g_state) == 1;
  }
  // Input given since the run last served its messages goes too.
  ServeWaitingMessages();
  g_saved.working = false;
  if (end) {
    PostQuitMessage(0);
    return;
  }

  ShowButtons(dialog, SW_SHOW);
  EnableWindow(GetDlgItem(dialog, IDC_PASSWORD_EDIT), TRUE);
  SetWindowTextA(dialog, g_saved.title);
  SetDlgItemTextA(dialog, IDC_PROMPT, g_saved.prompt);
  SetFocus(GetDlgItem(dialog, IDC_PASSWORD_EDIT));
  if (!g_saved.save_box_was_disabled) EnableWindow(GetDlgItem(dialog, IDC_SAVE_PASSWORD), TRUE);
  if (!g_saved.suicide_box_was_disabled) EnableWindow(GetDlgItem(dialog, IDC_SUICIDE), TRUE);
}

// The run serves the dialog's messages, the requests for a cursor among
// them: over the dialog the wait cursor stays. Not while a modal dialog of
// the run disables it (hit test HTERROR): that one waits for the user.
bool KeepWaitCursor(HWND dialog, LPARAM lparam) {
  if (static_cast<short>(LOWORD(lparam)) == HTERROR) return false;
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
  return true;
}

INT_PTR CALLBACK PasswordDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    if (!Initialise(dialog)) PostQuitMessage(0);
    return 0;
  }
  if (message == WM_SETCURSOR && g_saved.working) return KeepWaitCursor(dialog, lparam);
  // OK, Cancel and every way of closing ask for nothing while work runs.
  if (message != WM_COMMAND || g_saved.working) return 0;
  switch (LOWORD(wparam)) {
    case IDOK: OnOk(dialog); break;
    case IDCANCEL: PostQuitMessage(0); break;
    case IDC_PASSWORD_EDIT:
      if (HIWORD(wparam) == EN_CHANGE) {
        bool short_text = GetWindowTextLengthA(GetDlgItem(dialog, IDC_PASSWORD_EDIT)) < 4;
        SetDlgItemTextA(dialog, IDOK, ui::Text(short_text ? ui::TextId::kButtonCheck : ui::TextId::kButtonOk, ui::Language::kEnglish));
      }
      break;
    default: break;
  }
  return 0;
}

}  // namespace

HWND CreatePasswordDialog(archive::SharedState& state) {
  g_state = &state;
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PASSWORD), GetDesktopWindow(),
                            PasswordDialogProc, 0);
}

}  // namespace win32

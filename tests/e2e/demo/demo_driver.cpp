// Drives decoder.exe for the demo script the way a user would, printing
// what the windows say and saving screenshots.
//
//   demo_driver check ARCHIVE SHOTS_FOLDER
//       the check form on a copy of decoder.exe
//   demo_driver decode ARCHIVE PASSWORD TARGET_FOLDER SHOTS_FOLDER
//       the archive started by its user: the password dialog answered,
//       every window that follows answered and photographed, until the
//       program has ended
#include <cstdio>
#include <cstring>

#include "../e2e_support.h"
#include "ui/resource_ids.h"

namespace {

// Screenshots are numbered in the order they are taken, across runs.
void Shot(const std::string& folder, const std::string& name) {
  Sleep(400);  // let the window finish painting
  int taken = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.bmp").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do ++taken;
    while (FindNextFileA(search, &found));
    FindClose(search);
  }
  char number[8];
  snprintf(number, sizeof number, "%02d-", taken + 1);
  const std::string path = folder + "\\" + number + name + ".bmp";
  printf("  screenshot: %s (%s)\n", path.c_str(), e2e::SaveScreenshot(path) ? "saved" : "FAILED");
}

int DemoCheck(const std::string& archive, const std::string& shots) {
  e2e::TempFolder folder;
  std::string program = e2e::CopyOfDecoder(folder);
  e2e::Process process(e2e::Quoted(program) + " " + e2e::Quoted(":::/" + archive));
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(process.id());
  if (!box.window) return 1;
  printf("check form\n  message box title: %s\n  message box text: %s\n", box.title.c_str(), box.text.c_str());
  Shot(shots, "check-result");
  e2e::ClickButton(box.window, IDOK);
  DWORD exit_code = 1;
  bool ended = process.WaitForExit(20000, &exit_code);
  printf("  decoder ended: %s, exit code %lu\n", ended ? "yes" : "no", exit_code);
  return ended ? 0 : 1;
}

// A window of any process with a title, or null.
HWND FindTitled(const char* title) {
  HWND window = FindWindowA("#32770", title);
  return window && IsWindowVisible(window) ? window : nullptr;
}

int DemoDecode(const std::string& archive, const std::string& password, const std::string& target,
               const std::string& shots) {
  e2e::Process user_start(e2e::Quoted(archive), target);
  // The decoder copy shows the password dialog; it may be another process.
  HWND dialog = e2e::WaitForDialog(0, "", 30000);
  if (!dialog) return 1;
  const std::string caption = e2e::WindowText(dialog);
  if (!GetDlgItem(dialog, IDC_PASSWORD_EDIT)) {
    printf("instead of the password dialog: \"%s\" %s\n", caption.c_str(), e2e::ControlText(dialog, 0xFFFF).c_str());
    Shot(shots, "unexpected");
    return 1;
  }
  DWORD decoder_id = 0;
  GetWindowThreadProcessId(dialog, &decoder_id);
  printf("password dialog \"%s\"\n", caption.c_str());
  SetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, password.c_str());
  Shot(shots, "password-dialog");
  e2e::ClickButton(dialog, IDOK);

  HANDLE decoder = OpenProcess(SYNCHRONIZE, FALSE, decoder_id);
  const DWORD deadline = GetTickCount() + 120000;
  bool info_seen = false, folder_seen = false;
  while (GetTickCount() < deadline && WaitForSingleObject(decoder, 200) == WAIT_TIMEOUT) {
    if (HWND info = FindTitled("Kelvarin Decoder Ver3.00"); info && !info_seen) {
      info_seen = true;
      printf("encoder information:\n%s\n", e2e::ControlText(info, IDC_INFO_TEXT).c_str());
      Shot(shots, "encoder-information");
      e2e::ClickButton(info, IDOK);
      continue;
    }
    e2e::MessageBoxContent box;
    if (HWND window = GetLastActivePopup(dialog); window && window != dialog && GetDlgItem(window, 0xFFFF)) {
      printf("message box \"%s\": %s\n", e2e::WindowText(window).c_str(), e2e::ControlText(window, 0xFFFF).c_str());
      Shot(shots, "message");
      e2e::ClickButton(window, IDOK);
      continue;
    }
    if (!folder_seen && GetLastActivePopup(dialog) != dialog) {
      HWND popup = GetLastActivePopup(dialog);
      if (FindWindowExA(popup, nullptr, "SysTreeView32", nullptr)) {
        folder_seen = true;
        printf("folder browser opened at the current folder: accepted\n");
        Shot(shots, "folder-browser");
        e2e::AnswerFolderBrowser(decoder_id, true, target);
      }
    }
  }
  const bool ended = WaitForSingleObject(decoder, 0) == WAIT_OBJECT_0;
  CloseHandle(decoder);
  printf("decoder ended: %s\n", ended ? "yes" : "no");
  return ended ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && strcmp(argv[1], "check") == 0) return DemoCheck(argv[2], argv[3]);
  if (argc == 6 && strcmp(argv[1], "decode") == 0) return DemoDecode(argv[2], argv[3], argv[4], argv[5]);
  fputs("usage: demo_driver check ARCHIVE SHOTS_FOLDER\n"
        "       demo_driver decode ARCHIVE PASSWORD TARGET_FOLDER SHOTS_FOLDER\n",
        stderr);
  return 2;
}

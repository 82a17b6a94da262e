// Drives decoder.exe for the demo script the way a user would, printing
// what the windows say and saving screenshots. Every answer is checked
// before it is given; anything unexpected ends the demo with exit code 1
// and a sentence saying what was seen.
//
//   demo_driver check ARCHIVE SHOTS_FOLDER
//       the check form on a copy of decoder.exe
//   demo_driver decode ARCHIVE PASSWORD TARGET_FOLDER SHOTS_FOLDER
//       the archive started by its user: the password dialog answered,
//       every window that follows answered and photographed, until the
//       program has ended
#include <cstdio>
#include <cstring>

#include "tests/e2e/cleanup_support.h"
#include "tests/e2e/dialog_answers.h"
#include "tests/e2e/e2e_support.h"
#include "win32/resource_ids.h"

namespace {

// Screenshots are numbered in the order they are taken, across runs.
void Shot(HWND window, const std::string& folder, const std::string& name) {
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
  printf("  screenshot: %s (%s)\n", path.c_str(), e2e::SaveWindowScreenshot(window, path) ? "saved" : "FAILED");
}

int Fail(const std::string& what) {
  printf("DEMO FAILED: %s\n", what.c_str());
  return 1;
}

int DemoCheck(const std::string& archive, const std::string& shots) {
  e2e::TempFolder folder;
  e2e::Process process(e2e::Quoted(e2e::FreshCopyOfDecoder(folder)) + " " + e2e::Quoted(":::/" + archive),
                       folder.path());
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(process.id());
  if (!box.window) return Fail("the check form showed no message box within 20 s");
  printf("check form\n  message box title: %s\n  message box text: %s\n", box.title.c_str(), box.text.c_str());
  Shot(box.window, shots, "check-result");
  const std::string expected = archive + "\n\n" + e2e::Expected(ui::TextId::kCheckNoProblem);
  if (box.text != expected) return Fail("the check found a fault; expected \"" + expected + "\"");
  e2e::ClickButton(box.window, IDOK);
  DWORD exit_code = 1;
  if (!process.WaitForExit(20000, &exit_code)) return Fail("the check form did not end after its message box");
  printf("  decoder ended, exit code %lu\n", exit_code);
  // Its clean-up chain works in the folder; let it finish first.
  const ::testing::AssertionResult finished = e2e::CleanUpFinished();
  if (!finished) return Fail(finished.message());
  return 0;
}

int DemoDecode(const std::string& archive, const std::string& password, const std::string& target,
               const std::string& shots) {
  e2e::Process user_start(e2e::Quoted(archive), target);
  // The decoder copy shows the password dialog: another process.
  HWND dialog = e2e::WaitForDialog(0, "", 30000);
  if (!dialog) return Fail("no dialog appeared within 30 s of starting the archive");
  const std::string caption = e2e::WindowText(dialog);
  if (!GetDlgItem(dialog, IDC_PASSWORD_EDIT)) {
    Shot(dialog, shots, "unexpected");
    return Fail("instead of the password dialog: \"" + caption + "\" " + e2e::ControlText(dialog, 0xFFFF));
  }
  const DWORD decoder_id = e2e::ProcessOf(dialog);
  printf("password dialog \"%s\"\n", caption.c_str());
  SetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, password.c_str());
  if (e2e::ControlText(dialog, IDC_PASSWORD_EDIT) != password) return Fail("the password edit does not hold the password");
  Shot(dialog, shots, "password-dialog");
  e2e::ClickButton(dialog, IDOK);

  HANDLE decoder = OpenProcess(SYNCHRONIZE, FALSE, decoder_id);
  const DWORD deadline = GetTickCount() + 120000;
  bool info_seen = false, folder_seen = false;
  const e2e::WindowTest of_decoder = e2e::DialogOf(decoder_id);
  while (WaitForSingleObject(decoder, 100) == WAIT_TIMEOUT) {
    if (GetTickCount() > deadline) return Fail("the decode did not end within 120 s");
    if (HWND info = e2e::FindWindowWhere([&](HWND w) { return of_decoder(w) && e2e::WindowText(w) == "Kelvarin Decoder Ver3.00"; })) {
      if (info_seen) return Fail("the encoder information came twice in one run");
      info_seen = true;
      printf("encoder information:\n%s\n", e2e::ControlText(info, IDC_INFO_TEXT).c_str());
      Shot(dialog, shots, "encoder-information");
      e2e::ClickButton(info, IDOK);
      if (!e2e::WaitForWindowGone(info)) return Fail("the encoder information stayed after Continue");
      continue;
    }
    if (HWND box = e2e::FindWindowWhere([&](HWND w) { return of_decoder(w) && GetDlgItem(w, 0xFFFF); })) {
      Shot(dialog, shots, "message");
      return Fail("message box \"" + e2e::WindowText(box) + "\": " + e2e::ControlText(box, 0xFFFF));
    }
    if (e2e::FindFolderBrowser(decoder_id)) {
      if (folder_seen) return Fail("a second folder browser in one run");
      folder_seen = true;
      const ::testing::AssertionResult answered = e2e::AnswerFolderBrowser(decoder_id, target, [&](HWND browser) {
        printf("folder browser: \"%s\" selected, as expected: accepted\n", e2e::SelectedFolder(browser).c_str());
        // With the focus in the tree the selected folder shows highlighted.
        SendMessageA(browser, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(FindWindowExA(browser, nullptr, "SysTreeView32", nullptr)), TRUE);
        Shot(dialog, shots, "folder-browser");
      });
      if (!answered) return Fail(answered.message());
    }
  }
  CloseHandle(decoder);
  if (!folder_seen) return Fail("the decode ended without asking for a folder");
  printf("decoder ended\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc == 4 && strcmp(argv[1], "check") == 0) return DemoCheck(argv[2], argv[3]);
  if (argc == 6 && strcmp(argv[1], "decode") == 0) return DemoDecode(argv[2], argv[3], argv[4], argv[5]);
  fputs("usage: demo_driver check ARCHIVE SHOTS_FOLDER\n"
        "       demo_driver decode ARCHIVE PASSWORD TARGET_FOLDER SHOTS_FOLDER\n",
        stderr);
  return 2;
}

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

#include "win32/resource_ids.h"
#include "window_driver/cleanup_watch.h"
#include "window_driver/decoder_program.h"
#include "window_driver/processes.h"
#include "window_driver/screenshot.h"
#include "window_driver/system_dialogs.h"
#include "window_driver/window_search.h"

namespace {

namespace drive = window_driver;

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
  printf("  screenshot: %s (%s)\n", path.c_str(), drive::SaveWindowScreenshot(window, path) ? "saved" : "FAILED");
}

int Fail(const std::string& what) {
  printf("DEMO FAILED: %s\n", what.c_str());
  return 1;
}

int DemoCheck(const std::string& archive, const std::string& shots) {
  drive::TempFolder folder;
  const std::string copy = drive::FreshCopyOfDecoder(folder);
  if (copy.empty()) return Fail("could not copy " + drive::DecoderPath() + " into " + folder.path());
  drive::Process process(drive::Quoted(copy) + " " + drive::Quoted(":::/" + archive), folder.path());
  if (!process.started()) return Fail(process.failure());
  drive::MessageBoxContent box = drive::WaitForMessageBox(process.id());
  if (!box.window) return Fail("the check form showed no message box within 20 s");
  printf("check form\n  message box title: %s\n  message box text: %s\n", box.title.c_str(), box.text.c_str());
  Shot(box.window, shots, "check-result");
  const std::string expected = archive + "\n\n" + drive::Expected(ui::TextId::kCheckNoProblem);
  if (box.text != expected) return Fail("the check found a fault; expected \"" + expected + "\"");
  drive::ClickButton(box.window, IDOK);
  DWORD exit_code = 1;
  if (!process.WaitForExit(20000, &exit_code)) return Fail("the check form did not end after its message box");
  printf("  decoder ended, exit code %lu\n", exit_code);
  // Its clean-up chain works in the folder; let it finish first.
  const drive::Outcome finished = drive::CleanUpFinished();
  if (!finished) return Fail(finished.why());
  return 0;
}

int DemoDecode(const std::string& archive, const std::string& password, const std::string& target,
               const std::string& shots) {
  drive::Process user_start(drive::Quoted(archive), target);
  if (!user_start.started()) return Fail(user_start.failure());
  // The decoder copy shows the password dialog: another process.
  HWND dialog = drive::WaitForDialog(0, "", 30000);
  if (!dialog) return Fail("no dialog appeared within 30 s of starting the archive");
  const std::string caption = drive::WindowText(dialog);
  if (!GetDlgItem(dialog, IDC_PASSWORD_EDIT)) {
    Shot(dialog, shots, "unexpected");
    return Fail("instead of the password dialog: \"" + caption + "\" " + drive::ControlText(dialog, 0xFFFF));
  }
  const DWORD decoder_id = drive::ProcessOf(dialog);
  printf("password dialog \"%s\"\n", caption.c_str());
  SetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, password.c_str());
  if (drive::ControlText(dialog, IDC_PASSWORD_EDIT) != password) return Fail("the password edit does not hold the password");
  Shot(dialog, shots, "password-dialog");
  drive::ClickButton(dialog, IDOK);

  HANDLE decoder = OpenProcess(SYNCHRONIZE, FALSE, decoder_id);
  const DWORD deadline = GetTickCount() + 120000;
  bool info_seen = false, folder_seen = false;
  const drive::WindowTest of_decoder = drive::DialogOf(decoder_id);
  while (WaitForSingleObject(decoder, 100) == WAIT_TIMEOUT) {
    if (GetTickCount() > deadline) return Fail("the decode did not end within 120 s");
    if (HWND info = drive::FindWindowWhere([&](HWND w) { return of_decoder(w) && drive::WindowText(w) == "Kelvarin Decoder Ver3.00"; })) {
      if (info_seen) return Fail("the encoder information came twice in one run");
      info_seen = true;
      printf("encoder information:\n%s\n", drive::ControlText(info, IDC_INFO_TEXT).c_str());
      Shot(dialog, shots, "encoder-information");
      drive::ClickButton(info, IDOK);
      if (!drive::WaitForWindowGone(info)) return Fail("the encoder information stayed after Continue");
      continue;
    }
    if (HWND box = drive::FindWindowWhere([&](HWND w) { return of_decoder(w) && GetDlgItem(w, 0xFFFF); })) {
      Shot(dialog, shots, "message");
      return Fail("message box \"" + drive::WindowText(box) + "\": " + drive::ControlText(box, 0xFFFF));
    }
    if (drive::FindFolderBrowser(decoder_id)) {
      if (folder_seen) return Fail("a second folder browser in one run");
      folder_seen = true;
      const drive::Outcome answered = drive::AnswerFolderBrowser(decoder_id, target, [&](HWND browser) {
        printf("folder browser: \"%s\" selected, as expected: accepted\n", drive::SelectedFolder(browser).c_str());
        // With the focus in the tree the selected folder shows highlighted.
        SendMessageA(browser, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(FindWindowExA(browser, nullptr, "SysTreeView32", nullptr)), TRUE);
        Shot(dialog, shots, "folder-browser");
      });
      if (!answered) return Fail(answered.why());
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

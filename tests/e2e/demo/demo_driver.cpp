// Drives decoder.exe for the demo script the way a user would, printing
// what the windows say and saving screenshots.
//
//   demo_driver check ARCHIVE SCREENSHOT.bmp
#include <cstdio>
#include <cstring>

#include "../e2e_support.h"

namespace {

int DemoCheck(const std::string& archive, const std::string& screenshot) {
  e2e::TempFolder folder;
  std::string program = e2e::CopyOfDecoder(folder);
  e2e::Process process(e2e::Quoted(program) + " " + e2e::Quoted(":::/" + archive));
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(process.id());
  if (!box.window) return 1;
  Sleep(300);  // let the box finish painting
  bool saved = e2e::SaveScreenshot(screenshot);
  printf("message box title: %s\nmessage box text:\n%s\n", box.title.c_str(), box.text.c_str());
  e2e::ClickButton(box.window, IDOK);
  DWORD exit_code = 1;
  bool ended = process.WaitForExit(20000, &exit_code);
  printf("decoder ended: %s, exit code %lu\n", ended ? "yes" : "no", exit_code);
  return saved && ended ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && strcmp(argv[1], "check") == 0) return DemoCheck(argv[2], argv[3]);
  fputs("usage: demo_driver check ARCHIVE SCREENSHOT.bmp\n", stderr);
  return 2;
}

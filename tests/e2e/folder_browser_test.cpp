// The folder browser's start: the decoder asks the browser to select the
// folder it was given, by path. Checked where it happens, in this process,
// so that a browser that shows no selection (Wine's sometimes drops a
// start folder it was asked for) cannot hide a request that was never
// made or named another folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <string>
#include <thread>

#include "base/paths.h"
#include "e2e_support.h"
#include "win32/folder_browser.h"

namespace {

// What the browser's own thread was asked to select, seen by a hook on
// that thread's sent messages.
struct SelectionRequest {
  std::atomic<bool> made = false;  // the fields below are set first
  WPARAM by_path = 0;
  std::string folder;
};
SelectionRequest request;

LRESULT CALLBACK WatchSentMessages(int code, WPARAM wparam, LPARAM lparam) {
  const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && sent->message == BFFM_SETSELECTIONA && !request.made) {
    request.by_path = sent->wParam;
    request.folder = sent->lParam ? reinterpret_cast<const char*>(sent->lParam) : "(null)";
    request.made = true;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST(FolderBrowser, AsksToStartAtTheFolderItWasGivenByPath) {
  e2e::TempFolder start;
  bool chosen = true;
  std::thread browsing([&] {
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchSentMessages, nullptr, GetCurrentThreadId());
    char folder[base::kPathCapacity];
    lstrcpynA(folder, start.path().c_str(), sizeof folder);
    chosen = win32::BrowseForFolder(nullptr, "start", folder);
    if (hook) UnhookWindowsHookEx(hook);
  });
  HWND browser = nullptr;
  const bool shown =
      e2e::PollUntil([&] { return (browser = e2e::FindFolderBrowser(GetCurrentProcessId())) != nullptr; }, 30000, 50);
  if (shown) {
    e2e::PollUntil([] { return request.made.load(); }, 5000, 20);
    e2e::ClickButton(browser, IDCANCEL);
  }
  browsing.join();
  ASSERT_TRUE(shown) << "no folder browser appeared";
  EXPECT_FALSE(chosen) << "cancelled";
  ASSERT_TRUE(request.made) << "the browser was never asked to select a folder";
  EXPECT_EQ(request.by_path, static_cast<WPARAM>(TRUE)) << "the folder is given as a path, not an item id list";
  EXPECT_EQ(request.folder, start.path());
}

}  // namespace

// The application manifest decoder.exe carries (resource type 24, id 1),
// read back from the file, and its effect on the running program: the
// dialogs come from the common controls of version 6.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "decoder_session.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The manifest's text as the loader sees it; empty when there is none.
std::string ManifestOf(const std::string& program) {
  HMODULE image = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!image) return "";
  std::string text;
  if (HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    const HGLOBAL loaded = LoadResource(image, found);
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (bytes) text.assign(bytes, SizeofResource(image, found));
  }
  FreeLibrary(image);
  return text;
}

// Where the process loaded the common controls from (lower case); empty
// when it did not load them.
std::string CommonControlsOf(DWORD process_id) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process_id);
  if (snapshot == INVALID_HANDLE_VALUE) return "";
  std::string path;
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  for (BOOL more = Module32First(snapshot, &module); more; more = Module32Next(snapshot, &module)) {
    if (Lower(module.szModule) == "comctl32.dll") path = Lower(module.szExePath);
  }
  CloseHandle(snapshot);
  return path;
}

using Manifest = e2e::DecoderSession;

TEST_F(Manifest, RunsAsItsUserOnEveryWindowsFromVistaAwareOfDpiWithTheCurrentControls) {
  const std::string manifest = ManifestOf(e2e::FreshCopyOfDecoder(folder_));
  ASSERT_FALSE(manifest.empty()) << "no resource of type 24, id 1";
  // An archive named like an installer ("update-2026.exe") must not ask
  // for elevation.
  EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos) << manifest;
  // Without the newest system named, Windows runs the program in an older
  // one's compatibility mode; without dpiAware, it stretches the dialog.
  EXPECT_NE(manifest.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"), std::string::npos)
      << "Windows 10 and 11";
  EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
}

TEST_F(Manifest, DialogsUseTheCommonControlsOfVersionSix) {
  WriteArchive({test_support::MakeEntry("a.txt", encoder::Bytes(10, 'a'))});
  ASSERT_NE(OpenDialog(), nullptr);
  // The manifest's dependency loads them from the side-by-side store.
  const std::string controls = CommonControlsOf(e2e::ProcessOf(dialog_));
  EXPECT_NE(controls.find("common-controls"), std::string::npos) << "loaded from \"" << controls << "\"";
  EXPECT_NE(controls.find("_6.0."), std::string::npos) << "loaded from \"" << controls << "\"";
  e2e::ClickButton(dialog_, IDCANCEL);
  ExpectExitZero();
}

}  // namespace

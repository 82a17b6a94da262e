#include "e2e_support.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <cstdio>
#include <cstdlib>

namespace e2e {

std::string WindowsPath(const std::string& host_path) {
  std::string path = host_path;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

namespace {
std::string DecoderPath() { return WindowsPath(KELVARIN_DECODER_PATH); }
}  // namespace

const encoder::Bytes& DecoderBytes() {
  static const encoder::Bytes bytes = encoder::ReadWholeFile(DecoderPath());
  return bytes;
}

ui::Language SystemLanguage() { return ui::LanguageForOemCodePage(GetOEMCP()); }
const char* Expected(ui::TextId id) { return ui::Text(id, SystemLanguage()); }
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
uint64_t Ticks(const FILETIME& time) { return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

bool WriteBytes(const std::string& path, const encoder::Bytes& bytes) {
  FILE* out = fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool written = fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return fclose(out) == 0 && written;
}

namespace {

// Whether this file system keeps a creation time that a program sets:
// Wine on most Linux file systems does not, so there only the other two
// times can be compared.
bool CreationTimesStick(const std::string& folder) {
  const std::string probe = folder + "\\creation-probe";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const FILETIME wanted{0x11112222, 0x01C80000};
  SetFileTime(file, &wanted, nullptr, nullptr);
  CloseHandle(file);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(probe.c_str(), GetFileExInfoStandard, &data);
  DeleteFileA(probe.c_str());
  return Ticks(data.ftCreationTime) == Ticks(wanted);
}

}  // namespace

void ExpectFileAsRecorded(const std::string& path, const encoder::Entry& entry) {
  // Times first, without opening the file: reading would touch the
  // access time.
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) << path;
  if (CreationTimesStick(path.substr(0, path.rfind('\\')))) {
    EXPECT_EQ(Ticks(data.ftCreationTime), entry.record.creation_time) << path;
  } else {
    printf("[ skipped  ] the creation time of %s: this file system, under Wine, does not keep a creation time that a"
           " program sets (a probe file's was lost), so there is nothing to compare\n",
           path.c_str());
  }
  EXPECT_EQ(Ticks(data.ftLastAccessTime), entry.record.last_access_time) << path;
  EXPECT_EQ(Ticks(data.ftLastWriteTime), entry.record.last_write_time) << path;
  EXPECT_EQ(data.dwFileAttributes, entry.record.attributes) << path;
  EXPECT_EQ(encoder::ReadWholeFile(path), entry.contents) << path;
}

bool PollUntil(const std::function<bool()>& condition, DWORD milliseconds, DWORD interval) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(interval);
  }
  return true;
}

TempFolder::TempFolder() {
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  // Process ids repeat from one Wine run to the next: take the first name
  // that is not there yet.
  static int counter = 0;
  char name[MAX_PATH];
  do {
    snprintf(name, sizeof name, "%se2e-%lu-%d", base, GetCurrentProcessId(), ++counter);
  } while (!CreateDirectoryA(name, nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
  path_ = name;
}

TempFolder::~TempFolder() {
  // The list of paths ends with an empty one; read-only files go too.
  const std::string from = path_ + '\0';
  SHFILEOPSTRUCTA remove{};
  remove.wFunc = FO_DELETE;
  remove.pFrom = from.c_str();
  remove.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  SHFileOperationA(&remove);
}

std::string FreshCopyOfDecoder(const TempFolder& folder) {
  static int copies = 0;
  const std::string path = folder.File("decoder copy " + std::to_string(++copies) + ".exe");
  EXPECT_TRUE(CopyFileA(DecoderPath().c_str(), path.c_str(), FALSE)) << path;
  return path;
}

Process::Process(const std::string& command_line, const std::string& folder, DWORD creation_flags,
                 bool inherit_handles) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = command_line;
  if (folder.size() < 3 || (folder[0] != 'C' && folder[0] != 'c') || folder[1] != ':') {
    ADD_FAILURE() << "not started outside drive C: " << command_line << " in \"" << folder << "\"";
    return;
  }
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, inherit_handles, creation_flags, nullptr, folder.c_str(),
                      &startup, &info_)) {
    ADD_FAILURE() << "could not start: " << command_line << " (error " << GetLastError() << ")";
    info_ = {};
  }
}

Process::~Process() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
}

bool Process::WaitForExit(DWORD milliseconds, DWORD* exit_code) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
  if (exit_code) GetExitCodeProcess(info_.hProcess, exit_code);
  return true;
}

namespace {

BOOL CALLBACK AddWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool HasIcon(HWND box) {
  for (HWND child : ListWindows(box)) {
    if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0 &&
        (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
        SendMessageA(child, STM_GETICON, 0, 0) != 0)
      return true;
  }
  return false;
}

}  // namespace

std::vector<HWND> ListWindows(HWND parent) {
  std::vector<HWND> windows;
  const LPARAM list = reinterpret_cast<LPARAM>(&windows);
  if (parent) {
    EnumChildWindows(parent, AddWindow, list);
  } else {
    EnumWindows(AddWindow, list);
  }
  return windows;
}

HWND FindWindowWhere(const WindowTest& test) {
  for (HWND window : ListWindows())
    if (IsWindowVisible(window) && test(window)) return window;
  return nullptr;
}

HWND WaitForWindow(const WindowTest& test, const std::string& what, DWORD milliseconds) {
  HWND found = nullptr;
  if (!PollUntil([&] { return (found = FindWindowWhere(test)) != nullptr; }, milliseconds, 50)) {
    ADD_FAILURE() << "no " << what << " within " << milliseconds << " ms";
  }
  return found;
}

DWORD ProcessOf(HWND window) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  return owner;
}

WindowTest DialogOf(DWORD process_id) {
  return [process_id](HWND window) {
    return ClassOf(window) == "#32770" && (process_id == 0 || ProcessOf(window) == process_id);
  };
}

WindowTest MessageBoxOf(DWORD process_id) {
  return [of_process = DialogOf(process_id)](HWND window) { return of_process(window) && GetDlgItem(window, 0xFFFF); };
}

MessageBoxContent WaitForMessageBox(DWORD process_id, DWORD milliseconds) {
  MessageBoxContent content;
  content.window =
      WaitForWindow(MessageBoxOf(process_id), "message box from process " + std::to_string(process_id), milliseconds);
  if (!content.window) return content;
  content.title = WindowText(content.window);
  content.text = WindowText(GetDlgItem(content.window, 0xFFFF));
  content.has_icon = HasIcon(content.window);
  return content;
}

HWND WaitForDialog(DWORD process_id, const std::string& title, DWORD milliseconds, HWND except) {
  const WindowTest of_process = DialogOf(process_id);
  return WaitForWindow(
      [&](HWND w) { return w != except && of_process(w) && (title.empty() || WindowText(w) == title); },
      "dialog \"" + title + "\" from process " + std::to_string(process_id), milliseconds);
}

bool WaitForWindowGone(HWND window, DWORD milliseconds) {
  return PollUntil([&] { return !IsWindow(window); }, milliseconds, 10);
}

std::string WindowText(HWND window) {
  char buffer[4096] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

LRESULT Ask(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result)) return 0;
  return static_cast<LRESULT>(result);
}

std::string ControlText(HWND control) {
  char buffer[8192] = {};
  Ask(control, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}
std::string ControlText(HWND dialog, int id) { return ControlText(GetDlgItem(dialog, id)); }
bool IsChecked(HWND dialog, int id) { return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }
bool IsShown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != 0; }

RECT ScreenRect(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(id ? GetDlgItem(dialog, id) : dialog, &rect);
  return rect;
}

void ClickButton(HWND window, int id) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

std::string ScreenshotFolder() {
  const char* folder = getenv("KELVARIN_E2E_SCREENSHOTS");
  if (!folder || !*folder) return "";
  const std::string path = WindowsPath(folder);
  SHCreateDirectoryExA(nullptr, path.c_str(), nullptr);
  return path;
}

void Screenshot(HWND window, const std::string& name) {
  const std::string folder = ScreenshotFolder();
  if (!folder.empty()) {
    EXPECT_TRUE(SaveWindowScreenshot(window, folder + "\\" + name + ".bmp")) << name;
  }
}

}  // namespace e2e

#include "e2e_support.h"

#include <shlobj.h>
#include <cstdio>
#include <cstdlib>

namespace e2e {

::testing::AssertionResult Checked(const Outcome& outcome) {
  if (outcome) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << outcome.why();
}

HWND WaitForWindow(const WindowTest& test, const std::string& what, DWORD milliseconds) {
  HWND found = window_driver::WaitForWindow(test, milliseconds);
  if (!found) ADD_FAILURE() << "no " << what << " within " << milliseconds << " ms";
  return found;
}

MessageBoxContent WaitForMessageBox(DWORD process_id, DWORD milliseconds) {
  MessageBoxContent content = window_driver::WaitForMessageBox(process_id, milliseconds);
  if (!content.window) ADD_FAILURE() << "no message box from process " << process_id << " within " << milliseconds << " ms";
  return content;
}

HWND WaitForDialog(DWORD process_id, const std::string& title, DWORD milliseconds, HWND except) {
  HWND found = window_driver::WaitForDialog(process_id, title, milliseconds, except);
  if (!found) {
    ADD_FAILURE() << "no dialog \"" << title << "\" from process " << process_id << " within " << milliseconds << " ms";
  }
  return found;
}

std::string FreshCopyOfDecoder(const TempFolder& folder) {
  const std::string path = window_driver::FreshCopyOfDecoder(folder);
  EXPECT_FALSE(path.empty()) << "no copy of " << DecoderPath() << " in " << folder.path();
  return path;
}

::testing::AssertionResult AnswerSaveAs(DWORD process_id, const std::string& title, HWND except,
                                        const std::string& path) {
  return Checked(window_driver::AnswerSaveAs(process_id, title, except, path));
}

::testing::AssertionResult AnswerFolderBrowser(DWORD process_id, const std::string& expected,
                                               const std::function<void(HWND)>& verified) {
  return Checked(window_driver::AnswerFolderBrowser(process_id, expected, verified));
}

Process::Process(const std::string& command_line, const std::string& folder, DWORD creation_flags,
                 bool inherit_handles)
    : window_driver::Process(command_line, folder, creation_flags, inherit_handles) {
  if (!started()) ADD_FAILURE() << failure();
}

const encoder::Bytes& DecoderBytes() {
  static const encoder::Bytes bytes = encoder::ReadWholeFile(DecoderPath());
  return bytes;
}

uint64_t Ticks(const FILETIME& time) { return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

bool WriteBytes(const std::string& path, const encoder::Bytes& bytes) {
  FILE* out = fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool written = fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return fclose(out) == 0 && written;
}

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

void ExpectTimesAndAttributesAsRecorded(const std::string& path, const archive::FileRecord& record) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) << path;
  // Where the file system does not keep it (Environment.FileSystemKeepsCreationTimes
  // is skipped then), there is no creation time to compare.
  if (CreationTimesStick(path.substr(0, path.rfind('\\')))) {
    EXPECT_EQ(Ticks(data.ftCreationTime), record.creation_time) << path;
  }
  EXPECT_EQ(Ticks(data.ftLastAccessTime), record.last_access_time) << path;
  EXPECT_EQ(Ticks(data.ftLastWriteTime), record.last_write_time) << path;
  EXPECT_EQ(data.dwFileAttributes, record.attributes) << path;
}

void ExpectFileAsRecorded(const std::string& path, const encoder::Entry& entry) {
  // Times first: reading the file would touch its access time.
  ExpectTimesAndAttributesAsRecorded(path, entry.record);
  EXPECT_EQ(encoder::ReadWholeFile(path), entry.contents) << path;
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

// Decoding through the password dialog: Save-As and the folder browser
// answered as a user would, the files checked byte for byte with their
// times and attributes, and the registry and the archive afterwards.
#include <gtest/gtest.h>

#include "base/bounded_text.h"
#include "cleanup_support.h"
#include "dialog_answers.h"
#include "e2e_support.h"
#include "encoder/entry_encoder.h"
#include "win32/resource_ids.h"

namespace {

using e2e::Expected;
using e2e::Quoted;
using encoder::Bytes;
using ui::TextId;

const std::string kPassword = "pass word 42";
const std::string kCaption = "Decode test";
constexpr char kKeyPath[] = "Software\\By Mobrae\\kelvarin";

Bytes Contents(size_t length, unsigned seed) {
  Bytes out(length);
  unsigned x = seed * 7919 + 1;
  for (auto& b : out) {
    x = x * 1103515245u + 12345u;
    b = static_cast<unsigned char>((x >> 16) % 7 == 0 ? 'a' + (x >> 20) % 26 : ' ');
  }
  return out;
}

encoder::Entry MakeEntry(const std::string& name, Bytes contents, unsigned char flags = 0, int8_t suicide = 2) {
  encoder::Entry entry;
  entry.header.caption = kCaption;
  entry.header.flags = flags;
  entry.header.suicide_mode = suicide;
  base::CopyText(entry.record.output_name, archive::kOutputNameCapacity, name.c_str());
  entry.record.attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
  entry.record.creation_time = 0x01C8000011112222ull;
  entry.record.last_access_time = 0x01D2000033334444ull;
  entry.record.last_write_time = 0x01D5000055556666ull;
  entry.record.encoder_serial = 0x1234ABCD;
  entry.record.encoding_time = 991388400;
  entry.contents = std::move(contents);
  return entry;
}

uint64_t Value(const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

// Whether this file system keeps a creation time that a program sets:
// Wine on most Linux file systems does not, so there only the other two
// times can be compared.
bool CreationTimesStick(const std::string& folder) {
  static int known = -1;
  if (known != -1) return known == 1;
  const std::string probe = folder + "\\creation-probe";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE | GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  FILETIME wanted{0x11112222, 0x01C80000}, got{};
  SetFileTime(file, &wanted, nullptr, nullptr);
  CloseHandle(file);
  file = CreateFileA(probe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  GetFileTime(file, &got, nullptr, nullptr);
  CloseHandle(file);
  DeleteFileA(probe.c_str());
  known = got.dwLowDateTime == wanted.dwLowDateTime && got.dwHighDateTime == wanted.dwHighDateTime;
  return known == 1;
}

void ExpectFileAsRecorded(const std::string& path, const encoder::Entry& entry) {
  // Times first: reading the contents would touch the access time.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  FILETIME creation, access, write;
  GetFileTime(file, &creation, &access, &write);
  CloseHandle(file);
  if (CreationTimesStick(path.substr(0, path.rfind('\\')))) {
    EXPECT_EQ(Value(creation), entry.record.creation_time) << path;
  }
  EXPECT_EQ(Value(access), entry.record.last_access_time) << path;
  EXPECT_EQ(Value(write), entry.record.last_write_time) << path;
  EXPECT_EQ(GetFileAttributesA(path.c_str()), entry.record.attributes) << path;
  EXPECT_EQ(encoder::ReadWholeFile(path), entry.contents) << path;
}

// The saved password as stored, read through the wide call so that its
// length is what the registry keeps. The program stores the characters
// without a terminating NUL; the NT registry adds one by itself when the
// byte after the data is a NUL (Wine does the same), so one may follow.
std::string SavedPassword(bool* present) {
  wchar_t text[5000] = {};
  DWORD size = sizeof text - 2, type = 0;
  HKEY key;
  *present = false;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  *present = RegQueryValueExW(key, L"DecodeAuto", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (!*present) return "";
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  std::string out;
  for (DWORD i = 0; i < size / 2; ++i) out.push_back(static_cast<char>(text[i]));
  return out;
}

class DecodeDialog : public e2e::ProgramTest {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\By Mobrae"); }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\By Mobrae");
    ProgramTest::TearDown();
  }

  void Write(const std::vector<encoder::Entry>& entries) {
    encoder::ArchiveWriter writer(e2e::DecoderBytes());
    encoder::EntryOptions options;
    options.block_size = 3000;
    for (const auto& entry : entries)
      ASSERT_EQ(encoder::AddEntry(writer, entry, kPassword, options), encoder::EncodeError::kNone);
    ASSERT_TRUE(writer.WriteTo(archive_));
  }
  // Starts the dialog form (in the given current folder) and waits for it.
  HWND Start(const std::string& folder = "") {
    process_ = std::make_unique<e2e::Process>(
        Quoted(e2e::FreshCopyOfDecoder(folder_)) + " " + Quoted(":::" + archive_),
        folder.empty() ? folder_.path() : folder);
    dialog_ = e2e::WaitForDialog(process_->id(), kCaption);
    return dialog_;
  }
  void TypeAndOk(const std::string& password) {
    SetDlgItemTextA(dialog_, IDC_PASSWORD_EDIT, password.c_str());
    e2e::ClickButton(dialog_, IDOK);
  }
  void ExpectEnd() {
    DWORD exit_code = 1;
    EXPECT_TRUE(process_->WaitForExit(20000, &exit_code)) << "the dialog ends";
    EXPECT_EQ(exit_code, 0u);
  }
  // The dialog is back at input: title, prompt and controls restored.
  void ExpectBackAtInput() {
    EXPECT_TRUE(e2e::WaitForTitle(dialog_, kCaption));
    EXPECT_TRUE(e2e::PollUntil([this] { return e2e::IsShown(dialog_, IDOK); }, 10000));
    EXPECT_TRUE(e2e::IsShown(dialog_, IDCANCEL));
    EXPECT_TRUE(e2e::IsEnabled(dialog_, IDC_PASSWORD_EDIT));
    EXPECT_EQ(e2e::ControlText(dialog_, IDC_PROMPT), Expected(TextId::kPasswordPrompt));
  }
  void Cancel() {
    e2e::ClickButton(dialog_, IDCANCEL);
    ExpectEnd();
  }

  e2e::TempFolder folder_;
  std::string archive_ = folder_.File("decode test.exe");
  std::unique_ptr<e2e::Process> process_;
  HWND dialog_ = nullptr;
};

TEST_F(DecodeDialog, PlainNameIsSavedWhereTheUserSaysWithTimesAndAttributes) {
  encoder::Entry entry = MakeEntry("report.txt", Contents(10000, 1));
  Write({entry});
  ASSERT_NE(Start(), nullptr);
  TypeAndOk(kPassword);
  const std::string target = folder_.File("saved report.txt");
  ASSERT_TRUE(e2e::AnswerSaveAs(process_->id(), kCaption, dialog_, target));
  ExpectEnd();
  ExpectFileAsRecorded(target, entry);
  EXPECT_TRUE(e2e::FileExists(archive_)) << "Suicide was not checked";
}

TEST_F(DecodeDialog, RelativeNamesGoBelowOneChosenFolderWithSubFoldersMade) {
  encoder::Entry first = MakeEntry("\\docs\\a.txt", Contents(5000, 2));
  encoder::Entry second = MakeEntry("\\docs\\deep\\er\\b.txt", Contents(7000, 3));
  Write({first, second});
  const std::string target = folder_.File("target");
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
  ASSERT_NE(Start(target), nullptr);
  TypeAndOk(kPassword);
  ASSERT_TRUE(e2e::AnswerFolderBrowser(process_->id(), target));
  ExpectEnd();
  ExpectFileAsRecorded(target + "\\docs\\a.txt", first);
  ExpectFileAsRecorded(target + "\\docs\\deep\\er\\b.txt", second);
}

TEST_F(DecodeDialog, FileStandingWhereAFolderIsNeededEndsTheRunWithoutAMessage) {
  Write({MakeEntry("\\docs\\a.txt", Contents(500, 4))});
  const std::string target = folder_.File("target");
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
  FILE* blocker = fopen((target + "\\docs").c_str(), "wb");
  ASSERT_NE(blocker, nullptr);
  fclose(blocker);
  ASSERT_NE(Start(target), nullptr);
  TypeAndOk(kPassword);
  ASSERT_TRUE(e2e::AnswerFolderBrowser(process_->id(), target));
  ExpectBackAtInput();
  Cancel();
}

TEST_F(DecodeDialog, WrongPasswordReturnsToInputAndTheRightOneThenWorks) {
  encoder::Entry entry = MakeEntry("again.txt", Contents(3000, 5));
  Write({entry});
  ASSERT_NE(Start(), nullptr);
  TypeAndOk("not the password");
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(process_->id());
  EXPECT_EQ(box.title, kCaption);
  EXPECT_EQ(box.text, Expected(TextId::kWrongPassword));
  EXPECT_TRUE(box.has_icon);
  e2e::ClickButton(box.window, IDOK);
  ExpectBackAtInput();

  TypeAndOk(kPassword);
  const std::string target = folder_.File("again.txt");
  ASSERT_TRUE(e2e::AnswerSaveAs(process_->id(), kCaption, dialog_, target));
  ExpectEnd();
  ExpectFileAsRecorded(target, entry);
}

TEST_F(DecodeDialog, CancellingSaveAsOrTheFolderBrowserReturnsToInputSilently) {
  Write({MakeEntry("x.txt", Contents(100, 6)), MakeEntry("\\y.txt", Contents(100, 7))});
  ASSERT_NE(Start(), nullptr);
  TypeAndOk(kPassword);
  ASSERT_TRUE(e2e::AnswerSaveAs(process_->id(), kCaption, dialog_, ""));
  ExpectBackAtInput();

  TypeAndOk(kPassword);
  ASSERT_TRUE(e2e::AnswerSaveAs(process_->id(), kCaption, dialog_, folder_.File("x.txt")));
  ASSERT_TRUE(e2e::AnswerFolderBrowser(process_->id(), ""));
  ExpectBackAtInput();
  Cancel();
}

TEST_F(DecodeDialog, SavedPasswordIsStoredRestoredAndDeleted) {
  Write({MakeEntry("p.txt", Contents(100, 8), encoder::kPasswordSaving)});
  ASSERT_NE(Start(), nullptr);
  SendMessageA(GetDlgItem(dialog_, IDC_SAVE_PASSWORD), BM_SETCHECK, BST_CHECKED, 0);
  TypeAndOk(kPassword);
  ASSERT_TRUE(e2e::AnswerSaveAs(process_->id(), kCaption, dialog_, folder_.File("p1.txt")));
  ExpectEnd();
  bool present = false;
  std::string saved = SavedPassword(&present);
  if (saved.size() == kPassword.size() + 1 && saved.back() == '\0') saved.pop_back();
  EXPECT_EQ(saved, kPassword);
  EXPECT_TRUE(present);

  ASSERT_NE(Start(), nullptr);
  EXPECT_TRUE(e2e::IsChecked(dialog_, IDC_SAVE_PASSWORD));
  EXPECT_EQ(e2e::ControlText(dialog_, IDOK), "OK");
  SendMessageA(GetDlgItem(dialog_, IDC_SAVE_PASSWORD), BM_SETCHECK, BST_UNCHECKED, 0);
  e2e::ClickButton(dialog_, IDOK);
  ASSERT_TRUE(e2e::AnswerSaveAs(process_->id(), kCaption, dialog_, folder_.File("p2.txt")));
  ExpectEnd();
  SavedPassword(&present);
  EXPECT_FALSE(present) << "an unchecked box deletes the saved password";
}

TEST_F(DecodeDialog, SuicideDeletesTheArchiveOnlyAfterASuccessfulRun) {
  Write({MakeEntry("s.txt", Contents(100, 9), 0, 0)});
  ASSERT_NE(Start(), nullptr);
  TypeAndOk("wrong password");
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(process_->id());
  e2e::ClickButton(box.window, IDOK);
  ExpectBackAtInput();
  EXPECT_TRUE(e2e::FileExists(archive_));
  EXPECT_TRUE(e2e::IsChecked(dialog_, IDC_SUICIDE));
  EXPECT_FALSE(e2e::IsEnabled(dialog_, IDC_SUICIDE)) << "mode 0 stays disabled after a failed run";

  TypeAndOk(kPassword);
  ASSERT_TRUE(e2e::AnswerSaveAs(process_->id(), kCaption, dialog_, folder_.File("s.txt")));
  ExpectEnd();
  EXPECT_FALSE(e2e::FileExists(archive_));
}

TEST_F(DecodeDialog, OpenAfterDecodeRunsTheFilesDefaultAction) {
  const std::string mark = folder_.File("opened.txt");
  std::string script = "@echo opened> \"" + mark + "\"\r\n";
  Write({MakeEntry("open-me.bat", Bytes(script.begin(), script.end()), encoder::kOpenAfterDecode)});
  ASSERT_NE(Start(), nullptr);
  TypeAndOk(kPassword);
  const std::string target = folder_.File("open-me.bat");
  ASSERT_TRUE(e2e::AnswerSaveAs(process_->id(), kCaption, dialog_, target));
  ExpectEnd();
  EXPECT_TRUE(e2e::PollUntil([&] { return e2e::FileExists(mark); }, 20000)) << "the batch file ran";
}

TEST_F(DecodeDialog, ScreenshotsOfTheDialogAndTheResult) {
  const std::string folder = e2e::ScreenshotFolder();
  if (folder.empty()) GTEST_SKIP() << "no screenshot folder given";
  Write({MakeEntry("shown.txt", Contents(100, 10), encoder::kPasswordSaving, 1)});
  ASSERT_NE(Start(), nullptr);
  SetDlgItemTextA(dialog_, IDC_PASSWORD_EDIT, kPassword.c_str());
  EXPECT_TRUE(e2e::SaveWindowScreenshot(dialog_, folder + "\\password-dialog.bmp"));
  TypeAndOk("wrong password");
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(process_->id());
  EXPECT_EQ(box.text, Expected(TextId::kWrongPassword)) << "also for a first block shorter than a record";
  EXPECT_TRUE(e2e::SaveWindowScreenshot(dialog_, folder + "\\wrong-password.bmp"));
  e2e::ClickButton(box.window, IDOK);
  ExpectBackAtInput();
  Cancel();
}

}  // namespace

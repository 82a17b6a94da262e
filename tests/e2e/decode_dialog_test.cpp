// Decoding through the password dialog: Save-As and the folder browser
// answered as a user would, the files checked byte for byte with their
// times and attributes, and the registry and the archive afterwards.
#include <optional>

#include "decoder_session.h"
#include "win32/resource_ids.h"

namespace {

using encoder::Bytes;
using test_support::MakeEntry;

constexpr const char* kCaption = e2e::DecoderSession::kCaption;
constexpr unsigned char kHiddenReadOnly = 0x23;  // read-only, hidden, archive

encoder::Entry Entry(const std::string& name, size_t size, unsigned char flags = 0) {
  encoder::Entry entry =
      MakeEntry(name, test_support::TextLikeBytes(size, static_cast<unsigned>(name.size())), kCaption, flags);
  entry.record.attributes = kHiddenReadOnly;
  return entry;
}

// The saved password as stored, read through the wide call so that its
// length is what the registry keeps. The program stores the characters
// without a terminating NUL; the NT registry adds one by itself when the
// byte after the data is a NUL (Wine does the same), so one may follow.
std::optional<std::string> SavedPassword() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, e2e::SettingsKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  wchar_t text[5000] = {};
  DWORD size = sizeof text - 2, type = 0;
  const LONG found = RegQueryValueExW(key, L"DecodeAuto", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  if (found != ERROR_SUCCESS) return std::nullopt;
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  std::string out(text, text + size / 2);
  if (!out.empty() && out.back() == '\0') out.pop_back();
  return out;
}

class DecodeDialog : public e2e::DecoderSession {
 protected:
  void WriteEntries(const std::vector<encoder::Entry>& entries) {
    encoder::EntryOptions options;
    options.block_size = 3000;
    WriteArchive(entries, options);
  }
};

// The last entry, a batch file, is opened once it has been decoded. An
// empty file in between becomes an empty file, and the run goes on.
TEST_F(DecodeDialog, RelativeNamesGoBelowOneChosenFolderWithSubFoldersMadeAndAreOpenedWhenAsked) {
  const encoder::Entry first = Entry("\\docs\\a.txt", 5000);
  const encoder::Entry empty = Entry("\\docs\\empty.txt", 0);
  const encoder::Entry second = Entry("\\docs\\deep\\er\\b.txt", 7000);
  const std::string mark = folder_.File("opened.txt");
  const std::string script = "@echo opened> \"" + mark + "\"\r\n";
  WriteEntries({first, empty, second,
                MakeEntry("\\open-me.bat", Bytes(script.begin(), script.end()), kCaption, archive::kOpenAfterDecode)});
  const std::string target = folder_.File("target");
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
  // A file standing where a folder is needed ends the run without a message.
  ASSERT_TRUE(e2e::WriteBytes(target + "\\docs", {}));
  ASSERT_NE(OpenDialog(target), nullptr);
  TypeAndOk();
  ASSERT_TRUE(ChooseFolder(target)) << "the browser opens at the current folder";
  ExpectBackAtInput();

  ASSERT_TRUE(DeleteFileA((target + "\\docs").c_str()));
  TypeAndOk();
  ASSERT_TRUE(ChooseFolder(target));
  ExpectExitZero();
  e2e::ExpectFileAsRecorded(target + "\\docs\\a.txt", first);
  e2e::ExpectFileAsRecorded(target + "\\docs\\empty.txt", empty);
  e2e::ExpectFileAsRecorded(target + "\\docs\\deep\\er\\b.txt", second);
  EXPECT_TRUE(e2e::PollUntil([&] { return e2e::FileExists(mark); }, 20000)) << "the batch file ran";
}

TEST_F(DecodeDialog, WrongPasswordOrACancelledDestinationReturnsToInputThenFilesAreSavedWhereTheUserSays) {
  const encoder::Entry plain = Entry("again.txt", 10000, archive::kPasswordSaving);
  const encoder::Entry relative = Entry("\\y.txt", 100);
  WriteEntries({plain, relative});
  ASSERT_NE(OpenDialog(), nullptr);
  SetDlgItemTextA(dialog_, IDC_PASSWORD_EDIT, kPassword);
  e2e::Screenshot(dialog_, "password-dialog");
  TypeAndOk("not the password");
  ExpectWrongPassword("wrong-password");

  TypeAndOk();
  ASSERT_TRUE(SaveAs(""));  // cancelled: silently back at input
  ExpectBackAtInput();

  TypeAndOk();
  ASSERT_TRUE(SaveAs(folder_.File("again.txt")));
  ASSERT_TRUE(ChooseFolder(""));
  ExpectBackAtInput();

  TypeAndOk();
  ASSERT_TRUE(SaveAs(folder_.File("again, finally.txt")));
  ASSERT_TRUE(ChooseFolder(folder_.path()));
  ExpectExitZero();
  e2e::ExpectFileAsRecorded(folder_.File("again, finally.txt"), plain);
  e2e::ExpectFileAsRecorded(folder_.File("y.txt"), relative);
  EXPECT_TRUE(e2e::FileExists(archive_)) << "Suicide was not checked";
}

TEST_F(DecodeDialog, SavedPasswordIsStoredRestoredAndDeleted) {
  WriteEntries({Entry("p.txt", 100, archive::kPasswordSaving)});
  ASSERT_NE(OpenDialog(), nullptr);
  SendMessageA(GetDlgItem(dialog_, IDC_SAVE_PASSWORD), BM_SETCHECK, BST_CHECKED, 0);
  TypeAndOk();
  ASSERT_TRUE(SaveAs(folder_.File("p1.txt")));
  ExpectExitZero();
  EXPECT_EQ(SavedPassword(), kPassword);

  // The restored password decodes.
  ASSERT_NE(OpenDialog(), nullptr);
  SendMessageA(GetDlgItem(dialog_, IDC_SAVE_PASSWORD), BM_SETCHECK, BST_UNCHECKED, 0);
  e2e::ClickButton(dialog_, IDOK);
  ASSERT_TRUE(SaveAs(folder_.File("p2.txt")));
  ExpectExitZero();
  EXPECT_EQ(SavedPassword(), std::nullopt) << "an unchecked box deletes the saved password";
}

}  // namespace

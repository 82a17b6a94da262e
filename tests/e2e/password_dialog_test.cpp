// The password dialog before any decode: what initialisation shows, the
// button text, the check run by a short password, and refusals.
#include <gtest/gtest.h>

#include "cleanup_support.h"
#include "e2e_support.h"
#include "win32/resource_ids.h"

namespace {

using e2e::Expected;
using e2e::Quoted;
using encoder::Bytes;
using ui::TextId;

constexpr char kKeyPath[] = "Software\\By Mobrae\\kelvarin";

void ClearSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\By Mobrae"); }

void StoreSavedPassword(const std::string& text) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "DecodeAuto", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                 static_cast<DWORD>(text.size()));
  RegCloseKey(key);
}

Bytes Filler(size_t length) {
  Bytes out(length);
  for (size_t i = 0; i < length; ++i) out[i] = static_cast<unsigned char>(i * 7 + 1);
  return out;
}

encoder::ArchiveWriter Archive(unsigned char flags, int8_t suicide_mode = 2, uint32_t version = 301) {
  encoder::ArchiveWriter writer(e2e::DecoderBytes());
  encoder::EntryHeaderFields fields;
  fields.caption = "Quarterly report";
  fields.flags = flags;
  fields.suicide_mode = suicide_mode;
  fields.version = version;
  writer.AddEntryHeader(fields);
  writer.AddDataBlock(Filler(4000));
  return writer;
}

class PasswordDialog : public e2e::ProgramTest {
 protected:
  void SetUp() override { ClearSettings(); }
  void TearDown() override {
    ClearSettings();
    ProgramTest::TearDown();
  }

  // Starts the dialog form on the archive and waits for the dialog.
  HWND Open(const encoder::ArchiveWriter& writer) {
    EXPECT_TRUE(writer.WriteTo(archive_));
    return Start(":::" + archive_, "Quarterly report");
  }
  HWND Start(const std::string& argument, const std::string& title) {
    process_ = std::make_unique<e2e::Process>(Quoted(e2e::FreshCopyOfDecoder(folder_)) + " " + Quoted(argument),
                                              folder_.path());
    return title.empty() ? nullptr : e2e::WaitForDialog(process_->id(), title);
  }
  void ExpectExitZero() {
    DWORD exit_code = 1;
    EXPECT_TRUE(process_->WaitForExit(20000, &exit_code));
    EXPECT_EQ(exit_code, 0u);
  }
  void Type(HWND dialog, const std::string& password) {
    SetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, password.c_str());
  }

  e2e::TempFolder folder_;
  std::string archive_ = folder_.File("report archive.exe");
  std::unique_ptr<e2e::Process> process_;
};

TEST_F(PasswordDialog, ShowsCaptionTextsAndTheButtonThatFitsThePassword) {
  HWND dialog = Open(Archive(encoder::kPasswordSaving));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(e2e::ControlText(dialog, IDC_PROMPT), Expected(TextId::kPasswordPrompt));
  EXPECT_EQ(e2e::ControlText(dialog, IDC_SAVE_PASSWORD), Expected(TextId::kSavePassword));
  EXPECT_EQ(e2e::ControlText(dialog, IDC_SUICIDE), Expected(TextId::kSuicide));
  EXPECT_EQ(e2e::ControlText(dialog, IDOK), "Check");
  EXPECT_EQ(e2e::ControlText(dialog, IDCANCEL), "Cancel");

  Type(dialog, "abcd");
  EXPECT_EQ(e2e::ControlText(dialog, IDOK), "OK");
  Type(dialog, "abc");
  EXPECT_EQ(e2e::ControlText(dialog, IDOK), "Check");
  Type(dialog, "\x82\xA0\x82\xA2");  // two double-byte characters in Shift-JIS: four bytes
  EXPECT_EQ(e2e::ControlText(dialog, IDOK), "OK");

  e2e::ClickButton(dialog, IDCANCEL);
  ExpectExitZero();
}

TEST_F(PasswordDialog, ShortPasswordChecksAndAGoodArchiveReturnsToInput) {
  HWND dialog = Open(Archive(0));
  ASSERT_NE(dialog, nullptr);
  Type(dialog, "abc");
  e2e::ClickButton(dialog, IDOK);
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(process_->id());
  EXPECT_EQ(box.text, archive_ + "\n\n" + Expected(TextId::kCheckNoProblem));
  EXPECT_EQ(box.title, "Quarterly report");
  EXPECT_FALSE(box.has_icon);
  e2e::ClickButton(box.window, IDOK);

  EXPECT_TRUE(e2e::WaitForTitle(dialog, "Quarterly report"));
  EXPECT_EQ(e2e::ControlText(dialog, IDC_PROMPT), Expected(TextId::kPasswordPrompt));
  EXPECT_TRUE(e2e::IsShown(dialog, IDOK));
  EXPECT_TRUE(e2e::IsEnabled(dialog, IDC_PASSWORD_EDIT));
  e2e::ClickButton(dialog, IDCANCEL);
  ExpectExitZero();
}

TEST_F(PasswordDialog, ShortPasswordCheckThatFindsAFaultEndsTheDialog) {
  encoder::ArchiveWriter writer = Archive(0);
  writer.AddRaw(Bytes(7, 1));  // trailing bytes fail the header probe
  HWND dialog = Open(writer);
  ASSERT_NE(dialog, nullptr);
  Type(dialog, "ab");
  e2e::ClickButton(dialog, IDOK);
  e2e::MessageBoxContent box = e2e::WaitForMessageBox(process_->id());
  EXPECT_EQ(box.text, Expected(TextId::kCheckHeaderShort));
  EXPECT_TRUE(box.has_icon);
  e2e::ClickButton(box.window, IDOK);
  ExpectExitZero();
}

TEST_F(PasswordDialog, WithoutPasswordSavingTheBoxIsHiddenAndTheLayoutMovesUp) {
  StoreSavedPassword("secret-password");
  HWND with_box = Open(Archive(encoder::kPasswordSaving));
  ASSERT_NE(with_box, nullptr);
  EXPECT_TRUE(e2e::IsShown(with_box, IDC_SAVE_PASSWORD));
  EXPECT_TRUE(e2e::IsChecked(with_box, IDC_SAVE_PASSWORD));
  EXPECT_EQ(e2e::ControlText(with_box, IDOK), "OK") << "the saved password fills the edit";
  RECT save = e2e::ScreenRect(with_box, IDC_SAVE_PASSWORD);
  RECT suicide = e2e::ScreenRect(with_box, IDC_SUICIDE);
  RECT ok = e2e::ScreenRect(with_box, IDOK);
  RECT whole = e2e::ScreenRect(with_box, 0);
  const long d = suicide.top - save.top;
  EXPECT_GT(d, 0);
  e2e::ClickButton(with_box, IDCANCEL);
  ExpectExitZero();

  HWND without = Open(Archive(0));
  ASSERT_NE(without, nullptr);
  EXPECT_FALSE(e2e::IsShown(without, IDC_SAVE_PASSWORD));
  EXPECT_FALSE(e2e::IsChecked(without, IDC_SAVE_PASSWORD));
  EXPECT_EQ(e2e::ControlText(without, IDOK), "Check") << "a saved password is not read";
  RECT moved_suicide = e2e::ScreenRect(without, IDC_SUICIDE);
  RECT moved_ok = e2e::ScreenRect(without, IDOK);
  RECT smaller = e2e::ScreenRect(without, 0);
  EXPECT_EQ(moved_suicide.top - smaller.top, save.top - whole.top);
  EXPECT_EQ(moved_suicide.left - smaller.left, save.left - whole.left);
  EXPECT_EQ(moved_ok.top - smaller.top, ok.top - whole.top - d);
  EXPECT_EQ(smaller.bottom - smaller.top, whole.bottom - whole.top - d);
  e2e::ClickButton(without, IDCANCEL);
  ExpectExitZero();
}

TEST_F(PasswordDialog, SuicideModesSetTheBox) {
  struct Case {
    int8_t mode;
    bool checked, enabled;
  };
  for (Case c : {Case{0, true, false}, Case{1, true, true}, Case{2, false, true}, Case{7, false, true}}) {
    HWND dialog = Open(Archive(0, c.mode));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(e2e::IsChecked(dialog, IDC_SUICIDE), c.checked) << int(c.mode);
    EXPECT_EQ(e2e::IsEnabled(dialog, IDC_SUICIDE), c.enabled) << int(c.mode);
    e2e::ClickButton(dialog, IDCANCEL);
    ExpectExitZero();
  }
}

TEST_F(PasswordDialog, OtherVersionsAreRefusedUnderTheFixedTitle) {
  for (uint32_t version : {300u, 302u}) {
    ASSERT_TRUE(Archive(0, 2, version).WriteTo(archive_));
    Start(":::" + archive_, "");
    e2e::MessageBoxContent box = e2e::WaitForMessageBox(process_->id());
    EXPECT_EQ(box.title, "Kelvarin");
    EXPECT_EQ(box.text, Expected(TextId::kNewerVersion));
    EXPECT_TRUE(box.has_icon);
    e2e::ClickButton(box.window, IDOK);
    ExpectExitZero();
  }
}

TEST_F(PasswordDialog, NoArchiveIsRefusedUnderItsPath) {
  for (const std::string& path : {folder_.File("missing.exe"), e2e::DecoderPath(), std::string()}) {
    Start(":::" + path, "");
    e2e::MessageBoxContent box = e2e::WaitForMessageBox(process_->id());
    EXPECT_EQ(box.title, path);
    EXPECT_EQ(box.text, Expected(TextId::kNotArchive));
    EXPECT_TRUE(box.has_icon);
    e2e::ClickButton(box.window, IDOK);
    ExpectExitZero();
  }
}

}  // namespace

// The password dialog before any decode: what initialisation shows, the
// button text and the check run by a short password.
#include "decoder_session.h"
#include "win32/resource_ids.h"

namespace {

using e2e::Expected;
using ui::TextId;

constexpr char kReportCaption[] = "Quarterly report";

encoder::ArchiveWriter Archive(unsigned char flags, int8_t suicide_mode = 2) {
  encoder::ArchiveWriter writer(e2e::DecoderBytes());
  writer.AddEntryHeader({.flags = flags, .suicide_mode = suicide_mode, .caption = kReportCaption});
  writer.AddDataBlock(test_support::RandomBytes(4000));
  return writer;
}

void StoreSavedPassword(const std::string& text) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, e2e::SettingsKey().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "DecodeAuto", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                 static_cast<DWORD>(text.size()));
  RegCloseKey(key);
}

class PasswordDialog : public e2e::DecoderSession {
 protected:
  HWND Open(const encoder::ArchiveWriter& writer) {
    WriteArchive(writer);
    return OpenDialog("", kReportCaption);
  }
  void Type(const std::string& password) { SetDlgItemTextA(dialog_, IDC_PASSWORD_EDIT, password.c_str()); }
  void Close() {
    e2e::ClickButton(dialog_, IDCANCEL);
    ExpectExitZero();
  }
};

TEST_F(PasswordDialog, ShortPasswordChecksAGoodArchiveAndReturnsToInputOrEndsOnAFault) {
  ASSERT_NE(Open(Archive(0)), nullptr);
  TypeAndOk("abc");
  e2e::MessageBoxContent box = NextMessage();
  EXPECT_EQ(box.text, archive_ + "\n\n" + Expected(TextId::kCheckNoProblem));
  EXPECT_EQ(box.title, kReportCaption);
  EXPECT_FALSE(box.has_icon);
  Dismiss(box);
  ExpectBackAtInput(kReportCaption);
  Close();

  encoder::ArchiveWriter faulty = Archive(0);
  faulty.AddRaw(encoder::Bytes(7, 1));  // trailing bytes fail the header probe
  ASSERT_NE(Open(faulty), nullptr);
  TypeAndOk("ab");
  box = NextMessage();
  EXPECT_EQ(box.text, Expected(TextId::kCheckHeaderShort));
  EXPECT_TRUE(box.has_icon);
  Dismiss(box);
  ExpectExitZero();
}

// With password saving the saved password fills the edit; without, its
// box is hidden and the layout moves up. Suicide mode 1 checks the box;
// a mode beyond 2 leaves it as it is.
TEST_F(PasswordDialog, ShowsCaptionTextsTheButtonThatFitsThePasswordAndTheLayoutOfEitherForm) {
  StoreSavedPassword("secret-password");
  ASSERT_NE(Open(Archive(archive::kPasswordSaving, 1)), nullptr);
  EXPECT_EQ(e2e::ControlText(dialog_, IDC_PROMPT), Expected(TextId::kPasswordPrompt));
  EXPECT_EQ(e2e::ControlText(dialog_, IDC_SAVE_PASSWORD), Expected(TextId::kSavePassword));
  EXPECT_EQ(e2e::ControlText(dialog_, IDC_SUICIDE), Expected(TextId::kSuicide));
  EXPECT_EQ(e2e::ControlText(dialog_, IDCANCEL), "Cancel");
  EXPECT_TRUE(e2e::IsShown(dialog_, IDC_SAVE_PASSWORD));
  EXPECT_TRUE(e2e::IsChecked(dialog_, IDC_SAVE_PASSWORD));
  EXPECT_EQ(e2e::ControlText(dialog_, IDOK), "OK") << "the saved password fills the edit";
  EXPECT_TRUE(e2e::IsChecked(dialog_, IDC_SUICIDE));
  EXPECT_TRUE(e2e::IsEnabled(dialog_, IDC_SUICIDE));
  const RECT save = e2e::ScreenRect(dialog_, IDC_SAVE_PASSWORD);
  const RECT ok = e2e::ScreenRect(dialog_, IDOK);
  const RECT whole = e2e::ScreenRect(dialog_, 0);
  const long d = e2e::ScreenRect(dialog_, IDC_SUICIDE).top - save.top;
  EXPECT_GT(d, 0);
  // Four bytes make "OK": two double-byte Shift-JIS characters count as four.
  for (const auto& [password, button] : {std::pair<std::string, std::string>{"", "Check"},
                                         {"abcd", "OK"}, {"abc", "Check"}, {"\x82\xA0\x82\xA2", "OK"}}) {
    Type(password);
    EXPECT_EQ(e2e::ControlText(dialog_, IDOK), button) << password;
  }
  Close();

  ASSERT_NE(Open(Archive(0, 7)), nullptr);
  EXPECT_FALSE(e2e::IsShown(dialog_, IDC_SAVE_PASSWORD));
  EXPECT_FALSE(e2e::IsChecked(dialog_, IDC_SUICIDE));
  EXPECT_TRUE(e2e::IsEnabled(dialog_, IDC_SUICIDE));
  EXPECT_FALSE(e2e::IsChecked(dialog_, IDC_SAVE_PASSWORD));
  EXPECT_EQ(e2e::ControlText(dialog_, IDOK), "Check") << "a saved password is not read";
  const RECT suicide = e2e::ScreenRect(dialog_, IDC_SUICIDE);
  const RECT smaller = e2e::ScreenRect(dialog_, 0);
  EXPECT_EQ(suicide.top - smaller.top, save.top - whole.top) << "Suicide takes the place of Save Password";
  EXPECT_EQ(suicide.left - smaller.left, save.left - whole.left);
  EXPECT_EQ(e2e::ScreenRect(dialog_, IDOK).top - smaller.top, ok.top - whole.top - d);
  EXPECT_EQ(smaller.bottom - smaller.top, whole.bottom - whole.top - d);
  Close();
}

}  // namespace

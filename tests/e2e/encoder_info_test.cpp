// The encoder information dialog inside a decode: what it says, what it
// stores under the encoder's serial, and when the decode shows it.
#include <functional>

#include "decoder_session.h"
#include "ui/volume_root.h"
#include "win32/resource_ids.h"

namespace {

using e2e::Expected;
using ui::Language;
using ui::TextId;

const std::string kInfoTitle = "Kelvarin Decoder Ver3.00";
constexpr char kDecodeKey[] = "Software\\By Mobrae\\kelvarin\\decode\\";

// Wine takes the time zone from TZ, which the test run sets (Asia/Tokyo,
// nine hours from UTC) for this program and the decoders it starts alike.
// The encoding time is the moment that reads 1 June 2001 09:30:00 in that
// zone, converted by the inverse call.
uint32_t SecondsAtLocalTime(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  SYSTEMTIME local{year, month, 0, day, hour, minute, 0, 0}, utc{};
  EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
  FILETIME ticks{};
  SystemTimeToFileTime(&utc, &ticks);
  const uint64_t value = (static_cast<uint64_t>(ticks.dwHighDateTime) << 32) | ticks.dwLowDateTime;
  return static_cast<uint32_t>(value / 10000000 - 11644473600ull);
}
uint32_t JuneFirst2001At0930() {
  static const uint32_t seconds = SecondsAtLocalTime(2001, 6, 1, 9, 30);
  return seconds;
}

std::string TimeZoneNote() {
  TIME_ZONE_INFORMATION zone{};
  GetTimeZoneInformation(&zone);
  return "time zone bias " + std::to_string(zone.Bias) + " minutes (TZ=" + (getenv("TZ") ? getenv("TZ") : "") + ")";
}

// Readable (UTF-8) text as the program holds it in this language's code page.
std::string Local(const char* utf8) {
  wchar_t wide[512];
  char out[1024];
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512);
  WideCharToMultiByte(e2e::SystemLanguage() == Language::kJapanese ? 932 : 1252, 0, wide, n, out, sizeof out,
                      nullptr, nullptr);
  return out;
}
std::string InEither(const char* english, const char* japanese_utf8) {
  return e2e::SystemLanguage() == Language::kJapanese ? Local(japanese_utf8) : english;
}

std::string SerialText(uint32_t serial) {
  char text[16];
  snprintf(text, sizeof text, "%08X", serial);
  return text;
}

struct Registration {
  bool present = false;
  std::string name;
  DWORD name_type = 0, name_size = 0;
  DWORD count = 0, count_type = 0;
};

Registration ReadRegistration(uint32_t serial) {
  Registration r;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, (kDecodeKey + SerialText(serial)).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return r;
  r.present = true;
  char name[256] = {};
  r.name_size = sizeof name;
  RegQueryValueExA(key, "Name", nullptr, &r.name_type, reinterpret_cast<BYTE*>(name), &r.name_size);
  r.name = name;
  DWORD size = sizeof r.count;
  RegQueryValueExA(key, "Count", nullptr, &r.count_type, reinterpret_cast<BYTE*>(&r.count), &size);
  RegCloseKey(key);
  return r;
}

void Register(uint32_t serial, const std::string& name, DWORD count) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (kDecodeKey + SerialText(serial)).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()), name.size() + 1);
  RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
  RegCloseKey(key);
}

// The serial of the Windows folder's drive, found as the program finds it.
uint32_t LocalVolumeSerial() {
  char root[MAX_PATH + 1] = {};
  EXPECT_GT(GetWindowsDirectoryA(root, MAX_PATH), 0u);
  ui::CutToVolumeRoot(root, sizeof root, [](unsigned char b) { return IsDBCSLeadByte(b) != 0; });
  DWORD serial = 0;
  EXPECT_TRUE(GetVolumeInformationA(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) << root;
  return serial;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
  return gui.hwndFocus;
}

// Presses Set name and waits for the name edit to take the button's place.
bool OpenNameEdit(HWND info) {
  e2e::ClickButton(info, IDC_SET_NAME);
  return e2e::PollUntil([info] { return e2e::IsShown(info, IDC_NAME_EDIT) && !e2e::IsShown(info, IDC_SET_NAME); },
                        10000);
}

std::string LastLine(const std::string& text) {
  size_t at = text.rfind("\r\n");
  return at == std::string::npos ? text : text.substr(at + 2);
}

encoder::Entry MakeEntry(const std::string& name, uint32_t serial, uint32_t encoding_time = JuneFirst2001At0930()) {
  encoder::Entry entry = test_support::MakeEntry(name, encoder::Bytes(200, 'k'), e2e::DecoderSession::kCaption,
                                                 encoder::kShowEncoderInformation);
  entry.record.encoder_serial = serial;
  entry.record.encoding_time = encoding_time;
  return entry;
}

void Continue(HWND info) { e2e::ClickButton(info, IDOK); }

class EncoderInfo : public e2e::DecoderSession {
 protected:
  // Starts a decode of the archive and waits for the information dialog.
  // The folder browser opens at the current folder: the test's own.
  HWND DecodeUntilInformation() {
    if (!OpenDialog("", kCaption)) return nullptr;
    TypeAndOk(kPassword);
    return e2e::WaitForDialog(process_->id(), kInfoTitle);
  }
  // After the information dialog: Save-As for the entry, then the end.
  void SaveAndExpectEnd(const std::string& name) {
    ASSERT_TRUE(e2e::AnswerSaveAs(process_->id(), kCaption, dialog_, folder_.File(name)));
    ExpectExitZero();
  }
  // One decode of a plain-named entry; `answer` closes the information
  // dialog once its text has been read. Gives that text.
  std::string DecodeOnce(uint32_t serial, const std::function<void(HWND)>& answer,
                         uint32_t encoding_time = JuneFirst2001At0930()) {
    const std::string name = "once" + std::to_string(++decodes_) + ".txt";
    WriteArchive({MakeEntry(name, serial, encoding_time)});
    HWND info = DecodeUntilInformation();
    if (!info) return "";
    const std::string text = e2e::ControlText(info, IDC_INFO_TEXT);
    answer(info);
    SaveAndExpectEnd(name);
    return text;
  }

  int decodes_ = 0;
};

TEST_F(EncoderInfo, ShowsTheRegisteredNameAndLocalTimeAndCountsOnContinue) {
  Register(0x0012ABCD, "Office PC", 2);
  const std::string text = DecodeOnce(0x0012ABCD, [this](HWND info) {
    EXPECT_EQ(e2e::ControlText(info, IDOK), InEither("&Continue", "(&C)表示終了"));
    EXPECT_EQ(e2e::ControlText(info, IDC_SET_NAME), InEither("&Set name", "(&S)名称登録"));
    EXPECT_TRUE(e2e::IsShown(info, IDC_SET_NAME));
    EXPECT_FALSE(e2e::IsShown(info, IDC_NAME_EDIT));
    EXPECT_EQ(FocusOf(info), GetDlgItem(info, IDOK)) << "the focus starts on the first tab stop";
    EXPECT_FALSE(IsWindowEnabled(dialog_)) << "the password dialog waits under the modal dialog";
    e2e::Screenshot(dialog_, "encoder-information");
    Continue(info);
  });
  EXPECT_EQ(text, InEither("Encoded by\r\n--0012ABCD--\r\nOffice PC.\r\n\r\nFri Jun 01 09:30:00 2001\r\n"
                           "Created at above date.\r\n\r\n3th try to decode.",
                           "この暗号ファイルは\r\n--0012ABCD--\r\nOffice PC\r\nによって\r\n\r\nFri Jun 01 09:30:00 2001\r\n"
                           "に作成されました．\r\n\r\n3 回目の暗号解除です."))
      << TimeZoneNote();
  Registration r = ReadRegistration(0x0012ABCD);
  EXPECT_EQ(r.count, 3u);
  EXPECT_EQ(r.count_type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(r.name, "Office PC") << "Continue keeps the registered name";
  EXPECT_EQ(r.name_type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(r.name_size, 10u) << "stored with its terminator";
}

TEST_F(EncoderInfo, FirstDecodeSaysFirstTryThenCountsWithTh) {
  const std::string first = DecodeOnce(0xA1B2C3D4, Continue, 0x80000000);
  EXPECT_EQ(LastLine(first), LastLine(Expected(TextId::kInfoFirstTry)));
  EXPECT_NE(first.find("\r\n--A1B2C3D4--\r\n" + InEither(".", "\r\nによって")), std::string::npos)
      << "no name registered: nothing between the serial and the line end\n" << first;
  EXPECT_NE(first.find("\r\n" + std::string(Expected(TextId::kInfoUnknownDate)) + "\r\n"), std::string::npos)
      << "an encoding time of 2^31 seconds has no date\n" << first;
  Registration r = ReadRegistration(0xA1B2C3D4);
  EXPECT_TRUE(r.present);
  EXPECT_EQ(r.count, 1u);
  EXPECT_EQ(r.name, "");
  EXPECT_EQ(r.name_size, 1u);

  const std::string second = DecodeOnce(0xA1B2C3D4, Continue);
  EXPECT_EQ(LastLine(second), InEither("2th try to decode.", "2 回目の暗号解除です."));
  EXPECT_EQ(ReadRegistration(0xA1B2C3D4).count, 2u);
}

// Set name, then End, stores the edit's text; Escape and the close box
// count the decode and keep the name, whatever the edit held.
TEST_F(EncoderInfo, OnlyEndStoresTheNameEveryWayOutCountsTheDecode) {
  const uint32_t serial = 0x00C0FFEE;
  Register(serial, "Old name", 5);
  DecodeOnce(serial, [this](HWND info) {
    ASSERT_TRUE(OpenNameEdit(info));
    EXPECT_EQ(e2e::ControlText(info, IDOK), Expected(TextId::kInfoEnd));
    EXPECT_EQ(e2e::ControlText(info, IDC_NAME_EDIT), "Old name");
    EXPECT_EQ(FocusOf(info), GetDlgItem(info, IDC_NAME_EDIT)) << "the hidden button hands the focus on";
    SetDlgItemTextA(info, IDC_NAME_EDIT, "New desk");
    e2e::Screenshot(dialog_, "encoder-information-naming");
    e2e::ClickButton(info, IDOK);
  });
  Registration r = ReadRegistration(serial);
  EXPECT_EQ(r.name, "New desk");
  EXPECT_EQ(r.count, 6u);

  DecodeOnce(serial, [](HWND info) {
    ASSERT_TRUE(OpenNameEdit(info));
    SetDlgItemTextA(info, IDC_NAME_EDIT, "Dropped");
    PostMessageA(GetDlgItem(info, IDC_NAME_EDIT), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  DecodeOnce(serial, [](HWND info) { PostMessageA(info, WM_SYSCOMMAND, SC_CLOSE, 0); });
  r = ReadRegistration(serial);
  EXPECT_EQ(r.count, 8u);
  EXPECT_EQ(r.name, "New desk");

  // The name shows next time; clearing it stores an empty name.
  const std::string text = DecodeOnce(serial, [](HWND info) {
    ASSERT_TRUE(OpenNameEdit(info));
    SetDlgItemTextA(info, IDC_NAME_EDIT, "");
    e2e::ClickButton(info, IDOK);
  });
  EXPECT_NE(text.find("\r\nNew desk"), std::string::npos) << text;
  r = ReadRegistration(serial);
  EXPECT_EQ(r.name, "");
  EXPECT_EQ(r.name_size, 1u);
  EXPECT_EQ(r.count, 9u);
}

// An entry from this computer says so and offers no name; the dialog is
// shown only until the run has chosen its folder.
TEST_F(EncoderInfo, ThisComputerAndShownOnlyUntilTheRunHasChosenItsFolder) {
  const uint32_t local = LocalVolumeSerial();
  Register(local, "Not shown", 7);
  WriteArchive({MakeEntry("\\a.txt", local), MakeEntry("\\b.txt", 0x11110002), MakeEntry("c.txt", 0x11110003)});
  HWND info = DecodeUntilInformation();
  ASSERT_NE(info, nullptr);
  const std::string text = e2e::ControlText(info, IDC_INFO_TEXT);
  EXPECT_NE(text.find("--" + SerialText(local) + "--\r\n" + Expected(TextId::kInfoThisComputer) +
                      InEither(".\r\n", "\r\nによって\r\n")),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("Not shown"), std::string::npos);
  EXPECT_FALSE(e2e::IsShown(info, IDC_SET_NAME));
  Continue(info);
  ASSERT_TRUE(e2e::AnswerFolderBrowser(process_->id(), folder_.path()));
  // A second information dialog would hold the run: Save-As must come next.
  SaveAndExpectEnd("c.txt");
  EXPECT_EQ(ReadRegistration(local).count, 8u);
  EXPECT_FALSE(ReadRegistration(0x11110002).present);
  EXPECT_FALSE(ReadRegistration(0x11110003).present);
}

}  // namespace

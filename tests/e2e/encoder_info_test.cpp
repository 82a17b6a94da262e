// The encoder information dialog inside a decode: what it says and what
// it stores under the encoder's serial, whichever way it is left.
#include <functional>

#include "decoder_session.h"
#include "win32/resource_ids.h"

namespace {

using e2e::Expected;
using ui::Language;
using ui::TextId;

const std::string kInfoTitle = "Kelvarin Decoder Ver3.00";
const std::string kDecodeKey = e2e::SettingsKey() + "\\decode\\";

// Wine takes the time zone from TZ, which the test run sets (Asia/Tokyo,
// nine hours from UTC) for this program and the decoders it starts alike.
// The encoding time is the moment that reads 1 June 2001 09:30:00 in that
// zone, converted by the inverse call.
uint32_t JuneFirst2001At0930() {
  SYSTEMTIME local{2001, 6, 0, 1, 9, 30, 0, 0}, utc{};
  EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
  FILETIME ticks{};
  SystemTimeToFileTime(&utc, &ticks);
  return static_cast<uint32_t>(e2e::Ticks(ticks) / 10000000 - 11644473600ull);
}

std::string TimeZoneNote() {
  TIME_ZONE_INFORMATION zone{};
  GetTimeZoneInformation(&zone);
  return "time zone bias " + std::to_string(zone.Bias) + " minutes (TZ=" + (getenv("TZ") ? getenv("TZ") : "") + ")";
}

// The English text, or the Japanese one (readable, in UTF-8) as the
// program holds it, in code page 932.
std::string InEither(const char* english, const char* japanese_utf8) {
  if (e2e::SystemLanguage() != Language::kJapanese) return english;
  wchar_t wide[512];
  char out[1024];
  const int n = MultiByteToWideChar(CP_UTF8, 0, japanese_utf8, -1, wide, 512);
  WideCharToMultiByte(932, 0, wide, n, out, sizeof out, nullptr, nullptr);
  return out;
}

std::string SerialText(uint32_t serial) {
  char text[16];
  snprintf(text, sizeof text, "%08X", serial);
  return text;
}

struct Registration {
  std::string name;
  DWORD name_type = 0, name_size = 0;
  DWORD count = 0, count_type = 0;
};

Registration ReadRegistration(uint32_t serial) {
  Registration r;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, (kDecodeKey + SerialText(serial)).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return r;
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

// The serial of the Windows folder's drive, as the program finds it.
uint32_t LocalVolumeSerial() {
  char windows[MAX_PATH] = {};
  EXPECT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
  DWORD serial = 0;
  EXPECT_TRUE(
      GetVolumeInformationA(e2e::DriveRoot(windows).c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
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

void Continue(HWND info) { e2e::ClickButton(info, IDOK); }

class EncoderInfo : public e2e::DecoderSession {
 protected:
  // One decode of a plain-named entry: the information dialog awaited,
  // `answer` closing it once its text has been read, then Save-As for the
  // entry and the end. Gives that text.
  std::string DecodeOnce(uint32_t serial, const std::function<void(HWND)>& answer,
                         uint32_t encoding_time = JuneFirst2001At0930()) {
    const std::string name = "once" + std::to_string(++decodes_) + ".txt";
    encoder::Entry entry =
        test_support::MakeEntry(name, encoder::Bytes(200, 'k'), kCaption, archive::kShowEncoderInformation);
    entry.record.encoder_serial = serial;
    entry.record.encoding_time = encoding_time;
    WriteArchive({entry});
    if (!OpenDialog()) return "";
    TypeAndOk();
    HWND info = e2e::WaitForDialog(process_->id(), kInfoTitle);
    if (!info) return "";
    const std::string text = e2e::ControlText(info, IDC_INFO_TEXT);
    answer(info);
    EXPECT_TRUE(SaveAs(folder_.File(name)));
    ExpectExitZero();
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

// Set name, then End, stores the edit's text; Escape counts the decode
// and keeps the name, whatever the edit held.
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
  r = ReadRegistration(serial);
  EXPECT_EQ(r.count, 7u);
  EXPECT_EQ(r.name, "New desk");
}

// The first decode of an entry from this computer: this computer stands
// for the name and none can be set, an encoding time of 2^31 seconds has
// no date, and the decode is stored with an empty name.
TEST_F(EncoderInfo, FirstDecodeOfAnEntryFromThisComputer) {
  const uint32_t local = LocalVolumeSerial();
  const std::string text = DecodeOnce(
      local,
      [](HWND info) {
        EXPECT_FALSE(e2e::IsShown(info, IDC_SET_NAME));
        Continue(info);
      },
      0x80000000);
  EXPECT_NE(text.find("--" + SerialText(local) + "--\r\n" + Expected(TextId::kInfoThisComputer) +
                      InEither(".", "\r\nによって") + "\r\n\r\n" + Expected(TextId::kInfoUnknownDate) + "\r\n"),
            std::string::npos)
      << text;
  EXPECT_TRUE(text.ends_with(Expected(TextId::kInfoFirstTry))) << text;
  const Registration r = ReadRegistration(local);
  EXPECT_EQ(r.count, 1u);
  EXPECT_EQ(r.name, "");
  EXPECT_EQ(r.name_size, 1u) << "an empty name, stored with its terminator";
}

}  // namespace

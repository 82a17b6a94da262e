// The dialog shows the information text, lets the user register a name
// for the encoder serial, and on every way out stores the name and one
// more decode. It always ends with result 0.
#include "win32/encoder_info_dialog.h"

#include "ui/encoder_info_text.h"
#include "win32/encoder_registration.h"
#include "win32/language.h"
#include "win32/local_time.h"
#include "win32/local_volume.h"
#include "win32/resource_ids.h"

namespace win32 {
namespace {

constexpr int kMajorVersion = 3;
constexpr int kMinorVersion = 0;

// Set afresh by every initialisation; one dialog runs at a time.
struct InfoState {
  char serial_text[ui::kSerialTextCapacity];
  char encoder_name[ui::kEncoderNameCapacity];
  uint32_t decode_count;
  bool name_edit_opened;
} g_info;

void Initialise(HWND dialog, const archive::FileRecord& record) {
  ui::FormatSerialText(record.encoder_serial, g_info.serial_text);
  LoadEncoderRegistration(g_info.serial_text, g_info.encoder_name, &g_info.decode_count);
  g_info.name_edit_opened = false;

  uint32_t local_serial;
  const bool this_computer = LocalVolumeSerial(&local_serial) && local_serial == record.encoder_serial;
  if (this_computer) ShowWindow(GetDlgItem(dialog, IDC_SET_NAME), SW_HIDE);

  ui::LocalTime encoded_at;
  const bool dated = EncodingLocalTime(record.encoding_time, &encoded_at);
  const ui::EncoderInfo info{g_info.serial_text, g_info.encoder_name, this_computer, dated ? &encoded_at : nullptr,
                         g_info.decode_count};
  const ui::Language language = CurrentLanguage();
  char text[ui::kInfoTextCapacity];
  ui::BuildEncoderInfoText(info, language, text, sizeof text);
  SetDlgItemTextA(dialog, IDC_INFO_TEXT, text);

  if (language != ui::Language::kJapanese) {
    SetDlgItemTextA(dialog, IDOK, ui::Text(ui::TextId::kInfoContinue, ui::Language::kEnglish));
    SetDlgItemTextA(dialog, IDC_SET_NAME, ui::Text(ui::TextId::kInfoSetName, ui::Language::kEnglish));
  }
  char title[64];
  wsprintfA(title, ui::Text(ui::TextId::kInfoVersionTitle, ui::Language::kEnglish), kMajorVersion, kMinorVersion);
  SetWindowTextA(dialog, title);
}

void OpenNameEdit(HWND dialog) {
  SetDlgItemTextA(dialog, IDOK, LocalText(ui::TextId::kInfoEnd));
  HWND edit = GetDlgItem(dialog, IDC_NAME_EDIT);
  ShowWindow(edit, SW_SHOW);
  SetWindowTextA(edit, g_info.encoder_name);
  g_info.name_edit_opened = true;
  // The button about to be hidden holds the focus; the user came to type.
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  ShowWindow(GetDlgItem(dialog, IDC_SET_NAME), SW_HIDE);
}

void SaveAndEnd(HWND dialog) {
  StoreEncoderRegistration(g_info.serial_text, g_info.encoder_name, ui::NextDecodeCount(g_info.decode_count));
  EndDialog(dialog, 0);
}

INT_PTR CALLBACK EncoderInfoDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    Initialise(dialog, *reinterpret_cast<const archive::FileRecord*>(lparam));
    return 1;
  }
  if (message != WM_COMMAND) return 0;
  switch (LOWORD(wparam)) {
    case IDC_SET_NAME: OpenNameEdit(dialog); break;
    case IDOK:
      if (g_info.name_edit_opened) GetDlgItemTextA(dialog, IDC_NAME_EDIT, g_info.encoder_name, ui::kEncoderNameCapacity);
      SaveAndEnd(dialog);
      break;
    case IDCANCEL: SaveAndEnd(dialog); break;
    default: break;
  }
  return 0;
}

}  // namespace

void ShowEncoderInformationDialog(HWND owner, const archive::FileRecord& record) {
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ENCODER_INFO), owner, EncoderInfoDialogProc,
                  reinterpret_cast<LPARAM>(&record));
}

}  // namespace win32

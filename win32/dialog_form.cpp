// The dialog form: the password dialog and the message loop that serves
// it until the dialog posts quit.
#include <windows.h>

#include "win32/forms.h"
#include "win32/password_dialog.h"

namespace win32 {

void RunDialogForm(archive::SharedState& state) {
  HWND dialog = CreatePasswordDialog(state);
  if (!dialog) return;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  DestroyWindow(dialog);
}

}  // namespace win32

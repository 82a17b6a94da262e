// Screen captures of the program's windows, for the demo and for looking
// at the dialogs by eye.
#pragma once

#include <windows.h>
#include <string>

namespace window_driver {

// Saves the window and the windows it owns (message boxes, Save-As, the
// folder browser), as the screen shows them, as a 24-bit BMP file.
bool SaveWindowScreenshot(HWND window, const std::string& bmp_path);

}  // namespace window_driver

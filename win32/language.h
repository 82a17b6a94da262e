// The text form for this computer: Japanese when the OEM code page is 932.
#pragma once

#include <windows.h>

#include "ui/texts.h"

namespace win32 {

inline ui::Language CurrentLanguage() { return ui::LanguageForOemCodePage(GetOEMCP()); }
inline const char* LocalText(ui::TextId id) { return ui::Text(id, CurrentLanguage()); }

}  // namespace win32

// The text form for this computer: Japanese when the OEM code page is 932.
#pragma once

#include <windows.h>

#include "ui/texts.h"

namespace ui {

inline Language CurrentLanguage() { return LanguageForOemCodePage(GetOEMCP()); }
inline const char* LocalText(TextId id) { return Text(id, CurrentLanguage()); }

}  // namespace ui

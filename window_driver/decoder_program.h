// The program under test: the built decoder.exe, copies of it to start,
// and the texts it shows in this system's language.
#pragma once

#include <string>

#include "ui/texts.h"
#include "window_driver/processes.h"

namespace window_driver {

// decoder.exe as Windows programs see its path.
std::string DecoderPath();
// Copies decoder.exe into the folder under a name not used before, with a
// blank in it: every run of the dialog or check form ends with its program
// file deleted, so each run needs a copy of its own. Empty when the copy
// failed.
std::string FreshCopyOfDecoder(const TempFolder& folder);

ui::Language SystemLanguage();
const char* Expected(ui::TextId id);

}  // namespace window_driver

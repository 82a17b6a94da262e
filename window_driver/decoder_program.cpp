#include "window_driver/decoder_program.h"

#include <windows.h>

namespace window_driver {

std::string DecoderPath() { return WindowsPath(KELVARIN_DECODER_PATH); }

std::string FreshCopyOfDecoder(const TempFolder& folder) {
  static int copies = 0;
  const std::string path = folder.File("decoder copy " + std::to_string(++copies) + ".exe");
  return CopyFileA(DecoderPath().c_str(), path.c_str(), FALSE) ? path : "";
}

ui::Language SystemLanguage() { return ui::LanguageForOemCodePage(GetOEMCP()); }
const char* Expected(ui::TextId id) { return ui::Text(id, SystemLanguage()); }

}  // namespace window_driver

// The code page an archive's stored texts (names and captions) were
// written in, told from their bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace decode {

struct NameReading {
  uint32_t code_page = 0;  // 932, 1252 or 65001 (UTF-8); 0 when every text is ASCII
  uint32_t runner_up = 0;  // the next-best candidate that reads every text, 0 when none
  bool close = false;      // the two best readings are too near to be sure
};

NameReading ChooseNameCodePage(const std::vector<std::string>& stored_texts);

}  // namespace decode

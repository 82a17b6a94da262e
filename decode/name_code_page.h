// Which code page an archive's stored texts (entry names and captions) are
// in, judged from the bytes alone. Windows wrote them in its ANSI code
// page: 932 (Shift-JIS) on Japanese systems, 1252 on most others; other
// tools write UTF-8. Many texts are valid in more than one of these (every
// lower-case accented letter of 1252 is a lead byte of 932), so each
// reading that holds is weighed by what it makes of the bytes, over all
// texts together.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace decode {

struct NameReading {
  uint32_t code_page = 0;  // 932, 1252 or 65001 (platform::kUtf8CodePage); 0 when every text is ASCII
  uint32_t runner_up = 0;  // the next-best candidate that reads every text, 0 when none
  bool close = false;      // the two best readings are too near to be sure
};

// When no candidate reads every text, the one that reads the most is
// chosen (runner_up 0): the texts it cannot read are for the caller to
// report.
NameReading ChooseNameCodePage(const std::vector<std::string>& stored_texts);

}  // namespace decode

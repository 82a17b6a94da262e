// Which code page list and extract read an archive's texts in, and the
// password's bytes in that code page. Named by --encoding, or chosen by
// the auto rule from the stored names (see cli/text_encoding.h).
#pragma once

#include <cstdint>
#include <string>

#include "archive/shared_state.h"
#include "cli/text_encoding.h"

namespace cli {

struct ArchiveTexts {
  uint32_t code_page = 0;
  std::string password;  // the bytes that key the cipher
};

// The password typed or read here is UTF-8; it keys the cipher in the
// archive's code page. A password that is not UTF-8 is taken as the bytes
// it is. With auto, a password that is not ASCII is tried in CP932 and in
// CP1252, and the one that opens the first entry is kept. Says which code
// page auto chose when the names needed a choice. False (said) when the
// password cannot be written in the code page.
bool ResolveArchiveTexts(const archive::SharedState& state, const Encoding& encoding, const std::string& password,
                         ArchiveTexts* texts);

}  // namespace cli

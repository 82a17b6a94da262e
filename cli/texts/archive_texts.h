// Which code page list and extract read an archive's texts in, and the
// password's bytes in that code page, as the core decides them
// (decode/archive_reading.h), with what the user is told about the choice.
#pragma once

#include <cstdint>
#include <string>

#include "archive/shared_state.h"
#include "cli/texts/text_encoding.h"

namespace cli {

struct ArchiveTexts {
  uint32_t code_page = 0;
  std::string password;  // the bytes that key the cipher
};

// The password typed or read here is UTF-8. Says which code page auto
// chose when the names needed a choice, and says more when the choice
// was close. Returns kExitOk, or the status of what it said: kExitUsage
// when the named code page cannot write the password, kExitArchive for a
// wrong password (proved over the whole archive: nothing is written).
int ResolveArchiveTexts(const archive::SharedState& state, const Encoding& encoding, const std::string& password,
                        ArchiveTexts* texts);

}  // namespace cli

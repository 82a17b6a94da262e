// What `kelvarin pack` is told on its command line, and the stub it uses
// when it is told none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/texts/password_input.h"
#include "cli/texts/text_encoding.h"

namespace cli {

struct PackOptions {
  std::string stub;
  std::string output;
  std::string caption;
  bool caption_given = false;
  unsigned char flags = 0;
  int8_t suicide_mode = 2;
  uint32_t block_size = 16384;
  bool relative = false;
  bool overwrite = false;
  bool quiet = false;
  uint32_t serial = 0x4B454C56;
  uint32_t encoding_time = 0;
  bool time_given = false;
  PasswordSource password;
  Encoding encoding;
  std::vector<std::string> files;
};

// False with what is wrong in error for anything it cannot take. Fills in
// the installed stub when none is named, and the caption from the
// output's name when none is given.
bool ParsePackOptions(int argc, char** argv, PackOptions& options, std::string& error);

}  // namespace cli

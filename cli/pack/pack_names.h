// The names `pack` stores: each file's output name in the archive's code
// page, checked by the rules the decoder applies on Windows wherever pack
// runs (decode/name_rules.h), so that no archive it makes holds a name the
// decoder refuses or that Windows would make under another name, and no
// two entries that Windows would write to one file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/pack/pack_sources.h"
#include "cli/texts/text_encoding.h"

namespace cli {

struct StoredNames {
  uint32_t code_page = 0;
  std::vector<std::string> names;  // one for each source, in the code page
};

// The code page asked for, or by the auto rule the first of CP1252 and
// CP932 that holds every name, and each name in it. False with the
// problem, which names the file and the true cause: a name that is not
// UTF-8, that no code page tried holds, that the archive's code page
// cannot hold, that is longer than the record holds, that Windows cannot
// make as it is, or that Windows takes for the name of another entry
// (the same name, one that differs only in case, or a file where another
// entry needs a folder).
bool MakeStoredNames(const std::vector<PackSource>& sources, const Encoding& encoding, bool relative,
                     StoredNames* stored, PackInputProblem* problem);

}  // namespace cli

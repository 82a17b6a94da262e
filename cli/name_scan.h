// The stored output names of an archive's entries, read ahead of a decode
// run so that the encoding rule can see them all before the first file is
// named.
#pragma once

#include <string>
#include <vector>

#include "archive/shared_state.h"

namespace cli {

struct NameScan {
  bool password_right = true;  // false when the first entry's record was garbage
  std::vector<std::string> names;  // as stored, in archive order
};

// Walks the archive with the password's bytes as a decode run does, but
// only the first block of each entry, which holds its record, is
// decompressed: the others are deciphered and sized by the length their
// compressed form states. Writes nothing and says nothing; a damaged
// archive ends the scan with the names found so far.
NameScan ScanStoredNames(const archive::SharedState& state, const std::string& password);

}  // namespace cli

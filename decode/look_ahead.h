// A look over a whole archive ahead of a decode run: whether the password
// opens every entry, and the stored texts (names and captions) that the
// choice of their code page weighs. It costs a fraction of a run: only
// the start of each entry's first block is deciphered and decoded (the
// record), and of every other block only the few bytes that state its
// decoded length.
#pragma once

#include <string>
#include <vector>

#include "archive/shared_state.h"

namespace decode {

struct LookAhead {
  // False when an entry's record says the key is wrong: its size is not
  // 304, its block is too short to hold it, or the stream it comes from
  // did not hold up. A password one character off is caught so, but for
  // entries stored without compression, whose sizes may come out right:
  // there a name with a control character (no name Windows makes has
  // one) in an archive whose entries then fail to follow one another is
  // taken as the sign of a wrong key too.
  bool password_right = true;
  int entries = 0;                 // entries whose record was read
  std::vector<std::string> names;  // stored names, in archive order
  std::vector<std::string> captions;
};

// Walks the archive with the password's bytes as a decode run does, under
// the readers' rules. Writes nothing and says nothing; damage ends the
// look with what was seen before it.
LookAhead LookOver(const archive::SharedState& state, const std::string& password);

}  // namespace decode

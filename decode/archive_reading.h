// How a reader of archives away from the program reads an archive's
// texts: which bytes of the password open it, and which code page its
// names and captions are in. An archive holds them in the code page of
// the Windows that made it: Shift-JIS (932) on Japanese systems, Western
// (1252) on most others; other tools write UTF-8. The password is proved over the whole archive before a
// run writes anything (decode/look_ahead.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/shared_state.h"
#include "decode/name_code_page.h"
#include "decode/name_problem.h"

namespace decode {

struct PasswordForm {
  uint32_t code_page = 0;
  std::string bytes;
};

// The password, given in UTF-8, in each code page it may have been typed
// in where the archive was made, in the order they are tried: CP932,
// CP1252, UTF-8; each once, and only where the code page can write it. A
// password that is ASCII, or no UTF-8, has one form: its bytes. With a
// code page named (not 0), only that one.
std::vector<PasswordForm> PasswordForms(const std::string& password, uint32_t code_page);

struct ArchiveReading {
  enum class Verdict {
    kOpens,              // the password opens every entry seen
    kWrongPassword,      // no form of it does: nothing may be written
    kPasswordUnwritable  // the named code page cannot write the password
  };
  Verdict verdict = Verdict::kOpens;
  std::string password;   // the bytes that key the cipher
  uint32_t code_page = 0;  // of the names and captions
  // What the names said, when the choice was left to them (code page 0).
  NameReading by_names;
  bool chosen_by_names = false;
};

// code_page 0 chooses: the names decide, unless they are all ASCII or
// too close to call, when a password that is not ASCII decides by the
// form that opened the archive; else CP1252.
ArchiveReading ReadArchive(const archive::SharedState& state, const std::string& password, uint32_t code_page);

// A stored text of the code page in UTF-8, as readers away from Windows
// spell names, into local (capacity bytes).
NameProblem SpellInUtf8(uint32_t code_page, const char* stored, char* local, int capacity);

}  // namespace decode

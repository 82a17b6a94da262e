// Where the tool gets a password: a file named by --password-file (its
// first line, at most 4096 bytes, after a UTF-8 byte-order mark if there
// is one), the visible --password option, or a prompt on the terminal
// that does not echo. Every command reads it here, so that each refuses
// the same things alike.
#pragma once

#include <string>

namespace cli {

struct PasswordSource {
  const char* file = nullptr;  // --password-file
  const char* text = nullptr;  // --password
};

// False (with a message on stderr) when no password could be had, or it
// is empty or too long: a usage problem.
bool ReadPassword(const PasswordSource& source, std::string* password);

}  // namespace cli

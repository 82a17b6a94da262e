// Where the tool gets a password: a file named by --password-file (its
// first line), the visible --password option, or a prompt on the
// terminal that does not echo.
#pragma once

#include <string>

namespace cli {

struct PasswordSource {
  const char* file = nullptr;  // --password-file
  const char* text = nullptr;  // --password
};

// False (with a message on stderr) when no password could be had.
bool ReadPassword(const PasswordSource& source, std::string* password);

}  // namespace cli

// The password side of the reference encoder: which passwords it accepts,
// and the key string built from one, freed when it goes out of scope.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>

namespace encoder {

enum class PasswordProblem {
  kNone,
  kTooShort,                // fewer than 4 bytes: the decoder would only check
  kContainsNul,             // a password typed into the decoder never holds one
  kUndefinedTransposition,  // its first four bytes leave a cipher pass undefined
};

PasswordProblem CheckPassword(const std::string& password);
const char* PasswordProblemText(PasswordProblem problem);

// The key string for any password (also one that CheckPassword refuses, so
// that tests can build odd archives); empty only when memory ran out.
class KeyString {
 public:
  explicit KeyString(const std::string& password);
  const char* get() const { return key_.get(); }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  struct FreeDeleter {
    void operator()(char* p) const { free(p); }
  };
  std::unique_ptr<char, FreeDeleter> key_;
};

}  // namespace encoder

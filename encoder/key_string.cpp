#include "encoder/key_string.h"

#include "codec/block_cipher.h"

namespace encoder {

constexpr size_t kMinPasswordLength = 4;

PasswordProblem CheckPassword(const std::string& password) {
  if (password.size() < kMinPasswordLength) return PasswordProblem::kTooShort;
  if (password.find('\0') != std::string::npos) return PasswordProblem::kContainsNul;
  KeyString key(password);
  if (key && codec::KeyHasUndefinedTransposition(key.get())) return PasswordProblem::kUndefinedTransposition;
  return PasswordProblem::kNone;
}

const char* PasswordProblemText(PasswordProblem problem) {
  switch (problem) {
    case PasswordProblem::kNone:
      return "password accepted";
    case PasswordProblem::kTooShort:
      return "the password must have at least 4 bytes";
    case PasswordProblem::kContainsNul:
      return "the password must not contain a NUL byte";
    case PasswordProblem::kUndefinedTransposition:
      return "the password's first four bytes make the cipher undefined; choose another password";
  }
  return "unknown password problem";
}

KeyString::KeyString(const std::string& password)
    : key_(codec::BuildKeyString(password.data(), static_cast<uint32_t>(password.size()))) {}

}  // namespace encoder

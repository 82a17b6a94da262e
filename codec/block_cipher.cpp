#include "codec/block_cipher.h"

#include <cstdlib>
#include <cstring>

#include "codec/cipher_passes.h"

namespace codec {
namespace {

// Room behind the password for its byte count and the NUL.
constexpr uint32_t kKeyStringSpare = 64;

// The key string's first four bytes as signed values; bytes behind an
// early NUL count as 0, so a short string is never read past its end.
struct KeyParameters {
  int32_t k[4] = {0, 0, 0, 0};
  unsigned char byte[4] = {0, 0, 0, 0};
};

KeyParameters ReadKeyParameters(const char* key_string) {
  KeyParameters params;
  for (int i = 0; i < 4 && key_string[i] != '\0'; ++i) {
    params.byte[i] = static_cast<unsigned char>(key_string[i]);
    params.k[i] = static_cast<signed char>(key_string[i]);
  }
  return params;
}

// Writes value in decimal, zero-padded to at least three digits, and
// returns the number of digits written.
uint32_t WriteCount(char* out, uint32_t value) {
  char reversed[10];
  uint32_t digits = 0;
  do {
    reversed[digits++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (digits < 3) reversed[digits++] = '0';
  for (uint32_t i = 0; i < digits; ++i) out[i] = reversed[digits - 1 - i];
  return digits;
}

// A transposition is left undefined when its matrix would start before the
// block (negative start, unless the step empties the pass: step bytes 0x80
// to 0xF8) or has no room to turn (step byte 0xF9: no row; 0xFA: one row).
bool StepEmptiesPass(unsigned char step) { return step >= 0x80 && step <= 0xF8; }
bool IsUndefined(unsigned char start, unsigned char step) {
  return (start >= 0x80 && !StepEmptiesPass(step)) || step == 0xF9 || step == 0xFA;
}

// The value a byte of a block has after a given number of the decipher
// passes, traced back to the stored bytes it comes from: transpositions
// move bytes, the key XORs change them where they stand, and the chain XOR
// joins a byte to its predecessor. So any deciphered byte costs a few
// steps, whatever the block's length.
class PassTracer {
 public:
  PassTracer(const unsigned char* stored, uint32_t len, const char* key_string)
      : stored_(stored), len_(len), key_(key_string), key_length_(static_cast<uint32_t>(strlen(key_string))),
        params_(ReadKeyParameters(key_string)) {
    last_step_ = len > 0 ? After(6, 0) : 0;  // the last pass never moves byte 0, which chose its step
  }

  unsigned char Deciphered(uint32_t position) const { return After(7, position); }

 private:
  unsigned char KeyByte(uint32_t position, uint32_t first) const {
    return key_length_ == 0 || position < first ? 0 : static_cast<unsigned char>(key_[(position - first) % key_length_]);
  }

  // The byte at position after `passes` passes of the decipher sequence.
  unsigned char After(int passes, uint32_t position) const {
    switch (passes) {
      case 7: return After(6, TransposeSource(position, len_, 1, last_step_));
      case 6: return After(5, position) ^ KeyByte(position, 0);
      case 5: return After(4, TransposeSource(position, len_, 2, 2));
      case 4: return position == 0 ? After(3, 0) : After(3, position) ^ After(3, position - 1);
      case 3: return After(2, TransposeSource(position, len_, params_.k[0], params_.k[2]));
      case 2: return After(1, position) ^ KeyByte(position, 1);
      case 1: return stored_[TransposeSource(position, len_, params_.k[1], params_.k[3])];
    }
    return stored_[position];
  }

  const unsigned char* stored_;
  uint32_t len_;
  const char* key_;
  uint32_t key_length_;
  KeyParameters params_;
  int32_t last_step_ = 0;
};

}  // namespace

char* BuildKeyString(const char* password, uint32_t password_length) {
  if (password_length > UINT32_MAX - kKeyStringSpare) return nullptr;
  char* key = static_cast<char*>(malloc(password_length + kKeyStringSpare));
  if (key == nullptr) return nullptr;
  memcpy(key, password, password_length);
  const uint32_t digits = WriteCount(key + password_length, password_length);
  key[password_length + digits] = '\0';
  return key;
}

void DecipherBlock(unsigned char* block, uint32_t len, const char* key_string) {
  const KeyParameters key = ReadKeyParameters(key_string);
  TransposePass(block, len, key.k[1], key.k[3]);
  KeyXorPass(block, len, 1, key_string);
  TransposePass(block, len, key.k[0], key.k[2]);
  ChainXorPass(block, len);
  TransposePass(block, len, 2, 2);
  KeyXorPass(block, len, 0, key_string);
  // The last pass never moves byte 0, which chose its step.
  if (len > 0) TransposePass(block, len, 1, block[0]);
}

void DecipherPrefix(const unsigned char* stored, uint32_t len, const char* key_string, unsigned char* out,
                    uint32_t count) {
  const PassTracer tracer(stored, len, key_string);
  for (uint32_t i = 0; i < count && i < len; ++i) out[i] = tracer.Deciphered(i);
}

void EncipherBlock(unsigned char* block, uint32_t len, const char* key_string) {
  const KeyParameters key = ReadKeyParameters(key_string);
  if (len > 0) InverseTransposePass(block, len, 1, block[0]);
  KeyXorPass(block, len, 0, key_string);
  InverseTransposePass(block, len, 2, 2);
  InverseChainXorPass(block, len);
  InverseTransposePass(block, len, key.k[0], key.k[2]);
  KeyXorPass(block, len, 1, key_string);
  InverseTransposePass(block, len, key.k[1], key.k[3]);
}

bool KeyHasUndefinedTransposition(const char* key_string) {
  const KeyParameters key = ReadKeyParameters(key_string);
  return IsUndefined(key.byte[0], key.byte[2]) || IsUndefined(key.byte[1], key.byte[3]);
}

}  // namespace codec

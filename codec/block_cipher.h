// The password block cipher: seven in-place passes over a data block,
// keyed by the key string (the password's bytes followed by their count
// printed with at least three digits).
#pragma once

#include <cstdint>

namespace codec {

// Returns the key string in memory from malloc, or null when memory cannot
// be had; the caller frees it with free(). password_length bytes of the
// password are used.
char* BuildKeyString(const char* password, uint32_t password_length);

// Deciphers len bytes in place (the decode direction).
void DecipherBlock(unsigned char* block, uint32_t len, const char* key_string);

// The first count bytes (at most len) that DecipherBlock would make of the
// block's len stored bytes, into out; the block is left as it is. Costs a
// few steps a byte, whatever len is: for readers that need only the start
// of a block, such as its compressed form's stated length.
void DecipherPrefix(const unsigned char* stored, uint32_t len, const char* key_string, unsigned char* out,
                    uint32_t count);

// The inverse sequence, for the encoder: EncipherBlock then DecipherBlock
// gives back the block, for every key the encoder accepts.
void EncipherBlock(unsigned char* block, uint32_t len, const char* key_string);

// True when the key's first four bytes would make a transposition pass
// undefined (a negative start without a step that empties the pass, or a
// step byte of 0xF9 or 0xFA). Such passes change nothing here; the
// encoder refuses these keys so that no archive depends on that choice.
bool KeyHasUndefinedTransposition(const char* key_string);

}  // namespace codec

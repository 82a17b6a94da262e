// The three kinds of in-place pass the block cipher is made of. Exposed
// on their own so that each can be checked against its definition.
#pragma once

#include <cstdint>

namespace codec {

// Turns every even column of the R x n matrix at `start` one row down
// (R = step + 7, n = (len - start) / R). A pass whose matrix would not lie
// inside the block (negative start, fewer than two rows) changes nothing.
void TransposePass(unsigned char* block, uint32_t len, int32_t start, int32_t step);
// Where the byte that TransposePass puts at position came from.
uint32_t TransposeSource(uint32_t position, uint32_t len, int32_t start, int32_t step);
// The same matrix with every even column turned one row up.
void InverseTransposePass(unsigned char* block, uint32_t len, int32_t start, int32_t step);

// XORs the bytes from `first` on with the key string, repeated from its
// first byte whenever its NUL is reached. An empty key changes nothing.
void KeyXorPass(unsigned char* block, uint32_t len, uint32_t first, const char* key_string);

// Each byte from 1 on takes the XOR of itself and its predecessor's old value.
void ChainXorPass(unsigned char* block, uint32_t len);
// Each byte from 1 on takes the XOR of itself and its predecessor's new value.
void InverseChainXorPass(unsigned char* block, uint32_t len);

}  // namespace codec

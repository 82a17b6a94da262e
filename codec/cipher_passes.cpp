#include "codec/cipher_passes.h"

#include <cstring>

#include "codec/byte_words.h"

namespace codec {
namespace {

// Columns are turned in slices this wide, so that one row of a slice can
// be parked on the stack while the others move.
constexpr uint32_t kSliceWidth = 256;

// Where a transposition's matrix lies in a block of len bytes.
struct Shape {
  uint32_t offset;
  uint32_t rows;
  uint32_t columns;
};

// False when the pass leaves the block as it is: no column fits, or the
// parameters would put the matrix outside the block (a negative start, or
// fewer than two rows). Rows are step + 7 in 32-bit two's complement, so
// a step of -8 or less gives a huge row count and no column.
bool FindShape(uint32_t len, int32_t start, int32_t step, Shape& shape) {
  const uint32_t rows = static_cast<uint32_t>(step) + 7u;
  if (start < 0 || rows < 2) return false;
  const uint32_t offset = static_cast<uint32_t>(start);
  if (len < offset) return false;
  const uint32_t columns = (len - offset) / rows;
  if (columns == 0) return false;
  shape = {offset, rows, columns};
  return true;
}

struct Matrix {
  unsigned char* origin;
  uint32_t rows;
  uint32_t columns;
  unsigned char* Row(uint32_t r) const { return origin + r * columns; }
};

bool FindMatrix(unsigned char* block, uint32_t len, int32_t start, int32_t step, Matrix& matrix) {
  Shape shape;
  if (!FindShape(len, start, step, shape)) return false;
  matrix = {block + shape.offset, shape.rows, shape.columns};
  return true;
}

// Copies the bytes at even offsets of src over those of dst (count bytes
// from an even column), leaving dst's odd columns alone.
void CopyEvenColumns(unsigned char* dst, const unsigned char* src, uint32_t count) {
  uint32_t i = 0;
  for (; i + 8 <= count; i += 8) {
    StoreWord(dst + i, (LoadWord(dst + i) & ~kEvenByteMask) | (LoadWord(src + i) & kEvenByteMask));
  }
  for (; i < count; i += 2) dst[i] = src[i];
}

void TurnEvenColumns(const Matrix& m, bool downwards) {
  const uint32_t last = m.rows - 1;
  unsigned char parked[kSliceWidth];
  for (uint32_t x = 0; x < m.columns; x += kSliceWidth) {
    const uint32_t width = m.columns - x < kSliceWidth ? m.columns - x : kSliceWidth;
    if (downwards) {
      memcpy(parked, m.Row(last) + x, width);
      for (uint32_t r = last; r > 0; --r) CopyEvenColumns(m.Row(r) + x, m.Row(r - 1) + x, width);
      CopyEvenColumns(m.Row(0) + x, parked, width);
    } else {
      memcpy(parked, m.Row(0) + x, width);
      for (uint32_t r = 0; r < last; ++r) CopyEvenColumns(m.Row(r) + x, m.Row(r + 1) + x, width);
      CopyEvenColumns(m.Row(last) + x, parked, width);
    }
  }
}

}  // namespace

uint32_t TransposeSource(uint32_t position, uint32_t len, int32_t start, int32_t step) {
  Shape shape;
  if (!FindShape(len, start, step, shape) || position < shape.offset) return position;
  const uint32_t inside = position - shape.offset;
  const uint32_t row = inside / shape.columns;
  const uint32_t column = inside % shape.columns;
  if (row >= shape.rows || column % 2 != 0) return position;
  const uint32_t from_row = row == 0 ? shape.rows - 1 : row - 1;
  return shape.offset + from_row * shape.columns + column;
}

void TransposePass(unsigned char* block, uint32_t len, int32_t start, int32_t step) {
  Matrix matrix;
  if (FindMatrix(block, len, start, step, matrix)) TurnEvenColumns(matrix, true);
}

void InverseTransposePass(unsigned char* block, uint32_t len, int32_t start, int32_t step) {
  Matrix matrix;
  if (FindMatrix(block, len, start, step, matrix)) TurnEvenColumns(matrix, false);
}

void KeyXorPass(unsigned char* block, uint32_t len, uint32_t first, const char* key_string) {
  const uint32_t key_length = static_cast<uint32_t>(strlen(key_string));
  if (key_length == 0 || first >= len) return;
  // A short key is laid out several times over so that each XOR sweep is
  // long enough to run a word at a time.
  unsigned char repeated[1024];
  const unsigned char* pattern = reinterpret_cast<const unsigned char*>(key_string);
  uint32_t pattern_length = key_length;
  if (key_length < sizeof repeated / 2) {
    pattern_length = sizeof repeated / key_length * key_length;
    for (uint32_t i = 0; i < pattern_length; i += key_length) memcpy(repeated + i, key_string, key_length);
    pattern = repeated;
  }
  for (uint32_t p = first; p < len; p += pattern_length) {
    const uint32_t count = len - p < pattern_length ? len - p : pattern_length;
    XorBytes(block + p, pattern, count);
  }
}

void ChainXorPass(unsigned char* block, uint32_t len) {
  // From the end backwards, so every byte still meets its predecessor's
  // old value.
  uint32_t p = len;
  for (; p >= 9; p -= 8) StoreWord(block + p - 8, LoadWord(block + p - 8) ^ LoadWord(block + p - 9));
  for (; p >= 2; --p) block[p - 1] ^= block[p - 2];
}

void InverseChainXorPass(unsigned char* block, uint32_t len) {
  for (uint32_t p = 1; p < len; ++p) block[p] ^= block[p - 1];
}

}  // namespace codec

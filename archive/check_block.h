// The check block that ends the decoder stub in every archive: 256 bytes
// that start with the check marker and its NUL and carry, at a fixed
// offset, the lane checksum of the stub in front of them.
#pragma once

namespace archive {

constexpr unsigned kCheckBlockSize = 256;
constexpr unsigned kStoredChecksumOffset = 239;  // 16 bytes, lane 0 first

}  // namespace archive

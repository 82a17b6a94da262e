// Paths are 8-bit texts in buffers of a fixed size.
#pragma once

namespace base {

constexpr int kPathCapacity = 260;  // terminator included

}  // namespace base

// The byte string of everything that builds archives or checks them: the
// encoder, the reference models and the tests. The product itself keeps to
// Block buffers and fixed arrays.
#pragma once

#include <vector>

namespace encoder {

using Bytes = std::vector<unsigned char>;

}  // namespace encoder

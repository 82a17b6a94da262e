// The fuzz targets' checks: a failed one says which check it was, where,
// and why it matters, before it aborts (libFuzzer then keeps the input,
// and the corpus replay names it).
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_ASSERT_MSG(condition, message)                                                   \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      fprintf(stderr, "%s:%d: check failed: %s: %s\n", __FILE__, __LINE__, #condition, message); \
      abort();                                                                                \
    }                                                                                         \
  } while (0)

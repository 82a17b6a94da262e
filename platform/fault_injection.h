// Failures on purpose, for tests: a test can make the reads, writes or
// memory allocations that pass through the seam fail from the Nth call
// on, as a full disk, a failing drive or short memory would. Only a build
// with KELVARIN_FAULT_INJECTION carries the table; any other has none of
// it.
#pragma once

#include <cstdint>

namespace platform::faults {

enum class Call { kRead, kWrite, kAllocate };

#if KELVARIN_FAULT_INJECTION

// Lets `after` calls of the kind succeed, then fails the next `times` of
// them. The first failing read or write still transfers `partial` bytes;
// later ones transfer nothing.
void Inject(Call call, uint32_t after, uint32_t times, uint32_t partial = 0);
// Ends every injection.
void Clear();
// How many calls of the kind failed on purpose since the last Clear.
uint32_t Failed(Call call);

// For the platform's implementation: true when this call is to fail;
// *partial then holds the bytes it may still transfer.
bool Fails(Call call, uint32_t* partial);

#else

// Inlined even without optimisation, so that no trace of the seam is left
// in a program built without it.
[[gnu::always_inline]] inline bool Fails(Call, uint32_t*) { return false; }

#endif

}  // namespace platform::faults

// Self-deletion of the clean-up copy, which has no one left to delete it.
//
// On the NT family a hidden batch file at idle priority retries deleting
// the program's file until this process has ended, then deletes itself.
// Elsewhere (the 9x family) a routine copied to the heap unloads the
// program's image, deletes its file and ends the process; that routine is
// i686 code, so other builds always take the batch method.
#pragma once

namespace win32 {

// Returns after starting the batch file; does not return at all when the
// memory routine runs. Failures are silent: the file then stays.
void DeleteSelf();

// The two methods, chosen by DeleteSelf. The memory routine exists only
// where kHasMemoryRoutine says so.
void DeleteByBatch();
void DeleteByMemoryRoutine();
constexpr bool kHasMemoryRoutine =
#if defined(__i386__)
    true;
#else
    false;
#endif

}  // namespace win32

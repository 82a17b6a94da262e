// The batch file that deletes a program once the program has ended: it
// retries the deletion until the file is gone, then deletes itself.
#pragma once

namespace shell {

// Where the batch file goes: the root of the current drive.
constexpr char kDeletionBatchPath[] = "\\delus.bat";
// Room for two 260-character paths, each '%' doubled, and the fixed text.
constexpr int kDeletionBatchCapacity = 1200;

// Writes the batch text for the program at program_path into out (with a
// terminating NUL that is not part of the file) and gives its length, or
// 0 when it does not fit: a cut path could name another file.
// A '%' in the path is doubled, so that the command interpreter reads it
// as a '%' and does not expand a variable into some other file's name.
int FormatDeletionBatch(char* out, int capacity, const char* program_path);

}  // namespace shell

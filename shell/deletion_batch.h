// The batch file that deletes a program once the program has ended: it
// retries the deletion until the file is gone, then deletes itself.
//
// "\delus.bat" in the root of the current drive comes first. Several
// clean-up chains may run at once, and each batch deletes its own file at
// the end, so a chain never replaces a batch file that is there already:
// it writes one of its own under a unique name in the temporary folder
// instead. The same happens when the root cannot be written (a standard
// user on later Windows) or the root batch cannot be started.
#pragma once

namespace shell {

// The first choice: the root of the current drive.
constexpr char kDeletionBatchPath[] = "\\delus.bat";
// Room for three 260-character paths, each '%' doubled, and the fixed text.
constexpr int kDeletionBatchCapacity = 1700;

// Writes the batch text for the program at program_path, whose last line
// deletes batch_path, into out (with a terminating NUL that is not part
// of the file) and gives its length, or 0 when it does not fit: a cut path
// could name another file. A '%' in a path is doubled, so that the command
// interpreter reads it as a '%' and does not expand a variable into some
// other file's name.
int FormatDeletionBatch(char* out, int capacity, const char* program_path, const char* batch_path);

// What the batch method asks of the system.
class BatchSystem {
 public:
  virtual ~BatchSystem() = default;
  // Creates the file only if nothing stands at the path, writes the text
  // and closes it. On a failed write the file is deleted again.
  virtual bool CreateNew(const char* path, const char* text, int length) = 0;
  // Starts the batch hidden at idle priority; true once it runs.
  virtual bool Start(const char* path) = 0;
  virtual void Delete(const char* path) = 0;
  // A fresh name ending in ".bat" in the temporary folder (260 characters).
  virtual bool TemporaryBatchName(char* name) = 0;
};

// Writes and starts a deletion batch for the program: "\delus.bat" when it
// can be created new and started, otherwise one in the temporary folder. A
// batch file that was written but could not be started is deleted again.
// True when a batch runs.
bool StartDeletionBatch(BatchSystem& system, const char* program_path);

}  // namespace shell

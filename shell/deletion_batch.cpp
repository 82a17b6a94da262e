#include "shell/deletion_batch.h"

#include "base/bounded_text.h"
#include "base/paths.h"

namespace shell {
namespace {

// Two chains may draw the same temporary name between its making and the
// creation of the file; a few more names settle that.
constexpr int kTemporaryNameAttempts = 4;

bool WriteAndStart(BatchSystem& system, const char* program_path, const char* batch_path) {
  char text[kDeletionBatchCapacity];
  const int length = FormatDeletionBatch(text, sizeof text, program_path, batch_path);
  if (!length || !system.CreateNew(batch_path, text, length)) return false;
  if (system.Start(batch_path)) return true;
  system.Delete(batch_path);
  return false;
}

}  // namespace

int FormatDeletionBatch(char* out, int capacity, const char* program_path, const char* batch_path) {
  base::BoundedText text(out, static_cast<size_t>(capacity));
  text.Add(":Repeat\r\ndel \"");
  text.Add(program_path, true);
  text.Add("\"\r\nif exist \"");
  text.Add(program_path, true);
  text.Add("\" goto Repeat\r\ndel \"");
  text.Add(batch_path, true);
  text.Add("\"\r\n");
  return static_cast<int>(text.LengthIfWhole());
}

bool StartDeletionBatch(BatchSystem& system, const char* program_path) {
  if (WriteAndStart(system, program_path, kDeletionBatchPath)) return true;
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    char batch_path[base::kPathCapacity];
    if (!system.TemporaryBatchName(batch_path)) return false;
    if (WriteAndStart(system, program_path, batch_path)) return true;
  }
  return false;
}

}  // namespace shell

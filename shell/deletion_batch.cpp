#include "shell/deletion_batch.h"

#include "archive/shared_state.h"

namespace shell {
namespace {

// Appends to a fixed buffer and remembers whether anything was cut.
class BatchText {
 public:
  BatchText(char* out, int capacity) : out_(out), capacity_(capacity) { out_[0] = '\0'; }
  void Add(const char* text, bool double_percent = false) {
    for (; *text; ++text) {
      if (double_percent && *text == '%') Put('%');
      Put(*text);
    }
  }
  int Finish() { return fits_ ? length_ : 0; }

 private:
  void Put(char c) {
    if (length_ + 1 >= capacity_) {
      fits_ = false;
      return;
    }
    out_[length_++] = c;
    out_[length_] = '\0';
  }

  char* out_;
  int capacity_;
  int length_ = 0;
  bool fits_ = true;
};

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
  BatchText text(out, capacity);
  text.Add(":Repeat\r\ndel \"");
  text.Add(program_path, true);
  text.Add("\"\r\nif exist \"");
  text.Add(program_path, true);
  text.Add("\" goto Repeat\r\ndel \"");
  text.Add(batch_path, true);
  text.Add("\"\r\n");
  return text.Finish();
}

bool StartDeletionBatch(BatchSystem& system, const char* program_path) {
  if (WriteAndStart(system, program_path, kDeletionBatchPath)) return true;
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    char batch_path[archive::kPathCapacity];
    if (!system.TemporaryBatchName(batch_path)) return false;
    if (WriteAndStart(system, program_path, batch_path)) return true;
  }
  return false;
}

}  // namespace shell

#include "shell/deletion_batch.h"

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

}  // namespace

int FormatDeletionBatch(char* out, int capacity, const char* program_path) {
  BatchText text(out, capacity);
  text.Add(":Repeat\r\ndel \"");
  text.Add(program_path, true);
  text.Add("\"\r\nif exist \"");
  text.Add(program_path, true);
  text.Add("\" goto Repeat\r\ndel \"");
  text.Add(kDeletionBatchPath);
  text.Add("\"\r\n");
  return text.Finish();
}

}  // namespace shell

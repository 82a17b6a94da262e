// Text built in a fixed buffer: always NUL-terminated, never written past
// its capacity, and aware of how long the whole text would have been, so
// that callers can refuse a cut text (a cut path could name another file)
// or keep it cut where that is the rule.
#pragma once

#include <cstddef>

namespace base {

class BoundedText {
 public:
  // Starts empty at out[0]; capacity counts the terminator and must be at
  // least 1.
  BoundedText(char* out, size_t capacity);
  // Continues the NUL-terminated text already in out.
  static BoundedText After(char* out, size_t capacity);

  void Put(char c);
  void Repeat(char c, size_t count);
  // With double_percent, each '%' goes in twice (for command interpreters).
  void Add(const char* text, bool double_percent = false);

  // The length of the whole text, also of what did not fit.
  size_t full_length() const { return length_; }
  bool fits() const { return length_ < capacity_; }
  // The length kept, or 0 when anything was cut.
  size_t LengthIfWhole() const { return fits() ? length_ : 0; }

 private:
  BoundedText(char* out, size_t capacity, size_t length);
  char* out_;
  size_t capacity_;
  size_t length_;
};

// Copies text into a fixed buffer, cutting it to fit.
void CopyText(char* dest, size_t capacity, const char* text);
// Appends text to the NUL-terminated text in dest, cutting it to fit.
void AppendText(char* dest, size_t capacity, const char* text);

}  // namespace base

#include "base/bounded_text.h"

#include <cstring>

namespace base {

BoundedText::BoundedText(char* out, size_t capacity) : BoundedText(out, capacity, 0) {}

BoundedText::BoundedText(char* out, size_t capacity, size_t length) : out_(out), capacity_(capacity), length_(length) {
  out_[length_ < capacity_ ? length_ : capacity_ - 1] = '\0';
}

BoundedText BoundedText::After(char* out, size_t capacity) { return BoundedText(out, capacity, strnlen(out, capacity)); }

void BoundedText::Put(char c) {
  if (length_ + 1 < capacity_) {
    out_[length_] = c;
    out_[length_ + 1] = '\0';
  }
  ++length_;
}

void BoundedText::Repeat(char c, size_t count) {
  while (count--) Put(c);
}

void BoundedText::Add(const char* text, bool double_percent) {
  for (; *text; ++text) {
    if (double_percent && *text == '%') Put('%');
    Put(*text);
  }
}

void CopyText(char* dest, size_t capacity, const char* text) { BoundedText(dest, capacity).Add(text); }

void AppendText(char* dest, size_t capacity, const char* text) { BoundedText::After(dest, capacity).Add(text); }

}  // namespace base

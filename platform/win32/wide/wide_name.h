// A UTF-8 path as the ...W calls take it.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

#include "platform/win32/wide/wide_text.h"

namespace platform {

// A path in UTF-16 for as long as the call that takes it lasts. A text
// that is not UTF-8 becomes an empty name, which every call refuses.
class WideName {
 public:
  explicit WideName(const char* path) {
    if (!ToWide(CP_UTF8, path, strlen(path), &text_)) text_.clear();
  }
  operator const wchar_t*() const { return text_.c_str(); }

 private:
  std::wstring text_;
};

}  // namespace platform

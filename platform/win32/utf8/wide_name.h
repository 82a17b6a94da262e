// A UTF-8 path of kelvarin.exe as the ...W calls take it.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// A path in UTF-16 for as long as the call that takes it lasts. A text
// that is not UTF-8 becomes an empty name, which every call refuses.
class WideName {
 public:
  explicit WideName(const char* path) {
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (length <= 0) return;
    text_.resize(static_cast<size_t>(length));
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, text_.data(), length) != length) text_.clear();
    if (!text_.empty()) text_.pop_back();  // the terminator the call wrote
  }
  operator const wchar_t*() const { return text_.c_str(); }

 private:
  std::wstring text_;
};

}  // namespace platform

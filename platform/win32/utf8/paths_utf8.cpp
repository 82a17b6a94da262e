// The seam's path calls as kelvarin.exe makes them: paths are UTF-8 texts,
// turned into UTF-16 for the ...W calls, so that a Japanese archive can be
// extracted on a Windows whose ANSI code page has no Japanese characters.
#include <windows.h>

#include <cstdint>
#include <string>

namespace platform {
namespace {

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

WideName SystemName(const char* path) { return WideName(path); }

}  // namespace
}  // namespace platform

#include "platform/win32/path_seam.inl"

namespace platform {
uint32_t OsPathCodePage() { return CP_UTF8; }
}  // namespace platform

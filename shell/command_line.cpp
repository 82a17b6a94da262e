#include "shell/command_line.h"

#include <cstring>

#include "base/bounded_text.h"
#include "base/paths.h"

namespace shell {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool StartsWithColons(const char* argument) { return strncmp(argument, ":::", 3) == 0; }

bool CopyPath(const char* text, char* path) {
  if (strlen(text) >= static_cast<size_t>(base::kPathCapacity)) return false;
  strcpy(path, text);
  return true;
}

}  // namespace

const char* CommandLineRemainder(const char* line) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(line);
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p > 0x20) ++p;
  }
  while (*p && *p <= 0x20) ++p;
  return reinterpret_cast<const char*>(p);
}

bool ArgumentReader::Next(char* out, size_t capacity, size_t* full_length) {
  base::BoundedText sink(out, capacity);
  const char* p = next_;
  if (first_) {
    // The program name: up to the closing quote, or to the first blank.
    first_ = false;
    if (*p == '"') {
      ++p;
      while (*p && *p != '"') sink.Put(*p++);
      if (*p == '"') ++p;
    } else {
      while (*p && !IsBlank(*p)) sink.Put(*p++);
    }
  } else {
    while (IsBlank(*p)) ++p;
    if (!*p) return false;
    bool quoted = false;
    while (*p && (quoted || !IsBlank(*p))) {
      if (*p == '\\') {
        size_t slashes = 0;
        while (*p == '\\') ++slashes, ++p;
        if (*p == '"') {
          sink.Repeat('\\', slashes / 2);
          if (slashes % 2) sink.Put(*p++);  // an escaped quote
        } else {
          sink.Repeat('\\', slashes);
        }
      } else if (*p == '"') {
        if (quoted && p[1] == '"') {  // "" inside quotes is one literal quote
          sink.Put('"');
          p += 2;
        } else {
          quoted = !quoted;
          ++p;
        }
      } else {
        for (size_t n = lead_.CharLength(p); n > 0; --n) sink.Put(*p++);
      }
    }
  }
  next_ = p;
  if (full_length) *full_length = sink.full_length();
  return true;
}

CommandLine ParseCommandLine(const char* line, const base::LeadBytes& lead) {
  CommandLine result;
  if (*CommandLineRemainder(line) == '\0') {
    result.form = Form::kExtraction;
    return result;
  }
  // Arguments 1 and 2 are kept; longer ones than the buffers hold are
  // noted through their full length.
  constexpr size_t kCapacity = base::kPathCapacity + 8;
  char args[3][kCapacity];
  size_t lengths[3] = {0, 0, 0};
  ArgumentReader reader(line, lead);
  int count = 0;
  char scratch[4];
  for (;; ++count) {
    bool more = count < 3 ? reader.Next(args[count], kCapacity, &lengths[count])
                          : reader.Next(scratch, sizeof scratch, nullptr);
    if (!more) break;
  }
  auto fits = [&](int i) { return lengths[i] < kCapacity; };
  if (count == 2 && fits(1) && StartsWithColons(args[1])) {
    bool check = args[1][3] == '/';
    if (CopyPath(args[1] + (check ? 4 : 3), result.path)) result.form = check ? Form::kCheck : Form::kDialog;
  } else if (count == 3 && fits(2) && StartsWithColons(args[2])) {
    if (CopyPath(args[2] + 3, result.path)) {
      result.form = Form::kCleanup;
      base::CopyText(result.handle_text, sizeof result.handle_text, args[1]);
    }
  }
  return result;
}

long ParseHandleNumber(const char* text) {
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  unsigned long long value = 0;
  while (*p >= '0' && *p <= '9') {
    value = value * 10 + static_cast<unsigned>(*p++ - '0');
    if (value > 0x80000000ull) value = 0x80000000ull;  // saturates like the C library
  }
  if (negative) return value >= 0x80000000ull ? -0x7FFFFFFFL - 1 : -static_cast<long>(value);
  return value >= 0x80000000ull ? 0x7FFFFFFFL : static_cast<long>(value);
}

}  // namespace shell

#include "decode/name_rules.h"

#include <cstring>

namespace decode {
namespace {

bool IsControl(unsigned char c) { return (c >= 0x01 && c <= 0x1F) || c == 0x7F; }
bool IsReserved(char c) { return c != '\0' && strchr("<>\"|?*", c) != nullptr; }

// Windows opens a device, not a file, for these names, whatever follows
// the first dot and however the letters are cased. After COM and LPT one
// digit 1-9, or ¹ ² ³ as a code page without lead bytes writes them
// (Windows-1252: B9 B2 B3) or as UTF-8 does (C2 B9, C2 B2, C2 B3).
bool IsDeviceName(const char* start, size_t length, const base::LeadBytes& lead) {
  size_t stem = 0;
  while (stem < length && start[stem] != '.') ++stem;
  while (stem > 0 && start[stem - 1] == ' ') --stem;
  if (stem < 3 || stem > 7) return false;
  char upper[8] = {};
  for (size_t i = 0; i < stem; ++i) upper[i] = (start[i] >= 'a' && start[i] <= 'z') ? start[i] - 32 : start[i];
  static const char kDevices[][8] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const auto& device : kDevices)
    if (memcmp(upper, device, sizeof upper) == 0) return true;
  if (memcmp(upper, "COM", 3) != 0 && memcmp(upper, "LPT", 3) != 0) return false;
  const unsigned char* digit = reinterpret_cast<const unsigned char*>(upper) + 3;
  if (stem == 5 && digit[0] == 0xC2) ++digit;
  else if (stem != 4) return false;
  if (*digit >= 0x80 && lead.Any()) return false;  // a double-byte code page has no ¹ ² ³
  const bool superscript = *digit == 0xB9 || *digit == 0xB2 || *digit == 0xB3;
  return superscript || (stem == 4 && *digit >= '1' && *digit <= '9');
}

// What is wrong with a character of a component, or kNone.
NameFault CharacterFault(char c, PathStyle style) {
  if (IsControl(static_cast<unsigned char>(c))) return NameFault::kControlCharacter;
  if (c == ':') return NameFault::kColon;
  if (style == PathStyle::kWindows && IsReserved(c)) return NameFault::kReservedCharacter;
  return NameFault::kNone;
}

// One component of a stored name, from start up to the next separator
// (returned in *end).
NameFault ComponentFault(const char* start, const char** end, const base::LeadBytes& lead, PathStyle style) {
  const char* p = start;
  const char* last = nullptr;  // the last character's first byte
  while (*p && !IsStoredSeparator(*p)) {
    const size_t length = lead.CharLength(p);
    const NameFault fault = length == 1 ? CharacterFault(*p, style) : NameFault::kNone;
    if (fault != NameFault::kNone) return fault;
    last = p;
    p += length;
  }
  *end = p;
  const size_t length = static_cast<size_t>(p - start);
  if (length == 0) return NameFault::kEmptyComponent;
  if (start[0] == '.' && (length == 1 || (length == 2 && start[1] == '.'))) return NameFault::kDotComponent;
  if (style != PathStyle::kWindows) return NameFault::kNone;
  if (IsDeviceName(start, length, lead)) return NameFault::kDeviceName;
  if (*last == '.' || *last == ' ') return NameFault::kTrailingDotOrSpace;
  return NameFault::kNone;
}

}  // namespace

NameFault RelativeNameFault(const char* name, const base::LeadBytes& lead, PathStyle style) {
  if (!IsStoredSeparator(name[0])) return NameFault::kNotRelative;
  for (const char* p = name; *p;) {
    const NameFault fault = ComponentFault(p + 1, &p, lead, style);
    if (fault != NameFault::kNone) return fault;
  }
  return NameFault::kNone;
}

NameFault PlainNameFault(const char* name, const base::LeadBytes& lead, PathStyle style) {
  for (const char* p = name; *p; p += lead.CharLength(p))
    if (IsStoredSeparator(*p)) return NameFault::kSeparator;
  const char* end = name;
  return ComponentFault(name, &end, lead, style);
}

}  // namespace decode

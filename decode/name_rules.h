// The names an archive may ask for below a chosen folder, and what is
// wrong with one that it may not. Every writer of output files asks here
// before it makes a file (the decoder, the tool's extract, the browser
// page), and `pack` asks here before it stores a name, with the Windows
// rules wherever it runs: so that no archive it makes holds a name the
// decoder on Windows refuses, or that Windows would make under another.
//
// Names are 8-bit texts read one whole character at a time (see
// base/lead_bytes.h): a trail byte 0x5C of a double-byte character is
// never a separator, and a trail byte 0x7C never a bar.
#pragma once

#include "base/lead_bytes.h"
#include "platform/os.h"

namespace decode {

enum class PathStyle { kWindows, kPosix };
constexpr PathStyle kNativePathStyle = platform::kWindowsPaths ? PathStyle::kWindows : PathStyle::kPosix;

// What separates the components of a stored name, in either style.
inline bool IsStoredSeparator(char c) { return c == '\\' || c == '/'; }

// The first thing found wrong with a name, in the order the component is
// read: its characters, then the component as a whole.
enum class NameFault {
  kNone,
  kNotRelative,          // a relative name begins with a backslash (or '/')
  kSeparator,            // a plain name is one component
  kEmptyComponent,       // "\\", "\a\\b", "\a\"
  kDotComponent,         // "." or "..": it would leave or name the folder
  kColon,                // a drive, or a stream of a file
  kControlCharacter,     // 0x01-0x1F, 0x7F
  kReservedCharacter,    // Windows: < > " | ? *
  kDeviceName,           // Windows: CON, PRN, AUX, NUL, CONIN$, CONOUT$,
                         // COM1-9, LPT1-9 and COM/LPT with ¹ ² ³, with or
                         // without an extension, in any case
  kTrailingDotOrSpace,   // Windows drops them: "a." would be made as "a"
};

// A name that begins with a backslash may name sub-folders below the
// chosen folder but never leave it: no "." or "..", no drive or colon, no
// second leading separator, no empty component; '/' counts as '\'. No
// component may hold a control character, and in Windows style none may
// hold a reserved character, be a device name or end in a dot or a space.
// ¹ ² ³ are read as the bytes B9 B2 B3 of a code page without lead bytes
// (Windows-1252) and in UTF-8.
NameFault RelativeNameFault(const char* name, const base::LeadBytes& lead, PathStyle style = kNativePathStyle);
// A name written directly into a folder: one component (a separator
// anywhere is the first fault), by the same rules.
NameFault PlainNameFault(const char* name, const base::LeadBytes& lead, PathStyle style = kNativePathStyle);

inline bool IsSafeRelativeName(const char* name, const base::LeadBytes& lead, PathStyle style = kNativePathStyle) {
  return RelativeNameFault(name, lead, style) == NameFault::kNone;
}
inline bool IsSafePlainName(const char* name, const base::LeadBytes& lead, PathStyle style = kNativePathStyle) {
  return PlainNameFault(name, lead, style) == NameFault::kNone;
}

}  // namespace decode

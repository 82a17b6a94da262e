// The two block markers. The decoder stub must never contain either text
// whole, or a scan of the archive would find it inside the stub; so they
// are joined from pieces at run time, through a volatile read the
// compiler cannot fold back into one literal.
#pragma once

namespace archive {

constexpr int kCheckMarkerLength = 12;  // "\SELF\CHECK\"
constexpr int kEntryMarkerLength = 13;  // "\ENCODE\DATA\"

// Writes the marker and its NUL terminator into out (length + 1 bytes).
void BuildCheckMarker(char* out);
void BuildEntryMarker(char* out);

// True when the bytes start with the marker text followed by NUL.
bool StartsWithEntryMarker(const unsigned char* bytes, unsigned available);
bool StartsWithCheckMarker(const unsigned char* bytes, unsigned available);

}  // namespace archive

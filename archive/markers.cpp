#include "archive/markers.h"

#include <cstring>

namespace archive {
namespace {

void Join(char* out, const char* const* pieces, int count) {
  out[0] = '\0';
  for (int i = 0; i < count; ++i) {
    const char* volatile piece = pieces[i];
    strcat(out, piece);
  }
}

bool StartsWith(const unsigned char* bytes, unsigned available, const char* marker, unsigned length) {
  return available > length && memcmp(bytes, marker, length + 1) == 0;
}

}  // namespace

void BuildCheckMarker(char* out) {
  static const char* const kPieces[] = {"\\SELF", "\\CHECK", "\\"};
  Join(out, kPieces, 3);
}

void BuildEntryMarker(char* out) {
  static const char* const kPieces[] = {"\\ENCODE", "\\DATA", "\\"};
  Join(out, kPieces, 3);
}

bool StartsWithEntryMarker(const unsigned char* bytes, unsigned available) {
  char marker[kEntryMarkerLength + 1];
  BuildEntryMarker(marker);
  return StartsWith(bytes, available, marker, kEntryMarkerLength);
}

bool StartsWithCheckMarker(const unsigned char* bytes, unsigned available) {
  char marker[kCheckMarkerLength + 1];
  BuildCheckMarker(marker);
  return StartsWith(bytes, available, marker, kCheckMarkerLength);
}

}  // namespace archive

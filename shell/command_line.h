// Tells the program's four roles apart by its command line alone.
//
//   (empty remainder)              extraction: copy the stub out and start it
//   ":::/PATH"                     check the archive at PATH without a dialog
//   ":::PATH"                      the password dialog for the archive at PATH
//   HANDLE ":::PATH"               clean-up: wait for HANDLE, delete PATH
//
// The remainder (the line without the program name) decides only whether
// the line is empty; the forms are told by the argument vector, split by
// the usual Windows rules. Fixed buffers only: this runs in the stub.
#pragma once

#include <cstddef>

#include "base/lead_bytes.h"
#include "base/paths.h"

namespace shell {

enum class Form { kExtraction, kCheck, kDialog, kCleanup, kUnrecognised };

struct CommandLine {
  Form form = Form::kUnrecognised;
  char path[base::kPathCapacity] = {};  // check, dialog and clean-up forms
  char handle_text[64] = {};               // clean-up form: argument 1 as written
};

// The command line without the program name and the blanks after it.
const char* CommandLineRemainder(const char* command_line);

// Splits arguments one at a time. Argument 0 is the program name; the rest
// follow the backslash and double-quote rules of the Windows C runtime,
// which copies a double-byte character whole: its trail byte 0x5C is no
// backslash before a quote.
class ArgumentReader {
 public:
  explicit ArgumentReader(const char* command_line, const base::LeadBytes& lead = {})
      : next_(command_line), lead_(lead) {}
  // Copies the next argument into out (cut to capacity - 1 characters) and
  // gives its full length; false when there is none.
  bool Next(char* out, size_t capacity, size_t* full_length);

 private:
  const char* next_;
  base::LeadBytes lead_;
  bool first_ = true;
};

// A path that does not fit the path buffer makes the line unrecognised:
// a cut path could name another file.
CommandLine ParseCommandLine(const char* command_line, const base::LeadBytes& lead = {});

// The decimal conversion of the C library (blanks, a sign, digits).
long ParseHandleNumber(const char* text);

}  // namespace shell

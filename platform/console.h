// What a console program needs from the system beyond files: whether a
// person sits at the terminal, a line typed without echo, removal of a
// half-written file when a signal ends the program, standard output for
// bytes, and where the program lives.
#pragma once

#include "platform/folder.h"

namespace platform {

// Turns the program's arguments into UTF-8 and has its console show UTF-8
// until it ends (Windows: from the wide command line; elsewhere the
// arguments are the bytes given, UTF-8 in a UTF-8 locale). Call first.
void UseUtf8(int* argc, char*** argv);

// True when standard input is an interactive terminal that can answer.
bool InputIsTerminal();
// True when standard error shows on a terminal (progress lines go there).
bool ErrorIsTerminal();

// Reads a line from the terminal without showing it, in UTF-8; the line
// end is not kept, a longer line is cut to fit. False at the end of input.
// A signal that ends the program meanwhile shows the typing again first
// (the terminal as it was), then ends the program as it would have.
bool ReadHiddenLine(char* line, int capacity);

// From now on a signal that ends the program deletes the file `name` of
// the held folder first, through the folder itself (never by a path that
// may lead elsewhere by then), and the program then ends as the signal
// would have ended it: Ctrl-C and Ctrl-Break or a closed console on
// Windows; on POSIX SIGINT, SIGTERM, SIGHUP (a closed terminal or SSH
// session), SIGQUIT, SIGPIPE (a reader that went away) and the other
// signals whose default is to end it: SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU,
// SIGXFSZ, SIGVTALRM, SIGPROF. The folder stays held until the file is
// forgotten (name nullptr); the name is copied; one file at a time.
void DeleteOnSignal(const Folder& folder, const char* name);

// Standard output passes bytes unchanged from now on (Windows would turn
// LF into CR LF).
void SetBinaryOutput();

// The number the system knows this process by.
unsigned long ProcessId();

// The running program's own file, a path in the code page of the seam's
// paths. False when the system cannot say or it
// does not fit.
bool ProgramPath(char* path, int capacity);

}  // namespace platform

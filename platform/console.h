// What a console program needs from the system beyond files: whether a
// person sits at the terminal, a line typed without echo, removal of a
// half-written file when a signal ends the program, standard output for
// bytes, and where the program lives.
// Only the command-line tool uses these; the decoder links none of them.
#pragma once

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
bool ReadHiddenLine(char* line, int capacity);

// From now on a signal that ends the program deletes the file at path
// first, and the program then ends as the signal would have ended it:
// Ctrl-C and Ctrl-Break or a closed console on Windows; SIGINT, SIGTERM,
// SIGHUP (a closed terminal or SSH session), SIGQUIT and SIGPIPE (a reader
// that went away) on POSIX. nullptr forgets the file. The path is copied;
// one file at a time.
void DeleteOnSignal(const char* path);

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

// How the tool speaks: help on stdout when asked for, everything that went
// wrong on stderr, each line naming what it is about.
#pragma once

#include <string>

namespace cli {

// True, with the help printed on stdout, when an argument is --help or -h.
bool PrintHelpIfAsked(int argc, char** argv, const char* help);
// "kelvarin COMMAND: problem" and where the options are told; kExitUsage.
// An empty command speaks of the tool as a whole.
int UsageError(const char* command, const std::string& problem);
// "kelvarin: subject: text" on stderr, unprintable bytes escaped.
void Complain(const std::string& subject, const std::string& text);
// "kelvarin: text" on stderr: what the user may want to know.
void Note(const std::string& text);
// The system's words for the failure just met ("Permission denied").
std::string SystemReason();

}  // namespace cli

// kelvarin: the archive tool for Linux, on the same core as the decoder.
//
//   kelvarin check ARCHIVE     verify every block, as the check form does
#include <cstdio>
#include <cstring>

#include "cli/commands.h"

namespace {

void PrintUsage(FILE* out) {
  fputs("usage: kelvarin check ARCHIVE\n", out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && strcmp(argv[1], "check") == 0) return cli::RunCheck(argc - 2, argv + 2);
  if (argc >= 2 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "help") == 0)) {
    PrintUsage(stdout);
    return 0;
  }
  PrintUsage(stderr);
  return cli::kExitUsage;
}

// kelvarin: the archive tool for Linux, on the same core as the decoder.
//
//   kelvarin check ARCHIVE                  verify every block, as the check form does
//   kelvarin extract ARCHIVE --output DIR   decode every entry into DIR
//   kelvarin list ARCHIVE                   decode without writing; print the entries
//   kelvarin pack --stub STUB --output OUT.exe FILE...   make an archive
#include <cstdio>
#include <cstring>

#include "cli/commands.h"

namespace {

void PrintUsage(FILE* out) {
  fputs("usage: kelvarin check ARCHIVE\n"
        "       kelvarin extract ARCHIVE --output DIR [--password-file FILE | --password TEXT]\n"
        "       kelvarin list ARCHIVE [--password-file FILE | --password TEXT]\n"
        "       kelvarin pack --stub STUB --output OUT.exe [options] FILE...  (pack --help: options)\n"
        "Without a password option the password is asked for on the terminal.\n"
        "--password TEXT is visible to other users of this computer; prefer --password-file.\n",
        out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && strcmp(argv[1], "check") == 0) return cli::RunCheck(argc - 2, argv + 2);
  if (argc >= 2 && strcmp(argv[1], "pack") == 0) return cli::RunPack(argc - 2, argv + 2);
  if (argc >= 2 && strcmp(argv[1], "extract") == 0) return cli::RunExtract(argc - 2, argv + 2);
  if (argc >= 2 && strcmp(argv[1], "list") == 0) return cli::RunList(argc - 2, argv + 2);
  if (argc >= 2 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "help") == 0)) {
    PrintUsage(stdout);
    return 0;
  }
  PrintUsage(stderr);
  return cli::kExitUsage;
}

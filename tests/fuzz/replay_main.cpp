// Runs a fuzz target over every file of a folder, so that each corpus
// replays as a plain test in every build. Exit 0 when every input ran; an
// input that makes the target fail (a failed check, a crash) is named
// before the process ends.
#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// The message for the input being replayed, ready before it runs: a
// signal handler may only write it out.
char failure_note[4200];
size_t failure_note_length = 0;

void NameFailedInput(int signal_number) {
  if (write(STDERR_FILENO, failure_note, failure_note_length) < 0) {
    // Nothing more can be said from here.
  }
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

void NoteInput(const char* program, const std::string& path) {
  const int length = snprintf(failure_note, sizeof failure_note, "%s: failed on input %s\n", program, path.c_str());
  failure_note_length = length < 0 ? 0 : std::min(static_cast<size_t>(length), sizeof failure_note - 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  for (int signal_number : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(signal_number, NameFailedInput);
  std::error_code ec;
  size_t replayed = 0;
  for (const auto& item : std::filesystem::directory_iterator(argv[1], ec)) {
    if (!item.is_regular_file()) continue;
    std::ifstream in(item.path(), std::ios::binary);
    std::vector<uint8_t> input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    NoteInput(argv[0], item.path().string());
    LLVMFuzzerTestOneInput(input.data(), input.size());
    ++replayed;
  }
  if (ec || replayed == 0) {
    fprintf(stderr, "%s: no inputs in %s\n", argv[0], argv[1]);
    return 1;
  }
  printf("replayed %zu inputs\n", replayed);
  return 0;
}

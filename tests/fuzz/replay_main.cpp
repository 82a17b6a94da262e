// Runs a fuzz target over every file of a folder, so that each corpus
// replays as a plain test in every build. Exit 0 when every input ran.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  std::error_code ec;
  size_t replayed = 0;
  for (const auto& item : std::filesystem::directory_iterator(argv[1], ec)) {
    if (!item.is_regular_file()) continue;
    std::ifstream in(item.path(), std::ios::binary);
    std::vector<uint8_t> input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

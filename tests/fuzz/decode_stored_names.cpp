// Fuzz target: the decode walk over archives whose stored names come from
// the input (high bytes, 0x5C as a trail byte, control characters, dots),
// spelled as the command-line tool spells them, from CP932 or CP1252 into
// UTF-8, or as the bytes stored. Every path the walk asks to be made lies
// below the chosen folder, with no "." or ".." component, no empty one and
// no control character. Under the program's rules a name that cannot be
// used ends the run as a failure, never silently; under the readers' it
// is passed over, and every entry refused is also ended.
//
// Input: one byte that picks the spelling and the rules, then names
// separated by NUL bytes (up to four, each cut to the record's 259 bytes).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "encoder/entry_encoder.h"
#include "tests/support/sample_data.h"
#include "tests/fuzz/fuzz_archive.h"
#include "tests/fuzz/fuzz_assert.h"

namespace {

constexpr uint32_t kSpellings[] = {0, 932, 1252};

class SpellingSink : public test_support::RecordingSink {
 public:
  explicit SpellingSink(uint32_t code_page) { spelling_code_page = code_page; }
  // Only names that begin with a backslash come here, joined below the
  // folder; plain names go to ChooseSavePath as spelled.
  bool PrepareFolders(const char* path) override {
    CheckBelowFolder(path);
    return RecordingSink::PrepareFolders(path);
  }

 private:
  void CheckBelowFolder(const std::string& path) {
    FUZZ_ASSERT_MSG(path.rfind(folder_answer + "/", 0) == 0, "a path outside the chosen folder");
    size_t start = folder_answer.size() + 1;
    for (;;) {
      const size_t end = std::min(path.find('/', start), path.size());
      const std::string component = path.substr(start, end - start);
      FUZZ_ASSERT_MSG(!component.empty() && component != "." && component != "..", "a component that leaves or stays");
      for (unsigned char c : component) FUZZ_ASSERT_MSG(c >= 0x20 && c != 0x7F, "a control character in a path");
      if (end == path.size()) break;
      start = end + 1;
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 1200) return 0;
  const uint32_t code_page = kSpellings[data[0] % 3];
  const bool reader = data[0] / 3 % 2 == 1;
  encoder::ArchiveWriter writer(test_support::SampleStub(256));
  const std::string names(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t start = 0;
  for (int count = 0; count < 4 && start <= names.size(); ++count) {
    const size_t end = std::min(names.find('\0', start), names.size());
    encoder::Entry entry;
    entry.contents = {'x'};
    const std::string name = names.substr(start, std::min<size_t>(end - start, archive::kOutputNameCapacity - 1));
    memcpy(entry.record.output_name, name.c_str(), name.size() + 1);
    encoder::AddEntry(writer, entry, fuzzing::kPassword);
    start = end + 1;
  }
  static archive::SharedState state;
  const encoder::Bytes& bytes = writer.bytes();
  // The decode helper writes a stub and marker of its own: skip the writer's.
  const size_t first_entry = test_support::SampleStub(256).size() + 256 + archive::kEntryMarkerLength + 1;
  if (bytes.size() <= first_entry) return 0;
  SpellingSink sink(code_page);
  if (reader) sink.rules = decode::WalkRules::kReader;
  decode::SequentialBlockSource source;
  const int result = fuzzing::DecodeArchive(bytes.data() + first_entry, bytes.size() - first_entry, state, sink, source);
  FUZZ_ASSERT_MSG(sink.protocol_kept, "the walk broke its calling protocol");
  FUZZ_ASSERT_MSG((result == 1) == sink.failures.empty(), "a failure that was not said, or one said on success");
  FUZZ_ASSERT_MSG(reader || sink.refused.empty(), "an entry passed over under the program's rules");
  FUZZ_ASSERT_MSG(result != 1 || sink.refused_ends.size() == sink.refused.size(), "an entry refused and never ended");
  return 0;
}

// What the worker calls: check the registered archive, then list or
// extract it with a password. One archive per module instance; the state
// found by the check is what the decode runs start from.
#include <emscripten.h>

#include <cstdint>
#include <string>

#include "archive/check_walk.h"
#include "archive/locate_scan.h"
#include "archive/shared_state.h"
#include "base/bounded_text.h"
#include "base/paths.h"
#include "browser/page_calls.h"
#include "browser/page_sink.h"
#include "decode/name_scan.h"
#include "ui/check_messages.h"

namespace browser {
namespace {

archive::SharedState state;

ui::Language LanguageOf(int japanese) { return japanese ? ui::Language::kJapanese : ui::Language::kEnglish; }

// The verdict alone: the page shows the archive's name itself.
class PageCheckReporter final : public archive::CheckReporter {
 public:
  explicit PageCheckReporter(ui::Language language) : language_(language) {}
  void OnProblem(archive::CheckProblem problem, const archive::SharedState&) override {
    ShowVerdict(false, ui::CheckProblemMessage(problem, nullptr, language_).text);
  }
  void OnNoProblem(const archive::SharedState&) override {
    ShowVerdict(true, ui::CheckNoProblemMessage(nullptr, language_).text);
  }

 private:
  ui::Language language_;
};

}  // namespace
}  // namespace browser

extern "C" {

// Finds the first entry of the registered archive: its offset, or -1
// (and the verdict shown) when the file is no archive.
EMSCRIPTEN_KEEPALIVE int kelvarin_locate(int japanese) {
  using namespace browser;
  state = archive::SharedState{};
  base::CopyText(state.archive_path, base::kPathCapacity, kArchiveName);
  state.entry_offset = archive::LocateFirstEntry(state.archive_path);
  if (state.entry_offset == -1) ShowVerdict(false, ui::Text(ui::TextId::kNotArchive, LanguageOf(japanese)));
  return state.entry_offset;
}

// The check form's verdict after kelvarin_locate, no password needed: 1
// when the archive is sound, 0 when a problem was shown.
EMSCRIPTEN_KEEPALIVE int kelvarin_check(int japanese) {
  using namespace browser;
  PageCheckReporter reporter(LanguageOf(japanese));
  return archive::CheckWalk(state, reporter);
}

// The stored names, read ahead (each shown) so that the page can choose
// their code page before a run: 1 when the password opens the archive.
EMSCRIPTEN_KEEPALIVE int kelvarin_scan_names(const char* password, uint32_t length) {
  using namespace browser;
  const decode::NameScan scan = decode::ScanStoredNames(state, std::string(password, length));
  for (const std::string& name : scan.names) ShowStoredName(name.c_str());
  return scan.password_right ? 1 : 0;
}

// A decode run after kelvarin_locate found an archive: 0 when every entry
// was decoded, else 1 + the failure (decode::DecodeFailure), which the
// sink has shown.
EMSCRIPTEN_KEEPALIVE int kelvarin_decode(const char* password, uint32_t length, int extract, int japanese) {
  using namespace browser;
  PageSink sink(extract != 0, LanguageOf(japanese));
  if (decode::DecodeWalk(state, password, length, sink) == 1) return 0;
  return sink.failure() ? 1 + static_cast<int>(*sink.failure()) : 1 + static_cast<int>(decode::DecodeFailure::kWriteFailed);
}

}  // extern "C"

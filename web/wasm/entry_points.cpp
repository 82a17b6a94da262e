// What the worker calls: check the registered archive, then list or
// extract it with a password. One archive per module instance; the state
// found by the check is what the decode runs start from.
#include <emscripten.h>

#include <cstdint>
#include <memory>
#include <string>

#include "archive/check_walk.h"
#include "archive/locate_scan.h"
#include "archive/shared_state.h"
#include "base/bounded_text.h"
#include "platform/os.h"
#include "web/wasm/page_calls.h"
#include "web/wasm/page_sink.h"
#include "web/wasm/pool_decoders.h"
#include "decode/archive_reading.h"
#include "parallel/parallel_block_source.h"
#include "ui/check_messages.h"

namespace web {
namespace {

archive::SharedState state;
decode::ArchiveReading reading;  // the password's bytes and the names' code page, for the runs

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

// The blocks decoded here alone (threads 1), or also by a pool of
// threads - 1 workers.
std::unique_ptr<decode::BlockSource> SourceFor(int threads) {
  if (threads <= 1) return std::make_unique<decode::SequentialBlockSource>();
  return std::make_unique<parallel::ParallelBlockSource>(std::make_unique<PoolDecoders>(),
                                                         static_cast<unsigned>(threads),
                                                         PoolDecoders::kPiecesPerThread, PoolDecoders::kBytesInFlight);
}

}  // namespace
}  // namespace web

extern "C" {

// Finds the first entry of the registered archive: its offset, or -1
// (and the verdict shown) when the file is no archive.
EMSCRIPTEN_KEEPALIVE int kelvarin_locate(int japanese) {
  using namespace web;
  state = archive::SharedState{};
  base::CopyText(state.archive_path, platform::kPathCapacity, kArchiveName);
  state.entry_offset = archive::LocateFirstEntry(state.archive_path);
  if (state.entry_offset == -1) ShowVerdict(false, ui::Text(ui::TextId::kNotArchive, LanguageOf(japanese)));
  return state.entry_offset;
}

// The check form's verdict after kelvarin_locate, no password needed: 1
// when the archive is sound, 0 when a problem was shown.
EMSCRIPTEN_KEEPALIVE int kelvarin_check(int japanese) {
  using namespace web;
  PageCheckReporter reporter(LanguageOf(japanese));
  return archive::CheckWalk(state, reporter);
}

// Reads the archive's texts ahead of the runs, as `kelvarin` does: which
// form of the password (given in UTF-8) opens every entry, and in which
// code page the names are (code_page 0: chosen from them). The choice is
// shown, and so is a wrong password's verdict; returns 0 when the password
// opens the archive, 1 when it is wrong, 2 when the named code page
// cannot write it.
EMSCRIPTEN_KEEPALIVE int kelvarin_read(const char* password, uint32_t length, uint32_t code_page, int japanese) {
  using namespace web;
  reading = decode::ReadArchive(state, std::string(password, length), code_page);
  ShowReading(reading);
  if (reading.verdict == decode::ArchiveReading::Verdict::kWrongPassword) {
    ShowVerdict(false, ui::Text(ui::TextId::kWrongPassword, LanguageOf(japanese)));
  }
  return static_cast<int>(reading.verdict);
}

// A decode run after kelvarin_read, with its password and code page, its
// blocks decoded on `threads` threads (this worker's among them): 0 when
// every entry was decoded, else 1 + the failure (decode::DecodeFailure),
// which the sink has shown.
EMSCRIPTEN_KEEPALIVE int kelvarin_decode(int extract, int japanese, int threads) {
  using namespace web;
  PageSink sink(extract != 0, LanguageOf(japanese), reading.code_page);
  const std::unique_ptr<decode::BlockSource> source = SourceFor(threads);
  const std::string& password = reading.password;
  if (decode::DecodeWalk(state, password.data(), static_cast<uint32_t>(password.size()), sink, *source) == 1) return 0;
  return sink.failure() ? 1 + static_cast<int>(*sink.failure()) : 1 + static_cast<int>(decode::DecodeFailure::kWriteFailed);
}

// In a pool worker: room for a stored block of length bytes, then its
// decoding with the key string; the decoded bytes are at
// kelvarin_decoded_block.
EMSCRIPTEN_KEEPALIVE unsigned char* kelvarin_block_buffer(uint32_t length) { return web::BlockForDecoding(length); }
EMSCRIPTEN_KEEPALIVE uint32_t kelvarin_decode_block(const char* key) { return web::DecodeHeldBlock(key); }
EMSCRIPTEN_KEEPALIVE const unsigned char* kelvarin_decoded_block() { return web::DecodedBlock(); }
EMSCRIPTEN_KEEPALIVE int kelvarin_decoded_block_broken() { return web::HeldBlockBroken() ? 1 : 0; }

}  // extern "C"

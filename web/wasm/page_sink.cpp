#include "web/wasm/page_sink.h"

#include <cstring>

#include "base/bounded_text.h"
#include "platform/os.h"
#include "web/wasm/page_calls.h"
#include "decode/archive_reading.h"
#include "decode/failure_messages.h"

namespace web {
namespace {

// The page's folder, as the walk sees it: names are joined below it and
// the page takes the rest of each path relative to the folder it holds.
constexpr const char* kPageFolder = ".";
constexpr const char* kPlainNamePrefix = "./";

}  // namespace

void PageSink::OnOutputName(const archive::FileRecord& record) {
  ShowEntryStart(record);
  record_read_ = true;
}

decode::Choice PageSink::ChooseFolder(char* folder) {
  base::CopyText(folder, platform::kPathCapacity, kPageFolder);
  return decode::Choice::kChosen;
}

// A plain name (the walk has checked it) goes straight into the folder, as
// relative names do below it.
decode::Choice PageSink::ChooseSavePath(char* path) {
  char joined[platform::kPathCapacity];
  base::CopyText(joined, sizeof joined, kPlainNamePrefix);
  if (strlen(joined) + strlen(path) >= sizeof joined) return decode::Choice::kRefused;
  base::AppendText(joined, sizeof joined, path);
  base::CopyText(path, platform::kPathCapacity, joined);
  return decode::Choice::kChosen;
}

decode::NameProblem PageSink::SpellName(const char* stored, char* local, int capacity) {
  return decode::SpellInUtf8(code_page_, stored, local, capacity);
}

void PageSink::OnEntryRefused(const archive::FileRecord& record, decode::NameProblem problem) {
  ShowRefused(record, problem);
}

void PageSink::OnRefusedEntryEnd(const archive::FileRecord& record) { ShowEntry(record); }

bool PageSink::CreateOutput(const char* path) { return !extract_ || web::CreateOutput(path); }

uint32_t PageSink::WriteOutput(const unsigned char* bytes, uint32_t count) {
  return extract_ ? web::WriteOutput(bytes, count) : count;
}

void PageSink::FinishOutput(const char*, const archive::FileRecord& record) {
  if (extract_) web::FinishOutput(record);
  ShowEntry(record);
}

void PageSink::AbandonOutput() {
  if (extract_) web::AbandonOutput();
}

void PageSink::OnSkipped(uint64_t offset, uint64_t count) { ShowSkipped(offset, count); }

void PageSink::OnFailure(decode::DecodeFailure failure, const archive::SharedState&) {
  failure_ = failure;
  ShowVerdict(false, decode::ReaderFailureText(failure, language_, record_read_));
}

}  // namespace web

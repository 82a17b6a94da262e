#include "cli/sinks/terminal_sink.h"

#include <cstdio>

#include "base/bounded_text.h"
#include "cli/texts/messages.h"
#include "cli/texts/text_encoding.h"
#include "decode/archive_reading.h"
#include "decode/failure_messages.h"
#include "platform/console.h"
#include "platform/file.h"
#include "ui/texts.h"

namespace cli {
namespace {

uint64_t SizeOf(const char* path) {
  uint64_t size = 0;
  return platform::File::OpenRead(path).Size(&size) ? size : 0;
}

}  // namespace

// The walk tells the percentage; the archive's size decides whether it shows.
TerminalSink::TerminalSink(const archive::SharedState& state, uint32_t code_page, bool quiet)
    : archive_(state.archive_path),
      code_page_(code_page),
      progress_(ui::Text(ui::TextId::kDecodingProgress, ui::Language::kEnglish), SizeOf(state.archive_path), quiet) {}

void TerminalSink::OnOutputName(const archive::FileRecord& record) {
  entry_ = Display(record.output_name);
  record_read_ = true;
}

std::string TerminalSink::Display(const char* stored) const { return DisplayStored(code_page_, stored); }

std::string TerminalSink::InUtf8(const char* stored) const {
  std::string name;
  return StoredToUtf8(code_page_, stored, &name) ? name : stored;
}

decode::NameProblem TerminalSink::SpellName(const char* stored, char* local, int capacity) {
  return decode::SpellInUtf8(code_page_, stored, local, capacity);
}

void TerminalSink::OnEntryRefused(const archive::FileRecord&, decode::NameProblem problem) {
  std::string why;
  switch (problem) {
    case decode::NameProblem::kUnspellable:
      why = "the stored name is no " + CodePageName(code_page_) + " text (--encoding names the archive's code page)";
      break;
    case decode::NameProblem::kTooLong:
      why = "the stored name is longer than this system's names or paths may be";
      break;
    case decode::NameProblem::kUnsafe:
    case decode::NameProblem::kNone:
      why = "the stored name is unsafe: it would leave the output folder, names a device, or holds a control character";
      break;
  }
  EndProgressLine();
  Complain(archive_ + " (entry " + entry_ + ")", why + "; " + PassedOver());
  status_.ArchiveFault();
}

int TerminalSink::ExitCode(int walk_result) const {
  // A run that ended early without a word would still be no success.
  if (walk_result != 1 && status_.Code() == kExitOk) return kExitArchive;
  return status_.Code();
}

void TerminalSink::OnProgress(int percent) { progress_.Show(percent); }

void TerminalSink::OnSkipped(uint64_t offset, uint64_t count) {
  EndProgressLine();
  Complain(archive_, "skipped " + std::to_string(count) + " bytes at offset " + std::to_string(offset) +
                         " to find the next entry header; any entry stored there is lost");
  status_.ArchiveFault();
}

void TerminalSink::OnFailure(decode::DecodeFailure failure, const archive::SharedState&) {
  EndProgressLine();
  if (failure_said_) return;
  std::string text = decode::ReaderFailureText(failure, ui::Language::kEnglish, record_read_);
  if (failure == decode::DecodeFailure::kBlockTooShort) text += ": a data block is too short for what it must hold";
  if (failure == decode::DecodeFailure::kBrokenStream) text += ": a data block does not decode to its stated length";
  if (failure == decode::DecodeFailure::kReadFailed && record_read_) {
    text += std::string(": ") + decode::FailureText(failure, ui::Language::kEnglish);
  }
  Complain(entry_.empty() ? archive_ : archive_ + " (entry " + entry_ + ")", text);
  status_.ArchiveFault();
}

void TerminalSink::EndProgressLine() { progress_.End(); }

void TerminalSink::OutputProblem(const std::string& path, const std::string& text) {
  EndProgressLine();
  Complain(path, text);
  status_.OutputProblem();
}

void TerminalSink::OutputProblemEndsRun(const std::string& path, const std::string& text) {
  OutputProblem(path, text);
  failure_said_ = true;
}

}  // namespace cli
